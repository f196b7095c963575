// The graphics layer on the headless screen: starting and leaving graphics,
// logical colours and the drawing primitives at their limits; the pointer,
// the keys and the mouse.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/config.h"
#include "base/fatal.h"
#include "platform/video_backend.h"
#include "toolkit_fixture.h"

namespace {

using namespace toolkit_test;
using testkit::Count;

using GraphicsTest = ToolkitTest;

TEST_F(GraphicsTest, VideoModesAndFailedStarts) {
    // Only a failure of the library itself may be the resolution's fault; a
    // missing display or a bad input script leaves the mode as it was.
    const struct {
        int asked, width, kept;   // kept: the mode afterwards, or the mode in the configuration file
        VideoFailure failure;
        const char* reason;       // the backend's message
        int code;
        const char* message;      // of the program's end
    } cases[] = {
        {0, 640, 1, VideoFailure::None, "", 0, nullptr},
        {4, 1280, 4, VideoFailure::None, "", 0, nullptr},
        {7, 1280, 5, VideoFailure::None, "", 0, nullptr},   // the window's size: 1280 headless
        {1, 0, 3, VideoFailure::Library, "no mode", kExitFatal, "Graphics error at 640x480 resolution, not VESA compatible?"},
        {3, 0, 1, VideoFailure::Library, "no mode", kExitFatal,
         "The requested resolution was not support, reset to 640x480 resolution!"},
        {3, 0, 3, VideoFailure::NoDisplay, "no display: run under xvfb-run", kExitFatal, "no display: run under xvfb-run"},
        {3, 0, 3, VideoFailure::InputScript, "input script k: line 2: unknown event", kExitScriptError,
         "input script k: line 2: unknown event"},
    };
    for (const auto& c : cases) {
        CloseGraphics();
        std::remove(ConfigFileName());
        config.videoMode = static_cast<int16_t>(c.asked);
        if (c.failure != VideoFailure::None)
            HeadlessFailNextStart(c.reason, c.failure);
        try {
            InitGraphics(c.message ? GraphicsPalette::Game : GraphicsPalette::Basic);
            EXPECT_FALSE(c.message);
            EXPECT_EQ(Screen().width(), c.width);
            EXPECT_EQ(config.videoMode, c.kept);
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), c.code);
            EXPECT_STREQ(e.what(), c.message);
            EXPECT_EQ(graphics.graphicsMode, 0);
            ResetConfig();
            config.videoMode = 3;
            LoadConfig();   // a fall back to 640x480 is saved
            EXPECT_EQ(config.videoMode, c.kept);
        }
    }
    EXPECT_NE(session.Console().find("Graphics VESA256, 1280x1024"), std::string::npos);
    EXPECT_NE(session.Console().find("Graphics VESA256, window size"), std::string::npos);
    // Only the library's failures wait for a key, on a terminal.
    EXPECT_EQ(Count(session.Console(), "Graphics error: no mode press a key"), 2u);
    EXPECT_EQ(Count(session.Console(), "Graphics error: "), 2u);
    CloseGraphics();   // twice is harmless
    PrintAt(1, 25, ClearLine::Yes, "Back on the console");
    EXPECT_NE(session.Console().find("Back on the console"), std::string::npos);
}

TEST_F(GraphicsTest, RulerDrawnTwiceIsDrawnOnce) {
    config.rulerRadius = 512;
    graphics.mapScale = 0.125f;
    input.pointerX = 300;
    input.pointerY = 200;
    DrawRuler(RulerAction::Show);
    EXPECT_TRUE(before == Copy());   // the ruler is off
    graphics.ruler.on = true;
    DrawRuler(RulerAction::Show);
    Pixels shown = Copy();
    EXPECT_NE(At(300 - 64, 150), before[150 * 640 + 236]);   // 512 x 0.125
    DrawRuler(RulerAction::Show);
    EXPECT_TRUE(shown == Copy());
    input.pointerX = 100;   // removal draws where it was drawn
    DrawRuler(RulerAction::Remove);
    DrawRuler(RulerAction::Remove);
    EXPECT_TRUE(before == Copy());
}

// A quick click is reported once and not lost to drawing; GetInput waits
// for a key, or a click and its release.
TEST_F(GraphicsTest, ClicksAreReportedOnceAndGetInputWaitsForTheRelease) {
    int x = 0, y = 0, buttons = 0;
    session.Script("click left 50 60\nclick right\n");
    WaitForInput();   // the pointer moves there
    WaitForInput();
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(x, 50);
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(buttons, 0);
    ShowPointer();
    WaitForInput();
    FillBox(0, 0, 10, 10, 3);   // shows the pointer again without reading buttons
    ReadMouse(nullptr, nullptr, &buttons);
    EXPECT_EQ(buttons, 2);

    session.Script("move 10 10\ntype e\nkey F1\ndown left\nwait 40\nmove 30 40\nup left\nkey X\n");
    EXPECT_EQ(GetInput(nullptr, InputWait::Wait), 'E');
    EXPECT_EQ(GetInput(nullptr, InputWait::Wait), 0x3B00);
    int64_t pressed = PlatformMilliseconds();
    EXPECT_EQ(GetInput(&buttons, InputWait::Wait), -1);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(PlatformMilliseconds() - pressed, 40);   // it waited for the release
    EXPECT_EQ(input.pointerX, 30);                     // and followed the pointer
    EXPECT_EQ(GetInput(&buttons, InputWait::Wait), 'X');
}

TEST_F(GraphicsTest, WindowCloseKeyPointerLimitsAndNoMouse) {
    int x = 0, y = 0, buttons = 0, key = 0;
    input.windowCloseKey = kKeyAltF4;
    QueueKey(kKeyWindowClose, 0);
    ASSERT_EQ(ReadKey(&key), 1);
    EXPECT_EQ(key, 0x6B00);

    session.Script("move 300 300\nmove 900 900\n");
    WaitForInput();
    SetMousePos(10, 20);   // before the program read the move
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 10);
    WaitForInput();
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479 - 13);   // the map area's last screen row, above the status line

    input.mousePresent = false;
    buttons = 5;
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(buttons, 5);
    SetMousePos(1, 1);
    EXPECT_EQ(input.pointerX, 639);
    QueueKey('Q', 0);
    WaitRelease(nullptr);   // flushes the keys instead
    EXPECT_EQ(KeyWaiting(), 0);
}

}  // namespace
