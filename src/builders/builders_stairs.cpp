#include <string>
#include <vector>

#include "base/format.h"
#include "builders/builders.h"
#include "editor/editor.h"
#include "editor/view.h"
#include "edits/stairs.h"
#include "ops/vertex_check.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_box.h"

StairSettings stairSettings;

namespace {

// Marks the bottom of the stairs, where the first riser goes.
void ShowBottom(const edits::StairPlan& plan) {
    MapXY bottom = edits::StairBottom(level, plan);
    PointerGuard guard;
    Screen().outtextxy(MapToScreenX(bottom.x) - 3 * graphics.charW, MapToScreenY(bottom.y), "BOTTOM");
}

// Asks for the steps of the stairs in the Sector; false when the user
// cancelled.
bool AskStairs(int sector, edits::StairChoice& choice) {
    std::string title = Format("Stairs in Sector %d", sector);
    std::vector<FormField> fields = {{"Number of Steps", 2, 64, stairSettings.steps},
                                     {"Step Height", -24, 24, stairSettings.height}};
    if (NumberForm(kCentred, kCentred, WindowSave::Always, title.c_str(), fields) != 1)
        return false;
    stairSettings.steps = fields[0].value;
    stairSettings.height = fields[1].value;
    choice.steps = stairSettings.steps;
    choice.height = stairSettings.height;
    choice.reversed = ConfirmYes(kCentred, kCentred, "Reverse Stair", "Direction?", DefaultAnswer::No) == 1;
    return true;
}

}  // namespace

void MakeStairs(SelectionList& lineDefs) {
    edits::StairPlan plan = edits::PlanStairs(level, lineDefs);
    if (plan.refusal.refused()) {
        ReportRefusal(plan.refusal);
        return;
    }
    ShowBottom(plan);
    editor.redrawMap = true;
    edits::StairChoice choice;
    if (!AskStairs(plan.sector, choice))
        return;
    edits::Refusal refusal = edits::MakeStairs(level, lineDefs, plan, choice);
    if (refusal.refused()) {
        ReportRefusal(refusal);
        return;
    }
    CheckLineDefVertexes(lineDefs, CheckStyle::Quiet);
}
