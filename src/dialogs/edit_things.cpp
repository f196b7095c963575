// The Thing dialog: a compass rose for the angle, the five option flags, and
// the type chooser.
#include <string>
#include <vector>

#include "base/config.h"
#include "editor/info_panels.h"
#include "base/flavour.h"
#include "gamedefs/port_types.h"
#include "edits/object_values.h"
#include "gamedefs/thingtypes.h"
#include "level/level.h"
#include "dialogs/edit_objects.h"
#include "ops/edit_support.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/saved_area.h"
#include "ui/type_choosers.h"

namespace {

enum ThingControl {
    kDirectionE = 0,      // 0..7: the compass rose, 45 degrees apart
    kFirstFlag = 8,       // 8..12: the flags of bits 1, 2, 4, 8, 16
    kChangeAllSkills = 13,
    kChangeAllAngles = 14,
    kChangeType = 15,
    kFirstPortFlag = 16,  // the flags a port adds that the level's target knows
};
constexpr int kDirections = 8;
constexpr int kFlagBoxes = 5;

constexpr int kBoxWidth = 440, kBoxHeight = 270;
constexpr int kFormDx = 16, kFormDy = 56;   // the controls' origin in the box
constexpr int kSpriteSide = 120;

// The flags a port adds that the level's target knows, with their boxes'
// labels.
struct PortFlagBox {
    PortFlag flag;
    const char* label;
};
std::vector<PortFlagBox> PortFlagBoxes() {
    static const char* const kLabels[] = {"_XNot in DM", "_ONot in Coop", "_FFriendly"};
    std::vector<PortFlagBox> boxes;
    DefTable<PortFlag> flags = PortThingFlags();
    for (int i = 0; i < flags.count; ++i)
        if (!IsHeretic() && TargetAllows(level.target, flags.rows[i].needs))
            boxes.push_back({flags.rows[i], kLabels[i]});
    return boxes;
}

std::vector<OptionItem> ThingControls(const Thing& t) {
    std::vector<OptionItem> items = {
        {"_0E", 80, 40, 0, OptionKind::CheckBox},   {"_1NE", 70, 15, 0, OptionKind::CheckBox},
        {"_2N", 40, 0, 0, OptionKind::CheckBox},    {"_3NW", 10, 15, 0, OptionKind::CheckBox},
        {"_4W", 0, 40, 0, OptionKind::CheckBox},    {"_5SW", 10, 65, 0, OptionKind::CheckBox},
        {"_6S", 40, 80, 0, OptionKind::CheckBox},   {"_7SE", 70, 65, 0, OptionKind::CheckBox},
        {"_EEasy", 140, 0, 0, OptionKind::CheckBox},
        {"_MMedium", 140, 20, 0, OptionKind::CheckBox},
        {"_HHard", 140, 40, 0, OptionKind::CheckBox},
        {"_DDeaf", 140, 60, 0, OptionKind::CheckBox},
        {"_NNetWork", 140, 80, 0, OptionKind::CheckBox},
        {"_SChange All Skills", 0, 104, 0, OptionKind::CheckBox},
        {"_AChange All Angles", 0, 122, 0, OptionKind::CheckBox},
        {"_Tchange Type", 0, 164, 0, OptionKind::Button},
    };
    for (int i = 0; i < kFlagBoxes; ++i)
        items[static_cast<size_t>(kFirstFlag + i)].value = (t.flags >> i) & 1;
    std::vector<PortFlagBox> ports = PortFlagBoxes();
    for (size_t p = 0; p < ports.size(); ++p)
        items.push_back({ports[p].label, 174, 104 + 18 * static_cast<int>(p),
                         (static_cast<uint16_t>(t.flags) & ports[p].flag.mask) != 0, OptionKind::CheckBox});
    if (t.angle >= 0 && t.angle < 360)
        items[static_cast<size_t>(t.angle / 45)].value = 1;
    return items;
}

// The box under the controls: its number, the type and its sprite.
void DrawThingBox(int x, int y, int n, const Thing& t) {
    RaisedBox(x, y, x + kBoxWidth, y + kBoxHeight, config.colors[kColorMenu]);
    SetColor(config.colors[kColorMenuHilite]);
    TextAt(x + graphics.charW, y + 6, "Thing %d", n);
    SetColor(0);
    TextAt(-1, -1, "%s", GetThingTypeDescription(static_cast<uint16_t>(t.type)));
    TextAt(x + kFormDx, y + kFormDy - 14, "Angle");
    TextAt(x + kFormDx + 140, y + kFormDy - 14, "Skill");
    int sx = x + kBoxWidth - kSpriteSide - 12;
    DrawFramedSprite(sx, y + kFormDy, sx + kSpriteSide, y + kFormDy + kSpriteSide,
                  GetThingTypeSprite(static_cast<uint16_t>(t.type)));
}

int MarkedDirection(const std::vector<OptionItem>& items) {
    for (int i = 0; i < kDirections; ++i)
        if (items[static_cast<size_t>(i)].value)
            return i;
    return -1;
}

ShownFlags FlagsOfBoxes(const std::vector<OptionItem>& items) {
    ShownFlags flags{static_cast<uint16_t>((1u << kFlagBoxes) - 1), 0};
    for (int i = 0; i < kFlagBoxes; ++i)
        if (items[static_cast<size_t>(kFirstFlag + i)].value)
            flags.value |= static_cast<uint16_t>(1u << i);
    std::vector<PortFlagBox> ports = PortFlagBoxes();
    for (size_t p = 0; p < ports.size(); ++p) {
        flags.mask |= ports[p].flag.mask;
        if (items[kFirstPortFlag + p].value)
            flags.value |= ports[p].flag.mask;
    }
    return flags;
}

// The first Thing takes the boxes; the others the flags and the angle when
// their "all" boxes are ticked.
void ApplyThingControls(SelectionList& things, const std::vector<OptionItem>& items) {
    const std::vector<int> first = {things.head()}, all = NumbersOf(things);
    edits::SetFlags(level, kObjThing, items[kChangeAllSkills].value ? all : first, FlagsOfBoxes(items));
    int direction = MarkedDirection(items);   // an angle off the rose stays as it was
    int angle = direction >= 0 ? 45 * direction : ThingAt(things.head())->angle;
    edits::SetNumber(level, items[kChangeAllAngles].value ? all : first, edits::NumberField::ThingAngle, angle);
}

}  // namespace

void EditThings(int x, int y, SelectionList& things) {
    if (!ThingAt(things.head()))
        return;
    int bx = (graphics.maxX - kBoxWidth) / 2, by = (graphics.maxY - kBoxHeight) / 2;
    std::vector<OptionItem> items = ThingControls(*ThingAt(things.head()));
    int buttonY = by + kBoxHeight - graphics.lineH - 12;
    ButtonDef ok = {"Ok", kFormButtonKey, bx + 250, buttonY, bx + 300, buttonY + graphics.lineH + 5};
    ButtonDef cancel = {"Cancel", kKeyEsc, bx + 320, buttonY, bx + 390,
                        buttonY + graphics.lineH + 5};
    int current = kChangeType, key = 0;
    for (;;) {
        DrawThingBox(bx, by, things.head(), *ThingAt(things.head()));
        int result = OptionForm(FormMode::UntilDecided, "THINGS", current, key, ok, cancel,
                                bx + kFormDx, by + kFormDy, items);
        if (result == kOptionCancel)
            return;
        if (result == kOptionOk) {
            ApplyThingControls(things, items);
            return;
        }
        if (result < kDirections) {
            for (int i = 0; i < kDirections; ++i)
                items[static_cast<size_t>(i)].value = i == result;
        } else if (result != kChangeType) {
            items[static_cast<size_t>(result)].value ^= 1;
        } else {
            ChooseThingType(x, y, NumbersOf(things));   // back to the dialog
        }
    }
}
