#pragma once

#include <cmath>

// A point or direction in three dimensions; the unit is the caller's (kilometres
// in the globe scene, pixels nowhere).
struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// The operators work component by component, each component from the same
// operations in the same order as when written out by hand, so that replacing
// hand-written components with them changes no bit of any result.

inline Vector3 operator+(const Vector3& a, const Vector3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vector3 operator-(const Vector3& a, const Vector3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vector3 operator-(const Vector3& v) { return {-v.x, -v.y, -v.z}; }
// s·v: each component is s × component.
inline Vector3 operator*(double s, const Vector3& v) { return {s * v.x, s * v.y, s * v.z}; }
inline Vector3 operator*(const Vector3& v, double s) { return {v.x * s, v.y * s, v.z * s}; }
// A true division of each component, not a product with the reciprocal, which
// rounds differently.
inline Vector3 operator/(const Vector3& v, double s) { return {v.x / s, v.y / s, v.z / s}; }

// a.x·b.x + a.y·b.y + a.z·b.z, summed left to right.
inline double dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// The square root of dot(v, v).
inline double length(const Vector3& v) { return std::sqrt(dot(v, v)); }
