// Freedoom's palettes, a sprite, a flat and a texture as the program decodes
// them, against the plain decoder of the test kit.
#include <algorithm>

#include "pictures/palette.h"
#include "pictures_fixture.h"

namespace picturetest {
namespace {

constexpr uint8_t kUnder = 251;   // what the image holds before drawing

class FreedoomTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        std::string iwad = FreedoomIwad(2);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed";
        OpenIwadAt(iwad);
        wad = ReadWad(iwad);
    }
    WadContents wad;
};

// Palettes with gamma. At every magnification: the sprite; the flat;
// COMPTALL, nine overlapping patches.
TEST_F(FreedoomTest, PalettesSpriteFlatAndTextureAsThePlainDecoderHasThem) {
    const Bytes playpal = wad.data("PLAYPAL");
    for (auto [number, gamma] : {std::pair{0, 0}, std::pair{5, 8}, std::pair{13, 30}}) {
        Bytes want(768);
        for (int i = 0; i < 768; ++i) {
            const uint8_t* rgb = &playpal[768 * number + i / 3 * 3];
            want[i] = rgb[0] < 4 && rgb[1] < 4 && rgb[2] < 4 ? 0 : std::min(63, rgb[i % 3] / 4 + gamma);
        }
        LoadPalette(number, gamma);
        EXPECT_EQ(CurrentPalette(), want) << "palette " << number << " gamma " << gamma;
    }
    const Grid sprite = PlainPicture(wad.data("TROOA1"));
    Grid flat(64, 64);
    const Bytes lump = wad.data("FLOOR0_1");
    flat.cells.assign(lump.begin(), lump.begin() + 4096);
    const Grid texture = PlainTexture(wad, "COMPTALL");
    TextureInfo info;
    ASSERT_EQ(FindTexture("COMPTALL", &info), 1);
    for (int mag : {1, 2, 0, -1}) {
        SCOPED_TRACE(mag);
        const int w = Scaled(sprite.width, mag), h = Scaled(sprite.height, mag);
        Image image = Filled(w, h, kUnder);
        ASSERT_EQ(DrawPictureInto(image, "TROOA1", 0, 0, mag), kDrawn);
        EXPECT_TRUE(Shows(image, 0, 0, w, h, sprite, mag, kUnder));

        ASSERT_EQ(DecodeFlat("FLOOR0_1", mag, image), kDrawn);
        ASSERT_EQ(image.width, Scaled(64, mag));
        EXPECT_TRUE(Shows(image, 0, 0, image.width, image.width, flat, mag, -1));

        image = Filled(Scaled(info.width, mag), Scaled(info.height, mag), kUnder);
        ASSERT_TRUE(ComposeTexture(info, mag, image, [] { return false; }));
        EXPECT_TRUE(Shows(image, 0, 0, image.width, image.height, texture, mag, kUnder));
    }
}

}  // namespace
}  // namespace picturetest
