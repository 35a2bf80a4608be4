#include "GlobeDescription.h"

#include "astro/GlobeBody.h"
#include "astro/PeriodicSeries.h"
#include "astro/Scene.h"
#include "astro/TimeScale.h"

#include <cmath>
#include <cstdio>

namespace {

struct SurfacePoint {
    double longitudeDeg;  // east, [−180, 180)
    double latitudeDeg;
};

// The surface point below a body-frame direction, counted as the texture maps count it.
SurfacePoint surfacePoint(const Vector3& v) {
    double longitudeDeg = std::atan2(v.y, v.x) * degreesPerRadian;
    if (longitudeDeg >= 180.0) {
        longitudeDeg -= 360.0;
    }
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    const double sine = length > 0.0 ? std::fmax(-1.0, std::fmin(1.0, v.z / length)) : 0.0;
    return {longitudeDeg, std::asin(sine) * degreesPerRadian};
}

// Ten significant digits: well below the precision of the series.
std::string number(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

// Every digit of a double, for the time values that name the moment.
std::string exactNumber(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string vector(const Vector3& v) {
    return "[" + number(v.x) + ", " + number(v.y) + ", " + number(v.z) + "]";
}

std::string field(const char* name, const std::string& value) {
    return std::string("\"") + name + "\": " + value;
}

}  // namespace

std::string describeGlobes(double julianDayUtc) {
    const double tMillennia = millenniaSinceJ2000(julianDayUtc);
    GlobeBody earth;
    earth.radiusKm = 6371.0;
    GlobeBody moon;
    moon.radiusKm = 1737.4;
    assembleScene(tMillennia, earth, moon);

    const Vector3 moonFromEarth{moon.position.x - earth.position.x, moon.position.y - earth.position.y,
                                moon.position.z - earth.position.z};
    const Vector3 earthFromMoon{-moonFromEarth.x, -moonFromEarth.y, -moonFromEarth.z};
    const Vector3 sunFromMoon{-moon.position.x, -moon.position.y, -moon.position.z};
    // The phase angle: Sun–Moon–Earth, at the Moon.
    const double cosine = (sunFromMoon.x * earthFromMoon.x + sunFromMoon.y * earthFromMoon.y +
                           sunFromMoon.z * earthFromMoon.z) /
                          (std::sqrt(sunFromMoon.x * sunFromMoon.x + sunFromMoon.y * sunFromMoon.y +
                                     sunFromMoon.z * sunFromMoon.z) *
                           std::sqrt(earthFromMoon.x * earthFromMoon.x + earthFromMoon.y * earthFromMoon.y +
                                     earthFromMoon.z * earthFromMoon.z));
    const double phaseAngleRad = std::acos(std::fmax(-1.0, std::fmin(1.0, cosine)));

    const SurfacePoint subsolar = surfacePoint(sunDirectionInBody(earth));
    const SurfacePoint subEarth = surfacePoint(apply(moon.rotation, earthFromMoon));
    const SurfacePoint moonSubsolar = surfacePoint(sunDirectionInBody(moon));

    std::string json = "{";
    json += field("jd_utc", exactNumber(julianDayUtc)) + ", ";
    json += field("t_millennia", exactNumber(tMillennia)) + ", ";
    json += field("earth_km", vector(earth.position)) + ", ";
    json += field("moon_km", vector(moonFromEarth)) + ", ";
    json += field("subsolar_lon_deg", number(subsolar.longitudeDeg)) + ", ";
    json += field("subsolar_lat_deg", number(subsolar.latitudeDeg)) + ", ";
    json += field("moon_phase_angle_deg", number(phaseAngleRad * degreesPerRadian)) + ", ";
    json += field("moon_illuminated_fraction", number((1.0 + std::cos(phaseAngleRad)) * 0.5)) + ", ";
    json += field("sub_earth_lon_deg", number(subEarth.longitudeDeg)) + ", ";
    json += field("sub_earth_lat_deg", number(subEarth.latitudeDeg)) + ", ";
    json += field("moon_subsolar_lon_deg", number(moonSubsolar.longitudeDeg)) + ", ";
    json += field("moon_subsolar_lat_deg", number(moonSubsolar.latitudeDeg));
    json += "}";
    return json;
}
