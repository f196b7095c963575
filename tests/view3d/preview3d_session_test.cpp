// The 3D view in the running editor on Freedoom's MAP01: W opens it over the
// whole screen, T adds the Things one player does not see, the keys walk,
// Esc comes back to the map centred where the camera stood; Shift-W starts
// at the pointer instead.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "editor/editor_session.h"
#include "editor/view.h"
#include "view3d/preview3d.h"
#include "view3d/preview3d_motion.h"
#include "support/png_reader.h"
#include "ui/graphics.h"

namespace {

class PreviewSessionTest : public editor_test::EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (!IsSkipped())
            InstallPreview3d();
    }
    // Where Player 1's start puts the camera, walked forward steps times.
    static PreviewWalker WalkedFromStart(int steps) {
        PreviewAssets assets = LoadPreviewAssets(level);
        PreviewScene scene = BuildPreviewScene(level, assets);
        for (const Thing& t : level.things)
            if (t.type == 1) {
                PreviewWalker walker = WalkerAt(scene, t.x, t.y, t.angle);
                for (int k = 0; k < steps; ++k)
                    WalkerMove(scene, walker, 16, 0);
                return walker;
            }
        return {};
    }
};

TEST_F(PreviewSessionTest, WOpensTheViewAndEscCentresTheMapWhereTheCameraStood) {
    std::string shot = session->Dir().file("view.png"), all = session->Dir().file("all.png");
    ASSERT_EQ(editor_test::kScriptEnded, Run("key W\nsnapshot " + shot + "\nkey T\nsnapshot " + all +
                                             "\nkey Up\nkey w\nkey Left\nkey Right\nkey Esc\n" + editor_test::kIdle));
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
    PreviewWalker walked = WalkedFromStart(2);
    EXPECT_NEAR(view.origX, walked.camera.x, 1);
    EXPECT_NEAR(view.origY, walked.camera.y, 1);
    EXPECT_NE(view.origX, WalkedFromStart(0).camera.x);

    // Shift-W starts at the pointer instead (every run starts with the same
    // view).
    ASSERT_EQ(editor_test::kScriptEnded, Run("move 400 300\n" + editor_test::kIdle));
    int16_t x = ScreenToMapX(400), y = ScreenToMapY(300 - kMenuBarHeight);
    ASSERT_EQ(editor_test::kScriptEnded, Run("move 400 300\nkey Shift-W\nkey Esc\n" + editor_test::kIdle));
    EXPECT_NEAR(view.origX, x, 2);
    EXPECT_NEAR(view.origY, y, 2);
}

// In the window-size mode the view follows the window: drawn again at the
// new size, down to its last row, and the map takes that size after Esc.
TEST_F(PreviewSessionTest, TheViewFollowsTheWindowsSize) {
    std::string shot = session->Dir().file("resized.png");
    config.videoMode = kWindowSizeMode;
    ASSERT_EQ(editor_test::kScriptEnded,
              Run("key W\nresize 1600 1000\nwait 0\nsnapshot " + shot + "\nkey Esc\n" + editor_test::kIdle));
    testkit::PngPicture picture;
    ASSERT_EQ("", testkit::ReadPng(shot, picture));
    ASSERT_EQ(std::vector<int>({1600, 1000}), std::vector<int>({picture.width, picture.height}));
    const std::set<int> last(picture.pixels.end() - 1600, picture.pixels.end());
    EXPECT_GT(last.size(), 5u) << "the floor, textured, along the last row";
    EXPECT_EQ(1599, view.maxX);
}

}  // namespace
