// Pictures and name lists from WAD files made for the test: where a picture
// lands, palettes with gamma and odd PLAYPALs, the texture, flat, sprite and
// picture name lists, and the order of level names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/fatal.h"
#include "pictures/namelists.h"
#include "pictures/palette.h"
#include "pictures/picture.h"
#include "support/picture_kit.h"
#include "support/session_kit.h"

namespace {

using namespace testkit;

class PictureTest : public WadSession {
protected:
    // Opens the WAD as the IWAD.
    void Open(const WadBuilder& wad) {
        wad.write(dir.file("names.wad"));
        OpenIwadAt(dir.file("names.wad"));
    }
};

constexpr uint8_t kUnder = 99;   // what the image holds before drawing

TEST_F(PictureTest, PicturesLandWhereAskedAndKeepWhatLiesUnderTheirHoles) {
    // Three columns with gaps: rows 0-1; rows 1-3; row 0 and row 3.
    const Bytes lump = PictureLump(3, 4, {{{0, {1, 2}}}, {{1, {3, 4, 5}}}, {{0, {6}}, {3, {7}}}});
    const Bytes wide = PictureLump(321, 4, Columns(321));   // wider than the game's screen
    OpenPictureIwad(dir, {{"PIC", lump}, {"WIDE", wide}}, GreyPlaypal());
    const Image blank{6, 6, std::vector<uint8_t>(36, kUnder)};
    struct Place { const char* what; int dx, dy, mag; };
    const Place table[] = {
        {"at the corner", 0, 0, 1},          {"left of the image, clipped", -1, 2, 1},
        {"doubled and above", 2, -1, 2},     {"halved", 1, 1, 0},
        {"thirded", 0, 0, -1},               {"cut by the right edge", 5, 0, 1},
        {"far outside", 32767, -32768, 3},
    };
    for (const Place& p : table) {
        SCOPED_TRACE(p.what);
        Image image = blank;
        ASSERT_EQ(DrawPictureInto(image, "pic", p.dx, p.dy, p.mag), kDrawn);
        Grid want(64, 64);
        Overlay(want, lump, p.dx, p.dy);
        EXPECT_TRUE(Shows(image, 0, 0, 6, 6, want, p.mag, kUnder));
    }
    // Nothing of a missing or oversized picture reaches the image.
    Image image = blank;
    EXPECT_EQ(DrawPictureInto(image, "NOPIC", 0, 0, 1), kNotDrawn);
    EXPECT_EQ(DrawPictureInto(image, "WIDE", 0, 0, 1), kDrawFailed);
    EXPECT_EQ(image.pixels, blank.pixels);
}

TEST_F(PictureTest, PalettesWithGammaAndOddPlaypals) {
    // Grey palettes, colour i being (i, i, i): reduced to 6 bits, gamma
    // added, black kept black and nothing beyond 63.
    OpenPictureIwad(dir, {}, GreyPlaypal());
    LoadPalette(0, 8);
    for (auto [colour, want] : {std::pair{0, 0}, {3, 0}, {4, 9}, {100, 33}, {220, 63}, {255, 63}})
        EXPECT_EQ(CurrentPalette()[3 * colour], want) << "colour " << colour;
    // One and a half palettes give palette 0 for every number; one shorter
    // than a palette leaves the colours it lacks black.
    OpenPictureIwad(dir, {}, Bytes(768 + 384, 200));
    LoadPalette(13, 0);
    LoadPalette(14, 5);   // no such palette: nothing changes
    EXPECT_EQ(CurrentPalette(), Bytes(768, 50));
    OpenPictureIwad(dir, {}, Bytes(30, 255));
    LoadPalette(3, 0);
    Bytes shortOne(768, 0);
    std::fill(shortOne.begin(), shortOne.begin() + 30, 63);
    EXPECT_EQ(CurrentPalette(), shortOne);
    OpenPictureIwad(dir, {}, {});
    EXPECT_THROW(LoadPalette(0, 0), ProgramExit);   // no PLAYPAL
}

// A TEXTURE lump of empty textures of the names.
Bytes Textures(const std::vector<std::string>& names) {
    std::vector<TextureDef> textures;
    for (const std::string& name : names)
        textures.push_back({name, 0, 0, {}});
    return TextureLump(textures);
}

// A picture lump of the given size, every column empty.
Bytes Picture(int width, int height) {
    return PictureLump(width, height, Columns(static_cast<size_t>(width)));
}

std::vector<std::string> Names(const NameList& list) {
    return {list.names(), list.names() + list.count()};
}

using NameListTest = PictureTest;

// Each row a WAD of a level and the lumps given: the texture or flat names
// built, or the message the program ends with.
TEST_F(NameListTest, TextureAndFlatNamesOrTheMissingLump) {
    Bytes damaged;   // a TEXTURE2 claiming a million textures; two of its offsets point outside
    for (int32_t v : {1000000, 16, 9999, -4})
        PutLE32(damaged, v);
    for (char c : std::string("OKWALL\0\0", 8))
        damaged.push_back(static_cast<uint8_t>(c));
    const Bytes f(4096), none;
    const Bytes wall = Textures({"WALL1"});
    const struct {
        const char* what;
        bool flats;
        Lumps lumps;
        std::vector<std::string> names;
        const char* exit;
    } cases[] = {
        {"no TEXTURE2", false, {{"TEXTURE1", wall}}, {"-", "WALL1"}, ""},
        {"a damaged TEXTURE2", false, {{"TEXTURE1", wall}, {"TEXTURE2", damaged}}, {"-", "OKWALL", "WALL1"}, ""},
        {"no TEXTURE1", false, {}, {}, "TEXTURE1 not found"},
        {"flats between their markers", true,
         {{"F_START", none}, {"OUTSIDE1", f}, {"F1_START", none}, {"NUKAGE1", f}, {"FLOOR0_1", f}, {"F1_END", none},
          {"BETWEEN", f}, {"F2_START", none}, {"CEIL3_5", f}, {"F2_END", none}, {"F_END", none}},
         {"CEIL3_5", "FLOOR0_1", "NUKAGE1"}, ""},
        {"an open marker", true, {{"F1_START", none}, {"NUKAGE1", f}, {"F1_END", none}, {"F3_START", none}}, {},
         "F3_END not found"},
        {"no flats", true, {}, {}, "F1_START not found"},
        {"both lumps, sorted after the no-texture name", false,
         {{"TEXTURE1", Textures({"WALL1", "BRICK"})}, {"TEXTURE2", Textures({"ZZWALL", "WALL1", "ABCDEFGH"})}},
         {"-", "ABCDEFGH", "BRICK", "WALL1", "WALL1", "ZZWALL"}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        OpenPictureIwad(dir, c.lumps, {});
        const std::string exit = ExitOf(c.flats ? BuildFlatNames : BuildTextureNames);
        EXPECT_NE(exit.find(c.exit), std::string::npos) << exit;
        if (!*c.exit) {
            EXPECT_EQ(Names(c.flats ? nameLists.FlatNames : nameLists.TextureNames), c.names);
        }
    }
    // In the last list, names are found ignoring case, whole.
    EXPECT_EQ(nameLists.TextureNames.Find("abcdefgh"), 1);
    EXPECT_EQ(nameLists.TextureNames.Find("ABCDEFG"), -1);
    EXPECT_EQ(nameLists.TextureNames.Find("-"), 0);
}

TEST_F(NameListTest, SpritesPicturesAndLevels) {
    WadBuilder wad("IWAD");
    wad.level("MAP10").level("MAP02").lump("EARLYPIC", Picture(10, 10)).level("MAP01");
    wad.lump("TEXTURE1", Textures({"W"}));
    wad.lump("S_START").lump("TROOA1", Picture(41, 57)).lump("POSSA1", Picture(33, 55));
    wad.lump("S_END").lump("WIDE", Picture(321, 10)).lump("TALL", Picture(10, 201));
    wad.lump("TINY", Bytes{1, 0}).lump("EDGE", Picture(320, 200));
    Open(wad);
    NameList sprites, pictures;
    BuildSpriteNames(sprites);
    EXPECT_EQ(Names(sprites), (std::vector<std::string>{"POSSA1", "TROOA1"}));
    BuildPictureNames(pictures);
    EXPECT_EQ(Names(pictures), (std::vector<std::string>{"EDGE", "POSSA1", "TROOA1"}));
    const std::vector<const char*> levels = SortedLevelNames();
    EXPECT_EQ(std::vector<std::string>(levels.begin(), levels.end()),
              (std::vector<std::string>{"MAP01", "MAP02", "MAP10"}));
}

// A sprite frame the WAD lacks under its own name is found as a rotation of
// the same frame; nothing of another frame or another sprite stands in.
TEST_F(NameListTest, SpriteFramesFallBackOnTheirRotations) {
    WadBuilder wad("IWAD");
    wad.level("MAP01").lump("S_START").lump("TROOA1", Picture(4, 4));
    wad.lump("TROOB2B8", Picture(4, 4)).lump("TROOC1", Picture(4, 4));
    wad.lump("TROOC3C7", Picture(4, 4)).lump("S_END");
    Open(wad);
    // The name asked for and the lump found ("" none).
    const std::pair<const char*, const char*> cases[] = {
        {"TROOA1", "TROOA1"},   {"trooa1", "TROOA1"}, {"TROOB2", "TROOB2B8"}, {"TROOB8", "TROOB2B8"},
        {"TROOB0", "TROOB2B8"}, {"TROOC5", "TROOC1"}, {"TROOD1", ""},         {"POSSA1", ""},
        {"TROO", ""},           {"", ""},
    };
    for (const auto& [asked, found] : cases) {
        char lump[9] = {'x'};
        EXPECT_EQ(FindSpriteLump(asked, lump), found[0] != 0) << asked;
        EXPECT_STREQ(lump, found) << asked;
    }
}

}  // namespace
