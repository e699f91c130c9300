#pragma once

#include <cstdint>

/// A colour as the model keeps it and its file stores it: 0x00BBGGRR, red in
/// the low byte (a file may set the top byte too; it is no part of the
/// colour). A type of its own, so that it never mixes with the pixels of the
/// canvas's buffer, which are laid out 0xffRRGGBB: only the canvas converts.
enum class Color : std::uint32_t {};

constexpr Color RGBColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return Color(std::uint32_t(r) | (std::uint32_t(g) << 8) | (std::uint32_t(b) << 16));
}

constexpr std::uint8_t RedOf(Color c) { return std::uint8_t(std::uint32_t(c)); }
constexpr std::uint8_t GreenOf(Color c) { return std::uint8_t(std::uint32_t(c) >> 8); }
constexpr std::uint8_t BlueOf(Color c) { return std::uint8_t(std::uint32_t(c) >> 16); }
/// The colour without the top byte a model file may have set.
constexpr Color ColourBits(Color c) { return RGBColor(RedOf(c), GreenOf(c), BlueOf(c)); }

constexpr Color clBlack = RGBColor(0, 0, 0);
constexpr Color clWhite = RGBColor(255, 255, 255);
constexpr Color clSilver = RGBColor(192, 192, 192);
constexpr Color clRed = RGBColor(255, 0, 0);
constexpr Color clLightGrey = RGBColor(240, 240, 240);
