// The LineDef menu: flags, type, tag, the SideDefs (added, edited, replaced
// and removed) and their textures, offsets and Sectors.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "editor/info_panels.h"
#include "editor/objects.h"
#include "base/flavour.h"
#include "gamedefs/linetypes.h"
#include "edits/object_values.h"
#include "gamedefs/port_types.h"
#include "level/level.h"
#include "dialogs/edit_objects.h"
#include "ops/edit_support.h"
#include "pictures/namelists.h"
#include "ui/browsers.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/type_choosers.h"
#include "wad/wadfile.h"

namespace {

enum LineDefItem {
    kFlagsItem = 1,
    kSideDef1Item,
    kSideDef2Item,
    kTagItem,
    kSideDef1Reference,
    kSideDef2Reference,
};

enum SideDefItem {
    kUpperTexture = 1,
    kNormalTexture,
    kLowerTexture,
    kOffsets,
    kSectorReference,
    kTextureBrowser,
};

constexpr int kFlagBoxes = 9;
constexpr int kChangeAllFlags = 9;
constexpr int kChangeType = 10;
constexpr int kMaxOffset = 255;

uint16_t& SideField(LineDef& ld, int side) { return side == 0 ? ld.sideDef1 : ld.sideDef2; }
edits::LineDefSide SideOf(int side) { return side == 0 ? edits::LineDefSide::First : edits::LineDefSide::Second; }

// --- The flags dialog ----------------------------------------------------------

// The flags a port adds that the level's target knows, each with its check
// box's hot letter, after the original ones.
struct PortFlagBox {
    PortFlag flag;
    const char* hotKey;
};
std::vector<PortFlagBox> PortFlagBoxes() {
    static const char* const kHotKeys[] = {"_Y", "_G", "_P"};
    std::vector<PortFlagBox> boxes;
    DefTable<PortFlag> flags = PortLineDefFlags();
    for (int i = 0; i < flags.count; ++i)
        if (!IsHeretic() && TargetAllows(level.target, flags.rows[i].needs))
            boxes.push_back({flags.rows[i], kHotKeys[i]});
    return boxes;
}

ShownFlags FlagsOfBoxes(const std::vector<OptionItem>& items, const std::vector<PortFlagBox>& ports) {
    ShownFlags flags{static_cast<uint16_t>((1u << kFlagBoxes) - 1), 0};
    for (int i = 0; i < kFlagBoxes; ++i)
        flags.value |= static_cast<uint16_t>(items[static_cast<size_t>(i)].value << i);
    for (size_t p = 0; p < ports.size(); ++p) {
        flags.mask |= ports[p].flag.mask;
        if (items[kChangeType + 1 + p].value)
            flags.value |= ports[p].flag.mask;
    }
    return flags;
}

void FlagsDialog(int x, int y, SelectionList& lineDefs) {
    static const char* const kHotKeys[kFlagBoxes] = {"_I", "_M", "_2", "_U", "_L",
                                                     "_S", "_B", "_V", "_A"};
    LineDef& first = *LineDefAt(lineDefs.head());
    std::vector<PortFlagBox> ports = PortFlagBoxes();
    std::vector<std::string> labels;
    for (int i = 0; i < kFlagBoxes; ++i)
        labels.push_back(std::string(kHotKeys[i]) + GetLineDefFlagName(i + 1));
    for (const PortFlagBox& port : ports)
        labels.push_back(std::string(port.hotKey) + port.flag.name);
    std::vector<OptionItem> items;
    for (int i = 0; i < kFlagBoxes; ++i)
        items.push_back({labels[static_cast<size_t>(i)].c_str(), i < 5 ? 0 : 160, (i % 5) * 15,
                         (first.flags >> i) & 1, OptionKind::CheckBox});
    items.push_back({"_FChange All Flags", 0, 80, 0, OptionKind::CheckBox});
    items.push_back({"_Tchange Type", 0, 124, 0, OptionKind::Button});
    for (size_t p = 0; p < ports.size(); ++p)
        items.push_back({labels[kFlagBoxes + p].c_str(), 160, 60 + 15 * static_cast<int>(p),
                         (static_cast<uint16_t>(first.flags) & ports[p].flag.mask) != 0, OptionKind::CheckBox});
    const int width = 360, height = 220, line = graphics.lineH;
    int bx = (graphics.maxX - width) / 2, by = (graphics.maxY - height) / 2;
    int buttonY = by + height - line - 12;
    ButtonDef ok = {"Ok", kFormButtonKey, bx + 170, buttonY, bx + 220, buttonY + line + 5};
    ButtonDef cancel = {"Cancel", kKeyEsc, bx + 240, buttonY, bx + 310, buttonY + line + 5};
    int current = 0, key = 0;
    for (;;) {
        RaisedBox(bx, by, bx + width, by + height, config.colors[kColorMenu]);
        SetColor(config.colors[kColorMenuHilite]);
        TextAt(bx + graphics.charW, by + 6, "LineDef %d", lineDefs.head());
        int result = OptionForm(FormMode::UntilDecided, "LINEDEFS", current, key, ok, cancel,
                                bx + 16, by + 30, items);
        if (result == kOptionCancel)
            return;
        if (result == kOptionOk)
            break;
        if (result != kChangeType) {
            items[static_cast<size_t>(result)].value ^= 1;
            continue;
        }
        ChooseLineDefType(x, y, NumbersOf(lineDefs));   // back to the dialog
    }
    std::vector<int> changed = items[kChangeAllFlags].value ? NumbersOf(lineDefs) : std::vector<int>{lineDefs.head()};
    edits::SetFlags(level, kObjLineDef, changed, FlagsOfBoxes(items, ports));
}

// --- The SideDef editor ----------------------------------------------------------

// The SideDefs the editor works on, the first LineDef's first.
std::vector<int> SideDefsToEdit(SelectionList& lineDefs, int side) {
    LineDef& first = *LineDefAt(lineDefs.head());
    std::vector<int> sides;
    if (!SideDefAt(SideField(first, side))) {
        edits::SidesAdded added = edits::AddMissingSides(level, lineDefs, SideOf(side));
        if (added.full)
            ErrorBeep();
        sides = added.sideDefs;
    } else {
        for (int n : lineDefs)
            if (LineDef* ld = LineDefAt(n))
                if (SideDefAt(SideField(*ld, side)))
                    sides.push_back(SideField(*ld, side));
    }
    int head = SideField(*LineDefAt(lineDefs.head()), side);
    auto found = std::find(sides.begin(), sides.end(), head);
    if (found != sides.end())
        std::rotate(sides.begin(), found, found + 1);
    return sides;
}

edits::NamePart TexturePart(int item) {
    return item == kUpperTexture    ? edits::NamePart::Upper
           : item == kNormalTexture ? edits::NamePart::Middle
                                    : edits::NamePart::Lower;
}

const char (&TextureOf(const SideDef& sd, int item))[8] {
    return item == kUpperTexture ? sd.upper : item == kNormalTexture ? sd.middle : sd.lower;
}

bool PerformSideDefItem(const std::vector<int>& sides, int item) {
    static const char* const kTitles[3] = {"Upper Wall Texture", "Normal Wall Texture",
                                           "Lower Wall Texture"};
    const SideDef& head = *SideDefAt(sides.front());
    switch (item) {
    case kUpperTexture:
    case kNormalTexture:
    case kLowerTexture: {
        char name[kChosenNameSize] = {};
        std::memcpy(name, TextureOf(head, item), 8);
        if (ChooseTextureName(kCentred, kCentred, WindowSave::Always, kTitles[item - 1], name) &&
            name[0])
            edits::SetName(level, sides, TexturePart(item), name);
        break;
    }
    case kOffsets: {
        std::vector<FormField> fields = {{"Xoffset", -kMaxOffset, kMaxOffset, head.xOffset},
                                         {"Yoffset", -kMaxOffset, kMaxOffset, head.yOffset}};
        if (NumberForm(kCentred, kCentred, WindowSave::Always, "Texture X,Y offsets", fields) == 1) {
            edits::SetNumber(level, sides, edits::NumberField::SideXOffset, fields[0].value);
            edits::SetNumber(level, sides, edits::NumberField::SideYOffset, fields[1].value);
        }
        break;
    }
    case kSectorReference: {
        bool confirmed = false;
        int sector = CrossReferenceEntry(kCentred, kCentred, kObjSector, false, head.sector,
                                         &confirmed);
        if (confirmed && sector >= 0)
            edits::SetNumber(level, sides, edits::NumberField::SideSector, sector);
        break;
    }
    case kTextureBrowser: {
        char ignored[kChosenNameSize];
        BrowseTextures(EntryNameText(head.middle).c_str(), ignored);
        break;
    }
    default: return false;
    }
    return true;
}

std::vector<std::string> SideDefItems(const SideDef& sd) {
    return {Format("Upper Texture   : %s", EntryNameText(sd.upper).c_str()),
            Format("Normal Texture  : %s", EntryNameText(sd.middle).c_str()),
            Format("Lower Texture   : %s", EntryNameText(sd.lower).c_str()),
            Format("Texture X,Y off : %hd,%hd", sd.xOffset, sd.yOffset),
            Format("Sector Reference: %d", ReferenceNumber(sd.sector)),
            "Texture Browser"};
}

void EditSideDefs(int y, SelectionList& lineDefs, int side, int directItem) {
    std::vector<int> sides = SideDefsToEdit(lineDefs, side);
    if (sides.empty())
        return;
    if (directItem > 0) {   // the texture clicked in the info panel
        PerformSideDefItem(sides, PanelTextureBand(side));
        return;
    }
    int head = sides.front();
    EditMenu menu;
    menu.x = graphics.maxX / 7;
    menu.helpTopic = "SIDEDEFS";
    menu.title = [head] { return Format("Edit SideDef %d", head); };
    menu.items = [head] { return SideDefItems(*SideDefAt(head)); };
    menu.perform = [&sides](int item) { return PerformSideDefItem(sides, item); };
    RunEditMenu(menu, y, 0);
}

// --- References to the SideDefs ----------------------------------------------------

void ReplaceSideDef(SelectionList& lineDefs, int side) {
    int n = lineDefs.head();
    int old = SideField(*LineDefAt(n), side);
    bool confirmed = false;
    int value = CrossReferenceEntry(kCentred, kCentred, kObjSideDef, true, ReferenceNumber(old), &confirmed);
    if (!confirmed || value < -1 || value == ReferenceNumber(old))
        return;
    edits::SetSideDefOf(level, n, SideOf(side), value);
}

bool PerformLineDefItem(int x, int y, SelectionList& lineDefs, int item, int directItem) {
    const LineDef& first = *LineDefAt(lineDefs.head());
    switch (item) {
    case kFlagsItem: FlagsDialog(x, y, lineDefs); break;
    case kSideDef1Item: EditSideDefs(y, lineDefs, 0, directItem); break;
    case kSideDef2Item: EditSideDefs(y, lineDefs, 1, directItem); break;
    case kTagItem: {
        int tag = 0;
        if (TagEntry("Sector (last %hd)", first.tag, tag))
            edits::SetNumber(level, NumbersOf(lineDefs), edits::NumberField::LineDefTag, tag);
        break;
    }
    case kSideDef1Reference: ReplaceSideDef(lineDefs, 0); break;
    case kSideDef2Reference: ReplaceSideDef(lineDefs, 1); break;
    default: return false;
    }
    return true;
}

std::vector<std::string> LineDefItems(int n, const LineDef& ld) {
    auto sideItem = [](int side, uint16_t sd) {
        return SideDefAt(sd) ? Format("Edit SideDef%d %d", side, ReferenceNumber(sd))
                             : Format("Add  SideDef%d", side);
    };
    return {Format("Edit LineDef  %d", n), sideItem(1, ld.sideDef1),
            sideItem(2, ld.sideDef2), Format("Sector Tag  : %hd", ld.tag),
            Format("SideDef1/Del: %d", ReferenceNumber(ld.sideDef1)),
            Format("SideDef2/Del: %d", ReferenceNumber(ld.sideDef2))};
}

}  // namespace

void EditLineDefs(int x, int y, SelectionList& lineDefs, int directItem) {
    int n = lineDefs.head();
    if (!LineDefAt(n))
        return;
    EditMenu menu;
    menu.x = graphics.maxX / 7;
    menu.helpTopic = "LINEDEFS";
    menu.title = [] { return std::string("LineDef/SideDef"); };
    menu.items = [n] { return LineDefItems(n, *LineDefAt(n)); };
    menu.perform = [&](int item) { return PerformLineDefItem(x, y, lineDefs, item, directItem); };
    RunEditMenu(menu, kCentred, directItem);
}
