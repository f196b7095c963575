// The pointer, the keys and the timing helpers on the headless screen.
#include <gtest/gtest.h>

#include "platform/video_backend.h"
#include "shell/config.h"
#include "toolkit_fixture.h"

namespace {

using namespace toolkit_test;

class InputTest : public ToolkitTest {
protected:
    // Hands out the next script event, as a program waiting for the user.
    void Next() { WaitForInput(); }
    int16_t x = 0, y = 0, buttons = 0;
};

TEST_F(InputTest, PointerFollowsTheMouseAndLeavesNoTrace) {
    session.Script("move 100 120\nmove 636 466\n");
    ShowPointer();
    EXPECT_EQ(input.DrawnX, 319);
    EXPECT_EQ(At(319, 233), 1);   // "MouseEdge" black: index 0 is drawn as 1
    Next();
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 120);
    EXPECT_EQ(At(319, 233), before[233 * 640 + 319]);   // the old place is restored
    EXPECT_EQ(At(101, 122), MapColor(config.colors[kColorMouse]));
    Next();   // near the corner the picture is cut off by the screen's edge
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 636);
    HidePointer();
    EXPECT_TRUE(before == Copy());
    EXPECT_EQ(input.DrawnX, -1);
}

TEST_F(InputTest, DrawingUnderThePointerLeavesNoStalePixels) {
    ShowPointer();
    FillBox(300, 200, 340, 260, 4);
    EXPECT_FALSE(input.PointerHidden);
    EXPECT_EQ(At(320, 235), MapColor(config.colors[kColorMouse]));
    HidePointer();
    // What was under the pointer is the new box, not the old screen.
    for (int row = 233; row < 233 + kPointerH; ++row)
        for (int col = 319; col < 319 + kPointerW; ++col)
            ASSERT_EQ(At(col, row), 4) << col << "," << row;
    // A cleared screen gets a fresh pointer, not the old background back.
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
    config.colors[kColorMouse] = 4;
    config.colors[kColorMouseEdge] = 0;   // index 0 would be transparent: drawn as 1
    InitMouse();
    ShowPointer();
    EXPECT_EQ(At(319, 233), 1);
    EXPECT_EQ(At(320, 235), 4);
    config.colors[kColorMouse] = 10;
    config.colors[kColorMouseEdge] = 15;
    InitMouse();
    EXPECT_TRUE(input.PointerHidden);
    EXPECT_TRUE(before == Copy());
    ShowPointer();
    EXPECT_EQ(At(319, 233), 15);
    EXPECT_EQ(At(320, 235), 10);
    HidePointer();
    EXPECT_TRUE(before == Copy());
}

TEST_F(InputTest, QuickClickIsReportedOnceAndNotLostToDrawing) {
    session.Script("click left 50 60\nclick right 50 60\n");
    Next();
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 60);
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(buttons, 0);
    ShowPointer();
    Next();
    FillBox(0, 0, 10, 10, 3);   // shows the pointer again without reading buttons
    ReadMouse(nullptr, nullptr, &buttons);
    EXPECT_EQ(buttons, 2);
}

TEST_F(InputTest, GetInputWithAndWithoutWaiting) {
    session.Script("key A\nmove 10 10\ntype e\nkey F1\ndown left\nwait 40\nup left\nkey X\n");
    EXPECT_EQ(GetInput(&buttons, 0), 0);   // nothing there yet: at once
    Next();
    EXPECT_EQ(GetInput(&buttons, 0), 1);
    EXPECT_EQ(KeyWaiting(), 0);            // the key is gone
    buttons = 2;
    EXPECT_EQ(GetInput(&buttons, 0), 1);
    EXPECT_EQ(GetInput(nullptr, 1), 'E');
    EXPECT_EQ(GetInput(nullptr, 1), 0x3B00);
    int64_t pressed = PlatformMilliseconds();
    EXPECT_EQ(GetInput(&buttons, 1), -1);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(PlatformMilliseconds() - pressed, 40);   // it waited for the release
    EXPECT_EQ(GetInput(&buttons, 1), 'X');
}

TEST_F(InputTest, WaitReleaseFollowsThePointer) {
    session.Script("down right\nmove 30 40\nup right\n");
    Next();
    ReadButtons(&buttons);
    EXPECT_EQ(buttons, 2);
    WaitRelease(&buttons);
    EXPECT_EQ(buttons, 0);
    EXPECT_EQ(input.PointerX, 30);
    EXPECT_EQ(input.PointerY, 40);
}

TEST_F(InputTest, ClosingTheWindowGivesItsKey) {
    int key = 0;
    QueueKey(kKeyWindowClose, 0);
    ASSERT_EQ(ReadKey(&key), 1);
    EXPECT_EQ(key, kKeyEsc);
    input.windowCloseKey = kKeyAltF4;
    QueueKey(kKeyWindowClose, 0);
    ASSERT_EQ(ReadKey(&key), 1);
    EXPECT_EQ(key, 0x6B00);
    EXPECT_EQ(ReadKey(&key), 0);
}

TEST_F(InputTest, PointerStaysInItsLimitsAndWithoutAMouseStaysPut) {
    session.Script("move 300 300\nmove 900 900\n");
    Next();
    SetMousePos(10, 20);   // before the program read the move
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    Next();
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479 - 12);   // the limits of the map area under the menu bar

    input.MousePresent = false;
    buttons = 5;
    ReadMouse(&x, &y, &buttons);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(buttons, 5);
    SetMousePos(1, 1);
    EXPECT_EQ(input.PointerX, 639);
    QueueKey('Q', 0);
    WaitRelease(nullptr);   // flushes the keys instead
    EXPECT_EQ(KeyWaiting(), 0);
}

TEST_F(InputTest, MouseSensitivityIsSetAndTheDriverSpeedRestored) {
    int speed, limit;
    EXPECT_EQ(config.mouseSensitivity, kPlatformMouseSpeed);   // 0 took the driver's speed
    for (int sensitivity : {120, 0}) {   // read once per run: a later 0 stays
        CloseGraphics();
        PlatformGetMouseSpeed(speed, limit);
        EXPECT_EQ(speed, kPlatformMouseSpeed);
        config.mouseSensitivity = static_cast<int16_t>(sensitivity);
        InitGraphics(0);
        PlatformGetMouseSpeed(speed, limit);
        EXPECT_EQ(speed, sensitivity ? sensitivity : kPlatformMouseSpeed);
        EXPECT_EQ(config.mouseSensitivity, sensitivity);
    }
}

}  // namespace
