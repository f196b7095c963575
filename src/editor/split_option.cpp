#include "editor/split_option.h"

#include <string>
#include <vector>

#include "base/format.h"
#include "edits/edit_support.h"
#include "edits/level_geometry.h"
#include "edits/linedef_edits.h"
#include "level/level.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/message_box.h"

namespace {

// The user's choice in "Split Option"; false for "Exit" (or Esc).
bool AskSplitChoice(bool offerSplit, edits::SplitChoice& choice) {
    std::vector<const char*> items = {"Exit"};
    if (offerSplit)
        items.push_back("Split Sector");
    items.push_back("2-Sided LineDef");
    int chosen = SimpleMenu(kCentred, kCentred, MenuStyle::Numbered, 2, nullptr,
                            WindowSave::UnlessNested, "Split Option", items);
    choice = offerSplit && chosen == 2 ? edits::SplitChoice::SplitSector : edits::SplitChoice::TwoSided;
    return chosen >= 2;
}

void Report(const std::string& first, const std::string& second) {
    PressAnyKey(kCentred, kCentred, first.c_str(), second.c_str());
}

// The LineDef joining a and b that goes before the new one is added: the
// one to replace, or the one found when the user agrees; -1 none.
int LineDefToDelete(int a, int b, int replace) {
    int existing = LineDefJoining(level, a, b);
    if (existing < 0)
        return -1;
    if (replace >= 0)
        return replace;
    return ConfirmYes(kCentred, kCentred, "Delete Existing LineDef ?", "") == 1 ? existing : -1;
}

}  // namespace

SplitResult AddLineDefSplitSector(int a, int b, int replace) {
    if (!ValidVertex(a) || !ValidVertex(b) || a == b) {
        ErrorBeep();
        return SplitResult::Failed;
    }
    std::string blocked = edits::PathBlocked(level, a, b);
    if (!blocked.empty()) {
        Report(Format("Cannot add a LineDef from Vertex %d to %d:", a, b), blocked);
        return SplitResult::Failed;
    }
    edits::SplitChoice choice;
    if (!AskSplitChoice(edits::UsedByLineDef(level, a) || edits::UsedByLineDef(level, b), choice))
        return SplitResult::Cancelled;
    if (!RoomFor(level, 1, 2, 0, choice == edits::SplitChoice::SplitSector ? 1 : 0)) {
        ErrorBeep();
        return SplitResult::Failed;
    }
    edits::Refusal refusal = edits::AddLineDefSplitSector(level, a, b, choice, LineDefToDelete(a, b, replace));
    if (!refusal.refused())
        return SplitResult::Done;
    if (refusal.kind == edits::Refusal::Kind::Said)
        Report(refusal.first, refusal.second);
    else
        ErrorBeep();
    return SplitResult::Failed;
}
