// Deleting Vertexes between two LineDefs, merging Vertexes and splitting
// LineDefs: the records they leave, the numbers they keep, and what they
// refuse.
#include "ops/vertex_ops.h"
#include "ops_fixture.h"

namespace {

class VertexOpsTest : public OpsTest {};

// A room whose west and south walls have a Vertex in the middle:
// Vertexes 0 (0,0), 1 (0,100), 2 (0,200), 3 (200,200), 4 (200,0), 5 (100,0);
// LineDefs 0 0->1, 1 1->2, 2 2->3, 3 3->4, 4 4->5, 5 5->0, one-sided.
void SixSidedRoom() {
    AddSector();
    const int points[6][2] = {{0, 0}, {0, 100}, {0, 200}, {200, 200}, {200, 0}, {100, 0}};
    for (const auto& p : points)
        AddVertex(p[0], p[1]);
    for (int i = 0; i < 6; ++i)
        AddLineDef(i, (i + 1) % 6, AddSideDef(0));
}

TEST_F(VertexOpsTest, DeletingVertexesJoinsTheirLineDefs) {
    SixSidedRoom();
    SelectionList list = ListOf({5, 1});   // 1 first: 5 must be renumbered after it goes
    NoAnswers();
    DeleteVertexesJoinLineDefs(list);
    EXPECT_EQ(Step(), "delete 2 Vertexes and join LineDefs");
    ASSERT_EQ(level.vertices.count, 4);
    ASSERT_EQ(level.lineDefs.count, 4);
    EXPECT_EQ(level.sideDefs.count, 4);
    const int ends[4][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}};   // the square left
    for (int l = 0; l < 4; ++l) {
        EXPECT_EQ(level.lineDefs[l].start, ends[l][0]) << l;
        EXPECT_EQ(level.lineDefs[l].end, ends[l][1]) << l;
    }
    EXPECT_EQ(level.vertices[3].x, 200);
    EXPECT_EQ(level.vertices[3].y, 0);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(VertexOpsTest, TwoLineDefsBackAndForthGoWithTheirVertex) {
    AddSector();
    int a = AddVertex(0, 0), v = AddVertex(0, 64);
    AddLineDef(a, v, AddSideDef(0));
    AddLineDef(v, a, AddSideDef(0));
    DeleteVertexesJoinLineDefs(ListOf({v}));
    EXPECT_EQ(level.vertices.count, 1);
    EXPECT_EQ(level.lineDefs.count, 0);   // not one from Vertex 0 to itself
    EXPECT_EQ(level.sideDefs.count, 0);
    EXPECT_TRUE(ReferencesSound());
}

// A Vertex where three LineDefs meet cannot be deleted; one Vertex cannot be
// merged: a box says so and nothing changes.
TEST_F(VertexOpsTest, RefusalsChangeNothing) {
    struct Case {
        void (*run)(SelectionList&);
        std::vector<std::string> box;
    } cases[] = {
        {[](SelectionList& l) { DeleteVertexesJoinLineDefs(l); },
         {"Cannot delete Vertex 1 and join the LineDefs. The Vertex",
          "must be the start of one LineDef and the end of another."}},
        {[](SelectionList& l) { MergeVertexes(l); }, {"Select at least 2 Vertexs"}},
    };
    SixSidedRoom();
    AddLineDef(1, 3, AddSideDef(0), AddSideDef(0), 4);   // a third LineDef at Vertex 1
    ResetHistory();
    std::string before = LevelArrayBytes();
    for (const Case& c : cases) {
        SelectionList list = ListOf({1});
        Answers({"Enter"});
        c.run(list);
        for (const std::string& text : c.box)
            EXPECT_TRUE(Showed(0, text)) << text;
        EXPECT_EQ(LevelArrayBytes(), before);
        EXPECT_EQ(Step(), "");
        EXPECT_EQ(list.size(), 1);
    }
}

// Vertexes 0..12 on a row; LineDefs from 5, 9 and 12 to Vertexes outside
// the merge, one between two merged Vertexes, one between the kept and a
// merged one.
TEST_F(VertexOpsTest, MergingKeepsTheVertexSelectedLast) {
    AddSector();
    for (int i = 0; i <= 12; ++i)
        AddVertex(i * 10, 0);
    AddLineDef(0, 5, AddSideDef(0));
    AddLineDef(9, 1, AddSideDef(0));
    AddLineDef(2, 12, AddSideDef(0));
    AddLineDef(5, 9, AddSideDef(0));
    AddLineDef(12, 5, AddSideDef(0));
    ResetHistory();
    SelectionList list = ListOf({5, 9, 12});
    NoAnswers();
    MergeVertexes(list);
    EXPECT_EQ(Step(), "merge 3 Vertexes");
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(level.vertices.count, 11);
    int kept = 10;   // 12, with 5 and 9 gone
    EXPECT_EQ(level.vertices[kept].x, 120);
    ASSERT_EQ(level.lineDefs.count, 3);
    const int ends[3][2] = {{0, kept}, {kept, 1}, {2, kept}};
    for (int l = 0; l < 3; ++l) {
        EXPECT_EQ(level.lineDefs[l].start, ends[l][0]) << l;
        EXPECT_EQ(level.lineDefs[l].end, ends[l][1]) << l;
    }
    EXPECT_EQ(level.sideDefs.count, 3);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(VertexOpsTest, SplittingPutsTheNewVertexAtTheMidpointTowardsZero) {
    struct Case {
        int x0, y0, x1, y1, mx, my;
    } cases[] = {
        {0, 0, -3, 0, -1, 0},
        {0, 0, 3, 5, 1, 2},
        {-7, -7, 0, 0, -3, -3},
        {32767, 0, 32765, -32768, 32766, -16384},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        AddSector();
        AddSector();
        int a = AddVertex(c.x0, c.y0), b = AddVertex(c.x1, c.y1);
        AddLineDef(a, b, AddSideDef(0), AddSideDef(1), 4, 11, 7);
        ResetHistory();
        SplitLineDefs(ListOf({0}));
        EXPECT_EQ(Step(), "split 1 LineDef");
        ASSERT_EQ(level.vertices.count, 3);
        EXPECT_EQ((std::vector<int>{level.vertices[2].x, level.vertices[2].y}), (std::vector<int>{c.mx, c.my}));
        ASSERT_EQ(level.lineDefs.count, 2);
        const LineDef &first = level.lineDefs[0], &second = level.lineDefs[1];
        // Flags, type and tag copied; each side copied, facing the same Sector.
        EXPECT_EQ((std::vector<int>{first.start, first.end, second.start, second.end, second.flags, second.type,
                                    second.tag}),
                  (std::vector<int>{a, 2, 2, b, 4, 11, 7}));
        ASSERT_EQ(level.sideDefs.count, 4);
        EXPECT_EQ(level.sideDefs[second.sideDef1].sector, 0);
        EXPECT_EQ(level.sideDefs[second.sideDef2].sector, 1);
        EXPECT_NE(second.sideDef1, first.sideDef1);
        EXPECT_TRUE(ReferencesSound());
    }
}

TEST_F(VertexOpsTest, LineDefsTooShortToSplitStayWhole) {
    AddSector();
    for (int i = 0; i < 3; ++i) {
        int a = AddVertex(i * 10, 0);
        AddLineDef(a, AddVertex(i * 10 + 1, i == 2 ? -1 : i), AddSideDef(0));
    }
    ResetHistory();
    SplitLineDefs(ListOf({0, 1, 2}));   // (0,0)-(1,0), (10,0)-(11,1), (20,0)-(21,-1)
    EXPECT_EQ(level.lineDefs.count, 3);
    EXPECT_EQ(level.vertices.count, 6);
    EXPECT_EQ(Step(), "");
}

}  // namespace
