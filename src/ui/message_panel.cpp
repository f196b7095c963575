// The panels that tell the user something without waiting: the message
// panel, the flash message (also the graphics sink of PrintAt) and the title
// in the menu bar band.
#include "ui/message_panel.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/video.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/format.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"

NoticeState notice;

namespace {

constexpr int kPanelText = 160;

struct Panel {
    int x, y, x2, y2;
};

// The panel of a text of len characters at (x, y), negative coordinates centred.
Panel PlacePanel(int x, int y, int len, int height) {
    int width = (len + 5) * graphics.charW;
    if (x < 0)
        x = (graphics.maxX - width) / 2;
    if (y < 0)
        y = (graphics.maxY - 3 * graphics.charH) / 2;
    return {x, y, x + width, y + height};
}

void DrawPanelText(int x, int y, const char* text) {
    SetColor(0);
    Screen().outtextxy(x, y, text);
}

std::string PanelText(const char* format, va_list args) {
    return FormatV(format, args).substr(0, kPanelText);
}

// In text mode a panel is a line of the console.
bool ShownOnConsole(const std::string& text) {
    if (graphics.graphicsMode != 0)
        return false;
    PrintAt(1, 24, ClearLine::Yes, "%s", text.c_str());
    return true;
}

// The flash message's panel and text, without saving what it covers.
void DrawFlashPanel(int x, int y, const std::string& text) {
    PointerGuard guard;
    Panel p = PlacePanel(x, y, static_cast<int>(text.size()), 3 * graphics.charH);
    RaisedBox(p.x, p.y, p.x2, p.y2, config.colors[kColorMenu]);
    DrawPanelText(p.x + 2 * graphics.charW + 4, p.y + graphics.charH + 1, text.c_str());
}

}  // namespace

void MessagePanel(int x, int y, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = PanelText(format, args);
    va_end(args);
    if (ShownOnConsole(text))
        return;
    PointerGuard guard;
    Panel p = PlacePanel(x, y, static_cast<int>(text.size()), 2 * graphics.charH);
    RaisedBox(p.x, p.y, p.x2, p.y2, 7);
    DrawPanelText(p.x + 2 * graphics.charW + 4, p.y + graphics.charH / 2, text.c_str());
}

void FlashMessage(int x, int y, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = PanelText(format, args);
    va_end(args);
    if (ShownOnConsole(text))
        return;
    PointerGuard guard;
    Panel p = PlacePanel(x, y, static_cast<int>(text.size()), 3 * graphics.charH);
    SavedArea area;
    SaveArea(p.x, p.y, p.x2, p.y2, area, WindowSave::UnlessNested);
    DrawFlashPanel(x, y, text);
    RestoreArea(area);
}

void TitleBar(const char* text) {
    PointerGuard guard;
    SetMenuBarMode(MenuBarMode::Hidden);
    RaisedBox(0, 0, graphics.maxX, 2 * graphics.charH, config.colors[kColorMenu]);
    LabelBox(graphics.charW, 4, "%s", text ? text : "");
    SetMenuBarMode(MenuBarMode::Shown);
}

void ShowGraphicsMessage(const char* text) { FlashMessage(kCentred, kCentred, "%s", text); }

void PostNotice(const std::string& text, int ms) {
    notice.pending = text.substr(0, kPanelText);
    notice.durationMs = ms;
}

void DrawNotice() {
    if (notice.pending.empty() || ShownOnConsole(notice.pending))
        return;
    DrawFlashPanel(kCentred, kCentred, notice.pending);
    notice.pending.clear();
    notice.shown = true;
    notice.shownAt = PlatformMilliseconds();
}

bool NoticeTimeUp() {
    return notice.shown && PlatformMilliseconds() - notice.shownAt >= notice.durationMs;
}

void ForgetNotice() { notice = NoticeState{}; }
