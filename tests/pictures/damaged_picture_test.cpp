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
    int Draw(int x1, int y1, int x2, int y2) {
        return DrawPicture(x1, y1, x2, y2, nullptr, "PIC", 0, 0, 1, 8, 0);
    }
    // Whether the red cross of the box is there, and the text (if any) in
    // red at its place.
    bool Failure(int x1, int y1, int x2, int y2, const char* text = "") const {
        int red = MapColor(4);
        if (At(x1 + 8, y1 + 8) != red || At(x2 - 8, y2 - 8) != red || At(x1 + 8, y2 - 8) != red)
            return false;
        Canvas reference(640, 480);
        reference.setcolor(1);
        reference.outtextxy(x1 + graphics.CharW2, y1 + graphics.LineH, text);
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (reference.getpixel(x, y) == 1 && At(x, y) != red)
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

TEST_F(DamagedPictureTest, BadHeadersAreNotImages) {
    Bytes tooWide = PictureLump(321, 10, std::vector<std::vector<Post>>(321));
    Bytes table = Small(), zeroWidth = Small(), tall = Small(), negative = Small();
    table.resize(14);   // the column table runs past the lump
    zeroWidth[0] = 0;
    tall[2] = 201;
    negative[3] = 0xFF;
    for (const Bytes& lump : {tooWide, Bytes{4, 0, 6, 0}, table, zeroWidth, tall, negative}) {
        OpenPicture(lump);
        EXPECT_EQ(Draw(50, 60, 249, 159), kDrawFailed);
        EXPECT_TRUE(Failure(50, 60, 249, 159, " not image "));
        EXPECT_EQ(At(200, 140), kPaint);   // the box is not cleared
    }
    // At its own size the box is as large as a picture may be, and at least 16.
    OpenPicture(tooWide);
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "PIC", 0, 0, 1, 8, 0), kDrawFailed);
    EXPECT_TRUE(Failure(0, 0, 319, 15));
}

TEST_F(DamagedPictureTest, TooBigForFreeMemory) {
    Bytes lump = Small();
    lump.resize(300000, 0);
    OpenPicture(lump);
    pictures.freeMemory = [] { return int64_t{200000}; };
    EXPECT_EQ(Draw(50, 60, 249, 159), kDrawFailed);
    EXPECT_TRUE(Failure(50, 60, 249, 159, "no memory"));
    pictures.freeMemory = [] { return int64_t{1} << 30; };
    EXPECT_EQ(Draw(50, 60, 249, 159), kDrawn);
    EXPECT_EQ(At(53, 64), 103);
}

TEST_F(DamagedPictureTest, ColumnsOutsideTheLumpOrCutShort) {
    // Column 1 far out, column 2 at -1: the other columns are drawn, then the cross.
    Bytes lump = Small();
    Grid expected = DecodePicture(lump);
    for (int k = 0; k < 4; ++k)
        lump[12 + k] = 0x7F, lump[16 + k] = 0xFF;
    OpenPicture(lump);
    EXPECT_EQ(Draw(0, 0, 39, 39), kDrawFailed);
    for (int y = 0; y < 6; ++y) {
        EXPECT_EQ(At(0, y), expected.at(0, y) < 0 ? MapColor(8) : expected.at(0, y));
        EXPECT_EQ(At(1, y), MapColor(8));
        EXPECT_EQ(At(2, y), MapColor(8));
        EXPECT_EQ(At(3, y), expected.at(3, y) < 0 ? MapColor(8) : expected.at(3, y));
    }
    EXPECT_TRUE(Failure(0, 0, 39, 39));

    // One post of 20 pixels cut after 5 of them: those 5 are drawn.
    Bytes post = PictureLump(1, 30, {{{2, std::vector<uint8_t>(20, 90)}}});
    OpenPicture(Bytes(post.begin(), post.begin() + 8 + 4 + 3 + 5));
    EXPECT_EQ(Draw(0, 0, 29, 29), kDrawFailed);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(At(0, y), y >= 2 && y < 7 ? 90 : MapColor(8)) << y;
    // Cut inside a post's head, and just before the end marker.
    for (size_t cut : {size_t{8 + 4 + 1}, size_t{8 + 4 + 24}}) {
        OpenPicture(Bytes(post.begin(), post.begin() + cut));
        EXPECT_EQ(Draw(0, 0, 29, 29), kDrawFailed) << cut;
    }
}

TEST_F(DamagedPictureTest, LongPostsAreClippedAndColumnsStopAfter512Bytes) {
    // A 2 x 4 picture whose posts reach far below it: clipped to the image.
    OpenPicture(PictureLump(2, 4, {{{2, std::vector<uint8_t>(255, 70)}},
                                   {{254, std::vector<uint8_t>(255, 71)}}}));
    EXPECT_EQ(DrawPicture(0, 0, -1, -1, nullptr, "PIC", 0, 0, 3, 8, 0), kDrawn);
    EXPECT_EQ(At(0, 11), 70);
    EXPECT_EQ(At(0, 12), kPaint);   // the image is 6 x 12
    EXPECT_EQ(At(5, 0), MapColor(8));
    EXPECT_EQ(At(6, 0), kPaint);
    // Three posts of 255 pixels without end marker: the third starts past 512
    // bytes and is never drawn.
    std::vector<Post> posts = {{0, std::vector<uint8_t>(255, 60)},
                               {0, std::vector<uint8_t>(255, 61)},
                               {0, std::vector<uint8_t>(255, 62)}};
    OpenPicture(PictureLump(1, 200, {posts}));
    EXPECT_EQ(Draw(0, 0, 9, 199), kDrawn);
    EXPECT_EQ(At(0, 0), 61);
    EXPECT_EQ(At(0, 199), 61);
}

TEST_F(DamagedPictureTest, RandomDamageNeverLeavesTheBox) {
    // A picture and a texture of it with random bytes changed, cut or grown:
    // whatever happens, nothing outside the box changes.
    std::vector<std::vector<Post>> columns;
    for (int c = 0; c < 24; ++c)
        columns.push_back({{c % 5, std::vector<uint8_t>(10, static_cast<uint8_t>(30 + c))},
                           {20, std::vector<uint8_t>(static_cast<size_t>(c % 7 + 1), 80)}});
    const Bytes good[3] = {PictureLump(24, 40, columns),
                           TextureLump({{"TEX", 40, 50, {{0, 0, 0}, {20, -5, 0}, {-4, 30, 1}}}}),
                           PnamesLump({"PIC", "PIC"})};
    std::mt19937 random(1234);
    auto damaged = [&](const Bytes& lump) {
        Bytes bytes = lump;
        for (int k = 1 + static_cast<int>(random() % 8); k > 0; --k)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (random() % 3 == 0)
            bytes.resize(random() % bytes.size());
        else if (random() % 5 == 0)
            bytes.resize(bytes.size() + random() % 600, static_cast<uint8_t>(random()));
        return bytes;
    };
    for (int round = 0; round < 300; ++round) {
        int which = round % 3;
        testkit::WadBuilder wad("IWAD");
        wad.lump("PIC", which == 0 ? damaged(good[0]) : good[0])
            .lump("TEXTURE1", which == 1 ? damaged(good[1]) : good[1])
            .lump("PNAMES", which == 2 ? damaged(good[2]) : good[2]);
        OpenBuilt(wad);
        Paint(kPaint);
        pictures.PictureMag = static_cast<int16_t>(random() % 7) - 3;
        if (which == 0)
            DrawPicture(100, 100, 219, 219, nullptr, "PIC", 0, 0, pictures.PictureMag, 8, 0);
        else
            DrawTexture(100, 100, 219, 219, "TEX", "+");
        EXPECT_EQ(Count(0, 0, 639, 99, kPaint), 640 * 100) << round;
        EXPECT_EQ(Count(0, 220, 639, 479, kPaint), 640 * 260) << round;
        EXPECT_EQ(Count(0, 100, 99, 219, kPaint), 100 * 120) << round;
        EXPECT_EQ(Count(220, 100, 639, 219, kPaint), 420 * 120) << round;
    }
}

}  // namespace
}  // namespace picturetest
