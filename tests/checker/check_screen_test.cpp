// The checker on the headless screen: the verification dialog's two ways
// out, the Check menu, and the exits and starts check and the box of what
// the game cannot load that every save key runs first.
#include <gtest/gtest.h>

#include "base/fatal.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/editor_fixture.h"
#include "editor/menu_bar.h"
#include "checker/check_dialogs.h"
#include "menus/check_menu.h"
#include "ui/menus.h"

namespace {

class CheckScreenTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        TwoRooms();
        ComputeMapBounds();
        ZoomToFit();
    }
};

TEST_F(CheckScreenTest, ContinuingStaysAndCancellingShowsTheObject) {
    CheckDialogs& dialogs = ScreenDialogs();
    config.editMode = kObjThing;
    session.Script("key Y");
    EXPECT_TRUE(dialogs.Verify("Sector 1 is not closed!", "", kObjVertex, 5, Severity::Fault));
    EXPECT_EQ(config.editMode, kObjThing);

    session.Script("key Esc");
    EXPECT_FALSE(dialogs.Verify("Sector 1 is not closed!", "", kObjVertex, 5, Severity::Crash));
    EXPECT_EQ(config.editMode, kObjVertex);
    EXPECT_EQ(selection.current, 5);

    // A SideDef is shown by its LineDef: SideDef 9 is the first side of
    // LineDef 6.
    session.Script("key Esc");
    EXPECT_FALSE(dialogs.Verify("SideDef 9, upper", "texture X not found", kObjSideDef, 9, Severity::Fault));
    EXPECT_EQ(config.editMode, kObjLineDef);
    EXPECT_EQ(selection.current, 6);
}

TEST_F(CheckScreenTest, SavesRunTheExitsAndStartsCheckAndStopWhenItIsNotConfirmed) {
    InstallChecker();
    editor.shiftState = 0;
    for (int key : {FKey(2), AltFKey(2), AltFKey(8)}) {
        // No exit (OK), starts missing (Cancel): nothing further is asked,
        // so the script ending there proves that no save began.
        session.ExactScript("key Enter\nkey Esc");
        EXPECT_EQ(EditorKey(key), 0) << key;
    }
    session.ExactScript("key Enter\nkey Y\nkey Y");
    EXPECT_EQ(editorActions.checkExits(), 1);

    // Then the box of what the game cannot load: Continue saves, Cancel
    // shows the first of them (LineDef 2, without its first SideDef).
    level.lineDefs[2].sideDef1 = kNoReference;
    session.ExactScript("key Enter\nkey Y\nkey Y\nkey Y");
    EXPECT_EQ(editorActions.checkExits(), 1);
    session.ExactScript("key Enter\nkey Y\nkey Y\nkey Esc");
    EXPECT_EQ(editorActions.checkExits(), 0);
    EXPECT_EQ(config.editMode, kObjLineDef);
    EXPECT_EQ(selection.current, 2);
}

TEST_F(CheckScreenTest, TheCheckMenuRunsTheChosenItem) {
    InstallChecker();
    level.sectors[0].floorTexture[0] = '-';
    // Item 2, closed Sectors, finds nothing on the two rooms; item 4 asks
    // about the missing flats of Sector 0 and is cancelled there.
    session.ExactScript("key 2");
    EXPECT_EQ(editorActions.checkMenu(0, 0), 0);
    session.ExactScript("key 4\nkey Esc");
    EXPECT_EQ(editorActions.checkMenu(0, 0), 0);
    EXPECT_EQ(config.editMode, kObjSector);
    EXPECT_EQ(selection.current, 0);
    session.ExactScript("key Right");
    EXPECT_EQ(editorActions.checkMenu(0, 0), kMenuNext);
}

}  // namespace
