// The predefined shapes asked of the model directly: objects of every kind
// with their heights, the door shape, and a full level that takes none.
#include <functional>
#include <string>
#include <vector>

#include "edits/predefined_shapes.h"
#include "edits_fixture.h"
#include "support/builder_scenes.h"

namespace {

using edits::ObjectKind;
using edits::StairShape;

using PredefinedShapesTest = EditsTest;

// The inner Sector's heights; a depth that puts the floor above the ceiling
// is made, and said to be wrong.
TEST_F(PredefinedShapesTest, ObjectsHoldAPoolAPedestalOrALightBox) {
    struct Case {
        ObjectKind kind;
        int depth;
        int floor, ceiling;   // of the inner Sector
    } cases[] = {
        {ObjectKind::Pool, 24, -16, 136},   // in the room of floor 8, ceiling 136
        {ObjectKind::Pedestal, 24, 32, 136},
        {ObjectKind::LightBox, 24, 32, 112},
        {ObjectKind::Pedestal, 200, 208, 136},
    };
    for (const Case& c : cases) {
        Room();
        edits::ShapeInserted inserted = edits::InsertRectangle(level, 100, 100, 64, 32, 0, c.kind, c.depth);
        EXPECT_EQ(inserted.floorAboveCeiling, c.floor > c.ceiling);
        ASSERT_EQ(level.sectors.count, 2);
        EXPECT_EQ((std::vector<int>{level.sectors[1].floorHeight, level.sectors[1].ceilingHeight}),
                  (std::vector<int>{c.floor, c.ceiling}));
    }
}

// Set into the gap between two rooms of its Sector, or standing free in a
// room: a closed door in a level the game can use either way.
TEST_F(PredefinedShapesTest, TheDoorShapeIsAClosedDoorInItsSector) {
    for (bool free : {false, true}) {   // the room is round the door before it is made
        SCOPED_TRACE(free ? "standing free" : "in a gap");
        mapkit::ClearMap();
        int room = AddSector(0, 0, 8, 128);
        if (free)
            AddRoom(0, 0, 400, 400, room);
        int first = level.vertices.count;
        std::string before = Checkpoint();
        edits::InsertDoorShape(level, 100, 100, 16, 128, room);
        if (!free)
            AddRoomsBesideDoor(room, first);
        EXPECT_EQ(Step(), "make a door");
        EXPECT_TRUE(testkit::LevelValid(testkit::Validity::Editor));
        ASSERT_EQ(level.sectors.count, 2);
        EXPECT_EQ((std::vector<int>{level.sectors[1].floorHeight, level.sectors[1].ceilingHeight}), (std::vector<int>{8, 8}));
        int doors = 0, ends = 0;
        for (const LineDef& ld : level.lineDefs) {
            doors += ld.type == 1 && SectorOf(ld.sideDef1) == room && SectorOf(ld.sideDef2) == 1;
            ends += ld.type != 1 && ld.sideDef2 != kNoReference && SectorOf(ld.sideDef1) == 1 &&
                    SectorOf(ld.sideDef2) == room && Name(level.sideDefs[ld.sideDef2].upper) == config.textureDoorTrack;
        }
        EXPECT_EQ(doors, 2);
        EXPECT_EQ(ends, free ? 2 : 0);
        ASSERT_TRUE(Undo());
        EXPECT_TRUE(LevelArrayBytes() == before);
    }
}

TEST_F(PredefinedShapesTest, AFullLevelTakesNoShape) {
    Room();
    AllocateArray(level.vertices, kMaxReferencedObjects, kMaxReferencedObjects - 2);
    std::string before = Checkpoint();
    const struct {
        const char* name;
        std::function<edits::ShapeInserted()> insert;
    } cases[] = {
        {"rectangle", [] { return edits::InsertRectangle(level, -500, -500, 64, 64, -1, ObjectKind::Plain, 0); }},
        {"triangle", [] { return edits::InsertPolygon(level, 100, 100, 3, 64, 0, ObjectKind::Pool, 24); }},
        {"door", [] { return edits::InsertDoorShape(level, 100, 100, 16, 128, 0); }},
        {"stairs",
         [] { return edits::InsertStairs(level, 100, 100, 0, StairShape::Object, 0, 128, {2, 16, 64, 32}); }},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.insert().refusal.first, "The level is full") << c.name;
        EXPECT_TRUE(LevelArrayBytes() == before) << c.name;
        EXPECT_EQ(Step(), "") << c.name;
    }
}

}  // namespace
