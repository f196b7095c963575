#include "dialogs/edit_objects.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "editor/editor_actions.h"
#include "editor/info_panels.h"
#include "editor/picking.h"
#include "edits/object_values.h"
#include "level/history.h"
#include "level/level.h"
#include "ops/edit_support.h"
#include "ops/linedef_ops.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/saved_area.h"
#include "ui/toolkit.h"

int lastTag = -1;

namespace {

constexpr int kMaxTag = 999;
constexpr int kMaxCoordinate = 32000;
constexpr int kWarningColour = 4;

}  // namespace

void InstallEditDialogs() { editorActions.editObjects = EditObjects; }

void RunEditMenu(const EditMenu& menu, int y, int directItem) {
    if (directItem > 0) {
        menu.perform(directItem + 1);
        return;
    }
    int last = 1;
    do {
        std::vector<std::string> texts = menu.items();
        std::vector<const char*> items;
        for (const std::string& text : texts)
            items.push_back(text.c_str());
        std::string title = menu.title();
        int chosen = SimpleMenu(menu.x, y, MenuStyle::Numbered, last, menu.helpTopic,
                                WindowSave::Always, title.c_str(), items);
        if (chosen < 1 || chosen > static_cast<int>(items.size()))
            return;
        last = chosen;
        if (!menu.perform(chosen))
            return;
    } while (config.menuNesting);
}

void EditVertexes(SelectionList& vertexes) {
    const Vertex* first = VertexAt(vertexes.head());
    if (!first)
        return;
    std::string title = Format("Vertex %d", vertexes.head());
    std::vector<FormField> fields = {{"X", -kMaxCoordinate, kMaxCoordinate, first->x},
                                     {"Y", -kMaxCoordinate, kMaxCoordinate, first->y}};
    if (NumberForm(kCentred, kCentred, WindowSave::Always, title.c_str(), fields) != 1)
        return;
    edits::MoveVertexesBy(level, vertexes, fields[0].value - first->x, fields[1].value - first->y);
}

void EditObjects(int x, int y, SelectionList& objects, int directItem) {
    if (objects.empty())
        return;
    int mode = CurrentEditMode();
    NameStep("edit " + CountOf(objects.size(), mode));
    ShowObjectInfo(objects.head());
    PointerRestore pointer;
    HidePointer();
    SavedArea screen;
    SaveArea(0, 0, graphics.maxX, graphics.maxY, screen, WindowSave::Always);
    switch (mode) {
    case kObjThing: EditThings(x, y, objects); break;
    case kObjVertex: EditVertexes(objects); break;
    case kObjLineDef: EditLineDefs(x, y, objects, directItem); break;
    case kObjSector: EditSectors(objects, directItem); break;
    default: break;
    }
    HidePointer();
    RestoreArea(screen);
}

bool TagEntry(const char* title, int value, int& tag) {
    std::string heading = Format(title, lastTag);
    std::string label = Format("Tag (free %d)", FirstFreeTag(level));
    std::vector<FormField> fields = {{label.c_str(), 0, kMaxTag, std::clamp(value, 0, kMaxTag)}};
    if (NumberForm(kCentred, kCentred, WindowSave::Always, heading.c_str(), fields) != 1)
        return false;
    tag = lastTag = fields[0].value;
    return true;
}

int CrossReferenceEntry(int x, int y, int kind, bool allowDelete, int value, bool* confirmed) {
    int max = GetMaxObjectNum(kind);
    std::string title = Format("%s value from  0 to %d", ObjectTypeName(kind), max);
    const int cw = graphics.charW, line = graphics.lineH;
    int width = (std::max(static_cast<int>(title.size()), 26) + 2) * cw;
    int height = 7 * line + 8;
    if (x < 0)
        x = std::max(0, (graphics.maxX - width) / 2);
    if (y < 0)
        y = std::max(0, (graphics.maxY - height) / 2);
    PointerRestore pointer;
    HidePointer();
    SavedArea area;
    SaveArea(x, y, x + width, y + height, area, WindowSave::Always);
    RaisedBox(x, y, x + width, y + height, config.colors[kColorMenu]);
    SetColor(0);
    TextAt(x + cw, y + line / 2, "%s", title.c_str());
    if (allowDelete)
        TextAt(-1, -1, "Enter -1 to Delete");
    SetColor(kWarningColour);
    TextAt(x + cw, y + 2 * line + line / 2, "Incorrect crossreferences");
    TextAt(-1, -1, "!! may crash the game !!");
    int min = allowDelete ? -1 : 0;
    int key = 0;
    do
        key = NumberField(x + cw, y + 5 * line, value, min, max, FieldMode::Edit);
    while (key != kKeyEsc && key != kKeyEnter && key != -1);
    RestoreArea(area);
    if (confirmed)
        *confirmed = key == kKeyEnter;
    return value;
}
