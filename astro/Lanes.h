#pragma once

#if !defined(__SSE2__)
#error "The globe tracing needs SSE2, which every x86-64 processor has."
#endif

#include <emmintrin.h>

// Two doubles side by side, worked on together by the two-lane instructions
// of SSE2, which every x86-64 processor has. Each operation is, in each lane,
// the correctly rounded IEEE operation of the scalar code, with the same
// operands in the same order, so a lane comes out bit for bit as one pixel
// traced on its own: SSE2 has no fused multiply-add, and the build contracts
// nothing into one. The globe tracing works two pixels at a time with them;
// the square roots and divisions, the slowest steps of a ray, then take half
// as many instructions.
struct Lanes {
    __m128d v;
};

// A comparison's result per lane: all bits set where it holds.
struct LaneMask {
    __m128d m;
};

inline Lanes bothLanes(double value) { return {_mm_set1_pd(value)}; }
// first in lane 0, second in lane 1.
inline Lanes twoLanes(double first, double second) { return {_mm_set_pd(second, first)}; }
inline Lanes loadLanes(const double* at) { return {_mm_loadu_pd(at)}; }
inline void storeLanes(double* at, Lanes a) { _mm_storeu_pd(at, a.v); }
inline double firstLane(Lanes a) { return _mm_cvtsd_f64(a.v); }
inline double secondLane(Lanes a) { return _mm_cvtsd_f64(_mm_unpackhi_pd(a.v, a.v)); }

inline Lanes operator+(Lanes a, Lanes b) { return {_mm_add_pd(a.v, b.v)}; }
inline Lanes operator-(Lanes a, Lanes b) { return {_mm_sub_pd(a.v, b.v)}; }
inline Lanes operator*(Lanes a, Lanes b) { return {_mm_mul_pd(a.v, b.v)}; }
inline Lanes operator/(Lanes a, Lanes b) { return {_mm_div_pd(a.v, b.v)}; }
// The sign bit flipped, as the scalar negation does.
inline Lanes operator-(Lanes a) { return {_mm_xor_pd(a.v, _mm_set1_pd(-0.0))}; }
inline Lanes sqrt(Lanes a) { return {_mm_sqrt_pd(a.v)}; }

// Ordered comparisons are false in a lane holding a NaN, != is true there: as
// the scalar operators.
inline LaneMask operator>(Lanes a, Lanes b) { return {_mm_cmpgt_pd(a.v, b.v)}; }
inline LaneMask operator<(Lanes a, Lanes b) { return {_mm_cmplt_pd(a.v, b.v)}; }
inline LaneMask operator!=(Lanes a, Lanes b) { return {_mm_cmpneq_pd(a.v, b.v)}; }

// yes in the lanes where mask holds, no in the others.
inline Lanes select(LaneMask mask, Lanes yes, Lanes no) {
    return {_mm_or_pd(_mm_and_pd(mask.m, yes.v), _mm_andnot_pd(mask.m, no.v))};
}

// Two points or directions, one in each lane of every component.
struct Vector3Lanes {
    Lanes x;
    Lanes y;
    Lanes z;
};
