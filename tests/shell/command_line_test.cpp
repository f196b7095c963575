// The command line, and the real program started from a shell, as users,
// scripts and the desktop start it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/flavour.h"
#include "shell/command_line.h"
#include "support/fault_kit.h"
#include "support/map_kit.h"
#include "support/program_state.h"
#include "support/screen_text.h"
#include "support/session_kit.h"
#include "source_paths.h"

namespace {

using testkit::Count;

std::string ReadText(const std::string& path) {
    testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zarn");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

std::string ErrorOf(std::vector<const char*> args) {
    return testkit::ExitOf([&] { Parse(args); });
}

struct Ended {
    int code;   // the exit code (-1: killed)
    std::string out, err;
};

// Each test has a scratch directory and the DOOM flavour's texts.
class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }

    // Runs brel in the directory with the options, the shell input and the
    // environment settings given, without a display; with a script of
    // events it runs headless on that script.
    Ended RunBrel(const std::string& options, const std::string& input, const std::string& script = "",
                  const std::string& environment = "") {
        std::ofstream(dir.file("input")) << input;
        std::ofstream(dir.file("script")) << script;
        std::string command = "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                              "-u ZARN_VIDEO -u ZARN_SCRIPT " +
                              (script.empty() ? "" : "ZARN_VIDEO=headless ZARN_SCRIPT='" + dir.file("script") + "' ") +
                              environment + " " ZARN_BINARY_DIR "/brel " + options + " < input > out 2> err";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir.file("out")), ReadText(dir.file("err"))};
    }

    testkit::ScratchDir dir;
    const std::string iwad = testkit::FreedoomIwad(2);
};

TEST_F(CommandLineTest, MistakesSayHowToGetTheUsage) {
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

// The program's answers; it writes no configuration. The build wrote the
// manual page that the program prints, and troff reads it without a warning.
TEST_F(CommandLineTest, HelpVersionAndMistakesFromTheRealProgram) {
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
        Ended run = RunBrel(c.options, "");
        EXPECT_EQ(run.code, c.code) << c.options;
        EXPECT_EQ(run.out + run.err, c.shown);
        EXPECT_FALSE(std::filesystem::exists(dir.file("Brel.cfg"))) << c.options;
    }
    EXPECT_EQ(ReadText(ZARN_BINARY_DIR "/brel.6"), ManualPageText());
    const std::string groff = "groff -man -Tutf8 -ww -z " ZARN_BINARY_DIR "/brel.6 > " + dir.file("log") + " 2>&1";
    EXPECT_EQ(std::system(groff.c_str()), 0);
    EXPECT_EQ(ReadText(dir.file("log")), "");
}

// With its standard input a pipe, as a script drives it, nothing waits for
// a key and listings run to their end; the ways graphics can fail to start
// say what happened and nothing more. The IWAD is DOOM-style, of 30 levels;
// with no display in sight the first-time setup keeps the defaults.
TEST_F(CommandLineTest, PipedInputIsNeverTakenAsAKeyAndGraphicsThatCannotStartSayWhy) {
    testkit::WadBuilder base("IWAD");
    base.lump("PLAYPAL", testkit::Bytes(768, 0));
    for (int map = 1; map <= 30; ++map)
        base.level((map < 10 ? "MAP0" : "MAP") + std::to_string(map));
    base.write(dir.file("base.wad"));
    std::ofstream(dir.file("Brel.HLP")) << "*HLP\n";
    // The setup box, a listing longer than a screen, then WADS: each reads
    // its own line.
    Ended run = RunBrel("-main base.wad", "DIRM TH*\nWADS\nQ\n");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Count(run.out, "BREL SETUP") == 1 && Count(run.out, "Brel Ended") == 1) << run.out;
    EXPECT_EQ(Count(run.out, "  THINGS  "), 30u);
    EXPECT_EQ(Count(run.out, "IWAD  == base.wad"), 1u);
    EXPECT_EQ(Count(run.out, "Esc to abort"), 0u);
    EXPECT_EQ(run.err, "");

    const struct {
        const char* script;   // "": none, no headless screen
        int code;
        std::string shown;
    } cases[] = {
        {"key Esc\nfly\n", 2, "\ninput script " + dir.file("script") + ": line 2: unknown event \"fly\"\n"},
        {"", 5, "\nError: No display to show a window on: run under xvfb-run, or with ZARN_VIDEO=headless ("},
    };
    for (const auto& c : cases) {
        run = RunBrel("-main base.wad", "E 1\nWADS\nQ\n", c.script);
        EXPECT_EQ(run.code, c.code) << c.script;
        EXPECT_EQ(Count(run.out, c.shown), 1u) << run.out;
        for (const char* absent : {"Graphics error", "not VESA compatible", "IWAD  =="})   // WADS was not read as a key
            EXPECT_EQ(Count(run.out, absent), 0u) << absent << "\n" << run.out;
        EXPECT_EQ(run.err, "");
    }
}

// Started as the desktop's menu starts it: -desktop, no terminal on any of
// its streams, the user's data directory not there yet.
TEST_F(CommandLineTest, DesktopStartWorksInTheDataDirectoryAndShowsItsErrorInAWindow) {
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    const std::string environment = "HOME='" + dir.path() + "' XDG_DATA_HOME='" + dir.file("data") + "'";
    // The first start: the setup's boxes (OK, the options dialog's OK, OK),
    // then the editor on MAP01; leaving it ends the program, and the shell
    // reads no command.
    const std::string setup = "key Enter\nkey Alt-O\nkey Enter\n";
    Ended run = RunBrel("-desktop -main '" + iwad + "'", "WADS\n",
                        setup + "snapshot " + dir.file("map.png") + "\nkey Esc\n", environment);
    ASSERT_EQ(run.code, 0) << run.out;
    EXPECT_TRUE(std::filesystem::exists(dir.file("data/brel/Brel.cfg")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Brel.cfg")));
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("map.png"), "MAP01"));
    EXPECT_EQ(run.out.find("IWAD  =="), std::string::npos) << run.out;

    // An IWAD that is not there: the setup comes again, and the error that
    // ends the program is in a box as well as on the console.
    run = RunBrel("-desktop -main '" + dir.file("gone.wad") + "'", "",
                  setup + "snapshot " + dir.file("error.png") + "\nkey Enter\n", environment);
    EXPECT_EQ(run.code, 5);
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("error.png"), "Please restart and set the correct main IWAD"));
    EXPECT_NE(run.out.find("Error: Please restart"), std::string::npos) << run.out;
}

// Ended abruptly in the middle of an edit, and started again: the next start
// offers the unsaved changes back, and what it restores is what a save then
// writes.
TEST_F(CommandLineTest, ChangesOfARunThatDiedAreOfferedAtTheNextStartAndSaved) {
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    auto recoveryFiles = [&] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            count += entry.path().filename().string().rfind("BrelUnsaved", 0) == 0;
        return count;
    };
    const std::string main = "-main '" + iwad + "'";
    const int kScriptEnded = 3;
    ASSERT_EQ(RunBrel(main, "Q\n").code, 0);   // the first start's set-up, without a display
    ASSERT_EQ(RunBrel(main, "E 2\n", "key L\nkey N\nkey Del\nkey Del\nwait 0\n").code, kScriptEnded);
    ASSERT_EQ(recoveryFiles(), 1);
    // What a run on another IWAD left is kept and named too.
    std::ofstream(dir.file("BrelUnsaved-1.WAD"))
        << mapkit::RecoveryFile(mapkit::SessionText(testkit::EndedProcessId(), "/elsewhere/doom.wad"), "E1M1");

    // -edit alone opens MAP02 (not the last level edited, MAP01) with the
    // offer; Y restores; F2 saves MAP02.WAD (Enter takes the proposed name,
    // N keeps the old nodes) with one LineDef less than the IWAD's.
    Ended run = RunBrel(main + " -edit", "", "key Y\nwait 0\nkey F2\nkey Enter\nkey N\nwait 0\n");
    ASSERT_EQ(run.code, kScriptEnded);
    for (const char* line : {"Unsaved changes of MAP02 from ", "  E 2 (or the option -edit) offers them back.",
                             "Unsaved changes of E1M1 from ",
                             "  start with -main /elsewhere/doom.wad -edit E1M1 to get them back."})
        EXPECT_NE(run.out.find(line), std::string::npos) << run.out;
    EXPECT_EQ(recoveryFiles(), 1);   // saving took the restored file's place; the other stays
    EXPECT_TRUE(std::filesystem::exists(dir.file("BrelUnsaved-1.WAD")));
    testkit::WadContents original = testkit::ReadWad(iwad);
    std::vector<std::string> names = original.names();
    size_t map02 = static_cast<size_t>(std::find(names.begin(), names.end(), "MAP02") - names.begin());
    EXPECT_EQ(testkit::ReadWad(dir.file("MAP02.WAD")).data("LINEDEFS").size(),
              original.data("LINEDEFS", map02).size() - 14);
}

}  // namespace
