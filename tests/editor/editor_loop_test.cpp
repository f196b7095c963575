// The editor on Freedoom's MAP01 through the shell: choosing the level,
// moving the view and the window, the modes, selecting with the mouse, the menus, saving,
// and leaving with changes saved or not.
#include <algorithm>

#include "editor_session.h"
#include "support/map_lumps.h"
#include "support/screen_text.h"
#include "ui/message_panel.h"

namespace editor_test {
namespace {

using LoopTest = EditorSession;

TEST_F(LoopTest, ZoomScrollModesClickAndBoxSelect) {
    EXPECT_EQ(Run("wait 0\n"), kScriptEnded);
    float fitted = view.scale;
    int16_t x = view.origX, y = view.origY;
    const std::string line = MiddleOf(40);
    // A box from screen position (150, 100) to (330, 300).
    SelectionList boxed =
        SelectObjectsInBox(kObjVertex, ScreenToMapX(150), ScreenToMapY(100 - kMenuBarHeight),
                           ScreenToMapX(330), ScreenToMapY(300 - kMenuBarHeight));
    ASSERT_GT(boxed.size(), 10);

    // One step in with the pointer at the centre does not move the view; the
    // keys scroll it by 20 pixels.
    Run("key +\nkey Home\nkey PgDn\nwait 0\n");
    float zoomed = static_cast<float>(1.0 / (1.0 / fitted - 1.0));
    EXPECT_FLOAT_EQ(view.scale, zoomed);
    EXPECT_EQ(view.origX, x - static_cast<int>(20.0f / zoomed));
    EXPECT_EQ(view.origY, y - static_cast<int>(20.0f / zoomed));

    // Tab steps through the modes and Shift-Tab back (Tab three times and
    // Shift-Tab: LineDefs); a click selects the object under the pointer.
    Run("key Tab\nkey Tab\nkey Tab\nkey Shift-Tab\nclick left " + line + "\n" + kIdle);
    EXPECT_EQ(config.editMode, kObjLineDef);
    ASSERT_EQ(selection.list.size(), 1);
    EXPECT_EQ(selection.list.head(), GetObjectUnderPointer(kObjLineDef));

    // Held down, the left button starts a box; the next click ends it.
    Run("key V\nmove 150 100\ndown left\n" + kIdle + "move 330 300\nup left\nwait 0\nclick left\n"
        "wait 0\n");
    EXPECT_FALSE(selection.box.active);
    EXPECT_EQ(Numbers(selection.list), Numbers(boxed));

    // Two quick left clicks in Things mode are a double click (Ins) only
    // when the second lands within a few pixels of the first.
    const int things = level.things.count;
    for (const auto& [second, added] : {std::pair{FromCentre(3), 1}, std::pair{FromCentre(100), 0}}) {
        Run("click left " + FromCentre(0) + "\nclick left " + second + "\n" + kIdle);
        EXPECT_EQ(level.things.count, things + added) << second;
    }
}

// Ctrl-A selects every object of the mode, Ctrl-E inverts the selection,
// Ctrl-F zooms to the selection; the Edit and Search menus give the same.
TEST_F(LoopTest, SelectAllInvertAndZoomToTheSelection) {
    Run("key V\nwait 0\n");
    float fitted = view.scale;
    Run("key V\nkey Ctrl-A\nwait 0\n");
    EXPECT_EQ(selection.list.size(), static_cast<int>(level.vertices.count));
    Run("key V\nkey Alt-E\nkey S\nkey Ctrl-E\nwait 0\n");
    EXPECT_TRUE(selection.list.empty());

    const Vertex a = level.vertices[level.lineDefs[40].start], b = level.vertices[level.lineDefs[40].end];
    const std::string line = MiddleOf(40);
    Run("key L\nclick left " + line + "\n" + kIdle + "key Alt-E\nkey I\nwait 0\n");
    EXPECT_EQ(selection.list.size(), static_cast<int>(level.lineDefs.count) - 1);
    EXPECT_FALSE(IsSelected(selection.list, 40));

    // Nothing selected: Ctrl-F leaves the view alone.
    Run("key Ctrl-F\nwait 0\n");
    EXPECT_FLOAT_EQ(view.scale, fitted);
    Run("key L\nclick left " + line + "\n" + kIdle + "key Alt-S\nkey Z\nwait 0\n");
    EXPECT_GT(view.scale, 4 * fitted);
    for (const Vertex* v : {&a, &b}) {
        EXPECT_TRUE(MapToScreenX(v->x) > 0 && MapToScreenX(v->x) < view.maxX);
        EXPECT_TRUE(MapToScreenY(v->y) > 0 && MapToScreenY(v->y) < view.maxY);
    }
}

// The wheel zooms around the pointer as the digit keys do, and with Shift
// scrolls sideways; the middle button held drags the map; neither selects.
// The pointer held at the left edge for a second of the script's clock
// scrolls the view 360 pixels, in whatever passes the loop makes.
TEST_F(LoopTest, WheelMiddleButtonAndEdgesMoveTheView) {
    Run("key 2\nmove 300 200\nwait 0\n");
    ASSERT_EQ(view.scale, 0.5f);
    int16_t x = view.origX, y = view.origY;
    int16_t pointedX = ScreenToMapX(300), pointedY = ScreenToMapY(200 - kMenuBarHeight);
    Run("key 2\nwheel down 300 200\nwheel up\nwheel up\nwait 0\n");
    EXPECT_FLOAT_EQ(view.scale, 1.0f);
    EXPECT_NEAR(ScreenToMapX(300), pointedX, 3);
    EXPECT_NEAR(ScreenToMapY(200 - kMenuBarHeight), pointedY, 3);
    Run("key 2\nmove 300 200\nwheel Shift-down\nwheel Shift-down\nwheel Shift-up\nwait 0\n");
    EXPECT_TRUE(view.origX == x + 128 && view.origY == y);   // 64 pixels right

    Run("key 2\nmove 300 200\ndown middle\n" + kIdle + "move 340 150\n" + kIdle +
        "up middle\n" + kIdle + "move 200 300\nclick middle\n" + kIdle);
    EXPECT_NEAR(view.origX, x - 80, 1);   // the map went 40 pixels right, 50 up
    EXPECT_NEAR(view.origY, y - 100, 1);
    EXPECT_TRUE(view.scale == 0.5f && selection.list.empty());

    std::string held;
    for (int i = 0; i < 20; ++i)
        held += "wait 50\n";
    Run("key 2\nmove 4 200\n" + held + "move 300 200\nwait 500\nwait 0\n");
    EXPECT_NEAR(view.origX, x - 720, 2);   // at the scale of 0.5
    EXPECT_EQ(view.origY, y);
}

// In the window-size mode the screen takes the window's size whenever it
// changes, within 640x480..3840x2160: bars across the window, the map area
// between them, the same map point at its centre.
TEST_F(LoopTest, TheWindowSizeModeFollowsTheWindow) {
    config.videoMode = kWindowSizeMode;
    Run("wait 0\n");
    ASSERT_EQ(Screen().width(), 1280);
    int16_t x = view.origX, y = view.origY;
    const struct {
        int askW, askH, w, h;
    } sizes[] = {{1920, 1200, 1920, 1200}, {5000, 300, 3840, 480}, {1000, 3000, 1000, 2160}};
    for (const auto& size : sizes) {
        config.videoMode = kWindowSizeMode;
        Run("resize " + std::to_string(size.askW) + " " + std::to_string(size.askH) +
            "\nmove 5000 5000\nwait 0\n");
        ASSERT_EQ(std::vector<int>({Screen().width(), Screen().height()}),
                  std::vector<int>({size.w, size.h}));
        EXPECT_TRUE(graphics.screenMaxY == size.h - 1 && view.maxX == size.w - 1);
        EXPECT_EQ(view.maxY, graphics.maxY);
        EXPECT_TRUE(view.origX == x && view.origY == y);
        // The pointer, in screen pixels, reaches the new edges.
        EXPECT_TRUE(input.pointerX == view.maxX && input.pointerY == view.maxY + kMenuBarHeight);
        const int row = 2 * size.w;   // inside the menu bar's frame
        EXPECT_NE(shown[size_t(row + size.w - 5)], 0);
        EXPECT_EQ(shown[size_t(row + size.w - 5)], shown[size_t(row + 5)]);
    }
}

// Every menu opens over the map and leaves it as it was.
TEST_F(LoopTest, EveryMenuOpensOverTheMapAndTheMapComesBack) {
    Run("wait 0\n");
    Pixels plain = MapArea(shown);
    Run("key L\n");
    Pixels lineDefs = MapArea(shown);   // the Object menu switches to LineDefs
    for (const char* menu : {"F", "E", "S", "M", "I", "O", "C", "H"}) {
        SCOPED_TRACE(menu);
        std::string open = std::string("key Alt-") + menu + "\n";
        EXPECT_EQ(Run(open), kScriptEnded);
        EXPECT_NE(MapArea(shown), plain);
        Run(open + "key Esc\n");
        EXPECT_EQ(MapArea(shown), std::string(menu) == "O" ? lineDefs : plain);
        EXPECT_EQ(toolkit.savedAreas, 0);
    }
    // eXit in the File menu leaves the editor.
    EXPECT_EQ(Run("key Alt-F\nkey X\n"), 0);
    EXPECT_EQ(graphics.graphicsMode, 0);
}

TEST_F(LoopTest, ChoosesTheLevelFromTheListOrRefusesItAndLeavesWithEsc) {
    EXPECT_EQ(Run("key Down\nkey Enter\nkey Esc\n", "E"), 0);
    EXPECT_EQ(config.lastMap, 2);
    EXPECT_TRUE(level.lineDefs.count == 0 && graphics.graphicsMode == 0);   // freed on the way out
    EXPECT_NE(config.savedViewX, kNoSavedView);   // the view is remembered
    // A level the files do not hold is reported and nothing is loaded.
    ResetLevel();
    EXPECT_EQ(Run("key Enter\n", "E 77"), 0);
    EXPECT_STREQ(level.name, "");

    // A level in another format is refused and the shell goes on.
    testkit::WadBuilder pwad;
    MapData room;
    room.vertices = {{0, 0}, {0, 64}, {64, 64}, {64, 0}};
    AddForeignLevel(pwad, "MAP01", "Hexen", room);
    std::string path = session->Dir().file("hexen.wad");
    pwad.write(path);
    ASSERT_GT(session->ReadPwad(path), 0);
    // The refusal waits for a key, then the shell's prompt comes back.
    EXPECT_EQ(Run("", "E 1"), kScriptEnded);
    EXPECT_EQ(Run("key Enter\n", "E 1"), 0);
    EXPECT_EQ(graphics.graphicsMode + level.lineDefs.count + level.things.count, 0);
    // MAP02 of the IWAD is edited as before.
    EXPECT_EQ(Run("key Esc\n", "E 2"), 0);
    EXPECT_STREQ(level.name, "MAP02");
}


// Saving through the real dialogs, and leaving with unsaved changes. In
// Things mode Ins is the edit: it adds a Thing at the pointer.
using SaveTest = EditorSession;

// Events that change nothing leave the level unchanged: F2 then asks
// nothing about nodes and writes every lump as the IWAD holds it. After Ins,
// F2 writes MAP01's Things and one more (the other lumps as the restored
// level's save checks them); the level counts as saved, so Esc leaves
// without asking.
TEST_F(SaveTest, F2WritesTheLevelAndEscAsksAboutChangesNotSaved) {
    ASSERT_EQ(Run("wait 0\n"), kScriptEnded);
    const std::string onLine = MiddleOf(0);
    ASSERT_EQ(Run("key F9\nkey Esc\nkey L\nclick right " + onLine + "\n" + kIdle +
                  "move 10 100\nmove 300 200\nmove " + onLine +
                  "\nkey Tab\nkey F2\ntype SAME\nkey Enter\nkey N\nwait 0\n"),
              kScriptEnded);
    testkit::WadContents map01 = testkit::ReadWad(iwad), wad = Saved("SAME.WAD");
    for (const char* lump : testkit::kLevelLumps)
        EXPECT_TRUE(wad.data(lump) == map01.data(lump)) << lump;

    EXPECT_EQ(Run("key Ins\nkey F2\ntype EDITED\nkey Enter\nkey Esc\n"), 0);
    const testkit::Bytes things = map01.data("THINGS"), saved = Saved("EDITED.WAD").data("THINGS");
    ASSERT_EQ(saved.size(), things.size() + sizeof(Thing));
    EXPECT_TRUE(std::equal(things.begin(), things.end(), saved.begin()));

    // Leaving with unsaved changes asks first: No (Esc, or Enter after a stray
    // Esc: No has the focus) goes on with the change; Yes leaves.
    for (const char* no : {"key Esc\n", "key Enter\n"}) {
        EXPECT_EQ(Run(std::string("key Ins\nkey Esc\n") + no), kScriptEnded) << no;
        EXPECT_TRUE(level.levelChanged && graphics.graphicsMode != 0) << no;
    }
    EXPECT_EQ(Run("key Ins\nkey Esc\nkey Y\n"), 0);
    EXPECT_EQ(graphics.graphicsMode, 0);
}

// After F2 a notice over the map says the level is saved, for a while: it
// comes down when its time is up, and the map is whole again. Saved a second
// time over its own file, whose old row the save then frees, the notice
// still names the file.
TEST_F(SaveTest, F2SaysForAWhileThatTheLevelIsSavedAndF3SavesItAsAnother) {
    // F3 saves the level under another name and edits that level next.
    EXPECT_EQ(Run("key F3\nkey Down\nkey Enter\ntype SAVEAS\nkey Enter\nwait 0\n"), kScriptEnded);
    testkit::WadContents wad = Saved("SAVEAS.WAD");
    ASSERT_EQ(wad.lumps.size(), 11u);
    EXPECT_EQ(wad.lumps[0].name, "MAP02");
    EXPECT_STREQ(level.name, "MAP02");
    EXPECT_EQ(wad.data("THINGS"), testkit::ReadWad(iwad).data("THINGS"));   // MAP01's Things
    const std::string edit = "key Ins\nkey Alt-Z\nmove 600 300\n";   // the pointer off the notice
    const std::string during = session->Dir().file("during.png"), after = session->Dir().file("after.png");
    Run(edit + "key Ins\nwait 0\n");   // the new Things drawn
    Pixels unsaved = MapArea(shown);
    Run(edit + "key F2\ntype EDITED\nkey Enter\nkey Ins\nkey F2\nkey Enter\nwait 400\nwait 0\nsnapshot " + during +
        "\nwait 1100\nwait 0\nsnapshot " + after + "\n");
    ASSERT_FALSE(Saved("EDITED.WAD").lumps.empty());
    EXPECT_TRUE(testkit::SnapshotShowsText(during, "MAP01 saved to EDITED.WAD"));
    EXPECT_FALSE(testkit::SnapshotShowsText(after, "MAP01 saved to EDITED.WAD"));
    EXPECT_FALSE(notice.shown);
    EXPECT_EQ(MapArea(shown), unsaved);
}

}  // namespace
}  // namespace editor_test
