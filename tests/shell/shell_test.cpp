// The command line; the real program started from a shell, as users,
// scripts and the desktop start it; and the whole program run in this
// process through its shell: what a start reads, remembers and refuses, and
// what the commands hand to the editor and the viewers.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "base/config.h"
#include "base/flavour.h"
#include "editor/editor.h"
#include "shell/command_line.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "support/fault_kit.h"
#include "support/game_kit.h"
#include "support/map_kit.h"
#include "support/picture_kit.h"
#include "support/program_state.h"
#include "support/screen_text.h"
#include "support/session_kit.h"
#include "source_paths.h"
#include "wad/master.h"

namespace {

using testkit::Bytes;
using testkit::Count;
using testkit::WadBuilder;

std::string ReadText(const std::string& path) {
    Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

CommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zarn");
    return ParseCommandLine(static_cast<int>(args.size()), args.data());
}

struct Ended {
    int code;   // the exit code (-1: the launcher killed; 128 + the signal: brel killed)
    std::string out, err;
};

// Each test has a scratch directory and the DOOM flavour's texts.
class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }

    // Runs brel, through its launcher as users start it, in the directory
    // with the options, the shell input and the environment settings given,
    // without a display; with a script of events it runs headless on that
    // script.
    Ended RunBrel(const std::string& options, const std::string& input, const std::string& script = "",
                  const std::string& environment = "") {
        std::ofstream(dir.file("input")) << input;
        std::ofstream(dir.file("script")) << script;
        std::string command = "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                              "-u ZARN_VIDEO -u ZARN_SCRIPT " +
                              (script.empty() ? "" : "ZARN_VIDEO=headless ZARN_SCRIPT='" + dir.file("script") + "' ") +
                              environment + " " ZARN_BINARY_DIR "/brel-launcher " + options + " < input > out 2> err";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(dir.file("out")), ReadText(dir.file("err"))};
    }

    testkit::ScratchDir dir;
    const std::string iwad = testkit::FreedoomIwad(2);
};

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
        {nullptr, kStyleEpisodes, 4, 6, true},      {"E2M5", kStyleEpisodes, 2, 5, true},
        {"3", kStyleEpisodes, 3, 6, true},   // the episode; the map stays
        {"7", kStyleMaps, 4, 7, true},              {"MAP09", kStyleMaps, 4, 9, true},
        {"MAP09", kStyleEpisodes, 4, 6, false},     {"E1M1", kStyleMaps, 4, 6, false},
    };
    for (const Case& c : cases) {
        CommandLine line = c.level ? Parse({"-e", c.level}) : Parse({"-e"});
        int16_t episode = 4, map = 6;
        std::string fault;
        EXPECT_EQ(ResolveLevelArgument(line.level, c.style, episode, map, fault), c.ok) << c.level;
        EXPECT_EQ(std::make_pair(episode, map), std::make_pair(c.episode, c.map)) << c.level;
        EXPECT_EQ(testkit::Contains(fault, std::string("no level ") + (c.level ? c.level : "") +
                                               ": the levels of this game are named"), !c.ok);
    }
}

// The program's answers, and what it says of mistakes (with the way to the
// usage); it writes no configuration. The build wrote the manual page that
// the program prints.
TEST_F(CommandLineTest, HelpVersionAndMistakesFromTheRealProgram) {
    auto mistake = [](const std::string& message) {
        return "\nError: " + message + "\nType \"brel --help\" for the options.\n";
    };
    auto invalid = [&](const std::string& option) {
        return mistake("invalid argument: \"" + option + "\"");
    };
    auto notALevel = [&](const std::string& level) {
        return mistake("not a level: \"" + level + "\" (a level is E1M3, MAP07, 1 3 or 7)");
    };
    const struct {
        const char* options;
        int code;
        std::string shown;
    } cases[] = {
        {"--help", 0, UsageText()},      {"-h", 0, UsageText()},      {"-n -HELP", 0, UsageText()},
        {"-version", 0, "Brel 1.0 (brel), map editor for DOOM WAD files\n"},
        {"--manual-page", 0, ManualPageText()},
        {"file", 5, mistake("options start with '-' or '+'")},
        {"--bogus", 5, invalid("--bogus")},    {"-", 5, invalid("-")},
        {"-video", 5, mistake("missing argument after -video")},
        {"-e E1M", 5, notALevel("E1M")},       {"-e MAP100", 5, notALevel("MAP100")},
        {"-e 1 2 3", 5, notALevel("1 2 3")},   {"-e MAP01 2", 5, notALevel("MAP01 2")},
    };
    for (const auto& c : cases) {
        Ended run = RunBrel(c.options, "");
        EXPECT_EQ(run.code, c.code) << c.options;
        EXPECT_EQ(run.out + run.err, c.shown);
        EXPECT_FALSE(std::filesystem::exists(dir.file("Brel.cfg"))) << c.options;
    }
    EXPECT_EQ(ReadText(ZARN_BINARY_DIR "/brel.6"), ManualPageText());
}

// With its standard input a pipe, as a script drives it, nothing waits for
// a key: the first-time setup keeps the defaults and WADS runs. Graphics
// that cannot start for want of a display say so and nothing more.
TEST_F(CommandLineTest, PipedInputIsNeverTakenAsAKeyAndGraphicsThatCannotStartSayWhy) {
    WadBuilder("IWAD").lump("PLAYPAL", Bytes(768, 0)).level("MAP01").write(dir.file("base.wad"));
    std::ofstream(dir.file("Brel.HLP")) << "*HLP\n";
    Ended run = RunBrel("-main base.wad", "WADS\nQ\n");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Count(run.out, "BREL SETUP") == 1 && Count(run.out, "IWAD  == base.wad") == 1) << run.out;
    run = RunBrel("-main base.wad", "E 1\nWADS\nQ\n");
    EXPECT_EQ(run.code, 5);
    EXPECT_EQ(Count(run.out, "\nError: No display to show a window on: run under xvfb-run, or with ZARN_VIDEO=headless ("),
              1u)
        << run.out;
    for (const char* absent : {"Graphics error", "not VESA compatible", "IWAD  =="})   // WADS was not read as a key
        EXPECT_EQ(Count(run.out, absent), 0u) << absent << "\n" << run.out;
    EXPECT_EQ(run.err, "");
}

// Started as the desktop's menu starts it: -desktop, no terminal on any of
// its streams, the user's data directory not there yet.
TEST_F(CommandLineTest, DesktopStartWorksInTheDataDirectoryComesBackFromAHandOffAndShowsItsError) {
    if (iwad.empty() || !std::filesystem::exists(testkit::kNodeBuilder))
        GTEST_SKIP() << "needs Freedoom and zdbsp (Debian packages freedoom, zdbsp)";
    const std::string data = dir.file("data/brel/");
    const std::string environment =
        "HOME='" + dir.path() + "' XDG_DATA_HOME='" + dir.file("data") + "' PATH='" + dir.file("games") + "':\"$PATH\"";
    // The first start: the setup's boxes (OK, the options dialog's OK, OK),
    // then the editor on MAP01; leaving it ends the program, and the shell
    // reads no command.
    const std::string setup = "key Enter\nkey Alt-O\nkey Enter\n";
    Ended run = RunBrel("-desktop -main '" + iwad + "'", "WADS\n",
                        setup + "snapshot " + dir.file("map.png") + "\nkey Esc\n", environment);
    ASSERT_EQ(run.code, 0) << run.out;
    ASSERT_TRUE(std::filesystem::exists(data + "Brel.cfg"));
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("map.png"), "MAP01"));
    EXPECT_EQ(run.out.find("IWAD  =="), std::string::npos) << run.out;

    // With Exit to Launcher on, Alt-F2 saves MAP01 (the file name; keep
    // REJECT) with the nodes to be rebuilt and ends the program; the launcher
    // runs ZDBSP, which sets the keys of the next start, and that start comes
    // back to MAP01 of the PWAD, now the one listed.
    Bytes settings = testkit::ReadFileBytes(data + "Brel.cfg");
    settings[offsetof(ConfigSettings, exitHandOff)] = 1;
    testkit::WriteFileBytes(data + "Brel.cfg", settings);
    std::filesystem::create_directory(dir.file("games"));
    std::ofstream(dir.file("games/zdbsp")) << "#!/bin/sh\nprintf 'snapshot back.png\\nkey Esc\\n' > '" +
                                                  dir.file("script") + "'\nexec /usr/bin/zdbsp \"$@\"\n";
    std::filesystem::permissions(dir.file("games/zdbsp"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    run = RunBrel("-desktop", "", "key Alt-F2\nkey Enter\nkey N\n", environment);
    EXPECT_EQ(run.code, 0) << run.out;
    EXPECT_NE(run.out.find("Contains level MAP01", run.out.find("----MAP01----")), std::string::npos) << run.out;
    EXPECT_TRUE(testkit::SnapshotShowsText(data + "back.png", "MAP01.WAD"));
    EXPECT_NE(testkit::ReadWad(data + "MAP01.WAD").data("NODES"), testkit::ReadWad(iwad).data("NODES"));

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

// What the editor was asked for ("episode map", then " new" and " given" as
// set), and the codes it answers with, call by call (then 0).
std::vector<std::string> editorCalls;
std::vector<int> editorAnswers;

int RecordingEditor(int16_t episode, int16_t map, LevelSource source, LevelChoice choice) {
    size_t call = editorCalls.size();
    editorCalls.push_back(std::to_string(episode) + " " + std::to_string(map) +
                          (source == LevelSource::NewLevel ? " new" : "") +
                          (choice == LevelChoice::Given ? " given" : ""));
    return call < editorAnswers.size() ? editorAnswers[call] : 0;
}

// Runs the whole program in a scratch directory that holds a small
// HERETIC-style IWAD, a help file and a PWAD with E1M2, and the configuration
// file of a first start (so that no setup is shown).
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        oldDir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        WadBuilder("IWAD").lump("PLAYPAL", Bytes(768, 0)).level("E1M1").level("E1M2").level("E2M5")
            .write(dir.file("heretic.wad"));
        testkit::WriteFileBytes(dir.file("Brel.HLP"), Bytes({'*', 'H', 'L', 'P', '\n'}));
        WadBuilder().level("E1M2").lump("NEWLUMP", "data").write(dir.file("lev.wad"));
        testkit::ResetProgramState();
        editorCalls.clear();
        editorAnswers.clear();
        ASSERT_EQ(Run("\nQ\n"), 0);
    }
    void TearDown() override {
        testkit::ResetProgramState();
        std::filesystem::current_path(oldDir);
    }
    int Run(const std::string& input, std::vector<std::string> args = {}) {
        args.insert(args.begin(), {"zarn", "-main", dir.file("heretic.wad")});
        std::vector<const char*> argv;
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        testkit::ConsoleCapture capture(input);
        shell.editor = RecordingEditor;
        int code = RunProgram(Flavour::Heretic, static_cast<int>(argv.size()), argv.data());
        output = capture.output();
        return code;
    }
    bool Saw(const std::string& text) const { return output.find(text) != std::string::npos; }
    void ExpectSaw(std::initializer_list<std::string> texts) const {
        for (const std::string& text : texts)
            EXPECT_TRUE(Saw(text)) << text << "\n" << output;
    }
    // Puts a name into a name field of the configuration file.
    static constexpr size_t kHelpField = 532;
    Bytes SetConfigName(size_t field, const std::string& name, size_t width = 44) {
        Bytes file = testkit::ReadFileBytes(dir.file("Zarn.cfg"));
        std::fill(file.begin() + long(field), file.begin() + long(field + width), 0);
        std::copy(name.begin(), name.end(), file.begin() + long(field));
        testkit::WriteFileBytes(dir.file("Zarn.cfg"), file);
        return file;
    }
    // The PWADs the configuration remembers.
    static std::vector<std::string> Pwads() {
        std::vector<std::string> listed;
        for (int i = 0; config.pwadList[i][0]; ++i)
            listed.push_back(config.pwadList[i]);
        return listed;
    }

    testkit::ScratchDir dir;
    std::filesystem::path oldDir;
    std::string output;
};

TEST_F(ProgramTest, ReadAndFileOptionRememberTheLevelAndTheFile) {
    // Typed in any case, a file is listed under its name on disk, and read
    // under other spellings it is the same file.
    EXPECT_EQ(Run("r lev\nR LEV\nR ./lev\nR ../" + dir.path().substr(5) + "lev\nQ\n"), 0);
    ExpectSaw({"Loading PWAD file: " + dir.file("lev.wad"), " Contains level E1M2"});
    EXPECT_EQ(std::make_pair(config.lastEpisode, config.lastMap), std::make_pair(int16_t(1), int16_t(2)));
    EXPECT_EQ(Pwads(), std::vector<std::string>{dir.file("lev.wad")});   // read twice, listed once
    // The remembered PWAD is read again at the next start, unless told not to
    // or given other files.
    WadBuilder().lump("OTHER", "x").write(dir.file("other.wad"));
    const std::vector<std::pair<std::vector<std::string>, bool>> starts = {
        {{}, true}, {{"-noload"}, false}, {{"-file", "other.wad"}, false}};
    for (const auto& [args, read] : starts) {
        EXPECT_EQ(Run("Q\n", args), 0);
        EXPECT_EQ(Saw(" Contains level E1M2"), read) << args.size();
    }
    EXPECT_EQ(Pwads(), std::vector<std::string>{dir.file("other.wad")});
}

TEST_F(ProgramTest, EditPassesTheLevelAndTheEditorsReturnCodesReloadTheFiles) {
    EXPECT_EQ(Run("E 2 5\nedit\nDIR\nXYZZY\nN\nQ\n"), 0);
    // Without numbers: the last level of the configuration.
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"2 5 given", "1 1", "1 1 new"}));
    editorCalls.clear();
    editorAnswers = {kEditorSavedAs, kEditorIwadOnly, kEditorNewLevel, kEditorLeave};
    EXPECT_EQ(Run("R LEV\nE\nQ\n"), 0);
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"1 2", "1 2 given", "1 2 given", "1 2 new given"}));
    EXPECT_EQ(Pwads(), std::vector<std::string>{});   // code 4 forgot every PWAD
    EXPECT_EQ(master.levelList[1].file, 0);
}

TEST_F(ProgramTest, EditOptionStartsTheEditorOnTheLevelOnce) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"+E", "2", "5"}, "2 5 given"},
        {{"-n", "-e"}, "1 1 given"},  // -noload does not stop an explicit -edit
    };
    for (const auto& [args, call] : cases) {
        editorCalls.clear();
        EXPECT_EQ(Run("Q\n", args), 0);
        EXPECT_EQ(editorCalls, std::vector<std::string>{call}) << args[0];
        EXPECT_EQ(config.autoStart, 0);   // the option is not remembered
    }
}

// A fatal start ends with code 5 and the reason, and leaves the configuration
// as it was, options and all (a first start leaves none).
TEST_F(ProgramTest, FatalErrorsEndWithCodeFiveWithoutSavingTheConfiguration) {
    Bytes before = testkit::ReadFileBytes(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("Q\n", {"-video", "3", "-e", "MAP01"}), 5);
    ExpectSaw({"Error: no level MAP01: the levels of this game are named ExMy (E1M1, E1M2, ...)"});
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")), before);
    EXPECT_TRUE(editorCalls.empty());
    std::filesystem::remove(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("\nQ\n", {"-e", "MAP01"}), 5);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Zarn.cfg")));
}

// A help file that moved is found with the shipped data; one that is
// nowhere is fatal after the setup it brings up.
TEST_F(ProgramTest, MovedHelpFileIsFoundAndAMissingOneIsFatal) {
    SetConfigName(kHelpField, dir.file("old/Brel.HLP"));
    std::filesystem::remove(dir.file("Brel.HLP"));
    EXPECT_EQ(Run("Q\n"), 0);
    EXPECT_FALSE(Saw("Please press Enter"));
    EXPECT_TRUE(std::filesystem::exists(config.helpFile)) << config.helpFile;
    SetConfigName(kHelpField, "Gone.HLP");
    EXPECT_EQ(Run("\nQ\n"), 5);
    ExpectSaw({"Please press Enter to set the File Names", "Help File Gone.HLP Missing"});
}

TEST_F(ProgramTest, ConfigurationThatCannotBeWrittenIsReportedAndLeftoversAreRemovedAtStart) {
    // A save killed earlier left its temporary file.
    std::string leftover = ".LEV.WAD.zarn-partial-" + std::to_string(testkit::EndedProcessId()) + "-x1Y2z3";
    testkit::WriteFileBytes(dir.file(leftover), Bytes(10, 1));
    // The configuration cannot replace a directory of its name.
    std::filesystem::remove(dir.file("Zarn.cfg"));
    std::filesystem::create_directory(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("\nQ\n"), 0);
    ExpectSaw({"Zarn Ended", "Settings not saved: " + dir.file("Zarn.cfg") + " could not be written (Is a directory)"});
    EXPECT_FALSE(std::filesystem::exists(dir.file(leftover)));
}

// A remembered PWAD that has become damaged or gone is dropped with a line
// naming it and why, and the program starts with the others; READ of a
// damaged file refuses it and the session goes on.
TEST_F(ProgramTest, DamagedOrMissingPwadsAreDroppedAndTheProgramGoesOn) {
    WadBuilder().lump("FIRST", "1").write(dir.file("a.wad"));
    WadBuilder().lump("SECOND", "2").write(dir.file("b.wad"));
    WadBuilder().lump("THIRD", "3").write(dir.file("c.wad"));
    ASSERT_EQ(Run("R A\nR B\nR LEV\nR C\nQ\n"), 0);
    ASSERT_STREQ(config.pwadList[3], dir.file("c.wad").c_str());
    Bytes damaged = testkit::ReadFileBytes(dir.file("b.wad"));
    damaged[8] = 0x7F;   // the directory far past the end
    testkit::WriteFileBytes(dir.file("b.wad"), damaged);
    std::filesystem::remove(dir.file("c.wad"));
    // Each refusal asks for a key on a terminal; a blank line answers it when
    // one is read.
    EXPECT_EQ(Run("\n\nW\nQ\n"), 0);
    ExpectSaw({"WAD file " + dir.file("b.wad") + " is damaged: its directory", "lies outside the file; it is not read",
               "file " + dir.file("c.wad") + " not found", " Contains level E1M2", "Zarn Ended"});
    EXPECT_EQ(Pwads(), (std::vector<std::string>{dir.file("a.wad"), dir.file("lev.wad")}));
    // READ of the damaged file: refused, and WADS still lists what is read.
    EXPECT_EQ(Run("R B\n\nW\nQ\n"), 0);
    ExpectSaw({"WAD file " + dir.file("b.wad") + " is damaged", "(Patch for E1M2)"});
    EXPECT_FALSE(Saw("b.wad  "));
    EXPECT_STREQ(config.pwadList[2], "");
}

// VIEW and PICTURE open the viewers, headless, on the picture the start
// word names (its size shows under it), or on the first without one.
TEST_F(ProgramTest, ViewAndPictureOpenTheViewersOnTheNamedPicture) {
    auto picture = [](int w, int h) {
        return testkit::PictureLump(w, h, testkit::Columns(size_t(w), {{0, Bytes(size_t(h), 5)}}));
    };
    WadBuilder("IWAD").lump("PLAYPAL", Bytes(768, 0)).level("E1M1").lump("TEXTURE1", Bytes(4, 0))
        .lump("S_START").lump("AAAAA0", picture(8, 8)).lump("SOUGA0", picture(24, 30)).lump("S_END")
        .lump("BIGPIC", picture(30, 20)).write(dir.file("heretic.wad"));
    std::string keys;
    for (const char* shot : {"view", "pic", "first"})
        keys += "snapshot " + dir.file(std::string(shot) + ".png") + "\nkey Esc\n";
    testkit::WriteFileBytes(dir.file("keys"), Bytes(keys.begin(), keys.end()));
    setenv("ZARN_VIDEO", "headless", 1);
    setenv("ZARN_SCRIPT", dir.file("keys").c_str(), 1);
    testkit::ResetProgramState();   // the video reads the script afresh
    EXPECT_EQ(Run("V SOUG\nP BIGPIC\nv\nQ\n"), 0) << output;
    unsetenv("ZARN_SCRIPT");
    unsetenv("ZARN_VIDEO");
    for (const auto& [shot, title, size] : {std::tuple{"view", "Sprite Viewer", "24x30"},
                                            {"pic", "Picture Viewer", "30x20"}, {"first", "Sprite Viewer", "8x8"}}) {
        EXPECT_TRUE(testkit::SnapshotShowsText(dir.file(std::string(shot) + ".png"), title)) << shot;
        EXPECT_TRUE(testkit::SnapshotShowsText(dir.file(std::string(shot) + ".png"), size)) << shot;
    }
}

// Default textures and flats that the WAD files lack are told at start and,
// where the game's own exist, replaced for this run; the configuration file
// keeps its names.
TEST_F(ProgramTest, DefaultNamesTheWadsLackAreToldAndReplacedForTheRun) {
    std::vector<testkit::TextureDef> walls;
    for (const char* name : {"GRSTNPB", "GRSKULL1", "METL1", "DOORWOOD", "WOODWL", "METL2", "RCKSNMUD",
                             "GRSTNPBV", "STARTAN3"})
        walls.push_back({name, 64, 64, {{0, 0, 0}}});
    WadBuilder iwad("IWAD");
    iwad.lump("PLAYPAL", Bytes(768, 0)).lump("TEXTURE1", testkit::TextureLump(walls)).lump("F1_START");
    for (const char* flat : {"FLOOR25", "FLAT500", "FLTWAWA1"})   // no FLOOR08
        iwad.lump(flat, Bytes(4096, 0));
    iwad.lump("F1_END").level("E1M1").write(dir.file("heretic.wad"));
    SetConfigName(offsetof(ConfigSettings, textureNormal), "STARTAN9", kTextureField);
    Bytes file = SetConfigName(offsetof(ConfigSettings, textureUpper), "STARTAN3", kTextureField);

    ASSERT_EQ(Run("Q\n"), 0);
    ExpectSaw({"Default textures and flats not in the WAD files (F5 in the editor sets them):\n"
               "  This run uses GRSTNPB for STARTAN9.\n"
               "  Kept, as HERETIC's own are missing too: FLOOR08.\n"});
    EXPECT_STREQ(config.textureNormal, "GRSTNPB");
    EXPECT_STREQ(config.textureUpper, "STARTAN3");
    EXPECT_STREQ(config.flatPedestalTop, "FLOOR08");
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")), file);
}

}  // namespace
