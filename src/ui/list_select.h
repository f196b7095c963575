// Choosing one name out of a long sorted list by typing its beginning:
// textures, flats, sprites, level names.
#pragma once

#include <functional>

#include "ui/saved_area.h"
#include "ui/toolkit.h"

// Draws the preview of a name into (x1, y1)-(x2, y2).
using PreviewHook = std::function<void(int x1, int y1, int x2, int y2, const char* name)>;
// Another way to choose (a browser): stores a name in text and returns 1, or 0.
using AltChooser = std::function<int(int x1, int y1, int x2, int y2, char* text)>;

// What a chooser offers besides its list.
struct ListSelectOptions {
    WindowSave save = WindowSave::UnlessNested;
    bool sizeable = false;          // + and - change toolkit.magnify
    int picW = 0, picH = 0;         // picW > 0: a preview area drawn by preview
    PreviewHook preview;
    AltChooser altChooser;          // offered on F1
};

// Chooses one of count names (sorted ascending, compared over width
// characters) in a window at (x, y) (kCentred: centred) showing rows names.
// text (at least width + 1 bytes) holds the name typed or proposed, and
// receives the choice; the first character typed replaces a proposed name
// (as in every input field), a name taken from the list is kept for
// editing. Returns 1 with the chosen name in text, 0 when cancelled (text
// empty).
int ListSelect(int x, int y, const char* title, int count, const char* const* names, int rows,
               char* text, int width, const ListSelectOptions& options = {});
