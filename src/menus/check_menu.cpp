#include "menus/check_menu.h"

#include <vector>

#include "editor/editor_actions.h"
#include "checker/checks.h"
#include "checker/find_replace.h"
#include "checker/limits_check.h"
#include "checker/limits_overlay.h"
#include "checker/statistics.h"
#include "ui/menus.h"

namespace {

using Check = bool (*)(CheckDialogs&);

bool TexturesAsked(CheckDialogs& d) { return CheckMissingTextures(d, FixStyle::Ask); }
bool TexturesFixed(CheckDialogs& d) { return CheckMissingTextures(d, FixStyle::Fix); }
bool NamesAsked(CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Ask); }
bool NamesFixed(CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Fix); }

std::vector<Check> ChecksOf(int item) {
    switch (item) {
    case kCheckClosed: return {CheckClosedSectors};
    case kCheckCrossReferences: return {CheckCrossReferences};
    case kCheckSideDefTextures: return {TexturesAsked};
    case kCheckTextureNames: return {NamesAsked};
    case kCheckThingsAndExits: return {CheckExitsAndStarts, CheckThingTypes};
    case kCheckLineDefTypes: return {CheckLineDefTypes};
    case kCheckSectorTypes: return {CheckSectorTypes};
    case kCheckNamesAndTypes:
        return {NamesAsked, CheckExitsAndStarts, CheckThingTypes, CheckLineDefTypes, CheckSectorTypes};
    case kCheckGeometry: return {CheckClosedSectors, CheckCrossReferences, TexturesAsked};
    case kCheckAll:
        return {CheckClosedSectors, CheckCrossReferences, TexturesAsked, NamesAsked,
                CheckThingTypes,    CheckLineDefTypes,    CheckSectorTypes};
    case kCheckFixTextures: return {TexturesFixed};
    case kCheckFixTextureNames: return {NamesFixed};
    case kCheckEngineLimits: return {CheckEngineLimits};
    default: return {};
    }
}

int CheckLevelBeforeSave() {
    return CheckExitsAndStarts(ScreenDialogs()) && CheckUnplayable(ScreenDialogs()) ? 1 : 0;
}

void FindChange(int x, int y, FindStart start) {
    FindReplace(x, y, start == FindStart::RepeatLast ? SearchStart::Repeat : SearchStart::Ask,
                ScreenDialogs());
}

}  // namespace

bool RunCheckItem(int item, CheckDialogs& dialogs) {
    if (item == kCheckStatistics) {
        ShowStatistics();
        return true;
    }
    for (Check check : ChecksOf(item))
        if (!check(dialogs))
            return false;
    return true;
}

int CheckMenu(int x, int y) {
    int item = SimpleMenu(
        x, y, MenuStyle::Numbered, 1, "CHECK", WindowSave::UnlessNested, "Check Level Consistency",
        {"Number of Objects", "Check if all Sectors are closed", "Check Xref, Dups, Unused",
         "Check SideDef Textures", "Check Texture Names", "Check Thing names/Exit",
         "Check Linedef types/tags", "Check Sector  types/tags", "Check (5,6,7,8)",
         "Check (2,3,4  )", "Check (2 ... 8) All", "Automatic fix missing Textures",
         "Automatic fix Texture names", "Check engine limits"});
    if (item == kMenuNext || item == kMenuPrevious)
        return item;
    if (item == kCheckEngineLimits && !AskLimitsScanSettings())
        return 0;
    if (item > 0 && RunCheckItem(item, ScreenDialogs()) && item == kCheckEngineLimits)
        ShowWorstPlaces(x, y);
    return 0;
}

void InstallChecker() {
    editorActions.checkMenu = CheckMenu;
    editorActions.checkExits = CheckLevelBeforeSave;
    editorActions.findChange = FindChange;
}
