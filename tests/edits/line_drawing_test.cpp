// The edits line drawing makes, asked of the model directly on the room:
// the LineDef joining two points and the Sector Ins builds on LineDefs,
// with their refusals and steps. The shapes drawn are tested with the
// drawing (tests/editor).
#include <string>
#include <vector>

#include "edits/line_drawing.h"
#include "edits_fixture.h"

namespace {

using namespace edits;

class LineDrawingEditsTest : public EditsTest {
protected:
    void SetUp() override {
        EditsTest::SetUp();
        Room();
        ResetHistory();
    }
};

TEST_F(LineDrawingEditsTest, PointsAreJoinedByTheLineDefThereOrANewOne) {
    const struct {
        int from, to;
        Drawn how;
        int lineDef;
        const char* step;
    } cases[] = {
        {0, 2, Drawn::New, 4, "draw 1 LineDef"},   // across the room
        {0, 1, Drawn::Existing, 0, ""},            // the west wall, either way
        {1, 0, Drawn::Existing, 0, ""},
        {1, 1, Drawn::Missing, -1, ""},
        {1, 9, Drawn::Missing, -1, ""},
    };
    for (const auto& c : cases) {
        SetUp();
        DrawnLine line = DrawLineDef(level, c.from, c.to);
        EXPECT_EQ(line.how, c.how) << c.from << "-" << c.to;
        EXPECT_EQ(line.lineDef, c.lineDef) << c.from << "-" << c.to;
        EXPECT_EQ(Step(), c.step);
        if (c.how == Drawn::New) {
            const LineDef& made = level.lineDefs[c.lineDef];
            EXPECT_TRUE(made.start == c.from && made.end == c.to && made.sideDef1 == kNoReference);
        }
    }
    EXPECT_EQ(DrawVertex(level, 50, 60), 4);
    EXPECT_EQ(Step(), "draw Vertex");
}

// Ins in LineDefs mode: a new Sector; a LineDef with a first side becomes
// two-sided onto it; one with two sides is refused. A number that names no
// LineDef is skipped, never followed.
TEST_F(LineDrawingEditsTest, InsertingASectorOnLineDefs) {
    for (const std::vector<int>& lineDefs : {std::vector<int>{0, 1}, {0, 1, 4}}) {
        SetUp();
        SectorInserted inserted = InsertSector(level, lineDefs);
        EXPECT_FALSE(inserted.refusal.refused());
        EXPECT_EQ(inserted.built.sector, 1);
        EXPECT_EQ(SectorOf(level.lineDefs[0].sideDef1), 0);
        EXPECT_EQ(SectorOf(level.lineDefs[0].sideDef2), 1);
        EXPECT_EQ(level.sideDefs.count, 6);
        EXPECT_EQ(Step(), "insert Sector");
        EXPECT_TRUE(ReferencesSound());
    }

    SectorInserted inserted;

    const std::string before = LevelArrayBytes();
    inserted = InsertSector(level, {2, 0});
    EXPECT_EQ(inserted.refusal.kind, Refusal::Kind::Said);
    EXPECT_EQ(inserted.refusal.first, "LineDef #0 already has two SideDefs");
    EXPECT_EQ(InsertSector(level, {}).refusal.kind, Refusal::Kind::Missing);
    EXPECT_EQ(LevelArrayBytes(), before);
    EXPECT_EQ(Step(), "");
}

}  // namespace
