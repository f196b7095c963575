#include <gtest/gtest.h>

#include "level/level.h"
#include "shell/fatal.h"
#include "wad/master.h"

namespace {

class LevelModelTest : public ::testing::Test {
protected:
    void SetUp() override { ResetLevel(); }
    void TearDown() override { ResetLevel(); }
};

TEST_F(LevelModelTest, GrowingPastTheCapacityAddsTheTypesStep) {
    AllocateArray(level.things, 200);
    for (int i = 0; i < 200; ++i)
        ResizeObject(kObjThing, 1);
    EXPECT_EQ(level.things.capacity(), 200);
    level.things[199].type = 3004;
    ResizeObject(kObjThing, 1);
    EXPECT_EQ(level.things.count, 201);
    EXPECT_EQ(level.things.capacity(), 600);
    EXPECT_EQ(level.things[199].type, 3004);   // records survive the move

    // An empty array of a loaded level has no room at all: the first record
    // brings one step of room.
    ResizeObject(kObjLineDef, 1);
    ResizeObject(kObjSideDef, 1);
    ResizeObject(kObjVertex, 1);
    ResizeObject(kObjSector, 1);
    EXPECT_EQ(level.lineDefs.capacity(), 500);
    EXPECT_EQ(level.sideDefs.capacity(), 1000);
    EXPECT_EQ(level.vertices.capacity(), 1000);
    EXPECT_EQ(level.sectors.capacity(), 400);
}

TEST_F(LevelModelTest, RemovingKeepsTheMemoryAndNeverGoesBelowZero) {
    ResizeObject(kObjVertex, -1);
    EXPECT_EQ(level.vertices.count, 0);
    ResizeObject(kObjVertex, 1);
    ResizeObject(kObjVertex, 0);
    EXPECT_EQ(level.vertices.count, 0);
    EXPECT_EQ(level.vertices.capacity(), 1000);
}

TEST_F(LevelModelTest, OnlyTheFiveEditableTypesCanBeResized) {
    for (int type : {0, 5, 9, 11, -3}) {
        try {
            ResizeObject(type, 1);
            ADD_FAILURE() << "type " << type << " accepted";
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), kExitFatal);
            EXPECT_EQ(std::string(e.what()), "ResizeObject wrong type " + std::to_string(type));
        }
    }
}

TEST_F(LevelModelTest, ReferencesOutsideTheArraysGiveNothing) {
    AllocateArray(level.sideDefs, 4, 2);
    AllocateArray(level.sectors, 4, 1);
    level.sideDefs[0].sector = 0;
    level.sideDefs[1].sector = 7;        // no such Sector
    EXPECT_EQ(SectorOfSideDef(0), &level.sectors[0]);
    EXPECT_EQ(SectorOfSideDef(1), nullptr);
    EXPECT_EQ(SectorOfSideDef(-1), nullptr);   // a one-sided LineDef's missing side
    EXPECT_EQ(SideDefAt(2), nullptr);           // allocated but not in use
    EXPECT_EQ(VertexAt(0), nullptr);
    EXPECT_FALSE(ValidSector(-32768));
    EXPECT_TRUE(ValidSideDef(1));
}

TEST_F(LevelModelTest, UnknownTypeCodesHaveTheUnknownName) {
    EXPECT_STREQ(ObjectTypeName(kObjBlockmap), "Blockmap");
    EXPECT_STREQ(ObjectTypeName(11), "<?unknown>?");
    EXPECT_STREQ(ObjectTypeName(-1), "<?unknown>?");
}

TEST_F(LevelModelTest, LevelNamesAndWarpTextFollowTheNamingStyle) {
    master.gameStyle = kStyleMaps;
    SetLevelName(1, 7);
    EXPECT_STREQ(level.name, "MAP07");
    EXPECT_STREQ(level.warpText, "7");
    master.gameStyle = kStyleEpisodes;
    SetLevelName(2, 4);
    EXPECT_STREQ(level.name, "E2M4");
    EXPECT_STREQ(level.warpText, "2 4");
}

}  // namespace
