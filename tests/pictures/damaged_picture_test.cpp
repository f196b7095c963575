// Damaged picture lumps: the failure cross instead of a crash, and never a
// pixel outside the picture's box or image.
#include <random>

#include "pictures_fixture.h"
#include "ui/graphics.h"

namespace picturetest {
namespace {

constexpr int kPaint = 251;

class DamagedPictureTest : public PictureTest {
protected:
    // Opens an IWAD whose lump "PIC" holds the bytes.
    void OpenPicture(const Bytes& lump) {
        testkit::WadBuilder wad("IWAD");
        wad.lump("PIC", lump);
        OpenBuilt(wad);
        Paint(kPaint);
    }
    int Red() const { return MapColor(4); }
    // Whether the red cross of the box (x1, y1)-(x2, y2) is there.
    bool CrossShown(int x1, int y1, int x2, int y2) const {
        return At(x1 + 8, y1 + 8) == Red() && At(x2 - 8, y2 - 8) == Red() &&
               At(x1 + 8, y2 - 8) == Red() && At(x2 - 8, y1 + 8) == Red();
    }
    // Whether the text is written in red at the failure text's place.
    bool FailureText(int x1, int y1, const char* text) const {
        Canvas reference(640, 480);
        reference.setcolor(1);
        reference.outtextxy(x1 + graphics.CharW2, y1 + graphics.LineH, text);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (reference.getpixel(x, y) == 1 && At(x, y) != Red())
                    return false;
        return true;
    }
};

// A 4 x 6 picture: column c has one post of c + 1 pixels from row 1.
Bytes Small() {
    std::vector<std::vector<Post>> columns;
    for (int c = 0; c < 4; ++c)
        columns.push_back({{1, std::vector<uint8_t>(static_cast<size_t>(c) + 1, 100 + c)}});
    return PictureLump(4, 6, columns);
}

TEST_F(DamagedPictureTest, TooWideShowsTheCrossAndNotImage) {
    OpenPicture(PictureLump(321, 10, std::vector<std::vector<Post>>(321)));
    EXPECT_EQ(DrawPicture(10, 20, 209, 119, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed);
    EXPECT_TRUE(CrossShown(10, 20, 209, 119));
    EXPECT_TRUE(FailureText(10, 20, " not image "));
    EXPECT_EQ(At(100, 100), kPaint);   // the box is not cleared
    // At its own size the box is as large as a picture may be.
    Paint(kPaint);
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed);
    EXPECT_TRUE(CrossShown(0, 0, 319, 15));
}

TEST_F(DamagedPictureTest, BadHeadersAreNotImages) {
    Bytes table = Small();
    table.resize(14);   // the column table runs past the lump
    Bytes zeroWidth = Small(), tall = Small(), negative = Small();
    zeroWidth[0] = 0;
    tall[2] = 201;
    negative[3] = 0xFF;
    for (const Bytes& lump : {Bytes{4, 0, 6, 0}, table, zeroWidth, tall, negative}) {
        OpenPicture(lump);
        EXPECT_EQ(DrawPicture(50, 60, 249, 159, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed);
        EXPECT_TRUE(CrossShown(50, 60, 249, 159));
        EXPECT_TRUE(FailureText(50, 60, " not image "));
    }
}

TEST_F(DamagedPictureTest, TooBigForFreeMemory) {
    Bytes lump = Small();
    lump.resize(300000, 0);
    OpenPicture(lump);
    pictures.freeMemory = [] { return int64_t{200000}; };
    EXPECT_EQ(DrawPicture(50, 60, 249, 159, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed);
    EXPECT_TRUE(CrossShown(50, 60, 249, 159));
    EXPECT_TRUE(FailureText(50, 60, "no memory"));
    pictures.freeMemory = [] { return int64_t{1} << 30; };
    Paint(kPaint);
    EXPECT_EQ(DrawPicture(50, 60, 249, 159, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(53, 64), 103);
}

TEST_F(DamagedPictureTest, ColumnsOutsideTheLumpAreMarked) {
    Bytes lump = Small();
    Grid expected = DecodePicture(lump);
    testkit::Bytes bad = lump;
    bad[8 + 4] = 0xF0, bad[8 + 5] = 0xFF, bad[8 + 6] = 0xFF, bad[8 + 7] = 0x7F;    // column 1 far out
    bad[8 + 8] = 0xFF, bad[8 + 9] = 0xFF, bad[8 + 10] = 0xFF, bad[8 + 11] = 0xFF;  // column 2 at -1
    OpenPicture(bad);
    EXPECT_EQ(DrawPicture(0, 0, 39, 39, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed);
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(At(0, y), expected.at(0, y) < 0 ? MapColor(8) : expected.at(0, y));
        EXPECT_EQ(At(3, y), expected.at(3, y) < 0 ? MapColor(8) : expected.at(3, y));
        EXPECT_EQ(At(1, y), MapColor(8));
        EXPECT_EQ(At(2, y), MapColor(8));
    }
    EXPECT_TRUE(CrossShown(0, 0, 39, 39));
}

TEST_F(DamagedPictureTest, PostsCutShortByTheLumpEnd) {
    // One column, one post of 20 pixels, cut after 5 of them.
    Bytes lump = PictureLump(1, 30, {{{2, std::vector<uint8_t>(20, 90)}}});
    lump.resize(8 + 4 + 3 + 5);
    OpenPicture(lump);
    EXPECT_EQ(DrawPicture(0, 0, 29, 29, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(At(0, y), y >= 2 && y < 7 ? 90 : MapColor(8)) << y;
    // Cut between two posts, and cut before the end marker.
    for (size_t cut : {size_t{8 + 4 + 1}, size_t{8 + 4 + 24}}) {
        Bytes shorter = PictureLump(1, 30, {{{2, std::vector<uint8_t>(20, 90)}}});
        shorter.resize(cut);
        OpenPicture(shorter);
        EXPECT_EQ(DrawPicture(0, 0, 29, 29, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed) << cut;
    }
}

TEST_F(DamagedPictureTest, PostsPastThePictureAreClippedToTheImage) {
    // A 2 x 4 picture whose posts reach row 254 + 255.
    Bytes lump = PictureLump(2, 4, {{{2, std::vector<uint8_t>(255, 70)}},
                                    {{254, std::vector<uint8_t>(255, 71)}}});
    OpenPicture(lump);
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "PIC", 0, 0, 3, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 11), 70);
    EXPECT_EQ(At(0, 12), kPaint);   // the image is 6 x 12
    EXPECT_EQ(At(5, 0), MapColor(8));
    EXPECT_EQ(At(6, 0), kPaint);
    // In a larger box the posts run on as far as the box goes.
    Paint(kPaint);
    EXPECT_EQ(DrawPicture(0, 0, 9, 99, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 99), 70);
    EXPECT_EQ(At(0, 100), kPaint);
    EXPECT_EQ(At(1, 99), MapColor(8));
}

TEST_F(DamagedPictureTest, ColumnsWithoutEndMarkerStopAfter512Bytes) {
    // Posts of 255 pixels, one after the other: the third starts past 512 bytes.
    std::vector<Post> posts = {{0, std::vector<uint8_t>(255, 60)},
                               {0, std::vector<uint8_t>(255, 61)},
                               {0, std::vector<uint8_t>(255, 62)}};
    OpenPicture(PictureLump(1, 200, {posts}));
    EXPECT_EQ(DrawPicture(0, 0, 9, 199, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 0), 61);   // the second post overwrote the first, the third never came
    EXPECT_EQ(At(0, 199), 61);
}

TEST_F(DamagedPictureTest, RandomDamageNeverLeavesTheBox) {
    // A real-looking picture with random bytes changed, cut or grown: whatever
    // happens, nothing outside the box changes.
    std::vector<std::vector<Post>> columns;
    for (int c = 0; c < 24; ++c)
        columns.push_back({{static_cast<int>(c % 5), std::vector<uint8_t>(10, 30 + c)},
                           {20, std::vector<uint8_t>(c % 7 + 1, 80)}});
    Bytes good = PictureLump(24, 40, columns);
    std::mt19937 random(1234);
    Image image;
    image.width = 30;
    image.height = 30;
    for (int round = 0; round < 300; ++round) {
        Bytes lump = good;
        int changes = 1 + static_cast<int>(random() % 12);
        for (int k = 0; k < changes; ++k)
            lump[random() % lump.size()] = static_cast<uint8_t>(random());
        if (round % 3 == 0)
            lump.resize(random() % lump.size());
        if (round % 7 == 0)
            lump.resize(lump.size() + random() % 600, static_cast<uint8_t>(random()));
        OpenPicture(lump);
        int mag = static_cast<int>(random() % 7) - 3;
        int status = DrawPicture(100, 100, 219, 219, nullptr, "PIC", 0, 0, mag, 8, 0);
        EXPECT_TRUE(status == kDrawn || status == kDrawFailed);
        EXPECT_EQ(Count(0, 0, 639, 99, kPaint), 640 * 100) << round;
        EXPECT_EQ(Count(0, 220, 639, 479, kPaint), 640 * 260) << round;
        EXPECT_EQ(Count(0, 100, 99, 219, kPaint), 100 * 120) << round;
        EXPECT_EQ(Count(220, 100, 639, 219, kPaint), 420 * 120) << round;
        image.pixels.assign(30 * 30, 0);
        int dx = static_cast<int>(random() % 40) - 20, dy = static_cast<int>(random() % 40) - 20;
        DrawPicture(0, 0, 0, 0, &image, "PIC", dx, dy, mag, 8, 0);
        EXPECT_EQ(image.pixels.size(), 30u * 30u);
    }
}

}  // namespace
}  // namespace picturetest
