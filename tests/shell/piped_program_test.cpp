// The real program with its standard input a pipe, as a script drives it:
// nothing waits for a key, listings run to their end, and the ways graphics
// can fail to start say what happened and nothing more.
#include <gtest/gtest.h>

#include "brel_run.h"

namespace {

using testkit::Count;

// A DOOM-style IWAD of 30 levels and a help file; no display in sight, so
// the first-time setup keeps the defaults instead of opening a window.
TEST(PipedProgramTest, NoCommandLineIsTakenAsAKeyAndGraphicsThatCannotStartSayWhy) {
    testkit::ScratchDir dir;
    testkit::WadBuilder iwad("IWAD");
    iwad.lump("PLAYPAL", testkit::Bytes(768, 0));
    for (int map = 1; map <= 30; ++map)
        iwad.level((map < 10 ? "MAP0" : "MAP") + std::to_string(map));
    iwad.write(dir.file("base.wad"));
    shelltest::WriteText(dir.file("Brel.HLP"), "*HLP\n");
    // The first start shows the setup box, a listing longer than a screen
    // follows, then WADS: each reads its own line.
    shelltest::Ended run = shelltest::RunBrel(dir, "-main base.wad", "DIRM TH*\nWADS\nQ\n");
    EXPECT_EQ(run.code, 0);
    EXPECT_TRUE(Count(run.out, "BREL SETUP") == 1 && Count(run.out, "Brel Ended") == 1) << run.out;
    EXPECT_EQ(Count(run.out, "  THINGS  "), 30u);
    EXPECT_EQ(Count(run.out, "IWAD  == base.wad"), 1u);
    EXPECT_EQ(Count(run.out, "Esc to abort"), 0u);
    EXPECT_EQ(run.err, "");

    const struct {
        const char* script;   // "": none, no headless screen
        int code;
        std::string shown;
    } cases[] = {
        {"key Esc\nfly\n", 2, "\ninput script " + dir.file("script") + ": line 2: unknown event \"fly\"\n"},
        {"", 5, "\nError: No display to show a window on: run under xvfb-run, or with ZARN_VIDEO=headless ("},
    };
    for (const auto& c : cases) {
        run = shelltest::RunBrel(dir, "-main base.wad", "E 1\nWADS\nQ\n", c.script);
        EXPECT_EQ(run.code, c.code) << c.script;
        EXPECT_EQ(Count(run.out, c.shown), 1u) << run.out;
        for (const char* absent : {"Graphics error", "not VESA compatible", "IWAD  =="})   // WADS was not read as a key
            EXPECT_EQ(Count(run.out, absent), 0u) << absent << "\n" << run.out;
        EXPECT_EQ(run.err, "");
    }
}

}  // namespace
