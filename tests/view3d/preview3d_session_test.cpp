// The 3D view in the running editor on Freedoom's MAP01: W opens it over the
// whole screen, T adds the Things one player does not see, the keys walk,
// Esc comes back to the map centred where the camera stood; Shift-W starts
// at the pointer instead; in the window-size mode the view follows the window.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "editor/editor_session.h"
#include "editor/view.h"
#include "view3d/preview3d.h"
#include "view3d/preview3d_motion.h"
#include "support/png_reader.h"
#include "ui/graphics.h"

namespace {

using editor_test::kIdle;
using editor_test::kScriptEnded;

class PreviewSessionTest : public editor_test::EditorSession {};

TEST_F(PreviewSessionTest, WOpensTheViewAndEscCentresTheMapWhereTheCameraStood) {
    InstallPreview3d();
    std::string shot = session->Dir().file("view.png"), all = session->Dir().file("all.png");
    ASSERT_EQ(kScriptEnded, Run("key W\nsnapshot " + shot + "\nkey T\nsnapshot " + all +
                                "\nkey Up\nkey w\nkey Left\nkey Right\nkey Esc\n" + kIdle));
    testkit::PngPicture picture, withAll;
    ASSERT_EQ("", testkit::ReadPng(shot, picture));
    ASSERT_EQ("", testkit::ReadPng(all, withAll));
    std::set<int> colours(picture.pixels.begin(), picture.pixels.end());
    EXPECT_GT(colours.size(), 60u) << "a textured view, not the map";
    // A deathmatch start stands 400 units ahead, below the two lines of text.
    auto below = [](const testkit::PngPicture& p) {
        return std::vector<uint8_t>(p.pixels.begin() + static_cast<ptrdiff_t>(p.width) * 40, p.pixels.end());
    };
    EXPECT_NE(below(picture), below(withAll));
    // Up and w each walked 16 units on from Player 1's start.
    PreviewAssets assets = LoadPreviewAssets(level);
    PreviewScene scene = BuildPreviewScene(level, assets);
    const Thing& start =
        *std::find_if(level.things.begin(), level.things.end(), [](const Thing& t) { return t.type == 1; });
    PreviewWalker walker = WalkerAt(scene, start.x, start.y, start.angle);
    EXPECT_NE(view.origX, walker.camera.x);
    for (int step = 0; step < 2; ++step)
        WalkerMove(scene, walker, 16, 0);
    EXPECT_NEAR(view.origX, walker.camera.x, 1);
    EXPECT_NEAR(view.origY, walker.camera.y, 1);

    // Shift-W starts at the pointer instead (every run starts with the same
    // view).
    ASSERT_EQ(kScriptEnded, Run("move 400 300\n" + kIdle));
    int16_t x = ScreenToMapX(400), y = ScreenToMapY(300 - kMenuBarHeight);
    ASSERT_EQ(kScriptEnded, Run("move 400 300\nkey Shift-W\nkey Esc\n" + kIdle));
    EXPECT_NEAR(view.origX, x, 2);
    EXPECT_NEAR(view.origY, y, 2);

    // In the window-size mode the view is drawn again at the window's new
    // size, down to its last row, and the map takes that size after Esc.
    config.videoMode = kWindowSizeMode;
    ASSERT_EQ(kScriptEnded, Run("key W\nresize 1600 1000\nwait 0\nsnapshot " + shot + "\nkey Esc\n" + kIdle));
    ASSERT_EQ("", testkit::ReadPng(shot, picture));
    ASSERT_EQ(std::vector<int>({1600, 1000}), std::vector<int>({picture.width, picture.height}));
    const std::set<int> last(picture.pixels.end() - 1600, picture.pixels.end());
    EXPECT_GT(last.size(), 5u) << "the floor, textured, along the last row";
    EXPECT_EQ(1599, view.maxX);
}

}  // namespace
