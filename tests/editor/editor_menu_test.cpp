// The menu bar: every menu opens over the map and leaves it as it was.
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
    // eXit in the File menu leaves the editor.
    EXPECT_EQ(Run("key Alt-F\nkey X\n"), 0);
    EXPECT_EQ(graphics.GraphicsMode, 0);
}

}  // namespace
}  // namespace editor_test
