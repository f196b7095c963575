// Typing dialogs on the headless screen: the input box and path entry, number
// forms, option forms and the list chooser.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "support/testkit.h"
#include "toolkit_fixture.h"
#include "ui/forms.h"
#include "ui/input_box.h"
#include "ui/list_select.h"

namespace {

class FormTest : public toolkit_test::ToolkitTest {
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

TEST_F(FormTest, InputBoxEditsItsLineAndKeepsItWhenCancelled) {
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

TEST_F(FormTest, PathEntryKeepsTheTypedCaseAndAsksAgainUntilThePathIsValid) {
    testkit::ScratchDir dir;
    testkit::WriteFileBytes(dir.file("heretic.wad"), testkit::Bytes{'I', 'W', 'A', 'D'});
    SetField(config.iwadName, dir.file("heretic.wad").c_str());
    // A blank: the error box (closed with any key), then the box again.
    EXPECT_EQ(Input("E1M1.WAD", 43, "type MY MAP\nkey Enter\nkey Enter\nkey Esc", 0, PathEntry),
              "E1M1.WAD");
    // The main WAD is refused under another spelling; a new name keeps its case.
    std::string iwad = dir.path() + "./Heretic.wad";
    EXPECT_EQ(Input("E1M1.WAD", 60,
                    "type " + iwad + "\nkey Enter\nkey Enter\nkey End\nkey Backspace\nkey Backspace\n"
                    "key Backspace\ntype pwad\nkey Enter", 1, PathEntry),
              dir.path() + "./Heretic.pwad");
    EXPECT_EQ(Input("", 43, "type mymap\nkey Enter", 1, PathEntry), "mymap");
    EXPECT_TRUE(ValidPath("LONGER_THAN_8.WADFILE", 43));
    for (const char* bad : {"A\tB", "MAPS/", "AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"})
        EXPECT_FALSE(ValidPath(bad, 43)) << bad;
}

TEST_F(FormTest, NumberFormRefusesValuesOutOfRangeAndSkipsShownOnlyFields) {
    auto form = [this](std::vector<FormField>& fields, const std::string& script) {
        session.Script(script);
        int result =
            NumberForm(kCentred, kCentred, WindowSave::UnlessNested, "Reject Mask", fields);
        ExpectRestored();
        return result;
    };
    std::vector<FormField> fields = {{"Skip Every", 0, 100, 5}, {"Pattern", 0, 255, 7}};
    EXPECT_EQ(form(fields, "type 300\nkey Enter\nkey Tab\nkey Esc"), 0);
    EXPECT_EQ(fields[0].value, 5);
    EXPECT_EQ(form(fields, "key Tab\ntype -1\nkey Enter\nkey Backspace\nkey Backspace\ntype 9\n"
                           "key Enter"),
              1);
    EXPECT_EQ(fields[1].value, 9);
    // Fields whose lower limit is above the upper one are only shown.
    std::vector<FormField> three = {{"A", 0, 10, 1}, {"B", 5, 0, 3}, {"C", -10, 10, 2}};
    EXPECT_EQ(form(three, "type 4\nkey Tab\ntype -6\nkey Up\nkey Down\nkey Enter"), 1);
    EXPECT_EQ(three[1].value, 3);
    EXPECT_EQ(three[2].value, -6);
}

TEST_F(FormTest, OptionFormReturnsTheItemChosen) {
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
        EXPECT_EQ(OptionForm(FormMode::UntilDecided, "OPTIONS", current, key, ok, cancel, 100, 100,
                             items),
                  result)
            << script;
    }
    EXPECT_EQ(items[2].value, 45);
    EXPECT_EQ(items[0].value, 1);   // the caller toggles
    EXPECT_EQ(toolkit_test::HelpAsked(), std::vector<std::string>{"OPTIONS"});
}

class ListSelectTest : public toolkit_test::ToolkitTest {
protected:
    // 7 names, 5 rows, 8 characters: row r spans y 225 + 11 r to 235 + 11 r;
    // the scroll bar's down arrow is at (342, 271)-(352, 281).
    int Choose(const char* proposal, const std::string& script, bool sizeable = false) {
        std::strcpy(text, proposal);
        session.Script(script);
        ListSelectOptions options;
        options.preview = [this](int, int, int, int, const char* name) {
            previews.push_back(name);
        };
        if (sizeable) {
            options.sizeable = true;
            options.picW = 64;
            options.picH = 32;
        }
        int result = ListSelect(kCentred, kCentred, "Pick", 7, kNames, 5, text, 8, options);
        ExpectRestored();
        EXPECT_EQ(graphics.lineH, 10);   // the editor's metrics are back
        return result;
    }
    static constexpr const char* kNames[7] = {"BROWN1",   "BROWN96", "STARTAN1", "STARTAN2",
                                              "STARTAN3", "STEP1",   "TEKWALL1"};
    char text[9] = {};
    std::vector<std::string> previews;
};

TEST_F(ListSelectTest, TypingFindsTheFirstNameThatBeginsWithItAndTheMouseTakesRows) {
    EXPECT_EQ(Choose("", "type st\nkey Enter\ntype EP1\nkey +\nkey Enter", true), 1);
    EXPECT_STREQ(text, "STEP1");
    EXPECT_EQ(previews, (std::vector<std::string>{"BROWN1", "STARTAN1", "STEP1", "STEP1"}));
    EXPECT_EQ(toolkit.magnify, 2);
    EXPECT_EQ(Choose("STARTAN2", "key Down\nkey Enter"), 1);
    EXPECT_STREQ(text, "STARTAN3");
    EXPECT_EQ(Choose("STEP1", "key Backspace\nkey Backspace\nkey PgUp\nkey Enter"), 1);
    EXPECT_STREQ(text, "BROWN1");
    // The first letter typed replaces the name proposed; one taken from the
    // list is kept for editing.
    EXPECT_EQ(Choose("STARTAN2", "type BROWN1\nkey Enter"), 1);
    EXPECT_STREQ(text, "BROWN1");
    EXPECT_EQ(Choose("STARTAN2", "key Down\nkey Backspace\ntype 1\nkey Enter"), 1);
    EXPECT_STREQ(text, "STARTAN1");
    EXPECT_EQ(Choose("STEP1", "type X\nkey Esc"), 0);   // Esc empties the text
    EXPECT_STREQ(text, "");
    EXPECT_EQ(Choose("", "click left 290 252\nclick left 290 252"), 1);
    EXPECT_STREQ(text, "STARTAN1");
    EXPECT_EQ(Choose("", "click left 347 276\nkey Enter"), 1);   // scrolled down one
    EXPECT_STREQ(text, "BROWN96");
}

}  // namespace
