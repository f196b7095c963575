// The editor on Freedoom's MAP01 through the shell: opening, the view keys,
// the modes, selecting, and leaving.
#include "editor_session.h"

namespace editor_test {
namespace {

using LoopTest = EditorSession;

TEST_F(LoopTest, OpensTheLevelAndLeavesWithEsc) {
    EXPECT_EQ(Run("key Esc\n"), 0);
    EXPECT_EQ(level.lineDefs.count, 0);   // freed when the editor left
    EXPECT_EQ(graphics.GraphicsMode, 0);
    EXPECT_EQ(config.lastMap, 1);
}

TEST_F(LoopTest, ShowsTheMapInTheMapArea) {
    ASSERT_EQ(Run("wait 0\nsnapshot /tmp/editor-map01.png\nwait 0\n"), kScriptEnded);
    EXPECT_STREQ(level.name, "MAP01");
    EXPECT_GT(level.lineDefs.count, 100);
}

}  // namespace
}  // namespace editor_test
