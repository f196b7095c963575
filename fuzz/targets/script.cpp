// Parsing a headless input script, and feeding its events to the toolkit's
// dialogs on the headless screen until they run out: a menu, a text box, a
// name list and a form of numbers, in turn.
//
// A script that takes snapshots is only parsed: its file names come from
// the input, and a snapshot could land anywhere.
//
// Input: the script.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_kit.h"
#include "platform/video.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input_box.h"
#include "ui/list_select.h"
#include "ui/menus.h"

namespace {

// Rounds of the four dialogs at most, so that a script of events the dialogs
// ignore still ends.
constexpr int kMostRounds = 50;

void RunDialogs() {
    static const char* const kNames[] = {"ALPHA", "BETA", "BRAVO", "DELTA", "GAMMA", "OMEGA"};
    InitGraphics(GraphicsPalette::Basic);
    for (int round = 0; round < kMostRounds && HeadlessEventsLeft() > 0; ++round) {
        MenuStyle style = round % 2 ? MenuStyle::Numbered : MenuStyle::Plain;
        SimpleMenu(kCentred, kCentred, style, 1, nullptr, WindowSave::UnlessNested, "Menu",
                   {"First", "Second", "Third", nullptr});
        char text[21] = "TEXT";
        InputBox(kCentred, kCentred, "Name", 20, text);
        char chosen[9] = "";
        ListSelectOptions sizeable;
        sizeable.sizeable = true;
        ListSelect(kCentred, kCentred, "Names", 6, kNames, 4, chosen, 8, sizeable);
        std::vector<FormField> fields = {{"One", 0, 100, 5}, {"Two", -50, 50, 0}, {"Shown", 1, 0, 3}};
        NumberForm(kCentred, kCentred, WindowSave::UnlessNested, "Numbers", fields);
    }
    CloseGraphics();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text = fuzzkit::AsText(data, size);
    fuzzkit::RunInput(Flavour::Heretic, "", [&] {
        std::string error;
        if (!HeadlessLoadScript(text, error) || text.find("snapshot") != std::string::npos)
            return;
        RunDialogs();
    });
    return 0;
}
