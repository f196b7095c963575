// The checker on the headless screen: the verification dialog's two ways
// out, and the exits and starts check and the box of what the game cannot
// load that every save key runs first. Then the engine
// limits in the running editor on Freedoom's MAP01: the Check menu's item
// scans the level by its nodes, lists the worst places and opens the 3D view
// at the one chosen; back on the map the scan's points are squares coloured
// by how near they come.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "checker/check_dialogs.h"
#include "checker/limits_check.h"
#include "checker/limits_overlay.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/editor_fixture.h"
#include "editor/editor_session.h"
#include "menus/check_menu.h"
#include "support/png_reader.h"
#include "ui/graphics.h"
#include "view3d/preview3d.h"

namespace {

class CheckScreenTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        TwoRooms();
        ComputeMapBounds();
        ZoomToFit();
    }
};

TEST_F(CheckScreenTest, ContinuingStaysAndCancellingShowsTheObject) {
    CheckDialogs& dialogs = ScreenDialogs();
    config.editMode = kObjThing;
    session.Script("key Y");
    EXPECT_TRUE(dialogs.Verify("Sector 1 is not closed!", "", kObjVertex, 5, Severity::Fault));
    EXPECT_EQ(config.editMode, kObjThing);

    session.Script("key Esc");
    EXPECT_FALSE(dialogs.Verify("Sector 1 is not closed!", "", kObjVertex, 5, Severity::Crash));
    EXPECT_EQ(config.editMode, kObjVertex);
    EXPECT_EQ(selection.current, 5);
}

TEST_F(CheckScreenTest, SavesRunTheExitsAndStartsCheckAndStopWhenItIsNotConfirmed) {
    InstallChecker();
    editor.shiftState = 0;
    for (int key : {FKey(2), AltFKey(2), AltFKey(8)}) {
        // No exit (OK), starts missing (Cancel): nothing further is asked,
        // so the script ending there proves that no save began.
        session.ExactScript("key Enter\nkey Esc");
        EXPECT_EQ(EditorKey(key), 0) << key;
    }
    session.ExactScript("key Enter\nkey Y\nkey Y");
    EXPECT_EQ(editorActions.checkExits(), 1);

    // Then the box of what the game cannot load: Continue saves, Cancel
    // shows the first of them (LineDef 2, without its first SideDef).
    level.lineDefs[2].sideDef1 = kNoReference;
    session.ExactScript("key Enter\nkey Y\nkey Y\nkey Y");
    EXPECT_EQ(editorActions.checkExits(), 1);
    session.ExactScript("key Enter\nkey Y\nkey Y\nkey Esc");
    EXPECT_EQ(editorActions.checkExits(), 0);
    EXPECT_EQ(config.editMode, kObjLineDef);
    EXPECT_EQ(selection.current, 2);
}

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
    // The script's line that takes a snapshot, and the picture it took.
    std::string Snapshot(const std::string& name) {
        return "snapshot " + session->Dir().file(name) + "\n";
    }
    testkit::PngPicture Shot(const std::string& name) {
        testkit::PngPicture picture;
        EXPECT_EQ("", testkit::ReadPng(session->Dir().file(name), picture)) << name;
        return picture;
    }
};

TEST_F(LimitsSessionTest, TheCheckListsTheWorstPlacesAndTheMapShowsThePoints) {
    // F10 E: the item; 32 for the grid spacing, Enter takes it and the views
    // proposed; any key closes the result; 1 opens the worst place.
    ASSERT_EQ(editor_test::kScriptEnded,
              Run(Snapshot("before") + "key F10\nkey E\nkey 3\nkey 2\nkey Enter\nkey Enter\n" +
                  "key 1\n" + Snapshot("view") + "key Esc\nkey Esc\nwait 0\n" + Snapshot("after") +
                  editor_test::kIdle));
    ASSERT_TRUE(limitsState.valid);
    EXPECT_EQ(32, limitsState.scan.spacing);
    EXPECT_EQ(8, limitsState.scan.angles);
    EXPECT_TRUE(limitsState.scan.byNodes) << "the IWAD's nodes fit its map";
    EXPECT_GT(limitsState.scan.points.size(), 2000u);
    const testkit::PngPicture view = Shot("view");
    EXPECT_GT(std::set<int>(view.pixels.begin(), view.pixels.end()).size(), 60u) << "the 3D view";
    // MAP01 needs at most half of each table nearly everywhere: green squares.
    auto green = [](const testkit::PngPicture& p) {
        return std::count(p.pixels.begin(), p.pixels.end(), MapColor(10));
    };
    EXPECT_GT(green(Shot("after")), green(Shot("before")) + 1000);
}

}  // namespace
