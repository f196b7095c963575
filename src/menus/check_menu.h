// The Check menu of the editor and the connection of the checker, the
// statistics and find and replace to the editor's keys and menus.
#pragma once

#include "checker/check_dialogs.h"

// The menu items, numbered from 1.
enum CheckItem {
    kCheckStatistics = 1,
    kCheckClosed,
    kCheckCrossReferences,
    kCheckSideDefTextures,
    kCheckTextureNames,
    kCheckThingsAndExits,
    kCheckLineDefTypes,
    kCheckSectorTypes,
    kCheckNamesAndTypes,     // 5, 6, 7, 8
    kCheckGeometry,          // 2, 3, 4
    kCheckAll,               // 2 ... 8, without the exits
    kCheckFixTextures,
    kCheckFixTextureNames,
    kCheckEngineLimits,      // where the original games run out of room
};

// Runs the checks of a menu item, each only when the one before it ran to
// its end; false when one was cancelled. The statistics item shows the
// statistics on the screen.
bool RunCheckItem(int item, CheckDialogs& dialogs);

// The menu titled "Check Level Consistency" at (x, y); runs the item chosen.
// Returns kMenuNext or kMenuPrevious when left with Right or Left, else 0.
int CheckMenu(int x, int y);

// Connects the Check menu, the exits and starting positions check before
// saves, and find and replace (F4, F) to the editor.
void InstallChecker();
