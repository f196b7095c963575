// The SDL window, on a private X server (Xvfb) started by the test.
#include <gtest/gtest.h>

#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/keys.h"
#include "platform/video.h"
#include "shell/flavour.h"
#include "support/private_x_server.h"

namespace {

SDL_Window* FindWindow() {
    for (Uint32 id = 1; id < 64; ++id)
        if (SDL_Window* w = SDL_GetWindowFromID(id))
            return w;
    return nullptr;
}

void Push(SDL_Event e) {
    e.common.timestamp = SDL_GetTicks();
    ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
}

// Polls until the X server's events have arrived; the pointer's x, y and buttons.
std::vector<int> Mouse() {
    for (int i = 0; i < 20; ++i) {
        PlatformPoll(PollKind::Mouse);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<int> status(3);
    PlatformMouseStatus(status[0], status[1], status[2]);
    return status;
}

class SdlScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testkit::PrivateXServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed: the SDL window is not tested";
        std::string display = server.Start();
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("ZARN_VIDEO");
        SetFlavour(Flavour::Heretic);
        std::string error;
        ASSERT_TRUE(VideoStart(640, 480, error)) << error;
        window = FindWindow();
        ASSERT_NE(window, nullptr);
        PlatformMouseReset();
    }
    void TearDown() override {
        VideoStop();
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("SDL_AUDIODRIVER");
    }
    // The next key, once the pushed events have been pumped; -1 when none.
    int Key() {
        for (int i = 0; i < 20 && !PlatformKeyWaiting(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            PlatformPoll(PollKind::Keys);
        }
        return PlatformReadKey();
    }
    testkit::PrivateXServer server;
    SDL_Window* window = nullptr;
};

TEST_F(SdlScreenTest, WindowTitledWithTheProductShowsTheCanvasThroughThePalette) {
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Zarn");
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w * 1000 + h, 640480);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    Screen().setfillstyle(kSolidFill, 4);
    Screen().bar(0, 0, 639, 479);
    PlatformWaitForInput();   // shows the canvas before it waits
    // Read back from the renderer, or from the window surface where none draws.
    Uint32 pixel = 0;
    SDL_Rect one = {10, 10, 1, 1};
    if (SDL_Renderer* renderer = SDL_GetRenderer(window)) {
        ASSERT_EQ(SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4), 0) << SDL_GetError();
    } else {
        SDL_Surface* surface = SDL_GetWindowSurface(window);
        ASSERT_NE(surface, nullptr);
        const auto* at = static_cast<const Uint8*>(surface->pixels) + 10 * surface->pitch + 10 * surface->format->BytesPerPixel;
        ASSERT_EQ(SDL_ConvertPixels(1, 1, surface->format->format, at, surface->pitch, SDL_PIXELFORMAT_ARGB8888, &pixel, 4), 0);
    }
    EXPECT_EQ(pixel & 0xFFFFFF, 0xAA0000u);   // EGA red (42, 0, 0)
}

TEST_F(SdlScreenTest, KeysBecomeBiosCodes) {
    const struct {
        SDL_Keycode sym;
        Uint16 mod;
        int code;
    } keys[] = {{SDLK_F2, KMOD_LSHIFT, 0x5500}, {SDLK_f, KMOD_LALT, 0x2100}, {SDLK_LEFT, KMOD_LCTRL, 0x7300},
                {SDLK_KP_8, 0, kKeyUp},   // keypad without Num Lock
                {SDLK_e, 0, -1}};         // a character key waits for its text
    for (const auto& k : keys) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = k.sym;
        e.key.keysym.mod = k.mod;
        Push(e);
        EXPECT_EQ(Key(), k.code) << k.sym;
        EXPECT_EQ(PlatformShiftState() & kShiftLeft, k.mod == KMOD_LSHIFT ? kShiftLeft : 0);
    }
    // The text carries the layout's characters; the close button its own code.
    SDL_Event text{}, quit{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "e;");
    Push(text);
    EXPECT_EQ(Key(), 'E');
    EXPECT_EQ(Key(), ';');
    quit.type = SDL_QUIT;
    Push(quit);
    EXPECT_EQ(Key(), kKeyWindowClose);
}

TEST_F(SdlScreenTest, MouseInCanvasPixelsCapturedAndInAScaledWindow) {
    // A real pointer motion of the X server, into canvas pixels.
    SDL_WarpMouseInWindow(window, 100, 50);
    EXPECT_EQ(Mouse(), (std::vector<int>{100, 50, 0}));
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.windowID = SDL_GetWindowID(window);
    press.button.button = SDL_BUTTON_RIGHT;
    press.button.state = SDL_PRESSED;
    press.button.x = 100;
    press.button.y = 50;
    Push(press);
    EXPECT_EQ(Mouse(), (std::vector<int>{100, 50, kButtonRight}));

    // A captured pointer moves by the motion times speed / 50.
    PlatformSetMouseSpeed(100, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE);
    std::vector<int> before = Mouse();
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = press.button.windowID;
    move.motion.xrel = 10;
    move.motion.yrel = -3;
    Push(move);
    EXPECT_EQ(Mouse(), (std::vector<int>{before[0] + 20, before[1] - 6, kButtonRight}));
    PlatformSetMouseSpeed(kPlatformMouseSpeed, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);

    // 640x480 fits a 1000x480 window at scale 1 with 180 pixels of border on
    // either side; on the border the nearest canvas pixel.
    SDL_SetWindowSize(window, 1000, 480);
    Mouse();
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    if (w != 1000 || h != 480)
        GTEST_SKIP() << "the X server kept the window at " << w << "x" << h;
    SDL_WarpMouseInWindow(window, 180 + 30, 40);
    EXPECT_EQ(Mouse()[0], 30);
    SDL_WarpMouseInWindow(window, 10, 40);
    EXPECT_EQ(Mouse()[0], 0);
}

// Without a display SDL's message, and never a driver that shows nothing.
TEST(SdlScreenFailure, NoDisplayIsAnErrorNotAnInvisibleWindow) {
    const char* display = getenv("DISPLAY");
    const std::string saved = display ? display : "";
    setenv("DISPLAY", ":8791", 1);
    unsetenv("ZARN_VIDEO");
    std::string error;
    for (const char* driver : {"x11", ""}) {
        if (*driver)
            setenv("SDL_VIDEODRIVER", driver, 1);
        else
            unsetenv("SDL_VIDEODRIVER");
        if (VideoStart(640, 480, error)) {
            EXPECT_EQ(*driver, 0) << "a window without a display";
            EXPECT_NE(std::string(SDL_GetCurrentVideoDriver()), "offscreen");
            EXPECT_NE(std::string(SDL_GetCurrentVideoDriver()), "dummy");
            VideoStop();
        } else {
            EXPECT_FALSE(error.empty());
            EXPECT_FALSE(VideoActive());
        }
    }
    if (display)
        setenv("DISPLAY", saved.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

}  // namespace
