// Message boxes, confirmations, the button row, panels and saved areas on the
// headless screen.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/config.h"
#include "shell/fatal.h"
#include "toolkit_fixture.h"
#include "ui/button_bar.h"
#include "ui/message_box.h"
#include "ui/message_panel.h"
#include "ui/saved_area.h"

namespace {

using toolkit_test::At;
using toolkit_test::Copy;

// Where a centred box on 640 x 480 puts the middles of its two buttons.
struct ButtonSpots {
    int y, first, second;
};
ButtonSpots SpotsOf(const char* title, const std::vector<const char*>& lines, const char* ok,
                    const char* other) {
    int w = static_cast<int>(std::strlen(title));
    for (const char* line : lines)
        w = std::max(w, static_cast<int>(std::strlen(line)));
    int w1 = (static_cast<int>(std::strlen(ok)) + 2) * 8;
    int w2 = other ? (static_cast<int>(std::strlen(other)) + 2) * 8 : 0;
    w = std::max(w + 2, (w1 + w2 + 4 + 7) / 8 + 2);   // the buttons fit in the box
    int r = static_cast<int>(lines.size()) + 7;
    int x = (639 - w * 8) / 2, y = (479 - r * 10) / 2;
    int bx = x + (w * 8 - w1 - w2) / 2;
    return {y + (r - 2) * 10, bx + w1 / 2, bx + w1 + 4 + w2 / 2};
}

std::string Click(const char* button, int x, int y) {
    return std::string("click ") + button + " " + std::to_string(x) + " " + std::to_string(y);
}

class DialogTest : public toolkit_test::ToolkitTest {
protected:
    int Question(const std::string& script) {
        session.Script(script);
        return MessageBox(-1, -1, 1, "_Ok", kKeyEnter, "C_ancel", kKeyEsc, "Question",
                          {"Go on?"});
    }
    int Yes(const std::string& script) {
        session.Script(script);
        return ConfirmYes(-1, -1, "Rebuild NODES ?", "Not playable if no NODES are built!");
    }
};

TEST_F(DialogTest, TwoButtonBoxClosedByEachButton) {
    ButtonSpots at = SpotsOf("Question", {"Go on?"}, "_Ok", "C_ancel");
    EXPECT_EQ(Question(Click("left", at.first, at.y)), kKeyEnter);
    ExpectRestored();
    EXPECT_EQ(Question(Click("left", at.second, at.y)), kKeyEsc);
    ExpectRestored();
    EXPECT_EQ(Question("key Alt-O"), kKeyEnter);
    EXPECT_EQ(Question("key Alt-A"), kKeyEsc);
    EXPECT_EQ(Question("key Enter"), kKeyEnter);
    EXPECT_EQ(Question("key Tab\nkey Enter"), kKeyEsc);     // the focus moved to the second
    EXPECT_EQ(Question("key Tab\nkey Tab\nkey Enter"), kKeyEnter);
    EXPECT_EQ(Question("key X\nkey Esc"), kKeyEsc);
    EXPECT_EQ(Question(Click("right", 20, 20)), kKeyEsc);
    ExpectRestored();
}

TEST_F(DialogTest, ConfirmYesAnswers) {
    ButtonSpots at = SpotsOf("Rebuild NODES ?",
                             {"Not playable if no NODES are built!", "Press Y to confirm"}, "Yes",
                             "No");
    EXPECT_EQ(Yes("key Y"), 1);
    EXPECT_EQ(Yes(Click("left", at.first, at.y)), 1);
    EXPECT_EQ(Yes("key Enter"), 1);
    EXPECT_EQ(Yes("key N"), 0);
    EXPECT_EQ(Yes("key Esc"), 0);
    EXPECT_EQ(Yes(Click("left", at.second, at.y)), 0);
    EXPECT_EQ(Yes(Click("right", at.first, at.y)), 0);
    ExpectRestored();
}

TEST_F(DialogTest, DeleteConfirmationAndPressAnyKey) {
    session.Script("key Del");
    EXPECT_EQ(ConfirmDel(-1, -1, "Delete", "3 objects"), 1);
    session.Script("key D");
    EXPECT_EQ(ConfirmDel(-1, -1, "Delete", "3 objects"), 1);
    session.Script("key Enter");
    EXPECT_EQ(ConfirmDel(-1, -1, "Delete", "3 objects"), 1);
    session.Script("key Tab\nkey Enter");
    EXPECT_EQ(ConfirmDel(-1, -1, "Delete", "3 objects"), 0);
    for (const char* key : {"key Q", "key Esc", "key F5", "key Space"}) {
        session.Script(key);
        EXPECT_EQ(PressAnyKey(-1, -1, "You have read a PWAD file", "using the same Level name."), 1);
    }
    ExpectRestored();
}

TEST_F(DialogTest, BoxWithoutButtonsStaysAndReturnsAtOnce) {
    session.Script("key Enter", false);
    ShowPointer();
    EXPECT_EQ(MessageBox(-1, -1, 1, nullptr, 0, nullptr, 0, "Skip/Pattern",
                         {" 0/0   = all (normal)", nullptr, "never shown"}),
              0);
    EXPECT_EQ(HeadlessEventsLeft(), 1);
    EXPECT_TRUE(input.PointerHidden);
    EXPECT_EQ(toolkit.savedAreas, 0);
    // An information box, 184 x 50 pixels at (227, 214) for its one line:
    // the inner face is white.
    EXPECT_EQ(At(232, 250), 15);
    EXPECT_EQ(At(319, 209), before[209 * 640 + 319]);
}

TEST_F(DialogTest, ButtonRowSinglePasses) {
    std::vector<ButtonDef> row = {{"_Ok", kKeyEnter, 100, 100, 150, 120},
                                  {"C_ancel", kKeyEsc, 160, 100, 230, 120}};
    session.Script("");
    EXPECT_EQ(ButtonBar(2, row), -1);
    EXPECT_EQ(toolkit.buttonBar.focus, 0);
    session.Script("key Tab\nkey 5", false);
    WaitForInput();
    EXPECT_EQ(ButtonBar(0, row), -1);   // Tab only moves the focus
    EXPECT_EQ(toolkit.buttonBar.focus, 1);
    WaitForInput();
    EXPECT_EQ(ButtonBar(0, row), '5');   // other keys come back to the dialog
    EXPECT_EQ(toolkit.buttonBar.lastKey, '5');
    // A box opened in between leaves the row's state as it was.
    session.Script("key Tab\nkey Enter");
    EXPECT_EQ(MessageBox(-1, -1, 1, "Yes", 'Y', "No", kKeyEsc, "Sure?", {}), kKeyEsc);
    EXPECT_EQ(toolkit.buttonBar.focus, 1);
    session.Script("");
    EXPECT_EQ(ButtonBar(-2, row), -1);
    EXPECT_EQ(toolkit.buttonBar.focus, -1);
    EXPECT_EQ(HotKeyFor('y'), 0x1500);
    EXPECT_EQ(HotKeyFor('X'), 0);
}

TEST_F(DialogTest, FlashMessageShowsOnlyInsideASavedWindow) {
    FlashMessage(-1, -1, "Loading %4hd names", static_cast<short>(12));
    ExpectRestored();
    SavedArea window;
    SaveArea(100, 100, 500, 400, window, 1);
    FlashMessage(-1, -1, "Loading %4hd names", static_cast<short>(12));
    EXPECT_FALSE(before == Copy());
    RestoreArea(window);
    ExpectRestored();
    PrintAt(1, 25, 1, "through the graphics sink");
    ExpectRestored();
    EXPECT_EQ(session.Console().find("through the graphics sink"), std::string::npos);
}

TEST_F(DialogTest, MessagePanelStaysAndTitleBarFillsTheBand) {
    MessagePanel(-1, -1, "%d missions available", 27);
    EXPECT_EQ(At(220, 240), 7);   // the panel's face, left of its text
    TitleBar("Restart to see all changes");
    EXPECT_TRUE(graphics.MenuBarShown);
    EXPECT_EQ(At(2, 2), MapColor(config.colors[kColorMenu]));
    EXPECT_EQ(At(9, 5), 15);   // the label box
    CloseGraphics();
    MessagePanel(-1, -1, "File %s Level %s", "E1M1.WAD", "E1M1");
    EXPECT_NE(session.Console().find("File E1M1.WAD Level E1M1"), std::string::npos);
}

TEST_F(DialogTest, SavedAreasNestUnlessForced) {
    SavedArea outer, inner, forced, huge;
    SaveArea(10, 10, 100, 100, outer, 0);
    EXPECT_EQ(toolkit.savedAreas, 1);
    SaveArea(20, 20, 50, 50, inner, 0);
    EXPECT_FALSE(inner.image);
    SaveArea(20, 20, 50, 50, forced, 1);
    EXPECT_EQ(toolkit.savedAreas, 2);
    FillBox(0, 0, 200, 200, 4);
    RestoreArea(forced);
    RestoreArea(inner);   // nothing saved: nothing happens
    EXPECT_EQ(toolkit.savedAreas, 1);
    RestoreArea(outer);
    EXPECT_EQ(At(150, 150), 4);   // outside every saved area
    EXPECT_EQ(At(30, 30), before[30 * 640 + 30]);
    // A block too big to hold is not saved and not counted.
    SaveArea(0, 0, 40000, 10, huge, 1);
    EXPECT_FALSE(huge.image);
    EXPECT_EQ(toolkit.savedAreas, 0);
}

}  // namespace
