// The checks on small crafted levels, one fault each: what is said, about
// which object, and what the fix does; the statistics and find and replace
// as the user starts them; and every check on every level of Freedoom.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "base/config.h"
#include "check_recorder.h"
#include "checker/checks.h"
#include "checker/find_replace.h"
#include "checker/statistics.h"
#include "menus/check_menu.h"
#include "pictures/name_keys.h"
#include "pictures/namelists.h"
#include "source_paths.h"
#include "support/map_kit.h"
#include "support/program_state.h"
#include "support/session_kit.h"
#include "support/level_validity.h"
#include "support/testkit.h"

namespace {

using checktest::Recorder;
using namespace mapkit;
using Lines = std::vector<std::string>;

// Every check in the menu's order.
bool AllChecks(CheckDialogs& d) { return RunCheckItem(kCheckAll, d) && CheckExitsAndStarts(d); }

class CheckTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }

    // A sound room: Sector 0 with a floor and ceiling flat, walls with a
    // middle texture, LineDefs 0..3 (west, north, east, south).
    int Room() {
        int s = AddSector(), sides = level.sideDefs.count;
        SetFieldName(level.sectors[s].floorTexture, "FLOOR4_8");
        SetFieldName(level.sectors[s].ceilingTexture, "CEIL3_5");
        AddRoom(0, 0, 256, 256, s);
        Walls(sides, "STARTAN3");
        return s;
    }
    // The room's textures and flats are those of the game.
    static void KnownNames() {
        for (const char* name : {"-", "STARTAN3"})
            nameLists.TextureNames.Add(name);
        for (const char* name : {"FLOOR4_8", "CEIL3_5"})
            nameLists.FlatNames.Add(name);
        nameLists.TextureNames.Sort();
        nameLists.FlatNames.Sort();
    }
    // No upper or lower texture and the middle one given, on every SideDef
    // from the one given on.
    static void Walls(int first, const char* middle) {
        for (int sd = first; sd < level.sideDefs.count; ++sd) {
            SetFieldName(level.sideDefs[sd].upper, "-");
            SetFieldName(level.sideDefs[sd].lower, "-");
            SetFieldName(level.sideDefs[sd].middle, middle);
        }
    }
    // The room with a two-sided room inside it (LineDefs 4..7, first sides
    // facing the inner Sector 1); returns the inner Sector.
    int RoomInRoom() {
        Room();
        int inner = AddSector(), sides = level.sideDefs.count;
        AddRoom(64, 64, 192, 192, inner, 0);
        Walls(sides, "-");
        return inner;
    }
    // Every finding of the check, answered as the recorder says.
    template <class Check>
    Lines Run(Check check, bool expected = true) {
        EXPECT_EQ(check(rec), expected);
        EXPECT_FALSE(rec.progressWentBack);
        return rec.said;
    }
    // The search as the menu and entries would have left it, run again.
    Lines Search(int kind) {
        search.kind = kind;
        rec = Recorder();
        FindReplace(0, 0, SearchStart::Repeat, rec);
        return rec.said;
    }
    Recorder rec;
};

// The sound room, a second room of Sector 1 tagged 7, and LineDefs 0..4 of
// types and tags to check (tag 3: no Sector has it).
void TaggedRooms() {
    AddRoom(1000, 0, 1100, 100, AddSector(7));
    const int types[] = {1, 23, 23, 4000, 97}, tags[] = {5, 0, 3, 0, 7};
    for (int l = 0; l < 5; ++l)
        level.lineDefs[l].type = int16_t(types[l]), level.lineDefs[l].tag = int16_t(tags[l]);
}

// One fault or a few on a crafted level: what the check says (in this order,
// among other lines, or exactly), that answering no changes nothing and
// cancelling the first finding ends the check, and what answering yes to
// every question leaves.
TEST_F(CheckTest, EachFaultIsReportedAndFixedOnlyWhenConfirmed) {
    const Lines kTypes = {"Y? LineDef 0, doesn't need Sector tag 5 | Reset tag to 0 ?",
                          "Fault LineDef 1: LineDef 1, type 23 requires a Sector tag",
                          "Fault LineDef 2: LineDef 2, sector tag 3 not found",
                          "Fault LineDef 3: LineDef 3, Invalid Type 4000",
                          "Fault LineDef 3: LineDef 3, type 4000 requires a Sector tag"};
    auto plus = [](Lines lines, const std::string& line) { return lines.push_back(line), lines; };
    const std::string kSame = " share the same Coordinates | Drag one and then Delete by inspection!";
    const struct {
        const char* what;
        std::function<void()> put;
        std::function<bool(CheckDialogs&)> check;
        Lines said;
        bool exact = false;
        std::function<std::vector<int>()> measure = nullptr;   // of what a yes fixes
        std::vector<int> fixed = {};
    } cases[] = {
        {"an empty level", [] {}, AllChecks, {}, true},
        {"closed rooms", [&] { RoomInRoom(); }, CheckClosedSectors, {}, true},
        {"a LineDef turned round without swapping its sides",
         [&] { RoomInRoom(), std::swap(level.lineDefs[2].start, level.lineDefs[2].end); },
         CheckClosedSectors,
         {"Fault Vertex 2: Sector 0 is not closed! | No SideDef starting at Vertex 2",
          "Fault Vertex 3: Sector 0 is not closed! | No SideDef ending at Vertex 3",
          "Fault LineDef 2: Sector 0 not closed! (no opposite sector found) | Check LineDef 2 (SideDef1 2)",
          // the inner room's east wall looks out on the back of it
          "Fault LineDef 6: Sector 0 not closed! (no opposite sector found)) | Check LineDef 6 "
          "(SideDef2 8)"},
         true},
        // (a SideDef facing the wrong Sector is found in Freedoom's levels below)
        {"missing and shared SideDefs and Vertexes",
         [&] {
             Room();
             int v = AddVertex(500, 500), sd = AddSideDef(0);
             AddLineDef(v, v, -1);
             AddLineDef(0, v, sd, sd, 4);
             AddLineDef(AddVertex(3, 0), AddVertex(3, 9), 0);
         },
         CheckCrossReferences,
         {"Crash LineDef 4: LineDef 4 has no first SideDef.", "Crash LineDef 4: LineDef 4 uses 4 Vertex twice",
          "Crash LineDef 5: LineDef 5 uses 4 SideDef twice",
          "Crash LineDef 5: LineDef 5 SideDef 4 duplicate?",
          "Crash LineDef 6: LineDef 6 SideDef 0 duplicate?"}},
        {"references out of range are reported, not followed",
         [&] { Room(), level.lineDefs[0].end = level.lineDefs[1].sideDef2 = level.sideDefs[2].sector = 999; },
         [](CheckDialogs& d) {
             return CheckClosedSectors(d) && CheckMissingTextures(d, FixStyle::Fix) && CheckCrossReferences(d);
         },
         {"Crash LineDef 0: LineDef 0 Vertex out of range", "Crash LineDef 1: LineDef 1 SideDef out of range",
          "Crash LineDef 2: LineDef 2 Sector out of range"}},
        {"Vertexes at one place, the newest named first", [&] { Room(), AddLineDef(AddVertex(0, 0), 2, AddSideDef(0)); },
         CheckCrossReferences, {"Tell: Vertex 4 and 0" + kSame}},
        {"a LineDef twice, the newest deleted", [&] { Room(), AddLineDef(1, 0, AddSideDef(0)); },
         CheckCrossReferences,
         {"Del? LineDef 4 and 0 share the same Vertices | Delete the first redundant LineDef ?"}, false,
         [] { return std::vector<int>{level.lineDefs.count}; }, {4}},
        {"flags: one-sided passable or two-sided, two-sided without the bit",
         [&] {
             RoomInRoom();
             level.lineDefs[0].flags = level.lineDefs[4].flags = level.lineDefs[5].flags = 0;
             level.lineDefs[1].flags = 5;
         },
         CheckCrossReferences,
         {"Y? Some LineDefs have only one side but the  | Impassible bit is not set. Set the 'Im' flag?",
          "Y? Some LineDefs have only one side but their | 2 Sided bit is set. Clear the '2-sided' flag?",
          "Y? Some LineDefs have two sides but their 2 Sided | bit is not set. Set the 'two-sided' flag ?"}, true,
         [] {
             Recorder again;   // nothing more to ask
             return std::vector<int>{level.lineDefs[0].flags, level.lineDefs[1].flags, level.lineDefs[4].flags,
                                     level.lineDefs[5].flags, CheckCrossReferences(again), int(again.said.size())};
         },
         {1, 1, 4, 4, true, 0}},
        {"unused objects", [&] { Room(), AddVertex(900, 900), AddSideDef(0), AddSideDef(0), AddSector(); },
         CheckCrossReferences,
         {"Del? 1 Vertexes are not used | Delete unused Vertices?",
          "Del? 2 SideDefs are not used | Delete unused SideDefs?",
          "Del? 1 Sectors are not used | Delete unused Sectors?"}, false,
         [] { return std::vector<int>{level.vertices.count, level.sideDefs.count, level.sectors.count}; }, {4, 4, 1}},
        // (the boss with its spot is in Freedoom's MAP30, whose findings are listed below)
        {"unknown Things and a boss without its spot",
         [] { AddThing(0, 0, 1), AddThing(0, 0, 4242), AddThing(0, 0, 89); }, CheckThingTypes,
         {"Fault Thing 1: Thing 1, Invalid Type 4242",
          "Fault Thing 2: Thing 2, ShootType 89, No TargetType 87 found"}, true},
        {"D'Sparil without his spot", [] { testkit::ResetProgramState(Flavour::Heretic), AddThing(0, 0, 7); },
         CheckThingTypes, {"Fault Thing 0: Thing 0, Dsparil 7, No DsparilSpot 56 found"}, true},
        {"LineDef types and tags, a teleport without a landing", [&] { Room(), TaggedRooms(); }, CheckLineDefTypes,
         plus(kTypes, "Fault LineDef 4: LineDef 4 with sector tag 7 | Teleport not found in sector 1"), true,
         [] { return std::vector<int>{level.lineDefs[0].tag}; }, {0}},
        {"a teleport with a landing and two Sectors of its tag",
         [&] { Room(), TaggedRooms(), AddThing(1050, 50, 14), AddSector(7); }, CheckLineDefTypes,
         plus(kTypes, "Fault LineDef 4: LineDef 4 with sector tag 7 | 2 Sectors have same Teleport Tag?"), true,
         [] { return std::vector<int>{level.lineDefs[0].tag}; }, {0}},
        {"Sector types, and tags that no LineDef has",
         [] { AddSector(0), AddSector(5), AddSector(99), AddSector(666), AddSector(999), AddSector(0, 6000); },
         CheckSectorTypes,
         {"Y? Sector 1, linedef tag 5 not found | Reset tag to 0 ?", "Fault Sector 5: Sector 5, Invalid Sector type 6000"},
         true, [] { return std::vector<int>{level.sectors[1].tag}; }, {0}},
        {"no exit, a player start and DeathMatch starts missing",
         [&] {
             Room();
             for (int type : {1, 2, 4, 11, 11, 11})
                 AddThing(10, 10, type);
         },
         CheckExitsAndStarts,
         {"Warn: There are no exits in this level!",
          "Ask: P3 Starting positions missing. | This level is not for multi-player games. | Press Y to continue",
          "Ask: Only 3 DeathMatch starting points present. | You need at least 4 starting points to play "
          "DeathMatch games | Press Y to continue"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testkit::ResetProgramState(Flavour::Doom);
        rec = Recorder();
        c.put();
        const std::string before = LevelArrayBytes();
        Lines said = Run(c.check);
        if (c.exact) {
            EXPECT_EQ(said, c.said);
        }
        auto next = said.begin();
        for (const std::string& line : c.said)
            EXPECT_NE(next = std::find(next, said.end(), line), said.end()) << line << "\n" << testing::PrintToString(said);
        EXPECT_EQ(LevelArrayBytes(), before) << "changed without a yes";
        if (!said.empty() && (said[0].rfind("Fault", 0) == 0 || said[0].rfind("Crash", 0) == 0)) {
            rec = Recorder();
            rec.cancelVerify = true;
            EXPECT_EQ(Run(c.check, false).size(), 1u);
        }
        if (!c.measure)
            continue;
        rec = Recorder();
        rec.confirmAnswer = true;
        Run(c.check);
        EXPECT_EQ(c.measure(), c.fixed);
        EXPECT_TRUE(testkit::ReferencesSound());
        EXPECT_TRUE(level.levelChanged);
    }
}

// --- Missing textures ---------------------------------------------------------

// Sectors' flats and heights asked about, or fixed at once to the defaults
// (a ceiling below the floor goes 64 above it).
TEST_F(CheckTest, SectorHeightsAndFlatsAreReportedOrFixed) {
    SetFieldName(config.flatFloor, "FLOOR25");
    SetFieldName(config.flatCeiling, "FLAT500");
    for (FixStyle style : {FixStyle::Ask, FixStyle::Fix}) {
        ClearMap();
        rec = Recorder();
        AddSector(0, 0, 100, 50), AddSector(0, 0, 0, 2000);
        SetFieldName(level.sectors[0].floorTexture, "-");
        SetFieldName(level.sectors[0].ceilingTexture, "CEIL3_5");
        SetFieldName(level.sectors[1].floorTexture, "FLOOR4_8");
        SetFieldName(level.sectors[1].ceilingTexture, "-");
        const bool fix = style == FixStyle::Fix;
        const Lines asked = {"Crash Sector 0: Sector 0 has no floor texture",
                             "Crash Sector 0: Sector 0 has its ceiling lower than its floor. The"
                             " | textures will never be displayed if you cannot go there",
                             "Crash Sector 1: Sector 1 has no ceiling texture ??",
                             "Crash Sector 1: Sector 1 difference (ceiling-floor) | height"
                             " exceeds the maximum allowed (1023). "};
        const Lines fixed = {"Status: Fixed Floor Sector 0",
                             "Status: Fixed Ceiling Height Sector 0",
                             "Status: Fixed Ceiling Sector 1",
                             "Status: Fixed Ceiling Height Sector 1"};
        EXPECT_EQ(Run([&](CheckDialogs& d) { return CheckMissingTextures(d, style); }),
                  fix ? fixed : asked);
        std::string now;
        for (const Sector& s : {level.sectors[0], level.sectors[1]})
            now += std::to_string(s.ceilingHeight) + " " + FieldName(s.floorTexture) + " " +
                   FieldName(s.ceilingTexture) + " ";
        EXPECT_EQ(now, fix ? "164 FLOOR25 CEIL3_5 1023 FLOOR4_8 FLAT500 "
                           : "50 - CEIL3_5 2000 FLOOR4_8 - ");
        EXPECT_EQ(level.levelChanged, fix);
    }

    // The outer sides of a room raised and lowered inside another need upper
    // and lower textures, looked for on the side facing the lower floor.
    SetFieldName(config.textureUpper, "GRSKULL1");
    SetFieldName(config.textureLower, "METL1");
    ClearMap();
    rec = Recorder();
    RoomInRoom();
    level.sectors[1].ceilingHeight = 96;
    level.sectors[1].floorHeight = 16;
    Lines said = Run([](CheckDialogs& d) { return CheckMissingTextures(d, FixStyle::Ask); });
    EXPECT_EQ(said[2], "Fault LineDef 4: Linedef 4: SideDef2 4 has no lower texture | Set the texture to METL1 "
                       "and continue?");
    EXPECT_EQ(said.size(), 4u * 4);
    EXPECT_EQ(FieldName(level.sideDefs[4].upper) + " " + FieldName(level.sideDefs[4].lower), "GRSKULL1 METL1");
}

// The box of what the game cannot load, around its lines.
const std::string kCannot = "Ask: The game cannot use this level as it is: | ";
const std::string kSaveAnyway =
    " | Continue saves it all the same. | Press Cancel to see the Object";

// Under every target, reserved flags too. Then the names that the game's
// files do not have (in any case) are reported or replaced by the defaults.
TEST_F(CheckTest, WhatTheGameCannotLoadIsListedInOneBoxBeforeASave) {
    KnownNames();
    Room();
    AddThing(10, 10, 1);
    EXPECT_EQ(Run(CheckUnplayable), Lines{});   // a sound level: nothing to say

    level.lineDefs[1].sideDef1 = kNoReference;
    level.sideDefs[2].sector = 40;
    SetFieldName(level.sideDefs[0].upper, "startan3");
    SetFieldName(level.sideDefs[2].upper, "NOSUCH");
    SetFieldName(level.sideDefs[3].lower, "NOSUCH");
    SetFieldName(level.sectors[0].ceilingTexture, "NOFLAT");
    AddThing(20, 20, 1);
    level.things[0].flags |= 0x100;
    for (int l = 0; l < 3; ++l)
        level.lineDefs[l].flags |= 0x800;
    level.target = MapTarget::Mbf21;
    for (bool save : {true, false}) {
        rec = Recorder();
        rec.warningAnswer = save;
        EXPECT_EQ(Run(CheckUnplayable, save),
                  (Lines{kCannot + "LineDef 1 has no first SideDef"
                         " | SideDef 2 names Sector 40, which does not exist"
                         " | SideDef 2: texture \"NOSUCH\" is not in the game's files (and 1 more)"
                         " | Sector 0: flat \"NOFLAT\" is not in the game's files"
                         " | 2 Player 1 starts: the extra ones become voodoo dolls"
                         " | Thing 0 has flag 256: engines then drop its other new flags"
                         " | LineDef 0 has flag 2048: engines then drop its flags above 256"
                         " (and 2 more)" + kSaveAnyway}));
    }

    rec = Recorder();
    EXPECT_EQ(Run([](CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Ask); }),
              (Lines{"Fault Sector 0: Sector 0, ceiling | texture NOFLAT not found",
                     "Fault SideDef 2: SideDef 2, upper | texture NOSUCH not found",
                     "Fault SideDef 3: SideDef 3, lower | texture NOSUCH not found"}));
    SetFieldName(config.flatCeiling, "FLAT500");
    SetFieldName(config.textureUpper, "GRSKULL1");
    SetFieldName(config.textureLower, "METL1");
    rec = Recorder();
    EXPECT_EQ(Run([](CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Fix); }),
              (Lines{"Status: Fixed Ceiling Sector 0", "Status: Fixed Upper Sidedef 2",
                     "Status: Fixed Lower Sidedef 3"}));
    EXPECT_EQ(FieldName(level.sectors[0].ceilingTexture) + FieldName(level.sideDefs[2].upper) +
                  FieldName(level.sideDefs[3].lower),
              "FLAT500GRSKULL1METL1");
}

// --- Targets ----------------------------------------------------------------------

// One value of a port in a sound level: what the type checks and the save's
// list say of it under each target ("" for nothing; a LineDef type only is
// no matter for the save).
TEST_F(CheckTest, EachTargetKnowsItsOwnValuesAndNamesTheTargetOthersNeed) {
    const struct {
        std::function<void()> put;
        MapTarget needs;
        std::string check, save;
    } cases[] = {
        {[] { level.lineDefs[0].type = 142; }, MapTarget::Boom, "LineDef 0: LineDef 0, Type 142 needs a level for Boom", ""},
        {[] { level.lineDefs[0].type = 0x6091; }, MapTarget::Boom,   // a generalized floor
         "LineDef 0: LineDef 0, Type 24721 needs a level for Boom", ""},
        {[] { level.lineDefs[0].type = 1024; }, MapTarget::Mbf21,   // a scroller
         "LineDef 0: LineDef 0, Type 1024 needs a level for MBF21", ""},
        {[] { level.sectors[0].type = 0x88; }, MapTarget::Boom,   // the secret bit
         "Sector 0: Sector 0, Type 136 needs a level for Boom", "Sector 0 has a type for Boom"},
        {[] { AddThing(30, 30, 5001); }, MapTarget::Boom,   // a point pusher
         "Thing 1: Thing 1, Type 5001 needs a level for Boom", "Thing 1 has a type for Boom"},
        {[] { level.things[0].flags |= 0x80; }, MapTarget::Mbf21, "", "Thing 0 has flags for MBF21"},   // friendly
        {[] { level.lineDefs[1].flags |= 0x200; }, MapTarget::Boom, "", "LineDef 1 has flags for Boom"},   // pass use
    };
    auto said = [](const std::string& line) { return line.empty() ? Lines{} : Lines{line}; };
    for (const auto& c : cases) {
        for (MapTarget target : {MapTarget::Original, MapTarget::LimitRemoving, MapTarget::Boom, MapTarget::Mbf21}) {
            SCOPED_TRACE(c.check + c.save + " under " + MapTargetName(target));
            testkit::ResetProgramState(Flavour::Doom);
            Room();
            level.sectors[0].tag = level.lineDefs[0].tag = 1;
            level.lineDefs[0].type = 23;   // a switch to the tagged floor, which the case may replace
            AddThing(10, 10, 1);
            c.put();
            level.target = target;
            const bool below = !TargetAllows(target, c.needs);
            rec = Recorder();
            Run(CheckThingTypes), Run(CheckLineDefTypes);
            EXPECT_EQ(Run(CheckSectorTypes), said(below && !c.check.empty() ? "Fault " + c.check : ""));
            rec = Recorder();
            EXPECT_EQ(Run(CheckUnplayable),
                      said(below && !c.save.empty() ? kCannot + c.save + kSaveAnyway : ""));
        }
    }
}

// --- Statistics, find and replace ----------------------------------------------------

// Things in the columns of their flag bits.
TEST_F(CheckTest, StatisticsCountThingsBySkill) {
    AddThing(0, 0, 3004, 0, 7);    // skills 1-2, 3, 4-5
    AddThing(0, 0, 3004, 0, 24);   // deaf, network
    AddThing(0, 0, 2001, 0, 1);    // a shotgun on the easy skills
    EXPECT_EQ(LevelStatistics().back().lines, (Lines{" Description        Easy Med Hard Deaf  Net",
                                         "Enemies              1    1    1    1    1",
                                         "Equipment            0    0    0    0    0",
                                         "Weapons              1    0    0    0    0",
                                         "Ammunition           0    0    0    0    0"}));
}

TEST_F(CheckTest, FindsShowEachMatchAndTheCountAtTheEnd) {
    AddRoom(0, 0, 64, 64, AddSector(7));
    AddSector(3);
    level.lineDefs[2].tag = 3;
    level.lineDefs[3].type = 1;
    search.sectorTag = 7;
    EXPECT_EQ(Search(kFindSectorTag), (Lines{"Found Sector 0: Found Tag 7, Sector 0", "Result Objects: Found 1, Changed 0"}));
    search.lineDefTag = 3;
    EXPECT_EQ(Search(kFindLineDefTag), (Lines{"Found LineDef 2: Found Tag 3, LineDef 2",
                                              "Result Objects: Found 1, Changed 0"}));
    search.lineDefTag = 7;
    EXPECT_EQ(Search(kFindLineDefTag), (Lines{"Result Object Not Found: LineTag  7"}));
    search.lineDefType = 0;
    EXPECT_EQ(Search(kFindLineDefType).back(), "Result Objects: Found 3, Changed 0");
}

// --- Freedoom -----------------------------------------------------------------------

// Every check on every level of both Freedoom IWADs, all findings continued
// and every fix declined: nothing crashes and the findings are the ones
// listed in tests/data/freedoom_findings.txt. With ZARN_WRITE_FINDINGS set
// in the environment the list is written afresh instead (for a change to the
// checks that is meant to change it).
const char kExpected[] = ZARN_SOURCE_DIR "/tests/data/freedoom_findings.txt";

std::string FindingsOfIwad(int which) {
    std::string iwad = testkit::FreedoomIwad(which);
    if (iwad.empty())
        return "";
    testkit::ResetProgramState(Flavour::Doom);
    testkit::OpenIwadAt(iwad);
    BuildTextureNames();
    BuildFlatNames();
    std::string text = "# freedoom" + std::to_string(which) + ".wad\n";
    for (const char* name : SortedLevelNames()) {
        EXPECT_TRUE(LoadIwadLevel(name)) << name;
        Recorder rec;
        EXPECT_TRUE(AllChecks(rec)) << name;
        text += std::string("== ") + name + "\n";
        for (const std::string& line : rec.said)
            text += line + "\n";
    }
    return text;
}

TEST(FreedoomFindings, EveryLevelGivesTheListedFindings) {
    std::string one = FindingsOfIwad(1), two = FindingsOfIwad(2), found = one + two;
    testkit::ResetProgramState();
    if (one.empty() || two.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    EXPECT_EQ(std::count(found.begin(), found.end(), '='), 2 * 68);
    if (std::getenv("ZARN_WRITE_FINDINGS")) {
        std::ofstream(kExpected) << found;
        GTEST_SKIP() << "wrote " << kExpected;
    }
    testkit::Bytes expected = testkit::ReadFileBytes(kExpected);
    EXPECT_EQ(found, std::string(expected.begin(), expected.end()));
}

}  // namespace
