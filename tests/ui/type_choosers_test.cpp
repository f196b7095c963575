// The Thing, LineDef and Sector type choosers driven by keys: what they
// preselect, what they write into the level, the later game's types left out
// of episode games, "Menu Nesting", and the sprite beside the Thing menus.
#include <algorithm>

#include "base/config.h"
#include "base/flavour.h"
#include "browser_fixture.h"
#include "support/map_kit.h"
#include "ui/toolkit.h"
#include "ui/type_choosers.h"
#include "wad/master.h"

namespace {

using namespace browser_test;

class TypeChooserTest : public BrowserTest {
protected:
    void SetUp() override {
        Open({{"S_START", {}}, {"PLAYA1", Pattern(20, 30, 200)}, {"PLAYF2F8", Pattern(24, 10, 100)},
              {"S_END", {}}});
        mapkit::ClearMap();
        config.menuNesting = 0;
    }
    std::vector<int> Things(std::initializer_list<int> types) {
        std::vector<int> list;
        for (int type : types)
            list.push_back(mapkit::AddThing(0, 0, type));
        return list;
    }
    int Type(int thing) const { return level.things[thing].type; }
};

TEST_F(TypeChooserTest, ThingTypesFromTheListsAndTheNumberEntry) {
    struct Case {
        const char* what;
        bool doom, maps, nesting;
        int first;            // the first Thing's type; a second Thing has type 1
        const char* script;
        int result;           // the type both Things have afterwards (0: unchanged)
    } cases[] = {
        {"a number of no row", false, false, false, 11, "key Up\nkey Enter\ntype 1234\nkey Enter", 1234},
        {"the number 0 changes nothing", false, false, false, 11, "key Up\nkey Enter\ntype 0\nkey Enter", 0},
        {"a cancelled number", false, false, false, 11, "key Up\nkey Enter\ntype 55\nkey Esc", 0},
        {"Exit", false, false, false, 11, "key Home\nkey Enter", 0},
        {"Esc", false, false, false, 11, "key Esc", 0},
        {"a cancelled list", false, false, false, 11, "key Enter\nkey Esc", 0},
        {"an unknown type opens the last category", false, false, false, 9999, "key Enter\nkey Enter", 1202},
        {"HERETIC keys", false, false, false, 73, "key Enter\nkey End\nkey Enter", 80},
        {"DOOM episodes leave out DOOM II weapons", true, false, false, 2005,
         "key Enter\nkey Down\nkey Down\nkey Enter", 2002},
        {"DOOM maps list them", true, true, false, 2005, "key Enter\nkey Down\nkey Down\nkey Enter", 82},
        {"nesting after a cancelled list", false, false, true, 1,
         "key Enter\nkey Esc\nkey Enter\nkey End\nkey Enter\nkey Home\nkey Enter", 52},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetFlavour(c.doom ? Flavour::Doom : Flavour::Heretic);
        master.gameStyle = c.maps ? kStyleMaps : kStyleEpisodes;
        config.menuNesting = c.nesting;
        mapkit::ClearMap();
        std::vector<int> things = Things({c.first, 1});
        level.levelChanged = false;
        session.Script(c.script);
        ChooserResult result = ChooseThingType(40, 40, things);
        const int changed = c.result != 0;
        EXPECT_EQ((std::vector<int>{Type(things[0]), Type(things[1]), result.chosen, result.changed,
                                    level.levelChanged, toolkit.savedAreas}),
                  (std::vector<int>{changed ? c.result : c.first, changed ? c.result : 1, changed, changed,
                                    changed, 0}));
    }
    SetFlavour(Flavour::Heretic);
}

// Two LineDefs or two Sectors of the types given; under Boom (port rows) the
// generalized types' dialog, the long lists a page at a time, numbers above
// 9999, and Sector types set under Boom's bits.
TEST_F(TypeChooserTest, LineDefAndSectorTypes) {
    SetFlavour(Flavour::Doom);
    int v0 = mapkit::AddVertex(0, 0), v1 = mapkit::AddVertex(64, 0);
    std::vector<int> lines = {mapkit::AddLineDef(v0, v1, -1, -1, 1, 0), mapkit::AddLineDef(v1, v0, -1, -1, 1, 0)};
    std::vector<int> sectors = {mapkit::AddSector(0, 0), mapkit::AddSector(0, 0)};
    const std::string kGeneralized = "key End\nkey Up\nkey Enter\n";
    std::string raiseFloor = "key Home\n";
    for (int i = 0; i < 8; ++i)
        raiseFloor += "key Down\n";
    struct Case {
        const char* what;
        bool port, sector;
        int first, second;
        std::string script;
        int result;   // -1: unchanged
    } cases[] = {
        {"Normal sets 0", false, false, 26, 90, "key Home\nkey Down\nkey Enter", 0},
        {"a decimal value", false, false, 26, 90, "key End\nkey Enter\ntype 345\nkey Enter", 345},
        {"Esc", false, false, 26, 90, "key Esc", -1},
        {"decimal value starts at the first Sector's", false, true, 9, 0, "key End\nkey Enter\nkey Enter", 9},
        {"Health/Damage", false, true, 9, 0, "key Up\nkey Enter\nkey Enter", 7},
        {"Normal", false, true, 9, 0, "key Home\nkey Down\nkey Enter", 0},
        {"a new generalized type starts as a floor", true, false, 26, 26, kGeneralized + "key End\nkey Enter",
         0x6000},
        {"a field from its menu", true, false, 26, 26,
         kGeneralized + "key Down\nkey Enter\nkey Down\nkey Enter\nkey End\nkey Enter", 0x6001},
        {"a generalized type keeps its fields", true, false, 0x3A63, 0x3A63, kGeneralized + "key End\nkey Enter",
         0x3A63},
        {"the kind starts the fields anew", true, false, 0x3A63, 0x3A63,
         kGeneralized + "key Enter\nkey Home\nkey Down\nkey Enter\nkey End\nkey Enter", 0x3000},
        {"Esc in the dialog", true, false, 26, 26, kGeneralized + "key Esc", -1},
        {"the second page of a long list", true, false, 26, 26,
         raiseFloor + "key Enter\nkey End\nkey Enter\nkey Enter", 143},
        {"a number above 9999", true, false, 26, 26, "key End\nkey Enter\ntype 24721\nkey Enter", 24721},
        {"the type under the bits", true, true, 0x88, 0x88, "key Up\nkey Enter\nkey Enter", 0x87},
        {"a number with bits", true, true, 0x88, 0x88, "key End\nkey Enter\ntype 2064\nkey Enter", 2064},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        level.target = c.port ? MapTarget::Boom : MapTarget::Original;
        auto type = [&](int i) -> int16_t& {
            return c.sector ? level.sectors[sectors[i]].type : level.lineDefs[lines[i]].type;
        };
        type(0) = static_cast<int16_t>(c.first), type(1) = static_cast<int16_t>(c.second);
        level.levelChanged = false;
        session.Script(c.script);
        ChooserResult result = c.sector ? ChooseSectorType(sectors, ChooserRepeat::Once)
                                        : ChooseLineDefType(40, 40, lines, ChooserRepeat::Once);
        EXPECT_EQ((std::vector<int>{type(0), type(1), result.chosen, level.levelChanged, toolkit.savedAreas}),
                  (std::vector<int>{c.result >= 0 ? c.result : c.first, c.result >= 0 ? c.result : c.second,
                                    c.result >= 0, result.changed, 0}));
    }
    // With nesting a list left with Esc comes back to the menu; a pick ends
    // the chooser.
    level.target = MapTarget::Original;
    config.menuNesting = 1;
    session.Script("key Home\nkey Down\nkey Down\nkey Enter\nkey Esc\nkey Home\nkey Down\nkey Enter");
    EXPECT_TRUE(ChooseLineDefType(40, 40, lines).chosen);
    EXPECT_EQ(level.lineDefs[lines[1]].type, 0);
    SetFlavour(Flavour::Heretic);
}

}  // namespace
