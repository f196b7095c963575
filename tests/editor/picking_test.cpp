// Picking and geometry on small maps: each rule of the object search, the
// Sector at a point and beside a LineDef, reference points and box selection.
#include "editor_fixture.h"

namespace {

using PickingTest = EditorTest;

TEST_F(PickingTest, ObjectNearestTheBoxCornerOrThroughItsCentre) {
    AddThing(10, 10);   // the box centre: farther from the corner (0, 0)
    AddThing(8, 2);     // distance 10
    AddThing(2, 8);     // distance 10 as well: the lower number stays
    AddVertex(50, 58), AddVertex(50, 41), AddVertex(50, 41);
    int s = AddSector();
    AddLineDef(AddVertex(10, 0), AddVertex(10, 100), AddSideDef(s));
    AddLineDef(AddVertex(0, 0), AddVertex(0, 100), AddSideDef(s));
    const int cases[][6] = {   // type, box, found
        {kObjThing, 20, 20, 0, 0, 1},        {kObjThing, 40, 40, 50, 50, -1},
        {kObjVertex, 50, 41, 50, 41, 1},
        {kObjVertex, 50, 40, 50, 60, 0},     // no width: the first inside, not the nearest
        {kObjVertex, 50, 40, 51, 60, 1},
        {kObjLineDef, -20, 40, 20, 60, 1},   // through the centre beats earlier ones
        {kObjLineDef, -20, 40, 15, 60, 0},   // none through the centre
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetCurObject(Coords::Map, c[0], c[1], c[2], c[3], c[4]), c[5])
            << c[0] << " " << c[1];
    level.lineDefs[0].start = 99;   // a missing Vertex: never found
    EXPECT_EQ(GetCurObject(Coords::Map, kObjLineDef, 5, 40, 15, 60), -1);
}

// Box selection by mode; the Sector at a point and on either side of a
// LineDef.
TEST_F(PickingTest, BoxSelectionAndTheSectorAtAPointOrBesideALineDef) {
    TwoRooms();
    AddThing(10, 10);
    AddThing(60, 60);
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjThing, 100, 100, 10, 10)), (std::vector<int>{1, 0}));
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjLineDef, 40, 40, 149, 150)), (std::vector<int>{4}));
    // A Sector with one LineDef wholly inside: both sides of that LineDef.
    EXPECT_EQ(Numbers(SelectObjectsInBox(kObjSector, 40, 40, 60, 160)),
              (std::vector<int>{outer, inner}));
    EXPECT_TRUE(SelectObjectsInBox(kObjSector, 60, 60, 140, 140).empty());
    EXPECT_EQ(ListedObjectCount(), 5);   // every list counts until forgotten
    const int points[][3] = {
        {100, 100, inner}, {250, 100, -1},
        {150, 100, inner},   // crossing at the point: inside
        {25, 150, outer},    // along a horizontal wall
    };
    for (const auto& p : points)
        EXPECT_EQ(GetSectorAtPoint(level, p[0], p[1]), p[2]) << p[0] << "," << p[1];
    EXPECT_EQ(GetSectorOnSide(4, LineSide::Right), inner);   // inner west wall: a ray east
    EXPECT_EQ(GetSectorOnSide(4, LineSide::Left), outer);
    EXPECT_EQ(GetSectorOnSide(5, LineSide::Right), inner);   // inner north wall: a ray south
    EXPECT_EQ(GetSectorOnSide(5, LineSide::Left), outer);
    EXPECT_EQ(GetSectorOnSide(0, LineSide::Left), -1);       // out of the map
    level.lineDefs[6].sideDef1 = -1;
    EXPECT_EQ(GetSectorOnSide(4, LineSide::Right), -1);      // the wall it meets has no side there

    // Equal crossings: the one whose midpoint lies nearer the origin, in
    // either order.
    int a = AddSector(), b = AddSector();
    int origin = AddLineDef(AddVertex(-5, 300), AddVertex(5, 300), AddSideDef(a));
    int c2 = AddLineDef(AddVertex(-10, 340), AddVertex(30, 380), AddSideDef(b), AddSideDef(b));
    int c1 = AddLineDef(AddVertex(-10, 360), AddVertex(10, 340), AddSideDef(a), AddSideDef(b));
    EXPECT_EQ(GetSectorOnSide(origin, LineSide::Left), a);
    std::swap(level.lineDefs[c1], level.lineDefs[c2]);
    EXPECT_EQ(GetSectorOnSide(origin, LineSide::Left), a);

    // The finder for whole-level scans agrees, with a diagonal, a LineDef of
    // no length and one on a missing Vertex added; on an empty map it finds
    // nothing.
    int v = AddVertex(200, 0);
    AddLineDef(v, AddVertex(400, 300), AddSideDef(outer), AddSideDef(inner), 4);
    AddLineDef(v, v, AddSideDef(outer));
    AddLineDef(v, 999, AddSideDef(outer));
    SideSectorFinder finder;
    for (int ld = 0; ld < level.lineDefs.count; ++ld)
        for (LineSide side : {LineSide::Right, LineSide::Left})
            EXPECT_EQ(finder.SectorOnSide(ld, side), GetSectorOnSide(ld, side)) << ld;
    ClearMap();
    EXPECT_EQ(SideSectorFinder().SectorOnSide(0, LineSide::Right), -1);
}

TEST_F(PickingTest, ObjectReferencePoints) {
    auto coords = [](int type, int n) {
        int16_t x = 7, y = 7;   // left alone for objects without a point
        GetObjectCoords(type, n, &x, &y);
        return std::make_pair(int(x), int(y));
    };
    int s = AddSector();
    AddRoom(-31, -11, 0, 0, s);
    EXPECT_EQ(coords(kObjSector, s), std::make_pair(-15, -5));   // -124 / 8, towards zero
    level.lineDefs[1].end = -3;
    const int missing[][2] = {{kObjSector, 9}, {kObjNode, 0}, {kObjLineDef, 1}};
    for (const auto& m : missing)
        EXPECT_EQ(coords(m[0], m[1]), std::make_pair(7, 7)) << m[0];
}

}  // namespace
