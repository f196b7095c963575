#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <sys/wait.h>

#include "base/flavour.h"
#include "shell/command_line.h"
#include "support/program_state.h"
#include "support/wad_session.h"
#include "brel_run.h"
#include "source_paths.h"

namespace {

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zarn");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

std::string ErrorOf(std::vector<const char*> args) {
    return testkit::ExitOf([&] { Parse(args); });
}

// Each test starts and ends with the HERETIC flavour and nothing else set.
class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(); }
    void TearDown() override { testkit::ResetProgramState(); }
};

TEST_F(CommandLineTest, OptionsInEveryForm) {
    // Short, long, upper-case and "--" forms are the same; a list runs to the next option.
    CommandLine line = Parse({"-n", "-Main", "X.WAD", "--file", "A", "B", "+v", "4"});
    EXPECT_TRUE(line.noLoad);
    EXPECT_EQ(line.iwad, "X.WAD");
    EXPECT_EQ(line.files, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(line.videoMode, 4);
    EXPECT_FALSE(line.editGiven);
    EXPECT_EQ(line.request, CommandLineRequest::Run);
    line = Parse({"-n", "+NOLOAD"});
    EXPECT_FALSE(line.noLoad);
    EXPECT_FALSE(line.desktop);
    line = Parse({"--Desktop", "-n"});   // each flag sets its own switch
    EXPECT_TRUE(line.desktop && line.noLoad);

    struct LevelCase {
        std::vector<const char*> args;
        std::vector<int16_t> numbers;
        std::optional<GameStyle> style;
    } levels[] = {
        {{"-e"}, {}, std::nullopt},
        {{"-edit", "e1m3"}, {1, 3}, kStyleEpisodes},
        {{"+E", "MAP07"}, {7}, kStyleMaps},
        {{"--edit", "2", "5", "-n"}, {2, 5}, std::nullopt},
        {{"-e", "12"}, {12}, std::nullopt},
        {{"-e", "-f", "A"}, {}, std::nullopt},
    };
    for (const LevelCase& c : levels) {
        line = Parse(c.args);
        EXPECT_TRUE(line.editGiven) << c.args[0];
        EXPECT_EQ(line.level.numbers, c.numbers) << c.args.size();
        EXPECT_EQ(line.level.style, c.style) << c.args.size();
    }
}

TEST_F(CommandLineTest, MistakesSayHowToGetTheUsage) {
    SetFlavour(Flavour::Doom);
    const std::string hint = "\nType \"brel --help\" for the options.";
    struct Case {
        std::vector<const char*> args;
        std::string message;
    } cases[] = {
        {{"file"}, "options start with '-' or '+'"},
        {{"-x"}, "invalid argument: \"-x\""},
        {{"--x"}, "invalid argument: \"--x\""},
        {{"-"}, "invalid argument: \"-\""},
        {{"-video"}, "missing argument after -video"},
        {{"-n", "-main"}, "missing argument after -main"},
        {{"-e", "E1M"}, "not a level: \"E1M\""},
        {{"-e", "MAP100"}, "not a level: \"MAP100\""},
        {{"-e", "0"}, "not a level: \"0\""},
        {{"-e", "1", "2", "3"}, "not a level: \"1 2 3\""},
        {{"-e", "MAP01", "2"}, "not a level: \"MAP01 2\""},
    };
    for (const Case& c : cases) {
        std::string error = ErrorOf(c.args);
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << error;
        EXPECT_NE(error.find(hint), std::string::npos) << error;
    }
}

TEST_F(CommandLineTest, LevelsFollowTheNamingStyleOfTheGame) {
    struct Case {
        const char* level;   // as typed after -e
        GameStyle style;
        int16_t episode, map;   // from last level 4, 6
        bool ok;
    } cases[] = {
        {nullptr, kStyleEpisodes, 4, 6, true},
        {"E2M5", kStyleEpisodes, 2, 5, true},
        {"3", kStyleEpisodes, 3, 6, true},   // the episode; the map stays
        {"7", kStyleMaps, 4, 7, true},
        {"MAP09", kStyleMaps, 4, 9, true},
        {"MAP09", kStyleEpisodes, 4, 6, false},
        {"E1M1", kStyleMaps, 4, 6, false},
    };
    for (const Case& c : cases) {
        CommandLine line = c.level ? Parse({"-e", c.level}) : Parse({"-e"});
        int16_t episode = 4, map = 6;
        std::string fault;
        EXPECT_EQ(ResolveLevelArgument(line.level, c.style, episode, map, fault), c.ok) << c.level;
        EXPECT_EQ(std::make_pair(episode, map), std::make_pair(c.episode, c.map)) << c.level;
        if (!c.ok) {
            EXPECT_NE(fault.find(std::string("no level ") + c.level + ": the levels of this game are named"),
                      std::string::npos);
        }
    }
}

// The usage and the manual page are made from one table: every option the
// parser takes is in both, in a form that fits a terminal and troff.
TEST_F(CommandLineTest, UsageAndManualPageListEveryOption) {
    for (Flavour flavour : {Flavour::Heretic, Flavour::Doom}) {
        SetFlavour(flavour);
        std::string usage = UsageText();
        std::string page = ManualPageText();
        EXPECT_EQ(usage.rfind("Usage: " + ProgramName() + " [OPTION]...\n", 0), 0u);
        EXPECT_EQ(page.rfind(".TH " + std::string(flavour == Flavour::Doom ? "BREL" : "ZARN") + " 6 ", 0), 0u);
        for (const char* option : {"noload", "main", "file", "video", "edit", "desktop", "help", "version"}) {
            EXPECT_NE(usage.find(std::string("-") + option), std::string::npos) << option;
            EXPECT_NE(page.find(std::string("\\fB\\-") + option + "\\fR"), std::string::npos) << option;
        }
        EXPECT_EQ(usage.find("manual-page"), std::string::npos);
        std::istringstream lines(usage);
        for (std::string l; std::getline(lines, l);)
            EXPECT_LE(l.size(), 79u) << l;
        std::istringstream troff(page);
        for (std::string l; std::getline(troff, l);) {
            if (l[0] == '.') {
                EXPECT_NE(std::string(".TH.SH.TP.PP.B .BR.RI.br").find(l.substr(0, 3)), std::string::npos) << l;
            }
            for (size_t i = l.find('-'); i != std::string::npos; i = l.find('-', i + 1))
                EXPECT_TRUE(i > 0 && l[i - 1] == '\\') << "unescaped minus: " << l;
        }
    }
}

// The real program's answers; it writes no configuration. The build wrote
// the manual page that the program prints, and troff reads it without a
// warning.
TEST_F(CommandLineTest, HelpVersionAndMistakesFromTheRealProgram) {
    SetFlavour(Flavour::Doom);
    const struct {
        const char* options;
        int code;
        std::string shown;
    } cases[] = {
        {"--help", 0, UsageText()},
        {"-h", 0, UsageText()},
        {"-n -HELP", 0, UsageText()},
        {"-version", 0, "Brel 1.0 (brel), map editor for DOOM WAD files\n"},
        {"--manual-page", 0, ManualPageText()},
        {"--bogus", 5, "\nError: invalid argument: \"--bogus\"\nType \"brel --help\" for the options.\n"},
    };
    for (const auto& c : cases) {
        testkit::ScratchDir dir;
        shelltest::Ended run = shelltest::RunBrel(dir, c.options, "");
        EXPECT_EQ(run.code, c.code) << c.options;
        EXPECT_EQ(run.out + run.err, c.shown);
        EXPECT_FALSE(std::filesystem::exists(dir.file("Brel.cfg"))) << c.options;
    }
    EXPECT_EQ(shelltest::ReadText(ZARN_BINARY_DIR "/brel.6"), ManualPageText());
    testkit::ScratchDir dir;
    const std::string groff = "groff -man -Tutf8 -ww -z " ZARN_BINARY_DIR "/brel.6 > " + dir.file("log") + " 2>&1";
    EXPECT_EQ(std::system(groff.c_str()), 0);
    EXPECT_EQ(shelltest::ReadText(dir.file("log")), "");
}

}  // namespace
