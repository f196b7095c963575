// Saving from the editor through the real dialogs, and leaving with unsaved
// changes.
#include <algorithm>

#include "editor_session.h"
#include "support/screen_text.h"
#include "ui/message_panel.h"

namespace editor_test {
namespace {

// In Things mode Ins is the edit: it adds a Thing at the pointer.
class SaveTest : public EditorSession {
protected:
    testkit::WadContents Saved(const char* name) {
        return testkit::ReadWad(session->Dir().file(name));
    }
};

// Events that change nothing leave the level unchanged: F2 then asks
// nothing about nodes and writes every lump as the IWAD holds it. After Ins,
// F2 writes MAP01's Things and one more (the other lumps as the restored
// level's save checks them); the level counts as saved, so Esc leaves
// without asking.
TEST_F(SaveTest, F2WritesTheLevelAndEscAsksAboutChangesNotSaved) {
    ASSERT_EQ(Run("wait 0\n"), kScriptEnded);
    const std::string onLine = MiddleOf(0);
    const std::string f9 = session->Dir().file("f9.png");
    ASSERT_EQ(Run("key F9\nkey Esc\nsnapshot " + f9 + "\nkey L\nclick right " + onLine + "\n" + kIdle +
                  "move 10 100\nmove 300 200\nmove " + onLine +
                  "\nkey Tab\nkey F2\ntype SAME\nkey Enter\nkey N\nwait 0\n"),
              kScriptEnded);
    // The Object menu (F9) switched to LineDefs mode and said so.
    EXPECT_TRUE(testkit::SnapshotShowsText(f9, "Now in LineDefs mode: the predefined shapes are LineDefs"));
    testkit::WadContents map01 = testkit::ReadWad(iwad), wad = Saved("SAME.WAD");
    for (const char* lump : testkit::kLevelLumps)
        EXPECT_TRUE(wad.data(lump) == map01.data(lump)) << lump;

    EXPECT_EQ(Run("key Ins\nkey F2\ntype EDITED\nkey Enter\nkey Esc\n"), 0);
    const testkit::Bytes things = map01.data("THINGS"), saved = Saved("EDITED.WAD").data("THINGS");
    ASSERT_EQ(saved.size(), things.size() + sizeof(Thing));
    EXPECT_TRUE(std::equal(things.begin(), things.end(), saved.begin()));

    // Leaving with unsaved changes asks first: No (Esc, or Enter after a stray
    // Esc: No has the focus) goes on with the change; Yes leaves.
    Run("wait 0\n");
    Pixels plain = MapArea(shown);
    EXPECT_EQ(Run("key Ins\nkey Esc\n"), kScriptEnded);
    EXPECT_NE(MapArea(shown), plain);   // the question
    for (const char* no : {"key Esc\n", "key Enter\n"}) {
        EXPECT_EQ(Run(std::string("key Ins\nkey Esc\n") + no), kScriptEnded) << no;
        EXPECT_TRUE(level.levelChanged && graphics.graphicsMode != 0) << no;
    }
    EXPECT_EQ(Run("key Ins\nkey Esc\nkey Y\n"), 0);
    EXPECT_EQ(graphics.graphicsMode, 0);
}

// After F2 a notice over the map says the level is saved, for a while: it
// comes down when its time is up or at the next key, and the map is whole
// again. Saved a second time over its own file, whose old row the save then
// frees, the notice still names the file.
TEST_F(SaveTest, F2SaysForAWhileThatTheLevelIsSavedAndF3SavesItAsAnother) {
    // F3 saves the level under another name and edits that level next.
    EXPECT_EQ(Run("key F3\nkey Down\nkey Enter\ntype SAVEAS\nkey Enter\nwait 0\n"), kScriptEnded);
    testkit::WadContents wad = Saved("SAVEAS.WAD");
    ASSERT_EQ(wad.lumps.size(), 11u);
    EXPECT_EQ(wad.lumps[0].name, "MAP02");
    EXPECT_STREQ(level.name, "MAP02");
    EXPECT_EQ(wad.data("THINGS"), testkit::ReadWad(iwad).data("THINGS"));   // MAP01's Things
    const struct {
        const char* after;   // the events after the save
        bool shown;
    } cases[] = {
        {"wait 400\nwait 0\n", true},
        {"wait 1500\nwait 0\n", false},
        {"key [\nwait 0\n", false},   // a key that leaves the map alone
    };
    const std::string edit = "key Ins\nkey Alt-Z\nmove 600 300\n";   // the pointer off the notice
    for (const auto& c : cases) {
        SCOPED_TRACE(c.after);
        TearDown();   // a fresh session: nothing saved yet
        SetUp();
        const std::string shot = session->Dir().file("notice.png");
        Run(edit + "key Ins\nwait 0\n");   // the new Things drawn
        Pixels unsaved = MapArea(shown);
        Run(edit + "key F2\ntype EDITED\nkey Enter\nkey Ins\nkey F2\nkey Enter\n" + c.after + "snapshot " + shot +
            "\n");
        ASSERT_FALSE(Saved("EDITED.WAD").lumps.empty());
        EXPECT_EQ(notice.shown, c.shown);
        EXPECT_EQ(MapArea(shown) != unsaved, c.shown);
        EXPECT_EQ(testkit::SnapshotShowsText(shot, "MAP01 saved to EDITED.WAD"), c.shown);
    }
}

}  // namespace
}  // namespace editor_test
