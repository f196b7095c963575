// Message boxes, confirmations, the button row, panels and saved areas on the
// headless screen.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
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

using namespace toolkit_test;

// Clicks on the middles of the two buttons of a box centred on 640 x 480.
struct ButtonClicks {
    std::string first, second;
};
ButtonClicks ClicksOn(const char* title, const std::vector<const char*>& lines, const char* ok,
                      const char* other) {
    int w = static_cast<int>(std::strlen(title));
    for (const char* line : lines)
        w = std::max(w, static_cast<int>(std::strlen(line)));
    int w1 = (static_cast<int>(std::strlen(ok)) + 2) * 8;
    int w2 = (static_cast<int>(std::strlen(other)) + 2) * 8;
    w = std::max(w + 2, (w1 + w2 + 4 + 7) / 8 + 2);   // the buttons fit in the box
    int r = static_cast<int>(lines.size()) + 7;
    int x = (639 - w * 8) / 2, y = (479 - r * 10) / 2 + (r - 2) * 10;
    int bx = x + (w * 8 - w1 - w2) / 2;
    auto click = [y](int at) { return "click left " + std::to_string(at) + " " + std::to_string(y); };
    return {click(bx + w1 / 2), click(bx + w1 + 4 + w2 / 2)};
}

using DialogTest = ToolkitTest;

TEST_F(DialogTest, TwoButtonBoxClosedByEachButton) {
    ButtonClicks at = ClicksOn("Question", {"Go on?"}, "_Ok", "C_ancel");
    const std::pair<std::string, int> cases[] = {
        {at.first, kKeyEnter},          {at.second, kKeyEsc},
        {"key Alt-O", kKeyEnter},       {"key Alt-A", kKeyEsc},
        {"key Enter", kKeyEnter},       {"key Tab\nkey Enter", kKeyEsc},   // the focus moved
        {"key Tab\nkey Tab\nkey Enter", kKeyEnter},
        {"key X\nkey Esc", kKeyEsc},    {"click right 20 20", kKeyEsc},
    };
    for (const auto& [script, key] : cases) {
        session.Script(script);
        EXPECT_EQ(MessageBox(-1, -1, 1, "_Ok", kKeyEnter, "C_ancel", kKeyEsc, "Question",
                             {"Go on?"}),
                  key)
            << script;
        ExpectRestored();
    }
}

TEST_F(DialogTest, ConfirmationsAndPressAnyKey) {
    ButtonClicks yes = ClicksOn("Rebuild NODES ?",
                                {"Not playable if no NODES are built!", "Press Y to confirm"},
                                "Yes", "No");
    std::function<int()> confirmYes = [] {
        return ConfirmYes(-1, -1, "Rebuild NODES ?", "Not playable if no NODES are built!");
    };
    std::function<int()> confirmDel = [] { return ConfirmDel(-1, -1, "Delete", "3 objects"); };
    std::function<int()> anyKey = [] {
        return PressAnyKey(-1, -1, "You have read a PWAD file", "using the same Level name.");
    };
    const struct {
        std::function<int()>& box;
        std::string script;
        int answer;
    } cases[] = {
        {confirmYes, "key Y", 1},         {confirmYes, yes.first, 1},
        {confirmYes, "key Enter", 1},     {confirmYes, "key N", 0},
        {confirmYes, "key Esc", 0},       {confirmYes, yes.second, 0},
        {confirmDel, "key Del", 1},       {confirmDel, "key D", 1},
        {confirmDel, "key Enter", 1},     {confirmDel, "key Tab\nkey Enter", 0},
        {anyKey, "key Q", 1},             {anyKey, "key Esc", 1},
        {anyKey, "key F5", 1},
    };
    for (const auto& c : cases) {
        session.Script(c.script);
        EXPECT_EQ(c.box(), c.answer) << c.script;
        ExpectRestored();
    }
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

TEST_F(DialogTest, ButtonRowSinglePassesKeepTheirStateAcrossANestedBox) {
    std::vector<ButtonDef> row = {{"_Ok", kKeyEnter, 100, 100, 150, 120},
                                  {"C_ancel", kKeyEsc, 160, 100, 230, 120}};
    EXPECT_EQ(ButtonBar(2, row), -1);
    EXPECT_EQ(toolkit.buttonBar.focus, 0);
    session.Script("key Tab\nkey 5", false);
    WaitForInput();
    EXPECT_EQ(ButtonBar(0, row), -1);   // Tab only moves the focus
    EXPECT_EQ(toolkit.buttonBar.focus, 1);
    WaitForInput();
    EXPECT_EQ(ButtonBar(0, row), '5');   // other keys come back to the dialog
    session.Script("key Tab\nkey Enter");
    EXPECT_EQ(MessageBox(-1, -1, 1, "Yes", 'Y', "No", kKeyEsc, "Sure?", {}), kKeyEsc);
    EXPECT_EQ(toolkit.buttonBar.focus, 1);
    EXPECT_EQ(ButtonBar(-2, row), -1);
    EXPECT_EQ(toolkit.buttonBar.focus, -1);
}

TEST_F(DialogTest, FlashMessageAndPanels) {
    FlashMessage(-1, -1, "Loading %4hd names", static_cast<short>(12));
    ExpectRestored();   // shown and removed at once
    SavedArea window;
    SaveArea(100, 100, 500, 400, window, 1);
    FlashMessage(-1, -1, "Loading %4hd names", static_cast<short>(12));
    EXPECT_FALSE(before == Copy());
    RestoreArea(window);
    ExpectRestored();
    PrintAt(1, 25, 1, "through the graphics sink");
    ExpectRestored();
    EXPECT_EQ(session.Console().find("through the graphics sink"), std::string::npos);

    MessagePanel(-1, -1, "%d missions available", 27);
    EXPECT_EQ(At(220, 240), 7);   // the panel stays
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
