#include "checker/limits_scan.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>

#include "base/format.h"
#include "pictures/name_keys.h"
#include "checker/limits_nodes.h"
#include "view3d/preview3d_motion.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// The game's view with the status bar: 320 x 168, 160 pixels per unit of
// depth both ways, the horizon on row 84.
constexpr int kViewColumns = 320;
constexpr int kViewRows = 168;
constexpr double kFocal = 160;
constexpr double kCentreX = kViewColumns / 2.0;
constexpr double kCentreY = kViewRows / 2.0;
constexpr int kColumnWords = (kViewColumns + 63) / 64;
constexpr double kSpriteNearDepth = 4;   // nearer Things are not drawn
constexpr int kLargestNumber = 32767;   // what the game reads in 16 signed bits

const int kTableSizes[kEngineLimits] = {128, 256, 128, kViewColumns * 64};
const char* const kLimitNames[kEngineLimits] = {"visplanes", "drawsegs", "sprites", "openings"};

void SetBit(uint64_t* bits, int n) { bits[n / 64] |= 1ull << (n % 64); }

// Whether any bit of [lo, hi] is set.
bool AnySet(const uint64_t* bits, int lo, int hi) {
    for (int n = lo; n <= hi; ++n)
        if (bits[n / 64] >> (n % 64) & 1)
            return true;
    return false;
}

// A plane's look as the game tells planes apart: the sky is one plane
// whatever its height and light.
uint64_t PlaneKey(int height, uint32_t flat, int light) {
    return static_cast<uint64_t>(static_cast<uint16_t>(height)) << 48 | static_cast<uint64_t>(flat) << 16 |
           static_cast<uint16_t>(light);
}

}  // namespace

int EngineLimitSize(EngineLimit which) { return kTableSizes[static_cast<int>(which)]; }
const char* EngineLimitName(EngineLimit which) { return kLimitNames[static_cast<int>(which)]; }

bool StopsTheGame(EngineLimit which) { return which == EngineLimit::Visplanes || which == EngineLimit::Openings; }

namespace {

bool Reported(int limit, LimitKinds kinds) {
    return kinds == LimitKinds::All || StopsTheGame(static_cast<EngineLimit>(limit));
}

}  // namespace

EngineLimit LimitCounts::Worst(LimitKinds kinds) const {
    int worst = 0;
    for (int k = 1; k < kEngineLimits; ++k)
        if (Reported(k, kinds) &&
            static_cast<double>(count[k]) / kTableSizes[k] > static_cast<double>(count[worst]) / kTableSizes[worst])
            worst = k;
    return static_cast<EngineLimit>(worst);
}

double LimitCounts::Share(LimitKinds kinds) const {
    EngineLimit worst = Worst(kinds);
    return static_cast<double>((*this)[worst]) / EngineLimitSize(worst);
}

// What a wall met in a column does: whether its piece marks the floor and
// the ceiling of its Sector, whether they show in this column, and how many
// openings a column of it takes.
struct LimitCounter::Mark {
    bool floor, ceiling;
    bool floorShows, ceilingShows;
    int openings;
};

// A piece of wall as the game draws it: one side of a LineDef over
// neighbouring columns [x0, x1], and the columns where its planes show.
struct LimitCounter::Run {
    int seg;   // LineDef * 2 + the side seen
    int x0, x1;
    double depth;   // the nearest
    bool markFloor, markCeiling;
    int openingsPerColumn;
    uint64_t floorColumns[kColumnWords];
    uint64_t ceilingColumns[kColumnWords];
};

struct LimitCounter::Plane {
    int minX, maxX;
    uint64_t used[kColumnWords];
};

SectorLooks::SectorLooks(const PreviewScene& scene, const LevelState& lvl) {
    std::map<std::string, uint32_t> flats;
    auto number = [&](const char* name) {
        return flats.emplace(NameKey(name), static_cast<uint32_t>(flats.size())).first->second;
    };
    skyFlat = number("F_SKY1");
    for (const Sector& s : lvl.sectors) {
        floorFlat.push_back(IsSkyFlat(s.floorTexture) ? skyFlat : number(s.floorTexture));
        ceilingFlat.push_back(IsSkyFlat(s.ceilingTexture) ? skyFlat : number(s.ceilingTexture));
    }
    floorFlat.resize(scene.sectors.size());
    ceilingFlat.resize(scene.sectors.size());
    things.resize(scene.sectors.size());
    for (size_t n = 0; n < scene.sprites.size(); ++n)
        if (scene.sprites[n].sector >= 0)
            things[static_cast<size_t>(scene.sprites[n].sector)].push_back(static_cast<int>(n));
}

int SectorLooks::SpritesSeen(const PreviewScene& scene, const std::vector<int>& sectors,
                             const PreviewCamera& eye) const {
    const double forwardX = std::cos(eye.angle), forwardY = std::sin(eye.angle);
    const double rightX = forwardY, rightY = -forwardX;
    int count = 0;
    for (int s : sectors)
        for (int n : things[static_cast<size_t>(s)]) {
            const PreviewScene::Sprite& sprite = scene.sprites[static_cast<size_t>(n)];
            if (!sprite.shown || !sprite.views)
                continue;
            double rx = sprite.x - eye.x, ry = sprite.y - eye.y;
            double depth = rx * forwardX + ry * forwardY;
            double lateral = rx * rightX + ry * rightY;
            if (depth < kSpriteNearDepth || std::fabs(lateral) > 4 * depth)
                continue;
            const ColumnPicture* picture = SeenRotation(sprite, rx, ry).picture;
            if (!picture)
                continue;
            double scale = kFocal / depth;
            double left = kCentreX + (lateral - picture->leftOffset) * scale;
            double right = left + picture->width * scale;
            if (std::floor(left) <= kViewColumns && std::floor(right) - 1 >= 0)
                ++count;
        }
    return count;
}

LimitCounter::LimitCounter(const PreviewScene& scene, const LevelState& lvl) : scene_(scene), looks_(scene, lvl) {
    reached_.assign(scene.sectors.size(), 0);
    sectorPlanes_.resize(scene.sectors.size());
    lastRun_.assign(scene.lines.size() * 2, -1);
}

LimitCounter::~LimitCounter() = default;

LimitCounts LimitCounter::Count(const PreviewCamera& eye) {
    ++stamp_;
    forwardX_ = std::cos(eye.angle);
    forwardY_ = std::sin(eye.angle);
    runs_.clear();
    reachedList_.clear();
    rays_.Start(scene_);
    PreviewGround ground = GroundAt(scene_, eye.x, eye.y);
    if (ground.sector >= 0)
        Reach(ground.sector);
    for (int x = 0; x < kViewColumns; ++x)
        CastColumn(eye, x);
    LimitCounts counts;
    counts[EngineLimit::Drawsegs] = static_cast<int>(runs_.size());
    for (const Run& run : runs_)
        counts[EngineLimit::Openings] += run.openingsPerColumn * (run.x1 - run.x0 + 1);
    counts[EngineLimit::Visplanes] = CountPlanes(eye);
    counts[EngineLimit::Sprites] = looks_.SpritesSeen(scene_, reachedList_, eye);
    for (const Run& run : runs_)
        lastRun_[static_cast<size_t>(run.seg)] = -1;
    return counts;
}

void LimitCounter::Reach(int sector) {
    if (reached_[static_cast<size_t>(sector)] != stamp_) {
        reached_[static_cast<size_t>(sector)] = stamp_;
        reachedList_.push_back(sector);
    }
}

// The walls of one column, nearest first, up to a solid one: each wall the
// game would draw joins its piece; the rows still open narrow as the game's
// clip rows do.
void LimitCounter::CastColumn(const PreviewCamera& eye, int x) {
    double k = (x + 0.5 - kCentreX) / kFocal;
    double dx = forwardX_ + forwardY_ * k, dy = forwardY_ - forwardX_ * k;
    int top = 0, bottom = kViewRows;
    rays_.Cast(scene_, eye.x, eye.y, dx, dy, [&](const PreviewHit& hit) {
        const PreviewScene::Line& line = scene_.lines[static_cast<size_t>(hit.line)];
        const int nearSide = hit.front ? 0 : 1;
        const int frontIndex = line.sector[nearSide], backIndex = line.sector[1 - nearSide];
        if (frontIndex < 0)
            return true;   // the back of a one-sided LineDef: never drawn
        Reach(frontIndex);
        const PreviewScene::SectorLook& front = scene_.sectors[static_cast<size_t>(frontIndex)];
        const double scale = kFocal / hit.depth;
        auto rowOf = [&](double z) {
            return static_cast<int>(std::clamp(std::ceil(kCentreY - (z - eye.z) * scale - 0.5), -1.0, kViewRows + 1.0));
        };
        const int ceilingRow = rowOf(front.ceiling), floorRow = rowOf(front.floor);
        Mark mark{true, true, false, false, 0};
        bool solid = backIndex < 0, upper = false, lower = false;
        if (!solid) {
            const PreviewScene::SectorLook& back = scene_.sectors[static_cast<size_t>(backIndex)];
            const bool middle = scene_.sides[static_cast<size_t>(line.side[nearSide])].middle != nullptr;
            const bool sameLight = back.light == front.light;
            const bool sameFloor = looks_.floorFlat[backIndex] == looks_.floorFlat[frontIndex] && sameLight;
            const bool sameCeiling = looks_.ceilingFlat[backIndex] == looks_.ceilingFlat[frontIndex] && sameLight;
            if (back.floor == front.floor && back.ceiling == front.ceiling && sameFloor && sameCeiling && !middle)
                return true;   // nothing to draw: the game passes it by
            const bool shutBelow = back.ceiling <= front.floor, shutAbove = back.floor >= front.ceiling;
            solid = shutBelow || shutAbove;
            // Both skies: the game draws no upper wall between them.
            const int frontTop = front.sky && back.sky ? back.ceiling : front.ceiling;
            upper = back.ceiling < frontTop;
            lower = back.floor > front.floor;
            if (!solid) {
                mark.floor = back.floor != front.floor || !sameFloor;
                mark.ceiling = back.ceiling != frontTop || !sameCeiling;
            }
            // The clip rows kept for the Things behind it.
            const bool keepBottom = front.floor > back.floor || back.floor > eye.z || shutBelow;
            const bool keepTop = front.ceiling < back.ceiling || back.ceiling < eye.z || shutAbove;
            mark.openings = (middle ? 1 : 0) + ((keepTop || middle) && !shutAbove ? 1 : 0) +
                            ((keepBottom || middle) && !shutBelow ? 1 : 0);
        }
        mark.floor = mark.floor && front.floor < eye.z;
        mark.ceiling = mark.ceiling && (front.ceiling > eye.z || front.sky);
        mark.ceilingShows = mark.ceiling && top < std::min(ceilingRow, bottom);
        mark.floorShows = mark.floor && std::max(floorRow, top) < bottom;
        AddToRun(hit.line * 2 + nearSide, x, hit.depth, mark);
        if (solid)
            return false;
        const PreviewScene::SectorLook& back = scene_.sectors[static_cast<size_t>(backIndex)];
        int newTop = upper ? rowOf(back.ceiling) : mark.ceiling ? ceilingRow : top;
        int newBottom = lower ? rowOf(back.floor) : mark.floor ? floorRow : bottom;
        top = std::min(bottom, std::max(top, newTop));
        bottom = std::max(top, std::min(bottom, newBottom));
        return true;
    });
}

void LimitCounter::AddToRun(int seg, int x, double depth, const Mark& mark) {
    int& last = lastRun_[static_cast<size_t>(seg)];
    if (last < 0 || runs_[static_cast<size_t>(last)].x1 != x - 1) {
        last = static_cast<int>(runs_.size());
        runs_.push_back({seg, x, x, depth, mark.floor, mark.ceiling, mark.openings, {}, {}});
    }
    Run& run = runs_[static_cast<size_t>(last)];
    run.x1 = x;
    run.depth = std::min(run.depth, depth);
    if (mark.floorShows)
        SetBit(run.floorColumns, x);
    if (mark.ceilingShows)
        SetBit(run.ceilingColumns, x);
}

// The pieces of wall nearest first, as the game meets them. A Sector's
// first piece finds the first plane of its floor's look (and its
// ceiling's), made when there is none; each piece marks its columns in its
// Sector's plane, or in a new one that then stays its Sector's when that
// plane has one of them already: the game does so per subsector, here each
// Sector counts as one. The Sectors reached without a wall drawn find
// theirs too.
int LimitCounter::CountPlanes(const PreviewCamera& eye) {
    planes_.clear();
    firstPlane_.clear();
    order_.resize(runs_.size());
    for (size_t n = 0; n < runs_.size(); ++n)
        order_[n] = static_cast<int>(n);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        return runs_[static_cast<size_t>(a)].depth < runs_[static_cast<size_t>(b)].depth;
    });
    auto floorKey = [&](int s) {
        return PlaneKey(scene_.sectors[static_cast<size_t>(s)].floor, looks_.floorFlat[s], scene_.sectors[s].light);
    };
    auto ceilingKey = [&](int s) {
        const PreviewScene::SectorLook& sector = scene_.sectors[static_cast<size_t>(s)];
        return sector.sky ? PlaneKey(0, looks_.ceilingFlat[s], 0) : PlaneKey(sector.ceiling, looks_.ceilingFlat[s], sector.light);
    };
    auto floorShows = [&](int s) { return scene_.sectors[static_cast<size_t>(s)].floor < eye.z; };
    auto ceilingShows = [&](int s) {
        return scene_.sectors[static_cast<size_t>(s)].ceiling > eye.z || scene_.sectors[s].sky;
    };
    for (int s : reachedList_)
        sectorPlanes_[static_cast<size_t>(s)] = {-1, -1};
    for (int n : order_) {
        const Run& run = runs_[static_cast<size_t>(n)];
        const PreviewScene::Line& line = scene_.lines[static_cast<size_t>(run.seg / 2)];
        const int s = line.sector[run.seg % 2];
        auto& [floorPlane, ceilingPlane] = sectorPlanes_[static_cast<size_t>(s)];
        if (floorShows(s)) {
            if (floorPlane < 0)
                floorPlane = FindPlane(floorKey(s));
            if (run.markFloor)
                floorPlane = UsePlane(floorPlane, run, run.floorColumns);
        }
        if (ceilingShows(s)) {
            if (ceilingPlane < 0)
                ceilingPlane = FindPlane(ceilingKey(s));
            if (run.markCeiling)
                ceilingPlane = UsePlane(ceilingPlane, run, run.ceilingColumns);
        }
    }
    for (int s : reachedList_) {
        if (floorShows(s))
            FindPlane(floorKey(s));
        if (ceilingShows(s))
            FindPlane(ceilingKey(s));
    }
    return static_cast<int>(planes_.size());
}

int LimitCounter::FindPlane(uint64_t key) {
    for (const auto& [known, plane] : firstPlane_)
        if (known == key)
            return plane;
    planes_.push_back({kViewColumns, -1, {}});
    firstPlane_.emplace_back(key, static_cast<int>(planes_.size()) - 1);
    return static_cast<int>(planes_.size()) - 1;
}

int LimitCounter::UsePlane(int current, const Run& run, const uint64_t* columns) {
    Plane& plane = planes_[static_cast<size_t>(current)];
    if (AnySet(plane.used, std::max(run.x0, plane.minX), std::min(run.x1, plane.maxX))) {
        Plane split{run.x0, run.x1, {}};
        std::copy(columns, columns + kColumnWords, split.used);
        planes_.push_back(split);
        return static_cast<int>(planes_.size()) - 1;
    }
    plane.minX = std::min(plane.minX, run.x0);
    plane.maxX = std::max(plane.maxX, run.x1);
    for (int w = 0; w < kColumnWords; ++w)
        plane.used[w] |= columns[w];
    return current;
}

LimitsScan ScanLimits(const LevelState& lvl, const PreviewAssets& assets, const LimitsScanOptions& options,
                      const std::function<bool(long done, long total)>& goOn) {
    LimitsScan scan;
    PreviewScene scene = BuildPreviewScene(lvl, assets);
    ChoosePreviewThings(scene, options.things);
    const int spacing = std::clamp(options.spacing, kMinLimitsSpacing, kMaxLimitsSpacing);
    const int angles = std::clamp(options.angles, kMinLimitsAngles, kMaxLimitsAngles);
    scan.spacing = spacing;
    scan.angles = angles;
    int minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    for (const Vertex& v : lvl.vertices) {
        minX = std::min<int>(minX, v.x);
        maxX = std::max<int>(maxX, v.x);
        minY = std::min<int>(minY, v.y);
        maxY = std::max<int>(maxY, v.y);
    }
    auto first = [&](int low) { return static_cast<int>(std::floor(static_cast<double>(low) / spacing)); };
    for (int gy = first(minY); gy * spacing <= maxY; ++gy)
        for (int gx = first(minX); gx * spacing <= maxX; ++gx) {
            int x = gx * spacing + spacing / 2, y = gy * spacing + spacing / 2;
            PreviewGround ground = GroundAt(scene, x, y);
            if (ground.sector >= 0 && ground.ceiling - ground.floor >= kPlayerHeight)
                scan.points.push_back({x, y, ground.sector, {}, 0});
        }
    LimitCounter rays(scene, lvl);
    std::optional<NodeWalkCounter> walk;
    if (options.nodes)
        walk.emplace(*options.nodes, scene, lvl);
    scan.byNodes = walk.has_value();
    const long total = static_cast<long>(scan.points.size());
    for (long done = 0; done < total; ++done) {
        LimitPoint& point = scan.points[static_cast<size_t>(done)];
        double floor = scene.sectors[static_cast<size_t>(point.sector)].floor;
        double worst = -1, worstStopping = -1;
        for (int a = 0; a < angles; ++a) {
            PreviewCamera eye{double(point.x), double(point.y), floor + kEyeHeight, 2 * kPi * a / angles};
            LimitCounts counts = walk ? walk->Count(eye) : rays.Count(eye);
            for (int k = 0; k < kEngineLimits; ++k)
                point.most.count[k] = std::max(point.most.count[k], counts.count[k]);
            if (counts.Share() > worst) {
                worst = counts.Share();
                point.heading = 360.0 * a / angles;
            }
            if (counts.Share(LimitKinds::StoppingTheGame) > worstStopping) {
                worstStopping = counts.Share(LimitKinds::StoppingTheGame);
                point.stoppingHeading = 360.0 * a / angles;
            }
        }
        if (!goOn(done + 1, total)) {
            scan.points.resize(static_cast<size_t>(done + 1));
            return scan;
        }
    }
    scan.finished = true;
    return scan;
}

std::vector<LimitPoint> PointsOverLimits(const LimitsScan& scan, LimitKinds kinds) {
    std::vector<LimitPoint> over;
    for (const LimitPoint& point : scan.points)
        if (point.most.Share(kinds) > 1)
            over.push_back(point);
    std::stable_sort(over.begin(), over.end(), [kinds](const LimitPoint& a, const LimitPoint& b) {
        return a.most.Share(kinds) > b.most.Share(kinds);
    });
    return over;
}

std::string DescribeCounts(const LimitCounts& counts, bool everything, LimitKinds kinds) {
    std::string text;
    for (int k = 0; k < kEngineLimits; ++k)
        if (everything || (counts.count[k] > kTableSizes[k] && Reported(k, kinds)))
            text += Format("%s%s %d/%d", text.empty() ? "" : ", ", kLimitNames[k], counts.count[k], kTableSizes[k]);
    return text;
}

std::vector<std::string> StaticLimitFindings(const LevelState& lvl) {
    std::vector<std::string> found;
    auto check = [&](int count, const char* kind) {
        if (count > kLargestNumber)
            found.push_back(Format("%d %s: the game reads the numbers beyond 32767 as negative", count, kind));
    };
    check(lvl.lineDefs.count, "LineDefs");
    check(lvl.sideDefs.count, "SideDefs");
    return found;
}
