// The Misc menu ("Misc. Operations", help topic "MISC"): the operations on
// the selection of the current EditMode, and the connection of these
// operations and of the vertex check to the editor.
#pragma once

#include "editor/editor_actions.h"

// Shows the menu at (x, y) (or, with MiscStart::RotateAndScale, takes its
// first item at once) and runs the chosen item on the selection. Returns
// kMenuNext or kMenuPrevious when the menu was left with Right or Left, else
// 0. Every item but the first free tag needs a selection.
int MiscMenu(int x, int y, MiscStart start);

// Sets the editor's entries for the Misc menu, the vertex check, adding a
// LineDef across a Sector, turning Things and the predefined objects.
void InstallMiscOperations();
