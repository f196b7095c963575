// The Sector menu: type, flats, light, heights and tag of the selection.
#include <cstring>
#include <string>
#include <vector>

#include "base/format.h"
#include "level/level.h"
#include "pictures/namelists.h"
#include "ops/edit_objects.h"
#include "ops/edit_support.h"
#include "ui/browsers.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/type_choosers.h"
#include "wad/wadfile.h"

namespace {

enum SectorItem {
    kSectorType = 1,
    kCeilingFlat,
    kFloorFlat,
    kLightLevel,
    kHeights,
    kSectorTag,
    kBrowseFlats,
};

constexpr int kMaxLight = 255;
constexpr int kMaxHeight = 4096;

template <typename Change>
void ForEachSector(SelectionList& sectors, Change change) {
    for (int n : sectors)
        if (Sector* s = SectorAt(n))
            change(*s);
    level.levelChanged = true;
}

void ChooseSectorFlat(SelectionList& sectors, const char* prompt, char (Sector::*flat)[8]) {
    const Sector& first = *SectorAt(sectors.head());
    char name[kChosenNameSize] = {};
    std::memcpy(name, first.*flat, 8);
    if (!ChooseFlatName(kCentred, kCentred, WindowSave::Always, prompt, name) || !name[0])
        return;
    ForEachSector(sectors, [&](Sector& s) { std::strncpy(s.*flat, name, 8); });
}

bool SectorNumbers(const char* title, std::vector<FormField>& fields) {
    return NumberForm(kCentred, kCentred, WindowSave::Always, title, fields) == 1;
}

bool PerformSectorItem(SelectionList& sectors, int item) {
    const Sector& first = *SectorAt(sectors.head());
    switch (item) {
    case kSectorType: ChooseSectorType(NumbersOf(sectors)); break;
    case kCeilingFlat: ChooseSectorFlat(sectors, "Ceiling Texture", &Sector::ceilingTexture); break;
    case kFloorFlat: ChooseSectorFlat(sectors, "Floor Texture", &Sector::floorTexture); break;
    case kLightLevel: {
        std::vector<FormField> fields = {{"LightLevel", 0, kMaxLight, first.light}};
        if (SectorNumbers("Sector", fields))
            ForEachSector(sectors, [&](Sector& s) { s.light = static_cast<int16_t>(fields[0].value); });
        break;
    }
    case kHeights: {
        std::vector<FormField> fields = {{"Ceiling", -kMaxHeight, kMaxHeight, first.ceilingHeight},
                                         {"Floor", -kMaxHeight, kMaxHeight, first.floorHeight}};
        if (SectorNumbers("Sector Heights", fields))
            ForEachSector(sectors, [&](Sector& s) {
                s.ceilingHeight = static_cast<int16_t>(fields[0].value);
                s.floorHeight = static_cast<int16_t>(fields[1].value);
            });
        break;
    }
    case kSectorTag: {
        int tag = 0;
        if (TagEntry("LineDef Sector (last %hd)", first.tag, tag))
            ForEachSector(sectors, [&](Sector& s) { s.tag = static_cast<int16_t>(tag); });
        break;
    }
    case kBrowseFlats: {
        char ignored[kChosenNameSize];
        BrowseFlats(EntryNameText(first.floorTexture).c_str(), ignored);
        break;
    }
    default: return false;
    }
    return true;
}

std::vector<std::string> SectorItems(const Sector& s) {
    return {Format("Type           : %hd", s.type),
            Format("CeilingTexture : %s", EntryNameText(s.ceilingTexture).c_str()),
            Format("Floor Texture  : %s", EntryNameText(s.floorTexture).c_str()),
            Format("Light Level    : %hd", s.light),
            Format("Ceil/Flr Height: %hd,%hd", s.ceilingHeight, s.floorHeight),
            Format("LineDef Tag    : %hd", s.tag),
            "Browse Floor/Ceiling"};
}

}  // namespace

void EditSectors(SelectionList& sectors, int directItem) {
    int n = sectors.head();
    if (!SectorAt(n))
        return;
    EditMenu menu;
    menu.x = graphics.MaxX / 10;
    menu.helpTopic = "SECTORS";
    menu.title = [n] {
        const Sector& s = *SectorAt(n);
        return Format("Edit Sector %d  (height=%d)", n, s.ceilingHeight - s.floorHeight);
    };
    menu.items = [n] { return SectorItems(*SectorAt(n)); };
    menu.perform = [&](int item) { return PerformSectorItem(sectors, item); };
    RunEditMenu(menu, kCentred, directItem);
}
