// Freedoom's palettes, a sprite, a flat and a texture as the program draws
// them, against the plain decoder of the fixture; and a snapshot of a drawn
// texture against a reference picture made here.
#include "pictures/palette.h"
#include "pictures_fixture.h"
#include "platform/png_writer.h"
#include "ui/input.h"

namespace picturetest {
namespace {

class FreedoomTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        std::string iwad = testkit::FreedoomIwad(2);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed";
        Open(iwad);
        wad = testkit::ReadWad(iwad);
    }
    testkit::WadContents wad;
};

// Palettes with gamma. At every magnification: the sprite at its own size;
// the flat; COMPTALL, nine overlapping patches, clipped to a box of 256 x 128
// that is dark grey beyond the texture. Nothing outside changes.
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
    for (int mag : {1, 2, 0, -1}) {
        SCOPED_TRACE(mag);
        Paint(kPaint);
        ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "TROOA1", 0, 0, mag, 8, 0), kDrawn);
        const Grid sprite = DecodePicture(wad.data("TROOA1"));
        const int w = Scaled(sprite.width, mag), h = Scaled(sprite.height, mag);
        EXPECT_TRUE(Shows(0, 0, w, h, sprite, mag, MapColor(8)));
        EXPECT_EQ(ChangedOutside(0, 0, w - 1, h - 1), 0);

        Paint(kPaint);
        ASSERT_EQ(DrawFlat(7, 9, 70, 72, "FLOOR0_1", mag), kDrawn);
        const Bytes lump = wad.data("FLOOR0_1");
        Grid flat(64, 64);
        flat.cells.assign(lump.begin(), lump.begin() + 4096);
        EXPECT_TRUE(Shows(7, 9, Scaled(64, mag), Scaled(64, mag), flat, mag, -1));
        EXPECT_EQ(ChangedOutside(7, 9, 6 + Scaled(64, mag), 8 + Scaled(64, mag)), 0);

        Paint(kPaint);
        pictures.PictureMag = static_cast<int16_t>(mag);
        ASSERT_EQ(DrawTexture(10, 20, 10 + 255, 20 + 127, "COMPTALL", "+"), kDrawn);
        EXPECT_TRUE(Shows(10, 20, 256, 128, ComposeTexture(wad, "COMPTALL"), mag, MapColor(8)));
        EXPECT_EQ(ChangedOutside(10, 20, 10 + 255, 20 + 127), 0);
    }
}

TEST_F(FreedoomTest, SnapshotMatchesAReferencePicture) {
    HidePointer();
    ASSERT_EQ(DrawTexture(40, 30, 40 + 255, 30 + 127, "GRAY7", "+"), kDrawn);
    std::string shot = session.Dir().file("shot.png");
    ASSERT_TRUE(VideoSnapshot(shot));

    // The same picture drawn pixel by pixel from the plain composition.
    Canvas reference(640, 480);
    std::fill(reference.pixels(), reference.pixels() + 640 * 480, kPaint);
    Grid texture = ComposeTexture(wad, "GRAY7");
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 256; ++x)
            reference.putpixel(40 + x, 30 + y, texture.at(x, y) < 0 ? MapColor(8) : texture.at(x, y));
    uint8_t rgb6[768], rgb8[768];
    VideoGetPalette(rgb6);
    for (int i = 0; i < 768; ++i)
        rgb8[i] = static_cast<uint8_t>(rgb6[i] << 2 | rgb6[i] >> 4);
    std::string expected = session.Dir().file("expected.png");
    ASSERT_TRUE(WritePng(expected, 640, 480, reference.pixels(), rgb8));
    EXPECT_TRUE(testkit::ReadFileBytes(shot) == testkit::ReadFileBytes(expected));
}

}  // namespace
}  // namespace picturetest
