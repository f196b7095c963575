// The checks on small crafted levels, one fault each: what is said, about
// which object, and what the fix does.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "check_recorder.h"
#include "pictures/name_keys.h"
#include "checker/checks.h"
#include "pictures/namelists.h"
#include "support/map_kit.h"
#include "support/program_state.h"
#include "support/reference_check.h"

namespace {

using checktest::Recorder;
using namespace mapkit;
using Lines = std::vector<std::string>;

class CheckTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::ResetProgramState(Flavour::Doom); }
    void TearDown() override { testkit::ResetProgramState(); }

    // A sound room: Sector 0 with a floor and ceiling flat, walls with a
    // middle texture, LineDefs 0..3 (west, north, east, south).
    int Room() {
        int s = AddSector();
        SetFieldName(level.sectors[s].floorTexture, "FLOOR4_8");
        SetFieldName(level.sectors[s].ceilingTexture, "CEIL3_5");
        for (int i = AddRoom(0, 0, 256, 256, s); i < 4; ++i)
            Texture(level.lineDefs[i].sideDef1, "-", "-", "STARTAN3");
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
    static void Texture(int sideDef, const char* upper, const char* lower, const char* middle) {
        SideDef& sd = level.sideDefs[sideDef];
        SetFieldName(sd.upper, upper);
        SetFieldName(sd.lower, lower);
        SetFieldName(sd.middle, middle);
    }
    // The room with a two-sided room inside it (LineDefs 4..7, first sides
    // facing the inner Sector 1); returns the inner Sector.
    int RoomInRoom() {
        Room();
        int inner = AddSector();
        std::memcpy(level.sectors[inner].floorTexture, level.sectors[0].floorTexture, 16);
        for (int i = AddRoom(64, 64, 192, 192, inner, 0); i < 8; ++i) {
            Texture(level.lineDefs[i].sideDef1, "-", "-", "-");
            Texture(level.lineDefs[i].sideDef2, "-", "-", "-");
        }
        return inner;
    }
    // Every finding of the checks given, answered as the recorder says.
    template <class Check>
    Lines Run(Check check, bool expected = true) {
        EXPECT_EQ(check(rec), expected);
        EXPECT_FALSE(rec.progressWentBack);
        return rec.said;
    }
    Recorder rec;
};

// --- Closed Sectors ----------------------------------------------------------

TEST_F(CheckTest, ClosedRoomsPassAndAReversedLineDefOpensItsSector) {
    RoomInRoom();
    EXPECT_EQ(Run(CheckClosedSectors), Lines{});

    // East wall of the outer room turned round without swapping its sides.
    LineDef& east = level.lineDefs[2];
    std::swap(east.start, east.end);
    Lines said = Run(CheckClosedSectors);
    EXPECT_EQ(said, (Lines{
                         "Fault Vertex 2: Sector 0 is not closed! | No SideDef starting at Vertex 2",
                         "Fault Vertex 3: Sector 0 is not closed! | No SideDef ending at Vertex 3",
                         "Fault LineDef 2: Sector 0 not closed! (no opposite sector found) | Check LineDef 2 (SideDef1 2)",
                         // the inner room's east wall looks out on the back of it
                         "Fault LineDef 6: Sector 0 not closed! (no opposite sector found)) | Check LineDef 6 (SideDef2 8)",
                     }));
    // Cancelling takes the check no further.
    rec = Recorder();
    rec.cancelAt = 0;
    EXPECT_EQ(Run(CheckClosedSectors, false).size(), 1u);
}

// The sound room, a second room of Sector 1 tagged 7, and LineDefs 0..4 of
// types and tags to check (tag 3: no Sector has it).
void TaggedRooms() {
    AddRoom(1000, 0, 1100, 100, AddSector(7));
    const int types[] = {1, 23, 23, 4000, 97}, tags[] = {5, 0, 3, 0, 7};
    for (int l = 0; l < 5; ++l)
        level.lineDefs[l].type = int16_t(types[l]), level.lineDefs[l].tag = int16_t(tags[l]);
}

// One fault or a few on a crafted level: what the check says (in this order,
// among other lines, or exactly), that answering no changes nothing, and
// what answering yes to every question leaves.
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
        bool exact;
        std::function<std::vector<int>()> measure;   // of what a yes fixes; null: nothing
        std::vector<int> fixed;
    } cases[] = {
        {"SideDef facing the wrong Sector",
         [&] { level.sideDefs[level.lineDefs[5].sideDef2].sector = uint16_t(RoomInRoom()); }, CheckClosedSectors,
         {"Fault LineDef 1: Sectors 0 and 1 not closed! (not the same sector) | Check LineDef 1 (SideDef1 1) and "
          "the one facing it",
          "Fault LineDef 5: Sectors 1 and 0 not closed! (not the same sector) | Check LineDef 5 (SideDef2: 6) and "
          "the one facing it"}, false, nullptr, {}},
        {"missing and doubled SideDefs and Vertexes",
         [&] {
             Room();
             int v = AddVertex(500, 500), sd = AddSideDef(0);
             AddLineDef(v, v, -1);
             AddLineDef(0, v, sd, sd, 4);
         },
         CheckCrossReferences,
         {"Crash LineDef 4: LineDef 4 has no first SideDef.", "Crash LineDef 4: LineDef 4 uses 4 Vertex twice",
          "Crash LineDef 5: LineDef 5 uses 4 SideDef twice", "Crash LineDef 5: LineDef 5 SideDef 4 duplicate?"},
         false, nullptr, {}},
        {"SideDef 0 again as a first side", [&] { Room(), AddLineDef(AddVertex(3, 0), AddVertex(3, 9), 0); },
         CheckCrossReferences, {"Crash LineDef 4: LineDef 4 SideDef 0 duplicate?"}, false, nullptr, {}},
        {"SideDef 0 again as a second side",
         [&] { Room(), AddLineDef(AddVertex(3, 0), AddVertex(3, 9), AddSideDef(0), 0, 4); }, CheckCrossReferences,
         {"Crash LineDef 4: LineDef 4 SideDef 0 duplicate?"}, false, nullptr, {}},
        {"references out of range are reported, not followed",
         [&] { Room(), level.lineDefs[0].end = level.lineDefs[1].sideDef2 = level.sideDefs[2].sector = 999; },
         [](CheckDialogs& d) {
             return CheckClosedSectors(d) && CheckMissingTextures(d, FixStyle::Fix) && CheckCrossReferences(d);
         },
         {"Crash LineDef 0: LineDef 0 Vertex out of range", "Crash LineDef 1: LineDef 1 SideDef out of range",
          "Crash LineDef 2: LineDef 2 Sector out of range"}, false, nullptr, {}},
        {"Vertexes at one place, told pair by pair, newest first",
         [&] {
             Room();
             AddLineDef(AddVertex(0, 0), 2, AddSideDef(0));
             AddLineDef(AddVertex(0, 0), 2, AddSideDef(0));
         },
         CheckCrossReferences, {"Tell: Vertex 5 and 4" + kSame, "Tell: Vertex 5 and 0" + kSame,
                                "Tell: Vertex 4 and 0" + kSame}, false, nullptr, {}},
        {"a LineDef twice, the newest deleted", [&] { Room(), AddLineDef(1, 0, AddSideDef(0)); }, CheckCrossReferences,
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
        {"unknown Things and a boss without its spot", [] { AddThing(0, 0, 1), AddThing(0, 0, 4242), AddThing(0, 0, 89); },
         CheckThingTypes,
         {"Fault Thing 1: Thing 1, Invalid Type 4242", "Fault Thing 2: Thing 2, ShootType 89, No TargetType 87 found"},
         true, nullptr, {}},
        {"a boss with its spot", [] { AddThing(0, 0, 1), AddThing(0, 0, 4242), AddThing(0, 0, 89), AddThing(0, 0, 87); },
         CheckThingTypes, {"Fault Thing 1: Thing 1, Invalid Type 4242"}, true, nullptr, {}},
        {"numbers past 32767 show as they are",
         [] { testkit::ResetProgramState(Flavour::Heretic), AddThing(0, 0, 1), PadObjectsTo(39999), AddThing(0, 0, 7); },
         CheckThingTypes, {"Fault Thing 40000: Thing 40000, Dsparil 7, No DsparilSpot 56 found"}, true, nullptr, {}},
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
          "DeathMatch games | Press Y to continue"}, true, nullptr, {}},
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

TEST_F(CheckTest, AnEmptyLevelPassesEveryCheck) {
    for (auto check : {CheckClosedSectors, CheckCrossReferences, CheckThingTypes, CheckLineDefTypes,
                       CheckSectorTypes, CheckExitsAndStarts})
        EXPECT_TRUE(check(rec));
    EXPECT_TRUE(CheckMissingTextures(rec, FixStyle::Ask));
    EXPECT_TRUE(CheckTextureNames(rec, FixStyle::Ask));
    EXPECT_EQ(rec.said, Lines{});
}

// --- Missing textures ---------------------------------------------------------

// A Sector's fault asked about, or fixed: the fix leaves the ceiling height,
// floor flat and ceiling flat given.
TEST_F(CheckTest, SectorHeightsAndFlatsAreReportedOrFixed) {
    const struct {
        int floor, ceiling;
        const char *floorFlat, *ceilingFlat;
        std::string finding, fixed;
    } cases[] = {
        {100, 50, "FLOOR4_8", "CEIL3_5", "Crash Sector 0: Sector 0 has its ceiling lower than its floor. The | "
         "textures will never be displayed if you cannot go there", "164 FLOOR4_8 CEIL3_5"},
        {0, 2000, "FLOOR4_8", "CEIL3_5", "Crash Sector 0: Sector 0 difference (ceiling-floor) | height exceeds the "
         "maximum allowed (1023). ", "1023 FLOOR4_8 CEIL3_5"},
        {0, 128, "-", "CEIL3_5", "Crash Sector 0: Sector 0 has no floor texture", "128 FLOOR25 CEIL3_5"},
        {0, 128, "FLOOR4_8", "-", "Crash Sector 0: Sector 0 has no ceiling texture ??", "128 FLOOR4_8 FLAT500"},
    };
    SetFieldName(config.flatFloor, "FLOOR25");
    SetFieldName(config.flatCeiling, "FLAT500");
    for (const auto& c : cases)
        for (FixStyle style : {FixStyle::Ask, FixStyle::Fix}) {
            ClearMap();
            rec = Recorder();
            Sector& s = level.sectors[Room()];
            s.floorHeight = int16_t(c.floor), s.ceilingHeight = int16_t(c.ceiling);
            SetFieldName(s.floorTexture, c.floorFlat);
            SetFieldName(s.ceilingTexture, c.ceilingFlat);
            Lines said = Run([&](CheckDialogs& d) { return CheckMissingTextures(d, style); });
            const bool fix = style == FixStyle::Fix;
            ASSERT_EQ(said.size(), 1u) << c.finding;
            EXPECT_EQ(fix ? said[0].substr(0, 14) : said[0], fix ? "Status: Fixed " : c.finding);
            EXPECT_EQ(std::to_string(s.ceilingHeight) + " " + FieldName(s.floorTexture) + " " +
                          FieldName(s.ceilingTexture),
                      fix ? c.fixed : std::to_string(c.ceiling) + " " + c.floorFlat + " " + c.ceilingFlat);
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

TEST_F(CheckTest, UnknownTextureNamesAreReportedOrReplaced) {
    KnownNames();
    SetFieldName(config.flatFloor, "FLOOR25");
    SetFieldName(config.textureUpper, "GRSKULL1");
    Room();
    SetFieldName(level.sectors[0].floorTexture, "nosuch");
    SetFieldName(level.sideDefs[2].upper, "startan3");   // case does not matter
    SetFieldName(level.sideDefs[3].upper, "WALLNONE");
    Lines said = Run([](CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Ask); });
    EXPECT_EQ(said, (Lines{"Fault Sector 0: Sector 0, floor | texture nosuch not found",
                           "Fault SideDef 3: SideDef 3, upper | texture WALLNONE not found"}));
    rec = Recorder();
    said = Run([](CheckDialogs& d) { return CheckTextureNames(d, FixStyle::Fix); });
    EXPECT_EQ(said, (Lines{"Status: Fixed Floor Sector 0", "Status: Fixed Upper Sidedef 3"}));
    EXPECT_EQ(FieldName(level.sectors[0].floorTexture), "FLOOR25");
    EXPECT_EQ(FieldName(level.sideDefs[3].upper), "GRSKULL1");
}


// Under every target, reserved flags too.
TEST_F(CheckTest, WhatTheGameCannotLoadIsListedInOneBoxBeforeASave) {
    KnownNames();
    Room();
    AddThing(10, 10, 1);
    EXPECT_EQ(Run(CheckUnplayable), Lines{});   // a sound level: nothing to say

    level.lineDefs[1].sideDef1 = kNoReference;
    level.sideDefs[2].sector = 40;
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
                  (Lines{"Ask: The game cannot use this level as it is: | LineDef 1 has no first SideDef"
                         " | SideDef 2 names Sector 40, which does not exist"
                         " | SideDef 2: texture \"NOSUCH\" is not in the game's files (and 1 more)"
                         " | Sector 0: flat \"NOFLAT\" is not in the game's files"
                         " | 2 Player 1 starts: the extra ones become voodoo dolls"
                         " | Thing 0 has flag 256: engines then drop its other new flags"
                         " | LineDef 0 has flag 2048: engines then drop its flags above 256 (and 2 more)"
                         " | Continue saves it all the same. | Press Cancel to see the Object"}));
    }
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
            EXPECT_EQ(Run(CheckUnplayable), said(below && !c.save.empty()
                                                     ? "Ask: The game cannot use this level as it is: | " + c.save +
                                                           " | Continue saves it all the same. | Press Cancel to see "
                                                           "the Object"
                                                     : ""));
        }
    }
}

}  // namespace
