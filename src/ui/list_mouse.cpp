#include "ui/list_mouse.h"

#include <algorithm>

#include "platform/video.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"

namespace {

// A held arrow steps once at the press, again after kFirstRepeatMs, then
// every kRepeatMs.
constexpr int kFirstRepeatMs = 400;
constexpr int kRepeatMs = 80;
constexpr int kThumbH = 8;

bool Inside(int x, int y, int x1, int y1, int x2, int y2) {
    return x >= x1 && x <= x2 && y >= y1 && y <= y2;
}

bool HasBar(const ListMouseArea& a) { return a.barX >= 0; }
bool HasRows(const ListMouseArea& a) { return a.x2 >= a.x1 && a.y2 >= a.y1; }

int ArrowH() { return kScrollBarWidth; }
int TrackTop(const ListMouseArea& a) { return a.barY1 + ArrowH(); }
int TrackBottom(const ListMouseArea& a) { return a.barY2 - ArrowH(); }

int ThumbTop(const ListMouseArea& a, int position) {
    int track = TrackBottom(a) - TrackTop(a) - kThumbH;
    if (track <= 0 || a.length <= 1)
        return TrackTop(a);
    return TrackTop(a) + std::clamp(position, 0, a.length - 1) * track / (a.length - 1);
}

bool InBar(const ListMouseArea& a, const PointerSample& p) {
    return HasBar(a) && Inside(p.x, p.y, a.barX, a.barY1, a.barX + kScrollBarWidth - 1, a.barY2);
}

bool InWindow(const ListMouseArea& a, const PointerSample& p) {
    if (a.wx2 >= a.wx1)
        return Inside(p.x, p.y, a.wx1, a.wy1, a.wx2, a.wy2);
    return (HasRows(a) && Inside(p.x, p.y, a.x1, a.y1, a.x2, a.y2)) || InBar(a, p);
}

// The position a left press on the bar asks for.
int BarTarget(const ListMouseArea& a, const PointerSample& p, int position) {
    if (p.y < TrackTop(a))
        return position - 1;
    if (p.y > TrackBottom(a))
        return position + 1;
    int thumb = ThumbTop(a, position);
    int page = std::max(1, a.page);
    if (p.y < thumb)
        return position - page;
    if (p.y >= thumb + kThumbH)
        return position + page;
    return position;
}

// Left presses on the bar: the first at once, then paced while held.
int ServeBar(const ListMouseArea& a, const PointerSample& p, bool fresh, int& position) {
    ListMouseState& s = toolkit.listMouse;
    int64_t now = PlatformMilliseconds();
    if (!fresh && now < s.nextRepeat)
        return kListNothing;
    s.nextRepeat = now + (fresh ? kFirstRepeatMs : kRepeatMs);
    int target = std::clamp(BarTarget(a, p, position), 0, std::max(0, a.length - 1));
    if (target == position)
        return kListNothing;
    position = target;
    DrawScrollBar(a, position);
    return kListScrolled;
}

}  // namespace

void ResetListMouse() {
    int held = 0;
    ReadButtons(&held);
    toolkit.listMouse = ListMouseState{};
    toolkit.listMouse.waitRelease = held != 0;
}

int ListMouse(const ListMouseArea& area, int& position, const PointerSample* sample) {
    PointerSample p = sample ? *sample : SamplePointer();
    ListMouseState& s = toolkit.listMouse;
    // A press is new unless the button was already down at the last call (a
    // click that came and went between two calls is a press of its own).
    bool fresh = p.buttons != 0 && s.lastHeld == 0;
    s.lastHeld = p.held;
    if (s.waitRelease) {
        s.waitRelease = p.held != 0;
        return kListNothing;
    }
    if (p.buttons == 0)
        return kListNothing;
    if ((p.buttons & 1) && InBar(area, p))
        return ServeBar(area, p, fresh, position);
    if (!fresh)
        return kListNothing;
    if (!InWindow(area, p))
        return p.screenY < 2 * graphics.charH ? kListMenuBar : kListCancel;
    if (p.buttons & 2)
        return kListCancel;
    if (HasRows(area) && Inside(p.x, p.y, area.x1, area.y1, area.x2, area.y2))
        return (p.y - area.y1) / graphics.lineH;
    return kListNothing;
}

void DrawScrollBar(const ListMouseArea& a, int position) {
    if (!HasBar(a))
        return;
    PointerGuard guard;
    int x2 = a.barX + kScrollBarWidth - 1;
    SunkenBox(a.barX, TrackTop(a), x2, TrackBottom(a), 7);
    int thumb = ThumbTop(a, position);
    RaisedBox(a.barX + 1, thumb, x2 - 1, thumb + kThumbH - 1, config.colorButton);
    DrawButton(ButtonLook::Raised, "\1", -1, ButtonFocus::None, a.barX, a.barY1, x2,
               a.barY1 + ArrowH() - 1);
    DrawButton(ButtonLook::Raised, "\2", -1, ButtonFocus::None, a.barX, a.barY2 - ArrowH() + 1, x2,
               a.barY2);
}
