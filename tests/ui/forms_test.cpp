// Typing dialogs on the headless screen: the input box and path entry, number
// fields and forms, option forms and the list chooser.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/config.h"
#include "toolkit_fixture.h"
#include "ui/forms.h"
#include "ui/input_box.h"
#include "ui/list_select.h"

namespace {

using toolkit_test::At;

class FormTest : public toolkit_test::ToolkitTest {
protected:
    std::string Input(const char* proposal, int maxLen, const std::string& script, int expected) {
        char text[100] = {};
        std::strcpy(text, proposal);
        session.Script(script);
        EXPECT_EQ(InputBox(-1, -1, "New WAD file Name", maxLen, text), expected) << script;
        ExpectRestored();
        return text;
    }
    int Form(std::vector<FormField>& fields, const std::string& script) {
        session.Script(script);
        int result = NumberForm(-1, -1, 0, "Reject Mask", fields);
        ExpectRestored();
        return result;
    }
};

TEST_F(FormTest, InputBoxEditsItsLineAndKeepsItWhenCancelled) {
    EXPECT_EQ(Input("E1M1.WAD", 43, "type map\nkey Enter", 1), "MAP");
    EXPECT_EQ(Input("ABC", 43, "key Home\nkey Del\nkey End\ntype D\nkey Enter", 1), "BCD");
    EXPECT_EQ(Input("ABC", 43, "key Left\nkey Backspace\nkey Right\ntype X\nkey Enter", 1), "ACX");
    EXPECT_EQ(Input("", 4, "type ABCDEFG\nkey Enter", 1), "ABCD");
    EXPECT_EQ(Input("OLD", 43, "key Tab\nkey Alt-O", 1), "OLD");
    // Cancelled or emptied, the box keeps the text.
    EXPECT_EQ(Input("ABC", 43, "key Backspace\nkey Backspace\nkey Backspace\nkey Enter", 0), "ABC");
    EXPECT_EQ(Input("ABC", 43, "type XYZ\nkey Esc", 0), "ABC");
    EXPECT_EQ(Input("ABC", 43, "type XYZ\nkey Alt-A", 0), "ABC");
    EXPECT_EQ(Input("ABC", 43, "type XYZ\nkey Tab\nkey Enter", 0), "ABC");
    EXPECT_EQ(Input("ABC", 43, "click right 5 5", 0), "ABC");
}

TEST_F(FormTest, PathEntryAsksAgainUntilThePathIsValid) {
    SetField(config.iwadName, "/usr/share/games/heretic/heretic.wad");
    char text[44] = "E1M1.WAD";
    // A blank: the error box (closed with any key), then the box again.
    session.Script("type MY MAP\nkey Enter\nkey Enter\nkey Esc");
    EXPECT_EQ(PathEntry(-1, -1, "New WAD file Name", 43, text), 0);
    EXPECT_STREQ(text, "E1M1.WAD");
    ExpectRestored();
    session.Script("type HERETIC\nkey Enter\nkey Enter\nkey Home\nkey Del\nkey Enter");
    EXPECT_EQ(PathEntry(-1, -1, "New WAD file Name", 43, text), 1);
    EXPECT_STREQ(text, "ERETIC");
    ExpectRestored();

    EXPECT_TRUE(ValidPath("LONGER_THAN_8.WADFILE", 43));
    EXPECT_TRUE(ValidPath("PRN", 12));
    EXPECT_FALSE(ValidPath("A\tB", 43));
    EXPECT_FALSE(ValidPath("MAPS/", 43));   // no file name
    EXPECT_FALSE(ValidPath("heretic.wad", 12));
    EXPECT_FALSE(ValidPath(std::string(44, 'A').c_str(), 43));
}

TEST_F(FormTest, NumberFormRefusesValuesOutOfRangeAndSkipsShownOnlyFields) {
    std::vector<FormField> fields = {{"Skip Every", 0, 100, 5}, {"Pattern", 0, 255, 7}};
    EXPECT_EQ(Form(fields, "type 300\nkey Enter\nkey Tab\nkey Esc"), 0);
    EXPECT_EQ(fields[0].value, 5);
    EXPECT_EQ(Form(fields, "type 50\nkey Tab\ntype 200\nkey Esc"), 0);
    EXPECT_EQ(fields[0].value, 50);   // stored when its field was left
    EXPECT_EQ(fields[1].value, 7);
    EXPECT_EQ(Form(fields, "key Tab\ntype -1\nkey Enter\nkey Backspace\nkey Backspace\ntype 9\n"
                           "key Enter"),
              1);
    EXPECT_EQ(fields[1].value, 9);
    // Fields whose lower limit is above the upper one are only shown.
    std::vector<FormField> three = {{"A", 0, 10, 1}, {"B", 5, 0, 3}, {"C", -10, 10, 2}};
    EXPECT_EQ(Form(three, "type 4\nkey Tab\ntype -6\nkey Up\nkey Down\nkey Enter"), 1);
    EXPECT_EQ(three[0].value, 4);
    EXPECT_EQ(three[1].value, 3);
    EXPECT_EQ(three[2].value, -6);
    std::vector<FormField> shown = {{"X", 1, 0, 10}};
    EXPECT_EQ(Form(shown, "key Enter"), 1);
    EXPECT_EQ(Form(shown, "key Esc"), 0);
}

TEST_F(FormTest, NumberFieldEndsOnClicks) {
    int value = 12;
    session.Script("type 34\nclick left 500 400");
    EXPECT_EQ(NumberField(100, 100, value, 0, 255, kFieldEdit), -1);
    EXPECT_EQ(value, 34);
    session.Script("type 56\nclick right 105 105");
    EXPECT_EQ(NumberField(100, 100, value, 0, 255, kFieldEdit), kKeyEsc);
    EXPECT_EQ(value, 34);
    EXPECT_EQ(NumberField(100, 100, value, 0, 255, kFieldShowGrey), 0);
}

TEST_F(FormTest, OptionFormReturnsTheItemChosen) {
    std::vector<OptionItem> items = {{"Sound Selection", 0, 30, 1, kOptionCheckBox},
                                     {"Sound Errors", 0, 45, 0, kOptionCheckBox},
                                     {"_5 MainWAD File", 200, 120, 0, kOptionButton},
                                     {"Angle", 200, 160, 90, kOptionNumber}};
    ButtonDef ok = {"Ok", kKeyEnter, 100, 400, 150, 420};
    ButtonDef cancel = {"Cancel", kKeyEsc, 160, 400, 230, 420};
    int current = 0, key = 0;
    auto run = [&](const std::string& script) {
        session.Script(script);
        return OptionForm(1, "OPTIONS", current, key, ok, cancel, 100, 100, items);
    };
    EXPECT_EQ(run("key Tab\nkey Enter"), 1);
    EXPECT_EQ(key, kKeyEnter);
    EXPECT_EQ(At(104, 132), 4);    // the box that is on is red
    EXPECT_EQ(At(104, 147), 15);   // the other white
    EXPECT_EQ(run("key 5"), 2);
    EXPECT_EQ(run("key F1\nclick left 105 135"), 0);
    EXPECT_EQ(toolkit_test::HelpAsked(), std::vector<std::string>{"OPTIONS"});
    EXPECT_EQ(run("key Shift-Tab\nkey Up\nkey Down\ntype 45\nkey Enter"), 3);
    EXPECT_EQ(items[3].value, 45);
    EXPECT_EQ(run("key Tab\nkey O"), kOptionOk);
    EXPECT_EQ(key, kFormButtonKey);
    EXPECT_EQ(run("key Esc"), kOptionCancel);
    EXPECT_EQ(run("click left 195 410"), kOptionCancel);
    EXPECT_EQ(items[0].value, 1);   // the caller toggles
}

class ListSelectTest : public toolkit_test::ToolkitTest {
protected:
    // 7 names, 5 rows, 8 characters: the window is 120 x 101 pixels at
    // (259, 189); row r spans y 225 + 11 r to 235 + 11 r; the scroll bar's
    // down arrow is at (342, 271)-(352, 281).
    int Choose(const char* proposal, const std::string& script, int sizeable = 0) {
        std::strcpy(text, proposal);
        session.Script(script);
        PreviewHook hook = [this](int, int, int, int, const char* name) { previews.push_back(name); };
        int result = ListSelect(-1, -1, 0, sizeable, "Pick", 7, kNames, 5, text, 8,
                                sizeable ? 64 : 0, sizeable ? 32 : 0, hook, nullptr);
        ExpectRestored();
        EXPECT_EQ(graphics.LineH, 10);   // the editor's metrics are back
        return result;
    }
    static constexpr const char* kNames[7] = {"BROWN1",   "BROWN96", "STARTAN1", "STARTAN2",
                                              "STARTAN3", "STEP1",   "TEKWALL1"};
    char text[9] = {};
    std::vector<std::string> previews;
};

TEST_F(ListSelectTest, TypingFindsTheFirstNameThatBeginsWithIt) {
    EXPECT_EQ(Choose("", "type st\nkey Enter\ntype EP1\nkey Enter", 1), 1);
    EXPECT_STREQ(text, "STEP1");
    std::vector<std::string> expected = {"BROWN1", "STARTAN1", "STEP1"};
    EXPECT_EQ(previews, expected);
    EXPECT_EQ(Choose("STARTAN2", "key Down\nkey Enter"), 1);
    EXPECT_STREQ(text, "STARTAN3");
    EXPECT_EQ(Choose("BROWN", "key End\nkey Enter"), 1);
    EXPECT_STREQ(text, "TEKWALL1");
    EXPECT_EQ(Choose("STEP1", "key Backspace\nkey Backspace\nkey PgUp\nkey Enter"), 1);
    EXPECT_STREQ(text, "BROWN1");
    EXPECT_EQ(Choose("STEP1", "type X\nkey Esc"), 0);   // Esc empties the text
    EXPECT_STREQ(text, "");
}

TEST_F(ListSelectTest, MouseTakesRowsAndScrolls) {
    EXPECT_EQ(Choose("", "click left 290 252\nclick left 290 252"), 1);
    EXPECT_STREQ(text, "STARTAN1");
    EXPECT_EQ(Choose("", "click left 347 276\nkey Enter"), 1);
    EXPECT_STREQ(text, "BROWN96");
    EXPECT_EQ(Choose("", "click right 290 252"), 0);
}

TEST_F(ListSelectTest, MagnificationStaysWithinItsLimits) {
    std::string keys;
    for (int i = 0; i < 12; ++i)
        keys += "key +\n";
    EXPECT_EQ(Choose("", keys + "key Esc", 1), 0);
    EXPECT_EQ(toolkit.magnify, 10);
    EXPECT_EQ(Choose("", "key -\nkey Esc"), 0);   // not sizeable: no change
    EXPECT_EQ(toolkit.magnify, 10);
}

}  // namespace
