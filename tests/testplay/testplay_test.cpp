// Shift-F1: what test play hands to the game, and when it hands nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "base/config.h"
#include "base/flavour.h"
#include "base/work_dir.h"
#include "level/level.h"
#include "level/level_files.h"
#include "support/session_kit.h"
#include "support/program_state.h"
#include "support/screen_text.h"
#include "testplay/handoff.h"
#include "testplay/testplay.h"
#include "testplay_kit.h"
#include "ui/graphics.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace {

using namespace testplay;

class TestPlayTest : public ::testing::Test {
protected:
    // An IWAD in its own directory and a PWAD holding the level in the working
    // directory, read over it; the level is the PWAD's. Hand-offs end the
    // program, as for the launcher, unless a test says otherwise.
    void Open(Flavour flavour, const char* levelName, int episode, int map, const char* pwad = "my level.wad") {
        testkit::ResetProgramState(flavour);
        config.exitHandOff = 1;
        std::filesystem::create_directories(Dir().file("games"));
        testkit::WadBuilder iwad("IWAD");
        if (levelName[0] == 'M')
            iwad.level("MAP01");   // what makes it a game of MAPxx levels
        iwad.level(levelName).write(Dir().file("games/iwad.wad"));
        testkit::WadBuilder("PWAD").level(levelName).write(Dir().file(pwad));
        testkit::OpenIwadAt(Dir().file("games/iwad.wad"));
        SetField(config.pwadList[0], Dir().file(pwad).c_str());
        master.currentLevelRow = LoadPwad(config.pwadList[0]);
        ASSERT_GT(master.currentLevelRow, 0);
        config.lastEpisode = static_cast<int16_t>(episode);
        config.lastMap = static_cast<int16_t>(map);
        SetLevelName(episode, map);
        InstallToolkit();   // saving asks through the editor's dialogs
        InitGraphics(GraphicsPalette::Basic);
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

    // Plays with the keys given; the exit code (-1: back in the editor).
    int Play(const std::string& keys) {
        session.Script(keys);
        return ExitOf([] { TestPlay(); }).code;
    }

    std::string Batch() { return ReadText(Dir().file(Names().playBatch)); }
    std::string Response() { return ReadText(Dir().file(Names().responseFile)); }
    bool Written(const char* name) { return std::filesystem::exists(Dir().file(name)); }
    const testkit::ScratchDir& Dir() { return session.Dir(); }

    testkit::Session session;
    std::string path = std::getenv("PATH");
    ~TestPlayTest() override { setenv("PATH", path.c_str(), 1); }
};

TEST_F(TestPlayTest, TheGameGetsTheLevelThroughTheResponseFileOrItsCommandLine) {
    const std::string kWoof = "ZARN_ENGINE='woof' ZARN_ENGINE_PACKAGE='woof-doom' DOOM2 '@' '-complevel' ";
    struct {
        Flavour flavour;
        const char* level;
        int episode, map;
        int responseFile;
        MapTarget target;
        const char* keys;           // the bulletin (HERETIC), then the options
        std::string programLine;    // after the IWAD variable; "@" the response file
        const char* warp;
    } cases[] = {
        {Flavour::Doom, "MAP07", 1, 7, 1, MapTarget::Original, "key Enter", "DOOM2 '@'", "7"},
        {Flavour::Doom, "MAP07", 1, 7, 0, MapTarget::Original, "key Enter", "DOOM2 '@'", "7"},
        {Flavour::Doom, "E2M3", 2, 3, 1, MapTarget::Original, "key Enter", "DOOM '@'", "2 3"},
        {Flavour::Doom, "E2M3", 2, 3, 0, MapTarget::Original, "key Enter",
         "DOOM '-devparm' '-warp' '2' '3' '-file' 'PWAD' '-skill' '4' '-debug' '-nomonsters'", nullptr},
        {Flavour::Heretic, "E2M3", 2, 3, 0, MapTarget::Original, "key Enter\nkey Enter", "HERETIC '@'", "2 3"},
        // A level for a port names its engine (and the package that has it)
        // for the adapter, with the options that set the engine to the target
        // after the level's own; a HERETIC level always plays in Chocolate
        // Heretic.
        {Flavour::Doom, "MAP07", 1, 7, 1, MapTarget::LimitRemoving, "key Enter",
         "ZARN_ENGINE='crispy-doom' ZARN_ENGINE_PACKAGE='crispy-doom' DOOM2 '@'", "7"},
        {Flavour::Doom, "MAP07", 1, 7, 1, MapTarget::Boom, "key Enter", kWoof + "'boom'", "7"},
        {Flavour::Doom, "MAP07", 1, 7, 1, MapTarget::Mbf21, "key Enter", kWoof + "'mbf21'", "7"},
        {Flavour::Heretic, "E2M3", 2, 3, 1, MapTarget::Boom, "key Enter\nkey Enter", "HERETIC '@'", "2 3"},
    };
    for (const auto& c : cases) {
        Open(c.flavour, c.level, c.episode, c.map);
        config.responseFile = static_cast<int16_t>(c.responseFile);
        level.target = c.target;
        ASSERT_EQ(Play(c.keys), kExitHandOff) << c.level << c.responseFile;
        std::string iwad = Dir().file("games/iwad.wad"), pwad = Dir().file("my level.wad");
        std::string line = c.programLine;
        for (size_t at; (at = line.find("'@'")) != std::string::npos;)
            line.replace(at, 3, "'@" + Dir().file(Names().responseFile) + "'");
        for (size_t at; (at = line.find("PWAD")) != std::string::npos;)
            line.replace(at, 4, pwad);
        EXPECT_EQ(Batch(), ":\ncd '" + Dir().file("games") + "'\n" + kIwadVariable + "='" + iwad + "' " + line +
                               "\n:\ncd '" + Dir().path().substr(0, Dir().path().size() - 1) + "'\n")
            << c.level << c.responseFile;
        if (c.warp)
            EXPECT_EQ(Response(), std::string("-devparm -warp ") + c.warp + "\n-file \"" + pwad +
                                      "\" -skill 4 -debug -nomonsters\n");
        else
            EXPECT_FALSE(Written(Names().responseFile));
        std::filesystem::remove(Dir().file(Names().responseFile));
    }
}

TEST_F(TestPlayTest, NothingIsHandedOffWhenTheLevelCannotOrShouldNotBePlayed) {
    std::string erase = "key End\n";
    for (int i = 0; i < 30; ++i)
        erase += "key Backspace\n";
    struct {
        const char* why;
        std::string keys;
        bool fromIwad, mapChanged;
        const char* optionsAfter;
    } cases[] = {
        {"level not saved", "key Enter", true, false, "-skill 4 -debug -nomonsters"},
        {"nodes not built", "key N", false, true, "-skill 4 -debug -nomonsters"},
        {"options cancelled", "type -SKILL 1\nkey Esc", false, false, "-skill 4 -debug -nomonsters"},
        {"options emptied", erase + "key Enter", false, false, "-skill 4 -debug -nomonsters"},
    };
    for (const auto& c : cases) {
        Open(Flavour::Doom, "MAP01", 1, 1);
        if (c.fromIwad)
            master.currentLevelRow = 0;
        level.mapChanged = c.mapChanged;
        session.ExactScript(c.keys);
        EXPECT_EQ(ExitOf([] { TestPlay(); }).code, -1) << c.why;
        EXPECT_STREQ(config.testOptions, c.optionsAfter) << c.why;
        EXPECT_FALSE(Written(Names().playBatch)) << c.why;
    }
    // Typed options are kept for the next test play.
    Open(Flavour::Doom, "MAP01", 1, 1);
    level.mapChanged = true;
    ASSERT_EQ(Play("key Y\ntype -SKILL 1\nkey Enter"), kExitHandOff);
    ResetConfig();
    ASSERT_EQ(LoadConfig(), 1);
    EXPECT_STREQ(config.testOptions, "-SKILL 1");
    EXPECT_NE(Response().find("my level.wad\" -SKILL 1\n"), std::string::npos) << Response();
}

// With unsaved changes Shift-F1 asks first: save, build and play (Enter),
// play the last saved file, or nothing.
TEST_F(TestPlayTest, UnsavedChangesAreSavedBuiltAndPlayedOrLeftAsTheUserChooses) {
    const struct {
        const char* keys;
        bool played, saved;
    } cases[] = {
        {"key Esc", false, false},
        {"key C", false, false},
        {"key P\nkey Enter\nkey Enter", true, false},   // the options, the box of a quick end
        // The file name, the REJECT question, the options, the box.
        {"key Enter\nkey Enter\nkey N\nkey Enter\nkey Enter", true, true},
    };
    for (const auto& c : cases) {
        Open(Flavour::Doom, "MAP01", 1, 1, "MINE.WAD");
        RunGamesAsChildren();
        Adapter("DOOM2", "echo \"$@\" > ../game");
        Adapter("Brelbsp", "cp \"$1\" \"$2\"");
        std::filesystem::remove(Dir().file("game"));
        testkit::Bytes saved = testkit::ReadFileBytes(Dir().file("MINE.WAD"));
        ResizeObject(level, kObjThing, Resize::AddOne);
        level.levelChanged = true;
        EXPECT_EQ(Play(c.keys), -1) << c.keys;
        EXPECT_EQ(std::filesystem::exists(Dir().file("game")), c.played) << c.keys;
        EXPECT_EQ(testkit::ReadFileBytes(Dir().file("MINE.WAD")) != saved, c.saved) << c.keys;
        EXPECT_EQ(level.levelChanged, !c.saved) << c.keys;
        EXPECT_EQ(level.things.count, 1) << c.keys;
    }

    // A game that fails is reported with what it wrote on its error output.
    Open(Flavour::Doom, "MAP01", 1, 1);
    RunGamesAsChildren();
    Adapter("DOOM2", "echo 'W_InitFiles: no files found' >&2; exit 3");
    const std::string box = Dir().file("box.png");
    testkit::StderrCapture quiet;
    EXPECT_EQ(Play("key Enter\nsnapshot " + box + "\nkey Enter"), -1);   // the options, the box
    EXPECT_TRUE(testkit::SnapshotShowsText(box, "DOOM2 ended with exit code 3"));
    EXPECT_TRUE(testkit::SnapshotShowsText(box, "W_InitFiles: no files found"));
}

}  // namespace
