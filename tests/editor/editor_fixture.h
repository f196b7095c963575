// What the editor tests share: a fresh configuration, level, view and
// selection, the two-room map most geometry tests use, and a headless screen
// for the tests that draw.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/info_panels.h"
#include "editor/map_draw.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/history.h"
#include "level/level.h"
#include "level/level_files.h"
#include "platform/video.h"
#include "base/config.h"
#include "base/flavour.h"
#include "support/session_kit.h"
#include "support/map_kit.h"
#include "support/program_state.h"
#include "support/level_validity.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "wad/master.h"

using namespace mapkit;
using testkit::ReferencesSound;

using Pixels = std::vector<uint8_t>;
// Map points, in the order drawn.
using Points = std::vector<std::pair<int, int>>;

inline Pixels ScreenPixels() {
    const Canvas& s = Screen();
    return Pixels(s.pixels(), s.pixels() + s.width() * s.height());
}

inline std::vector<int> Numbers(const SelectionList& list) {
    return std::vector<int>(list.begin(), list.end());
}

// Whether two records hold the same bytes.
template <typename T>
bool SameRecord(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

// A list selected in the order given: the last number is its head.
inline SelectionList ListOf(const std::vector<int>& oldestFirst) {
    SelectionList list;
    for (int n : oldestFirst)
        SelectObject(list, n);
    return list;
}

// Makes the listed objects the selection, the last one its head and the
// highlighted object.
inline void Select(const std::vector<int>& oldestFirst) {
    ForgetSelection(selection.list);
    selection.list = ListOf(oldestFirst);
    selection.current = selection.list.empty() ? -1 : selection.list.head();
}

// How many Vertexes, LineDefs, SideDefs and Sectors the level holds.
inline std::vector<int> MapCounts() {
    return {level.vertices.count, level.lineDefs.count, level.sideDefs.count, level.sectors.count};
}

// The name of the undo step made since the last one, "" when nothing changed.
inline std::string Step() { return RecordStep() ? UndoLabel() : ""; }

// The Sector a SideDef faces; -1 for a missing SideDef.
inline int SectorOf(uint16_t side) { return ValidSideDef(side) ? level.sideDefs[side].sector : -1; }

// LineDefs first .. first + count - 1 have the flags, and their sides face
// the Sectors front and back (-1: no side).
inline void ExpectWalls(int first, int count, int flags, int front, int back) {
    for (int l = first; l < first + count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        EXPECT_EQ(ld.flags, flags) << "LineDef " << l;
        EXPECT_EQ(SectorOf(ld.sideDef1), front) << "LineDef " << l;
        EXPECT_EQ(SectorOf(ld.sideDef2), back) << "LineDef " << l;
    }
}

// Whether a full redraw shows what drawing the map without the `count`
// objects, then each of them on its own by draw(n), shows.
template <typename Draw>
bool DrawnAsAlone(int32_t& count, Draw draw) {
    DrawMap(MapDrawing::Full);
    const Pixels full = ScreenPixels();
    const int32_t n = count;
    count = 0;
    DrawMap(MapDrawing::Full);
    count = n;
    for (int i = 0; i < n; ++i)
        draw(i);
    return ScreenPixels() == full;
}

// A vertex check the editor asked for: of Vertexes or of LineDefs' ends,
// the list and the style. RecordVertexChecks makes the hooks record them.
using CheckCall = std::tuple<bool, std::vector<int>, CheckStyle>;
inline std::vector<CheckCall> checkCalls;
inline void RecordVertexChecks() {
    checkCalls.clear();
    editorActions.checkVertexes = [](SelectionList& l, CheckStyle s) { checkCalls.push_back({false, Numbers(l), s}); };
    editorActions.checkLineDefVertexes = [](SelectionList& l, CheckStyle s) {
        checkCalls.push_back({true, Numbers(l), s});
    };
}

// Puts the pointer on a map point.
inline void PointAt(int x, int y) {
    view.pointerX = MapToScreenX(x);
    view.pointerY = MapToScreenY(y);
}

// The map area of the screen's pixels, without the menu bar and status line.
inline Pixels MapArea(const Pixels& screen) {
    size_t width = Screen().width();
    return Pixels(screen.begin() + kMenuBarHeight * width,
                  screen.begin() + (graphics.screenMaxY + 1 - kStatusHeight) * width);
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }

    // Sector 0: the room (0,0)-(200,200), LineDefs 0..3 (west, north, east,
    // south), Vertexes 0..3. Sector 1: the room (50,50)-(150,150) inside it,
    // LineDefs 4..7 two-sided (first side inner, second outer), Vertexes 4..7.
    void TwoRooms() {
        outer = mapkit::AddSector();
        inner = mapkit::AddSector();
        mapkit::AddRoom(0, 0, 200, 200, outer);
        mapkit::AddRoom(50, 50, 150, 150, inner, outer);
    }

    int outer = -1, inner = -1;
};

// The same with the map view on a headless 640 x 480 screen.
class EditorScreenTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        InitGraphics(GraphicsPalette::Basic);
        InitView();
    }
    testkit::Session session;
};
