// Find and replace as the user starts it (the search: edits/find_replace.h):
// the menu and the values asked, each find shown in the verification dialog,
// each replacement told, and the box of what was found and changed. The last
// search can be run again without its questions.
#pragma once

#include "edits/find_replace.h"
#include "checker/check_dialogs.h"

// The last search and its values, kept for the run.
extern SearchState search;

enum class SearchStart {
    Ask,      // the menu and the values
    Repeat,   // the last search again, when there was one
};

// Runs a search: asks for it (menu at (x, y)) unless repeating, shows every
// find through the dialogs (a cancel ends the search at that object),
// replaces, and ends with the box of what was found and changed.
void FindReplace(int x, int y, SearchStart start, CheckDialogs& dialogs);
