// What the picture, flat, texture and name list code share: reading lumps in
// part, little-endian numbers and magnified pixels.
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

// Whether a picture header's width and height are those of a picture that
// can be drawn (1..320 wide, 1..200 high).
bool PlausiblePictureSize(int width, int height);

// Puts the pixel of source position (x, y) into the image, clipped.
void PutScaled(Image& image, int x, int y, int mag, uint8_t colour);
