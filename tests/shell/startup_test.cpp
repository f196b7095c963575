#include <gtest/gtest.h>

#include <filesystem>
#include <sys/wait.h>

#include "base/config.h"
#include "base/fatal.h"
#include "editor/editor.h"
#include "shell/command_line.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "support/wad_session.h"
#include "wad/master.h"

using testkit::Bytes;
using testkit::WadBuilder;

namespace {

// What the editor was asked for ("episode map", then " new" and " given" as
// set), and the codes it answers with in turn (then 0).
std::vector<std::string> editor_calls;
std::vector<int> editor_answers;

int RecordingEditor(int16_t episode, int16_t map, bool newLevel, bool levelGiven) {
    editor_calls.push_back(std::to_string(episode) + " " + std::to_string(map) + (newLevel ? " new" : "") +
                           (levelGiven ? " given" : ""));
    int code = editor_answers.empty() ? 0 : editor_answers.front();
    if (!editor_answers.empty())
        editor_answers.erase(editor_answers.begin());
    return code;
}

// Runs the whole program in this process, in a scratch directory that holds a
// small HERETIC-style IWAD, a help file and a PWAD with E1M2.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        WadBuilder("IWAD").lump("PLAYPAL", Bytes(768, 0)).level("E1M1").level("E1M2").level("E2M5")
            .write(dir.file("heretic.wad"));
        testkit::WriteFileBytes(dir.file("Brel.HLP"), Bytes({'*', 'H', 'L', 'P', '\n'}));
        WadBuilder().level("E1M2").lump("NEWLUMP", "data").write(dir.file("lev.wad"));
        shell = ShellState{};
        ResetMaster();
        editor_calls.clear();
    }
    void TearDown() override {
        ResetMaster();
        shell = ShellState{};
        std::filesystem::current_path(old_dir);
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
    // Creates the configuration file so that no setup is shown.
    void PrepareConfig() { ASSERT_EQ(Run("\nQ\n"), 0); }

    testkit::ScratchDir dir;
    std::filesystem::path old_dir;
    std::string output;
};

TEST_F(ProgramTest, FirstRunShowsSetupThenEndsAndWritesTheConfiguration) {
    EXPECT_EQ(Run("\nW\nQ\n"), 0);
    for (const char* shown : {"Please press Enter to set the File Names", "ZARN SETUP", "Zarn [?=help] > ", "Zarn Ended"})
        EXPECT_TRUE(Saw(shown)) << shown;
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")).size(), 2516u);
    // With configuration, help file and IWAD present there is no setup, and
    // the end of the input ends the shell as Q does.
    EXPECT_EQ(Run("W\n"), 0);
    EXPECT_FALSE(Saw("Please press Enter"));
    EXPECT_TRUE(Saw("Zarn Ended"));
}

TEST_F(ProgramTest, ReadAndFileOptionRememberTheLevelAndTheFile) {
    PrepareConfig();
    EXPECT_EQ(Run("r lev\nR LEV\nQ\n"), 0);
    EXPECT_TRUE(Saw("Loading PWAD file: " + dir.file("LEV.WAD")));
    EXPECT_TRUE(Saw(" Contains level E1M2"));
    EXPECT_EQ(config.lastEpisode, 1);
    EXPECT_EQ(config.lastMap, 2);
    EXPECT_STREQ(config.pwadList[0], dir.file("LEV.WAD").c_str());
    EXPECT_EQ(config.pwadList[1][0], 0);   // read twice, listed once
    // The remembered PWAD is read again at the next start, unless told not to
    // or given other files.
    EXPECT_EQ(Run("Q\n"), 0);
    EXPECT_TRUE(Saw(" Contains level E1M2"));
    EXPECT_EQ(Run("Q\n", {"-noload"}), 0);
    EXPECT_FALSE(Saw(" Contains level E1M2"));
    WadBuilder().lump("OTHER", "x").write(dir.file("other.wad"));
    EXPECT_EQ(Run("Q\n", {"-file", "other.wad"}), 0);
    EXPECT_FALSE(Saw(" Contains level E1M2"));
    EXPECT_STREQ(config.pwadList[0], dir.file("OTHER.WAD").c_str());
    EXPECT_EQ(config.pwadList[1][0], 0);
}

TEST_F(ProgramTest, EditPassesTheLevelAndTheEditorsReturnCodesReloadTheFiles) {
    PrepareConfig();
    EXPECT_EQ(Run("E 2 5\nedit\nDIR\nXYZZY\nN\nQ\n"), 0);
    // Without numbers: the last level of the configuration.
    EXPECT_EQ(editor_calls, (std::vector<std::string>{"2 5 given", "1 1", "1 1 new"}));
    editor_calls.clear();
    editor_answers = {kEditorSavedAs, kEditorIwadOnly, kEditorNewLevel, kEditorLeave};
    EXPECT_EQ(Run("R LEV\nE\nQ\n"), 0);
    EXPECT_EQ(editor_calls, (std::vector<std::string>{"1 2", "1 2 given", "1 2 given", "1 2 new given"}));
    EXPECT_EQ(config.pwadList[0][0], 0);   // code 4 forgot every PWAD
    EXPECT_EQ(master.levelList[1].file, 0);
}

TEST_F(ProgramTest, FatalErrorsEndWithCodeFiveWithoutSavingTheConfiguration) {
    PrepareConfig();
    Bytes before = testkit::ReadFileBytes(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("Q\n", {"-video", "3", "-main", dir.file("nothere.wad")}), 5);
    EXPECT_TRUE(Saw("\nError: Please restart and set the correct main IWAD file name!\n"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")), before);
    EXPECT_EQ(Run("Q\n", {"-x"}), 5);
    EXPECT_TRUE(Saw("Error: invalid argument: \"-x\"\nType \"zarn --help\" for the options.\n"));
    // A missing help file is fatal after the setup it brings up.
    std::filesystem::remove(dir.file("Brel.HLP"));
    EXPECT_EQ(Run("\nQ\n"), 5);
    EXPECT_TRUE(Saw("Please press Enter to set the File Names"));
    EXPECT_TRUE(Saw("Help File Brel.HLP Missing"));
}

TEST_F(ProgramTest, HelpAndVersionAnswerAndEndBeforeAnythingElse) {
    EXPECT_EQ(Run("", {"--help"}), 0);
    EXPECT_EQ(output, UsageText());
    EXPECT_EQ(Run("", {"-n", "--version"}), 0);
    EXPECT_EQ(output, VersionText());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Zarn.cfg")));   // no setup, nothing written
}

TEST_F(ProgramTest, EditOptionStartsTheEditorOnTheLevelOnce) {
    // The first start runs the setup, then the editor on the last level (E1M1).
    EXPECT_EQ(Run("\nQ\n", {"-e"}), 0);
    EXPECT_TRUE(Saw("ZARN SETUP"));
    EXPECT_EQ(editor_calls, (std::vector<std::string>{"1 1 given"}));
    struct Case {
        std::vector<std::string> args;
        std::string call;
    } cases[] = {
        {{"-edit", "e1m2"}, "1 2 given"},
        {{"+E", "2", "5"}, "2 5 given"},
        {{"-e", "2"}, "2 1 given"},   // the map of the last level stays
        {{"-n", "-e"}, "1 1 given"},  // -noload does not stop an explicit -edit
    };
    for (const Case& c : cases) {
        editor_calls.clear();
        EXPECT_EQ(Run("Q\n", c.args), 0);
        EXPECT_EQ(editor_calls, std::vector<std::string>{c.call}) << c.args[0];
        EXPECT_EQ(config.autoStart, 0);   // the option is not remembered
    }
    // A level named in the other style ends the start with a message, and
    // leaves the configuration as it was.
    Bytes before = testkit::ReadFileBytes(dir.file("Zarn.cfg"));
    editor_calls.clear();
    EXPECT_EQ(Run("Q\n", {"-e", "MAP01"}), 5);
    EXPECT_TRUE(Saw("Error: no level MAP01: the levels of this game are named ExMy (E1M1, E1M2, ...)"));
    EXPECT_TRUE(editor_calls.empty());
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")), before);
    // A failed first start leaves no configuration behind.
    std::filesystem::remove(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("\nQ\n", {"-e", "MAP01"}), 5);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Zarn.cfg")));
}

// A remembered PWAD that has become damaged or gone is dropped with a line
// naming it and why, and the program starts with the others; READ of a
// damaged file refuses it and the session goes on.
TEST_F(ProgramTest, DamagedOrMissingPwadsAreDroppedAndTheProgramGoesOn) {
    PrepareConfig();
    WadBuilder().lump("FIRST", "1").write(dir.file("a.wad"));
    WadBuilder().lump("SECOND", "2").write(dir.file("b.wad"));
    WadBuilder().lump("THIRD", "3").write(dir.file("c.wad"));
    ASSERT_EQ(Run("R A\nR B\nR LEV\nR C\nQ\n"), 0);
    ASSERT_STREQ(config.pwadList[3], dir.file("C.WAD").c_str());
    Bytes damaged = testkit::ReadFileBytes(dir.file("b.wad"));
    damaged[8] = 0x7F;   // the directory far past the end
    testkit::WriteFileBytes(dir.file("b.wad"), damaged);
    std::filesystem::remove(dir.file("c.wad"));
    // Each refusal asks for a key on a terminal; a blank line answers it when
    // one is read.
    EXPECT_EQ(Run("\n\nW\nQ\n"), 0);
    EXPECT_TRUE(Saw("WAD file " + dir.file("B.WAD") + " is damaged: its directory"));
    EXPECT_TRUE(Saw("lies outside the file; it is not read"));
    EXPECT_TRUE(Saw("file " + dir.file("C.WAD") + " not found"));
    EXPECT_TRUE(Saw(" Contains level E1M2"));
    EXPECT_TRUE(Saw("Zarn Ended"));
    std::vector<std::string> listed;
    for (int i = 0; config.pwadList[i][0]; ++i)
        listed.push_back(config.pwadList[i]);
    EXPECT_EQ(listed, (std::vector<std::string>{dir.file("A.WAD"), dir.file("LEV.WAD")}));
    // READ of the damaged file: refused, and WADS still lists what is read.
    EXPECT_EQ(Run("R B\n\nW\nQ\n"), 0);
    EXPECT_TRUE(Saw("WAD file " + dir.file("B.WAD") + " is damaged"));
    EXPECT_TRUE(Saw("(Patch for E1M2)"));
    EXPECT_FALSE(Saw("B.WAD  "));
    EXPECT_STREQ(config.pwadList[2], "");
}

TEST(WorkingDirectoryTest, LongDirectoryIsRefused) {
    auto old_dir = std::filesystem::current_path();
    testkit::ScratchDir dir;   // "/tmp/zt_XXXXXX/" is 15 characters
    std::string ok = dir.path() + "abcdefghijk";        // 26 + "/" = 27
    std::string tooLong = dir.path() + "abcdefghijkl";  // 27 + "/" = 28
    std::filesystem::create_directory(ok);
    std::filesystem::create_directory(tooLong);
    std::filesystem::current_path(tooLong);
    const char* argv[] = {"brel"};
    testkit::ConsoleCapture capture("");
    EXPECT_EQ(RunProgram(Flavour::Doom, 1, argv), 5);
    EXPECT_NE(capture.output().find("is over 27 bytes long!"), std::string::npos);
    std::filesystem::current_path(ok);
    EXPECT_NE(RunProgram(Flavour::Doom, 1, argv), 5);
    std::filesystem::current_path(old_dir);
    ResetMaster();
}

// The real program driven through a pipe, as a user's script would.
TEST(ProgramBinaryTest, BrelRunsAScriptedSessionOnFreedoom) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "freedoom2.wad is not installed (Debian package freedoom)";
    testkit::ScratchDir dir;
    testkit::WriteFileBytes(dir.file("Brel.HLP"), Bytes({'*', 'H', 'L', 'P', '\n'}));
    std::string command = "cd " + dir.path() + " && printf '\\nDIRM MAP0?\\nQ\\n' | " + ZARN_BINARY_DIR +
                          "/brel -main " + iwad + " > out.txt 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    Bytes out = testkit::ReadFileBytes(dir.file("out.txt"));
    std::string text(out.begin(), out.end());
    EXPECT_NE(text.find("MAP01"), std::string::npos);
    EXPECT_NE(text.find("Brel Ended"), std::string::npos);
}

}  // namespace
