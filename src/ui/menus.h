// Menus: the pull-down menus of the menu bar, and the simple and hooked
// menus of the choosers and settings dialogs. Each is modal: it saves the
// screen under itself, waits for a choice and restores the screen.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

constexpr int kMaxMenuItems = 32;

// Results besides a 1-based item number.
constexpr int kMenuCancel = -1;     // Esc, "0" in numbered menus, right button, click outside
constexpr int kMenuNext = -2;       // Right or Tab: the menu bar opens the next menu
constexpr int kMenuPrevious = -3;   // Left or Shift+Tab: the previous menu
constexpr int kMenuBarClick = -4;   // a click on the menu bar band

// Called as hook(x, y, 0, index) once the menu is drawn and hook(x, y, 1,
// index) whenever the highlight moves to item index (0-based), to draw a
// preview beside the menu at (x, y).
using MenuHook = std::function<void(int x, int y, int phase, int index)>;

// The menu at (x, y) (negative: centred). current is the 1-based item
// highlighted first; helpTopic the help shown on F1; force is handed to
// SaveArea; title may be null. keys, values, hotPos and hook are optional
// (null). keys: the key that chooses each item (hotPos then gives the 1-based
// position of its hot letter; 0 or less greys the item). values: a number
// shown beside each item of a numbered menu. Returns the item (1..count) or a
// kMenu... result.
int DisplayMenu(int x, int y, int numbered, int current, const char* helpTopic, int force,
                const char* title, int count, const int16_t* keys, const char* const* items,
                const int16_t* const* values, const int16_t* hotPos, const MenuHook& hook);

// DisplayMenu with these texts (a null text ends them; at most 32).
int SimpleMenu(int x, int y, int numbered, int current, const char* helpTopic, int force,
               const char* title, const std::vector<const char*>& items);

struct PullDownItem {
    const char* text;   // null ends the list
    int16_t result;     // returned when chosen
    int16_t key;        // chooses it directly
    int16_t hotPos;     // 1-based position of the hot letter
};

// A menu of the menu bar (at most 32 items, never forced over another saved
// window). A zero result, key or hot position ends the program ("PullDownMenu
// invalid args"). Returns the chosen item's result or the negative result.
int PullDownMenu(int x, int y, int numbered, int current, const char* helpTopic,
                 const char* title, const std::vector<PullDownItem>& items);
