// Drawing on Freedoom's MAP01 through the editor's main loop (clicks, Enter,
// Ins, the right button, Esc and End), saving with F2, and playing the
// result: the nodes built by ZDBSP, the level started in Chocolate Doom.
#include "editor/line_drawing.h"
#include "editor_session.h"
#include "platform/files.h"
#include "support/game_kit.h"

namespace editor_test {
namespace {

constexpr int kSide = 768;     // the room drawn in free space
constexpr int kMargin = 128;   // kept clear of the map around it

// A corner (multiple of 64) of a free square of the map, shown whole in the
// view away from its edges: no LineDef near it, no Sector around it.
bool FindFreeSquare(int& x0, int& y0) {
    for (int y = view.mapMinY & ~63; y < view.mapMaxY; y += 64)
        for (int x = view.mapMinX & ~63; x < view.mapMaxX; x += 64) {
            int sx0 = MapToScreenX(x), sy0 = MapToScreenY(y + kSide);
            int sx1 = MapToScreenX(x + kSide), sy1 = MapToScreenY(y);
            if (sx0 < 20 || sy0 < 20 || sx1 > view.maxX - 20 || sy1 > view.maxY - 20)
                continue;
            bool clear = GetSectorAtPoint(level, x + kSide / 2, y + kSide / 2) < 0;
            for (int l = 0; clear && l < level.lineDefs.count; ++l)
                clear = !IsLineDefInside(l, x - kMargin, y - kMargin, x + kSide + kMargin,
                                         y + kSide + kMargin);
            if (clear) {
                x0 = x;
                y0 = y;
                return true;
            }
        }
    return false;
}

class LineDrawingSessionTest : public EditorSession {
protected:
    // The event with the pointer on each point: a left click, or Enter.
    static std::string AtEach(const Points& points, bool enter = false) {
        std::string script;
        for (const auto& p : points)
            script += (enter ? "move " : "click left ") + At(p.first, p.second) +
                      (enter ? "\nwait 0\nkey Enter\n" : "\n");
        return script;
    }
};

TEST_F(LineDrawingSessionTest, RoomsAndAPillarDrawnOnMap01PlayInTheGame) {
    // Snapping to a grid of 64, Sectors built: the corner of a free square
    // of the map as the view first shows it.
    config.gridSize = 64;
    config.gridSnap = 1;
    config.autoInsertSector = 1;
    ASSERT_EQ(Run("wait 0\n"), kScriptEnded);
    int x = 0, y = 0;
    ASSERT_TRUE(FindFreeSquare(x, y));
    const int sectors = level.sectors.count, lineDefs = level.lineDefs.count;

    // A room clockwise in free space (closed with Ins), a pillar
    // counter-clockwise inside it (placed with Enter, closed with the right
    // button), a room inside the room; then Esc ends the drawing, as End
    // does after Ins starts it again, and F2 saves (no node building: ZDBSP
    // does that below).
    std::string script =
        "key V\nkey Ins\n" +
        AtEach({{x, y}, {x, y + kSide}, {x + kSide, y + kSide}, {x + kSide, y}}) + "key Ins\n" +
        AtEach({{x + 128, y + 128}, {x + 256, y + 128}, {x + 256, y + 256}, {x + 128, y + 256}}, true) +
        "click right\nwait 0\n" +
        AtEach({{x + 384, y + 384}, {x + 384, y + 640}, {x + 640, y + 640}, {x + 640, y + 384}}) +
        "click right\nwait 0\nkey Esc\nwait 0\nkey Ins\nkey End\nwait 0\n"
        "key F2\ntype DRAWN\nkey Enter\nkey Esc\nwait 0\n";
    ASSERT_EQ(Run(script), kScriptEnded);
    EXPECT_FALSE(editor.lineDrawing);
    EXPECT_TRUE(testkit::ReferencesSound());

    // Two Sectors more: the room and the room inside it, joined to it by
    // two-sided walls; the pillar faces the room.
    ASSERT_EQ(level.sectors.count, sectors + 2);
    ASSERT_EQ(level.lineDefs.count, lineDefs + 12);
    ExpectWalls(lineDefs, 4, 1, sectors, -1);
    ExpectWalls(lineDefs + 4, 4, 1, sectors, -1);
    ExpectWalls(lineDefs + 8, 4, 4, sectors + 1, sectors);

    std::string saved = session->Dir().file("DRAWN.WAD");
    ASSERT_TRUE(FileExists(saved));
    if (!testkit::HaveGameAndNodeBuilder())
        GTEST_SKIP() << "Chocolate Doom or ZDBSP is not installed";
    std::string built = session->Dir().file("BUILT.WAD");
    ASSERT_TRUE(testkit::BuildNodes(saved, built, session->Dir().file("zdbsp.out")));
    testkit::ExpectGameStarts(session->Dir().path(), iwad, built, "1");
}

}  // namespace
}  // namespace editor_test
