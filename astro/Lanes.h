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

// The plain pair: any compiler builds it.
struct PairLanes {
    double v[2];

    static PairLanes both(double value) { return {{value, value}}; }
    // first in lane 0, second in lane 1.
    static PairLanes of(double first, double second) { return {{first, second}}; }
};

// A comparison's result per lane.
struct PairMask {
    bool m[2];
};

inline double firstLane(PairLanes a) { return a.v[0]; }
inline double secondLane(PairLanes a) { return a.v[1]; }

inline PairLanes operator+(PairLanes a, PairLanes b) { return {{a.v[0] + b.v[0], a.v[1] + b.v[1]}}; }
inline PairLanes operator-(PairLanes a, PairLanes b) { return {{a.v[0] - b.v[0], a.v[1] - b.v[1]}}; }
inline PairLanes operator*(PairLanes a, PairLanes b) { return {{a.v[0] * b.v[0], a.v[1] * b.v[1]}}; }
inline PairLanes operator/(PairLanes a, PairLanes b) { return {{a.v[0] / b.v[0], a.v[1] / b.v[1]}}; }
inline PairLanes operator-(PairLanes a) { return {{-a.v[0], -a.v[1]}}; }
inline PairLanes sqrt(PairLanes a) { return {{std::sqrt(a.v[0]), std::sqrt(a.v[1])}}; }

inline PairMask operator>(PairLanes a, PairLanes b) { return {{a.v[0] > b.v[0], a.v[1] > b.v[1]}}; }
inline PairMask operator<(PairLanes a, PairLanes b) { return {{a.v[0] < b.v[0], a.v[1] < b.v[1]}}; }
inline PairMask operator!=(PairLanes a, PairLanes b) { return {{a.v[0] != b.v[0], a.v[1] != b.v[1]}}; }

// yes in the lanes where mask holds, no in the others.
inline PairLanes select(PairMask mask, PairLanes yes, PairLanes no) {
    return {{mask.m[0] ? yes.v[0] : no.v[0], mask.m[1] ? yes.v[1] : no.v[1]}};
}

#if defined(__has_attribute)
#if __has_attribute(vector_size)
#define HORAVEL_VECTOR_LANES 1
#endif
#endif

#if defined(HORAVEL_VECTOR_LANES)

// The pair as one vector of the compiler's extensions.
struct VectorLanes {
    using Vector = double __attribute__((vector_size(16)));
    Vector v;

    static VectorLanes both(double value) { return {Vector{value, value}}; }
    static VectorLanes of(double first, double second) { return {Vector{first, second}}; }
};

// All bits set in a lane where the comparison holds.
struct VectorMask {
    using Bits = long long __attribute__((vector_size(16)));
    Bits m;
};

inline double firstLane(VectorLanes a) { return a.v[0]; }
inline double secondLane(VectorLanes a) { return a.v[1]; }

inline VectorLanes operator+(VectorLanes a, VectorLanes b) { return {a.v + b.v}; }
inline VectorLanes operator-(VectorLanes a, VectorLanes b) { return {a.v - b.v}; }
inline VectorLanes operator*(VectorLanes a, VectorLanes b) { return {a.v * b.v}; }
inline VectorLanes operator/(VectorLanes a, VectorLanes b) { return {a.v / b.v}; }
inline VectorLanes operator-(VectorLanes a) { return {-a.v}; }
// Lane by lane; the build leaves errno alone for the square root, so the
// compiler takes both lanes in one instruction.
inline VectorLanes sqrt(VectorLanes a) { return {VectorLanes::Vector{std::sqrt(a.v[0]), std::sqrt(a.v[1])}}; }

// Ordered comparisons are false in a lane holding a NaN, != is true there: as
// the scalar operators.
inline VectorMask operator>(VectorLanes a, VectorLanes b) { return {a.v > b.v}; }
inline VectorMask operator<(VectorLanes a, VectorLanes b) { return {a.v < b.v}; }
inline VectorMask operator!=(VectorLanes a, VectorLanes b) { return {a.v != b.v}; }

inline VectorLanes select(VectorMask mask, VectorLanes yes, VectorLanes no) {
    using Bits = VectorMask::Bits;
    return {(VectorLanes::Vector)((mask.m & (Bits)yes.v) | (~mask.m & (Bits)no.v))};
}

using Lanes = VectorLanes;
#else
using Lanes = PairLanes;
#endif

inline Lanes bothLanes(double value) { return Lanes::both(value); }
inline Lanes twoLanes(double first, double second) { return Lanes::of(first, second); }
inline Lanes loadLanes(const double* at) { return Lanes::of(at[0], at[1]); }
inline void storeLanes(double* at, Lanes a) {
    at[0] = firstLane(a);
    at[1] = secondLane(a);
}

// The same steps for one pixel: a double is its own single lane.
inline double select(bool holds, double yes, double no) { return holds ? yes : no; }

// value in every lane of Number: a double, or a pair of lanes.
template <typename Number>
Number everyLane(double value) {
    if constexpr (std::is_same_v<Number, double>) {
        return value;
    } else {
        return Number::both(value);
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
