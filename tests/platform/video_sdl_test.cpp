// The SDL window, on a private X server (Xvfb) started by the test: what it
// shows, read back from the server; keys; the mouse; no display.
#include <gtest/gtest.h>

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/flavour.h"
#include "support/private_x_server.h"
#include "support/program_state.h"
#include "support/testkit.h"
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

// Polls a while, so that the X server's events and the pushed ones arrive.
void Pump() {
    for (int i = 0; i < 20; ++i) {
        PlatformPoll(PollKind::Mouse);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The pointer's x, y and buttons.
std::vector<int> Mouse() {
    Pump();
    std::vector<int> status(3);
    PlatformMouseStatus(status[0], status[1], status[2]);
    return status;
}

struct WindowPicture {
    bool read = false;   // the X server gave the pixels
    int wrong = 0;       // pixels that are not the canvas's
    int first = -1;      // the first of them
};

// Compares the w x h window with the canvas pixel each pixel stands for
// through the palette, the picture's corner at (left, top) and magnified by
// scale, or black outside the picture.
WindowPicture CompareWindow(SDL_Window* window, int w, int h, int left, int top, int scale) {
    WindowPicture picture;
    const std::vector<uint32_t> shown = testkit::ReadXWindow(window, w, h);
    picture.read = shown.size() == size_t(w * h);
    uint8_t palette[768];
    VideoGetPalette(palette);
    for (int i = 0; picture.read && i < w * h; ++i) {
        const int x = i % w - left, y = i / w - top;
        const uint8_t* six = palette + 3 * Screen().getpixel(x / scale, y / scale);
        const bool inside = x >= 0 && y >= 0 && x < Screen().width() * scale && y < Screen().height() * scale;
        const uint32_t rgb = uint32_t(six[0] << 16 | six[1] << 8 | six[2]);   // six bits to a component
        const uint32_t want = inside ? rgb << 2 | (rgb >> 4 & 0x030303) : 0;
        if (shown[size_t(i)] != want && picture.wrong++ == 0)
            picture.first = i;
    }
    return picture;
}

// Shows the canvas; every pixel of the window is the canvas's.
void ExpectWindowShows(SDL_Window* window, int w, int h, int left, int top, int scale, const char* step) {
    PlatformDelay(0);
    WindowPicture picture = CompareWindow(window, w, h, left, top, scale);
    ASSERT_TRUE(picture.read) << step << ": the X server gave no picture";
    EXPECT_EQ(picture.wrong, 0) << step << ": first at (" << picture.first % w << ", " << picture.first / w << ")";
}

class SdlScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testkit::PrivateXServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed: the SDL window is not tested";
        ASSERT_TRUE(server.Start(serverW, serverH)) << "Xvfb did not start";
        setenv("SDL_VIDEODRIVER", "x11", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("ZARN_VIDEO");
        testkit::ResetProgramState();
        VideoStartError error;
        ASSERT_TRUE(VideoStart(canvasW, canvasH, "Zarn", error)) << error.message;
        started = std::chrono::steady_clock::now();
        for (Uint32 id = 1; id < 64 && !window; ++id)
            window = SDL_GetWindowFromID(id);
        ASSERT_NE(window, nullptr);
        PlatformMouseReset();
    }
    void TearDown() override {
        testkit::ResetProgramState();
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("SDL_AUDIODRIVER");
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
    int serverW = 1600, serverH = 1200;   // the X server's screen
    int canvasW = 640, canvasH = 480;
    testkit::PrivateXServer server;
    SDL_Window* window = nullptr;
    std::chrono::steady_clock::time_point started;   // when the window had started
};

// A new window's first picture is a whole one: polls while it is being
// drawn show nothing, the first wait shows it; from then on polls show
// progress. Only the changed areas are sent: after a small change, a new
// palette and a resize the window still shows the whole canvas.
TEST_F(SdlScreenTest, WindowShowsTheCanvasThroughThePaletteScaledToFit) {
    SDL_SetWindowPosition(window, 0, 0);   // all of it on the server's screen
    Screen().setfillstyle(kSolidFill, 3);
    Screen().bar(0, 0, 639, 239);   // half drawn
    for (int i = 0; i < 3; ++i)
        PlatformPoll(PollKind::Mouse);
    // Where the machine was too slow, a wait may have come between.
    const bool quick = std::chrono::steady_clock::now() - started < std::chrono::milliseconds(200);
    WindowPicture early = CompareWindow(window, 640, 480, 0, 0, 1);
    ASSERT_TRUE(early.read);
    EXPECT_TRUE(!quick || early.wrong > 0) << "a poll showed the half-drawn picture";
    Screen().bar(0, 240, 639, 479);
    ExpectWindowShows(window, 640, 480, 0, 0, 1, "first wait");
    Screen().setcolor(14);
    Screen().line(639, 0, 0, 479);
    Screen().outtextxy(600, 470, "Menu");   // right and bottom edges
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    PlatformPoll(PollKind::Mouse);
    EXPECT_EQ(CompareWindow(window, 640, 480, 0, 0, 1).wrong, 0) << "a poll later showed no progress";
    Screen().outtextxy(8, 8, "File");
    ExpectWindowShows(window, 640, 480, 0, 0, 1, "small changes");
    uint8_t palette[768];
    VideoGetPalette(palette);
    std::swap_ranges(palette + 3 * 3, palette + 3 * 4, palette + 3 * 14);   // cyan <-> yellow
    VideoSetPalette(palette);
    ExpectWindowShows(window, 640, 480, 0, 0, 1, "new palette");
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Zarn");
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    // Twice as large and taller: black bars above and below.
    if (!Resize(1280, 1100))
        GTEST_SKIP() << "the X server kept the window from 1280x1100";
    ExpectWindowShows(window, 1280, 1100, 0, 70, 2, "resized");
}

// Keys become BIOS codes, a character key once its text arrives with the
// layout's characters; the close button has its own code. The pointer is in
// canvas pixels, also in a scaled window; a captured one moves by the motion
// times speed / 50.
TEST_F(SdlScreenTest, KeysAndMouse) {
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
    EXPECT_EQ(Mouse(), (std::vector<int>{100, 50, 0}));
    const Uint32 id = SDL_GetWindowID(window);
    Push(SDL_MOUSEBUTTONDOWN, [&](SDL_Event& e) {
        e.button.windowID = id, e.button.button = SDL_BUTTON_RIGHT, e.button.state = SDL_PRESSED;
    });
    PlatformSetMouseSpeed(100, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_TRUE);
    Push(SDL_MOUSEMOTION, [&](SDL_Event& e) { e.motion.windowID = id, e.motion.xrel = 10, e.motion.yrel = -3; });
    EXPECT_EQ(Mouse(), (std::vector<int>{120, 44, kButtonRight}));
    PlatformSetMouseSpeed(kPlatformMouseSpeed, 64);
    EXPECT_EQ(SDL_GetRelativeMouseMode(), SDL_FALSE);
    // 640x480 fits a 1000x480 window at scale 1 with 180 pixels of border on
    // either side; on the border the nearest canvas pixel.
    if (!Resize(1000, 480))
        GTEST_SKIP() << "the X server kept the window from 1000x480";
    SDL_WarpMouseInWindow(window, 180 + 30, 40);
    EXPECT_EQ(Mouse()[0], 30);
    SDL_WarpMouseInWindow(window, 10, 40);
    EXPECT_EQ(Mouse()[0], 0);
}

// The environment variables a test changes, given back when it ends.
struct SavedEnvironment {
    explicit SavedEnvironment(std::initializer_list<const char*> names) {
        for (const char* name : names)
            saved.push_back({name, getenv(name) ? std::optional<std::string>(getenv(name)) : std::nullopt});
    }
    ~SavedEnvironment() {
        for (const auto& [name, value] : saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};

// The window-size mode on a screen larger than the fixed modes: the window
// takes the whole screen and the canvas the window's size, shown one to one;
// a resized window gives the canvas its new size once the program asks.
class WindowSizedScreenTest : public SdlScreenTest {
protected:
    WindowSizedScreenTest() {
        serverW = 2560, serverH = 1440;
        canvasW = canvasH = kWindowSized;
    }
};

TEST_F(WindowSizedScreenTest, TheCanvasIsTheWindowsOwnSize) {
    int w = 0, h = 0, displayW = 0, displayH = 0, cw = 0, ch = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_TRUE(VideoDisplaySize(displayW, displayH));
    EXPECT_EQ(std::vector<int>({w, h, Screen().width(), Screen().height(), displayW, displayH}),
              std::vector<int>({2560, 1440, 2560, 1440, 2560, 1440}));
    EXPECT_FALSE(VideoWindowResized(cw, ch));
    SDL_SetWindowPosition(window, 0, 0);
    for (const auto& size : {std::vector<int>({600, 400}), std::vector<int>({1700, 1000})}) {
        if (!Resize(size[0], size[1]))
            GTEST_SKIP() << "the X server kept the window from its size";
        ASSERT_TRUE(VideoWindowResized(cw, ch));
        // No smaller than 640 x 480: a small window shows it scaled down.
        EXPECT_EQ(std::vector<int>({cw, ch}), std::vector<int>({std::max(640, size[0]), std::max(480, size[1])}));
        VideoResizeCanvas(cw, ch);
        EXPECT_FALSE(VideoWindowResized(cw, ch));
        int x = 0, y = 0, buttons = 0;
        PlatformMouseStatus(x, y, buttons);
        EXPECT_TRUE(x < Screen().width() && y < Screen().height());
    }
    ASSERT_EQ(std::vector<int>({Screen().width(), Screen().height()}), std::vector<int>({1700, 1000}));
    Screen().setfillstyle(kSolidFill, 5);
    Screen().bar(10, 10, 1689, 989);
    Screen().setcolor(14);
    Screen().line(1699, 0, 0, 999);
    Screen().outtextxy(1650, 990, "Help");
    ExpectWindowShows(window, 1700, 1000, 0, 0, 1, "resized");
}

}  // namespace
