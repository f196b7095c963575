// The help viewer reached from the text console: it starts the graphics
// screen for itself.
#include "ui/graphics.h"
#include "ui/help_viewer.h"

void HelpOnGraphicsScreen(const char* topic, HelpRange range) {
    InitGraphics(GraphicsPalette::Game);
    ShowHelp(topic, range);
    CloseGraphics();
}
