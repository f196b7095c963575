// Editing, undo, redo and crash recovery through the editor's main loop on
// Freedoom's MAP01: deleting, copying and dragging by keys and the mouse, the
// keys and the Edit menu of undo, the level and its change flags as they were,
// the selection kept to objects that exist, and the recovery file a run that
// died leaves for the next start.
#include <filesystem>
#include <set>

#include "editor/editor_history.h"
#include "editor_session.h"
#include "level/recovery.h"
#include "support/fault_kit.h"

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
    // The next Run is a new start of the program: the file the last one
    // left is offered.
    static void NewStart() {
        editorHistory = EditorHistoryState{};
        StartRecoverySession();
    }
    static off_t RecoveryFileSize() {
        std::error_code missing;
        const auto size = std::filesystem::file_size(RecoveryFilePath(), missing);
        return missing ? -1 : static_cast<off_t>(size);
    }
    // The names of the recovery files in the directory.
    std::set<std::string> RecoveryFiles() {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(session->Dir().path()))
            if (entry.path().filename().string().rfind("BrelUnsaved", 0) == 0)
                names.insert(entry.path().filename().string());
        return names;
    }

    std::string loaded;   // MAP01 as the IWAD holds it
    int lineDefs = 0;
};

const std::string kDeleteLineDef = "key L\nkey N\nkey Del\nkey Del\n";

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
        EXPECT_TRUE(level.levelChanged == c.changed && level.mapChanged == c.changed);
        EXPECT_TRUE(c.changed || LevelArrayBytes() == loaded);
        // The Edit menu names the step that the keys would undo or redo.
        const std::string menu = c.changed ? UndoMenuText() : RedoMenuText();
        EXPECT_EQ(menu.rfind(c.changed ? "Undo delete 1 LineDef" : "Redo delete 1 LineDef", 0), 0u) << menu;
    }
}

// Sectors mode: N highlights one, O copies it in place, the right button
// drags the copy away and puts it down.
TEST_F(HistorySessionTest, DeleteCopyAndDragAllUndoneGiveBackTheLoadedLevel) {
    const std::string away = FromCentre(60);
    const std::string copy = "key S\nkey N\nkey O\nclick right " + FromCentre(0) + "\n" + kIdle +
                             "move " + away + "\nwait 0\nwait 0\nclick right\n" + kIdle;
    const int sectors = level.sectors.count, vertexes = level.vertices.count;
    ASSERT_EQ(Run(copy), kScriptEnded);
    EXPECT_FALSE(editor.dragging);
    ASSERT_EQ(level.sectors.count, sectors + 1);
    // Every new Vertex lies the pointer's way east of an old one.
    int d = ScreenToMapX(view.centerX + 60) - ScreenToMapX(view.centerX);
    std::set<std::pair<int, int>> old;
    for (int n = 0; n < vertexes; ++n)
        old.insert({level.vertices[n].x, level.vertices[n].y});
    for (int n = vertexes; n < level.vertices.count; ++n)
        EXPECT_TRUE(old.count({level.vertices[n].x - d, level.vertices[n].y})) << n;
    EXPECT_TRUE(testkit::ReferencesSound());

    // A LineDef deleted before, a Thing dragged with D after: four steps.
    std::string edits = kDeleteLineDef + copy + "key T\nkey N\nkey D\nmove " + away +
                        "\nwait 0\nwait 0\nkey D\n" + kIdle;
    ASSERT_EQ(Run(edits), kScriptEnded);
    ASSERT_EQ(HistorySteps(), 4);
    ASSERT_EQ(Run(edits + "key Ctrl-Z\nkey Ctrl-Z\nkey Ctrl-Z\nkey Ctrl-Z\n" + kIdle), kScriptEnded);
    EXPECT_EQ(LevelArrayBytes(), loaded);
    EXPECT_FALSE(level.levelChanged || level.mapChanged);
    // Undo leaves no selected object behind that no longer exists.
    ASSERT_EQ(Run("key S\nkey N\nkey O\nkey Ctrl-Z\nwait 0\n"), kScriptEnded);
    EXPECT_LT(selection.current, sectors);
    for (int n : selection.list)
        EXPECT_LT(n, sectors);
}

// The script's end stops the program where it stands: like a crash, the
// editor is not left normally. At the next start, yes brings a deleted
// LineDef back as an unsaved change that undo takes away (the array grows
// past what the restored level held); no removes the file and opens the
// level asked for; a moved Thing restored and saved gives the IWAD's level
// with the Thing moved (no question about nodes is asked).
TEST_F(HistorySessionTest, RunThatDiedLeavesItsChangesForTheNextStart) {
    ASSERT_EQ(Run(kDeleteLineDef + "wait 0\n"), kScriptEnded);
    NewStart();
    ASSERT_EQ(Run("key Y\nwait 0\n"), kScriptEnded);
    EXPECT_EQ(level.lineDefs.count, lineDefs - 1);
    EXPECT_TRUE(level.levelChanged);
    NewStart();
    ASSERT_EQ(Run("key Y\nkey Ctrl-Z\nwait 0\n"), kScriptEnded);
    EXPECT_EQ(mapkit::LevelArrayBytes(), loaded);
    EXPECT_FALSE(level.levelChanged);
    EXPECT_LT(RecoveryFileSize(), 0);   // the level is as saved again

    const std::string moveThing = "key T\nkey N\nkey D\nmove " + FromCentre(40) + "\nwait 0\nwait 0\nkey D\n" + kIdle;
    ASSERT_EQ(Run(moveThing), kScriptEnded);
    NewStart();
    ASSERT_EQ(Run("key N\nwait 0\n", "E 2"), kScriptEnded);
    EXPECT_STREQ(level.name, "MAP02");   // the level asked for
    EXPECT_TRUE(RecoveryFiles().empty());

    ASSERT_EQ(Run(moveThing), kScriptEnded);
    const auto* moved = reinterpret_cast<const uint8_t*>(level.things.records.data());
    const testkit::Bytes things(moved, moved + level.things.count * sizeof(Thing));
    NewStart();
    ASSERT_EQ(Run("key Y\nwait 0\nkey F2\ntype RESTORED\nkey Enter\nwait 0\n"), kScriptEnded);
    testkit::WadContents map01 = testkit::ReadWad(iwad);
    testkit::WadContents saved = Saved("RESTORED.WAD");
    for (const char* lump : testkit::kLevelLumps)
        EXPECT_TRUE(saved.data(lump) == (lump == std::string("THINGS") ? things : map01.data(lump))) << lump;
}

// A change goes to the recovery file at once, the next no sooner than a
// period later; the idle editor sleeps until input, but not past the time a
// waiting change is due.
TEST_F(HistorySessionTest, IdleEditorWakesWhenTheRecoveryFileIsDue) {
    ASSERT_EQ(Run(kDeleteLineDef + "wait 0\n"), kScriptEnded);
    const off_t afterOne = RecoveryFileSize();
    ASSERT_GT(afterOne, 0);
    EXPECT_TRUE(RecoveryWriteDueMs() == -1 && IdleWaitMs() == kWaitUntilInput);
    const std::string two = kDeleteLineDef + "wait 1000\nkey N\nkey Del\nkey Del\nwait 0\n";
    ASSERT_EQ(Run(two), kScriptEnded);
    EXPECT_EQ(level.lineDefs.count, lineDefs - 2);
    EXPECT_EQ(RecoveryFileSize(), afterOne);   // the second change waits
    const int64_t due = RecoveryWriteDueMs();
    EXPECT_TRUE(due > 0 && due <= kRecoveryPeriodMs - 1000) << due;
    EXPECT_EQ(IdleWaitMs(), due);
    PlatformDelay(int(due));
    EXPECT_TRUE(RecoveryWriteDueMs() == 0 && IdleWaitMs() == 0);
    ASSERT_EQ(Run(two + "wait " + std::to_string(kRecoveryPeriodMs) + "\nwait 0\n"), kScriptEnded);
    const off_t afterTwo = RecoveryFileSize();
    EXPECT_LT(afterTwo, afterOne);
    // The same while a menu stays open ten minutes.
    std::filesystem::remove(RecoveryFilePath());
    NewStart();
    ASSERT_EQ(Run(two + "key Alt-E\nwait 600000\n"), kScriptEnded);
    EXPECT_EQ(RecoveryFileSize(), afterTwo);
}

// A recovery file that is damaged, or whose level the loader would refuse,
// is set aside with a message, and the level opens as loaded.
TEST_F(HistorySessionTest, ADamagedRecoveryFileIsSetAsideAndTheLevelOpensAsLoaded) {
    const struct {
        const char* what;
        std::string session;
        uint16_t firstVertex;   // of LineDef 0
        const char* keys;
    } cases[] = {
        {"a time past any clock",
         "written 99999999999999999\nowner 1 1 -\niwad " + std::string(config.iwadName) + "\n",
         level.lineDefs[0].start, "key Enter\n"},   // the message closed
        {"a LineDef naming Vertex 60000", mapkit::SessionText(testkit::EndedProcessId(), config.iwadName), 60000,
         "key Y\nkey Enter\n"},   // taken, and the refusal closed
    };
    const uint16_t start = level.lineDefs[0].start;
    const std::string path = session->Dir().file("BrelUnsaved.WAD");
    for (const auto& c : cases) {
        level.lineDefs[0].start = c.firstVertex;
        std::string file = mapkit::RecoveryFile(c.session, "MAP01");
        level.lineDefs[0].start = start;
        testkit::WriteFileBytes(path, testkit::Bytes(file.begin(), file.end()));
        NewStart();
        ASSERT_EQ(Run(std::string(c.keys) + "wait 0\n"), kScriptEnded) << c.what;
        EXPECT_EQ(mapkit::LevelArrayBytes(), loaded) << c.what;
        EXPECT_EQ(RecoveryFiles(), std::set<std::string>{"BrelUnsaved.WAD.damaged"}) << c.what;
        std::filesystem::remove(path + ".damaged");
    }
}

}  // namespace
}  // namespace editor_test
