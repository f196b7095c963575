#include <gtest/gtest.h>

#include <filesystem>

#include "shell/fatal.h"
#include "wad/commands.h"
#include "wad/raw_entries.h"
#include "command_fixture.h"

using namespace wadtest;
using testkit::ParseWad;
using testkit::ReadFileBytes;

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
};

TEST_F(BuildTest, BuildAfterReadWritesTheIwadOrderWithNewEntriesLast) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder p;
    AddLevel(p, "E1M2", "pwad").lump("NEWLUMP", "new data").lump("PLAYPAL", Bytes(768, 9));
    p.write(dir.file("p.wad"));
    ASSERT_GT(Read("p.wad"), 0);

    std::string shown = Run(CommandBuild, "OUT");
    EXPECT_TRUE(Contains(shown, "Building new Main Wad file " + dir.path() + "OUT.WAD (size "));
    EXPECT_TRUE(Contains(shown, "---  All Done ---"));
    WadBuilder expected("IWAD");
    expected.lump("PLAYPAL", Bytes(768, 9));
    AddLevel(expected, "E1M1", "iwad");
    AddLevel(expected, "E1M2", "pwad").lump("NEWLUMP", "new data");
    testkit::WadContents built = Wad("OUT.WAD");
    EXPECT_EQ(built.type, "IWAD");
    EXPECT_EQ(built.lumps, ParseWad(expected.bytes()).lumps);
    EXPECT_TRUE(FilesStartingWith("OUT.WAD.").empty());   // no temporary file left
}

TEST_F(BuildTest, AFailureWhileWritingKeepsTheOldFileAndLeavesNoTemporary) {
    MakeIwad({"E1M1"});
    WadBuilder().lump("BIGLUMP", Bytes(5000, 3)).write(dir.file("p.wad"));
    ASSERT_GT(Read("p.wad"), 0);
    // The PWAD loses its data after it was read: copying it must fail.
    Bytes damaged = ReadFileBytes(dir.file("p.wad"));
    damaged.resize(100);
    testkit::WriteFileBytes(dir.file("p.wad"), damaged);
    testkit::WriteFileBytes(dir.file("OUT.WAD"), Text("old contents"));

    EXPECT_THROW(Run(CommandBuild, "OUT"), ProgramExit);
    EXPECT_EQ(ReadFileBytes(dir.file("OUT.WAD")), Text("old contents"));
    EXPECT_EQ(FilesStartingWith("OUT.WAD"), std::vector<std::string>{"OUT.WAD"});
}

TEST_F(BuildTest, TargetsThatAreOpenWadFilesAreRefused) {
    MakeIwad({"E1M1"});
    WadBuilder().lump("RAWDATA", "raw").write(dir.file("p.wad"));
    ASSERT_GT(Read("p.wad"), 0);
    testkit::WriteFileBytes(dir.file("DATA.RAW"), Text("xyz"));
    Bytes iwad = ReadFileBytes(dir.file("base.wad"));
    Bytes pwad = ReadFileBytes(dir.file("p.wad"));

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
    EXPECT_EQ(ReadFileBytes(dir.file("base.wad")), iwad);
    EXPECT_EQ(ReadFileBytes(dir.file("p.wad")), pwad);
}

TEST_F(BuildTest, GroupTakesEveryReadLevelAndOnRequestTheOtherEntries) {
    MakeIwad({"E1M1", "E1M2", "E1M3"});
    EXPECT_TRUE(Contains(Run(CommandGroup, "G"), "You have not read any PWAD files to group."));
    EXPECT_FALSE(Exists("G.WAD"));
    WadBuilder a;
    AddLevel(a, "E1M1", "a");
    AddLevel(a, "E1M3", "a").lump("MYTEX", "texture");
    a.write(dir.file("a.wad"));
    WadBuilder b;
    AddLevel(b, "E1M2", "b").write(dir.file("b.wad"));
    ASSERT_GT(Read("a.wad"), 0);
    ASSERT_GT(Read("b.wad"), 0);
    WadBuilder expected;
    AddLevel(expected, "E1M1", "a");
    AddLevel(expected, "E1M2", "b");
    std::vector<testkit::WadLump> levels = ParseWad(AddLevel(expected, "E1M3", "a").bytes()).lumps;

    std::string shown = Run(CommandGroup, "LEVELS", "N\n");
    EXPECT_TRUE(Contains(shown, "Building compound Patch Wad file " + dir.path() + "LEVELS.WAD"));
    EXPECT_EQ(Wad("LEVELS.WAD").type, "PWAD");
    EXPECT_EQ(Wad("LEVELS.WAD").lumps, levels);
    // No answer at all (the input has ended) means no extra data.
    Run(CommandGroup, "NOANSWER", "");
    EXPECT_EQ(Wad("NOANSWER.WAD").lumps, levels);
    // The question is asked again until the answer is yes or no.
    shown = Run(CommandGroup, "ALL", "maybe\ny\n");
    EXPECT_EQ(Count(shown, "Include Extra Data [y/n] > "), 2u);
    levels.push_back({"MYTEX", Text("texture")});
    EXPECT_EQ(Wad("ALL.WAD").lumps, levels);

    // A later PWAD that replaces one lump of a level still belongs to it.
    WadBuilder().lump("THINGS", "better things").write(dir.file("things.wad"));
    ASSERT_GT(Read("things.wad"), 0);
    Run(CommandGroup, "G4", "N\n");
    testkit::WadContents g4 = Wad("G4.WAD");
    ASSERT_EQ(g4.lumps.size(), 33u);
    EXPECT_EQ(g4.lumps[1].data, Text("better things"));
}

TEST_F(BuildTest, XtractThenInsertGivesTheSameBytesBack) {
    Bytes palette(768);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<uint8_t>(i * 7);
    MakeIwad({"E1M1"}, {{"COLORS", palette}});

    std::string shown = Run(CommandXtract, "COLORS PAL");
    EXPECT_TRUE(Contains(shown, "Saving directory entry COLORS data to " + dir.path() + "PAL.RAW"));
    EXPECT_EQ(ReadFileBytes(dir.file("PAL.RAW")), palette);

    shown = Run(CommandInsert, "PAL.RAW NEWPAL");
    EXPECT_TRUE(Contains(shown, "Including new object NEWPAL in file " + dir.path() + "NEWPAL.WAD"));
    Bytes expected = Text("PWAD");
    for (int32_t field : {1, 12, 28, 768})
        testkit::PutLE32(expected, field);
    for (char c : std::string("NEWPAL\0\0", 8))
        expected.push_back(static_cast<uint8_t>(c));
    expected.insert(expected.end(), palette.begin(), palette.end());
    EXPECT_EQ(ReadFileBytes(dir.file("NEWPAL.WAD")), expected);

    EXPECT_TRUE(Contains(Run(CommandInsert, "NOFILE.RAW X"), "Input file NOFILE.RAW not found"));
    EXPECT_FALSE(Exists("X.WAD"));

    // XTRACT never writes a WAD name, and nothing for a missing entry.
    for (auto names : {std::make_pair("/w/LEVEL.WAD", "/w/LEVEL.RAW"), {"/w/L.LMP", "/w/L.LMP"},
                       {"/a.b/c", "/a.b/c.RAW"}})
        EXPECT_EQ(RawTargetName(names.first), names.second);
    Run(CommandXtract, "COLORS LEVEL.WAD");
    EXPECT_TRUE(Exists("LEVEL.RAW"));
    EXPECT_FALSE(Exists("LEVEL.WAD"));
    EXPECT_TRUE(Contains(Run(CommandXtract, "NOPE PAL"), "Entry NOPE not Found"));
    EXPECT_EQ(ReadFileBytes(dir.file("PAL.RAW")), palette);
    EXPECT_TRUE(Contains(Run(CommandXtract, "THINGSTOO X"), "maxname length is 8"));
}

TEST_F(BuildTest, SaveWritesOneEntryUnderItsOwnOrTheGivenName) {
    MakeIwad({"E1M1", "E1M2"});
    std::string shown = Run(CommandSave, "THINGS MYT MYTHINGS");
    EXPECT_TRUE(Contains(shown, "Saving directory entry THINGS MYTHINGS to " + dir.path() + "MYT.WAD"));
    testkit::WadContents saved = Wad("MYT.WAD");
    EXPECT_EQ(saved.type, "PWAD");
    EXPECT_EQ(saved.lumps, (std::vector<testkit::WadLump>{{"MYTHINGS", Text("E1M1/THINGS/iwad")}}));
    Run(CommandSave, "things T2");
    EXPECT_EQ(Wad("T2.WAD").names(), std::vector<std::string>{"THINGS"});

    EXPECT_TRUE(Contains(Run(CommandSave, "THINGS T3 LONGERNAME"), "maxname length is 8"));
    EXPECT_FALSE(Exists("T3.WAD"));
    EXPECT_TRUE(Contains(Run(CommandSave, "THINGS"), "WAD File name missing"));
}

}  // namespace
