// A generated map far past the signed 16-bit range, read from a WAD file and
// shown on the headless screen: its walls are drawn to the last LineDef with
// the colours their SideDefs and Sectors give, and the objects with the
// highest numbers are found, selected and converted, and the Sectors beside
// its LineDefs are found as a plain scan finds them.
#include <array>
#include <random>
#include <set>

#include "editor_fixture.h"
#include "support/big_map.h"

namespace {

enum : int { kTwoSided = 1, kOneSided = 2, kBadTag = 3 };

class LargeMapTest : public EditorScreenTest {
protected:
    void SetUp() override {
        EditorScreenTest::SetUp();
        config.colors[kColorTwoSided] = kTwoSided;
        config.colors[kColorOneSided] = kOneSided;
        config.colors[kColorBadTag] = kBadTag;
        config.colors[kColorBackGround] = 0;
        config.mapBorder = 0;
        bigmap::Options options;
        options.unusedSectors = 33000;   // the rooms' Sectors are 33000..34999
        options.reject = false;
        map = bigmap::Generate(options);
        testkit::WadBuilder wad("IWAD");
        AddLevel(wad, "MAP01", map);
        std::string path = session.Dir().file("big.wad");
        wad.write(path);
        OpenIwadAlone(path);
        ASSERT_TRUE(LoadMasterLevel("MAP01"));
    }
    // The last room's corners, and the point in its middle.
    int Right() const { return map.RoomX(map.options.columns); }
    int Top() const { return map.RoomY(map.options.rows); }
    int Half() const { return map.options.cell / 2; }
    // The pixel showing a map point; -1 outside the map area.
    static int MapPixel(int x, int y) {
        Viewport area = Screen().getviewport();
        int sx = MapToScreenX(x), sy = MapToScreenY(y);
        if (sx < 0 || sx > area.right - area.left || sy < 0 || sy > area.bottom - area.top)
            return -1;
        return Screen().pixels()[(sy + area.top) * Screen().width() + sx + area.left];
    }

    bigmap::BigMap map;
};

TEST_F(LargeMapTest, WallsAreDrawnWithTheColoursOfTheirSidesToTheLastLineDef) {
    SetScale(1.0f);
    CentreMapAt(int16_t(Right() - 300), int16_t(Top() - 200));
    for (int mode : {kObjLineDef, kObjSector}) {
        config.editMode = static_cast<int16_t>(mode);
        DrawMap(MapDrawing::Full);
        int checked = 0;
        for (int l = 0; l < level.lineDefs.count; ++l) {
            const LineDef& ld = level.lineDefs[l];
            int x = (level.vertices[ld.start].x + level.vertices[ld.end].x) / 2;
            int y = (level.vertices[ld.start].y + level.vertices[ld.end].y) / 2;
            int pixel = MapPixel(x, y);
            if (pixel < 0)
                continue;
            ASSERT_EQ(pixel, ld.sideDef2 == kNoReference ? kOneSided : kTwoSided) << "LineDef " << l;
            ++checked;
        }
        EXPECT_GT(checked, 300);
        EXPECT_EQ(MapPixel(Right(), Top() - Half()), kOneSided);   // LineDef 64511
    }
}

TEST_F(LargeMapTest, HighNumberedObjectsArePickedSelectedAndConverted) {
    config.selectRange = 1;
    SetScale(4.0f);
    const Thing& last = map.things.back();
    const struct {
        int type, x, y, found;
    } cases[] = {
        {kObjThing, last.x, last.y, 39999},
        {kObjVertex, Right(), Top(), 32768},
        {kObjLineDef, Right(), Top() - Half(), 64511},
        {kObjSector, Right() - Half(), Top() - Half(), map.RoomSector(31743)},   // 34743
    };
    for (const auto& c : cases) {
        CentreMapAt(int16_t(c.x), int16_t(c.y));
        EXPECT_EQ(GetObjectUnderPointer(c.type), c.found) << ObjectTypeName(c.type);
    }

    // The last room's walls selected by a box, then their Vertexes.
    config.editMode = kObjLineDef;
    selection.list = SelectObjectsInBox(kObjLineDef, Right() - 2 * Half(), Top() - 2 * Half(), Right(), Top());
    EXPECT_EQ(std::set<int>(selection.list.begin(), selection.list.end()),
              (std::set<int>{31743, 32735, 64510, 64511}));
    ConvertSelection(kObjLineDef, kObjVertex);
    EXPECT_EQ(std::set<int>(selection.list.begin(), selection.list.end()),
              (std::set<int>{31774, 31775, 32767, 32768}));
    EXPECT_EQ(ListedObjectCount(), 4);
    UnSelectObject(selection.list, 32768);
    EXPECT_FALSE(IsSelected(selection.list, 32768));
    EXPECT_EQ(ListedObjectCount(), 3);
}

TEST_F(LargeMapTest, SideSectorFinderAgreesWithThePlainScan) { ExpectSideSectorFinderAgrees(997); }

// The LineDef a plain scan picks in a box: the first through its centre,
// else the first touching it.
int ScannedLineDef(int x0, int y0, int x1, int y1) {
    int cx = BoxCentre(x0, x1), cy = BoxCentre(y0, y1);
    for (const auto& box : {std::array<int, 4>{cx - 1, cy - 1, cx + 1, cy + 1}, std::array<int, 4>{x0, y0, x1, y1}})
        for (int i = 0; i < level.lineDefs.count; ++i)
            if (IsLineDefInside(i, box[0], box[1], box[2], box[3]))
                return i;
    return -1;
}

TEST_F(LargeMapTest, LineDefsArePickedAsAPlainScanPicksThem) {
    std::mt19937 random(5);
    std::uniform_int_distribution<int> x(-100, Right() + 100), y(-100, Top() + 100), size(0, 3 * Half());
    auto expectSame = [](int x0, int y0, int x1, int y1) {
        ASSERT_EQ(GetCurObject(Coords::Map, kObjLineDef, x0, y0, x1, y1), ScannedLineDef(x0, y0, x1, y1))
            << x0 << "," << y0 << " " << x1 << "," << y1;
    };
    for (int i = 0; i < 300; ++i) {
        int x0 = x(random), y0 = y(random);
        expectSame(x0, y0, x0 + size(random), y0 + size(random));
    }
    expectSame(-30000, -30000, 30000, 30000);

    // A Vertex moved with nothing told: its LineDefs are found where they
    // are now, from the first pick on.
    const LineDef& wall = level.lineDefs[64511];
    Vertex& end = level.vertices[wall.start];
    const Vertex other = level.vertices[wall.end];
    end.x = int16_t(-2000);
    for (int pick = 0; pick < 2; ++pick) {
        int along = (end.x + other.x) / 2, at = (end.y + other.y) / 2;
        expectSame(along - 1, at - 1, along + 1, at + 1);
        expectSame(Right() - 1, Top() - Half() - 1, Right() + 1, Top() - Half() + 1);
    }
}

}  // namespace
