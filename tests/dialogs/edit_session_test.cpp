// The edit dialogs through the editor's keys on Freedoom's MAP01: Enter on
// the highlighted object, the change seen in the level, in the info panel
// and in the saved PWAD; a click on a panel going to its field; J.
#include "editor/editor_session.h"
#include "dialogs/edit_objects.h"
#include "support/screen_text.h"

namespace editor_test {
namespace {

const std::string kClear = "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\n";

class EditSessionTest : public EditorSession {
protected:
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped())
            return;
        InstallEditDialogs();
        config.infoObjects = config.infoPicture = 1;
        config.menuNesting = 1;
    }
};

TEST_F(EditSessionTest, EnterEditsTheHighlightedLineDefAndTheSaveKeepsIt) {
    // N highlights the next LineDef; its tag becomes 42 through the tag entry.
    ASSERT_EQ(Run("key L\nkey N\nkey Enter\nkey 4\n" + kClear +
                  "type 42\nkey Enter\nkey Esc\nkey F2\ntype EDITED\nkey Enter\nwait 0\n"),
              kScriptEnded);
    int n = selection.current;
    ASSERT_GE(n, 0);
    EXPECT_EQ(level.lineDefs[n].tag, 42);
    EXPECT_EQ(lastTag, 42);
    ASSERT_EQ(infoPanels.panels[0].object, n);
    EXPECT_TRUE(testkit::PanelLine(infoPanels.panels[0], 3, "Sector Tag :  42 ("));
    testkit::Bytes lineDefs = Saved("EDITED.WAD").data("LINEDEFS");
    ASSERT_GE(lineDefs.size(), (n + 1) * sizeof(LineDef));
    EXPECT_EQ(reinterpret_cast<const LineDef*>(lineDefs.data())[n].tag, 42);
}

// A click on the Sector panel's floor goes to the floor flat; J asks for a
// number and highlights that object.
TEST_F(EditSessionTest, AClickOnTheSectorPanelsFloorGoesToTheFlatAndJumpToAnObject) {
    ASSERT_EQ(Run("key S\nkey N\nwait 0\n"), kScriptEnded);
    const PanelRect flats = infoPanels.panels[1];
    int sector = flats.object;
    ASSERT_TRUE(sector >= 0 && flats.x1 < flats.x2);
    std::string floor = std::to_string(flats.x1 + 8) + " " +
                        std::to_string(flats.y2 - 8 + kMenuBarHeight);
    ASSERT_EQ(Run("key S\nkey N\nmove " + floor + "\nclick left " + floor + "\n" + kClear + kClear +
                  "type CEIL5_1\nkey Enter\n" + kIdle + "key V\nkey J\n" + kClear +
                  "type 17\nkey Enter\nwait 0\n"),
              kScriptEnded);
    EXPECT_EQ(std::string(level.sectors[sector].floorTexture, 7), "CEIL5_1");
    EXPECT_EQ(selection.current, 17);
    EXPECT_EQ(infoPanels.panels[0].object, 17);
}

}  // namespace
}  // namespace editor_test
