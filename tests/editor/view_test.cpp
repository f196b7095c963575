// The map view's transform, zoom steps, fitting, centring and scrolling.
#include <cmath>

#include "editor_fixture.h"
#include "ui/graphics.h"
#include "ui/input.h"

using mapkit::AddVertex;

namespace {

using ViewTest = EditorTest;

TEST_F(ViewTest, TransformTruncatesTowardsZeroAndNeverWraps) {
    view.origX = 100, view.origY = -40;
    SetScale(0.125f);
    EXPECT_EQ(MapToScreenX(95), 319);    // -0.625 truncates to 0
    EXPECT_EQ(MapToScreenY(-48), 240);   // y grows downwards on the screen
    EXPECT_EQ(ScreenToMapX(318), 92);
    EXPECT_EQ(ScreenToMapY(240), -48);
    SetScale(16.0f);
    view.origX = 0;
    EXPECT_EQ(MapToScreenX(4096), 65536 + view.centerX);   // 16 bits would give the centre
    EXPECT_EQ(MapToScreenY(-32768), (32768 - 40) * 16 + view.centerY);
    SetScale(0.002f);
    EXPECT_EQ(ScreenToMapX(0), -32768);   // stops at the limit
    EXPECT_EQ(ScreenToMapX(view.maxX), 32767);
}

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
}

TEST_F(ViewTest, FitAndStart) {
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

TEST_F(ViewTest, TheKeyboardCursorScrollsAtTheEdges) {
    // No mouse: the keyboard cursor scrolls and is moved back off the edge.
    input.mousePresent = false;
    AddVertex(-2000, -2000);
    AddVertex(2000, 2000);
    ComputeMapBounds();
    SetScale(1.0f);
    view.origX = view.origY = 0;
    input.pointerX = 300;
    input.pointerY = MapAreaTop();
    EXPECT_TRUE(EdgeScroll());
    EXPECT_EQ(view.origY, 20);
    EXPECT_EQ(input.pointerY, MapAreaTop() + 10);
    EXPECT_FALSE(EdgeScroll());
}

using ViewScreenTest = EditorScreenTest;

// The pointer is in screen pixels: the bottom edge is the map area's last
// row on the screen, above the status line, and the pointer reaches it.
TEST_F(ViewScreenTest, TheBottomEdgeIsTheMapAreasLastScreenRow) {
    AddVertex(-20000, -20000);
    AddVertex(20000, 20000);
    ComputeMapBounds();
    session.ExactScript("wait 0\nwait 0\nwait 0\n");
    const int last = graphics.screenMaxY - kStatusHeight;
    SetMousePos(300, last - 20);
    EXPECT_FALSE(EdgeScroll());
    EXPECT_FALSE(EdgeScrolling());
    SetMousePos(300, last + 40);   // kept on the last row
    int x = 0, y = 0;
    ReadMouse(&x, &y, nullptr);
    EXPECT_EQ(y, last);
    EdgeScroll();
    EXPECT_TRUE(EdgeScrolling());
}

// The mouse pointer held at an edge scrolls 2 x 10 pixels 18 times a second
// of the (virtual) clock, however often the loop comes round; time spent off
// the edge, or in one overlong pass, does not make the view jump.
TEST_F(ViewScreenTest, EdgeScrollingGoesByTimeWhileThePointerStaysAtAnEdge) {
    AddVertex(-20000, -20000);
    AddVertex(20000, 20000);
    ComputeMapBounds();
    SetScale(0.5f);
    view.origX = view.origY = 0;
    std::string idle;   // events that move no clock, for the polls to hand out
    for (int i = 0; i < 300; ++i)
        idle += "wait 0\n";
    session.ExactScript(idle);
    SetMousePos(view.maxX, 200);   // the right edge
    EXPECT_FALSE(EdgeScroll());    // the clock starts
    EXPECT_TRUE(EdgeScrolling());
    for (int i = 0; i < 40; ++i) {
        Delay(25);
        EdgeScroll();
        EdgeScroll();   // a second pass in the same millisecond adds nothing
    }
    EXPECT_NEAR(view.origX, 720, 1);   // 360 pixels in a second, at scale 0.5
    EXPECT_EQ(view.origY, 0);

    SetMousePos(300, 200);
    EXPECT_FALSE(EdgeScroll());
    EXPECT_FALSE(EdgeScrolling());
    Delay(2000);
    SetMousePos(300, 0);   // the top edge
    int16_t x = view.origX;
    EXPECT_FALSE(EdgeScroll());
    EXPECT_EQ(view.origY, 0);
    Delay(3000);   // counts as a quarter of a second
    EXPECT_TRUE(EdgeScroll());
    EXPECT_NEAR(view.origY, 180, 1);
    EXPECT_EQ(view.origX, x);

    view.origY = 21000;   // the map's top edge is far down the screen: no further
    EXPECT_FALSE(EdgeScroll());
    EXPECT_FALSE(EdgeScrolling());
}

}  // namespace
