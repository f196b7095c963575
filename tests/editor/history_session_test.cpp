// Undo, redo and crash recovery through the editor's main loop on Freedoom's
// MAP01: the keys and the Edit menu, the level and its change flags as they
// were, the selection kept to objects that exist, and the recovery file a
// run that died leaves for the next start.
#include <sys/stat.h>

#include "editor/editor.h"
#include "editor/editor_history.h"
#include "editor_session.h"
#include "level/history.h"
#include "level/recovery.h"
#include "platform/video.h"
#include "support/map_kit.h"
#include "support/reference_check.h"

namespace editor_test {
namespace {

class HistorySessionTest : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(Run("wait 0\n"), kScriptEnded);
        loaded = mapkit::LevelArrayBytes();
        lineDefs = level.lineDefs.count;
    }
    // The next Run is a new start of the program: the offer comes again.
    static void NewStart() { editorHistory = EditorHistoryState{}; }
    static bool RecoveryFileThere() {
        struct stat st;
        return stat(RecoveryFilePath().c_str(), &st) == 0;
    }
    static off_t RecoveryFileSize() {
        struct stat st;
        return stat(RecoveryFilePath().c_str(), &st) == 0 ? st.st_size : -1;
    }

    std::string loaded;   // MAP01 as the IWAD holds it
    int lineDefs = 0;
};

const std::string kDeleteLineDef = "key L\nkey N\nkey Del\nkey Del\n";
const std::string kDeleteNextLineDef = "key N\nkey Del\nkey Del\nwait 0\n";

TEST_F(HistorySessionTest, UndoAndRedoKeysGiveBackTheLevelAndItsFlags) {
    struct Case {
        const char* keys;
        int lineDefsGone;
        bool changed;
    } cases[] = {
        {"key Ctrl-Z\n", 0, false},
        {"key Ctrl-Z\nkey Ctrl-Y\n", 1, true},
        {"key Ctrl-Z\nkey Ctrl-Shift-Z\n", 1, true},
        {"key Ctrl-Z\nkey Ctrl-Z\n", 0, false},   // nothing more to undo: a beep
        {"key Alt-E\nkey U\n", 0, false},         // the Edit menu's entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        ASSERT_EQ(Run(kDeleteLineDef + c.keys + "wait 0\n"), kScriptEnded);
        EXPECT_EQ(level.lineDefs.count, lineDefs - c.lineDefsGone);
        EXPECT_EQ(level.levelChanged, c.changed);
        EXPECT_EQ(level.mapChanged, c.changed);
        EXPECT_TRUE(testkit::ReferencesSound());
        if (!c.changed) {
            EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
        }
    }
}

TEST_F(HistorySessionTest, CopyAndTheDragThatFollowsAreTwoSteps) {
    std::string centre = std::to_string(view.CenterX) + " " +
                         std::to_string(view.CenterY + kMenuBarHeight);
    std::string away = std::to_string(view.CenterX + 60) + " " +
                       std::to_string(view.CenterY + kMenuBarHeight);
    std::string copyAndDrag = "key S\nkey N\nkey O\nclick right " + centre + "\n" + kIdle +
                              "move " + away + "\nwait 0\nwait 0\nclick right\n" + kIdle;
    int sectors = level.sectors.count;
    ASSERT_EQ(Run(copyAndDrag + "key Ctrl-Z\nwait 0\n"), kScriptEnded);
    ASSERT_EQ(level.sectors.count, sectors + 1);   // the copy, back on its source
    std::vector<Vertex> copied(level.vertices.begin(), level.vertices.end());
    ASSERT_EQ(Run(copyAndDrag + "key Ctrl-Z\nkey Ctrl-Z\nwait 0\n"), kScriptEnded);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
    EXPECT_FALSE(level.levelChanged);
    ASSERT_EQ(Run(copyAndDrag + "key Ctrl-Z\nkey Ctrl-Z\nkey Ctrl-Y\nwait 0\n"), kScriptEnded);
    ASSERT_EQ(level.vertices.count, static_cast<int>(copied.size()));
    for (size_t n = 0; n < copied.size(); ++n) {
        EXPECT_EQ(level.vertices[static_cast<int>(n)].x, copied[n].x) << n;
        EXPECT_EQ(level.vertices[static_cast<int>(n)].y, copied[n].y) << n;
    }
}

TEST_F(HistorySessionTest, DeleteCopyAndDragAllUndoneGiveBackTheLoadedLevel) {
    std::string centre = std::to_string(view.CenterX) + " " +
                         std::to_string(view.CenterY + kMenuBarHeight);
    std::string away = std::to_string(view.CenterX + 60) + " " +
                       std::to_string(view.CenterY + kMenuBarHeight);
    std::string edits = kDeleteLineDef + "key S\nkey N\nkey O\nclick right " + centre + "\n" +
                        kIdle + "move " + away + "\nwait 0\nwait 0\nclick right\n" + kIdle +
                        "key T\nkey N\nkey D\nmove " + away + "\nwait 0\nwait 0\nkey D\n" + kIdle;
    ASSERT_EQ(Run(edits), kScriptEnded);
    ASSERT_NE(mapkit::LevelArrayBytes(), loaded);
    ASSERT_EQ(HistorySteps(), 4);
    ASSERT_EQ(Run(edits + "key Ctrl-Z\nkey Ctrl-Z\nkey Ctrl-Z\nkey Ctrl-Z\n" + kIdle), kScriptEnded);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_FALSE(level.mapChanged);
}

TEST_F(HistorySessionTest, EditMenuNamesWhatWouldBeUndone) {
    ASSERT_EQ(Run(kDeleteLineDef + "wait 0\n"), kScriptEnded);
    EXPECT_EQ(UndoMenuText().rfind("Undo delete 1 LineDef", 0), 0u) << UndoMenuText();
    EXPECT_EQ(RedoMenuText().rfind("Redo ", 0), 0u);
    ASSERT_EQ(Run(kDeleteLineDef + "key Ctrl-Z\nwait 0\n"), kScriptEnded);
    EXPECT_EQ(RedoMenuText().rfind("Redo delete 1 LineDef", 0), 0u) << RedoMenuText();
}

TEST_F(HistorySessionTest, UndoneInsertLeavesNoSelectedObjectBehind) {
    std::string centre = std::to_string(view.CenterX) + " " +
                         std::to_string(view.CenterY + kMenuBarHeight);
    int things = level.things.count;
    ASSERT_EQ(Run("move " + centre + "\nwait 0\nkey Ins\nwait 0\n"), kScriptEnded);
    ASSERT_EQ(level.things.count, things + 1);
    ASSERT_EQ(selection.current, things);
    ASSERT_EQ(Run("move " + centre + "\nwait 0\nkey Ins\nwait 0\nkey Ctrl-Z\nwait 0\n"),
              kScriptEnded);
    EXPECT_EQ(level.things.count, things);
    EXPECT_LT(selection.current, things);
    for (int n : selection.list)
        EXPECT_LT(n, things);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
}

TEST_F(HistorySessionTest, RunThatDiedLeavesItsChangesForTheNextStart) {
    // The script's end stops the program where it stands: like a crash, the
    // editor is not left normally.
    ASSERT_EQ(Run(kDeleteLineDef + "wait 0\n"), kScriptEnded);
    ASSERT_TRUE(RecoveryFileThere());
    RecoveryInfo info;
    ASSERT_TRUE(FindRecoveryFile(info));
    EXPECT_EQ(info.levelName, "MAP01");

    NewStart();   // yes: the deletion is back, as an unsaved change that undo takes away
    ASSERT_EQ(Run("key Y\nwait 0\n"), kScriptEnded);
    EXPECT_EQ(level.lineDefs.count, lineDefs - 1);
    EXPECT_TRUE(level.levelChanged);
    EXPECT_TRUE(testkit::ReferencesSound());
    EXPECT_TRUE(RecoveryFileThere());
    NewStart();
    ASSERT_EQ(Run("key Y\nkey Ctrl-Z\nwait 0\n"), kScriptEnded);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_FALSE(RecoveryFileThere());   // the level is as saved again

    ASSERT_EQ(Run(kDeleteLineDef + "wait 0\n"), kScriptEnded);
    NewStart();   // no: the file goes and the level is the IWAD's
    ASSERT_EQ(Run("key N\nwait 0\n"), kScriptEnded);
    EXPECT_FALSE(RecoveryFileThere());
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
}

TEST_F(HistorySessionTest, RecoveryFileIsRewrittenAtMostEveryPeriod) {
    ASSERT_EQ(Run(kDeleteLineDef + "wait 0\n"), kScriptEnded);
    off_t afterOne = RecoveryFileSize();
    ASSERT_GT(afterOne, 0);
    ASSERT_EQ(Run(kDeleteLineDef + "wait 1000\n" + kDeleteNextLineDef), kScriptEnded);
    EXPECT_EQ(level.lineDefs.count, lineDefs - 2);
    EXPECT_EQ(RecoveryFileSize(), afterOne);   // the second change waits
    ASSERT_EQ(Run(kDeleteLineDef + "wait 1000\n" + kDeleteNextLineDef + "wait " +
                  std::to_string(kRecoveryPeriodMs) + "\nwait 0\n"),
              kScriptEnded);
    EXPECT_LT(RecoveryFileSize(), afterOne);
}

// The idle editor sleeps until input, but not past the time a waiting change
// is due in the recovery file.
TEST_F(HistorySessionTest, IdleEditorWakesWhenTheRecoveryFileIsDue) {
    ASSERT_EQ(Run(kDeleteLineDef + "wait 0\n"), kScriptEnded);
    EXPECT_EQ(RecoveryWriteDueMs(), -1);   // written at once
    EXPECT_EQ(IdleWaitMs(), kWaitUntilInput);
    ASSERT_EQ(Run(kDeleteLineDef + "wait 1000\n" + kDeleteNextLineDef), kScriptEnded);
    const int64_t due = RecoveryWriteDueMs();
    EXPECT_GT(due, 0);
    EXPECT_LE(due, kRecoveryPeriodMs - 1000);
    EXPECT_EQ(IdleWaitMs(), due);
    PlatformDelay(int(due));
    EXPECT_EQ(RecoveryWriteDueMs(), 0);
    EXPECT_EQ(IdleWaitMs(), 0);
}

}  // namespace
}  // namespace editor_test
