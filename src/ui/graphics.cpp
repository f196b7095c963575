#include "ui/graphics.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "pictures/palette.h"
#include "platform/video.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/format.h"
#include "base/flavour.h"
#include "ui/input.h"

GraphicsState graphics;

const char* const kColorNames[kColorCount] = {
    "BLACK",      "BLUE",         "GREEN",      "CYAN",      "RED",
    "MAGENTA",    "BROWN",        "LIGHTGRAY",  "DARKGRAY",  "LIGHTBLUE",
    "LIGHTGREEN", "LIGHTCYAN",    "LIGHTRED",   "LIGHTMAGENTA", "YELLOW",
    "WHITE",      "GRAY",         "DARKERGRAY", "DARKRED",   "DARKGREEN",
    "DARKBLUE",   "DARKMAGENTA",  "ORANGE",     "LIGHTBROWN", "ANYCOLOR",
};

namespace {

struct VideoModeInfo {
    const char* text;
    int width, height;
};

const VideoModeInfo kVideoModes[kVideoModeCount] = {
    {"640x480", 640, 480},     {"800x600", 800, 600}, {"1024x768", 1024, 768},
    {"1280x1024", 1280, 1024}, {"window size", kWindowSized, kWindowSized},
};

// Arrow glyphs of the buttons whose text is character 1 (up) or 2 (down).
constexpr int kArrowW = 7;
constexpr int kArrowH = 5;
const char* const kUpArrow[kArrowH] = {"...X...", "..XXX..", ".XXXXX.", "..XXX..", "..XXX.."};
const char* const kDownArrow[kArrowH] = {"..XXX..", "..XXX..", ".XXXXX.", "..XXX..", "...X..."};

// Text of TextAt and LabelBox: callers keep it shorter than this.
constexpr int kTextBuffer = 120;

int VideoModeIndex(int mode) { return std::clamp(mode, 1, kVideoModeCount) - 1; }

void SolidThin() { Screen().setlinestyle(kSolidLine, 0, kNormWidth); }

// The line style of the "Thick Lines" setting.
void SolidThick() {
    Screen().setlinestyle(kSolidLine, 0, config.lineThickness == 3 ? kThickWidth : kNormWidth);
}

void Line(int c, int x1, int y1, int x2, int y2) {
    SetColor(c);
    Screen().line(x1, y1, x2, y2);
}

// A solid bar without pointer handling.
void Bar(int x1, int y1, int x2, int y2, int c) {
    Screen().setfillstyle(kSolidFill, MapColor(c));
    Screen().bar(x1, y1, x2, y2);
}

void PutArrow(char which, int x, int y) {
    const char* const* rows = which == 1 ? kUpArrow : kDownArrow;
    Image glyph;
    glyph.width = kArrowW;
    glyph.height = kArrowH;
    uint8_t set = static_cast<uint8_t>(MapColor(0));
    uint8_t clear = static_cast<uint8_t>(MapColor(config.colorButton));
    for (int row = 0; row < kArrowH; ++row)
        for (int col = 0; col < kArrowW; ++col)
            glyph.pixels.push_back(rows[row][col] == 'X' ? set : clear);
    Screen().putimage(x, y, glyph, kCopyPut);
}

// The focus mark left and above a button: erased, or drawn when it is focused.
void FocusMark(int c, int x1, int y1, int x2, int y2) {
    Line(c, x1 - 1, y1 - 1, x2, y1 - 1);
    Line(c, x1 - 1, y1 - 1, x1 - 1, y2);
}

std::string FormatText(const char* format, va_list args) {
    return FormatV(format, args).substr(0, kTextBuffer);
}

// Ends the program after the screen did not start. Only a failure of the
// library itself can be the resolution's fault; a missing display or a bad
// input script is reported as it is, and the configured mode stays.
[[noreturn]] void GraphicsStartFailed(int mode, const VideoStartError& error) {
    if (error.failure == VideoFailure::InputScript)
        throw ProgramExit(kExitScriptError, error.message);
    if (error.failure == VideoFailure::NoDisplay)
        FatalError("%s", error.message.c_str());
    PrintAt(1, 24, ClearLine::Yes, "Graphics error: %s press a key", error.message.c_str());
    WaitConsoleKey();
    if (mode == 1)
        FatalError("Graphics error at 640x480 resolution, not VESA compatible?");
    config.videoMode = 1;
    SaveConfig();
    FatalError("The requested resolution was not support, reset to 640x480 resolution!");
}

}  // namespace

const char* VideoModeText(int mode) { return kVideoModes[VideoModeIndex(mode)].text; }

void VideoModeSize(int mode, int& width, int& height) {
    width = kVideoModes[VideoModeIndex(mode)].width;
    height = kVideoModes[VideoModeIndex(mode)].height;
}

void InitGraphics(GraphicsPalette palette) {
    RegisterEarlyEndCleanup(CleanupStage::BeforeMessage, CloseGraphics);
    config.videoMode = static_cast<int16_t>(std::clamp<int>(config.videoMode, 1, kVideoModeCount));
    int mode = config.videoMode;
    PrintAt(1, 25, ClearLine::Yes, "Graphics VESA256, %s", VideoModeText(mode));
    int width, height;
    VideoModeSize(mode, width, height);
    VideoStartError error;
    if (!VideoStart(width, height, Names().product, error))
        GraphicsStartFailed(mode, error);
    input.drawnX = -1;   // a fresh screen has no pointer on it
    graphics.graphicsMode = mode;
    SetGraphicsMessageSink(ShowGraphicsMessage);
    if (palette == GraphicsPalette::Game) {
        LoadPalette(config.paletteNumber, config.gamma);
        graphics.graphicsMode = -mode;
    }
    Canvas& screen = Screen();
    SolidThick();
    screen.setbkcolor(MapColor(0));
    graphics.ruler.drawn = false;
    graphics.screenMaxX = screen.getmaxx();
    graphics.screenMaxY = screen.getmaxy();
    SetMenuBarMode(MenuBarMode::Shown);
    InitMouse();
    SetMouseLimits();
    SetMousePos(graphics.maxX / 2, graphics.maxY / 2);
}

bool FollowWindowSize() {
    int width = 0, height = 0;
    if (graphics.graphicsMode == 0 || !VideoWindowResized(width, height))
        return false;
    HidePointer();
    VideoResizeCanvas(width, height);
    input.drawnX = -1;   // the pointer went with the old canvas
    graphics.screenMaxX = Screen().getmaxx();
    graphics.screenMaxY = Screen().getmaxy();
    graphics.ruler.drawn = false;
    SetMenuBarMode(graphics.menuBarShown ? MenuBarMode::Shown : MenuBarMode::Hidden);
    SetMouseLimits();
    return true;
}

void CloseGraphics() {
    RestoreMouseSpeed();
    ResetMouse();
    if (graphics.graphicsMode == 0)
        return;
    VideoStop();
    graphics.graphicsMode = 0;
    SetGraphicsMessageSink(nullptr);
}

void ComputeMetrics() {
    const Canvas& screen = Screen();
    graphics.maxX = screen.getmaxx();
    graphics.maxY = screen.getmaxy();
    graphics.charH = screen.textheight("H");
    graphics.charW = screen.textwidth("W");
    graphics.lineH = graphics.charH + 2;
    graphics.charW2 = graphics.charW + 2;
    graphics.bandH = graphics.charH + graphics.charH / 2;
    graphics.bandW = graphics.charW + graphics.charW / 2;
    if (graphics.menuBarShown)   // the viewport between the menu bar and the status line
        graphics.maxY = graphics.screenMaxY - kMenuBarHeight - kStatusHeight;
    graphics.centerX = graphics.maxX / 2;
    graphics.centerY = graphics.maxY / 2;
}

void SetMenuBarMode(MenuBarMode mode) {
    HidePointer();
    ComputeMetrics();
    bool shown = mode == MenuBarMode::Shown;
    if (shown)
        Screen().setviewport(0, kMenuBarHeight, graphics.screenMaxX,
                             graphics.screenMaxY - kStatusHeight, true);
    else
        Screen().setviewport(0, 0, graphics.screenMaxX, graphics.screenMaxY, true);
    graphics.menuBarShown = shown;
    ComputeMetrics();
}

void ClearScreen() {
    Screen().cleardevice();
    input.drawnX = -1;
}

void ClearMapArea() {
    HidePointer();
    int c = config.colors[graphics.thingsPictureMode ? kColorBackGroundThings : kColorBackGround];
    Bar(0, 0, graphics.maxX, graphics.maxY, c);
    input.drawnX = -1;
}

int MapColor(int c) {
    c = std::clamp(c, 0, kColorCount - 1);
    if (graphics.graphicsMode < 0)
        return std::clamp<int>(config.colorMap[c], 0, 255);
    return std::min(c, 15);
}

void SetColor(int c) { Screen().setcolor(MapColor(c)); }

void FillBox(int x1, int y1, int x2, int y2, int c) {
    PointerGuard guard;
    Bar(x1, y1, x2, y2, c);
}

void RaisedBox(int x1, int y1, int x2, int y2, int fill) {
    PointerGuard guard;
    SolidThin();
    Bar(x1 + 1, y1 + 1, x2 - 1, y2 - 1, fill);
    Line(15, x1, y1, x2, y1);
    Line(15, x1, y1, x1, y2);
    int dark = fill == 8 ? 17 : 8;
    Line(dark, x1, y2, x2, y2);
    Line(dark, x2, y1, x2, y2);
    SolidThick();
    SetColor(0);
}

void SunkenBox(int x1, int y1, int x2, int y2, int fill) {
    PointerGuard guard;
    SolidThin();
    if (fill >= 0)
        Bar(x1 + 1, y1 + 1, x2 - 1, y2 - 1, fill);
    Line(15, x1, y2, x2, y2);
    Line(15, x2, y1, x2, y2);
    int dark = fill == 7 ? 8 : 17;
    Line(dark, x1, y1, x2, y1);
    Line(dark, x1, y1, x1, y2);
    Line(7, x1 + 1, y2 - 1, x2 - 1, y2 - 1);
    Line(7, x2 - 1, y1 + 1, x2 - 1, y2 - 1);
    SolidThick();
    SetColor(0);
}

void DrawButton(ButtonLook look, const char* text, int hotIndex, ButtonFocus focus, int x1, int y1,
                int x2, int y2) {
    if (!text)
        return;
    PointerGuard guard;
    Canvas& screen = Screen();
    bool focused = focus == ButtonFocus::Focused;
    SetColor(0);
    SolidThin();
    screen.rectangle(x1, y1, x2, y2);
    Line(8, x2 - 1, y1 + 1, x2 - 1, y2 - 1);
    Line(8, x1 + 1, y2 - 1, x2 - 1, y2 - 1);
    Line(15, x1 + 1, y1 + 1, x2 - 1, y1 + 1);
    Line(15, x1 + 1, y1 + 1, x1 + 1, y2 - 1);
    int face = focused ? config.colorButtonActive : config.colorButton;
    if (look == ButtonLook::Raised) {
        Bar(x1 + 2, y1 + 2, x2 - 2, y2 - 2, face);
    } else {
        Bar(x1 + 2, y1 + 2, x2 - 1, y2 - 1, face);
        Line(8, x1 + 1, y1 + 1, x2 - 1, y1 + 1);
        Line(8, x1 + 1, y1 + 1, x1 + 1, y2 - 1);
    }
    if (!focused) {
        FocusMark(7, x1, y1, x2, y2);
    } else {
        FocusMark(17, x1, y1, x2, y2);
        screen.setlinestyle(kDottedLine, 0, kNormWidth);
        screen.rectangle(x1 + 2, y1 + 2, x2 - 2, y2 - 2);
    }
    SetColor(0);
    if (text[0] == 1 || text[0] == 2) {
        PutArrow(text[0], x1 + 2, y1 + 3);
    } else {
        int len = static_cast<int>(std::strlen(text));
        int x = x1 + ((x2 - x1) - len * graphics.charW) / 2;
        int y = y1 + ((y2 - y1) - graphics.charH) / 2;
        screen.outtextxy(x, y, text);
        if (hotIndex >= 0)
            screen.outtextxy(x + hotIndex * graphics.charW, y + 2, "_");
    }
    SolidThick();
    SetColor(0);
}

void ProgressBar(int x1, int y1, int x2, int y2, int percent) {
    percent = std::clamp(percent, 0, 100);
    int w = x2 - x1 - 2;
    int xf = x1 + w * percent / 100;
    int xt = x1 + (w + 3) / 2;
    if (percent == 0)
        SunkenBox(x1, y1, x2, y2, 15);
    // At 0 percent there is nothing to fill; a reversed bar would paint the frame.
    if (xf >= x1 + 1)
        Bar(x1 + 1, y1 + 1, xf, y2 - 1, 1);
    if (percent > 58) {
        SetColor(15);
    } else {
        SetColor(0);
        Bar(xf + 1, y1 + 1, x2, y2 - 1, 15);
    }
    TextAt(xt, y1 + 2, "%d%%", percent);
    if (percent == 100)
        Delay(500);
    SetColor(0);
}

void LabelBox(int x, int y, const char* format, ...) {
    PointerGuard guard;
    va_list args;
    va_start(args, format);
    std::string text = FormatText(format, args);
    va_end(args);
    if (x < 0)
        x = graphics.labelX;
    if (y < 0)
        y = graphics.labelY;
    int right = x + (static_cast<int>(text.size()) + 2) * graphics.charW;
    Bar(x, y - 2, right, y + graphics.lineH, 15);
    SolidThin();
    SetColor(8);
    Screen().rectangle(x, y - 2, right, y + graphics.lineH);
    SetColor(0);
    Screen().outtextxy(x + graphics.charW, y, text.c_str());
    graphics.labelX = x;
    graphics.labelY = y + graphics.lineH + 2;
    SolidThick();
}

void TextAt(int x, int y, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = FormatText(format, args);
    va_end(args);
    if (x < 0)
        x = graphics.textX;
    if (y < 0)
        y = graphics.textY;
    Screen().outtextxy(x, y, text.c_str());
    graphics.textX = x;
    graphics.textY = y + graphics.lineH;
}

void DrawRuler(RulerAction action) {
    RulerState& ruler = graphics.ruler;
    if (!ruler.on)
        return;
    bool show = action == RulerAction::Show;
    if (ruler.drawn == show)
        return;
    ruler.drawn = show;
    if (show) {
        // The pointer is kept in screen pixels; the ruler is drawn in the viewport.
        Viewport view = Screen().getviewport();
        ruler.lastX = input.pointerX - view.left;
        ruler.lastY = input.pointerY - view.top;
    }
    PointerGuard guard;
    Canvas& screen = Screen();
    int color = screen.getcolor();
    int px = ruler.lastX, py = ruler.lastY;
    screen.setwritemode(kXorPut);
    SetColor(config.colorRuler);
    screen.line(1, py, graphics.maxX - 1, py);
    screen.line(px, 1, px, graphics.maxY - 2);
    if (config.rulerRadius > 4) {
        int r = static_cast<int>(config.rulerRadius * graphics.mapScale);
        for (int i = 0; i < 3; ++i, r >>= 1)
            screen.rectangle(px - r, py - r, px + r, py + r);
    }
    screen.setwritemode(kCopyPut);
    screen.setcolor(color);
}
