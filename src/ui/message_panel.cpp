// The panel in which PrintAt shows its text while the graphics screen is up:
// a raised box in the menu colour, centred on the screen. It stays until the
// screen under it is redrawn.
#include <cstring>

#include "platform/video.h"
#include "shell/config.h"
#include "ui/graphics.h"
#include "ui/input.h"

void ShowGraphicsMessage(const char* text) {
    PointerGuard guard;
    int width = (static_cast<int>(std::strlen(text)) + 5) * graphics.CharW;
    int x = (graphics.MaxX - width) / 2;
    int y = (graphics.MaxY - 3 * graphics.CharH) / 2;
    RaisedBox(x, y, x + width, y + 3 * graphics.CharH, config.colors[kColorMenu]);
    SetColor(0);
    Screen().outtextxy(x + 2 * graphics.CharW + 4, y + graphics.CharH + 1, text);
}
