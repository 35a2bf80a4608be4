#pragma once

// A point or direction in three dimensions; the unit is the caller's (kilometres
// in the globe scene, pixels nowhere).
struct Vector3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
