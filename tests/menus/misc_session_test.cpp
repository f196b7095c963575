// The Misc menu and the turn keys through the editor's main loop on
// Freedoom's MAP01: F8 runs an operation on the selection and Ctrl-Z takes
// it back as one step; "," and "." turn Things, and outside Things mode
// start an interactive turn.
#include "editor/editor_session.h"
#include "level/history.h"
#include "menus/misc_menu.h"
#include "support/map_kit.h"
#include "support/reference_check.h"

namespace {

using editor_test::kIdle;
using editor_test::kScriptEnded;

class MiscSessionTest : public editor_test::EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (!IsSkipped())
            InstallMiscOperations();
    }
};

TEST_F(MiscSessionTest, MenuOperationsAndTurnsAreOneStepToUndo) {
    ASSERT_EQ(Run("wait 0\n"), kScriptEnded);
    std::string loaded = mapkit::LevelArrayBytes();
    int lineDefs = level.lineDefs.count;
    const std::string split = "key L\nkey N\nkey M\nkey F8\nkey 3\n" + kIdle;
    ASSERT_EQ(Run(split), kScriptEnded);
    EXPECT_EQ(level.lineDefs.count, lineDefs + 1);
    EXPECT_EQ(UndoLabel(), "split 1 LineDef");
    EXPECT_TRUE(testkit::ReferencesSound());
    ASSERT_EQ(Run(split + "key Ctrl-Z\n" + kIdle), kScriptEnded);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);

    const std::string mark = "key T\nkey N\nkey M\n";
    ASSERT_EQ(Run(mark + kIdle), kScriptEnded);
    ASSERT_FALSE(selection.list.empty());
    int thing = selection.list.head();
    int angle = level.things[thing].angle;
    // , and < turn anticlockwise by 45 degrees, . and > back.
    ASSERT_EQ(Run(mark + "key ,\nkey <\nkey .\n" + kIdle), kScriptEnded);
    EXPECT_EQ(level.things[thing].angle, (angle + 45) % 360);
    EXPECT_EQ(UndoLabel(), "turn 1 Thing");
    // Outside Things mode the same keys turn the selection interactively;
    // Esc puts it back.
    ASSERT_EQ(Run("key L\nkey N\nkey M\nkey ,\nkey ,\nkey +\nkey Esc\n" + kIdle), kScriptEnded);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
}

}  // namespace
