#include "builders/builders.h"

#include <string>

#include "base/format.h"
#include "ops/edit_support.h"
#include "ui/message_box.h"

namespace {

// The box for four LineDefs that do not meet round a doorway, naming the
// first one that does not meet two others at its ends.
void ReportDoorSelection(int loose) {
    std::string named = Format("LineDef %d does not meet two of the others at its ends", loose);
    MessageBox(kCentred, kCentred, LineAlign::Left, "Ok!", kAnyKey, nullptr, 0,
               "LineDefs Not Selected Correctly",
               {named.c_str(), "The LineDefs must all touch each other",
                "The 2 LineDefs that become the Door are counter-clockwise.",
                "The 2 Door Edge linedefs are clockwise.", "",
                "Use the Flip-LineDef option under Misc to fix.",
                "Refer to the On-line Help/Search Door"});
}

}  // namespace

void ReportRefusal(const edits::Refusal& refusal) {
    if (refusal.kind == edits::Refusal::Kind::Said)
        ReportFailure(refusal.first, refusal.second);
}

void MakeDoor(SelectionList& lineDefs) {
    edits::DoorPlan plan = edits::PlanDoor(level, lineDefs);
    if (plan.loose >= 0) {
        ReportDoorSelection(plan.loose);
        return;
    }
    if (plan.refusal.refused()) {
        ReportRefusal(plan.refusal);
        return;
    }
    if (!plan.flips.empty() && !AskYes(plan.question, plan.question2))
        return;
    edits::DoorOutcome outcome = edits::MakeDoor(level, lineDefs, plan);
    ReportRefusal(outcome.refusal);
    for (int i = 0; i < outcome.sidesAdded; ++i)
        ReportFailure("Missing SideDef1 was added, Check the sector ref!");
}

void MakeLift(int sector) { ReportRefusal(edits::MakeLift(level, sector)); }
