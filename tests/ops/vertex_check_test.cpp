// The vertex check after moves and drawing: Vertexes merged into the one
// they lie on, LineDefs split where a Vertex lies on them (within the
// overlap tolerance), superimposed LineDefs merged; what it asks, and the
// lists it hands back. Also the boxes the Vertex operations report their
// refusals in; what they edit is the model's (tests/edits).
#include "ops/vertex_check.h"
#include "ops/vertex_ops.h"
#include "ops_fixture.h"

namespace {

class VertexCheckTest : public OpsTest {
protected:
    // Sector 0: the room (0,0)-(200,200), Vertexes 0..3, LineDefs 0..3 (west,
    // north, east, south, first sides inside). Sector 1: the room
    // (200,0)-(400,200) beside it, Vertexes 4..7, LineDefs 4..7, whose west
    // wall (LineDef 4, from (200,0) to (200,200)) lies on the east wall of
    // the first, the other way round.
    void TwoRoomsSideBySide() {
        AddRoom(0, 0, 200, 200, AddSector());
        AddRoom(200, 0, 400, 200, AddSector());
    }
};

// The second room's west corners dragged onto the first room's east ones:
// asked (and agreed to) or quietly, the same merge; what the user declines
// stays as it is.
TEST_F(VertexCheckTest, RoomsDraggedTogetherBecomeOneWallWithTwoSides) {
    struct Case {
        std::vector<std::string> answers;   // none: quietly
        int vertexes, lineDefs;
    } cases[] = {
        {{"Y", "Y"}, 6, 7},   // merge the Vertexes; merge the LineDefs
        {{"N"}, 8, 8},        // no merge: the check ends at once
        {{"Y", "N"}, 6, 8},   // merged, but the LineDefs stay superimposed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.answers));
        mapkit::ClearMap();
        TwoRoomsSideBySide();
        SelectionList moved = ListOf({4, 5});
        Answers(c.answers);
        CheckVertexes(moved, c.answers.empty() ? CheckStyle::Quiet : CheckStyle::Interactive);
        EXPECT_EQ((std::vector<int>{level.vertices.count, level.lineDefs.count}),
                  (std::vector<int>{c.vertexes, c.lineDefs}));
        EXPECT_TRUE(ReferencesSound());
        if (c.lineDefs != 7)
            continue;
        EXPECT_EQ(Numbers(moved), (std::vector<int>{2, 3}));   // the Vertexes they were merged into
        // The first room's east wall, 2 -> 3, two-sided now: its second side
        // is the other room's, from the reversed LineDef.
        const LineDef& wall = level.lineDefs[2];
        EXPECT_EQ((std::vector<int>{wall.start, wall.end, wall.flags}), (std::vector<int>{2, 3, 4}));
        EXPECT_EQ(SectorOf(wall.sideDef1), 0);
        EXPECT_EQ(SectorOf(wall.sideDef2), 1);
        EXPECT_EQ(level.sideDefs.count, 8);
    }
}

TEST_F(VertexCheckTest, InteractiveSplitsAskOnceAndOnlyWithTheSetting) {
    AddRoom(0, 0, 200, 200, AddSector());
    // On the south wall within the overlap tolerance (3), on the west wall,
    // and one unit too far from the north wall.
    int a = AddVertex(100, 3), b = AddVertex(0, 100), c = AddVertex(100, 196);
    SelectionList moved = ListOf({a, b, c});
    Answers({});
    CheckVertexes(moved, CheckStyle::Interactive);   // "LineDef Split" off: no split phase
    EXPECT_EQ(level.lineDefs.count, 4);

    config.lineDefSplit = 1;
    Answers({"Y"});
    CheckVertexes(moved, CheckStyle::Interactive);
    EXPECT_TRUE(Showed(0, "One or more Vertices are on a LineDef"));
    EXPECT_EQ(level.lineDefs.count, 6);
    EXPECT_TRUE(ReferencesSound());
}

// A Vertex where three LineDefs meet cannot be deleted; one Vertex cannot be
// merged: a box says so and nothing changes.
TEST_F(VertexCheckTest, VertexOperationsReportRefusalsAndChangeNothing) {
    AddRoom(0, 0, 200, 200, AddSector());
    AddLineDef(0, 2, AddSideDef(0), AddSideDef(0), 4);   // a third LineDef at Vertex 0
    std::string before = Checkpoint();
    SelectionList list = ListOf({0});
    Answers({"Enter", "Enter"});
    DeleteVertexesJoinLineDefs(list);
    EXPECT_EQ(LevelArrayBytes(), before);
    MergeVertexes(list);
    EXPECT_TRUE(Showed(0, "Cannot delete Vertex 0 and join the LineDefs. The Vertex"));
    EXPECT_TRUE(Showed(0, "must be the start of one LineDef and the end of another."));
    EXPECT_TRUE(Showed(1, "Select at least 2 Vertexs"));
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_EQ(Step(), "");
    EXPECT_EQ(list.size(), 1);
}

}  // namespace
