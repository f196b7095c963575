// Clearing and showing a 1280x1024 frame: CPU milliseconds per frame on the
// headless screen and, when a display is there, in the SDL window.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/video.h"
#include "shell/flavour.h"

namespace {

constexpr int kFrames = 200;
constexpr int kPolls = 1000000;

void Run(const char* name) {
    std::string error;
    if (!VideoStart(1280, 1024, error)) {
        std::printf("%-9s not measured: %s\n", name, error.c_str());
        return;
    }
    Canvas& screen = Screen();
    std::clock_t start = std::clock();
    for (int frame = 0; frame < kFrames; ++frame) {
        screen.setbkcolor(frame & 0xFF);
        screen.cleardevice();
        PlatformDelay(0);   // shows the canvas at once
    }
    double ms = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC / kFrames;
    start = std::clock();
    for (int frame = 0; frame < kFrames; ++frame)
        PlatformDelay(0);   // nothing changed: nothing to show
    double idle = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC / kFrames;
    // A long operation that polls for Esc between its steps.
    start = std::clock();
    for (int poll = 0; poll < kPolls; ++poll)
        PlatformPoll(PollKind::Keys);
    double poll = 1e9 * double(std::clock() - start) / CLOCKS_PER_SEC / kPolls;
    VideoStop();
    std::printf("%-9s %.3f ms CPU per 1280x1024 frame (clear and show), %.3f ms unchanged, "
                "%.0f ns per key poll\n",
                name, ms, idle, poll);
}

}  // namespace

int main() {
    SetFlavour(Flavour::Heretic);
    setenv("ZARN_VIDEO", "headless", 1);
    Run("headless:");
    unsetenv("ZARN_VIDEO");
    Run("sdl:");
    return 0;
}
