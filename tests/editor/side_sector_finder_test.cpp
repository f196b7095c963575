// The strip index that finds the Sector beside a LineDef for whole-level
// scans gives what the plain scan over every LineDef gives.
#include <random>

#include "editor_fixture.h"
#include "support/big_map.h"

namespace {

class SideSectorFinderTest : public EditorTest {
protected:
    static void Open(const std::string& iwad, const char* name) {
        OpenIwadAlone(iwad);
        ASSERT_TRUE(LoadMasterLevel(name));
    }
    // Both answers for the LineDefs given by every step-th number.
    static void ExpectSameAnswers(int step) {
        SideSectorFinder finder;
        for (int ld = 0; ld < level.lineDefs.count; ld += step)
            for (LineSide side : {LineSide::Right, LineSide::Left})
                ASSERT_EQ(finder.SectorOnSide(ld, side), GetSectorOnSide(ld, side))
                    << "LineDef " << ld << (side == LineSide::Right ? " right" : " left");
    }
};

TEST_F(SideSectorFinderTest, AgreesOnCraftedMapsWithOddGeometry) {
    TwoRooms();
    // A LineDef on a missing Vertex, one of no length, one along a strip's
    // edge and a diagonal.
    int a = mapkit::AddVertex(200, 0), b = mapkit::AddVertex(400, 300);
    mapkit::AddLineDef(a, b, mapkit::AddSideDef(outer), mapkit::AddSideDef(inner), 4);
    mapkit::AddLineDef(a, a, mapkit::AddSideDef(outer));
    mapkit::AddLineDef(a, 999, mapkit::AddSideDef(outer));
    ExpectSameAnswers(1);
    mapkit::ClearMap();
    SideSectorFinder empty;
    EXPECT_EQ(empty.SectorOnSide(0, LineSide::Right), -1);
}

TEST_F(SideSectorFinderTest, AgreesOnFreedoomLevels) {
    std::string iwad = testkit::FreedoomIwad(2);
    if (iwad.empty())
        GTEST_SKIP() << "Freedoom is not installed";
    Open(iwad, "MAP01");
    ExpectSameAnswers(1);
    Open(iwad, "MAP12");
    ExpectSameAnswers(7);
}

TEST_F(SideSectorFinderTest, AgreesOnTheLargeGeneratedMap) {
    testkit::ScratchDir dir;
    bigmap::Options options;
    options.things = 0;
    bigmap::BigMap map = bigmap::Generate(options);
    testkit::WadBuilder wad("IWAD");
    AddLevel(wad, "MAP01", map);
    std::string path = dir.file("big.wad");
    wad.write(path);
    Open(path, "MAP01");
    ExpectSameAnswers(997);
}

}  // namespace
