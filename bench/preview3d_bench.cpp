// 3D preview speed on one core.
//
// The renderer alone: opening the view (decoding the pictures and preparing
// the level) and drawing 1280x1024 frames of Freedoom 2's MAP01 and MAP12
// and of the generated level of 65,160 LineDefs (bench_kit.h), from Player
// 1's start turning around, and on a tour from Things all over each level.
// Targets: a frame of MAP01 under 8 ms, of MAP12 under 16 ms, opening under
// 50 ms.
//
// A turn in the view as the user sees it: the editor's 3D view in a
// 1280x1024 window on a private X server (Xvfb), turned by the Left key; a
// second thread acts as the user and takes the CPU time the program's
// thread used from the key to its sleep in the wait for input (the key's
// press and release, the frame, the window's update). Goals: under 16 ms on
// the generated level; on MAP12 one frame per key, within 1.3 times what
// the renderer alone takes for the same views.
//
//   build/bench/preview3d_bench [renderer|window] [PNGDIR]
//
// With a directory, the frames of the turn and every tenth of the tour are
// also written there as PNG files. Under valgrind --tool=callgrind
// --toggle-collect='PreviewRenderer::Draw(*)' the renderer's instructions
// are counted, which the machine's load does not change.
#include <SDL.h>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "bench_kit.h"
#include "editor/editor.h"
#include "level/level.h"
#include "level/level_files.h"
#include "view3d/preview3d.h"
#include "view3d/preview3d_motion.h"
#include "platform/png_writer.h"
#include "support/private_x_server.h"
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
constexpr double kPi = 3.14159265358979323846;
constexpr double kKeyTurn = kPi / 32;   // what the view's Left key turns
constexpr int kTurnKeys = 32;
constexpr int kGridSide = 180;          // rooms: 65,160 LineDefs

double ThreadCpuMilliseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The CPU time of this thread: on a machine shared with other work it shows
// what a frame costs one core, where the clock also counts waiting for it.
double CpuMilliseconds() { return ThreadCpuMilliseconds(CLOCK_THREAD_CPUTIME_ID); }

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string LoadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string a, b, c;
    in >> a >> b >> c;
    return a + " " + b + " " + c;
}

void WriteFrame(const std::string& path, const std::vector<uint8_t>& frame) {
    const WadDirEntry* entry = FindEntry(0, "PLAYPAL", EntryNeed::Required);
    std::vector<uint8_t> palette = ReadEntryData(*entry);
    palette.resize(768);
    WritePng(path, kWidth, kHeight, frame.data(), palette.data());
}

// Makes the level current: a level of Freedoom 2, or "65k", the generated
// grid of rooms with Player 1's start in a room at its middle, facing north.
void UseLevel(const std::string& name) {
    if (name != "65k") {
        SetField(level.name, name.c_str());
        LoadLevel(LevelSource::MasterDirectory);
        return;
    }
    benchkit::LoadRoomGrid(kGridSide);
    level.things[0] = Thing{16, 16, 90, 1, 7};
}

PreviewWalker StartOf(const PreviewScene& scene) {
    for (const Thing& t : level.things)
        if (t.type == 1)
            return WalkerAt(scene, t.x, t.y, t.angle);
    return WalkerAt(scene, 0, 0, 0);
}

// The renderer's CPU milliseconds for each view.
std::vector<double> RenderTimes(const std::vector<PreviewCamera>& views, int width, int height) {
    PreviewAssets assets = LoadPreviewAssets(level);
    PreviewScene scene = BuildPreviewScene(level, assets);
    PreviewRenderer renderer;
    std::vector<uint8_t> frame(static_cast<size_t>(width) * height);
    std::vector<double> times;
    for (const PreviewCamera& camera : views) {
        double cpu = CpuMilliseconds();
        renderer.Draw(scene, assets, camera, frame.data(), width, height);
        times.push_back(CpuMilliseconds() - cpu);
    }
    return times;
}

void BenchRenderer(const std::string& name, const char* pngDir) {
    UseLevel(name);
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
    PreviewWalker walker = StartOf(scene);
    PreviewRenderer renderer;
    std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight);
    std::vector<double> wall, cpu;
    for (int round = 0; round < kRounds; ++round)
        for (int turn = 0; turn < kTurns; ++turn) {
            PreviewWalker view = walker;
            WalkerTurn(view, turn * 2 * kPi / kTurns);
            Clock::time_point start = Clock::now();
            double before = CpuMilliseconds();
            renderer.Draw(scene, assets, view.camera, frame.data(), kWidth, kHeight);
            cpu.push_back(CpuMilliseconds() - before);
            wall.push_back(Milliseconds(start));
            if (pngDir && round == 0)
                WriteFrame(std::string(pngDir) + "/" + name + "-" + std::to_string(turn) + ".png", frame);
        }
    // A tour: from Things spread over the whole level, looking four ways.
    std::vector<double> tour;
    int stride = std::max(1, level.things.count / kTourSpots);
    for (int n = 0; n < level.things.count; n += stride) {
        const Thing& t = level.things[n];
        PreviewWalker spot = WalkerAt(scene, t.x, t.y, t.angle);
        for (int turn = 0; turn < 4; ++turn, WalkerTurn(spot, kPi / 2)) {
            double before = CpuMilliseconds();
            renderer.Draw(scene, assets, spot.camera, frame.data(), kWidth, kHeight);
            tour.push_back(CpuMilliseconds() - before);
            if (pngDir && tour.size() % kTourShotEvery == 1)
                WriteFrame(std::string(pngDir) + "/" + name + "-tour" + std::to_string(tour.size() - 1) + ".png",
                           frame);
        }
    }
    std::printf("\n%s: %d LineDefs, %d Things; open %.1f ms, CPU %.1f ms (%zu textures, %zu flats, %zu sprite lumps)\n",
                name.c_str(), level.lineDefs.count, level.things.count, open, openCpu, assets.textures.size(),
                assets.flats.size(), assets.spritePictures.size());
    std::printf("  %dx%d frame, %zu frames in %d headings: median %.2f ms; CPU median %.2f ms, worst %.2f\n", kWidth,
                kHeight, cpu.size(), kTurns, Median(wall), Median(cpu), *std::max_element(cpu.begin(), cpu.end()));
    std::printf("  tour of %zu frames from Things all over the level: CPU median %.2f ms, worst %.2f ms\n", tour.size(),
                Median(tour), *std::max_element(tour.begin(), tour.end()));
    std::fflush(stdout);
}

// ---- A turn in the editor's 3D view, in a window ----------------------------

// Acts as the user from a second thread while the program runs the view on
// its own thread.
class User {
public:
    explicit User(pthread_t program) {
        pthread_getcpuclockid(program, &programClock_);
        statPath_ = "/proc/self/task/" + std::to_string(getpid()) + "/stat";
    }

    // Waits until the program sleeps in its wait for input: nothing queued,
    // its thread asleep and using no CPU for a while.
    void WaitIdle() {
        double last = ThreadCpuMilliseconds(programClock_);
        for (int quiet = 0, i = 0; quiet < 4 && i < 10000; ++i) {
            usleep(3000);
            double now = ThreadCpuMilliseconds(programClock_);
            quiet = now == last && Sleeping() && !SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) ? quiet + 1 : 0;
            last = now;
        }
    }

    // The program's CPU milliseconds for one key, pressed and released.
    double Key(SDL_Keycode sym) {
        WaitIdle();
        double before = ThreadCpuMilliseconds(programClock_);
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = SDL_GetWindowID(SDL_GetKeyboardFocus());
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = sym;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
        SDL_PushEvent(&e);
        e.type = SDL_KEYUP;
        e.key.state = SDL_RELEASED;
        SDL_PushEvent(&e);
        WaitIdle();
        return ThreadCpuMilliseconds(programClock_) - before;
    }

private:
    bool Sleeping() const {
        char text[512] = {};
        int fd = open(statPath_.c_str(), O_RDONLY);
        ssize_t n = fd >= 0 ? read(fd, text, sizeof text - 1) : -1;
        if (fd >= 0)
            close(fd);
        text[std::max<ssize_t>(n, 0)] = 0;
        const char* paren = std::strrchr(text, ')');
        return paren && paren[1] == ' ' && paren[2] == 'S';
    }

    clockid_t programClock_{};
    std::string statPath_;
};

// Opens the view on the level (W), turns it left key by key and leaves it
// (Esc); prints the CPU time per key against the renderer's for the same
// views.
void BenchTurn(const std::string& name, const char* goal) {
    UseLevel(name);
    std::vector<double> perKey;
    std::thread user([&perKey, program = pthread_self()] {
        User acting(program);
        acting.Key(SDLK_UP);   // settles the first frame: one step, not measured
        acting.Key(SDLK_DOWN);
        for (int k = 0; k < kTurnKeys; ++k)
            perKey.push_back(acting.Key(SDLK_LEFT));
        acting.Key(SDLK_ESCAPE);
    });
    Preview3d(PreviewStart::PlayerStart);
    user.join();
    // The same views drawn by the renderer alone, at the window's size.
    PreviewAssets assets = LoadPreviewAssets(level);
    PreviewWalker walker = StartOf(BuildPreviewScene(level, assets));
    std::vector<PreviewCamera> views;
    for (int k = 1; k <= kTurnKeys; ++k) {
        WalkerTurn(walker, kKeyTurn);
        views.push_back(walker.camera);
    }
    double turn = Median(perKey), alone = Median(RenderTimes(views, Screen().width(), Screen().height()));
    std::printf("  %-6s turn: median %6.2f ms CPU a key, worst %6.2f; the renderer alone %6.2f ms: %.2f times  "
                "goal %s\n",
                name.c_str(), turn, *std::max_element(perKey.begin(), perKey.end()), alone, turn / alone, goal);
    std::fflush(stdout);
}

void BenchWindow() {
    testkit::PrivateXServer server;
    if (!testkit::PrivateXServer::Installed() || !server.Start(kWidth, kHeight)) {
        std::printf("\nturn in a window: needs Xvfb; skipped\n");
        return;
    }
    unsetenv("SDL_VIDEODRIVER");
    benchkit::StartEditorScreen(GraphicsPalette::Game, benchkit::ScreenKind::Window);
    std::printf("\nTurn in the 3D view: %dx%d window on Xvfb, the Left key (press and release)\n",
                Screen().width(), Screen().height());
    BenchTurn("MAP12", "one frame a key, within 1.3 times the renderer");
    BenchTurn("65k", "< 16 ms");
    CloseGraphics();
}

}  // namespace

int main(int argc, char** argv) {
    std::string part = argc > 1 ? argv[1] : "";
    const char* pngDir = argc > 2 ? argv[2] : nullptr;
    if (part != "" && part != "renderer" && part != "window") {
        std::printf("usage: preview3d_bench [renderer|window] [PNGDIR]\n");
        return 2;
    }
    std::printf("3D preview, one core; load %s\n", LoadAverage().c_str());
    SetFlavour(Flavour::Doom);
    ResetConfig();
    SetField(config.iwadName, kIwad);
    OpenIwad(config.iwadName);
    if (part != "window")
        for (const char* name : {"MAP01", "MAP12", "65k"})
            BenchRenderer(name, pngDir);
    if (part != "renderer")
        BenchWindow();
    std::printf("\nload %s\n", LoadAverage().c_str());
    return 0;
}
