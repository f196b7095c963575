// Column-coded pictures from Freedoom and from hand-made WADs, compared with
// the plain decoder of the fixture.
#include <memory>

#include "pictures_fixture.h"
#include "platform/video_backend.h"
#include "shell/config.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "wad/master.h"

namespace picturetest {
namespace {

constexpr int kPaint = 251;   // screen colour before drawing

class FreedoomPictureTest : public PictureTest {
protected:
    void SetUp() override {
        PictureTest::SetUp();
        std::string iwad = testkit::FreedoomIwad(2);
        if (iwad.empty())
            GTEST_SKIP() << "Freedoom is not installed";
        Open(iwad);
        wad = std::make_unique<RawWad>(iwad);
        Paint(kPaint);
    }
    int Transparent() const { return MapColor(8); }
    std::unique_ptr<RawWad> wad;
};

TEST_F(FreedoomPictureTest, SpritesAndPatchesAtEveryMagnification) {
    struct Case {
        const char* name;
        std::vector<int> mags;
    };
    const Case cases[] = {
        {"TROOA1", {1, 2, 3, 0, -1, -3}}, {"POSSA1", {1, 2, 0}}, {"CYBRA1", {1, 2, -1}},
        {"WALL00_1", {1, 0}},             {"W33_8", {1, 4}},     {"TITLEPIC", {1, 0}},
    };
    for (const Case& c : cases) {
        Grid decoded = DecodePicture(wad->lump(c.name));
        for (int mag : c.mags) {
            Paint(kPaint);
            ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, c.name, 0, 0, mag, 8, 0), kDrawn);
            Grid expected = Scale(decoded, mag);
            EXPECT_TRUE(ShowsGrid(0, 0, expected, Transparent())) << c.name << " mag " << mag;
            // Nothing right of or below the picture's box.
            EXPECT_EQ(At(expected.width, 0), kPaint) << c.name << " mag " << mag;
            EXPECT_EQ(At(0, expected.height), kPaint) << c.name << " mag " << mag;
        }
    }
}

TEST_F(FreedoomPictureTest, HalfAndDoubleSizeOfASquarePatch) {
    // W33_8 is 64 x 8: mag 0 draws 32 x 4, mag 2 draws 128 x 16.
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "W33_8", 0, 0, 0, 8, 0), kDrawn);
    EXPECT_NE(At(31, 3), kPaint);
    EXPECT_EQ(At(32, 3), kPaint);
    EXPECT_EQ(At(31, 4), kPaint);
    Paint(kPaint);
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "W33_8", 0, 0, 2, 8, 0), kDrawn);
    EXPECT_NE(At(127, 15), kPaint);
    EXPECT_EQ(At(128, 15), kPaint);
    EXPECT_EQ(At(127, 16), kPaint);
}

TEST_F(FreedoomPictureTest, PlacedInABoxAndCentred) {
    Grid decoded = DecodePicture(wad->lump("POSSA1"));   // 37 x 56
    ASSERT_EQ(DrawPicture(20, 30, 119, 109, nullptr, "POSSA1", 5, 7, 1, 8, 0), kDrawn);
    Grid box = EmptyGrid(100, 80);
    Overlay(box, decoded, 5, 7);
    EXPECT_TRUE(ShowsGrid(20, 30, box, Transparent()));
    EXPECT_EQ(At(19, 30), kPaint);
    EXPECT_EQ(At(120, 109), kPaint);

    // Centred on (300, 200) at double size; near the corner the box stops at 0.
    Paint(kPaint);
    ASSERT_EQ(DrawPicture(300, 200, -1, -1, nullptr, "POSSA1", 0, 0, 2, 8, 1), kDrawn);
    EXPECT_TRUE(ShowsGrid(300 - 37, 200 - 56, Scale(decoded, 2), Transparent()));
    Paint(kPaint);
    ASSERT_EQ(DrawPicture(10, 12, -1, -1, nullptr, "POSSA1", 0, 0, 1, 8, 1), kDrawn);
    EXPECT_TRUE(ShowsGrid(0, 0, decoded, Transparent()));
}

TEST_F(FreedoomPictureTest, SizeTextUnderTheBox) {
    ASSERT_EQ(DrawPicture(20, 30, -1, -1, nullptr, "TROOA1", kPictureSizeText, 0, 1, 8, 0), kDrawn);
    EXPECT_TRUE(ShowsGrid(20, 30, DecodePicture(wad->lump("TROOA1")), Transparent()));
    // 48 x 60: the text box begins 3 rows under the picture.
    int x = 20 + 10 * graphics.CharW, y = 30 + 60 - 1 + 3 + 3;
    Canvas reference(640, 480);
    reference.setfillstyle(kSolidFill, MapColor(config.colors[kColorMenu]));
    reference.bar(x, y, 20 + 36 * graphics.CharW, y + graphics.CharH);
    reference.setcolor(MapColor(0));
    reference.outtextxy(x, y, "48x60");
    for (int row = y; row <= y + graphics.CharH; ++row)
        for (int col = x; col <= 20 + 36 * graphics.CharW; ++col)
            ASSERT_EQ(At(col, row), reference.getpixel(col, row)) << col << ", " << row;
}

TEST_F(FreedoomPictureTest, MissingPictureDrawsNothing) {
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "NOSUCHPI", 0, 0, 1, 8, 0), kNotDrawn);
    EXPECT_EQ(DrawPicture(0, 0, 99, 99, nullptr, nullptr, 0, 0, 1, 8, 0), kNotDrawn);
    EXPECT_EQ(Count(0, 0, 639, 479, kPaint), 640 * 480);
}

TEST_F(FreedoomPictureTest, AWaitingKeyInterruptsDrawing) {
    QueueKey('A', 0);
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "TROOA1", 0, 0, 1, 8, 0), kNotDrawn);
    EXPECT_EQ(DrawTexture(0, 100, 255, 227, "STONE", "+"), kNotDrawn);
    EXPECT_EQ(Count(0, 0, 639, 479, kPaint), 640 * 480);
    EXPECT_EQ(KeyWaiting(), 1);   // the key is left for the caller
    FlushKeys(0);
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "TROOA1", 0, 0, 1, 8, 0), kDrawn);
}

TEST_F(FreedoomPictureTest, DrawingKeepsThePointerProtocol) {
    SetMousePos(5, 5);
    ShowPointer();
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "TROOA1", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_FALSE(input.PointerHidden);
    HidePointer();
    // With the pointer hidden again the picture lies underneath unharmed.
    EXPECT_TRUE(ShowsGrid(0, 0, DecodePicture(wad->lump("TROOA1")), Transparent()));
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "TROOA1", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_TRUE(input.PointerHidden);
}

TEST_F(FreedoomPictureTest, IntoATargetImage) {
    // Transparent pixels keep what the image held; the picture lands at
    // (dx, dy) in picture pixels times the magnification.
    Image image;
    image.width = 120;
    image.height = 140;
    image.pixels.assign(120 * 140, 9);
    ASSERT_EQ(DrawPicture(0, 0, 0, 0, &image, "TROOA1", 6, 5, 2, 8, 0), kDrawn);
    Grid expected = EmptyGrid(60, 70);
    Overlay(expected, DecodePicture(wad->lump("TROOA1")), 6, 5);
    expected = Scale(expected, 2);
    for (int y = 0; y < 140; ++y)
        for (int x = 0; x < 120; ++x) {
            int want = expected.at(x, y) < 0 ? 9 : expected.at(x, y);
            ASSERT_EQ(image.pixels[y * 120 + x], want) << x << ", " << y;
        }
    EXPECT_EQ(Count(0, 0, 639, 479, kPaint), 640 * 480);   // nothing on the screen
}

TEST_F(PictureTest, RememberedPictureFollowsTheMasterDirectory) {
    // The picture looked up last must not outlive the directory it came from.
    testkit::WadBuilder first("IWAD");
    first.lump("OTHER", PictureLump(1, 1, {{{0, {66}}}}))
        .lump("PIC", PictureLump(1, 1, {{{0, {77}}}}));
    OpenBuilt(first);
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "pic", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 0), 77);
    testkit::WadBuilder second("IWAD");
    second.lump("PIC", PictureLump(1, 1, {{{0, {55}}}}))
        .lump("OTHER", PictureLump(1, 1, {{{0, {44}}}}));
    OpenBuilt(second);
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 0), 55);
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "OTHER", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 0), 44);
}

}  // namespace
}  // namespace picturetest
