// What the picture tests share: a headless screen with the game palette over
// an IWAD, a plain reader of WAD files that does not use the program's WAD
// code, and straightforward decoders of pictures and textures to compare the
// program's drawing with.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/picture.h"
#include "platform/video.h"
#include "support/headless_kit.h"
#include "wad/master.h"

namespace picturetest {

using testkit::Bytes;

// The lumps of a WAD file read straight from the file.
class RawWad {
public:
    explicit RawWad(const std::string& path);
    bool has(const std::string& name) const;
    // The first lump of the name (ignoring case); fails the test when missing.
    Bytes lump(const std::string& name) const;

private:
    Bytes file_;
    std::vector<std::pair<std::string, std::pair<int32_t, int32_t>>> dir_;
};

int Le16(const Bytes& b, size_t at);
int32_t Le32(const Bytes& b, size_t at);

// A picture as a grid of palette indices, -1 where it is transparent.
struct Grid {
    int width = 0, height = 0;
    std::vector<int> cells;
    int& at(int x, int y) { return cells[static_cast<size_t>(y) * width + x]; }
    int at(int x, int y) const { return cells[static_cast<size_t>(y) * width + x]; }
};
Grid EmptyGrid(int width, int height, int fill = -1);

// Decodes a well-formed picture lump.
Grid DecodePicture(const Bytes& lump);
// Lays picture over grid with its upper-left corner at (x, y); transparent
// pixels leave the grid as it is.
void Overlay(Grid& grid, const Grid& picture, int x, int y);
// Composes a texture of TEXTURE1 the simple way: width x height of -1, each
// patch laid over in turn.
Grid ComposeTexture(const RawWad& wad, const std::string& name);
// The grid magnified (mag >= 1) or thinned to every (2 - mag)-th pixel.
Grid Scale(const Grid& grid, int mag);

// Builders of lumps for damaged and hand-made pictures.
struct Post {
    int top;
    std::vector<uint8_t> pixels;
};
// A picture whose column c has the posts columns[c].
Bytes PictureLump(int width, int height, const std::vector<std::vector<Post>>& columns);
// A texture lump of textures {name, width, height, patches {x, y, patch number}}.
struct PatchPlace {
    int x, y, patch;
};
struct TextureDef {
    std::string name;
    int width, height;
    std::vector<PatchPlace> patches;
};
Bytes TextureLump(const std::vector<TextureDef>& textures);
Bytes PnamesLump(const std::vector<std::string>& names);
// 14 palettes in which colour i is (i, i, i).
Bytes GreyPlaypal();

// A 640 x 480 headless screen with the whole screen as viewport, the game
// palette loaded from the IWAD that Open() reads.
class PictureTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Reads the IWAD as the only file of a fresh master directory and starts
    // graphics with its palette.
    void Open(const std::string& iwad);
    // Builds an IWAD of the lumps (a PLAYPAL and a level are added) and opens it.
    void OpenBuilt(testkit::WadBuilder& wad);
    int At(int x, int y) const { return Screen().getpixel(x, y); }
    // Fills the whole screen with one palette index.
    void Paint(int colour);
    // Compares the screen at (x, y) with the grid; -1 cells must show
    // transparent. Reports the first difference.
    ::testing::AssertionResult ShowsGrid(int x, int y, const Grid& grid, int transparent) const;
    // How many pixels of the box have the palette index.
    int Count(int x1, int y1, int x2, int y2, int colour) const;

    testkit::HeadlessSession session;
    std::string iwadPath;
};

}  // namespace picturetest
