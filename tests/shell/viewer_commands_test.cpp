// VIEW and PICTURE run by the whole program in this process, headless, in
// both flavours: the viewer shows the picture the start word names, as the
// test's plain decoder reads it, at the viewer's magnification.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "shell/startup.h"
#include "support/picture_kit.h"
#include "support/png_reader.h"
#include "support/program_state.h"

namespace {

using namespace testkit;

// A w x h picture whose pixel (x, y) is base + (x + 3y) % 30.
Bytes Pattern(int w, int h, int base) {
    Columns columns(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) {
        Bytes pixels;
        for (int y = 0; y < h; ++y)
            pixels.push_back(static_cast<uint8_t>(base + (x + 3 * y) % 30));
        columns[static_cast<size_t>(x)].push_back({0, pixels});
    }
    return PictureLump(w, h, columns);
}

class ViewerCommandTest : public ::testing::TestWithParam<Flavour> {
protected:
    void SetUp() override {
        oldDir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        Bytes playpal;
        for (int i = 0; i < 14 * 768; ++i)
            playpal.push_back(static_cast<uint8_t>(i % 768 / 3));
        WadBuilder("IWAD").lump("PLAYPAL", playpal).level(GetParam() == Flavour::Heretic ? "E1M1" : "MAP01")
            .lump("TEXTURE1", Bytes(4, 0))   // pictures are listed from here on
            .lump("S_START").lump("AAAAA0", Pattern(8, 8, 20)).lump("SOUGA0", sprite).lump("S_END")
            .lump("BIGPIC", picture).write(dir.file("game.wad"));
        WriteFileBytes(dir.file("Brel.HLP"), Bytes({'*', 'H', 'L', 'P', '\n'}));
        setenv("ZARN_VIDEO", "headless", 1);
        setenv("ZARN_SCRIPT", dir.file("keys").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("ZARN_SCRIPT");
        ResetProgramState();
        std::filesystem::current_path(oldDir);
    }
    // Runs the program on the command lines with the script of keys.
    int Run(const std::string& input, const std::string& keys) {
        WriteFileBytes(dir.file("keys"), Bytes(keys.begin(), keys.end()));
        ResetProgramState(GetParam());   // a fresh run reads the new script
        const char* argv[] = {"editor", "-main", "game.wad"};
        ConsoleCapture capture(input);
        int code = RunProgram(GetParam(), 3, argv);
        output = capture.output();
        return code;
    }
    // The snapshot shows lump at magnification mag, where its colours are;
    // around it lies the preview's dark grey.
    ::testing::AssertionResult Shows(const std::string& file, const Bytes& lump, int mag) {
        PngPicture png;
        std::string fault = ReadPng(dir.file(file), png);
        if (!fault.empty())
            return ::testing::AssertionFailure() << fault;
        auto at = std::find_if(png.pixels.begin(), png.pixels.end(), [&](int p) { return p >= sought && p < sought + 30; });
        if (at == png.pixels.end())
            return ::testing::AssertionFailure() << "not shown";
        const int x = int(at - png.pixels.begin()) % png.width, y = int(at - png.pixels.begin()) / png.width;
        Grid grid = PlainPicture(lump);
        Image image{png.width, png.height, png.pixels};
        return testkit::Shows(image, x, y, grid.width * mag, grid.height * mag, grid, mag,
                              image.pixels[static_cast<size_t>(y) * png.width + x + grid.width * mag]);
    }

    ScratchDir dir;
    std::filesystem::path oldDir;
    // Colours from `sought` on are none of the flavour's toolkit colours.
    const int sought = GetParam() == Flavour::Heretic ? 100 : 130;
    const Bytes sprite = Pattern(24, 30, sought), picture = Pattern(30, 20, sought);
    std::string output;
};

TEST_P(ViewerCommandTest, ViewAndPictureShowTheNamedPicture) {
    // The first run sets up the configuration: two boxes to read around the
    // options dialog, left with Esc.
    ASSERT_EQ(Run("\nQ\n", "key Enter\nkey Esc\nkey Enter\n"), 0) << output;
    std::string keys = "snapshot " + dir.file("view.png") + "\nkey Esc\nsnapshot " + dir.file("pic.png") +
                       "\nkey +\nsnapshot " + dir.file("bigger.png") + "\nkey Esc\nsnapshot " +
                       dir.file("first.png") + "\nkey Esc\n";
    EXPECT_EQ(Run("V SOUG\nP BIGPIC\nv\nQ\n", keys), 0) << output;
    EXPECT_TRUE(Shows("view.png", sprite, 1));
    EXPECT_TRUE(Shows("pic.png", picture, 2));
    EXPECT_TRUE(Shows("bigger.png", picture, 3));
    // Without a start word the first sprite shows, which is not sought.
    EXPECT_FALSE(Shows("first.png", sprite, 1));
}

INSTANTIATE_TEST_SUITE_P(Flavours, ViewerCommandTest, ::testing::Values(Flavour::Heretic, Flavour::Doom));

}  // namespace
