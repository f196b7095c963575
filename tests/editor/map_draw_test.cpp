// Drawing the map on the headless screen, checked pixel by pixel: LineDef
// colours by kind and mode, Things, highlights, and LineDefs partly in view;
// then every level of Freedoom drawn without a fault.
#include <random>

#include "editor_fixture.h"
#include "gamedefs/thingtypes.h"

namespace {

// Distinct logical colours (drawn as themselves without the game palette).
enum : int {
    kTwoSided = 1, kOneSided = 2, kMonster = 3, kSecret = 4, kSound = 5, kInvisible = 6,
    kMenu = 7, kGrid = 8, kTagged = 9, kNotNormal = 10, kBadTag = 11, kThingLines = 12,
    kNotNormalSector = 13, kVertexSquare = 14, kHiLight = 15,
};

class MapDrawTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        SetScale(1.0f);
        const int roles[] = {   // in the order of the colours above
            kColorTwoSided, kColorOneSided, kColorMonsterBlock, kColorSecret, kColorSoundBlock,
            kColorInvisible, kColorMenu, kColorGrid, kColorTagged, kColorNotNormalLine,
            kColorBadTag, kColorBackGroundThingLines, kColorNotNormalSector, kColorVertexSquare,
            kColorHiLight,
        };
        for (int i = 0; i < static_cast<int>(std::size(roles)); ++i)
            config.colors[roles[i]] = static_cast<int16_t>(i + 1);
        config.colors[kColorBackGround] = config.colors[kColorBackGroundThings] = 0;
        config.mapBorder = 0;
        config.editMode = kObjLineDef;
    }
    // The pixel of a map point.
    static int MapPixel(int x, int y) {
        const Canvas& s = Screen();
        int sx = MapToScreenX(x), sy = MapToScreenY(y) + MapAreaTop();
        bool inside = sx >= 0 && sx < s.width() && sy >= 0 && sy < s.height();
        return inside ? s.pixels()[sy * s.width() + sx] : -1;
    }
    // A horizontal LineDef from (-100, y) to (100, y).
    static int Line(int y, int flags, int type = 0, int tag = 0, int side1 = -1, int side2 = -1) {
        return AddLineDef(AddVertex(-100, y), AddVertex(100, y), side1, side2, flags, type, tag);
    }
};

TEST_F(MapDrawTest, LineDefColoursFollowTheirKindAndTheMode) {
    int plain = AddSector(), tagged = AddSector(7), special = AddSector(0, 9);
    const int L = kObjLineDef, S = kObjSector, no = -9;   // no: no SideDef
    const struct {
        int mode, flags, type, tag, side1, side2, colour;
    } cases[] = {
        {L, 1, 0, 0, plain, no, kOneSided},      {L, 2, 0, 0, plain, no, kMonster},
        {L, 0x20, 0, 0, plain, no, kSecret},     {L, 0x40, 0, 0, plain, no, kSound},
        {L, 0x80, 0, 0, plain, no, kInvisible},  {L, 0x21, 3, 0, plain, no, kNotNormal},
        {L, 4, 0, 5, plain, plain, kBadTag},     {L, 1, 3, 5, plain, no, kTagged},
        {L, 4, 0, 0, plain, plain, kTwoSided},   {S, 0x20, 0, 0, plain, no, kSecret},
        {S, 4, 0, 0, plain, plain, kTwoSided},   {S, 1, 0, 0, tagged, no, kTagged},
        {S, 1, 0, 0, special, no, kNotNormalSector}, {S, 4, 0, 0, plain, tagged, kTagged},
        {S, 4, 0, 0, tagged, special, kNotNormalSector}, {S, 1, 0, 0, -1, no, kBadTag},
        {S, 1, 0, 0, 40, no, kBadTag},           {S, 4, 0, 0, plain, -2, kBadTag},
        {S, 1, 3, 5, no, no, kBadTag},           {L, 0x21, 3, 0, no, no, kBadTag},   // no first side
    };
    int y = 90;
    for (const auto& c : cases) {
        int side1 = c.side1 == no ? -1 : AddSideDef(c.side1);
        Line(y, c.flags, c.type, c.tag, side1, c.side2 == no ? -1 : AddSideDef(c.side2));
        y -= 10;
    }
    for (int mode : {kObjLineDef, kObjSector}) {
        config.editMode = static_cast<int16_t>(mode);
        DrawMap(MapDrawing::Full);
        for (int i = 0; i < static_cast<int>(std::size(cases)); ++i)
            if (cases[i].mode == mode) {
                EXPECT_EQ(LineDefColour(i), cases[i].colour) << i;
                EXPECT_EQ(MapPixel(30, 90 - 10 * i), cases[i].colour) << i;
            }
    }
    DrawMap(MapDrawing::Quick);   // quick: one colour
    EXPECT_EQ(MapPixel(30, 90), kTwoSided);
    level.lineDefs[Line(-150, 1)].start = 500;   // a missing Vertex: not drawn
    DrawMap(MapDrawing::Full);
    EXPECT_EQ(MapPixel(30, -150), 0);
}

// A full redraw puts Things' shapes (Things mode) or crosses (the other
// modes) as stamps made once per look, and passes by the LineDefs off the
// map area before any work on them. The screen must be what drawing each
// object on its own gives, at every scale (also where a cross shrinks to one
// pixel): Things in or just beyond the area, in any direction; LineDefs
// short there (only a tick or an arrowhead may reach in) or long around and
// across it.
TEST_F(MapDrawTest, ThingsAndLineDefsDrawnAtOnceMatchEachDrawnOnItsOwn) {
    std::mt19937 random(7);
    const int types[] = {3004, 2014, 9, 2035, 1, 48, 9999};
    const int16_t pictures = config.thingPicture;
    int side = AddSideDef(AddSector());
    config.colors[kColorVertexSquare] = 0;   // Vertex markers (XOR) change nothing
    config.vertexArrows = 1;
    for (float scale : {0.02f, 0.03f, 0.06f, 0.2f, 0.5f, 1.0f, 2.5f, 6.0f}) {
        SetScale(scale);
        level.things.count = level.lineDefs.count = level.vertices.count = 0;
        const int w = view.maxX, h = view.maxY;
        std::uniform_int_distribution<int> nearX(-30, w + 30), nearY(-30, h + 30), farX(-w, 2 * w), farY(-h, 2 * h);
        std::uniform_int_distribution<int> step(-40, 40), type(0, 6), angle(0, 15);
        auto at = [](int x, int y) { return AddVertex(ScreenToMapX(x), ScreenToMapY(y)); };
        for (int i = 0; i < 300; ++i) {
            int x = nearX(random), y = nearY(random), a = angle(random);
            AddThing(ScreenToMapX(x), ScreenToMapY(y), types[type(random)],
                     a < 8 ? 45 * a : static_cast<int>(random() % 360));
            AddLineDef(at(x, y), at(x + step(random), y + step(random)), side, -1, i % 3);
            AddLineDef(at(farX(random), farY(random)), at(farX(random), farY(random)), side, -1, i % 3);
        }
        // Each kind checked with the other one away.
        const int32_t things = level.things.count, lineDefs = level.lineDefs.count;
        for (int mode : {kObjThing, kObjLineDef, kObjVertex}) {
            SCOPED_TRACE(testing::Message() << scale << " mode " << mode);
            config.editMode = static_cast<int16_t>(mode);
            config.thingPicture = mode == kObjThing ? pictures : 0;   // else crosses, not shapes
            level.lineDefs.count = 0;
            EXPECT_TRUE(mode == kObjVertex || DrawnAsAlone(level.things.count, [&](int n) {
                if (mode == kObjThing)
                    return DrawThing(n);
                SetColor(kTwoSided);
                DrawMapCross(level.things[n].x, level.things[n].y, 7);
            }));
            level.lineDefs.count = lineDefs;
            level.things.count = 0;
            EXPECT_TRUE(mode == kObjThing || DrawnAsAlone(level.lineDefs.count, [&](int l) {
                const Vertex& a = level.vertices[level.lineDefs[l].start];
                const Vertex& b = level.vertices[level.lineDefs[l].end];
                SetColor(LineDefColour(l));
                if (mode == kObjVertex)
                    DrawMapLineMarked(a.x, a.y, b.x, b.y, Arrowhead::AtEnd);
                else
                    DrawMapLine(a.x, a.y, b.x, b.y);
            }));
            level.things.count = things;
        }
    }
}

TEST_F(MapDrawTest, HighlightsVanishWhenDrawnTwice) {
    int tagged = AddSector(5), plain = AddSector();
    AddRoom(200, 0, 300, 100, tagged);
    int trigger = Line(-50, 4, 1, 5, AddSideDef(plain), AddSideDef(plain));
    Line(-80, 4, 0, 0, AddSideDef(tagged), AddSideDef(plain));   // shared by both Sectors
    Line(-110, 4, 1, 5);
    AddThing(0, 150, 3004);
    DrawMap(MapDrawing::Full);
    Pixels clean = ScreenPixels();
    HighlightObject(kObjLineDef, trigger, kHiLight);
    EXPECT_EQ(MapPixel(250, 100), 12);   // the tagged Sector, in colour 12
    HighlightObject(kObjLineDef, trigger, kHiLight);
    EXPECT_TRUE(ScreenPixels() == clean);
    for (int type : {int(kObjSector), int(kObjThing), int(kObjVertex)}) {
        HighlightObject(type, 0, kHiLight);
        EXPECT_FALSE(ScreenPixels() == clean) << type;
        HighlightObject(type, 0, kHiLight);
        EXPECT_TRUE(ScreenPixels() == clean) << type;
    }
    // A selection of Sectors marks their shared LineDef once.
    SelectionList both = ListOf({tagged, plain});
    HighlightSelection(kObjSector, both);
    EXPECT_EQ(MapPixel(0, -80), 2);
    EXPECT_EQ(MapPixel(30, -110), 12);   // tagged like a selected Sector
    HighlightSelection(kObjSector, both);
    EXPECT_TRUE(ScreenPixels() == clean);
}

// Every level of Freedoom, loaded with the level loader, drawn in every mode
// (Things with their sprites) at ordinary and extreme zooms.
using FreedoomMapTest = EditorScreenTest;

TEST_F(FreedoomMapTest, EveryLevelDrawsInEveryModeAtEveryZoom) {
    int levels = 0;
    config.gridShown = 1;
    config.gridSize = 8;
    for (int which : {1, 2}) {
        std::string path = testkit::FreedoomIwad(which);
        if (path.empty())
            continue;
        ResetMaster();   // the IWAD alone
        testkit::OpenIwadAt(path);
        std::vector<LevelListEntry> list = master.levelList;
        for (const LevelListEntry& entry : list) {
            mapkit::ClearMap();
            ASSERT_TRUE(LoadIwadLevel(entry.name)) << entry.name;
            ComputeMapBounds();
            ++levels;
            for (int mode : {kObjThing, kObjLineDef, kObjVertex, kObjSector}) {
                config.editMode = static_cast<int16_t>(mode);
                SetThingPictures(mode == kObjThing);
                ZoomToFit();
                DrawMap(MapDrawing::Full);
                for (float scale : {16.0f, 0.002f, 0.05f}) {
                    SetScale(scale);
                    for (int16_t at : {int16_t(32767), int16_t(-32768), level.vertices[0].x}) {
                        CentreMapAt(at, at);
                        DrawMap(MapDrawing::Full);
                        DrawMap(MapDrawing::Quick);
                        HighlightObject(mode, GetObjectUnderPointer(mode), 15);
                    }
                }
            }
        }
    }
    if (levels == 0)
        GTEST_SKIP() << "Freedoom not installed";
    EXPECT_GE(levels, 32);
}

}  // namespace
