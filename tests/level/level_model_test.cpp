#include "level_fixture.h"

namespace {

using LevelModelTest = LevelTest;

// The console's dialogs: a question reads a key; a name a line (a blank is
// not allowed, a name keeps the case it was typed in, Enter keeps the name);
// a form its numbers, refusing one out of range; a save's progress a line.
TEST_F(LevelModelTest, ConsoleDialogsAnswerOnTheConsole) {
    testkit::ConsoleCapture console("y\nmy level.wad\nmy.wad\n\n7\n300\n");
    SetLevelDialogs(nullptr);
    LevelDialogs& d = Dialogs();
    EXPECT_EQ(d.ConfirmYes("Clear REJECT ?", "(N copies old)"), 1);
    char name[44] = "/tmp/E1M1.WAD";
    std::string names;
    for (int i = 0; i < 3; ++i)
        names += std::to_string(d.PathEntry("New WAD file Name", 43, name)) + name + " ";
    EXPECT_EQ(names, "0/tmp/E1M1.WAD 1my.wad 1my.wad ");
    std::vector<NumberField> fields = {{"Skip Every", 0, 100, 0}, {"Pattern", 0, 255, 0}};
    EXPECT_EQ(d.NumberForm("Reject Mask", fields), 0);
    EXPECT_EQ(fields[0].value, 7);
    d.ProgressStart("Saving Level to E1M1.WAD", 100000);
    d.ProgressUpdate(100000);
    std::string out = console.output();
    for (const char* shown : {"(N copies old)", "Press Y to confirm", "Path/Name is not Valid", "Pattern (0..255) [0]",
                              "Saving Level to E1M1.WAD\nSaving Level to E1M1.WAD 100%"})
        EXPECT_NE(out.find(shown), std::string::npos) << shown;
}

}  // namespace
