// Merging Vertexes and splitting LineDefs, asked of the model directly: the
// records they leave, the numbers they keep, and what they refuse.
#include <string>
#include <utility>
#include <vector>

#include "edits/vertex_edits.h"
#include "edits_fixture.h"

namespace {


using VertexEditsTest = EditsTest;

// Every LineDef's start and end, one after the other.
std::vector<int> Ends() {
    std::vector<int> out;
    for (const LineDef& ld : level.lineDefs)
        out.insert(out.end(), {ld.start, ld.end});
    return out;
}

// Vertexes 0..12 on a row; LineDefs from 5, 9 and 12 to Vertexes outside
// the merge, one between two merged Vertexes, one between the kept and a
// merged one.
TEST_F(VertexEditsTest, MergingKeepsTheVertexSelectedLast) {
    AddSector();
    for (int i = 0; i <= 12; ++i)
        AddVertex(i * 10, 0);
    for (auto [a, b] : {std::pair{0, 5}, {9, 1}, {2, 12}, {5, 9}, {12, 5}})
        AddLineDef(a, b, AddSideDef(0));
    ResetHistory();
    SelectionList one = ListOf({5});
    EXPECT_FALSE(edits::MergeVertexes(level, one));   // one is not enough
    SelectionList list = ListOf({5, 9, 12});
    EXPECT_TRUE(edits::MergeVertexes(level, list));
    EXPECT_EQ(Step(), "merge 3 Vertexes");
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(level.vertices.count, 11);
    int kept = 10;   // 12, with 5 and 9 gone
    EXPECT_EQ(level.vertices[kept].x, 120);
    EXPECT_EQ(Ends(), (std::vector<int>{0, kept, kept, 1, 2, kept}));
    EXPECT_EQ(level.sideDefs.count, 3);
    EXPECT_TRUE(ReferencesSound());
}

// The new Vertex at the midpoint, each coordinate halved towards zero; a
// LineDef too short to have a point between its ends stays whole.
TEST_F(VertexEditsTest, SplittingPutsTheNewVertexAtTheMidpointTowardsZero) {
    struct Case {
        int x0, y0, x1, y1, mx, my;
        bool split;
    } cases[] = {
        {0, 0, -3, 0, -1, 0, true},
        {32767, 0, 32765, -32768, 32766, -16384, true},
        {0, 0, 1, 0, 0, 0, false},
        {20, 0, 21, -1, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.x1) + "," + std::to_string(c.y1));
        mapkit::ClearMap();
        AddSector();
        AddSector();
        int a = AddVertex(c.x0, c.y0), b = AddVertex(c.x1, c.y1);
        AddLineDef(a, b, AddSideDef(0), AddSideDef(1), 4, 11, 7);
        ResetHistory();
        EXPECT_EQ(edits::SplitLineDefs(level, ListOf({0})).refused, c.split ? 0 : 1);
        if (!c.split) {
            EXPECT_EQ(Step(), "");
            EXPECT_EQ(level.lineDefs.count, 1);
            continue;
        }
        EXPECT_EQ(Step(), "split 1 LineDef");
        EXPECT_EQ(Places(level.vertices), (std::vector<Point>{{c.x0, c.y0}, {c.x1, c.y1}, {c.mx, c.my}}));
        ASSERT_EQ(Ends(), (std::vector<int>{a, 2, 2, b}));
        ASSERT_EQ(level.sideDefs.count, 4);
        // Flags, type and tag copied; each side copied, facing the same Sector.
        const LineDef &first = level.lineDefs[0], &second = level.lineDefs[1];
        EXPECT_EQ((std::vector<int>{second.flags, second.type, second.tag}), (std::vector<int>{4, 11, 7}));
        EXPECT_EQ(SectorOf(second.sideDef1), 0);
        EXPECT_EQ(SectorOf(second.sideDef2), 1);
        EXPECT_NE(second.sideDef1, first.sideDef1);
        EXPECT_TRUE(ReferencesSound());
    }
}

// The wall from (0,256) to (157,131) passes 0.3 units beside (124,157), the
// corner of a LineDef inside the room. Its rounded midpoint (78,193) would
// bend it past that corner, across the LineDef: it stays whole. The wall
// beside it, bent past nothing, is split in the same pass, and so is a wall
// whose midpoint lies on it exactly.
TEST_F(VertexEditsTest, ASplitThatWouldBendPastAVertexIsRefused) {
    AddSector();
    int top = AddVertex(0, 256), corner = AddVertex(157, 131), inner = AddVertex(98, 124),
        near = AddVertex(124, 157), right = AddVertex(256, 256), left = AddVertex(0, 0);
    AddLineDef(top, corner, AddSideDef(0));
    AddLineDef(inner, near, AddSideDef(0), AddSideDef(0), 4);
    AddLineDef(corner, right, AddSideDef(0));
    AddLineDef(left, top, AddSideDef(0));
    const std::string before = Checkpoint();
    EXPECT_EQ(edits::SplitLineDefs(level, ListOf({0})).refused, 1);
    EXPECT_EQ(mapkit::LevelArrayBytes(), before);
    EXPECT_EQ(Step(), "");
    edits::SplitCount count = edits::SplitLineDefs(level, ListOf({2, 0, 3}));
    EXPECT_EQ((std::vector<int>{count.split, count.refused}), (std::vector<int>{2, 1}));
    EXPECT_EQ(level.lineDefs.count, 6);
    EXPECT_TRUE(ReferencesSound());
}

}  // namespace
