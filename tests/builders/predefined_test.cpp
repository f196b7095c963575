// Predefined shapes: rooms and objects of every kind at the point clicked,
// with their directions and heights; staircases as rooms and objects; the
// placement rules and the boxes of the menu; the door shape handed to the
// door builder.
#include <cstring>
#include <functional>

#include "ops/checker_findings.h"
#include "support/builder_scenes.h"
#include "editor/view.h"
#include "builders/predefined.h"
#include "ops/ops_fixture.h"
#include "support/level_validity.h"

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
    std::string Snap(size_t i) const { return "snapshot " + Shot(i) + "\n"; }
    // A new value typed into a number field, and on to the next field.
    static std::string Entry(int value) {
        return "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\nkey Backspace\ntype " +
               std::to_string(value) + "\nkey Enter\n";
    }
};

std::string Name(const char (&field)[8]) { return std::string(field, strnlen(field, 8)); }

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
        // Anticlockwise from the lower left, the room outside.
        const LineDef& first = level.lineDefs[4];
        EXPECT_EQ((std::vector<int>{first.flags, SectorOf(first.sideDef1), SectorOf(first.sideDef2)}),
                  (std::vector<int>{4, room, 1}));
        EXPECT_EQ(VertexOf(first.end), (Point{164, 100}));
    }
    // A plain object is a pillar of one-sided walls facing out.
    mapkit::ClearMap();
    InsertPolygon(0, 0, 5, 50, AddSector(), ObjectKind::Plain, 24);
    EXPECT_EQ(level.sectors.count, 1);
    EXPECT_EQ(level.lineDefs[0].start, 0);
    EXPECT_EQ(level.lineDefs[0].sideDef2, kNoReference);
}

// Set into the gap between two rooms of its Sector, or standing free in a
// room: a closed door in a level the game can use either way.
TEST_F(PredefinedTest, TheDoorShapeIsAClosedDoorInItsSector) {
    struct Case {
        const char* name;
        bool free;   // the room is round the door before it is made
    };
    for (const Case c : {Case{"in a gap", false}, Case{"standing free", true}}) {
        mapkit::ClearMap();
        int room = AddSector(0, 0, 8, 128);
        if (c.free)
            AddRoom(0, 0, 400, 400, room);
        int first = level.vertices.count;
        ResetHistory();
        std::string before = LevelArrayBytes();
        InsertDoorShape(100, 100, 16, 128, room);
        if (!c.free)
            AddRoomsBesideDoor(room, first);
        EXPECT_EQ(Step(), "make a door") << c.name;
        EXPECT_EQ(CheckerFindings(), std::vector<std::string>{}) << c.name;
        EXPECT_TRUE(testkit::LevelValid(testkit::Validity::Editor)) << c.name;
        ASSERT_EQ(level.sectors.count, 2) << c.name;
        EXPECT_EQ(level.sectors[1].floorHeight, 8) << c.name;
        EXPECT_EQ(level.sectors[1].ceilingHeight, 8) << c.name;
        int doors = 0, ends = 0;
        for (const LineDef& ld : level.lineDefs) {
            if (ld.type == 1) {
                ++doors;
                EXPECT_EQ(SectorOf(ld.sideDef1), room) << c.name;
                EXPECT_EQ(SectorOf(ld.sideDef2), 1) << c.name;
            } else if (ld.sideDef2 != kNoReference && SectorOf(ld.sideDef1) == 1) {
                ++ends;   // an edge, the room beyond it
                EXPECT_EQ(SectorOf(ld.sideDef2), room) << c.name;
                EXPECT_EQ(Name(level.sideDefs[ld.sideDef2].upper), config.textureDoorTrack) << c.name;
            }
        }
        EXPECT_EQ(doors, 2) << c.name;
        EXPECT_EQ(ends, c.free ? 2 : 0) << c.name;
        ASSERT_TRUE(Undo()) << c.name;
        EXPECT_TRUE(LevelArrayBytes() == before) << c.name;
    }
}

// Refusals: see TheMenuSaysWhereAndWhat.
TEST_F(PredefinedTest, TheMenuPlacesARoomOutsideWithTheRememberedSizes) {
    TwoRooms();
    ResetHistory();
    std::string before = LevelArrayBytes();
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
    EXPECT_TRUE(LevelArrayBytes() == before);
}

// Six steps 16 high above floor 0 under 128, 128 wide and 32 deep, their
// bottom edge (64,256)-(192,256): an object standing in a room, and a room
// set at the open end of a U-shaped Sector (where the user moves it to).
TEST_F(PredefinedTest, StairsClimbAHeightAStepAndEveryStepIsClosed) {
    for (StairShape shape : {StairShape::Object, StairShape::Room}) {
        bool room = shape == StairShape::Room;
        const char* name = room ? "room" : "object";
        mapkit::ClearMap();
        int s = AddSector(0, 0, 0, 128);
        if (!room)
            AddRoom(0, 0, 512, 512, s);
        int firstLine = level.lineDefs.count, bottomLeft = level.vertices.count;
        ASSERT_TRUE(InsertStairs(64, 256, s, shape, 0, 128, {6, 16, 128, 32})) << name;
        if (room)
            AddRoomBelow(s, bottomLeft, bottomLeft + 1);
        EXPECT_EQ(level.sectors.count, 7) << name;   // heights and places: see TheEntryIsAskedAgain
        // Three LineDefs a step and one across the top; an object's are all
        // steps from its Sector's floor, a room's walls are walls.
        int twoSided = 0;
        for (int l = firstLine; l < firstLine + 19; ++l) {
            const LineDef& ld = level.lineDefs[l];
            if (ld.sideDef2 == kNoReference) {
                EXPECT_EQ(ld.flags, 1) << name << " " << l;
                continue;
            }
            ++twoSided;
            EXPECT_EQ(ld.flags, 4) << name << " " << l;
            const SideDef& front = level.sideDefs[ld.sideDef1];
            EXPECT_EQ(Name(front.upper) + "/" + Name(front.lower) + "/" + Name(front.middle) + "/" +
                          Name(level.sideDefs[ld.sideDef2].middle),
                      std::string(config.textureUpper) + "/" + config.textureLower + "/-/-")
                << name << " " << l;
        }
        EXPECT_EQ(twoSided, room ? 6 : 19) << name;
        EXPECT_TRUE(ReferencesSound()) << name;
        EXPECT_EQ(CheckerFindings(), std::vector<std::string>{}) << name;
    }
}

TEST_F(PredefinedTest, AFullLevelTakesNoShape) {
    int room = AddSector(0, 0, 0, 128);
    AddRoom(0, 0, 1024, 1024, room);
    AllocateArray(level.vertices, kMaxReferencedObjects, kMaxReferencedObjects - 2);
    ResetHistory();
    std::string before = LevelArrayBytes();
    struct Case {
        const char* name;
        std::function<bool()> insert;
    } cases[] = {
        {"rectangle", [] { return InsertRectangle(-500, -500, 64, 64, -1, ObjectKind::Plain, 0); }},
        {"triangle", [&] { return InsertPolygon(100, 100, 3, 64, room, ObjectKind::Pool, 24); }},
        {"door", [&] { return InsertDoorShape(100, 100, 16, 128, room); }},
        {"stairs", [&] { return InsertStairs(100, 100, room, StairShape::Object, 0, 128, {2, 16, 64, 32}); }},
    };
    for (const Case& c : cases) {
        Answers({"Enter"});
        EXPECT_FALSE(c.insert()) << c.name;
        EXPECT_TRUE(Showed(0, "The level is full")) << c.name;
        EXPECT_TRUE(LevelArrayBytes() == before) << c.name;
    }
}

// The menu's staircase in a room (0,0)-(1024,1024), floor 8, ceiling 136.
class PredefinedStairsTest : public PredefinedTest {
protected:
    void SetUp() override {
        PredefinedTest::SetUp();
        room = AddSector(0, 0, 8, 136);
        AddRoom(0, 0, 1024, 1024, room);
        ResetHistory();
    }
    int room = -1;
};

TEST_F(PredefinedStairsTest, TheEntryIsAskedAgainUntilTheStepsFit) {
    std::string before = LevelArrayBytes();
    // Nine steps of 16 are too high; a floor of -1000 too deep; nine steps
    // of 14, 64 wide, fit.
    session.Script("key 6\n" + ClickAt(200, 200) + "key Enter\n" +                    //
                   "key Enter\nkey Enter\n" + Entry(9) + "key Enter\nkey Enter\nkey Enter\n" + Snap(0) +
                   "key Enter\n" + Entry(-1000) + "key Enter\nkey Enter\nkey Enter\nkey Enter\nkey Enter\n" +
                   Snap(1) + "key Enter\n" + Entry(8) + "key Enter\nkey Enter\n" + Entry(14) + Entry(64) +
                   "key Enter\n");
    answers = 2;
    EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
    EXPECT_TRUE(Showed(0, "The stairs are too high for sector"));
    EXPECT_TRUE(Showed(1, "The maximum difference (ceiling - floor)= 1023"));
    ASSERT_EQ(level.sectors.count, 1 + 9);
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(level.sectors[k].floorHeight, 8 + 14 * k);
        EXPECT_EQ(level.sectors[k].ceilingHeight, 136);
    }
    Point bottom = VertexOf(4), top = VertexOf(level.vertices.count - 1);
    EXPECT_EQ(top.x - bottom.x, 64);
    EXPECT_EQ(top.y - bottom.y, 9 * 32);
    EXPECT_NEAR(bottom.x, 200, 16);
    EXPECT_EQ(Step(), "insert stairs");
    ASSERT_TRUE(Undo());
    EXPECT_TRUE(LevelArrayBytes() == before);

    // A room takes its Sector's heights and the sizes entered last.
    session.Script("key 5\n" + ClickAt(200, 200) + "key Enter\nkey Enter\n" +
                   "key Enter\nkey Enter\nkey Enter\nkey Enter\n");
    EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
    ASSERT_EQ(level.sectors.count, 1 + 9);
    EXPECT_EQ(level.sectors[1].floorHeight, 22);
    EXPECT_EQ(level.sectors[9].ceilingHeight, 136);
    EXPECT_EQ(Step(), "insert a stair room");

    // Cancelled, nothing is made.
    before = LevelArrayBytes();
    session.Script("key 6\n" + ClickAt(200, 200) + "key Enter\nkey Esc\n");
    EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
    EXPECT_TRUE(LevelArrayBytes() == before);
    EXPECT_EQ(Step(), "");
}

// Each box the menu shows on the way, photographed before it is answered.
TEST_F(PredefinedStairsTest, TheMenuSaysWhereAndWhat) {
    struct Case {
        const char* name;
        std::string item;
        Point at;
        std::vector<std::string> texts;   // one a box, from the second box on
    } cases[] = {
        {"a room inside", "1", {200, 200}, {"You need to be outside a Sector."}},
        {"an object outside", "2", {-500, -500}, {"inside a Sector!"}},
        {"an object inside", "2", {200, 200}, {"created in Sector 0", "3=Light Boxes"}},
        {"stairs as a room", "5", {200, 200}, {"created in Sector 0", "Move the stairs outside"}},
    };
    std::string before = LevelArrayBytes();
    for (const Case& c : cases) {
        std::string script = "key " + c.item + "\n" + Snap(0) + ClickAt(c.at.x, c.at.y) + "wait 0\n";
        for (size_t i = 0; i < c.texts.size(); ++i)
            script += Snap(i + 1) + "key Enter\n";
        session.Script(script + "key Esc\n");
        answers = c.texts.size() + 1;
        EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
        EXPECT_TRUE(Showed(0, "Insertion Point")) << c.name;
        EXPECT_TRUE(Showed(0, "LineDefs for older DOOM")) << c.name;
        for (size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_TRUE(Showed(i + 1, c.texts[i])) << c.name << " " << c.texts[i];
        EXPECT_TRUE(LevelArrayBytes() == before) << c.name;
    }
}

}  // namespace
