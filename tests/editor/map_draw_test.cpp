// Drawing the map on the headless screen, checked pixel by pixel: LineDef
// colours by kind and mode, ticks and arrows, the grid, Things, Vertex
// markers, highlights and far-away lines at a high zoom.
#include <cstring>

#include "editor_fixture.h"
#include "gamedefs/thingtypes.h"
#include "platform/video.h"
#include "support/headless_kit.h"
#include "ui/graphics.h"
#include "ui/input.h"

using mapkit::AddLineDef;
using mapkit::AddSector;
using mapkit::AddSideDef;
using mapkit::AddThing;
using mapkit::AddVertex;

namespace {

// Distinct logical colours (drawn as themselves without the game palette).
enum : int {
    kTwoSided = 1, kOneSided = 2, kMonster = 3, kSecret = 4, kSound = 5, kInvisible = 6,
    kMenu = 7, kGrid = 8, kTagged = 9, kNotNormal = 10, kBadTag = 11, kThingLines = 12,
    kNotNormalSector = 13, kVertexSquare = 14, kHiLight = 15,
};

class MapDrawTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        InitGraphics(0);
        InitView();
        SetScale(1.0f);
        view.OrigX = 0, view.OrigY = 0;
        const std::pair<ColorRole, int> roles[] = {
            {kColorTwoSided, kTwoSided},       {kColorOneSided, kOneSided},
            {kColorMonsterBlock, kMonster},    {kColorSecret, kSecret},
            {kColorSoundBlock, kSound},        {kColorInvisible, kInvisible},
            {kColorMenu, kMenu},               {kColorGrid, kGrid},
            {kColorTagged, kTagged},           {kColorNotNormalLine, kNotNormal},
            {kColorBadTag, kBadTag},           {kColorBackGroundThingLines, kThingLines},
            {kColorNotNormalSector, kNotNormalSector}, {kColorVertexSquare, kVertexSquare},
            {kColorHiLight, kHiLight},         {kColorBackGround, 0},
            {kColorBackGroundThings, 0},
        };
        for (const auto& r : roles)
            config.colors[r.first] = static_cast<int16_t>(r.second);
        config.mapBorder = 0;
        config.editMode = kObjLineDef;
    }

    // The pixel at a map-area position.
    int Pixel(int x, int y) const {
        const Canvas& s = Screen();
        int sy = y + MapAreaTop();
        if (x < 0 || x >= s.width() || sy < 0 || sy >= s.height())
            return -1;
        return s.pixels()[sy * s.width() + x];
    }
    int MapPixel(int x, int y) const { return Pixel(MapToScreenX(x), MapToScreenY(y)); }
    std::vector<uint8_t> ScreenPixels() const {
        const Canvas& s = Screen();
        return std::vector<uint8_t>(s.pixels(), s.pixels() + s.width() * s.height());
    }
    // A horizontal LineDef from (-100, y) to (100, y).
    int Line(int y, int flags, int type = 0, int tag = 0, int side1 = -1, int side2 = -1) {
        return AddLineDef(AddVertex(-100, y), AddVertex(100, y), side1, side2, flags, type, tag);
    }

    testkit::HeadlessSession session;
};

TEST_F(MapDrawTest, LineDefColourRulesOutsideSectorsMode) {
    struct Case {
        int flags, type, tag, colour;
    };
    const Case cases[] = {
        {1, 0, 0, kOneSided},   {2, 0, 0, kMonster},  {0x20, 0, 0, kSecret},
        {0x40, 0, 0, kSound},   {0x80, 0, 0, kInvisible}, {4, 0, 0, kTwoSided},
        {0x21, 0, 0, kOneSided}, {1, 3, 0, kNotNormal}, {4, 0, 5, kBadTag},
        {1, 3, 5, kTagged},     {0x22, -1, -4, kMonster},
    };
    for (const Case& c : cases) {
        int n = Line(0, c.flags, c.type, c.tag);
        EXPECT_EQ(LineDefColour(n), c.colour) << c.flags << " " << c.type << " " << c.tag;
    }
    int plain = Line(0, 4);
    config.editMode = kObjVertex;
    EXPECT_EQ(LineDefColour(plain), kTwoSided);
    config.editMode = kObjThing;
    EXPECT_EQ(LineDefColour(plain), kOneSided);
    SetThingPictures(true);
    EXPECT_EQ(LineDefColour(plain), kThingLines);
    EXPECT_TRUE(graphics.thingsPictureMode);
    config.editMode = kObjLineDef;
    SyncMapBackground();
    EXPECT_FALSE(graphics.thingsPictureMode);
    EXPECT_EQ(LineDefColour(99), kTwoSided);
}

TEST_F(MapDrawTest, LineDefColourRulesInSectorsMode) {
    config.editMode = kObjSector;
    int plain = AddSector(), tagged = AddSector(7), special = AddSector(0, 9);
    auto side = [](int sector) { return AddSideDef(sector); };
    EXPECT_EQ(LineDefColour(Line(0, 0x20, 0, 0, side(plain))), kSecret);
    EXPECT_EQ(LineDefColour(Line(0, 4, 0, 0, side(plain), side(plain))), kTwoSided);
    EXPECT_EQ(LineDefColour(Line(0, 1, 0, 0, side(tagged))), kTagged);
    EXPECT_EQ(LineDefColour(Line(0, 1, 0, 0, side(special))), kNotNormalSector);
    // The second side decides when it faces a tagged or special Sector.
    EXPECT_EQ(LineDefColour(Line(0, 4, 0, 0, side(plain), side(tagged))), kTagged);
    EXPECT_EQ(LineDefColour(Line(0, 4, 0, 0, side(special), side(tagged))), kTagged);
    EXPECT_EQ(LineDefColour(Line(0, 4, 0, 0, side(tagged), side(special))), kNotNormalSector);
    // Missing sides and Sectors.
    EXPECT_EQ(LineDefColour(Line(0, 1, 3, 5)), kBadTag);
    EXPECT_EQ(LineDefColour(Line(0, 1, 0, 0, side(-1))), kBadTag);
    EXPECT_EQ(LineDefColour(Line(0, 1, 0, 0, side(40))), kBadTag);
    EXPECT_EQ(LineDefColour(Line(0, 4, 0, 0, side(plain), side(-2))), kBadTag);
    EXPECT_EQ(LineDefColour(Line(0, 4, 0, 0, side(tagged), 900)), kTagged);
}

TEST_F(MapDrawTest, FullAndQuickDrawUseTheColoursOfEachLineDef) {
    const int kinds[][4] = {{50, 1, 0, 0}, {40, 2, 0, 0}, {30, 0x20, 0, 0}, {20, 0x40, 0, 0},
                            {10, 0x80, 0, 0}, {0, 1, 3, 0}, {-10, 4, 0, 5}, {-20, 1, 3, 5},
                            {-30, 4, 0, 0}};
    const int colours[] = {kOneSided, kMonster, kSecret, kSound, kInvisible,
                           kNotNormal, kBadTag, kTagged, kTwoSided};
    for (const auto& k : kinds)
        Line(k[0], k[1], k[2], k[3]);
    level.lineDefs[Line(-40, 1)].start = 500;   // a missing Vertex: not drawn
    DrawMap(false);
    EXPECT_TRUE(mapDraw.mapComplete);
    for (size_t i = 0; i < std::size(kinds); ++i)
        EXPECT_EQ(MapPixel(30, kinds[i][0]), colours[i]) << "y " << kinds[i][0];
    EXPECT_EQ(MapPixel(30, -40), 0);
    EXPECT_EQ(MapPixel(30, 5), 0);
    DrawMap(true);
    EXPECT_FALSE(mapDraw.mapComplete);
    for (const auto& k : kinds)
        EXPECT_EQ(MapPixel(-30, k[0]), kTwoSided);
}

TEST_F(MapDrawTest, VertexesModeMarksDirectionAndVertexes) {
    config.editMode = kObjVertex;
    config.vertexArrows = 1;
    Line(0, 1);   // eastwards through the view centre
    AddVertex(0, 100);   // used by no LineDef
    DrawMap(false);
    int cx = view.CenterX, cy = view.CenterY;
    EXPECT_EQ(Pixel(cx, cy + 10), kOneSided);   // the tick stands south: the first side
    EXPECT_EQ(Pixel(cx, cy - 10), 0);
    EXPECT_EQ(Pixel(cx + 92, cy - 4), kOneSided);   // arrowhead at the end (cx + 100, cy)
    EXPECT_EQ(Pixel(cx + 92, cy + 4), kOneSided);
    EXPECT_EQ(Pixel(cx - 92, cy - 4), 0);
    // The lone Vertex: a 3 x 4 block at scale 1.
    int vx = MapToScreenX(0), vy = MapToScreenY(100);
    EXPECT_EQ(Pixel(vx - 1, vy - 2), kVertexSquare);
    EXPECT_EQ(Pixel(vx + 1, vy + 1), kVertexSquare);
    EXPECT_EQ(Pixel(vx + 2, vy), 0);
    EXPECT_EQ(Pixel(vx, vy + 2), 0);

    config.editMode = kObjLineDef;   // plain lines
    DrawMap(false);
    EXPECT_EQ(Pixel(cx, cy + 10), 0);
    EXPECT_EQ(Pixel(vx, vy), 0);
}

TEST_F(MapDrawTest, ZeroLengthLineDefStillGetsItsTick) {
    config.editMode = kObjLineDef;
    Screen().setcolor(kOneSided);
    DrawMapLineMarked(10, 0, 10, 0, false);   // length taken as 0.5: no division by zero
    EXPECT_EQ(Pixel(MapToScreenX(10), view.CenterY), kOneSided);
}

TEST_F(MapDrawTest, GridLinesLieOnMultiplesOfTheGridSize) {
    config.gridShown = 1;
    config.gridSize = 64;
    config.gridDashed = 0;
    view.OrigX = 100;
    DrawMap(false);
    EXPECT_EQ(MapPixel(128, 3), kGrid);
    EXPECT_EQ(MapPixel(-256 + 64, 3), kGrid);
    EXPECT_EQ(MapPixel(100, 3), 0);
    EXPECT_EQ(MapPixel(100, 64), kGrid);
    EXPECT_EQ(Pixel(MapToScreenX(0), 0), kGrid);   // from edge to edge
    EXPECT_EQ(Pixel(MapToScreenX(0), view.MaxY - 20), kGrid);

    config.gridDashed = 1;
    DrawMap(false);
    int on = 0;
    for (int y = 0; y < 16; ++y)
        on += MapPixel(128, y) == kGrid;
    EXPECT_GT(on, 2);
    EXPECT_LT(on, 14);

    // Near the coordinate limits the grid stops instead of wrapping around.
    config.gridDashed = 0;
    config.gridSize = 512;
    SetScale(0.05f);
    view.OrigX = 32767;
    DrawMap(false);
    EXPECT_EQ(Pixel(MapToScreenX(32768), 5), kGrid);
    EXPECT_EQ(Pixel(MapToScreenX(32768) + 30, 5), 0);
}

TEST_F(MapDrawTest, ThingsAsShapesCrossesAndFiltered) {
    config.editMode = kObjThing;
    config.thingFillPattern = 0;
    const uint16_t kZombie = 3004;
    int zombie = AddThing(0, -100, kZombie, 0, 7);
    int sx = MapToScreenX(0), sy = MapToScreenY(-100);
    int r = GetThingTypeRadius(kZombie);
    DrawMap(false);
    int colour = MapColor(GetThingTypeColour(kZombie));
    EXPECT_EQ(Pixel(sx + r, sy), colour);
    EXPECT_EQ(Pixel(sx - r, sy), colour);
    EXPECT_EQ(Pixel(sx - 10, sy), kMenu);   // heading line, east
    EXPECT_EQ(Pixel(sx + 10, sy), colour);   // arrowhead

    mapDraw.thingFilter[kFilterEnemies] = false;
    DrawMap(false);
    EXPECT_EQ(Pixel(sx + 7, sy), kTwoSided);   // a cross of 7 map units
    EXPECT_EQ(Pixel(sx + r, sy), 0);
    mapDraw.thingFilter[kFilterEnemies] = true;
    level.things[zombie].flags = 0x10;   // network only
    mapDraw.thingFilter[kFilterNetwork] = false;
    EXPECT_FALSE(ThingShown(level.things[zombie]));
    mapDraw.thingFilter[kFilterNetwork] = true;
    EXPECT_TRUE(ThingShown(level.things[zombie]));
    level.things[zombie].type = 2028;   // a lamp: "All Other Things", flags ignored
    level.things[zombie].flags = 0;
    EXPECT_TRUE(ThingShown(level.things[zombie]));
    mapDraw.thingFilter[kFilterOther] = false;
    EXPECT_FALSE(ThingShown(level.things[zombie]));

    // Other modes: crosses, unless "Thing Picture" asks for the shapes.
    config.editMode = kObjLineDef;
    level.things[zombie] = Thing{0, -100, 0, int16_t(kZombie), 7};
    DrawMap(false);
    EXPECT_EQ(Pixel(sx + 7, sy), kTwoSided);
    config.thingPicture = 1;
    DrawMap(false);
    EXPECT_EQ(Pixel(sx + r, sy), colour);

    // Too near the bottom edge: not drawn.
    level.things[zombie].y = static_cast<int16_t>(ScreenToMapY(view.MaxY - 20));
    DrawMap(false);
    EXPECT_EQ(Pixel(sx + r, MapToScreenY(level.things[zombie].y)), 0);
}

TEST_F(MapDrawTest, HighlightsVanishWhenDrawnTwice) {
    int tagged = AddSector(5);
    int plain = AddSector();
    mapkit::AddRoom(200, 0, 300, 100, tagged);
    mapkit::AddRoom(-300, 0, -200, 100, plain);
    int trigger = Line(-50, 4, 1, 5, AddSideDef(plain), AddSideDef(plain));
    AddThing(0, 150, 3004);
    DrawMap(false);
    std::vector<uint8_t> clean = ScreenPixels();

    HighlightObject(kObjLineDef, trigger, kHiLight);
    EXPECT_NE(MapPixel(250, 100), 0);   // the tagged Sector's north wall, in colour 12
    EXPECT_EQ(MapPixel(250, 100), kOneSided ^ 12);
    HighlightObject(kObjLineDef, trigger, kHiLight);
    EXPECT_TRUE(ScreenPixels() == clean);

    HighlightObject(kObjLineDef, trigger, 12);   // colour 12 itself: no tagged Sectors
    EXPECT_EQ(MapPixel(250, 100), kOneSided);
    HighlightObject(kObjLineDef, trigger, 12);

    for (int type : {int(kObjSector), int(kObjThing), int(kObjVertex)}) {
        HighlightObject(type, 0, kHiLight);
        EXPECT_FALSE(ScreenPixels() == clean) << type;
        HighlightObject(type, 0, kHiLight);
        EXPECT_TRUE(ScreenPixels() == clean) << type;
    }
    HighlightObject(kObjSector, 77, kHiLight);
    HighlightObject(kObjThing, -1, kHiLight);
    EXPECT_TRUE(ScreenPixels() == clean);

    // A selection of Sectors sharing a LineDef draws it once.
    int shared = Line(-80, 4, 0, 0, AddSideDef(tagged), AddSideDef(plain));
    DrawMap(false);
    clean = ScreenPixels();
    SelectionList both;
    SelectObject(both, tagged);
    SelectObject(both, plain);
    HighlightSelection(kObjSector, both);
    EXPECT_EQ(MapPixel(0, -80), kTwoSided ^ 2);
    // The LineDef with the tagged Sector's tag, beside the plain Sector too.
    EXPECT_EQ(MapPixel(30, -50), kTagged ^ 2 ^ 12);
    HighlightSelection(kObjSector, both);
    EXPECT_TRUE(ScreenPixels() == clean);
    (void)shared;
}

TEST_F(MapDrawTest, FarLinesAtHighZoomAreClippedNotWrapped) {
    SetScale(16.0f);
    // 16 bits would put this LineDef on the view centre's column.
    AddLineDef(AddVertex(4096, -10), AddVertex(4096, 10), -1, -1, 1);
    int across = AddLineDef(AddVertex(-30000, -1), AddVertex(30000, 1), -1, -1, 2);
    AddThing(4096, 0, 3004);
    config.editMode = kObjThing;
    DrawMap(false);
    for (int y = 0; y < view.MaxY - 30; ++y)
        ASSERT_NE(Pixel(view.CenterX, y), kOneSided) << y;
    EXPECT_EQ(Pixel(0, view.CenterY), kMonster);
    EXPECT_EQ(Pixel(view.MaxX, view.CenterY), kMonster);
    HighlightObject(kObjLineDef, across, kHiLight);
    HighlightObject(kObjLineDef, across, kHiLight);
    config.editMode = kObjVertex;
    DrawMap(false);   // Vertex markers far away are skipped
    EXPECT_EQ(Pixel(view.CenterX, view.CenterY - 40), 0);
}

TEST_F(MapDrawTest, PointerCoordinatesRedrawOnlyWhenChanged) {
    view.PointerX = static_cast<int16_t>(view.CenterX + 8);
    view.PointerY = static_cast<int16_t>(view.CenterY);
    EXPECT_TRUE(ShowPointerCoordinates(400, 4, 7, 0, false));
    EXPECT_EQ(mapDraw.shownX, 8);
    EXPECT_FALSE(ShowPointerCoordinates(400, 4, 7, 0, false));
    EXPECT_TRUE(ShowPointerCoordinates(400, 4, 7, 0, true));
    mapDraw.mapCoordinates = false;
    EXPECT_TRUE(ShowPointerCoordinates(400, 4, 7, 0, false));
    EXPECT_EQ(mapDraw.shownX, view.CenterX + 8);
    const Canvas& screen = Screen();
    EXPECT_EQ(screen.pixels()[5 * screen.width() + 550], 7);   // the field, on the whole screen
}

}  // namespace
