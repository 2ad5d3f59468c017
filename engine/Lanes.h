#pragma once

#include <cstring>

// The one place where voices computed side by side meet vector instructions. Lane state
// lives in plain arrays of doubles, one entry per voice; a kernel written once as a template
// over its vector type loads them as two doubles at a time (SSE2, what every x86-64 and the
// 32-bit builds may assume) or, where the processor has AVX2, four at a time. Every lane
// computes exactly what the scalar code computes for its voice.

typedef double DoublePair __attribute__((vector_size(2 * sizeof(double))));
typedef double DoubleQuad __attribute__((vector_size(4 * sizeof(double))));

// Whether the wide lanes run: the processor has AVX2 and BMI2 (asked once, when the
// library is loaded) and they are allowed.
bool WideLanes();
// Allowed unless switched off, so the narrow lanes can be checked on any processor.
void AllowWideLanes(bool allowed);

// A kernel is inlined into the function that instantiates it, so the AVX2 one is compiled
// for AVX2 only there, behind WideLanes().
// Kernels pass AVX vectors by value only where they are inlined (into AVX2 code, or split
// into halves by the compiler), so no call between them depends on the vector ABI.
#pragma GCC diagnostic ignored "-Wpsabi"
#define TARSYN7_LANE_KERNEL __attribute__((always_inline)) inline
#define TARSYN7_WIDE_LANES __attribute__((target("avx2,bmi2")))

template <typename Vector>
constexpr int kLaneWidth = sizeof(Vector) / sizeof(double);

template <typename Vector>
TARSYN7_LANE_KERNEL Vector LoadLanes(const double* from) {
  Vector v;
  std::memcpy(&v, from, sizeof v);
  return v;
}

template <typename Vector>
TARSYN7_LANE_KERNEL void StoreLanes(double* to, Vector v) {
  std::memcpy(to, &v, sizeof v);
}

// Each lane truncated towards zero into `to`, as static_cast<int> does.
TARSYN7_LANE_KERNEL void StoreTruncated(int* to, double v) {
  *to = static_cast<int>(v);
}
template <typename Vector>
TARSYN7_LANE_KERNEL void StoreTruncated(int* to, Vector v) {
  typedef int Ints __attribute__((vector_size(sizeof(Vector) / 2)));
  const Ints truncated = __builtin_convertvector(v, Ints);
  std::memcpy(to, &truncated, sizeof truncated);
}

// a where the comparison that gave `mask` holds, else b: by bit masks for lane vectors.
TARSYN7_LANE_KERNEL double Select(bool mask, double a, double b) {
  return mask ? a : b;
}
template <typename Mask, typename Vector>
TARSYN7_LANE_KERNEL Vector Select(Mask mask, Vector a, Vector b) {
  return reinterpret_cast<Vector>((mask & reinterpret_cast<Mask>(a)) |
                                  (~mask & reinterpret_cast<Mask>(b)));
}

// Whether the comparison that gave `mask` holds in any lane.
TARSYN7_LANE_KERNEL bool AnyLane(bool mask) {
  return mask;
}
template <typename Mask>
TARSYN7_LANE_KERNEL bool AnyLane(Mask mask) {
  auto any = mask[0];
  for (int i = 1; i < static_cast<int>(sizeof mask / sizeof any); ++i) any |= mask[i];
  return any != 0;
}

// GuardSample (engine/Filter.h) for lanes: x - x is 0 exactly when x is finite.
template <typename Vector>
TARSYN7_LANE_KERNEL Vector Guard(Vector x, Vector offset) {
  return Select(x - x == 0.0, x + offset, Vector{});
}
