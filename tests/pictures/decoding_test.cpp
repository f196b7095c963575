// Pictures, flats and textures drawn into images from hand-made lumps: where
// a picture lands, when composing a texture stops, how the lookups follow
// the master directory; palettes with gamma and odd PLAYPALs; and Freedoom's
// palettes, a sprite, a flat and a texture against the plain decoder of the
// test kit.
#include <algorithm>

#include "base/fatal.h"
#include "pictures/palette.h"
#include "pictures/picture.h"
#include "support/headless_kit.h"
#include "support/picture_kit.h"
#include "support/wad_session.h"
#include "wad/master.h"

namespace {

using namespace testkit;

class PictureTest : public WadSession {
protected:
    // An IWAD of the lumps, a level and the PLAYPAL (none when empty).
    void OpenBuilt(const Lumps& lumps, const Bytes& playpal = GreyPlaypal()) {
        OpenPictureIwad(dir, lumps, playpal);
    }
};

// An image of w x h pixels of one colour.
Image Filled(int w, int h, uint8_t colour) {
    return Image{w, h, std::vector<uint8_t>(static_cast<size_t>(w) * h, colour)};
}

// A 4 x 4 patch of one colour.
Bytes Patch(uint8_t colour) { return PictureLump(4, 4, Columns(4, {{0, Bytes(4, colour)}})); }

constexpr uint8_t kUnder = 99;   // what the image holds before drawing

TEST_F(PictureTest, PicturesLandWhereAskedAndKeepWhatLiesUnderTheirHoles) {
    // Three columns with gaps: rows 0-1; rows 1-3; row 0 and row 3.
    const Bytes lump = PictureLump(3, 4, {{{0, {1, 2}}}, {{1, {3, 4, 5}}}, {{0, {6}}, {3, {7}}}});
    OpenBuilt({{"PIC", lump}, {"WIDE", PictureLump(321, 4, Columns(321))}});
    struct Place { const char* what; int dx, dy, mag; };
    const Place table[] = {
        {"at the corner", 0, 0, 1},          {"left of the image, clipped", -1, 2, 1},
        {"doubled and above", 2, -1, 2},     {"halved", 1, 1, 0},
        {"thirded", 0, 0, -1},               {"cut by the right edge", 5, 0, 1},
        {"far outside", 32767, -32768, 3},
    };
    for (const Place& p : table) {
        SCOPED_TRACE(p.what);
        Image image = Filled(6, 6, kUnder);
        ASSERT_EQ(DrawPictureInto(image, "pic", p.dx, p.dy, p.mag), kDrawn);
        Grid want(64, 64);
        Overlay(want, lump, p.dx, p.dy);
        EXPECT_TRUE(Shows(image, 0, 0, 6, 6, want, p.mag, kUnder));
    }
    // Nothing of a missing or oversized picture reaches the image.
    Image image = Filled(6, 6, kUnder);
    EXPECT_EQ(DrawPictureInto(image, "NOPIC", 0, 0, 1), kNotDrawn);
    EXPECT_EQ(DrawPictureInto(image, "WIDE", 0, 0, 1), kDrawFailed);
    EXPECT_EQ(image.pixels, Filled(6, 6, kUnder).pixels);
}

TEST_F(PictureTest, ComposingStopsWhenAskedWithoutCallingItDamage) {
    OpenBuilt({{"TEXTURE1", TextureLump({{"TEX", 12, 4, {{0, 0, 0}, {4, 0, 1}, {8, 0, 2}}},
                                         {"HOLE", 12, 4, {{0, 0, 0}, {4, 0, 3}}}})},
               {"PNAMES", PnamesLump({"A", "B", "C", "NOPATCH"})},
               {"A", Patch(10)}, {"B", Patch(20)}, {"C", Patch(30)}});
    Image image;
    const StopCheck never = [] { return false; };
    const StopCheck always = [] { return true; };
    const StopCheck afterFirst = [&image] { return image.pixels[0] != kUnder; };
    struct Run { const char* what; const char* name; const StopCheck& stop; bool whole; std::vector<int> columns; };
    const Run table[] = {
        {"to the end", "TEX", never, true, {10, 20, 30}},
        {"stopped at once", "TEX", always, true, {kUnder, kUnder, kUnder}},
        {"stopped after the first patch", "TEX", afterFirst, true, {10, kUnder, kUnder}},
        {"a patch of no lump", "HOLE", never, false, {10, kUnder, kUnder}},
    };
    for (const Run& run : table) {
        SCOPED_TRACE(run.what);
        TextureInfo info;
        ASSERT_EQ(FindTexture(run.name, &info), 1);
        image = Filled(12, 4, kUnder);
        EXPECT_EQ(ComposeTexture(info, 1, image, run.stop), run.whole);
        for (int patch = 0; patch < 3; ++patch)
            EXPECT_EQ(image.pixels[4 * patch], run.columns[patch]) << "patch " << patch;
    }
}

TEST_F(PictureTest, LookupsFollowTheMasterDirectory) {
    OpenBuilt({{"TEXTURE1", TextureLump({{"BIGDOOR7", 8, 8, {{0, 0, 0}}}})},
               {"TEXTURE2", TextureLump({{"BIGDOOR7", 4, 4, {}}, {"ONLYTWO", 4, 4, {}}})},
               {"PNAMES", PnamesLump({"A"})}, {"A", Patch(77)}});
    TextureInfo info;
    ASSERT_EQ(FindTexture("bigdoor7", &info), 1);
    EXPECT_EQ(info.width, 8);   // ignoring case, TEXTURE1 first
    ASSERT_EQ(FindTexture("ONLYTWO", &info), 1);
    EXPECT_EQ(info.lump, 1);
    for (const char* name : {"BIGDOOR", "-ONLYTWO", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(FindTexture(name, nullptr), 0);
    Image image = Filled(8, 8, kUnder);
    ASSERT_EQ(DrawPictureInto(image, "a", 0, 0, 1), kDrawn);
    EXPECT_EQ(image.pixels[0], 77);
    // The picture looked up last and the texture directories must not
    // outlive the master directory they came from.
    OpenBuilt({{"TEXTURE1", TextureLump({{"NEWER", 8, 8, {{0, 0, 0}}}, {"NEW", 8, 8, {{0, 0, 0}}}})},
               {"PNAMES", PnamesLump({"B"})}, {"A", Patch(55)}, {"B", Patch(44)}});
    ASSERT_EQ(DrawPictureInto(image, "A", 0, 0, 1), kDrawn);
    EXPECT_EQ(image.pixels[0], 55);
    EXPECT_EQ(FindTexture("BIGDOOR7", nullptr), 0);
    ASSERT_EQ(FindTexture("NEW", &info), 1);
    ASSERT_TRUE(ComposeTexture(info, 1, image, [] { return false; }));
    EXPECT_EQ(image.pixels[0], 44);   // patch 0 is "B" now
    OpenBuilt({});
    EXPECT_THROW(FindTexture("NEW", nullptr), ProgramExit);   // no TEXTURE1 ends the program
}

// Kept pictures are drawn on their background once per lump, scale and
// background, and never outlive the lump they were read from.
TEST_F(PictureTest, KeptPicturesFollowTheLumpTheyCameFrom) {
    master.releaseNameLists = FreeTextureDirectories;   // as the program connects them
    OpenBuilt({{"PIC", Patch(77)}, {"WIDE", PictureLump(321, 4, Columns(321))}});
    struct Case { const char* what; int mag; uint8_t background; int side; };
    const Case table[] = {{"own size", 1, kUnder, 4}, {"doubled", 2, kUnder, 8}, {"halved", 0, 5, 2}};
    for (const Case& c : table) {
        SCOPED_TRACE(c.what);
        auto kept = KeptPicture("pic", c.mag, c.background);
        ASSERT_TRUE(kept && kept->whole);
        EXPECT_EQ(kept->image.pixels, Filled(c.side, c.side, 77).pixels);
        EXPECT_EQ(KeptPicture("PIC", c.mag, c.background), kept);
    }
    EXPECT_EQ(KeptPicture("NOPIC", 1, 0), nullptr);
    auto wide = KeptPicture("WIDE", 1, 0);
    ASSERT_TRUE(wide);
    EXPECT_FALSE(wide->whole);
    // A new directory (a file laid over, or the same names in another file at
    // the same places) brings its own pictures.
    WadBuilder pwad("PWAD");
    pwad.lump("PIC", Patch(66));
    pwad.write(dir.file("over.wad"));
    std::string over = dir.file("over.wad");
    ASSERT_GE(LoadPwad(over.data()), 0);
    EXPECT_EQ(KeptPicture("PIC", 1, kUnder)->image.pixels[0], 66);
    for (uint8_t colour : {55, 44}) {
        OpenBuilt({{"PIC", Patch(colour)}, {"WIDE", PictureLump(321, 4, Columns(321))}});
        EXPECT_EQ(KeptPicture("PIC", 1, kUnder)->image.pixels[0], colour);
    }
    master.releaseNameLists = nullptr;
}

TEST_F(PictureTest, PalettesWithGammaAndOddPlaypals) {
    // Grey palettes, colour i being (i, i, i): reduced to 6 bits, gamma
    // added, black kept black and nothing beyond 63.
    OpenBuilt({});
    LoadPalette(0, 8);
    const Bytes palette = CurrentPalette();
    for (auto [colour, want] : {std::pair{0, 0}, std::pair{3, 0}, std::pair{4, 9}, std::pair{100, 33},
                                std::pair{220, 63}, std::pair{255, 63}})
        EXPECT_EQ(palette[3 * colour], want) << "colour " << colour;
    // One and a half palettes give palette 0 for every number; one shorter
    // than a palette leaves the colours it lacks black.
    OpenBuilt({}, Bytes(768 + 384, 200));
    LoadPalette(13, 0);
    LoadPalette(14, 5);   // no such palette: nothing changes
    EXPECT_EQ(CurrentPalette(), Bytes(768, 50));
    OpenBuilt({}, Bytes(30, 255));
    LoadPalette(3, 0);
    Bytes shortOne(768, 0);
    std::fill(shortOne.begin(), shortOne.begin() + 30, 63);
    EXPECT_EQ(CurrentPalette(), shortOne);
    OpenBuilt({}, {});
    EXPECT_THROW(LoadPalette(0, 0), ProgramExit);   // no PLAYPAL
}

constexpr uint8_t kFreedoomUnder = 251;   // not a colour of the sprite

// Freedoom's palettes with gamma. At every magnification: the sprite; the
// flat; COMPTALL, nine overlapping patches.
TEST_F(PictureTest, FreedoomAsThePlainDecoderHasIt) {
    const std::string iwad = FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    OpenIwadAt(iwad);
    const WadContents wad = ReadWad(iwad);
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
        Image image = Filled(w, h, kFreedoomUnder);
        ASSERT_EQ(DrawPictureInto(image, "TROOA1", 0, 0, mag), kDrawn);
        EXPECT_TRUE(Shows(image, 0, 0, w, h, sprite, mag, kFreedoomUnder));

        ASSERT_EQ(DecodeFlat("FLOOR0_1", mag, image), kDrawn);
        ASSERT_EQ(image.width, Scaled(64, mag));
        EXPECT_TRUE(Shows(image, 0, 0, image.width, image.width, flat, mag, -1));

        image = Filled(Scaled(info.width, mag), Scaled(info.height, mag), kFreedoomUnder);
        ASSERT_TRUE(ComposeTexture(info, mag, image, [] { return false; }));
        EXPECT_TRUE(Shows(image, 0, 0, image.width, image.height, texture, mag, kFreedoomUnder));
    }
}

}  // namespace
