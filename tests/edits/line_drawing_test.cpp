// The Sector Ins builds on LineDefs, asked of the model directly on the
// room, with its refusals and steps. The shapes drawn are tested with the
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
