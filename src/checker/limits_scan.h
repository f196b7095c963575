// The original engine's limits at the places of the level. The game draws a
// view with fixed tables: 128 visplanes (a floor or ceiling of one height,
// flat and light, at most one span in each screen column), 256 drawsegs
// (one per piece of wall drawn), 128 vissprites and 20,480 openings (the
// clip rows kept for Things behind two-sided walls). One visplane more stops
// the game ("R_FindPlane: no more visplanes"); more drawsegs or sprites
// leave walls or Things undrawn; more openings overrun its memory.
//
// The scan stands at points on a grid over every Sector, the player's eye
// above the floor, and counts for views all around what the game's renderer
// would use on its 320 x 168 view (the status bar shown): the 3D view's rays
// meet the walls of each column up to a solid one; the walls met in
// neighbouring columns make the pieces the game clips them into; each piece
// finds and marks the planes of its Sector as the game does, a new visplane
// where its columns overlap those its Sector's plane of that height, flat
// and light has marked; every Sector reached shows its Things. It needs no node
// build, so it differs from the game where the nodes split LineDefs (more
// drawsegs there), where they split a Sector into subsectors that each
// start again from the first plane of a look (more visplanes there), and
// where the game visits a subsector behind walls that no column passes
// (more visplanes and sprites there). Where the level's nodes fit its map,
// the scan counts by them instead, as the game does (limits_nodes.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "level/level.h"
#include "view3d/preview3d_render.h"
#include "view3d/preview3d_things.h"

enum class EngineLimit { Visplanes, Drawsegs, Sprites, Openings };
constexpr int kEngineLimits = 4;

// The size of the game's table, and the limit's name in messages.
int EngineLimitSize(EngineLimit which);
const char* EngineLimitName(EngineLimit which);

// The limits a report is about: all four, or those whose overflow stops the
// game (visplanes and openings; more drawsegs or sprites than the tables
// hold leave walls or Things undrawn, and the game plays on).
enum class LimitKinds { All, StoppingTheGame };
bool StopsTheGame(EngineLimit which);

struct LimitCounts {
    int count[kEngineLimits] = {};

    int& operator[](EngineLimit which) { return count[static_cast<int>(which)]; }
    int operator[](EngineLimit which) const { return count[static_cast<int>(which)]; }
    // The limit of the kinds whose table is fullest, and how full (1:
    // exactly full).
    EngineLimit Worst(LimitKinds kinds = LimitKinds::All) const;
    double Share(LimitKinds kinds = LimitKinds::All) const;
};

// Per Sector of a scene: its floor's and ceiling's flats numbered by the
// level's names (every sky one number), and the scene's sprites in it.
struct SectorLooks {
    SectorLooks(const PreviewScene& scene, const LevelState& lvl);
    std::vector<uint32_t> floorFlat, ceilingFlat;
    uint32_t skyFlat = 0;
    std::vector<std::vector<int>> things;
    // The Things shown of the sectors that lie in front of the eye and on
    // the game's screen, hidden or not, as the game counts them.
    int SpritesSeen(const PreviewScene& scene, const std::vector<int>& sectors, const PreviewCamera& eye) const;
};

// Counts views of one scene, keeping its buffers from view to view. The
// scene's Things count as they are marked shown; flats are told apart by
// the level's names.
class LimitCounter {
public:
    LimitCounter(const PreviewScene& scene, const LevelState& lvl);
    ~LimitCounter();
    LimitCounts Count(const PreviewCamera& eye);

private:
    struct Mark;
    struct Run;
    struct Plane;
    void Reach(int sector);
    void CastColumn(const PreviewCamera& eye, int x);
    void AddToRun(int seg, int x, double depth, const Mark& mark);
    int CountPlanes(const PreviewCamera& eye);
    int FindPlane(uint64_t key);
    int UsePlane(int current, const Run& run, const uint64_t* columns);

    const PreviewScene& scene_;
    SectorLooks looks_;
    PreviewRays rays_;
    std::vector<int> reached_;                          // per Sector: the stamp of the last view that reached it
    std::vector<int> reachedList_;                      // the Sectors this view reached
    int stamp_ = 0;
    std::vector<Run> runs_;
    std::vector<int> lastRun_;                          // per side of each LineDef: its last piece, or -1
    std::vector<int> order_;
    std::vector<Plane> planes_;
    std::vector<std::pair<uint64_t, int>> firstPlane_;   // a plane's look and its first plane
    std::vector<std::pair<int, int>> sectorPlanes_;      // per Sector: its floor's and ceiling's plane now
    double forwardX_ = 1, forwardY_ = 0;
};

struct LevelNodes;

struct LimitsScanOptions {
    int spacing = 64;   // between the grid's points, in map units
    int angles = 8;     // views all around each point
    PreviewThings things;
    // The level's nodes (limits_nodes.h), to count as the game walks them;
    // nullptr: by the rays, as above.
    const LevelNodes* nodes = nullptr;
};

// A point of the grid, the most each limit needed in its views and the
// heading (degrees, 0 east) of the view that came nearest to or went
// farthest over a limit, and over one that stops the game.
struct LimitPoint {
    int x, y, sector;
    LimitCounts most;
    double heading;
    double stoppingHeading = 0;

    double HeadingFor(LimitKinds kinds) const { return kinds == LimitKinds::All ? heading : stoppingHeading; }
};

struct LimitsScan {
    std::vector<LimitPoint> points;
    int spacing = 0;         // between the points, in map units
    int angles = 0;          // views all around each point
    bool byNodes = false;    // counted by the level's nodes
    bool finished = false;   // false: stopped before the last point
};

// The settings the scan accepts: the spacing in map units, the views a point.
constexpr int kMinLimitsSpacing = 8, kMaxLimitsSpacing = 1024;
constexpr int kMinLimitsAngles = 8, kMaxLimitsAngles = 64;

// Scans the level from the points of the grid (spacing apart, in the middle
// of its squares) inside Sectors where the player fits, the settings held to
// the range above. goOn(done, total) is asked after each point and stops the
// scan on false.
LimitsScan ScanLimits(const LevelState& lvl, const PreviewAssets& assets, const LimitsScanOptions& options,
                      const std::function<bool(long done, long total)>& goOn);

// The points over a limit of the kinds, worst first.
std::vector<LimitPoint> PointsOverLimits(const LimitsScan& scan, LimitKinds kinds = LimitKinds::All);
// "visplanes 131/128, drawsegs 260/256" : the counts of a point over their
// limits of the kinds (all four with everything).
std::string DescribeCounts(const LimitCounts& counts, bool everything, LimitKinds kinds = LimitKinds::All);

// The level's objects the game numbers in signed 16 bits: beyond 32,767
// LineDefs or SideDefs it reads negative numbers. A line for each, none
// when all is well.
std::vector<std::string> StaticLimitFindings(const LevelState& lvl);
