// Drawing the map on the headless screen, checked pixel by pixel: LineDef
// colours by kind and mode, ticks and arrows, the grid, Things, Vertex
// markers, highlights and far-away lines at a high zoom.
#include "editor_fixture.h"
#include "gamedefs/thingtypes.h"

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

class MapDrawTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        SetScale(1.0f);
        const int roles[][2] = {
            {kColorTwoSided, kTwoSided}, {kColorOneSided, kOneSided}, {kColorMonsterBlock, kMonster},
            {kColorSecret, kSecret}, {kColorSoundBlock, kSound}, {kColorInvisible, kInvisible},
            {kColorMenu, kMenu}, {kColorGrid, kGrid}, {kColorTagged, kTagged},
            {kColorNotNormalLine, kNotNormal}, {kColorBadTag, kBadTag},
            {kColorBackGroundThingLines, kThingLines}, {kColorNotNormalSector, kNotNormalSector},
            {kColorVertexSquare, kVertexSquare}, {kColorHiLight, kHiLight},
            {kColorBackGround, 0}, {kColorBackGroundThings, 0},
        };
        for (const auto& r : roles)
            config.colors[r[0]] = static_cast<int16_t>(r[1]);
        config.mapBorder = 0;
        config.editMode = kObjLineDef;
    }
    // The pixel at a map-area position.
    static int Pixel(int x, int y) {
        const Canvas& s = Screen();
        int sy = y + MapAreaTop();
        return x < 0 || x >= s.width() || sy < 0 || sy >= s.height() ? -1 : s.pixels()[sy * s.width() + x];
    }
    static int MapPixel(int x, int y) { return Pixel(MapToScreenX(x), MapToScreenY(y)); }
    // A horizontal LineDef from (-100, y) to (100, y).
    static int Line(int y, int flags, int type = 0, int tag = 0, int side1 = -1, int side2 = -1) {
        return AddLineDef(AddVertex(-100, y), AddVertex(100, y), side1, side2, flags, type, tag);
    }
};

TEST_F(MapDrawTest, LineDefColoursByKindAndMode) {
    const int kinds[][5] = {   // y, flags, type, tag, colour
        {50, 1, 0, 0, kOneSided},   {40, 2, 0, 0, kMonster},    {30, 0x20, 0, 0, kSecret},
        {20, 0x40, 0, 0, kSound},   {10, 0x80, 0, 0, kInvisible}, {0, 0x21, 3, 0, kNotNormal},
        {-10, 4, 0, 5, kBadTag},    {-20, 1, 3, 5, kTagged},    {-30, 4, 0, 0, kTwoSided},
    };
    for (const auto& k : kinds)
        Line(k[0], k[1], k[2], k[3]);
    level.lineDefs[Line(-40, 1)].start = 500;   // a missing Vertex: not drawn
    DrawMap(false);
    for (const auto& k : kinds)
        EXPECT_EQ(MapPixel(30, k[0]), k[4]) << "y " << k[0];
    EXPECT_EQ(MapPixel(30, -40), 0);
    DrawMap(true);   // quick: one colour
    EXPECT_EQ(MapPixel(30, 50), kTwoSided);
    int plain = Line(0, 4);
    config.editMode = kObjThing;
    EXPECT_EQ(LineDefColour(plain), kOneSided);
    SetThingPictures(true);
    EXPECT_EQ(LineDefColour(plain), kThingLines);
    EXPECT_TRUE(graphics.thingsPictureMode);
}

TEST_F(MapDrawTest, SectorsModeColoursFollowBothSides) {
    config.editMode = kObjSector;
    int plain = AddSector(), tagged = AddSector(7), special = AddSector(0, 9);
    const int cases[][4] = {   // flags, first Sector, second Sector (-9: no side), colour
        {0x20, plain, -9, kSecret},          {4, plain, plain, kTwoSided},
        {1, tagged, -9, kTagged},            {1, special, -9, kNotNormalSector},
        {4, plain, tagged, kTagged},         {4, tagged, special, kNotNormalSector},
        {1, -1, -9, kBadTag},                {1, 40, -9, kBadTag},
        {4, plain, -2, kBadTag},
    };
    for (const auto& c : cases) {
        int second = c[2] == -9 ? -1 : AddSideDef(c[2]);
        EXPECT_EQ(LineDefColour(Line(0, c[0], 0, 0, AddSideDef(c[1]), second)), c[3])
            << c[1] << " " << c[2];
    }
    EXPECT_EQ(LineDefColour(Line(0, 1, 3, 5)), kBadTag);   // no SideDef at all
}

TEST_F(MapDrawTest, VertexesModeMarksDirectionAndVertexes) {
    config.editMode = kObjVertex;
    Line(0, 1);          // eastwards through the view centre
    AddVertex(0, 100);   // used by no LineDef
    DrawMap(false);
    int cx = view.CenterX, cy = view.CenterY;
    EXPECT_EQ(Pixel(cx, cy + 10), kOneSided);   // the tick stands south: the first side
    EXPECT_EQ(Pixel(cx, cy - 10), 0);
    EXPECT_EQ(Pixel(cx + 92, cy - 4), kOneSided);   // arrowhead at the end
    EXPECT_EQ(Pixel(cx + 92, cy + 4), kOneSided);
    int vx = MapToScreenX(0), vy = MapToScreenY(100);   // a 3 x 4 block at scale 1
    EXPECT_EQ(Pixel(vx - 1, vy - 2), kVertexSquare);
    EXPECT_EQ(Pixel(vx + 1, vy + 1), kVertexSquare);
    EXPECT_EQ(Pixel(vx + 2, vy), 0);
    config.editMode = kObjLineDef;   // plain lines, no markers
    DrawMap(false);
    EXPECT_EQ(Pixel(cx, cy + 10), 0);
    EXPECT_EQ(Pixel(vx, vy), 0);
}

TEST_F(MapDrawTest, GridLinesLieOnMultiplesOfTheGridSize) {
    config.gridShown = 1;
    config.gridSize = 64;
    config.gridDashed = 0;
    view.OrigX = 100;
    DrawMap(false);
    EXPECT_EQ(MapPixel(128, 3), kGrid);
    EXPECT_EQ(MapPixel(100, 3), 0);
    EXPECT_EQ(MapPixel(100, 64), kGrid);
    EXPECT_EQ(Pixel(MapToScreenX(0), 0), kGrid);   // from edge to edge
    EXPECT_EQ(Pixel(MapToScreenX(0), view.MaxY - 20), kGrid);
    // Near the coordinate limit the grid stops instead of wrapping around.
    config.gridSize = 512;
    SetScale(0.05f);
    view.OrigX = 32767;
    DrawMap(false);
    EXPECT_EQ(Pixel(MapToScreenX(32768), 5), kGrid);
    EXPECT_EQ(Pixel(MapToScreenX(32768) + 30, 5), 0);
}

TEST_F(MapDrawTest, ThingsAsShapesCrossesAndFiltered) {
    config.editMode = kObjThing;
    const uint16_t kZombie = 3004;
    int zombie = AddThing(0, -100, kZombie, 0, 7);
    int sx = MapToScreenX(0), sy = MapToScreenY(-100), r = GetThingTypeRadius(kZombie);
    int colour = MapColor(GetThingTypeColour(kZombie));
    DrawMap(false);
    EXPECT_EQ(Pixel(sx + r, sy), colour);
    EXPECT_EQ(Pixel(sx - 10, sy), kMenu);    // heading line, east
    EXPECT_EQ(Pixel(sx + 10, sy), colour);   // arrowhead
    mapDraw.thingFilter[kFilterEnemies] = false;
    DrawMap(false);
    EXPECT_EQ(Pixel(sx + 7, sy), kTwoSided);   // a cross of 7 map units
    EXPECT_EQ(Pixel(sx + r, sy), 0);
    mapDraw.thingFilter[kFilterEnemies] = true;
    level.things[zombie].flags = 0x10;   // network only
    mapDraw.thingFilter[kFilterNetwork] = false;
    EXPECT_FALSE(ThingShown(level.things[zombie]));
    level.things[zombie].type = 2028;   // a lamp: "All Other Things", flags ignored
    EXPECT_TRUE(ThingShown(level.things[zombie]));
    // Other modes: crosses, unless "Thing Picture" asks for the shapes.
    config.editMode = kObjLineDef;
    level.things[zombie] = Thing{0, -100, 0, int16_t(kZombie), 7};
    config.thingPicture = 1;
    DrawMap(false);
    EXPECT_EQ(Pixel(sx + r, sy), colour);
    level.things[zombie].y = static_cast<int16_t>(ScreenToMapY(view.MaxY - 20));
    DrawMap(false);   // too near the bottom edge: not drawn
    EXPECT_EQ(Pixel(sx + r, view.MaxY - 20), 0);
}

TEST_F(MapDrawTest, HighlightsVanishWhenDrawnTwice) {
    int tagged = AddSector(5), plain = AddSector();
    mapkit::AddRoom(200, 0, 300, 100, tagged);
    int trigger = Line(-50, 4, 1, 5, AddSideDef(plain), AddSideDef(plain));
    Line(-80, 4, 0, 0, AddSideDef(tagged), AddSideDef(plain));   // shared by both Sectors
    AddThing(0, 150, 3004);
    DrawMap(false);
    Pixels clean = ScreenPixels();
    HighlightObject(kObjLineDef, trigger, kHiLight);
    EXPECT_EQ(MapPixel(250, 100), kOneSided ^ 12);   // the tagged Sector, in colour 12
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
    // A selection of Sectors draws their shared LineDef once.
    SelectionList both;
    SelectObject(both, tagged);
    SelectObject(both, plain);
    HighlightSelection(kObjSector, both);
    EXPECT_EQ(MapPixel(0, -80), kTwoSided ^ 2);
    EXPECT_EQ(MapPixel(30, -50), kTagged ^ 2 ^ 12);   // beside plain, tagged like the other
    HighlightSelection(kObjSector, both);
    EXPECT_TRUE(ScreenPixels() == clean);
}

TEST_F(MapDrawTest, FarLinesAtHighZoomAreClippedNotWrapped) {
    SetScale(16.0f);
    AddLineDef(AddVertex(4096, -10), AddVertex(4096, 10), -1, -1, 1);   // 16 bits: the centre
    int across = AddLineDef(AddVertex(-30000, -1), AddVertex(30000, 1), -1, -1, 2);
    AddThing(4096, 0, 3004);
    config.editMode = kObjThing;
    DrawMap(false);
    for (int y = 0; y < view.MaxY - 30; ++y)
        ASSERT_NE(Pixel(view.CenterX, y), kOneSided) << y;
    EXPECT_EQ(Pixel(0, view.CenterY), kMonster);
    EXPECT_EQ(Pixel(view.MaxX, view.CenterY), kMonster);
    Pixels drawn = ScreenPixels();
    HighlightObject(kObjLineDef, across, kHiLight);
    HighlightObject(kObjLineDef, across, kHiLight);
    EXPECT_TRUE(ScreenPixels() == drawn);
}

TEST_F(MapDrawTest, PointerCoordinatesRedrawOnlyWhenChanged) {
    view.PointerX = static_cast<int16_t>(view.CenterX + 8);
    EXPECT_TRUE(ShowPointerCoordinates(400, 4, 7, 0, false));
    EXPECT_FALSE(ShowPointerCoordinates(400, 4, 7, 0, false));
    mapDraw.mapCoordinates = false;   // pixels
    EXPECT_TRUE(ShowPointerCoordinates(400, 4, 7, 0, false));
    EXPECT_EQ(mapDraw.shownX, view.CenterX + 8);
    const Canvas& screen = Screen();
    EXPECT_EQ(screen.pixels()[5 * screen.width() + 550], 7);   // the field, on the whole screen
}

}  // namespace
