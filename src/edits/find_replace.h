// Finding and replacing in the level: LineDefs by type or tag, Sectors by
// tag, Things by type, flats and wall textures by name (without regard to
// case); Thing types, flats and wall textures replaced throughout. The
// search goes through the level in its order and hands each match to the
// caller, which shows it and may stop there.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <functional>
#include <string>

#include "level/level.h"

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

// A texture or flat name of a search, with room for its end.
constexpr int kSearchNameSize = 9;

// A search and its values.
struct SearchState {
    int kind = kSearchNone;
    int lineDefType = 0;
    int lineDefTag = 0;
    int sectorTag = 0;
    int thing = 0, thingReplacement = 0;
    char flat[kSearchNameSize] = "-", flatReplacement[kSearchNameSize] = "-";
    char wall[kSearchNameSize] = "-", wallReplacement[kSearchNameSize] = "-";
};

namespace edits {

// One match: what the user is told ("Found Tag 3, LineDef 12"), and the
// object (its type and number).
struct SearchMatch {
    std::string message;
    int type;
    int n;
};

// What a search found, and how many of those it changed.
struct SearchTally {
    int found = 0, changed = 0;
};

// Whether a search replaces what it finds.
bool Replaces(int kind);

// Runs the search: every match in the level's order goes to `shown` (after
// its replacement, when the search replaces), and the search stops at a
// match for which it returns false. Replacements make one step ("replace
// Things", "replace textures") and raise the level's change flag.
SearchTally RunSearch(LevelState& level, const SearchState& search,
                      const std::function<bool(const SearchMatch&)>& shown);

}  // namespace edits
