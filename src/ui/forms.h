// Forms: number fields, forms of numbers, and forms of check boxes, push
// buttons and numbers.
#pragma once

#include <vector>

#include "ui/button_bar.h"
#include "ui/saved_area.h"

enum class FieldMode {
    ShowGrey,   // the value in colour 8, no editing
    Edit,       // edit; returns the key that ended it
    Show,       // the value in colour 0, no editing
};

// One number field at (x, y). While editing, a text that is not a number
// within min..max is drawn grey and cannot be left with Enter, Up, Down, Tab
// or Shift+Tab; Esc leaves it without storing; a click on the field ends it
// as Enter (left) or Esc (right), a click elsewhere with -1. A valid text is
// stored in value when it is left.
int NumberField(int x, int y, int& value, int min, int max, FieldMode mode);

struct FormField {
    const char* label;
    int min, max;   // min > max: shown only
    int value;
};

// What Enter does in a number form.
enum class FormEnter {
    NextField,   // goes on to the next field; on the last one it accepts the form
    Accepts,     // accepts the form from any field
};

// Up to 20 fields under a title at (x, y) (kCentred: centred); each field's
// value is stored as soon as it is left with a valid entry. 1 when the form
// was accepted with Enter, 0 otherwise.
int NumberForm(int x, int y, WindowSave save, const char* title, std::vector<FormField>& fields,
               FormEnter enter = FormEnter::NextField);

enum class OptionKind {
    Button,
    CheckBox,
    Number,   // a number field 0..32000
};

struct OptionItem {
    const char* label;   // a "_" marks a push button's or option's hot letter
    int dx, dy;          // from the form's base
    int value;           // check box: 1 on; number field: its value
    OptionKind kind;
};

constexpr int kMaxOptionItems = 40;
// Results of OptionForm besides an item index.
constexpr int kOptionOk = -1;        // the first button (its key is kFormButtonKey)
constexpr int kOptionCancel = -2;    // the second button or its key
constexpr int kOptionNothing = -3;   // a single pass without a decision

enum class FormMode { UntilDecided, OnePass };

// A form of items at (xBase + dx, yBase + dy) with the two buttons ok and
// cancel. current is the item marked (kept across calls); key receives the
// last key. Returns the chosen item's index (the caller toggles or acts on
// it), kOptionOk, kOptionCancel, or after one pass kOptionNothing. F1 opens
// help on helpTopic. An item is chosen by a click, its hot letter, or Space
// on the marked one; Enter accepts the form (kOptionOk) unless the user
// moved the mark onto a push button, which Enter then presses.
int OptionForm(FormMode mode, const char* helpTopic, int& current, int& key, const ButtonDef& ok,
               const ButtonDef& cancel, int xBase, int yBase, std::vector<OptionItem>& items);
