#include <gtest/gtest.h>

#include <regex>

#include "command_fixture.h"

using namespace wadtest;

namespace {

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
// pause every screen for a person and never for a script.
TEST_F(ListingTest, DirmPatternsSelectNamesAndPauseOnlyForAPerson) {
    std::vector<std::string> levels;
    for (int m = 1; m <= 9; ++m)
        levels.push_back("E1M" + std::to_string(m));
    MakeIwad(levels, {{"TH", Text("t")}, {"THX", Text("tx")}});
    std::string shown = Run(CommandDirM, "E1M? *");
    EXPECT_EQ(ListedNames(shown), levels);
    EXPECT_TRUE(Contains(shown, "   The Master Directory\n   ==================== " + dir.path() +
                                    "base.wad Entries= 102\n\n   file entry# Name____   ___Size  _____Start  (hex)\n"));
    EXPECT_EQ(ListedNames(Run(CommandDirM, "TH*")).size(), 11u);   // TH, THX and nine THINGS
    // Into a file: each line echoed, no pauses, and "End of file." at the end.
    std::string file = dir.file("list.txt");
    shown = Run(CommandDirM, "E1M? " + file);
    EXPECT_TRUE(Contains(shown, "Listing Master Directory to " + file));
    EXPECT_TRUE(Contains(shown, "     0 -   89  E1M9"));
    std::string text = FileText(file);
    EXPECT_EQ(ListedNames(text).size(), 9u);
    EXPECT_EQ(text.substr(text.size() - 14), "\nEnd of file.\n");
    EXPECT_FALSE(Contains(text, "\f") || Contains(text, " [Esc to abort ] "));
    // A pattern beginning with "*" ends each directory with a form feed.
    Run(CommandDirA, "* " + file);
    EXPECT_EQ(FileText(file).substr(FileText(file).size() - 15), "\f\nEnd of file.\n");
    EXPECT_TRUE(Contains(Run(CommandDirM, "* " + dir.path() + "nodir/list.txt"), "creating file"));

    const std::string prompt = " [Esc to abort ] ";
    // Without a pattern every level marker is preceded by an empty line.
    std::string all = Run(CommandDirM, "", std::string(10, '\n'), ConsoleReader::Person);
    EXPECT_EQ(ListedNames(all).size(), 102u);
    EXPECT_TRUE(Contains(all, "\n\n     0 -    1  E1M1 "));
    EXPECT_EQ(Count(all, prompt + "\r                 \r"), 5u);
    std::string stopped = Run(CommandDirM, "", "\n\x1b", ConsoleReader::Person);
    EXPECT_EQ(Count(stopped, prompt), 2u);
    size_t listed = ListedNames(stopped).size();
    EXPECT_TRUE(listed > 30 && listed < 45) << listed;
    EXPECT_EQ(Count(Run(CommandDirM, "", "", ConsoleReader::Person), prompt), 1u);   // the end of input is Esc
    // A script's lines are commands, not keys: WADS, DIRA and DUMPM run to
    // their end and leave the next line to be read.
    ASSERT_GT(Read("big.wad", WadBuilder().lump("BIG", Bytes(1000, 'x'))), 0);
    for (int i = 0; i < 29; ++i)
        ASSERT_GT(Read("p" + std::to_string(i) + ".wad", WadBuilder().lump("L" + std::to_string(i))), 0);
    testkit::ConsoleCapture capture("WADS\n");
    for (auto command : {CommandWads, CommandDirA, CommandDumpM}) {
        CommandWords words(command == CommandDumpM ? "BIG" : "");
        command(words);
    }
    shown = capture.output();
    EXPECT_EQ(Count(shown, "  (Patch)\n"), 30u);
    EXPECT_EQ(Count(shown, "PWAD File Directory"), 30u);
    EXPECT_TRUE(Contains(shown, "03E0: "));
    EXPECT_FALSE(Contains(shown, prompt) || Contains(shown, "Esc to abort"));
    std::string next;
    EXPECT_TRUE(ConsoleReadLine(next) && next == "WADS");
}

TEST_F(ListingTest, ListingsNameTheFilesAndDirwAndDumpwRememberTheirFileNumbers) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder a;
    ASSERT_EQ(Read("a.wad", AddLevel(a, "E1M2", "a").lump("BIGONE", Bytes(1234567, 0))), 1);
    ASSERT_EQ(Read("b.wad", WadBuilder().lump("BONE", "b")), 2);
    auto padded = [](const std::string& s) { return s + std::string(30 - s.size(), ' '); };
    std::string shown = Run(CommandWads, "");
    EXPECT_TRUE(Contains(shown, "IWAD  == " + padded(dir.file("base.wad")) + "  (Main file)\n--------\n"));
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
    EXPECT_EQ(Count(text, "(size = 1000 bytes):\n"), 2u);   // every entry of the name
    const std::string head = "Dump  " + dir.file("base.wad") +
                             "\nContents of entry 1 BIG (size = 1000 bytes):\n\n"
                             "0000:  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F "
                             "\u2502 ................ \u2502\n";
    EXPECT_EQ(text.substr(0, head.size()), head);
    // The last line of an entry holds 8 bytes, padded to the full width; the
    // PC characters of bytes E0..E7 are written as their Unicode forms.
    const std::string last = "\n03E0:  E0 E1 E2 E3 E4 E5 E6 E7" + std::string(24, ' ') +
                             " \u2502 \u03b1\u00df\u0393\u03c0\u03a3\u03c3\u00b5\u03c4" +
                             std::string(8, ' ') + " \u2502\nContents of entry 2";
    EXPECT_TRUE(Contains(text, last));
    // On the console: how far it got, S skips an entry, Esc ends.
    std::string shown = Run(CommandDumpM, "BIG", "S\x1b", ConsoleReader::Person);
    EXPECT_EQ(Count(shown, "[32% - Esc to abort, S(kip) entry ]"), 2u);
    EXPECT_TRUE(Contains(shown, "Contents of entry 2 BIG (size = 1000 bytes):"));
    // Twenty lines of each entry.
    EXPECT_EQ(std::make_pair(Count(shown, "0130: "), Count(shown, "0140: ")), std::make_pair(size_t(2), size_t(0)));
    EXPECT_TRUE(Contains(Run(CommandDumpM, "NOTHERE"), "Entry not in master directory"));
}

}  // namespace
