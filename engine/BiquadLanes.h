#pragma once

#include "engine/Filter.h"
#include "engine/Lanes.h"

// Several second-order filters (engine/Filter.h) side by side, one per lane, for a run of
// samples; each lane computes exactly what Filter::Process computes. Lanes beyond the
// filters stay silent.
struct BiquadLanes {
  static constexpr int kLanes = 8;

  // Takes a filter into lane l; Store gives the lanes' history back.
  void Load(int l, const Filter& filter);
  void Store(int l, Filter& filter) const;

  // One sample of every lane: inputs x, outputs y.
  template <typename Vector>
  void Process(const double* x, double* y);

  alignas(32) double b0[kLanes] = {};
  alignas(32) double b1[kLanes] = {};
  alignas(32) double a1[kLanes] = {};
  alignas(32) double a2[kLanes] = {};
  alignas(32) double x1[kLanes] = {};
  alignas(32) double x2[kLanes] = {};
  alignas(32) double y1[kLanes] = {};
  alignas(32) double y2[kLanes] = {};
  alignas(32) double d[kLanes] = {};  // denormal offset
};

template <typename Vector>
TARSYN7_LANE_KERNEL void BiquadLanes::Process(const double* x, double* y) {
  for (int v = 0; v < kLanes; v += kLaneWidth<Vector>) {
    const Vector offset = LoadLanes<Vector>(d + v);
    const Vector u = Guard(LoadLanes<Vector>(x + v), offset);
    const Vector past1 = Guard(LoadLanes<Vector>(x1 + v), offset);
    const Vector past2 = Guard(LoadLanes<Vector>(x2 + v), offset);
    const Vector out1 = Guard(LoadLanes<Vector>(y1 + v), offset);
    const Vector out2 = Guard(LoadLanes<Vector>(y2 + v), offset);
    StoreLanes(d + v, -offset);
    const Vector out = LoadLanes<Vector>(b0 + v) * (u + past2) + LoadLanes<Vector>(b1 + v) * past1 +
                       LoadLanes<Vector>(a1 + v) * out1 + LoadLanes<Vector>(a2 + v) * out2;
    StoreLanes(x2 + v, past1);
    StoreLanes(x1 + v, u);
    StoreLanes(y2 + v, out1);
    StoreLanes(y1 + v, out);
    StoreLanes(y + v, out);
  }
}
