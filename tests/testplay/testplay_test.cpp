// Shift-F1 and the node builder: what the editor hands to the game or the
// node builder, and when it hands nothing; and the edit-test loop end to end
// on Freedoom's MAP01 with the real node builder (ZDBSP) and game (Chocolate
// Doom), run by the editor. (The launcher's hand-offs: tests/shell.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "base/config.h"
#include "editor/editor_session.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "level/level.h"
#include "level/history.h"
#include "level/level_files.h"
#include "support/game_kit.h"
#include "support/map_kit.h"
#include "support/png_reader.h"
#include "support/program_state.h"
#include "support/screen_text.h"
#include "support/session_kit.h"
#include "testplay/handoff.h"
#include "testplay/testplay.h"
#include "ui/graphics.h"
#include "ui/toolkit.h"
#include "source_paths.h"
#include "wad/master.h"

namespace {

std::string ReadText(const std::string& path) {
    testkit::Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteScript(const std::string& path, const std::string& text) {
    testkit::WriteFileBytes(path, testkit::Bytes(text.begin(), text.end()));
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
}

class TestPlayTest : public ::testing::Test {
protected:
    // An IWAD in its own directory and a PWAD holding the level (E2M3 or MAP07)
    // in the working directory, read over it; the level is the PWAD's.
    // Hand-offs end the program, as for the launcher, unless a test says
    // otherwise.
    void Open(Flavour flavour, const char* levelName, const char* pwad = "my level.wad") {
        testkit::ResetProgramState(flavour);
        config.exitHandOff = 1;
        std::filesystem::create_directories(Dir().file("games"));
        testkit::WadBuilder iwad("IWAD");
        if (levelName[0] == 'M')
            iwad.level("MAP01");   // what makes it a game of MAPxx levels
        iwad.level(levelName).write(Dir().file("games/iwad.wad"));
        testkit::WadBuilder("PWAD").level(levelName).write(Dir().file(pwad));
        testkit::OpenIwadAt(Dir().file("games/iwad.wad"));
        master.currentLevelRow = session.ReadPwad(Dir().file(pwad));
        ASSERT_GT(master.currentLevelRow, 0);
        SetLevelName(levelName[0] == 'E' ? levelName[1] - '0' : 1, std::atoi(levelName + 3));
    }

    // The editor runs the game itself, through adapters of the test's own:
    // those written here, and nothing else found on PATH.
    void RunGamesAsChildren() {
        config.exitHandOff = 0;
        handOff.adapterDir = Dir().file("adapters");
        std::filesystem::create_directories(handOff.adapterDir);
        setenv("PATH", "/usr/bin:/bin", 1);
        SetNodeBuilderHandOff(HandOffNodeBuilder);
    }
    void Adapter(const char* name, const std::string& commands) {
        WriteScript(handOff.adapterDir + "/" + name, "#!/bin/sh\n" + commands + "\n");
    }

    // Plays on the editor's screen with the keys given (exact: the run ends
    // when the program asks for more); the message of the hand-off that ends
    // the program ("": back in the editor).
    std::string Play(const std::string& keys, bool exact = false) {
        InstallToolkit();   // saving asks through the editor's dialogs
        InitGraphics(GraphicsPalette::Basic);
        exact ? session.ExactScript(keys) : session.Script(keys);
        return testkit::ExitOf([] { TestPlay(); }, kExitHandOff);
    }

    bool Written(const char* name) { return std::filesystem::is_regular_file(Dir().file(name)); }
    const testkit::ScratchDir& Dir() { return session.Dir(); }
    // The working directory as the shell names it, without a trailing "/".
    std::string WorkDirectory() { return Dir().path().substr(0, Dir().path().size() - 1); }

    testkit::Session session{std::string(64, '\n')};   // Enter for every console key
    std::string path = std::getenv("PATH");
    ~TestPlayTest() override { setenv("PATH", path.c_str(), 1); }
};

TEST_F(TestPlayTest, TheGameGetsTheLevelThroughTheResponseFileOrItsCommandLine) {
    const std::string pwad = Dir().file("my level.wad");
    const std::string kWoof = "ZARN_ENGINE='woof' ZARN_ENGINE_PACKAGE='woof-doom' DOOM2 '@' '-complevel' ";
    struct {
        Flavour flavour;
        const char* level;
        int responseFile;
        MapTarget target;
        std::string programLine;    // after the IWAD variable; "@" the response file
    } cases[] = {
        {Flavour::Doom, "MAP07", 1, MapTarget::Original, "DOOM2 '@'"},
        {Flavour::Doom, "E2M3", 1, MapTarget::Original, "DOOM '@'"},
        {Flavour::Doom, "E2M3", 0, MapTarget::Original,
         "DOOM '-devparm' '-warp' '2' '3' '-file' '" + pwad + "' '-SKILL' '1'"},
        {Flavour::Heretic, "E2M3", 0, MapTarget::Original, "HERETIC '@'"},
        // A level for a port names its engine (and the package that has it)
        // for the adapter, with the options that set the engine to the target
        // after the level's own; a HERETIC level always plays in Chocolate
        // Heretic.
        {Flavour::Doom, "MAP07", 1, MapTarget::LimitRemoving,
         "ZARN_ENGINE='crispy-doom' ZARN_ENGINE_PACKAGE='crispy-doom' DOOM2 '@'"},
        {Flavour::Doom, "MAP07", 1, MapTarget::Boom, kWoof + "'boom'"},
        {Flavour::Doom, "MAP07", 1, MapTarget::Mbf21, kWoof + "'mbf21'"},
        {Flavour::Heretic, "E2M3", 1, MapTarget::Boom, "HERETIC '@'"},
    };
    for (const auto& c : cases) {
        Open(c.flavour, c.level);
        config.responseFile = static_cast<int16_t>(c.responseFile);
        level.target = c.target;
        // The bulletin (HERETIC), then options of the user's own.
        std::string keys = std::string(IsHeretic() ? "key Enter\n" : "") + "type -SKILL 1\nkey Enter";
        ASSERT_NE(Play(keys), "") << c.level << c.responseFile;
        std::string rsp = "'@" + Dir().file(Names().responseFile) + "'";
        EXPECT_EQ(ReadText(Dir().file(Names().playBatch)),
                  ":\ncd '" + Dir().file("games") + "'\n" + kIwadVariable + "='" + Dir().file("games/iwad.wad") +
                      "' " + std::regex_replace(c.programLine, std::regex("'@'"), rsp) + "\n:\ncd '" +
                      WorkDirectory() + "'\n")
            << c.level << c.responseFile;
        if (c.programLine.find("'@'") != std::string::npos)
            EXPECT_EQ(ReadText(Dir().file(Names().responseFile)),
                      std::string("-devparm -warp ") + (c.level[0] == 'M' ? "7" : "2 3") + "\n-file \"" + pwad +
                          "\" -SKILL 1\n");
        else
            EXPECT_FALSE(Written(Names().responseFile));
        std::filesystem::remove(Dir().file(Names().responseFile));
    }
    // The options typed are kept for the next test play.
    ResetConfig();
    ASSERT_EQ(LoadConfig(), 1);
    EXPECT_STREQ(config.testOptions, "-SKILL 1");
}

// Each way out keeps the options as they were and writes no hand-off.
TEST_F(TestPlayTest, NothingIsHandedOffWhenTheLevelCannotOrShouldNotBePlayed) {
    struct {
        const char* why;
        std::string keys;
        bool fromIwad, mapChanged;
    } cases[] = {
        {"level not saved", "key Enter", true, false},
        {"nodes not built", "key N", false, true},
        {"options cancelled", "type -SKILL 1\nkey Esc", false, false},
    };
    for (const auto& c : cases) {
        Open(Flavour::Doom, "MAP01");
        if (c.fromIwad)
            master.currentLevelRow = 0;
        level.mapChanged = c.mapChanged;
        EXPECT_EQ(Play(c.keys, true), "") << c.why;
        EXPECT_STREQ(config.testOptions, "-skill 4 -debug -nomonsters") << c.why;
        EXPECT_FALSE(Written(Names().playBatch)) << c.why;
    }
}

// With unsaved changes Shift-F1 asks first: save, build and play (Enter),
// play the last saved file, or nothing. A game that fails is reported with
// what it wrote on its error output.
TEST_F(TestPlayTest, UnsavedChangesAreSavedBuiltAndPlayedOrLeftAsTheUserChooses) {
    const struct {
        const char* keys;   // those of a game played end with its options
        bool played, saved;
    } cases[] = {
        {"key Esc", false, false},   {"key C", false, false},   {"key P\nkey Enter", true, false},
        // The file name, the REJECT question, the options.
        {"key Enter\nkey Enter\nkey N\nkey Enter", true, true},
    };
    const std::string box = Dir().file("box.png");
    testkit::StderrCapture quiet;
    for (const auto& c : cases) {
        Open(Flavour::Doom, "MAP01", "MINE.WAD");
        RunGamesAsChildren();
        Adapter("DOOM2", "echo \"$@\" > ../game; echo 'W_InitFiles: no files found' >&2; exit 3");
        Adapter("Brelbsp", "cp \"$1\" \"$2\"");
        std::filesystem::remove(Dir().file("game"));
        std::filesystem::remove(box);
        testkit::Bytes saved = testkit::ReadFileBytes(Dir().file("MINE.WAD"));
        ResizeObject(level, kObjThing, Resize::AddOne);
        level.levelChanged = true;
        EXPECT_EQ(Play(c.keys + std::string(c.played ? "\nsnapshot " + box + "\nkey Enter" : "")), "") << c.keys;
        EXPECT_EQ(std::filesystem::exists(Dir().file("game")), c.played) << c.keys;
        EXPECT_EQ(testkit::ReadFileBytes(Dir().file("MINE.WAD")) != saved, c.saved) << c.keys;
        EXPECT_EQ(level.levelChanged, !c.saved) << c.keys;
        EXPECT_EQ(level.things.count, 1) << c.keys;
        for (const char* line : {"DOOM2 ended with exit code 3", "W_InitFiles: no files found"})
            EXPECT_EQ(c.played && testkit::SnapshotShowsText(box, line), c.played) << c.keys << line;
    }
}

// The node builder runs as a child (through the same script, the adapters
// first on PATH) and its end comes back; with a directory where the
// configuration or the script must go, nothing is handed off, and the level
// and the IWAD stay for the user to save another way.
TEST_F(TestPlayTest, TheNodeBuilderRunsAsAChildOrNothingIsHandedOff) {
    const struct {
        const char* blocked;   // the file a directory stands for (the hand-off then ends the program)
        const char* builder;   // the adapter's commands; null: there is none
        NodeBuildEnd end;
        std::vector<std::string> why;
    } cases[] = {
        {"Brel.cfg", nullptr, NodeBuildEnd::NotRun, {}},
        {"BrelPlay.BAT", nullptr, NodeBuildEnd::NotRun, {}},
        {nullptr, "printf '%s|' \"$PWD\" \"$@\" \"${PATH%%:*}\" > args", NodeBuildEnd::Built, {}},
        {nullptr, "echo 'Map is incomplete' >&2; echo 'Brelbsp: the nodes of MAP07 were NOT built.' >&2; exit 1",
         NodeBuildEnd::Failed,
         {"Brelbsp ended with exit code 1", "Map is incomplete", "Brelbsp: the nodes of MAP07 were NOT built."}},
        {nullptr, nullptr, NodeBuildEnd::Failed,
         {"Brelbsp could not be started", "./BrelPlay.BAT: 3: Brelbsp: not found"}},
    };
    testkit::StderrCapture quiet;   // what the adapters say
    for (const auto& c : cases) {
        Open(Flavour::Doom, "MAP07");
        RunGamesAsChildren();
        config.exitHandOff = c.blocked != nullptr;
        mapkit::AddRoom(0, 0, 64, 64, mapkit::AddSector());
        FILE* iwad = MakeRowReady(0);
        std::filesystem::remove(handOff.adapterDir + "/Brelbsp");
        if (c.builder)
            Adapter("Brelbsp", c.builder);
        if (c.blocked)
            std::filesystem::create_directory(Dir().file(c.blocked));
        NodeBuildResult built = HandOffNodeBuilder(Dir().file("~Brel.WAD"), "NEW $HOME'S.WAD", "MAP07");
        EXPECT_EQ(built.end, c.end) << c.why.size();
        EXPECT_EQ(built.why, c.why);
        if (!c.blocked)
            continue;
        for (const std::string& line : {"Unable to create " + Dir().file(c.blocked), std::string("Is a directory"),
                                         std::string("The hand-off was cancelled.")})
            EXPECT_TRUE(testkit::Contains(session.Console(), line)) << line;
        EXPECT_FALSE(Written(Names().playBatch)) << c.blocked;
        EXPECT_EQ(level.lineDefs.count, 4) << c.blocked;
        EXPECT_EQ(master.table[0].handle, iwad) << c.blocked;
        std::filesystem::remove(Dir().file(c.blocked));
    }
    EXPECT_EQ(ReadText(Dir().file("args")),
              WorkDirectory() + "|" + Dir().file("~Brel.WAD") + "|NEW $HOME'S.WAD|MAP07|" + handOff.adapterDir + "|");
}

class PlaySessionTest : public editor_test::EditorSession {
protected:
    // The engine as the adapter finds it first on PATH: the real one without
    // a display for a few seconds; one that ran until then has played.
    void SetUp() override {
        EditorSession::SetUp();
        if (IsSkipped())
            return;
        if (!testkit::HaveGameAndNodeBuilder())
            GTEST_SKIP() << "needs Chocolate Doom and ZDBSP (Debian packages chocolate-doom, zdbsp)";
        InstallTestPlay();
        SetNodeBuilderHandOff(HandOffNodeBuilder);
        handOff.adapterDir = std::string(ZARN_BINARY_DIR) + "/adapters";
        const testkit::ScratchDir& dir = session->Dir();
        std::filesystem::create_directory(dir.file("games"));
        WriteScript(dir.file("games/chocolate-doom"),
                    "#!/bin/sh\nHOME='" + dir.path() + "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 5 "
                    "stdbuf -oL -eL /usr/games/chocolate-doom \"$@\" -nosound -nomusic > '" + dir.file("game.log") +
                        "' 2>&1\n[ $? -eq 124 ]\n");
        setenv("PATH", (dir.file("games") + ":" + path).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", path.c_str(), 1);
        EditorSession::TearDown();
    }
    static Pixels MapAreaOf(const std::string& png) {
        testkit::PngPicture picture;
        EXPECT_EQ(testkit::ReadPng(png, picture), "") << png;
        return picture.pixels.empty() ? Pixels() : MapArea(picture.pixels);
    }
    std::string path = std::getenv("PATH");
};

// Shift-F1 on a changed level saves it, builds its nodes and plays it, and
// the editor comes back as it was.
TEST_F(PlaySessionTest, ShiftF1SavesBuildsAndPlaysAndTheEditorComesBackAsItWas) {
    std::string before = session->Dir().file("before.png"), after = session->Dir().file("after.png");
    // An edit (Ins adds a Thing), a zoom and a selection; F5's dialog, left
    // at once, redraws the whole screen, as the return from the game does,
    // for the picture before.
    EXPECT_EQ(Run("key Ins\nkey 3\nkey Ctrl-A\nkey F5\nkey Esc\nwait 0\nsnapshot " + before +
                  "\nkey Shift-F1\n"
                  "key Enter\nkey Enter\nkey N\nkey Enter\n"   // save, build and play; the file; REJECT; options
                  "wait 1500\nwait 0\nsnapshot " + after + "\nkey Ctrl-Z\nwait 0\n"),
              editor_test::kScriptEnded);
    // Saved with the edit and new nodes, and played.
    testkit::WadContents saved = testkit::ReadWad(session->Dir().file("MAP01.WAD"));
    EXPECT_EQ(saved.data("THINGS").size(), testkit::ReadWad(iwad).data("THINGS").size() + sizeof(Thing));
    EXPECT_NE(saved.data("NODES"), testkit::ReadWad(iwad).data("NODES"));
    std::string game = ReadText(session->Dir().file("game.log"));
    EXPECT_NE(game.find("adding " + session->Dir().file("MAP01.WAD")), std::string::npos) << game;
    // The editor took the new file, and its nodes, as the level's; the same
    // view, mode and selection; the undo history kept: Ctrl-Z took back the
    // edit made before the test.
    EXPECT_TRUE(testkit::SnapshotShowsText(after, "MAP01.WAD"));
    EXPECT_EQ(static_cast<size_t>(level.numNodes * kNodeRecord), saved.data("NODES").size());
    EXPECT_EQ(MapAreaOf(after), MapAreaOf(before));
    EXPECT_EQ(RedoLabel(), "insert Thing");
    EXPECT_TRUE(level.levelChanged);
    EXPECT_EQ(config.editMode, kObjThing);
    EXPECT_EQ(selection.list.size(), level.things.count);
}

}  // namespace
