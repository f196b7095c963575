#include "checker/checks.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "base/format.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "base/flavour.h"
#include "gamedefs/linetypes.h"
#include "gamedefs/port_types.h"
#include "gamedefs/thingtypes.h"
#include "edits/check_fixes.h"
#include "level/level.h"
#include "pictures/name_keys.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"

namespace {

using edits::HeightFix;
using edits::NameFix;
using edits::NamePart;

// --- Shared helpers -------------------------------------------------------------

// A finding on an object that has no fix: false when the user cancelled.
bool Report(CheckDialogs& dialogs, const std::string& first, int kind, int n, Severity severity,
            const std::string& second = "") {
    return dialogs.Verify(first, second, kind, n, severity);
}

// Steps through objects 0..count-1 under the title with the progress bar;
// false as soon as a step is (the user cancelled).
bool Scan(CheckDialogs& dialogs, const char* title, int count, const std::function<bool(int)>& step) {
    dialogs.Title(title);
    for (int i = 0; i < count; ++i) {
        dialogs.Progress(i, count);
        if (!step(i))
            return false;
    }
    dialogs.Progress(count, count);
    return true;
}

const Sector* SectorOfSide(uint16_t sideDef) {
    const SideDef* sd = SideDefAt(sideDef);
    return sd ? SectorAt(sd->sector) : nullptr;
}

bool IsNoTexture(const char* field) { return field[0] == '-' && (field[1] == 0); }

// Whether a type is known to a table, looked up once per type: scans of the
// largest levels ask for the same few types many times.
class TypeMemo {
public:
    explicit TypeMemo(int (*valid)(uint16_t)) : valid_(valid), known_(0x10000, kUnasked) {}
    bool Valid(uint16_t type) {
        int8_t& k = known_[type];
        if (k == kUnasked)
            k = valid_(type) != 0;
        return k != 0;
    }

private:
    static constexpr int8_t kUnasked = -1;
    int (*valid_)(uint16_t);
    std::vector<int8_t> known_;
};

// Whether a value a port adds needs a target above the level's; none in
// HERETIC and for values no target knows.
std::optional<MapTarget> HigherTarget(std::optional<MapTarget> needs) {
    if (IsHeretic() || !needs || TargetAllows(level.target, *needs))
        return std::nullopt;
    return needs;
}

// The report of a type the level's target does not know: a port's type
// names the target it needs.
std::string InvalidTypeText(const char* kind, int n, const char* invalid, int type, std::optional<MapTarget> needs) {
    if (HigherTarget(needs))
        return Format("%s %d, Type %d needs a level for %s", kind, n, type, MapTargetName(*needs));
    return Format("%s %d, %s %d", kind, n, invalid, type);
}

int KnownThing(uint16_t type) {
    std::optional<MapTarget> needs = IsHeretic() ? std::nullopt : ThingTypeNeeds(type);
    bool port = needs && *needs != MapTarget::Original && TargetAllows(level.target, *needs);
    return IsThingTypeKnown(type) || port ? 1 : 0;
}
int KnownLineDefType(uint16_t type) { return IsLineDefTypeValid(type, level.target); }
int KnownSectorType(uint16_t type) { return IsSectorTypeValid(type, level.target); }

// Objects the user may delete in one go: counted, then deleted on yes.
bool OfferDeletion(CheckDialogs& dialogs, int type, const std::vector<char>& used,
                   const char* countText, const char* question) {
    SelectionList unused;
    for (size_t i = 0; i < used.size(); ++i)
        if (!used[i])
            SelectObject(unused, static_cast<int>(i));
    if (unused.empty())
        return true;
    if (dialogs.Confirm(Question::Delete, Format(countText, unused.size()), question)) {
        edits::DeleteUnusedObjects(level, type, unused);
    } else {
        ForgetSelection(unused);
    }
    return true;
}

// --- Closed Sectors ---------------------------------------------------------------

struct Side {
    int lineDef;
    bool second;
};

// The sides of LineDefs that face each Sector, by Sector, in LineDef order:
// Sector s's are sides[first[s]] up to sides[first[s + 1]].
struct SectorSides {
    std::vector<uint32_t> first;
    std::vector<Side> sides;
};

SectorSides SidesBySector() {
    auto forEachSide = [](const std::function<void(int sector, const Side&)>& take) {
        for (int i = 0; i < level.lineDefs.count; ++i) {
            const LineDef& ld = level.lineDefs[i];
            for (bool second : {false, true}) {
                const SideDef* sd = SideDefAt(second ? ld.sideDef2 : ld.sideDef1);
                if (sd && ValidSector(sd->sector))
                    take(sd->sector, Side{i, second});
            }
        }
    };
    SectorSides result;
    size_t count = static_cast<size_t>(level.sectors.count);
    result.first.assign(count + 1, 0);
    forEachSide([&](int sector, const Side&) { ++result.first[static_cast<size_t>(sector) + 1]; });
    for (size_t s = 0; s < count; ++s)
        result.first[s + 1] += result.first[s];
    result.sides.resize(result.first[count]);
    std::vector<uint32_t> next(result.first.begin(), result.first.end() - 1);
    forEachSide([&](int sector, const Side& side) { result.sides[next[static_cast<size_t>(sector)]++] = side; });
    return result;
}

// Every Vertex where a side of the Sector starts (mark 1) or ends (mark 2)
// but not both is an opening.
bool CheckSectorLoops(CheckDialogs& dialogs, long total) {
    constexpr uint8_t kStarts = 1, kEnds = 2;
    SectorSides bySector = SidesBySector();
    std::vector<uint8_t> marks(static_cast<size_t>(level.vertices.count), 0);
    std::vector<int> touched;
    auto mark = [&](uint16_t v, uint8_t bit) {
        if (!ValidVertex(v))
            return;
        if (marks[v] == 0)
            touched.push_back(v);
        marks[v] |= bit;
    };
    for (int s = 0; s < level.sectors.count; ++s) {
        dialogs.Progress(s, total);
        touched.clear();
        for (uint32_t k = bySector.first[static_cast<size_t>(s)]; k < bySector.first[static_cast<size_t>(s) + 1]; ++k) {
            const Side& side = bySector.sides[k];
            const LineDef& ld = level.lineDefs[side.lineDef];
            mark(side.second ? ld.end : ld.start, kStarts);
            mark(side.second ? ld.start : ld.end, kEnds);
        }
        std::sort(touched.begin(), touched.end());
        for (int v : touched) {
            uint8_t m = marks[static_cast<size_t>(v)];
            marks[static_cast<size_t>(v)] = 0;
            if (m == (kStarts | kEnds))
                continue;
            const char* missing = m == kStarts ? "No SideDef ending at Vertex %d"
                                               : "No SideDef starting at Vertex %d";
            if (!Report(dialogs, Format("Sector %d is not closed!", s), kObjVertex, v,
                        Severity::Fault, Format(missing, v)))
                return false;
        }
    }
    return true;
}

// The words of the facing check for one side of a LineDef.
struct FacingTexts {
    LineSide side;
    const char* noSector;    // with the SideDef's Sector
    const char* check;       // with the LineDef and SideDef numbers
    const char* different;   // with the SideDef's Sector and the one found
    const char* checkBoth;
};
constexpr FacingTexts kFirstSide = {LineSide::Right, "Sector %d not closed! (no opposite sector found)",
                                    "Check LineDef %d (SideDef1 %d)",
                                    "Sectors %d and %d not closed! (not the same sector)",
                                    "Check LineDef %d (SideDef1 %d) and the one facing it"};
constexpr FacingTexts kSecondSide = {LineSide::Left, "Sector %d not closed! (no opposite sector found))",
                                     "Check LineDef %d (SideDef2 %d)",
                                     "Sectors %d and %d not closed! (not the same sector)",
                                     "Check LineDef %d (SideDef2: %d) and the one facing it"};

bool CheckFacingSide(CheckDialogs& dialogs, const SideSectorFinder& finder, int i, uint16_t sideDef,
                     const FacingTexts& texts) {
    const SideDef* sd = SideDefAt(sideDef);
    if (!sd)
        return true;
    int found = finder.SectorOnSide(i, texts.side);
    if (found < 0)
        return Report(dialogs, Format(texts.noSector, sd->sector), kObjLineDef, i, Severity::Fault,
                      Format(texts.check, i, sideDef));
    if (found != sd->sector)
        return Report(dialogs, Format(texts.different, sd->sector, found), kObjLineDef, i, Severity::Fault,
                      Format(texts.checkBoth, i, sideDef));
    return true;
}

// The Sector found beside each SideDef must be the SideDef's own.
bool CheckFacingSectors(CheckDialogs& dialogs, long total) {
    SideSectorFinder finder;
    for (int i = 0; i < level.lineDefs.count; ++i) {
        dialogs.Progress(level.sectors.count + i, total);
        const LineDef& ld = level.lineDefs[i];
        if (!CheckFacingSide(dialogs, finder, i, ld.sideDef1, kFirstSide) ||
            !CheckFacingSide(dialogs, finder, i, ld.sideDef2, kSecondSide))
            return false;
    }
    dialogs.Progress(total, total);
    return true;
}

// --- Cross-references -----------------------------------------------------------

bool CheckMissingSideDefs(CheckDialogs& dialogs) {
    dialogs.Title("Checking Missing SideDefs");
    for (int i = 0; i < level.lineDefs.count; ++i) {
        dialogs.Progress(i, level.lineDefs.count);
        const LineDef& ld = level.lineDefs[i];
        if (ld.sideDef1 == kNoReference &&
            !Report(dialogs, Format("LineDef %d has no first SideDef.", i), kObjLineDef, i, Severity::Crash))
            return false;
        if (ld.sideDef1 != kNoReference && ld.sideDef1 == ld.sideDef2 &&
            !Report(dialogs, Format("LineDef %d uses %d SideDef twice", i, ld.sideDef1), kObjLineDef, i,
                    Severity::Crash))
            return false;
        if (ld.start == ld.end &&
            !Report(dialogs, Format("LineDef %d uses %d Vertex twice", i, ld.start), kObjLineDef, i,
                    Severity::Crash))
            return false;
    }
    dialogs.Progress(level.lineDefs.count, level.lineDefs.count);
    return true;
}

// Object numbers sorted by a key, so that "every earlier object with the
// same key, the nearest first" costs only what it finds.
class Groups {
public:
    Groups(int count, const std::function<uint32_t(int)>& key) : place_(static_cast<size_t>(count)) {
        order_.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i)
            order_.push_back({key(i), i});
        std::sort(order_.begin(), order_.end());
        for (size_t p = 0; p < order_.size(); ++p)
            place_[static_cast<size_t>(order_[p].second)] = p;
    }
    // Calls visit with each object before i that has i's key, the nearest
    // (highest number) first, until visit returns false.
    template <class Visit>
    void ForEarlier(int i, Visit visit) const {
        size_t p = place_[static_cast<size_t>(i)];
        for (size_t q = p; q-- > 0 && order_[q].first == order_[p].first;)
            if (!visit(order_[q].second))
                return;
    }

private:
    std::vector<std::pair<uint32_t, int>> order_;   // (key, number), ascending
    std::vector<size_t> place_;                     // each number's place in order_
};

bool CheckDuplicateLineDefs(CheckDialogs& dialogs) {
    dialogs.Title("Checking Duplicate LineDefs");
    int count = level.lineDefs.count;
    Groups sameEnds(count, [](int i) {
        const LineDef& ld = level.lineDefs[i];
        return uint32_t(std::min(ld.start, ld.end)) << 16 | std::max(ld.start, ld.end);
    });
    for (int i = count - 1; i >= 1; --i) {
        dialogs.Progress(count - 1 - i, count);
        sameEnds.ForEarlier(i, [&](int j) {
            if (!dialogs.Confirm(Question::Delete, Format("LineDef %d and %d share the same Vertices", i, j),
                                 "Delete the first redundant LineDef ?"))
                return true;
            edits::DeleteDuplicateLineDef(level, i);
            return false;
        });
    }
    dialogs.Progress(count, count);
    return true;
}

// The flag fix for one collection of LineDefs, asked once for all of them.
void OfferFlagFix(CheckDialogs& dialogs, const std::vector<int>& lineDefs, const char* line1,
                  const char* line2, int16_t set, int16_t clear) {
    if (lineDefs.empty() || !dialogs.Confirm(Question::Yes, line1, line2))
        return;
    edits::FixLineDefFlags(level, lineDefs, set, clear);
}

bool CheckFlags(CheckDialogs& dialogs) {
    dialogs.Title("Checking for Invalid Flags");
    std::vector<int> notImpassible, twoSidedBit, noTwoSidedBit;
    for (int i = 0; i < level.lineDefs.count; ++i) {
        dialogs.Progress(i, level.lineDefs.count);
        const LineDef& ld = level.lineDefs[i];
        bool oneSided = ld.sideDef2 == kNoReference;
        if (oneSided && !(ld.flags & kLineImpassable))
            notImpassible.push_back(i);
        if (oneSided && (ld.flags & kLineTwoSided))
            twoSidedBit.push_back(i);
        if (!oneSided && !(ld.flags & kLineTwoSided))
            noTwoSidedBit.push_back(i);
    }
    dialogs.Progress(level.lineDefs.count, level.lineDefs.count);
    OfferFlagFix(dialogs, notImpassible, "Some LineDefs have only one side but the ",
                 "Impassible bit is not set. Set the 'Im' flag?", kLineImpassable, 0);
    OfferFlagFix(dialogs, twoSidedBit, "Some LineDefs have only one side but their",
                 "2 Sided bit is set. Clear the '2-sided' flag?", 0, kLineTwoSided);
    OfferFlagFix(dialogs, noTwoSidedBit, "Some LineDefs have two sides but their 2 Sided",
                 "bit is not set. Set the 'two-sided' flag ?", kLineTwoSided, 0);
    return true;
}

// The references of one kind that each LineDef holds (-1 for none).
using LineDefReferences = std::array<int, 2>;

// Walks the references that refs finds in every LineDef, reporting one out
// of range (as "LineDef 4 Vertex out of range") and taking it as object 0,
// and hands each to use(lineDef, object). False when the user stopped the
// check or use returned false.
template <class Refs, class Valid, class Use>
bool WalkLineDefReferences(CheckDialogs& dialogs, const char* what, Refs refs, Valid valid, Use use) {
    for (int i = 0; i < level.lineDefs.count; ++i) {
        dialogs.Progress(i, level.lineDefs.count);
        for (int n : refs(level.lineDefs[i])) {
            if (n < 0)
                continue;
            if (!valid(n)) {
                if (!Report(dialogs, Format("LineDef %d %s out of range", i, what), kObjLineDef, i, Severity::Crash))
                    return false;
                n = 0;
            }
            if (!use(i, n))
                return false;
        }
    }
    dialogs.Progress(level.lineDefs.count, level.lineDefs.count);
    return true;
}

// Marks each object handed to it as used (none in a level without any: a
// reference out of range is taken as object 0).
auto MarkUsed(std::vector<char>& used) {
    return [&used](int, int n) {
        if (!used.empty())
            used[static_cast<size_t>(n)] = 1;
        return true;
    };
}

bool CheckUnusedVertexes(CheckDialogs& dialogs) {
    dialogs.Title("Checking for Unused Vertexes");
    std::vector<char> used(static_cast<size_t>(level.vertices.count), 0);
    auto ends = [](const LineDef& ld) { return LineDefReferences{ld.start, ld.end}; };
    if (!WalkLineDefReferences(dialogs, "Vertex", ends, ValidVertex, MarkUsed(used)))
        return false;
    return OfferDeletion(dialogs, kObjVertex, used, "%zu Vertexes are not used", "Delete unused Vertices?");
}

bool CheckDuplicateVertexes(CheckDialogs& dialogs) {
    dialogs.Title("Checking for Duplicate Vertexes");
    int count = level.vertices.count;
    Groups samePlace(count, [](int i) {
        const Vertex& v = level.vertices[i];
        return uint32_t(uint16_t(v.x)) << 16 | uint16_t(v.y);
    });
    for (int i = count - 1; i >= 1; --i) {
        dialogs.Progress(count - 1 - i, count);
        samePlace.ForEarlier(i, [&](int j) {
            dialogs.Tell(Format("Vertex %d and %d share the same Coordinates", i, j),
                         "Drag one and then Delete by inspection!");
            return true;
        });
    }
    dialogs.Progress(count, count);
    return true;
}

// A side's SideDef, -1 for none.
int SideOrNone(uint16_t side) { return side == kNoReference ? -1 : side; }

bool CheckSideDefUse(CheckDialogs& dialogs) {
    dialogs.Title("Checking for Unused/Duplicate SideDefs");
    std::vector<char> used(static_cast<size_t>(level.sideDefs.count), 0);
    auto sides = [](const LineDef& ld) { return LineDefReferences{SideOrNone(ld.sideDef1), SideOrNone(ld.sideDef2)}; };
    auto mark = [&](int i, int side) {
        if (used.empty())
            return true;
        if (used[static_cast<size_t>(side)] &&
            !Report(dialogs, Format("LineDef %d SideDef %d duplicate?", i, side), kObjLineDef, i, Severity::Crash))
            return false;
        used[static_cast<size_t>(side)] = 1;
        return true;
    };
    if (!WalkLineDefReferences(dialogs, "SideDef", sides, ValidSideDef, mark))
        return false;
    return OfferDeletion(dialogs, kObjSideDef, used, "%zu SideDefs are not used", "Delete unused SideDefs?");
}

// The Sector a side faces, -1 when it has no SideDef.
int SectorOfSideOrNone(uint16_t side) {
    const SideDef* sd = SideDefAt(side);
    return sd ? sd->sector : -1;
}

bool CheckSectorUse(CheckDialogs& dialogs) {
    dialogs.Title("Checking for Unused Sectors");
    std::vector<char> used(static_cast<size_t>(level.sectors.count), 0);
    auto sectors = [](const LineDef& ld) {
        return LineDefReferences{SectorOfSideOrNone(ld.sideDef1), SectorOfSideOrNone(ld.sideDef2)};
    };
    if (!WalkLineDefReferences(dialogs, "Sector", sectors, ValidSector, MarkUsed(used)))
        return false;
    return OfferDeletion(dialogs, kObjSector, used, "%zu Sectors are not used", "Delete unused Sectors?");
}

// --- Missing textures ----------------------------------------------------------

// A Sector finding: fixed at once, or reported.
bool SectorFinding(CheckDialogs& dialogs, FixStyle style, int s, const std::string& first,
                   const std::string& second, const std::string& fixed, const std::function<void()>& fix) {
    if (style == FixStyle::Ask)
        return Report(dialogs, first, kObjSector, s, Severity::Crash, second);
    fix();
    dialogs.Status(fixed);
    return true;
}

bool CheckSectorFlatsAndHeights(CheckDialogs& dialogs, FixStyle style) {
    dialogs.Title("Checking Missing Ceiling Textures");
    for (int s = 0; s < level.sectors.count; ++s) {
        dialogs.Progress(s, level.sectors.count);
        const Sector& sector = level.sectors[s];
        if (sector.ceilingTexture[0] == '-' &&
            !SectorFinding(dialogs, style, s, Format("Sector %d has no ceiling texture ??", s), "",
                           Format("Fixed Ceiling Sector %d", s),
                           [s] { edits::SetDefaultName(level, s, NamePart::CeilingFlat, NameFix::Missing); }))
            return false;
        if (sector.floorTexture[0] == '-' &&
            !SectorFinding(dialogs, style, s, Format("Sector %d has no floor texture", s), "",
                           Format("Fixed Floor Sector %d", s),
                           [s] { edits::SetDefaultName(level, s, NamePart::FloorFlat, NameFix::Missing); }))
            return false;
        if (sector.ceilingHeight < sector.floorHeight &&
            !SectorFinding(dialogs, style, s,
                           Format("Sector %d has its ceiling lower than its floor. The", s),
                           "textures will never be displayed if you cannot go there",
                           Format("Fixed Ceiling Height Sector %d", s),
                           [s] { edits::FixSectorHeight(level, s, HeightFix::CeilingBelowFloor); }))
            return false;
        if (sector.ceilingHeight - sector.floorHeight > 1023 &&
            !SectorFinding(dialogs, style, s, Format("Sector %d difference (ceiling-floor)", s),
                           "height exceeds the maximum allowed (1023). ",
                           Format("Fixed Ceiling Height Sector %d", s),
                           [s] { edits::FixSectorHeight(level, s, HeightFix::TooTall); }))
            return false;
    }
    dialogs.Progress(level.sectors.count, level.sectors.count);
    return true;
}

// A wall without the texture it shows: asked (going on sets the default
// texture) or set at once.
bool WallFinding(CheckDialogs& dialogs, FixStyle style, int lineDef, const std::string& finding,
                 const std::string& fixed, int sideDef, NamePart part) {
    if (style == FixStyle::Ask &&
        !Report(dialogs, finding, kObjLineDef, lineDef, Severity::Fault,
                Format("Set the texture to %s and continue?", FieldName(edits::DefaultName(part)).c_str())))
        return false;
    edits::SetDefaultName(level, sideDef, part, NameFix::Missing);
    dialogs.Status(fixed);
    return true;
}

// Patches of wall textures, each name looked up once.
class PatchCounts {
public:
    int Of(const char* field) {
        std::string key = NameKey(field);
        auto it = counts_.find(key);
        if (it != counts_.end())
            return it->second;
        TextureInfo info;
        int count = FindTexture(key.c_str(), &info) ? info.patchCount : 0;
        counts_.emplace(key, count);
        return count;
    }

private:
    std::unordered_map<std::string, int> counts_;
};

bool CheckWall(CheckDialogs& dialogs, FixStyle style, int i, PatchCounts& patches) {
    const LineDef& ld = level.lineDefs[i];
    const SideDef* sd1 = SideDefAt(ld.sideDef1);
    const SideDef* sd2 = SideDefAt(ld.sideDef2);
    const Sector* s1 = SectorOfSide(ld.sideDef1);
    const Sector* s2 = SectorOfSide(ld.sideDef2);
    if (s1 && !s2 && sd1->middle[0] == '-' &&
        !WallFinding(dialogs, style, i, Format("Linedef %d: SideDef1 %d missing normal texture", i, ld.sideDef1),
                     Format("Fixed Normal Sidedef1 %d", ld.sideDef1), ld.sideDef1, NamePart::Middle))
        return false;
    if (!s1 || !s2)
        return true;
    auto sky = [](const Sector* s) { return std::strncmp(s->ceilingTexture, "F_SKY1", 6) == 0; };
    bool bothSky = sky(s1) && sky(s2);
    if (s2->ceilingHeight < s1->ceilingHeight && IsNoTexture(sd1->upper) && !bothSky &&
        !WallFinding(dialogs, style, i, Format("Linedef %d: SideDef1 %d has no upper texture", i, ld.sideDef1),
                     Format("Fixed Upper Sidedef1 %d", ld.sideDef1), ld.sideDef1, NamePart::Upper))
        return false;
    if (s1->ceilingHeight < s2->ceilingHeight && IsNoTexture(sd2->upper) && !bothSky &&
        !WallFinding(dialogs, style, i, Format("Linedef %d: SideDef2 %d has no upper texture", i, ld.sideDef2),
                     Format("Fixed Upper Sidedef2 %d", ld.sideDef2), ld.sideDef2, NamePart::Upper))
        return false;
    if (s1->floorHeight < s2->floorHeight && IsNoTexture(sd1->lower) &&
        !WallFinding(dialogs, style, i, Format("Linedef %d: SideDef1 %d has no lower texture", i, ld.sideDef1),
                     Format("Fixed Lower Sidedef1 %d", ld.sideDef1), ld.sideDef1, NamePart::Lower))
        return false;
    if (s2->floorHeight < s1->floorHeight && IsNoTexture(sd2->lower) &&
        !WallFinding(dialogs, style, i, Format("Linedef %d: SideDef2 %d has no lower texture", i, ld.sideDef2),
                     Format("Fixed Lower Sidedef2 %d", ld.sideDef2), ld.sideDef2, NamePart::Lower))
        return false;
    for (const SideDef* sd : {sd1, sd2}) {
        int count = patches.Of(sd->middle);
        if (count > 1 &&
            !Report(dialogs,
                    Format("Linedef %d, texture %s has %d patches!", i, FieldName(sd->middle).c_str(), count),
                    kObjLineDef, i, Severity::Fault, "Possible problem, continue?"))
            return false;
    }
    return true;
}

bool CheckWallTextures(CheckDialogs& dialogs, FixStyle style) {
    PatchCounts patches;
    return Scan(dialogs, "Checking Missing Wall Textures", level.lineDefs.count,
                [&](int i) { return CheckWall(dialogs, style, i, patches); });
}

// --- Texture names ---------------------------------------------------------------

// A name field of an object, with the words its findings use.
struct NameField {
    const char* where;      // "ceiling", "upper"...
    const char* fixedWhat;  // "Ceiling", "Upper"...
    const char* field;
    NamePart part;
};

// Each field whose name is not in the list: reported, or replaced by the
// default at once. noun and fixedNoun name the object in the finding and in
// the fix's message. False when the user cancelled.
bool CheckFieldNames(CheckDialogs& dialogs, FixStyle style, const NameSet& names, int kind, int n,
                     const char* noun, const char* fixedNoun, std::initializer_list<NameField> fields) {
    for (const NameField& f : fields) {
        if (names.Has(f.field))
            continue;
        if (style == FixStyle::Ask) {
            if (!Report(dialogs, Format("%s %d, %s", noun, n, f.where), kind, n, Severity::Fault,
                        Format("texture %s not found", FieldName(f.field).c_str())))
                return false;
            continue;
        }
        edits::SetDefaultName(level, n, f.part, NameFix::Unknown);
        dialogs.Status(Format("Fixed %s %s %d", f.fixedWhat, fixedNoun, n));
    }
    return true;
}

bool CheckFlatNames(CheckDialogs& dialogs, FixStyle style) {
    NameSet flats(nameLists.FlatNames);
    return Scan(dialogs, "Checking Sector textures", level.sectors.count, [&](int s) {
        const Sector& sector = level.sectors[s];
        return CheckFieldNames(dialogs, style, flats, kObjSector, s, "Sector", "Sector",
                               {{"ceiling", "Ceiling", sector.ceilingTexture, NamePart::CeilingFlat},
                                {"floor", "Floor", sector.floorTexture, NamePart::FloorFlat}});
    });
}

bool CheckWallNames(CheckDialogs& dialogs, FixStyle style) {
    NameSet textures(nameLists.TextureNames);
    return Scan(dialogs, "Checking SideDef textures", level.sideDefs.count, [&](int i) {
        const SideDef& sd = level.sideDefs[i];
        return CheckFieldNames(dialogs, style, textures, kObjSideDef, i, "SideDef", "Sidedef",
                               {{"upper", "Upper", sd.upper, NamePart::Upper},
                                {"lower", "Lower", sd.lower, NamePart::Lower},
                                {"normal", "Normal", sd.middle, NamePart::Middle}});
    });
}

// --- LineDef tags --------------------------------------------------------------

// The Sectors of each tag, in Sector order.
std::unordered_map<int, std::vector<int>> SectorsByTag() {
    std::unordered_map<int, std::vector<int>> tagged;
    for (int s = 0; s < level.sectors.count; ++s)
        tagged[level.sectors[s].tag].push_back(s);
    return tagged;
}

// The Sectors in which a teleport landing stands, found when first asked.
class Landings {
public:
    bool In(const std::vector<int>& sectors) {
        if (!found_) {
            found_ = true;
            constexpr int16_t kTeleportLanding = 14;
            for (const Thing& t : level.things)
                if (t.type == kTeleportLanding)
                    if (int s = GetSectorAtPoint(level, t.x, t.y); s >= 0)
                        sectors_.insert(s);
        }
        for (int s : sectors)
            if (sectors_.count(s))
                return true;
        return false;
    }

private:
    bool found_ = false;
    std::unordered_set<int> sectors_;
};

bool CheckLineDefTag(CheckDialogs& dialogs, int i, const std::unordered_map<int, std::vector<int>>& tagged,
                     Landings& landings) {
    const LineDef& ld = level.lineDefs[i];
    uint16_t type = static_cast<uint16_t>(ld.type);
    if (!LineDefNeedsTag(type, level.target)) {
        if (ld.tag != 0 && dialogs.Confirm(Question::Yes, Format("LineDef %d, doesn't need Sector tag %d", i, ld.tag),
                                           "Reset tag to 0 ?")) {
            edits::ResetTag(level, kObjLineDef, i);
        }
        return true;
    }
    if (ld.tag == 0)
        return Report(dialogs, Format("LineDef %d, type %d requires a Sector tag", i, ld.type), kObjLineDef, i,
                      Severity::Fault);
    auto it = tagged.find(ld.tag);
    if (it == tagged.end())
        return Report(dialogs, Format("LineDef %d, sector tag %d not found", i, ld.tag), kObjLineDef, i,
                      Severity::Fault);
    if (!IsTeleportType(type))
        return true;
    const std::vector<int>& sectors = it->second;
    std::string first = Format("LineDef %d with sector tag %d", i, ld.tag);
    if (!landings.In(sectors) &&
        !Report(dialogs, first, kObjLineDef, i, Severity::Fault,
                Format("Teleport not found in sector %d", sectors.front())))
        return false;
    if (sectors.size() >= 2 &&
        !Report(dialogs, first, kObjLineDef, i, Severity::Fault,
                Format("%zu Sectors have same Teleport Tag?", sectors.size())))
        return false;
    return true;
}

}  // namespace

bool CheckClosedSectors(CheckDialogs& dialogs) {
    dialogs.Title("Checking All Sectors Closed");
    dialogs.Note("Check that all the LineDefs", "make a closed loop.");
    long total = long(level.sectors.count) + level.lineDefs.count;
    if (!CheckSectorLoops(dialogs, total))
        return false;
    dialogs.Note("SideDefs facing each other must", "have the same Sector number.");
    return CheckFacingSectors(dialogs, total);
}

bool CheckCrossReferences(CheckDialogs& dialogs) {
    if (level.vertices.count == 0)
        return true;
    return CheckMissingSideDefs(dialogs) && CheckDuplicateLineDefs(dialogs) && CheckFlags(dialogs) &&
           CheckUnusedVertexes(dialogs) && CheckDuplicateVertexes(dialogs) && CheckSideDefUse(dialogs) &&
           CheckSectorUse(dialogs);
}

bool CheckMissingTextures(CheckDialogs& dialogs, FixStyle style) {
    return CheckSectorFlatsAndHeights(dialogs, style) && CheckWallTextures(dialogs, style);
}

bool CheckTextureNames(CheckDialogs& dialogs, FixStyle style) {
    return CheckFlatNames(dialogs, style) && CheckWallNames(dialogs, style);
}

bool CheckThingTypes(CheckDialogs& dialogs) {
    const GameDefinitions& defs = CurrentDefinitions();
    dialogs.Title("Checking Thing Names");
    TypeMemo known(KnownThing);
    bool spot = std::any_of(level.things.begin(), level.things.end(),
                            [&](const Thing& t) { return uint16_t(t.type) == defs.bossSpotType; });
    for (int i = 0; i < level.things.count; ++i) {
        dialogs.Progress(i, level.things.count);
        uint16_t type = static_cast<uint16_t>(level.things[i].type);
        if (!known.Valid(type) &&
            !Report(dialogs, InvalidTypeText("Thing", i, "Invalid Type", level.things[i].type, ThingTypeNeeds(type)),
                    kObjThing, i, Severity::Fault))
            return false;
        if (type == defs.bossType && !spot &&
            !Report(dialogs, Format(defs.bossMessage, i, defs.bossType, defs.bossSpotType), kObjThing, i,
                    Severity::Fault))
            return false;
    }
    dialogs.Progress(level.things.count, level.things.count);
    return true;
}

bool CheckLineDefTypes(CheckDialogs& dialogs) {
    dialogs.Title("Checking LineDef Types/Tags");
    TypeMemo valid(KnownLineDefType);
    std::unordered_map<int, std::vector<int>> tagged = SectorsByTag();
    Landings landings;
    for (int i = 0; i < level.lineDefs.count; ++i) {
        dialogs.Progress(i, level.lineDefs.count);
        const LineDef& ld = level.lineDefs[i];
        uint16_t type = static_cast<uint16_t>(ld.type);
        if (!valid.Valid(type) && !Report(dialogs, InvalidTypeText("LineDef", i, "Invalid Type", ld.type, LineDefTypeNeeds(type)),
                                          kObjLineDef, i, Severity::Fault))
            return false;
        if (!CheckLineDefTag(dialogs, i, tagged, landings))
            return false;
    }
    dialogs.Progress(level.lineDefs.count, level.lineDefs.count);
    return true;
}

bool CheckSectorTypes(CheckDialogs& dialogs) {
    dialogs.Title("Checking Sector Types/Tags");
    TypeMemo valid(KnownSectorType);
    std::unordered_set<int> lineTags;
    for (const LineDef& ld : level.lineDefs)
        lineTags.insert(ld.tag);
    for (int s = 0; s < level.sectors.count; ++s) {
        dialogs.Progress(s, level.sectors.count);
        const Sector& sector = level.sectors[s];
        uint16_t type = static_cast<uint16_t>(sector.type);
        if (!valid.Valid(type) &&
            !Report(dialogs, InvalidTypeText("Sector", s, "Invalid Sector type", sector.type, SectorTypeNeeds(type)),
                    kObjSector, s, Severity::Fault))
            return false;
        int tag = sector.tag;
        bool special = tag == 0 || tag == 666 || tag == 999 || tag == 99;
        if (!special && !lineTags.count(tag) &&
            dialogs.Confirm(Question::Yes, Format("Sector %d, linedef tag %d not found", s, tag),
                            "Reset tag to 0 ?")) {
            edits::ResetTag(level, kObjSector, s);
        }
    }
    dialogs.Progress(level.sectors.count, level.sectors.count);
    return true;
}

bool CheckExitsAndStarts(CheckDialogs& dialogs) {
    if (level.lineDefs.count == 0 && level.things.count == 0)
        return true;
    bool exit = std::any_of(level.lineDefs.begin(), level.lineDefs.end(),
                            [](const LineDef& ld) { return IsExitType(static_cast<uint16_t>(ld.type)); });
    if (!exit)
        dialogs.Warn("Warning", {"There are no exits in this level!"});
    int starts[5] = {};   // players 1 to 4, deathmatch
    for (const Thing& t : level.things) {
        if (t.type >= 1 && t.type <= 4)
            ++starts[t.type - 1];
        else if (t.type == 11)
            ++starts[4];
    }
    std::string missing;
    for (int p = 0; p < 4; ++p)
        if (starts[p] == 0)
            missing += Format("P%d ", p + 1);
    if (!missing.empty() &&
        !dialogs.WarnContinue("Warning", {missing + "Starting positions missing.",
                                          "This level is not for multi-player games.", "Press Y to continue"}))
        return false;
    if (starts[4] < 4 &&
        !dialogs.WarnContinue("Warning", {Format("Only %d DeathMatch starting points present.", starts[4]),
                                          "You need at least 4 starting points to play DeathMatch games",
                                          "Press Y to continue"}))
        return false;
    return true;
}
