#include "ui/saved_area.h"

#include "platform/video.h"
#include "ui/input.h"
#include "ui/toolkit.h"

namespace {

bool SameViewport(const Viewport& a, const Viewport& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom &&
           a.clip == b.clip;
}

}  // namespace

void SaveArea(int x1, int y1, int x2, int y2, SavedArea& area, WindowSave save) {
    if (area.image || (toolkit.savedAreas > 0 && save == WindowSave::UnlessNested))
        return;
    area.x1 = x1;
    area.y1 = y1;
    area.pointerHidden = input.pointerHidden;
    area.viewport = Screen().getviewport();
    PointerGuard guard;
    auto image = std::make_unique<Image>();
    Screen().getimage(x1, y1, x2, y2, *image);
    // A block the library cannot hold is not saved; the window then stays
    // until the caller redraws, and it must not count as a saved area.
    if (image->width == 0 || image->height == 0)
        return;
    area.image = std::move(image);
    ++toolkit.savedAreas;
}

void RestoreArea(SavedArea& area) {
    if (!area.image)
        return;
    bool hiddenNow = input.pointerHidden;
    HidePointer();
    Canvas& screen = Screen();
    Viewport current = screen.getviewport();
    bool otherViewport = !SameViewport(current, area.viewport);
    if (otherViewport)
        screen.setviewport(area.viewport.left, area.viewport.top, area.viewport.right,
                           area.viewport.bottom, area.viewport.clip);
    screen.putimage(area.x1, area.y1, *area.image, kCopyPut);
    if (otherViewport)
        screen.setviewport(current.left, current.top, current.right, current.bottom, current.clip);
    area.image.reset();
    if (!(area.pointerHidden && hiddenNow))
        ShowPointer();
    if (toolkit.savedAreas > 0)
        --toolkit.savedAreas;
}
