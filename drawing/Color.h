#pragma once

#include <cstdint>

// A straight (not premultiplied) colour, each channel 0..255.
struct Color {
  uint8_t a = 255;
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;

  bool operator==(const Color& other) const {
    return a == other.a && r == other.r && g == other.g && b == other.b;
  }
};

// Pixels are 0xAARRGGBB words with the colour channels premultiplied by alpha.
using Pixel = uint32_t;

inline uint32_t MultiplyChannel(uint32_t channel, uint32_t factor) {
  uint32_t product = channel * factor + 128;
  return (product + (product >> 8)) >> 8;  // channel * factor / 255, rounded
}

inline Pixel PixelOf(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
  return (uint32_t{a} << 24) | (uint32_t{r} << 16) | (uint32_t{g} << 8) | uint32_t{b};
}

inline Pixel Premultiply(Color color) {
  return PixelOf(color.a, static_cast<uint8_t>(MultiplyChannel(color.r, color.a)),
                 static_cast<uint8_t>(MultiplyChannel(color.g, color.a)),
                 static_cast<uint8_t>(MultiplyChannel(color.b, color.a)));
}

inline uint8_t AlphaOf(Pixel pixel) {
  return static_cast<uint8_t>(pixel >> 24);
}

// Every channel of a premultiplied pixel scaled by factor / 255.
inline Pixel ScalePixel(Pixel pixel, uint32_t factor) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    result |= MultiplyChannel((pixel >> shift) & 0xFF, factor) << shift;
  }
  return result;
}

// Source over destination, both premultiplied.
inline Pixel BlendOver(Pixel destination, Pixel source) {
  uint32_t alpha = AlphaOf(source);
  if (alpha == 255) return source;
  if (alpha == 0 && source == 0) return destination;
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    uint32_t channel =
        ((source >> shift) & 0xFF) + MultiplyChannel((destination >> shift) & 0xFF, 255 - alpha);
    result |= (channel > 255 ? 255 : channel) << shift;
  }
  return result;
}
