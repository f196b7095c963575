// What the picture, flat and texture drawing share: reading lumps in part,
// little-endian numbers, magnified images and the failure marks.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "wad/wadfile.h"

// The bytes [from, from + length) of a lump; the caller keeps them inside it.
std::vector<uint8_t> ReadLumpPart(const WadDirEntry& entry, int32_t from, int32_t length);

inline int16_t LE16(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }
inline int32_t LE32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

// Magnification: mag >= 1 draws each pixel as a mag x mag block; mag < 1
// draws only every (2 - mag)-th column and row.
int ScaledSize(int size, int mag);
// mag limited to a range that keeps every size far from overflowing and
// still covers any screen.
int LimitMag(int mag);
// Puts the pixel of source position (x, y) into the image, clipped.
void PutScaled(Image& image, int x, int y, int mag, uint8_t colour);
// An image of one colour, never larger than the screen (what lies beyond
// could not be seen).
Image FilledImage(int width, int height, uint8_t colour);

// A cross of logical colour c from corner to corner of the box.
void DrawCross(int x1, int y1, int x2, int y2, int colour);
// "%hdx%hd" on a box in the menu colour, for a picture whose box has its
// lower left corner at (x, y - 3).
void DrawSizeText(int x, int y, int width, int height);
