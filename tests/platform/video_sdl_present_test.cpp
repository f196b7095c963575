// What the SDL window shows, read back from the X server: after every change
// of the canvas (only the changed areas are sent), of the palette and of the
// window's size, the window holds the canvas through the palette, scaled to
// fit with black borders. On X servers of 24- and 16-bit colour.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

#include "platform/video.h"
#include "shell/flavour.h"
#include "support/private_x_server.h"
#include "support/x_window_reader.h"

namespace {

// Window sizes where the canvas's pixels land on whole window pixels, so that
// which canvas pixel a window pixel shows is beyond doubt: the picture's
// place in the window, canvas 640x480.
struct Fit {
    int windowW, windowH;
    int x, y, w, h;
};

class SdlPresentTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        if (!testkit::PrivateXServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed: the SDL window is not tested";
        std::string display = server.Start("1600x1200x" + std::to_string(GetParam()));
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("ZARN_VIDEO");
        SetFlavour(Flavour::Heretic);
        std::string error;
        ASSERT_TRUE(VideoStart(640, 480, error)) << error;
        for (Uint32 id = 1; id < 64 && !window; ++id)
            window = SDL_GetWindowFromID(id);
        ASSERT_NE(window, nullptr);
        SDL_SetWindowPosition(window, 0, 0);   // all of it on the server's screen
        ASSERT_TRUE(reader.Open(window)) << "Xlib could not be loaded";
        Resize({640, 480, 0, 0, 640, 480});
    }
    void TearDown() override {
        VideoStop();
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("SDL_AUDIODRIVER");
    }
    // The window at the size of `fit`; false when the server kept another.
    bool Resize(const Fit& to) {
        fit = to;
        SDL_SetWindowSize(window, to.windowW, to.windowH);
        int w = 0, h = 0;
        for (int i = 0; i < 50 && (w != to.windowW || h != to.windowH); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            PlatformPoll(PollKind::Mouse);
            SDL_GetWindowSize(window, &w, &h);
        }
        PlatformPoll(PollKind::Mouse);
        return w == to.windowW && h == to.windowH;
    }
    // Shows the canvas and compares every window pixel with the canvas pixel
    // it stands for, through the palette, or black outside the picture.
    void ExpectWindowShowsCanvas(const std::string& step) {
        PlatformDelay(0);
        testkit::WindowImage image = reader.Read(fit.windowW, fit.windowH);
        ASSERT_EQ(image.rgb.size(), size_t(fit.windowW) * size_t(fit.windowH)) << step;
        uint8_t palette[768];
        VideoGetPalette(palette);
        const Canvas& screen = Screen();
        int wrong = 0;
        std::ostringstream first;
        for (int y = 0; y < fit.windowH; ++y)
            for (int x = 0; x < fit.windowW; ++x) {
                uint32_t want = 0;
                if (x >= fit.x && x < fit.x + fit.w && y >= fit.y && y < fit.y + fit.h) {
                    const uint8_t* six = palette + 3 * screen.getpixel(
                                                           (x - fit.x) * screen.width() / fit.w,
                                                           (y - fit.y) * screen.height() / fit.h);
                    auto eight = [](uint8_t v) { return uint8_t(v << 2 | v >> 4); };
                    want = image.Kept(eight(six[0]), eight(six[1]), eight(six[2]));
                }
                uint32_t got = image.at(x, y);
                if (got != want && wrong++ == 0)
                    first << " first at (" << x << ", " << y << "): " << std::hex << got
                          << " for " << want;
            }
        EXPECT_EQ(wrong, 0) << step << first.str();
    }
    // Small changes as the editor makes them, each shown and checked.
    void DrawAndCheck(const std::string& where) {
        Canvas& screen = Screen();
        screen.setfillstyle(kSolidFill, 3);
        screen.bar(0, 0, 639, 479);
        ExpectWindowShowsCanvas(where + ": cleared");
        screen.setfillstyle(kSolidFill, 15);
        for (int step = 0; step < 3; ++step) {
            int x = 5 + 97 * step, y = 7 + 61 * step;
            screen.bar(x, y, x + 15, y + 15);   // a pointer moving
            ExpectWindowShowsCanvas(where + ": pointer " + std::to_string(step));
        }
        screen.setcolor(14);
        screen.line(639, 0, 0, 479);
        screen.outtextxy(600, 470, "Menu");   // right and bottom edges
        screen.putpixel(0, 0, 4);
        ExpectWindowShowsCanvas(where + ": line, text and a corner");
    }
    testkit::PrivateXServer server;
    SDL_Window* window = nullptr;
    testkit::XWindowReader reader;
    Fit fit{};
};

TEST_P(SdlPresentTest, WindowFollowsTheCanvasAndThePalette) {
    DrawAndCheck("640x480");
    uint8_t palette[768];
    VideoGetPalette(palette);
    std::swap_ranges(palette + 3 * 3, palette + 3 * 4, palette + 3 * 15);   // cyan <-> white
    palette[3 * 14] = 20;
    VideoSetPalette(palette);
    ExpectWindowShowsCanvas("new palette");
    ExpectWindowShowsCanvas("nothing changed");
}

TEST_P(SdlPresentTest, ScaledWindowKeepsTheAspectWithBlackBorders) {
    const Fit fits[] = {
        {1000, 480, 180, 0, 640, 480},    // wider: borders left and right
        {1280, 1100, 0, 70, 1280, 960},   // twice as large, taller: top and bottom
        {320, 240, 0, 0, 320, 240},       // half
    };
    for (const Fit& f : fits) {
        std::string size = std::to_string(f.windowW) + "x" + std::to_string(f.windowH);
        if (!Resize(f))
            GTEST_SKIP() << "the X server kept the window from " << size;
        ExpectWindowShowsCanvas(size + ": after resizing");
        DrawAndCheck(size);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, SdlPresentTest, ::testing::Values(24, 16),
                         [](const ::testing::TestParamInfo<int>& depth) {
                             return std::to_string(depth.param) + "bit";
                         });

}  // namespace
