// The launcher that runs the hand-offs and restarts the editor, with the
// game adapters and the real tools.
#include "base/config.h"
#include "support/game_kit.h"
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
    if (iwad.empty() || !testkit::HaveGameAndNodeBuilder())
        GTEST_SKIP() << "needs Freedoom, zdbsp and Chocolate Doom (Debian packages freedoom, zdbsp, chocolate-doom)";
    SetField(config.iwadName, iwad.c_str());   // a configuration that needs no first-time setup
    config.autoStart = 1;   // every start goes straight to the level edited last: MAP01
    config.exitHandOff = 1;
    ASSERT_TRUE(SaveConfig());
    testkit::WriteFileBytes(dir.file("Brel.HLP"), testkit::Bytes{'*', 'H', 'L', 'P', '\n'});
    WriteScript(dir.file("keys"), "key Alt-F2\nkey Enter\nkey N\n");   // file name, keep REJECT
    WriteScript(dir.file("keys.play"), "key Shift-F1\nkey Enter\n");     // the options
    WriteScript(dir.file("keys.back"), "snapshot " + dir.file("back.png") + "\nkey Esc\n");
    // The node builder runs in the working directory, the game in its IWAD's.
    std::filesystem::create_directory(dir.file("games"));
    WriteScript(dir.file("games/zdbsp"), "#!/bin/sh\ncp keys.play keys\nexec /usr/bin/zdbsp \"$@\"\n");
    WriteScript(dir.file("games/chocolate-doom"),
                "#!/bin/sh\nprintf '%s|' \"$PWD\" \"$@\" > '" + dir.file("game.args") + "'\ncd '" + dir.path() +
                    "'\ntimeout 6 /usr/games/chocolate-doom \"$@\" > game.log 2>&1\n"
                    "echo $? > game.code\ncp keys.back keys\n");
    int code = std::system(("cd '" + dir.path() + "' && HOME=\"$PWD\" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                            "PATH=\"$PWD/games:$PATH\" ZARN_VIDEO=headless ZARN_SCRIPT=keys " ZARN_BINARY_DIR
                            "/brel-launcher < /dev/null > run.out 2>&1").c_str());
    std::string output = ReadText(dir.file("run.out")), pwad = dir.file("MAP01.WAD");
    EXPECT_EQ(code, 0) << output;
    size_t built = output.find("----MAP01----");
    ASSERT_NE(built, std::string::npos) << output;
    EXPECT_NE(output.find("Contains level MAP01", built), std::string::npos) << output;
    EXPECT_EQ(ReadText(dir.file("game.args")), std::filesystem::path(iwad).parent_path().string() + "|@" +
                                                   dir.file("Brel.RSP") + "|-iwad|" + iwad + "|");
    EXPECT_EQ(ReadText(dir.file("game.code")), "124\n") << ReadText(dir.file("game.log"));
    EXPECT_NE(ReadText(dir.file("game.log")).find("adding " + pwad), std::string::npos);
    // Back in the editor on MAP01 of the PWAD, which is still the one listed,
    // with the nodes ZDBSP built.
    EXPECT_TRUE(testkit::SnapshotShowsText(dir.file("back.png"), "MAP01.WAD"));
    ResetConfig();
    ASSERT_EQ(LoadConfig(), 1);
    EXPECT_EQ(config.lastMap, 1);
    EXPECT_EQ(std::string(config.pwadList[0]) + "|" + config.pwadList[1], pwad + "|");
    EXPECT_NE(testkit::ReadWad(pwad).data("NODES"), testkit::ReadWad(iwad).data("NODES"));
}

}  // namespace
