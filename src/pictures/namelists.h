// Sorted lists of the names that exist in the loaded WAD files: wall
// textures, flats, sprites and pictures, and the order of level names.
//
// Names are compared and copied over at most 8 characters; each list keeps
// its own zero-terminated copies, so a name of 8 characters keeps its last one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kNameLength = 8;

class NameList {
public:
    int count() const { return static_cast<int>(names_.size()); }
    // The names, sorted; valid until the list is rebuilt or freed.
    const char* const* names() const { return names_.data(); }
    const char* operator[](int i) const { return names_[static_cast<size_t>(i)]; }
    // Index of the name (compared over 8 characters, ignoring case), or -1.
    int Find(const char* name) const;

    // Adds a copy of the first 8 characters of name. The names added show in
    // the list (count, names, Find) once Sort has been called.
    void Add(const char* name);
    void Sort();
    void Clear();

private:
    std::vector<std::array<char, kNameLength + 1>> slots_;
    std::vector<const char*> names_;
};

// A picture browser opened from a chooser on name: 1 with the chosen name in
// name (at least 9 bytes), 0 when cancelled.
using NameBrowser = int (*)(char* name);

// The lists the editor keeps while it runs on a level, and what the choosers
// keep for the whole run.
struct NameListState {
    NameList TextureNames;   // "-" first, then TEXTURE1 and TEXTURE2
    NameList FlatNames;      // between the F1, F2 and F3 markers
    // The picture magnification of each chooser, in force while it is open.
    int16_t textureMag = 1, flatMag = 2, spriteMag = 1, pictureMag = 2;
    // The browsers F1 opens; F1 does nothing while they are unset.
    NameBrowser textureBrowser = nullptr;
    NameBrowser flatBrowser = nullptr;
};

extern NameListState nameLists;

// Byte order of the first 8 characters (also the order of level names).
int CompareNames(const char* a, const char* b);

// TEXTURE1 (required) and TEXTURE2 (optional); a missing TEXTURE1 ends the
// program with the lookup's message.
void BuildTextureNames();
// F1_START..F1_END (required), then the F2 and F3 pairs when their START
// marker exists (its END is then required).
void BuildFlatNames();
void FreeNameLists();

// The entries between S_START and S_END (both required).
void BuildSpriteNames(NameList& list);
// The entries from TEXTURE1 on that look like pictures (1..320 wide, 1..200
// high), with a progress display while the graphics screen is up.
void BuildPictureNames(NameList& list);

// The names of the level list, sorted.
std::vector<const char*> SortedLevelNames();

// Choosers of one name out of a list, with a preview of the texture or flat
// under the cursor and F1 for the browser: 1 with the name in text (at least 9
// bytes), 0 when cancelled. (x, y) negative centres the window.
int ChooseTexture(int x, int y, int force, const char* prompt, int count,
                  const char* const* names, char* text);
int ChooseFlat(int x, int y, int force, const char* prompt, int count, const char* const* names,
               char* text);
