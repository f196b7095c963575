#include "ui/message_box.h"

#include <algorithm>
#include <cstring>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/button_bar.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"

namespace {

constexpr int kMaxDrawnLines = 48;
constexpr size_t kNoticeWidth = 64;   // characters of a notice's line

// The text's lines cut at blanks (a longer word, such as a path, where it
// must) into lines of at most kNoticeWidth characters.
std::vector<std::string> NoticeLines(std::string text) {
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size() && lines.size() < kMaxDrawnLines) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string rest = text.substr(start, end - start);
        do {
            size_t cut = rest.size() <= kNoticeWidth ? rest.size() : rest.rfind(' ', kNoticeWidth);
            if (cut == std::string::npos || cut == 0)
                cut = kNoticeWidth;
            lines.push_back(rest.substr(0, cut));
            rest.erase(0, rest.compare(cut, 1, " ") == 0 ? cut + 1 : cut);
        } while (!rest.empty());
        start = end + 1;
    }
    return lines;
}

int Length(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

// The x at which a text starts centred in a box of w characters at x.
int Centred(int x, int w, const char* text) {
    return x + (w - Length(text)) * graphics.charW / 2;
}

}  // namespace

int MessageBox(int x, int y, LineAlign align, const char* okText, int okKey, const char* otherText,
               int otherKey, const char* title, const std::vector<const char*>& lines,
               DefaultAnswer answer) {
    int n = 0;
    while (n < static_cast<int>(lines.size()) && n < kMaxMessageLines && lines[n])
        ++n;
    int w = std::max(1, Length(title));
    for (int i = 0; i < n; ++i)
        w = std::max(w, Length(lines[i]));
    w += 2;
    // The buttons' row, and the box wide enough for it so that the buttons
    // lie inside the area saved under the box.
    int w1 = (Length(okText) + 2) * graphics.charW;
    int w2 = otherText ? (Length(otherText) + 2) * graphics.charW : 0;
    bool withButtons = okKey != kNoButtons;
    if (withButtons)
        w = std::max(w, (w1 + w2 + 4 + graphics.charW - 1) / graphics.charW + 2);
    int r = n + 4 + (withButtons ? 3 : 0);
    int width = w * graphics.charW;
    if (x < 0)
        x = (graphics.maxX - width) / 2;
    if (y < 0)
        y = (graphics.maxY - r * graphics.lineH) / 2;
    int x2 = x + width, y2 = y + r * graphics.lineH;

    bool hiddenOnEntry = input.pointerHidden;
    HidePointer();
    SavedArea area;
    if (withButtons)
        SaveArea(x, y, x2, y2, area, WindowSave::Always);
    int menuColor = config.colors[kColorMenu];
    RaisedBox(x, y, x2, y2, menuColor);
    if (okKey <= kAnyKey) {   // information, not a question
        SunkenBox(x + 2, y + 2, x2 - 2, y2 - 2, 15);
        SetColor(1);
    } else {
        SunkenBox(x + 1, y + 1, x2 - 1, y2 - 1, menuColor);
        SetColor(config.colors[kColorMenuHilite]);
    }
    Canvas& screen = Screen();
    if (title)
        screen.outtextxy(Centred(x, w, title), y + graphics.charH, title);
    SetColor(0);
    for (int i = 0; i < n && i < kMaxDrawnLines; ++i) {
        int lx = align == LineAlign::Centred ? Centred(x, w, lines[i]) : x + graphics.charW;
        screen.outtextxy(lx, y + 2 * graphics.charH + 4 + i * graphics.lineH, lines[i]);
    }
    if (!withButtons)
        return 0;

    int bx = x + (width - w1 - w2) / 2;
    int by1 = y + (r - 3) * graphics.lineH, by2 = y + (r - 1) * graphics.lineH;
    std::vector<ButtonDef> buttons = {{okText, okKey, bx, by1, bx + w1, by2}};
    bool question = otherText && okKey > kAnyKey;
    if (otherText)
        buttons.push_back({otherText, otherKey, bx + w1 + 4, by1, bx + w1 + 4 + w2, by2});
    if (question) {
        buttons[0].moreKeys[0] = 'Y';
        buttons[0].moreKeys[1] = HotLetterOf(okText);
        buttons[1].moreKeys[0] = 'N';
        buttons[1].moreKeys[1] = HotLetterOf(otherText);
    }
    int px = 0, py = 0;
    SnapPointer(Snap::ToButton, &px, &py, bx, by1);
    ShowPointer();
    int result;
    {
        ButtonBarScope scope;
        result = ButtonBar(ButtonBarMode::Wait, buttons,
                           question && answer == DefaultAnswer::No ? 1 : 0);
    }
    WaitRelease(nullptr);
    RestoreArea(area);
    SnapPointer(Snap::Back, &px, &py, 0, 0);
    if (hiddenOnEntry)
        HidePointer();
    else
        ShowPointer();
    return result;
}

int ConfirmBox(int x, int y, const char* title, const char* line, const char* prompt,
               const char* buttonText, int key, DefaultAnswer answer) {
    ErrorBeep();
    const char* second = key > kAnyKey ? "No" : nullptr;
    int result = MessageBox(x, y, LineAlign::Centred, buttonText, key, second, kKeyEsc, title,
                            {line, prompt}, answer);
    return result == key ? 1 : 0;
}

int ConfirmYes(int x, int y, const char* title, const char* line, DefaultAnswer answer) {
    return ConfirmBox(x, y, title, line, "Press Y to confirm", "Yes", 'Y', answer);
}

int ConfirmDel(int x, int y, const char* title, const char* line) {
    return ConfirmBox(x, y, title, line, "Press Y or Del to confirm", "Del", kKeyDel,
                      DefaultAnswer::No);
}

int PressAnyKey(int x, int y, const char* title, const char* line) {
    ErrorBeep();
    ConfirmBox(x, y, title, line, "Press any Key", "Ok!", kAnyKey);
    return 1;
}

void NoticeOnGraphicsScreen(const char* title, const std::string& text) {
    std::vector<std::string> lines = NoticeLines(text);
    std::vector<const char*> shown;
    for (const std::string& line : lines)
        shown.push_back(line.c_str());
    bool opened = graphics.graphicsMode == 0;
    if (opened)
        InitGraphics(GraphicsPalette::Basic);
    try {
        MessageBox(kCentred, kCentred, LineAlign::Left, "OK", kAnyKey, nullptr, 0, title, shown);
    } catch (...) {
        if (opened)
            CloseGraphics();
        throw;
    }
    if (opened)
        CloseGraphics();
}
