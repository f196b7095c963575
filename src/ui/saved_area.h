// Saving and restoring the screen under a window. Windows opened while another
// saved window is on the screen save nothing unless forced, so that they stay
// visible while their parent waits and vanish when the parent restores.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/canvas.h"

// Owned by the routine that opens the window; a fresh one holds nothing.
struct SavedArea {
    int x1 = 0, y1 = 0;                        // where the rectangle starts, viewport pixels
    bool pointerHidden = false;                // at the time of saving
    Viewport viewport;                         // in which the rectangle lies
    std::unique_ptr<Image> image;              // null when nothing is saved
};

// Whether a window opened while another saved window is on the screen saves
// what it covers.
enum class WindowSave {
    UnlessNested,   // no: it stays until the outer window is restored
    Always,
};

// Saves the rectangle unless area already holds an image, or another area is
// saved and save is UnlessNested. The pointer is left as it was.
void SaveArea(int x1, int y1, int x2, int y2, SavedArea& area, WindowSave save);
// Puts a saved rectangle back and frees it; an area holding nothing is left alone.
void RestoreArea(SavedArea& area);
