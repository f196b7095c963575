// What the benchmarks share: the clock, the figures they print, and the
// editor's screen started headless on Freedoom 2.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "editor/view.h"
#include "level/level.h"
#include "support/big_map.h"
#include "ui/graphics.h"
#include "wad/master.h"

namespace benchkit {

using Clock = std::chrono::steady_clock;

inline const char* const kFreedoom2 = "/usr/share/games/doom/freedoom2.wad";

inline double Milliseconds(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// One line of figures: the least, the median, the 90th percentile and the most.
inline void Report(const std::string& what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("  %-48s min %7.3f ms  median %7.3f ms  90%% %7.3f ms  max %7.3f ms\n", what.c_str(),
                times.front(), times[times.size() / 2], times[times.size() * 9 / 10], times.back());
}

enum class ScreenKind { Headless, Window };

// The DOOM flavour's editor screen at 1280x1024, headless or in a window on
// the display of the environment, with Freedoom 2 as the IWAD and a 64-unit
// grid shown; the caller loads its level.
inline void StartEditorScreen(GraphicsPalette palette, ScreenKind kind) {
    if (kind == ScreenKind::Headless)
        setenv("ZARN_VIDEO", "headless", 1);
    else
        unsetenv("ZARN_VIDEO");
    SetFlavour(Flavour::Doom);
    ResetConfig();
    config.videoMode = 4;
    config.gridShown = 1;
    config.gridSize = 64;
    SetField(config.iwadName, kFreedoom2);
    OpenIwad(config.iwadName);
    InitGraphics(palette);
    InitView();
}

inline void StartHeadlessEditor(GraphicsPalette palette) { StartEditorScreen(palette, ScreenKind::Headless); }

// The generated levels of the largest maps' figures: a square grid of
// side x side rooms of 64 units that share their walls (two-sided LineDefs,
// floor 0, ceiling 128), each room its own Sector with a Thing of a type
// that has a sprite in its middle. 22, 63, 126 and 180 rooms a side make
// about 1,000, 8,000, 32,000 and 65,160 LineDefs. (Programs that call it
// link the tests' support library.)
inline bigmap::BigMap RoomGrid(int side, bool reject = false) {
    static const int16_t kThingTypes[] = {3004, 2014, 3001, 2011, 2048, 9, 2035, 3002};
    bigmap::Options options;
    options.columns = options.rows = side;
    options.cell = 64;
    options.unusedVertices = 0;
    options.roomSectors = side * side;
    options.things = side * side;
    options.reject = reject;
    bigmap::BigMap map = bigmap::Generate(options);
    for (size_t i = 0; i < map.things.size(); ++i) {
        map.things[i].type = kThingTypes[i % std::size(kThingTypes)];
        map.things[i].angle = int16_t(45 * (i % 8));
    }
    return map;
}

// The grid of rooms made the current level, in memory only.
inline void LoadRoomGrid(int side) {
    bigmap::BigMap map = RoomGrid(side);
    auto fill = [](auto& array, const auto& records) {
        AllocateArray(array, int32_t(records.size()), int32_t(records.size()));
        std::copy(records.begin(), records.end(), array.records.begin());
    };
    FreeLevel();
    ResetLevel();
    fill(level.things, map.things);
    fill(level.lineDefs, map.lineDefs);
    fill(level.sideDefs, map.sideDefs);
    fill(level.vertices, map.vertices);
    fill(level.sectors, map.sectors);
}

}  // namespace benchkit
