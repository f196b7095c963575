// What the door and lift builders refuse, and the flips a door plans,
// asked of the model directly on the builders' small scenes.
#include <string>
#include <vector>

#include "edits/builders.h"
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
    DoorwayScene scene{};
};

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
        {{0, 1, 8, 9}, nullptr, 1, ""},                                              // a face missing
        {{0, 4, 8, 9}, [] { AddLineDef(AddVertex(20, 4), AddVertex(40, 10), AddSideDef(0)); }, -1,
         "LineDef 10 stands inside the door:"},
        {{0, 4, 8, 9}, [] { level.lineDefs[9].end = 999; }, 9, ""},
    };
    for (const auto& c : cases) {
        mapkit::ClearMap();
        AddDoorway(0, 0);
        if (c.spoil)
            c.spoil();
        ResetHistory();
        std::string before = LevelArrayBytes();
        SelectionList list = ListOf(c.lineDefs);
        edits::DoorPlan plan = edits::PlanDoor(list);
        EXPECT_EQ(plan.loose, c.loose) << c.first;
        EXPECT_EQ(plan.refusal.first, c.first);
        EXPECT_FALSE(plan.ready());
        EXPECT_TRUE(edits::MakeDoor(list, plan).refusal.refused());
        EXPECT_EQ(LevelArrayBytes(), before) << c.first;
        EXPECT_EQ(Step(), "") << c.first;
        ForgetSelection(list);
    }
}

// A face drawn the wrong way round is named in the plan; the door built on
// the plan flips it first, all in one step.
TEST_F(BuilderEditsTest, ADoorPlanFlipsAFaceRunningTheWrongWay) {
    level.lineDefs[0].sideDef2 = static_cast<uint16_t>(AddOpenSide(scene.way));
    std::swap(level.lineDefs[0].start, level.lineDefs[0].end);
    std::swap(level.lineDefs[0].sideDef1, level.lineDefs[0].sideDef2);
    ResetHistory();
    SelectionList list = ListOf({0, 4, 8, 9});
    edits::DoorPlan plan = edits::PlanDoor(list);
    ASSERT_TRUE(plan.ready());
    EXPECT_EQ(plan.flips, std::vector<int>{0});
    EXPECT_EQ(plan.question, "LineDef 0 runs clockwise round the door; a face runs counter-clockwise");
    EXPECT_EQ(plan.question2, "Flip LineDef 0 and make the door?");
    EXPECT_FALSE(edits::MakeDoor(list, plan).refusal.refused());
    EXPECT_EQ(SectorOf(level.lineDefs[0].sideDef1), scene.south);
    EXPECT_EQ(Step(), "make a door");
    ForgetSelection(list);
}

TEST_F(BuilderEditsTest, ALiftNeedsANeighbour) {
    mapkit::ClearMap();
    int alone = AddSector();
    AddRoom(0, 0, 64, 64, alone);
    ResetHistory();
    std::string before = LevelArrayBytes();
    edits::Refusal refusal = edits::MakeLift(alone);
    EXPECT_EQ(refusal.second, "at least one other Sector.");
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_EQ(edits::MakeLift(7).kind, edits::Refusal::Kind::Missing);
}

}  // namespace
