// The SDL window, on a private X server (Xvfb) started by the test: what it
// shows, read back from the server; keys; the mouse.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/keys.h"
#include "platform/video.h"
#include "support/private_x_server.h"
#include "support/program_state.h"
#include "support/x_window_reader.h"

namespace {

// Pushes an event of the type, its fields set by fill, as SDL would queue it.
template <typename Fill>
void Push(Uint32 type, Fill fill) {
    SDL_Event e{};
    e.type = type;
    fill(e);
    e.common.timestamp = SDL_GetTicks();
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

// Polls a while, so that the X server's events and the pushed ones arrive;
// then the pointer's x, y and buttons.
std::vector<int> Pump() {
    for (int i = 0; i < 20; ++i) {
        PlatformPoll(PollKind::Mouse);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<int> status(3);
    PlatformMouseStatus(status[0], status[1], status[2]);
    return status;
}

// On a screen larger than the fixed modes.
class SdlScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testkit::PrivateXServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed: the SDL window is not tested";
        ASSERT_TRUE(server.Start(2560, 1440)) << "Xvfb did not start";
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("ZARN_VIDEO");
        testkit::ResetProgramState();
    }
    void TearDown() override {
        testkit::ResetProgramState();
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("SDL_AUDIODRIVER");
    }
    bool Start(int w, int h) {
        VideoStartError error;
        EXPECT_TRUE(VideoStart(w, h, "Zarn", error)) << error.message;
        started = std::chrono::steady_clock::now();
        for (Uint32 id = 1; id < 64 && !window; ++id)
            window = SDL_GetWindowFromID(id);
        return window != nullptr;
    }
    // False when the server kept the window at another size.
    bool Resize(int w, int h) {
        SDL_SetWindowSize(window, w, h);
        int gotW = 0, gotH = 0;
        for (int i = 0; i < 3 && (gotW != w || gotH != h); ++i) {
            Pump();
            SDL_GetWindowSize(window, &gotW, &gotH);
        }
        return gotW == w && gotH == h;
    }
    // The pixels of the w x h window that are not the canvas pixel they stand
    // for through the palette, the picture's corner at (left, top) and
    // magnified by scale, or black outside the picture; -1 when the X server
    // gave no picture. Unless told otherwise, a wait shows the canvas first.
    int Wrong(int w, int h, int left, int top, int scale, bool wait = true) {
        if (wait)
            PlatformDelay(0);
        const std::vector<uint32_t> shown = testkit::ReadXWindow(window, w, h);
        if (shown.size() != size_t(w * h))
            return -1;
        uint8_t palette[768];
        VideoGetPalette(palette);
        int wrong = 0;
        for (int i = 0; i < w * h; ++i) {
            const int x = i % w - left, y = i / w - top;
            const uint8_t* six = palette + 3 * Screen().getpixel(x / scale, y / scale);
            const bool inside = x >= 0 && y >= 0 && x < Screen().width() * scale && y < Screen().height() * scale;
            const uint32_t rgb = uint32_t(six[0] << 16 | six[1] << 8 | six[2]);   // six bits to a component
            wrong += shown[size_t(i)] != (inside ? rgb << 2 | (rgb >> 4 & 0x030303) : 0);
        }
        return wrong;
    }
    testkit::PrivateXServer server;
    SDL_Window* window = nullptr;
    std::chrono::steady_clock::time_point started;   // when the window had started
};

// A new window's first picture is a whole one: polls while it is being
// drawn show nothing, the first wait shows it; from then on polls show
// progress. Only the changed areas are sent: after a small change, a new
// palette and a resize the window still shows the whole canvas.
TEST_F(SdlScreenTest, WindowShowsTheCanvasThroughThePaletteScaledToFit) {
    ASSERT_TRUE(Start(640, 480));
    SDL_SetWindowPosition(window, 0, 0);   // all of it on the server's screen
    Screen().setfillstyle(kSolidFill, 3);
    Screen().bar(0, 0, 639, 239);   // half drawn
    for (int i = 0; i < 3; ++i)
        PlatformPoll(PollKind::Mouse);
    // Where the machine was too slow, a wait may have come between.
    const bool quick = std::chrono::steady_clock::now() - started < std::chrono::milliseconds(200);
    EXPECT_TRUE(!quick || Wrong(640, 480, 0, 0, 1, false) > 0) << "a poll showed the half-drawn picture";
    Screen().bar(0, 240, 639, 479);
    EXPECT_EQ(Wrong(640, 480, 0, 0, 1), 0) << "first wait";
    Screen().setcolor(14);
    Screen().line(639, 0, 0, 479);
    Screen().outtextxy(600, 470, "Menu");   // right and bottom edges
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PlatformPoll(PollKind::Mouse);
    EXPECT_EQ(Wrong(640, 480, 0, 0, 1, false), 0) << "a poll later showed no progress";
    Screen().outtextxy(8, 8, "File");
    EXPECT_EQ(Wrong(640, 480, 0, 0, 1), 0) << "small changes";
    uint8_t palette[768];
    VideoGetPalette(palette);
    std::swap_ranges(palette + 3 * 3, palette + 3 * 4, palette + 3 * 14);   // cyan <-> yellow
    VideoSetPalette(palette);
    EXPECT_EQ(Wrong(640, 480, 0, 0, 1), 0) << "new palette";
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Zarn");
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    // Twice as large and taller: black bars above and below.
    if (!Resize(1280, 1100))
        GTEST_SKIP() << "the X server kept the window from 1280x1100";
    EXPECT_EQ(Wrong(1280, 1100, 0, 70, 2), 0) << "resized";
}

// The window-size mode: the window takes the whole screen and the canvas the
// window's size, shown one to one, also once the window is resized.
TEST_F(SdlScreenTest, InTheWindowSizeModeTheCanvasIsTheWindowsOwnSize) {
    ASSERT_TRUE(Start(kWindowSized, kWindowSized));
    int w = 0, h = 0, displayW = 0, displayH = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_TRUE(VideoDisplaySize(displayW, displayH));
    EXPECT_EQ(std::vector<int>({w, h, Screen().width(), Screen().height(), displayW, displayH}),
              std::vector<int>({2560, 1440, 2560, 1440, 2560, 1440}));
    SDL_SetWindowPosition(window, 0, 0);
    if (!Resize(1700, 1000))
        GTEST_SKIP() << "the X server kept the window from 1700x1000";
    ASSERT_TRUE(VideoWindowResized(w, h));
    VideoResizeCanvas(w, h);
    Screen().setcolor(14);
    Screen().line(1699, 0, 0, 999);
    EXPECT_EQ(Wrong(1700, 1000, 0, 0, 1), 0);
}

// Keys become BIOS codes, a character key once its text arrives with the
// layout's characters; the close button has its own code. The pointer is in
// canvas pixels, also in a scaled window; a captured one moves by the motion
// times speed / 50.
TEST_F(SdlScreenTest, KeysAndMouse) {
    ASSERT_TRUE(Start(640, 480));
    const int keys[][2] = {{SDLK_F2, KMOD_LSHIFT}, {SDLK_f, KMOD_LALT}, {SDLK_LEFT, KMOD_LCTRL},
                           {SDLK_KP_8, 0}, {SDLK_e, 0}};   // keypad without Num Lock; e waits for its text
    for (const auto& k : keys)
        Push(SDL_KEYDOWN, [&](SDL_Event& e) {
            e.key.state = SDL_PRESSED, e.key.keysym.sym = k[0], e.key.keysym.mod = Uint16(k[1]);
        });
    Push(SDL_TEXTINPUT, [](SDL_Event& e) { std::strcpy(e.text.text, "e;"); });
    Push(SDL_QUIT, [](SDL_Event&) {});
    Pump();
    for (int code : {0x5500, 0x2100, 0x7300, int{kKeyUp}, int{'E'}, int{';'}, int{kKeyWindowClose}, -1})
        EXPECT_EQ(PlatformReadKey(), code);

    SDL_WarpMouseInWindow(window, 100, 50);   // a real pointer motion of the X server
    EXPECT_EQ(Pump(), (std::vector<int>{100, 50, 0}));
    const Uint32 id = SDL_GetWindowID(window);
    Push(SDL_MOUSEBUTTONDOWN, [&](SDL_Event& e) {
        e.button.windowID = id, e.button.button = SDL_BUTTON_RIGHT, e.button.state = SDL_PRESSED;
    });
    PlatformSetMouseSpeed(100, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE);
    Push(SDL_MOUSEMOTION, [&](SDL_Event& e) { e.motion.windowID = id, e.motion.xrel = 10, e.motion.yrel = -3; });
    EXPECT_EQ(Pump(), (std::vector<int>{120, 44, kButtonRight}));
    PlatformSetMouseSpeed(kPlatformMouseSpeed, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
    // 640x480 fits a 1000x480 window at scale 1 with 180 pixels of border on
    // either side; on the border the nearest canvas pixel.
    if (!Resize(1000, 480))
        GTEST_SKIP() << "the X server kept the window from 1000x480";
    SDL_WarpMouseInWindow(window, 180 + 30, 40);
    EXPECT_EQ(Pump()[0], 30);
    SDL_WarpMouseInWindow(window, 10, 40);
    EXPECT_EQ(Pump()[0], 0);
}

}  // namespace
