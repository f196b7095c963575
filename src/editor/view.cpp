#include "editor/view.h"

#include <algorithm>
#include <cmath>

#include "level/level.h"
#include "platform/keys.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"

ViewState view;

namespace {

constexpr int16_t kGridMax = 512;
constexpr int16_t kGridMin = 4;

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
    int32_t dx = Trunc(static_cast<float>(view.PointerX - view.CenterX) / view.Scale);
    int32_t dy = Trunc(static_cast<float>(view.CenterY - view.PointerY) / view.Scale);
    view.OrigX = Clamp16(view.OrigX + sign * dx);
    view.OrigY = Clamp16(view.OrigY + sign * dy);
}

// A scale change that keeps the map point under the pointer fixed.
void ZoomAroundPointer(double scale) {
    ShiftByPointer(1);
    SetScale(static_cast<float>(scale));
    ShiftByPointer(-1);
    view.RedrawPending = true;
}

}  // namespace

int MapToScreenX(int x) {
    return Trunc(static_cast<float>(x - view.OrigX) * view.Scale) + view.CenterX;
}

int MapToScreenY(int y) {
    return Trunc(static_cast<float>(view.OrigY - y) * view.Scale) + view.CenterY;
}

int16_t ScreenToMapX(int px) {
    return Clamp16(view.OrigX + Trunc(static_cast<float>(px - view.CenterX) / view.Scale));
}

int16_t ScreenToMapY(int py) {
    return Clamp16(view.OrigY + Trunc(static_cast<float>(view.CenterY - py) / view.Scale));
}

void SetScale(float scale) {
    view.Scale = scale;
    graphics.mapScale = scale;
    config.scale = scale;
}

void InitView() {
    view.MaxX = graphics.MaxX;
    view.MaxY = graphics.MaxY;
    view.CenterX = graphics.CenterX;
    view.CenterY = graphics.CenterY;
    view.ScrollStep = config.scrollSpeed;
    view.ZoomPresetHigh = false;
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

int MapAreaTop() { return kMenuBarHeight; }

void SetPointerFromScreen(int x, int y) {
    view.PointerX = x;
    view.PointerY = y - MapAreaTop();
}

void ComputeMapBounds() {
    if (level.vertices.count == 0) {
        view.MapMinX = -100, view.MapMaxX = 100;
        view.MapMinY = -116, view.MapMaxY = 116;
        return;
    }
    view.MapMinX = view.MapMinY = 32767;
    view.MapMaxX = view.MapMaxY = -32768;
    for (const Vertex& v : level.vertices)
        WidenMapBounds(v.x, v.y);
}

void WidenMapBounds(int16_t x, int16_t y) {
    view.MapMinX = std::min(view.MapMinX, x);
    view.MapMaxX = std::max(view.MapMaxX, x);
    view.MapMinY = std::min(view.MapMinY, y);
    view.MapMaxY = std::max(view.MapMaxY, y);
}

// An axis of zero extent (all Vertexes on one line) does not limit the scale;
// the scale never exceeds the largest zoom.
void ZoomToBox(int minX, int minY, int maxX, int maxY) {
    int32_t w = maxX - minX, h = maxY - minY;
    double scale = kMaxZoom;
    if (w > 0)
        scale = std::min(scale, static_cast<double>(view.MaxX - 10) / w);
    if (h > 0)
        scale = std::min(scale, static_cast<double>(view.MaxY - 50) / h);
    SetScale(static_cast<float>(std::max<double>(scale, kMinFitScale)));
    view.fullRedraw = true;
    int32_t cy = (minY + maxY) / 2;
    CentreMapAt(Clamp16((minX + maxX) / 2), Clamp16(Trunc(cy - 16.0 / view.Scale)));
}

void ZoomToFit() {
    ComputeMapBounds();
    if (level.vertices.count > 0) {
        ZoomToBox(view.MapMinX, view.MapMinY, view.MapMaxX, view.MapMaxY);
        return;
    }
    SetScale(0.5f);
    int32_t cy = (view.MapMinY + view.MapMaxY) / 2;
    CentreMapAt(static_cast<int16_t>((view.MapMinX + view.MapMaxX) / 2),
                Clamp16(Trunc(cy - 16.0 / view.Scale)));
}

void CentreMapAt(int16_t x, int16_t y) {
    view.OrigX = x;
    view.OrigY = y;
    view.PointerX = view.CenterX;
    view.PointerY = view.CenterY;
    int screenY = view.CenterY + MapAreaTop();
    if (input.MousePresent) {
        SetMousePos(view.CenterX, screenY);
    } else {
        input.PointerX = view.CenterX;
        input.PointerY = screenY;
    }
    view.RedrawPending = true;
}

bool ZoomIn() {
    if (!(view.Scale < kMaxZoom))
        return false;
    double s = view.Scale;
    s = s < 0.5 ? 1.0 / (1.0 / s - 1.0) : s + 0.5;
    ZoomAroundPointer(std::min<double>(s, kMaxZoom));
    return true;
}

bool ZoomOut() {
    if (!(view.Scale > kMinZoom))
        return false;
    double s = view.Scale;
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
    view.ZoomPresetHigh = !view.ZoomPresetHigh;
    float preset = view.ZoomPresetHigh ? config.upperZoom : config.lowerZoom;
    SetScale(SaneScale(preset, view.ZoomPresetHigh ? 2.0f : kStartScale));
    view.RedrawPending = true;
}

bool EdgeScroll() {
    if (ShiftState() & kShiftScrollLock)
        return false;
    bool keyboard = !input.MousePresent;
    int top = keyboard ? kMenuBarHeight : 0;
    int bottom = view.MaxY - (keyboard ? 10 : 9);
    int left = 9, right = view.MaxX - 9;
    int x = input.PointerX, y = input.PointerY;
    if (!keyboard)
        ReadMouse(&x, &y, nullptr);
    int32_t step = Trunc(view.ScrollStep * 2.0 / view.Scale);
    int charW = graphics.CharW, charH = graphics.CharH;
    int16_t oldX = view.OrigX, oldY = view.OrigY;
    if (y <= top) {
        if (ScreenToMapY(view.MaxY - 8 * charH) < view.MapMaxY)
            view.OrigY = Clamp16(view.OrigY + step);
        y += view.ScrollStep;
    } else if (y >= bottom) {
        if (ScreenToMapY(8 * charH) > view.MapMinY)
            view.OrigY = Clamp16(view.OrigY - step);
        y -= view.ScrollStep;
    }
    if (x <= left) {
        if (ScreenToMapX(view.MaxX - 6 * charW) > view.MapMinX)
            view.OrigX = Clamp16(view.OrigX - step);
        x += view.ScrollStep;
    } else if (x >= right) {
        if (ScreenToMapX(6 * charW) < view.MapMaxX)
            view.OrigX = Clamp16(view.OrigX + step);
        x -= view.ScrollStep;
    }
    if (keyboard) {
        input.PointerX = x;
        input.PointerY = y;
    }
    bool moved = view.OrigX != oldX || view.OrigY != oldY;
    if (moved)
        view.RedrawPending = true;
    return moved;
}

bool ScrollMapByKey(int key) {
    int32_t step = Trunc(20.0 / view.Scale);
    switch (key) {
    case kKeyHome:
    case kKeyLeft:
        view.OrigX = Clamp16(view.OrigX - step);
        break;
    case kKeyEnd:
    case kKeyRight:
        view.OrigX = Clamp16(view.OrigX + step);
        break;
    case kKeyUp:
    case kKeyPgUp:
        view.OrigY = Clamp16(view.OrigY + step);
        break;
    case kKeyDown:
    case kKeyPgDn:
        view.OrigY = Clamp16(view.OrigY - step);
        break;
    default:
        return false;
    }
    view.RedrawPending = true;
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
