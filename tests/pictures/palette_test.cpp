// The game palette: PLAYPAL palettes reduced to 6 bits with the gamma added.
#include <array>

#include "pictures/palette.h"
#include "pictures_fixture.h"
#include "shell/config.h"
#include "shell/fatal.h"

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
    // An IWAD whose PLAYPAL is the given bytes.
    void OpenWithPlaypal(const Bytes& playpal) {
        std::string path = session.Dir().file("pal.wad");
        testkit::WadBuilder("IWAD").level("E1M1").lump("PLAYPAL", playpal).write(path);
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
    ASSERT_GE(playpal.size(), 14u * 768);
    for (int number : {0, 1, 5, 13}) {
        for (int gamma : {0, 8, 30}) {
            LoadPalette(number, gamma);
            Palette shown = Current();
            for (int colour = 0; colour < 256; ++colour) {
                const uint8_t* raw = &playpal[768 * number + 3 * colour];
                bool black = raw[0] / 4 == 0 && raw[1] / 4 == 0 && raw[2] / 4 == 0;
                for (int k = 0; k < 3; ++k) {
                    int c = raw[k] / 4;
                    int want = black ? 0 : (c <= 63 - gamma ? c + gamma : 63);
                    ASSERT_EQ(shown[3 * colour + k], want)
                        << "palette " << number << " gamma " << gamma << " colour " << colour;
                }
            }
        }
    }
}

TEST_F(PaletteTest, BlackStaysBlackAndBrightColoursStopAt63) {
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
}

TEST_F(PaletteTest, NumbersOutsideTheRangeLeaveTheColours) {
    OpenWithPlaypal(GreyPlaypal());
    LoadPalette(0, 0);
    Palette before = Current();
    LoadPalette(-1, 5);
    LoadPalette(14, 5);
    EXPECT_EQ(Current(), before);
    LoadPalette(13, 5);
    EXPECT_NE(Current(), before);
}

TEST_F(PaletteTest, ShortPlaypalGivesItsLastWholePalette) {
    // One palette and a half: every number past it shows palette 0, and a
    // lump shorter than one palette leaves its missing colours black.
    Bytes playpal(768 + 384, 200);
    for (int i = 0; i < 768; ++i)
        playpal[i] = static_cast<uint8_t>(i / 3);
    OpenWithPlaypal(playpal);
    LoadPalette(0, 0);
    Palette first = Current();
    LoadPalette(13, 0);
    EXPECT_EQ(Current(), first);
    ResetMaster();
    OpenWithPlaypal(Bytes(30, 255));
    LoadPalette(3, 0);
    Palette shown = Current();
    EXPECT_EQ(shown[0], 63);
    EXPECT_EQ(shown[29], 63);
    EXPECT_EQ(shown[30], 0);
    EXPECT_EQ(shown[767], 0);
}

TEST_F(PaletteTest, MissingPlaypalIsFatal) {
    std::string path = session.Dir().file("nopal.wad");
    testkit::WadBuilder("IWAD").level("E1M1").write(path);
    SetField(config.iwadName, path.c_str());
    OpenIwad(config.iwadName);
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
