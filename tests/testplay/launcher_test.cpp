// The launcher that runs the hand-offs and restarts the editor, and the game
// adapters.
#include "level/level.h"
#include "level/level_files.h"
#include "base/config.h"
#include "support/screen_text.h"
#include "support/session_kit.h"
#include "testplay_kit.h"
#include "source_paths.h"

namespace {

using namespace testplay;

class LauncherTest : public testkit::WadSession {
protected:
    LauncherTest() : WadSession(Flavour::Doom) {}
};

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
    testkit::OpenIwadAt(iwad);
    ASSERT_GT(ReadPwad(pwad), 0);
    SetLevelName(1, 1);
    LoadLevel(LevelSource::MasterDirectory);
    EXPECT_EQ(level.numNodes * 28, static_cast<int32_t>(testkit::ReadWad(pwad).data("NODES").size()));
    EXPECT_GT(level.numNodes, 0);
}

}  // namespace
