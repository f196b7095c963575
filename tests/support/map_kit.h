// Small maps built straight into the level model, for the editor's tests:
// Vertexes, LineDefs, SideDefs, Sectors and Things appended one by one, and
// rooms drawn clockwise so that their first sides face inwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/level.h"

namespace mapkit {

// Empties the level model.
void ClearMap();

// The five arrays' records in use with their counts, as bytes: two levels
// are the same exactly when these are equal.
std::string LevelArrayBytes();

int AddVertex(int x, int y);
int AddSector(int tag = 0, int type = 0, int floor = 0, int ceiling = 128);
int AddSideDef(int sector);
// flags default to impassable; sides -1 (kNoReference) for none.
int AddLineDef(int start, int end, int side1, int side2 = -1, int flags = 1, int type = 0,
               int tag = 0);
int AddThing(int x, int y, int type = 1, int angle = 0, int flags = 7);
// Copies the first object of each array that has one until object `last`
// exists, for numbers past what a small map reaches.
void PadObjectsTo(int last);

// A rectangle of four LineDefs drawn clockwise, (x0, y0) the lower left
// corner, with first SideDefs facing the given Sector; returns the first of
// the four LineDefs (west, north, east, south side in that order). With an
// outer Sector each LineDef is two-sided, its second side facing outer.
int AddRoom(int x0, int y0, int x1, int y1, int sector, int outer = -1);

// A pillar inside Sector s: a rectangle of four one-sided LineDefs drawn
// counter-clockwise, facing s. Returns the first of the four.
int AddPillar(int x0, int y0, int x1, int y1, int s);

// A recovery file of the level model as it stands, under the level name,
// whose session lump holds the text given.
std::string RecoveryFile(const std::string& session, const std::string& levelName);
// The session text of a recovery file written by process pid (with the
// start mark the system gives it now) on that IWAD.
std::string SessionText(long pid, const std::string& iwad, long session = 1);

// Opens Freedoom 2 as the IWAD; false when it is not installed.
bool OpenFreedoom2();
// Loads level `name` of the master directory into the model.
bool LoadIwadLevel(const char* name);

// A map point, compared whole; Places lists where every Thing or Vertex of a
// list stands.
struct Point {
    int x, y;
    bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};
template <class Objects>
std::vector<Point> Places(const Objects& objects) {
    std::vector<Point> out;
    for (const auto& o : objects)
        out.push_back({o.x, o.y});
    return out;
}

}  // namespace mapkit
