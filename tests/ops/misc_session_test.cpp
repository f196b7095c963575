// The Misc menu through the editor's main loop on Freedoom's MAP01: F8 runs
// an operation on the selection, and Ctrl-Z takes it back as one step.
#include "editor/editor_session.h"
#include "level/history.h"
#include "ops/misc_menu.h"
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

TEST_F(MiscSessionTest, AnOperationOfTheMenuIsOneStepToUndo) {
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
}

}  // namespace
