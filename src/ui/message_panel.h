// The small panels that tell the user something without waiting, and the
// title in the menu bar.
#pragma once

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
