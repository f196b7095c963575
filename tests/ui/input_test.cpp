// The pointer, the keys and the mouse on the headless screen.
#include <gtest/gtest.h>

#include "platform/video_backend.h"
#include "base/config.h"
#include "toolkit_fixture.h"

namespace {

using namespace toolkit_test;

class InputTest : public ToolkitTest {
protected:
    // Every pixel of the pointer's picture at (x, y) is the colour.
    static void ExpectUnderPointer(int x, int y, int colour) {
        for (int row = y; row < y + kPointerH; ++row)
            for (int col = x; col < x + kPointerW; ++col)
                ASSERT_EQ(At(col, row), colour) << col << "," << row;
    }
    int x = 0, y = 0, buttons = 0;
};

TEST_F(InputTest, PointerIsDrawnAndErasedWithoutStalePixels) {
    session.Script("move 100 120\nmove 636 466\n");
    ShowPointer();
    EXPECT_EQ(At(319, 233), 1);   // "MouseEdge" black: index 0 is drawn as 1
    WaitForInput();
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(At(319, 233), before[233 * 640 + 319]);   // the old place is restored
    EXPECT_EQ(At(101, 122), MapColor(config.colors[kColorMouse]));
    // Drawing under the pointer: what is under it afterwards is the new box.
    FillBox(90, 110, 130, 150, 4);
    HidePointer();
    ExpectUnderPointer(100, 120, 4);
    WaitForInput();   // near the corner the picture is cut off by the screen's edge
    ReadMouse(&x, &y, nullptr);
    // A cleared screen gets a fresh pointer, not the old background back.
    ShowPointer();
    ClearScreen();
    EXPECT_EQ(input.drawnX, -1);
    ReadMouse(nullptr, nullptr, nullptr);
    EXPECT_EQ(input.drawnX, 636);
    HidePointer();
    // New colours take the old pointer away first.
    ShowPointer();
    config.colors[kColorMouse] = 10;
    config.colors[kColorMouseEdge] = 15;
    InitMouse();
    EXPECT_TRUE(input.pointerHidden);
    for (uint8_t p : Copy())
        ASSERT_EQ(p, 0);
    SetMousePos(100, 120);
    ShowPointer();
    EXPECT_EQ(At(100, 120), 15);
    EXPECT_EQ(At(101, 122), 10);
}

TEST_F(InputTest, QuickClickIsReportedOnceAndNotLostToDrawing) {
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
}

TEST_F(InputTest, GetInputWaitsForAKeyOrAClickAndItsRelease) {
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

TEST_F(InputTest, WindowCloseKeyPointerLimitsAndNoMouse) {
    int key = 0;
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
