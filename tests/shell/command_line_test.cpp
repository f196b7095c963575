#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>

#include "base/flavour.h"
#include "shell/command_line.h"
#include "support/program_state.h"
#include "support/session_kit.h"
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
    // Short, long, upper-case and "--" forms are the same; a list runs to the next option.
    CommandLine forms = Parse({"-n", "-Main", "X.WAD", "--file", "A", "B", "+E", "MAP07"});
    EXPECT_TRUE(forms.noLoad);
    EXPECT_EQ(forms.iwad, "X.WAD");
    EXPECT_EQ(forms.files, (std::vector<std::string>{"A", "B"}));
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
