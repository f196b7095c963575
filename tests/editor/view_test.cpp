// The map view's transform, zoom steps, fitting, centring and scrolling.
#include <cmath>

#include "editor_fixture.h"
#include "platform/keys.h"
#include "ui/graphics.h"
#include "ui/input.h"

using mapkit::AddVertex;

namespace {

using ViewTest = EditorTest;

TEST_F(ViewTest, TransformTruncatesTowardsZeroBothWays) {
    view.OrigX = 100, view.OrigY = -40;
    SetScale(0.125f);
    EXPECT_EQ(MapToScreenX(108), 320);
    EXPECT_EQ(MapToScreenX(95), 319);    // -0.625 truncates to 0
    EXPECT_EQ(MapToScreenY(-48), 240);   // y grows downwards on the screen
    EXPECT_EQ(MapToScreenY(-35), 239);
    EXPECT_EQ(ScreenToMapX(318), 92);
    EXPECT_EQ(ScreenToMapY(240), -48);
    SetScale(0.3f);
    EXPECT_EQ(ScreenToMapX(320), 103);   // 3.33 truncated
    EXPECT_EQ(ScreenToMapX(318), 97);
    EXPECT_EQ(graphics.mapScale, 0.3f);   // the ruler follows the scale
    EXPECT_EQ(config.scale, 0.3f);
}

TEST_F(ViewTest, FarPointsNeitherWrapNorOverflow) {
    SetScale(16.0f);
    EXPECT_EQ(MapToScreenX(30000), 480000 + view.CenterX);
    EXPECT_EQ(MapToScreenX(4096), 65536 + view.CenterX);   // 16 bits would give the centre
    EXPECT_EQ(MapToScreenY(-32768), 524288 + view.CenterY);
    view.OrigX = 32767;
    EXPECT_EQ(ScreenToMapX(view.MaxX), 32767);   // stops at the limit
    SetScale(0.002f);
    view.OrigX = 0;
    EXPECT_EQ(ScreenToMapX(0), -32768);
    EXPECT_EQ(ScreenToMapX(view.MaxX), 32767);
}

TEST_F(ViewTest, ZoomStepsAndLimits) {
    struct Step {
        float from;
        bool in;
        double to;
    };
    const Step steps[] = {
        {0.125f, true, 1.0 / 7}, {0.5f, true, 1.0},  {1.0f, true, 1.5},    {15.75f, true, 16.0},
        {1.0f, false, 0.5},      {0.5f, false, 1.0 / 3}, {1.5f, false, 1.0}, {2.5f, false, 2.0},
        {0.0526f, false, 0.05},  {0.2f, false, 1.0 / 6},
    };
    for (const Step& s : steps) {
        SetScale(s.from);
        EXPECT_TRUE(s.in ? ZoomIn() : ZoomOut());
        EXPECT_NEAR(view.Scale, s.to, 1e-6) << s.from << (s.in ? " in" : " out");
    }
    SetScale(16.0f);
    view.RedrawPending = false;
    EXPECT_FALSE(ZoomIn());
    EXPECT_FALSE(view.RedrawPending);
    SetScale(0.05f);
    EXPECT_FALSE(ZoomOut());
    // From 1/n the steps go through every unit fraction up to 1.
    SetScale(0.125f);
    for (int n = 7; n >= 2; --n) {
        ZoomIn();
        EXPECT_NEAR(1.0 / view.Scale, n, 1e-4);
    }
    ZoomIn();
    EXPECT_EQ(view.Scale, 1.0f);
}

TEST_F(ViewTest, ZoomKeepsTheMapPointUnderThePointer) {
    SetScale(0.125f);
    view.PointerX = static_cast<int16_t>(view.CenterX + 100);
    view.PointerY = static_cast<int16_t>(view.CenterY - 100);
    int16_t x = ScreenToMapX(view.PointerX), y = ScreenToMapY(view.PointerY);
    EXPECT_EQ(x, 800);
    ZoomToDigit(5);
    EXPECT_FLOAT_EQ(view.Scale, 0.2f);
    EXPECT_EQ(view.OrigX, 300);
    EXPECT_EQ(ScreenToMapX(view.PointerX), x);
    EXPECT_EQ(ScreenToMapY(view.PointerY), y);
    ZoomToDigit(0);
    EXPECT_FLOAT_EQ(view.Scale, 0.1f);
    EXPECT_EQ(ScreenToMapX(view.PointerX), x);
    for (int i = 0; i < 20; ++i)
        ZoomIn();
    EXPECT_NEAR(ScreenToMapX(view.PointerX), x, 1);
    EXPECT_NEAR(ScreenToMapY(view.PointerY), y, 1);
}

TEST_F(ViewTest, PresetToggleSwitchesScalesWithoutMoving) {
    config.upperZoom = 4.0f;
    config.lowerZoom = 0.25f;
    view.OrigX = 12, view.OrigY = 34;
    ZoomTogglePreset();
    EXPECT_EQ(view.Scale, 4.0f);
    ZoomTogglePreset();
    EXPECT_EQ(view.Scale, 0.25f);
    EXPECT_EQ(view.OrigX, 12);
    EXPECT_EQ(view.OrigY, 34);
    config.upperZoom = NAN;   // a damaged setting gives the default
    ZoomTogglePreset();
    EXPECT_EQ(view.Scale, 2.0f);
}

TEST_F(ViewTest, FitAndCentre) {
    ZoomToFit();   // no Vertexes
    EXPECT_EQ(view.Scale, 0.5f);
    EXPECT_EQ(view.OrigX, 0);
    EXPECT_EQ(view.OrigY, -32);
    EXPECT_EQ(view.PointerX, view.CenterX);
    EXPECT_EQ(input.PointerY, view.CenterY + MapAreaTop());   // the keyboard cursor follows

    AddVertex(0, 0);
    AddVertex(1000, 500);
    ZoomToFit();
    EXPECT_FLOAT_EQ(view.Scale, 629.0f / 1000);
    EXPECT_EQ(view.OrigX, 500);
    EXPECT_EQ(view.OrigY, 224);   // 250 - 16 / scale, truncated
    EXPECT_TRUE(view.FullRedraw);

    // A map on one vertical line fits by its height alone; a single point
    // takes the largest zoom.
    level.vertices[1] = Vertex{0, 400};
    ZoomToFit();
    EXPECT_FLOAT_EQ(view.Scale, 429.0f / 400);
    level.vertices.count = 1;
    ZoomToFit();
    EXPECT_EQ(view.Scale, kMaxZoom);
    EXPECT_EQ(view.MapMinX, 0);
    EXPECT_EQ(view.MapMaxY, 0);
}

TEST_F(ViewTest, StartCentresOnTheSavedViewOrFits) {
    AddVertex(-500, 0);
    AddVertex(500, 1000);
    config.savedViewX = 40, config.savedViewY = 50;
    config.scale = 0.75f;
    InitView();
    StartView();
    EXPECT_EQ(view.Scale, 0.75f);
    EXPECT_EQ(view.OrigX, 40);
    EXPECT_EQ(view.OrigY, 50);
    config.savedViewX = config.savedViewY = kNoStartPosition;
    config.scale = -3.0f;   // unusable: the starting scale
    InitView();
    EXPECT_EQ(view.Scale, kStartScale);
    StartView();
    EXPECT_EQ(view.OrigX, 0);
    EXPECT_EQ(config.savedViewX, 0);
    EXPECT_EQ(config.savedViewY, 0);
}

TEST_F(ViewTest, KeysScrollByAStepOfTheScale) {
    SetScale(0.125f);
    EXPECT_TRUE(ScrollMapByKey(kKeyLeft));
    EXPECT_EQ(view.OrigX, -160);
    EXPECT_TRUE(ScrollMapByKey(kKeyEnd));
    EXPECT_TRUE(ScrollMapByKey(kKeyPgUp));
    EXPECT_EQ(view.OrigX, 0);
    EXPECT_EQ(view.OrigY, 160);
    EXPECT_TRUE(ScrollMapByKey(kKeyDown));
    EXPECT_TRUE(ScrollMapByKey(kKeyDown));
    EXPECT_EQ(view.OrigY, -160);
    view.RedrawPending = false;
    EXPECT_FALSE(ScrollMapByKey(kKeyIns));
    EXPECT_FALSE(view.RedrawPending);
    view.OrigY = 32700;
    ScrollMapByKey(kKeyUp);
    EXPECT_EQ(view.OrigY, 32767);
}

TEST_F(ViewTest, EdgeScrollingStopsAtTheMapEdge) {
    // No mouse: the keyboard cursor scrolls and is moved back off the edge.
    input.MousePresent = false;
    AddVertex(-2000, -2000);
    AddVertex(2000, 2000);
    ComputeMapBounds();
    SetScale(1.0f);
    input.PointerX = 300;
    input.PointerY = static_cast<int16_t>(MapAreaTop());
    EXPECT_TRUE(EdgeScroll());
    EXPECT_EQ(view.OrigY, 20);
    EXPECT_EQ(input.PointerY, MapAreaTop() + 10);
    input.PointerY = 200;
    input.PointerX = static_cast<int16_t>(view.MaxX - 9);
    EXPECT_TRUE(EdgeScroll());
    EXPECT_EQ(view.OrigX, 20);
    input.PointerX = 300;
    EXPECT_FALSE(EdgeScroll());
    // The map's top edge is already eight text lines above the bottom.
    input.PointerY = 0;
    view.OrigY = 2200;
    EXPECT_FALSE(EdgeScroll());
    EXPECT_EQ(view.OrigY, 2200);
    view.OrigY = 2100;
    EXPECT_TRUE(EdgeScroll());
}

TEST_F(ViewTest, GridSizeSteps) {
    EXPECT_EQ(NextGridSize(64, false), 32);
    EXPECT_EQ(NextGridSize(4, false), 0);
    EXPECT_EQ(NextGridSize(0, false), 512);
    EXPECT_EQ(NextGridSize(64, true), 128);
    EXPECT_EQ(NextGridSize(512, true), 0);
    EXPECT_EQ(NextGridSize(0, true), 4);
}

}  // namespace
