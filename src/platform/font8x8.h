// The built-in 8 x 8 bitmap font of the PC character set (code page 437),
// in the shapes of the classic IBM PC 8 x 8 character generator.
#pragma once

#include <cstdint>

constexpr int kFontCharWidth = 8;
constexpr int kFontCharHeight = 8;

// The 8 rows of character `code`, top row first; bit 7 is the leftmost pixel.
const uint8_t* FontGlyph(uint8_t code);
