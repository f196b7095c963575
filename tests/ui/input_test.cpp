// The pointer, the keys and the timing helpers on the headless screen.
#include <gtest/gtest.h>

#include <vector>

#include "platform/video.h"
#include "platform/video_backend.h"
#include "shell/config.h"
#include "support/headless_kit.h"
#include "ui/graphics.h"
#include "ui/input.h"

namespace {

using Pixels = std::vector<uint8_t>;

Pixels Copy() { return Pixels(Screen().pixels(), Screen().pixels() + 640 * 480); }

int ScreenAt(int x, int y) { return Screen().pixels()[y * 640 + x]; }

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitGraphics(0);
        // Something on the screen for the pointer to hide.
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                Screen().pixels()[y * 640 + x] = static_cast<uint8_t>((x * 7 + y * 3) % 200);
        session.Script("");
    }
    // Hands out the next script event, as a program waiting for the user.
    void Next() { WaitForInput(); }
    testkit::HeadlessSession session;
};

TEST_F(InputTest, PointerFollowsTheMouseAndLeavesNoTrace) {
    Pixels clean = Copy();
    session.Script("move 100 120\nmove 636 466\n");
    ShowPointer();
    EXPECT_EQ(input.DrawnX, 319);
    EXPECT_EQ(ScreenAt(319, 233), 1);   // "MouseEdge" black: index 0 is drawn as 1
    Next();
    int16_t x, y;
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 120);
    EXPECT_EQ(input.DrawnX, 100);
    EXPECT_EQ(ScreenAt(319, 233), clean[233 * 640 + 319]);   // the old place is restored
    EXPECT_EQ(ScreenAt(101, 122), MapColor(config.colors[kColorMouse]));
    Next();   // near the corner the picture is cut off by the screen's edge
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 636);
    HidePointer();
    EXPECT_TRUE(clean == Copy());
    EXPECT_EQ(input.DrawnX, -1);
}

TEST_F(InputTest, DrawingKeepsThePointerOnTop) {
    ShowPointer();
    FillBox(300, 200, 340, 260, 4);
    EXPECT_FALSE(input.PointerHidden);
    EXPECT_EQ(ScreenAt(320, 235), MapColor(config.colors[kColorMouse]));
    HidePointer();
    // What was under the pointer is the new box, not the old screen.
    for (int y = 233; y < 233 + kPointerH; ++y)
        for (int x = 319; x < 319 + kPointerW; ++x)
            ASSERT_EQ(ScreenAt(x, y), 4) << x << "," << y;
}

TEST_F(InputTest, ClearedScreenGetsAFreshPointer) {
    ShowPointer();
    ClearScreen();
    EXPECT_EQ(input.DrawnX, -1);
    ReadMouse(nullptr, nullptr, nullptr);
    EXPECT_EQ(input.DrawnX, 319);
    HidePointer();
    for (uint8_t p : Copy())
        ASSERT_EQ(p, 0);
}

TEST_F(InputTest, NewPointerColoursLeaveNoStalePixels) {
    Pixels clean = Copy();
    config.colors[kColorMouse] = 4;
    config.colors[kColorMouseEdge] = 0;   // index 0 would be transparent: drawn as 1
    InitMouse();
    ShowPointer();
    EXPECT_EQ(ScreenAt(319, 233), 1);
    EXPECT_EQ(ScreenAt(320, 235), 4);
    config.colors[kColorMouse] = 10;
    config.colors[kColorMouseEdge] = 15;
    InitMouse();
    EXPECT_TRUE(input.PointerHidden);
    EXPECT_TRUE(clean == Copy());
    ShowPointer();
    EXPECT_EQ(ScreenAt(319, 233), 15);
    EXPECT_EQ(ScreenAt(320, 235), 10);
    HidePointer();
    EXPECT_TRUE(clean == Copy());
}

TEST_F(InputTest, QuickClickIsReportedOnce) {
    session.Script("click left 50 60\n");
    Next();
    int16_t x = 0, y = 0, buttons = 0;
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 60);
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(buttons, 0);
}

TEST_F(InputTest, ClickIsNotLostToDrawing) {
    session.Script("click right 50 60\n");
    ShowPointer();
    Next();
    FillBox(0, 0, 10, 10, 3);   // shows the pointer again without reading buttons
    int16_t buttons = 0;
    ReadMouse(nullptr, nullptr, &buttons);
    EXPECT_EQ(buttons, 2);
}

TEST_F(InputTest, GetInputWithoutWaiting) {
    session.Script("key A\n");
    int16_t buttons = 0;
    EXPECT_EQ(GetInput(&buttons, 0), 0);   // nothing there yet: at once
    Next();
    EXPECT_EQ(GetInput(&buttons, 0), 1);
    EXPECT_EQ(KeyWaiting(), 0);            // the key is gone
    buttons = 2;
    EXPECT_EQ(GetInput(&buttons, 0), 1);
}

TEST_F(InputTest, GetInputWaitsForAKey) {
    session.Script("move 10 10\ntype e\nkey F1\n");
    EXPECT_EQ(GetInput(nullptr, 1), 'E');
    EXPECT_EQ(GetInput(nullptr, 1), 0x3B00);
}

TEST_F(InputTest, GetInputReportsAClickAfterTheRelease) {
    session.Script("down left\nwait 40\nup left\nkey X\n");
    int16_t buttons = 0;
    EXPECT_EQ(GetInput(&buttons, 1), -1);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(PlatformMilliseconds(), 40);   // it waited for the release
    EXPECT_EQ(GetInput(&buttons, 1), 'X');
}

TEST_F(InputTest, WaitReleaseAndReadButtons) {
    session.Script("down right\nmove 30 40\nup right\n");
    Next();
    int16_t buttons = 0;
    ReadButtons(&buttons);
    EXPECT_EQ(buttons, 2);
    WaitRelease(&buttons);
    EXPECT_EQ(buttons, 0);
    EXPECT_EQ(input.PointerX, 30);
    EXPECT_EQ(input.PointerY, 40);
}

TEST_F(InputTest, WindowCloseBecomesEsc) {
    QueueKey(kKeyWindowClose, 0);
    int key = 0;
    ASSERT_EQ(ReadKey(&key), 1);
    EXPECT_EQ(key, kKeyEsc);
    input.windowCloseKey = kKeyAltF4;
    QueueKey(kKeyWindowClose, 0);
    ASSERT_EQ(ReadKey(&key), 1);
    EXPECT_EQ(key, 0x6B00);
    EXPECT_EQ(ReadKey(&key), 0);
}

TEST_F(InputTest, FlushKeys) {
    for (int k : {'A', 'B', 'C'})
        QueueKey(k, 0);
    FlushKeys(100);
    EXPECT_EQ(PlatformMilliseconds(), 100);
    EXPECT_EQ(KeyWaiting(), 1);
    FlushKeys(0);
    EXPECT_EQ(KeyWaiting(), 0);
    EXPECT_EQ(PlatformMilliseconds(), 100);
}

TEST_F(InputTest, WarpAndLimits) {
    session.Script("move 300 300\nmove 900 900\n");
    Next();
    SetMousePos(10, 20);   // before the program read the move
    int16_t x, y;
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    Next();
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, graphics.MaxX);
    EXPECT_EQ(y, graphics.MaxY);
}

TEST_F(InputTest, WithoutAMouseTheRememberedPositionAnswers) {
    input.MousePresent = false;
    input.PointerX = 77;
    input.PointerY = 88;
    int16_t x, y, buttons = 5;
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(x, 77);
    EXPECT_EQ(y, 88);
    EXPECT_EQ(buttons, 5);
    SetMousePos(1, 1);
    EXPECT_EQ(input.PointerX, 77);
    QueueKey('Q', 0);
    WaitRelease(nullptr);   // flushes the keys instead
    EXPECT_EQ(KeyWaiting(), 0);
}

TEST_F(InputTest, MouseSensitivity) {
    int speed, limit;
    EXPECT_EQ(config.mouseSensitivity, kPlatformMouseSpeed);   // 0 took the driver's speed
    EXPECT_EQ(input.DriverSpeed, kPlatformMouseSpeed);
    CloseGraphics();
    config.mouseSensitivity = 120;
    InitGraphics(0);
    PlatformGetMouseSpeed(speed, limit);
    EXPECT_EQ(speed, 120);
    CloseGraphics();
    PlatformGetMouseSpeed(speed, limit);
    EXPECT_EQ(speed, kPlatformMouseSpeed);
    EXPECT_EQ(config.mouseSensitivity, 120);
    config.mouseSensitivity = 0;   // read once per run: a later 0 stays, the driver speed is used
    InitGraphics(0);
    EXPECT_EQ(config.mouseSensitivity, 0);
    PlatformGetMouseSpeed(speed, limit);
    EXPECT_EQ(speed, kPlatformMouseSpeed);
}

TEST_F(InputTest, StopwatchRunsOnTheClock) {
    Stopwatch(0);
    Stopwatch(1);
    Delay(250);
    EXPECT_EQ(Stopwatch(2), 25);
    Delay(100);
    EXPECT_EQ(Stopwatch(2), 25 + 35);
    EXPECT_EQ(Stopwatch(3), 35);
    EXPECT_EQ(Stopwatch(0), 0);
    EXPECT_EQ(Stopwatch(9), 0);
}

}  // namespace
