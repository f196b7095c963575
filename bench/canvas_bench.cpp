// Canvas drawing speed: a 1280x1024 screen cleared and a map of 11,000 lines
// drawn in the styles the editor uses, plus the other frequent primitives.
// Prints milliseconds per operation (averaged over several frames).
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "platform/canvas.h"

namespace {

struct Segment {
    int x1, y1, x2, y2;
};

// A map-like set of lines: short walls scattered over (and a little beyond)
// the screen, scaled by zoom around the centre.
std::vector<Segment> MakeMap(int count, double zoom)
{
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> px(-100, 1380), py(-100, 1124), len(-120, 120);
    std::vector<Segment> lines;
    for (int i = 0; i < count; ++i) {
        const int x = px(rng), y = py(rng);
        const int x2 = x + len(rng), y2 = y + len(rng);
        auto sx = [&](int v) { return int((v - 640) * zoom) + 640; };
        auto sy = [&](int v) { return int((v - 512) * zoom) + 512; };
        lines.push_back({sx(x), sy(y), sx(x2), sy(y2)});
    }
    return lines;
}

template <typename F>
void Measure(const char* what, int repeats, F&& op)
{
    op();   // warm up
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeats; ++i)
        op();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-46s %9.3f ms\n", what, ms / repeats);
}

}  // namespace

int main()
{
    Canvas canvas(1280, 1024);
    const std::vector<Segment> map = MakeMap(11000, 1.0);
    const std::vector<Segment> zoomed = MakeMap(11000, 500.0);
    auto drawMap = [&](const std::vector<Segment>& lines) {
        for (const Segment& s : lines)
            canvas.line(s.x1, s.y1, s.x2, s.y2);
    };
    const int kRepeats = 20;

    Measure("cleardevice 1280x1024", kRepeats, [&] { canvas.cleardevice(); });
    canvas.setviewport(0, 17, 1279, 1010, true);
    Measure("11000 lines, solid, width 1", kRepeats, [&] { drawMap(map); });
    Measure("clear + 11000 lines (a full map frame)", kRepeats, [&] {
        canvas.clearviewport();
        drawMap(map);
    });
    canvas.setlinestyle(kSolidLine, 0, kThickWidth);
    Measure("11000 lines, solid, width 3", kRepeats, [&] { drawMap(map); });
    canvas.setlinestyle(kDottedLine, 0, kNormWidth);
    Measure("11000 lines, dotted, width 1", kRepeats, [&] { drawMap(map); });
    canvas.setlinestyle(kSolidLine, 0, kNormWidth);
    canvas.setwritemode(kXorPut);
    Measure("11000 lines, XOR, width 1", kRepeats, [&] { drawMap(map); });
    canvas.setwritemode(kCopyPut);
    Measure("11000 lines at zoom x500 (mostly clipped)", kRepeats, [&] { drawMap(zoomed); });
    Measure("1000 rectangles 20x20", kRepeats, [&] {
        for (int i = 0; i < 1000; ++i)
            canvas.rectangle(i % 1200, i % 900, i % 1200 + 20, i % 900 + 20);
    });
    Measure("1000 circles radius 16", kRepeats, [&] {
        for (int i = 0; i < 1000; ++i)
            canvas.circle(i % 1200 + 20, i % 900 + 20, 16);
    });
    Measure("bar 1280x994 (hatch fill)", kRepeats, [&] {
        canvas.setfillstyle(kHatchFill, 3);
        canvas.bar(0, 0, 1279, 993);
    });
    Measure("100 lines of 80 characters of text", kRepeats, [&] {
        for (int i = 0; i < 100; ++i)
            canvas.outtextxy(0, i * 9, "The quick brown fox jumps over the lazy dog. 0123456789 ABCDEFGHIJKLMNOPQRSTUV");
    });
    Image saved;
    Measure("getimage + putimage 400x300", kRepeats, [&] {
        canvas.getimage(100, 100, 499, 399, saved);
        canvas.putimage(100, 100, saved, kCopyPut);
    });
    return 0;
}
