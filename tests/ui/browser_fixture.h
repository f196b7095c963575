// A small IWAD of textures (in TEXTURE1 and TEXTURE2), flats and sprites on
// the headless screen with the game's palette, for the browsers, choosers
// and viewers; snapshots taken by the input script are read back as images.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "pictures/namelists.h"
#include "support/session_kit.h"
#include "support/picture_kit.h"
#include "support/png_reader.h"
#include "ui/graphics.h"

namespace browser_test {

using namespace testkit;

// A w x h patch whose pixel (x, y) is base + (x + 3y) % 40, with the
// rows from `hole` on transparent in every other column.
inline Bytes Pattern(int w, int h, int base, int hole = 1 << 20) {
    Columns columns(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) {
        int rows = x % 2 ? std::min(h, hole) : h;
        Bytes pixels;
        for (int y = 0; y < rows; ++y)
            pixels.push_back(static_cast<uint8_t>(base + (x + 3 * y) % 40));
        columns[static_cast<size_t>(x)].push_back({0, pixels});
    }
    return PictureLump(w, h, columns);
}

// A flat whose pixel (x, y) is base + (x ^ y) % 50.
inline Bytes Flat(int base) {
    Bytes flat;
    for (int i = 0; i < 4096; ++i)
        flat.push_back(static_cast<uint8_t>(base + ((i % 64) ^ (i / 64)) % 50));
    return flat;
}

class BrowserTest : public ::testing::Test {
protected:
    // Textures A00..A09 in TEXTURE1 and C00..C09 in TEXTURE2, each of two
    // patches, the second partly transparent over the first; flats FLATA,
    // FLATB, FLATC; sprites and extra lumps as given.
    void Open(const Lumps& extra = {}) {
        std::vector<TextureDef> first, second;
        for (int i = 0; i < 10; ++i) {
            first.push_back({"A0" + std::to_string(i), 24, 20, {{0, 0, i % 2}, {8, 6, 2}}});
            second.push_back({"C0" + std::to_string(i), 32, 16, {{0, 0, 2}, {-4, 2, i % 2}}});
        }
        Lumps lumps = {{"TEXTURE1", TextureLump(first)},
                       {"TEXTURE2", TextureLump(second)},
                       {"PNAMES", PnamesLump({"P0", "P1", "P2"})},
                       {"P0", Pattern(16, 16, 60)},
                       {"P1", Pattern(20, 12, 110)},
                       {"P2", Pattern(12, 12, 160, 5)},
                       {"F_START", {}}, {"F1_START", {}},
                       {"FLATA", Flat(10)}, {"FLATB", Flat(70)}, {"FLATC", Flat(130)},
                       {"F1_END", {}}, {"F_END", {}}};
        lumps.insert(lumps.end(), extra.begin(), extra.end());
        OpenPictureIwad(session.Dir(), lumps, GreyPlaypal());
        wad = ReadWad(session.Dir().file("built.wad"));
        InitGraphics(GraphicsPalette::Game);
        SetMenuBarMode(MenuBarMode::Shown);
        BuildTextureNames();
        BuildFlatNames();
    }
    // The snapshot the script took into file.
    Image Snapshot(const std::string& file) const {
        PngPicture png;
        std::string fault = ReadPng(session.Dir().file(file), png);
        EXPECT_EQ(fault, "");
        return Image{png.width, png.height, png.pixels};
    }
    std::string Shot(const std::string& file) const { return "snapshot " + session.Dir().file(file); }

    Session session;
    WadContents wad;
};

}  // namespace browser_test
