#include "ui/palette_screen.h"

#include <cstdint>

#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_panel.h"
#include "ui/saved_area.h"

namespace {

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
