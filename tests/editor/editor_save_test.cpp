// Saving from the editor through the real dialogs, and leaving with unsaved
// changes.
#include "editor_session.h"
#include "level/level_files.h"

namespace editor_test {
namespace {

const Thing kAdded{1234, -567, 90, 3004, 7};

class SaveTest : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        editorActions.insertObject = [] {   // Ins stands for an edit: it adds a Thing
            ResizeObject(kObjThing, 1);
            level.things[level.things.count - 1] = kAdded;
            level.levelChanged = true;
        };
    }
    testkit::WadContents Saved(const char* name) {
        return testkit::ReadWad(session->Dir().file(name));
    }
};

TEST_F(SaveTest, F2WritesTheLevelToThePwadNamedInTheDialog) {
    EXPECT_EQ(Run("key Ins\nkey F2\ntype EDITED\nkey Enter\nkey Esc\n"), 0);
    testkit::WadContents wad = Saved("EDITED.WAD");
    ASSERT_EQ(wad.lumps.size(), 11u);
    EXPECT_EQ(wad.lumps[0].name, "MAP01");
    testkit::Bytes things = testkit::ReadWad(iwad).data("THINGS");   // MAP01's
    const auto* added = reinterpret_cast<const uint8_t*>(&kAdded);
    things.insert(things.end(), added, added + sizeof kAdded);
    EXPECT_EQ(wad.data("THINGS"), things);
    // The editor went on with the new file read in, and the level counted as
    // saved, so Esc left without asking.
    int found = FindLevel("MAP01");
    ASSERT_GE(found, 0);
    EXPECT_GT(master.levelList[static_cast<size_t>(found)].file, 0);
}

TEST_F(SaveTest, F3SavesTheLevelUnderAnotherNameAndEditsItNext) {
    EXPECT_EQ(Run("key F3\nkey Down\nkey Enter\ntype SAVEAS\nkey Enter\nwait 0\n"), kScriptEnded);
    testkit::WadContents wad = Saved("SAVEAS.WAD");
    ASSERT_EQ(wad.lumps.size(), 11u);
    EXPECT_EQ(wad.lumps[0].name, "MAP02");
    EXPECT_STREQ(level.name, "MAP02");
    EXPECT_EQ(wad.data("THINGS"), testkit::ReadWad(iwad).data("THINGS"));   // MAP01's Things
}

TEST_F(SaveTest, NothingIsSavedWhenTheExitsCheckIsNotConfirmed) {
    editorActions.checkExits = [] { return 0; };
    Run("key F2\ntype REFUSED\nkey Enter\n");
    EXPECT_TRUE(testkit::ReadFileBytes(session->Dir().file("REFUSED.WAD")).empty());
}

TEST_F(SaveTest, EscWithUnsavedChangesAsksFirst) {
    Run("wait 0\n");
    Pixels plain = MapArea(shown);
    EXPECT_EQ(Run("key Ins\nkey Esc\n"), kScriptEnded);
    EXPECT_NE(MapArea(shown), plain);   // the question
    // No: the editor goes on with the change.
    EXPECT_EQ(Run("key Ins\nkey Esc\nkey Esc\n"), kScriptEnded);
    EXPECT_TRUE(level.levelChanged);
    EXPECT_NE(graphics.GraphicsMode, 0);
    // Yes: it leaves.
    EXPECT_EQ(Run("key Ins\nkey Esc\nkey Y\n"), 0);
    EXPECT_EQ(graphics.GraphicsMode, 0);
}

}  // namespace
}  // namespace editor_test
