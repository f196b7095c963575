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

TEST_F(LevelModelTest, ArraysGrowKeepingTheirRecordsAndNeverShrinkBelowZero) {
    AllocateArray(level.things, 200, 200);
    level.things[199].type = 3004;
    ResizeObject(kObjThing, 1);
    EXPECT_EQ(level.things.count, 201);
    EXPECT_GE(level.things.capacity(), 201);
    EXPECT_EQ(level.things[199].type, 3004);
    // An array without room (an empty lump) gets some with the first record.
    for (int type : {kObjLineDef, kObjSideDef, kObjVertex, kObjSector})
        ResizeObject(type, 1);
    for (int32_t capacity : {level.lineDefs.capacity(), level.sideDefs.capacity(),
                             level.vertices.capacity(), level.sectors.capacity()})
        EXPECT_GE(capacity, 1);
    EXPECT_EQ(level.lineDefs.count + level.sideDefs.count + level.vertices.count + level.sectors.count, 4);
    ResizeObject(kObjVertex, -1);
    ResizeObject(kObjVertex, -1);
    EXPECT_EQ(level.vertices.count, 0);
    for (int type : {0, 5, 9, 11, -3}) {
        try {
            ResizeObject(type, 1);
            ADD_FAILURE() << "type " << type << " accepted";
        } catch (const ProgramExit& e) {
            EXPECT_EQ(std::string(e.what()), "ResizeObject wrong type " + std::to_string(type));
        }
    }
}

TEST_F(LevelModelTest, ReferencesOutsideTheArraysGiveNothing) {
    AllocateArray(level.sideDefs, 4, 2);
    AllocateArray(level.sectors, 4, 1);
    level.sideDefs[1].sector = 7;        // no such Sector
    EXPECT_EQ(SectorOfSideDef(0), &level.sectors[0]);
    EXPECT_EQ(SectorOfSideDef(1), nullptr);
    EXPECT_EQ(SectorOfSideDef(-1), nullptr);   // a one-sided LineDef's missing side
    EXPECT_EQ(SideDefAt(2), nullptr);           // allocated but not in use
    EXPECT_EQ(VertexAt(0), nullptr);
    EXPECT_FALSE(ValidSector(-32768));
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
