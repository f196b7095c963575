#include "checker/find_replace.h"

#include <string>
#include <vector>

#include "base/format.h"
#include "editor/editor.h"
#include "pictures/name_keys.h"
#include "ui/browsers.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/toolkit.h"

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
    edits::SearchTally tally;
    if (search.kind != kSearchNone)
        tally = edits::RunSearch(level, search, [&](const edits::SearchMatch& match) {
            if (!edits::Replaces(search.kind))
                return dialogs.Verify(match.message, "", match.type, match.n, Severity::Found);
            dialogs.Status(match.message);
            return true;
        });
    if (search.kind != kSearchNone && tally.found == 0)
        dialogs.Result("Object Not Found", {NotFoundText(search.kind)});
    else
        dialogs.Result("Objects", {Format("Found %d, Changed %d", tally.found, tally.changed)});
    editor.redrawMap = true;
}
