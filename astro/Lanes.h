#pragma once

#include <cmath>
#include <type_traits>

// Two doubles side by side, worked on together: the globe tracing runs its
// per-pixel steps on two pixels at a time with them, written once for a plain
// double and for this type. Where the compiler has vector extensions the pair is
// one vector register (two-lane instructions on processors that have them);
// elsewhere it is a plain pair of doubles worked one after the other. Either
// way each operation is, in each lane, the correctly rounded IEEE operation of
// the scalar code on the same operands in the same order, and the build
// contracts nothing into fused multiply-adds, so a lane comes out bit for bit
// as one pixel traced on its own.
#if defined(__has_attribute) && !defined(HORAVEL_PLAIN_LANES)
#if __has_attribute(vector_size)
#define HORAVEL_VECTOR_LANES 1
#endif
#endif

#if defined(HORAVEL_VECTOR_LANES)

struct Lanes {
    using Vector = double __attribute__((vector_size(16)));
    Vector v;
};

// A comparison's result per lane: all bits set where it holds.
struct LaneMask {
    using Bits = long long __attribute__((vector_size(16)));
    Bits m;
};

inline Lanes bothLanes(double value) { return {Lanes::Vector{value, value}}; }
// first in lane 0, second in lane 1.
inline Lanes twoLanes(double first, double second) { return {Lanes::Vector{first, second}}; }
inline double firstLane(Lanes a) { return a.v[0]; }
inline double secondLane(Lanes a) { return a.v[1]; }

inline Lanes operator+(Lanes a, Lanes b) { return {a.v + b.v}; }
inline Lanes operator-(Lanes a, Lanes b) { return {a.v - b.v}; }
inline Lanes operator*(Lanes a, Lanes b) { return {a.v * b.v}; }
inline Lanes operator/(Lanes a, Lanes b) { return {a.v / b.v}; }
inline Lanes operator-(Lanes a) { return {-a.v}; }
// Lane by lane; the build leaves errno alone for the square root, so the
// compiler may take both lanes in one instruction.
inline Lanes sqrt(Lanes a) { return {Lanes::Vector{std::sqrt(a.v[0]), std::sqrt(a.v[1])}}; }

// Ordered comparisons are false in a lane holding a NaN, != is true there: as
// the scalar operators.
inline LaneMask operator>(Lanes a, Lanes b) { return {a.v > b.v}; }
inline LaneMask operator<(Lanes a, Lanes b) { return {a.v < b.v}; }
inline LaneMask operator!=(Lanes a, Lanes b) { return {a.v != b.v}; }

// yes in the lanes where mask holds, no in the others.
inline Lanes select(LaneMask mask, Lanes yes, Lanes no) {
    using Bits = LaneMask::Bits;
    return {(Lanes::Vector)((mask.m & (Bits)yes.v) | (~mask.m & (Bits)no.v))};
}

#else

struct Lanes {
    double v[2];
};

struct LaneMask {
    bool m[2];
};

inline Lanes bothLanes(double value) { return {{value, value}}; }
inline Lanes twoLanes(double first, double second) { return {{first, second}}; }
inline double firstLane(Lanes a) { return a.v[0]; }
inline double secondLane(Lanes a) { return a.v[1]; }

inline Lanes operator+(Lanes a, Lanes b) { return {{a.v[0] + b.v[0], a.v[1] + b.v[1]}}; }
inline Lanes operator-(Lanes a, Lanes b) { return {{a.v[0] - b.v[0], a.v[1] - b.v[1]}}; }
inline Lanes operator*(Lanes a, Lanes b) { return {{a.v[0] * b.v[0], a.v[1] * b.v[1]}}; }
inline Lanes operator/(Lanes a, Lanes b) { return {{a.v[0] / b.v[0], a.v[1] / b.v[1]}}; }
inline Lanes operator-(Lanes a) { return {{-a.v[0], -a.v[1]}}; }
inline Lanes sqrt(Lanes a) { return {{std::sqrt(a.v[0]), std::sqrt(a.v[1])}}; }

inline LaneMask operator>(Lanes a, Lanes b) { return {{a.v[0] > b.v[0], a.v[1] > b.v[1]}}; }
inline LaneMask operator<(Lanes a, Lanes b) { return {{a.v[0] < b.v[0], a.v[1] < b.v[1]}}; }
inline LaneMask operator!=(Lanes a, Lanes b) { return {{a.v[0] != b.v[0], a.v[1] != b.v[1]}}; }

inline Lanes select(LaneMask mask, Lanes yes, Lanes no) {
    return {{mask.m[0] ? yes.v[0] : no.v[0], mask.m[1] ? yes.v[1] : no.v[1]}};
}

#endif

inline Lanes loadLanes(const double* at) { return twoLanes(at[0], at[1]); }
inline void storeLanes(double* at, Lanes a) {
    at[0] = firstLane(a);
    at[1] = secondLane(a);
}

// The same steps for one pixel: a double is its own single lane.
inline double select(bool holds, double yes, double no) { return holds ? yes : no; }

// value in every lane of Number, a double or Lanes.
template <typename Number>
Number everyLane(double value) {
    if constexpr (std::is_same_v<Number, double>) {
        return value;
    } else {
        return bothLanes(value);
    }
}

// A point or direction, one pixel's or two pixels' (one in each lane of every
// component).
template <typename Number>
struct Vector3Of {
    Number x;
    Number y;
    Number z;
};

using Vector3Lanes = Vector3Of<Lanes>;
