// The game palette: PLAYPAL palettes reduced to 6 bits with the gamma added.
#include <algorithm>
#include <array>

#include "pictures/palette.h"
#include "pictures_fixture.h"
#include "shell/config.h"
#include "shell/fatal.h"
#include "support/png_reader.h"
#include "ui/graphics.h"
#include "ui/input.h"

namespace picturetest {
namespace {

using Palette = std::array<uint8_t, 768>;

Palette Current() {
    Palette rgb;
    VideoGetPalette(rgb.data());
    return rgb;
}

class PaletteTest : public PictureTest {
protected:
    void OpenWithPlaypal(const Bytes& playpal) {
        testkit::WadBuilder wad("IWAD");
        if (!playpal.empty())
            wad.lump("PLAYPAL", playpal);
        std::string path = session.Dir().file("pal.wad");
        wad.level("E1M1").write(path);
        ResetMaster();
        SetField(config.iwadName, path.c_str());
        OpenIwad(config.iwadName);
    }
};

TEST_F(PaletteTest, FreedoomPalettesWithGamma) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    Open(iwad);
    Bytes playpal = RawWad(iwad).lump("PLAYPAL");
    for (int number : {0, 5, 13}) {
        for (int gamma : {0, 8, 30}) {
            LoadPalette(number, gamma);
            Palette shown = Current();
            for (int colour = 0; colour < 256; ++colour) {
                const uint8_t* raw = &playpal[768 * number + 3 * colour];
                bool black = raw[0] < 4 && raw[1] < 4 && raw[2] < 4;
                for (int k = 0; k < 3; ++k) {
                    int want = black ? 0 : std::min(63, raw[k] / 4 + gamma);
                    ASSERT_EQ(shown[3 * colour + k], want)
                        << "palette " << number << " gamma " << gamma << " colour " << colour;
                }
            }
        }
    }
}

TEST_F(PaletteTest, EdgeCases) {
    // Black stays black, white and bright components stop at 63.
    Bytes playpal(768 * 14, 0);
    const uint8_t colours[4][3] = {{0, 0, 0}, {255, 255, 255}, {100, 100, 100}, {3, 0, 250}};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 3; ++k)
            playpal[768 * 2 + 3 * c + k] = colours[c][k];
    OpenWithPlaypal(playpal);
    LoadPalette(2, 8);
    Palette shown = Current();
    const uint8_t want[4][3] = {{0, 0, 0}, {63, 63, 63}, {33, 33, 33}, {8, 8, 63}};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(shown[3 * c + k], want[c][k]) << "colour " << c;
    // Numbers outside 0..13 change nothing.
    LoadPalette(-1, 5);
    LoadPalette(14, 5);
    EXPECT_EQ(Current(), shown);

    // A PLAYPAL of one and a half palettes gives palette 0 for every number;
    // one shorter than a palette leaves the colours it lacks black.
    playpal.assign(768 + 384, 200);
    OpenWithPlaypal(playpal);
    LoadPalette(13, 0);
    Palette fifty;
    fifty.fill(50);
    EXPECT_EQ(Current(), fifty);
    OpenWithPlaypal(Bytes(30, 255));
    LoadPalette(3, 0);
    shown = Current();
    EXPECT_EQ(shown[29], 63);
    EXPECT_EQ(shown[30], 0);
    EXPECT_EQ(shown[767], 0);
}

TEST_F(PaletteTest, CurrentPaletteScreen) {
    testkit::WadBuilder wad("IWAD");
    OpenBuilt(wad);
    SetMenuBarMode(1);
    Paint(251);
    std::vector<uint8_t> before(Screen().pixels(), Screen().pixels() + 640 * 480);
    std::string shot = session.Dir().file("palette.png");
    session.Script("snapshot " + shot + "\nkey A");
    ShowPalette();
    EXPECT_EQ(std::vector<uint8_t>(Screen().pixels(), Screen().pixels() + 640 * 480), before);
    EXPECT_EQ(Screen().getviewport().top, 17);
    EXPECT_TRUE(input.PointerHidden);

    // In 640 x 480 cells are 36 x 19, 38 and 27 pixels apart, from (15, 9)
    // of the map area, which begins at row 17.
    testkit::PngPicture png;
    ASSERT_EQ(testkit::ReadPng(shot, png), "");
    auto pixel = [&](int x, int y) { return png.pixels[static_cast<size_t>(y) * 640 + x]; };
    for (int index : {0, 1, 17, 100, 200, 254, 255}) {
        int x = 15 + index % 16 * 38, y = 17 + 9 + index / 16 * 27;
        EXPECT_EQ(pixel(x, y), index);
        EXPECT_EQ(pixel(x + 35, y + 18), index);
        EXPECT_TRUE(index == 0 || pixel(x + 36, y + 18) != index);
        // Under it the number in light grey on black.
        Canvas label(64, 8);
        label.outtextxy(0, 0, std::to_string(index).c_str());
        for (int ly = 0; ly < 8; ++ly)
            for (int lx = 0; lx < 24; ++lx)
                ASSERT_EQ(pixel(x + lx, y + 19 + ly),
                          label.getpixel(lx, ly) ? MapColor(7) : MapColor(0))
                    << index << " " << lx << ", " << ly;
    }
}

TEST_F(PaletteTest, MissingPlaypalIsFatal) {
    OpenWithPlaypal({});
    try {
        LoadPalette(0, 0);
        FAIL() << "no fatal error";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), 5);
        EXPECT_NE(std::string(e.what()).find("PLAYPAL not found"), std::string::npos);
    }
}

}  // namespace
}  // namespace picturetest
