#include "edits/find_replace.h"

#include <cstring>
#include <string>

#include "base/format.h"
#include "level/history.h"
#include "level/level.h"
#include "wad/wadfile.h"

namespace edits {
namespace {

// The name in a field of 8 characters (no terminating zero when all are
// used).
std::string NameIn(const char* field) { return std::string(field, strnlen(field, kSearchNameSize - 1)); }

// Hands every match on and counts it (and, when replacing, what changed).
class Matches {
public:
    Matches(const SearchState& search, const std::function<bool(const SearchMatch&)>& shown)
        : search(search), shown_(shown), replacing_(Replaces(search.kind)) {}

    bool Found(const std::string& message, int kind, int n) {
        ++tally.found;
        tally.changed += replacing_;
        return shown_({message, kind, n});
    }

    const SearchState& search;
    SearchTally tally;

private:
    const std::function<bool(const SearchMatch&)>& shown_;
    bool replacing_;
};

void FindLineDefs(const LevelState& level, Matches& matches, int kind) {
    for (int i = 0; i < level.lineDefs.count; ++i) {
        const LineDef& ld = level.lineDefs[i];
        bool byType = kind == kFindLineDefType;
        int value = byType ? ld.type : ld.tag;
        int wanted = byType ? matches.search.lineDefType : matches.search.lineDefTag;
        if (value == wanted &&
            !matches.Found(Format(byType ? "Found Type %d, LineDef %d" : "Found Tag %d, LineDef %d", value, i),
                           kObjLineDef, i))
            return;
    }
}

void FindSectors(const LevelState& level, Matches& matches) {
    for (int s = 0; s < level.sectors.count; ++s)
        if (level.sectors[s].tag == matches.search.sectorTag &&
            !matches.Found(Format("Found Tag %d, Sector %d", matches.search.sectorTag, s), kObjSector, s))
            return;
}

void FindThings(LevelState& level, Matches& matches, bool replace) {
    for (int i = 0; i < level.things.count; ++i) {
        Thing& t = level.things[i];
        if (t.type != matches.search.thing)
            continue;
        if (replace)
            t.type = static_cast<int16_t>(matches.search.thingReplacement);
        if (!matches.Found(Format("Found Thing %d, Thing Number %d", matches.search.thing, i), kObjThing, i))
            return;
    }
}

// A name field that matches: replaced when replacement is given; false when
// the user cancelled at it.
bool MatchName(Matches& matches, char* field, const char* name, const char* replacement, const char* where,
               int kind, int n) {
    if (!SameEntryName(field, name))
        return true;
    std::string message = Format("%s = %s %d", NameIn(field).c_str(), where, n);
    if (replacement)
        std::strncpy(field, replacement, kSearchNameSize - 1);
    return matches.Found(message, kind, n);
}

void FindFlats(LevelState& level, Matches& matches, const char* replacement) {
    for (int s = 0; s < level.sectors.count; ++s) {
        Sector& sector = level.sectors[s];
        if (!MatchName(matches, sector.ceilingTexture, matches.search.flat, replacement, "Ceiling texture in Sector",
                       kObjSector, s) ||
            !MatchName(matches, sector.floorTexture, matches.search.flat, replacement, "Floor texture in Sector",
                       kObjSector, s))
            return;
    }
}

void FindWallTextures(LevelState& level, Matches& matches, const char* replacement) {
    for (int i = 0; i < level.sideDefs.count; ++i) {
        SideDef& sd = level.sideDefs[i];
        if (!MatchName(matches, sd.upper, matches.search.wall, replacement, "Upper texture in SideDef", kObjSideDef, i) ||
            !MatchName(matches, sd.lower, matches.search.wall, replacement, "Lower texture in SideDef", kObjSideDef, i) ||
            !MatchName(matches, sd.middle, matches.search.wall, replacement, "Normal texture in SideDef", kObjSideDef, i))
            return;
    }
}

}  // namespace

bool Replaces(int kind) { return kind >= kReplaceThing; }

SearchTally RunSearch(LevelState& level, const SearchState& search,
                      const std::function<bool(const SearchMatch&)>& shown) {
    int kind = search.kind;
    EditScope edit(kind == kReplaceThing ? "replace Things" : "replace textures");
    Matches matches(search, shown);
    switch (kind) {
    case kFindLineDefType:
    case kFindLineDefTag: FindLineDefs(level, matches, kind); break;
    case kFindSectorTag: FindSectors(level, matches); break;
    case kFindThing: FindThings(level, matches, false); break;
    case kReplaceThing: FindThings(level, matches, true); break;
    case kFindFlat: FindFlats(level, matches, nullptr); break;
    case kReplaceFlat: FindFlats(level, matches, search.flatReplacement); break;
    case kFindWallTexture: FindWallTextures(level, matches, nullptr); break;
    case kReplaceWallTexture: FindWallTextures(level, matches, search.wallReplacement); break;
    default: break;
    }
    if (matches.tally.changed > 0) {
        level.levelChanged = true;
        edit.Commit();
    }
    return matches.tally;
}

}  // namespace edits
