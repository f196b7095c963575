// Line drawing with the real operations behind it: two points across a room
// split its Sector, and the quiet vertex check after a shape splits the wall
// a point was drawn on.
#include "editor/line_drawing.h"
#include "editor/line_drawing_driver.h"
#include "ops_fixture.h"

using drawkit::Click;
using drawkit::RightClick;

namespace {

class LineDrawingOpsTest : public OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        config.editMode = kObjVertex;
        config.gridSnap = 0;
        config.autoInsertSector = 1;
        SetScale(1.0f);
        CentreMapAt(200, 200);
        room = AddSector();
        AddRoom(0, 0, 400, 400, room);   // LineDefs 0..3: west, north, east, south
        ResetHistory();
    }
    void TearDown() override {
        EndLineDrawing();
        OpsTest::TearDown();
    }
    static int SectorOf(uint16_t side) { return ValidSideDef(side) ? level.sideDefs[side].sector : -1; }
    int room = -1;
};

TEST_F(LineDrawingOpsTest, TwoPointsAcrossARoomSplitItsSector) {
    session.ExactScript("wait 0\nkey Enter\n");   // the release; "Split Sector"
    InsertCommand();
    Click(0, 0);
    Click(400, 400);
    RightClick();
    EXPECT_EQ(Step(), "split Sector");
    ASSERT_EQ(level.sectors.count, 2);
    // The drawn LineDef gave way to the two-sided one across the room.
    ASSERT_EQ(level.lineDefs.count, 5);
    const LineDef& added = level.lineDefs[4];
    EXPECT_EQ(added.flags, 4);
    EXPECT_EQ(SectorOf(added.sideDef1), room);
    EXPECT_EQ(SectorOf(added.sideDef2), 1);
    EXPECT_TRUE(editor.lineDrawing);
    EXPECT_TRUE(ReferencesSound());
}

TEST_F(LineDrawingOpsTest, APointDrawnOnAWallSplitsTheWallWithoutAsking) {
    session.Script("");   // no question: only the release is polled
    config.autoInsertSector = 0;
    InsertCommand();
    Click(200, 0);     // on the south wall, (400,0) to (0,0)
    Click(200, 100);
    Click(300, 100);
    LineDrawingEvent(LineDrawingCommand::Escape);
    ASSERT_EQ(level.lineDefs.count, 7);
    int point = 4;
    EXPECT_EQ(level.lineDefs[3].start, 3);
    EXPECT_EQ(level.lineDefs[3].end, point);
    EXPECT_EQ(level.lineDefs[6].start, point);
    EXPECT_EQ(level.lineDefs[6].end, 0);
    EXPECT_EQ(SectorOf(level.lineDefs[6].sideDef1), room);
    EXPECT_TRUE(ReferencesSound());
}

}  // namespace
