// Stands in for the game palette until the palette is read from PLAYPAL: a
// grey ramp with the brightness added.
#include "pictures/palette.h"

#include <algorithm>
#include <cstdint>

#include "platform/video.h"

void LoadPalette(int paletteNumber, int gamma) {
    if (paletteNumber < 0 || paletteNumber > 13)
        return;
    uint8_t rgb[768];
    for (int i = 0; i < 256; ++i) {
        int level = i / 4;
        int value = level == 0 ? 0 : std::min(63, level + gamma);
        rgb[3 * i] = rgb[3 * i + 1] = rgb[3 * i + 2] = static_cast<uint8_t>(value);
    }
    VideoSetPalette(rgb);
}
