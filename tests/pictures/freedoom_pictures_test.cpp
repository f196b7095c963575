// Freedoom's palettes, sprites, flats and textures as the program draws them,
// against the plain decoder of the fixture; and a snapshot of a drawn texture
// against a reference picture made here.
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
        wad = testkit::ReadFileBytes(iwad);
    }
    // The box shows the texture at the current magnification, clipped to the
    // texture and the box, dark grey elsewhere.
    ::testing::AssertionResult ShowsTexture(int x, int y, int w, int h, const char* name) const {
        Grid texture = Scale(ComposeTexture(wad, name), pictures.PictureMag), box(w, h);
        for (int row = 0; row < std::min(h, texture.height); ++row)
            for (int col = 0; col < std::min(w, texture.width); ++col)
                box.at(col, row) = texture.at(col, row);
        return ShowsGrid(x, y, box, MapColor(8));
    }
    Bytes wad;
};

TEST_F(FreedoomTest, PalettesWithGamma) {
    Bytes playpal = Lump(wad, "PLAYPAL");
    for (int number : {0, 5, 13})
        for (int gamma : {0, 8, 30}) {
            Bytes want(768);
            for (int i = 0; i < 768; ++i) {
                const uint8_t* rgb = &playpal[768 * number + i / 3 * 3];
                want[i] = rgb[0] < 4 && rgb[1] < 4 && rgb[2] < 4 ? 0 : std::min(63, rgb[i % 3] / 4 + gamma);
            }
            LoadPalette(number, gamma);
            EXPECT_EQ(CurrentPalette(), want) << "palette " << number << " gamma " << gamma;
        }
}

TEST_F(FreedoomTest, SpritesPatchesAndFlatsAtEveryMagnification) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"TROOA1", {1, 2, 3, 0, -1, -3}}, {"CYBRA1", {1, -1}}, {"WALL00_1", {2, 0}}, {"TITLEPIC", {1}}};
    for (const auto& c : cases)
        for (int mag : c.second) {
            Paint(kPaint);
            ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, c.first, 0, 0, mag, 8, 0), kDrawn);
            Grid expected = Scale(DecodePicture(Lump(wad, c.first)), mag);
            EXPECT_TRUE(ShowsGrid(0, 0, expected, MapColor(8))) << c.first << " mag " << mag;
            EXPECT_EQ(At(expected.width, 0), kPaint) << c.first << " mag " << mag;
            EXPECT_EQ(At(0, expected.height), kPaint) << c.first << " mag " << mag;
        }
    // Placed at (5, 7) of a box; centred on a point (37 x 56 at double size),
    // where near the corner the box stops at 0.
    Paint(kPaint);
    ASSERT_EQ(DrawPicture(20, 30, 119, 109, nullptr, "POSSA1", 5, 7, 1, 8, 0), kDrawn);
    Grid box(100, 80), possessed = DecodePicture(Lump(wad, "POSSA1"));
    Overlay(box, Lump(wad, "POSSA1"), 5, 7);
    EXPECT_TRUE(ShowsGrid(20, 30, box, MapColor(8)));
    EXPECT_EQ(At(19, 30), kPaint);
    EXPECT_EQ(At(120, 109), kPaint);
    ASSERT_EQ(DrawPicture(300, 200, -1, -1, nullptr, "POSSA1", 0, 0, 2, 8, 1), kDrawn);
    EXPECT_TRUE(ShowsGrid(300 - 37, 200 - 56, Scale(possessed, 2), MapColor(8)));
    ASSERT_EQ(DrawPicture(10, 12, -1, -1, nullptr, "POSSA1", 0, 0, 1, 8, 1), kDrawn);
    EXPECT_TRUE(ShowsGrid(0, 0, possessed, MapColor(8)));

    for (const char* name : {"FLOOR0_1", "NUKAGE1", "F_SKY1"}) {
        Bytes lump = Lump(wad, name);
        Grid flat(64, 64);
        flat.cells.assign(lump.begin(), lump.begin() + 4096);
        for (int mag : {1, 3, 0}) {
            Paint(kPaint);
            EXPECT_EQ(DrawFlat(7, 9, 70, 72, name, mag), kDrawn);
            Grid expected = Scale(flat, mag);
            EXPECT_TRUE(ShowsGrid(7, 9, expected, -1)) << name << " mag " << mag;
            EXPECT_EQ(At(7 + expected.width, 9), kPaint);
            EXPECT_EQ(At(7, 9 + expected.height), kPaint);
        }
    }
}

TEST_F(FreedoomTest, TexturesOfManyPatchesTheirTextsAndSwatch) {
    // STONE has 40 patches, LITE3 64; BIGDOOR7 and STEP2 have patches at
    // negative origins; GRAY7 and COMPTALL overlap theirs. Magnified, the box
    // clips them; halved and thirded, the box is larger.
    for (int mag : {1, 2, 0, -1}) {
        pictures.PictureMag = static_cast<int16_t>(mag);
        for (const char* name : {"STONE", "GRAY7", "COMPTALL", "BIGDOOR7", "STEP2", "LITE3"}) {
            Paint(kPaint);
            ASSERT_EQ(DrawTexture(10, 20, 10 + 255, 20 + 127, name, "+"), kDrawn) << name;
            EXPECT_TRUE(ShowsTexture(10, 20, 256, 128, name)) << name << " mag " << mag;
            EXPECT_EQ(At(9, 20), kPaint);
            EXPECT_EQ(At(266, 20), kPaint);
            EXPECT_EQ(At(10, 148), kPaint);
        }
    }
    // Without a label the size and patch count under the box, with one the
    // label in yellow above it; a picture's size text. Drawing them again
    // changes nothing.
    pictures.PictureMag = 1;
    Paint(kPaint);
    ASSERT_EQ(DrawTexture(20, 40, 275, 167, "STONE", nullptr), kDrawn);
    ASSERT_EQ(DrawTexture(20, 240, 275, 367, "SKY1", nullptr), kDrawn);
    ASSERT_EQ(DrawTexture(300, 40, 363, 103, "STONE", "Upper"), kDrawn);
    ASSERT_EQ(DrawPicture(300, 200, -1, -1, nullptr, "TROOA1", kPictureSizeText, 0, 1, 8, 0), kDrawn);
    Bytes drawn = Pixels();
    Screen().setcolor(MapColor(0));
    Screen().outtextxy(20 + 10 * graphics.CharW, 167 + 6, "256x128");
    Screen().outtextxy(20 + 18 * graphics.CharW, 167 + 6, "40 patches");
    Screen().outtextxy(20 + 10 * graphics.CharW, 367 + 6, "256x128");
    Screen().outtextxy(20 + 18 * graphics.CharW, 367 + 6, "TRANS for 2-Sided");
    Screen().outtextxy(300 + 10 * graphics.CharW, 200 + 59 + 6, "48x60");
    Screen().setcolor(MapColor(14));
    Screen().outtextxy(300 + graphics.CharW, 40 - graphics.CharH, "Upper");
    EXPECT_TRUE(Pixels() == drawn);

    // The swatch of the info panels draws at its own magnification and puts
    // the browsers' back.
    config.bottomTextureMagnify = 0;
    DrawTextureSwatch(400, 300, 64, "STONE", "+");
    EXPECT_EQ(pictures.PictureMag, 1);
    pictures.PictureMag = 0;
    EXPECT_TRUE(ShowsTexture(402, 302, 65, 65, "STONE"));
}

TEST_F(FreedoomTest, SnapshotMatchesAReferencePicture) {
    HidePointer();
    ASSERT_EQ(DrawTexture(40, 30, 40 + 255, 30 + 127, "GRAY7", "+"), kDrawn);
    std::string shot = session.Dir().file("shot.png");
    ASSERT_TRUE(VideoSnapshot(shot));

    // The same picture drawn pixel by pixel from the plain composition.
    Canvas reference(640, 480);
    reference.setfillstyle(kSolidFill, kPaint);
    reference.bar(0, 0, 639, 479);
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
