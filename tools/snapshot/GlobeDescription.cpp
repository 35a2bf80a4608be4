#include "GlobeDescription.h"

#include "astro/GlobeBody.h"
#include "astro/Scene.h"
#include "astro/TimeScale.h"
#include "raster/Angles.h"

#include <cmath>
#include <charconv>

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
    const double vectorLength = length(v);
    const double sine = vectorLength > 0.0 ? std::fmax(-1.0, std::fmin(1.0, v.z / vectorLength)) : 0.0;
    return {longitudeDeg, std::asin(sine) * degreesPerRadian};
}

// The shortest text that reads back as the same double.
std::string number(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string vector(const Vector3& v) {
    return "[" + number(v.x) + ", " + number(v.y) + ", " + number(v.z) + "]";
}

std::string field(const char* name, const std::string& value) {
    return std::string("\"") + name + "\": " + value;
}

}  // namespace

GlobeGeometry globeGeometry(double julianDayUtc) {
    GlobeGeometry geometry;
    geometry.julianDayUtc = julianDayUtc;
    geometry.tMillennia = millenniaSinceJ2000(julianDayUtc);
    GlobeBody earth;
    earth.radiusKm = earthRadiusKm;
    GlobeBody moon;
    moon.radiusKm = moonRadiusKm;
    assembleScene(geometry.tMillennia, earth, moon);

    const Vector3 moonFromEarth = moon.position - earth.position;
    const Vector3 earthFromMoon = -moonFromEarth;
    const Vector3 sunFromMoon = -moon.position;
    // The phase angle: Sun–Moon–Earth, at the Moon.
    const double cosine = dot(sunFromMoon, earthFromMoon) / (length(sunFromMoon) * length(earthFromMoon));
    const double phaseAngleRad = std::acos(std::fmax(-1.0, std::fmin(1.0, cosine)));

    const SurfacePoint subsolar = surfacePoint(sunDirectionInBody(earth));
    const SurfacePoint subEarth = surfacePoint(transformVector(moon.rotation, earthFromMoon));
    const SurfacePoint moonSubsolar = surfacePoint(sunDirectionInBody(moon));

    geometry.earthKm = earth.position;
    geometry.moonKm = moonFromEarth;
    geometry.subsolarLongitudeDeg = subsolar.longitudeDeg;
    geometry.subsolarLatitudeDeg = subsolar.latitudeDeg;
    geometry.moonPhaseAngleDeg = phaseAngleRad * degreesPerRadian;
    geometry.moonIlluminatedFraction = (1.0 + std::cos(phaseAngleRad)) * 0.5;
    geometry.subEarthLongitudeDeg = subEarth.longitudeDeg;
    geometry.subEarthLatitudeDeg = subEarth.latitudeDeg;
    geometry.moonSubsolarLongitudeDeg = moonSubsolar.longitudeDeg;
    geometry.moonSubsolarLatitudeDeg = moonSubsolar.latitudeDeg;
    return geometry;
}

std::string describeGlobes(const GlobeGeometry& g) {
    std::string json = "{";
    json += field("jd_utc", number(g.julianDayUtc)) + ", ";
    json += field("t_millennia", number(g.tMillennia)) + ", ";
    json += field("earth_km", vector(g.earthKm)) + ", ";
    json += field("moon_km", vector(g.moonKm)) + ", ";
    json += field("subsolar_lon_deg", number(g.subsolarLongitudeDeg)) + ", ";
    json += field("subsolar_lat_deg", number(g.subsolarLatitudeDeg)) + ", ";
    json += field("moon_phase_angle_deg", number(g.moonPhaseAngleDeg)) + ", ";
    json += field("moon_illuminated_fraction", number(g.moonIlluminatedFraction)) + ", ";
    json += field("sub_earth_lon_deg", number(g.subEarthLongitudeDeg)) + ", ";
    json += field("sub_earth_lat_deg", number(g.subEarthLatitudeDeg)) + ", ";
    json += field("moon_subsolar_lon_deg", number(g.moonSubsolarLongitudeDeg)) + ", ";
    json += field("moon_subsolar_lat_deg", number(g.moonSubsolarLatitudeDeg));
    json += "}";
    return json;
}
