// Info panel speed on Freedoom 2's MAP12 at 1280x1024 on the headless screen:
// the panel of a LineDef with six wall textures when every picture changed
// (target 2 ms) and when none did (target 0.2 ms), and the highlight moved
// along 1,000 LineDefs, each step moving the highlight and drawing the panel
// (target: under a frame, 16.7 ms).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_kit.h"
#include "base/config.h"
#include "base/flavour.h"
#include "editor/info_panels.h"
#include "editor/map_draw.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/level.h"
#include "level/level_files.h"
#include "pictures/namelists.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace {

using benchkit::Clock;
using benchkit::Milliseconds;
using benchkit::Report;
using benchkit::kFreedoom2;
constexpr int kRuns = 200;
constexpr int kSteps = 1000;

// A two-sided LineDef whose six textures are all named.
int SixTextureLineDef() {
    const char* names[3] = {"STARTAN3", "BROWN1", "STARG3"};
    for (int i = 0; i < level.lineDefs.count; ++i) {
        LineDef& ld = level.lineDefs[i];
        SideDef* sides[2] = {SideDefAt(ld.sideDef1), SideDefAt(ld.sideDef2)};
        if (!sides[0] || !sides[1])
            continue;
        for (SideDef* sd : sides) {
            std::strncpy(sd->upper, names[0], 8);
            std::strncpy(sd->middle, names[1], 8);
            std::strncpy(sd->lower, names[2], 8);
        }
        return i;
    }
    return -1;
}

void BenchPanel() {
    config.editMode = kObjLineDef;
    int ld = SixTextureLineDef();
    std::vector<double> changed, unchanged;
    for (int i = 0; i < kRuns; ++i) {
        ForgetPanelPictures();
        Clock::time_point t = Clock::now();
        ShowObjectInfo(ld);
        changed.push_back(Milliseconds(t));
        t = Clock::now();
        ShowObjectInfo(ld);
        unchanged.push_back(Milliseconds(t));
    }
    Report("LineDef panel, six pictures changed (target 2)", changed);
    Report("LineDef panel, pictures unchanged (target 0.2)", unchanged);
}

void BenchHighlight() {
    config.editMode = kObjLineDef;
    ZoomToFit();
    DrawMap(MapDrawing::Full);
    std::vector<double> steps;
    for (int i = 0; i < kSteps; ++i) {
        int n = i % level.lineDefs.count;
        Clock::time_point t = Clock::now();
        SetCurrentObject(n);
        ShowObjectInfo(n);
        steps.push_back(Milliseconds(t));
    }
    Report("highlight step along 1000 LineDefs (target 16.7)", steps);
}

}  // namespace

int main() {
    setenv("ZARN_VIDEO", "headless", 1);
    SetFlavour(Flavour::Doom);
    ResetConfig();
    config.videoMode = 4;
    config.infoObjects = config.infoPicture = 1;
    SetField(config.iwadName, kFreedoom2);
    OpenIwad(config.iwadName);
    InitGraphics(GraphicsPalette::Game);
    SetMenuBarMode(MenuBarMode::Shown);
    InitView();
    std::printf("Info panels at %dx%d\n", graphics.screenMaxX + 1, graphics.screenMaxY + 1);
    SetField(level.name, "MAP12");
    BuildTextureNames();
    BuildFlatNames();
    LoadLevel(LevelSource::MasterDirectory);
    BenchPanel();
    BenchHighlight();
    CloseGraphics();
    return 0;
}
