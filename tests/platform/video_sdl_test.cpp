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
    // gave no picture. A wait shows the canvas first.
    int Wrong(int w, int h, int left, int top, int scale) {
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
};

// Only the changed areas are sent: after a small change, a new palette and
// a resize the window still shows the whole canvas.
TEST_F(SdlScreenTest, WindowShowsTheCanvasThroughThePaletteScaledToFit) {
    ASSERT_TRUE(Start(640, 480));
    SDL_SetWindowPosition(window, 0, 0);   // all of it on the server's screen
    Screen().setfillstyle(kSolidFill, 3);
    Screen().bar(0, 0, 639, 479);
    EXPECT_EQ(Wrong(640, 480, 0, 0, 1), 0) << "first wait";
    Screen().setcolor(14);
    Screen().line(639, 0, 0, 479);
    Screen().outtextxy(600, 470, "Menu");   // right and bottom edges
    EXPECT_EQ(Wrong(640, 480, 0, 0, 1), 0) << "small changes";
    uint8_t palette[768];
    VideoGetPalette(palette);
    std::swap_ranges(palette + 3 * 3, palette + 3 * 4, palette + 3 * 14);   // cyan <-> yellow
    VideoSetPalette(palette);
    EXPECT_EQ(Wrong(640, 480, 0, 0, 1), 0) << "new palette";
    // Twice as large and taller: black bars above and below.
    if (!Resize(1280, 1100))
        GTEST_SKIP() << "the X server kept the window from 1280x1100";
    EXPECT_EQ(Wrong(1280, 1100, 0, 70, 2), 0) << "resized";
}

// Keys become BIOS codes, a character key once its text arrives with the
// layout's characters; the close button has its own code. The pointer is in
// canvas pixels; a captured one moves by the motion times speed / 50.
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
}

}  // namespace
