// The headless screen: its input script, its virtual clock, and the order in
// which it hands out events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "platform/keys.h"
#include "platform/video.h"
#include "shell/fatal.h"
#include "support/headless_kit.h"
#include "support/png_reader.h"

namespace {

struct MouseCall {
    int x, y, buttons;
};
std::vector<MouseCall> mouse_calls;
void RecordCall(int x, int y, int buttons) { mouse_calls.push_back({x, y, buttons}); }

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(VideoStart(640, 480, error)) << error;
        mouse_calls.clear();
        PlatformSetMouseHandler(RecordCall, 0x1F);
    }
    // Hands out the next script event.
    void Next() { PlatformWaitForInput(); }
    testkit::HeadlessSession session;
};

bool ScriptError(const std::string& text, std::string& error) {
    return !HeadlessLoadScript(text, error);
}

TEST_F(HeadlessTest, ScriptLinesAndTheirErrors) {
    session.Script("# comment\n\n   \nkey E\ntype ab c\nmove 1 2\ndown left\nup right\n"
                   "click left\nclick right 3 4\nwait 10\nsnapshot x.png\n", false);
    EXPECT_EQ(HeadlessEventsLeft(), 1 + 4 + 1 + 1 + 1 + 1 + 1 + 1 + 1);
    std::string error;
    EXPECT_TRUE(ScriptError("key E\nkey Foo\n", error));
    EXPECT_EQ(error, "line 2: no key \"Foo\"");
    EXPECT_TRUE(ScriptError("move 1\n", error));
    EXPECT_EQ(error, "line 1: move needs X Y");
    EXPECT_TRUE(ScriptError("move 1 x\n", error));
    EXPECT_TRUE(ScriptError("down middle\n", error));
    EXPECT_TRUE(ScriptError("click left 5\n", error));
    EXPECT_TRUE(ScriptError("wait -1\n", error));
    EXPECT_TRUE(ScriptError("snapshot\n", error));
    EXPECT_TRUE(ScriptError("\n\njump\n", error));
    EXPECT_EQ(error, "line 3: unknown event \"jump\"");
    // A failed load keeps the events that were there.
    EXPECT_EQ(HeadlessEventsLeft(), 12);
}

TEST_F(HeadlessTest, KeysAndTypedTextArriveOneByOne) {
    session.Script("key Alt-F2\ntype a, B\nkey Shift-G\n", false);
    const int expected[] = {0x6900, 'A', ',', ' ', 'B', 'G'};
    for (int code : expected) {
        Next();
        ASSERT_TRUE(PlatformKeyWaiting());
        EXPECT_EQ(PlatformReadKey(), code);
        EXPECT_FALSE(PlatformKeyWaiting());
    }
    EXPECT_EQ(PlatformShiftState(), kShiftLeft);
    EXPECT_EQ(PlatformReadKey(), -1);
}

TEST_F(HeadlessTest, MouseEventsReachTheHandler) {
    session.Script("move 100 50\ndown left\nup left\nclick right 7 8\nmove 5000 -3\n", false);
    int x, y, buttons;
    Next();
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 50);
    Next();
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(buttons, kButtonLeft);
    Next();
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(buttons, 0);
    Next();
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(buttons, 0);
    EXPECT_EQ(x, 7);
    Next();   // outside the screen: kept inside the limits
    PlatformMouseStatus(x, y, buttons);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 0);
    ASSERT_EQ(mouse_calls.size(), 7u);
    EXPECT_EQ(mouse_calls[1].buttons, kButtonLeft);
    EXPECT_EQ(mouse_calls[2].buttons, 0);   // the release
    EXPECT_EQ(mouse_calls[4].buttons, kButtonRight);
    EXPECT_EQ(mouse_calls[5].buttons, 0);
}

TEST_F(HeadlessTest, TimeIsVirtual) {
    EXPECT_EQ(PlatformMilliseconds(), 0);
    PlatformDelay(250);
    EXPECT_EQ(PlatformMilliseconds(), 250);
    session.Script("wait 1000\nkey A\n", false);
    Next();
    EXPECT_EQ(PlatformMilliseconds(), 1250);
    EXPECT_FALSE(PlatformKeyWaiting());
    Next();
    EXPECT_TRUE(PlatformKeyWaiting());
    EXPECT_EQ(PlatformMilliseconds(), 1250);
    PlatformTone(440, 100);   // silent and immediate
    EXPECT_EQ(PlatformMilliseconds(), 1250);
}

TEST_F(HeadlessTest, EventsWaitUntilTheProgramSettles) {
    session.Script("key A\nmove 3 3\n", false);
    // Polls for keys alone never settle the program: it may be busy.
    for (int i = 0; i < 100; ++i)
        PlatformPoll(PollKind::Keys);
    EXPECT_FALSE(PlatformKeyWaiting());
    // Mouse polls on a screen that keeps changing do not settle it either.
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
    PlatformReadKey();
    for (int i = 0; i < 3; ++i)
        PlatformPoll(PollKind::Mouse);
    EXPECT_EQ(HeadlessEventsLeft(), 0);
}

TEST_F(HeadlessTest, ABusyProgramStillGetsItsEvents) {
    session.Script("key A\n", false);
    for (int i = 0; i < 3000000 && !PlatformKeyWaiting(); ++i)
        PlatformPoll(PollKind::Keys);
    EXPECT_TRUE(PlatformKeyWaiting());
}

TEST_F(HeadlessTest, AskingForInputAfterTheLastEventEndsTheRun) {
    session.Script("key A\n", false);
    Next();
    try {
        Next();
        FAIL() << "the run went on";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), kExitScriptEnded);
        EXPECT_EQ(e.code(), 3);
    }
    EXPECT_EQ(session.Console(), "input script ended\n");
}

TEST_F(HeadlessTest, SettledPollsAfterTheLastEventEndTheRunToo) {
    session.Script("", false);
    EXPECT_THROW(
        for (int i = 0; i < 3; ++i) PlatformPoll(PollKind::Mouse), ProgramExit);
}

TEST_F(HeadlessTest, SnapshotWritesTheScreenThroughThePalette) {
    std::string file = session.Dir().file("shot.png");
    Screen().putpixel(3, 4, 12);
    session.Script("snapshot " + file + "\nkey A\n", false);
    Next();
    testkit::PngPicture png;
    ASSERT_EQ(testkit::ReadPng(file, png), "");
    ASSERT_EQ(png.width, 640);
    ASSERT_EQ(png.height, 480);
    EXPECT_EQ(png.pixels[4 * 640 + 3], 12);
    // Light red (63, 21, 21) in 8 bits.
    EXPECT_EQ(png.palette[3 * 12], 255);
    EXPECT_EQ(png.palette[3 * 12 + 1], 85);
    EXPECT_TRUE(PlatformKeyWaiting());
}

TEST_F(HeadlessTest, DefaultAndLoadedPalette) {
    uint8_t p[768];
    VideoGetPalette(p);
    EXPECT_EQ(p[3 * 14 + 2], 21);   // yellow (63, 63, 21)
    EXPECT_EQ(p[3 * 31], 63);       // the pointer's first outline colour: white
    EXPECT_EQ(p[3 * 40], 63);       // the first ring: pure red after magenta
    EXPECT_EQ(p[3 * 40 + 2], 0);
    EXPECT_EQ(p[3 * 255], 0);       // its first body colour: black
    for (int i = 0; i < 768; ++i)
        p[i] = static_cast<uint8_t>(i);
    VideoSetPalette(p);
    uint8_t q[768];
    VideoGetPalette(q);
    EXPECT_EQ(q[100], 100 & 63);    // six bits only
}

TEST_F(HeadlessTest, ScriptFromTheEnvironment) {
    VideoStop();
    HeadlessReset();
    std::string file = session.Dir().file("input.txt");
    std::ofstream(file) << "key Esc\n";
    setenv("ZARN_SCRIPT", file.c_str(), 1);
    std::string error;
    EXPECT_TRUE(VideoStart(800, 600, error)) << error;
    EXPECT_EQ(HeadlessEventsLeft(), 1);
    VideoStop();
    HeadlessReset();
    std::ofstream(file) << "key Esc\nfly away\n";
    EXPECT_FALSE(VideoStart(800, 600, error));
    EXPECT_EQ(error, "input script " + file + ": line 2: unknown event \"fly\"");
    unsetenv("ZARN_SCRIPT");
}

}  // namespace
