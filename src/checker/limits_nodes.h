// The game's own walk of a level's nodes, for the limits scan. Where the
// level's node lumps still fit its map (read from a file and not reshaped
// since), a view is counted as the game's renderer counts it: its walk of
// the nodes front to back, each seg clipped against the solid walls met
// before it (a drawseg for each range left; the game stores none past its
// 256th, so those mark no planes and keep no openings), the floor and
// ceiling every subsector visited finds by look (a new visplane for a look
// not found), split where a drawseg marks columns its plane holds already,
// the Things of each Sector a subsector of is visited, and the openings the
// drawsegs keep for Things behind them.
#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"
#include "checker/limits_scan.h"

// The node lumps as the game reads them: vertices as the file numbers them
// (the editor renumbers its own), segs, subsectors and nodes.
struct LevelNodes {
    struct Seg {
        int v1, v2, line, side;
    };
    struct Subsector {
        int firstSeg, segs;
    };
    struct Node {
        double x, y, dx, dy;
        double box[2][4];   // per child: top, bottom, left, right
        int child[2];       // the right (front) child and the left; kSubsectorBit marks a subsector
    };
    static constexpr int kSubsectorBit = 0x8000;
    std::vector<double> vx, vy;
    std::vector<Seg> segs;
    std::vector<Subsector> subsectors;
    std::vector<Node> nodes;
};

// Reads the lumps' bytes (untrusted): false when a reference leads out of
// them or out of the level's LineDefs, or a node's child node is not
// numbered before it (so that the walk ends).
bool ParseLevelNodes(const LevelState& lvl, const std::vector<uint8_t>& vertexes, const std::vector<uint8_t>& segs,
                     const std::vector<uint8_t>& subsectors, const std::vector<uint8_t>& nodes, LevelNodes& out);

// Whether the current level's node lumps may fit its map: it was read from
// a file (or saved with new nodes) and not reshaped since.
bool LevelNodesMayFit();

// The current level's node lumps from the master directory, when they fit
// its map; false otherwise (a new or reshaped map, missing or damaged lumps).
bool ReadLevelNodes(LevelNodes& out);

// Counts views of one scene by the nodes, keeping its buffers from view to
// view. The scene must be built from lvl, which the nodes were read for.
class NodeWalkCounter {
public:
    NodeWalkCounter(const LevelNodes& nodes, const PreviewScene& scene, const LevelState& lvl);
    ~NodeWalkCounter();
    LimitCounts Count(const PreviewCamera& eye);

private:
    struct Line;
    struct Plane;
    struct Wall;
    struct Step;
    void Walk(int root);
    bool BoxSeen(const double* box) const;
    void Subsector(int n);
    void AddSeg(const LevelNodes::Seg& seg, int front);
    void ClipSolid(int first, int last);
    void ClipPass(int first, int last);
    void Store(int start, int stop);
    int FindPlane(int height, uint32_t flat, int light);
    int CheckPlane(int plane, int start, int stop);
    double RelativeAngle(double x, double y) const;

    const LevelNodes& nodes_;
    const PreviewScene& scene_;
    SectorLooks looks_;
    std::vector<Line> lines_;   // per LineDef
    std::vector<int> visited_;   // per Sector: the stamp of the last view that visited it
    std::vector<int> visitedList_;
    int stamp_ = 0;
    PreviewCamera eye_;
    double cos_ = 1, sin_ = 0;
    std::vector<std::pair<int, int>> solid_;   // column ranges hidden by solid walls, in order
    std::vector<Plane> planes_;
    std::vector<Step> walk_;
    std::vector<int> ceilingClip_, floorClip_;
    int floorPlane_ = -1, ceilingPlane_ = -1;
    const Wall* wall_ = nullptr;   // the seg being stored
    int walls_ = 0, openings_ = 0;
};
