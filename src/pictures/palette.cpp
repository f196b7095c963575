// The game palette: one of the PLAYPAL palettes, reduced to the 6-bit colour
// registers, with gamma added as a brightness in steps of 1/64.
#include "pictures/palette.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/video.h"
#include "wad/master.h"

namespace {

constexpr int kPaletteBytes = 768;
constexpr int kLastPalette = 13;

// The bytes of palette number, or of the last whole palette a short PLAYPAL
// holds; bytes a damaged lump lacks stay 0.
std::vector<uint8_t> ReadPalette(int number) {
    WadDirEntry* entry = FindEntry(0, "PLAYPAL", EntryNeed::Required);
    std::vector<uint8_t> data = ReadEntryData(*entry);
    int whole = static_cast<int>(data.size() / kPaletteBytes);
    size_t start = static_cast<size_t>(std::max(0, std::min(number, whole - 1))) * kPaletteBytes;
    std::vector<uint8_t> rgb(kPaletteBytes, 0);
    for (size_t i = 0; i < rgb.size() && start + i < data.size(); ++i)
        rgb[i] = data[start + i];
    return rgb;
}

}  // namespace

void LoadPalette(int paletteNumber, int gamma) {
    if (paletteNumber < 0 || paletteNumber > kLastPalette)
        return;
    std::vector<uint8_t> rgb = ReadPalette(paletteNumber);
    for (int colour = 0; colour < 256; ++colour) {
        uint8_t* c = &rgb[3 * colour];
        for (int k = 0; k < 3; ++k)
            c[k] /= 4;
        int add = c[0] == 0 && c[1] == 0 && c[2] == 0 ? 0 : gamma;   // black stays black
        for (int k = 0; k < 3; ++k)
            c[k] = static_cast<uint8_t>(std::clamp(c[k] + add, 0, 63));
    }
    VideoSetPalette(rgb.data());
}

