#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/wait.h>

#include "shell/config.h"
#include "shell/fatal.h"
#include "shell/flavour.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "support/testkit.h"
#include "wad/master.h"

using testkit::Bytes;
using testkit::WadBuilder;

namespace {

// Runs the whole program in this process, in a scratch directory that holds a
// small HERETIC-style IWAD and a help file.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        old_dir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        WadBuilder iwad("IWAD");
        iwad.lump("PLAYPAL", Bytes(768, 0));
        for (const char* level : {"E1M1", "E1M2", "E2M5"})
            iwad.level(level);
        iwad.write(dir.file("heretic.wad"));
        testkit::WriteFileBytes(dir.file("Brel.HLP"), Bytes({'*', 'H', 'L', 'P', '\n'}));
        WadBuilder().level("E1M2").lump("NEWLUMP", "data").write(dir.file("lev.wad"));
        shell = ShellState{};
        ResetMaster();
    }
    void TearDown() override {
        ResetMaster();
        shell = ShellState{};
        std::filesystem::current_path(old_dir);
    }
    int Run(const std::string& input, std::vector<std::string> args = {}) {
        std::vector<std::string> all = {"zarn", "-main", dir.file("heretic.wad")};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<const char*> argv;
        for (const std::string& a : all)
            argv.push_back(a.c_str());
        testkit::ConsoleCapture capture(input);
        shell.editor = editor;
        int code = RunProgram(Flavour::Heretic, static_cast<int>(argv.size()), argv.data());
        output = capture.output();
        return code;
    }
    bool Saw(const std::string& text) const { return output.find(text) != std::string::npos; }

    // Creates the configuration file so that no setup is shown.
    void PrepareConfig() {
        ASSERT_EQ(Run("\nQ\n"), 0);
        ASSERT_TRUE(std::filesystem::exists(dir.file("Zarn.cfg")));
    }

    testkit::ScratchDir dir;
    std::filesystem::path old_dir;
    std::string output;
    EditorEntry editor = nullptr;
};

struct EditorCall {
    int16_t episode, map;
    bool newLevel, levelGiven;
};
std::vector<EditorCall> editor_calls;
std::vector<int> editor_answers;

int RecordingEditor(int16_t episode, int16_t map, bool newLevel, bool levelGiven) {
    editor_calls.push_back({episode, map, newLevel, levelGiven});
    int code = editor_answers.empty() ? 0 : editor_answers.front();
    if (!editor_answers.empty())
        editor_answers.erase(editor_answers.begin());
    return code;
}

TEST_F(ProgramTest, FirstRunShowsSetupThenEndsAndWritesTheConfiguration) {
    EXPECT_EQ(Run("\nW\nQ\n"), 0);
    EXPECT_TRUE(Saw("Please press Enter to set the File Names"));
    EXPECT_TRUE(Saw("ZARN SETUP"));
    EXPECT_TRUE(Saw("Zarn [?=help] > "));
    EXPECT_TRUE(Saw("Zarn Ended"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")).size(), 2516u);
    // With configuration, help file and IWAD present there is no setup.
    EXPECT_EQ(Run("Q\n"), 0);
    EXPECT_FALSE(Saw("Please press Enter"));
}

TEST_F(ProgramTest, EndOfInputEndsTheShellAsQuitDoes) {
    PrepareConfig();
    EXPECT_EQ(Run("W\n"), 0);
    EXPECT_TRUE(Saw("Zarn Ended"));
}

TEST_F(ProgramTest, ReadRemembersTheLevelAndTheFile) {
    PrepareConfig();
    EXPECT_EQ(Run("r lev\nR LEV\nQ\n"), 0);
    EXPECT_TRUE(Saw("Loading PWAD file: " + dir.file("LEV.WAD")));
    EXPECT_TRUE(Saw(" Contains level E1M2"));
    EXPECT_EQ(config.lastEpisode, 1);
    EXPECT_EQ(config.lastMap, 2);
    EXPECT_STREQ(config.pwadList[0], dir.file("LEV.WAD").c_str());
    EXPECT_EQ(config.pwadList[1][0], 0);   // read twice, listed once
    // The remembered PWAD is read again at the next start.
    EXPECT_EQ(Run("Q\n"), 0);
    EXPECT_TRUE(Saw(" Contains level E1M2"));
    EXPECT_EQ(Run("Q\n", {"-noload"}), 0);
    EXPECT_FALSE(Saw(" Contains level E1M2"));
}

TEST_F(ProgramTest, EditCommandPassesTheLevel) {
    PrepareConfig();
    editor = RecordingEditor;
    editor_calls.clear();
    EXPECT_EQ(Run("E 2 5\nedit\nDIR\nXYZZY\nN\nQ\n"), 0);
    ASSERT_EQ(editor_calls.size(), 3u);
    EXPECT_EQ(editor_calls[0].episode, 2);
    EXPECT_EQ(editor_calls[0].map, 5);
    EXPECT_TRUE(editor_calls[0].levelGiven);
    EXPECT_EQ(editor_calls[1].episode, 1);   // last level of the configuration
    EXPECT_FALSE(editor_calls[1].levelGiven);
    EXPECT_TRUE(editor_calls[2].newLevel);
}

TEST_F(ProgramTest, EditorReturnCodesReloadTheFiles) {
    PrepareConfig();
    editor = RecordingEditor;
    editor_calls.clear();
    editor_answers = {kEditorSavedAs, kEditorIwadOnly, kEditorNewLevel, kEditorLeave};
    EXPECT_EQ(Run("R LEV\nE\nQ\n"), 0);
    ASSERT_EQ(editor_calls.size(), 4u);
    EXPECT_TRUE(editor_calls[1].levelGiven);
    EXPECT_TRUE(editor_calls[3].newLevel);
    EXPECT_EQ(config.pwadList[0][0], 0);     // code 4 forgot every PWAD
    EXPECT_EQ(master.levelList[1].file, 0);
}

TEST_F(ProgramTest, FatalErrorEndsWithCodeFiveWithoutSavingTheConfiguration) {
    PrepareConfig();
    auto before = testkit::ReadFileBytes(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("Q\n", {"-video", "3", "-main", dir.file("nothere.wad")}), 5);
    EXPECT_TRUE(Saw("\nError: Please restart and set the correct main IWAD file name!\n"));
    EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")), before);
    EXPECT_EQ(Run("Q\n", {"-help"}), 5);
    EXPECT_TRUE(Saw("Error: invalid argument: \"-help\""));
}

TEST_F(ProgramTest, MissingHelpFileIsFatalAfterSetup) {
    PrepareConfig();
    std::filesystem::remove(dir.file("Brel.HLP"));
    EXPECT_EQ(Run("\nQ\n"), 5);
    EXPECT_TRUE(Saw("Please press Enter to set the File Names"));
    EXPECT_TRUE(Saw("Help File Brel.HLP Missing"));
}

TEST_F(ProgramTest, FileOptionReplacesTheRememberedList) {
    PrepareConfig();
    WadBuilder().lump("OTHER", "x").write(dir.file("other.wad"));
    EXPECT_EQ(Run("Q\n", {"-f", "lev"}), 0);
    EXPECT_TRUE(Saw(" Contains level E1M2"));
    EXPECT_EQ(Run("Q\n", {"-file", "other.wad"}), 0);
    EXPECT_FALSE(Saw(" Contains level E1M2"));
    EXPECT_STREQ(config.pwadList[0], dir.file("OTHER.WAD").c_str());
    EXPECT_EQ(config.pwadList[1][0], 0);
}

class OptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        startup = StartupState{};
        ResetConfig();
    }
    void Parse(std::vector<const char*> args) {
        args.insert(args.begin(), "zarn");
        ParseCommandLine(static_cast<int>(args.size()), args.data());
    }
    std::string ErrorOf(std::vector<const char*> args) {
        try {
            Parse(args);
        } catch (const ProgramExit& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(OptionTest, ShortLongAndUpperCaseFormsAreTheSame) {
    Parse({"-n"});
    EXPECT_EQ(startup.noLoad, 1);
    Parse({"+NOLOAD"});
    EXPECT_EQ(startup.noLoad, 0);
    Parse({"-Main", "X.WAD", "+v", "4"});
    EXPECT_STREQ(config.iwadName, "X.WAD");
    EXPECT_EQ(config.videoMode, 4);
}

TEST_F(OptionTest, ListTakesNamesUpToTheNextOption) {
    Parse({"-file", "A", "B", "C", "-video", "2"});
    EXPECT_EQ(startup.fileArgs, (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(config.videoMode, 2);
}

TEST_F(OptionTest, ErrorsNameTheArgument) {
    EXPECT_EQ(ErrorOf({"file"}), "options start with '-' or '+'");
    EXPECT_EQ(ErrorOf({"-x"}), "invalid argument: \"-x\"");
    EXPECT_EQ(ErrorOf({"-video"}), "missing argument after -video");
    EXPECT_EQ(ErrorOf({"+f"}), "missing argument after +f");
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
    std::string command = "cd " + dir.path() + " && printf '\\nDIRM MAP0?\\nQ\\n' | " +
                          ZARN_BINARY_DIR + "/brel -main " + iwad + " > out.txt 2>&1";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    auto out = testkit::ReadFileBytes(dir.file("out.txt"));
    std::string text(out.begin(), out.end());
    EXPECT_NE(text.find("MAP01"), std::string::npos);
    EXPECT_NE(text.find("Brel Ended"), std::string::npos);
}

}  // namespace
