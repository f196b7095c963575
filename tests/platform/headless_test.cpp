// The headless screen: its input script, its virtual clock, the order in
// which it hands out events, and its snapshots.
#include <gtest/gtest.h>

#include <vector>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/fatal.h"
#include "support/headless_kit.h"
#include "support/png_reader.h"

namespace {

std::vector<std::vector<int>> mouseCalls;
void RecordCall(int x, int y, int buttons) { mouseCalls.push_back({x, y, buttons}); }

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        VideoStartError error;
        ASSERT_TRUE(VideoStart(640, 480, "Zarn", error)) << error.message;
        mouseCalls.clear();
        PlatformSetMouseHandler(RecordCall, 0x1F);
    }
    testkit::HeadlessSession session;
};

// Each frame brings only the areas that changed, as a window is sent them:
// changes far apart in their own rectangles, whole bands of 64 columns,
// rows of bands of the same columns joined; the whole canvas after a new
// palette.
TEST_F(HeadlessTest, FramesBringOnlyTheAreasThatChanged) {
    using Areas = std::vector<std::vector<int>>;
    Canvas& screen = Screen();
    auto frame = [&] {
        session.ExactScript("wait 0\n");
        PlatformWaitForInput();
        Areas areas;
        for (const CanvasArea& a : VideoShownAreas())
            areas.push_back({a.left, a.top, a.right, a.bottom});
        return areas;
    };
    EXPECT_EQ(frame(), (Areas{{0, 0, 639, 479}}));   // the first frame
    screen.putpixel(10, 10, 4);
    screen.putpixel(600, 400, 4);
    EXPECT_EQ(frame(), (Areas{{0, 0, 63, 15}, {576, 400, 639, 415}}));
    screen.setcolor(5);
    screen.line(0, 100, 639, 100);
    screen.line(130, 20, 130, 60);
    EXPECT_EQ(frame(), (Areas{{128, 16, 191, 63}, {0, 96, 639, 111}}));
    screen.putpixel(639, 479, 1);
    EXPECT_EQ(frame(), (Areas{{576, 464, 639, 479}}));
    uint8_t palette[768] = {};
    VideoSetPalette(palette);
    EXPECT_EQ(frame(), (Areas{{0, 0, 639, 479}}));
}

TEST_F(HeadlessTest, ScriptLinesAndTheirErrors) {
    session.ExactScript("# comment\n\n   \nkey E\ntype ab c\nmove 1 2\ndown left\nup right\n"
                        "click left\nclick right 3 4\nwait 10\nsnapshot x.png\n");
    EXPECT_EQ(HeadlessEventsLeft(), 1 + 4 + 1 + 1 + 1 + 1 + 2 + 1 + 1);   // a click at X Y: move, click
    const std::pair<const char*, const char*> bad[] = {
        {"key E\nkey Foo\n", "line 2: no key \"Foo\""}, {"move 1\n", "line 1: move needs X Y"},
        {"\n\njump\n", "line 3: unknown event \"jump\""}, {"move 1 x\n", ""}, {"down centre\n", ""},
        {"wheel left\n", ""}, {"wheel up 5\n", ""}, {"shift\n", "line 1: shift needs down or up"},
        {"click left 5\n", ""}, {"wait -1\n", ""}, {"snapshot\n", ""}};
    for (const auto& b : bad) {
        std::string error;
        EXPECT_FALSE(HeadlessLoadScript(b.first, error)) << b.first;
        EXPECT_TRUE(*b.second ? error == b.second : !error.empty()) << error;
    }
    EXPECT_EQ(HeadlessEventsLeft(), 13);   // a failed load keeps the events that were there
}

TEST_F(HeadlessTest, KeysAndMouseEventsArriveOneByOne) {
    session.ExactScript("key Alt-F2\ntype a, B\nkey Shift-G\n");
    for (int code : {0x6900, int{'A'}, int{','}, int{' '}, int{'B'}, int{'G'}}) {
        PlatformWaitForInput();
        EXPECT_EQ(PlatformReadKey(), code);
        EXPECT_FALSE(PlatformKeyWaiting());
    }
    EXPECT_EQ(PlatformShiftState(), kShiftLeft);
    session.ExactScript("move 100 50\ndown left\nup left\nclick right 7 8\nmove 5000 -3\n");
    // A click at a position: the pointer gets there before the press.
    for (int i = 0; i < 4; ++i)
        PlatformWaitForInput();
    EXPECT_EQ(mouseCalls.back(), (std::vector<int>{7, 8, 0}));
    for (int i = 0; i < 2; ++i)
        PlatformWaitForInput();
    // Positions outside the screen are kept inside the limits.
    const std::vector<std::vector<int>> calls = {{100, 50, 0}, {100, 50, kButtonLeft}, {100, 50, 0}, {7, 8, 0},
                                                 {7, 8, kButtonRight}, {7, 8, 0}, {639, 0, 0}};
    EXPECT_EQ(mouseCalls, calls);

    // The middle button and the wheel stay out of the button bits and the
    // handler's calls; the wheel's notches add up until they are taken.
    mouseCalls.clear();
    session.ExactScript("down middle\nwheel up 20 30\nwheel up\nwheel down\nwheel Shift-down\n"
                        "wheel Shift-down\nwheel Shift-up\nup middle\n");
    for (int i = 0; i < 7; ++i) {
        PlatformWaitForInput();
        EXPECT_TRUE(PlatformMiddleButtonDown());
    }
    int x = 0, y = 0, buttons = 0, up = 0, right = 0;
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(std::vector<int>({x, y, buttons}), std::vector<int>({20, 30, 0}));
    PlatformTakeWheel(up, right);
    EXPECT_EQ(std::vector<int>({up, right}), std::vector<int>({1, 1}));
    PlatformTakeWheel(up, right);
    EXPECT_EQ(std::vector<int>({up, right}), std::vector<int>({0, 0}));
    PlatformWaitForInput();
    EXPECT_FALSE(PlatformMiddleButtonDown());
    EXPECT_EQ(mouseCalls, (std::vector<std::vector<int>>{{20, 30, 0}}));   // the move only

    // A key's own shift lasts until the next event but a wait; Shift held
    // alone holds for the other events until it is let go.
    session.ExactScript("key Ctrl-A\nwait 5\nmove 1 1\nshift down\nmove 2 2\nkey B\nmove 3 3\nshift up\n");
    std::vector<int> shifts;
    for (int i = 0; i < 8; ++i) {
        PlatformWaitForInput();
        PlatformReadKey();
        shifts.push_back(PlatformShiftState());
    }
    EXPECT_EQ(shifts, (std::vector<int>{kShiftCtrl, kShiftCtrl, 0, kShiftLeft, kShiftLeft, 0, kShiftLeft, 0}));
}

TEST_F(HeadlessTest, EventsWaitUntilTheProgramSettles) {
    session.ExactScript("key A\nmove 3 3\n");
    // Polls for keys alone never settle the program: it may be busy; nor do
    // mouse polls on a screen that keeps changing.
    for (int i = 0; i < 100; ++i)
        PlatformPoll(PollKind::Keys);
    for (int i = 0; i < 10; ++i) {
        Screen().putpixel(i, 0, 9);
        PlatformPoll(PollKind::Mouse);
    }
    EXPECT_FALSE(PlatformKeyWaiting());
    PlatformPoll(PollKind::Mouse);
    PlatformPoll(PollKind::Mouse);
    EXPECT_TRUE(PlatformKeyWaiting());
    // Nothing more while the key is unread.
    for (int i = 0; i < 10; ++i)
        PlatformPoll(PollKind::Mouse);
    EXPECT_EQ(HeadlessEventsLeft(), 1);
    // A program that only ever polls the keys still gets its events, late.
    PlatformReadKey();
    session.ExactScript("key B\n");
    for (int i = 0; i < 3000000 && !PlatformKeyWaiting(); ++i)
        PlatformPoll(PollKind::Keys);
    EXPECT_EQ(PlatformReadKey(), 'B');
}

// Time is virtual; a snapshot is taken as the next event is handed out, the
// screen through the palette of six bits per component; asking for input
// after the last event ends the run with code 3.
TEST_F(HeadlessTest, VirtualTimeSnapshotsAndTheEndOfTheScript) {
    uint8_t palette[768];
    VideoGetPalette(palette);
    palette[3 * 12 + 1] += 64;            // only six bits are kept
    VideoSetPalette(palette);
    Screen().putpixel(3, 4, 12);
    const std::string file = session.Dir().file("shot.png");
    PlatformDelay(250);
    session.ExactScript("snapshot " + file + "\nwait 1000\nkey A\n");
    PlatformWaitForInput();
    EXPECT_EQ(PlatformMilliseconds(), 1250);
    PlatformTone(440, 100);   // silent and immediate
    PlatformWaitForInput();
    EXPECT_EQ(PlatformReadKey(), 'A');
    EXPECT_EQ(PlatformMilliseconds(), 1250);
    testkit::PngPicture png;
    ASSERT_EQ(testkit::ReadPng(file, png), "");
    ASSERT_EQ(png.width * png.height, 640 * 480);
    EXPECT_EQ(png.pixels[4 * 640 + 3], 12);
    EXPECT_EQ(png.palette[3 * 12] * 1000 + png.palette[3 * 12 + 1], 255085);   // light red (63, 21, 21) in 8 bits
    try {
        PlatformWaitForInput();
        FAIL() << "the run went on";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), 3);
    }
    EXPECT_EQ(session.Console(), "input script ended\n");
    // Settled mouse polls ask for input too.
    session.ExactScript("");
    EXPECT_THROW(for (int i = 0; i < 3; ++i) PlatformPoll(PollKind::Mouse), ProgramExit);
}

}  // namespace
