// Adding a LineDef across a Sector and splitting two LineDefs and their
// Sector as the user starts them: the menu "Split Option", the question about
// a LineDef already there, the boxes that report failures, and failures that
// change nothing.
#include <cstring>

#include "ops/linedef_ops.h"
#include "ops_fixture.h"
#include "support/level_validity.h"

namespace {

std::string Name(const char (&field)[8]) { return std::string(field, strnlen(field, 8)); }

int SectorOf(uint16_t side) { return level.sideDefs[side].sector; }

using mapkit::AddPillar;

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

// The refusals themselves are the model's (tests/edits): here, the box that
// reports one before or after the menu, and the menu's cancel.
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
        // A path blocked is reported before the menu opens.
        {"through a Vertex",
         [](LineDefOpsTest&) {
             int on = AddVertex(101, 99);
             AddLineDef(on, AddVertex(101, 150), AddSideDef(0), AddSideDef(0), 4);
         },
         0, 2, {}, SplitResult::Failed, "Cannot add a LineDef from Vertex 0 to 2:",
         "it would pass through Vertex 4."},
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
