// 3D preview speed on one core: opening the view (decoding the pictures and
// preparing the level) and drawing 1280x1024 frames of Freedoom 2's MAP01
// and MAP12 from Player 1's start turning around, and on a tour from Things
// all over each level. Targets:
// a frame of MAP01 under 8 ms, of MAP12 under 16 ms, opening under 50 ms.
// With a directory argument, the frames of the turn and every tenth of the
// tour are also written there as PNG files.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "level/level.h"
#include "level/level_files.h"
#include "ops/preview3d_motion.h"
#include "bench_kit.h"
#include "platform/png_writer.h"
#include "wad/master.h"

namespace {

using benchkit::Clock;
using benchkit::Milliseconds;

const char* const kIwad = benchkit::kFreedoom2;
constexpr int kWidth = 1280, kHeight = 1024;
constexpr int kTurns = 8;
constexpr int kRounds = 5;
constexpr int kTourSpots = 40;
constexpr int kTourShotEvery = 10;

// The CPU time of this thread: on a machine shared with other work it shows
// what a frame costs one core, where the clock also counts waiting for it.
double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void WriteFrame(const std::string& path, const std::vector<uint8_t>& frame) {
    const WadDirEntry* entry = FindEntry(0, "PLAYPAL", EntryNeed::Required);
    std::vector<uint8_t> palette = ReadEntryData(*entry);
    palette.resize(768);
    WritePng(path, kWidth, kHeight, frame.data(), palette.data());
}

void BenchLevel(const char* name, const char* pngDir) {
    SetField(level.name, name);
    LoadLevel(LevelSource::MasterDirectory);
    double open = 1e9, openCpu = 1e9;
    PreviewAssets assets;
    PreviewScene scene;
    for (int k = 0; k < kRounds; ++k) {
        Clock::time_point start = Clock::now();
        double cpu = CpuMilliseconds();
        assets = LoadPreviewAssets(level);
        scene = BuildPreviewScene(level, assets);
        open = std::min(open, Milliseconds(start));
        openCpu = std::min(openCpu, CpuMilliseconds() - cpu);
    }
    const Thing* player = nullptr;
    for (const Thing& t : level.things)
        if (t.type == 1 && !player)
            player = &t;
    PreviewWalker walker = player ? WalkerAt(scene, player->x, player->y, player->angle) : WalkerAt(scene, 0, 0, 0);
    PreviewRenderer renderer;
    std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight);
    double best = 1e9, worst = 0, total = 0, cpuBest = 1e9, cpuWorst = 0, cpuTotal = 0;
    int frames = 0;
    for (int round = 0; round < kRounds; ++round)
        for (int turn = 0; turn < kTurns; ++turn) {
            PreviewWalker view = walker;
            WalkerTurn(view, turn * 3.14159265358979 * 2 / kTurns);
            Clock::time_point start = Clock::now();
            double cpu = CpuMilliseconds();
            renderer.Draw(scene, assets, view.camera, frame.data(), kWidth, kHeight);
            double ms = Milliseconds(start);
            cpu = CpuMilliseconds() - cpu;
            cpuBest = std::min(cpuBest, cpu);
            cpuWorst = std::max(cpuWorst, cpu);
            cpuTotal += cpu;
            best = std::min(best, ms);
            worst = std::max(worst, ms);
            total += ms;
            ++frames;
            if (pngDir && round == 0)
                WriteFrame(std::string(pngDir) + "/" + name + "-" + std::to_string(turn) + ".png", frame);
        }
    // A tour: from Things spread over the whole level, looking four ways.
    double tourWorst = 0, tourTotal = 0;
    int tourFrames = 0;
    int stride = std::max(1, level.things.count / kTourSpots);
    for (int n = 0; n < level.things.count; n += stride) {
        const Thing& t = level.things[n];
        PreviewWalker spot = WalkerAt(scene, t.x, t.y, t.angle);
        for (int turn = 0; turn < 4; ++turn, WalkerTurn(spot, 3.14159265358979 / 2)) {
            double cpu = CpuMilliseconds();
            renderer.Draw(scene, assets, spot.camera, frame.data(), kWidth, kHeight);
            cpu = CpuMilliseconds() - cpu;
            tourWorst = std::max(tourWorst, cpu);
            tourTotal += cpu;
            if (pngDir && tourFrames % kTourShotEvery == 0)
                WriteFrame(std::string(pngDir) + "/" + name + "-tour" + std::to_string(tourFrames) + ".png", frame);
            ++tourFrames;
        }
    }
    std::printf("\n%s: %d LineDefs, %d Things; open %.1f ms, CPU %.1f ms (%zu textures, %zu flats, %zu sprite lumps)\n",
                name, level.lineDefs.count, level.things.count, open, openCpu, assets.textures.size(),
                assets.flats.size(), assets.spritePictures.size());
    std::printf("  %dx%d frame over %d frames in %d headings: mean %.2f ms, best %.2f, worst %.2f;"
                " CPU mean %.2f ms, best %.2f, worst %.2f\n",
                kWidth, kHeight, frames, kTurns, total / frames, best, worst, cpuTotal / frames, cpuBest, cpuWorst);
    std::printf("  tour of %d frames from Things all over the level: CPU mean %.2f ms, worst %.2f ms\n", tourFrames,
                tourTotal / tourFrames, tourWorst);
}

}  // namespace

int main(int argc, char** argv) {
    const char* pngDir = argc > 1 ? argv[1] : nullptr;
    SetFlavour(Flavour::Doom);
    ResetConfig();
    SetField(config.iwadName, kIwad);
    OpenIwad(config.iwadName);
    BenchLevel("MAP01", pngDir);
    BenchLevel("MAP12", pngDir);
    return 0;
}
