// The texture, flat, sprite and picture name lists built from WAD files made
// for the test, the order of level names, and the texture and flat choosers
// on the headless screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "base/config.h"
#include "base/fatal.h"
#include "base/flavour.h"
#include "support/headless_kit.h"
#include "support/testkit.h"
#include "ui/graphics.h"
#include "wad/master.h"

using testkit::Bytes;
using testkit::PutLE16;
using testkit::PutLE32;

namespace {

// A TEXTURE lump: the count, the offsets and one short record per name.
Bytes TextureLump(const std::vector<std::string>& names) {
    Bytes lump;
    PutLE32(lump, static_cast<int32_t>(names.size()));
    int32_t offset = 4 + 4 * static_cast<int32_t>(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        PutLE32(lump, offset + 22 * static_cast<int32_t>(i));
    for (const std::string& name : names) {
        char field[8] = {};
        std::memcpy(field, name.data(), std::min<size_t>(8, name.size()));
        lump.insert(lump.end(), field, field + 8);
        lump.resize(lump.size() + 14, 0);
    }
    return lump;
}

// The first 8 bytes of a picture lump of the given size.
Bytes PictureHeader(int width, int height) {
    Bytes b;
    PutLE16(b, width);
    PutLE16(b, height);
    PutLE32(b, 0);
    return b;
}

std::vector<std::string> Names(const NameList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i)
        out.push_back(list[i]);
    return out;
}

class NameListTest : public ::testing::Test {
protected:
    void TearDown() override { FreeNameLists(); }
    // The usual markers around one flat and one sprite, plus extra lumps.
    testkit::WadBuilder Base(const std::vector<std::string>& texture1) {
        testkit::WadBuilder wad("IWAD");
        wad.level("MAP01").lump("TEXTURE1", TextureLump(texture1));
        wad.lump("S_START").lump("TROOA1", PictureHeader(41, 57)).lump("S_END");
        return wad;
    }
    void Open(const testkit::WadBuilder& wad) {
        std::string path = dir.file("names.wad");
        wad.write(path);
        SetField(config.iwadName, path.c_str());
        OpenIwad(config.iwadName);
    }
    static std::string FatalOf(void (*body)()) {
        try {
            body();
        } catch (const ProgramExit& e) {
            return e.what();
        }
        return "";
    }

    testkit::HeadlessSession session;
    const testkit::ScratchDir& dir = session.Dir();
};

TEST_F(NameListTest, TexturesOfBothLumpsSortedAfterTheNoTextureName) {
    testkit::WadBuilder wad = Base({"STARTAN3", "BRICK", "ABCDEFGH"});
    wad.lump("TEXTURE2", TextureLump({"STARTAN3", "ZZWALL"}));
    Open(wad);
    BuildTextureNames();
    EXPECT_EQ(Names(nameLists.TextureNames),
              (std::vector<std::string>{"-", "ABCDEFGH", "BRICK", "STARTAN3", "STARTAN3", "ZZWALL"}));
    EXPECT_EQ(nameLists.TextureNames.Find("abcdefgh"), 1);
    EXPECT_EQ(nameLists.TextureNames.Find("ABCDEFG"), -1);
    EXPECT_EQ(nameLists.TextureNames.Find("-"), 0);
}

TEST_F(NameListTest, TexturesWithoutTexture2FromDamagedLumpsOrNone) {
    testkit::WadBuilder wad = Base({"WALL1"});
    Open(wad);
    BuildTextureNames();
    EXPECT_EQ(Names(nameLists.TextureNames), (std::vector<std::string>{"-", "WALL1"}));
    // TEXTURE2 claims a million textures; two of its offsets point outside.
    Bytes damaged;
    for (int32_t v : {1000000, 16, 9999, -4})
        PutLE32(damaged, v);
    const char name[8] = {'O', 'K', 'W', 'A', 'L', 'L', 0, 0};
    damaged.insert(damaged.end(), name, name + 8);
    wad.lump("TEXTURE2", damaged);
    ResetMaster();
    Open(wad);
    BuildTextureNames();
    EXPECT_EQ(Names(nameLists.TextureNames), (std::vector<std::string>{"-", "OKWALL", "WALL1"}));
    ResetMaster();
    Open(testkit::WadBuilder("IWAD").level("MAP01"));
    EXPECT_NE(FatalOf(BuildTextureNames).find("TEXTURE1 not found"), std::string::npos);
}

TEST_F(NameListTest, FlatsBetweenTheirMarkers) {
    testkit::WadBuilder wad = Base({"WALL1"});
    wad.lump("F_START").lump("OUTSIDE1", Bytes(4096));
    wad.lump("F1_START").lump("NUKAGE1", Bytes(4096)).lump("FLOOR0_1", Bytes(4096)).lump("F1_END");
    wad.lump("BETWEEN", Bytes(4096));
    wad.lump("F2_START").lump("CEIL3_5", Bytes(4096)).lump("F2_END").lump("F_END");
    Open(wad);
    BuildFlatNames();
    EXPECT_EQ(Names(nameLists.FlatNames), (std::vector<std::string>{"CEIL3_5", "FLOOR0_1", "NUKAGE1"}));

    testkit::WadBuilder open = Base({"WALL1"});
    open.lump("F1_START").lump("NUKAGE1", Bytes(4096)).lump("F1_END").lump("F3_START");
    ResetMaster();
    Open(open);
    EXPECT_NE(FatalOf(BuildFlatNames).find("F3_END not found"), std::string::npos);
    ResetMaster();
    Open(Base({"WALL1"}));
    EXPECT_NE(FatalOf(BuildFlatNames).find("F1_START not found"), std::string::npos);
}

TEST_F(NameListTest, SpritesPicturesAndLevels) {
    testkit::WadBuilder wad("IWAD");
    wad.level("MAP10").level("MAP02").lump("EARLYPIC", PictureHeader(10, 10)).level("MAP01");
    wad.lump("TEXTURE1", TextureLump({"W"}));
    wad.lump("S_START").lump("TROOA1", PictureHeader(41, 57)).lump("POSSA1", PictureHeader(33, 55));
    wad.lump("S_END").lump("WIDE", PictureHeader(321, 10)).lump("TALL", PictureHeader(10, 201));
    wad.lump("TINY", Bytes{1, 0}).lump("EDGE", PictureHeader(320, 200));
    Open(wad);
    NameList sprites, pictures;
    BuildSpriteNames(sprites);
    EXPECT_EQ(Names(sprites), (std::vector<std::string>{"POSSA1", "TROOA1"}));
    BuildPictureNames(pictures);
    EXPECT_EQ(Names(pictures), (std::vector<std::string>{"EDGE", "POSSA1", "TROOA1"}));
    std::vector<std::string> levels;
    for (const char* n : SortedLevelNames())
        levels.push_back(n);
    EXPECT_EQ(levels, (std::vector<std::string>{"MAP01", "MAP02", "MAP10"}));
}

TEST_F(NameListTest, ChoosersReturnTheNameChosenAndKeepTheirMagnification) {
    testkit::WadBuilder wad = Base({"BRICK", "STARTAN3", "WOOD1"});
    wad.lump("PNAMES", Bytes{0, 0, 0, 0});
    wad.lump("F1_START").lump("FLAT1", Bytes(4096, 3)).lump("FLAT2", Bytes(4096, 4)).lump("F1_END");
    Open(wad);
    InitGraphics(0);
    BuildTextureNames();
    BuildFlatNames();
    pictures.PictureMag = 5;
    char text[9] = "";
    session.Script("type STA\nkey Enter\ntype RTAN3\nkey Enter");
    EXPECT_EQ(ChooseTexture(-1, -1, 0, "Normal texture", nameLists.TextureNames.count(),
                            nameLists.TextureNames.names(), text),
              1);
    EXPECT_STREQ(text, "STARTAN3");
    EXPECT_EQ(pictures.PictureMag, 5);

    session.Script("key Esc");
    EXPECT_EQ(ChooseFlat(-1, -1, 0, "Floor", nameLists.FlatNames.count(),
                         nameLists.FlatNames.names(), text),
              0);
    // F1 hands the current name to the flat browser and takes its answer.
    static int shownMag;
    nameLists.flatBrowser = [](char* name) {
        shownMag = pictures.PictureMag;
        std::strcpy(name, "FLAT2");
        return 1;
    };
    std::strcpy(text, "FLAT1");
    session.Script("key F1\nkey Enter");
    EXPECT_EQ(ChooseFlat(-1, -1, 0, "Floor", nameLists.FlatNames.count(),
                         nameLists.FlatNames.names(), text),
              1);
    EXPECT_STREQ(text, "FLAT2");
    EXPECT_EQ(shownMag, 2);
    nameLists.flatBrowser = nullptr;
}

}  // namespace
