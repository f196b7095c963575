// What InstallToolkit puts in place: the level dialogs, on the graphics
// screen and on the console.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "level/level_dialogs.h"
#include "toolkit_fixture.h"

namespace {

using InstallTest = toolkit_test::ToolkitTest;

TEST_F(InstallTest, LevelDialogsAskOnTheGraphicsScreen) {
    InstallToolkit();
    session.Script("key Y");
    EXPECT_EQ(Dialogs().ConfirmYes("Rebuild NODES ?", ""), 1);
    std::vector<NumberField> fields = {{"Skip Every", 0, 100, 0}, {"Pattern", 0, 255, 0}};
    // One Enter takes the numbers, from any field.
    session.Script("type 1\nkey Enter");
    EXPECT_EQ(Dialogs().NumberForm("Reject Mask", fields), 1);
    EXPECT_EQ(fields[0].value, 1);
    char name[44] = "E1M1.WAD";
    session.Script("type NEW\nkey Enter");
    EXPECT_EQ(Dialogs().PathEntry("New WAD file Name", 43, name), 1);
    EXPECT_STREQ(name, "NEW");
    // The progress window: its bar, from x 175 to 463, is blue up to its middle.
    Dialogs().ProgressStart("Saving Level to E1M1.WAD", 1000);
    Dialogs().ProgressUpdate(500);
    EXPECT_EQ(toolkit_test::At(180, 250), 1);
    EXPECT_EQ(toolkit_test::At(400, 250), 15);
    Dialogs().ProgressEnd();
    ExpectRestored();
}

TEST(LevelDialogsOnTheConsole, AnswerWhileGraphicsAreDown) {
    testkit::HeadlessSession session("Y\nNEW\n");
    InstallToolkit();
    EXPECT_EQ(Dialogs().ConfirmYes("Rebuild NODES ?", ""), 1);
    char name[44] = "E1M1.WAD";
    EXPECT_EQ(Dialogs().PathEntry("New WAD file Name", 43, name), 1);
    EXPECT_STREQ(name, "NEW");
    EXPECT_NE(session.Console().find("Press Y to confirm"), std::string::npos);
}

}  // namespace
