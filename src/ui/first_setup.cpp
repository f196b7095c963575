#include "ui/first_setup.h"

#include <vector>

#include "platform/keys.h"
#include "platform/video.h"
#include "base/fatal.h"
#include "base/config.h"
#include "base/flavour.h"
#include "ui/button_bar.h"
#include "ui/graphics.h"
#include "ui/message_box.h"
#include "ui/toolkit.h"

namespace {

void ExplainSetup() {
    MessageBox(kCentred, kCentred, LineAlign::Left, "OK", kAnyKey, nullptr, 0,
               "First Time Initialization",
               {"Please Enter the file names for:", "", "      1. The main IWAD name",
                "      2. The PATCH path", "      3. The Help File name", "",
                "    On the next screen, press", "          5,6 and 7",
                "    (or click with the mouse)", "", "       Press F1 for HELP"});
    if (toolkit.buttonBar.lastKey == kKeyF1)
        ShowHelpTopic("INSTALL");
}

// Where the user sets the file names; skipped until the options dialog exists.
void SetFileNames() {
    if (toolkit.optionsDialog)
        toolkit.optionsDialog(kCentred, kCentred);
}

void ExplainStart() {
    MessageBox(
        kCentred, kCentred, LineAlign::Centred, "OK", kAnyKey, nullptr, 0, "After this Ends",
        {"Enter ? for Help", "Enter E to start Editor.", "See other options under Edit",
         "and configure to your taste!", "Be SURE to use the file CALLED", Names().wrapperBatch,
         "to start the Editor, or you", "can't build nodes or", "test play your levels.", "",
         "That launcher runs the node", "builder or the game when the",
         "editor hands a level over,", "then starts the editor again."});
}

}  // namespace

void GraphicalFirstTimeSetup() {
    // Without a display (a script over ssh, say) the shell still works; the
    // file names keep their defaults and can be set later.
    if (!VideoDisplayPresent()) {
        PrintAt(1, 25, ClearLine::Yes, "No graphics display: the file names keep their defaults");
        return;
    }
    config.videoMode = 1;
    InitGraphics(GraphicsPalette::Basic);
    // A screen larger than the largest fixed mode is used whole.
    int width = 0, height = 0, fixedW = 0, fixedH = 0;
    VideoModeSize(kWindowSizeMode - 1, fixedW, fixedH);
    if (VideoDisplaySize(width, height) && width >= fixedW && height >= fixedH &&
        (width > fixedW || height > fixedH))
        config.videoMode = kWindowSizeMode;
    ExplainSetup();
    SetFileNames();
    ExplainStart();
    CloseGraphics();
}
