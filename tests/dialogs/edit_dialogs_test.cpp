// The edit dialogs driven by keys on Freedoom's MAP01: each field changed
// for the first object or the whole selection, cancelled entries changing
// nothing, SideDefs added and removed, and the tag remembered.
#include "checker/check_recorder.h"
#include "checker/find_replace.h"
#include "dialogs/edit_objects.h"
#include "editor/editor_fixture.h"
#include "pictures/namelists.h"
#include "ui/toolkit.h"

namespace {

// Backspaces enough to empty a number field.
const std::string kClear = "key Backspace\nkey Backspace\nkey Backspace\nkey Backspace\n"
                           "key Backspace\nkey Backspace\n";

std::string Entry(int value) { return kClear + "type " + std::to_string(value) + "\nkey Enter\n"; }

// A name typed over the one a name chooser proposes.
std::string Named(const std::string& name) {
    return kClear + "key Backspace\nkey Backspace\ntype " + name + "\nkey Enter\n";
}

class EditDialogTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        if (!mapkit::OpenFreedoom2())
            GTEST_SKIP() << "Freedoom is not installed";
        BuildTextureNames();
        BuildFlatNames();
        ASSERT_TRUE(mapkit::LoadIwadLevel("MAP01"));
        ResetHistory();
        InitGraphics(GraphicsPalette::Game);
        SetMenuBarMode(MenuBarMode::Shown);
        InitView();
        InstallEditDialogs();
        config.menuNesting = 1;
    }
    // Runs the dialog of the mode on the objects (the last one is the head)
    // with the keys.
    void Edit(int mode, std::initializer_list<int> oldestFirst, const std::string& keys,
              int directItem = 0) {
        config.editMode = static_cast<int16_t>(mode);
        list = SelectionList{};
        for (int n : oldestFirst)
            SelectObject(list, n);
        session.Script(keys);
        EditObjects(kCentred, kCentred, list, directItem);
        EXPECT_EQ(toolkit.savedAreas, 0);
        EXPECT_TRUE(testkit::ReferencesSound());
    }
    // A LineDef of MAP01 with one side (or two), from the nth on.
    static int LineDefWithSides(int sides, int from = 0) {
        for (int i = from; i < level.lineDefs.count; ++i)
            if ((level.lineDefs[i].sideDef2 != kNoReference) == (sides == 2))
                return i;
        return -1;
    }
    static std::string Name(const char* field) { return std::string(field, strnlen(field, 8)); }

    testkit::Session session;
    SelectionList list;
};

TEST_F(EditDialogTest, ThingsTakeTheRoseAndFlagsOfTheFirstAndShareWhatIsTicked) {
    struct Case {
        const char* keys;
        int firstAngle, firstFlags;
        int otherAngle, otherFlags;   // of Things 1-4
    } cases[] = {
        {"key O\n", 90, 7 | 32, 270, 17},               // opened on N with 1, 2, 3 ticked
        {"key 4\nkey Enter\n", 180, 7 | 32, 270, 17},   // Enter is Ok, not the focused button
        {"key Shift-Tab\nkey Space\nkey Enter\n", 90, 7 | 32, 90, 17},   // Space ticks the box marked
        {"key E\nkey D\nkey S\nkey O\n", 90, 14 | 32, 270, 14},   // each keeps the bits not shown
        {"key 6\nkey N\nkey Esc\n", 90, 7 | 32, 270, 17},   // cancelled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        for (int i = 0; i < 5; ++i) {   // Thing 0 with a bit the dialog does not show
            level.things[i].angle = i ? 270 : 90;
            level.things[i].flags = i ? 17 : 7 | 32;
        }
        Edit(kObjThing, {4, 3, 2, 1, 0}, c.keys);
        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(level.things[i].angle, i ? c.otherAngle : c.firstAngle) << i;
            EXPECT_EQ(level.things[i].flags, i ? c.otherFlags : c.firstFlags) << i;
        }
    }
    // An angle off the rose marks no direction and stays.
    level.things[0].angle = 400;
    Edit(kObjThing, {0}, "key O\n");
    EXPECT_EQ(level.things[0].angle, 400);
}

// Each field a dialog edits, for the first object or the whole selection.
// Freedoom's Enemies begin "Former Human" (3004), "Former Sergeant" (9),
// "Chaingunner" (65), "Imp" (3001), the chooser opening on the row of the
// first Thing's type; LineDef types 26, 27 ... are "Door (keys)", Sector
// types 9, 10 ... "Secret/Other". Cancelled or refused entries change
// nothing, and only a tag confirmed is remembered.
TEST_F(EditDialogTest, EachFieldGoesToTheFirstOrTheWholeSelection) {
    level.things[1].type = level.things[2].type = 3004;
    level.lineDefs[3].type = 26;
    level.lineDefs[4].type = 0;
    level.sectors[2].type = 9;
    level.sectors[5].type = 0;
    level.vertices[0] = Vertex{0, 0};
    level.vertices[1] = Vertex{32760, 0};
    level.lineDefs[3].flags = static_cast<int16_t>(1 | 0x200);
    level.lineDefs[4].flags = 4;
    level.sectors[2].tag = 0;
    const auto thingType = [](int n) { return int(level.things[n].type); };
    const auto lineDefType = [](int n) { return int(level.lineDefs[n].type); };
    const auto sectorType = [](int n) { return int(level.sectors[n].type); };
    const auto x = [](int n) { return int(level.vertices[n].x); };
    const auto y = [](int n) { return int(level.vertices[n].y); };
    const auto flags = [](int n) { return int(level.lineDefs[n].flags); };
    const auto lineDefTag = [](int n) { return int(level.lineDefs[n].tag); };
    const auto sectorTag = [](int n) { return int(level.sectors[n].tag); };
    const std::string chooser = "key T\nkey Enter\n";
    struct Case {
        int mode, nesting;
        std::initializer_list<int> oldestFirst;
        std::string keys;
        int (*field)(int);
        std::vector<int> values;   // of the objects, oldest first
        int lastTag;
    } cases[] = {
        // A pick comes back to the dialog: Cancel keeps the type, and so
        // does Ok (Enter).
        {kObjThing, 1, {1, 2}, chooser + "key Down\nkey Down\nkey Down\nkey Enter\nkey Esc\n",
         thingType, {3001, 3001}, -1},
        {kObjThing, 0, {1, 2}, chooser + "key Up\nkey Up\nkey Enter\nkey 4\nkey Enter\n", thingType,
         {9, 9}, -1},
        {kObjLineDef, 1, {4, 3}, "key 1\n" + chooser + "key Down\nkey Enter\nkey Esc\nkey Esc\n",
         lineDefType, {27, 27}, -1},
        {kObjSector, 1, {5, 2}, "key 1\nkey Enter\nkey Down\nkey Enter\nkey Esc\n", sectorType,
         {10, 10}, -1},
        {kObjSector, 1, {5, 2}, "key 1\nkey Esc\nkey Esc\n", sectorType, {10, 10}, -1},
        // Vertexes move as a block with the first on the point entered, each
        // held within the map; out of range: refused, then cancelled.
        {kObjVertex, 1, {1, 0}, Entry(10) + Entry(10), x, {32767, 10}, -1},
        {kObjVertex, 1, {1, 0}, Entry(10) + Entry(10), y, {10, 10}, -1},
        {kObjVertex, 1, {1, 0}, Entry(32001) + "key Esc\n", x, {32767, 10}, -1},
        // LineDef flags: the boxes of the first; all only when asked; the
        // bits no box shows stay.
        {kObjLineDef, 1, {4, 3}, "key 1\nkey M\nkey O\nkey Esc\n", flags, {4, 1 | 2 | 0x200}, -1},
        {kObjLineDef, 1, {4, 3}, "key 1\nkey S\nkey F\nkey O\nkey Esc\n", flags,
         {1 | 2 | 32, 1 | 2 | 32 | 0x200}, -1},
        {kObjLineDef, 1, {4, 3}, "key 1\nkey I\nkey Esc\nkey Esc\n", flags,
         {1 | 2 | 32, 1 | 2 | 32 | 0x200}, -1},
        {kObjLineDef, 1, {3, 4}, "key 4\n" + Entry(12) + "key Esc\n", lineDefTag, {12, 12}, 12},
        {kObjSector, 1, {2}, "key 6\n" + Entry(1000) + "key Esc\nkey Esc\n", sectorTag, {0}, 12},
        {kObjSector, 1, {2, 5}, "key 6\n" + Entry(13) + "key Esc\n", sectorTag, {13, 13}, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keys);
        config.menuNesting = c.nesting;
        Edit(c.mode, c.oldestFirst, c.keys);
        std::vector<int> values;
        for (int n : c.oldestFirst)
            values.push_back(c.field(n));
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(lastTag, c.lastTag);
    }
}

// What the SideDefs become is the model's (tests/edits/object_values_test):
// here, the menu items that add and remove them.
TEST_F(EditDialogTest, SideDefsAreAddedAndRemovedFromTheMenu) {
    int one = LineDefWithSides(1), two = LineDefWithSides(2);
    ASSERT_TRUE(one >= 0 && two >= 0);
    int sides = level.sideDefs.count;
    Edit(kObjLineDef, {one}, "key 3\nkey Esc\nkey Esc\n");
    EXPECT_EQ(level.lineDefs[one].sideDef2, sides);
    EXPECT_EQ(level.lineDefs[one].flags & 4, 4);
    Edit(kObjLineDef, {two}, "key 6\n" + Entry(-1) + "key Esc\n");
    EXPECT_EQ(level.lineDefs[two].sideDef2, kNoReference);
    EXPECT_EQ(level.sideDefs.count, sides);
    // A number beyond the last SideDef is refused; Esc changes nothing.
    uint16_t first = level.lineDefs[two].sideDef1;
    Edit(kObjLineDef, {two}, "key 5\n" + Entry(level.sideDefs.count) + "key Esc\nkey Esc\n");
    EXPECT_EQ(level.lineDefs[two].sideDef1, first);
}

TEST_F(EditDialogTest, SideDefFieldsGoToEverySideOfTheSelection) {
    int a = LineDefWithSides(1), b = LineDefWithSides(1, a + 1);
    Edit(kObjLineDef, {b, a}, "key 2\nkey 3\n" + Named("STARTAN3") + "key 4\n" + Entry(-16) +
                                  Entry(8) + "key Esc\nkey Esc\n");
    for (int ld : {a, b}) {
        const SideDef& sd = level.sideDefs[level.lineDefs[ld].sideDef1];
        EXPECT_EQ(Name(sd.lower), "STARTAN3");
        EXPECT_EQ(sd.xOffset, -16);
        EXPECT_EQ(sd.yOffset, 8);
    }
}

// Each opening is one undo step, named for what it edited.
TEST_F(EditDialogTest, SectorFieldsKeepToTheirRanges) {
    std::string before = mapkit::LevelArrayBytes();
    Edit(kObjSector, {3, 2}, "key 4\n" + Entry(256) + Entry(200) +
                                 "key 5\n" + Entry(-4097) + Entry(-4096) + Entry(4096) +
                                 "key 2\n" + Named("CEIL5_1") + "key Esc\n");
    for (int s : {2, 3}) {
        const Sector& sector = level.sectors[s];
        EXPECT_EQ((std::vector<int>{sector.light, sector.ceilingHeight, sector.floorHeight}),
                  (std::vector<int>{200, -4096, 4096}));
        EXPECT_EQ(Name(sector.ceilingTexture), "CEIL5_1");
    }
    ASSERT_TRUE(RecordStep());
    EXPECT_EQ(UndoLabel(), "edit 2 Sectors");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(mapkit::LevelArrayBytes(), before);
    // Direct items: 1 the ceiling, 2 the floor; a cancelled chooser keeps it.
    Edit(kObjSector, {3}, Named("FLOOR7_1"), 2);
    EXPECT_EQ(Name(level.sectors[3].floorTexture), "FLOOR7_1");
    std::string ceiling = Name(level.sectors[3].ceilingTexture);
    Edit(kObjSector, {3}, "key Esc\n", 1);
    EXPECT_EQ(Name(level.sectors[3].ceilingTexture), ceiling);
}

// Find and replace asks for its names through the same choosers: the flat
// typed, its replacement taken from the browser (F1).
TEST_F(EditDialogTest, FindAndReplaceTakeTheirNamesFromTheChoosers) {
    const NameList& flats = nameLists.FlatNames;
    std::string floor = Name(level.sectors[0].floorTexture);
    std::string replacement = flats[flats.count() - 2];
    ASSERT_NE(floor, replacement);
    std::vector<int> matching;
    for (int s = 0; s < level.sectors.count; ++s)
        if (Name(level.sectors[s].floorTexture) == floor)
            matching.push_back(s);
    session.Script("key 8\n" + Named(floor) + "key F1\nkey End\nkey Left\nkey Enter\nkey Enter\n");
    checktest::Recorder dialogs;
    FindReplace(0, 0, SearchStart::Ask, dialogs);
    EXPECT_EQ(toolkit.savedAreas, 0);
    for (int s : matching)
        EXPECT_EQ(Name(level.sectors[s].floorTexture), replacement) << s;
}

}  // namespace
