#include "editor/view.h"

#include <algorithm>
#include <cmath>

#include "level/level.h"
#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"

ViewState view;

namespace {

constexpr int16_t kGridMax = 512;
constexpr int16_t kGridMin = 4;
// The old machine ran its loop, and with it one edge-scroll step, about this
// often a second.
constexpr double kOldPassesPerSecond = 18.0;
// A pass that took longer (the loop was busy elsewhere) scrolls this much.
constexpr int64_t kLongestScrollPassMs = 250;
// Pixels a notch of the wheel scrolls sideways.
constexpr double kWheelScrollPixels = 64.0;

// Truncation towards zero of a value that may lie far outside the 32-bit range
// (a tiny scale divides by almost nothing).
int32_t Trunc(double v) {
    if (!(v > -1e9))
        return v != v ? 0 : -1000000000;
    if (v > 1e9)
        return 1000000000;
    return static_cast<int32_t>(v);
}

int16_t Clamp16(int32_t v) { return static_cast<int16_t>(std::clamp<int32_t>(v, -32768, 32767)); }

// A scale read from the configuration, or the default when it is unusable.
float SaneScale(float scale, float fallback) {
    if (!(scale >= kMinFitScale && scale <= kMaxZoom))
        return fallback;
    return scale;
}

// Moves the view centre by the pointer's offset from the centre at the
// current scale; sign -1 moves it back.
void ShiftByPointer(int sign) {
    int32_t dx = Trunc(static_cast<float>(view.pointerX - view.centerX) / view.scale);
    int32_t dy = Trunc(static_cast<float>(view.centerY - view.pointerY) / view.scale);
    view.origX = Clamp16(view.origX + sign * dx);
    view.origY = Clamp16(view.origY + sign * dy);
}

// A scale change that keeps the map point under the pointer fixed.
void ZoomAroundPointer(double scale) {
    ShiftByPointer(1);
    SetScale(static_cast<float>(scale));
    ShiftByPointer(-1);
    view.redrawPending = true;
}

}  // namespace

int16_t ScreenToMapX(int px) {
    return Clamp16(view.origX + Trunc(static_cast<float>(px - view.centerX) / view.scale));
}

int16_t ScreenToMapY(int py) {
    return Clamp16(view.origY + Trunc(static_cast<float>(view.centerY - py) / view.scale));
}

void SetScale(float scale) {
    view.scale = scale;
    graphics.mapScale = scale;
    config.scale = scale;
}

namespace {

void TakeMapArea() {
    view.maxX = graphics.maxX;
    view.maxY = graphics.maxY;
    view.centerX = graphics.centerX;
    view.centerY = graphics.centerY;
}

}  // namespace

void InitView() {
    TakeMapArea();
    view.scrollStep = config.scrollSpeed;
    view.zoomPresetHigh = false;
    SetScale(SaneScale(config.scale, kStartScale));
}

void StartView() {
    bool saved = config.savedViewX != kNoSavedView || config.savedViewY != kNoSavedView;
    if (saved && level.vertices.count > 0) {
        ComputeMapBounds();
        CentreMapAt(config.savedViewX, config.savedViewY);
        return;
    }
    ZoomToFit();
    config.savedViewX = 0;
    config.savedViewY = 0;
}

bool FollowScreenSize() {
    if (!FollowWindowSize())
        return false;
    TakeMapArea();
    view.fullRedraw = true;
    return true;
}

int MapAreaTop() { return kMenuBarHeight; }

void SetPointerFromScreen(int x, int y) {
    view.pointerX = x;
    view.pointerY = y - MapAreaTop();
}

void ComputeMapBounds() {
    if (level.vertices.count == 0) {
        view.mapMinX = -100, view.mapMaxX = 100;
        view.mapMinY = -116, view.mapMaxY = 116;
        return;
    }
    view.mapMinX = view.mapMinY = 32767;
    view.mapMaxX = view.mapMaxY = -32768;
    for (const Vertex& v : level.vertices)
        WidenMapBounds(v.x, v.y);
}

void WidenMapBounds(int16_t x, int16_t y) {
    view.mapMinX = std::min(view.mapMinX, x);
    view.mapMaxX = std::max(view.mapMaxX, x);
    view.mapMinY = std::min(view.mapMinY, y);
    view.mapMaxY = std::max(view.mapMaxY, y);
}

// An axis of zero extent (all Vertexes on one line) does not limit the scale;
// the scale never exceeds the largest zoom.
void ZoomToBox(int minX, int minY, int maxX, int maxY) {
    int32_t w = maxX - minX, h = maxY - minY;
    double scale = kMaxZoom;
    if (w > 0)
        scale = std::min(scale, static_cast<double>(view.maxX - 10) / w);
    if (h > 0)
        scale = std::min(scale, static_cast<double>(view.maxY - 50) / h);
    SetScale(static_cast<float>(std::max<double>(scale, kMinFitScale)));
    view.fullRedraw = true;
    int32_t cy = (minY + maxY) / 2;
    CentreMapAt(Clamp16((minX + maxX) / 2), Clamp16(Trunc(cy - 16.0 / view.scale)));
}

void ZoomToFit() {
    ComputeMapBounds();
    if (level.vertices.count > 0) {
        ZoomToBox(view.mapMinX, view.mapMinY, view.mapMaxX, view.mapMaxY);
        return;
    }
    SetScale(0.5f);
    int32_t cy = (view.mapMinY + view.mapMaxY) / 2;
    CentreMapAt(static_cast<int16_t>((view.mapMinX + view.mapMaxX) / 2),
                Clamp16(Trunc(cy - 16.0 / view.scale)));
}

void CentreMapAt(int16_t x, int16_t y) {
    view.origX = x;
    view.origY = y;
    view.pointerX = view.centerX;
    view.pointerY = view.centerY;
    int screenY = view.centerY + MapAreaTop();
    if (input.mousePresent) {
        SetMousePos(view.centerX, screenY);
    } else {
        input.pointerX = view.centerX;
        input.pointerY = screenY;
    }
    view.redrawPending = true;
}

bool ZoomIn() {
    if (!(view.scale < kMaxZoom))
        return false;
    double s = view.scale;
    s = s < 0.5 ? 1.0 / (1.0 / s - 1.0) : s + 0.5;
    ZoomAroundPointer(std::min<double>(s, kMaxZoom));
    return true;
}

bool ZoomOut() {
    if (!(view.scale > kMinZoom))
        return false;
    double s = view.scale;
    if (s > 1.0)
        s -= 0.5;
    else if (s == 1.0)
        s = 0.5;
    else
        s = 1.0 / (1.0 / s + 1.0);
    ZoomAroundPointer(std::max<double>(s, kMinZoom));
    return true;
}

void ZoomToDigit(int digit) {
    ZoomAroundPointer(digit <= 0 || digit > 9 ? 0.1 : 1.0 / digit);
}

void ZoomTogglePreset() {
    view.zoomPresetHigh = !view.zoomPresetHigh;
    float preset = view.zoomPresetHigh ? config.upperZoom : config.lowerZoom;
    SetScale(SaneScale(preset, view.zoomPresetHigh ? 2.0f : kStartScale));
    view.redrawPending = true;
}

namespace {

// Which way the view may scroll for a pointer at (x, y), screen pixels:
// -1, 0 or 1 per axis. The view stops once the map's edge is some eight text
// lines (six characters) inside the opposite screen edge.
struct EdgeDirection {
    int x = 0, y = 0;
};

EdgeDirection EdgeTouched(int x, int y, int top, int bottom) {
    int charW = graphics.charW, charH = graphics.charH;
    EdgeDirection d;
    if (y <= top && ScreenToMapY(view.maxY - 8 * charH) < view.mapMaxY)
        d.y = 1;
    else if (y >= bottom && ScreenToMapY(8 * charH) > view.mapMinY)
        d.y = -1;
    if (x <= 9 && ScreenToMapX(view.maxX - 6 * charW) > view.mapMinX)
        d.x = -1;
    else if (x >= view.maxX - 9 && ScreenToMapX(6 * charW) < view.mapMaxX)
        d.x = 1;
    return d;
}

bool MoveView(EdgeDirection d, int32_t step) {
    int16_t oldX = view.origX, oldY = view.origY;
    view.origX = Clamp16(view.origX + d.x * step);
    view.origY = Clamp16(view.origY + d.y * step);
    bool moved = view.origX != oldX || view.origY != oldY;
    if (moved)
        view.redrawPending = true;
    return moved;
}

// The keyboard cursor at an edge scrolls one step and is moved back off it.
bool EdgeScrollByCursor() {
    int x = input.pointerX, y = input.pointerY;
    int top = kMenuBarHeight, bottom = view.maxY + MapAreaTop() - 10;
    EdgeDirection d = EdgeTouched(x, y, top, bottom);
    if (y <= top)
        input.pointerY = y + view.scrollStep;
    else if (y >= bottom)
        input.pointerY = y - view.scrollStep;
    if (x <= 9)
        input.pointerX = x + view.scrollStep;
    else if (x >= view.maxX - 9)
        input.pointerX = x - view.scrollStep;
    return MoveView(d, Trunc(view.scrollStep * 2.0 / view.scale));
}

}  // namespace

bool EdgeScroll() {
    if ((ShiftState() & kShiftScrollLock) || view.panning) {
        view.edgeClock = -1;
        return false;
    }
    if (!input.mousePresent)
        return EdgeScrollByCursor();
    // The pointer as the pass read it: reading the mouse again would take in
    // the user's next action before the last one is on the screen.
    EdgeDirection d = EdgeTouched(input.pointerX, input.pointerY, 0, view.maxY + MapAreaTop() - 9);
    if (d.x == 0 && d.y == 0) {
        view.edgeClock = -1;
        view.edgeRest = 0;
        return false;
    }
    int64_t now = PlatformMilliseconds();
    int64_t elapsed = view.edgeClock < 0 ? 0 : std::min(now - view.edgeClock, kLongestScrollPassMs);
    view.edgeClock = now;
    double pixelsPerMs = view.scrollStep * 2.0 * kOldPassesPerSecond / 1000.0;
    view.edgeRest += pixelsPerMs * static_cast<double>(elapsed) / view.scale;
    int32_t step = Trunc(view.edgeRest);
    view.edgeRest -= step;
    return MoveView(d, step);
}

bool EdgeScrolling() { return view.edgeClock >= 0; }

namespace {

// The middle button held: the map point under the pointer when it went down
// stays under the pointer.
bool Pan() {
    if (!MiddleButtonDown()) {
        view.panning = false;
        return false;
    }
    if (!view.panning) {
        view.panning = true;
        view.panX = ScreenToMapX(view.pointerX);
        view.panY = ScreenToMapY(view.pointerY);
        return false;
    }
    int16_t oldX = view.origX, oldY = view.origY;
    view.origX = Clamp16(view.panX - Trunc(static_cast<float>(view.pointerX - view.centerX) / view.scale));
    view.origY = Clamp16(view.panY - Trunc(static_cast<float>(view.centerY - view.pointerY) / view.scale));
    bool moved = view.origX != oldX || view.origY != oldY;
    if (moved)
        view.redrawPending = true;
    return moved;
}

bool TurnWheel() {
    int up = 0, right = 0;
    TakeWheel(up, right);
    bool moved = false;
    for (; up > 0; --up)
        moved = ZoomIn() || moved;
    for (; up < 0; ++up)
        moved = ZoomOut() || moved;
    if (right != 0) {
        int32_t step = Trunc(kWheelScrollPixels / view.scale);
        view.origX = Clamp16(view.origX + right * step);
        view.redrawPending = moved = true;
    }
    return moved;
}

}  // namespace

bool FollowWheelAndMiddleButton() {
    bool zoomed = TurnWheel();
    return Pan() || zoomed;
}

void ForgetWheel() {
    int up = 0, right = 0;
    TakeWheel(up, right);
}

bool ScrollMapByKey(int key) {
    int32_t step = Trunc(20.0 / view.scale);
    switch (key) {
    case kKeyHome:
    case kKeyLeft:
        view.origX = Clamp16(view.origX - step);
        break;
    case kKeyEnd:
    case kKeyRight:
        view.origX = Clamp16(view.origX + step);
        break;
    case kKeyUp:
    case kKeyPgUp:
        view.origY = Clamp16(view.origY + step);
        break;
    case kKeyDown:
    case kKeyPgDn:
        view.origY = Clamp16(view.origY - step);
        break;
    default:
        return false;
    }
    view.redrawPending = true;
    return true;
}

int16_t NextGridSize(int16_t size, GridStep step) {
    if (step == GridStep::Coarser) {
        if (size == 0)
            return kGridMin;
        return size >= kGridMax ? 0 : static_cast<int16_t>(size * 2);
    }
    if (size == 0)
        return kGridMax;
    return size <= kGridMin ? 0 : static_cast<int16_t>(size / 2);
}
