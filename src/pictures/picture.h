// The game's pictures read from the lumps of the master directory and drawn
// into images: column-coded pictures (sprites and wall patches), flats and
// the wall textures composed of patches. Putting them on the screen, with
// their frames, texts and failure marks, is left to the user interface.
//
// Every routine reads the lumps when it draws and checks every count and
// offset against the lump, so a damaged lump is reported and never makes a
// routine read or write outside its buffers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/canvas.h"
#include "wad/wadfile.h"

// The largest picture that is drawn; larger ones count as damaged.
constexpr int kMaxPictureWidth = 320;
constexpr int kMaxPictureHeight = 200;

// What the drawing routines return.
constexpr int kDrawn = 1;
constexpr int kNotDrawn = 0;     // missing lump, unknown name, or a key was waiting
constexpr int kDrawFailed = -1;  // damaged

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

// A picture drawn once and kept for drawing it again (see KeptPicture).
struct KeptPictureImage {
    bool whole = false;   // drawable and drawn without damage; else no image
    Image image;
};

struct PictureState {
    // Magnification of the browsers and of texture drawing: >= 1 magnifies,
    // 0 halves, -1 thirds, ...
    int16_t pictureMag = 1;
    // Master directory index of the last picture looked up.
    int32_t lastIndex = -1;
    TextureDirectory textures[2];   // TEXTURE1, TEXTURE2
    TextureDirectory patchNames;    // PNAMES (entries unused)
    // Free memory in bytes (tests replace it).
    int64_t (*freeMemory)() = nullptr;
    // Pictures drawn before, by lump name, magnification and background,
    // each with the directory entry it was read from.
    struct Kept {
        WadDirEntry entry;
        std::shared_ptr<const KeptPictureImage> picture;
    };
    std::unordered_map<std::string, Kept> kept;
};

extern PictureState pictures;

// Forgets the texture directories, the last picture looked up and the kept
// pictures.
void FreeTextureDirectories();

// Magnification: mag >= 1 draws each pixel as a mag x mag block; mag < 1
// draws only every (2 - mag)-th column and row. ScaledSize is the side a
// side of size pixels takes.
int ScaledSize(int size, int mag);
// mag limited to a range that keeps every size far from overflowing and
// still covers any screen.
int LimitMag(int mag);
// An image of one palette index, never larger than the screen (what lies
// beyond could not be seen).
Image FilledImage(int width, int height, uint8_t colour);

// Why a picture cannot be drawn.
enum class PictureFault { None, NotImage, NoMemory };

// A picture lump read into memory.
struct Picture {
    int width = 0, height = 0;   // from its header (0 when the lump has none)
    PictureFault fault = PictureFault::None;
    std::vector<uint8_t> bytes;  // the whole lump, when it can be drawn
    bool drawable() const { return fault == PictureFault::None; }
};

// Looks the picture lump name up, remembering the last one found so that
// drawing the same picture again skips the search, and reads it: false when
// there is no such lump. A picture over 320 x 200, without its column table,
// or too large for free memory is read with its fault set.
bool ReadPicture(const char* name, Picture& picture);

// Draws the columns of the picture into the image, its corner at (dx, dy) in
// picture pixels, magnified by mag; transparent pixels keep what the image
// holds, pixels outside it are clipped. False when the picture cannot be
// drawn or turns out damaged (a column outside the lump or cut short); what
// could be drawn is.
bool DrawPictureColumns(const Picture& picture, Image& image, int dx, int dy, int mag);

// The lump that shows sprite frame name: the name itself when the master
// directory has it, else a rotation lump of the same frame ("TROOA2" found as
// "TROOA2A8", "TROOA8" as "TROOA2A8"), else any rotation of that frame
// ("TROOA0" as "TROOA1"). The
// lump's name goes into lump; false (lump empty) when there is none.
bool FindSpriteLump(const char* name, char (&lump)[9]);

// The picture lump name as DrawPictureColumns draws it into an image of its
// own size times mag filled with the palette index background: nullptr when
// there is no such lump. Drawn at its first use and kept while the master
// directory still finds the same lump under the name (the kept pictures go
// with the texture directories, and when there are too many), so drawing
// many Things of one type reads and decodes their picture once.
std::shared_ptr<const KeptPictureImage> KeptPicture(const char* name, int mag, uint8_t background);

// Reads and draws the picture lump name into the image as DrawPictureColumns
// does: kNotDrawn for a missing lump, kDrawFailed for a damaged one.
int DrawPictureInto(Image& image, const char* name, int dx, int dy, int mag);

// The flat name (64 x 64 pixels) as an image magnified by mag: kDrawn,
// kNotDrawn when there is no such lump, kDrawFailed when it is shorter than
// a flat. Longer lumps give their first 4096 bytes, as the game reads them.
int DecodeFlat(const char* name, int mag, Image& image);

// What FindTexture tells about a texture.
struct TextureInfo {
    int16_t width = 0, height = 0, patchCount = 0;
    int lump = 0;             // 0 TEXTURE1, 1 TEXTURE2
    int32_t position = 0;     // the record's offset inside that lump
};

// Looks the name up (8 characters, ignoring case) in TEXTURE1, then in
// TEXTURE2: 1 when found (info, if given, filled in), else 0. A name that
// begins with "-" is never found. A missing TEXTURE1 is fatal.
int FindTexture(const char* name, TextureInfo* info);

// Asked between the steps of a long drawing: true stops it.
using StopCheck = std::function<bool()>;

// Draws the patches of a texture FindTexture found into the image, in
// order, with magnification mag; later patches cover earlier ones except
// where they are transparent. False when a patch cannot be drawn (damaged,
// missing, or not in PNAMES) or the record is. Asks stop before each patch
// and ends when it says so; a patch left out that way is no damage.
bool ComposeTexture(const TextureInfo& info, int mag, Image& image, const StopCheck& stop);
