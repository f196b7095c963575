#include "ops/linedef_ops.h"

#include "base/format.h"
#include "level/history.h"
#include "level/level.h"
#include "ops/edit_support.h"
#include "ops/vertex_ops.h"

namespace {

// Splits the LineDef at a new Vertex at its midpoint, as the Misc menu's
// split does (with its beep when it cannot); false when it could not.
bool SplitAtMidpoint(int l) {
    SelectionList one;
    SelectObject(one, l);
    int before = level.lineDefs.count;
    SplitLineDefs(one);
    ForgetSelection(one);
    return level.lineDefs.count > before;
}

}  // namespace

void SplitLineDefsAndSector(int lineDef1, int lineDef2) {
    if (!ValidLineDef(lineDef1) || !ValidLineDef(lineDef2) || lineDef1 == lineDef2)
        return;
    if (!edits::ShareSector(level, lineDef1, lineDef2)) {
        ReportFailure(Format("LineDefs %d and %d are not adjacent to the same Sector", lineDef1,
                             lineDef2));
        return;
    }
    EditScope edit("split 2 LineDefs and Sector");
    if (!SplitAtMidpoint(lineDef2) || !SplitAtMidpoint(lineDef1))
        return;
    int newest = level.vertices.count - 1;
    if (AddLineDefSplitSector(newest, newest - 1) == SplitResult::Done)
        edit.Commit();
}

void DeleteLineDefsJoinSectors(SelectionList& lineDefs) {
    if (!CheckSelection(CountRule::AtLeast, 1, kObjLineDef, lineDefs))
        return;
    edits::Refusal refusal = edits::DeleteLineDefsJoinSectors(level, lineDefs);
    if (refusal.refused())
        ReportFailure(refusal.first, refusal.second);
}
