#include "editor/editor_actions.h"

#include <vector>

#include "editor/selection.h"
#include "level/level.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/menus.h"

namespace {

void Unbound() { ErrorBeep(); }
void UnboundSearch(int, int, FindStart) { ErrorBeep(); }
void UnboundPreview(PreviewStart) { ErrorBeep(); }

// The operations of a menu are connected with the menu itself; until then
// the menu shows its items and a chosen item beeps.
int MenuWithoutOperations(int x, int y, const char* help, const char* title,
                          const std::vector<const char*>& items) {
    int chosen =
        SimpleMenu(x, y, MenuStyle::Numbered, 1, help, WindowSave::UnlessNested, title, items);
    if (chosen == kMenuNext || chosen == kMenuPrevious)
        return chosen;
    if (chosen > 0)
        ErrorBeep();
    return 0;
}

int MiscMenu(int x, int y, MiscStart start) {
    if (start == MiscStart::RotateAndScale) {
        ErrorBeep();
        return 0;
    }
    return MenuWithoutOperations(x, y, "MISC", "Misc. Operations", MiscMenuItems(CurrentEditMode()));
}

int ObjectMenu(int x, int y) {
    return MenuWithoutOperations(
        x, y, "OBJECT", "Create Predefined Object",
        {"Rectangle (Room)", "Rectangle (Object)", "Polygon   (Room)", "Polygon   (Object)",
         "Stairs    (Room)", "Stairs    (Object)", "Door      (Object)"});
}

int CheckMenu(int x, int y) {
    return MenuWithoutOperations(
        x, y, "CHECK", "Check Level Consistency",
        {"Number of Objects", "Check if all Sectors are closed", "Check Xref, Dups, Unused",
         "Check SideDef Textures", "Check Texture Names", "Check Thing names/Exit",
         "Check Linedef types/tags", "Check Sector  types/tags", "Check (5,6,7,8)",
         "Check (2,3,4  )", "Check (2 ... 8) All", "Automatic fix missing Textures",
         "Automatic fix Texture names", "Check engine limits"});
}

int AcceptLevel() { return 1; }

void NoEditDialog(int, int, SelectionList&, int) { ErrorBeep(); }

void NoCheck(SelectionList&, CheckStyle) {}

void NoOverlay() {}
bool NoOverlayClick(int, int) { return false; }

EditorActions DefaultActions() {
    EditorActions actions;
    actions.editObjects = NoEditDialog;
    actions.checkVertexes = NoCheck;
    actions.checkLineDefVertexes = NoCheck;
    actions.miscMenu = MiscMenu;
    actions.objectMenu = ObjectMenu;
    actions.checkMenu = CheckMenu;
    actions.checkExits = AcceptLevel;
    actions.findChange = UnboundSearch;
    actions.testPlay = Unbound;
    actions.preview3d = UnboundPreview;
    actions.drawMapOverlay = NoOverlay;
    actions.overlayClick = NoOverlayClick;
    return actions;
}

}  // namespace

EditorActions editorActions = DefaultActions();

std::vector<const char*> MiscMenuItems(int mode) {
    std::vector<const char*> items = {"Rotate and scale  < >", "Find first free tag number"};
    switch (mode) {
    case kObjVertex:
        items.insert(items.end(), {"Delete Vertex and join LineDefs",
                                   "Merge several Vertices into one",
                                   "Add a LineDef and split Sector"});
        break;
    case kObjLineDef:
        items.insert(items.end(),
                     {"Split LineDef (add new Vertex)", "Split LineDefs and Sector",
                      "Delete LineDefs and join Sectors", "Flip LineDef Vertex+Sidedef",
                      "Swap LineDef SideDefs", "Flip LineDef Vertex only",
                      "Align textures (Y offset)", "Align textures (X offset)",
                      "Make Door  from 4 LineDefs", "Make Stair from 2 LineDefs"});
        break;
    case kObjSector:
        items.insert(items.end(),
                     {"Make lift from Sector", "Distribute Sector floor heights",
                      "Distribute Sector ceiling heights", "Distribute Sector lighting"});
        break;
    default:
        break;
    }
    return items;
}

void ResetEditorActions() { editorActions = DefaultActions(); }
