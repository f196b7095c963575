// Turning and scaling the selection: the interactive operation driven by
// keys and the mouse with its accept, cancel and undo. The placing itself,
// and the refusal of an edit past the limits, are tested with the model's
// edits.

#include "ops/rotate_scale.h"
#include "ops_fixture.h"

namespace {



// Scaled down 30 times in small steps: below nothing.
const std::string kShrink = "key Space\ntype " + std::string(30, '-') + "\n";

class RotateScaleTest : public OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        rotateScaleSteps = RotateScaleSteps{};
    }
    // Runs the operation on the selection with the keys given, one per line.
    void Run(const std::string& script, int mode) {
        session.Script(script);
        RotateScaleObjects(mode, selection.list);
    }
};

TEST_F(RotateScaleTest, KeysTurnAndScaleUntilAcceptedAsOneStepThenTheVertexCheck) {
    TwoRooms();
    config.editMode = kObjLineDef;
    selection.list = ListOf({4, 5, 6, 7});   // the inner room
    std::string before = Checkpoint();
    // Large steps: scale 1.08 about (100, 100) takes the inner room's corners
    // 54 units out from the centre.
    Run("key Space\nkey +\nkey =\nkey Enter\n", kObjLineDef);
    // The outer room stays; 54 out either way, as on the far corner.
    EXPECT_EQ(Places(level.vertices), (std::vector<Point>{{0, 0}, {0, 200}, {200, 200}, {200, 0},
                                                          {46, 46}, {46, 154}, {154, 154}, {154, 46}}));
    EXPECT_EQ(rotateScaleSteps.scale, 0.04);   // the large steps last
    EXPECT_TRUE(ReferencesSound());
    EXPECT_EQ(Step(), "rotate and scale 4 LineDefs");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(LevelArrayBytes(), before);

    // The inner room's two west corners scaled to nothing land on each
    // other: the check merges them (the user agrees).
    rotateScaleSteps = RotateScaleSteps{};
    config.editMode = kObjVertex;
    selection.list = ListOf({4, 5});
    Run(kShrink + "key Enter\ntype YYYYY\n", kObjVertex);
    EXPECT_LT(level.vertices.count, 8);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(RotateScaleTest, CancelPutsEverythingBack) {
    struct Case {
        const char* name;
        std::string script;
    } cases[] = {
        {"Esc after turns and scaling", "key ,\nkey <\nkey -\nkey Space\nkey .\nkey +\nkey Esc\n"},
        {"right button", "key ,\nkey ,\nclick right 5 5\n"},
        {"shrunk below nothing", kShrink + "key Esc\n"},
    };
    for (const Case& c : cases) {
        mapkit::ClearMap();
        for (auto [x, y] : {std::pair{0, 0}, {100, 40}, {-70, 300}})
            AddThing(x, y);
        config.editMode = kObjThing;
        selection.list = ListOf({0, 1, 2});   // every Thing
        std::string before = Checkpoint();
        Run(c.script, kObjThing);
        EXPECT_EQ(LevelArrayBytes(), before) << c.name;
        EXPECT_EQ(Step(), "") << c.name;
        EXPECT_EQ(moveState.list.size(), 0) << c.name;
    }
}

}  // namespace
