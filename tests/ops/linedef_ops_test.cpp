// Adding a LineDef across a Sector and splitting two LineDefs and their
// Sector as the user starts them: the menu "Split Option", the question about
// a LineDef already there, the boxes that report failures, and failures that
// change nothing. What the split makes is the model's (tests/edits).
#include "ops/linedef_ops.h"
#include "ops_fixture.h"

namespace {

class LineDefOpsTest : public OpsTest {
protected:
    // Sector 0: the room (0,0)-(200,200); Vertexes 0 (0,0), 1 (0,200),
    // 2 (200,200), 3 (200,0); LineDefs 0..3 west, north, east, south.
    void Room() { AddRoom(0, 0, 200, 200, AddSector(0, 0, 8, 136)); }
};

// The refusals themselves are the model's (and the box of a path blocked is
// shown below): here, the menu and the question about a LineDef the user
// drew before (LineDef 4) on the way.
TEST_F(LineDefOpsTest, AddingALineDefAcrossASector) {
    const struct {
        const char* name;
        bool drawn;
        int replace;
        std::vector<std::string> answers;
        const char* box;   // the last box shown
    } cases[] = {
        {"split", false, -1, {"Enter"}, "Split Option"},
        {"existing one replaced", true, -1, {"Enter", "Y"}, "Delete Existing LineDef ?"},
        {"the one to replace goes unasked", true, 4, {"Enter"}, "Split Option"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mapkit::ClearMap();
        Room();
        if (c.drawn)
            AddLineDef(0, 2, -1);
        ResetHistory();
        Answers(c.answers);
        EXPECT_EQ(AddLineDefSplitSector(0, 2, c.replace), SplitResult::Done);
        EXPECT_TRUE(Showed(c.answers.size() - 1, c.box));
        EXPECT_EQ(Step(), "split Sector");
        EXPECT_EQ((std::vector<int>{level.lineDefs.count, level.sectors.count}), (std::vector<int>{5, 2}));
        EXPECT_TRUE(ReferencesSound());
    }
}

// Two walls' midpoints joined across the room, or the splits undone when
// the join fails.
TEST_F(LineDefOpsTest, SplittingTwoLineDefsAndTheirSector) {
    Room();
    AddRoom(300, 0, 400, 100, AddSector());   // LineDefs 4..7
    AddPillar(80, 20, 120, 60, 0);            // LineDefs 8..11
    std::string before = Checkpoint();
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

    Answers({"Enter"});
    SplitLineDefsAndSector(2, 0);   // east, then west
    EXPECT_EQ(Step(), "split 2 LineDefs and Sector");
    // The west wall's midpoint, split first, then the east wall's; the new
    // LineDef runs from the first LineDef's midpoint.
    ASSERT_EQ((std::vector<int>{level.vertices.count, level.lineDefs.count, level.sectors.count}),
              (std::vector<int>{14, 15, 3}));
    EXPECT_EQ((std::vector<int>{level.vertices[12].x, level.vertices[13].x}), (std::vector<int>{0, 200}));
    EXPECT_EQ((std::vector<int>{level.lineDefs[14].start, level.lineDefs[14].end}), (std::vector<int>{13, 12}));
    EXPECT_TRUE(ReferencesSound());
}

}  // namespace
