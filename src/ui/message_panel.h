// The small panels that tell the user something without waiting, and the
// title in the menu bar.
#pragma once

#include <cstdint>
#include <string>

// Formatted text (at most 160 characters) in a panel at (x, y) (negative:
// centred) that stays on the screen; on the console at column 1, row 24 while
// the graphics screen is down.
void MessagePanel(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// The same panel in the menu colour, shown and removed at once as the
// outermost window; inside another saved window it stays until that window
// is restored.
void FlashMessage(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));
// The text in the menu bar band; the menu-bar viewport is in force afterwards.
void TitleBar(const char* text);

// A notice: the flash message's panel, centred, that tells the user something
// while the program goes on, until its time is up or the user acts. Whoever
// takes it down redraws what it covers.
struct NoticeState {
    std::string pending;    // shown by the next DrawNotice
    int durationMs = 0;
    bool shown = false;
    int64_t shownAt = 0;
};

extern NoticeState notice;

// Asks for a notice of the text, to stay ms milliseconds once shown.
void PostNotice(const std::string& text, int ms);
// Shows the pending notice (after the screen was drawn).
void DrawNotice();
// True when a notice is on the screen and its time is up.
bool NoticeTimeUp();
// Forgets the notice, shown or pending.
void ForgetNotice();
