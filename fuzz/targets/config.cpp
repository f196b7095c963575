// Reading the configuration file: a file that is taken must come out of a
// save and a second load unchanged, and the graphics screen must start and
// draw with its settings.
//
// Input: the configuration file.
#include <string>

#include "base/config.h"
#include "fuzz_kit.h"
#include "ui/graphics.h"

namespace {

// The logical colours, boxes and buttons drawn in the configured colours.
void DrawWithSettings() {
    InitGraphics(GraphicsPalette::Basic);
    ClearScreen();
    for (int c = 0; c < kColorCount; ++c)
        FillBox(c * 10, 0, c * 10 + 9, 9, c);
    RaisedBox(20, 20, 200, 80, 7);
    DrawButton(ButtonLook::Raised, "_Ok", 0, ButtonFocus::Focused, 30, 30, 90, 50);
    LabelBox(30, 100, "%s", config.textureNormal);
    ProgressBar(30, 140, 300, 150, config.gridSize);
    CloseGraphics();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (Flavour flavour : {Flavour::Heretic, Flavour::Doom})
        fuzzkit::RunInput(flavour, "", [&] {
            fuzzkit::WriteFile(ConfigFileName(), fuzzkit::AsText(data, size));
            if (!LoadConfig())
                return;
            std::string loaded = ConfigFileBytes();
            if (!SaveConfig())
                fuzzkit::Fail("a loaded configuration could not be saved");
            ResetConfig();
            if (!LoadConfig())
                fuzzkit::Fail("a saved configuration was not taken back");
            if (ConfigFileBytes() != loaded)
                fuzzkit::Fail("a configuration changed on its way through a save");
            DrawWithSettings();
        });
    return 0;
}
