#include <string>
#include <vector>

#include "base/format.h"
#include "builders/builders.h"
#include "edits/texture_align.h"
#include "level/level.h"
#include "ops/edit_support.h"
#include "pictures/picture.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/message_box.h"

namespace {

// The side from the menu; false for Exit.
bool AskAlignSide(edits::AlignSide& side) {
    int item = SimpleMenu(kCentred, kCentred, MenuStyle::Plain, 1, nullptr, WindowSave::Always,
                          "Align Textures Y", {" Exit", " SideDef 1", " SideDef 2"});
    if (item != 2 && item != 3)
        return false;
    side = item == 2 ? edits::AlignSide::First : edits::AlignSide::Second;
    return true;
}

// The side and the texture check from the menu, the initial offset when
// asked for; false when the user cancelled.
bool AskAlignX(edits::AlignXChoice& choice, bool& askInitial) {
    int item = SimpleMenu(kCentred, kCentred, MenuStyle::Plain, 1, nullptr, WindowSave::Always,
                          "Align SideDef Textures X",
                          {" Side 1, Identical textures", " Side 1, Identical, with inital offset",
                           " Side 1, No texture checking", " Side 1, No texture, with initial offset",
                           " Side 2, Identical textures", " Side 2, Identical, with initial offset",
                           " Side 2, No texture checking", " Side 2, No texture, with initial offset"});
    if (item < 1 || item > 8)
        return false;
    choice.side = item <= 4 ? edits::AlignSide::First : edits::AlignSide::Second;
    choice.identical = (item - 1) % 4 < 2;
    askInitial = item % 2 == 0;
    return true;
}

bool AskInitialOffset(int& initial) {
    std::vector<FormField> fields = {{"Offset", 0, 256, 0}};
    if (NumberForm(kCentred, kCentred, WindowSave::Always, "Initial offset", fields) != 1)
        return false;
    initial = fields[0].value;
    return true;
}

void ReportBrokenChain(const std::string& problem) {
    MessageBox(kCentred, kCentred, LineAlign::Left, "Ok!", kAnyKey, nullptr, 0, "Please Reselect LineDefs.",
               {problem.c_str(), "LineDefs must make a Connected line", "going in the forward direction.",
                "Mark all the LineDefs one after another.", "Leave the cursor at the last LineDef",
                "Refer to Help for more information"});
}

int TextureWidth(const std::string& name) {
    TextureInfo info;
    return FindTexture(name.c_str(), &info) ? info.width : -1;
}

// The selection check on the SideDefs an alignment would change.
bool EnoughSides(const SelectionList& lineDefs, edits::AlignSide side) {
    SelectionList counted;
    for (int sd : edits::SidesToAlign(level, lineDefs, side))
        SelectObject(counted, sd);
    bool enough = CheckSelection(CountRule::AtLeast, 1, kObjSideDef, counted);
    ForgetSelection(counted);
    return enough;
}

}  // namespace

void AlignTexturesX(const SelectionList& lineDefs) {
    edits::AlignXChoice choice;
    bool askInitial = false;
    if (!AskAlignX(choice, askInitial) || !EnoughSides(lineDefs, choice.side))
        return;
    if (askInitial && !AskInitialOffset(choice.initial))
        return;
    if (!choice.identical)
        choice.restart = AskYes("Reset Offset to 0", "when Texture changes?");
    edits::AlignedX result = edits::AlignTexturesX(level, lineDefs, choice, TextureWidth);
    switch (result.stop) {
    case edits::AlignStop::None: break;
    case edits::AlignStop::DifferentTexture:
    case edits::AlignStop::UnknownTexture: ReportFailure(result.problem); break;
    case edits::AlignStop::WrongDirection:
    case edits::AlignStop::NotConnected: ReportBrokenChain(result.problem); break;
    }
}

void AlignTexturesY(const SelectionList& lineDefs) {
    edits::AlignSide side = edits::AlignSide::First;
    if (AskAlignSide(side) && EnoughSides(lineDefs, side))
        edits::AlignTexturesY(level, lineDefs, side);
}
