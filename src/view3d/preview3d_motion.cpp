#include "view3d/preview3d_motion.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLowestEye = 4;

double DistanceToLine(const PreviewScene::Line& line, double x, double y) {
    double t = ((x - line.x1) * line.dx + (y - line.y1) * line.dy) / (line.length * line.length);
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(line.x1 + t * line.dx - x, line.y1 + t * line.dy - y);
}

bool Crosses(const PreviewScene::Line& line, double x0, double y0, double x1, double y1) {
    auto side = [&](double x, double y) { return line.dx * (y - line.y1) - line.dy * (x - line.x1); };
    double a = side(x0, y0), b = side(x1, y1);
    if ((a < 0) == (b < 0))
        return false;
    double mx = x1 - x0, my = y1 - y0;
    auto along = [&](double x, double y) { return mx * (y - y0) - my * (x - x0); };
    double c = along(line.x1, line.y1), d = along(line.x1 + line.dx, line.y1 + line.dy);
    return (c < 0) != (d < 0) || c == 0 || d == 0;
}

// Whether the line stops a walker coming from (x0, y0), whose floor is at
// floor: a wall, an impassable line, a step too high or an opening too low
// on its other side.
bool Stops(const PreviewScene& scene, const PreviewScene::Line& line, double x0, double y0, int floor) {
    if (line.sector[0] < 0 || line.sector[1] < 0 || (line.flags & kLineImpassable))
        return true;
    bool onRight = line.dx * (y0 - line.y1) - line.dy * (x0 - line.x1) < 0;
    const PreviewScene::SectorLook& here = scene.sectors[line.sector[onRight ? 0 : 1]];
    const PreviewScene::SectorLook& there = scene.sectors[line.sector[onRight ? 1 : 0]];
    double top = std::min(here.ceiling, there.ceiling);
    double bottom = std::max<double>(there.floor, floor);
    return there.floor - floor > kMaxStep || top - bottom < kPlayerHeight;
}

bool Free(const PreviewScene& scene, const PreviewWalker& walker, double x, double y) {
    const PreviewCamera& at = walker.camera;
    int floor = GroundAt(scene, at.x, at.y).floor;
    for (const PreviewScene::Line& line : scene.lines) {
        bool near = DistanceToLine(line, x, y) < kPlayerRadius || Crosses(line, at.x, at.y, x, y);
        if (near && Stops(scene, line, at.x, at.y, floor))
            return false;
    }
    return true;
}

}  // namespace

PreviewWalker WalkerAt(const PreviewScene& scene, double x, double y, double angleDegrees) {
    PreviewWalker walker;
    walker.camera.x = x;
    walker.camera.y = y;
    walker.camera.angle = angleDegrees * kPi / 180;
    WalkerSettle(scene, walker);
    return walker;
}

bool WalkerMove(const PreviewScene& scene, PreviewWalker& walker, double forward, double right) {
    PreviewCamera& at = walker.camera;
    double c = std::cos(at.angle), s = std::sin(at.angle);
    double dx = forward * c + right * s, dy = forward * s - right * c;
    const double tries[3][2] = {{dx, dy}, {dx, 0}, {0, dy}};
    for (const auto& step : tries) {
        if (step[0] == 0 && step[1] == 0)
            continue;
        if (walker.noclip || Free(scene, walker, at.x + step[0], at.y + step[1])) {
            at.x += step[0];
            at.y += step[1];
            WalkerSettle(scene, walker);
            return true;
        }
    }
    return false;
}

void WalkerTurn(PreviewWalker& walker, double radians) {
    walker.camera.angle = std::remainder(walker.camera.angle + radians, 2 * kPi);
}

void WalkerRaise(const PreviewScene& scene, PreviewWalker& walker, double units) {
    if (walker.noclip) {
        walker.camera.z += units;
        return;
    }
    walker.eyeHeight = std::max(kLowestEye, walker.eyeHeight + units);
    WalkerSettle(scene, walker);
}

void WalkerSettle(const PreviewScene& scene, PreviewWalker& walker) {
    if (walker.noclip)
        return;
    PreviewGround ground = GroundAt(scene, walker.camera.x, walker.camera.y);
    walker.camera.z = ground.floor + walker.eyeHeight;
}
