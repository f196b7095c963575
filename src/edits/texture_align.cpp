#include "edits/texture_align.h"

#include <algorithm>
#include <cstring>

#include "base/format.h"
#include "edits/builder_geometry.h"
#include "edits/objects.h"
#include "level/history.h"

namespace edits {

namespace {

constexpr int kYOffsetWrap = 128;

struct SideOfLineDef {
    int sideDef, lineDef;
};

// The sides of SidesToAlign with the LineDef carrying each.
std::vector<SideOfLineDef> SidesOf(const LevelState& level, const SelectionList& lineDefs, AlignSide side) {
    std::vector<SideOfLineDef> sides;
    for (int l : lineDefs) {
        const LineDef* ld = level.lineDefs.at(l);
        int sd = ld ? (side == AlignSide::First ? ld->sideDef1 : ld->sideDef2) : -1;
        if (level.sideDefs.valid(sd))
            sides.insert(sides.begin(), {sd, l});
    }
    return sides;
}

// The height a SideDef's texture hangs from: its Sector's ceiling, or the
// ceiling across its LineDef when that is lower and still above the floor.
int ReferenceHeight(const LevelState& level, int sideDef) {
    const Sector* own = level.sectors.at(level.sideDefs[sideDef].sector);
    if (!own)
        return 0;
    for (const LineDef& ld : level.lineDefs) {
        if (ld.sideDef1 != sideDef && ld.sideDef2 != sideDef)
            continue;
        int across = SectorOfSide(level, ld.sideDef1 == sideDef ? ld.sideDef2 : ld.sideDef1);
        if (across >= 0) {
            const Sector& other = level.sectors[across];
            if (other.ceilingHeight < own->ceilingHeight && other.ceilingHeight > own->floorHeight)
                return other.ceilingHeight;
        }
        break;
    }
    return own->ceilingHeight;
}

bool IsNoTexture(const std::string& name) { return name.empty() || name == "-"; }

std::string NameOf(const char (&field)[8]) { return std::string(field, strnlen(field, 8)); }

// The texture a SideDef shows: its normal one, else its upper, else its lower.
std::string ShownTexture(const SideDef& sd) {
    std::string name = NameOf(sd.middle);
    if (IsNoTexture(name))
        name = NameOf(sd.upper);
    if (IsNoTexture(name))
        name = NameOf(sd.lower);
    return name;
}

// The running offset and the width of the texture it runs along.
struct XRun {
    int offset = 0;
    int width = 0;
    std::string texture;
};

// A SideDef whose texture differs from the one before; false, with why,
// when the alignment stops there.
bool ChangeTexture(XRun& run, const std::string& texture, int sideDef, bool first, const AlignXChoice& choice,
                   const TextureWidth& widthOf, AlignedX& result) {
    if (choice.identical && !first && !IsNoTexture(texture) && !IsNoTexture(run.texture)) {
        result.stop = AlignStop::DifferentTexture;
        result.problem = Format("Texture Different for SideDef %d.", sideDef);
        return false;
    }
    if (IsNoTexture(texture)) {
        run.offset = 0;
        run.width = 0;
    } else {
        if (choice.restart && !first)
            run.offset = 0;
        int width = widthOf(texture);
        if (width < 0) {
            result.stop = AlignStop::UnknownTexture;
            result.problem = Format("Texture %s not found?", texture.c_str());
            return false;
        }
        run.width = width;
    }
    run.texture = texture;
    return true;
}

// Whether LineDef l carries on from the one before along the side: on the
// first side it starts where that one ended, on the second it ends where
// that one started.
bool ContinuesChain(const LevelState& level, int previous, int l, AlignSide side, AlignedX& result) {
    const LineDef& before = level.lineDefs[previous];
    const LineDef& now = level.lineDefs[l];
    bool first = side == AlignSide::First;
    int joint = first ? before.end : before.start;
    if ((first ? now.start : now.end) == joint)
        return true;
    bool reversed = (first ? now.end : now.start) == joint;
    result.stop = reversed ? AlignStop::WrongDirection : AlignStop::NotConnected;
    result.problem = reversed ? Format("LineDef %d not same direction", l)
                              : Format("LineDefs %d & %d not connected", l, previous);
    return false;
}

}  // namespace

std::vector<int> SidesToAlign(const LevelState& level, const SelectionList& lineDefs, AlignSide side) {
    std::vector<int> sideDefs;
    for (const SideOfLineDef& s : SidesOf(level, lineDefs, side))
        sideDefs.push_back(s.sideDef);
    return sideDefs;
}

void AlignTexturesY(LevelState& level, const SelectionList& lineDefs, AlignSide side) {
    std::vector<SideOfLineDef> sides = SidesOf(level, lineDefs, side);
    if (sides.empty())
        return;
    EditScope edit("align textures Y");
    int top = ReferenceHeight(level, sides.front().sideDef);
    for (const SideOfLineDef& s : sides)
        level.sideDefs[s.sideDef].yOffset = static_cast<int16_t>((top - ReferenceHeight(level, s.sideDef)) % kYOffsetWrap);
    level.levelChanged = true;
    edit.Commit();
}

AlignedX AlignTexturesX(LevelState& level, const SelectionList& lineDefs, const AlignXChoice& choice,
                        const TextureWidth& widthOf) {
    std::vector<SideOfLineDef> sides = SidesOf(level, lineDefs, choice.side);
    if (choice.side == AlignSide::Second)
        std::reverse(sides.begin(), sides.end());
    EditScope edit("align textures X");
    AlignedX result;
    XRun run;
    for (size_t i = 0; i < sides.size(); ++i) {
        const SideOfLineDef& s = sides[i];
        bool first = i == 0;
        if (first)
            run.offset = choice.initial;
        std::string texture = ShownTexture(level.sideDefs[s.sideDef]);
        if ((first || texture != run.texture) &&
            !ChangeTexture(run, texture, s.sideDef, first, choice, widthOf, result))
            break;
        if (!first && !ContinuesChain(level, sides[i - 1].lineDef, s.lineDef, choice.side, result))
            break;
        level.sideDefs[s.sideDef].xOffset = static_cast<int16_t>(run.offset);
        int length = HasBothEnds(level, s.lineDef) ? static_cast<int>(LineDefLength(level, s.lineDef)) : 0;
        run.offset = run.width > 0 ? (run.offset + length) % run.width : 0;
        ++result.aligned;
    }
    if (result.aligned > 0) {
        level.levelChanged = true;
        edit.Commit();
    }
    return result;
}

}  // namespace edits
