// The vertex check after moves and drawing: Vertexes merged into the one
// they lie on, LineDefs split where a Vertex lies on them (within the
// overlap tolerance), superimposed LineDefs merged; what it asks, and the
// lists it hands back.
#include "editor/objects.h"
#include "ops/vertex_check.h"
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
        AddSector();
        AddSector();
        AddRoom(0, 0, 200, 200, 0);
        AddRoom(200, 0, 400, 200, 1);
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
        {{}, 6, 7},
        {{"N"}, 8, 8},        // no merge: the check ends at once
        {{"Esc"}, 8, 8},
        {{"Y", "N"}, 6, 8},   // merged, but the LineDefs stay superimposed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.answers));
        mapkit::ClearMap();
        TwoRoomsSideBySide();
        SelectionList moved = ListOf({4, 5});
        Answers(c.answers);
        CheckVertexes(moved, c.answers.empty() ? CheckStyle::Quiet : CheckStyle::Interactive);
        EXPECT_EQ(level.vertices.count, c.vertexes);
        EXPECT_EQ(level.lineDefs.count, c.lineDefs);
        EXPECT_TRUE(ReferencesSound());
        if (c.answers.size() == 2) {
            EXPECT_TRUE(Showed(0, "One or more Vertices specify the same position"));
            EXPECT_TRUE(Showed(1, "Some LineDefs are Superimposed"));
        }
        if (c.lineDefs != 7)
            continue;
        EXPECT_EQ(Numbers(moved), (std::vector<int>{2, 3}));   // the Vertexes they were merged into
        const LineDef& wall = level.lineDefs[2];   // the first room's east wall, 2 -> 3, two-sided now
        EXPECT_EQ((std::vector<int>{wall.start, wall.end, wall.flags}), (std::vector<int>{2, 3, 4}));
        EXPECT_EQ(level.sideDefs[wall.sideDef1].sector, 0);
        EXPECT_EQ(level.sideDefs[wall.sideDef2].sector, 1);   // the other room's, from the reversed LineDef
        EXPECT_EQ(level.sideDefs.count, 8);
    }
}

TEST_F(VertexCheckTest, EscapeEndsTheCheck) {
    TwoRoomsSideBySide();
    std::string before = LevelArrayBytes();
    session.ExactScript("key Esc");
    int buttons = 0;
    for (int i = 0; i < 10 && !KeyWaiting(); ++i)   // the key typed ahead of the check
        ReadButtons(&buttons);
    ASSERT_TRUE(KeyWaiting());
    SelectionList drawn = ListOf({4, 5});
    CheckVertexes(drawn, CheckStyle::Quiet);
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_EQ(Numbers(drawn), (std::vector<int>{5, 4}));
}

// A free Vertex near the middle of the first room's south wall (from
// (200,0) to (0,0)).
TEST_F(VertexCheckTest, AVertexOnALineDefSplitsItWithinTheTolerance) {
    struct Case {
        int tolerance, y;
        bool split;
    } cases[] = {
        {0, 0, true}, {0, 1, false}, {3, 3, true}, {3, -3, true}, {3, 4, false}, {4, 4, true},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        AddSector();
        AddRoom(0, 0, 200, 200, 0);
        int v = AddVertex(100, c.y);
        config.overlapTolerance = static_cast<int16_t>(c.tolerance);
        SelectionList moved = ListOf({v});
        NoAnswers();
        CheckVertexes(moved, CheckStyle::Quiet);
        ASSERT_EQ(level.lineDefs.count, c.split ? 5 : 4) << c.tolerance << " " << c.y;
        if (c.split) {
            const LineDef &first = level.lineDefs[3], &second = level.lineDefs[4];
            EXPECT_EQ((std::vector<int>{first.start, first.end, second.start, second.end}),
                      (std::vector<int>{3, v, v, 0}));
            EXPECT_NE(second.sideDef1, first.sideDef1);   // a copy
        }
        EXPECT_TRUE(ReferencesSound());
    }
}

TEST_F(VertexCheckTest, InteractiveSplitsAskOnceAndOnlyWithTheSetting) {
    AddSector();
    AddRoom(0, 0, 200, 200, 0);
    int a = AddVertex(100, 0), b = AddVertex(0, 100);
    SelectionList moved = ListOf({a, b});
    NoAnswers();
    CheckVertexes(moved, CheckStyle::Interactive);   // "LineDef Split" off: no split phase
    EXPECT_EQ(level.lineDefs.count, 4);

    config.lineDefSplit = 1;
    Answers({"Y"});
    CheckVertexes(moved, CheckStyle::Interactive);
    EXPECT_TRUE(Showed(0, "One or more Vertices are on a LineDef"));
    EXPECT_EQ(level.lineDefs.count, 6);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(VertexCheckTest, LineDefListsKeepNamingTheirLineDefs) {
    TwoRoomsSideBySide();
    // The second room's west wall (4) and north wall (5) were dragged onto
    // the first room: merging removes the wall 4, so 5 becomes 4.
    SelectionList moved = ListOf({4, 5});
    Answers({"Y", "Y"});
    CheckLineDefVertexes(moved, CheckStyle::Interactive);
    ASSERT_EQ(level.lineDefs.count, 7);
    EXPECT_EQ(Numbers(moved), (std::vector<int>{4}));
    const LineDef& north = level.lineDefs[4];   // (200,200) -> (400,200)
    EXPECT_EQ(level.vertices[north.start].x, 200);
    EXPECT_EQ(level.vertices[north.end].x, 400);
    EXPECT_EQ(level.vertices[north.end].y, 200);
    EXPECT_TRUE(ReferencesSound());
}

}  // namespace
