// The whole program run in this process through its shell: what a start
// reads, remembers and refuses, and what the commands hand to the editor
// and the viewers.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <tuple>
#include <unistd.h>

#include "base/config.h"
#include "editor/editor.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "support/fault_kit.h"
#include "support/picture_kit.h"
#include "support/program_state.h"
#include "support/screen_text.h"
#include "wad/master.h"

using testkit::Bytes;
using testkit::WadBuilder;

namespace {

// What the editor was asked for ("episode map", then " new" and " given" as
// set), and the codes it answers with in turn (then 0).
std::vector<std::string> editorCalls;
std::vector<int> editorAnswers;

int RecordingEditor(int16_t episode, int16_t map, LevelSource source, LevelChoice choice) {
    editorCalls.push_back(std::to_string(episode) + " " + std::to_string(map) +
                          (source == LevelSource::NewLevel ? " new" : "") +
                          (choice == LevelChoice::Given ? " given" : ""));
    int code = editorAnswers.empty() ? 0 : editorAnswers.front();
    if (!editorAnswers.empty())
        editorAnswers.erase(editorAnswers.begin());
    return code;
}

// Runs the whole program in a scratch directory that holds a small
// HERETIC-style IWAD, a help file and a PWAD with E1M2.
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
    // Creates the configuration file so that no setup is shown.
    void PrepareConfig() { ASSERT_EQ(Run("\nQ\n"), 0); }
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
    PrepareConfig();
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
    PrepareConfig();
    EXPECT_EQ(Run("E 2 5\nedit\nDIR\nXYZZY\nN\nQ\n"), 0);
    // Without numbers: the last level of the configuration.
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"2 5 given", "1 1", "1 1 new"}));
    editorCalls.clear();
    editorAnswers = {kEditorSavedAs, kEditorIwadOnly, kEditorNewLevel, kEditorLeave};
    EXPECT_EQ(Run("R LEV\nE\nQ\n"), 0);
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"1 2", "1 2 given", "1 2 given", "1 2 new given"}));
    EXPECT_EQ(Pwads(), std::vector<std::string>{});   // code 4 forgot every PWAD
    EXPECT_EQ(master.levelList[1].file, 0);
    // Commands are found in any case; a new file keeps the name as typed.
    EXPECT_EQ(Run("DiRm * Listing2.Txt\nq\n"), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Listing2.Txt")));
}

TEST_F(ProgramTest, EditOptionStartsTheEditorOnTheLevelOnce) {
    // The first start runs the setup, then the editor on the last level (E1M1).
    EXPECT_EQ(Run("\nQ\n", {"-e"}), 0);
    EXPECT_TRUE(Saw("ZARN SETUP"));
    EXPECT_EQ(editorCalls, (std::vector<std::string>{"1 1 given"}));
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
// as it was (a first start leaves none).
TEST_F(ProgramTest, FatalErrorsEndWithCodeFiveWithoutSavingTheConfiguration) {
    PrepareConfig();
    Bytes before = testkit::ReadFileBytes(dir.file("Zarn.cfg"));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-video", "3", "-main", dir.file("nothere.wad")},
         "\nError: Please restart and set the correct main IWAD file name!\n"},
        {{"-e", "MAP01"}, "Error: no level MAP01: the levels of this game are named ExMy (E1M1, E1M2, ...)"},
    };
    editorCalls.clear();
    for (const auto& [args, message] : cases) {
        EXPECT_EQ(Run("Q\n", args), 5);
        ExpectSaw({message});
        EXPECT_EQ(testkit::ReadFileBytes(dir.file("Zarn.cfg")), before);
    }
    EXPECT_TRUE(editorCalls.empty());
    std::filesystem::remove(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("\nQ\n", {"-e", "MAP01"}), 5);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Zarn.cfg")));
}

// A help file that moved is found in the working directory, or with the
// shipped data; one that neither has is fatal after the setup it brings up.
TEST_F(ProgramTest, MovedHelpFileIsFoundAndAMissingOneIsFatal) {
    PrepareConfig();
    SetConfigName(kHelpField, dir.file("old/Brel.HLP"));
    EXPECT_EQ(Run("Q\n"), 0);
    EXPECT_STREQ(config.helpFile, "Brel.HLP");
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
    PrepareConfig();
    // A save killed earlier left its temporary file; one of a running program stays.
    std::string leftover = ".LEV.WAD.zarn-partial-" + std::to_string(testkit::EndedProcessId()) + "-x1Y2z3";
    std::string running = ".LEV.WAD.zarn-partial-" + std::to_string(getppid()) + "-x1Y2z3";
    testkit::WriteFileBytes(dir.file(leftover), Bytes(10, 1));
    testkit::WriteFileBytes(dir.file(running), Bytes(10, 1));
    // The configuration cannot replace a directory of its name.
    std::filesystem::remove(dir.file("Zarn.cfg"));
    std::filesystem::create_directory(dir.file("Zarn.cfg"));
    EXPECT_EQ(Run("\nQ\n"), 0);
    ExpectSaw({"Zarn Ended", "Settings not saved: " + dir.file("Zarn.cfg") + " could not be written (Is a directory)"});
    EXPECT_FALSE(std::filesystem::exists(dir.file(leftover)));
    EXPECT_TRUE(std::filesystem::exists(dir.file(running)));
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
    PrepareConfig();
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
    PrepareConfig();
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
