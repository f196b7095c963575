#include "checker/limits_nodes.h"

#include <algorithm>
#include <cmath>

#include "level/level_files.h"
#include "wad/master.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kClipAngle = kPi / 4;   // half the game's 90-degree view
constexpr int kColumns = 320, kRows = 168;
constexpr double kCentreX = kColumns / 2.0, kCentreY = kRows / 2.0, kFocal = 160;
constexpr int kDrawsegs = 256;   // the game stores no drawseg past these
constexpr int kUnset = -1;

int16_t Short(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<int16_t>(bytes[at] | bytes[at + 1] << 8);
}
int Unsigned(const std::vector<uint8_t>& bytes, size_t at) { return static_cast<uint16_t>(Short(bytes, at)); }
double Coordinate(const std::vector<uint8_t>& bytes, size_t at) { return Short(bytes, at); }

// An angle as the game's unsigned ones: in [0, 2 pi).
double Wrap(double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
}

// A screen position as a whole number, far ones held near the screen.
int Whole(double v, int low, int high) { return static_cast<int>(std::clamp(v, double(low), double(high))); }

// The column of the game's table for an angle left of the view's middle
// (-45 .. 45 degrees).
int ColumnOf(double angle) { return Whole(std::ceil(kCentreX - std::tan(angle) * kFocal), 0, kColumns); }

// A row above the top (ceil) or below the bottom (floor) of something at a
// height over the eye, at a scale.
int RowAbove(double height, double scale) { return Whole(std::ceil(kCentreY - height * scale), -kRows, 2 * kRows); }
int RowBelow(double height, double scale) { return Whole(std::floor(kCentreY - height * scale), -kRows, 2 * kRows); }

// Clips the angles of a span seen (left a1 to right a2, relative, wrapped)
// to the view as the game does: false when none of it is in view.
bool ClipToView(double& a1, double& a2) {
    const double span = Wrap(a1 - a2);
    double t = Wrap(a1 + kClipAngle);
    if (t > 2 * kClipAngle) {
        if (t - 2 * kClipAngle >= span)
            return false;
        a1 = kClipAngle;
    }
    t = Wrap(kClipAngle - a2);
    if (t > 2 * kClipAngle) {
        if (t - 2 * kClipAngle >= span)
            return false;
        a2 = -kClipAngle;
    }
    a1 = a1 > kPi ? a1 - 2 * kPi : a1;
    a2 = a2 > kPi ? a2 - 2 * kPi : a2;
    return true;
}

}  // namespace

bool ParseLevelNodes(const LevelState& lvl, const std::vector<uint8_t>& vertexes, const std::vector<uint8_t>& segs,
                     const std::vector<uint8_t>& subsectors, const std::vector<uint8_t>& nodes, LevelNodes& out) {
    out = {};
    for (size_t at = 0; at + 4 <= vertexes.size(); at += 4) {
        out.vx.push_back(Short(vertexes, at));
        out.vy.push_back(Short(vertexes, at + 2));
    }
    const int vertexCount = static_cast<int>(out.vx.size());
    for (size_t at = 0; at + kSegRecord <= segs.size(); at += kSegRecord) {
        LevelNodes::Seg seg{Unsigned(segs, at), Unsigned(segs, at + 2), Unsigned(segs, at + 6), Short(segs, at + 8)};
        if (seg.v1 >= vertexCount || seg.v2 >= vertexCount || seg.line >= lvl.lineDefs.count ||
            (seg.side != 0 && seg.side != 1))
            return false;
        out.segs.push_back(seg);
    }
    const int segCount = static_cast<int>(out.segs.size());
    for (size_t at = 0; at + kSSectorRecord <= subsectors.size(); at += kSSectorRecord) {
        LevelNodes::Subsector sub{Unsigned(subsectors, at + 2), Unsigned(subsectors, at)};
        if (sub.segs == 0 || sub.firstSeg + sub.segs > segCount)
            return false;
        out.subsectors.push_back(sub);
    }
    const int subsectorCount = static_cast<int>(out.subsectors.size());
    for (size_t at = 0; at + kNodeRecord <= nodes.size(); at += kNodeRecord) {
        const int number = static_cast<int>(out.nodes.size());
        LevelNodes::Node node{Coordinate(nodes, at), Coordinate(nodes, at + 2), Coordinate(nodes, at + 4),
                              Coordinate(nodes, at + 6),
                              {}, {Unsigned(nodes, at + 24), Unsigned(nodes, at + 26)}};
        for (int c = 0; c < 2; ++c) {
            for (int k = 0; k < 4; ++k)
                node.box[c][k] = Coordinate(nodes, at + 8 + static_cast<size_t>(c * 8 + k * 2));
            const int child = node.child[c];
            if (child & LevelNodes::kSubsectorBit ? (child & ~LevelNodes::kSubsectorBit) >= subsectorCount
                                                  : child >= number)
                return false;
        }
        out.nodes.push_back(node);
    }
    return !out.nodes.empty() || subsectorCount == 1;
}

bool LevelNodesMayFit() { return level.fromFile && !level.mapChanged && level.markerIndex >= 0; }

bool ReadLevelNodes(LevelNodes& out) {
    if (!LevelNodesMayFit())
        return false;
    std::vector<uint8_t> lumps[4];
    const char* names[4] = {"VERTEXES", "SEGS", "SSECTORS", "NODES"};
    for (int i = 0; i < 4; ++i) {
        const WadDirEntry* entry = FindLevelLump(names[i], EntryNeed::Optional);
        if (!entry)
            return false;
        lumps[i] = ReadEntryData(*entry);
    }
    return ParseLevelNodes(level, lumps[0], lumps[1], lumps[2], lumps[3], out);
}

// A visplane: its look, the columns it spans and those marked.
struct NodeWalkCounter::Plane {
    int height;
    uint32_t flat;
    int light;
    int minX, maxX;
    std::vector<bool> marked;
};

// A LineDef as the segs see it: two-sided or not, its SideDefs and their
// Sectors (-1: none or out of range).
struct NodeWalkCounter::Line {
    bool twoSided;
    int side[2];
    int sector[2];
};

// The seg being stored: its ends, Sectors and what the game draws of it.
struct NodeWalkCounter::Wall {
    double x1, y1, x2, y2;
    int front, back;   // back -1: one-sided
    bool middle;
};

NodeWalkCounter::NodeWalkCounter(const LevelNodes& nodes, const PreviewScene& scene, const LevelState& lvl)
    : nodes_(nodes), scene_(scene), looks_(scene, lvl) {
    for (const LineDef& def : lvl.lineDefs) {
        Line line{def.flags & kLineTwoSided ? true : false, {-1, -1}, {-1, -1}};
        const uint16_t sides[2] = {def.sideDef1, def.sideDef2};
        for (int k = 0; k < 2; ++k) {
            const SideDef* side = lvl.sideDefs.at(sides[k]);
            if (side && static_cast<size_t>(sides[k]) < scene.sides.size())
                line.side[k] = sides[k];
            if (side && lvl.sectors.valid(side->sector) && static_cast<size_t>(side->sector) < scene.sectors.size())
                line.sector[k] = side->sector;
        }
        lines_.push_back(line);
    }
    visited_.assign(scene.sectors.size(), 0);
    ceilingClip_.resize(kColumns);
    floorClip_.resize(kColumns);
}

NodeWalkCounter::~NodeWalkCounter() = default;

LimitCounts NodeWalkCounter::Count(const PreviewCamera& eye) {
    ++stamp_;
    eye_ = eye;
    cos_ = std::cos(eye.angle);
    sin_ = std::sin(eye.angle);
    visitedList_.clear();
    solid_ = {{-0x7fffffff, -1}, {kColumns, 0x7fffffff}};
    planes_.clear();
    std::fill(ceilingClip_.begin(), ceilingClip_.end(), -1);
    std::fill(floorClip_.begin(), floorClip_.end(), kRows);
    walls_ = openings_ = 0;
    Walk(nodes_.nodes.empty() ? LevelNodes::kSubsectorBit : static_cast<int>(nodes_.nodes.size()) - 1);
    LimitCounts counts;
    counts[EngineLimit::Visplanes] = static_cast<int>(planes_.size());
    counts[EngineLimit::Drawsegs] = walls_;
    counts[EngineLimit::Sprites] = looks_.SpritesSeen(scene_, visitedList_, eye);
    counts[EngineLimit::Openings] = openings_;
    return counts;
}

struct NodeWalkCounter::Step {
    int node;
    int side;   // the eye's, once the near child is under way; -1 before
    bool farDone;
};

// The nodes' children: the side of the eye first, then the other while its
// box may show past the solid walls met so far. Children are numbered
// before their node, so the walk ends; it keeps its own stack, as deep as
// the tree.
void NodeWalkCounter::Walk(int root) {
    walk_.assign(1, {root, -1, false});
    while (!walk_.empty()) {
        Step& step = walk_.back();
        if (step.node & LevelNodes::kSubsectorBit) {
            Subsector(step.node & ~LevelNodes::kSubsectorBit);
            walk_.pop_back();
            continue;
        }
        const LevelNodes::Node& n = nodes_.nodes[static_cast<size_t>(step.node)];
        if (step.side < 0) {
            const double left = n.dy * (eye_.x - n.x), right = (eye_.y - n.y) * n.dx;
            step.side = right < left ? 0 : 1;
            walk_.push_back({n.child[step.side], -1, false});
        } else if (!step.farDone) {
            step.farDone = true;
            const int far = step.side ^ 1;
            if (BoxSeen(n.box[far]))
                walk_.push_back({n.child[far], -1, false});
        } else {
            walk_.pop_back();
        }
    }
}

double NodeWalkCounter::RelativeAngle(double x, double y) const {
    return Wrap(std::atan2(y - eye_.y, x - eye_.x) - eye_.angle);
}

// Whether a box (top, bottom, left, right) may show: its corners that
// bound it as seen from the eye, in view and not all behind solid walls.
bool NodeWalkCounter::BoxSeen(const double* box) const {
    enum { kTop, kBottom, kLeft, kRight };
    const int bx = eye_.x <= box[kLeft] ? 0 : eye_.x < box[kRight] ? 1 : 2;
    const int by = eye_.y >= box[kTop] ? 0 : eye_.y > box[kBottom] ? 1 : 2;
    static const int kCorners[11][4] = {
        {kRight, kTop, kLeft, kBottom},  {kRight, kTop, kLeft, kTop},    {kRight, kBottom, kLeft, kTop}, {},
        {kLeft, kTop, kLeft, kBottom},   {},                             {kRight, kBottom, kRight, kTop}, {},
        {kLeft, kTop, kRight, kBottom},  {kLeft, kBottom, kRight, kBottom}, {kLeft, kBottom, kRight, kTop},
    };
    const int pos = by * 4 + bx;
    if (pos == 5)
        return true;
    const int* c = kCorners[pos];
    double a1 = RelativeAngle(box[c[0]], box[c[1]]), a2 = RelativeAngle(box[c[2]], box[c[3]]);
    if (Wrap(a1 - a2) >= kPi)
        return true;
    if (!ClipToView(a1, a2))
        return false;
    const int first = ColumnOf(a1), last = ColumnOf(a2) - 1;
    if (last < first)
        return false;
    auto hiding = std::find_if(solid_.begin(), solid_.end(), [&](const auto& r) { return r.second >= last; });
    return !(first >= hiding->first && last <= hiding->second);
}

// A subsector: its Sector's floor and ceiling found by look, its Things,
// its segs.
void NodeWalkCounter::Subsector(int n) {
    if (n >= static_cast<int>(nodes_.subsectors.size()))
        return;
    const LevelNodes::Subsector& sub = nodes_.subsectors[static_cast<size_t>(n)];
    const LevelNodes::Seg& first = nodes_.segs[static_cast<size_t>(sub.firstSeg)];
    const int sector = lines_[static_cast<size_t>(first.line)].sector[first.side];
    if (sector < 0)
        return;
    const PreviewScene::SectorLook& look = scene_.sectors[static_cast<size_t>(sector)];
    floorPlane_ = look.floor < eye_.z
                      ? FindPlane(look.floor, looks_.floorFlat[static_cast<size_t>(sector)], look.light)
                      : kUnset;
    ceilingPlane_ = look.ceiling > eye_.z || look.sky
                        ? FindPlane(look.ceiling, looks_.ceilingFlat[static_cast<size_t>(sector)], look.light)
                        : kUnset;
    if (visited_[static_cast<size_t>(sector)] != stamp_) {
        visited_[static_cast<size_t>(sector)] = stamp_;
        visitedList_.push_back(sector);
    }
    for (int s = sub.firstSeg; s < sub.firstSeg + sub.segs; ++s)
        AddSeg(nodes_.segs[static_cast<size_t>(s)], sector);
}

// A seg facing the eye and in view: solid walls and closed doors hide what
// lies behind them; windows and walls that change what is drawn are drawn;
// a two-sided line that changes nothing is passed by.
void NodeWalkCounter::AddSeg(const LevelNodes::Seg& seg, int front) {
    const double x1 = nodes_.vx[static_cast<size_t>(seg.v1)], y1 = nodes_.vy[static_cast<size_t>(seg.v1)];
    const double x2 = nodes_.vx[static_cast<size_t>(seg.v2)], y2 = nodes_.vy[static_cast<size_t>(seg.v2)];
    double a1 = RelativeAngle(x1, y1), a2 = RelativeAngle(x2, y2);
    if (Wrap(a1 - a2) >= kPi || !ClipToView(a1, a2))
        return;
    const int first = ColumnOf(a1), stop = ColumnOf(a2);
    if (first >= stop)
        return;
    const Line& line = lines_[static_cast<size_t>(seg.line)];
    const int back = line.twoSided ? line.sector[seg.side ^ 1] : -1;
    const int side = line.side[seg.side];
    const Wall wall{x1, y1, x2, y2, front, back, side >= 0 && scene_.sides[static_cast<size_t>(side)].middle};
    wall_ = &wall;
    if (back < 0)
        return ClipSolid(first, stop - 1);
    const PreviewScene::SectorLook& f = scene_.sectors[static_cast<size_t>(front)];
    const PreviewScene::SectorLook& b = scene_.sectors[static_cast<size_t>(back)];
    if (b.ceiling <= f.floor || b.floor >= f.ceiling)
        return ClipSolid(first, stop - 1);
    const bool sameLook = looks_.ceilingFlat[static_cast<size_t>(back)] == looks_.ceilingFlat[static_cast<size_t>(front)] &&
                          looks_.floorFlat[static_cast<size_t>(back)] == looks_.floorFlat[static_cast<size_t>(front)] &&
                          b.light == f.light;
    if (b.ceiling == f.ceiling && b.floor == f.floor && sameLook && !wall.middle)
        return;
    ClipPass(first, stop - 1);
}

// Stores the parts of [first, last] not hidden yet, and hides them.
void NodeWalkCounter::ClipSolid(int first, int last) {
    size_t i = 0;
    while (solid_[i].second < first - 1)
        ++i;
    if (first < solid_[i].first) {
        if (last < solid_[i].first - 1) {
            Store(first, last);
            solid_.insert(solid_.begin() + static_cast<long>(i), {first, last});
            return;
        }
        Store(first, solid_[i].first - 1);
        solid_[i].first = first;
    }
    if (last <= solid_[i].second)
        return;
    size_t next = i;
    while (last >= solid_[next + 1].first - 1) {
        Store(solid_[next].second + 1, solid_[next + 1].first - 1);
        ++next;
        if (last <= solid_[next].second) {
            solid_[i].second = solid_[next].second;
            solid_.erase(solid_.begin() + static_cast<long>(i) + 1, solid_.begin() + static_cast<long>(next) + 1);
            return;
        }
    }
    Store(solid_[next].second + 1, last);
    solid_[i].second = last;
    solid_.erase(solid_.begin() + static_cast<long>(i) + 1, solid_.begin() + static_cast<long>(next) + 1);
}

// Stores the parts of [first, last] not hidden, hiding nothing.
void NodeWalkCounter::ClipPass(int first, int last) {
    size_t i = 0;
    while (solid_[i].second < first - 1)
        ++i;
    if (first < solid_[i].first) {
        if (last < solid_[i].first - 1) {
            Store(first, last);
            return;
        }
        Store(first, solid_[i].first - 1);
    }
    if (last <= solid_[i].second)
        return;
    while (last >= solid_[i + 1].first - 1) {
        Store(solid_[i].second + 1, solid_[i + 1].first - 1);
        ++i;
        if (last <= solid_[i].second)
            return;
    }
    Store(solid_[i].second + 1, last);
}

// A drawseg over columns [start, stop]: the planes it marks, the clip rows
// it leaves and the openings it keeps, as the game's wall drawing does.
void NodeWalkCounter::Store(int start, int stop) {
    if (++walls_ > kDrawsegs)
        return;
    const Wall& w = *wall_;
    const PreviewScene::SectorLook& f = scene_.sectors[static_cast<size_t>(w.front)];
    double worldTop = f.ceiling - eye_.z, worldBottom = f.floor - eye_.z;
    double worldHigh = 0, worldLow = 0;
    bool markFloor = true, markCeiling = true, top = false, bottom = false;
    int openingsPerColumn = 0;
    if (w.back >= 0) {
        const PreviewScene::SectorLook& b = scene_.sectors[static_cast<size_t>(w.back)];
        const size_t fi = static_cast<size_t>(w.front), bi = static_cast<size_t>(w.back);
        worldHigh = b.ceiling - eye_.z;
        worldLow = b.floor - eye_.z;
        if (f.sky && b.sky)
            worldTop = worldHigh;
        markFloor = worldLow != worldBottom || looks_.floorFlat[bi] != looks_.floorFlat[fi] || b.light != f.light;
        markCeiling = worldHigh != worldTop || looks_.ceilingFlat[bi] != looks_.ceilingFlat[fi] || b.light != f.light;
        const bool shut = b.ceiling <= f.floor || b.floor >= f.ceiling;
        markFloor = markFloor || shut;
        markCeiling = markCeiling || shut;
        top = worldHigh < worldTop;
        bottom = worldLow > worldBottom;
        // The clip rows kept for the Things behind it, and the columns of
        // a middle texture.
        const bool keepBottom = f.floor > b.floor || b.floor > eye_.z || w.middle;
        const bool keepTop = f.ceiling < b.ceiling || b.ceiling < eye_.z || w.middle;
        openingsPerColumn = (w.middle ? 1 : 0) + (keepTop && b.floor < f.ceiling ? 1 : 0) +
                            (keepBottom && b.ceiling > f.floor ? 1 : 0);
    }
    const bool middle = w.back < 0 && w.middle;
    markFloor = markFloor && f.floor < eye_.z;
    markCeiling = markCeiling && (f.ceiling > eye_.z || f.sky);
    if (markCeiling)
        ceilingPlane_ = CheckPlane(ceilingPlane_, start, stop);
    if (markFloor)
        floorPlane_ = CheckPlane(floorPlane_, start, stop);
    openings_ += (stop - start + 1) * openingsPerColumn;
    const double ex = w.x2 - w.x1, ey = w.y2 - w.y1;
    for (int x = start; x <= stop; ++x) {
        const double k = (x + 0.5 - kCentreX) / kFocal;
        const double dx = cos_ + sin_ * k, dy = sin_ - cos_ * k;
        const double den = dx * ey - dy * ex;
        const double t = den != 0 ? ((w.x1 - eye_.x) * ey - (w.y1 - eye_.y) * ex) / den : 0;
        const double scale = t > 0 ? kFocal / t : 1e6;
        int& ceilingClip = ceilingClip_[static_cast<size_t>(x)];
        int& floorClip = floorClip_[static_cast<size_t>(x)];
        const int yl = std::max(RowAbove(worldTop, scale), ceilingClip + 1);
        if (markCeiling && ceilingPlane_ >= 0 && ceilingClip + 1 <= std::min(yl - 1, floorClip - 1))
            planes_[static_cast<size_t>(ceilingPlane_)].marked[static_cast<size_t>(x)] = true;
        const int yh = std::min(RowBelow(worldBottom, scale), floorClip - 1);
        if (markFloor && floorPlane_ >= 0 && std::max(yh + 1, ceilingClip + 1) <= floorClip - 1)
            planes_[static_cast<size_t>(floorPlane_)].marked[static_cast<size_t>(x)] = true;
        if (middle) {
            ceilingClip = kRows;
            floorClip = -1;
            continue;
        }
        if (top) {
            const int mid = std::min(RowBelow(worldHigh, scale), floorClip - 1);
            ceilingClip = mid >= yl ? mid : yl - 1;
        } else if (markCeiling) {
            ceilingClip = yl - 1;
        }
        if (bottom) {
            const int mid = std::max(RowAbove(worldLow, scale), ceilingClip + 1);
            floorClip = mid <= yh ? mid : yh + 1;
        } else if (markFloor) {
            floorClip = yh + 1;
        }
    }
}

// The first plane of the look (the sky one whatever its height and light),
// made when there is none.
int NodeWalkCounter::FindPlane(int height, uint32_t flat, int light) {
    if (flat == looks_.skyFlat) {
        height = 0;
        light = 0;
    }
    for (size_t p = 0; p < planes_.size(); ++p)
        if (planes_[p].height == height && planes_[p].flat == flat && planes_[p].light == light)
            return static_cast<int>(p);
    planes_.push_back({height, flat, light, kColumns, -1, std::vector<bool>(kColumns)});
    return static_cast<int>(planes_.size()) - 1;
}

// The plane itself, grown to [start, stop], unless it has a column there
// marked already: then a new plane of its look.
int NodeWalkCounter::CheckPlane(int plane, int start, int stop) {
    if (plane < 0)
        return plane;
    Plane& p = planes_[static_cast<size_t>(plane)];
    for (int x = std::max(start, p.minX); x <= std::min(stop, p.maxX); ++x)
        if (p.marked[static_cast<size_t>(x)]) {
            Plane split{p.height, p.flat, p.light, start, stop, std::vector<bool>(kColumns)};
            planes_.push_back(std::move(split));
            return static_cast<int>(planes_.size()) - 1;
        }
    p.minX = std::min(p.minX, start);
    p.maxX = std::max(p.maxX, stop);
    return plane;
}
