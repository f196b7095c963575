// Choosing wall textures and flats: by name from a list with a preview
// (ChooseTexture, ChooseFlat), or by looking at a page of small pictures at a
// time (BrowseTextures, BrowseFlats), which F1 in the name choosers opens.
//
// Names are those of nameLists (pictures/namelists.h), built when the editor
// starts on a level. Every routine is modal: it saves what it covers and
// restores it before it returns.
#pragma once

#include "ui/saved_area.h"

// A chosen name: 8 characters and a terminating zero.
constexpr int kChosenNameSize = 9;

// What the browsers and choosers keep for the whole run.
struct BrowserState {
    int textureStep = 0;   // texture browser: 0 half size (64 x 64 cells), 1 full size
    int flatStep = 1;      // flat browser: the flat magnification, 1 or 2
};

extern BrowserState browsers;

// The texture browser: a full-screen page of textures from
// nameLists.TextureNames beginning at the name equal to start (8 characters,
// ignoring case; the first name when none is). Returns 1 with the chosen name
// in chosen, 0 when the user left without a choice (chosen untouched).
// Keys: the cursor keys, PgUp/PgDn, Home/End move; + and - change the size;
// Enter or a left click on a cell chooses; Esc or a right click leaves; any
// other character jumps to the first name beginning with it (or the last one
// beginning with a lower character).
int BrowseTextures(const char* start, char (&chosen)[kChosenNameSize]);
// The same for nameLists.FlatNames and flats; + and - set the magnification
// 2 and 1.
int BrowseFlats(const char* start, char (&chosen)[kChosenNameSize]);

// Chooses a texture of the count names (sorted) in a list chooser at (x, y)
// (kCentred: centred) titled prompt + "   F1=Browse", with a 256 x 128
// preview; F1 opens the texture browser on the current name. text (at least
// kChosenNameSize bytes) holds the proposed name and receives the choice.
// Returns 1 when a name was chosen, 0 when cancelled (text empty).
int ChooseTexture(int x, int y, WindowSave save, const char* prompt, int count,
                  const char* const* names, char* text);
// The same for flats: a 128 x 128 preview, F1 opens the flat browser.
int ChooseFlat(int x, int y, WindowSave save, const char* prompt, int count,
               const char* const* names, char* text);
// The two choosers over every texture or flat of nameLists.
int ChooseTextureName(int x, int y, WindowSave save, const char* prompt, char* text);
int ChooseFlatName(int x, int y, WindowSave save, const char* prompt, char* text);
