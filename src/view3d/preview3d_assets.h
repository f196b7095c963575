// The pictures the 3D preview draws with, decoded once when the view opens so
// that drawing a frame reads no lump: the light tables of COLORMAP, the wall
// textures, flats and sky the level names, and the sprites of its Things in
// every rotation. Anything the master directory lacks (or holds damaged) is
// simply absent; the renderer draws what it has.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "level/level.h"

constexpr int kLightRows = 32;   // COLORMAP rows from full bright to darkest
constexpr int kFlatSide = 64;

// A picture kept column by column: texel (u, v) at pixels[u * height + v];
// opaque[] (same layout) is filled only for pictures drawn with holes.
struct ColumnPicture {
    int width = 0, height = 0;
    int leftOffset = 0, topOffset = 0;   // sprites: where the picture hangs from its origin
    std::vector<uint8_t> pixels;
    std::vector<uint8_t> opaque;
    const uint8_t* column(int u) const { return &pixels[static_cast<size_t>(u) * height]; }
    const uint8_t* columnMask(int u) const {
        return opaque.empty() ? nullptr : &opaque[static_cast<size_t>(u) * height];
    }
};

// One rotation of a sprite frame: the picture and whether it is drawn mirrored.
struct SpriteView {
    const ColumnPicture* picture = nullptr;
    bool mirrored = false;
};

struct PreviewAssets {
    // kLightRows x 256 bytes; empty when COLORMAP is missing or short, which
    // the renderer takes as every light level drawing in full colour.
    std::vector<uint8_t> colormap;
    std::unordered_map<std::string, ColumnPicture> textures;   // by upper-case name
    std::unordered_map<std::string, std::vector<uint8_t>> flats;   // 64 x 64, row by row
    std::unordered_map<std::string, ColumnPicture> spritePictures;   // by lump name
    // By Thing type: rotations 1..8 at [0..7] (all the same for a frame
    // drawn alike from every side).
    std::unordered_map<int, std::vector<SpriteView>> thingSprites;
    std::string skyName;   // upper case

    // Lookups by a level's 8-character field; nullptr when absent.
    const ColumnPicture* Texture(const char* name8) const;
    const uint8_t* Flat(const char* name8) const;
    const ColumnPicture* Sky() const;
    const uint8_t* LightRow(int row) const;   // nullptr: no COLORMAP
};

// Whether a Sector's ceiling is the sky flat.
bool IsSkyFlat(const char* name8);
// The sky texture of the level called levelName in the current flavour:
// DOOM's episodes E1..E4 show SKY1..SKY4, DOOM II's maps SKY1 up to MAP11,
// SKY2 up to MAP20 and SKY3 after; HERETIC's episodes 1, 2, 3 show SKY1,
// SKY2, SKY3 (4 SKY1, 5 SKY3).
std::string SkyTextureFor(const char* levelName);

// Decodes everything the level uses from the master directory.
PreviewAssets LoadPreviewAssets(const LevelState& lvl);
