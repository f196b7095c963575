// The editor's menu bar (the titles of its menus, its push buttons, the
// pointer field and "Help"), its pull-down menus, and the status line at the
// bottom of the screen.
#pragma once

#include <cstdint>
#include <string>

#include "platform/keys.h"
#include "ui/graphics.h"

// The menus of the bar, in the order Left and Right step through them.
enum BarMenu {
    kMenuFile, kMenuEdit, kMenuSearch, kMenuModes, kMenuMisc, kMenuObject, kMenuCheck,
    kMenuHelp, kBarMenuCount
};

// Key codes that no key produces: the File menu's print entry and the Help
// menu's quick start.
constexpr int kKeyPrint = 0xEE00;
constexpr int kKeyQuickStart = 0xFD00;
// Ctrl-A, Ctrl-E, Ctrl-F: select all, invert the selection, zoom to it.
constexpr int kKeySelectAll = 0x01;
constexpr int kKeyInvertSelection = 0x05;
constexpr int kKeyZoomToSelection = 0x06;

// Function keys F1..F10 alone and with Shift, Ctrl or Alt.
constexpr int FKey(int n) { return kKeyF1 + (n - 1) * 0x100; }
constexpr int ShiftFKey(int n) { return kKeyShiftF1 + (n - 1) * 0x100; }
constexpr int CtrlFKey(int n) { return kKeyCtrlF1 + (n - 1) * 0x100; }
constexpr int AltFKey(int n) { return kKeyAltF1 + (n - 1) * 0x100; }

constexpr int kStatusFieldCount = 5;

// What the bar and the status line show now.
struct MenuBarState {
    int pressedButton = -1;                    // drawn pressed until the next full bar
    std::string statusShown[kStatusFieldCount];
    int statusBackground[kStatusFieldCount] = {-1, -1, -1, -1, -1};
    bool messageShown = false;                 // a message covers the status line
    int64_t freeMemory = 0;                    // sampled at most once a second
    int64_t freeSampledAt = 0;
    bool freeSampled = false;
};

extern MenuBarState menuBar;

// Draws the whole bar, the push buttons raised or pressed as their switches
// are, and the pointer field.
void DrawMenuBar();
// Draws the push button of a key ('+', '-', 'C', 'G') pressed until the next
// DrawMenuBar.
void PressMenuBarButton(int key);
// The key a click at screen column x of the bar gives (Alt-F ... for the
// titles, the keys of the buttons, '/' up to "Help", Alt-H on it).
int MenuBarKey(int x);
// The menu an Alt key opens, or -1.
int MenuOfAltKey(int key);
// The pixel column where a menu's title starts.
int MenuTitleX(int menu);

// Opens the menu and, while it is closed with Left or Right (or by a click
// on another title), its neighbours. Returns the key the chosen entry gives
// (0 when none).
int RunMenuBar(int menu);
// The short Modes menu at the pointer: the key of the mode chosen, or 0.
int ShortModesMenu(int x, int y);

// The pointer field of the bar.
void ShowPointerField(Refresh refresh);

// The status line: mode, level, change marks, file, auto-close delay, scale,
// grid and free memory.
void DrawStatusLine(Refresh refresh);
// A message across the status line (until the next DrawStatusLine with force).
void ShowStatusMessage(const std::string& text);

// The name of an EditMode as the status line shows it.
const char* EditModeName(int mode);
