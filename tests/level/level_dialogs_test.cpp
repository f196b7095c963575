#include <gtest/gtest.h>

#include "level/level_dialogs.h"
#include "shell/fatal.h"
#include "support/testkit.h"

namespace {

TEST(ConsoleLevelDialogsTest, QuestionsAreAnsweredOnTheConsole) {
    testkit::ConsoleCapture console("y\nn\nmy level.wad\nmy.wad\n\n7\n300\n");
    SetLevelDialogs(nullptr);
    LevelDialogs& d = Dialogs();
    EXPECT_EQ(d.ConfirmYes("Rebuild NODES ?", ""), 1);
    EXPECT_EQ(d.ConfirmYes("Clear REJECT ?", "(N copies old)"), 0);
    char name[44] = "/tmp/E1M1.WAD";
    EXPECT_EQ(d.PathEntry("New WAD file Name", 43, name), 0);   // a blank is not allowed
    EXPECT_STREQ(name, "/tmp/E1M1.WAD");
    EXPECT_EQ(d.PathEntry("New WAD file Name", 43, name), 1);
    EXPECT_STREQ(name, "MY.WAD");                               // typed text arrives in upper case
    EXPECT_EQ(d.PathEntry("New WAD file Name", 43, name), 1);   // Enter keeps the name
    EXPECT_STREQ(name, "MY.WAD");
    std::vector<NumberField> fields = {{"Skip Every", 0, 100, 0}, {"Pattern", 0, 255, 0}};
    EXPECT_EQ(d.NumberForm("Reject Mask", fields), 0);          // 300 is out of range
    EXPECT_EQ(fields[0].value, 7);
    EXPECT_EQ(fields[1].value, 0);
    std::string out = console.output();
    for (const char* shown : {"(N copies old)", "Press Y to confirm", "Path/Name is not Valid", "Pattern (0..255) [0]"})
        EXPECT_NE(out.find(shown), std::string::npos) << shown;

    // Node building ends the program for the hand-off.
    try {
        d.BuildNodes("/w/~Brel.WAD", "/w/E1M1.WAD", "E1M1");
        ADD_FAILURE() << "returned";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), kExitHandOff);
    }
    EXPECT_NE(console.output().find("/w/~Brel.WAD -> /w/E1M1.WAD"), std::string::npos);
}

}  // namespace
