// The texture, flat, sprite and picture name lists built from WAD files made
// for the test, and the order of level names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/config.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "support/headless_kit.h"
#include "support/picture_kit.h"
#include "support/program_state.h"
#include "support/wad_session.h"
#include "wad/master.h"

using testkit::Bytes;
using testkit::ExitOf;
using testkit::PutLE16;
using testkit::PutLE32;

namespace {

// A TEXTURE lump of empty textures of the names.
Bytes TextureLump(const std::vector<std::string>& names) {
    std::vector<testkit::TextureDef> textures;
    for (const std::string& name : names)
        textures.push_back({name, 0, 0, {}});
    return testkit::TextureLump(textures);
}

// Records what BuildPictureNames tells of its progress.
struct ProgressLog : NameListProgress {
    void Start(int total) override { steps.push_back("of " + std::to_string(total)); }
    void Step(const char* name, int found) override { steps.push_back(name + (" " + std::to_string(found))); }
    std::vector<std::string> steps;
};

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
    void SetUp() override { testkit::ResetProgramState(); }
    void TearDown() override { testkit::ResetProgramState(); }
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
    EXPECT_NE(ExitOf(BuildTextureNames).find("TEXTURE1 not found"), std::string::npos);
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
    EXPECT_NE(ExitOf(BuildFlatNames).find("F3_END not found"), std::string::npos);
    ResetMaster();
    Open(Base({"WALL1"}));
    EXPECT_NE(ExitOf(BuildFlatNames).find("F1_START not found"), std::string::npos);
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
    ProgressLog progress;
    BuildPictureNames(pictures, &progress);
    EXPECT_EQ(Names(pictures), (std::vector<std::string>{"EDGE", "POSSA1", "TROOA1"}));
    // Every entry with data from TEXTURE1 on is looked at; the names kept
    // are told in directory order.
    EXPECT_EQ(progress.steps, (std::vector<std::string>{"of 7", "TROOA1 1", "POSSA1 2", "EDGE 3"}));
    std::vector<std::string> levels;
    for (const char* n : SortedLevelNames())
        levels.push_back(n);
    EXPECT_EQ(levels, (std::vector<std::string>{"MAP01", "MAP02", "MAP10"}));
}

// A sprite frame the WAD lacks under its own name is found as a rotation of
// the same frame; nothing of another frame or another sprite stands in.
TEST_F(NameListTest, SpriteFramesFallBackOnTheirRotations) {
    testkit::WadBuilder wad("IWAD");
    wad.level("MAP01").lump("S_START").lump("TROOA1", PictureHeader(4, 4));
    wad.lump("TROOB2B8", PictureHeader(4, 4)).lump("TROOC1", PictureHeader(4, 4));
    wad.lump("TROOC3C7", PictureHeader(4, 4)).lump("S_END");
    Open(wad);
    struct Case {
        const char* asked;
        const char* found;   // "" none
    } cases[] = {
        {"TROOA1", "TROOA1"},   {"trooa1", "TROOA1"},  {"TROOB2", "TROOB2B8"},
        {"TROOB8", "TROOB2B8"}, {"TROOB0", "TROOB2B8"}, {"TROOC3", "TROOC3C7"},
        {"TROOC7", "TROOC3C7"}, {"TROOC5", "TROOC1"},  {"TROOC1", "TROOC1"},
        {"TROOD1", ""},         {"POSSA1", ""},
        {"TROO", ""},           {"", ""},
    };
    for (const Case& c : cases) {
        char lump[9] = {'x'};
        EXPECT_EQ(FindSpriteLump(c.asked, lump), c.found[0] != 0) << c.asked;
        EXPECT_STREQ(lump, c.found) << c.asked;
    }
}

}  // namespace
