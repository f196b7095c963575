// The map view: the transform between map coordinates (16-bit level units, y
// growing north) and map-area pixels (y growing down), the zoom and its
// limits, the map bounds, scrolling and fitting.
//
// Screen coordinates are given as 32-bit integers: at a high zoom the far
// ends of a line lie well outside the 16-bit range, and the canvas clips them
// exactly. Map coordinates computed from pixels stay inside the 16-bit range
// (they stop at its limits instead of wrapping).
#pragma once

#include <cstdint>

// Scale limits: the zoom keys stay inside kMinZoom..kMaxZoom; fitting a huge
// map may go down to kMinFitScale.
constexpr float kMaxZoom = 16.0f;
constexpr float kMinZoom = 0.05f;
constexpr float kMinFitScale = 0.002f;
constexpr float kStartScale = 0.125f;

struct ViewState {
    int16_t origX = 0, origY = 0;       // map point shown at the view centre
    float scale = kStartScale;          // screen pixels per map unit
    int centerX = 319, centerY = 239;
    int maxX = 639, maxY = 479;         // largest column and row of the map area
    int pointerX = 0, pointerY = 0;     // pointer in map-area pixels
    int16_t mapMinX = -100, mapMaxX = 100, mapMinY = -116, mapMaxY = 116;
    int scrollStep = 10;
    bool zoomPresetHigh = false;
    bool redrawPending = false;         // the view moved: redraw the map
    bool fullRedraw = false;            // redraw everything (menu bar and panels too)
    // Edge scrolling: the clock (ms) of its last step while the pointer
    // stays at an edge, -1 while it does not; and the part of a map unit
    // that the steps so far did not move.
    int64_t edgeClock = -1;
    double edgeRest = 0;
    // Dragging the map with the middle button: the map point grabbed, which
    // stays under the pointer.
    bool panning = false;
    int16_t panX = 0, panY = 0;
};

extern ViewState view;

// Pixel column / row of a map point in the map area (exact, 32-bit). Inline:
// a redraw asks for them a few times per object.
inline int MapToScreenX(int x);
inline int MapToScreenY(int y);
// Map column / row of a map-area pixel.
int16_t ScreenToMapX(int px);
int16_t ScreenToMapY(int py);

// Sets the scale, and the copies that the ruler and the configuration keep.
void SetScale(float scale);

// Sets the view up for the editor: the map area of the graphics layer, the
// scroll speed and the scale of the configuration.
void InitView();
// Centres the view on the configuration's saved view when there is one and the
// level has Vertexes; otherwise fits the map and sets the saved view to (0, 0).
void StartView();

// In the window-size mode, after the window was resized: the screen and the
// map area take its new size, the map point at the centre staying there,
// and everything is redrawn. True when the size changed.
bool FollowScreenSize();

// Takes the pointer from screen pixels (as the mouse reports it).
void SetPointerFromScreen(int x, int y);
// The screen row of map-area row 0 while the menu bar is shown.
int MapAreaTop();

// Bounds of all Vertexes; -100..100 by -116..116 without any.
void ComputeMapBounds();
// Widens the bounds to take in a new or moved point.
void WidenMapBounds(int16_t x, int16_t y);

void ZoomToFit();
// Fits the map box (x and y from min to max) in the view, centred as the
// whole map is; an axis without extent does not limit the scale.
void ZoomToBox(int minX, int minY, int maxX, int maxY);
// Shows map point (x, y) at the view centre and puts the pointer there.
void CentreMapAt(int16_t x, int16_t y);

// Zoom steps that keep the map point under the pointer where it is. ZoomIn
// and ZoomOut return false when the scale is already at its limit.
bool ZoomIn();
bool ZoomOut();
// 0 gives 0.1, 1..9 give 1/d.
void ZoomToDigit(int digit);
// Between the "Upper Zoom" and "Lower Zoom" presets, centred as before.
void ZoomTogglePreset();

// Scrolls when the pointer touches an edge of the map area; true when the view
// moved. Call once per pass of the main loop: the mouse pointer held at an
// edge scrolls by time, scrollStep x 2 pixels 18 times a second (the pace of
// the old machine's loop), however fast the loop runs; the keyboard cursor
// scrolls one such step each time it reaches an edge.
bool EdgeScroll();
// True while the pointer stays at an edge where the view can scroll: the
// loop must come round again soon even when the user does nothing.
bool EdgeScrolling();
// The wheel and the middle button, read once per pass of the main loop: each
// notch up or down zooms in or out around the pointer (as ZoomIn and
// ZoomOut do), a notch right or left (Shift and the wheel) scrolls sideways,
// and the middle button held drags the map. True when the view moved.
bool FollowWheelAndMiddleButton();
// Forgets the notches turned while the loop was busy elsewhere (a dialog).
void ForgetWheel();

// Home/Left, End/Right, Up/PgUp and Down/PgDn scroll the view; other keys
// return false and change nothing.
bool ScrollMapByKey(int key);

enum class GridStep {
    Finer,     // halved: 0 becomes 512, 4 or less 0
    Coarser,   // doubled: 0 becomes 4, 512 or more 0
};
// The next grid size of the grid key.
int16_t NextGridSize(int16_t size, GridStep step);

// ---- Inline definitions

// A map offset times the scale, in whole pixels towards zero, kept within
// a billion either way.
inline int32_t ScaledMapOffset(int offset) {
    double v = static_cast<float>(offset) * view.scale;
    if (!(v > -1e9))
        return v != v ? 0 : -1000000000;
    return v > 1e9 ? 1000000000 : static_cast<int32_t>(v);
}

inline int MapToScreenX(int x) { return ScaledMapOffset(x - view.origX) + view.centerX; }
inline int MapToScreenY(int y) { return ScaledMapOffset(view.origY - y) + view.centerY; }
