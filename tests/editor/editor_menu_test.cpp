// The menu bar: every menu opens over the map and leaves it as it was, Left
// and Right go on to the neighbouring menus, clicks on the bar open menus and
// press its buttons, and the chosen entries act as their keys.
#include "editor_session.h"

namespace editor_test {
namespace {

using MenuTest = EditorSession;

TEST_F(MenuTest, EveryMenuOpensOverTheMapAndTheMapComesBack) {
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
}

TEST_F(MenuTest, LeftAndRightOpenTheNeighbours) {
    Run("key Alt-E\n");
    Pixels edit = MapArea(shown);
    Run("key Alt-F\nkey Right\n");
    EXPECT_EQ(MapArea(shown), edit);
    Run("key Alt-H\n");
    Pixels help = MapArea(shown);
    Run("key Alt-F\nkey Left\n");
    EXPECT_EQ(MapArea(shown), help);
    // Right from the Modes menu passes through the operation menus.
    Run("key Alt-M\nkey Right\nkey Right\nkey Right\nkey Right\n");
    EXPECT_EQ(MapArea(shown), help);
}

TEST_F(MenuTest, ClicksOnTheBarOpenMenusAndPressButtons) {
    Run("key Alt-S\n");
    Pixels search = MapArea(shown);
    Run("click left " + At(graphics.CharW * 12, 6) + "\n");
    EXPECT_EQ(MapArea(shown), search);

    Run("wait 0\n");
    float fitted = view.Scale;
    int buttonY = 8, plus = graphics.CharW * 42 + 3, grid = graphics.CharW * 50 + 3;
    int16_t shownBefore = config.gridShown;
    Run("click left " + At(plus, buttonY) + "\nclick left " + At(grid, buttonY) + "\n");
    EXPECT_GT(view.Scale, fitted);
    EXPECT_NE(config.gridShown, shownBefore);
}

TEST_F(MenuTest, ChosenEntriesActAsTheirKeys) {
    Run("key Alt-M\nkey V\n");
    EXPECT_EQ(config.editMode, kObjVertex);
    // The short Modes menu of a right double click.
    Run("move 200 200\nclick right\nwait 0\nwait 0\nclick right\nkey S\n");
    EXPECT_EQ(config.editMode, kObjSector);
    // eXit in the File menu leaves the editor.
    EXPECT_EQ(Run("key Alt-F\nkey X\n"), 0);
    EXPECT_EQ(graphics.GraphicsMode, 0);
}

}  // namespace
}  // namespace editor_test
