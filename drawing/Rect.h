#pragma once

#include <algorithm>
#include <cstdint>

// A rectangle of pixels; right and bottom are exclusive. An all-zero (or inverted)
// rectangle is empty and contains no point.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int32_t x, int32_t y) const {
    return !Empty() && x >= left && x < right && y >= top && y < bottom;
  }
  bool Intersects(const Rect& other) const { return !Intersection(other).Empty(); }
  Rect Intersection(const Rect& other) const {
    Rect cut{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
             std::min(bottom, other.bottom)};
    return cut.Empty() ? Rect{} : cut;
  }
  // The smallest rectangle holding both; an empty side adds nothing.
  Rect Union(const Rect& other) const {
    if (Empty()) return other.Empty() ? Rect{} : other;
    if (other.Empty()) return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  Rect Grown(int32_t by) const { return {left - by, top - by, right + by, bottom + by}; }
  Rect MovedTo(int32_t x, int32_t y) const { return {x, y, x + Width(), y + Height()}; }
  bool operator==(const Rect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const Rect& other) const { return !(*this == other); }
};
