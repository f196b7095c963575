// The Sector menu: type, flats, light, heights and tag of the selection.
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "base/format.h"
#include "edits/object_values.h"
#include "gamedefs/port_types.h"
#include "level/level.h"
#include "pictures/namelists.h"
#include "dialogs/edit_objects.h"
#include "ops/edit_support.h"
#include "ui/browsers.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/saved_area.h"
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
    kSectorBits,   // a Boom level's bits above the type
};

constexpr int kMaxLight = 255;
constexpr int kMaxHeight = 4096;

void ChooseSectorFlat(SelectionList& sectors, const char* prompt, edits::NamePart part) {
    const Sector& first = *SectorAt(sectors.head());
    char name[kChosenNameSize] = {};
    std::memcpy(name, part == edits::NamePart::CeilingFlat ? first.ceilingTexture : first.floorTexture, 8);
    if (!ChooseFlatName(kCentred, kCentred, WindowSave::Always, prompt, name) || !name[0])
        return;
    edits::SetName(level, NumbersOf(sectors), part, name);
}

bool SectorNumbers(const char* title, std::vector<FormField>& fields) {
    return NumberForm(kCentred, kCentred, WindowSave::Always, title, fields) == 1;
}

// --- Boom's bits above the type --------------------------------------------------

bool KnowsSectorBits() { return !IsHeretic() && TargetAllows(level.target, MapTarget::Boom); }
bool KnowsMbf21Bits() { return !IsHeretic() && TargetAllows(level.target, MapTarget::Mbf21); }

enum BitsBox { kDamage0, kDamage1, kDamage2, kDamage3, kSecret, kFriction, kWind, kAltDamage, kKillMonsters };
constexpr int kDamageBoxes = 4;

std::vector<OptionItem> BitsBoxes(const SectorBits& bits, std::vector<std::string>& labels) {
    static const char* const kHotKeys[kDamageBoxes] = {"_0", "_1", "_2", "_3"};
    labels.clear();
    for (int d = 0; d < kDamageBoxes; ++d)
        labels.push_back(std::string(kHotKeys[d]) + " Damage " + SectorDamageName(d, bits.altDamage));
    std::vector<OptionItem> items;
    for (int d = 0; d < kDamageBoxes; ++d)
        items.push_back({labels[static_cast<size_t>(d)].c_str(), 0, 15 * d, bits.damage == d, OptionKind::CheckBox});
    items.push_back({"_Secret", 0, 70, bits.secret, OptionKind::CheckBox});
    items.push_back({"_Friction (line 223)", 0, 85, bits.friction, OptionKind::CheckBox});
    items.push_back({"_Wind/Push (lines 224-226)", 0, 100, bits.wind, OptionKind::CheckBox});
    if (KnowsMbf21Bits()) {
        items.push_back({"_Alternate damage: kill/exit", 0, 125, bits.altDamage, OptionKind::CheckBox});
        items.push_back({"_Kill grounded monsters", 0, 140, bits.killMonsters, OptionKind::CheckBox});
    }
    return items;
}

// Sets the fields of the boxes in bits; the others stay.
void ReadBitsBoxes(const std::vector<OptionItem>& items, SectorBits& bits) {
    for (int d = 0; d < kDamageBoxes; ++d)
        if (items[static_cast<size_t>(d)].value)
            bits.damage = d;
    bits.secret = items[kSecret].value;
    bits.friction = items[kFriction].value;
    bits.wind = items[kWind].value;
    if (items.size() > kKillMonsters) {
        bits.altDamage = items[kAltDamage].value;
        bits.killMonsters = items[kKillMonsters].value;
    }
}

// The bits of the first Sector in check boxes; Ok gives every Sector of the
// selection those bits above its own type.
void SectorBitsDialog(SelectionList& sectors) {
    SectorBits bits = DecodeSectorBits(static_cast<uint16_t>(SectorAt(sectors.head())->type));
    std::vector<std::string> labels;
    std::vector<OptionItem> items = BitsBoxes(bits, labels);
    const int width = 320, height = 250, line = graphics.lineH;
    int bx = (graphics.maxX - width) / 2, by = (graphics.maxY - height) / 2;
    int buttonY = by + height - line - 12;
    ButtonDef ok = {"Ok", kFormButtonKey, bx + 150, buttonY, bx + 200, buttonY + line + 5};
    ButtonDef cancel = {"Cancel", kKeyEsc, bx + 220, buttonY, bx + 290, buttonY + line + 5};
    SavedArea area;
    SaveArea(bx, by, bx + width, by + height, area, WindowSave::Always);
    int current = 0, key = 0, result = 0;
    for (;;) {
        RaisedBox(bx, by, bx + width, by + height, config.colors[kColorMenu]);
        SetColor(config.colors[kColorMenuHilite]);
        TextAt(bx + graphics.charW, by + 6, "Sector %d: Boom bits", sectors.head());
        result = OptionForm(FormMode::UntilDecided, "SECTORS", current, key, ok, cancel, bx + 16, by + 30, items);
        if (result < 0)
            break;
        if (result < kDamageBoxes)
            for (int d = 0; d < kDamageBoxes; ++d)
                items[static_cast<size_t>(d)].value = d == result;
        else
            items[static_cast<size_t>(result)].value ^= 1;
        if (result == kAltDamage) {   // the damage boxes name the other meanings
            ReadBitsBoxes(items, bits);
            std::vector<OptionItem> renamed = BitsBoxes(bits, labels);
            for (size_t i = 0; i < renamed.size(); ++i)
                items[i].label = renamed[i].label;
        }
    }
    RestoreArea(area);
    if (result != kOptionOk)
        return;
    ReadBitsBoxes(items, bits);
    edits::SetSectorBits(level, NumbersOf(sectors), bits);
}

bool PerformSectorItem(SelectionList& sectors, int item) {
    const Sector& first = *SectorAt(sectors.head());
    switch (item) {
    case kSectorType: ChooseSectorType(NumbersOf(sectors)); break;
    case kCeilingFlat: ChooseSectorFlat(sectors, "Ceiling Texture", edits::NamePart::CeilingFlat); break;
    case kFloorFlat: ChooseSectorFlat(sectors, "Floor Texture", edits::NamePart::FloorFlat); break;
    case kLightLevel: {
        std::vector<FormField> fields = {{"LightLevel", 0, kMaxLight, first.light}};
        if (SectorNumbers("Sector", fields))
            edits::SetNumber(level, NumbersOf(sectors), edits::NumberField::SectorLight, fields[0].value);
        break;
    }
    case kHeights: {
        std::vector<FormField> fields = {{"Ceiling", -kMaxHeight, kMaxHeight, first.ceilingHeight},
                                         {"Floor", -kMaxHeight, kMaxHeight, first.floorHeight}};
        if (SectorNumbers("Sector Heights", fields)) {
            edits::SetNumber(level, NumbersOf(sectors), edits::NumberField::SectorCeiling, fields[0].value);
            edits::SetNumber(level, NumbersOf(sectors), edits::NumberField::SectorFloor, fields[1].value);
        }
        break;
    }
    case kSectorTag: {
        int tag = 0;
        if (TagEntry("LineDef Sector (last %hd)", first.tag, tag))
            edits::SetNumber(level, NumbersOf(sectors), edits::NumberField::SectorTag, tag);
        break;
    }
    case kSectorBits:
        if (!KnowsSectorBits())
            return false;
        SectorBitsDialog(sectors);
        break;
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
    std::vector<std::string> items = {
            Format("Type           : %hd", s.type),
            Format("CeilingTexture : %s", EntryNameText(s.ceilingTexture).c_str()),
            Format("Floor Texture  : %s", EntryNameText(s.floorTexture).c_str()),
            Format("Light Level    : %hd", s.light),
            Format("Ceil/Flr Height: %hd,%hd", s.ceilingHeight, s.floorHeight),
            Format("LineDef Tag    : %hd", s.tag),
            "Browse Floor/Ceiling"};
    if (KnowsSectorBits())
        items.push_back(Format("Boom Bits      : %s",
                               SectorBitsCodes(static_cast<uint16_t>(s.type), level.target).c_str()));
    return items;
}

}  // namespace

void EditSectors(SelectionList& sectors, int directItem) {
    int n = sectors.head();
    if (!SectorAt(n))
        return;
    EditMenu menu;
    menu.x = graphics.maxX / 10;
    menu.helpTopic = "SECTORS";
    menu.title = [n] {
        const Sector& s = *SectorAt(n);
        return Format("Edit Sector %d  (height=%d)", n, s.ceilingHeight - s.floorHeight);
    };
    menu.items = [n] { return SectorItems(*SectorAt(n)); };
    menu.perform = [&](int item) { return PerformSectorItem(sectors, item); };
    RunEditMenu(menu, kCentred, directItem);
}
