// The engine limits in the running editor on Freedoom's MAP01: the Check
// menu's item scans the level by its nodes, says that no place is over a
// limit, lists the worst places and opens the 3D view at the one chosen;
// back on the map the scan's points are squares coloured by how near they
// come.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "editor/editor_session.h"
#include "menus/check_menu.h"
#include "checker/limits_check.h"
#include "checker/limits_overlay.h"
#include "view3d/preview3d.h"
#include "support/png_reader.h"
#include "ui/graphics.h"

namespace {

class LimitsSessionTest : public editor_test::EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped())
            return;
        InstallChecker();
        InstallPreview3d();
        InstallLimitsOverlay();
        limitsState = {};
    }
};

TEST_F(LimitsSessionTest, TheCheckListsTheWorstPlacesAndTheMapShowsThePoints) {
    std::string before = session->Dir().file("before.png"), view = session->Dir().file("view.png"),
                after = session->Dir().file("after.png");
    // F10 E: the item; 32 for the grid spacing, Enter takes it and the views
    // proposed; any key closes the result; 1 opens the worst place.
    ASSERT_EQ(editor_test::kScriptEnded,
              Run("snapshot " + before + "\nkey F10\nkey E\nkey 3\nkey 2\nkey Enter\nkey Enter\nkey 1\nsnapshot " +
                  view +
                  "\nkey Esc\nkey Esc\nwait 0\nsnapshot " + after + "\n" + editor_test::kIdle));
    ASSERT_TRUE(limitsState.valid);
    EXPECT_EQ(32, limitsState.scan.spacing);
    EXPECT_EQ(8, limitsState.scan.angles);
    EXPECT_TRUE(limitsState.scan.byNodes) << "the IWAD's nodes fit its map";
    EXPECT_GT(limitsState.scan.points.size(), 2000u);
    testkit::PngPicture map, shown, overlay;
    ASSERT_EQ("", testkit::ReadPng(before, map));
    ASSERT_EQ("", testkit::ReadPng(view, shown));
    ASSERT_EQ("", testkit::ReadPng(after, overlay));
    EXPECT_GT(std::set<int>(shown.pixels.begin(), shown.pixels.end()).size(), 60u) << "the 3D view";
    // MAP01 needs at most half of each table nearly everywhere: green squares.
    auto green = [](const testkit::PngPicture& p) {
        return std::count(p.pixels.begin(), p.pixels.end(), MapColor(10));
    };
    EXPECT_GT(green(overlay), green(map) + 1000);

    // A click with Ctrl on the square of a point opens the 3D view there; a
    // plain click, or one with Ctrl away from the squares, does not.
    auto nearest = std::min_element(limitsState.scan.points.begin(), limitsState.scan.points.end(),
                                    [](const LimitPoint& a, const LimitPoint& b) {
                                        return std::abs(MapToScreenX(a.x) - 320) + std::abs(MapToScreenY(a.y) - 200) <
                                               std::abs(MapToScreenX(b.x) - 320) + std::abs(MapToScreenY(b.y) - 200);
                                    });
    const std::string on = At(nearest->x, nearest->y);
    std::string plain = session->Dir().file("plain.png"), clicked = session->Dir().file("clicked.png");
    ASSERT_EQ(editor_test::kScriptEnded, Run("click left " + on + "\nwait 0\nsnapshot " + plain + "\n" +
                                             "ctrl down\nclick left " + on + "\nsnapshot " + clicked +
                                             "\nkey Esc\nctrl up\n" + editor_test::kIdle));
    testkit::PngPicture plainShot, clickedShot;
    ASSERT_EQ("", testkit::ReadPng(plain, plainShot));
    ASSERT_EQ("", testkit::ReadPng(clicked, clickedShot));
    EXPECT_GT(green(plainShot), 1000) << "the map and its squares";
    EXPECT_GT(std::set<int>(clickedShot.pixels.begin(), clickedShot.pixels.end()).size(), 60u) << "the 3D view";
    EXPECT_LT(green(clickedShot), 100);
}

}  // namespace
