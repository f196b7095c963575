// What the picture tests share: a headless 640 x 480 screen with the game
// palette, a plain decoder of WAD pictures and textures that uses none of the
// program's code, and builders of hand-made lumps.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "pictures/picture.h"
#include "platform/video.h"
#include "base/config.h"
#include "support/headless_kit.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace picturetest {

using testkit::Bytes;
using Lumps = std::vector<std::pair<std::string, Bytes>>;
constexpr int kPaint = 251;   // the screen's colour before drawing

inline int Le16(const Bytes& b, size_t at) { return static_cast<int16_t>(b[at] | b[at + 1] << 8); }
inline int Le32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t{b[at + 3]} << 24);
}
inline std::string Name8(const Bytes& b, size_t at) {
    return std::string(reinterpret_cast<const char*>(&b[at]), strnlen(reinterpret_cast<const char*>(&b[at]), 8));
}

// A picture as palette indices, -1 where it is transparent.
struct Grid {
    int width, height;
    std::vector<int> cells;
    Grid(int w, int h) : width(w), height(h), cells(static_cast<size_t>(w) * h, -1) {}
    int at(int x, int y) const { return cells[static_cast<size_t>(y) * width + x]; }
};

// Lays a well-formed picture lump over the grid with its corner at (x, y).
inline void Overlay(Grid& grid, const Bytes& lump, int x, int y) {
    for (int c = 0; c < Le16(lump, 0); ++c)
        for (size_t p = static_cast<size_t>(Le32(lump, 8 + 4 * c)); lump[p] != 0xFF; p += lump[p + 1] + 4u)
            for (int k = 0; k < lump[p + 1]; ++k) {
                int gx = x + c, gy = y + lump[p] + k;
                if (gx >= 0 && gy >= 0 && gx < grid.width && gy < grid.height)
                    grid.cells[static_cast<size_t>(gy) * grid.width + gx] = lump[p + 3 + k];
            }
}

inline Grid DecodePicture(const Bytes& lump) {
    Grid grid(Le16(lump, 0), Le16(lump, 2));
    Overlay(grid, lump, 0, 0);
    return grid;
}

// A texture of TEXTURE1 composed the simple way: each patch laid over in turn.
inline Grid ComposeTexture(const testkit::WadContents& wad, const std::string& name) {
    const Bytes textures = wad.data("TEXTURE1"), pnames = wad.data("PNAMES");
    for (int i = 0; i < Le32(textures, 0); ++i) {
        size_t record = static_cast<size_t>(Le32(textures, 4 + 4 * i));
        if (Name8(textures, record) != name)
            continue;
        Grid grid(Le16(textures, record + 12), Le16(textures, record + 14));
        for (size_t k = 0, p = record + 22; k < static_cast<size_t>(Le16(textures, record + 20)); ++k, p += 10)
            Overlay(grid, wad.data(Name8(pnames, 4 + 8 * Le16(textures, p + 4))), Le16(textures, p),
                    Le16(textures, p + 2));
        return grid;
    }
    ADD_FAILURE() << "no texture " << name;
    return Grid(0, 0);
}

// A side of n pixels at magnification mag: >= 1 magnifies, below 1 keeps
// every (2 - mag)-th pixel.
inline int Scaled(int n, int mag) { return mag >= 1 ? n * mag : (n + 1 - mag) / (2 - mag); }

// A picture lump whose column c has the posts columns[c] of {top, pixels}.
using Post = std::pair<int, Bytes>;
using Columns = std::vector<std::vector<Post>>;
inline Bytes PictureLump(int width, int height, const Columns& columns) {
    Bytes lump, data;
    for (int value : {width, height, 0, 0})
        testkit::PutLE16(lump, value);
    for (const std::vector<Post>& column : columns) {
        testkit::PutLE32(lump, static_cast<int32_t>(8 + 4 * columns.size() + data.size()));
        for (const Post& post : column) {
            data.insert(data.end(), {static_cast<uint8_t>(post.first), static_cast<uint8_t>(post.second.size()), 0});
            data.insert(data.end(), post.second.begin(), post.second.end());
            data.push_back(0);
        }
        data.push_back(0xFF);
    }
    lump.insert(lump.end(), data.begin(), data.end());
    return lump;
}

inline void PutName(Bytes& lump, std::string name) {
    name.resize(8, '\0');
    lump.insert(lump.end(), name.begin(), name.end());
}

// A texture lump of textures {name, width, height, patches {x, y, patch number}}.
using Patches = std::vector<std::vector<int>>;
struct TextureDef { std::string name; int width, height; Patches patches; };
inline Bytes TextureLump(const std::vector<TextureDef>& textures) {
    Bytes lump, records;
    testkit::PutLE32(lump, static_cast<int32_t>(textures.size()));
    for (const TextureDef& t : textures) {
        testkit::PutLE32(lump, static_cast<int32_t>(4 + 4 * textures.size() + records.size()));
        PutName(records, t.name);
        for (int value : {0, 0, t.width, t.height, 0, 0, static_cast<int>(t.patches.size())})
            testkit::PutLE16(records, value);
        for (const std::vector<int>& p : t.patches)
            for (int value : {p[0], p[1], p[2], 1, 0})
                testkit::PutLE16(records, value);
    }
    lump.insert(lump.end(), records.begin(), records.end());
    return lump;
}

inline Bytes PnamesLump(const std::vector<std::string>& names) {
    Bytes lump;
    testkit::PutLE32(lump, static_cast<int32_t>(names.size()));
    for (const std::string& name : names)
        PutName(lump, name);
    return lump;
}

inline Bytes CurrentPalette() {
    uint8_t rgb[768];
    VideoGetPalette(rgb);
    return Bytes(rgb, rgb + 768);
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { pictures = PictureState{}; }
    // A fresh master directory of the IWAD alone, graphics with its palette,
    // the whole screen as viewport and painted kPaint.
    void Open(const std::string& iwad) {
        CloseGraphics();
        ResetMaster();
        SetField(config.iwadName, iwad.c_str());
        OpenIwad(config.iwadName);
        InitGraphics(1);
        SetMenuBarMode(0);
        Paint(kPaint);
    }
    // Opens an IWAD of the lumps, a level and the PLAYPAL (none when empty).
    void OpenBuilt(const Lumps& lumps, const Bytes& playpal = testkit::GreyPlaypal()) {
        testkit::WadBuilder wad("IWAD");
        for (const auto& lump : lumps)
            wad.lump(lump.first, lump.second);
        if (!playpal.empty())
            wad.lump("PLAYPAL", playpal);
        std::string path = session.Dir().file("built.wad");
        wad.level("E1M1").write(path);
        Open(path);
    }
    int At(int x, int y) const { return Screen().getpixel(x, y); }
    void Paint(int colour) {
        std::fill(Screen().pixels(), Screen().pixels() + Screen().width() * Screen().height(), colour);
    }
    // The box of w x h pixels at (x, y) shows the grid at magnification mag,
    // its -1 cells and the rest of the box in the colour transparent.
    ::testing::AssertionResult Shows(int x, int y, int w, int h, const Grid& grid, int mag, int transparent) const {
        const int step = mag >= 1 ? 1 : 2 - mag, size = mag >= 1 ? mag : 1;
        for (int i = 0; i < w * h; ++i) {
            const int gx = i % w / size * step, gy = i / w / size * step;
            const int cell = gx < grid.width && gy < grid.height ? grid.at(gx, gy) : -1;
            const int want = cell < 0 ? transparent : cell, got = At(x + i % w, y + i / w);
            if (got != want)
                return ::testing::AssertionFailure() << "pixel (" << i % w << ", " << i / w << ") is " << got
                                                     << ", expected " << want;
        }
        return ::testing::AssertionSuccess();
    }
    Bytes Pixels() const { return Bytes(Screen().pixels(), Screen().pixels() + Screen().width() * Screen().height()); }
    // How many pixels outside the box differ from kPaint.
    int ChangedOutside(int x1, int y1, int x2, int y2) const {
        int n = 0;
        for (int i = 0; i < 640 * 480; ++i)
            n += Screen().pixels()[i] != kPaint && (i % 640 < x1 || i % 640 > x2 || i / 640 < y1 || i / 640 > y2);
        return n;
    }

    testkit::HeadlessSession session;
};

}  // namespace picturetest
