#include "level_fixture.h"

namespace {

using LevelModelTest = LevelTest;

TEST_F(LevelModelTest, ArraysGrowKeepingTheirRecordsAndNeverShrinkBelowZero) {
    AllocateArray(level.things, 200, 200);
    level.things[199].type = 3004;
    ResizeObject(level, kObjThing, Resize::AddOne);
    EXPECT_EQ(level.things.count, 201);
    EXPECT_EQ(level.things[199].type, 3004);
    ResizeObject(level, kObjVertex, Resize::AddOne);   // an empty lump's array gets room with its first record
    EXPECT_GE(level.vertices.capacity(), 1);
    ResizeObject(level, kObjVertex, Resize::RemoveLast);
    ResizeObject(level, kObjVertex, Resize::RemoveLast);
    EXPECT_EQ(level.vertices.count, 0);
}

TEST_F(LevelModelTest, ReferencesOutsideTheArraysGiveNothing) {
    AllocateArray(level.sideDefs, 4, 2);
    AllocateArray(level.sectors, 4, 1);
    level.sideDefs[1].sector = 7;
    EXPECT_EQ(SectorAt(SideDefAt(0)->sector), &level.sectors[0]);
    EXPECT_EQ(SectorAt(SideDefAt(1)->sector), nullptr);   // no such Sector
    EXPECT_EQ(SideDefAt(-1), nullptr);                     // a one-sided LineDef's missing side
    EXPECT_EQ(SideDefAt(2), nullptr);   // allocated but not in use
    EXPECT_STREQ(ObjectTypeName(11), "<?unknown>?");
}

TEST_F(LevelModelTest, ConsoleDialogsAnswerQuestionsOnTheConsole) {
    testkit::ConsoleCapture console("y\nmy level.wad\nmy.wad\n\n7\n300\n");
    SetLevelDialogs(nullptr);
    LevelDialogs& d = Dialogs();
    EXPECT_EQ(d.ConfirmYes("Clear REJECT ?", "(N copies old)"), 1);
    char name[44] = "/tmp/E1M1.WAD";
    std::string names;
    for (int i = 0; i < 3; ++i)
        names += std::to_string(d.PathEntry("New WAD file Name", 43, name)) + name + " ";
    // A blank is not allowed, a name keeps the case it was typed in, Enter keeps the name.
    EXPECT_EQ(names, "0/tmp/E1M1.WAD 1my.wad 1my.wad ");
    std::vector<NumberField> fields = {{"Skip Every", 0, 100, 0}, {"Pattern", 0, 255, 0}};
    EXPECT_EQ(d.NumberForm("Reject Mask", fields), 0);          // 300 is out of range
    EXPECT_EQ(fields[0].value, 7);
    std::string out = console.output();
    for (const char* shown : {"(N copies old)", "Press Y to confirm", "Path/Name is not Valid", "Pattern (0..255) [0]"})
        EXPECT_NE(out.find(shown), std::string::npos) << shown;
}

// Without a terminal saving's progress is a line at most every tenth of the
// work, however often the save reports.
TEST(ConsoleLevelDialogsProgress, APipedSaveShowsAFewLinesOfPercentages) {
    testkit::ConsoleCapture capture;
    ConsoleLevelDialogs dialogs;
    dialogs.ProgressStart("Saving Level to E1M1.WAD", 100000);
    for (int32_t done = 0; done <= 100000; done += 7)
        dialogs.ProgressUpdate(done);
    dialogs.ProgressUpdate(100000);
    dialogs.ProgressEnd();
    std::istringstream shown(capture.output());
    std::vector<std::string> lines;
    for (std::string line; std::getline(shown, line);)
        if (!line.empty())
            lines.push_back(line);
    ASSERT_EQ(lines.size(), 11u) << capture.output();
    EXPECT_EQ(lines.front(), "Saving Level to E1M1.WAD");
    EXPECT_EQ(lines[1], "Saving Level to E1M1.WAD  10%");
    EXPECT_EQ(lines.back(), "Saving Level to E1M1.WAD 100%");
}

}  // namespace
