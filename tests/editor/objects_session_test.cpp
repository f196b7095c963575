// Deleting, copying and dragging on Freedoom's MAP01 through the editor's
// main loop: keys, the mouse, the delete question, the drag steps of the
// loop, and a level whose every reference stays sound.
#include <set>
#include <utility>

#include "editor/objects.h"
#include "editor_session.h"
#include "support/reference_check.h"

namespace editor_test {
namespace {

using ObjectsSessionTest = EditorSession;

struct Counts {
    int32_t lineDefs, sideDefs, vertexes, sectors;
    Counts()
        : lineDefs(level.lineDefs.count), sideDefs(level.sideDefs.count),
          vertexes(level.vertices.count), sectors(level.sectors.count) {}
};

TEST_F(ObjectsSessionTest, DragDeleteAndCopyThroughTheMainLoop) {
    config.gridSize = 0;   // moves by exactly what the pointer went
    ASSERT_EQ(Run("wait 0\n"), kScriptEnded);
    Counts start;
    std::vector<Vertex> before(level.vertices.begin(), level.vertices.end());
    const std::string centre = std::to_string(view.CenterX) + " " +
                               std::to_string(view.CenterY + kMenuBarHeight);
    const std::string east = std::to_string(view.CenterX + 32) + " " +
                             std::to_string(view.CenterY + kMenuBarHeight);

    // Vertexes mode: N brings Vertex 1 to the centre, under the pointer; 1
    // zooms to scale 1 around it; a click selects it, D starts the drag, the
    // loop follows the pointer 32 pixels (32 map units) east, D ends it.
    ASSERT_EQ(Run("key V\nkey N\nkey 1\nclick left " + centre + "\nwait 0\nwait 0\nkey D\nmove " +
                  east + "\nwait 0\nwait 0\nkey D\nwait 0\n"),
              kScriptEnded);
    EXPECT_EQ(view.Scale, 1.0f);
    EXPECT_FALSE(editor.dragging);
    ASSERT_EQ(Numbers(selection.list), (std::vector<int>{1}));
    for (int n = 0; n < level.vertices.count; ++n) {
        int dx = n == 1 ? 32 : 0;
        ASSERT_EQ(level.vertices[n].x, before[static_cast<size_t>(n)].x + dx) << n;
        ASSERT_EQ(level.vertices[n].y, before[static_cast<size_t>(n)].y) << n;
    }
    EXPECT_TRUE(level.mapChanged);
    EXPECT_TRUE(testkit::ReferencesSound());

    // LineDefs mode: N highlights one; Del asks, Del confirms.
    ASSERT_EQ(Run("key L\nkey N\nkey Del\nkey Del\nwait 0\n"), kScriptEnded);
    Counts deleted;
    EXPECT_EQ(deleted.lineDefs, start.lineDefs - 1);
    EXPECT_LT(deleted.sideDefs, start.sideDefs);
    EXPECT_EQ(deleted.vertexes, start.vertexes);
    EXPECT_EQ(selection.current, -1);
    EXPECT_TRUE(testkit::ReferencesSound());
    // Esc answers no.
    ASSERT_EQ(Run("key L\nkey N\nkey Del\nkey Esc\nwait 0\n"), kScriptEnded);
    EXPECT_EQ(level.lineDefs.count, start.lineDefs);

    // Sectors mode: N highlights one; O copies it in place, the right button
    // drags the copy away and puts it down.
    std::string away = std::to_string(view.CenterX + 60) + " " +
                       std::to_string(view.CenterY + kMenuBarHeight);
    ASSERT_EQ(Run("key S\nkey N\nkey O\nclick right " + centre + "\n" + kIdle + "move " + away +
                  "\nwait 0\nwait 0\nclick right\n" + kIdle),
              kScriptEnded);
    Counts copied;
    EXPECT_EQ(copied.sectors, start.sectors + 1);
    EXPECT_GT(copied.lineDefs, start.lineDefs);
    EXPECT_GT(copied.vertexes, start.vertexes);
    EXPECT_FALSE(editor.dragging);
    int copy = start.sectors;   // the new Sector faces the new SideDefs only
    for (int s = 0; s < start.sideDefs; ++s)
        EXPECT_NE(level.sideDefs[s].sector, copy);
    // Every new Vertex lies the pointer's way east of an old one.
    int d = ScreenToMapX(view.CenterX + 60) - ScreenToMapX(view.CenterX);
    std::set<std::pair<int, int>> old;
    for (int n = 0; n < start.vertexes; ++n)
        old.insert({level.vertices[n].x, level.vertices[n].y});
    for (int n = start.vertexes; n < copied.vertexes; ++n)
        EXPECT_TRUE(old.count({level.vertices[n].x - d, level.vertices[n].y})) << n;
    EXPECT_TRUE(testkit::ReferencesSound());
}

}  // namespace
}  // namespace editor_test
