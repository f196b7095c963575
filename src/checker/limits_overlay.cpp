#include "checker/limits_overlay.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/format.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/view.h"
#include "checker/limits_check.h"
#include "view3d/preview3d.h"
#include "ui/graphics.h"
#include "ui/menus.h"

namespace {

constexpr int kPlacesInMenu = 12;
constexpr int kGreen = 10, kYellow = 14, kRed = 12;   // the bright ones of the 16 colours
constexpr int kSmallestSquare = 2;                    // pixels

int ColourOf(const LimitPoint& point) {
    double share = point.most.Share();
    return share > 1 ? kRed : share >= 0.5 ? kYellow : kGreen;
}

// Half the side of a point's square, in pixels.
int SquareHalf(const LimitsScan& scan) {
    int spacing = std::max(1, scan.spacing);
    return std::max(kSmallestSquare, (MapToScreenX(spacing) - MapToScreenX(0)) / 4);
}

std::string PlaceText(const LimitPoint& p) {
    return Format("(%d, %d) facing %.0f: %s", p.x, p.y, p.heading, DescribeCounts(p.most, true).c_str());
}

bool OverlayShown() { return limitsState.shown && LimitsScanIsCurrent(); }

// The points, worst first.
std::vector<LimitPoint> WorstPlaces(const LimitsScan& scan) {
    std::vector<LimitPoint> points = scan.points;
    std::stable_sort(points.begin(), points.end(),
                     [](const LimitPoint& a, const LimitPoint& b) { return a.most.Share() > b.most.Share(); });
    points.resize(std::min<size_t>(points.size(), kPlacesInMenu));
    return points;
}

}  // namespace

void DrawLimitsOverlay() {
    if (!OverlayShown())
        return;
    const LimitsScan& scan = limitsState.scan;
    const int half = SquareHalf(scan);
    for (const LimitPoint& point : scan.points) {
        int sx = MapToScreenX(point.x), sy = MapToScreenY(point.y);
        FillBox(sx - half, sy - half, sx + half, sy + half, ColourOf(point));
    }
}

void ShowWorstPlaces(int x, int y) {
    if (!LimitsScanIsCurrent())
        return;
    limitsState.shown = true;
    editor.redrawMap = true;
    std::vector<LimitPoint> places = WorstPlaces(limitsState.scan);
    std::vector<std::string> texts;
    for (const LimitPoint& p : places)
        texts.push_back(PlaceText(p));
    std::vector<const char*> items;
    for (const std::string& text : texts)
        items.push_back(text.c_str());
    if (items.empty())
        return;
    for (int chosen = 1;;) {
        chosen = SimpleMenu(x, y, MenuStyle::Numbered, chosen, "CHECK", WindowSave::UnlessNested, "Worst places",
                            items);
        if (chosen < 1 || chosen > static_cast<int>(places.size()))
            return;
        const LimitPoint& place = places[static_cast<size_t>(chosen - 1)];
        Preview3dAt(place.x, place.y, place.heading, texts[static_cast<size_t>(chosen - 1)]);
    }
}

bool OpenClickedPlace(int x, int y) {
    if (!OverlayShown())
        return false;
    const int half = SquareHalf(limitsState.scan);
    for (const LimitPoint& point : limitsState.scan.points)
        if (std::abs(MapToScreenX(point.x) - x) <= half && std::abs(MapToScreenY(point.y) - y) <= half) {
            Preview3dAt(point.x, point.y, point.heading, PlaceText(point));
            return true;
        }
    return false;
}

void InstallLimitsOverlay() {
    editorActions.drawMapOverlay = DrawLimitsOverlay;
    editorActions.overlayClick = OpenClickedPlace;
}
