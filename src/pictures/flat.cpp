// Flats: 64 rows of 64 palette indices. The game reads the first 4096 bytes
// of the lump, so longer lumps are drawn from those; shorter ones are damaged.
#include "pictures/picture.h"
#include "pictures/picture_parts.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "wad/master.h"

namespace {
constexpr int kFlatSide = 64;
constexpr int kFlatBytes = kFlatSide * kFlatSide;
}  // namespace

int DrawFlat(int x1, int y1, int x2, int y2, const char* name, int mag) {
    PointerGuard guard;
    const WadDirEntry* entry = name ? FindEntry(0, name, 0) : nullptr;
    if (!entry) {
        DrawCross(x1 + 2, y1 + 2, x2 - 2, y2 - 2, 8);
        return kNotDrawn;
    }
    if (entry->size < kFlatBytes) {
        DrawCross(x1 + 2, y1 + 2, x2 - 2, y2 - 2, 4);
        return kDrawFailed;
    }
    std::vector<uint8_t> flat = ReadLumpPart(*entry, 0, kFlatBytes);
    mag = LimitMag(mag);
    int side = ScaledSize(kFlatSide, mag);
    Image image = FilledImage(side, side, 0);
    for (int y = 0; y < kFlatSide; ++y)
        for (int x = 0; x < kFlatSide; ++x)
            PutScaled(image, x, y, mag, flat[y * kFlatSide + x]);
    Screen().putimage(x1, y1, image, kCopyPut);
    return kDrawn;
}
