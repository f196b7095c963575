// Hand-made and damaged lumps: the failure cross instead of a crash and never
// a pixel outside the box; odd PLAYPALs; the lookups of pictures and textures
// and how they follow the master directory.
#include <random>

#include "pictures/palette.h"
#include "pictures_fixture.h"
#include "platform/video_backend.h"
#include "shell/fatal.h"
#include "support/png_reader.h"
#include "ui/input.h"

namespace picturetest {
namespace {

// A 4 x 4 patch of one colour; holed: its two middle columns transparent.
Bytes Patch(uint8_t colour, bool holed = false) {
    std::vector<std::vector<Post>> columns(4, {{0, Bytes(4, colour)}});
    if (holed)
        columns[1] = columns[2] = {};
    return PictureLump(4, 4, columns);
}

class BuiltTest : public PictureTest {
protected:
    int Draw(int x1, int y1, int x2, int y2, const char* name = "PIC") {
        return DrawPicture(x1, y1, x2, y2, nullptr, name, 0, 0, 1, 8, 0);
    }
    // The red cross of the box is there, and the text (if any) in red at its place.
    bool Failure(int x1, int y1, int x2, int y2, const char* text = "") const {
        Bytes drawn = Pixels();
        Screen().setcolor(MapColor(4));
        Screen().outtextxy(x1 + graphics.CharW2, y1 + graphics.LineH, text);
        return Pixels() == drawn && At(x1 + 8, y1 + 8) == MapColor(4) && At(x2 - 8, y2 - 8) == MapColor(4) &&
               At(x1 + 8, y2 - 8) == MapColor(4);
    }
};

TEST_F(BuiltTest, ShortAndMissingPlaypals) {
    // One and a half palettes give palette 0 for every number; one shorter
    // than a palette leaves the colours it lacks black.
    OpenBuilt({}, Bytes(768 + 384, 200));
    LoadPalette(13, 0);
    LoadPalette(14, 5);   // no such palette: nothing changes
    EXPECT_EQ(CurrentPalette(), Bytes(768, 50));
    OpenBuilt({}, Bytes(30, 255));
    LoadPalette(3, 0);
    Bytes expected(768, 0);
    std::fill(expected.begin(), expected.begin() + 30, 63);
    EXPECT_EQ(CurrentPalette(), expected);
    EXPECT_THROW(OpenBuilt({}, {}), ProgramExit);   // no PLAYPAL
}

TEST_F(BuiltTest, CurrentPaletteScreenShowsEveryColourAndRestoresTheScreen) {
    OpenBuilt({});
    SetMenuBarMode(1);
    Bytes before = Pixels();
    std::string shot = session.Dir().file("palette.png");
    session.Script("snapshot " + shot + "\nkey A");
    ShowPalette();
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(Screen().getviewport().top, 17);   // the menu bar is back
    testkit::PngPicture png;
    ASSERT_EQ(testkit::ReadPng(shot, png), "");
    std::vector<int> count(256);
    for (uint8_t pixel : png.pixels)
        ++count[pixel];
    for (int index = 0; index < 256; ++index)
        EXPECT_GE(count[index], 400) << "no swatch of " << index;
}

TEST_F(BuiltTest, PicturesThatCannotBeDrawnShowTheCrossAndWhy) {
    Bytes tooWide = PictureLump(321, 10, std::vector<std::vector<Post>>(321));
    Bytes table = Patch(10), zeroWidth = Patch(10), tall = Patch(10), negative = Patch(10);
    table.resize(14);   // the column table runs past the lump
    zeroWidth[0] = 0;
    tall[2] = 201;
    negative[3] = 0xFF;
    for (const Bytes& lump : {tooWide, Bytes{4, 0, 6, 0}, table, zeroWidth, tall, negative}) {
        OpenBuilt({{"PIC", lump}});
        EXPECT_EQ(Draw(50, 60, 249, 159), kDrawFailed);
        EXPECT_TRUE(Failure(50, 60, 249, 159, " not image "));
        EXPECT_EQ(At(200, 140), kPaint);   // the box is not cleared
    }
    // At its own size the box is as large as a picture may be, and at least 16.
    OpenBuilt({{"PIC", tooWide}});
    EXPECT_EQ(Draw(0, 0, -1, -1), kDrawFailed);
    EXPECT_TRUE(Failure(0, 0, 319, 15));

    Bytes big = Patch(10);
    big.resize(300000, 0);
    OpenBuilt({{"PIC", big}});
    pictures.freeMemory = [] { return int64_t{200000}; };
    EXPECT_EQ(Draw(50, 60, 249, 159), kDrawFailed);
    EXPECT_TRUE(Failure(50, 60, 249, 159, "no memory"));
    pictures.freeMemory = [] { return int64_t{1} << 30; };
    EXPECT_EQ(Draw(50, 60, 249, 159), kDrawn);
    EXPECT_EQ(At(53, 63), 10);
}

TEST_F(BuiltTest, ColumnsOutsideTheLumpCutShortOrTooLong) {
    // Column 1 far out, column 2 at -1: the other columns are drawn, then the cross.
    Bytes lump = Patch(10);
    for (int k = 0; k < 4; ++k)
        lump[12 + k] = 0x7F, lump[16 + k] = 0xFF;
    OpenBuilt({{"PIC", lump}});
    EXPECT_EQ(Draw(0, 0, 39, 39), kDrawFailed);
    Grid expected = DecodePicture(Patch(10));
    for (int y = 0; y < 4; ++y)
        expected.at(1, y) = expected.at(2, y) = -1;
    EXPECT_TRUE(ShowsGrid(0, 0, expected, MapColor(8)));
    EXPECT_TRUE(Failure(0, 0, 39, 39));

    // A post of 20 pixels cut after 5 of them: those 5 are drawn. Cut inside
    // a post's head, or before the end marker: damaged too.
    Bytes post = PictureLump(1, 30, {{{2, Bytes(20, 90)}}});
    for (int cut : {8 + 4 + 3 + 5, 8 + 4 + 1, 8 + 4 + 24}) {
        OpenBuilt({{"PIC", Bytes(post.begin(), post.begin() + cut)}});
        EXPECT_EQ(Draw(0, 0, 29, 29), kDrawFailed) << cut;
        for (int y = 0; y < 10 && cut == 20; ++y)
            EXPECT_EQ(At(0, y), y >= 2 && y < 7 ? 90 : MapColor(8)) << y;
    }
    // Three posts of 255 pixels without end marker: the third starts past
    // the 512 bytes a column may have and is never drawn.
    OpenBuilt({{"PIC", PictureLump(1, 200, {{{0, Bytes(255, 60)}, {0, Bytes(255, 61)}, {0, Bytes(255, 62)}}})}});
    EXPECT_EQ(Draw(0, 0, 9, 199), kDrawn);
    EXPECT_EQ(At(0, 199), 61);
}

TEST_F(BuiltTest, RandomDamageNeverLeavesTheBox) {
    // A picture and a texture of it with random bytes changed, cut or grown:
    // whatever happens, nothing outside the box changes.
    std::vector<std::vector<Post>> columns;
    for (int c = 0; c < 24; ++c)
        columns.push_back({{c % 5, Bytes(10, static_cast<uint8_t>(30 + c))},
                           {20, Bytes(static_cast<size_t>(c % 7 + 1), 80)}});
    const Bytes good[3] = {PictureLump(24, 40, columns),
                           TextureLump({{"TEX", 40, 50, {{0, 0, 0}, {20, -5, 0}, {-4, 30, 1}}}}),
                           PnamesLump({"PIC", "PIC"})};
    std::mt19937 random(1234);
    auto damaged = [&](Bytes bytes) {
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
        OpenBuilt({{"PIC", which == 0 ? damaged(good[0]) : good[0]},
                   {"TEXTURE1", which == 1 ? damaged(good[1]) : good[1]},
                   {"PNAMES", which == 2 ? damaged(good[2]) : good[2]}});
        pictures.PictureMag = static_cast<int16_t>(random() % 7) - 3;
        if (which == 0)
            DrawPicture(100, 100, 219, 219, nullptr, "PIC", 0, 0, pictures.PictureMag, 8, 0);
        else
            DrawTexture(100, 100, 219, 219, "TEX", "+");
        ASSERT_EQ(Count(0, 0, 639, 479, kPaint) - Count(100, 100, 219, 219, kPaint), 640 * 480 - 120 * 120)
            << round;
    }
}

TEST_F(BuiltTest, MissingShortAndLongFlats) {
    Bytes longer(5000, 250);
    for (size_t i = 0; i < 4096; ++i)
        longer[i] = static_cast<uint8_t>(i % 200);
    OpenBuilt({{"SHORT", Bytes(4095, 3)}, {"EMPTY", {}}, {"LONG", longer}});
    // Missing: a grey cross inside the box, inset by 2; too short: a red one.
    EXPECT_EQ(DrawFlat(10, 10, 73, 73, "NOFLAT", 1), kNotDrawn);
    EXPECT_EQ(At(12, 71), MapColor(8));
    EXPECT_EQ(At(11, 11), kPaint);
    for (const char* name : {"SHORT", "EMPTY"}) {
        EXPECT_EQ(DrawFlat(10, 10, 73, 73, name, 1), kDrawFailed) << name;
        EXPECT_EQ(At(12, 12), MapColor(4));
        EXPECT_EQ(Count(10, 10, 73, 73, 3), 0);
    }
    // Longer: the first 4096 bytes, as the game reads them.
    EXPECT_EQ(DrawFlat(10, 10, 73, 73, "LONG", 1), kDrawn);
    Grid flat(64, 64);
    flat.cells.assign(longer.begin(), longer.begin() + 4096);
    EXPECT_TRUE(ShowsGrid(10, 10, flat, -1));
}

TEST_F(BuiltTest, DamagedTexturesShowTheCross) {
    // Patch numbers beyond PNAMES or negative, a patch name of no lump, no
    // width; a count far beyond the lump, a record outside it, and a patch
    // list that runs past its end.
    Bytes texture1 = TextureLump({{"BADNUM", 64, 64, {{0, 0, 0}, {4, 0, 7}}},
                                  {"OUTSIDE", 64, 64, {{0, 0, 0}}},
                                  {"NEGNUM", 64, 64, {{0, 0, -1}}},
                                  {"MISSING", 64, 64, {{0, 0, 2}}},
                                  {"NOWIDTH", 0, 64, {{0, 0, 0}}},
                                  {"GOOD", 64, 64, {{0, 0, 0}, {2, 0, 1}}},
                                  {"CUT", 64, 64, {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}}}});
    texture1[0] = 0xFF, texture1[1] = 0xFF, texture1[2] = 0xFF, texture1[3] = 0x0F;
    texture1[8] = 0xF0, texture1[9] = 0xFF, texture1[10] = 0, texture1[11] = 0;
    texture1.resize(texture1.size() - 15);
    OpenBuilt({{"TEXTURE1", texture1}, {"PNAMES", PnamesLump({"A", "B", "NOPATCH"})},
               {"A", Patch(10)}, {"B", Patch(20, true)}});
    EXPECT_EQ(FindTexture("OUTSIDE", nullptr), 0);
    for (const char* name : {"BADNUM", "NEGNUM", "MISSING", "NOWIDTH", "CUT"}) {
        Paint(kPaint);
        EXPECT_EQ(DrawTexture(0, 0, 63, 63, name, "+"), kDrawFailed) << name;
        EXPECT_TRUE(Failure(0, 0, 63, 63)) << name;
    }
    EXPECT_EQ(At(3, 0), 10);   // the whole first patch entry of CUT still counts
    // Later patches lie on top except where they are transparent.
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "GOOD", "+"), kDrawn);
    const int row[7] = {10, 10, 20, 10, MapColor(8), 20, MapColor(8)};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(At(x, 3), row[x]) << x;
    EXPECT_EQ(At(0, 4), MapColor(8));

    // Without PNAMES every texture is marked; without TEXTURE1 the program ends.
    OpenBuilt({{"TEXTURE1", TextureLump({{"ONE", 64, 64, {{0, 0, 0}}}})}, {"A", Patch(10)}});
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "ONE", "+"), kDrawFailed);
    EXPECT_TRUE(Failure(0, 0, 63, 63));
    OpenBuilt({});
    EXPECT_THROW(FindTexture("ONE", nullptr), ProgramExit);
}

TEST_F(BuiltTest, LookupsFollowTheMasterDirectory) {
    OpenBuilt({{"TEXTURE1", TextureLump({{"BIGDOOR7", 8, 8, {{0, 0, 0}}}})},
               {"TEXTURE2", TextureLump({{"BIGDOOR7", 4, 4, {}}, {"ONLYTWO", 4, 4, {}}})},
               {"PNAMES", PnamesLump({"A"})}, {"OTHER", Patch(66)}, {"A", Patch(77)}});
    TextureInfo info;
    ASSERT_EQ(FindTexture("bigdoor7", &info), 1);   // ignoring case, TEXTURE1 first
    EXPECT_EQ(info.width, 8);
    EXPECT_EQ(info.lump, 0);
    ASSERT_EQ(FindTexture("ONLYTWO", &info), 1);
    EXPECT_EQ(info.lump, 1);
    for (const char* name : {"BIGDOOR", "-", "-ONLYTWO", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(FindTexture(name, nullptr), 0);
    // Unknown names, and anything while a key is waiting, draw nothing; the
    // key is left for the caller.
    EXPECT_EQ(Draw(0, 0, -1, -1, "NOSUCHPI"), kNotDrawn);
    EXPECT_EQ(Draw(0, 0, 99, 99, nullptr), kNotDrawn);
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "NOSUCHTX", nullptr), kNotDrawn);
    QueueKey('A', 0);
    EXPECT_EQ(Draw(0, 0, -1, -1, "A"), kNotDrawn);
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "BIGDOOR7", nullptr), kNotDrawn);
    EXPECT_EQ(Count(0, 0, 639, 479, kPaint), 640 * 480);
    EXPECT_EQ(KeyWaiting(), 1);
    FlushKeys(0);

    // The picture looked up last and the texture directories must not
    // outlive the master directory they came from.
    ASSERT_EQ(Draw(0, 0, -1, -1, "a"), kDrawn);
    EXPECT_EQ(At(0, 0), 77);
    OpenBuilt({{"TEXTURE1", TextureLump({{"NEWER", 8, 8, {{0, 0, 0}}}, {"NEW", 8, 8, {{0, 0, 0}}}})},
               {"PNAMES", PnamesLump({"B"})}, {"A", Patch(55)}, {"B", Patch(44)}});
    ASSERT_EQ(Draw(0, 0, -1, -1, "A"), kDrawn);
    EXPECT_EQ(At(0, 0), 55);
    EXPECT_EQ(FindTexture("BIGDOOR7", nullptr), 0);
    ASSERT_EQ(DrawTexture(0, 0, 7, 7, "NEW", "+"), kDrawn);
    EXPECT_EQ(At(0, 0), 44);   // patch 0 is "B" now
}

}  // namespace
}  // namespace picturetest
