// How the 3D preview's camera moves: walking on the floors with the
// player's size, stepping up at most 24 units, stopped by one-sided and
// impassable LineDefs and by openings too low; or, without clipping, flying
// anywhere at the height it was given.
#pragma once

#include "view3d/preview3d_render.h"

constexpr double kEyeHeight = 41;     // above the floor, as the player's eye
constexpr double kPlayerRadius = 16;
constexpr double kPlayerHeight = 56;
constexpr double kMaxStep = 24;

struct PreviewWalker {
    PreviewCamera camera;
    double eyeHeight = kEyeHeight;   // above the floor while walking
    bool noclip = false;             // walls do not stop it and it does not fall
};

// A walker standing at (x, y), facing angle degrees, on the floor there.
PreviewWalker WalkerAt(const PreviewScene& scene, double x, double y, double angleDegrees);
// Moves forward and to the right (map units, negative for back and left),
// sliding along what stops it; true when it moved at all.
bool WalkerMove(const PreviewScene& scene, PreviewWalker& walker, double forward, double right);
void WalkerTurn(PreviewWalker& walker, double radians);
// Raises (negative: lowers) the eye: above the floor while walking, in the
// map without clipping.
void WalkerRaise(const PreviewScene& scene, PreviewWalker& walker, double units);
// Puts the eye at its height above the floor under it (walking only).
void WalkerSettle(const PreviewScene& scene, PreviewWalker& walker);
