#pragma once

#include "platform/Clock.h"

// Time quantities shared by the astronomy and the clock face.
//
// A PackedDate is one double ±(|year| × 10000 + month × 100 + day + fraction of the
// day), the sign being the era's (year 1 is AD 1, -1 is 1 BC; there is no year 0).

// The tick count as a double: each 32-bit half taken as unsigned.
double ticksAsDouble(platform::FileTime time);
// Julian day (days) of a file time.
double julianDayFromFileTime(platform::FileTime time);
// Julian day of the clock's universal time.
double currentJulianDayUtc(const platform::Clock& clock);
// Julian day of the clock's local wall-clock time, for display only.
double currentJulianDayLocal(const platform::Clock& clock);
// Julian millennia of 365250 days since J2000.0 (JD 2451545.0).
double millenniaSinceJ2000(double julianDay);
// Calendar date of a Julian day, Julian calendar before 1582-10-15.
double packedDateFromJulianDay(double julianDay);
