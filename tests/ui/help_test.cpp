// The help viewer and printing on the headless screen, and the help file
// that comes with the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "base/config.h"
#include "support/png_reader.h"
#include "support/screen_text.h"
#include "toolkit_fixture.h"
#include "ui/help_viewer.h"
#include "source_paths.h"

namespace {

const std::string kRealHelpFile = std::string(ZARN_SOURCE_DIR) + "/data/Brel.HLP";

// Topics that the program's menus, dialogs, keys and commands ask for.
const char* const kAskedTopics[] = {
    "MAIN", "EXE", "F1EDIT", "HOWTO", "INSTALL", "OPTIONS", "COLORS", "PALETTE", "THINGS",
    "LINEDEFS", "SECTORS", "MISC", "OBJECT", "CHECK", "FILE", "EDIT", "SEARCH", "MODE", "HELP",
};

// Topics ONE (colour letters, a comment, a colour switch, a line that keeps
// the colour before), EMPTY (comments only) and TWO (the PC's vertical bar).
const char kSmallHelp[] = "*HLP test\n|-ONE\ny Title\n* a comment\r\nx text \x1erred\n plain follows\n"
                          "|-EMPTY\n* only\n: comments\n/ here\n|-TWO\nr two \xb3\n";

std::string ReadText(const std::string& path) {
    const testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        session.OpenPaletteIwad();
        UseHelpFile(kRealHelpFile);
    }

    void UseHelpFile(const std::string& path) {
        CloseHelpFile();
        SetField(config.helpFile, path.c_str());
    }
    void UseHelpText(const std::string& text) {
        std::ofstream(session.Dir().file("T.HLP"), std::ios::binary) << text;
        UseHelpFile(session.Dir().file("T.HLP"));
    }
    std::vector<HelpLine> Shown(const char* topic, HelpRange range) {
        bool ok = false;
        std::vector<HelpLine> lines;
        for (HelpLine& l : ReadHelpTopic(topic, range, ok))
            if (!l.header)
                lines.push_back(l);
        EXPECT_TRUE(ok);
        return lines;
    }
    // Runs the viewer in its default window through a script; the pointer
    // waits in a corner. The script must be used up.
    void RunViewer(const char* topic, HelpRange range, const std::string& script) {
        InitGraphics(GraphicsPalette::Game);
        SetMousePos(639, 479);
        session.ExactScript(script);
        before = toolkit_test::Copy();
        ShowHelp(topic, range);
        EXPECT_EQ(HeadlessEventsLeft(), 0);
    }
    // The first line from `from` on whose text holds `text`.
    static size_t FirstWith(const std::vector<HelpLine>& lines, const char* text, size_t from) {
        while (from < lines.size() &&
               HelpPlainText(lines[from].text).find(text) == std::string::npos)
            ++from;
        return from;
    }
    std::string Shot(int n) { return session.Dir().file("S" + std::to_string(n) + ".PNG"); }
    std::string Snap(int n) { return "snapshot " + Shot(n) + "\n"; }
    // True when the first row of the page in snapshot n shows this line (its
    // first two characters, under the pointer after a search, are skipped).
    bool PageStartsWith(int n, const HelpWindow& w, const HelpLine& line) {
        testkit::PngPicture shot;
        EXPECT_EQ(ReadPng(Shot(n), shot), "");
        Canvas expected(640, 480);
        expected.setcolor(1);
        expected.outtextxy(0, 0, HelpPlainText(line.text).c_str());
        const Viewport view = Screen().getviewport();
        for (int y = 0; y < 8; ++y)
            for (int x = 16; x < 40 * 8; ++x) {
                const int sx = view.left + w.LineX() + x, sy = view.top + w.LineY(0) + y;
                if ((shot.pixels[sy * 640 + sx] != MapColor(15)) != (expected.getpixel(x, y) != 0))
                    return false;
            }
        return true;
    }

    testkit::Session session;
    std::vector<uint8_t> before;
};

TEST_F(HelpTest, TopicsTakeTheirLinesColoursAndRange) {
    UseHelpText(kSmallHelp + std::string("w ") + std::string(100, 'z') + "\n");
    std::vector<HelpLine> one = Shown("one", HelpRange::TopicOnly);
    ASSERT_EQ(one.size(), 3u);
    EXPECT_EQ(one[0].color, 14);   // y
    EXPECT_EQ(HelpPlainText(one[1].text), " text red");
    EXPECT_EQ(one[2].color, 0);    // no colour letter: the line before's
    EXPECT_TRUE(Shown("EMPTY", HelpRange::TopicOnly).empty());
    EXPECT_TRUE(Shown("NONE", HelpRange::TopicOnly).empty());
    std::vector<HelpLine> all = Shown("ONE", HelpRange::ToEnd);
    ASSERT_EQ(all.size(), 5u);     // on through the other topics, headers not shown
    EXPECT_EQ(all[4].text.size(), 79u);
    // A colour switch takes no column and colours what follows it.
    InitGraphics(GraphicsPalette::Game);
    FillBox(0, 0, 639, 40, config.colors[kColorMenu]);
    DrawHelpLine(0, 10, 7, one[1]);   // " text r": cut just after the switch
    EXPECT_TRUE(testkit::ShowsText(0, 10, " text ", one[1].color));
    EXPECT_TRUE(testkit::ShowsText(48, 10, "r ", HelpColor('r')));

    UseHelpText("*XYZ not a help file\n|-ONE\nx text\n");
    bool ok = true;
    EXPECT_TRUE(ReadHelpTopic("ONE", HelpRange::TopicOnly, ok).empty());
    EXPECT_FALSE(ok);
}

TEST_F(HelpTest, PagingAndSearchingTheRealHelpFile) {
    RunViewer("MAIN", HelpRange::ToEnd,
              "key PgDn\nkey PgDn\nkey Up\n" + Snap(0) + "key End\nkey Home\n" + Snap(1) +
                  "key PgDn\nkey S\ntype [SECTORS\nkey Enter\n" + Snap(2) + "key F3\n" + Snap(3) +
                  "key F3\nkey Enter\n" + Snap(4) + "key Esc\n");
    std::vector<HelpLine> lines = Shown("MAIN", HelpRange::ToEnd);
    HelpWindow w = LayOutHelpWindow(-1, -1, -1, -1, static_cast<int>(lines.size()));
    ASSERT_GT(lines.size(), 600u);
    int rows = w.rows;
    EXPECT_TRUE(PageStartsWith(0, w, lines[2 * rows - 1]));
    EXPECT_TRUE(PageStartsWith(1, w, lines[0]));
    // The search starts at the page's first line: the example in MAIN comes
    // first, F3 goes on to the topic's title; a third search finds nothing.
    size_t example = FirstWith(lines, "[SECTORS", rows), title = FirstWith(lines, " [SECTORS]", 0);
    ASSERT_LT(example, title);
    EXPECT_TRUE(PageStartsWith(2, w, lines[example]));
    EXPECT_TRUE(PageStartsWith(3, w, lines[title]));
    EXPECT_TRUE(PageStartsWith(4, w, lines[title]));
    EXPECT_EQ(help.searchText, "[SECTORS");
    EXPECT_TRUE(before == toolkit_test::Copy());   // the screen as it was

    // The search mode asks for the text first.
    RunViewer("MAIN", HelpRange::SearchToEnd, "type zdbsp\nkey Enter\n" + Snap(5) + "key Esc\n");
    EXPECT_TRUE(PageStartsWith(5, w, lines[FirstWith(lines, "zdbsp", 0)]));
}

TEST_F(HelpTest, PrintingWritesPlainTextAndAFormFeed) {
    UseHelpText(kSmallHelp);
    RunViewer("ONE", HelpRange::ToEnd, "key P\ntype OUT.TXT\nkey Enter\nkey Esc\n");
    const std::string rule = "\n\n" + std::string(79, '-') + "\n";
    const std::string indent(14, ' ');
    EXPECT_EQ(ReadText(session.Dir().file("OUT.TXT")),
              indent + " Title\n" + indent + " text red\n" + indent + "plain follows\n" + rule +
                  rule + indent + " two \u2502\n\f");   // the PC's vertical bar, in UTF-8
    EXPECT_NE(graphics.graphicsMode, 0);   // back on the graphics screen, as it was
    EXPECT_TRUE(before == toolkit_test::Copy());
}

TEST_F(HelpTest, ShellReachesTheViewerAndNothingToShowReturns) {
    InstallToolkit();
    EXPECT_EQ(toolkit.helpHandler, &HelpViewer);
    session.ExactScript("key Esc\n");
    HelpOnGraphicsScreen("EXE", HelpRange::TopicOnly);
    EXPECT_EQ(graphics.graphicsMode, 0);   // the text screen again
    EXPECT_EQ(HeadlessEventsLeft(), 0);
    // Nothing to show returns without waiting; a missing file is reported.
    UseHelpText(kSmallHelp);
    RunViewer("EMPTY", HelpRange::TopicOnly, "");
    UseHelpFile(session.Dir().file("MISSING.HLP"));
    RunViewer("MAIN", HelpRange::TopicOnly, "key Enter\n");
}

// Every topic that the program asks for, in the list above or in a call in
// the sources that names its topic, has lines to show; every line fits the
// file's limit and the 48 columns of the window that F1 in a menu opens.
TEST_F(HelpTest, TheHelpFileHasEveryTopicAndFitsItsWindows) {
    std::set<std::string> topics(std::begin(kAskedTopics), std::end(kAskedTopics));
    // Calls with a literal topic: the viewer's own, and the menus and forms
    // whose topic argument comes after 4, 3 or 1 other arguments.
    const std::string arg = R"re([^;"(),]*,\s*)re", topic = R"re("([A-Z0-9]+)")re";
    const std::regex calls[] = {
        std::regex(R"re((?:ShowHelp|ShowHelpTopic|HelpViewer|PrintHelp)\(\s*)re" + topic),
        std::regex(R"re((?:DisplayMenu|SimpleMenu)\(\s*(?:)re" + arg + "){4}" + topic),
        std::regex(R"re(PullDownMenu\(\s*(?:)re" + arg + "){3}" + topic),
        std::regex(R"re(OptionForm\(\s*)re" + arg + topic),
    };
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(ZARN_SOURCE_DIR) + "/src")) {
        const std::string text = entry.is_regular_file() ? ReadText(entry.path().string()) : "";
        for (const std::regex& call : calls)
            for (std::sregex_iterator m(text.begin(), text.end(), call), end; m != end; ++m)
                topics.insert((*m)[1].str());
    }
    for (const std::string& topic : topics)
        EXPECT_FALSE(Shown(topic.c_str(), HelpRange::TopicOnly).empty()) << topic;

    std::istringstream file(ReadText(kRealHelpFile));
    std::string line;
    ASSERT_TRUE(std::getline(file, line) && line.compare(1, 3, "HLP") == 0);
    while (std::getline(file, line)) {
        EXPECT_LE(line.size(), 79u) << line;
        const bool shown = std::string("|*/:").find(line[0]) == std::string::npos;
        EXPECT_LE(shown ? HelpPlainText(line).size() : 0u, 48u) << line;
    }
}

}  // namespace
