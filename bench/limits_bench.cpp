// The engine limits scan on one core: Freedoom 2's MAP01 (goal: under 2 s)
// and MAP12 at 64-unit spacing, 8 views a point. Prints the CPU time of the
// whole scan and per viewpoint, and the worst points found, counted by the
// level's nodes (--rays: by the rays). With --at, the counts of each view at
// one point instead, both ways, to compare with the game there.
//
//   build/bench/limits_bench [--rays] [MAPxx ...]
//   build/bench/limits_bench --at MAPxx X Y
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "bench_kit.h"
#include "level/level.h"
#include "level/level_files.h"
#include "checker/limits_nodes.h"
#include "checker/limits_scan.h"
#include "view3d/preview3d_motion.h"
#include "wad/master.h"

namespace {

double CpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

enum class CountBy { Nodes, Rays };

void BenchLevel(const std::string& name, CountBy countBy) {
    SetField(level.name, name.c_str());
    LoadLevel(LevelSource::MasterDirectory);
    double cpu = CpuMilliseconds();
    PreviewAssets assets = LoadPreviewAssets(level);
    LimitsScanOptions options;
    LevelNodes nodes;
    if (countBy == CountBy::Nodes && ReadLevelNodes(nodes))
        options.nodes = &nodes;
    LimitsScan scan = ScanLimits(level, assets, options, [](long, long) { return true; });
    cpu = CpuMilliseconds() - cpu;
    long views = static_cast<long>(scan.points.size()) * options.angles;
    std::printf("%s by the %s: %d LineDefs, %zu points, %ld views: CPU %.0f ms, %.3f ms a viewpoint (MAP01's goal: < 2 s)\n",
                name.c_str(), scan.byNodes ? "nodes" : "rays", level.lineDefs.count, scan.points.size(), views, cpu,
                cpu / scan.points.size());
    LimitCounts most;
    for (const LimitPoint& p : scan.points)
        for (int k = 0; k < kEngineLimits; ++k)
            most.count[k] = std::max(most.count[k], p.most.count[k]);
    std::printf("  the most anywhere: %s\n", DescribeCounts(most, true).c_str());
    std::vector<LimitPoint> over = PointsOverLimits(scan);
    std::printf("  %zu points over a limit\n", over.size());
    for (size_t i = 0; i < over.size() && i < 5; ++i)
        std::printf("    (%d, %d) facing %.0f: %s\n", over[i].x, over[i].y, over[i].heading,
                    DescribeCounts(over[i].most, true).c_str());
    std::fflush(stdout);
}

void CountsAt(const std::string& name, int x, int y) {
    SetField(level.name, name.c_str());
    LoadLevel(LevelSource::MasterDirectory);
    PreviewAssets assets = LoadPreviewAssets(level);
    PreviewScene scene = BuildPreviewScene(level, assets);
    ChoosePreviewThings(scene, {});
    LimitCounter rays(scene, level);
    LevelNodes nodes;
    const bool haveNodes = ReadLevelNodes(nodes);
    NodeWalkCounter walk(nodes, scene, level);
    const PreviewGround ground = GroundAt(scene, x, y);
    for (int heading = 0; heading < 360; heading += 45) {
        PreviewCamera eye{double(x), double(y), ground.floor + kEyeHeight, heading * 3.14159265358979323846 / 180};
        std::printf("%s (%d, %d) facing %d: rays %s\n", name.c_str(), x, y, heading,
                    DescribeCounts(rays.Count(eye), true).c_str());
        if (haveNodes)
            std::printf("%*s nodes %s\n", static_cast<int>(name.size() + 22), "",
                        DescribeCounts(walk.Count(eye), true).c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    SetFlavour(Flavour::Doom);
    ResetConfig();
    SetField(config.iwadName, benchkit::kFreedoom2);
    OpenIwad(config.iwadName);
    if (argc == 5 && std::string(argv[1]) == "--at") {
        CountsAt(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
        return 0;
    }
    std::vector<std::string> names;
    CountBy countBy = CountBy::Nodes;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--rays")
            countBy = CountBy::Rays;
        else
            names.push_back(argv[i]);
    }
    if (names.empty())
        names = {"MAP01", "MAP12"};
    for (const std::string& name : names)
        BenchLevel(name, countBy);
    return 0;
}
