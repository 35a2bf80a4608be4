#pragma once

#include <string>

// The date and time of a packed date (±(year × 10000 + month × 100 + day +
// fraction of the day)) as "2026/12/08 04:15:25": the time rounded to the
// nearest second (a tie going down), a carry into midnight moving the date on.
std::string formatDateTime(double packedDate);
