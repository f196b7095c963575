// Saving from the editor through the real dialogs, and leaving with unsaved
// changes.
#include <cstring>

#include "editor_session.h"
#include "level/level_files.h"

namespace editor_test {
namespace {

class SaveTest : public EditorSession {
protected:
    // Ins stands for an edit: it adds a Thing.
    static void AddThing() {
        ResizeObject(kObjThing, 1);
        level.things[level.things.count - 1] = Thing{1234, -567, 90, 3004, 7};
        level.levelChanged = true;
    }
    void SetUp() override {
        EditorSession::SetUp();
        editorActions.insertObject = AddThing;
    }
    std::string Saved(const char* name) { return session->Dir().file(name); }
};

TEST_F(SaveTest, F2WritesTheLevelToThePwadNamedInTheDialog) {
    Run("wait 0\n");
    int32_t things = level.things.count;
    EXPECT_EQ(Run("key Ins\nkey F2\ntype EDITED\nkey Enter\nkey Esc\n"), 0);
    testkit::WadContents wad = testkit::ReadWad(Saved("EDITED.WAD"));
    ASSERT_EQ(wad.lumps.size(), 11u);
    EXPECT_EQ(wad.lumps[0].name, "MAP01");
    testkit::Bytes saved = wad.data("THINGS");
    ASSERT_EQ(saved.size(), (things + 1) * sizeof(Thing));
    Thing added;
    std::memcpy(&added, saved.data() + things * sizeof(Thing), sizeof added);
    EXPECT_EQ(added.x, 1234);
    EXPECT_EQ(added.type, 3004);
    // The editor went on with the new file read in, and the level counted as
    // saved, so Esc left without asking.
    int found = FindLevel("MAP01");
    ASSERT_GE(found, 0);
    EXPECT_GT(master.levelList[static_cast<size_t>(found)].file, 0);
}

TEST_F(SaveTest, F3SavesUnderAnotherNameAndEditsItNext) {
    Run("wait 0\n");
    int32_t things = level.things.count;
    EXPECT_EQ(Run("key F3\nkey Down\nkey Enter\ntype SAVEAS\nkey Enter\nwait 0\n"), kScriptEnded);
    testkit::WadContents wad = testkit::ReadWad(Saved("SAVEAS.WAD"));
    ASSERT_EQ(wad.lumps.size(), 11u);
    EXPECT_EQ(wad.lumps[0].name, "MAP02");
    EXPECT_STREQ(level.name, "MAP02");
    EXPECT_EQ(level.things.count, things);
}

TEST_F(SaveTest, SaveRejectMaskFromTheFileMenuFillsTheReject) {
    EXPECT_EQ(Run("key Alt-F\nkey M\ntype REJECT\nkey Enter\n"
                  "type 1\nkey Enter\ntype 255\nkey Enter\nkey Esc\n"),
              0);
    testkit::WadContents wad = testkit::ReadWad(Saved("REJECT.WAD"));
    testkit::Bytes reject = wad.data("REJECT");
    int32_t sectors = static_cast<int32_t>(wad.data("SECTORS").size() / sizeof(Sector));
    ASSERT_EQ(reject.size(), static_cast<size_t>(RejectBytes(sectors)));
    for (size_t i = 0; i < reject.size(); ++i)
        ASSERT_EQ(reject[i], i % 2 ? 255 : 0) << i;
}

TEST_F(SaveTest, NothingIsSavedWhenTheExitsCheckIsNotConfirmed) {
    editorActions.checkExits = [] { return 0; };
    Run("key F2\ntype REFUSED\nkey Enter\n");
    EXPECT_TRUE(testkit::ReadFileBytes(Saved("REFUSED.WAD")).empty());
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
