// Builder speed on Freedoom 2's MAP12 at 1280x1024 on the headless screen:
// one step of the interactive rotate and scale of 1,000 selected Vertexes
// with its XOR drag image (target 2 ms), at the fitted zoom and at scale 1;
// and a staircase of 64 steps built (target 20 ms), by the stair builder
// from two facing walls of a room beside the map (its questions answered by
// a script) and as a predefined object.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_kit.h"
#include "base/config.h"
#include "base/flavour.h"
#include "editor/map_draw.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/level.h"
#include "level/level_files.h"
#include "builders/builders.h"
#include "builders/predefined.h"
#include "ops/rotate_scale.h"
#include "platform/video.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace {

using benchkit::Clock;
using benchkit::Milliseconds;
using benchkit::Report;
constexpr int kVertexes = 1000;
constexpr int kSteps = 200;
constexpr int kStairSteps = 64;
constexpr int kStairRuns = 20;


// The 1,000 Vertexes nearest the middle of the map: a part of it, as the
// user selects one to turn.
SelectionList MiddleVertexes() {
    long sx = 0, sy = 0;
    for (const Vertex& v : level.vertices) {
        sx += v.x;
        sy += v.y;
    }
    long cx = sx / level.vertices.count, cy = sy / level.vertices.count;
    std::vector<std::pair<long, int>> byDistance;
    for (int i = 0; i < level.vertices.count; ++i) {
        long dx = level.vertices[i].x - cx, dy = level.vertices[i].y - cy;
        byDistance.emplace_back(dx * dx + dy * dy, i);
    }
    std::sort(byDistance.begin(), byDistance.end());
    SelectionList list;
    for (int i = 0; i < kVertexes; ++i)
        SelectObject(list, byDistance[static_cast<size_t>(i)].second);
    return list;
}

// Steps turning by one degree each, as the mouse does, and growing and
// shrinking by 0.01 as the keys do, each taking the image off, placing the
// Vertexes and drawing the image again.
void BenchRotateScale() {
    LevelState original = level;
    config.editMode = kObjVertex;
    for (float scale : {0.0f, 1.0f}) {
        ZoomToFit();
        if (scale > 0)
            SetScale(scale);
        DrawMap(MapDrawing::Full);
        SelectionList list = MiddleVertexes();
        BeginMove(kObjVertex, list, 0, 0, 0);
        ShowDragImage();
        double cx = 0, cy = 0;
        DragCentre(cx, cy);
        std::vector<double> times;
        for (int step = 1; step <= kSteps; ++step) {
            Clock::time_point t = Clock::now();
            HideDragImage();
            PlaceRotatedScaled(cx, cy, step, 1.0 + 0.01 * (step % 20));
            ShowDragImage();
            times.push_back(Milliseconds(t));
        }
        HideDragImage();
        CancelMove();
        ForgetSelection(list);
        char what[80];
        std::snprintf(what, sizeof what, "rotate/scale step, 1000 Vertexes at %s (2)", scale > 0 ? "scale 1" : "fit");
        Report(what, times);
    }
    level = original;
}

// A room 1024 square beside the map, drawn clockwise, and its Sector: the
// middle halves of its west and east walls (LineDefs first + 1 and first +
// 5) face each other, for the stairs to run between.
int AddRoom(int x, int y, int& first) {
    int sector = InsertObject(kObjSector, -1, 0, 0);
    const int corners[8][2] = {{x, y},           {x, y + 256},        {x, y + 768},        {x, y + 1024},
                               {x + 1024, y + 1024}, {x + 1024, y + 768}, {x + 1024, y + 256}, {x + 1024, y}};
    int v = level.vertices.count;
    for (const auto& c : corners)
        InsertObject(kObjVertex, -1, c[0], c[1]);
    first = level.lineDefs.count;
    for (int k = 0; k < 8; ++k) {
        int l = InsertObject(kObjLineDef, -1, 0, 0);
        int sd = InsertObject(kObjSideDef, -1, 0, 0);
        level.lineDefs[l].start = static_cast<uint16_t>(v + k);
        level.lineDefs[l].end = static_cast<uint16_t>(v + (k + 1) % 8);
        level.lineDefs[l].sideDef1 = static_cast<uint16_t>(sd);
        level.sideDefs[sd].sector = static_cast<uint16_t>(sector);
    }
    return sector;
}

void BenchStairs() {
    LevelState original = level;
    int right = 0;
    for (const Vertex& v : level.vertices)
        right = std::max<int>(right, v.x);
    std::vector<double> builder, object;
    int made = 0;
    for (int run = 0; run < kStairRuns; ++run) {
        int first = 0;
        int sector = AddRoom(right + 512, 0, first);
        SelectionList list;
        SelectObject(list, first + 5);
        SelectObject(list, first + 1);
        std::string error;
        HeadlessLoadScript("key Enter\nkey Enter\nkey N\n", error);
        stairSettings = {kStairSteps, 8};
        Clock::time_point t = Clock::now();
        MakeStairs(list);
        builder.push_back(Milliseconds(t));
        made = level.sectors.count - original.sectors.count - 1;
        ForgetSelection(list);
        level = original;

        AddRoom(right + 512, 0, first);
        t = Clock::now();
        InsertStairs(right + 1024, 0, sector, StairShape::Object, 0, 1000, {kStairSteps, 8, 128, 32});
        object.push_back(Milliseconds(t));
        level = original;
    }
    std::printf("  (the stair builder made %d Sectors: the steps and the landing)\n", made);
    Report("64 stairs from 2 LineDefs (20), with the form", builder);
    Report("64 stairs as a predefined object (20)", object);
}

}  // namespace

int main() {
    benchkit::StartHeadlessEditor(GraphicsPalette::Basic);
    SetField(level.name, "MAP12");
    LoadLevel(LevelSource::MasterDirectory);
    std::printf("freedoom2 MAP12 at %dx%d: %d LineDefs, %d Vertexes\n", graphics.screenMaxX + 1,
                graphics.screenMaxY + 1, level.lineDefs.count, level.vertices.count);
    BenchRotateScale();
    BenchStairs();
    CloseGraphics();
    return 0;
}
