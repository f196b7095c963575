// Choosing one name out of a long sorted list by typing its beginning:
// textures, flats, sprites, level names.
#pragma once

#include <functional>

// Draws the preview of a name into (x1, y1)-(x2, y2).
using PreviewHook = std::function<void(int x1, int y1, int x2, int y2, const char* name)>;
// Another way to choose (a browser): stores a name in text and returns 1, or 0.
using AltChooser = std::function<int(int x1, int y1, int x2, int y2, char* text)>;

// Chooses one of count names (sorted ascending, compared over width
// characters) in a window at (x, y) (negative: centred) showing rows names.
// text (at least width + 1 bytes) holds the name typed or proposed, and
// receives the choice. picW > 0 adds a preview area of picW x picH drawn by
// hook; sizeable lets + and - change toolkit.magnify; altChooser is offered
// on F1. Returns 1 with the chosen name in text, 0 when cancelled (text empty).
int ListSelect(int x, int y, int force, int sizeable, const char* title, int count,
               const char* const* names, int rows, char* text, int width, int picW, int picH,
               const PreviewHook& hook, const AltChooser& altChooser);
