// The help viewer reached from the text console: it starts the graphics
// screen for itself.
#include "ui/graphics.h"
#include "ui/help_viewer.h"

void HelpOnGraphicsScreen(const char* topic, int mode) {
    InitGraphics(1);
    ShowHelp(topic, mode);
    CloseGraphics();
}
