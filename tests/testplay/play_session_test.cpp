// The edit-test loop end to end on Freedoom's MAP01: Shift-F1 on a changed
// level saves it, builds its nodes with ZDBSP and plays it in Chocolate Doom
// (no display, no sound, a few seconds), and the editor comes back as it was.
#include <cstdlib>
#include <filesystem>

#include "editor/editor_session.h"
#include "level/history.h"
#include "level/level_files.h"
#include "support/game_kit.h"
#include "support/map_lumps.h"
#include "support/png_reader.h"
#include "support/screen_text.h"
#include "testplay/handoff.h"
#include "testplay/testplay.h"
#include "testplay_kit.h"
#include "source_paths.h"

namespace editor_test {
namespace {

Pixels MapAreaOf(const std::string& png) {
    testkit::PngPicture picture;
    EXPECT_EQ(testkit::ReadPng(png, picture), "") << png;
    return picture.pixels.empty() ? Pixels() : MapArea(picture.pixels);
}

class PlaySessionTest : public EditorSession {
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
        testplay::WriteScript(dir.file("games/chocolate-doom"),
                              "#!/bin/sh\nHOME='" + dir.path() + "' SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "
                              "timeout 5 stdbuf -oL -eL /usr/games/chocolate-doom \"$@\" -nosound -nomusic > '" +
                                  dir.file("game.log") + "' 2>&1\n[ $? -eq 124 ]\n");
        setenv("PATH", (dir.file("games") + ":" + path).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", path.c_str(), 1);
        EditorSession::TearDown();
    }
    std::string path = std::getenv("PATH");
};

TEST_F(PlaySessionTest, ShiftF1SavesBuildsAndPlaysAndTheEditorComesBackAsItWas) {
    std::string before = session->Dir().file("before.png"), after = session->Dir().file("after.png");
    // An edit (Ins adds a Thing), a zoom and a selection; F5's dialog, left
    // at once, redraws the whole screen, as the return from the game does,
    // for the picture before.
    EXPECT_EQ(Run("key Ins\nkey 3\nkey Ctrl-A\nkey F5\nkey Esc\nwait 0\nsnapshot " + before +
                  "\nkey Shift-F1\n"
                  "key Enter\nkey Enter\nkey N\nkey Enter\n"   // save, build and play; the file; REJECT; options
                  "wait 1500\nwait 0\nsnapshot " + after + "\nkey Ctrl-Z\nwait 0\n"),
              kScriptEnded);
    // Saved with the edit and new nodes, and played.
    testkit::WadContents saved = testkit::ReadWad(session->Dir().file("MAP01.WAD"));
    EXPECT_EQ(saved.data("THINGS").size(), testkit::ReadWad(iwad).data("THINGS").size() + sizeof(Thing));
    EXPECT_NE(saved.data("NODES"), testkit::ReadWad(iwad).data("NODES"));
    std::string game = testplay::ReadText(session->Dir().file("game.log"));
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
}  // namespace editor_test
