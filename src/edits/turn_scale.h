// Turning and resizing objects about a centre, the 45-degree turns of
// Things, and the regular polygon of Vertexes that the predefined shapes are
// made of. Angles are in degrees, anticlockwise, converted as the editor
// always has (a turn of 90 degrees is a hair more than a quarter turn);
// positions are truncated towards zero and stop at the limits of the 16-bit
// map range.
#pragma once

#include <cstddef>
#include <vector>

#include "edits/object_list.h"
#include "edits/objects.h"
#include "level/level.h"

namespace edits {

// A turn by an angle and a scaling about a centre.
struct TurnScale {
    double cx = 0.0, cy = 0.0;
    double angle = 0.0;
    double scale = 1.0;
};

// The average of the points; (0, 0) for none.
void CentreOf(const std::vector<MapPoint>& points, double& cx, double& cy);

// Places each listed Thing (type kObjThing) or Vertex (any other type) at
// its starting position, the entry of `from` at the same place in the list
// (newest first), turned and scaled. Placing always from the starting
// positions, an interactive turn never gathers rounding. The step is the
// caller's: the turn is placed afresh at every movement of the pointer.
// Missing objects are skipped.
void PlaceTurnedScaled(LevelState& level, int type, const SelectionList& objects, const std::vector<MapPoint>& from,
                       const TurnScale& turn);

// Ends an interactive turn of count objects of a type that the user
// accepted: names the step ("rotate and scale 3 LineDefs") and marks what
// changed (MarkChanged).
void AcceptTurnScale(LevelState& level, int type, size_t count);

enum class TurnWay { Anticlockwise = 1, Clockwise = -1 };

// Turns every listed Thing 45 degrees the way given, its angle kept in
// 0..315 ("turn 3 Things"). False, changing nothing, when no listed Thing
// exists.
bool TurnThings(LevelState& level, const SelectionList& things, TurnWay way);

// Appends n Vertexes on the circle of radius r about (x, y), anticlockwise
// from the east, as part of the caller's step. Nothing for n <= 0. False
// when the level had no room for them all (the edit in the making is then
// refused: RefuseEdit in level/history.h).
bool AddPolygonVertexes(LevelState& level, int x, int y, int n, int r);

}  // namespace edits
