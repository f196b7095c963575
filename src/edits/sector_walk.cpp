#include "edits/sector_walk.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "level/level.h"
#include "edits/edit_support.h"
#include "edits/objects.h"

namespace {

double Bearing(const LevelState& level, int from, int to) {
    return std::atan2(static_cast<double>(level.vertices[to].y - level.vertices[from].y),
                      static_cast<double>(level.vertices[to].x - level.vertices[from].x));
}

// How far direction `to` lies turning counter-clockwise from `from`: more
// than 0, a full turn for the same direction.
double TurnBetween(double from, double to) {
    constexpr double kFullTurn = 6.283185307179586;
    double turn = std::fmod(to - from, kFullTurn);
    return turn <= 0 ? turn + kFullTurn : turn;
}

// A LineDef leading on from a Vertex, and how far the walk turns to take it.
struct Turn {
    int lineDef = -1;
    int to = -1;
    LineSide side = LineSide::Right;   // the side on the walk's right
    double turn = 0;
};

// The LineDef the walk takes from Vertex c, having come from the bearing
// `back` (from c to where it came from): the first turning counter-clockwise
// from there; going back the way it came is the last choice.
Turn NextTurn(const LevelState& level, int c, double back) {
    Turn best;
    const Vertex& at = level.vertices[c];
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        bool forward = ld.start == c;
        if ((!forward && ld.end != c) || !level.vertices.valid(ld.start) || !level.vertices.valid(ld.end))
            continue;
        int to = forward ? ld.end : ld.start;
        if (level.vertices[to].x == at.x && level.vertices[to].y == at.y)
            continue;   // no length, no direction
        double turn = TurnBetween(back, Bearing(level, c, to));
        if (best.lineDef < 0 || turn < best.turn)
            best = {l, to, forward ? LineSide::Right : LineSide::Left, turn};
    }
    return best;
}

}  // namespace

uint16_t SideDefOn(const LineDef& ld, LineSide side) { return side == LineSide::Right ? ld.sideDef1 : ld.sideDef2; }

Walk WalkRound(const LevelState& level, int s, int a, int b) {
    Walk walk;
    std::vector<bool> passed(2 * static_cast<size_t>(level.lineDefs.count), false);
    int c = a;
    double back = Bearing(level, a, b);
    for (;;) {
        walk.at = c;
        Turn next = NextTurn(level, c, back);
        if (c == b && (next.lineDef < 0 || TurnBetween(back, Bearing(level, b, a)) <= next.turn))
            return walk;
        if (next.lineDef < 0 || s < 0 || SectorOfSide(level, SideDefOn(level.lineDefs[next.lineDef], next.side)) != s) {
            walk.end = walk.sides.empty() ? WalkEnd::NoStart : WalkEnd::Stuck;
            return walk;
        }
        size_t key = 2 * static_cast<size_t>(next.lineDef) + (next.side == LineSide::Right);
        if (passed[key]) {
            walk.end = WalkEnd::CameRound;
            return walk;
        }
        passed[key] = true;
        walk.sides.push_back({next.lineDef, next.side});
        back = Bearing(level, next.to, c);
        c = next.to;
    }
}

bool WalkEncloses(const LevelState& level, const Walk& walk, int a) {
    int64_t twiceArea = 0;
    int from = a;
    for (const WalkedSide& walked : walk.sides) {
        const LineDef& ld = level.lineDefs[walked.lineDef];
        int to = walked.side == LineSide::Right ? ld.end : ld.start;
        twiceArea += int64_t{level.vertices[from].x} * level.vertices[to].y -
                     int64_t{level.vertices[to].x} * level.vertices[from].y;
        from = to;
    }
    twiceArea += int64_t{level.vertices[from].x} * level.vertices[a].y -
                 int64_t{level.vertices[a].x} * level.vertices[from].y;
    return twiceArea < 0;
}
