// Giving a drawn shape its SideDefs and Sector, asked directly on a room:
// what the direction and the walls it reuses make of it; and the Sector Ins
// builds on LineDefs, with its refusals and steps. The shapes drawn are
// tested with the drawing (tests/editor).
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "edits/line_drawing.h"
#include "edits/sector_building.h"
#include "edits_fixture.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

class SectorBuildingTest : public EditsTest {
protected:
    // The room (0,0)-(400,400): Vertexes 0 (0,0), 1 (0,400), 2 (400,400),
    // 3 (400,0); its west wall (LineDef 0) runs from 0 to 1, its east wall
    // (2) from 2 to 3.
    static void FreshRoom() {
        mapkit::ClearMap();
        AddRoom(0, 0, 400, 400, AddSector());
    }

    // The shape through the points and back to the first, as line drawing
    // leaves it: a Vertex at a point where there is one, a LineDef between
    // two points that one joins already, else bare impassable LineDefs. The
    // LineDefs in number order, as line drawing selects them; the Vertexes
    // of the first and last point go to firstPoint and lastPoint.
    std::vector<int> Shape(const Points& points) {
        std::vector<int> vertexes, lineDefs;
        for (const auto& p : points) {
            const Vertex* at = std::find_if(level.vertices.begin(), level.vertices.end(),
                                            [&](const Vertex& v) { return v.x == p.first && v.y == p.second; });
            vertexes.push_back(at != level.vertices.end() ? at - level.vertices.begin() : AddVertex(p.first, p.second));
        }
        for (size_t i = 0; i < vertexes.size(); ++i) {
            lineDefs.push_back(edits::DrawLineDef(level, vertexes[i], vertexes[(i + 1) % vertexes.size()]).lineDef);
        }
        std::sort(lineDefs.begin(), lineDefs.end());
        firstPoint = vertexes.front();
        lastPoint = vertexes.back();
        return lineDefs;
    }


    int firstPoint = -1, lastPoint = -1;
};

TEST_F(SectorBuildingTest, TheDirectionAndTheWallsReusedDecideWhatAShapeBecomes) {
    const struct {
        const char* what;
        Points points;
        std::vector<int> counts;   // Vertexes, LineDefs, SideDefs, Sectors
        int sector;                // the one the shape faces
    } cases[] = {
        // Counter-clockwise inside the room: a pillar facing it.
        {"pillar", {{100, 100}, {200, 100}, {200, 200}, {100, 200}}, {8, 8, 8, 1}, 0},
        // Counter-clockwise on the west wall: a solid corner; the wall,
        // with nothing on either side now, goes.
        {"object on a wall", {{0, 400}, {0, 0}, {100, 200}}, {5, 5, 5, 1}, 0},
        // Clockwise on it: a room whose side of the wall stays one-sided.
        {"room on a wall", {{0, 0}, {0, 400}, {100, 200}}, {5, 6, 8, 2}, 1},
    };
    for (const auto& c : cases) {
        FreshRoom();
        std::vector<int> shape = Shape(c.points);
        ASSERT_TRUE(edits::ShapeClosed(level, shape)) << c.what;
        edits::SectorBuilt built = edits::BuildSector(level, shape, SectorBuild::RightButton, firstPoint, lastPoint);
        EXPECT_EQ(built.sector, c.sector) << c.what;
        EXPECT_EQ(built.refusedInserts, 0) << c.what;
        const std::vector<int> counts = {level.vertices.count, level.lineDefs.count, level.sideDefs.count,
                                         level.sectors.count};
        EXPECT_EQ(counts, c.counts) << c.what;
        EXPECT_TRUE(testkit::LevelValid()) << c.what;
    }
}

// Ins in LineDefs mode: a new Sector; a LineDef with a first side becomes
// two-sided onto it; one with two sides is refused. A number that names no
// LineDef is skipped, never followed.
TEST_F(SectorBuildingTest, InsertingASectorOnLineDefs) {
    using namespace edits;
    for (const std::vector<int>& lineDefs : {std::vector<int>{0, 1}, {0, 1, 4}}) {
        Room();
        ResetHistory();
        SectorInserted inserted = InsertSector(level, lineDefs);
        EXPECT_FALSE(inserted.refusal.refused());
        EXPECT_EQ(inserted.built.sector, 1);
        EXPECT_EQ(SectorOf(level.lineDefs[0].sideDef1), 0);
        EXPECT_EQ(SectorOf(level.lineDefs[0].sideDef2), 1);
        EXPECT_EQ(level.sideDefs.count, 6);
        EXPECT_EQ(Step(), "insert Sector");
        EXPECT_TRUE(ReferencesSound());
    }

    const std::string before = LevelArrayBytes();
    SectorInserted inserted = InsertSector(level, {2, 0});
    EXPECT_EQ(inserted.refusal.kind, Refusal::Kind::Said);
    EXPECT_EQ(inserted.refusal.first, "LineDef #0 already has two SideDefs");
    EXPECT_EQ(InsertSector(level, {}).refusal.kind, Refusal::Kind::Missing);
    EXPECT_EQ(DrawLineDef(level, 1, 9).how, Drawn::Missing);   // no Vertex 9
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_EQ(Step(), "");
}

}  // namespace
