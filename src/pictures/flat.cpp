// Flats: 64 rows of 64 palette indices. The game reads the first 4096 bytes
// of the lump, so longer lumps are drawn from those; shorter ones are damaged.
#include "pictures/picture.h"
#include "pictures/picture_parts.h"
#include "wad/master.h"

namespace {
constexpr int kFlatSide = 64;
constexpr int kFlatBytes = kFlatSide * kFlatSide;
}  // namespace

int DecodeFlat(const char* name, int mag, Image& image) {
    const WadDirEntry* entry = name ? FindEntry(0, name, EntryNeed::Optional) : nullptr;
    if (!entry)
        return kNotDrawn;
    if (entry->size < kFlatBytes)
        return kDrawFailed;
    std::vector<uint8_t> flat = ReadLumpPart(*entry, 0, kFlatBytes);
    mag = LimitMag(mag);
    int side = ScaledSize(kFlatSide, mag);
    image = FilledImage(side, side, 0);
    for (int y = 0; y < kFlatSide; ++y)
        for (int x = 0; x < kFlatSide; ++x)
            PutScaled(image, x, y, mag, flat[y * kFlatSide + x]);
    return kDrawn;
}
