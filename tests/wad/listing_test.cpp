#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "platform/console.h"
#include "wad/commands.h"
#include "wad/listing.h"
#include "command_fixture.h"

using namespace wadtest;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The entry names of the listing lines in a listing's text (a line may
// begin after an erased page prompt).
std::vector<std::string> ListedNames(const std::string& text) {
    static const std::regex entry(R"(^    [ \d]\d - [ \d]{3}\d  (\S+) )");
    std::vector<std::string> names;
    for (std::string line : Lines(text)) {
        line = line.substr(line.rfind('\r') == std::string::npos ? 0 : line.rfind('\r') + 1);
        std::smatch m;
        if (std::regex_search(line, m, entry))
            names.push_back(m[1]);
    }
    return names;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

struct Name8 {
    char name[8] = {};
    explicit Name8(const std::string& text) { text.copy(name, 8); }
};

TEST(ListingText, NumbersAreGroupedInThrees) {
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(999), "999");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(-1234567), "-1,234,567");
    EXPECT_EQ(FormatThousands(2147483647), "2,147,483,647");
}

TEST(ListingText, PatternsMatchFromTheLeft) {
    EXPECT_TRUE(MatchesPattern("E1M?", Name8("E1M1").name));
    EXPECT_FALSE(MatchesPattern("E1M?", Name8("E1M").name));
    EXPECT_FALSE(MatchesPattern("E1M?", Name8("E1M10").name));
    EXPECT_TRUE(MatchesPattern("th*", Name8("THINGS").name));
    EXPECT_TRUE(MatchesPattern("TH*", Name8("TH").name));
    EXPECT_FALSE(MatchesPattern("TH*", Name8("T").name));
    EXPECT_TRUE(MatchesPattern("TH", Name8("th").name));
    EXPECT_FALSE(MatchesPattern("TH", Name8("THINGS").name));
    EXPECT_TRUE(MatchesPattern("BLOCKMA?", Name8("BLOCKMAP").name));   // 8 characters, no zero
    EXPECT_FALSE(MatchesPattern("BLOCKMAPS", Name8("BLOCKMAP").name));
    EXPECT_TRUE(MatchesPattern("*", Name8("").name));
}

TEST(ListingText, DumpLinesShowControlCharactersAsDots) {
    uint8_t odd[3] = {0x0A, 0x7F, 0xB3};
    EXPECT_EQ(DumpLine(odd, 3, 0x1230),
              "1230:  0A 7F B3" + std::string(39, ' ') + " \xB3 ..\xB3" + std::string(13, ' ') + " \xB3\n");
}

class ListingTest : public WadCommandTest {
protected:
    // An IWAD with the nine levels of episode 1 and entries named TH and THX.
    void MakeEpisode() {
        std::vector<std::string> levels;
        for (int m = 1; m <= 9; ++m)
            levels.push_back("E1M" + std::to_string(m));
        MakeIwad(levels, {{"TH", Text("t")}, {"THX", Text("tx")}});
    }
};

TEST_F(ListingTest, DirmPatternsSelectNamesFromTheLeft) {
    MakeEpisode();
    std::string shown = Run(CommandDirM, "E1M? *");
    EXPECT_EQ(ListedNames(shown),
              (std::vector<std::string>{"E1M1", "E1M2", "E1M3", "E1M4", "E1M5", "E1M6", "E1M7", "E1M8", "E1M9"}));
    EXPECT_TRUE(Contains(shown, "   The Master Directory\n   ==================== " + dir.path() +
                                    "base.wad Entries= 102\n\n   file entry# Name____   ___Size  _____Start  (hex)\n"));
    EXPECT_TRUE(Contains(shown, "     0 -    1  E1M1             0           0  x000000\n"));

    std::vector<std::string> th = ListedNames(Run(CommandDirM, "TH*"));
    EXPECT_EQ(th.size(), 11u);
    for (const std::string& n : th)
        EXPECT_EQ(n.compare(0, 2, "TH"), 0) << n;
    EXPECT_EQ(ListedNames(Run(CommandDirM, "TH")), std::vector<std::string>{"TH"});
}

TEST_F(ListingTest, MasterListingNamesTheFileOfPwadEntries) {
    MakeIwad({"E1M1"});
    WadBuilder().lump("PLAYPAL", Bytes(100, 2)).lump("BIGONE", Bytes(1234567, 0)).write(dir.file("p.wad"));
    int row = Read("p.wad");
    ASSERT_GT(row, 0);
    std::string shown = Run(CommandDirM, "BIGONE");
    EXPECT_TRUE(Contains(shown, "     1 -   12  BIGONE     1,234,567         112  --> " + dir.file("p.wad") + "\n"));
    // The PWAD's own directory shows offsets in hexadecimal.
    EXPECT_TRUE(Contains(Run(CommandDirW, "BIGONE * 1"), "     1 -    1  BIGONE     1,234,567         112  x000070\n"));
}

TEST_F(ListingTest, ConsoleListingsPauseEveryScreenAndStopOnEscOrEndOfInput) {
    MakeEpisode();
    // Without a pattern every level marker is preceded by an empty line.
    std::string all = Run(CommandDirM, "", std::string(10, '\n'));
    EXPECT_EQ(ListedNames(all).size(), 102u);
    EXPECT_TRUE(Contains(all, "\n\n     0 -    1  E1M1 "));
    EXPECT_EQ(Count(all, " [Esc to abort ] \r                 \r"), 5u);
    EXPECT_EQ(all.substr(all.size() - 2), "\n\n");

    std::string stopped = Run(CommandDirM, "", "\n\x1b\n");
    EXPECT_EQ(Count(stopped, " [Esc to abort ] "), 2u);
    EXPECT_LT(ListedNames(stopped).size(), 45u);
    EXPECT_GT(ListedNames(stopped).size(), 30u);

    std::string ended = Run(CommandDirM, "", "");
    EXPECT_EQ(Count(ended, " [Esc to abort ] "), 1u);
    EXPECT_EQ(Count(ended, "\n"), 23u);
}

TEST_F(ListingTest, DirwAndDumpwRememberTheirFileNumbersSeparately) {
    MakeIwad({"E1M1"});
    WadBuilder().lump("AONE", "a").write(dir.file("a.wad"));
    WadBuilder().lump("BONE", "b").write(dir.file("b.wad"));
    ASSERT_EQ(Read("a.wad"), 1);
    ASSERT_EQ(Read("b.wad"), 2);

    std::string shown = Run(CommandDirW, "2");
    EXPECT_TRUE(Contains(shown, "   PWAD File Directory \n   ==================== " + dir.file("b.wad")));
    EXPECT_EQ(ListedNames(shown), std::vector<std::string>{"BONE"});
    EXPECT_EQ(ListedNames(Run(CommandDirW, "")), std::vector<std::string>{"BONE"});
    EXPECT_EQ(ListedNames(Run(CommandDirW, "* 1")), std::vector<std::string>{"AONE"});
    EXPECT_EQ(ListedNames(Run(CommandDirW, "")), std::vector<std::string>{"AONE"});
    EXPECT_TRUE(Contains(Run(CommandDirW, "7"), "Wad file# 7 not active"));
    EXPECT_TRUE(Contains(Run(CommandDirW, "0"), "Wad file# 0 not active"));
    EXPECT_TRUE(Contains(Run(CommandDirW, "99999999999"), "not active"));
    EXPECT_EQ(listing.lastDirFile, 1);

    // DUMPW starts at file 1 and keeps its own number.
    EXPECT_TRUE(Contains(Run(CommandDumpW, "BONE"), "Entry not in master directory"));
    EXPECT_TRUE(Contains(Run(CommandDumpW, "BONE 2"), "Contents of entry 1 BONE (size = 1 bytes):"));
    EXPECT_TRUE(Contains(Run(CommandDumpW, "BONE"), "Dump  " + dir.file("b.wad") + "\n"));
    EXPECT_EQ(listing.lastDirFile, 1);
    EXPECT_EQ(listing.lastDumpFile, 2);
}

TEST_F(ListingTest, DumpOfAThousandBytesToAFile) {
    Bytes big(1000);
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<uint8_t>(i);
    MakeIwad({}, {{"BIG", big}});
    std::string file = dir.file("dump.txt");
    std::string shown = Run(CommandDumpM, "BIG " + file);
    EXPECT_TRUE(Contains(shown, "Dumping directory entry data to " + file));

    std::string text;
    for (uint8_t c : testkit::ReadFileBytes(file))
        text += static_cast<char>(c);
    std::vector<std::string> lines = Lines(text);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Dump  " + dir.file("base.wad"));
    EXPECT_EQ(lines[1], "Contents of entry 1 BIG (size = 1000 bytes):");
    EXPECT_EQ(lines[2], "");
    std::vector<std::string> data(lines.begin() + 3, lines.begin() + 3 + 63);
    EXPECT_EQ(data[0], "0000:  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F \u2502 ................ \u2502");
    EXPECT_EQ(data[61].substr(0, 6), "03D0: ");
    // The last line holds 8 bytes, padded to the full width; the PC characters
    // of bytes E0..E7 are written as their Unicode forms.
    EXPECT_EQ(data[62], "03E0:  E0 E1 E2 E3 E4 E5 E6 E7" + std::string(24, ' ') + " \u2502 \u03b1\u00df\u0393\u03c0\u03a3\u03c3\u00b5\u03c4" +
                            std::string(8, ' ') + " \u2502");
    EXPECT_EQ(text.substr(text.size() - 14), "\nEnd of file.\n");
    EXPECT_EQ(lines.size(), 3u + 63u + 2u);
}

TEST_F(ListingTest, ConsoleDumpShowsHowFarItGotAndCanSkipAnEntry) {
    Bytes big(1000, 'x');
    MakeIwad({}, {{"BIG", big}, {"BIG", big}});
    std::string shown = Run(CommandDumpM, "BIG", "S\n\x1b\n");
    EXPECT_EQ(Count(shown, "[32% - Esc to abort, S(kip) entry ]"), 2u);
    EXPECT_TRUE(Contains(shown, "Contents of entry 2 BIG (size = 1000 bytes):"));
    EXPECT_EQ(Count(shown, "0130: "), 2u);   // twenty lines of each entry
    EXPECT_EQ(Count(shown, "0140: "), 0u);

    EXPECT_TRUE(Contains(Run(CommandDumpM, "NOTHERE"), "Entry not in master directory"));
    EXPECT_TRUE(Contains(Run(CommandDumpM, ""), "Object name name missing"));
}

TEST_F(ListingTest, ListingFilesEndWithEndOfFile) {
    MakeEpisode();
    std::string file = dir.file("list.txt");
    std::string shown = Run(CommandDirM, "E1M? " + file);
    EXPECT_TRUE(Contains(shown, "Listing Master Directory to " + file));
    EXPECT_TRUE(Contains(shown, "     0 -   89  E1M9"));   // each line is echoed
    std::string text;
    for (uint8_t c : testkit::ReadFileBytes(file))
        text += static_cast<char>(c);
    EXPECT_EQ(ListedNames(text).size(), 9u);
    EXPECT_EQ(text.substr(text.size() - 14), "\nEnd of file.\n");
    EXPECT_FALSE(Contains(text, "\f"));
    EXPECT_FALSE(Contains(text, " [Esc to abort ] "));

    // A pattern beginning with "*" ends each directory with a form feed.
    Run(CommandDirA, "* " + file);
    text.clear();
    for (uint8_t c : testkit::ReadFileBytes(file))
        text += static_cast<char>(c);
    EXPECT_EQ(Count(text, "The Master Directory"), 1u);
    EXPECT_EQ(text.substr(text.size() - 15), "\f\nEnd of file.\n");

    EXPECT_TRUE(Contains(Run(CommandDirM, "* " + dir.path() + "nodir/list.txt"), "creating file"));
}

TEST_F(ListingTest, WadsAndDiraShowEveryOpenFile) {
    MakeIwad({"E1M1", "E1M2"});
    WadBuilder a;
    AddLevel(a, "E1M2", "a");
    a.write(dir.file("a.wad"));
    WadBuilder().lump("LOOSE", "x").write(dir.file("b.wad"));
    ASSERT_EQ(Read("a.wad"), 1);
    ASSERT_EQ(Read("b.wad"), 2);

    auto padded = [](const std::string& s) { return s + std::string(s.size() < 30 ? 30 - s.size() : 0, ' '); };
    std::string shown = Run(CommandWads, "");
    EXPECT_TRUE(Contains(shown, "IWAD  == " + padded(dir.file("base.wad")) + "  (Main file)\n--------\n"));
    EXPECT_TRUE(Contains(shown, "PWAD  1  " + padded(dir.file("a.wad")) + "  (Patch for E1M2)\n"));
    EXPECT_TRUE(Contains(shown, "PWAD  2  " + padded(dir.file("b.wad")) + "  (Patch)\n"));

    std::string dira = Run(CommandDirA, "*", std::string(20, '\n'));
    EXPECT_EQ(Count(dira, "The Master Directory"), 1u);
    EXPECT_EQ(Count(dira, "PWAD File Directory"), 2u);
    EXPECT_EQ(ListedNames(dira).size(), 24u + 11u + 1u);
    EXPECT_TRUE(Run(CommandDir, "").empty());
}

TEST_F(ListingTest, FreedoomMasterDirectoryListsItsMaps) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    OpenIwadNamed(iwad);
    std::vector<std::string> maps = ListedNames(Run(CommandDirM, "MAP0? *"));
    ASSERT_EQ(maps.size(), 9u);
    EXPECT_EQ(maps.front(), "MAP01");
}

}  // namespace
