// Predefined shapes: rooms and objects of every kind at the point clicked,
// with their directions and heights; the placement rules of the menu; the
// door shape handed to the door builder.
#include <cstring>

#include "editor/view.h"
#include "ops/predefined.h"
#include "ops_fixture.h"

namespace {

struct Point {
    int x, y;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

class PredefinedTest : public OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        predefinedSizes = PredefinedSizes{};
    }
    Point VertexOf(int v) { return {level.vertices[v].x, level.vertices[v].y}; }
    int SectorOf(uint16_t side) { return level.sideDefs[side].sector; }
    // The map point's place on the screen, as a script line.
    std::string ClickAt(int x, int y) {
        return "click left " + std::to_string(MapToScreenX(x)) + " " +
               std::to_string(MapToScreenY(y) + MapAreaTop()) + "\n";
    }
};

TEST_F(PredefinedTest, APolygonRoomRunsClockwiseAroundANewSector) {
    InsertPolygon(0, 0, 4, 100, -1, ObjectKind::Plain, 0);
    ASSERT_EQ(level.vertices.count, 4);
    EXPECT_EQ(VertexOf(0), (Point{100, 0}));
    EXPECT_EQ(VertexOf(1), (Point{0, 99}));
    EXPECT_EQ(VertexOf(2), (Point{-99, 0}));
    EXPECT_EQ(VertexOf(3), (Point{0, -99}));
    ASSERT_EQ(level.sectors.count, 1);
    ASSERT_EQ(level.lineDefs.count, 4);
    // Clockwise: the first wall runs from the north point back to the east one.
    EXPECT_EQ(level.lineDefs[0].start, 1);
    EXPECT_EQ(level.lineDefs[0].end, 0);
    for (const LineDef& ld : level.lineDefs) {
        EXPECT_EQ(SectorOf(ld.sideDef1), 0);
        EXPECT_EQ(ld.sideDef2, kNoReference);
    }
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(PredefinedTest, ObjectsHoldAPoolAPedestalOrALightBox) {
    struct Case {
        ObjectKind kind;
        int floor, ceiling;   // of the inner Sector
    } cases[] = {
        {ObjectKind::Pool, -24, 128},
        {ObjectKind::Pedestal, 24, 128},
        {ObjectKind::LightBox, 24, 104},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        int room = AddSector(0, 0, 0, 128);
        mapkit::AddRoom(0, 0, 512, 512, room);
        InsertRectangle(100, 100, 64, 32, room, c.kind, 24);
        ASSERT_EQ(level.sectors.count, 2);
        EXPECT_EQ(level.sectors[1].floorHeight, c.floor);
        EXPECT_EQ(level.sectors[1].ceilingHeight, c.ceiling);
        for (int l = 4; l < 8; ++l) {
            const LineDef& ld = level.lineDefs[l];
            EXPECT_EQ(SectorOf(ld.sideDef1), room);
            EXPECT_EQ(SectorOf(ld.sideDef2), 1);
            EXPECT_EQ(ld.flags, 4);
        }
        // Anticlockwise: the first wall runs east along the bottom.
        EXPECT_EQ(VertexOf(level.lineDefs[4].start), (Point{100, 100}));
        EXPECT_EQ(VertexOf(level.lineDefs[4].end), (Point{164, 100}));
        EXPECT_TRUE(ReferencesSound());
    }
    // A plain object is a pillar of one-sided walls facing out.
    mapkit::ClearMap();
    int room = AddSector();
    InsertPolygon(0, 0, 5, 50, room, ObjectKind::Plain, 24);
    EXPECT_EQ(level.sectors.count, 1);
    EXPECT_EQ(level.lineDefs[0].start, 0);
    EXPECT_EQ(level.lineDefs[0].sideDef2, kNoReference);
}

TEST_F(PredefinedTest, TheDoorShapeIsAClosedDoorInItsSector) {
    int room = AddSector(0, 0, 8, 128);
    mapkit::AddRoom(0, 0, 512, 512, room);
    ResetHistory();
    std::string before = LevelArrayBytes();
    InsertDoorShape(100, 100, 16, 128, room);
    ASSERT_EQ(level.sectors.count, 2);
    EXPECT_EQ(level.sectors[1].floorHeight, 8);
    EXPECT_EQ(level.sectors[1].ceilingHeight, 8);
    int doors = 0;
    for (const LineDef& ld : level.lineDefs)
        if (ld.type == 1) {
            ++doors;
            EXPECT_EQ(SectorOf(ld.sideDef1), room);
            EXPECT_EQ(SectorOf(ld.sideDef2), 1);
        }
    EXPECT_EQ(doors, 2);
    EXPECT_TRUE(ReferencesSound());
    EXPECT_EQ(Step(), "make a door");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(LevelArrayBytes(), before);
}

TEST_F(PredefinedTest, TheMenuPlacesShapesWhereTheyBelong) {
    TwoRooms();
    ResetHistory();
    std::string before = LevelArrayBytes();
    struct Case {
        const char* name;
        std::string item;
        Point at;
    } cases[] = {
        {"a room inside", "1", {20, 20}},
        {"an object outside", "2", {-500, -500}},
    };
    for (const Case& c : cases) {
        session.Script("key " + c.item + "\n" + ClickAt(c.at.x, c.at.y) + "key Enter\n");
        EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
        EXPECT_EQ(LevelArrayBytes(), before) << c.name;
    }
    // A room outside, with the remembered sizes.
    session.Script("key 1\n" + ClickAt(-800, -800) + "key Enter\nkey Enter\n");
    EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
    ASSERT_EQ(level.sectors.count, 3);
    int v = level.vertices.count - 4;
    Point corner = VertexOf(v);
    EXPECT_EQ(VertexOf(v + 2), (Point{corner.x + 256, corner.y + 128}));
    EXPECT_NEAR(corner.x, -800, 16);
    EXPECT_TRUE(ReferencesSound());
    EXPECT_EQ(Step(), "insert a rectangular room");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(LevelArrayBytes(), before);
}

}  // namespace
