#include "edits/turn_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "edits/edit_support.h"
#include "level/history.h"

namespace edits {

namespace {

constexpr double kRadiansPerDegree = 0.0174533;
constexpr double kRadiansPerTurn = 6.2832;

// A turn by an angle and a scaling, as one matrix: a turn of 0 scales
// exactly, so a shape about its centre stays symmetric.
class TurnAndScale {
public:
    TurnAndScale(double angle, double scale)
        : cos_(std::cos(angle * kRadiansPerDegree) * scale), sin_(std::sin(angle * kRadiansPerDegree) * scale) {}
    void Apply(double& dx, double& dy) const {
        double x = dx * cos_ - dy * sin_;
        dy = dx * sin_ + dy * cos_;
        dx = x;
    }

private:
    double cos_, sin_;
};

constexpr int kThingTurn = 45;
constexpr int kFullCircle = 360;

int16_t TruncateToMap(double v) {
    double t = std::trunc(v);
    t = std::clamp(t, static_cast<double>(std::numeric_limits<int16_t>::min()),
                   static_cast<double>(std::numeric_limits<int16_t>::max()));
    return static_cast<int16_t>(t);
}

}  // namespace

void CentreOf(const std::vector<MapPoint>& points, double& cx, double& cy) {
    cx = cy = 0.0;
    if (points.empty())
        return;
    for (const MapPoint& p : points) {
        cx += p.x;
        cy += p.y;
    }
    cx /= static_cast<double>(points.size());
    cy /= static_cast<double>(points.size());
}

void PlaceTurnedScaled(LevelState& level, int type, const SelectionList& objects, const std::vector<MapPoint>& from,
                       const TurnScale& turn) {
    TurnAndScale matrix(turn.angle, turn.scale);
    size_t i = 0;
    for (int n : objects) {
        if (i >= from.size())
            break;
        const MapPoint& start = from[i++];
        double dx = start.x - turn.cx, dy = start.y - turn.cy;
        matrix.Apply(dx, dy);
        int16_t x = TruncateToMap(turn.cx + dx), y = TruncateToMap(turn.cy + dy);
        if (type == kObjThing) {
            if (Thing* t = level.things.at(n)) {
                t->x = x;
                t->y = y;
            }
        } else if (Vertex* v = level.vertices.at(n)) {
            v->x = x;
            v->y = y;
        }
    }
    level.levelChanged = true;
}

void AcceptTurnScale(LevelState& level, int type, size_t count) {
    NameStep("rotate and scale " + CountOf(count, type));
    MarkChanged(level, type);
}

bool TurnThings(LevelState& level, const SelectionList& things, TurnWay way) {
    EditScope edit("turn " + CountOf(things.size(), kObjThing));
    bool turned = false;
    for (int n : things) {
        Thing* t = level.things.at(n);
        if (!t)
            continue;
        int angle = t->angle + static_cast<int>(way) * kThingTurn;
        if (angle >= kFullCircle)
            angle = 0;
        else if (angle < 0)
            angle = kFullCircle - kThingTurn;
        t->angle = static_cast<int16_t>(angle);
        turned = true;
    }
    if (!turned)
        return false;
    level.levelChanged = true;
    edit.Commit();
    return true;
}

bool AddPolygonVertexes(LevelState& level, int x, int y, int n, int r) {
    bool all = true;
    for (int i = 0; i < n; ++i) {
        double a = i * kRadiansPerTurn / n;
        all = AddObject(level, kObjVertex, -1, x + static_cast<int>(std::trunc(std::cos(a) * r)),
                        y + static_cast<int>(std::trunc(std::sin(a) * r))) >= 0 &&
              all;
    }
    return all;
}

}  // namespace edits
