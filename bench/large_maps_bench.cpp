// The editor on the largest maps, on the headless screen at 1280x1024 with
// Freedoom 2: generated grids of rooms of about 1,000, 8,000, 32,000 and
// 65,160 LineDefs with a Thing in every room (bench_kit.h), read from a PWAD
// as a level of a file is, and Freedoom 2's MAP12. Per level each figure is
// the CPU time of this thread for one action (the median of several, and
// the worst), beside its goal:
//
//   - a full redraw in Things mode with the Thing pictures on (T);
//   - a full redraw in Vertexes mode;
//   - a mode key: the full redraw in the mode and the window update, per mode;
//   - a zoom step of the wheel: the zoom, the full redraw, the window update;
//   - a step of rotating 1,000 Vertexes spread over the map: the drag image
//     taken away, the Vertexes placed, the image drawn;
//   - a pointer move: finding the object under the pointer and showing its
//     info panel;
//   - a frame of the 3D view (the renderer alone; a turn in a real window is
//     measured by preview3d_bench window);
//   - the memory a save (F2) takes at its peak above what the program held
//     before, the REJECT table written afresh in full.
//
// The headless screen has no window: its update is the finding of the
// areas that changed, which a window then converts and sends.
//
//   build/bench/large_maps_bench [-only FIGURE] [1k|8k|32k|65k|MAP12 ...]
//
// -only measures one figure (things, vertexes, modekey, zoom, rotate,
// pointer, 3d, save), so that a profile of the run shows that action alone.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <ctime>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "bench_kit.h"
#include "editor/info_panels.h"
#include "editor/map_draw.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "view3d/preview3d_assets.h"
#include "view3d/preview3d_motion.h"
#include "view3d/preview3d_render.h"
#include "ops/rotate_scale.h"
#include "pictures/namelists.h"
#include "platform/video.h"
#include "support/testkit.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace {

constexpr int kRuns = 15;
constexpr int kPointerMoves = 300;
constexpr int kRotated = 1000;
constexpr int kWidth = 1280, kHeight = 1024;

// The figure -only asks for; empty for all.
std::string onlyFigure;

bool Wanted(const char* figure) { return onlyFigure.empty() || onlyFigure == figure; }

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

// One figure: the median and worst of the CPU times, and the goal.
void Print(const char* what, std::vector<double> times, const char* goal) {
    std::sort(times.begin(), times.end());
    std::printf("  %-44s %8.3f ms  worst %8.3f   goal %s\n", what, times[times.size() / 2], times.back(), goal);
    std::fflush(stdout);
}

// The CPU time of each of runs actions; prepare runs before each, untimed.
std::vector<double> Time(int runs, const std::function<void(int)>& action,
                         const std::function<void(int)>& prepare = nullptr) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare(i);
        double before = CpuMilliseconds();
        action(i);
        times.push_back(CpuMilliseconds() - before);
    }
    return times;
}

// A display frame passes, so that the next update is due.
void NextFrame(int) { std::this_thread::sleep_for(std::chrono::milliseconds(20)); }

void Redraw(int mode, bool pictures) {
    config.editMode = static_cast<int16_t>(mode);
    SetThingPictures(pictures);
    DrawMap(MapDrawing::Full);
}

// The mode keys pressed in turn, each mode's figure apart: the goal holds
// for any mode.
void BenchModeKeys() {
    static const struct {
        int mode;
        const char* name;
    } modes[] = {{kObjThing, "Things"}, {kObjLineDef, "LineDefs"}, {kObjVertex, "Vertexes"}, {kObjSector, "Sectors"}};
    std::vector<double> times[4];
    for (int i = 0; i < 4 * kRuns; ++i) {
        NextFrame(i);
        double before = CpuMilliseconds();
        Redraw(modes[i % 4].mode, false);
        VideoPresent();
        times[i % 4].push_back(CpuMilliseconds() - before);
    }
    for (int m = 0; m < 4; ++m) {
        char what[64];
        std::snprintf(what, sizeof what, "mode key to %s (redraw, window update)", modes[m].name);
        Print(what, times[m], "< 2 ms");
    }
}

void BenchRedraws() {
    ZoomToFit();
    if (Wanted("things"))
        Print("redraw, Things mode with pictures", Time(kRuns, [](int) { Redraw(kObjThing, true); }), "< 2 ms");
    if (Wanted("vertexes"))
        Print("redraw, Vertexes mode", Time(kRuns, [](int) { Redraw(kObjVertex, false); }), "< 2 ms");
    if (Wanted("modekey"))
        BenchModeKeys();
    if (!Wanted("zoom"))
        return;
    config.editMode = kObjLineDef;
    view.pointerX = view.centerX + 100, view.pointerY = view.centerY - 50;
    Print("zoom step (wheel)",
          Time(
              2 * kRuns,
              [](int i) {
                  if (i % 2)
                      ZoomOut();
                  else
                      ZoomIn();
                  DrawMap(MapDrawing::Full);
                  VideoPresent();
              },
              NextFrame),
          "< 2 ms");
}

void BenchRotate() {
    std::mt19937 random(4242);
    LevelState original = level;
    config.editMode = kObjVertex;
    ZoomToFit();
    DrawMap(MapDrawing::Full);
    std::vector<int> numbers(static_cast<size_t>(level.vertices.count));
    for (size_t i = 0; i < numbers.size(); ++i)
        numbers[i] = static_cast<int>(i);
    std::shuffle(numbers.begin(), numbers.end(), random);
    SelectionList list;
    for (int i = 0; i < kRotated && i < level.vertices.count; ++i)
        SelectObject(list, numbers[static_cast<size_t>(i)]);
    BeginMove(kObjVertex, list, 0, 0, 0);
    double cx, cy;
    DragCentre(cx, cy);
    ShowDragImage();
    char what[80];
    std::snprintf(what, sizeof what, "rotate step, %d scattered Vertexes", static_cast<int>(list.size()));
    Print(what, Time(4 * kRuns, [&](int i) {
              HideDragImage();
              PlaceRotatedScaled(cx, cy, i + 1.0, 1.0);
              ShowDragImage();
          }),
          "< 2 ms");
    HideDragImage();
    CancelMove();
    ForgetSelection(list);
    level = original;
}

void BenchPointer(const char* goal) {
    std::mt19937 random(99);
    config.editMode = kObjLineDef;
    ZoomToFit();
    SetScale(0.5f);
    DrawMap(MapDrawing::Full);
    std::uniform_int_distribution<int> px(0, view.maxX), py(0, view.maxY);
    Print("pointer move (picking and panel)", Time(kPointerMoves, [&](int) {
              view.pointerX = px(random), view.pointerY = py(random);
              int n = GetObjectUnderPointer(kObjLineDef);
              SetCurrentObject(n);
              ShowObjectInfo(n);
          }),
          goal);
}

void Bench3dFrame() {
    PreviewAssets assets = LoadPreviewAssets(level);
    PreviewScene scene = BuildPreviewScene(level, assets);
    const Thing& middle = level.things[level.things.count / 2];
    PreviewWalker walker = WalkerAt(scene, middle.x, middle.y, 0);
    PreviewRenderer renderer;
    std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight);
    Print("3D view frame (renderer alone)", Time(8, [&](int) {
              WalkerTurn(walker, 3.14159265358979 / 4);
              renderer.Draw(scene, assets, walker.camera, frame.data(), kWidth, kHeight);
          }),
          "< 16 ms");
}

// Answers the save's questions: the file name given, no nodes built.
class SaveAnswers : public LevelDialogs {
public:
    explicit SaveAnswers(std::string file) : file_(std::move(file)) {}
    void ShowBox(const std::string&, const std::vector<std::string>&) override {}
    void MessageBox(const std::string& title, const std::vector<std::string>& lines) override {
        std::printf("  (save: %s %s)\n", title.c_str(), lines.empty() ? "" : lines[0].c_str());
    }
    int ConfirmYes(const std::string&, const std::string&) override { return 0; }
    void PressAnyKey(const std::string&, const std::string&) override {}
    int PathEntry(const std::string&, int maxLength, char* text) override {
        std::snprintf(text, static_cast<size_t>(maxLength) + 1, "%s", file_.c_str());
        return 1;
    }
    int NumberForm(const std::string&, std::vector<NumberField>&) override { return 0; }
    void ProgressStart(const std::string&, int32_t) override {}
    void ProgressUpdate(int32_t) override {}
    void ProgressEnd() override {}

private:
    std::string file_;
};

long StatusKilobytes(const char* field) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field, 0) == 0)
            return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

// Forgets the peak of the resident memory: it starts again from what is
// resident now.
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BenchSave(const std::string& directory) {
    SaveAnswers answers(directory + "/SAVED.WAD");
    SetLevelDialogs(&answers);
    level.mapChanged = level.levelChanged = true;
    level.rejectSectorCount = -1;   // the file's table no longer fits: it is written afresh
    char* name = ChooseSaveFile(config.lastEpisode, config.lastMap);
    long before = StatusKilobytes("VmRSS:");
    ResetPeakMemory();
    int saved = name ? SaveLevel(name, kSaveKeyF2) : kNotSaved;
    long peak = StatusKilobytes("VmHWM:");
    SetLevelDialogs(nullptr);
    char what[96];
    std::snprintf(what, sizeof what, "F2 save, %d Sectors: peak memory", level.sectors.count);
    std::printf("  %-44s %8.1f MB  (%s; the program %.1f MB)   goal < 64 MB\n", what, (peak - before) / 1024.0,
                saved == kNotSaved ? "not saved" : "saved", peak / 1024.0);
    std::fflush(stdout);
}

std::string MakeDirectory() {
    char path[] = "/tmp/large_maps_bench.XXXXXX";
    return mkdtemp(path) ? path : "/tmp";
}

// The grid of rooms as MAP01 of a PWAD read over Freedoom 2, loaded.
void LoadGridFromFile(int side, const std::string& directory) {
    std::string file = directory + "/GRID" + std::to_string(side) + ".WAD";
    testkit::WadBuilder wad;
    AddLevel(wad, "MAP01", benchkit::RoomGrid(side, true));
    wad.write(file);
    static std::deque<std::string> names;   // the open-WAD table keeps the names it is given
    names.push_back(file);
    LoadPwad(names.back().data());
    SetField(level.name, "MAP01");
    config.lastEpisode = 1, config.lastMap = 1;
    LoadLevel(LevelSource::MasterDirectory);
}

void BenchLevel(const std::string& which, const std::string& directory) {
    static const struct {
        const char* name;
        int side;
    } grids[] = {{"1k", 22}, {"8k", 63}, {"32k", 126}, {"65k", 180}};
    bool map12 = which == "MAP12";
    if (map12) {
        SetField(level.name, "MAP12");
        config.lastEpisode = 1, config.lastMap = 12;
        LoadLevel(LevelSource::MasterDirectory);
    } else {
        const auto* grid = std::find_if(std::begin(grids), std::end(grids),
                                        [&](const auto& g) { return which == g.name; });
        if (grid == std::end(grids)) {
            std::printf("unknown level %s\n", which.c_str());
            return;
        }
        LoadGridFromFile(grid->side, directory);
    }
    ComputeMapBounds();
    ResetSelection();
    std::printf("\n%s: %d LineDefs, %d Vertexes, %d Sectors, %d Things\n", which.c_str(), level.lineDefs.count,
                level.vertices.count, level.sectors.count, level.things.count);
    BenchRedraws();
    if (Wanted("rotate"))
        BenchRotate();
    if (Wanted("pointer"))
        BenchPointer(map12 ? "at most half the peer's (0.52-0.62 ms)" : "-");
    if (Wanted("3d"))
        Bench3dFrame();
    if (Wanted("save"))
        BenchSave(directory);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> levels(argv + 1, argv + argc);
    if (levels.size() >= 2 && levels[0] == "-only") {
        onlyFigure = levels[1];
        levels.erase(levels.begin(), levels.begin() + 2);
    }
    if (levels.empty())
        levels = {"MAP12", "1k", "8k", "32k", "65k"};
    std::printf("The largest maps: one core, %dx%d headless screen; load %s\n", kWidth, kHeight,
                LoadAverage().c_str());
    std::string directory = MakeDirectory();
    benchkit::StartHeadlessEditor(GraphicsPalette::Game);
    config.infoObjects = config.infoPicture = 1;
    SetMenuBarMode(MenuBarMode::Shown);
    InitView();
    BuildTextureNames();
    BuildFlatNames();
    for (const std::string& which : levels)
        BenchLevel(which, directory);
    CloseGraphics();
    std::printf("\nload %s\n", LoadAverage().c_str());
    return 0;
}
