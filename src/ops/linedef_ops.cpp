#include "ops/linedef_ops.h"

#include "base/format.h"
#include "level/history.h"
#include "level/level.h"
#include "ops/edit_support.h"

void SplitLineDefsAndSector(int lineDef1, int lineDef2) {
    if (!ValidLineDef(lineDef1) || !ValidLineDef(lineDef2) || lineDef1 == lineDef2)
        return;
    if (!edits::ShareSector(lineDef1, lineDef2)) {
        ReportFailure(Format("LineDefs %d and %d are not adjacent to the same Sector", lineDef1,
                             lineDef2));
        return;
    }
    EditScope edit("split 2 LineDefs and Sector");
    if (!edits::SplitAtMidpoint(lineDef2) || !edits::SplitAtMidpoint(lineDef1))
        return;
    int newest = level.vertices.count - 1;
    if (AddLineDefSplitSector(newest, newest - 1) == SplitResult::Done)
        edit.Commit();
}

void DeleteLineDefsJoinSectors(SelectionList& lineDefs) {
    if (!CheckSelection(CountRule::AtLeast, 1, kObjLineDef, lineDefs))
        return;
    edits::Refusal refusal = edits::DeleteLineDefsJoinSectors(lineDefs);
    if (refusal.refused())
        ReportFailure(refusal.first, refusal.second);
}
