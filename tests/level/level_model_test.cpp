#include "level_fixture.h"

namespace {

using LevelModelTest = LevelTest;

// Arrays grow keeping their records and never shrink below zero; references
// outside them give nothing.
TEST_F(LevelModelTest, ArraysGrowAndReferencesOutsideThemGiveNothing) {
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

    AllocateArray(level.sideDefs, 4, 2);
    AllocateArray(level.sectors, 4, 1);
    level.sideDefs[1].sector = 7;
    EXPECT_EQ(SectorAt(SideDefAt(0)->sector), &level.sectors[0]);
    EXPECT_EQ(SectorAt(SideDefAt(1)->sector), nullptr);   // no such Sector
    EXPECT_EQ(SideDefAt(-1), nullptr);                     // a one-sided LineDef's missing side
    EXPECT_EQ(SideDefAt(2), nullptr);   // allocated but not in use
    EXPECT_STREQ(ObjectTypeName(11), "<?unknown>?");
}

// The console's dialogs: a question reads a key; a name a line (a blank is
// not allowed, a name keeps the case it was typed in, Enter keeps the name);
// a form its numbers, refusing one out of range. Without a terminal a save's
// progress is a line at most every tenth of the work, however often it
// reports.
TEST_F(LevelModelTest, ConsoleDialogsAnswerOnTheConsoleAndPaceTheProgress) {
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
    for (int32_t done = 0; done <= 100000; done += 7)
        d.ProgressUpdate(done);
    d.ProgressUpdate(100000);
    d.ProgressEnd();
    std::string out = console.output();
    for (const char* shown : {"(N copies old)", "Press Y to confirm", "Path/Name is not Valid", "Pattern (0..255) [0]",
                              "Saving Level to E1M1.WAD\nSaving Level to E1M1.WAD  10%\n", "E1M1.WAD 100%"})
        EXPECT_NE(out.find(shown), std::string::npos) << shown;
    EXPECT_EQ(testkit::Count(out, "Saving Level to E1M1.WAD"), 11u) << out;
}

}  // namespace
