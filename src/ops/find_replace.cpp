#include "ops/find_replace.h"

#include <string>
#include <vector>

#include "base/format.h"
#include "editor/editor.h"
#include "level/history.h"
#include "level/level.h"
#include "ops/check_names.h"
#include "ui/browsers.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/toolkit.h"
#include "wad/wadfile.h"

SearchState search;

namespace {

constexpr int kMaxSearchNumber = 9999;

// --- Asking ---------------------------------------------------------------------

// One number form of one field; false when cancelled.
bool AskNumber(int x, int y, const char* title, const char* label, int min, int& value) {
    std::vector<FormField> fields = {{label, min, kMaxSearchNumber, value}};
    if (!NumberForm(x, y, WindowSave::UnlessNested, title, fields))
        return false;
    value = fields[0].value;
    return true;
}

// A wall texture or flat chosen from its list with a picture beside it (F1:
// the browser); false when cancelled. The name proposed and chosen is in
// name.
enum class Pictures { Walls, Flats };

bool AskName(int x, int y, Pictures pictures, const char* prompt, char* name) {
    char text[kChosenNameSize] = {};
    SetFieldName(text, name);
    auto choose = pictures == Pictures::Walls ? ChooseTextureName : ChooseFlatName;
    if (!choose(x, y, WindowSave::UnlessNested, prompt, text))
        return false;
    SetFieldName(name, text);
    return true;
}

// The values of the kind chosen; false when one of them was cancelled.
bool AskValues(int x, int y, int kind) {
    switch (kind) {
    case kFindLineDefType: return AskNumber(x, y, "Find LineDef", "Type", 0, search.lineDefType);
    case kFindLineDefTag: return AskNumber(x, y, "Find LineDef", "Tag", 1, search.lineDefTag);
    case kFindSectorTag: return AskNumber(x, y, "Find Sector", "Tag", 1, search.sectorTag);
    case kFindThing: return AskNumber(x, y, "Find Thing", "Number", 1, search.thing);
    case kReplaceThing:
        return AskNumber(x, y, "Find Thing", "Number", 1, search.thing) &&
               AskNumber(x, y, "ReplaceWith", "Number", 1, search.thingReplacement);
    case kFindFlat:
        return AskName(x, y, Pictures::Flats, "Floor/Ceiling Texture", search.flat);
    case kReplaceFlat:
        return AskName(x, y, Pictures::Flats, "Floor/Ceiling Texture", search.flat) &&
               AskName(x, y, Pictures::Flats, "ReplaceWith", search.flatReplacement);
    case kFindWallTexture:
        return AskName(x, y, Pictures::Walls, "WallTexture", search.wall);
    case kReplaceWallTexture:
        return AskName(x, y, Pictures::Walls, "WallTexture", search.wall) &&
               AskName(x, y, Pictures::Walls, "ReplaceWith", search.wallReplacement);
    default: return false;
    }
}

// The menu and the values; the kind chosen, kSearchNone when cancelled.
int AskSearch(int x, int y) {
    int kind = SimpleMenu(x, y, MenuStyle::Numbered, search.kind > 0 ? search.kind : 1, "FIND",
                          WindowSave::UnlessNested, "Find/Replace",
                          {"Find LineDef Type", "Find LineDef Tag", "Find Sector  Tag", "Find Thing",
                           "Find FloorTexture", "Find Wall Texture", "Replace Thing",
                           "ReplaceFloorTexture", "ReplaceWall Texture"});
    if (kind < 1)
        return kSearchNone;
    return AskValues(x, y, kind) ? kind : kSearchNone;
}

// --- Searching ------------------------------------------------------------------

struct Tally {
    int found = 0, changed = 0;
};

// Goes through every match: a find shows it (false when the user cancelled
// there), a replacement is made and told.
class Matches {
public:
    Matches(CheckDialogs& dialogs, bool replacing) : dialogs_(dialogs), replacing_(replacing) {}

    bool Found(const std::string& message, int kind, int n) {
        ++tally.found;
        if (!replacing_)
            return dialogs_.Verify(message, "", kind, n, Severity::Found);
        ++tally.changed;
        dialogs_.Status(message);
        return true;
    }

    Tally tally;

private:
    CheckDialogs& dialogs_;
    bool replacing_;
};

void FindLineDefs(Matches& matches, int kind) {
    for (int i = 0; i < level.lineDefs.count; ++i) {
        const LineDef& ld = level.lineDefs[i];
        bool byType = kind == kFindLineDefType;
        int value = byType ? ld.type : ld.tag;
        int wanted = byType ? search.lineDefType : search.lineDefTag;
        if (value == wanted &&
            !matches.Found(Format(byType ? "Found Type %d, LineDef %d" : "Found Tag %d, LineDef %d", value, i),
                           kObjLineDef, i))
            return;
    }
}

void FindSectors(Matches& matches) {
    for (int s = 0; s < level.sectors.count; ++s)
        if (level.sectors[s].tag == search.sectorTag &&
            !matches.Found(Format("Found Tag %d, Sector %d", search.sectorTag, s), kObjSector, s))
            return;
}

void FindThings(Matches& matches, bool replace) {
    for (int i = 0; i < level.things.count; ++i) {
        Thing& t = level.things[i];
        if (t.type != search.thing)
            continue;
        if (replace)
            t.type = static_cast<int16_t>(search.thingReplacement);
        if (!matches.Found(Format("Found Thing %d, Thing Number %d", search.thing, i), kObjThing, i))
            return;
    }
}

// A name field that matches: replaced when replacement is given; false when
// the user cancelled at it.
bool MatchName(Matches& matches, char* field, const char* name, const char* replacement, const char* where,
               int kind, int n) {
    if (!SameEntryName(field, name))
        return true;
    std::string message = Format("%s = %s %d", FieldName(field).c_str(), where, n);
    if (replacement)
        SetFieldName(field, replacement);
    return matches.Found(message, kind, n);
}

void FindFlats(Matches& matches, const char* replacement) {
    for (int s = 0; s < level.sectors.count; ++s) {
        Sector& sector = level.sectors[s];
        if (!MatchName(matches, sector.ceilingTexture, search.flat, replacement, "Ceiling texture in Sector",
                       kObjSector, s) ||
            !MatchName(matches, sector.floorTexture, search.flat, replacement, "Floor texture in Sector",
                       kObjSector, s))
            return;
    }
}

void FindWallTextures(Matches& matches, const char* replacement) {
    for (int i = 0; i < level.sideDefs.count; ++i) {
        SideDef& sd = level.sideDefs[i];
        if (!MatchName(matches, sd.upper, search.wall, replacement, "Upper texture in SideDef", kObjSideDef, i) ||
            !MatchName(matches, sd.lower, search.wall, replacement, "Lower texture in SideDef", kObjSideDef, i) ||
            !MatchName(matches, sd.middle, search.wall, replacement, "Normal texture in SideDef", kObjSideDef, i))
            return;
    }
}

Tally RunSearch(int kind, CheckDialogs& dialogs) {
    bool replacing = kind >= kReplaceThing;
    Matches matches(dialogs, replacing);
    switch (kind) {
    case kFindLineDefType:
    case kFindLineDefTag: FindLineDefs(matches, kind); break;
    case kFindSectorTag: FindSectors(matches); break;
    case kFindThing: FindThings(matches, false); break;
    case kReplaceThing: FindThings(matches, true); break;
    case kFindFlat: FindFlats(matches, nullptr); break;
    case kReplaceFlat: FindFlats(matches, search.flatReplacement); break;
    case kFindWallTexture: FindWallTextures(matches, nullptr); break;
    case kReplaceWallTexture: FindWallTextures(matches, search.wallReplacement); break;
    default: break;
    }
    if (matches.tally.changed > 0) {
        level.levelChanged = true;
        NameStep(kind == kReplaceThing ? "replace Things" : "replace textures");
    }
    return matches.tally;
}

// What the "Object Not Found" box names.
std::string NotFoundText(int kind) {
    switch (kind) {
    case kFindLineDefType: return Format("LineType %d", search.lineDefType);
    case kFindLineDefTag: return Format("LineTag  %d", search.lineDefTag);
    case kFindSectorTag: return Format("SectTag  %d", search.sectorTag);
    case kFindThing: return Format("Thing %d", search.thing);
    case kFindFlat: return Format("FloorTx %s", FieldName(search.flat).c_str());
    case kFindWallTexture: return Format("WallTx %s", FieldName(search.wall).c_str());
    case kReplaceThing: return Format("RepThing %d", search.thing);
    case kReplaceFlat: return Format("RepFloorTx %s", FieldName(search.flat).c_str());
    default: return Format("RepWallTx %s", FieldName(search.wall).c_str());
    }
}

}  // namespace

void FindReplace(int x, int y, SearchStart start, CheckDialogs& dialogs) {
    if (start == SearchStart::Ask || search.kind == kSearchNone)
        search.kind = AskSearch(x, y);
    Tally tally;
    if (search.kind != kSearchNone)
        tally = RunSearch(search.kind, dialogs);
    if (search.kind != kSearchNone && tally.found == 0)
        dialogs.Result("Object Not Found", {NotFoundText(search.kind)});
    else
        dialogs.Result("Objects", {Format("Found %d, Changed %d", tally.found, tally.changed)});
    editor.redrawMap = true;
}
