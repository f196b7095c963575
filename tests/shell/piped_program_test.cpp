// The real program with its standard input a pipe, as a script drives it:
// nothing waits for a key, listings run to their end, and the ways graphics
// can fail to start say what happened and nothing more.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "support/testkit.h"
#include "source_paths.h"

namespace {

using testkit::Bytes;
using testkit::Count;

std::string ReadText(const std::string& path) {
    Bytes bytes = testkit::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// A DOOM-style IWAD of 30 levels and a help file; no display in sight, so
// the first-time setup keeps the defaults instead of opening a window.
class PipedProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        testkit::WadBuilder iwad("IWAD");
        iwad.lump("PLAYPAL", Bytes(768, 0));
        for (int map = 1; map <= 30; ++map)
            iwad.level((map < 10 ? "MAP0" : "MAP") + std::to_string(map));
        iwad.write(dir.file("base.wad"));
        testkit::WriteFileBytes(dir.file("Brel.HLP"), Bytes({'*', 'H', 'L', 'P', '\n'}));
    }
    // Runs brel on the input lines with the environment settings given;
    // returns its exit code and keeps what it wrote on either output.
    int Run(const std::string& input, const std::string& environment = "") {
        testkit::WriteFileBytes(dir.file("input"), Bytes(input.begin(), input.end()));
        std::string command = "cd '" + dir.path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER " +
                              "-u ZARN_VIDEO -u ZARN_SCRIPT " + environment + " " ZARN_BINARY_DIR +
                              "/brel -main base.wad < input > out 2> err";
        int raw = std::system(command.c_str());
        out = ReadText(dir.file("out"));
        err = ReadText(dir.file("err"));
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    testkit::ScratchDir dir;
    std::string out, err;
};

TEST_F(PipedProgramTest, NoCommandLineIsTakenAsAKey) {
    // The first start shows the setup box, a listing longer than a screen
    // follows, then WADS: each reads its own line.
    EXPECT_EQ(Run("DIRM TH*\nWADS\nQ\n"), 0);
    EXPECT_TRUE(Count(out, "BREL SETUP") == 1 && Count(out, "Brel Ended") == 1) << out;
    EXPECT_EQ(Count(out, "  THINGS  "), 30u);
    EXPECT_EQ(Count(out, "IWAD  == base.wad"), 1u);
    EXPECT_EQ(Count(out, "Esc to abort"), 0u);
    EXPECT_EQ(err, "");
}

TEST_F(PipedProgramTest, GraphicsThatCannotStartSayWhyAndNoMore) {
    ASSERT_EQ(Run("Q\n"), 0);   // the configuration: no setup from here on
    testkit::WriteFileBytes(dir.file("keys"), Bytes({'k', 'e', 'y', ' ', 'E', 's', 'c', '\n', 'f', 'l', 'y', '\n'}));
    const struct {
        const char* environment;
        int code;
        const char* shown;
    } cases[] = {
        {"ZARN_VIDEO=headless ZARN_SCRIPT=keys", 2, "\ninput script keys: line 2: unknown event \"fly\"\n"},
        {"", 5, "\nError: No display to show a window on: run under xvfb-run, or with ZARN_VIDEO=headless ("},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run("E 1\nWADS\nQ\n", c.environment), c.code) << c.environment;
        EXPECT_EQ(Count(out, c.shown), 1u) << out;
        for (const char* absent : {"Graphics error", "not VESA compatible", "IWAD  =="})   // WADS was not read as a key
            EXPECT_EQ(Count(out, absent), 0u) << absent << "\n" << out;
        EXPECT_EQ(err, "");
    }
}

}  // namespace
