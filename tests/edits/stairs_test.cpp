// The stair builder's edit asked directly, with the user's choices given,
// on the corridor scene: what it refuses, and stairs going down.
#include <string>
#include <vector>

#include "edits/stairs.h"
#include "edits_fixture.h"
#include "support/builder_scenes.h"

namespace {

class StairEditsTest : public EditsTest {
protected:
    // The corridor at the origin: LineDefs 1 and 5 face each other.
    void Corridor() {
        mapkit::ClearMap();
        corridor = AddCorridor(0, 0, false);
    }
    int corridor = -1;
};

// Each refusal says what is wrong and changes nothing, whether the plan or
// the build refuses.
TEST_F(StairEditsTest, RefusalsSayWhyAndChangeNothing) {
    const struct {
        std::vector<int> lineDefs;
        void (*spoil)(int corridor);
        int steps;
        const char* first;
    } cases[] = {
        {{1}, nullptr, 3, "You have 1 LineDefs selected"},
        {{5, 1}, [](int) { level.lineDefs[1].end = 999; }, 3, "The 2 LineDefs do not share"},
        {{5, 1}, [](int c) { AddLineDef(AddVertex(10, 128), AddVertex(50, 128), AddSideDef(c)); }, 3,
         "LineDef 8 lies between the 2 LineDefs:"},
        {{5, 1}, nullptr, 64, "Steps are too small 2"},   // 128 units in 64 steps
        {{5, 1}, nullptr, 0, "Steps are too small 0"},
    };
    for (const auto& c : cases) {
        Corridor();
        if (c.spoil)
            c.spoil(corridor);
        ResetHistory();
        const std::string before = LevelArrayBytes();
        SelectionList list;
        for (int l : c.lineDefs)
            SelectObject(list, l);
        edits::Refusal refusal = edits::MakeStairs(list, edits::PlanStairs(list), {c.steps, 16, false});
        EXPECT_EQ(refusal.first, c.first);
        EXPECT_EQ(refusal.kind, edits::Refusal::Kind::Said) << c.first;
        EXPECT_EQ(LevelArrayBytes(), before) << c.first;
        EXPECT_EQ(Step(), "") << c.first;
        ForgetSelection(list);
    }
}

// A negative height builds the steps downwards, each one lower than the
// last, to a landing lower still; undone, the corridor is as it was.
TEST_F(StairEditsTest, StairsGoDownWithANegativeHeightInOneStep) {
    Corridor();
    ResetHistory();
    const std::string before = LevelArrayBytes();
    SelectionList list = ListOf({5, 1});
    edits::StairPlan plan = edits::PlanStairs(list);
    ASSERT_FALSE(plan.refusal.refused());
    EXPECT_EQ(plan.sector, corridor);
    EXPECT_FALSE(edits::MakeStairs(list, plan, {3, -16, false}).refused());
    std::vector<int> floors;
    for (const Sector& s : level.sectors)
        floors.push_back(s.floorHeight);
    EXPECT_EQ(floors, (std::vector<int>{0, -16, -32, -48, -64}));
    EXPECT_TRUE(ReferencesSound());
    EXPECT_EQ(Step(), "make 3 stairs");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(LevelArrayBytes(), before);
    ForgetSelection(list);
}

}  // namespace
