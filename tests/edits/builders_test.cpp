// The door, lift, distribution and stair builders asked of the model
// directly on the builders' small scenes, with the user's choices given:
// what they build, what they refuse (changing nothing), the flip a door
// plans, and undo giving the level back.
#include <string>
#include <vector>

#include "edits/builders.h"
#include "edits/level_geometry.h"
#include "edits/stairs.h"
#include "edits_fixture.h"
#include "support/builder_scenes.h"

namespace {

class BuilderEditsTest : public EditsTest {
protected:
    void SetUp() override {
        EditsTest::SetUp();
        scene = AddDoorway(0, 0);   // faces 0 and 4, edges 8 and 9
        ResetHistory();
    }
    // Expects the edit to have made one undo step that takes the level back.
    static void ExpectOneStep(const std::string& before, const std::string& label) {
        EXPECT_TRUE(ReferencesSound());
        ASSERT_EQ(Step(), label);
        ASSERT_TRUE(Undo());
        EXPECT_EQ(LevelArrayBytes(), before);
    }
    DoorwayScene scene{};
};

// The doorway with its south face drawn the wrong way round: the plan names
// the flip, and the door built on it flips the face first, all in one step.
TEST_F(BuilderEditsTest, FourLineDefsBecomeAClosedDoor) {
    level.lineDefs[0].sideDef2 = static_cast<uint16_t>(AddOpenSide(scene.way));
    std::swap(level.lineDefs[0].start, level.lineDefs[0].end);
    std::swap(level.lineDefs[0].sideDef1, level.lineDefs[0].sideDef2);
    std::string before = Checkpoint();
    SelectionList list = ListOf({9, 0, 8, 4});
    edits::DoorPlan plan = edits::PlanDoor(level, list);
    ASSERT_TRUE(plan.ready());
    EXPECT_EQ(plan.flips, std::vector<int>{0});   // the question is the door's box (tests/builders)
    EXPECT_FALSE(edits::MakeDoor(level, list, plan).refusal.refused());
    ForgetSelection(list);
    const Sector& door = level.sectors[scene.way];
    EXPECT_EQ((std::vector<int>{door.floorHeight, door.ceilingHeight}), (std::vector<int>{8, 8}));
    for (int face : {0, 4}) {
        const LineDef& ld = level.lineDefs[face];
        EXPECT_EQ((std::vector<int>{ld.type, ld.flags, SectorOf(ld.sideDef2)}), (std::vector<int>{1, 4, scene.way}));
        EXPECT_EQ(Name(level.sideDefs[ld.sideDef1].upper), config.textureDoor);
    }
    for (int edge : {8, 9}) {
        EXPECT_EQ(level.lineDefs[edge].flags, 0x11);
        EXPECT_EQ(Name(level.sideDefs[level.lineDefs[edge].sideDef1].middle), config.textureDoorTrack);
    }
    EXPECT_TRUE(testkit::LevelValid());
    ExpectOneStep(before, "make a door");
}

// Each refusal names what is wrong and changes nothing; a LineDef without
// both ends, or one that does not meet two others, is named as loose.
TEST_F(BuilderEditsTest, DoorPlansRefuseWhatDoesNotCloseADoorway) {
    const struct {
        std::initializer_list<int> lineDefs;
        void (*spoil)();
        int loose;
        const char* first;
    } cases[] = {
        {{0, 1, 2, 3}, nullptr, -1, "LineDef 3 is a wall with nothing beyond it:"},   // a room's sides
        {{0, 4, 8}, nullptr, -1, "You have 3 LineDefs selected"},
        {{0, 4, 8, 9}, [] { AddLineDef(AddVertex(20, 4), AddVertex(40, 10), AddSideDef(0)); }, -1,
         "LineDef 10 stands inside the door:"},
        {{0, 4, 8, 9}, [] { level.lineDefs[9].end = 999; }, 9, ""},
    };
    for (const auto& c : cases) {
        mapkit::ClearMap();
        AddDoorway(0, 0);
        if (c.spoil)
            c.spoil();
        std::string before = Checkpoint();
        SelectionList list = ListOf(c.lineDefs);
        edits::DoorPlan plan = edits::PlanDoor(level, list);
        EXPECT_EQ(plan.loose, c.loose) << c.first;
        EXPECT_EQ(plan.refusal.first, c.first);
        EXPECT_FALSE(plan.ready());
        EXPECT_TRUE(edits::MakeDoor(level, list, plan).refusal.refused());
        EXPECT_EQ(LevelArrayBytes(), before) << c.first;
        EXPECT_EQ(Step(), "") << c.first;
        ForgetSelection(list);
    }
}

// The lift scene, tags 1 and 5 taken: the lift rises to its high neighbour
// with room above; the low border lowers it to the low room, the high one
// is walked over from the high room (flipped back to face it).
TEST_F(BuilderEditsTest, TheSectorBecomesALiftDownToItsLowestNeighbour) {
    mapkit::ClearMap();
    LiftScene lift = AddLiftScene(0, 0);
    level.lineDefs[0].tag = 1;
    level.sectors[lift.high].tag = 5;
    std::string before = Checkpoint();
    EXPECT_FALSE(edits::MakeLift(level, lift.lift).refused());
    const Sector& s = level.sectors[lift.lift];
    EXPECT_EQ((std::vector<int>{s.floorHeight, s.ceilingHeight, s.tag}), (std::vector<int>{64, 120, 2}));
    const LineDef &low = level.lineDefs[0], &high = level.lineDefs[2];
    EXPECT_EQ((std::vector<int>{low.type, low.tag, high.type, high.tag}), (std::vector<int>{62, 2, 88, 2}));
    EXPECT_EQ((std::vector<int>{SectorOf(low.sideDef1), SectorOf(low.sideDef2)}), (std::vector<int>{lift.low, lift.lift}));
    EXPECT_EQ(Name(level.sideDefs[low.sideDef1].lower), config.textureLift);
    for (int wall : {1, 3}) {
        EXPECT_EQ(level.lineDefs[wall].flags, 1);
        EXPECT_EQ(Name(level.sideDefs[level.lineDefs[wall].sideDef1].upper), "-");
    }
    // The low room's ceiling is above the lift's: its side shows a wall.
    EXPECT_EQ(testkit::FaultLines(testkit::MissingVisibleTextures()), "0 faults:");
    ExpectOneStep(before, "make a lift");

    Room();   // one Sector alone
    before = Checkpoint();
    EXPECT_EQ(edits::MakeLift(level, 0).second, "at least one other Sector.");
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_EQ(edits::MakeLift(level, 7).kind, edits::Refusal::Kind::Missing);
}

TEST_F(BuilderEditsTest, ValuesAreSpreadEvenlyAlongTheList) {
    using edits::SectorValue;
    struct Case {
        SectorValue value;
        int16_t Sector::*field;
        std::vector<int> values;   // in list order (newest first)
        std::vector<int> expected;
        const char* step;
    } cases[] = {
        {SectorValue::Floor, &Sector::floorHeight, {0, 999, 100}, {0, 50, 100}, "distribute floor heights"},
        {SectorValue::Ceiling, &Sector::ceilingHeight, {128, 0, 0, -128}, {128, 43, -42, -128},
         "distribute ceiling heights"},
        {SectorValue::Light, &Sector::light, {255, 7, 96}, {96, 175, 255}, "distribute lighting"},
        {SectorValue::Floor, &Sector::floorHeight, {0, 100}, {0, 100}, ""},   // two are not enough
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        for (int value : c.values)
            level.sectors[AddSector()].*c.field = static_cast<int16_t>(value);
        SelectionList list;
        for (int k = level.sectors.count; k-- > 0;)
            SelectObject(list, k);   // Sector 0 newest
        std::string before = Checkpoint();
        edits::DistributeSectorValue(level, list, c.value);
        for (size_t k = 0; k < c.values.size(); ++k)
            EXPECT_EQ(level.sectors[static_cast<int>(k)].*c.field, c.expected[k]) << c.step << " " << k;
        if (*c.step)
            ExpectOneStep(before, c.step);
        else
            EXPECT_EQ(Step(), "");
        ForgetSelection(list);
    }
}

// --- Stairs: the steps and the landing on the corridor scene, reversed or
// going down. The refusals are asked through the builder (tests/builders).

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
    // The Sector in front of the LineDef, and its floor.
    static int FrontOf(int lineDef) { return SectorOf(level.lineDefs[lineDef].sideDef1); }
    static int FloorAt(int lineDef) { return level.sectors[FrontOf(lineDef)].floorHeight; }
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
        EXPECT_EQ((std::vector<int>{FloorAt(top), FloorAt(bottom), FloorAt(1)}),
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
        EXPECT_EQ(FrontOf(riser), c.turned ? firstStep : corridor);
        EXPECT_EQ(Heights(&Sector::floorHeight),
                  (std::vector<int>{0, c.height, 2 * c.height, 3 * c.height, 4 * c.height}));
    }
}

}  // namespace
