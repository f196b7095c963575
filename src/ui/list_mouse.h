// Mouse handling of lists: clicks on rows, outside the window, and on a
// vertical scroll bar 11 pixels wide with arrow buttons at its ends.
#pragma once

#include "ui/toolkit.h"

constexpr int kScrollBarWidth = 11;

// Results of ListMouse besides a row number (0, 1, ...).
constexpr int kListNothing = -2;   // no press
constexpr int kListCancel = -1;    // right button, or a press outside the window
constexpr int kListScrolled = -3;  // only the scroll position changed
constexpr int kListMenuBar = -4;   // a press outside, on the menu bar band

struct ListMouseArea {
    // The rows, lineH pixels apart from y1; x2 < x1: no rows.
    int x1 = 0, y1 = 0, x2 = -1, y2 = -1;
    // The window: presses inside it that hit neither rows nor bar are
    // ignored. x2 < x1: the rows and the bar are the window.
    int wx1 = 0, wy1 = 0, wx2 = -1, wy2 = -1;
    // The scroll bar's left edge (barX < 0: no bar) and its height; it
    // scrolls a position over 0..length-1, page positions per click in the bar.
    int barX = -1, barY1 = 0, barY2 = 0;
    int length = 0;
    int page = 1;
};

// Forgets the previous presses; a button held now counts only once released.
void ResetListMouse();
// One look at the mouse. With sample null the mouse is read; otherwise the
// sample a ButtonBar pass just took is used. A left press on a row gives the
// row; a press on the bar changes position (the thumb is redrawn) and gives
// kListScrolled; held arrow buttons repeat.
int ListMouse(const ListMouseArea& area, int& position, const PointerSample* sample = nullptr);
// Draws the scroll bar with its thumb at position.
void DrawScrollBar(const ListMouseArea& area, int position);
