#include "engine/BiquadLanes.h"

void BiquadLanes::Load(int l, const Filter& filter) {
  b0[l] = filter.b0_;
  b1[l] = filter.b1_;
  a1[l] = filter.a1_;
  a2[l] = filter.a2_;
  x1[l] = filter.x1_;
  x2[l] = filter.x2_;
  y1[l] = filter.y1_;
  y2[l] = filter.y2_;
  d[l] = filter.denormalOffset_;
}

void BiquadLanes::Store(int l, Filter& filter) const {
  filter.x1_ = x1[l];
  filter.x2_ = x2[l];
  filter.y1_ = y1[l];
  filter.y2_ = y2[l];
  filter.denormalOffset_ = d[l];
}
