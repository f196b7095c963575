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

std::vector<std::vector<int>> mouse_calls;
void RecordCall(int x, int y, int buttons) { mouse_calls.push_back({x, y, buttons}); }

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(VideoStart(640, 480, error)) << error;
        mouse_calls.clear();
        PlatformSetMouseHandler(RecordCall, 0x1F);
    }
    testkit::HeadlessSession session;
};

TEST_F(HeadlessTest, ScriptLinesAndTheirErrors) {
    session.Script("# comment\n\n   \nkey E\ntype ab c\nmove 1 2\ndown left\nup right\n"
                   "click left\nclick right 3 4\nwait 10\nsnapshot x.png\n", false);
    EXPECT_EQ(HeadlessEventsLeft(), 1 + 4 + 1 + 1 + 1 + 1 + 1 + 1 + 1);
    const std::pair<const char*, const char*> bad[] = {
        {"key E\nkey Foo\n", "line 2: no key \"Foo\""}, {"move 1\n", "line 1: move needs X Y"},
        {"\n\njump\n", "line 3: unknown event \"jump\""}, {"move 1 x\n", ""}, {"down middle\n", ""},
        {"click left 5\n", ""}, {"wait -1\n", ""}, {"snapshot\n", ""}};
    for (const auto& b : bad) {
        std::string error;
        EXPECT_FALSE(HeadlessLoadScript(b.first, error)) << b.first;
        EXPECT_TRUE(*b.second ? error == b.second : !error.empty()) << error;
    }
    EXPECT_EQ(HeadlessEventsLeft(), 12);   // a failed load keeps the events that were there
}

TEST_F(HeadlessTest, KeysAndMouseEventsArriveOneByOne) {
    session.Script("key Alt-F2\ntype a, B\nkey Shift-G\n", false);
    for (int code : {0x6900, int{'A'}, int{','}, int{' '}, int{'B'}, int{'G'}}) {
        PlatformWaitForInput();
        ASSERT_TRUE(PlatformKeyWaiting());
        EXPECT_EQ(PlatformReadKey(), code);
        EXPECT_FALSE(PlatformKeyWaiting());
    }
    EXPECT_EQ(PlatformShiftState(), kShiftLeft);
    EXPECT_EQ(PlatformReadKey(), -1);

    // Positions outside the screen are kept inside the limits.
    session.Script("move 100 50\ndown left\nup left\nclick right 7 8\nmove 5000 -3\n", false);
    const std::vector<int> status[] = {{100, 50, 0}, {100, 50, kButtonLeft}, {100, 50, 0}, {7, 8, 0}, {639, 0, 0}};
    for (const std::vector<int>& want : status) {
        PlatformWaitForInput();
        std::vector<int> got(3);
        PlatformMouseStatus(got[0], got[1], got[2]);
        EXPECT_EQ(got, want);
    }
    const std::vector<std::vector<int>> calls = {{100, 50, 0}, {100, 50, kButtonLeft}, {100, 50, 0}, {7, 8, 0},
                                                 {7, 8, kButtonRight}, {7, 8, 0}, {639, 0, 0}};
    EXPECT_EQ(mouse_calls, calls);
}

TEST_F(HeadlessTest, TimeIsVirtual) {
    EXPECT_EQ(PlatformMilliseconds(), 0);
    PlatformDelay(250);
    EXPECT_EQ(PlatformMilliseconds(), 250);
    session.Script("wait 1000\nkey A\n", false);
    PlatformWaitForInput();
    EXPECT_EQ(PlatformMilliseconds(), 1250);
    EXPECT_FALSE(PlatformKeyWaiting());
    PlatformWaitForInput();
    EXPECT_TRUE(PlatformKeyWaiting());
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
    // A program that only ever polls the keys still gets its events, late.
    session.Script("key B\n", false);
    for (int i = 0; i < 3000000 && !PlatformKeyWaiting(); ++i)
        PlatformPoll(PollKind::Keys);
    EXPECT_EQ(PlatformReadKey(), 'B');
}

TEST_F(HeadlessTest, AskingForInputAfterTheLastEventEndsTheRunWithCode3) {
    session.Script("key A\n", false);
    PlatformWaitForInput();
    PlatformReadKey();
    try {
        PlatformWaitForInput();
        FAIL() << "the run went on";
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), 3);
    }
    EXPECT_EQ(session.Console(), "input script ended\n");
    // Settled mouse polls ask for input too.
    session.Script("", false);
    EXPECT_THROW(for (int i = 0; i < 3; ++i) PlatformPoll(PollKind::Mouse), ProgramExit);
}

TEST_F(HeadlessTest, SnapshotWritesTheScreenThroughThePalette) {
    uint8_t palette[768];
    VideoGetPalette(palette);
    EXPECT_EQ(palette[3 * 14 + 2], 21);   // the default palette: yellow is (63, 63, 21)
    EXPECT_EQ(palette[3 * 31], 63);       // the pointer's outline white and body black
    EXPECT_EQ(palette[3 * 255], 0);
    palette[3 * 12 + 1] += 64;            // only six bits are kept
    VideoSetPalette(palette);
    std::string file = session.Dir().file("shot.png");
    Screen().putpixel(3, 4, 12);
    session.Script("snapshot " + file + "\nkey A\n", false);
    PlatformWaitForInput();
    EXPECT_TRUE(PlatformKeyWaiting());   // the snapshot is taken as the next event is handed out
    testkit::PngPicture png;
    ASSERT_EQ(testkit::ReadPng(file, png), "");
    ASSERT_EQ(png.width * png.height, 640 * 480);
    EXPECT_EQ(png.pixels[4 * 640 + 3], 12);
    EXPECT_EQ(png.palette[3 * 12], 255);   // light red (63, 21, 21) in 8 bits
    EXPECT_EQ(png.palette[3 * 12 + 1], 85);
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
