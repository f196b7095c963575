// The game's pictures drawn from the lumps of the master directory:
// column-coded pictures (sprites and wall patches), flats and the wall
// textures composed of patches.
//
// Every routine reads the lumps when it draws and checks every count and
// offset against the lump, so a damaged lump draws a failure cross and never
// reads or writes outside its buffers. Drawing goes on Screen() in viewport
// coordinates and keeps the pointer protocol (ui/input.h).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/canvas.h"
#include "wad/wadfile.h"

// dx of DrawPicture that means 0 and also writes the size text.
constexpr int kPictureSizeText = 0x7FFF;

// What the drawing routines return.
constexpr int kDrawn = 1;
constexpr int kNotDrawn = 0;     // missing lump, unknown name, or a key was waiting
constexpr int kDrawFailed = -1;  // damaged: the failure cross shows it

// One texture of a TEXTURE1 or TEXTURE2 lump.
struct TextureEntry {
    char name[8] = {};
    int32_t position = 0;   // offset of the texture's record inside its lump
    int16_t width = 0, height = 0, patchCount = 0;
};

// The texture records of one lump, read on first use and kept while the
// master directory still names the same lump.
struct TextureDirectory {
    bool loaded = false;
    bool present = false;          // the lump exists
    WadDirEntry lump;              // where the data was read from
    std::vector<uint8_t> data;
    std::vector<TextureEntry> entries;
};

struct PictureState {
    // Magnification of the browsers and of texture drawing: >= 1 magnifies,
    // 0 halves, -1 thirds, ...
    int16_t PictureMag = 1;
    // The last picture looked up: its name and master directory index.
    char lastName[8] = {};
    int32_t lastIndex = -1;
    TextureDirectory textures[2];   // TEXTURE1, TEXTURE2
    TextureDirectory patchNames;    // PNAMES (entries unused)
    // Free memory in bytes (tests replace it).
    int64_t (*freeMemory)() = nullptr;
};

extern PictureState pictures;

// Forgets the texture directories and the last picture looked up.
void FreeTextureDirectories();

// Draws the picture lump name. Without target: into a new image put on the
// screen at (x1, y1), of the picture's own size times mag when x2 is -1, else
// of (x2 - x1 + 1) x (y2 - y1 + 1); with centred, (x1, y1) is the image's
// centre (the corner not left of or above 0). With target: into that image.
// (dx, dy) is the picture's place in the image, in picture pixels;
// dx = kPictureSizeText means 0 and writes the size text under the box. mag
// >= 1 magnifies, mag < 1 shrinks by 2 - mag. background is the logical
// colour of the transparent pixels of a new image. Returns at once with
// kNotDrawn when a key is waiting. A picture over 320 x 200 or beyond free
// memory gives kDrawFailed: without a target the red cross with " not image "
// or "no memory" shows it; with a target the caller marks the failure.
int DrawPicture(int x1, int y1, int x2, int y2, Image* target, const char* name, int dx, int dy,
                int mag, int background, int centred);

// Draws the flat name (64 x 64 pixels) magnified by mag at (x1, y1). A
// missing flat gives a grey cross inside the box (x1, y1)-(x2, y2), a lump
// shorter than a flat a red one.
int DrawFlat(int x1, int y1, int x2, int y2, const char* name, int mag);

// What FindTexture tells about a texture.
struct TextureInfo {
    int16_t width = 0, height = 0, patchCount = 0;
    int16_t lump = 0;         // 0 TEXTURE1, 1 TEXTURE2
    int32_t position = 0;     // the record's offset inside that lump
};

// Looks the name up (8 characters, ignoring case) in TEXTURE1, then in
// TEXTURE2: 1 when found (info, if given, filled in), else 0. A name that
// begins with "-" is never found. A missing TEXTURE1 is fatal.
int FindTexture(const char* name, TextureInfo* info);

// Composes texture name with PictureMag and draws it in the box, clipped to
// the texture's size; the rest of the box is dark grey. label null: the size
// and patch texts under the box; a label not beginning with "+": the label in
// yellow above the box. A patch that cannot be drawn marks the texture with
// the red cross. kNotDrawn when a key is waiting or the name is unknown.
int DrawTexture(int x1, int y1, int x2, int y2, const char* name, const char* label);

// The small texture picture of the info panels: a raised box of size + 4
// pixels and the texture at the "Botm Texture Magnify" setting, or only the
// label when name is null or begins with "-".
void DrawTextureSwatch(int x, int y, int size, const char* name, const char* label);
