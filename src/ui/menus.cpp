#include "ui/menus.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/config.h"
#include "base/fatal.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/list_mouse.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"

namespace {

constexpr int kPageStep = 5;
constexpr int kHighlightBar = 1;      // blue
constexpr int kHighlightText = 15;    // white
constexpr int kHighlightMark = 14;    // yellow hot letters and numbers on the bar
constexpr int kNumberColor = 4;       // red number labels on a plain row
constexpr int kValueColor = 1;        // blue values

struct Menu {
    int x = 0, y = 0, w = 0, h = 0;
    bool numbered = false;
    int count = 0;
    const int* keys = nullptr;
    const char* const* items = nullptr;
    const int16_t* const* values = nullptr;
    const int* hotPos = nullptr;
    int firstRowY = 0;    // text line of the first row
};

enum class RowLook { Plain, Highlighted, Chosen };

int TextLength(const char* text) { return text ? static_cast<int>(std::strlen(text)) : 0; }

int Margin(const Menu& m) {
    bool allEmpty = true;
    for (int i = 0; i < m.count; ++i)
        allEmpty = allEmpty && TextLength(m.items[i]) == 0;
    if (allEmpty)
        return 3 * graphics.charW;
    if (m.keys || !m.numbered)
        return 2 * graphics.charW + 3;
    return 6 * graphics.charW + 5;
}

void Measure(Menu& m, const char* title) {
    int longest = 1;
    for (int i = 0; i < m.count; ++i)
        longest = std::max(longest, TextLength(m.items[i]));
    int itemW = (longest + (m.values ? 4 : 0)) * graphics.charW;
    int titleW = title ? (TextLength(title) + 3) * graphics.charW : 0;
    m.w = std::max(itemW + Margin(m), titleW);
    int header = title ? 3 * graphics.charH + 4 : graphics.lineH + 2;
    m.h = m.count * graphics.lineH + header;
    if (m.x < 0)
        m.x = (graphics.maxX - m.w) / 2;
    if (m.y < 0)
        m.y = (graphics.maxY - m.h) / 2;
    m.x = std::max(0, std::min(m.x, graphics.maxX - m.w - 1));
    m.y = std::max(0, std::min(m.y, graphics.maxY - m.h - 17));
    m.firstRowY = m.y + graphics.charH + (title ? 2 * graphics.charH : 0);
}

int RowY(const Menu& m, int i) { return m.firstRowY + i * graphics.lineH; }

// "1".."9", then "A", "B", ... from the tenth item on.
void NumberLabel(int i, char (&label)[4]) {
    if (i < 9)
        std::snprintf(label, sizeof label, "%hd", static_cast<short>(i + 1));
    else
        std::snprintf(label, sizeof label, "%c", 'A' + (i - 9));
}

void DrawRow(const Menu& m, int i, RowLook look) {
    PointerGuard guard;
    Canvas& screen = Screen();
    int yr = RowY(m, i);
    int tx = m.x + graphics.charW2;
    int menuColor = config.colors[kColorMenu];
    FillBox(m.x + 4, yr - 1, m.x + m.w - 4, yr + graphics.charH,
            look == RowLook::Highlighted ? kHighlightBar : menuColor);
    int textColor = look == RowLook::Highlighted ? kHighlightText : 0;
    // The "MenuHilite" colour is chosen to stand out on the menu colour; on
    // the blue bar the marks are yellow.
    int hotColor = look == RowLook::Highlighted ? kHighlightMark : config.colors[kColorMenuHilite];
    int numberColor = look == RowLook::Highlighted ? kHighlightMark : kNumberColor;
    if (look == RowLook::Chosen)
        textColor = numberColor = menuColor == 8 ? 7 : 8;
    const char* text = m.items[i] ? m.items[i] : "";
    if (m.keys) {
        int hot = m.hotPos ? m.hotPos[i] : 1;
        SetColor(hot > 0 ? textColor : 8);
        screen.outtextxy(tx, yr, text);
        if (hot > 0 && hot <= TextLength(text)) {
            char letter[2] = {text[hot - 1], 0};
            SetColor(hotColor);
            screen.outtextxy(tx + (hot - 1) * graphics.charW, yr, letter);
        }
    } else if (m.numbered) {
        int textX = m.values ? m.x + 7 * graphics.charW + 2 : m.x + 3 * graphics.charW + 2;
        SetColor(textColor);
        if (text[0])
            TextAt(textX, yr, "- %s", text);
        char label[4];
        NumberLabel(i, label);
        SetColor(numberColor);
        screen.outtextxy(tx, yr, label);
        if (m.values && m.values[i]) {
            SetColor(kValueColor);
            TextAt(tx + 2 * graphics.charW, yr, "%3hd", *m.values[i]);
        }
    } else {
        SetColor(textColor);
        screen.outtextxy(tx, yr, text);
    }
    SetColor(0);
}

void DrawMenu(const Menu& m, const char* title, int current) {
    int menuColor = config.colors[kColorMenu];
    RaisedBox(m.x - 1, m.y - 1, m.x + m.w + 1, m.y + m.h + 1, menuColor);
    SunkenBox(m.x, m.y, m.x + m.w, m.y + m.h, menuColor);
    if (title)
        LabelBox(m.x + 4, m.y + graphics.charH, "%s", title);
    for (int i = 0; i < m.count; ++i)
        DrawRow(m, i, i == current ? RowLook::Highlighted : RowLook::Plain);
}

// The item a key chooses directly, or -1.
int ItemOfKey(const Menu& m, int key) {
    if (m.keys) {
        for (int i = 0; i < m.count; ++i)
            if (m.keys[i] == key)
                return i;
        return -1;
    }
    int item = -1;
    if (key >= '1' && key <= '9')
        item = key - '1';
    else if (key >= 'A' && key <= 'Z')
        item = 9 + key - 'A';
    return item < m.count ? item : -1;
}

// Where the highlight goes for a moving key, or -1 for another key.
int MovedHighlight(const Menu& m, int key, int current) {
    switch (key) {
    case kKeyUp: return current > 0 ? current - 1 : m.count - 1;
    case kKeyDown: return current < m.count - 1 ? current + 1 : 0;
    case kKeyHome: return 0;
    case kKeyEnd: return m.count - 1;
    case kKeyPgUp: return std::max(0, current - kPageStep);
    case kKeyPgDn: return std::min(m.count - 1, current + kPageStep);
    default: return -1;
    }
}

// What a key decides: an item (0-based, via chosen), a negative result, or
// nothing (returns false).
bool KeyDecides(const Menu& m, int key, int& current, int& result) {
    switch (key) {
    case kKeyEnter: result = current + 1; return true;
    case kKeyEsc: result = kMenuCancel; return true;
    case kKeyLeft:
    case kKeyShiftTab: result = kMenuPrevious; return true;
    case kKeyRight:
    case kKeyTab: result = kMenuNext; return true;
    default: break;
    }
    if (!m.keys && key == '0') {
        result = kMenuCancel;
        return true;
    }
    int item = ItemOfKey(m, key);
    if (item < 0)
        return false;
    current = item;
    result = item + 1;
    return true;
}

ListMouseArea MouseArea(const Menu& m) {
    ListMouseArea area;
    area.x1 = m.x + 4;
    area.x2 = m.x + m.w - 4;
    area.y1 = m.firstRowY - 1;
    area.y2 = m.firstRowY - 1 + m.count * graphics.lineH - 1;
    area.wx1 = m.x - 1;
    area.wy1 = m.y - 1;
    area.wx2 = m.x + m.w + 1;
    area.wy2 = m.y + m.h + 1;
    return area;
}

// Reads the mouse and keys until the user decides; returns the result.
int RunMenu(const Menu& m, int& current, const char* helpTopic, const MenuHook& hook) {
    ListMouseArea area = MouseArea(m);
    int position = 0;
    for (;;) {
        int clicked = ListMouse(area, position);
        if (clicked >= 0 && clicked < m.count) {
            current = clicked;
            return clicked + 1;
        }
        if (clicked == kListCancel || clicked == kListMenuBar)
            return clicked == kListCancel ? kMenuCancel : kMenuBarClick;
        int key = 0;
        if (!ReadKey(&key)) {
            WaitForInput();
            continue;
        }
        if (key == kKeyF1) {
            ShowHelpTopic(helpTopic);
            continue;
        }
        int moved = MovedHighlight(m, key, current);
        int result = 0;
        int chosen = current;
        if (moved < 0 && !KeyDecides(m, key, chosen, result))
            continue;
        int next = moved >= 0 ? moved : chosen;
        if (next != current) {
            DrawRow(m, current, RowLook::Plain);
            DrawRow(m, next, RowLook::Highlighted);
            current = next;
            if (hook)
                hook(m.x, m.y, MenuHookPhase::Moved, current);
        }
        if (moved < 0)
            return result;
    }
}

}  // namespace

int DisplayMenu(int x, int y, MenuStyle style, int current, const char* helpTopic, WindowSave save,
                const char* title, int count, const char* const* items, const MenuExtras& extras) {
    Menu m;
    m.x = x;
    m.y = y;
    m.numbered = style == MenuStyle::Numbered;
    m.count = std::clamp(count, 0, kMaxMenuItems);
    m.keys = extras.keys;
    m.items = items;
    m.values = extras.values;
    m.hotPos = extras.hotPos;
    if (m.count == 0)
        return kMenuCancel;
    Measure(m, title);
    int highlight = std::clamp(current, 1, m.count) - 1;
    PointerRestore pointer;
    HidePointer();
    SavedArea area;
    SaveArea(m.x - 1, m.y - 1, m.x + m.w + 1, m.y + m.h + 1, area, save);
    DrawMenu(m, title, highlight);
    int px = 0, py = 0;
    SnapPointer(Snap::ToButton, &px, &py, m.x, RowY(m, highlight));
    ShowPointer();
    if (extras.hook)
        extras.hook(m.x, m.y, MenuHookPhase::Drawn, highlight);
    ResetListMouse();
    int result = RunMenu(m, highlight, helpTopic, extras.hook);
    if (result > 0)
        DrawRow(m, result - 1, RowLook::Chosen);
    RestoreArea(area);
    SnapPointer(Snap::Back, &px, &py, 0, 0);
    return result;
}

int SimpleMenu(int x, int y, MenuStyle style, int current, const char* helpTopic, WindowSave save,
               const char* title, const std::vector<const char*>& items) {
    return HookMenu(x, y, style, current, nullptr, helpTopic, save, title, items);
}

int HookMenu(int x, int y, MenuStyle style, int current, const MenuHook& hook, const char* helpTopic,
             WindowSave save, const char* title, const std::vector<const char*>& items) {
    int count = 0;
    while (count < static_cast<int>(items.size()) && count < kMaxMenuItems && items[count])
        ++count;
    MenuExtras extras;
    extras.hook = hook;
    return DisplayMenu(x, y, style, current, helpTopic, save, title, count, items.data(), extras);
}

int PullDownMenu(int x, int y, int current, const char* helpTopic, const char* title,
                 const std::vector<PullDownItem>& items) {
    std::vector<const char*> texts;
    std::vector<int> keys, hotPos;
    for (const PullDownItem& item : items) {
        if (!item.text || texts.size() == kMaxMenuItems)
            break;
        if (item.result == 0 || item.key == 0 || item.hotPos == 0)
            FatalError("PullDownMenu invalid args");
        texts.push_back(item.text);
        keys.push_back(item.key);
        hotPos.push_back(item.hotPos);
    }
    MenuExtras extras;
    extras.keys = keys.data();
    extras.hotPos = hotPos.data();
    int chosen = DisplayMenu(x, y, MenuStyle::Plain, current, helpTopic, WindowSave::UnlessNested,
                             title, static_cast<int>(texts.size()), texts.data(), extras);
    return chosen > 0 ? items[chosen - 1].result : chosen;
}
