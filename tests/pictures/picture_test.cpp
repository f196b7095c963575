// Column-coded pictures from Freedoom and from hand-made WADs, compared with
// the plain decoder of the fixture.
#include <memory>

#include "pictures_fixture.h"
#include "platform/video_backend.h"
#include "shell/config.h"
#include "ui/graphics.h"
#include "ui/input.h"

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
    Grid Decoded(const char* name) const { return DecodePicture(wad->lump(name)); }
    std::unique_ptr<RawWad> wad;
};

TEST_F(FreedoomPictureTest, SpritesAndPatchesAtEveryMagnification) {
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"TROOA1", {1, 2, 3, 0, -1, -3}}, {"CYBRA1", {1, 2, -1}}, {"WALL00_1", {1, 0}},
        {"W33_8", {1, 2, 0}},             {"TITLEPIC", {1, 0}},
    };
    for (const auto& c : cases) {
        for (int mag : c.second) {
            Paint(kPaint);
            ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, c.first, 0, 0, mag, 8, 0), kDrawn);
            Grid expected = Scale(Decoded(c.first), mag);
            EXPECT_TRUE(ShowsGrid(0, 0, expected, MapColor(8))) << c.first << " mag " << mag;
            // Nothing right of or below the picture's box.
            EXPECT_EQ(At(expected.width, 0), kPaint) << c.first << " mag " << mag;
            EXPECT_EQ(At(0, expected.height), kPaint) << c.first << " mag " << mag;
        }
    }
}

TEST_F(FreedoomPictureTest, PlacedInABoxAndCentred) {
    Grid possessed = Decoded("POSSA1");   // 37 x 56
    ASSERT_EQ(DrawPicture(20, 30, 119, 109, nullptr, "POSSA1", 5, 7, 1, 8, 0), kDrawn);
    Grid box = EmptyGrid(100, 80);
    Overlay(box, possessed, 5, 7);
    EXPECT_TRUE(ShowsGrid(20, 30, box, MapColor(8)));
    EXPECT_EQ(At(19, 30), kPaint);
    EXPECT_EQ(At(120, 109), kPaint);
    // Centred on (300, 200) at double size; near the corner the box stops at 0.
    ASSERT_EQ(DrawPicture(300, 200, -1, -1, nullptr, "POSSA1", 0, 0, 2, 8, 1), kDrawn);
    EXPECT_TRUE(ShowsGrid(300 - 37, 200 - 56, Scale(possessed, 2), MapColor(8)));
    ASSERT_EQ(DrawPicture(10, 12, -1, -1, nullptr, "POSSA1", 0, 0, 1, 8, 1), kDrawn);
    EXPECT_TRUE(ShowsGrid(0, 0, possessed, MapColor(8)));
}

TEST_F(FreedoomPictureTest, SizeTextUnderTheBox) {
    ASSERT_EQ(DrawPicture(20, 30, -1, -1, nullptr, "TROOA1", kPictureSizeText, 0, 1, 8, 0), kDrawn);
    EXPECT_TRUE(ShowsGrid(20, 30, Decoded("TROOA1"), MapColor(8)));
    // TROOA1 is 48 x 60: the text box begins 3 rows under the picture's box.
    int x1 = 20 + 10 * graphics.CharW, x2 = 20 + 36 * graphics.CharW, y = 30 + 60 - 1 + 6;
    Canvas reference(640, 480);
    reference.setfillstyle(kSolidFill, MapColor(config.colors[kColorMenu]));
    reference.bar(x1, y, x2, y + graphics.CharH);
    reference.setcolor(MapColor(0));
    reference.outtextxy(x1, y, "48x60");
    for (int row = y; row <= y + graphics.CharH; ++row)
        for (int col = x1; col <= x2; ++col)
            ASSERT_EQ(At(col, row), reference.getpixel(col, row)) << col << ", " << row;
}

TEST_F(FreedoomPictureTest, MissingPicturesAndWaitingKeysDrawNothing) {
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "NOSUCHPI", 0, 0, 1, 8, 0), kNotDrawn);
    EXPECT_EQ(DrawPicture(0, 0, 99, 99, nullptr, nullptr, 0, 0, 1, 8, 0), kNotDrawn);
    QueueKey('A', 0);
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "TROOA1", 0, 0, 1, 8, 0), kNotDrawn);
    EXPECT_EQ(DrawTexture(0, 100, 255, 227, "STONE", "+"), kNotDrawn);
    EXPECT_EQ(Count(0, 0, 639, 479, kPaint), 640 * 480);
    EXPECT_EQ(KeyWaiting(), 1);   // the key is left for the caller
    FlushKeys(0);
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "TROOA1", 0, 0, 1, 8, 0), kDrawn);
}

TEST_F(PictureTest, RememberedPictureFollowsTheMasterDirectory) {
    // The picture looked up last must not outlive the directory it came from.
    testkit::WadBuilder first("IWAD");
    first.lump("OTHER", PictureLump(1, 1, {{{0, {66}}}})).lump("PIC", PictureLump(1, 1, {{{0, {77}}}}));
    OpenBuilt(first);
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "pic", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 0), 77);
    testkit::WadBuilder second("IWAD");
    second.lump("PIC", PictureLump(1, 1, {{{0, {55}}}})).lump("OTHER", PictureLump(1, 1, {{{0, {44}}}}));
    OpenBuilt(second);
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 0), 55);
    ASSERT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "OTHER", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 0), 44);
}

}  // namespace
}  // namespace picturetest
