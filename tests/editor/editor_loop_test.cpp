// The editor on Freedoom's MAP01 through the shell: choosing the level, the
// view keys, the modes, selecting with the mouse, and leaving.
#include "editor/picking.h"
#include "editor_session.h"

namespace editor_test {
namespace {

using LoopTest = EditorSession;

TEST_F(LoopTest, EditsTheLevelGivenAndLeavesWithEsc) {
    EXPECT_EQ(Run("wait 0\n"), kScriptEnded);
    EXPECT_STREQ(level.name, "MAP01");
    EXPECT_GT(level.lineDefs.count, 100);
    Pixels map = MapArea(shown);
    EXPECT_NE(map, Pixels(map.size(), map[0]));

    EXPECT_EQ(Run("key Esc\n"), 0);
    EXPECT_EQ(level.lineDefs.count, 0);   // freed on the way out
    EXPECT_EQ(graphics.GraphicsMode, 0);
    // The view is remembered for the next time.
    EXPECT_NE(config.savedViewX, kNoSavedView);
}

TEST_F(LoopTest, ChoosesTheLevelFromTheListWhenNoneIsGiven) {
    EXPECT_EQ(Run("key Down\nkey Enter\nkey Esc\n", "E"), 0);
    EXPECT_EQ(config.lastMap, 2);
    // Cancelling the list edits nothing.
    EXPECT_EQ(Run("key Esc\n", "E"), 0);
    EXPECT_EQ(config.lastMap, 2);
    // A level the files do not hold is reported and nothing is loaded.
    ResetLevel();
    EXPECT_EQ(Run("key Enter\n", "E 77"), 0);
    EXPECT_STREQ(level.name, "");
}

TEST_F(LoopTest, ShiftF2EditsAnotherLevelInTheNextPass) {
    EXPECT_EQ(Run("key Shift-F2\nkey Down\nkey Down\nkey Enter\nwait 0\n"), kScriptEnded);
    EXPECT_STREQ(level.name, "MAP03");
    EXPECT_EQ(config.lastMap, 3);
}

TEST_F(LoopTest, DigitZoomKeepsThePointStillAndArrowsMoveThePointer) {
    Run("move 100 120\nwait 0\n");
    int16_t mapX = ScreenToMapX(view.PointerX), mapY = ScreenToMapY(view.PointerY);
    Run("move 100 120\nkey 5\nwait 0\n");
    EXPECT_FLOAT_EQ(view.Scale, 0.2f);
    EXPECT_EQ(ScreenToMapX(view.PointerX), mapX);
    EXPECT_EQ(ScreenToMapY(view.PointerY), mapY);

    Run("move 100 120\nkey Space\nkey Right\nkey Down\nkey Space\nkey Left\nwait 0\n");
    EXPECT_EQ(input.PointerX, 100 + config.scrollSpeed - 1);
    EXPECT_EQ(input.PointerY, 120 + config.scrollSpeed);
}

TEST_F(LoopTest, ZoomAndScrollKeysMoveTheView) {
    Run("wait 0\n");
    float fitted = view.Scale;
    int16_t x = view.OrigX, y = view.OrigY;
    Run("key +\nkey Home\nkey PgDn\nwait 0\n");
    float zoomed = static_cast<float>(1.0 / (1.0 / fitted - 1.0));
    EXPECT_FLOAT_EQ(view.Scale, zoomed);
    // The pointer stayed at the centre, so the zoom did not move the view.
    EXPECT_EQ(view.OrigX, x - static_cast<int>(20.0f / zoomed));
    EXPECT_EQ(view.OrigY, y - static_cast<int>(20.0f / zoomed));
    Run("key 1\nkey Alt-Z\nwait 0\n");
    EXPECT_FLOAT_EQ(view.Scale, fitted);
}

TEST_F(LoopTest, TabStepsThroughTheModesAndTheSelectionFollows) {
    static std::vector<int> modes;
    modes.clear();
    editorActions.showObjectInfo = [](int) {
        if (modes.empty() || modes.back() != config.editMode)
            modes.push_back(config.editMode);
    };
    Run("key Tab\nkey Tab\nkey Tab\nkey Tab\nkey Shift-Tab\nkey t\nkey T\nwait 0\n");
    EXPECT_EQ(modes, (std::vector<int>{kObjThing, kObjVertex, kObjLineDef, kObjSector, kObjThing,
                                       kObjSector, kObjThing}));
    EXPECT_TRUE(mapDraw.thingPictures);   // T in Things mode shows the sprites
}

TEST_F(LoopTest, ClickTogglesTheObjectUnderThePointer) {
    Run("wait 0\n");
    const LineDef& ld = level.lineDefs[40];
    int x = ScreenX((level.vertices[ld.start].x + level.vertices[ld.end].x) / 2);
    int y = ScreenY((level.vertices[ld.start].y + level.vertices[ld.end].y) / 2);
    Run("key L\nclick left " + At(x, y) + "\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\n");
    ASSERT_EQ(selection.list.size(), 1);
    int picked = selection.list.head();
    EXPECT_EQ(picked, GetObjectUnderPointer(kObjLineDef));
    EXPECT_EQ(selection.current, picked);

    // A second click some time later takes it out again; a double click in
    // Things mode inserts a Thing. (Without some events between them, two
    // clicks would reach the program between two of its polls, as one.)
    static int inserted;
    inserted = 0;
    editorActions.insertObject = [] { ++inserted; };
    Run("key L\nclick left " + At(x, y) + "\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\n" +
        "click left\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\n" +
        "key T\nclick left\nwait 0\nwait 0\nclick left\n");
    EXPECT_TRUE(selection.list.empty());
    EXPECT_EQ(inserted, 1);
}

TEST_F(LoopTest, BoxSelectsWhatLiesInside) {
    Run("wait 0\n");
    int x1 = 150, y1 = 100, x2 = 330, y2 = 300;
    int16_t mx1 = ScreenToMapX(x1), my1 = ScreenToMapY(y1 - kMenuBarHeight);
    int16_t mx2 = ScreenToMapX(x2), my2 = ScreenToMapY(y2 - kMenuBarHeight);
    SelectionList expected = SelectObjectsInBox(kObjVertex, mx1, my1, mx2, my2);
    ASSERT_GT(expected.size(), 10);
    // Held down, the left button starts a box; the next click ends it.
    Run("key V\nmove " + At(x1, y1) + "\ndown left\nwait 0\nwait 0\nwait 0\nwait 0\nwait 0\n" +
        "move " + At(x2, y2) + "\nup left\nwait 0\nclick left\nwait 0\n");
    EXPECT_FALSE(selection.box.active);
    EXPECT_EQ(std::vector<int>(selection.list.begin(), selection.list.end()),
              std::vector<int>(expected.begin(), expected.end()));
    // Esc drops a box in progress and the editor goes on.
    EXPECT_EQ(Run("key V\nkey Shift-M\nmove " + At(x2, y2) + "\nkey Esc\nwait 0\n"), kScriptEnded);
    EXPECT_FALSE(selection.box.active);
    EXPECT_TRUE(selection.list.empty());
}

TEST_F(LoopTest, NextPreviousAndJumpCentreOnTheObject) {
    Run("key P\nwait 0\n");
    int last = level.things.count - 1;
    EXPECT_EQ(selection.current, last);
    EXPECT_EQ(view.OrigX, level.things[last].x);
    EXPECT_EQ(view.OrigY, level.things[last].y);
    Run("key J\ntype 12\nkey Enter\nkey N\nwait 0\n");
    EXPECT_EQ(selection.current, 13);
    EXPECT_EQ(view.OrigX, level.things[13].x);
}

TEST_F(LoopTest, ThingFilterKeepsItsBoxesOnlyWithOk) {
    Run("key K\nkey Enter\nkey Down\nkey Down\nkey Enter\nkey Esc\n");
    EXPECT_TRUE(mapDraw.thingFilter[kFilterEasy]);
    Run("wait 0\n");
    Pixels all = MapArea(shown);
    Run("key K\nkey Enter\nkey Down\nkey Down\nkey Enter\nkey O\n");
    EXPECT_FALSE(mapDraw.thingFilter[kFilterEasy]);
    EXPECT_TRUE(mapDraw.thingFilter[kFilterMedium]);
    EXPECT_FALSE(mapDraw.thingFilter[kFilterHard]);
    EXPECT_NE(MapArea(shown), all);   // fewer Things drawn
}

TEST_F(LoopTest, StatusLineShowsTheSettingsTheKeysChange) {
    Run("key G\nkey ]\nkey ]\nkey A\nwait 0\n");
    EXPECT_EQ(config.gridSize, 4);
    EXPECT_NE(menuBar.statusShown[2].find("#AC Delay 20"), std::string::npos);
    EXPECT_NE(menuBar.statusShown[3].find("Grid   4"), std::string::npos);
    EXPECT_EQ(menuBar.statusShown[1][1], ' ');   // the follow switch is off
    Run("key Shift-G\nkey Shift-G\nkey [\nwait 0\n");
    EXPECT_EQ(config.gridSize, 16);
    EXPECT_EQ(config.autoCloseDelay, 10);
}

}  // namespace
}  // namespace editor_test
