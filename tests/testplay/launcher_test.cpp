// The launcher that runs the hand-offs and restarts the editor, and the game
// adapters.
#include "level/level.h"
#include "level/level_files.h"
#include "base/config.h"
#include "support/screen_text.h"
#include "support/wad_session.h"
#include "testplay_kit.h"
#include "source_paths.h"

namespace {

using namespace testplay;

class LauncherTest : public testkit::WadSession {
protected:
    LauncherTest() : WadSession(Flavour::Doom) {}
};

// A stand-in editor beside a copy of the launcher, and an adapter that logs
// its arguments and the first directory on PATH ("@" in the logs below).
TEST_F(LauncherTest, HandOffsRestartTheEditorUntilItEndsWithAnotherCode) {
    struct {
        const char* codes;     // of the editor's runs
        const char* handOff;   // the program line of the script it leaves; null: none
        int code;
        const char* log;
        const char* shown;
    } cases[] = {
        {"100 100 0", "Brelbsp 'a b'", 0, "brel -f X|Brelbsp a b @|brel |Brelbsp a b @|brel |", ""},
        {"5", "Brelbsp", 5, "brel -f X|", ""},
        {"3", "Brelbsp", 3, "brel -f X|", ""},
        {"100 0", "DOOM9 -warp 1", 0, "brel -f X|brel |", "DOOM9: not found"},
        {"100", nullptr, 100, "brel -f X|", "left no BrelPlay.BAT"},
    };
    std::string bin = dir.file("bin/");
    std::filesystem::create_directories(bin + "adapters");
    std::filesystem::copy_file(std::string(ZARN_SOURCE_DIR) + "/scripts/editor-launcher", bin + "brel-launcher");
    WriteScript(bin + "brel", "#!/bin/sh\nprintf 'brel %s|' \"$*\" >> log\n"
                              "code=$(head -n 1 codes) && sed -i 1d codes && exit $code\n");
    WriteScript(bin + "adapters/Brelbsp", "#!/bin/sh\nprintf 'Brelbsp %s %s|' \"$*\" \"${PATH%%:*}\" >> log\n");
    for (const auto& c : cases) {
        Shell(dir, "rm -f log BrelPlay.BAT && printf '%s\\n' " + std::string(c.codes) + " > codes");
        if (c.handOff)
            Shell(dir, "printf ':\\ncd .\\n%s\\n:\\ncd .\\n' \"" + std::string(c.handOff) + "\" > BrelPlay.BAT");
        Ended run = Shell(dir, "bin/brel-launcher -f X < /dev/null");
        EXPECT_EQ(run.code, c.code) << c.codes << run.output;
        std::string log = ReadText(dir.file("log"));
        for (size_t at; (at = log.find(bin + "adapters")) != std::string::npos;)
            log.replace(at, bin.size() + 8, "@");
        EXPECT_EQ(log, c.log) << c.codes;
        EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.codes << run.output;
    }
}

// The editor runs the game in its IWAD's directory with options or a
// response file and names its IWAD in ZARN_IWAD; the adapter passes that on,
// or adds the IWAD of that game found there.
TEST_F(LauncherTest, GameAdaptersStartTheEngineOnTheRightIwad) {
    for (const char* engine : {"chocolate-doom", "chocolate-heretic"})
        WriteScript(dir.file(engine), "#!/bin/sh\necho \"$*\"\n");
    WriteScript(dir.file("port-engine"), "#!/bin/sh\necho \"port $*\"\n");
    for (const char* iwad : {"FREEDOOM1.WAD", "freedoom2.wad"})
        testkit::WriteFileBytes(dir.file(iwad), testkit::Bytes(4, 'I'));
    testkit::WriteFileBytes(dir.file("Brel.RSP"), testkit::Bytes{'-', 'w', 'a', 'r', 'p', ' ', '2'});
    struct {
        const char* command;
        std::string shown;
        int code;
    } cases[] = {
        {"DOOM -warp 1 3", "-warp 1 3 -iwad " + dir.file("FREEDOOM1.WAD") + "\n", 0},
        {"DOOM2 @Brel.RSP", "@Brel.RSP -iwad " + dir.file("freedoom2.wad") + "\n", 0},
        {"DOOM2 -IWAD my.wad -warp 2", "-IWAD my.wad -warp 2\n", 0},
        // The hand-off names the editor's IWAD, wherever the game runs.
        {"ZARN_IWAD=/games/doom2.wad DOOM2 @Brel.RSP", "@Brel.RSP -iwad /games/doom2.wad\n", 0},
        {"ZARN_IWAD=/games/heretic.wad HERETIC @Zarn.RSP", "@Zarn.RSP -iwad /games/heretic.wad\n", 0},
        {"run-game no-such-engine doom.wad", "no-such-engine is not installed: test play needs it", 127},
        // A port's engine, named by the hand-off, runs in the adapter's place.
        {"ZARN_ENGINE=port-engine DOOM2 -warp 2", "port -warp 2 -iwad " + dir.file("freedoom2.wad") + "\n", 0},
        {"ZARN_ENGINE=no-port ZARN_ENGINE_PACKAGE=woof-doom DOOM2",
         "no-port is not installed: test play needs it (Debian package woof-doom).", 127},
    };
    for (const auto& c : cases) {
        Ended run = Shell(dir, "PATH='" + kAdapters + "':\"$PWD:$PATH\" " + c.command);
        EXPECT_EQ(run.code, c.code) << c.command;
        EXPECT_EQ(run.output.substr(0, c.shown.size()), c.shown) << c.command;
    }
}

// The real program on Freedoom's MAP01, handing off by exit code 100 and
// started again by the launcher on that level each time: Alt-F2 saves it
// with the nodes to be rebuilt, which ZDBSP builds; Shift-F1 plays the
// saved PWAD with the default options in Chocolate Doom (without a display
// or sound, for a few seconds: a game that runs until then has played).
// Each hand-off sets the keys of the next run.
TEST_F(LauncherTest, BrelHandsALevelToTheNodeBuilderAndTheGameAndComesBackToIt) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty() || !HaveZdbsp() || std::system("test -x /usr/games/chocolate-doom") != 0)
        GTEST_SKIP() << "needs Freedoom, zdbsp and Chocolate Doom (Debian packages freedoom, zdbsp, chocolate-doom)";
    SetField(config.iwadName, iwad.c_str());   // a configuration that needs no first-time setup
    config.autoStart = 1;   // every start goes straight to the level edited last: MAP01
    config.exitHandOff = 1;
    ASSERT_TRUE(SaveConfig());
    testkit::WriteFileBytes(dir.file("Brel.HLP"), testkit::Bytes{'*', 'H', 'L', 'P', '\n'});
    WriteScript(dir.file("keys"), "key Alt-F2\nkey Enter\nkey N\n");   // file name, keep REJECT
    WriteScript(dir.file("keys.play"), "key Shift-F1\nkey Enter\n");     // the options
    WriteScript(dir.file("keys.back"), "snapshot " + dir.file("back.png") + "\nkey Esc\n");
    std::filesystem::create_directory(dir.file("games"));
    WriteScript(dir.file("games/zdbsp"), "#!/bin/sh\ncp '" + dir.file("keys.play") + "' '" + dir.file("keys") +
                                             "'\nexec /usr/bin/zdbsp \"$@\"\n");
    WriteScript(dir.file("games/chocolate-doom"),
                "#!/bin/sh\nprintf '%s|' \"$PWD\" \"$@\" > '" + dir.file("game.args") + "'\n"
                "timeout 6 /usr/games/chocolate-doom \"$@\" > '" + dir.file("game.log") + "' 2>&1\n"
                "echo $? > '" + dir.file("game.code") + "'\ncp '" + dir.file("keys.back") + "' '" +
                dir.file("keys") + "'\n");
    Ended run = Shell(dir, "HOME='" + dir.path() + "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                           "PATH=\"$PWD/games:$PATH\" ZARN_VIDEO=headless ZARN_SCRIPT=keys " ZARN_BINARY_DIR
                           "/brel-launcher < /dev/null");
    EXPECT_EQ(run.code, 0) << run.output;
    size_t built = run.output.find("----MAP01----");
    ASSERT_NE(built, std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Contains level MAP01", built), std::string::npos) << run.output;
    std::string pwad = dir.file("MAP01.WAD");
    std::string rsp = dir.file("Brel.RSP");
    EXPECT_EQ(ReadText(dir.file("game.args")),
              std::filesystem::path(iwad).parent_path().string() + "|@" + rsp + "|-iwad|" + iwad + "|");
    EXPECT_EQ(ReadText(rsp), "-devparm -warp 1\n-file " + pwad + " -skill 4 -debug -nomonsters\n");
    EXPECT_EQ(ReadText(dir.file("game.code")), "124\n") << ReadText(dir.file("game.log"));
    EXPECT_NE(ReadText(dir.file("game.log")).find("adding " + pwad), std::string::npos);
    // Back in the editor on MAP01 of the PWAD, which is still the one listed.
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("back.png"), "MAP01.WAD"));
    ResetConfig();
    ASSERT_EQ(LoadConfig(), 1);
    EXPECT_EQ(config.lastMap, 1);
    EXPECT_EQ(std::string(config.pwadList[0]), pwad);
    EXPECT_EQ(config.pwadList[1][0], 0);
    // The nodes are ZDBSP's.
    OpenIwadAt(iwad);
    ASSERT_GT(ReadPwad(pwad), 0);
    SetLevelName(1, 1);
    LoadLevel(LevelSource::MasterDirectory);
    EXPECT_EQ(level.numNodes * 28, static_cast<int32_t>(testkit::ReadWad(pwad).data("NODES").size()));
    EXPECT_GT(level.numNodes, 0);
}

}  // namespace
