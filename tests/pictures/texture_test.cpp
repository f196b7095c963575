// Composed textures: Freedoom's TEXTURE1 against the plain composition of
// the fixture, the texture lookup, the texts, damaged texture lumps, and a
// snapshot of the screen against a reference picture made here.
#include <memory>

#include "pictures_fixture.h"
#include "platform/png_writer.h"
#include "shell/config.h"
#include "shell/fatal.h"
#include "support/png_reader.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "wad/master.h"

namespace picturetest {
namespace {

constexpr int kPaint = 251;

class FreedoomTextureTest : public PictureTest {
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
    // The box (x, y) to (x + w - 1, y + h - 1) must show the texture at the
    // current magnification, clipped to the texture and the box, dark grey
    // elsewhere.
    ::testing::AssertionResult ShowsTexture(int x, int y, int w, int h, const std::string& name) {
        Grid texture = Scale(ComposeTexture(*wad, name), pictures.PictureMag);
        Grid box = EmptyGrid(w, h);
        Overlay(box, texture, 0, 0);
        return ShowsGrid(x, y, box, MapColor(8));
    }
    std::unique_ptr<RawWad> wad;
};

TEST_F(FreedoomTextureTest, TexturesOfManyPatches) {
    // STONE has 40 patches, LITE3 64; BIGDOOR7 and STEP2 have patches at
    // negative origins; GRAY7 and COMPTALL overlap theirs.
    for (const char* name : {"STONE", "GRAY7", "COMPTALL", "BIGDOOR7", "STEP2", "LITE3", "SKY1"}) {
        Paint(kPaint);
        ASSERT_EQ(DrawTexture(10, 20, 10 + 255, 20 + 127, name, "+"), kDrawn) << name;
        EXPECT_TRUE(ShowsTexture(10, 20, 256, 128, name)) << name;
        EXPECT_EQ(At(9, 20), kPaint);
        EXPECT_EQ(At(266, 20), kPaint);
        EXPECT_EQ(At(10, 148), kPaint);
    }
    // Magnified, halved and thirded, in boxes larger and smaller than the texture.
    for (int mag : {0, 2, -1}) {
        pictures.PictureMag = static_cast<int16_t>(mag);
        for (const char* name : {"BROWN144", "STEP2"}) {
            ASSERT_EQ(DrawTexture(0, 0, 299, 199, name, "+"), kDrawn);
            EXPECT_TRUE(ShowsTexture(0, 0, 300, 200, name)) << name << " mag " << mag;
            Paint(kPaint);
            ASSERT_EQ(DrawTexture(100, 100, 131, 131, name, "+"), kDrawn);
            EXPECT_TRUE(ShowsTexture(100, 100, 32, 32, name)) << name << " mag " << mag;
            EXPECT_EQ(At(132, 100), kPaint);
            EXPECT_EQ(At(100, 132), kPaint);
        }
    }
}

TEST_F(FreedoomTextureTest, FindTexture) {
    TextureInfo info;
    ASSERT_EQ(FindTexture("stone", &info), 1);
    EXPECT_EQ(info.width, 256);
    EXPECT_EQ(info.height, 128);
    EXPECT_EQ(info.patchCount, 40);
    EXPECT_EQ(info.lump, 0);
    Bytes textures = wad->lump("TEXTURE1");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&textures[info.position]), 5), "STONE");
    EXPECT_EQ(FindTexture("STONE\0XX", nullptr), 1);   // compared up to the terminator
    EXPECT_EQ(FindTexture("BIGDOOR7", nullptr), 1);    // all 8 characters
    EXPECT_EQ(FindTexture("BIGDOOR", nullptr), 0);
    EXPECT_EQ(FindTexture("-", nullptr), 0);
    EXPECT_EQ(FindTexture("-STONE", nullptr), 0);
    EXPECT_EQ(FindTexture("", nullptr), 0);
    EXPECT_EQ(FindTexture(nullptr, nullptr), 0);
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "-", "+"), kNotDrawn);
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "NOSUCHTX", nullptr), kNotDrawn);
    EXPECT_EQ(Count(0, 0, 639, 479, kPaint), 640 * 480);
}

TEST_F(PictureTest, SecondTextureLumpIsLookedUpAfterTheFirst) {
    std::string iwad = testkit::FreedoomIwad(1);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    Open(iwad);
    TextureInfo info;
    ASSERT_EQ(FindTexture("ASHWALL", &info), 1);   // only in TEXTURE2
    EXPECT_EQ(info.lump, 1);
    ASSERT_EQ(FindTexture("BIGDOOR1", &info), 1);
    EXPECT_EQ(info.lump, 0);
}

TEST_F(FreedoomTextureTest, TextsUnderAndAboveTheBox) {
    // Without a label: size and patch count under the box.
    ASSERT_EQ(DrawTexture(20, 40, 275, 167, "STONE", nullptr), kDrawn);
    ASSERT_EQ(DrawTexture(20, 240, 275, 367, "SKY1", nullptr), kDrawn);
    // Texts drawn on a reference in marker colours: 1 for black, 2 for yellow.
    Canvas reference(640, 480);
    reference.setcolor(1);
    reference.outtextxy(20 + 10 * graphics.CharW, 167 + 6, "256x128");
    reference.outtextxy(20 + 18 * graphics.CharW, 167 + 6, "40 patches");
    reference.outtextxy(20 + 10 * graphics.CharW, 367 + 6, "256x128");
    reference.outtextxy(20 + 18 * graphics.CharW, 367 + 6, "TRANS for 2-Sided");
    // With a label: the label in yellow above the box.
    ASSERT_EQ(DrawTexture(300, 40, 363, 103, "STONE", "Upper"), kDrawn);
    reference.setcolor(2);
    reference.outtextxy(300 + graphics.CharW, 40 - graphics.CharH, "Upper");
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (int marker = reference.getpixel(x, y)) {
                ASSERT_EQ(At(x, y), MapColor(marker == 1 ? 0 : 14)) << x << ", " << y;
            }
    // The "+" label writes nothing.
    EXPECT_EQ(At(300 + graphics.CharW, 104 + 6), kPaint);
}

TEST_F(FreedoomTextureTest, SwatchOfTheInfoPanels) {
    config.bottomTextureMagnify = 0;
    DrawTextureSwatch(10, 10, 64, "STONE", "Normal");
    EXPECT_EQ(pictures.PictureMag, 1);   // put back after the swatch
    EXPECT_EQ(At(10, 10), MapColor(15));
    EXPECT_EQ(At(78, 78), MapColor(8));   // dark edge of the raised box
    pictures.PictureMag = 0;
    EXPECT_TRUE(ShowsTexture(12, 12, 65, 65, "STONE"));
    // No texture: only the label, in yellow, inside the box.
    DrawTextureSwatch(100, 10, 64, "-", "Lower");
    Canvas reference(640, 480);
    reference.setcolor(1);
    reference.outtextxy(100 + graphics.CharW, 10 + 64 - graphics.CharH - 2, "Lower");
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (reference.getpixel(x, y) == 1) {
                ASSERT_EQ(At(x, y), MapColor(14)) << x << ", " << y;
            }
}

TEST_F(FreedoomTextureTest, SnapshotMatchesAReferencePicture) {
    HidePointer();
    ASSERT_EQ(DrawTexture(40, 30, 40 + 255, 30 + 127, "GRAY7", "+"), kDrawn);
    std::string shot = session.Dir().file("shot.png");
    ASSERT_TRUE(VideoSnapshot(shot));

    // The same picture drawn pixel by pixel from the plain composition.
    Canvas reference(640, 480);
    reference.setfillstyle(kSolidFill, kPaint);
    reference.bar(0, 0, 639, 479);
    Grid texture = ComposeTexture(*wad, "GRAY7");
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
    testkit::PngPicture png;
    ASSERT_EQ(testkit::ReadPng(shot, png), "");
    EXPECT_EQ(png.pixels, Bytes(reference.pixels(), reference.pixels() + 640 * 480));
}

// Hand-made textures: patches "A" (4 x 4 of 10) and "B" (4 x 4 of 20 with a
// transparent middle column pair).
class BuiltTextureTest : public PictureTest {
protected:
    static Bytes Solid(uint8_t colour) {
        std::vector<std::vector<Post>> columns(4, {{0, std::vector<uint8_t>(4, colour)}});
        return PictureLump(4, 4, columns);
    }
    static Bytes Holed(uint8_t colour) {
        std::vector<std::vector<Post>> columns(4, {{0, std::vector<uint8_t>(4, colour)}});
        columns[1] = columns[2] = {};
        return PictureLump(4, 4, columns);
    }
    void OpenTextures(const Bytes& texture1, const Bytes& pnames, bool withPnames = true) {
        testkit::WadBuilder wad("IWAD");
        wad.lump("TEXTURE1", texture1);
        if (withPnames)
            wad.lump("PNAMES", pnames);
        wad.lump("P_START").lump("A", Solid(10)).lump("B", Holed(20)).lump("P_END");
        OpenBuilt(wad);
        Paint(kPaint);
    }
    bool CrossShown(int x1, int y1, int x2, int y2) const {
        return At(x1 + 8, y1 + 8) == MapColor(4) && At(x2 - 8, y2 - 8) == MapColor(4);
    }
};

TEST_F(BuiltTextureTest, LaterPatchesLieOnTopExceptWhereTransparent) {
    OpenTextures(TextureLump({{"TWO", 6, 4, {{0, 0, 0}, {2, 0, 1}}}}), PnamesLump({"A", "B"}));
    ASSERT_EQ(DrawTexture(0, 0, 7, 5, "two", "+"), kDrawn);
    const int d = MapColor(8);
    const int rows[6][8] = {{10, 10, 20, 10, d, 20, d, d}, {10, 10, 20, 10, d, 20, d, d},
                            {10, 10, 20, 10, d, 20, d, d}, {10, 10, 20, 10, d, 20, d, d},
                            {d, d, d, d, d, d, d, d},      {d, d, d, d, d, d, d, d}};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(At(x, y), rows[y][x]) << x << ", " << y;
}

TEST_F(BuiltTextureTest, DamagedTexturesShowTheCross) {
    Bytes texture1 = TextureLump({
        {"BADNUM", 64, 64, {{0, 0, 0}, {4, 0, 7}}},
        {"NEGNUM", 64, 64, {{0, 0, -1}}},
        {"MISSING", 64, 64, {{0, 0, 2}}},
        {"NOWIDTH", 0, 64, {{0, 0, 0}}},
        {"GOOD", 64, 64, {{0, 0, 0}}},
    });
    OpenTextures(texture1, PnamesLump({"A", "B", "NOPATCH"}));
    for (const char* name : {"BADNUM", "NEGNUM", "MISSING", "NOWIDTH"}) {
        Paint(kPaint);
        EXPECT_EQ(DrawTexture(0, 0, 63, 63, name, "+"), kDrawFailed) << name;
        EXPECT_TRUE(CrossShown(0, 0, 63, 63)) << name;
    }
    Paint(kPaint);
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "GOOD", "+"), kDrawn);
    EXPECT_EQ(At(3, 3), 10);
    EXPECT_EQ(At(8, 8), MapColor(8));
}

TEST_F(BuiltTextureTest, TextureLumpsCutShortAndMissingPnames) {
    // A count far beyond the lump, a record offset outside it, and a patch
    // list that runs past its end.
    Bytes texture1 = TextureLump({{"FIRST", 64, 64, {{0, 0, 0}}},
                                  {"OUTSIDE", 64, 64, {{0, 0, 0}}},
                                  {"CUT", 64, 64, {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}}}});
    texture1[0] = 0xFF, texture1[1] = 0xFF, texture1[2] = 0xFF, texture1[3] = 0x0F;
    texture1[8] = 0xF0, texture1[9] = 0xFF, texture1[10] = 0, texture1[11] = 0;
    texture1.resize(texture1.size() - 15);
    OpenTextures(texture1, PnamesLump({"A"}));
    EXPECT_EQ(FindTexture("FIRST", nullptr), 1);
    EXPECT_EQ(FindTexture("OUTSIDE", nullptr), 0);
    TextureInfo info;
    ASSERT_EQ(FindTexture("CUT", &info), 1);
    EXPECT_EQ(info.patchCount, 3);
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "CUT", "+"), kDrawFailed);
    EXPECT_EQ(At(3, 0), 10);   // the whole first patch entry still counts
    EXPECT_TRUE(CrossShown(0, 0, 63, 63));

    // Without PNAMES every texture is marked, and the program goes on.
    OpenTextures(TextureLump({{"ONE", 64, 64, {{0, 0, 0}}}}), {}, false);
    EXPECT_EQ(DrawTexture(0, 0, 63, 63, "ONE", "+"), kDrawFailed);
    EXPECT_TRUE(CrossShown(0, 0, 63, 63));
}

TEST_F(PictureTest, MissingTexture1IsFatal) {
    testkit::WadBuilder wad("IWAD");
    OpenBuilt(wad);
    try {
        FindTexture("STONE", nullptr);
        FAIL() << "no fatal error";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), 5);
        EXPECT_NE(std::string(e.what()).find("TEXTURE1 not found"), std::string::npos);
    }
}

TEST_F(BuiltTextureTest, DirectoryFollowsTheMasterDirectory) {
    OpenTextures(TextureLump({{"OLD", 8, 8, {{0, 0, 0}}}}), PnamesLump({"A"}));
    EXPECT_EQ(FindTexture("OLD", nullptr), 1);
    OpenTextures(TextureLump({{"NEWER", 8, 8, {{0, 0, 0}}}, {"NEW", 8, 8, {{0, 0, 0}}}}),
                 PnamesLump({"B"}));
    EXPECT_EQ(FindTexture("OLD", nullptr), 0);
    EXPECT_EQ(FindTexture("NEW", nullptr), 1);
    ASSERT_EQ(DrawTexture(0, 0, 7, 7, "NEW", "+"), kDrawn);
    EXPECT_EQ(At(0, 0), 20);   // patch 0 is "B" now
}

}  // namespace
}  // namespace picturetest
