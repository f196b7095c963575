#include <vector>

#include "level/history.h"
#include "level/level.h"
#include "ops/builders.h"
#include "ops/edit_support.h"
#include "ui/menus.h"

namespace {

constexpr int kYOffsetWrap = 128;

// The SideDefs on one side of the listed LineDefs, oldest selected first,
// with the LineDef carrying each.
struct SideOfLineDef {
    int sideDef, lineDef;
};

std::vector<SideOfLineDef> SidesOf(const SelectionList& lineDefs, int side) {
    std::vector<SideOfLineDef> sides;
    for (int l : lineDefs) {
        const LineDef* ld = LineDefAt(l);
        int sd = ld ? (side == 1 ? ld->sideDef1 : ld->sideDef2) : -1;
        if (ValidSideDef(sd))
            sides.insert(sides.begin(), {sd, l});
    }
    return sides;
}

// The height a SideDef's texture hangs from: its Sector's ceiling, or the
// ceiling across its LineDef when that is lower and still above the floor.
int ReferenceHeight(int sideDef) {
    const Sector* own = SectorAt(level.sideDefs[sideDef].sector);
    if (!own)
        return 0;
    for (const LineDef& ld : level.lineDefs) {
        if (ld.sideDef1 != sideDef && ld.sideDef2 != sideDef)
            continue;
        int across = SectorOfSide(ld.sideDef1 == sideDef ? ld.sideDef2 : ld.sideDef1);
        if (across >= 0) {
            const Sector& other = level.sectors[across];
            if (other.ceilingHeight < own->ceilingHeight && other.ceilingHeight > own->floorHeight)
                return other.ceilingHeight;
        }
        break;
    }
    return own->ceilingHeight;
}

// "SideDef 1" or "SideDef 2" from the menu; 0 for Exit.
int AskAlignSide() {
    int item = SimpleMenu(kCentred, kCentred, MenuStyle::Plain, 1, nullptr, WindowSave::Always,
                          "Align Textures Y", {" Exit", " SideDef 1", " SideDef 2"});
    return item == 2 || item == 3 ? item - 1 : 0;
}

}  // namespace

void AlignTexturesY(const SelectionList& lineDefs) {
    int side = AskAlignSide();
    if (side == 0)
        return;
    std::vector<SideOfLineDef> sides = SidesOf(lineDefs, side);
    SelectionList counted;
    for (const SideOfLineDef& s : sides)
        SelectObject(counted, s.sideDef);
    bool enough = CheckSelection(CountRule::AtLeast, 1, kObjSideDef, counted);
    ForgetSelection(counted);
    if (!enough)
        return;
    int top = ReferenceHeight(sides.front().sideDef);
    for (const SideOfLineDef& s : sides) {
        int offset = (top - ReferenceHeight(s.sideDef)) % kYOffsetWrap;
        level.sideDefs[s.sideDef].yOffset = static_cast<int16_t>(offset);
    }
    level.levelChanged = true;
    NameStep("align textures Y");
}
