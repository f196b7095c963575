// The editor on Freedoom's MAP01 through the shell: choosing the level, the
// view keys, the modes, selecting with the mouse, and leaving.
#include "editor/picking.h"
#include "editor_session.h"
#include "support/map_lumps.h"

namespace editor_test {
namespace {

using LoopTest = EditorSession;

TEST_F(LoopTest, ZoomScrollModesClickAndBoxSelect) {
    EXPECT_EQ(Run("wait 0\n"), kScriptEnded);
    EXPECT_STREQ(level.name, "MAP01");
    float fitted = view.Scale;
    int16_t x = view.OrigX, y = view.OrigY;
    const LineDef& ld = level.lineDefs[40];
    std::string line = At((level.vertices[ld.start].x + level.vertices[ld.end].x) / 2,
                          (level.vertices[ld.start].y + level.vertices[ld.end].y) / 2);
    // A box from screen position (150, 100) to (330, 300).
    SelectionList boxed =
        SelectObjectsInBox(kObjVertex, ScreenToMapX(150), ScreenToMapY(100 - kMenuBarHeight),
                           ScreenToMapX(330), ScreenToMapY(300 - kMenuBarHeight));
    ASSERT_GT(boxed.size(), 10);

    // One step in with the pointer at the centre does not move the view; the
    // keys scroll it by 20 pixels.
    Run("key +\nkey Home\nkey PgDn\nwait 0\n");
    float zoomed = static_cast<float>(1.0 / (1.0 / fitted - 1.0));
    EXPECT_FLOAT_EQ(view.Scale, zoomed);
    EXPECT_EQ(view.OrigX, x - static_cast<int>(20.0f / zoomed));
    EXPECT_EQ(view.OrigY, y - static_cast<int>(20.0f / zoomed));

    // Tab steps through the modes; a click selects the object under the pointer.
    static std::vector<int> modes;
    modes.clear();
    editorActions.showObjectInfo = [](int) {
        if (modes.empty() || modes.back() != config.editMode)
            modes.push_back(config.editMode);
    };
    Run("key Tab\nkey Tab\nkey Tab\nkey Shift-Tab\nclick left " + line + "\n" + kIdle);
    EXPECT_EQ(modes,
              (std::vector<int>{kObjThing, kObjVertex, kObjLineDef, kObjSector, kObjLineDef}));
    ASSERT_EQ(selection.list.size(), 1);
    EXPECT_EQ(selection.list.head(), GetObjectUnderPointer(kObjLineDef));

    // Held down, the left button starts a box; the next click ends it.
    Run("key V\nmove 150 100\ndown left\n" + kIdle + "move 330 300\nup left\nwait 0\nclick left\n"
        "wait 0\n");
    EXPECT_FALSE(selection.box.active);
    EXPECT_EQ(Numbers(selection.list), Numbers(boxed));
}

// Ctrl-A selects every object of the mode, Ctrl-E inverts the selection (and
// the marks come off the screen cleanly), Ctrl-F zooms to the selection; the
// Edit and Search menus give the same.
TEST_F(LoopTest, SelectAllInvertAndZoomToTheSelection) {
    Run("key V\nwait 0\n");
    Pixels plain = MapArea(shown);
    float fitted = view.Scale;
    Run("key V\nkey Ctrl-A\nwait 0\n");
    EXPECT_EQ(selection.list.size(), static_cast<int>(level.vertices.count));
    EXPECT_NE(MapArea(shown), plain);
    Run("key V\nkey Alt-E\nkey S\nkey Ctrl-E\nwait 0\n");
    EXPECT_TRUE(selection.list.empty());
    EXPECT_EQ(MapArea(shown), plain);

    const LineDef ld = level.lineDefs[40];
    const Vertex a = level.vertices[ld.start], b = level.vertices[ld.end];
    std::string line = At((a.x + b.x) / 2, (a.y + b.y) / 2);
    Run("key L\nclick left " + line + "\n" + kIdle + "key Alt-E\nkey I\nwait 0\n");
    EXPECT_EQ(selection.list.size(), static_cast<int>(level.lineDefs.count) - 1);
    EXPECT_FALSE(IsSelected(selection.list, 40));

    // Nothing selected: Ctrl-F leaves the view alone.
    Run("key Ctrl-F\nwait 0\n");
    EXPECT_FLOAT_EQ(view.Scale, fitted);
    Run("key L\nclick left " + line + "\n" + kIdle + "key Alt-S\nkey Z\nwait 0\n");
    EXPECT_GT(view.Scale, 4 * fitted);
    for (const Vertex* v : {&a, &b}) {
        EXPECT_GT(MapToScreenX(v->x), 0);
        EXPECT_LT(MapToScreenX(v->x), view.MaxX);
        EXPECT_GT(MapToScreenY(v->y), 0);
        EXPECT_LT(MapToScreenY(v->y), view.MaxY);
    }
}

TEST_F(LoopTest, ChoosesTheLevelFromTheListAndLeavesWithEsc) {
    EXPECT_EQ(Run("key Down\nkey Enter\nkey Esc\n", "E"), 0);
    EXPECT_EQ(config.lastMap, 2);
    EXPECT_EQ(level.lineDefs.count, 0);   // freed on the way out
    EXPECT_EQ(graphics.GraphicsMode, 0);
    EXPECT_NE(config.savedViewX, kNoSavedView);   // the view is remembered
    // A level the files do not hold is reported and nothing is loaded.
    ResetLevel();
    EXPECT_EQ(Run("key Enter\n", "E 77"), 0);
    EXPECT_STREQ(level.name, "");
}

TEST_F(LoopTest, ALevelInAnotherFormatIsRefusedAndTheShellGoesOn) {
    testkit::WadBuilder pwad;
    MapData room;
    room.vertices = {{0, 0}, {0, 64}, {64, 64}, {64, 0}};
    AddForeignLevel(pwad, "MAP01", "Hexen", room);
    std::string path = session->Dir().file("hexen.wad");
    pwad.write(path);
    char name[kFileNameField];
    SetField(name, path.c_str());
    ASSERT_GT(LoadPwad(name), 0);
    // The refusal waits for a key, then the shell's prompt comes back.
    EXPECT_EQ(Run("", "E 1"), kScriptEnded);
    EXPECT_EQ(Run("key Enter\n", "E 1"), 0);
    EXPECT_EQ(graphics.GraphicsMode, 0);
    EXPECT_EQ(level.lineDefs.count + level.things.count, 0);
    // MAP02 of the IWAD is edited as before.
    EXPECT_EQ(Run("key Esc\n", "E 2"), 0);
    EXPECT_STREQ(level.name, "MAP02");
}

}  // namespace
}  // namespace editor_test
