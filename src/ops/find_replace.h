// Find and replace: LineDefs by type or tag, Sectors by tag, Things by type,
// flats and wall textures by name, each find shown in the verification
// dialog; Thing types, flats and wall textures replaced throughout the level.
// The last search can be run again without its questions.
#pragma once

#include "ops/check_dialogs.h"
#include "pictures/namelists.h"

// The kinds of search, as the menu numbers them; none before the first.
enum SearchKind {
    kSearchNone = 0,
    kFindLineDefType,
    kFindLineDefTag,
    kFindSectorTag,
    kFindThing,
    kFindFlat,
    kFindWallTexture,
    kReplaceThing,
    kReplaceFlat,
    kReplaceWallTexture,
};

// The last search and its values, kept for the run.
struct SearchState {
    int kind = kSearchNone;
    int lineDefType = 0;
    int lineDefTag = 0;
    int sectorTag = 0;
    int thing = 0, thingReplacement = 0;
    char flat[kNameLength + 1] = "-", flatReplacement[kNameLength + 1] = "-";
    char wall[kNameLength + 1] = "-", wallReplacement[kNameLength + 1] = "-";
};

extern SearchState search;

enum class SearchStart {
    Ask,      // the menu and the values
    Repeat,   // the last search again, when there was one
};

// Runs a search: asks for it (menu at (x, y)) unless repeating, shows every
// find through the dialogs (a cancel ends the search at that object),
// replaces, and ends with the box of what was found and changed.
void FindReplace(int x, int y, SearchStart start, CheckDialogs& dialogs);
