// Turning and scaling asked of the model directly: the arithmetic that
// places the objects (to the unit, with its truncation), the 45-degree turns
// of Things and the polygon of Vertexes.
#include <string>
#include <tuple>
#include <vector>

#include "edits/turn_scale.h"
#include "edits_fixture.h"

namespace {

using namespace edits;


using TurnScaleTest = EditsTest;

// A quarter turn about the centre, its sums just short of whole numbers
// truncated; doubled, held at the map's edge. Placed from the starting
// places: no turn puts them back.
TEST_F(TurnScaleTest, PlacesObjectsTurnedAndScaledAboutTheirCentre) {
    for (auto [from, angle, scale, expected] :
         {std::tuple{std::vector<Point>{{0, 0}, {100, 0}}, 90.0, 1.0, std::vector<Point>{{50, -49}, {49, 49}}},
          std::tuple{std::vector<Point>{{-30000, 0}, {30000, 0}}, 0.0, 2.0, std::vector<Point>{{-32768, 0}, {32767, 0}}}}) {
        mapkit::ClearMap();
        SelectionList things;
        std::vector<MapPoint> places;
        for (const Point& p : from) {
            SelectObject(things, mapkit::AddThing(p.x, p.y));
            places.insert(places.begin(), {int16_t(p.x), int16_t(p.y)});   // newest first, as the list
        }
        TurnScale turn{0, 0, angle, scale};
        CentreOf(places, turn.cx, turn.cy);
        PlaceTurnedScaled(level, kObjThing, things, places, turn);
        EXPECT_EQ(Places(level.things), expected);
        PlaceTurnedScaled(level, kObjThing, things, places, TurnScale{turn.cx, turn.cy, 0.0, 1.0});
        EXPECT_EQ(Places(level.things), from);
    }
}

// Thing 0 turned back and forth across east (0), Thing 1 from a negative
// angle; Thing 2, never listed, stays.
TEST_F(TurnScaleTest, ThingsTurnInStepsOf45Degrees) {
    for (int angle : {350, -90, 30})
        mapkit::AddThing(0, 0, 1, angle);
    std::vector<int> angles;
    for (auto [thing, way] : {std::pair{0, TurnWay::Anticlockwise}, {0, TurnWay::Anticlockwise},
                              {0, TurnWay::Clockwise}, {0, TurnWay::Clockwise}, {1, TurnWay::Clockwise}}) {
        EXPECT_TRUE(TurnThings(level, ListOf({thing}), way));
        EXPECT_EQ(Step(), "turn 1 Thing");
        angles.push_back(level.things[thing].angle);
    }
    EXPECT_EQ(angles, (std::vector<int>{0, 45, 0, 315, 315}));
    EXPECT_EQ(level.things[2].angle, 30);
    EXPECT_FALSE(TurnThings(level, ListOf({7}), TurnWay::Clockwise));   // no such Thing
    EXPECT_EQ(Step(), "");
}

TEST_F(TurnScaleTest, PolygonVertexesRunAnticlockwiseFromTheEast) {
    mapkit::ClearMap();
    EXPECT_TRUE(AddPolygonVertexes(level, 0, 0, 4, 64));
    EXPECT_EQ(Places(level.vertices), (std::vector<Point>{{64, 0}, {0, 63}, {-63, 0}, {0, -63}}));
    EXPECT_TRUE(AddPolygonVertexes(level, 10, 10, 0, 64));
    EXPECT_TRUE(AddPolygonVertexes(level, 10, 10, -3, 64));
    EXPECT_EQ(level.vertices.count, 4);
    EXPECT_TRUE(AddPolygonVertexes(level, 100, -100, 3, 10));
    EXPECT_EQ(Places(level.vertices)[4], (Point{110, -100}));

    // Past the limit the whole edit is refused, however far it got, with
    // the words of the save's refusal; the next edit is recorded as usual.
    AllocateArray(level.vertices, 65530, 65530);
    const std::string before = Checkpoint();
    testing::internal::CaptureStdout();
    EXPECT_FALSE(AddPolygonVertexes(level, 0, 0, 8, 100));
    EXPECT_EQ(Step(), "");
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_NE(testing::internal::GetCapturedStdout().find(
                  "Level too large to save\n65536 Vertexes, more than the 65535 a level can hold"),
              std::string::npos);
    EXPECT_TRUE(AddPolygonVertexes(level, 0, 0, 3, 10));
    EXPECT_NE(Step(), "");
}

}  // namespace
