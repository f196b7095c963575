// Checks that hold for the tables of both flavours: the tables, the chooser
// menus built on their headers and the lookups agree with one another.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "gamedefs/linetypes.h"
#include "gamedefs/thingtypes.h"
#include "shell/flavour.h"
#include "support/testkit.h"

namespace {

class BothFlavours : public ::testing::TestWithParam<Flavour> {
protected:
    void SetUp() override { SetFlavour(GetParam()); }
    void TearDown() override { SetFlavour(Flavour::Heretic); }
    const GameDefinitions& defs() const { return CurrentDefinitions(); }
};

INSTANTIATE_TEST_SUITE_P(Gamedefs, BothFlavours,
                         ::testing::Values(Flavour::Heretic, Flavour::Doom),
                         [](const auto& info) {
                             return info.param == Flavour::Heretic ? "Heretic" : "Doom";
                         });

template <class Row>
std::vector<uint16_t> HeaderCodes(const DefTable<Row>& table) {
    std::vector<uint16_t> codes;
    for (const Row& row : table)
        if (IsHeaderType(row.type)) codes.push_back(row.type);
    return codes;
}

template <class Row>
void ExpectNoDuplicateTypes(const DefTable<Row>& table) {
    std::set<uint16_t> seen;
    for (const Row& row : table) EXPECT_TRUE(seen.insert(row.type).second) << row.type;
}

// The item the chooser preselects for every type must be the menu's list of
// that type's category, and the list must hold the type.
template <class Row>
void ExpectMenuFindsEveryType(const DefTable<Row>& table, const TypeMenu& menu,
                              int (*chooserItem)(uint16_t), int limit) {
    uint16_t category = 0;
    for (const Row& row : table) {
        if (IsHeaderType(row.type)) {
            category = row.type;
            continue;
        }
        int item = chooserItem(row.type);
        ASSERT_GE(item, 1) << row.type;
        ASSERT_LE(item, menu.items.count) << row.type;
        const TypeMenuItem& entry = menu.items.rows[item - 1];
        if (entry.action == MenuAction::NormalType) {
            EXPECT_EQ(row.type, 0);
            continue;
        }
        ASSERT_EQ(entry.action, MenuAction::CategoryList) << row.type;
        EXPECT_EQ(entry.code, category) << row.type;
        std::vector<const Row*> list = CategoryRows(table, entry.code, limit, false);
        bool listed = false;
        for (const Row* r : list) listed |= r == &row;
        EXPECT_TRUE(listed) << row.type << " missing from " << entry.listTitle;
    }
}

TEST_P(BothFlavours, HeadersStandInMenuOrder) {
    bool heretic = GetParam() == Flavour::Heretic;
    std::vector<uint16_t> things = HeaderCodes(defs().things);
    std::vector<uint16_t> expected = {0x8001, 0x800D, 0x8002, 0x8006, 0x8007, 0x8004, 0x8005,
                                      0x8003, 0x8008, 0x8009, 0x800A, 0x800B};
    if (heretic) expected.push_back(0x800E);
    EXPECT_EQ(things, expected);
    EXPECT_EQ(HeaderCodes(defs().lineDefTypes),
              (std::vector<uint16_t>{0x8000, 0x8001, 0x8002, 0x8003, 0x8004, 0x8005, 0x8007,
                                     0x8008, 0x8009, 0x8006, 0x800A, 0x800B, 0x800C}));
    EXPECT_EQ(HeaderCodes(defs().sectorTypes),
              (std::vector<uint16_t>{0x8000, 0x8001, 0x8002, 0x8003}));
    if (heretic) {   // 13 + 96 Thing rows, 13 + 108 LineDef rows, 4 + 40 Sector rows
        EXPECT_EQ(defs().things.count, 109);
        EXPECT_EQ(defs().lineDefTypes.count, 121);
        EXPECT_EQ(defs().sectorTypes.count, 44);
    }
    EXPECT_STREQ(defs().lineDefTypes.rows[0].description, "");
    EXPECT_STREQ(defs().sectorTypes.rows[0].description, "");
}

TEST_P(BothFlavours, NoTypeHasTwoRows) {
    ExpectNoDuplicateTypes(defs().things);
    ExpectNoDuplicateTypes(defs().lineDefTypes);
    ExpectNoDuplicateTypes(defs().sectorTypes);
}

TEST_P(BothFlavours, ChoosersFindEveryType) {
    ExpectMenuFindsEveryType(defs().things, defs().thingMenu, ThingChooserItem,
                             kThingListLimit);
    ExpectMenuFindsEveryType(defs().lineDefTypes, defs().lineDefMenu, LineDefChooserItem,
                             kTypeListLimit);
    ExpectMenuFindsEveryType(defs().sectorTypes, defs().sectorMenu, SectorChooserItem,
                             kTypeListLimit);
}

TEST_P(BothFlavours, ThingRowsCanBeDrawn) {
    for (const ThingTypeInfo& row : defs().things) {
        ASSERT_NE(row.sprite, nullptr);
        EXPECT_GE(std::strlen(row.sprite), 5u) << row.type;
        EXPECT_LE(std::strlen(row.sprite), 8u) << row.type;
        if (IsHeaderType(row.type)) {
            EXPECT_EQ(row.colour, 0);
            EXPECT_EQ(row.radius, 0);
        } else {
            EXPECT_GE(row.colour, 1) << row.type;
            EXPECT_LE(row.colour, 15) << row.type;
            EXPECT_GT(row.radius, 0) << row.type;
        }
    }
}

TEST_P(BothFlavours, ShortNamesFitNarrowPanels) {
    for (const SpecialTypeInfo& row : defs().lineDefTypes)
        EXPECT_LE(GetLineDefTypeShortName(row.type).size(), 16u) << row.type;
    for (const SpecialTypeInfo& row : defs().sectorTypes)
        EXPECT_LE(GetSectorTypeShortName(row.type).size(), 16u) << row.type;
}

TEST_P(BothFlavours, EpisodeGamesHideNoLineOrSectorType) {
    // The engine runs every LineDef and Sector type in both games, so no row
    // may carry the later game's mark; HERETIC marks no Thing either.
    for (const SpecialTypeInfo& row : defs().lineDefTypes)
        EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
    for (const SpecialTypeInfo& row : defs().sectorTypes)
        EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
    if (GetParam() == Flavour::Heretic) {
        for (const ThingTypeInfo& row : defs().things)
            EXPECT_FALSE(IsLaterGameDescription(row.description)) << row.type;
    }
}

TEST(CategoryRows, TakesRowsAfterEveryHeaderUpToTheLimit) {
    const SpecialTypeInfo rows[] = {
        {0x8001, "A", nullptr}, {1, "one", nullptr},  {2, "two 2", nullptr},
        {0x8002, "B", nullptr}, {3, "three", nullptr},
        {0x8001, "A", nullptr}, {4, "four", nullptr}, {5, "five", nullptr},
    };
    DefTable<SpecialTypeInfo> table = MakeTable(rows);
    auto types = [](const std::vector<const SpecialTypeInfo*>& list) {
        std::vector<int> t;
        for (const SpecialTypeInfo* row : list) t.push_back(row->type);
        return t;
    };
    EXPECT_EQ(types(CategoryRows(table, 0x8001, 32, false)), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(types(CategoryRows(table, 0x8001, 32, true)), (std::vector<int>{1, 4, 5}));
    EXPECT_EQ(types(CategoryRows(table, 0x8001, 3, false)), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(types(CategoryRows(table, 0x8001, 0, false)), (std::vector<int>{}));
    EXPECT_EQ(HeadersAboveType(table, 4), 3);
    EXPECT_EQ(HeadersAboveType(table, 0x8002), 3);   // headers are not looked for
    EXPECT_EQ(HeadersAboveType(table, 9), 3);
}

// Lump names of a WAD, read directly from its directory.
std::set<std::string> LumpNames(const std::string& path) {
    testkit::Bytes wad = testkit::ReadFileBytes(path);
    auto le32 = [&](size_t at) {
        return static_cast<uint32_t>(wad[at] | wad[at + 1] << 8 | wad[at + 2] << 16 |
                                     wad[at + 3] << 24);
    };
    std::set<std::string> names;
    uint32_t count = le32(4), directory = le32(8);
    for (uint32_t i = 0; i < count && directory + 16 * (i + 1) <= wad.size(); i++) {
        const char* name = reinterpret_cast<const char*>(&wad[directory + 16 * i + 8]);
        names.insert(std::string(name, strnlen(name, 8)));
    }
    return names;
}

bool HasSpriteLump(const std::set<std::string>& lumps, const std::string& sprite) {
    if (lumps.count(sprite)) return true;
    std::string frame = sprite.substr(0, 5);
    auto it = lumps.lower_bound(frame);
    return it != lumps.end() && it->compare(0, 5, frame) == 0;
}

TEST(DoomSprites, EverySpriteIsInTheIwads) {
    std::string doom2 = testkit::FreedoomIwad(2), doom1 = testkit::FreedoomIwad(1);
    if (doom2.empty() || doom1.empty()) GTEST_SKIP() << "Freedoom IWADs not installed";
    std::set<std::string> lumps2 = LumpNames(doom2), lumps1 = LumpNames(doom1);
    ASSERT_GT(lumps2.size(), 1000u);
    for (const ThingTypeInfo& row : kDoomDefinitions.things) {
        EXPECT_TRUE(HasSpriteLump(lumps2, row.sprite)) << row.type << " " << row.sprite;
        // What DOOM has too must be drawable from a DOOM IWAD.
        if (!IsLaterGameDescription(row.description)) {
            EXPECT_TRUE(HasSpriteLump(lumps1, row.sprite)) << row.type << " " << row.sprite;
        }
    }
}

}  // namespace
