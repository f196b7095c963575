// Inserting, deleting, copying and moving objects: the records they make
// and what they refuse.
#include "editor_fixture.h"
#include "wad/wadfile.h"

namespace {

class ObjectsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        config.soundErrors = 0;
    }
};

// The level's objects and change flags, to compare two states of it.
auto Snapshot() { return std::make_tuple(mapkit::LevelArrayBytes(), level.levelChanged, level.mapChanged); }

// --- Inserting ----------------------------------------------------------------

TEST_F(ObjectsTest, InsertWithDefaults) {
    for (int i = 0; i < 10; ++i)
        AddVertex(i, i);
    AddSector();
    AddSector();
    config.defaultThingType = 2001;
    SetField(config.textureNormal, "STARTAN3");   // all 8 characters
    SetField(config.flatFloor, "FLOOR4_8");
    SetField(config.flatCeiling, "CEIL3_5");
    config.defaultFloor = -16;
    config.defaultCeiling = 112;

    ASSERT_EQ(InsertObject(kObjThing, -1, 300, -40), 0);
    EXPECT_TRUE(SameRecord(level.things[0], Thing{300, -40, 0, 2001, 7}));
    EXPECT_TRUE(level.levelChanged && !level.mapChanged);   // Things leave the map as it was
    // To the last Vertex, impassable, without sides.
    ASSERT_EQ(InsertObject(kObjLineDef, -1, 5, 5), 0);
    EXPECT_TRUE(SameRecord(level.lineDefs[0], LineDef{0, 9, 1, 0, 0, kNoReference, kNoReference}));
    EXPECT_TRUE(level.mapChanged);
    ASSERT_EQ(InsertObject(kObjSideDef, -1, 0, 0), 0);
    const SideDef& sd = level.sideDefs[0];   // facing the last Sector
    EXPECT_EQ(EntryNameText(sd.upper) + EntryNameText(sd.lower) + EntryNameText(sd.middle), "--STARTAN3");
    EXPECT_EQ(sd.sector, 1);
    ASSERT_EQ(InsertObject(kObjSector, -1, 0, 0), 2);
    const Sector& s = level.sectors[2];
    EXPECT_TRUE(s.floorHeight == -16 && s.ceilingHeight == 112 && s.light == 255);
    EXPECT_EQ(EntryNameText(s.floorTexture) + EntryNameText(s.ceilingTexture), "FLOOR4_8CEIL3_5");

    // A copy takes its source's values, but a LineDef not its sides; a
    // source that does not exist gives the defaults.
    level.lineDefs[0].sideDef1 = 0;
    level.lineDefs[0].tag = 7;
    const LineDef& copy = level.lineDefs[InsertObject(kObjLineDef, 0, 0, 0)];
    EXPECT_TRUE(copy.tag == 7 && copy.sideDef1 == kNoReference);
    EXPECT_EQ(level.things[InsertObject(kObjThing, 500, 0, 0)].type, 2001);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(ObjectsTest, OtherTypesAndFullArraysAreRefusedAndMovesStopAtTheEdge) {
    TwoRooms();
    const auto before = Snapshot();
    LevelState vertexes = level;
    for (int type : {int{kObjNone}, int{kObjSegment}, int{kObjNode}, int{kObjBlockmap}, -1, 42})
        EXPECT_EQ(InsertObject(type, -1, 0, 0), -1) << type;
    SelectionList list = ListOf({1}), none;
    DeleteObjects(level, kObjSegment, list);
    EXPECT_EQ(Numbers(list), (std::vector<int>{1}));   // left alone
    ForgetSelection(list);
    DeleteObjects(level, kObjVertex, none);   // nothing to delete: nothing changes
    AllocateArray(level.vertices, kMaxReferencedObjects, kMaxReferencedObjects);
    EXPECT_EQ(InsertObject(kObjVertex, -1, 0, 0), -1);   // its number could not be referred to
    EXPECT_EQ(level.vertices.count, kMaxReferencedObjects);
    level.vertices = vertexes.vertices;
    EXPECT_TRUE(Snapshot() == before);
    // A SideDef that a LineDef left uses too is kept.
    level.lineDefs[1].sideDef1 = level.lineDefs[0].sideDef1;
    list = ListOf({0});
    DeleteObjects(level, kObjLineDef, list);
    EXPECT_EQ(level.sideDefs.count, 12);
    EXPECT_EQ(level.lineDefs[0].sideDef1, 0);
    // Without a Vertex a LineDef would have ends that do not exist.
    mapkit::ClearMap();
    EXPECT_EQ(InsertObject(kObjLineDef, -1, 0, 0), -1);
    EXPECT_EQ(level.lineDefs.count, 0);
    // A move goes by grid steps from the reference point and stops at the
    // last grid line on the map.
    AddVertex(32700, -32700);
    config.gridSnap = 1;
    SelectionList vertex = ListOf({0});
    MoveObjectsToCoords(kObjVertex, none, 0, 0, 64);
    MoveObjectsToCoords(kObjVertex, vertex, 640, -640, 64);
    EXPECT_TRUE(SameRecord(level.vertices[0], Vertex{32704, -32768}));
    ForgetSelection(vertex);
}

// --- Copying -----------------------------------------------------------------

// Both rooms copied: the inner room's walls, shared by the two, are copied
// once with sides facing the two copies. Copies that would not fit are
// refused whole.
TEST_F(ObjectsTest, CopiedRoomsShareTheirWallOrAreRefusedWhenTheyWouldNotFit) {
    TwoRooms();
    SelectionList list = ListOf({outer, inner});
    ASSERT_TRUE(CopyObjects(level, kObjSector, list));
    EXPECT_EQ(Numbers(list), (std::vector<int>{2, 3}));   // the head's copy first
    EXPECT_EQ(MapCounts(), (std::vector<int>{16, 16, 24, 4}));
    ExpectWalls(8, 4, 4, 2, 3);
    ExpectWalls(12, 4, 1, 3, -1);
    EXPECT_TRUE(ReferencesSound());
    ForgetSelection(list);

    // Room for four more Vertexes.
    level.vertices.records.resize(kMaxReferencedObjects - 4);
    level.vertices.count = kMaxReferencedObjects - 4;
    const auto before = Snapshot();
    list = ListOf({outer, inner});   // 8 LineDefs on 8 Vertexes
    EXPECT_FALSE(CopyObjects(level, kObjSector, list));
    EXPECT_EQ(Numbers(list), (std::vector<int>{inner, outer}));
    EXPECT_TRUE(Snapshot() == before);
    ForgetSelection(list);
    list = ListOf({4});   // a LineDef: two new Vertexes fit
    EXPECT_TRUE(CopyObjects(level, kObjLineDef, list));
    ForgetSelection(list);
}

}  // namespace
