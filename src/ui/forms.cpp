#include "ui/forms.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/line_editor.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"

namespace {

constexpr int kNumberLength = 8;
constexpr int kMaxFormFields = 20;
constexpr int kOptionNumberMax = 32000;
constexpr int kCheckBoxSize = 12;

// ---- Number fields

int FieldX2(int x) { return x + kNumberLength * graphics.charW + 5; }
int FieldY2(int y) { return y + graphics.charH + 5; }

bool Inside(const PointerSample& p, int x1, int y1, int x2, int y2) {
    return p.x >= x1 && p.x <= x2 && p.y >= y1 && p.y <= y2;
}

// Digits with an optional leading "-", within min..max.
bool ParseNumber(const std::string& text, int min, int max, int& value) {
    size_t digits = text.size() > 0 && text[0] == '-' ? 1 : 0;
    if (digits == text.size())
        return false;
    for (size_t i = digits; i < text.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
    long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (parsed < min || parsed > max)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

void DrawNumber(int x, int y, const std::string& text, int color, int cursor) {
    PointerGuard guard;
    SunkenBox(x, y, FieldX2(x), FieldY2(y), 15);
    SetColor(color);
    Screen().outtextxy(x + 3, y + 3, text.c_str());
    if (cursor >= 0) {
        SetColor(0);
        Screen().outtextxy(x + 3 + cursor * graphics.charW, y + 4, "_");
    }
    SetColor(0);
}

std::string NumberText(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

bool EndsField(int key) {
    return key == kKeyEnter || key == kKeyUp || key == kKeyDown || key == kKeyTab ||
           key == kKeyShiftTab;
}

// A press: left on the field is Enter, right on it Esc, anywhere else -1.
int ClickKey(int x, int y, const PointerSample& p) {
    WaitRelease(nullptr);
    if (!Inside(p, x, y, FieldX2(x), FieldY2(y)))
        return -1;
    return (p.buttons & 1) ? kKeyEnter : kKeyEsc;
}

// ---- Number forms

struct FormLayout {
    int x, y, x2, y2;
    int labelChars;    // L: longest label + 2
    int firstRowY;
    int pitch;
};

bool Editable(const FormField& f) { return f.min <= f.max; }

std::string RangeHint(const FormField& f) {
    char hint[32];
    std::snprintf(hint, sizeof hint, "(%d, %d)", f.min, f.max);
    return hint;
}

int FieldX(const FormLayout& l) { return l.x + (l.labelChars + 1) * graphics.charW; }
int FieldY(const FormLayout& l, int i) { return l.firstRowY + i * l.pitch; }

FormLayout LayOutForm(int x, int y, const char* title, const std::vector<FormField>& fields,
                      int count) {
    FormLayout l;
    int longest = 0;
    for (int i = 0; i < count; ++i)
        longest = std::max(longest, static_cast<int>(std::strlen(fields[i].label)));
    l.labelChars = longest + 2;
    int chars = std::max(static_cast<int>(std::strlen(title ? title : "")) + 4, l.labelChars + 12);
    // The range hint stands right of the field.
    for (int i = 0; i < count; ++i)
        if (Editable(fields[i]))
            chars = std::max(chars, l.labelChars + static_cast<int>(RangeHint(fields[i]).size()) +
                                        kNumberLength + 5);
    l.pitch = graphics.lineH + 6;
    int width = chars * graphics.charW;
    int height = 3 * graphics.lineH + count * l.pitch + graphics.lineH;
    if (x < 0)
        x = std::max(0, (graphics.maxX - width) / 2);
    if (y < 0)
        y = std::max(0, (graphics.maxY - 17 - height) / 2);
    l.x = x, l.y = y, l.x2 = x + width, l.y2 = y + height;
    l.firstRowY = y + 3 * graphics.lineH;
    return l;
}

void DrawForm(const FormLayout& l, const char* title, std::vector<FormField>& fields, int count,
              FieldMode valueMode) {
    RaisedBox(l.x, l.y, l.x2, l.y2, config.colors[kColorMenu]);
    if (title)
        LabelBox(l.x + graphics.charW, l.y + graphics.charH, "%s", title);
    int hintColor = config.colors[kColorMenu] == 17 ? 7 : 17;
    for (int i = 0; i < count; ++i) {
        int fy = FieldY(l, i);
        SetColor(0);
        Screen().outtextxy(l.x + graphics.charW, fy + 3, fields[i].label);
        NumberField(FieldX(l), fy, fields[i].value, fields[i].min, fields[i].max, valueMode);
        if (Editable(fields[i])) {
            SetColor(hintColor);
            Screen().outtextxy(FieldX2(FieldX(l)) + graphics.charW, fy + 3,
                               RangeHint(fields[i]).c_str());
        }
    }
    SetColor(0);
}

// The editable field after (step 1) or before (step -1) i, or -1.
int NextEditable(const std::vector<FormField>& fields, int count, int i, int step) {
    for (int j = i + step; j >= 0 && j < count; j += step)
        if (Editable(fields[j]))
            return j;
    return -1;
}

// The editable field under the pointer of the last pass, or -1.
int FieldUnderPointer(const FormLayout& l, const std::vector<FormField>& fields, int count) {
    const PointerSample& p = toolkit.pointer;
    for (int i = 0; i < count; ++i) {
        int fy = FieldY(l, i);
        if (Editable(fields[i]) && Inside(p, FieldX(l), fy, FieldX2(FieldX(l)), FieldY2(fy)))
            return i;
    }
    return -1;
}

// Edits the fields in turn; 1 when Enter accepted the form.
int EditFields(const FormLayout& l, std::vector<FormField>& fields, int count, FormEnter enter) {
    int i = NextEditable(fields, count, -1, 1);
    for (;;) {
        FormField& f = fields[i];
        int key = NumberField(FieldX(l), FieldY(l, i), f.value, f.min, f.max, FieldMode::Edit);
        NumberField(FieldX(l), FieldY(l, i), f.value, f.min, f.max, FieldMode::ShowGrey);
        if (key == kKeyEsc)
            return 0;
        if (key == kKeyEnter && enter == FormEnter::Accepts)
            return 1;
        if (key == kKeyEnter || key == kKeyTab || key == kKeyDown) {
            int next = NextEditable(fields, count, i, 1);
            if (next >= 0)
                i = next;
            else if (key == kKeyEnter)
                return 1;
        } else if (key == kKeyUp || key == kKeyShiftTab) {
            int previous = NextEditable(fields, count, i, -1);
            i = previous >= 0 ? previous : i;
        } else if (key == -1) {
            int clicked = FieldUnderPointer(l, fields, count);
            i = clicked >= 0 ? clicked : i;
        }
    }
}

// A form with nothing to edit waits for a key or a click; Enter accepts it.
int ShowOnly() {
    int key = GetInput(nullptr, InputWait::Wait);
    return key == kKeyEnter ? 1 : 0;
}

// ---- Option forms

struct ItemFace {
    std::string text;
    int hotIndex = -1;
    int hotLetter = 0;
};

ItemFace FaceOf(const char* label) {
    ItemFace face;
    face.text = label;
    size_t mark = face.text.find('_');
    if (mark != std::string::npos && mark + 1 < face.text.size()) {
        face.text.erase(mark, 1);
        face.hotIndex = static_cast<int>(mark);
        face.hotLetter = std::toupper(static_cast<unsigned char>(face.text[mark]));
    }
    return face;
}

struct ItemBox {
    int x1, y1, x2, y2;
};

ItemBox BoxOf(const OptionItem& item, int xBase, int yBase) {
    int x = xBase + item.dx, y = yBase + item.dy;
    int len = static_cast<int>(FaceOf(item.label).text.size());
    switch (item.kind) {
    case OptionKind::CheckBox: return {x, y, x + 18 + len * graphics.charW, y + kCheckBoxSize};
    case OptionKind::Button: return {x, y, x + (len + 2) * graphics.charW, y + graphics.charH + 8};
    case OptionKind::Number: break;
    }
    return {x, y, FieldX2(x), FieldY2(y)};
}

bool IsNumberItem(const OptionItem& item) { return item.kind == OptionKind::Number; }

void DrawItem(OptionItem& item, int xBase, int yBase, bool current) {
    PointerGuard guard;
    ItemFace face = FaceOf(item.label);
    ItemBox box = BoxOf(item, xBase, yBase);
    Canvas& screen = Screen();
    if (item.kind == OptionKind::CheckBox) {
        SunkenBox(box.x1, box.y1, box.x1 + kCheckBoxSize, box.y1 + kCheckBoxSize,
                  item.value == 1 ? 4 : 15);
        SetColor(0);
        if (current)
            screen.outtextxy(box.x1 + 2, box.y1 + 3, "\x04");
        int tx = box.x1 + 18, ty = box.y1 + 3;
        screen.outtextxy(tx, ty, face.text.c_str());
        if (face.hotIndex >= 0)
            screen.outtextxy(tx + face.hotIndex * graphics.charW, ty + 2, "_");
    } else if (item.kind == OptionKind::Button) {
        DrawButton(ButtonLook::Raised, face.text.c_str(), face.hotIndex,
                   current ? ButtonFocus::Focused : ButtonFocus::None, box.x1, box.y1, box.x2,
                   box.y2);
    } else {
        NumberField(box.x1, box.y1, item.value, 0, kOptionNumberMax, FieldMode::Show);
    }
}

int ItemUnderPointer(const std::vector<OptionItem>& items, int count, int xBase, int yBase) {
    const PointerSample& p = toolkit.pointer;
    for (int i = 0; i < count; ++i) {
        ItemBox b = BoxOf(items[i], xBase, yBase);
        if (Inside(p, b.x1, b.y1, b.x2, b.y2))
            return i;
    }
    return -1;
}

int ItemOfHotKey(const std::vector<OptionItem>& items, int count, int key) {
    for (int i = 0; i < count; ++i) {
        int letter = FaceOf(items[i].label).hotLetter;
        if (letter != 0 && (key == letter || key == HotKeyFor(letter)))
            return i;
    }
    return -1;
}

bool InButton(const ButtonDef& b) {
    const PointerSample& p = toolkit.pointer;
    return p.x > b.x1 && p.x < b.x2 && p.y > b.y1 && p.y < b.y2;
}

class OptionFormRun {
public:
    OptionFormRun(const char* helpTopic, int& current, int& key, const ButtonDef& ok,
                  const ButtonDef& cancel, int xBase, int yBase, std::vector<OptionItem>& items)
        : helpTopic_(helpTopic), current_(current), key_(key), xBase_(xBase), yBase_(yBase),
          items_(items) {
        buttons_ = {{ok.text, kFormButtonKey, ok.x1, ok.y1, ok.x2, ok.y2}, cancel};
        count_ = 0;
        while (count_ < static_cast<int>(items.size()) && count_ < kMaxOptionItems &&
               items[count_].label)
            ++count_;
        current_ = count_ > 0 ? std::clamp(current_, 0, count_ - 1) : 0;
    }

    int Run(FormMode mode) {
        for (int i = 0; i < count_; ++i)
            DrawItem(items_[i], xBase_, yBase_, i == current_);
        ShowPointer();
        int k = ButtonBar(ButtonBarMode::RestartUnfocused, buttons_);
        for (;;) {
            int result = kOptionNothing;
            if (Handle(k, result))
                return result;
            if (mode == FormMode::OnePass)
                return kOptionNothing;
            if (k == -1)
                WaitForInput();
            k = NextInput();
        }
    }

private:
    // The next key: the number field being edited, or a pass of the button row.
    int NextInput() {
        if (count_ > 0 && IsNumberItem(items_[current_])) {
            OptionItem& item = items_[current_];
            ItemBox b = BoxOf(item, xBase_, yBase_);
            int k = NumberField(b.x1, b.y1, item.value, 0, kOptionNumberMax, FieldMode::Edit);
            DrawItem(item, xBase_, yBase_, true);
            return k == -1 ? ClickedKey() : k;
        }
        return ButtonBar(ButtonBarMode::Continue, buttons_);
    }

    // What a click that ended a number field meant: one of the buttons, or -1.
    int ClickedKey() {
        if (InButton(buttons_[0]))
            return kFormButtonKey;
        if (InButton(buttons_[1]))
            return buttons_[1].key;
        return -1;
    }

    void MoveTo(int i) {
        focusMoved_ = true;
        if (i == current_)
            return;
        int old = current_;
        current_ = i;
        DrawItem(items_[old], xBase_, yBase_, false);
        DrawItem(items_[current_], xBase_, yBase_, true);
    }

    // Acts on one key; true with the form's result when it is decided.
    bool Handle(int k, int& result) {
        if (k == kFormButtonKey || k == buttons_[1].key || k == kKeyEsc) {
            key_ = k;
            result = k == kFormButtonKey ? kOptionOk : kOptionCancel;
            WaitRelease(nullptr);
            return true;
        }
        if (k == -1)
            return Clicked(result);
        if (count_ == 0)
            return false;
        int hot = ItemOfHotKey(items_, count_, k);
        if (k == kKeyF1) {
            ShowHelpTopic(helpTopic_);
        } else if (k == kKeyTab || k == kKeyDown) {
            MoveTo((current_ + 1) % count_);
        } else if (k == kKeyShiftTab || k == kKeyUp) {
            MoveTo((current_ + count_ - 1) % count_);
        } else if (k == kKeyEnter && !(focusMoved_ && items_[current_].kind == OptionKind::Button)) {
            key_ = kKeyEnter;
            result = kOptionOk;
            return true;
        } else if (k == kKeyEnter || k == kKeySpace || hot >= 0) {
            if (hot >= 0)
                MoveTo(hot);
            key_ = kKeyEnter;
            result = current_;
            return true;
        }
        return false;
    }

    // A left press on a check box or push button decides it; on a number
    // field it makes the field current for editing.
    bool Clicked(int& result) {
        if (!(toolkit.pointer.buttons & 1))
            return false;
        int i = ItemUnderPointer(items_, count_, xBase_, yBase_);
        if (i < 0)
            return false;
        WaitRelease(nullptr);
        MoveTo(i);
        if (IsNumberItem(items_[i]))
            return false;
        key_ = -1;
        result = i;
        return true;
    }

    const char* helpTopic_;
    int& current_;
    int& key_;
    int xBase_, yBase_;
    std::vector<OptionItem>& items_;
    std::vector<ButtonDef> buttons_;
    int count_;
    bool focusMoved_ = false;   // the user moved the mark (Tab, arrows, a click)
};

}  // namespace

int NumberField(int x, int y, int& value, int min, int max, FieldMode mode) {
    if (mode != FieldMode::Edit) {
        DrawNumber(x, y, NumberText(value), mode == FieldMode::Show ? 0 : 8, -1);
        return 0;
    }
    PointerRestore pointer;
    LineEditor line;
    line.limit = kNumberLength;
    line.text = NumberText(value);
    line.cursor = line.text.size();
    int parsed = value;
    int key = 0;
    for (;;) {
        bool valid = ParseNumber(line.text, min, max, parsed);
        DrawNumber(x, y, line.text, valid ? 0 : 8, static_cast<int>(line.cursor));
        ShowPointer();
        PointerSample p = SamplePointer();
        if (p.buttons != 0)
            key = ClickKey(x, y, p);
        else if (!ReadKey(&key))
            key = 0;
        if (key == kKeyEsc)
            break;
        if (key == -1 || (EndsField(key) && valid)) {
            if (valid)
                value = parsed;
            break;
        }
        if (key == 0)
            WaitForInput();
        else if (!EndsField(key))
            line.Apply(key);
    }
    DrawNumber(x, y, NumberText(value), 0, -1);
    return key;
}

int NumberForm(int x, int y, WindowSave save, const char* title, std::vector<FormField>& fields,
               FormEnter enter) {
    int count = std::min<int>(static_cast<int>(fields.size()), kMaxFormFields);
    for (int i = 0; i < count; ++i)
        if (!fields[i].label)
            count = i;
    bool anyEditable = NextEditable(fields, count, -1, 1) >= 0;
    FormLayout l = LayOutForm(x, y, title, fields, count);
    PointerRestore pointer;
    HidePointer();
    SavedArea area;
    SaveArea(l.x, l.y, l.x2, l.y2, area, save);
    DrawForm(l, title, fields, count, anyEditable ? FieldMode::ShowGrey : FieldMode::Show);
    int px = 0, py = 0;
    SnapPointer(Snap::ToButton, &px, &py, FieldX(l), l.firstRowY);
    ShowPointer();
    int result = anyEditable ? EditFields(l, fields, count, enter) : ShowOnly();
    RestoreArea(area);
    SnapPointer(Snap::Back, &px, &py, 0, 0);
    return result;
}

int OptionForm(FormMode mode, const char* helpTopic, int& current, int& key, const ButtonDef& ok,
               const ButtonDef& cancel, int xBase, int yBase, std::vector<OptionItem>& items) {
    PointerRestore pointer;
    ButtonBarScope scope;
    OptionFormRun run(helpTopic, current, key, ok, cancel, xBase, yBase, items);
    return run.Run(mode);
}
