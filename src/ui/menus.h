// Menus: the pull-down menus of the menu bar, and the simple and hooked
// menus of the choosers and settings dialogs. Each is modal: it saves the
// screen under itself, waits for a choice and restores the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "ui/saved_area.h"
#include "ui/toolkit.h"

constexpr int kMaxMenuItems = 32;

// Results besides a 1-based item number.
constexpr int kMenuCancel = -1;     // Esc, "0" in numbered menus, right button, click outside
constexpr int kMenuNext = -2;       // Right or Tab: the menu bar opens the next menu
constexpr int kMenuPrevious = -3;   // Left or Shift+Tab: the previous menu
constexpr int kMenuBarClick = -4;   // a click on the menu bar band

enum class MenuStyle {
    Plain,
    Numbered,   // items labelled 1..9, then A, B, ...; those keys choose them, 0 cancels
};

enum class MenuHookPhase {
    Drawn,   // the menu has just been drawn
    Moved,   // the highlight moved to the item
};
// Draws a preview beside the menu at (x, y) for item index (0-based).
using MenuHook = std::function<void(int x, int y, MenuHookPhase phase, int index)>;

// What a menu may show besides its texts; every part is optional.
struct MenuExtras {
    // The key that chooses each item directly; hotPos then gives the 1-based
    // position of its hot letter (0 or less greys the item).
    const int* keys = nullptr;
    const int* hotPos = nullptr;
    // A number shown beside each item of a numbered menu (a setting of the
    // configuration record).
    const int16_t* const* values = nullptr;
    MenuHook hook;
};

// The menu of count items at (x, y) (kCentred: centred). current is the
// 1-based item highlighted first; helpTopic the help shown on F1; title may
// be null. Returns the item (1..count) or a kMenu... result.
int DisplayMenu(int x, int y, MenuStyle style, int current, const char* helpTopic, WindowSave save,
                const char* title, int count, const char* const* items,
                const MenuExtras& extras = {});

// DisplayMenu with these texts (a null text ends them; at most 32).
int SimpleMenu(int x, int y, MenuStyle style, int current, const char* helpTopic, WindowSave save,
               const char* title, const std::vector<const char*>& items);

// SimpleMenu with a hook that draws a preview of the highlighted item.
int HookMenu(int x, int y, MenuStyle style, int current, const MenuHook& hook, const char* helpTopic,
             WindowSave save, const char* title, const std::vector<const char*>& items);

struct PullDownItem {
    const char* text;   // null ends the list
    int result;     // returned when chosen
    int key;        // chooses it directly
    int hotPos;     // 1-based position of the hot letter
};

// A menu of the menu bar (at most 32 items, saved unless nested). A zero
// result, key or hot position ends the program ("PullDownMenu invalid
// args"). Returns the chosen item's result or the negative result.
int PullDownMenu(int x, int y, int current, const char* helpTopic, const char* title,
                 const std::vector<PullDownItem>& items);
