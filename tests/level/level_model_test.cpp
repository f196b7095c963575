#include "level_fixture.h"

namespace {

using LevelModelTest = LevelTest;

// Arrays grow keeping their records and never shrink below zero; references
// outside them give nothing.
TEST_F(LevelModelTest, ArraysGrowAndReferencesOutsideThemGiveNothing) {
    AllocateArray(level.things, 200, 200);
    level.things[199].type = 3004;
    ResizeObject(level, kObjThing, Resize::AddOne);
    EXPECT_EQ(level.things.count, 201);
    EXPECT_EQ(level.things[199].type, 3004);
    ResizeObject(level, kObjVertex, Resize::AddOne);   // an empty lump's array gets room with its first record
    EXPECT_GE(level.vertices.capacity(), 1);
    ResizeObject(level, kObjVertex, Resize::RemoveLast);
    ResizeObject(level, kObjVertex, Resize::RemoveLast);
    EXPECT_EQ(level.vertices.count, 0);

    AllocateArray(level.sideDefs, 4, 2);
    AllocateArray(level.sectors, 4, 1);
    level.sideDefs[1].sector = 7;
    EXPECT_EQ(SectorAt(SideDefAt(0)->sector), &level.sectors[0]);
    EXPECT_EQ(SectorAt(SideDefAt(1)->sector), nullptr);   // no such Sector
    EXPECT_EQ(SideDefAt(-1), nullptr);                     // a one-sided LineDef's missing side
    EXPECT_EQ(SideDefAt(2), nullptr);   // allocated but not in use
    EXPECT_STREQ(ObjectTypeName(11), "<?unknown>?");
}

}  // namespace
