#include "checker/statistics.h"

#include <cstdint>

#include "base/flavour.h"
#include "base/format.h"
#include "gamedefs/gamedefs.h"
#include "level/level.h"
#include "ui/message_box.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace {

constexpr int kMaxCategoryTypes = 30;

// The five columns: skills 1-2, 3, 4-5, deaf, network (flag bits 1 to 16).
constexpr int kColumns = 5;
using Counts = int[kColumns];

struct Category {
    uint16_t code;
    const char* name;
};
constexpr Category kCategories[] = {{kThingCatEnemies, "Enemies"},
                                    {kThingCatEquipment, "Equipment"},
                                    {kThingCatWeapons, "Weapons"},
                                    {kThingCatAmmunition, "Ammunition"}};

StatisticsBox ObjectCounts() {
    struct Row {
        const char* name;
        long count;
        long recordSize;
    };
    const Row rows[] = {
        {"Things", level.things.count, sizeof(Thing)},
        {"Vertices", level.vertices.count, sizeof(Vertex)},
        {"LineDefs", level.lineDefs.count, sizeof(LineDef)},
        {"SideDefs", level.sideDefs.count, sizeof(SideDef)},
        {"Sectors", level.sectors.count, sizeof(Sector)},
        {"Segs", level.numSegs, kSegRecord},
        {"SSectors", level.numSSectors, kSSectorRecord},
        {"Nodes", level.numNodes, kNodeRecord},
        {"Reject", level.rejectSize, 1},
        {"BlockMap", level.blockmapSize, 1},
    };
    StatisticsBox box{"Number of Object Statistics", {" Description   Number Size Kb"}};
    for (const Row& r : rows)
        box.lines.push_back(Format("%-13s %6ld %6ld", r.name, r.count, (r.count * r.recordSize + 511) / 1024));
    return box;
}

// The rows of a category as the Thing chooser lists them: those under every
// header of the category, at most 30, without the later game's types in a
// game of episodes.
std::vector<const ThingTypeInfo*> CategoryTypes(uint16_t category) {
    std::vector<const ThingTypeInfo*> types;
    bool inside = false;
    for (const ThingTypeInfo& row : CurrentDefinitions().things) {
        if (IsHeaderType(row.type)) {
            inside = row.type == category;
            continue;
        }
        if (!inside || (master.gameStyle == kStyleEpisodes && IsLaterGameDescription(row.description)))
            continue;
        if (static_cast<int>(types.size()) == kMaxCategoryTypes)
            break;
        types.push_back(&row);
    }
    return types;
}

void CountThingsOf(uint16_t type, Counts counts) {
    for (const Thing& t : level.things) {
        if (static_cast<uint16_t>(t.type) != type)
            continue;
        for (int c = 0; c < kColumns; ++c)
            if (t.flags & (1 << c))
                ++counts[c];
    }
}

std::string CountColumns(const Counts counts) {
    return Format("%5d%5d%5d%5d%5d", counts[0], counts[1], counts[2], counts[3], counts[4]);
}

// The table of one category, its totals added to totals; false when the
// category has no types.
bool CategoryTable(const Category& category, Counts totals, StatisticsBox& box) {
    std::vector<const ThingTypeInfo*> types = CategoryTypes(category.code);
    if (types.empty())
        return false;
    bool heretic = IsHeretic();
    box.title = category.name;
    box.lines = {heretic ? " Description                 Easy Med Hard Deaf  Net"
                         : " Description        Easy Med Hard Deaf  Net"};
    Counts sums = {};
    for (const ThingTypeInfo* row : types) {
        Counts counts = {};
        CountThingsOf(row->type, counts);
        for (int c = 0; c < kColumns; ++c)
            sums[c] += counts[c];
        box.lines.push_back(Format(heretic ? "%-25.25s %s" : "%-16s %s", row->description,
                                   CountColumns(counts).c_str()));
    }
    box.lines.push_back(Format(heretic ? "                 Totals   %s" : "        Totals   %s",
                               CountColumns(sums).c_str()));
    for (int c = 0; c < kColumns; ++c)
        totals[c] = sums[c];
    return true;
}

}  // namespace

std::vector<StatisticsBox> LevelStatistics() {
    std::vector<StatisticsBox> boxes = {ObjectCounts()};
    StatisticsBox summary{"Summary", {" Description        Easy Med Hard Deaf  Net"}};
    for (const Category& category : kCategories) {
        Counts totals = {};
        StatisticsBox table;
        if (CategoryTable(category, totals, table))
            boxes.push_back(table);
        summary.lines.push_back(Format("%-16s %s", category.name, CountColumns(totals).c_str()));
    }
    boxes.push_back(summary);
    return boxes;
}

void ShowStatistics() {
    for (const StatisticsBox& box : LevelStatistics()) {
        std::vector<const char*> lines;
        for (const std::string& line : box.lines)
            lines.push_back(line.c_str());
        MessageBox(kCentred, kCentred, LineAlign::Left, "Ok!", kAnyKey, nullptr, 0, box.title.c_str(), lines);
    }
}
