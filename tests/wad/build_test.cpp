#include <gtest/gtest.h>

#include <filesystem>

#include "shell/fatal.h"
#include "wad/build.h"
#include "wad/commands.h"
#include "wad/listing.h"
#include "wad/raw_entries.h"
#include "command_fixture.h"

using namespace wadtest;

namespace {

class BuildTest : public WadCommandTest {
protected:
    // Files in the scratch directory whose names begin with prefix.
    std::vector<std::string> FilesStartingWith(const std::string& prefix) {
        std::vector<std::string> found;
        for (const auto& f : std::filesystem::directory_iterator(dir.path())) {
            std::string name = f.path().filename().string();
            if (name.compare(0, prefix.size(), prefix) == 0)
                found.push_back(name);
        }
        return found;
    }
    Bytes IwadLump(const std::string& level, const std::string& lump) {
        return Text(level + "/" + lump + "/iwad");
    }
};

std::vector<std::string> LevelNames(const std::vector<std::string>& levels) {
    std::vector<std::string> names;
    for (const std::string& l : levels) {
        names.push_back(l);
        names.insert(names.end(), testkit::kLevelLumps, testkit::kLevelLumps + 10);
    }
    return names;
}

TEST_F(BuildTest, BuildWritesTheMergedDirectoryInIwadOrderWithNewEntriesLast) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder p;
    AddLevel(p, "E1M2", "pwad").lump("NEWLUMP", "new data").lump("PLAYPAL", Bytes(768, 9));
    p.write(dir.file("p.wad"));
    ASSERT_GT(Read("p.wad"), 0);

    std::string shown = Run(CommandBuild, "OUT");
    EXPECT_TRUE(Contains(shown, "Building new Main Wad file " + dir.path() + "OUT.WAD (size "));
    EXPECT_TRUE(Contains(shown, "---  All Done ---"));

    ParsedWad built = ReadWad("OUT.WAD");
    EXPECT_EQ(built.type, "IWAD");
    std::vector<std::string> expected = {"PLAYPAL"};
    for (const std::string& n : LevelNames({"E1M1", "E1M2"}))
        expected.push_back(n);
    expected.push_back("NEWLUMP");
    ASSERT_EQ(built.names(), expected);
    EXPECT_EQ(built.entries[0].second, Bytes(768, 9));
    for (int k = 0; k < 10; ++k) {
        std::string lump = testkit::kLevelLumps[k];
        EXPECT_EQ(built.entries[2 + k].second, IwadLump("E1M1", lump)) << lump;
        EXPECT_EQ(built.entries[13 + k].second, Text("E1M2/" + lump + "/pwad")) << lump;
    }
    EXPECT_EQ(built.entries.back().second, Text("new data"));
    EXPECT_TRUE(FilesStartingWith("OUT.WAD.").empty());   // no temporary file left
}

TEST_F(BuildTest, AFailureWhileWritingKeepsTheOldFileAndLeavesNoTemporary) {
    MakeIwad({"E1M1"});
    WadBuilder().lump("BIGLUMP", Bytes(5000, 3)).write(dir.file("p.wad"));
    ASSERT_GT(Read("p.wad"), 0);
    // The PWAD loses its data after it was read: copying it must fail.
    Bytes damaged = testkit::ReadFileBytes(dir.file("p.wad"));
    damaged.resize(100);
    testkit::WriteFileBytes(dir.file("p.wad"), damaged);
    testkit::WriteFileBytes(dir.file("OUT.WAD"), Text("old contents"));

    EXPECT_THROW(Run(CommandBuild, "OUT"), ProgramExit);
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("OUT.WAD")), Text("old contents"));
    EXPECT_EQ(FilesStartingWith("OUT.WAD"), std::vector<std::string>{"OUT.WAD"});
}

TEST_F(BuildTest, TargetsThatAreOpenWadFilesAreRefused) {
    MakeIwad({"E1M1"});
    WadBuilder().lump("RAWDATA", "raw").write(dir.file("p.wad"));
    ASSERT_GT(Read("p.wad"), 0);
    testkit::WriteFileBytes(dir.file("DATA.RAW"), Text("xyz"));
    Bytes iwad = testkit::ReadFileBytes(dir.file("base.wad"));
    Bytes pwad = testkit::ReadFileBytes(dir.file("p.wad"));

    struct Case {
        void (*command)(CommandWords&);
        std::string words;
    } cases[] = {
        {CommandBuild, "BASE"},
        {CommandBuild, dir.path() + "./BASE.WAD"},   // the same file by another name
        {CommandGroup, "P"},
        {CommandSave, "PLAYPAL P.WAD"},
        {CommandInsert, dir.path() + "DATA.RAW P"},
        {CommandDirM, "* " + dir.file("P.WAD")},
    };
    for (const Case& c : cases) {
        std::string shown = Run(c.command, c.words, "Y\n");
        EXPECT_TRUE(Contains(shown, "is in use here and cannot be overwritten.")) << c.words;
    }
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("base.wad")), iwad);
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("p.wad")), pwad);
}

TEST_F(BuildTest, GroupTakesTheLevelsAndOnRequestTheOtherEntries) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder a;
    AddLevel(a, "E1M1", "a").lump("MYTEX", "texture");
    a.write(dir.file("a.wad"));
    WadBuilder b;
    AddLevel(b, "E1M2", "b");
    b.write(dir.file("b.wad"));
    ASSERT_GT(Read("a.wad"), 0);
    ASSERT_GT(Read("b.wad"), 0);

    std::string shown = Run(CommandGroup, "LEVELS", "N\n");
    EXPECT_TRUE(Contains(shown, "Building compound Patch Wad file " + dir.path() + "LEVELS.WAD"));
    ParsedWad levels = ReadWad("LEVELS.WAD");
    EXPECT_EQ(levels.type, "PWAD");
    EXPECT_EQ(levels.names(), LevelNames({"E1M1", "E1M2"}));
    EXPECT_EQ(levels.entries[1].second, Text("E1M1/THINGS/a"));
    EXPECT_EQ(levels.entries[21].second, Text("E1M2/BLOCKMAP/b"));

    // The question is asked again until the answer is yes or no.
    shown = Run(CommandGroup, "ALL", "maybe\ny\n");
    std::vector<std::string> all = LevelNames({"E1M1", "E1M2"});
    all.push_back("MYTEX");
    EXPECT_EQ(ReadWad("ALL.WAD").names(), all);
    size_t first = shown.find("Include Extra Data [y/n] > ");
    EXPECT_NE(shown.find("Include Extra Data [y/n] > ", first + 1), std::string::npos);

    // No answer at all (the input has ended) means no extra data.
    Run(CommandGroup, "NOANSWER", "");
    EXPECT_EQ(ReadWad("NOANSWER.WAD").names(), LevelNames({"E1M1", "E1M2"}));
}

TEST_F(BuildTest, GroupKeepsEveryLevelOfAPwadAndLumpsReplacedByLaterPwads) {
    MakeIwad({"E1M1", "E1M2", "E1M3"});
    WadBuilder three;
    AddLevel(three, "E1M1", "p");
    AddLevel(three, "E1M2", "p");
    AddLevel(three, "E1M3", "p");
    three.write(dir.file("three.wad"));
    WadBuilder().lump("THINGS", "better things").write(dir.file("things.wad"));
    ASSERT_GT(Read("three.wad"), 0);
    Run(CommandGroup, "G3", "N\n");
    EXPECT_EQ(ReadWad("G3.WAD").names(), LevelNames({"E1M1", "E1M2", "E1M3"}));

    // A later PWAD that replaces one lump of the level still belongs to it.
    ASSERT_GT(Read("things.wad"), 0);
    Run(CommandGroup, "G4", "N\n");
    ParsedWad g4 = ReadWad("G4.WAD");
    ASSERT_EQ(g4.entries.size(), 33u);
    EXPECT_EQ(g4.entries[1].second, Text("better things"));
}

TEST_F(BuildTest, GroupNeedsAReadPwad) {
    MakeIwad({"E1M1"});
    EXPECT_TRUE(Contains(Run(CommandGroup, "G"), "You have not read any PWAD files to group."));
    EXPECT_FALSE(Exists("G.WAD"));
}

TEST_F(BuildTest, XtractThenInsertGivesTheSameBytesBack) {
    Bytes palette(768);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<uint8_t>(i * 7);
    MakeIwad({"E1M1"}, {{"COLORS", palette}});

    std::string shown = Run(CommandXtract, "COLORS PAL");
    EXPECT_TRUE(Contains(shown, "Saving directory entry COLORS data to " + dir.path() + "PAL.RAW"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("PAL.RAW")), palette);

    shown = Run(CommandInsert, "PAL.RAW NEWPAL");
    EXPECT_TRUE(Contains(shown, "Including new object NEWPAL in file " + dir.path() + "NEWPAL.WAD"));
    Bytes expected = Text("PWAD");
    testkit::PutLE32(expected, 1);
    testkit::PutLE32(expected, 12);
    testkit::PutLE32(expected, 28);
    testkit::PutLE32(expected, 768);
    for (char c : std::string("NEWPAL\0\0", 8))
        expected.push_back(static_cast<uint8_t>(c));
    expected.insert(expected.end(), palette.begin(), palette.end());
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("NEWPAL.WAD")), expected);

    EXPECT_TRUE(Contains(Run(CommandInsert, "NOFILE.RAW X"), "Input file NOFILE.RAW not found"));
    EXPECT_FALSE(Exists("X.WAD"));
}

TEST_F(BuildTest, XtractWritesRawNames) {
    MakeIwad({"E1M1"});
    Run(CommandXtract, "THINGS LEVEL.WAD");
    EXPECT_TRUE(Exists("LEVEL.RAW"));
    EXPECT_FALSE(Exists("LEVEL.WAD"));
    Run(CommandXtract, "THINGS LEVEL2");
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("LEVEL2.RAW")), IwadLump("E1M1", "THINGS"));
    Run(CommandXtract, "THINGS LEVEL3.LMP");
    EXPECT_TRUE(Exists("LEVEL3.LMP"));
    EXPECT_EQ(RawTargetName("/a.b/c"), "/a.b/c.RAW");

    // A missing entry leaves an existing file as it was.
    testkit::WriteFileBytes(dir.file("KEEP.RAW"), Text("keep"));
    EXPECT_TRUE(Contains(Run(CommandXtract, "NOPE KEEP"), "Entry NOPE not Found"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("KEEP.RAW")), Text("keep"));
    EXPECT_TRUE(Contains(Run(CommandXtract, "THINGSTOO X"), "maxname length is 8"));
}

TEST_F(BuildTest, SaveWritesOneEntryUnderItsOwnOrTheGivenName) {
    MakeIwad({"E1M1", "E1M2"});
    std::string shown = Run(CommandSave, "THINGS MYT MYTHINGS");
    EXPECT_TRUE(Contains(shown, "Saving directory entry THINGS MYTHINGS to " + dir.path() + "MYT.WAD"));
    ParsedWad saved = ReadWad("MYT.WAD");
    EXPECT_EQ(saved.type, "PWAD");
    ASSERT_EQ(saved.names(), std::vector<std::string>{"MYTHINGS"});
    EXPECT_EQ(saved.entries[0].second, IwadLump("E1M1", "THINGS"));

    Run(CommandSave, "things T2");
    EXPECT_EQ(ReadWad("T2.WAD").names(), std::vector<std::string>{"THINGS"});

    EXPECT_TRUE(Contains(Run(CommandSave, "THINGS T3 LONGERNAME"), "maxname length is 8"));
    EXPECT_FALSE(Exists("T3.WAD"));
    EXPECT_TRUE(Contains(Run(CommandSave, "THINGS"), "WAD File name missing"));
}

}  // namespace
