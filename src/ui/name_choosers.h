// Choosing a texture or a flat by name, with a preview of the picture under
// the cursor, and the progress box while the picture names are built.
#pragma once

#include <cstdint>

#include "pictures/namelists.h"

// A picture browser opened from a chooser on name: 1 with the chosen name in
// name (at least 9 bytes), 0 when cancelled.
using NameBrowser = int (*)(char* name);

// What the choosers keep for the whole run.
struct ChooserState {
    // The picture magnification of each chooser, in force while it is open.
    int16_t textureMag = 1, flatMag = 2, spriteMag = 1, pictureMag = 2;
    // The browsers F1 opens; F1 does nothing while they are unset.
    NameBrowser textureBrowser = nullptr;
    NameBrowser flatBrowser = nullptr;
};

extern ChooserState choosers;

// Choosers of one name out of a list, with a preview of the texture or flat
// under the cursor and F1 for the browser: 1 with the name in text (at least 9
// bytes), 0 when cancelled. (x, y) negative centres the window.
int ChooseTexture(int x, int y, int force, const char* prompt, int count,
                  const char* const* names, char* text);
int ChooseFlat(int x, int y, int force, const char* prompt, int count, const char* const* names,
               char* text);

// The "Loading %4hd names" panel and a box with each name kept, while
// BuildPictureNames runs on the graphics screen; nothing in text mode.
class PictureNamesProgress final : public NameListProgress {
public:
    void Start(int total) override;
    void Step(const char* name, int found) override;

private:
    bool shown_ = false;
    int x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
};
