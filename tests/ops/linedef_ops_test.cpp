// Adding a LineDef across a Sector and splitting it, splitting two LineDefs
// and their Sector, joining Sectors, flipping LineDefs and the first free
// tag: the records they make, and failures that change nothing.
#include <cstring>

#include "ops/linedef_ops.h"
#include "ops_fixture.h"
#include "support/level_validity.h"

namespace {

std::string Name(const char (&field)[8]) { return std::string(field, strnlen(field, 8)); }

int SectorOf(uint16_t side) { return level.sideDefs[side].sector; }

// A pillar drawn counter-clockwise inside Sector s: four one-sided LineDefs
// facing s. Returns its first LineDef.
int AddPillar(int x0, int y0, int x1, int y1, int s) {
    int a = AddVertex(x0, y0), b = AddVertex(x1, y0), c = AddVertex(x1, y1), d = AddVertex(x0, y1);
    const int corners[5] = {a, b, c, d, a};
    int first = level.lineDefs.count;
    for (int i = 0; i < 4; ++i)
        AddLineDef(corners[i], corners[i + 1], AddSideDef(s));
    return first;
}

class LineDefOpsTest : public OpsTest {
protected:
    // Sector 0: the room (0,0)-(200,200); Vertexes 0 (0,0), 1 (0,200),
    // 2 (200,200), 3 (200,0); LineDefs 0..3 west, north, east, south.
    void Room() {
        room = AddSector(0, 0, 8, 136);
        AddRoom(0, 0, 200, 200, room);
    }
    int room = -1;
};

// --- Add a LineDef and split Sector ---------------------------------------------

TEST_F(LineDefOpsTest, ADiagonalSplitsASquareInTwo) {
    Room();
    int upperLeftPillar = AddPillar(20, 150, 50, 180, room);
    int lowerRightPillar = AddPillar(150, 20, 180, 50, room);
    Answers({"Enter"});   // "Split Sector", preselected
    EXPECT_EQ(AddLineDefSplitSector(0, 2), SplitResult::Done);
    EXPECT_TRUE(Showed(0, "Split Option"));
    EXPECT_EQ(Step(), "split Sector");

    ASSERT_EQ(level.sectors.count, 2);
    EXPECT_EQ(0, std::memcmp(&level.sectors[1], &level.sectors[0], sizeof(Sector)));   // a copy
    ASSERT_EQ(level.lineDefs.count, 13);
    const LineDef& added = level.lineDefs[12];
    EXPECT_EQ((std::vector<int>{added.start, added.end, added.flags, SectorOf(added.sideDef1),
                                SectorOf(added.sideDef2)}),
              (std::vector<int>{0, 2, 4, 0, 1}));
    EXPECT_EQ(Name(level.sideDefs[added.sideDef1].middle) + Name(level.sideDefs[added.sideDef2].middle), "--");
    // West and north walls bound the new upper-left half, with its pillar.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(SectorOf(level.lineDefs[i].sideDef1), i < 2 ? 1 : 0) << i;
        EXPECT_EQ(SectorOf(level.lineDefs[upperLeftPillar + i].sideDef1), 1) << i;
        EXPECT_EQ(SectorOf(level.lineDefs[lowerRightPillar + i].sideDef1), 0) << i;
    }
    EXPECT_TRUE(level.mapChanged);
    EXPECT_TRUE(ReferencesSound());
}

// A LineDef between two Vertexes of the room, or two free ones inside it
// (the menu then offers only "Exit" and "2-Sided LineDef"): two-sided, in
// the one Sector.
TEST_F(LineDefOpsTest, TheChoiceOfTwoSidesKeepsOneSector) {
    for (bool free : {false, true}) {
        mapkit::ClearMap();
        Room();
        int a = free ? AddVertex(60, 100) : 1, b = free ? AddVertex(140, 100) : 3;
        Answers({free ? "2" : "3"});
        EXPECT_EQ(AddLineDefSplitSector(a, b), SplitResult::Done);
        EXPECT_EQ(Showed(0, "Split Sector"), !free);
        EXPECT_EQ(Step(), "add a LineDef");
        EXPECT_EQ(level.sectors.count, 1);
        ASSERT_EQ(level.lineDefs.count, 5);
        const LineDef& added = level.lineDefs[4];
        EXPECT_EQ((std::vector<int>{added.start, SectorOf(added.sideDef1), SectorOf(added.sideDef2)}),
                  (std::vector<int>{a, 0, 0}));
        EXPECT_TRUE(ReferencesSound());
    }
}

// LineDefs with the room on both sides lie on the walk's way, numbered
// before the walls: the new Sector is the area the new LineDef cuts off,
// with both sides of a LineDef that ends inside it and one side of one
// that parts the room.
TEST_F(LineDefOpsTest, TheSplitTakesTheAreaTheNewLineDefCutsOff) {
    struct Case {
        const char* name;
        void (*build)();   // more map, then the split
        std::vector<std::pair<int, int>> sectors;   // of each LineDef's sides
    };
    const Case cases[] = {
        {"a spur from a corner",
         [] {
             AddLineDef(1, AddVertex(50, 150), AddSideDef(0), AddSideDef(0), 4);
             std::swap(level.lineDefs[1], level.lineDefs[4]);   // before the north wall
             AddLineDefSplitSector(0, 2);
         },
         {{1, -1}, {1, 1}, {0, -1}, {0, -1}, {1, -1}, {0, 1}}},
        {"a LineDef across the room",
         [] {
             AddLineDef(1, 3, AddSideDef(0), AddSideDef(0), 4);
             SplitLineDefsAndSector(4, 3);   // from its middle to the south wall's
         },
         {{0, -1}, {0, -1}, {0, -1}, {1, -1}, {0, 0}, {0, -1}, {1, 0}, {0, 1}}},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        Room();
        Answers({"Enter"});   // "Split Sector"
        c.build();
        EXPECT_EQ(level.sectors.count, 2) << c.name;
        std::vector<std::pair<int, int>> sectors;
        for (const LineDef& ld : level.lineDefs)
            sectors.emplace_back(SectorOf(ld.sideDef1), ld.sideDef2 == kNoReference ? -1 : SectorOf(ld.sideDef2));
        EXPECT_EQ(sectors, c.sectors) << c.name;
        EXPECT_TRUE(testkit::LevelValid(testkit::Validity::Game)) << c.name;
    }
}

TEST_F(LineDefOpsTest, AnExistingLineDefIsReplacedOrKeptOnRequest) {
    struct Case {
        int replace;
        std::vector<std::string> answers;
        int lineDefs;
    } cases[] = {
        {-1, {"Enter", "Y"}, 5},   // asked; yes: the old one goes, the new one comes
        {-1, {"Enter", "N"}, 6},   // no: both stay
        {4, {"Enter"}, 5},         // the one to replace goes without a question
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        Room();
        AddLineDef(0, 2, -1);   // LineDef 4, one the user drew before
        Answers(c.answers);
        EXPECT_EQ(AddLineDefSplitSector(0, 2, c.replace), SplitResult::Done);
        if (c.answers.size() > 1) {
            EXPECT_TRUE(Showed(1, "Delete Existing LineDef ?"));
        }
        EXPECT_EQ(level.lineDefs.count, c.lineDefs);
        EXPECT_EQ(level.sectors.count, 2);
        EXPECT_TRUE(ReferencesSound());
    }
}

TEST_F(LineDefOpsTest, FailuresAndCancelsChangeNothing) {
    struct Case {
        const char* name;
        void (*extra)(LineDefOpsTest&);   // more map; may remove walls
        int a, b;
        std::vector<std::string> answers;
        SplitResult result;
        const char* heading;   // what the failure box says, nullptr for none
        const char* message;
    };
    const Case cases[] = {
        {"exit", nullptr, 0, 2, {"1"}, SplitResult::Cancelled, nullptr, nullptr},
        {"escape", nullptr, 0, 2, {"Esc"}, SplitResult::Cancelled, nullptr, nullptr},
        {"outside", [](LineDefOpsTest&) { AddVertex(300, 0), AddVertex(300, 200); }, 4, 5,
         {"2"}, SplitResult::Failed, "No Sector between Vertex 4 and 5", nullptr},
        {"open room",
         [](LineDefOpsTest&) { level.lineDefs.count = 3; },   // no south wall
         2, 0, {"2"}, SplitResult::Failed, "Sector 0, Vertex 2 to 0", "Cannot go past Vertex 3)"},
        {"to a pillar", [](LineDefOpsTest&) { AddPillar(80, 80, 120, 120, 0); }, 0, 4,
         {"2"}, SplitResult::Failed, "Sector 0, Vertex 0 to 4", "Vertexes are in a different Sectors"},
        {"from a pillar", [](LineDefOpsTest&) { AddPillar(80, 80, 120, 120, 0); }, 4, 0,
         {"2"}, SplitResult::Failed, "Sector 0, Vertex 4 to 0", "Vertexes are in a different Sectors"},
        {"no side from a",
         [](LineDefOpsTest&) { level.lineDefs[0].sideDef1 = kNoReference; }, 0, 2, {"2"},
         SplitResult::Failed, "Sector 0, Vertex 0 to 2", "There is no SideDef starting from Vertex 0"},
        // The path itself: a Vertex within the tolerance of it, a LineDef
        // from a that it would run along, a pillar across it.
        {"through a Vertex",
         [](LineDefOpsTest&) {
             int on = AddVertex(101, 99);
             AddLineDef(on, AddVertex(101, 150), AddSideDef(0), AddSideDef(0), 4);
         },
         0, 2, {}, SplitResult::Failed, "Cannot add a LineDef from Vertex 0 to 2:",
         "it would pass through Vertex 4."},
        {"along a LineDef",
         [](LineDefOpsTest&) {
             AddLineDef(0, AddVertex(150, 150), AddSideDef(0), AddSideDef(0), 4);
             AddVertex(100, 100);
         },
         0, 5, {}, SplitResult::Failed, "Cannot add a LineDef from Vertex 0 to 5:", "it would run along LineDef 4."},
        {"across a pillar", [](LineDefOpsTest&) { AddPillar(80, 100, 160, 130, 0); }, 0, 2, {},
         SplitResult::Failed, "Cannot add a LineDef from Vertex 0 to 2:", "it would cross LineDef 4."},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        Room();
        if (c.extra)
            c.extra(*this);
        ResetHistory();
        std::string before = LevelArrayBytes();
        std::vector<std::string> answers = c.answers;
        if (c.heading)
            answers.push_back("Enter");
        Answers(answers);
        EXPECT_EQ(AddLineDefSplitSector(c.a, c.b), c.result) << c.name;
        EXPECT_EQ(LevelArrayBytes(), before) << c.name;
        EXPECT_EQ(Step(), "") << c.name;
        size_t box = c.answers.size();   // the failure's, after the menu
        if (c.heading) {
            EXPECT_TRUE(Showed(box, c.heading)) << c.name;
        }
        if (c.message) {
            EXPECT_TRUE(Showed(box, c.message)) << c.name;
        }
    }
}

// --- Split LineDefs and Sector ---------------------------------------------------

TEST_F(LineDefOpsTest, TwoWallsOfARoomAreJoinedAcrossIt) {
    Room();
    Answers({"Enter"});
    SplitLineDefsAndSector(2, 0);   // east, then west
    EXPECT_EQ(Step(), "split 2 LineDefs and Sector");
    ASSERT_EQ(level.vertices.count, 6);
    // The west wall's midpoint, split first, then the east wall's; the new
    // LineDef runs from the first LineDef's midpoint.
    EXPECT_EQ((std::vector<int>{level.vertices[4].x, level.vertices[5].x}), (std::vector<int>{0, 200}));
    ASSERT_EQ(level.lineDefs.count, 7);
    EXPECT_EQ((std::vector<int>{level.lineDefs[6].start, level.lineDefs[6].end}), (std::vector<int>{5, 4}));
    EXPECT_EQ(level.sectors.count, 2);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(LineDefOpsTest, SplittingLineDefsAndSectorUndoesTheSplitsWhenItFails) {
    Room();
    AddRoom(300, 0, 400, 100, AddSector());   // LineDefs 4..7
    AddPillar(80, 20, 120, 60, room);         // LineDefs 8..11
    ResetHistory();
    std::string before = LevelArrayBytes();
    struct Case {
        int lineDef1, lineDef2;
        std::vector<std::string> answers;
        const char* box;
    } cases[] = {
        {0, 4, {"Enter"}, "LineDefs 0 and 4 are not adjacent to the same Sector"},
        {0, 2, {"Esc"}, "Split Option"},
        {0, 10, {"Enter", "Enter"}, "Vertexes are in a different Sectors"},   // the walk comes back
        {1, 3, {"Enter"}, "it would cross LineDef 8."},                     // the pillar is in the way
    };
    for (const Case& c : cases) {
        Answers(c.answers);
        SplitLineDefsAndSector(c.lineDef1, c.lineDef2);
        EXPECT_TRUE(Showed(c.answers.size() - 1, c.box)) << c.box;
        EXPECT_EQ(LevelArrayBytes(), before) << c.box;
        EXPECT_EQ(Step(), "") << c.box;
    }
}

}  // namespace
