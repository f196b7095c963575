// Every level of Freedoom, loaded with the level loader, drawn in every mode
// (Things with their sprites) at ordinary and extreme zooms.
#include "editor_fixture.h"

namespace {

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
            SetField(level.name, entry.name);
            ASSERT_TRUE(LoadLevel(LevelSource::MasterDirectory)) << entry.name;
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
