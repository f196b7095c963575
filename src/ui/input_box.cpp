#include "ui/input_box.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/button_bar.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/line_editor.h"
#include "ui/message_box.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"
#include "wad/wadfile.h"

namespace {

constexpr int kFullPathLength = 12;   // longer fields expect a path, not a bare name

enum class LetterCase { Upper, AsTyped };

struct InputLayout {
    int width;                // characters the field shows
    int x, y, x2, y2;
    int fx1, fy1, fx2, fy2;   // the field
    std::vector<ButtonDef> buttons;
};

InputLayout LayOut(int x, int y, const char* prompt, int fieldLength) {
    fieldLength = std::min(fieldLength, kMaxInputField);
    const int cw = graphics.charW, lh = graphics.lineH;
    int promptLength = prompt ? static_cast<int>(std::strlen(prompt)) : 0;
    int width = (std::max(fieldLength, promptLength + 1) + 3) * cw;
    int height = 6 * lh;
    if (x < 0)
        x = (graphics.maxX - width) / 2;
    if (y < 0)
        y = (graphics.maxY - height) / 2;
    InputLayout l;
    l.width = fieldLength;
    l.x = x, l.y = y, l.x2 = x + width, l.y2 = y + height;
    l.fx1 = x + cw;
    l.fy1 = y + 2 * lh + 2;
    l.fx2 = l.fx1 + (fieldLength + 1) * cw + 5;
    l.fy2 = l.fy1 + graphics.charH + 5;
    int by1 = y + height - 2 * lh, by2 = y + height - 4;
    int okW = 6 * cw, cancelW = 9 * cw;
    int bx = x + (width - okW - cancelW - 8) / 2;
    l.buttons = {{"_Ok", kKeyEnter, bx, by1, bx + okW, by2},
                 {"C_ancel", kKeyEsc, bx + okW + 8, by1, bx + okW + 8 + cancelW, by2}};
    return l;
}

// A text longer than the field shows the part around the cursor.
void DrawField(const InputLayout& l, const LineEditor& line, size_t& first) {
    size_t shown = static_cast<size_t>(l.width);
    if (line.cursor < first)
        first = line.cursor;
    else if (line.cursor > first + shown)
        first = line.cursor - shown;
    PointerGuard guard;
    FillBox(l.fx1 + 1, l.fy1 + 1, l.fx2 - 2, l.fy2 - 2, 15);
    SetColor(0);
    int tx = l.fx1 + 3, ty = l.fy1 + 3;
    Screen().outtextxy(tx, ty, line.text.substr(first, shown).c_str());
    Screen().outtextxy(tx + static_cast<int>(line.cursor - first) * graphics.charW, ty + 1, "_");
}

// Waits for a key through the button row; the first pass starts it anew.
int NextKey(const InputLayout& l, bool& first) {
    for (;;) {
        int key = ButtonBar(first ? ButtonBarMode::Restart : ButtonBarMode::Continue, l.buttons);
        first = false;
        if (key != -1)
            return key;
        WaitForInput();
    }
}

bool HasBlankOrControl(const char* text) {
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c)
        if (*c <= ' ' || *c == 127)
            return true;
    return false;
}

// InputBox with the letters kept in the case chosen.
int EditText(int x, int y, const char* prompt, int maxLen, char* text, LetterCase letters) {
    LineEditor line;
    line.limit = static_cast<size_t>(std::max(maxLen, 1));
    line.keepCase = letters == LetterCase::AsTyped;
    line.text = std::string(text, strnlen(text, line.limit));
    line.cursor = line.text.size();
    size_t shownFrom = 0;
    InputLayout l = LayOut(x, y, prompt, static_cast<int>(line.limit));

    PointerRestore pointer;
    HidePointer();
    SavedArea area;
    SaveArea(l.x, l.y, l.x2, l.y2, area, WindowSave::Always);
    RaisedBox(l.x, l.y, l.x2, l.y2, config.colors[kColorMenu]);
    LabelBox(l.x + graphics.charW, l.y + graphics.charH, "%s", prompt ? prompt : "");
    SunkenBox(l.fx1, l.fy1, l.fx2, l.fy2, 15);
    int px = 0, py = 0;
    SnapPointer(Snap::ToButton, &px, &py, l.buttons[0].x1, l.buttons[0].y1);
    ButtonBarScope scope;
    int result = 0;
    bool first = true;
    for (;;) {
        DrawField(l, line, shownFrom);
        ShowPointer();
        int key = NextKey(l, first);
        if (key == kKeyEnter) {
            result = line.text.empty() ? 0 : 1;
            break;
        }
        if (key == kKeyEsc) {
            line.text.clear();
            break;
        }
        line.Apply(key, PlatformLastTypedCharacter());
    }
    if (result)
        std::memcpy(text, line.text.c_str(), line.text.size() + 1);
    WaitRelease(nullptr);
    SnapPointer(Snap::Back, &px, &py, 0, 0);
    RestoreArea(area);
    return result;
}

}  // namespace

int InputBox(int x, int y, const char* prompt, int maxLen, char* text) {
    return EditText(x, y, prompt, maxLen, text, LetterCase::Upper);
}

bool ValidPath(const char* text, int maxLen) {
    int length = static_cast<int>(std::strlen(text));
    if (length == 0 || length > maxLen || HasBlankOrControl(text))
        return false;
    if (maxLen <= kFullPathLength)
        return !SameFileName(text, config.iwadName);
    std::vector<char> completed(static_cast<size_t>(std::max(maxLen, kFileNameField)) + 1, 0);
    std::memcpy(completed.data(), text, static_cast<size_t>(length));
    if (!NormalizeWadName(completed.data(), completed.size()))
        return false;
    return !SameFileName(completed.data(), config.iwadName);
}

int PathEntry(int x, int y, const char* prompt, int maxLen, char* text) {
    // The caller's text changes only when a valid path is accepted.
    std::vector<char> work(static_cast<size_t>(std::max(maxLen, 1)) + 1, 0);
    std::strncpy(work.data(), text, work.size() - 1);
    for (;;) {
        if (!EditText(x, y, prompt, maxLen, work.data(), LetterCase::AsTyped))
            return 0;
        if (ValidPath(work.data(), maxLen)) {
            std::memcpy(text, work.data(), std::strlen(work.data()) + 1);
            return 1;
        }
        ErrorBeep();
        MessageBox(kCentred, graphics.maxY - 16 * graphics.charH, LineAlign::Centred, "OK!",
                   kAnyKey, nullptr, 0, "Path/Name is not Valid", {work.data()});
    }
}
