// The map view's transform, zoom steps, fitting and the view at the start.
#include <cmath>

#include "editor_fixture.h"

namespace {

using ViewTest = EditorTest;

TEST_F(ViewTest, ZoomStepsAndLimitsKeepThePointUnderThePointer) {
    const double steps[][3] = {   // from, 1 in / 0 out, to
        {0.125, 1, 1.0 / 7}, {0.5, 1, 1.0}, {15.75, 1, 16.0}, {1.0, 0, 0.5},
        {0.5, 0, 1.0 / 3},   {1.5, 0, 1.0}, {0.0526, 0, 0.05},
    };
    for (const auto& s : steps) {
        SetScale(static_cast<float>(s[0]));
        EXPECT_TRUE(s[1] != 0 ? ZoomIn() : ZoomOut());
        EXPECT_NEAR(view.scale, s[2], 1e-6) << s[0];
    }
    EXPECT_FALSE(ZoomOut());
    config.upperZoom = NAN;   // a damaged preset gives the default
    ZoomTogglePreset();
    EXPECT_EQ(view.scale, 2.0f);

    SetScale(0.125f);
    view.origX = view.origY = 0;
    view.pointerX = view.centerX + 100;
    view.pointerY = view.centerY - 100;
    ZoomToDigit(5);
    EXPECT_FLOAT_EQ(view.scale, 0.2f);
    for (int i = 0; i < 40; ++i)   // on up to the limit
        ZoomIn();
    EXPECT_EQ(view.scale, kMaxZoom);
    EXPECT_EQ(ScreenToMapX(view.pointerX), 800);
    EXPECT_EQ(ScreenToMapY(view.pointerY), 800);
    EXPECT_EQ(MapToScreenX(view.origX + 4096), 65536 + view.centerX);   // 16 bits would give the centre
}

TEST_F(ViewTest, FitAndTheStartView) {
    ZoomToFit();   // no Vertexes
    EXPECT_EQ(view.scale, 0.5f);
    EXPECT_EQ(input.pointerY, view.centerY + MapAreaTop());   // the keyboard cursor follows
    AddVertex(0, 0);
    AddVertex(1000, 500);
    ZoomToFit();
    EXPECT_FLOAT_EQ(view.scale, 629.0f / 1000);
    EXPECT_EQ(view.origY, 224);   // 250 - 16 / scale, truncated
    level.vertices.count = 1;   // one point: the largest zoom
    ZoomToFit();
    EXPECT_EQ(view.scale, kMaxZoom);
    // A saved view is taken, but not an unusable scale.
    config.savedViewX = 40, config.savedViewY = 50;
    config.scale = -3.0f;
    InitView();
    StartView();
    EXPECT_EQ(view.scale, kStartScale);
    EXPECT_EQ(view.origX, 40);
}

}  // namespace
