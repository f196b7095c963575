// The toolkit on the headless screen: starting graphics, the pointer, the
// keys and the mouse; message boxes, confirmations, saved areas, the typing
// dialogs (input box, path entry, number and option forms, the list chooser)
// and the level dialogs that InstallToolkit puts in place, on the graphics
// screen and on the console.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/fatal.h"
#include "level/level_dialogs.h"
#include "platform/video_backend.h"
#include "support/screen_text.h"
#include "toolkit_fixture.h"
#include "ui/button_bar.h"
#include "ui/forms.h"
#include "ui/input_box.h"
#include "ui/list_select.h"
#include "ui/message_box.h"
#include "ui/saved_area.h"

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
        {0, 640, 1, VideoFailure::None, "", 0, ""},
        {7, 1280, 5, VideoFailure::None, "", 0, ""},   // the window's size: 1280 headless
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
        const bool fails = c.failure != VideoFailure::None;
        if (fails)
            HeadlessFailNextStart(c.reason, c.failure);
        const auto start = [&] { InitGraphics(fails ? GraphicsPalette::Game : GraphicsPalette::Basic); };
        EXPECT_EQ(testkit::ExitOf(start, c.code), c.message);
        if (graphics.graphicsMode == 0) {   // a fall back to 640x480 is saved
            ResetConfig();
            config.videoMode = 3;
            LoadConfig();
        }
        EXPECT_EQ(graphics.graphicsMode ? Screen().width() : 0, c.width);
        EXPECT_EQ(config.videoMode, c.kept);
    }
    // Only the library's failures wait for a key, on a terminal.
    EXPECT_EQ(Count(session.Console(), "Graphics error: no mode press a key"), 2u);
    EXPECT_EQ(Count(session.Console(), "Graphics error: "), 2u);
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

// The pointer stays in the map area, above the status line; a position the
// program sets wins over a move not yet read.
TEST_F(GraphicsTest, PointerStaysInTheMapArea) {
    int x = 0, y = 0;
    session.Script("move 300 300\nmove 900 900\n");
    WaitForInput();
    SetMousePos(10, 20);
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 10);
    WaitForInput();
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(x, 639);
    EXPECT_EQ(y, 479 - 13);
}

class DialogTest : public ToolkitTest {
protected:
    std::string Input(const char* proposal, int maxLen, const std::string& script, int expected,
                      int (*box)(int, int, const char*, int, char*) = InputBox) {
        char text[200] = {};
        std::strcpy(text, proposal);
        session.Script(script);
        EXPECT_EQ(box(kCentred, kCentred, "New WAD file Name", maxLen, text), expected) << script;
        ExpectRestored();
        return text;
    }
};

TEST_F(DialogTest, BoxesClosedByEachButtonRestoreTheScreen) {
    using Box = int (*)();
    // The question box is 136 pixels wide at x 251, its buttons' middles at
    // (283, 259) and (343, 259).
    const Box question = [] {
        return MessageBox(kCentred, kCentred, LineAlign::Centred, "_Ok", kKeyEnter, "C_ancel", kKeyEsc,
                          "Question", {"Go on?"});
    };
    const Box yes = [] { return ConfirmYes(kCentred, kCentred, "Rebuild NODES ?", "Not playable"); };
    const Box yesNoFocused = [] { return ConfirmYes(kCentred, kCentred, "Unsaved", "Quit?", DefaultAnswer::No); };
    const Box del = [] { return ConfirmDel(kCentred, kCentred, "Delete 3 objects?", "And what is bound"); };
    const Box anyKey = [] { return PressAnyKey(kCentred, kCentred, "You have read", "a PWAD"); };
    const struct {
        Box box;
        const char* script;
        int answer;
    } cases[] = {
        {question, "click left 283 259", kKeyEnter}, {question, "click left 343 259", kKeyEsc},
        {question, "key Alt-O", kKeyEnter},          {question, "key Alt-A", kKeyEsc},
        {question, "key Tab\nkey Enter", kKeyEsc},   // the focus moved
        {question, "key X\nkey Esc", kKeyEsc},       {question, "click right 20 20", kKeyEsc},
        // Every question: Y and N, and Enter on the focus, which starts on No
        // where yes throws work away.
        {question, "key Y", kKeyEnter},              {question, "key N", kKeyEsc},
        {yes, "key Y", 1},                           {yes, "key N", 0},
        {yes, "key Enter", 1},                       {yesNoFocused, "key Enter", 0},
        {yesNoFocused, "key Tab\nkey Enter", 1},     {del, "key Del", 1},
        {del, "key D", 1},                           {del, "key Enter", 0},
        {anyKey, "key F5", 1},
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
    const std::string first = "Please restart and set the correct main IWAD file name!";
    const std::string path = "/home/someone/" + std::string(70, 'd') + "/freedoom2.wad";
    for (bool screenUp : {true, false}) {
        if (!screenUp)
            CloseGraphics();
        session.Script("snapshot " + session.Dir().file("notice.png") + "\nkey Enter");
        NoticeOnGraphicsScreen("Error", first + "\nNot found: " + path);
        EXPECT_EQ(graphics.graphicsMode != 0, screenUp);
        for (const std::string& line : {first, std::string("Not found:"), path.substr(0, 64), path.substr(64)})
            EXPECT_TRUE(testkit::SnapshotShowsText(session.Dir().file("notice.png"), line)) << line;
    }
}

TEST_F(DialogTest, SavedAreasAndBoxesWithoutButtons) {
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
}

TEST_F(DialogTest, InputBoxEditsItsLineAndKeepsItWhenCancelled) {
    EXPECT_EQ(Input("E1M1.WAD", 43, "type map\nkey Enter", 1), "MAP");
    EXPECT_EQ(Input("ABC", 43, "key Home\nkey Del\nkey End\ntype D\nkey Enter", 1), "BCD");
    EXPECT_EQ(Input("ABC", 43, "key Left\nkey Backspace\nkey Right\ntype X\nkey Enter", 1), "ACX");
    EXPECT_EQ(Input("", 4, "type ABCDEFG\nkey Enter", 1), "ABCD");
    EXPECT_EQ(Input("ABC", 43, "key Backspace\nkey Backspace\nkey Backspace\nkey Enter", 0), "ABC");
    EXPECT_EQ(Input("ABC", 43, "type XYZ\nkey Tab\nkey Enter", 0), "ABC");
    // A text longer than the field shows scrolls; all of it is kept.
    std::string longText(90, 'Q');
    EXPECT_EQ(Input("", 120, "type " + longText + "\nkey Enter", 1), longText);
}

TEST_F(DialogTest, PathEntryKeepsTheTypedCaseAndAsksAgainUntilThePathIsValid) {
    testkit::WriteFileBytes(session.Dir().file("heretic.wad"), testkit::Bytes{'I', 'W', 'A', 'D'});
    SetField(config.iwadName, session.Dir().file("heretic.wad").c_str());
    // A blank: the error box (closed with any key), then the box again.
    EXPECT_EQ(Input("E1M1.WAD", 43, "type MY MAP\nkey Enter\nkey Enter\nkey Esc", 0, PathEntry),
              "E1M1.WAD");
    // The main WAD is refused under another spelling; a new name keeps its case.
    std::string iwad = session.Dir().path() + "./Heretic.wad";
    EXPECT_EQ(Input("E1M1.WAD", 60,
                    "type " + iwad + "\nkey Enter\nkey Enter\nkey End\nkey Backspace\nkey Backspace\n"
                    "key Backspace\ntype pwad\nkey Enter", 1, PathEntry),
              session.Dir().path() + "./Heretic.pwad");
    EXPECT_TRUE(ValidPath("LONGER_THAN_8.WADFILE", 43));
    for (const char* bad : {"A\tB", "MAPS/", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"})
        EXPECT_FALSE(ValidPath(bad, 43)) << bad;
}

TEST_F(DialogTest, NumberFormRefusesValuesOutOfRangeAndSkipsShownOnlyFields) {
    auto form = [this](std::vector<FormField>& fields, const std::string& script) {
        session.Script(script);
        int result = NumberForm(kCentred, kCentred, WindowSave::UnlessNested, "Reject Mask", fields);
        ExpectRestored();
        return result;
    };
    std::vector<FormField> fields = {{"Skip Every", 0, 100, 5}, {"Pattern", 0, 255, 7}};
    EXPECT_EQ(form(fields, "key Tab\ntype -1\nkey Enter\nkey Backspace\nkey Backspace\ntype 9\nkey Enter"), 1);
    EXPECT_EQ(fields[1].value, 9);
    // Fields whose lower limit is above the upper one are only shown.
    std::vector<FormField> three = {{"A", 0, 10, 1}, {"B", 5, 0, 3}, {"C", -10, 10, 2}};
    EXPECT_EQ(form(three, "type 4\nkey Tab\ntype -6\nkey Up\nkey Down\nkey Enter"), 1);
    EXPECT_EQ(three[1].value, 3);
    EXPECT_EQ(three[2].value, -6);
}

TEST_F(DialogTest, OptionFormReturnsTheItemChosen) {
    std::vector<OptionItem> items = {{"Sound Selection", 0, 30, 1, OptionKind::CheckBox},
                                     {"_5 MainWAD File", 200, 120, 0, OptionKind::Button},
                                     {"Angle", 200, 160, 90, OptionKind::Number}};
    ButtonDef ok = {"Ok", kKeyEnter, 100, 400, 150, 420};
    ButtonDef cancel = {"Cancel", kKeyEsc, 160, 400, 230, 420};
    int current = 0, key = 0;
    const std::pair<const char*, int> cases[] = {
        {"key Tab\nkey Enter", 1},   // Enter presses a button the mark was moved to
        {"key F1\nclick left 105 135", 0},
        {"key Shift-Tab\nkey Up\nkey Down\ntype 45\nkey Enter", kOptionOk},
        {"key Tab\nkey O", kOptionOk},
        {"key Space", 0},           // the marked box; Enter is Ok
        {"key Enter", kOptionOk},
        {"click left 195 410", kOptionCancel},
    };
    for (const auto& [script, result] : cases) {
        session.Script(script);
        EXPECT_EQ(OptionForm(FormMode::UntilDecided, "OPTIONS", current, key, ok, cancel, 100, 100, items),
                  result)
            << script;
    }
    EXPECT_EQ(items[2].value, 45);
    EXPECT_EQ(items[0].value, 1);   // the caller toggles
    EXPECT_EQ(HelpAsked(), std::vector<std::string>{"OPTIONS"});
}

// 7 names, 5 rows, 8 characters: row r spans y 225 + 11 r to 235 + 11 r;
// the scroll bar's down arrow is at (342, 271)-(352, 281), its track above.
TEST_F(DialogTest, ListSelectFindsTheFirstNameThatBeginsWithTheTextAndTheMouseTakesRows) {
    static const char* const kNames[7] = {"BROWN1", "BROWN96", "STARTAN1", "STARTAN2",
                                          "STARTAN3", "STEP1", "TEKWALL1"};
    char text[9] = {};
    std::vector<std::string> previews;
    auto choose = [&](const char* proposal, const std::string& script, const ListSelectOptions& options) {
        std::strcpy(text, proposal);
        session.Script(script);
        int result = ListSelect(kCentred, kCentred, "Pick", 7, kNames, 5, text, 8, options);
        ExpectRestored();
        EXPECT_EQ(graphics.lineH, 10);   // the editor's metrics are back
        return result;
    };
    ListSelectOptions sizeable;
    sizeable.sizeable = true, sizeable.picW = 64, sizeable.picH = 32;
    sizeable.preview = [&](int, int, int, int, const char* name) { previews.push_back(name); };
    EXPECT_EQ(choose("", "type st\nkey Enter\ntype EP1\nkey +\nkey Enter", sizeable), 1);
    EXPECT_STREQ(text, "STEP1");
    EXPECT_EQ(previews, (std::vector<std::string>{"BROWN1", "STARTAN1", "STEP1", "STEP1"}));
    EXPECT_EQ(toolkit.magnify, 2);
    // The first letter typed replaces the name proposed; one taken from the
    // list is kept for editing.
    const struct { const char *proposal, *script; int result; const char* text; } cases[] = {
        {"STARTAN2", "key Down\nkey Enter", 1, "STARTAN3"},
        {"STEP1", "key Backspace\nkey Backspace\nkey PgUp\nkey Enter", 1, "BROWN1"},
        {"STARTAN2", "type BROWN1\nkey Enter", 1, "BROWN1"},
        {"STARTAN2", "key Down\nkey Backspace\ntype 1\nkey Enter", 1, "STARTAN1"},
        {"STEP1", "type X\nkey Esc", 0, ""},   // Esc empties the text
        {"", "click left 290 252\nclick left 290 252", 1, "STARTAN1"},
        {"", "click left 347 276\nkey Enter", 1, "BROWN96"},   // scrolled down one
        {"", "click left 347 262\nkey Enter", 1, "STEP1"},     // the track: down a page
    };
    for (const auto& c : cases) {
        EXPECT_EQ(choose(c.proposal, c.script, {}), c.result) << c.script;
        EXPECT_STREQ(text, c.text) << c.script;
    }
}

// The level's dialogs ask on the graphics screen, and on the console while
// the graphics are down.
TEST_F(DialogTest, LevelDialogsAskOnTheGraphicsScreenOrTheConsole) {
    InstallToolkit();
    session.Script("key Y");
    EXPECT_EQ(Dialogs().ConfirmYes("Rebuild NODES ?", ""), 1);
    std::vector<struct NumberField> fields = {{"Skip Every", 0, 100, 0}, {"Pattern", 0, 255, 0}};
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
    EXPECT_EQ(At(180, 250), 1);
    EXPECT_EQ(At(400, 250), 15);
    Dialogs().ProgressEnd();
    ExpectRestored();

    CloseGraphics();
    testkit::ConsoleCapture console("Y\nOLD\n");
    EXPECT_EQ(Dialogs().ConfirmYes("Rebuild NODES ?", ""), 1);
    EXPECT_EQ(Dialogs().PathEntry("New WAD file Name", 43, name), 1);
    EXPECT_STREQ(name, "OLD");
    EXPECT_NE(console.output().find("Press Y to confirm"), std::string::npos);
}

}  // namespace
