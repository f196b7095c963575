// Showing a 1280x1024 screen: CPU milliseconds per frame on the headless
// screen and, when a display is there, in the SDL window. Cases: every pixel
// changed (cleared to a new colour), the editor's usual frames (the pointer
// moved over a map, a menu opened or closed), nothing changed; then the cost
// of a key poll in a long operation. The real time per frame is shown beside
// the CPU time: it includes the window system's copy to the display.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

#include "platform/video.h"
#include "base/flavour.h"

namespace {

constexpr int kFrames = 500;
constexpr int kPolls = 1000000;
constexpr int kPointerSide = 16;

struct Cost {
    double cpuMs, realMs;
};

// Runs `draw` then shows the canvas at once, kFrames times.
Cost Measure(const std::function<void(int)>& draw) {
    std::clock_t cpu = std::clock();
    auto real = std::chrono::steady_clock::now();
    for (int frame = 0; frame < kFrames; ++frame) {
        draw(frame);
        PlatformDelay(0);   // shows the canvas before it sleeps
    }
    std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - real;
    return {1000.0 * double(std::clock() - cpu) / CLOCKS_PER_SEC / kFrames,
            elapsed.count() / kFrames};
}

// A map-like screen: a grid of lines over the background, a menu bar.
void DrawMap(Canvas& screen) {
    screen.setbkcolor(0);
    screen.cleardevice();
    screen.setcolor(8);
    for (int x = 0; x < screen.width(); x += 64)
        screen.line(x, 20, x, screen.getmaxy());
    for (int y = 20; y < screen.height(); y += 64)
        screen.line(0, y, screen.getmaxx(), y);
    screen.setfillstyle(kSolidFill, 7);
    screen.bar(0, 0, screen.getmaxx(), 19);
}

// The pointer drawn over what it hides, which is put back when it moves on.
void MovePointer(Canvas& screen, int frame, Image& under, int& x, int& y) {
    if (frame > 0)
        screen.putimage(x, y, under, kCopyPut);
    x = 100 + (frame * 3) % 1000;
    y = 100 + (frame * 2) % 800;
    screen.getimage(x, y, x + kPointerSide - 1, y + kPointerSide - 1, under);
    screen.setfillstyle(kSolidFill, 15);
    screen.bar(x, y, x + kPointerSide - 1, y + kPointerSide - 1);
}

// A 240x320 menu under the menu bar, opened on even frames and closed on odd.
void ToggleMenu(Canvas& screen, int frame, Image& under) {
    const int left = 200, top = 20, right = 439, bottom = 339;
    if (frame % 2) {
        screen.putimage(left, top, under, kCopyPut);
        return;
    }
    screen.getimage(left, top, right, bottom, under);
    screen.setfillstyle(kSolidFill, 7);
    screen.bar(left, top, right, bottom);
    screen.setcolor(0);
    for (int item = 0; item < 20; ++item)
        screen.outtextxy(left + 8, top + 8 + 15 * item, "Menu item");
}

void Report(const char* what, Cost cost) {
    std::printf("  %-36s %7.3f ms CPU %7.3f ms real\n", what, cost.cpuMs, cost.realMs);
}

void Run(const char* name) {
    VideoStartError error;
    if (!VideoStart(1280, 1024, "Zarn", error)) {
        std::printf("%s not measured: %s\n", name, error.message.c_str());
        return;
    }
    std::printf("%s per 1280x1024 frame\n", name);
    Canvas& screen = Screen();
    Report("every pixel changed (clear and show)", Measure([&](int frame) {
               screen.setbkcolor(frame & 0xFF);
               screen.cleardevice();
           }));
    DrawMap(screen);
    PlatformDelay(0);
    Image under;
    int x = 0, y = 0;
    Report("pointer moved over the map", Measure([&](int frame) {
               MovePointer(screen, frame, under, x, y);
           }));
    Report("menu opened or closed", Measure([&](int frame) { ToggleMenu(screen, frame, under); }));
    Report("nothing changed", Measure([](int) {}));
    // A long operation that polls for Esc between its steps.
    std::clock_t start = std::clock();
    for (int poll = 0; poll < kPolls; ++poll)
        PlatformPoll(PollKind::Keys);
    double poll = 1e9 * double(std::clock() - start) / CLOCKS_PER_SEC / kPolls;
    VideoStop();
    std::printf("  %-36s %7.0f ns CPU\n", "key poll", poll);
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
