// The SDL window, on a private X server (Xvfb) started by the test.
#include <gtest/gtest.h>

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/keys.h"
#include "platform/video.h"
#include "shell/flavour.h"

extern char** environ;

namespace {

const char* const kXvfb = "/usr/bin/Xvfb";

bool Installed(const char* program) { return access(program, X_OK) == 0; }

// An X server of its own, on a display number the server picks and reports
// (so that tests running side by side never share one); stopped at the end.
class PrivateXServer {
public:
    bool Start() {
        int report[2];
        if (pipe(report) != 0)
            return false;
        const char* argv[] = {kXvfb, "-displayfd", "3", "-screen", "0", "1024x768x24",
                              "-nolisten", "tcp", nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, report[0]);   // may be fd 3
        posix_spawn_file_actions_adddup2(&actions, report[1], 3);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        int failed = posix_spawn(&pid_, kXvfb, &actions, nullptr, const_cast<char* const*>(argv),
                                 environ);
        posix_spawn_file_actions_destroy(&actions);
        close(report[1]);
        if (failed) {
            pid_ = -1;
            close(report[0]);
            return false;
        }
        std::string number;
        pollfd ready{report[0], POLLIN, 0};
        char c;
        while (poll(&ready, 1, 10000) > 0 && read(report[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(report[0]);
        display_ = ":" + number;
        return !number.empty();
    }
    void Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }
    ~PrivateXServer() { Stop(); }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

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

SDL_Event KeyEvent(SDL_Keycode sym, Uint16 mod) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

class SdlScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!Installed(kXvfb))
            GTEST_SKIP() << "Xvfb is not installed (" << kXvfb
                         << "): the SDL window is not tested";
        ASSERT_TRUE(server.Start()) << "Xvfb did not start";
        setenv("DISPLAY", server.display().c_str(), 1);
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
    PrivateXServer server;
    SDL_Window* window = nullptr;
};

TEST_F(SdlScreenTest, WindowOfTheModeTitledWithTheProduct) {
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Zarn");
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(Screen().width(), 640);
}

TEST_F(SdlScreenTest, CanvasReachesTheWindowThroughThePalette) {
    Screen().setfillstyle(kSolidFill, 4);
    Screen().bar(0, 0, 639, 479);
    PlatformWaitForInput();   // shows the canvas before it waits
    SDL_Renderer* renderer = SDL_GetRenderer(window);
    ASSERT_NE(renderer, nullptr);
    Uint32 pixel = 0;
    SDL_Rect one = {10, 10, 1, 1};
    ASSERT_EQ(SDL_RenderReadPixels(renderer, &one, SDL_PIXELFORMAT_ARGB8888, &pixel, 4), 0)
        << SDL_GetError();
    EXPECT_EQ(pixel & 0xFFFFFF, 0xAA0000u);   // EGA red (42, 0, 0)
}

TEST_F(SdlScreenTest, KeysBecomeBiosCodes) {
    Push(KeyEvent(SDLK_F1, 0));
    EXPECT_EQ(Key(), 0x3B00);
    Push(KeyEvent(SDLK_F2, KMOD_LSHIFT));
    EXPECT_EQ(Key(), 0x5500);
    EXPECT_EQ(PlatformShiftState() & kShiftLeft, kShiftLeft);
    Push(KeyEvent(SDLK_f, KMOD_LALT));
    EXPECT_EQ(Key(), 0x2100);
    Push(KeyEvent(SDLK_LEFT, KMOD_LCTRL));
    EXPECT_EQ(Key(), 0x7300);
    Push(KeyEvent(SDLK_KP_8, 0));   // keypad without Num Lock
    EXPECT_EQ(Key(), kKeyUp);
    // A character key waits for its text, which carries the layout's character.
    Push(KeyEvent(SDLK_e, 0));
    EXPECT_EQ(Key(), -1);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::strcpy(text.text.text, "e;");
    Push(text);
    EXPECT_EQ(Key(), 'E');
    EXPECT_EQ(Key(), ';');
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    EXPECT_EQ(Key(), kKeyWindowClose);
}

// Polls until the X server's events have arrived.
void Settle() {
    for (int i = 0; i < 20; ++i) {
        PlatformPoll(PollKind::Mouse);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

TEST_F(SdlScreenTest, MouseInCanvasPixels) {
    // A real pointer motion of the X server, into canvas pixels.
    SDL_WarpMouseInWindow(window, 100, 50);
    Settle();
    int x, y, buttons;
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    SDL_Event press{};
    press.type = SDL_MOUSEBUTTONDOWN;
    press.button.windowID = SDL_GetWindowID(window);
    press.button.button = SDL_BUTTON_RIGHT;
    press.button.state = SDL_PRESSED;
    press.button.x = 100;
    press.button.y = 50;
    Push(press);
    Settle();
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(buttons, kButtonRight);

    // A captured pointer moves by the motion times speed / 50.
    PlatformSetMouseSpeed(100, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE);
    Settle();
    int x0, y0;
    PlatformMouseStatus(x0, y0, buttons);
    SDL_Event move{};
    move.type = SDL_MOUSEMOTION;
    move.motion.windowID = press.button.windowID;
    move.motion.xrel = 10;
    move.motion.yrel = -3;
    Push(move);
    Settle();
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(x, x0 + 20);
    EXPECT_EQ(y, y0 - 6);
    PlatformSetMouseSpeed(kPlatformMouseSpeed, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
}

TEST_F(SdlScreenTest, ScaledWindowKeepsTheAspect) {
    SDL_SetWindowSize(window, 1000, 480);
    Settle();
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    if (w != 1000 || h != 480)
        GTEST_SKIP() << "the X server kept the window at " << w << "x" << h;
    // 640x480 fits at scale 1 with 180 pixels of border on either side.
    SDL_WarpMouseInWindow(window, 180 + 30, 40);
    Settle();
    int x, y, buttons;
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 40);
    SDL_WarpMouseInWindow(window, 10, 40);   // on the border: the nearest canvas pixel
    Settle();
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(x, 0);
}

TEST(SdlScreenFailure, InvisibleDriversAreNoDisplay) {
    const char* display = getenv("DISPLAY");
    std::string saved = display ? display : "";
    setenv("DISPLAY", ":8791", 1);
    unsetenv("SDL_VIDEODRIVER");
    unsetenv("ZARN_VIDEO");
    std::string error;
    if (VideoStart(640, 480, error)) {
        std::string driver = SDL_GetCurrentVideoDriver();
        EXPECT_NE(driver, "offscreen");
        EXPECT_NE(driver, "dummy");
        VideoStop();
    } else {
        EXPECT_FALSE(error.empty());
    }
    if (display)
        setenv("DISPLAY", saved.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

TEST(SdlScreenFailure, NoDisplayGivesSdlsMessage) {
    const char* display = getenv("DISPLAY");
    std::string saved = display ? display : "";
    setenv("DISPLAY", ":8791", 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    unsetenv("ZARN_VIDEO");
    std::string error;
    EXPECT_FALSE(VideoStart(640, 480, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(VideoActive());
    unsetenv("SDL_VIDEODRIVER");
    if (display)
        setenv("DISPLAY", saved.c_str(), 1);
    else
        unsetenv("DISPLAY");
}

}  // namespace
