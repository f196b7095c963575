// The game palette: one of the PLAYPAL palettes, reduced to the 6-bit colour
// registers, with gamma added as a brightness in steps of 1/64; and the
// screen that shows it.
#include "pictures/palette.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/video.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_panel.h"
#include "ui/saved_area.h"
#include "wad/master.h"

namespace {

constexpr int kPaletteBytes = 768;
constexpr int kLastPalette = 13;

// The bytes of palette number, or of the last whole palette a short PLAYPAL
// holds; bytes a damaged lump lacks stay 0.
std::vector<uint8_t> ReadPalette(int number) {
    WadDirEntry* entry = FindEntry(0, "PLAYPAL", 1);
    std::vector<uint8_t> data = ReadEntryData(*entry);
    int whole = static_cast<int>(data.size() / kPaletteBytes);
    size_t start = static_cast<size_t>(std::max(0, std::min(number, whole - 1))) * kPaletteBytes;
    std::vector<uint8_t> rgb(kPaletteBytes, 0);
    for (size_t i = 0; i < rgb.size() && start + i < data.size(); ++i)
        rgb[i] = data[start + i];
    return rgb;
}

// Palette entry index as a swatch w x h at (x, y) with its number under it.
void DrawSwatch(int index, int x, int y, int w, int h) {
    Canvas& screen = Screen();
    screen.setfillstyle(kSolidFill, index);
    screen.bar(x, y, x + w - 1, y + h - 1);
    FillBox(x, y + h, x + 8 * graphics.CharW - 1, y + h + graphics.CharH - 1, 0);
    SetColor(7);
    TextAt(x, y + h, "%hd", static_cast<short>(index));
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

void ShowPalette() {
    bool pointerHidden = input.PointerHidden;
    SetMenuBarMode(0);
    SavedArea saved;
    SaveArea(0, 0, graphics.MaxX, graphics.MaxY, saved, 1);
    TitleBar("Current Palette");
    ClearMapArea();
    int w = (graphics.MaxX - 48) / 16, h = (graphics.MaxY - 161) / 16;
    int x0 = (graphics.MaxX - (16 * w + 32)) / 2;
    int y0 = (graphics.MaxY - 17 - (16 * h + 128)) / 2;
    for (int row = 0; row < 16; ++row)
        for (int column = 0; column < 16; ++column)
            DrawSwatch(16 * row + column, x0 + column * (w + 2), y0 + row * (h + 8), w, h);
    ShowPointer();
    int16_t buttons = 0;
    GetInput(&buttons, 1);
    HidePointer();
    RestoreArea(saved);
    SetMenuBarMode(1);
    if (!pointerHidden)
        ShowPointer();
}
