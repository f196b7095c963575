// A generated map far past the signed 16-bit range, read from a WAD file and
// shown on the headless screen: its walls are drawn to the last LineDef with
// the colours their SideDefs and Sectors give, and the objects with the
// highest numbers are found, selected and converted, and the Sectors beside
// its LineDefs are found as a plain scan finds them.
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

}  // namespace
