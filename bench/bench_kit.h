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

// The DOOM flavour's editor screen at 1280x1024, headless, with Freedoom 2
// as the IWAD and a 64-unit grid shown; the caller loads its level.
inline void StartHeadlessEditor(GraphicsPalette palette) {
    setenv("ZARN_VIDEO", "headless", 1);
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

}  // namespace benchkit
