// What the picture tests share: builders of hand-made picture, texture and
// PNAMES lumps, a plain decoder of WAD pictures and textures that uses none
// of the program's code, and a comparison of drawn pixels with it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "support/testkit.h"

namespace testkit {

using Lumps = std::vector<std::pair<std::string, Bytes>>;

// A picture as palette indices, -1 where it is transparent.
struct Grid {
    int width, height;
    std::vector<int> cells;
    Grid(int w, int h) : width(w), height(h), cells(static_cast<size_t>(w) * h, -1) {}
    int at(int x, int y) const { return cells[static_cast<size_t>(y) * width + x]; }
};

// Lays a well-formed picture lump over the grid with its corner at (x, y).
void Overlay(Grid& grid, const Bytes& lump, int x, int y);
// A well-formed picture lump decoded the simple way.
Grid PlainPicture(const Bytes& lump);
// A side of n pixels at magnification mag: >= 1 magnifies, below 1 keeps
// every (2 - mag)-th pixel.
inline int Scaled(int n, int mag) { return mag >= 1 ? n * mag : (n + 1 - mag) / (2 - mag); }

// The box of w x h pixels at (x, y) of the image shows the grid at
// magnification mag, its -1 cells and the rest of the box in the colour
// transparent.
::testing::AssertionResult Shows(const Image& image, int x, int y, int w, int h, const Grid& grid,
                                 int mag, int transparent);

// A picture lump whose column c has the posts columns[c] of {top, pixels}.
using Post = std::pair<int, Bytes>;
using Columns = std::vector<std::vector<Post>>;
Bytes PictureLump(int width, int height, const Columns& columns);

// A texture lump of textures {name, width, height, patches {x, y, patch number}}.
using Patches = std::vector<std::vector<int>>;
struct TextureDef {
    std::string name;
    int width, height;
    Patches patches;
};
Bytes TextureLump(const std::vector<TextureDef>& textures);
Bytes PnamesLump(const std::vector<std::string>& names);

// Opens an IWAD of the lumps, a level and the PLAYPAL (none when empty),
// written in the directory, as a fresh master directory.
void OpenPictureIwad(const ScratchDir& dir, const Lumps& lumps, const Bytes& playpal);

// The screen's colour registers (6 bits per component).
Bytes CurrentPalette();

}  // namespace testkit
