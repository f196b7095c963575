#include <gtest/gtest.h>

#include <filesystem>

#include "support/fault_kit.h"
#include "wad/raw_entries.h"
#include "command_fixture.h"

using namespace wadtest;

namespace {

using BuildTest = WadCommandTest;

// Files in a directory: no temporary file is left behind.
long Files(const std::string& dir) { return std::distance(std::filesystem::directory_iterator(dir), {}); }

TEST_F(BuildTest, BuildAfterReadWritesTheIwadOrderWithNewEntriesLast) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder p;
    AddLevel(p, "E1M2", "pwad").lump("NEWLUMP", "new data").lump("PLAYPAL", Bytes(768, 9));
    ASSERT_GT(Read("p.wad", p), 0);
    std::string shown = Run(CommandBuild, "OUT");
    EXPECT_TRUE(Contains(shown, "Building new Main Wad file " + dir.path() + "OUT.WAD (size "));
    EXPECT_TRUE(Contains(shown, "---  All Done ---"));
    WadBuilder expected("IWAD");
    expected.lump("PLAYPAL", Bytes(768, 9));
    AddLevel(expected, "E1M1", "iwad");
    AddLevel(expected, "E1M2", "pwad").lump("NEWLUMP", "new data");
    EXPECT_EQ(Wad("OUT.WAD").type, "IWAD");
    EXPECT_EQ(Wad("OUT.WAD").lumps, Lumps(expected));
    EXPECT_EQ(Files(dir.path()), 3);   // base.wad, p.wad, OUT.WAD
}

// The file the build would replace is kept whole, and the reason is told.
TEST_F(BuildTest, AFullDiskOrReadOnlyDirectoryIsReportedWithTheSystemsReason) {
    MakeIwad({"E1M1"}, {{"BIGLUMP", Bytes(20000, 5)}});
    const std::string disk = dir.file("disk/");
    std::filesystem::create_directory(disk);
    const struct { bool readOnly; std::vector<std::string> shown; } cases[] = {
        {false, {" write 0 left for ", "(No space left on device)|kept"}},
        {true, {"Unable to open : " + disk + "OUT.WAD (Read-only file system)|kept"}},
    };
    for (const auto& c : cases) {
        testkit::ChildOutcome run = testkit::RunInChild([&] {
            if (!testkit::MountSmallDisk(disk, 2 * 4096))
                return std::string("no mount");
            testkit::WriteFileBytes(disk + "OUT.WAD", Text("old contents"));
            if (c.readOnly && !testkit::MakeDiskReadOnly(disk))
                return std::string("no mount");
            std::string shown;
            std::string ended = testkit::ExitOf([&] { shown = Run(CommandBuild, disk + "OUT"); });
            bool kept = ReadFileBytes(disk + "OUT.WAD") == Text("old contents") && Files(disk) == 1;
            return (ended.empty() ? shown : ended) + (kept ? "|kept" : "|changed");
        });
        if (run.report == "no mount")
            GTEST_SKIP() << "this system allows no private file system";
        for (const std::string& part : c.shown)
            EXPECT_TRUE(Contains(run.report, part)) << run.report;
    }
}

TEST_F(BuildTest, TargetsThatAreOpenWadFilesAreRefused) {
    MakeIwad({"E1M1"});
    ASSERT_GT(Read("p.wad", WadBuilder().lump("RAWDATA", "raw")), 0);
    testkit::WriteFileBytes(dir.file("DATA.RAW"), Text("xyz"));
    Bytes iwad = ReadFileBytes(dir.file("base.wad")), pwad = ReadFileBytes(dir.file("p.wad"));
    const std::pair<void (*)(CommandWords&), std::string> cases[] = {
        {CommandBuild, dir.path() + "./BASE.WAD"},   // the IWAD by another name
        {CommandGroup, "P"},
        {CommandSave, "PLAYPAL P.WAD"},
        {CommandInsert, dir.path() + "DATA.RAW P"},
        {CommandDirM, "* " + dir.file("P.WAD")},
    };
    for (const auto& [command, words] : cases)
        EXPECT_TRUE(Contains(Run(command, words, "Y\n"), "is in use here and cannot be overwritten.")) << words;
    EXPECT_EQ(ReadFileBytes(dir.file("base.wad")), iwad);
    EXPECT_EQ(ReadFileBytes(dir.file("p.wad")), pwad);
}

TEST_F(BuildTest, GroupTakesEveryReadLevelAndOnRequestTheOtherEntries) {
    MakeIwad({"E1M1", "E1M2", "E1M3"});
    EXPECT_TRUE(Contains(Run(CommandGroup, "G"), "You have not read any PWAD files to group."));
    EXPECT_FALSE(Exists("G.WAD"));
    WadBuilder a, b, expected;
    AddLevel(a, "E1M1", "a");
    AddLevel(a, "E1M3", "a").lump("MYTEX", "texture");
    ASSERT_GT(Read("a.wad", a), 0);
    ASSERT_GT(Read("b.wad", AddLevel(b, "E1M2", "b")), 0);
    // A later PWAD that replaces one lump of a level still belongs to it.
    ASSERT_GT(Read("things.wad", WadBuilder().lump("THINGS", "better things")), 0);
    expected.lump("E1M1").lump("THINGS", "better things");
    for (size_t i = 1; i < 10; ++i)
        expected.lump(testkit::kLevelLumps[i], std::string("E1M1/") + testkit::kLevelLumps[i] + "/a");
    AddLevel(expected, "E1M2", "b");
    AddLevel(expected, "E1M3", "a");

    std::string shown = Run(CommandGroup, "LEVELS", "N\n");
    EXPECT_TRUE(Contains(shown, "Building compound Patch Wad file " + dir.path() + "LEVELS.WAD"));
    EXPECT_EQ(Wad("LEVELS.WAD").type, "PWAD");
    EXPECT_EQ(Wad("LEVELS.WAD").lumps, Lumps(expected));
    // The question is asked again until the answer is yes or no.
    shown = Run(CommandGroup, "ALL", "maybe\ny\n");
    EXPECT_EQ(Count(shown, "Include Extra Data [y/n] > "), 2u);
    EXPECT_EQ(Wad("ALL.WAD").lumps, Lumps(expected.lump("MYTEX", "texture")));
}

TEST_F(BuildTest, XtractInsertAndSaveCarryOneEntryByteForByte) {
    Bytes palette(768);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<uint8_t>(i * 7);
    MakeIwad({"E1M1"}, {{"COLORS", palette}});
    std::string shown = Run(CommandXtract, "COLORS PAL");
    EXPECT_TRUE(Contains(shown, "Saving directory entry COLORS data to " + dir.path() + "PAL.RAW"));
    EXPECT_EQ(ReadFileBytes(dir.file("PAL.RAW")), palette);
    shown = Run(CommandInsert, "PAL.RAW NEWPAL");
    EXPECT_TRUE(Contains(shown, "Including new object NEWPAL in file " + dir.path() + "NEWPAL.WAD"));
    EXPECT_EQ(Wad("NEWPAL.WAD").lumps, Lumps(WadBuilder().lump("NEWPAL", palette)));

    EXPECT_TRUE(Contains(Run(CommandInsert, "NOFILE.RAW X"), "Input file NOFILE.RAW not found"));
    EXPECT_FALSE(Exists("X.WAD"));
    // XTRACT never writes a WAD name, and nothing for a missing entry.
    for (auto names : {std::make_pair("/w/LEVEL.WAD", "/w/LEVEL.RAW"), {"/w/L.LMP", "/w/L.LMP"}, {"/a.b/c", "/a.b/c.RAW"}})
        EXPECT_EQ(RawTargetName(names.first), names.second);
    EXPECT_TRUE(Contains(Run(CommandXtract, "NOPE PAL"), "Entry NOPE not Found"));
    EXPECT_EQ(ReadFileBytes(dir.file("PAL.RAW")), palette);

    // SAVE writes one entry as a PWAD, under its own name or the one given.
    shown = Run(CommandSave, "THINGS MYT MYTHINGS");
    EXPECT_TRUE(Contains(shown, "Saving directory entry THINGS MYTHINGS to " + dir.path() + "MYT.WAD"));
    EXPECT_EQ(Wad("MYT.WAD").lumps, Lumps(WadBuilder().lump("MYTHINGS", "E1M1/THINGS/iwad")));
    Run(CommandSave, "things T2");
    EXPECT_EQ(Wad("T2.WAD").names(), std::vector<std::string>{"THINGS"});
    EXPECT_TRUE(Contains(Run(CommandSave, "THINGS T3 LONGERNAME"), "maxname length is 8"));
    EXPECT_FALSE(Exists("T3.WAD"));
}

}  // namespace
