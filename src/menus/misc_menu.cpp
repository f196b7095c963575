#include "menus/misc_menu.h"

#include "base/config.h"
#include "base/format.h"
#include "editor/editor.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "builders/builders.h"
#include "ops/edit_support.h"
#include "ops/linedef_ops.h"
#include "builders/predefined.h"
#include "ops/rotate_scale.h"
#include "ops/vertex_check.h"
#include "ops/vertex_ops.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/message_box.h"

namespace {

enum MiscItem {
    kRotateAndScale = 1,
    kFirstFreeTag = 2,
};

bool Selected(CountRule rule, int needed, int mode, SelectionCount* found = nullptr) {
    return CheckSelection(rule, needed, mode, selection.list, found);
}

void ShowFirstFreeTag() {
    std::string tag = Format("%d", FirstFreeTag(level));
    MessageBox(kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0, "First Free Tag",
               {tag.c_str()});
}

// The flips that exchange SideDefs change which Sector lies on which side.
bool SwapConfirmed() {
    return config.expertMode || AskYes("Caution", "This swaps Sector references");
}

void VertexItem(int item) {
    SelectionCount found;
    switch (item) {
    case 3:
        DeleteVertexesJoinLineDefs(selection.list);
        ForgetSelection(selection.list);
        break;
    case 4:
        MergeVertexes(selection.list);
        break;
    case 5:
        if (!Selected(CountRule::Exactly, 2, kObjVertex, &found))
            return;
        AddLineDefSplitSector(found.first, found.last);
        ForgetSelection(selection.list);
        break;
    default:
        ErrorBeep();
    }
}

void LineDefItem(int item) {
    SelectionCount found;
    switch (item) {
    case 3:
        SplitLineDefs(selection.list);
        break;
    case 4:
        if (!Selected(CountRule::Exactly, 2, kObjLineDef, &found))
            return;
        SplitLineDefsAndSector(found.first, found.last);
        ForgetSelection(selection.list);
        break;
    case 5:
        DeleteLineDefsJoinSectors(selection.list);
        break;
    case 6:
        if (SwapConfirmed())
            FlipLineDefs(level, selection.list, FlipPart::Both);
        break;
    case 7:
        if (SwapConfirmed())
            FlipLineDefs(level, selection.list, FlipPart::SideDefs);
        break;
    case 8:
        FlipLineDefs(level, selection.list, FlipPart::Vertexes);
        break;
    case 9:
        AlignTexturesY(selection.list);
        break;
    case 10:
        AlignTexturesX(selection.list);
        break;
    case 11:
        MakeDoor(selection.list);
        break;
    case 12:
        MakeStairs(selection.list);
        break;
    default:
        ErrorBeep();
    }
}

void SectorItem(int item) {
    SelectionCount found;
    switch (item) {
    case 3:
        if (Selected(CountRule::Exactly, 1, kObjSector, &found))
            MakeLift(found.first);
        break;
    case 4:
    case 5:
    case 6:
        if (Selected(CountRule::AtLeast, 3, kObjSector))
            DistributeSectorValue(level, selection.list, item == 4   ? SectorValue::Floor
                                                         : item == 5 ? SectorValue::Ceiling
                                                                     : SectorValue::Light);
        break;
    default:
        ErrorBeep();
    }
}

void RotateAndScale(int mode) {
    if ((mode == kObjThing || mode == kObjVertex) && !Selected(CountRule::AtLeast, 2, mode))
        return;
    RotateScaleObjects(mode, selection.list);
}

void RunItem(int mode, int item) {
    if (item == kFirstFreeTag) {
        ShowFirstFreeTag();
        return;
    }
    if (!Selected(CountRule::AtLeast, 1, mode))
        return;
    editor.redrawMap = true;
    if (item == kRotateAndScale)
        RotateAndScale(mode);
    else if (mode == kObjVertex)
        VertexItem(item);
    else if (mode == kObjLineDef)
        LineDefItem(item);
    else if (mode == kObjSector)
        SectorItem(item);
    // The highlighted object, and Vertexes at the map's edge, may be gone.
    if (selection.current > GetMaxObjectNum(mode))
        selection.current = -1;
    ComputeMapBounds();
}

}  // namespace

int MiscMenu(int x, int y, MiscStart start) {
    int mode = CurrentEditMode();
    int item = kRotateAndScale;
    if (start == MiscStart::Menu) {
        item = SimpleMenu(x, y, MenuStyle::Numbered, 1, "MISC", WindowSave::UnlessNested,
                          "Misc. Operations", MiscMenuItems(mode));
        if (item == kMenuNext || item == kMenuPrevious)
            return item;
    }
    if (item > 0)
        RunItem(mode, item);
    return 0;
}

void InstallMiscOperations() {
    editorActions.miscMenu = MiscMenu;
    editorActions.objectMenu = PredefinedObjectMenu;
    editorActions.checkVertexes = CheckVertexes;
    editorActions.checkLineDefVertexes = CheckLineDefVertexes;
}
