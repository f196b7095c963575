#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/format.h"
#include "level/history.h"
#include "level/level.h"
#include "builders/builders.h"
#include "ops/edit_support.h"
#include "edits/builder_geometry.h"
#include "pictures/picture.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/message_box.h"

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

// "SideDef 1" or "SideDef 2" from the menu; 0 for Exit.
int AskAlignSide() {
    int item = SimpleMenu(kCentred, kCentred, MenuStyle::Plain, 1, nullptr, WindowSave::Always,
                          "Align Textures Y", {" Exit", " SideDef 1", " SideDef 2"});
    return item == 2 || item == 3 ? item - 1 : 0;
}

// How the X offsets are lined up.
struct AlignXChoice {
    int side = 1;
    bool identical = true;        // different real textures end the alignment
    bool initialOffset = false;   // asks the offset the first texture starts at
};

bool AskAlignX(AlignXChoice& choice) {
    int item = SimpleMenu(kCentred, kCentred, MenuStyle::Plain, 1, nullptr, WindowSave::Always,
                          "Align SideDef Textures X",
                          {" Side 1, Identical textures", " Side 1, Identical, with inital offset",
                           " Side 1, No texture checking", " Side 1, No texture, with initial offset",
                           " Side 2, Identical textures", " Side 2, Identical, with initial offset",
                           " Side 2, No texture checking", " Side 2, No texture, with initial offset"});
    if (item < 1 || item > 8)
        return false;
    choice.side = item <= 4 ? 1 : 2;
    choice.identical = (item - 1) % 4 < 2;
    choice.initialOffset = item % 2 == 0;
    return true;
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

void ReportBrokenChain(const std::string& problem) {
    MessageBox(kCentred, kCentred, LineAlign::Left, "Ok!", kAnyKey, nullptr, 0, "Please Reselect LineDefs.",
               {problem.c_str(), "LineDefs must make a Connected line", "going in the forward direction.",
                "Mark all the LineDefs one after another.", "Leave the cursor at the last LineDef",
                "Refer to Help for more information"});
}

// Whether LineDef l carries on from the one before along the chosen side:
// on side 1 it starts where that one ended, on side 2 it ends where that one
// started. Says what is wrong when not.
bool ContinuesChain(int previous, int l, int side) {
    const LineDef& before = level.lineDefs[previous];
    const LineDef& now = level.lineDefs[l];
    int joint = side == 1 ? before.end : before.start;
    if ((side == 1 ? now.start : now.end) == joint)
        return true;
    if ((side == 1 ? now.end : now.start) == joint)
        ReportBrokenChain(Format("LineDef %d not same direction", l));
    else
        ReportBrokenChain(Format("LineDefs %d & %d not connected", l, previous));
    return false;
}

// The running offset and the width of the texture it runs along.
struct XRun {
    int offset = 0;
    int width = 0;
    int initial = 0;       // where the first texture starts
    bool restart = false;  // a new texture starts again at 0
    std::string texture;
};

// A SideDef whose texture differs from the one before. False ends the
// alignment (after saying why).
bool ChangeTexture(XRun& run, const std::string& texture, int sideDef, bool first, bool identical) {
    if (identical && !first && !IsNoTexture(texture) && !IsNoTexture(run.texture)) {
        ReportFailure(Format("Texture Different for SideDef %d.", sideDef));
        return false;
    }
    if (IsNoTexture(texture)) {
        run.offset = 0;
        run.width = 0;
    } else {
        if (run.restart && !first)
            run.offset = 0;
        TextureInfo info;
        if (!FindTexture(texture.c_str(), &info)) {
            ReportFailure(Format("Texture %s not found?", texture.c_str()));
            return false;
        }
        run.width = info.width;
    }
    run.texture = texture;
    return true;
}

// The selection check on the SideDefs an alignment would change.
bool SidesToAlign(const std::vector<SideOfLineDef>& sides) {
    SelectionList counted;
    for (const SideOfLineDef& s : sides)
        SelectObject(counted, s.sideDef);
    bool enough = CheckSelection(CountRule::AtLeast, 1, kObjSideDef, counted);
    ForgetSelection(counted);
    return enough;
}

}  // namespace

void AlignTexturesX(const SelectionList& lineDefs) {
    AlignXChoice choice;
    if (!AskAlignX(choice))
        return;
    std::vector<SideOfLineDef> sides = SidesOf(lineDefs, choice.side);
    if (choice.side == 2)
        std::reverse(sides.begin(), sides.end());
    if (!SidesToAlign(sides))
        return;
    XRun run;
    if (choice.initialOffset) {
        std::vector<FormField> fields = {{"Offset", 0, 256, 0}};
        if (NumberForm(kCentred, kCentred, WindowSave::Always, "Initial offset", fields) != 1)
            return;
        run.initial = fields[0].value;
    }
    if (!choice.identical)
        run.restart = AskYes("Reset Offset to 0", "when Texture changes?");
    for (size_t i = 0; i < sides.size(); ++i) {
        const SideOfLineDef& s = sides[i];
        bool first = i == 0;
        if (first)
            run.offset = run.initial;
        std::string texture = ShownTexture(level.sideDefs[s.sideDef]);
        if (first || texture != run.texture) {
            if (!ChangeTexture(run, texture, s.sideDef, first, choice.identical))
                break;
        }
        if (!first && !ContinuesChain(sides[i - 1].lineDef, s.lineDef, choice.side))
            break;
        level.sideDefs[s.sideDef].xOffset = static_cast<int16_t>(run.offset);
        int length = HasBothEnds(s.lineDef) ? static_cast<int>(LineDefLength(s.lineDef)) : 0;
        run.offset = run.width > 0 ? (run.offset + length) % run.width : 0;
        level.levelChanged = true;
        NameStep("align textures X");
    }
}

void AlignTexturesY(const SelectionList& lineDefs) {
    int side = AskAlignSide();
    if (side == 0)
        return;
    std::vector<SideOfLineDef> sides = SidesOf(lineDefs, side);
    if (!SidesToAlign(sides))
        return;
    int top = ReferenceHeight(sides.front().sideDef);
    for (const SideOfLineDef& s : sides) {
        int offset = (top - ReferenceHeight(s.sideDef)) % kYOffsetWrap;
        level.sideDefs[s.sideDef].yOffset = static_cast<int16_t>(offset);
    }
    level.levelChanged = true;
    NameStep("align textures Y");
}
