// Sorted lists of the names that exist in the loaded WAD files: wall
// textures, flats, sprites and pictures, and the order of level names.
//
// Names are compared and copied over at most 8 characters; each list keeps
// its own zero-terminated copies, so a name of 8 characters keeps its last one.
#pragma once

#include <array>
#include <cstddef>
#include <string>
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

// The lists the editor keeps while it runs on a level.
struct NameListState {
    NameList TextureNames;   // "-" first, then TEXTURE1 and TEXTURE2
    NameList FlatNames;      // between the F1, F2 and F3 markers
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

// Told how BuildPictureNames gets on: first the number of entries it looks
// at, then each name it keeps with the number kept so far.
class NameListProgress {
public:
    virtual ~NameListProgress() = default;
    virtual void Start(int total) = 0;
    virtual void Step(const char* name, int found) = 0;
};

// The entries from TEXTURE1 on that look like pictures (1..320 wide, 1..200
// high); progress, when given, is told of each.
void BuildPictureNames(NameList& list, NameListProgress* progress = nullptr);

// The names of the level list, sorted.
std::vector<const char*> SortedLevelNames();

// A default texture or flat of the settings that the WAD files lack: new
// walls or floors with it would show nothing the game can draw.
struct MissingDefault {
    std::string what;   // "floor flat"
    std::string name;   // the settings' name
    std::string used;   // the flavour's own, used for this run; "" when the files lack it too
};
// Looks up the settings' default textures and flats in the WAD files read;
// each one missing is replaced for this run by the flavour's own when the
// files have that. Looks up nothing where the files hold no texture list
// (TEXTURE1) or no flats.
std::vector<MissingDefault> UseDefaultsTheWadsHave();

