#include "ui/type_choosers.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

#include "base/config.h"
#include "base/flavour.h"
#include "edits/object_values.h"
#include "gamedefs/gamedefs.h"
#include "gamedefs/port_types.h"
#include "ui/generalized_dialog.h"
#include "level/level.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/saved_area.h"
#include "ui/sprite_views.h"
#include "wad/master.h"

namespace {

constexpr int kMaxThingListEntries = 30;
constexpr int kMaxSpecialListEntries = 32;
constexpr int kTypeEntryMax = 9999;
constexpr int kPortTypeEntryMax = 32767;   // Boom's generalized LineDef types and Sector bits
constexpr int kPreviewSide = 128;   // the sprite box beside the Thing menus
constexpr int kPreviewMargin = 8;

// A menu item that opens the list of one category.
struct CategoryItem {
    int item;            // 1-based menu item
    uint16_t code;       // header code in the table
    const char* title;   // the list's title
};

const char* const kHereticThingMenu[] = {
    "Exit", "Enter a Thing#", "Player Start/Teleport", "Keys", "Equipment", "Weapons",
    "Ammunition", "Enemies", "Decorations", "Light Sources", "Corpses", "Geology/Pods",
    "Ambient Sounds"};
const char* const kDoomThingMenu[] = {
    "Exit", "Enter a Thing#", "Player Start/Teleport", "Keys", "Equipment", "Weapons",
    "Ammunition", "Enemies", "Decorations", "Light Sources", "Corpses", "Hanging Corpses"};

const CategoryItem kThingCategories[] = {
    {3, kThingCatStarts, "Player Starts"},
    {4, kThingCatKeys, "Keys"},
    {5, kThingCatEquipment, "Equipment"},
    {6, kThingCatWeapons, "Weapons"},
    {7, kThingCatAmmunition, "Ammunition"},
    {8, kThingCatEnemies, "Enemies"},
    {9, kThingCatDecorations, "Decorations"},
    {10, kThingCatLightSources, "Light Sources"},
    {11, kThingCatCorpses, "Corpses"},
    {12, kThingCatGeology, nullptr},   // titled by flavour
    {13, kThingCatAmbientSounds, "Sounds"},
};

const char* const kLineDefMenu[] = {
    "Exit", "Normal (no menu)", "Door (keys)", "Door (open)", "Door (close)", "Ceilings",
    "Crushers", "Floors raise Ceil", "Floors raise Floor", "Floors lower", "Stairs",
    "Lifts & Moving", "Lights", "Special", "Decimal value"};

const CategoryItem kLineDefCategories[] = {
    {3, kLineCatDoorKey, "DoorKey"},
    {4, kLineCatDoorOpen, "DoorOpen"},
    {5, kLineCatDoorClose, "DoorClose"},
    {6, kLineCatCeilings, "Ceilings"},
    {7, kLineCatCrushers, "Crushers"},
    {8, kLineCatFloorRaiseCeil, "FloorRaiseCeil"},
    {9, kLineCatFloorRaiseFloor, "FloorRaiseFlr"},
    {10, kLineCatFloorLower, "FloorLower"},
    {11, kLineCatStairs, "Stairs"},
    {12, kLineCatLifts, "Lifts & Moving"},
    {13, kLineCatLights, "Lights"},
    {14, kLineCatSpecial, "Teleport/End/Special"},
};

const char* const kHereticSectorMenu[] = {"Exit", "Normal (no menu)", "Lights/Damage", "Scrolls",
                                          "Winds", "Decimal value"};
const char* const kDoomSectorMenu[] = {"Exit", "Normal (no menu)", "Lights", "Health/Damage",
                                       "Secret/Other", "Decimal value"};

constexpr int kItemExit = 1;
constexpr int kItemNormal = 2;      // LineDefs and Sectors: type 0
constexpr int kItemThingNumber = 2;

bool Heretic() { return IsHeretic(); }

template <class Row>
bool SkippedRow(const Row& row) {
    return master.gameStyle == kStyleEpisodes && IsLaterGameDescription(row.description);
}

// The count of header rows above the first ordinary row of the type (all of
// them when no row has it).
template <class Row>
int HeadersAbove(const DefTable<Row>& table, int type) {
    int headers = 0;
    for (const Row& row : table) {
        if (IsHeaderType(row.type))
            ++headers;
        else if (row.type == type)
            break;
    }
    return headers;
}

// The ordinary rows under every header of the code, in table order.
template <class Row>
std::vector<const Row*> CategoryRows(const DefTable<Row>& table, uint16_t code, int limit) {
    std::vector<const Row*> rows;
    bool inside = false;
    for (const Row& row : table) {
        if (IsHeaderType(row.type)) {
            inside = row.type == code;
            continue;
        }
        if (inside && !SkippedRow(row) && static_cast<int>(rows.size()) < limit)
            rows.push_back(&row);
    }
    return rows;
}

const CategoryItem* FindItem(const CategoryItem* begin, const CategoryItem* end, int item) {
    for (const CategoryItem* c = begin; c != end; ++c)
        if (c->item == item)
            return c;
    return nullptr;
}

// A menu of the rows' descriptions, the row of type highlighted: the chosen
// row's type, or -1. A list longer than a menu holds is shown a page at a
// time, each page ending in an item that turns to the next one.
template <class Row>
int ChooseRow(int x, int y, const char* title, const char* helpTopic,
              const std::vector<const Row*>& rows, int type, const MenuHook& hook, size_t pageRows = 0) {
    if (rows.empty())
        return -1;
    size_t page = pageRows == 0 || rows.size() <= pageRows ? rows.size() : pageRows - 1;
    auto found = std::find_if(rows.begin(), rows.end(), [&](const Row* row) { return row->type == type; });
    size_t first = found == rows.end() ? 0 : static_cast<size_t>(found - rows.begin()) / page * page;
    for (;;) {
        size_t end = std::min(first + page, rows.size());
        std::vector<const char*> items;
        int current = 0;
        for (size_t i = first; i < end; ++i) {
            items.push_back(rows[i]->description);
            if (rows[i]->type == type && current == 0)
                current = static_cast<int>(items.size());
        }
        bool paged = page < rows.size();
        if (paged)
            items.push_back(end < rows.size() ? "-- more --" : "-- first page --");
        MenuExtras extras;
        extras.hook = [&](int a, int b, MenuHookPhase phase, int index) {
            if (hook && static_cast<size_t>(index) < end - first)
                hook(a, b, phase, static_cast<int>(first) + index);
        };
        int chosen = DisplayMenu(x, y, MenuStyle::Plain, std::max(current, 1), helpTopic, WindowSave::Always, title,
                                 static_cast<int>(items.size()), items.data(), extras);
        if (chosen < 1)
            return -1;
        if (static_cast<size_t>(chosen) <= end - first)
            return rows[first + static_cast<size_t>(chosen) - 1]->type;
        first = end < rows.size() ? end : 0;
    }
}

// Whether the level's target knows Boom's types: generalized LineDef types,
// Sector bits and the numbers above the original games'.
bool PortTypes() { return !Heretic() && TargetAllows(level.target, MapTarget::Boom); }

// A number entry titled kind, labelled "Type": the number, or -1 when
// cancelled. A number above the entry's range is no entry's to change: it is
// left as it is unless another is typed.
int EnterType(int x, int y, const char* kind, int value, int maximum = kTypeEntryMax) {
    std::vector<FormField> fields = {{"Type", 0, maximum, std::clamp(value, 0, maximum)}};
    if (!NumberForm(x, y, WindowSave::Always, kind, fields))
        return -1;
    if (fields[0].value == std::clamp(value, 0, maximum) && value != fields[0].value)
        return value;
    return fields[0].value;
}

bool Nesting(ChooserRepeat repeat) {
    return repeat == ChooserRepeat::BySetting && config.menuNesting != 0;
}

// The sprite box at the right of the screen beside the Thing menus; a
// sprite is drawn only when it differs from the one shown.
class SpritePreview {
public:
    explicit SpritePreview(int y) {
        x2_ = graphics.maxX - kPreviewMargin;
        x1_ = x2_ - kPreviewSide - 3;
        y1_ = std::clamp(y, 0, std::max(0, graphics.maxY - kPreviewSide - 3));
        y2_ = y1_ + kPreviewSide + 3;
        SaveArea(x1_, y1_, x2_, y2_, area_, WindowSave::Always);
    }
    ~SpritePreview() { RestoreArea(area_); }
    SpritePreview(const SpritePreview&) = delete;
    SpritePreview& operator=(const SpritePreview&) = delete;

    void Show(const char* sprite) {
        if (shown_ == sprite)
            return;
        shown_ = sprite;
        PointerGuard guard;
        RaisedBox(x1_, y1_, x2_, y2_, config.colors[kColorMenu]);
        DrawSpriteBox(x1_ + 2, y1_ + 2, x2_ - 2, y2_ - 2, sprite);
    }

private:
    int x1_, y1_, x2_, y2_;
    SavedArea area_;
    std::string shown_ = "\x01";   // matches no sprite name
};

const char* HeaderSprite(uint16_t code) {
    for (const ThingTypeInfo& row : CurrentDefinitions().things)
        if (row.type == code)
            return row.sprite;
    return "";
}

// One pass of the Thing chooser: the type chosen (above 0), 0 when nothing
// was chosen, -1 when the category menu was left (Exit, Esc).
int ThingPass(int x, int y, int type, SpritePreview& preview) {
    DefTable<ThingTypeInfo> table = CurrentDefinitions().things;
    const char* const* items = Heretic() ? kHereticThingMenu : kDoomThingMenu;
    int count = static_cast<int>(Heretic() ? std::size(kHereticThingMenu) : std::size(kDoomThingMenu));
    std::vector<uint16_t> codes = {kThingCatExit, kThingCatNumber};
    for (int item = 3; item <= count; ++item)
        codes.push_back(FindItem(std::begin(kThingCategories), std::end(kThingCategories), item)->code);
    MenuExtras extras;
    extras.hook = [&](int, int, MenuHookPhase, int index) {
        preview.Show(HeaderSprite(codes[static_cast<size_t>(index)]));
    };
    int current = std::clamp(HeadersAbove(table, type), 1, count);
    int item = DisplayMenu(x, y, MenuStyle::Plain, current, "THINGS", WindowSave::Always, "Category",
                           count, items, extras);
    if (item < 1 || item == kItemExit || item > count)
        return -1;
    if (item == kItemThingNumber)
        return std::max(0, EnterType(x, y, "Thing", type));
    const CategoryItem* category =
        FindItem(std::begin(kThingCategories), std::end(kThingCategories), item);
    const char* title = category->title ? category->title : Heretic() ? "Geology/Pods" : "Hanging Corpes";
    std::vector<const ThingTypeInfo*> rows = CategoryRows(table, category->code, kMaxThingListEntries);
    MenuHook hook = [&](int, int, MenuHookPhase, int index) {
        preview.Show(rows[static_cast<size_t>(index)]->sprite);
    };
    return std::max(0, ChooseRow(x, y, title, "THINGS", rows, type, hook));
}

// Runs the Thing chooser from type; apply takes the chosen type. A pick goes
// back to the dialog that asked; with nesting, a list or entry left without
// one comes back to the category menu.
void RunThingChooser(int x, int y, int type, ChooserRepeat repeat,
                     const std::function<void(int)>& apply) {
    SpritePreview preview(y);
    for (;;) {
        int chosen = ThingPass(x, y, type, preview);
        if (chosen > 0)
            apply(chosen);
        if (chosen != 0 || !Nesting(repeat))
            return;
    }
}

// One pass of a LineDef or Sector chooser: the type chosen (0 or more), -1
// when nothing was, -2 when the menu was left.
template <class Row>
int SpecialPass(int x, int y, const char* menuTitle, const char* helpTopic, const char* kind,
                const std::vector<const char*>& items, const CategoryItem* categories,
                int categoryCount, DefTable<Row> table, int type) {
    int count = static_cast<int>(items.size());
    int current = std::clamp(HeadersAbove(table, type) + 1, 1, count);
    int item = SimpleMenu(x, y, MenuStyle::Plain, current, helpTopic, WindowSave::Always, menuTitle,
                          items);
    if (item < 1 || item == kItemExit || item > count)
        return -2;
    if (item == kItemNormal)
        return 0;
    if (item == count)
        return EnterType(x, y, kind, type, PortTypes() ? kPortTypeEntryMax : kTypeEntryMax);
    const CategoryItem* category = FindItem(categories, categories + categoryCount, item);
    if (!category)   // the generalized types, the one item that is no category
        return GeneralizedTypeDialog(x, y, type);
    const char* title = category->title ? category->title : items[static_cast<size_t>(item - 1)];
    return ChooseRow(x, y, title, helpTopic, CategoryRows(table, category->code, table.count), type, MenuHook(),
                     kMaxSpecialListEntries);
}

template <class Record>
int FirstType(const ObjectArray<Record>& records, const std::vector<int>& list,
              int16_t Record::*field) {
    const Record* r = list.empty() ? nullptr : records.at(list.front());
    return r ? r->*field : 0;
}

// Runs a LineDef or Sector chooser, writing the choice (edits::SetType on
// the objects of the type code); as the Thing chooser, it comes back to its
// menu only when a list or entry was left without one.
template <class Record, class Row>
ChooserResult RunSpecialChooser(int x, int y, const char* menuTitle, const char* helpTopic,
                                const char* kind, const std::vector<const char*>& items,
                                const CategoryItem* categories, int categoryCount,
                                DefTable<Row> table, ObjectArray<Record>& records,
                                const std::vector<int>& list, int16_t Record::*field,
                                ChooserRepeat repeat, int type) {
    ChooserResult result;
    if (list.empty() || !records.at(list.front()))
        return result;
    for (;;) {
        int chosen = SpecialPass(x, y, menuTitle, helpTopic, kind, items, categories,
                                 categoryCount, table, FirstType(records, list, field));
        if (chosen >= 0) {
            result.chosen = true;
            result.changed = edits::SetType(level, type, list, chosen) || result.changed;
        }
        if (chosen != -1 || !Nesting(repeat))
            return result;
    }
}

}  // namespace

ChooserResult ChooseThingType(int x, int y, const std::vector<int>& things, ChooserRepeat repeat) {
    ChooserResult result;
    if (things.empty() || !level.things.at(things.front()))
        return result;
    RunThingChooser(x, y, FirstType(level.things, things, &Thing::type), repeat, [&](int type) {
        result.chosen = true;
        result.changed = edits::SetType(level, kObjThing, things, type) || result.changed;
    });
    return result;
}

bool ChooseDefaultThingType(int x, int y, int& type) {
    bool chosen = false;
    RunThingChooser(x, y, type, ChooserRepeat::BySetting, [&](int t) {
        type = t;
        chosen = true;
    });
    return chosen;
}

ChooserResult ChooseLineDefType(int x, int y, const std::vector<int>& lineDefs, ChooserRepeat repeat) {
    std::vector<const char*> items(std::begin(kLineDefMenu), std::end(kLineDefMenu));
    if (PortTypes())
        items.insert(items.end() - 1, "Generalized");
    return RunSpecialChooser(x, y, "LineDef Type", "LINEDEFS", "LineDef", items, kLineDefCategories,
                             static_cast<int>(std::size(kLineDefCategories)),
                             LineDefTypeTable(level.target), level.lineDefs, lineDefs,
                             &LineDef::type, repeat, kObjLineDef);
}

ChooserResult ChooseSectorType(const std::vector<int>& sectors, ChooserRepeat repeat) {
    static const CategoryItem kSectorCategories[] = {
        {3, 0x8001, nullptr}, {4, 0x8002, nullptr}, {5, 0x8003, nullptr}};
    std::vector<const char*> items = Heretic()
        ? std::vector<const char*>(std::begin(kHereticSectorMenu), std::end(kHereticSectorMenu))
        : std::vector<const char*>(std::begin(kDoomSectorMenu), std::end(kDoomSectorMenu));
    PointerRestore pointer;
    HidePointer();
    SavedArea screen;
    SaveArea(0, 0, graphics.maxX, graphics.maxY, screen, WindowSave::Always);
    int y = std::max(0, graphics.maxY / 2 - 24 * graphics.lineH);
    ChooserResult result = RunSpecialChooser(
        kCentred, y, "Sector Type", "SECTORS", "Sector", items, kSectorCategories,
        static_cast<int>(std::size(kSectorCategories)), CurrentDefinitions().sectorTypes,
        level.sectors, sectors, &Sector::type, repeat, kObjSector);
    RestoreArea(screen);
    return result;
}
