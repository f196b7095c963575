// The graphics layer: switching between the text console and the 256-colour
// graphics screen, the screen and font metrics every drawing routine uses,
// logical colours, and the toolkit's drawing primitives.
//
// Coordinates are pixels relative to the current viewport; colours are
// logical colours 0..24 unless a routine says otherwise. Routines that draw
// keep the pointer protocol (ui/input.h) unless stated. They draw on Screen().
#pragma once

#include <cstdint>

#include "platform/video.h"

constexpr int kColorCount = 25;     // logical colours 0..24
constexpr int kMenuBarHeight = 17;  // rows above the viewport while the menu bar is shown
constexpr int kStatusHeight = 13;   // rows below it

struct RulerState {
    bool on = false;             // the editor's ruler switch
    bool drawn = false;
    int lastX = 0, lastY = 0;    // where it was drawn last
};

struct GraphicsState {
    // 0: text console; +m: graphics mode m with the 16-colour palette; -m:
    // graphics mode m with the game palette.
    int graphicsMode = 0;
    int screenMaxX = 639, screenMaxY = 479;
    int maxX = 639, maxY = 479;
    int centerX = 319, centerY = 239;
    int charH = 8, charW = 8;
    int lineH = 10;
    int charW2 = 10;
    int bandH = 12, bandW = 12;
    bool menuBarShown = false;
    int textX = 0, textY = 0;     // TextAt: last x, next line's y
    int labelX = 0, labelY = 0;   // LabelBox: last x, next box's y
    RulerState ruler;
    // Set by the editor: the map scale (pixels per map unit) that sizes the
    // ruler's squares, and whether the map shows Things mode with thing
    // pictures (ClearMapArea then uses "BackGroundThings").
    float mapScale = 1.0f;
    bool thingsPictureMode = false;
};

extern GraphicsState graphics;

// Logical colour names, as the palette colour dialog shows them.
extern const char* const kColorNames[kColorCount];
// Video modes 1..4 have fixed sizes; mode 5 makes the canvas the window's
// own size, up to 3840 x 2160, following resizes.
constexpr int kVideoModeCount = 5;
constexpr int kWindowSizeMode = 5;
// Resolution texts of the video modes ("640x480" ... "window size").
const char* VideoModeText(int mode);
// Screen size of a video mode (other values are limited to 1..5); kWindowSized
// for the window-size mode.
void VideoModeSize(int mode, int& width, int& height);

// The colours the graphics screen starts with.
enum class GraphicsPalette {
    Basic,   // the 16 colours of the library; logical colours above 15 draw as 15
    Game,    // the game's palette, logical colours through the colour map
};

// Where the drawing area lies.
enum class MenuBarMode {
    Hidden,   // the whole screen
    Shown,    // between the menu bar band and the status band
};

// Starts graphics mode in the configured video mode with the palette given.
// A failure ends the program through FatalError.
void InitGraphics(GraphicsPalette palette);
// In the window-size mode, after the window was resized: the screen takes
// the window's new size (a cleared canvas, the metrics, the viewport, the
// mouse limits). True when it did: the caller draws everything again.
// Leaves the pointer hidden.
bool FollowWindowSize();
// Back to the text console (safe to call in text mode).
void CloseGraphics();
void ComputeMetrics();
// Sets the viewport for the mode; leaves the pointer hidden.
void SetMenuBarMode(MenuBarMode mode);
// Clears the whole screen; the pointer counts as not drawn. No pointer handling.
void ClearScreen();
// Fills the map area with the background colour; leaves the pointer hidden.
void ClearMapArea();
// The palette index of logical colour c.
int MapColor(int c);
// Drawing colour of logical colour c. No pointer handling.
void SetColor(int c);
void FillBox(int x1, int y1, int x2, int y2, int c);
void RaisedBox(int x1, int y1, int x2, int y2, int fill);
// fill < 0: no fill.
void SunkenBox(int x1, int y1, int x2, int y2, int fill);
enum class ButtonLook { Raised, Pressed };
// A focused button has the dotted frame and the active colour.
enum class ButtonFocus { None, Focused };

// A push button. text null: nothing; text "\1" or "\2": an up or down arrow.
// hotIndex: letter to underline, < 0 none.
void DrawButton(ButtonLook look, const char* text, int hotIndex, ButtonFocus focus, int x1, int y1,
                int x2, int y2);
// Percent limited to 0..100. No pointer handling.
void ProgressBar(int x1, int y1, int x2, int y2, int percent);
// White box with a dark frame and black text; x or y < 0 continues below the
// previous box.
void LabelBox(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Text in the current colour; x < 0: the previous x, y < 0: the next line. No
// pointer handling.
void TextAt(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
enum class RulerAction {
    Show,     // at the pointer, unless it is shown already
    Remove,   // from where it was shown
};
// The XOR ruler cross-hair at the pointer (input.pointerX, pointerY, screen
// pixels), when the ruler is switched on.
void DrawRuler(RulerAction action);

// What a routine that remembers what it drew draws again.
enum class Refresh {
    IfChanged,   // only what changed since it was drawn
    All,
};

// The graphics message sink: shows a text that PrintAt gives in graphics mode.
void ShowGraphicsMessage(const char* text);
