// The stair builder's edit asked directly, with the user's choices given:
// the steps and the landing on the corridor scene, reversed or going down.
// The refusals are asked through the builder (tests/builders).
#include <string>
#include <vector>

#include "edits/level_geometry.h"
#include "edits/stairs.h"
#include "edits_fixture.h"
#include "support/builder_scenes.h"

namespace {

class StairEditsTest : public EditsTest {
protected:
    // The corridor at the origin: LineDefs 1 and 5 face each other (or run
    // the same way).
    void Corridor(bool sameWay = false) {
        mapkit::ClearMap();
        corridor = AddCorridor(0, 0, sameWay);
        ResetHistory();
    }
    // The stairs between the LineDefs (the last listed is the head); keeps
    // the list the edit made.
    edits::Refusal Build(std::initializer_list<int> lineDefs, edits::StairChoice choice) {
        SelectionList list = ListOf(lineDefs);
        edits::Refusal refusal = edits::MakeStairs(level, list, edits::PlanStairs(level, list), choice);
        made.assign(list.begin(), list.end());
        ForgetSelection(list);
        return refusal;
    }
    static int SectorAt(int lineDef, int side) {
        const LineDef& ld = level.lineDefs[lineDef];
        return level.sideDefs[side == 1 ? ld.sideDef1 : ld.sideDef2].sector;
    }
    static int FloorAt(int lineDef, int side) { return level.sectors[SectorAt(lineDef, side)].floorHeight; }
    static std::vector<int> Heights(int16_t Sector::*height) {
        std::vector<int> out;
        for (const Sector& s : level.sectors)
            out.push_back(s.*height);
        return out;
    }
    int corridor = -1;
    std::vector<int> made;
};

// Four steps and the landing, whichever way the walls run; the end wall
// beyond the top joins the landing, the other stays with the corridor;
// both walls run up the steps.
TEST_F(StairEditsTest, StepsRiseOneHeightEachToALanding) {
    for (bool sameWay : {false, true}) {
        Corridor(sameWay);
        std::string before = LevelArrayBytes();
        ASSERT_FALSE(Build({5, 1}, {4, 16, false}).refused());
        EXPECT_EQ(Heights(&Sector::floorHeight), (std::vector<int>{0, 16, 32, 48, 64, 80})) << sameWay;
        EXPECT_EQ(Heights(&Sector::ceilingHeight), (std::vector<int>{128, 128, 128, 128, 128, 208})) << sameWay;
        int top = sameWay ? 7 : 3, bottom = sameWay ? 3 : 7;
        EXPECT_EQ((std::vector<int>{FloorAt(top, 1), FloorAt(bottom, 1), FloorAt(1, 1)}),
                  (std::vector<int>{80, 0, sameWay ? 64 : 16})) << sameWay;
        EXPECT_EQ(made.size(), 4u * 2 + 5);
        EXPECT_TRUE(ReferencesSound());
        EXPECT_EQ(Step(), "make 4 stairs");
        ASSERT_TRUE(Undo());
        EXPECT_EQ(LevelArrayBytes(), before);
    }
    // A plan refused, or no steps at all (the box asks for 2 or more), and
    // nothing is built.
    EXPECT_EQ(Build({1}, {4, 16, false}).first, "You have 1 LineDefs selected");
    EXPECT_EQ(Build({5, 1}, {0, 16, false}).first, "Steps are too small 0");
    EXPECT_EQ(Step(), "");
}

// The bottom riser joins the west wall's start (Vertex 1) and the east
// wall's end (Vertex 6); reversed, or going down, it runs from east to
// west.
TEST_F(StairEditsTest, ReversingTurnsTheRisersAndSoDoesGoingDown) {
    struct Case {
        bool reversed;
        int height;
        bool turned;
    } cases[] = {{false, 16, false}, {true, 16, true}, {true, -16, false}, {false, -16, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.reversed) + " " + std::to_string(c.height));
        Corridor();
        Build({5, 1}, {3, c.height, c.reversed});
        int riser = LineDefJoining(level, 1, 6), firstStep = corridor + 1;
        ASSERT_GE(riser, 0);
        EXPECT_EQ(level.lineDefs[riser].start, c.turned ? 6 : 1);
        EXPECT_EQ(SectorAt(riser, 1), c.turned ? firstStep : corridor);
        EXPECT_EQ(Heights(&Sector::floorHeight),
                  (std::vector<int>{0, c.height, 2 * c.height, 3 * c.height, 4 * c.height}));
    }
}

}  // namespace
