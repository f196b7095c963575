// The WAD commands on IWADs and PWADs made for each test: reading PWADs
// into the master directory, the listings and dumps, and the commands that
// write WAD and raw files. Their console is captured.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <regex>

#include "base/command_words.h"
#include "base/config.h"
#include "support/fault_kit.h"
#include "support/session_kit.h"
#include "wad/commands.h"
#include "wad/listing.h"
#include "wad/master.h"
#include "wad/raw_entries.h"

namespace {

using testkit::Bytes;
using testkit::Contains;
using testkit::Count;
using testkit::OpenIwadAt;
using testkit::ReadFileBytes;
using testkit::WadBuilder;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// A level whose lumps hold "<level>/<lump>/<origin>", so that every lump's
// data tells where it came from.
WadBuilder& AddLevel(WadBuilder& b, const std::string& level, const std::string& origin) {
    b.lump(level);
    for (const char* name : testkit::kLevelLumps)
        b.lump(name, level + "/" + name + "/" + origin);
    return b;
}

class WadCommandTest : public testkit::WadSession {
protected:
    // "base.wad": PLAYPAL, the levels, then the extra lumps.
    void MakeIwad(const std::vector<std::string>& levels, const std::vector<std::pair<std::string, Bytes>>& extra = {}) {
        WadBuilder b("IWAD");
        b.lump("PLAYPAL", Bytes(768, 1));
        for (const std::string& l : levels)
            AddLevel(b, l, "iwad");
        for (const auto& e : extra)
            b.lump(e.first, e.second);
        b.write(dir.file("base.wad"));
        OpenIwadAt(dir.file("base.wad"));
    }
    // Writes the PWAD under the file name and reads it; returns its row.
    int Read(const std::string& file, const WadBuilder& wad) {
        wad.write(dir.file(file));
        return ReadPwad(dir.file(file));
    }
    // Runs a command on the words after the command word; returns what it
    // showed. input holds what the console reads: lines of a script, or the
    // keys a person presses.
    std::string Run(void (*command)(CommandWords&), const std::string& words, const std::string& input = "",
                    ConsoleReader reader = ConsoleReader::Script) {
        testkit::ConsoleCapture capture(input, reader);
        CommandWords w(words);
        command(w);
        return capture.output();
    }
    const WadDirEntry& Entry(const char* name) {
        WadDirEntry* e = FindEntry(0, name, EntryNeed::Optional);
        EXPECT_NE(e, nullptr) << name;
        return *e;
    }
    // The names of the row's directory entries at the indices given.
    std::string NamesAt(int row, std::vector<size_t> indices) {
        std::string s;
        for (size_t i : indices)
            s += EntryNameText(master.table[row].dir[i].name) + " ";
        return s;
    }
    testkit::WadContents Wad(const std::string& file) { return testkit::ReadWad(dir.file(file)); }
    static std::vector<testkit::WadLump> Lumps(const WadBuilder& b) { return testkit::ParseWad(b.bytes()).lumps; }
};

using MasterTest = WadCommandTest;

TEST_F(MasterTest, PwadEntriesReplaceTheirNamesakesOrAreAppended) {
    MakeIwad({"E1M1", "E1M2"});
    size_t before = MasterDirectory().size();
    WadBuilder p;
    int r = Read("p.wad", p.lump("PLAYPAL", Bytes(768, 2)).lump("NEWTEX", "abc").level("E1M2"));
    ASSERT_GT(r, 0);
    EXPECT_TRUE(Contains(console.output(), " 1 Entries added, 1 Entries replaced"));
    EXPECT_EQ(MasterDirectory().size(), before + 1);
    EXPECT_EQ(ReadEntryData(Entry("NEWTEX")), Text("abc"));
    EXPECT_EQ(ReadEntryData(Entry("PLAYPAL")), Bytes(768, 2));
    // Every lump of E1M2 comes from the PWAD; those of E1M1 stay.
    EXPECT_EQ(master.levelList[0].file, 0);
    EXPECT_EQ(master.levelList[1].file, r);
    int marker = FindMasterIndex("E1M2");
    ASSERT_GE(marker, 0);
    for (int k = 0; k < kLevelLumpCount; ++k)
        EXPECT_EQ(MasterDirectory()[size_t(marker + k)].file, r) << k;
    EXPECT_EQ(ReadEntryData(Entry("THINGS")), Text("E1M1/THINGS/iwad"));
    // Lumps out of order are matched by name; a level the IWAD lacks is added whole.
    int bad = Read("bad.wad", WadBuilder().lump("E1M1").lump("LINEDEFS", "L").lump("THINGS", "T"));
    EXPECT_TRUE(Contains(console.output(), "THINGS entry sequence ?, press a key"));
    EXPECT_EQ(std::make_pair(Entry("LINEDEFS").file, Entry("THINGS").file), std::make_pair(int16_t(bad), int16_t(bad)));
    ASSERT_GT(Read("new.wad", WadBuilder().level("E4M1")), 0);
    EXPECT_TRUE(SameEntryName((&Entry("E4M1") + 10)->name, "BLOCKMAP"));
}

TEST_F(MasterTest, TheIwadDecidesTheNamingStyleAndLevelNamesAreConvertedToIt) {
    std::vector<std::string> maps;
    for (int i = 1; i <= 48; ++i)
        maps.push_back((i < 10 ? "MAP0" : "MAP") + std::to_string(i));
    MakeIwad(maps);
    EXPECT_EQ(master.levelList.size(), 48u);   // no level is dropped
    int r = Read("ep.wad", WadBuilder().level("E1M1").level("E3M5"));
    ASSERT_GT(r, 0);
    EXPECT_EQ(NamesAt(r, {0, 11}), "MAP01 MAP02 ");

    ResetMaster();
    MakeIwad({"E1M1", "E1M2", "E1M3", "E1M4", "E1M5", "E1M6", "E1M7", "E1M8", "E1M9", "E2M1"});
    WadBuilder many;
    for (size_t i = 3; i <= 12; ++i)
        many.level(maps[i - 1]);
    r = Read("maps.wad", many);
    ASSERT_GT(r, 0);
    EXPECT_EQ(NamesAt(r, {0, 11, 99}), "E1M1 E1M2 E2M1 ");
}

// Files of the wrong type or missing are refused; names are completed with
// the patch path only when they fit. The table of open files has room for
// 42 PWADs: the 43rd is refused and the session goes on with the 42.
TEST_F(MasterTest, WrongMissingAndTooManyFilesAreRefused) {
    MakeIwad({"E1M1"});
    EXPECT_EQ(Read("iw.wad", WadBuilder("IWAD").lump("X", "1")), -1);
    EXPECT_EQ(ReadPwad(dir.file("missing.wad")), -1);
    char name[kFileNameField] = "X.LMP";
    SetField(config.patchPath, "/levels/");
    EXPECT_EQ(NormalizeWadName(name, sizeof name), 1);
    EXPECT_STREQ(name, "/levels/X.LMP");
    char small[44] = "SOMELONGNAME";
    SetField(config.patchPath, "/a/very/long/patch/path/for/levels/");
    EXPECT_EQ(NormalizeWadName(small, sizeof small), 0);
    EXPECT_STREQ(small, "SOMELONGNAME");

    config.patchPath[0] = 0;
    for (int i = 1; i <= 43; ++i) {
        std::string lump = "L" + std::to_string(i);
        EXPECT_EQ(Read(lump + ".wad", WadBuilder().lump(lump, "x")) > 0, i <= 42) << i;
    }
    EXPECT_EQ(RememberedPwads().size(), 42u);
    EXPECT_EQ(FindEntry(0, "L43", EntryNeed::Optional), nullptr);
}

// A damaged PWAD is refused with a message naming it and why, and the session
// goes on with the directory as it was; a damaged IWAD ends the program.
TEST_F(MasterTest, DamagedPwadsAreRefusedAndADamagedIwadEndsTheProgram) {
    struct Case { size_t at; int32_t value; const char* why; } cases[] = {
        {8, 1000000, "its directory (1 entries at 1000000) lies outside the file"},
        {4, -5, "its directory (-5 entries at 112) lies outside the file"},
        {4, 0x7FFFFFF0, "its directory (2147483632 entries at 112) lies outside the file"},
        {116, 200, "entry 0 (DATA) lies outside the file"},
        {112, -1, "entry 0 (DATA) lies outside the file"},
        {5, 0, "it is too short for a WAD header"},
    };
    for (const char* type : {"PWAD", "IWAD"}) {
        Bytes good = WadBuilder(type).lump("DATA", Bytes(100, 7)).bytes();
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(type) + " damaged at " + std::to_string(c.at));
            ResetMaster();
            std::memset(config.pwadList, 0, sizeof config.pwadList);
            Bytes bad = good;
            for (size_t i = 0; i < 4; ++i)
                bad[c.at + i] = uint8_t(uint32_t(c.value) >> (8 * i));
            bad.resize(c.at == 5 ? 5 : bad.size());
            testkit::WriteFileBytes(dir.file("dmg.wad"), bad);
            std::string damaged = "WAD file " + dir.file("dmg.wad") + " is damaged: ";
            if (type[0] == 'I') {
                EXPECT_EQ(testkit::ExitOf([&] { OpenIwadAt(dir.file("dmg.wad")); }), damaged + c.why);
                continue;
            }
            MakeIwad({"E1M1"});
            size_t entries = MasterDirectory().size();
            EXPECT_EQ(ReadPwad(dir.file("dmg.wad")), -1);
            EXPECT_TRUE(Contains(console.output(), damaged + c.why + "; it is not read, press a key"))
                << console.output();
            EXPECT_EQ(MasterDirectory().size(), entries);
            // No row is kept for it: the next file is read into the first.
            EXPECT_EQ(Read("ok.wad", WadBuilder().lump("OK", "1")), 1);
        }
    }
}

// The entry names of the listing lines in a listing's text (a line may
// begin after an erased page prompt).
std::vector<std::string> ListedNames(const std::string& text) {
    static const std::regex entry(R"([\n\r]    [ \d]\d - [ \d]{3}\d  (\S+) )");
    std::vector<std::string> names;
    for (std::sregex_iterator m(text.begin(), text.end(), entry), end; m != end; ++m)
        names.push_back((*m)[1]);
    return names;
}

std::string FileText(const std::string& path) {
    Bytes b = ReadFileBytes(path);
    return std::string(b.begin(), b.end());
}

TEST(ListingText, PatternsMatchFromTheLeft) {
    struct Case { const char *pattern, *name; bool matches; } cases[] = {
        {"E1M?", "E1M1", true}, {"E1M?", "E1M", false}, {"E1M?", "E1M10", false}, {"th*", "THINGS", true},
        {"TH*", "TH", true},    {"TH", "THINGS", false}, {"BLOCKMA?", "BLOCKMAP", true},   // 8 characters, no zero
        {"BLOCKMAPS", "BLOCKMAP", false},
    };
    for (const Case& c : cases) {
        char name[8] = {};
        std::string(c.name).copy(name, 8);
        EXPECT_EQ(MatchesPattern(c.pattern, name), c.matches) << c.pattern << " " << c.name;
    }
}

using ListingTest = WadCommandTest;

// On an IWAD of the nine levels of episode 1 and entries named TH and THX:
// DIRM's patterns select names on the console or into a file; listings
// pause every screen for a person.
TEST_F(ListingTest, DirmPatternsSelectNamesAndListingsPauseForAPerson) {
    std::vector<std::string> levels;
    for (int m = 1; m <= 9; ++m)
        levels.push_back("E1M" + std::to_string(m));
    MakeIwad(levels, {{"TH", Text("t")}, {"THX", Text("tx")}});
    std::string shown = Run(CommandDirM, "E1M? *");
    EXPECT_EQ(ListedNames(shown), levels);
    EXPECT_EQ(ListedNames(Run(CommandDirM, "TH*")).size(), 11u);   // TH, THX and nine THINGS
    // Into a file: each line echoed, no pauses, and "End of file." at the end.
    std::string file = dir.file("list.txt");
    shown = Run(CommandDirM, "E1M? " + file);
    EXPECT_TRUE(Contains(shown, "     0 -   89  E1M9"));
    std::string text = FileText(file);
    EXPECT_EQ(ListedNames(text).size(), 9u);
    EXPECT_EQ(text.substr(text.size() - 14), "\nEnd of file.\n");
    // A pattern beginning with "*" ends each directory with a form feed.
    Run(CommandDirA, "* " + file);
    EXPECT_EQ(FileText(file).substr(FileText(file).size() - 15), "\f\nEnd of file.\n");
    EXPECT_TRUE(Contains(Run(CommandDirM, "* " + dir.path() + "nodir/list.txt"), "creating file"));

    // Without a pattern every level marker is preceded by an empty line.
    std::string all = Run(CommandDirM, "", std::string(10, '\n'), ConsoleReader::Person);
    EXPECT_EQ(ListedNames(all).size(), 102u);
    EXPECT_TRUE(Contains(all, "\n\n     0 -    1  E1M1 "));
    EXPECT_EQ(Count(all, " [Esc to abort ] \r                 \r"), 5u);
}

TEST_F(ListingTest, ListingsNameTheFilesAndDirwAndDumpwRememberTheirFileNumbers) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder a;
    ASSERT_EQ(Read("a.wad", AddLevel(a, "E1M2", "a").lump("BIGONE", Bytes(1234567, 0))), 1);
    ASSERT_EQ(Read("b.wad", WadBuilder().lump("BONE", "b")), 2);
    auto padded = [](const std::string& s) { return s + std::string(30 - s.size(), ' '); };
    std::string shown = Run(CommandWads, "");
    EXPECT_TRUE(Contains(shown, "PWAD  1  " + padded(dir.file("a.wad")) + "  (Patch for E1M2)\n"));
    EXPECT_TRUE(Contains(shown, "PWAD  2  " + padded(dir.file("b.wad")) + "  (Patch)\n"));
    // The master listing names the file of a PWAD's entries; the PWAD's own
    // directory shows offsets in hexadecimal.
    EXPECT_TRUE(Contains(Run(CommandDirM, "BIGONE"),
                         "     1 -   23  BIGONE     1,234,567         150  --> " + dir.file("a.wad") + "\n"));
    EXPECT_TRUE(Contains(Run(CommandDirW, "BIGONE * 1"), "     1 -   11  BIGONE     1,234,567         150  x000096\n"));

    EXPECT_TRUE(Contains(Run(CommandDirW, "2"), "   PWAD File Directory \n   ==================== " + dir.file("b.wad")));
    EXPECT_EQ(ListedNames(Run(CommandDirW, "")), std::vector<std::string>{"BONE"});
    EXPECT_EQ(ListedNames(Run(CommandDirW, "BIG* 1")), std::vector<std::string>{"BIGONE"});
    for (const char* bad : {"7", "0", "99999999999"})
        EXPECT_TRUE(Contains(Run(CommandDirW, bad), "not active")) << bad;
    // DUMPW starts at file 1 and keeps its own number.
    EXPECT_TRUE(Contains(Run(CommandDumpW, "BONE"), "Entry not in master directory"));
    EXPECT_TRUE(Contains(Run(CommandDumpW, "BONE 2"), "Contents of entry 1 BONE (size = 1 bytes):"));
    EXPECT_TRUE(Contains(Run(CommandDumpW, "BONE"), "Dump  " + dir.file("b.wad") + "\n"));
    EXPECT_EQ(std::make_pair(listing.lastDirFile, listing.lastDumpFile), std::make_pair(1, 2));
}

TEST_F(ListingTest, DumpOfAThousandBytesToAFileOrTheConsole) {
    Bytes big(1000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i);
    MakeIwad({}, {{"BIG", big}, {"BIG", Bytes(1000, 'x')}});
    std::string file = dir.file("dump.txt");
    EXPECT_TRUE(Contains(Run(CommandDumpM, "BIG " + file), "Dumping directory entry data to " + file));
    std::string text = FileText(file);
    const std::string head = "Dump  " + dir.file("base.wad") +
                             "\nContents of entry 1 BIG (size = 1000 bytes):\n\n"
                             "0000:  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F "
                             "\u2502 ................ \u2502\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    // On the console: how far it got, S skips an entry, Esc ends.
    std::string shown = Run(CommandDumpM, "BIG", "S\x1b", ConsoleReader::Person);
    EXPECT_EQ(Count(shown, "[32% - Esc to abort, S(kip) entry ]"), 2u);
    EXPECT_TRUE(Contains(shown, "Contents of entry 2 BIG (size = 1000 bytes):"));
    // Twenty lines of each entry.
    EXPECT_EQ(std::make_pair(Count(shown, "0130: "), Count(shown, "0140: ")), std::make_pair(size_t(2), size_t(0)));
}

using BuildTest = WadCommandTest;

// Files in a directory: no temporary file is left behind.
long Files(const std::string& dir) { return std::distance(std::filesystem::directory_iterator(dir), {}); }

TEST_F(BuildTest, BuildAfterReadWritesTheIwadOrderWithNewEntriesLast) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder p;
    AddLevel(p, "E1M2", "pwad").lump("NEWLUMP", "new data").lump("PLAYPAL", Bytes(768, 9));
    ASSERT_GT(Read("p.wad", p), 0);
    EXPECT_TRUE(Contains(Run(CommandBuild, "OUT"), "Building new Main Wad file " + dir.path() + "OUT.WAD (size "));
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

    Run(CommandGroup, "LEVELS", "N\n");
    EXPECT_EQ(Wad("LEVELS.WAD").type, "PWAD");
    EXPECT_EQ(Wad("LEVELS.WAD").lumps, Lumps(expected));
    // The question is asked again until the answer is yes or no.
    Run(CommandGroup, "ALL", "maybe\ny\n");
    EXPECT_EQ(Wad("ALL.WAD").lumps, Lumps(expected.lump("MYTEX", "texture")));
}

TEST_F(BuildTest, XtractInsertAndSaveCarryOneEntryByteForByte) {
    Bytes palette(768);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = static_cast<uint8_t>(i * 7);
    MakeIwad({"E1M1"}, {{"COLORS", palette}});
    Run(CommandXtract, "COLORS PAL");
    EXPECT_EQ(ReadFileBytes(dir.file("PAL.RAW")), palette);
    Run(CommandInsert, "PAL.RAW NEWPAL");
    EXPECT_EQ(Wad("NEWPAL.WAD").lumps, Lumps(WadBuilder().lump("NEWPAL", palette)));

    // XTRACT never writes a WAD name, and nothing for a missing entry.
    for (auto names : {std::make_pair("/w/LEVEL.WAD", "/w/LEVEL.RAW"), {"/w/L.LMP", "/w/L.LMP"}, {"/a.b/c", "/a.b/c.RAW"}})
        EXPECT_EQ(RawTargetName(names.first), names.second);
    EXPECT_TRUE(Contains(Run(CommandXtract, "NOPE PAL"), "Entry NOPE not Found"));
    EXPECT_EQ(ReadFileBytes(dir.file("PAL.RAW")), palette);

    // SAVE writes one entry as a PWAD, under its own name or the one given.
    Run(CommandSave, "THINGS MYT MYTHINGS");
    EXPECT_EQ(Wad("MYT.WAD").lumps, Lumps(WadBuilder().lump("MYTHINGS", "E1M1/THINGS/iwad")));
    Run(CommandSave, "things T2");
    EXPECT_EQ(Wad("T2.WAD").names(), std::vector<std::string>{"THINGS"});
    EXPECT_TRUE(Contains(Run(CommandSave, "THINGS T3 LONGERNAME"), "maxname length is 8"));
    EXPECT_FALSE(Exists("T3.WAD"));
}

}  // namespace
