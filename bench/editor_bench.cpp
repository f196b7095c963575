// Map view speed at 1280x1024 on the headless screen: full and quick redraws
// in every mode, and finding the object under the pointer in every mode, on
// Freedoom 2's MAP12 and on generated maps of about 30,000 LineDefs with
// 7,500 Things (full redraws and the Things alone; target 5 ms in Things
// mode) and of about 60,000 LineDefs; on
// MAP12 also deleting 1,000 Vertexes with all the renumbering and one drag
// step of 1,000 selected Vertexes with its XOR image.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "editor/editor.h"
#include "editor/map_draw.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/level.h"
#include "level/level_files.h"
#include "bench_kit.h"
#include "base/config.h"
#include "base/flavour.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace {

using benchkit::Clock;
using benchkit::Milliseconds;
using benchkit::Report;
constexpr int kDrawRuns = 30;
constexpr int kPickPoints = 300;

const char* ModeName(int mode) {
    switch (mode) {
    case kObjThing: return "Things";
    case kObjLineDef: return "LineDefs";
    case kObjVertex: return "Vertexes";
    default: return "Sectors";
    }
}

void BenchDrawing() {
    for (int mode : {kObjThing, kObjLineDef, kObjVertex, kObjSector}) {
        config.editMode = static_cast<int16_t>(mode);
        ZoomToFit();
        std::vector<double> full, quick;
        for (int i = 0; i < kDrawRuns; ++i) {
            Clock::time_point t = Clock::now();
            DrawMap(MapDrawing::Full);
            full.push_back(Milliseconds(t));
            t = Clock::now();
            DrawMap(MapDrawing::Quick);
            quick.push_back(Milliseconds(t));
        }
        Report(std::string("full redraw, ") + ModeName(mode), full);
        Report(std::string("quick redraw, ") + ModeName(mode), quick);
    }
}

// Pointer positions spread over the map at two zooms.
void BenchPicking() {
    std::mt19937 random(12345);
    for (float scale : {0.0f, 1.0f}) {
        ZoomToFit();
        if (scale > 0)
            SetScale(scale);
        std::vector<std::pair<int16_t, int16_t>> points;
        std::uniform_int_distribution<int> px(0, view.maxX), py(0, view.maxY);
        for (int i = 0; i < kPickPoints; ++i)
            points.emplace_back(px(random), py(random));
        for (int mode : {kObjThing, kObjLineDef, kObjVertex, kObjSector}) {
            std::vector<double> times;
            int found = 0;
            for (const auto& p : points) {
                view.pointerX = p.first, view.pointerY = p.second;
                Clock::time_point t = Clock::now();
                found += GetObjectUnderPointer(mode) >= 0;
                times.push_back(Milliseconds(t));
            }
            char what[80];
            std::snprintf(what, sizeof what, "pick %s at %s (%d found)", ModeName(mode),
                          scale > 0 ? "scale 1" : "fit", found);
            Report(what, times);
        }
    }
    std::vector<double> sides;
    for (int i = 0; i < 200; ++i) {
        int ld = static_cast<int>(random() % static_cast<unsigned>(level.lineDefs.count));
        Clock::time_point t = Clock::now();
        GetSectorOnSide(ld, i & 1 ? LineSide::Right : LineSide::Left);
        sides.push_back(Milliseconds(t));
    }
    Report("GetSectorOnSide", sides);
}

void BenchSelection() {
    std::vector<double> box, convert;
    for (int i = 0; i < 10; ++i) {
        Clock::time_point t = Clock::now();
        SelectionList all =
            SelectObjectsInBox(kObjLineDef, view.mapMinX, view.mapMinY, view.mapMaxX, view.mapMaxY);
        box.push_back(Milliseconds(t));
        ForgetSelection(selection.list);
        selection.list = std::move(all);
        t = Clock::now();
        ConvertSelection(kObjLineDef, kObjSector);
        ConvertSelection(kObjSector, kObjLineDef);
        convert.push_back(Milliseconds(t));
        ForgetSelection(selection.list);
    }
    Report("box select all LineDefs", box);
    Report("convert LineDefs->Sectors->LineDefs", convert);
}

// 1,000 Vertexes spread over the map, deleted at once (with their LineDefs
// and SideDefs); the level is put back between runs.
void BenchDeleting() {
    constexpr int kVertexes = 1000;
    std::mt19937 random(777);
    LevelState original = level;
    std::vector<double> times;
    for (int run = 0; run < 10; ++run) {
        std::vector<int> numbers(static_cast<size_t>(level.vertices.count));
        for (size_t i = 0; i < numbers.size(); ++i)
            numbers[i] = static_cast<int>(i);
        std::shuffle(numbers.begin(), numbers.end(), random);
        SelectionList list;
        for (int i = 0; i < kVertexes && i < static_cast<int>(numbers.size()); ++i)
            SelectObject(list, numbers[static_cast<size_t>(i)]);
        Clock::time_point t = Clock::now();
        DeleteObjects(level, kObjVertex, list);
        times.push_back(Milliseconds(t));
        level = original;
    }
    Report("delete 1000 Vertexes (target 50 ms)", times);
}

// Drag steps of 1,000 Vertexes spread over the map, the pointer going one
// grid step each time, at the fitted zoom and at scale 1. The few slow steps
// are those that show the canvas (once per display frame).
void BenchDragging() {
    constexpr int kVertexes = 1000;
    constexpr int kSteps = 200;
    std::mt19937 random(778);
    LevelState original = level;
    config.editMode = kObjVertex;
    config.gridSnap = 1;
    config.gridSize = 8;
    for (float scale : {0.0f, 1.0f}) {
        ZoomToFit();
        if (scale > 0)
            SetScale(scale);
        DrawMap(MapDrawing::Full);
        ForgetSelection(selection.list);
        std::vector<int> numbers(static_cast<size_t>(level.vertices.count));
        for (size_t i = 0; i < numbers.size(); ++i)
            numbers[i] = static_cast<int>(i);
        std::shuffle(numbers.begin(), numbers.end(), random);
        for (int i = 0; i < kVertexes; ++i)
            SelectObject(selection.list, numbers[static_cast<size_t>(i)]);
        int pixels = std::max(1, static_cast<int>(8 * view.scale + 0.999f));   // one grid step
        view.pointerX = view.centerX, view.pointerY = view.centerY;
        MoveObjectsCommand();
        std::vector<double> times;
        for (int step = 0; step < kSteps; ++step) {
            view.pointerX = static_cast<int16_t>(view.centerX + ((step % 20) - 10) * pixels);
            Clock::time_point t = Clock::now();
            DragStep();
            times.push_back(Milliseconds(t));
        }
        CancelDrag();
        char what[80];
        std::snprintf(what, sizeof what, "drag step, 1000 Vertexes at %s (target 2)",
                      scale > 0 ? "scale 1" : "fit");
        Report(what, times);
    }
    ForgetSelection(selection.list);
    level = original;
}

// The Things alone, as the full redraw draws them, in Things mode, at the
// fitted zoom and at scale 1.
void BenchThings() {
    config.editMode = kObjThing;
    for (float scale : {0.0f, 1.0f}) {
        ZoomToFit();
        if (scale > 0)
            SetScale(scale);
        DrawMap(MapDrawing::Full);
        std::vector<double> times;
        for (int i = 0; i < kDrawRuns; ++i) {
            Clock::time_point t = Clock::now();
            DrawThings();
            times.push_back(Milliseconds(t));
        }
        Report(std::string("Things alone, Things mode at ") + (scale > 0 ? "scale 1" : "fit"), times);
    }
}

void BenchLevel(const char* title) {
    std::printf("%s: %d LineDefs, %d Vertexes, %d Sectors, %d Things\n", title,
                level.lineDefs.count, level.vertices.count, level.sectors.count, level.things.count);
    ResetSelection();
    BenchDrawing();
    BenchPicking();
    BenchSelection();
}

// A square grid of n x n rooms, each a Sector of four one-sided LineDefs with
// a Thing in it; the rooms share no walls.
void GenerateRooms(int n, int pitch, int size) {
    FreeLevel();
    ResetLevel();
    int rooms = n * n;
    AllocateArray(level.vertices, 4 * rooms);
    AllocateArray(level.sectors, rooms);
    AllocateArray(level.things, rooms);
    AllocateArray(level.lineDefs, 4 * rooms);
    AllocateArray(level.sideDefs, 4 * rooms);
    int origin = -n * pitch / 2;
    for (int r = 0; r < rooms; ++r) {
        int x0 = origin + (r % n) * pitch, y0 = origin + (r / n) * pitch;
        level.sectors[level.sectors.count++] =
            Sector{0, 128, {'F', 'L', 'A', 'T'}, {'F', 'L', 'A', 'T'}, 160,
                   int16_t(r % 17 == 0 ? 9 : 0), int16_t(r % 23 == 0 ? 1 + r % 50 : 0)};
        level.things[level.things.count++] =
            Thing{int16_t(x0 + size / 2), int16_t(y0 + size / 2), int16_t(45 * (r % 8)),
                  int16_t(r % 3 == 0 ? 3004 : 2014), 7};
        // Clockwise, so that the first sides face the room.
        const int corners[4][2] = {{x0, y0}, {x0, y0 + size}, {x0 + size, y0 + size}, {x0 + size, y0}};
        int first = level.vertices.count;
        for (const auto& c : corners)
            level.vertices[level.vertices.count++] = Vertex{int16_t(c[0]), int16_t(c[1])};
        for (int k = 0; k < 4; ++k) {
            uint16_t sd = static_cast<uint16_t>(level.sideDefs.count++);
            level.sideDefs[sd] = SideDef{0, 0, {'-'}, {'-'}, {'S', 'T', 'A', 'R', 'T', 'A', 'N', '3'},
                                         uint16_t(r)};
            level.lineDefs[level.lineDefs.count++] =
                LineDef{uint16_t(first + k), uint16_t(first + (k + 1) % 4), 1, int16_t(r % 29 == 0 ? 1 : 0),
                        int16_t(r % 31 == 0 ? 1 + r % 50 : 0), sd, kNoReference};
        }
    }
}

}  // namespace

// With the argument "things" only the map of 30,000 LineDefs is measured.
int main(int argc, char** argv) {
    bool thingsOnly = argc > 1 && std::string(argv[1]) == "things";
    benchkit::StartHeadlessEditor(GraphicsPalette::Basic);
    std::printf("Map view at %dx%d\n", graphics.screenMaxX + 1, graphics.screenMaxY + 1);

    if (!thingsOnly) {
        SetField(level.name, "MAP12");
        LoadLevel(LevelSource::MasterDirectory);
        BenchLevel("freedoom2 MAP12");
        BenchDeleting();
        BenchDragging();
    }

    GenerateRooms(87, 64, 48);
    std::printf("generated rooms: %d LineDefs, %d Things\n", level.lineDefs.count, level.things.count);
    ResetSelection();
    BenchDrawing();
    BenchThings();
    if (thingsOnly) {
        CloseGraphics();
        return 0;
    }

    GenerateRooms(122, 64, 48);
    BenchLevel("generated rooms");
    BenchThings();
    CloseGraphics();
    return 0;
}
