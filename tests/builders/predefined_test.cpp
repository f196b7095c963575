// Predefined shapes from the menu: the point clicked, the sizes asked and
// remembered, the placement rules and the boxes. What the shapes are made
// of is the model's (tests/edits).

#include "builders/predefined.h"
#include "ops/ops_fixture.h"

namespace {

// The menu in a room (0,0)-(1024,1024), floor 8, ceiling 136.
class PredefinedTest : public OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        predefinedSizes = PredefinedSizes{};
        room = AddSector(0, 0, 8, 136);
        AddRoom(0, 0, 1024, 1024, room);
        ResetHistory();
    }
    Point VertexOf(int v) { return {level.vertices[v].x, level.vertices[v].y}; }
    // The map point's place on the screen, as a script line.
    std::string ClickAt(int x, int y) {
        return "click left " + std::to_string(MapToScreenX(x)) + " " +
               std::to_string(MapToScreenY(y) + MapAreaTop()) + "\n";
    }
    std::string Snap(size_t i) const { return "snapshot " + Shot(i) + "\n"; }
    // A new value typed into a number field, and on to the next field.
    static std::string Entry(int value) {
        return "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\nkey Backspace\ntype " +
               std::to_string(value) + "\nkey Enter\n";
    }
    // Expects one undo step of the name that takes the level back.
    void ExpectOneStep(const std::string& before, const std::string& label) {
        EXPECT_TRUE(ReferencesSound());
        EXPECT_EQ(Step(), label);
        ASSERT_TRUE(Undo());
        EXPECT_TRUE(LevelArrayBytes() == before);
    }
    int room = -1;
};

// A room outside the Sector takes the remembered sizes.
TEST_F(PredefinedTest, TheMenuPlacesARoomOutsideWithTheRememberedSizes) {
    std::string before = LevelArrayBytes();
    session.Script("key 1\n" + ClickAt(-800, -800) + "key Enter\nkey Enter\n");
    EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
    ASSERT_EQ(level.sectors.count, 2);
    int v = level.vertices.count - 4;
    Point corner = VertexOf(v);
    EXPECT_EQ(VertexOf(v + 2), (Point{corner.x + 256, corner.y + 128}));
    EXPECT_NEAR(corner.x, -800, 16);
    ExpectOneStep(before, "insert a rectangular room");
}

TEST_F(PredefinedTest, TheEntryIsAskedAgainUntilTheStepsFit) {
    std::string before = LevelArrayBytes();
    // Nine steps of 16 are too high; a floor of -1000 too deep; nine steps
    // of 14, 64 wide, fit.
    session.Script("key 6\n" + ClickAt(200, 200) + "key Enter\n" +                    //
                   "key Enter\nkey Enter\n" + Entry(9) + "key Enter\nkey Enter\nkey Enter\n" + Snap(0) +
                   "key Enter\n" + Entry(-1000) + "key Enter\nkey Enter\nkey Enter\nkey Enter\nkey Enter\n" +
                   Snap(1) + "key Enter\n" + Entry(8) + "key Enter\nkey Enter\n" + Entry(14) + Entry(64) +
                   "key Enter\n");
    answers = 2;
    EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
    EXPECT_TRUE(Showed(0, "The stairs are too high for sector"));
    EXPECT_TRUE(Showed(1, "The maximum difference (ceiling - floor)= 1023"));
    ASSERT_EQ(level.sectors.count, 1 + 9);
    for (int k = 1; k <= 9; ++k) {
        EXPECT_EQ(level.sectors[k].floorHeight, 8 + 14 * k);
        EXPECT_EQ(level.sectors[k].ceilingHeight, 136);
    }
    Point bottom = VertexOf(4), top = VertexOf(level.vertices.count - 1);
    EXPECT_EQ(top, (Point{bottom.x + 64, bottom.y + 9 * 32}));
    EXPECT_NEAR(bottom.x, 200, 16);
    ExpectOneStep(before, "insert stairs");
}

// Each box the menu shows on the way, photographed before it is answered;
// cancelled, nothing is made.
TEST_F(PredefinedTest, TheMenuSaysWhereAndWhat) {
    struct Case {
        const char* name;
        std::string item;
        Point at;
        std::vector<std::string> texts;   // one a box, from the second box on
    } cases[] = {
        {"a room inside", "1", {200, 200}, {"You need to be outside a Sector."}},
        {"an object outside", "2", {-500, -500}, {"inside a Sector!"}},
        {"stairs as a room", "5", {200, 200}, {"created in Sector 0", "Move the stairs outside"}},
    };
    std::string before = LevelArrayBytes();
    for (const Case& c : cases) {
        std::string script = "key " + c.item + "\n" + Snap(0) + ClickAt(c.at.x, c.at.y) + "wait 0\n";
        for (size_t i = 0; i < c.texts.size(); ++i)
            script += Snap(i + 1) + "key Enter\n";
        session.Script(script + "key Esc\n");
        answers = c.texts.size() + 1;
        EXPECT_EQ(PredefinedObjectMenu(10, 20), 0);
        EXPECT_TRUE(Showed(0, "LineDefs for older DOOM")) << c.name;   // the insertion point's box
        for (size_t i = 0; i < c.texts.size(); ++i)
            EXPECT_TRUE(Showed(i + 1, c.texts[i])) << c.name << " " << c.texts[i];
        EXPECT_TRUE(LevelArrayBytes() == before) << c.name;
    }
}

}  // namespace
