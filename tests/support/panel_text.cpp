#include "support/panel_text.h"

#include "base/config.h"
#include "platform/video.h"
#include "ui/graphics.h"

namespace testkit {

bool ShowsText(int x, int y, const std::string& text, int colour) {
    int x2 = x + graphics.charW * static_cast<int>(text.size()) - 1, y2 = y + graphics.charH - 1;
    Image before, after;
    Screen().getimage(x, y, x2, y2, before);
    FillBox(x, y, x2, y2, config.colors[kColorMenu]);
    SetColor(colour);
    Screen().outtextxy(x, y, text.c_str());
    Screen().getimage(x, y, x2, y2, after);
    Screen().putimage(x, y, before, kCopyPut);
    return before.pixels == after.pixels;
}

bool PanelLine(const PanelRect& panel, int i, const std::string& text, int colour, int column) {
    return ShowsText(panel.x1 + 4 + column * graphics.charW, panel.y1 + 4 + i * graphics.lineH,
                     text, colour);
}

}  // namespace testkit
