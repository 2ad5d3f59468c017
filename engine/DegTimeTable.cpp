#include "engine/DegTimeTable.h"

double DegSegmentTime(double t) {
  constexpr int kLast = static_cast<int>(DegTimeTable.size()) - 1;
  if (!(t > 0.0)) return DegTimeTable[0];  // also catches NaN
  if (t >= 1.0) return DegTimeTable[kLast];
  const double x = t * kLast;
  const int i = static_cast<int>(x);
  return DegTimeTable[i] + (DegTimeTable[i + 1] - DegTimeTable[i]) * (x - i);
}
