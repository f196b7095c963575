// Picking and drawing on the real maps of Freedoom, loaded with the level
// loader: the geometry of MAP01 against an independent inside test and the
// Sector finder for whole-level scans against the plain scan, every
// level drawn in every mode (Things with their sprites) at ordinary and
// extreme zooms.
#include <set>
#include <string>

#include "editor_fixture.h"
#include "gamedefs/thingtypes.h"
#include "ui/picture_views.h"

namespace {

class FreedoomMapTest : public EditorScreenTest {
protected:
    // Opens the IWAD alone; false when it is not installed.
    static bool Open(int which) {
        std::string path = testkit::FreedoomIwad(which);
        if (!path.empty())
            OpenIwadAlone(path);
        return !path.empty();
    }
    // The Sectors whose boundary an eastward ray from (x, y) crosses an odd
    // number of times: exactly the Sector around the point on a sound map.
    static std::set<int> OddSectors(int x, int y) {
        std::set<int> odd;
        for (const LineDef& ld : level.lineDefs) {
            const Vertex* s = VertexAt(ld.start);
            const Vertex* e = VertexAt(ld.end);
            if (!s || !e || (s->y > y) == (e->y > y))
                continue;
            double cross = s->x + double(y - s->y) * (e->x - s->x) / (e->y - s->y);
            if (cross <= x)
                continue;
            for (int side : {ld.sideDef1, ld.sideDef2})
                if (const SideDef* sd = SideDefAt(side); sd && ValidSector(sd->sector))
                    if (!odd.erase(sd->sector))
                        odd.insert(sd->sector);
        }
        return odd;
    }
    // Whether (x, y) lies within two units of a LineDef.
    static bool NearALine(int x, int y) {
        for (int l = 0; l < level.lineDefs.count; ++l)
            if (IsLineDefInside(l, x - 2, y - 2, x + 2, y + 2))
                return true;
        return false;
    }
};

TEST_F(FreedoomMapTest, GeometryOfMap01AgreesWithAnIndependentInsideTest) {
    if (!Open(2))
        GTEST_SKIP() << "freedoom2.wad not installed";
    LoadMasterLevel("MAP01");
    int compared = 0;
    for (int x = view.mapMinX; x <= view.mapMaxX; x += 37)
        for (int y = view.mapMinY; y <= view.mapMaxY; y += 37) {
            // Outside the map the ray may still report a Sector that reaches
            // west of the point: only points inside are compared.
            std::set<int> odd = OddSectors(x, y);
            if (odd.size() != 1 || NearALine(x, y))
                continue;
            ASSERT_EQ(GetSectorAtPoint(level, x, y), *odd.begin()) << x << "," << y;
            ++compared;
        }
    EXPECT_GT(compared, 500);

    // The Sectors beside the LineDefs: the rules are PickingTest's; here the
    // finder for whole-level scans agrees with the plain scan.
    ExpectSideSectorFinderAgrees(1);
}

// Things mode with the pictures on: each Thing's sprite, drawn from the
// pictures kept between redraws, is what drawing its picture afresh shows.
TEST_F(FreedoomMapTest, KeptSpritesDrawAsThePicturesDrawnAfresh) {
    if (!Open(2))
        GTEST_SKIP() << "freedoom2.wad not installed";
    LoadMasterLevel("MAP01");
    config.editMode = kObjThing;
    SetThingPictures(true);
    for (float scale : {1.0f, 2.0f}) {
        SetScale(scale);
        for (const Thing& t : level.things) {
            SCOPED_TRACE(testing::Message() << scale << " at " << t.x << "," << t.y);
            CentreMapAt(t.x, t.y);
            ASSERT_TRUE(DrawnAsAlone(level.things.count, [&](int n) {
                const Thing& other = level.things[n];
                int sx = MapToScreenX(other.x), sy = MapToScreenY(other.y);
                if (0 < sy && sy < view.maxY - 30 && 0 <= sx && sx < view.maxX && ThingShown(other))
                    DrawPicture(sx, sy, -1, -1, nullptr, GetThingTypeSprite(static_cast<uint16_t>(other.type)), 0, 0,
                                static_cast<int>(scale), config.colors[kColorBackGroundThings],
                                PictureAnchor::Centre);
            }));
        }
    }
    SetThingPictures(false);
}

TEST_F(FreedoomMapTest, EveryLevelDrawsInEveryModeAtEveryZoom) {
    int levels = 0;
    config.gridShown = 1;
    config.gridSize = 8;
    for (int which : {1, 2}) {
        if (!Open(which))
            continue;
        std::vector<LevelListEntry> list = master.levelList;
        for (const LevelListEntry& entry : list) {
            LoadMasterLevel(entry.name);
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
