// Message boxes, confirmations, the button row, panels and saved areas on the
// headless screen; the level dialogs that InstallToolkit puts in place, on
// the graphics screen and on the console.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/fatal.h"
#include "level/level_dialogs.h"
#include "support/screen_text.h"
#include "toolkit_fixture.h"
#include "ui/button_bar.h"
#include "ui/message_box.h"
#include "ui/message_panel.h"
#include "ui/saved_area.h"

namespace {

using namespace toolkit_test;

using DialogTest = ToolkitTest;

TEST_F(DialogTest, BoxesClosedByEachButtonRestoreTheScreen) {
    // The question box is 136 pixels wide at x 251, its buttons' middles at
    // (283, 259) and (343, 259).
    std::function<int()> question = [] {
        return MessageBox(kCentred, kCentred, LineAlign::Centred, "_Ok", kKeyEnter, "C_ancel",
                          kKeyEsc, "Question", {"Go on?"});
    };
    std::function<int()> yes = [] {
        return ConfirmYes(kCentred, kCentred, "Rebuild NODES ?", "Not playable");
    };
    std::function<int()> yesNoFocused = [] {
        return ConfirmYes(kCentred, kCentred, "Unsaved changes", "Quit?", DefaultAnswer::No);
    };
    std::function<int()> del = [] {
        return ConfirmDel(kCentred, kCentred, "Delete 3 objects?", "And what is bound to them");
    };
    std::function<int()> anyKey = [] {
        return PressAnyKey(kCentred, kCentred, "You have read", "a PWAD");
    };
    const struct {
        std::function<int()>& box;
        const char* script;
        int answer;
    } cases[] = {
        {question, "click left 283 259", kKeyEnter}, {question, "click left 343 259", kKeyEsc},
        {question, "key Alt-O", kKeyEnter},          {question, "key Alt-A", kKeyEsc},
        {question, "key Tab\nkey Enter", kKeyEsc},   // the focus moved
        {question, "key X\nkey Esc", kKeyEsc},       {question, "click right 20 20", kKeyEsc},
        // Every question: Y and N, its buttons' letters, and Enter on the
        // focus, which starts on No where yes throws work away.
        {question, "key Y", kKeyEnter},              {question, "key N", kKeyEsc},
        {question, "key O", kKeyEnter},              {question, "key A", kKeyEsc},
        {yes, "key Y", 1},                           {yes, "key N", 0},
        {yes, "key Enter", 1},                       {yesNoFocused, "key Enter", 0},
        {yesNoFocused, "key Tab\nkey Enter", 1},     {yesNoFocused, "key Y", 1},
        {del, "key Del", 1},                         {del, "key Y", 1},
        {del, "key D", 1},                           {del, "key Enter", 0},
        {del, "key N", 0},                           {anyKey, "key F5", 1},
    };
    for (const auto& c : cases) {
        session.Script(c.script);
        EXPECT_EQ(c.box(), c.answer) << c.script;
        ExpectRestored();
    }
}

// A notice for a person without a console opens the screen when none is up
// and closes it again; its text is cut into lines that fit, a path where it
// must, and nothing of it is lost.
TEST_F(DialogTest, NoticeShowsTheWholeTextAndLeavesTheScreenAsItFoundIt) {
    const std::string path = "/home/someone/" + std::string(70, 'd') + "/freedoom2.wad";
    const std::string text = "Please restart and set the correct main IWAD file name!\nNot found: " + path;
    const std::string shown[] = {"Please restart and set the correct main IWAD file name!", "Not found:",
                           path.substr(0, 64).c_str(), path.substr(64).c_str()};
    for (bool screenUp : {true, false}) {
        if (!screenUp)
            CloseGraphics();
        session.Script("snapshot " + session.Dir().file("notice.png") + "\nkey Enter");
        NoticeOnGraphicsScreen("Error", text);
        EXPECT_EQ(graphics.graphicsMode != 0, screenUp);
        for (const std::string& line : shown)
            EXPECT_TRUE(testkit::SnapshotShowsText(session.Dir().file("notice.png"), line)) << line;
    }
}

TEST_F(DialogTest, SavedAreasPanelsAndBoxesWithoutButtons) {
    // Nested windows save nothing unless forced; a block too big to hold is
    // neither saved nor counted.
    SavedArea outer, inner, forced, huge;
    SaveArea(10, 10, 100, 100, outer, WindowSave::UnlessNested);
    SaveArea(20, 20, 50, 50, inner, WindowSave::UnlessNested);
    EXPECT_FALSE(inner.image);
    SaveArea(20, 20, 50, 50, forced, WindowSave::Always);
    SaveArea(0, 0, 40000, 10, huge, WindowSave::Always);
    EXPECT_FALSE(huge.image);
    EXPECT_EQ(toolkit.savedAreas, 2);
    FillBox(0, 0, 200, 200, 4);
    RestoreArea(forced);
    RestoreArea(inner);   // nothing saved: nothing happens
    RestoreArea(outer);
    EXPECT_EQ(ChangedOutside(before, Copy(), 0, 0, 200, 200), "");
    EXPECT_EQ(At(30, 30), before[30 * 640 + 30]);

    // A box without buttons stays and returns at once.
    session.ExactScript("key Enter");
    EXPECT_EQ(MessageBox(kCentred, kCentred, LineAlign::Centred, nullptr, kNoButtons, nullptr, 0,
                         "Skip", {"all", nullptr, "no"}),
              0);
    EXPECT_EQ(HeadlessEventsLeft(), 1);
    EXPECT_EQ(toolkit.savedAreas, 0);
    before = Copy();
    FlashMessage(kCentred, kCentred, "Loading %4hd names", static_cast<short>(12));
    PrintAt(1, 25, ClearLine::Yes, "through the graphics sink");
    ExpectRestored();   // both shown and removed at once
    EXPECT_EQ(session.Console().find("through the graphics sink"), std::string::npos);
    CloseGraphics();
    MessagePanel(kCentred, kCentred, "File %s Level %s", "E1M1.WAD", "E1M1");
    EXPECT_NE(session.Console().find("File E1M1.WAD Level E1M1"), std::string::npos);
}

TEST_F(DialogTest, LevelDialogsAskOnTheGraphicsScreen) {
    InstallToolkit();
    session.Script("key Y");
    EXPECT_EQ(Dialogs().ConfirmYes("Rebuild NODES ?", ""), 1);
    std::vector<NumberField> fields = {{"Skip Every", 0, 100, 0}, {"Pattern", 0, 255, 0}};
    // One Enter takes the numbers, from any field.
    session.Script("type 1\nkey Enter");
    EXPECT_EQ(Dialogs().NumberForm("Reject Mask", fields), 1);
    EXPECT_EQ(fields[0].value, 1);
    char name[44] = "E1M1.WAD";
    session.Script("type NEW\nkey Enter");
    EXPECT_EQ(Dialogs().PathEntry("New WAD file Name", 43, name), 1);
    EXPECT_STREQ(name, "NEW");
    // The progress window: its bar, from x 175 to 463, is blue up to its middle.
    Dialogs().ProgressStart("Saving Level to E1M1.WAD", 1000);
    Dialogs().ProgressUpdate(500);
    EXPECT_EQ(toolkit_test::At(180, 250), 1);
    EXPECT_EQ(toolkit_test::At(400, 250), 15);
    Dialogs().ProgressEnd();
    ExpectRestored();
}

TEST(LevelDialogsOnTheConsole, AnswerWhileGraphicsAreDown) {
    testkit::Session session("Y\nNEW\n");
    InstallToolkit();
    EXPECT_EQ(Dialogs().ConfirmYes("Rebuild NODES ?", ""), 1);
    char name[44] = "E1M1.WAD";
    EXPECT_EQ(Dialogs().PathEntry("New WAD file Name", 43, name), 1);
    EXPECT_STREQ(name, "NEW");
    EXPECT_NE(session.Console().find("Press Y to confirm"), std::string::npos);
}

}  // namespace
