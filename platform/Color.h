#pragma once

#include <cstdint>

/// A colour laid out 0x00BBGGRR: red in the low byte, as the model file stores it.
using Color = std::uint32_t;

constexpr Color RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}

constexpr Color clBlack = RGBColor(0, 0, 0);
constexpr Color clWhite = RGBColor(255, 255, 255);
constexpr Color clSilver = RGBColor(192, 192, 192);
constexpr Color clRed = RGBColor(255, 0, 0);
constexpr Color clLightGrey = RGBColor(240, 240, 240);
