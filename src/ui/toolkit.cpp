#include "ui/toolkit.h"

#include <algorithm>

#include "platform/video.h"
#include "ui/graphics.h"
#include "ui/help_viewer.h"
#include "ui/input.h"

ToolkitState toolkit;

// Set up in level_dialogs_ui.cpp.
void InstallLevelDialogs();

void InstallToolkit() {
    InstallLevelDialogs();
    toolkit.helpHandler = HelpViewer;
}

PointerSample SamplePointer() {
    int x = 0, y = 0, buttons = 0;
    ReadMouse(&x, &y, &buttons);
    Viewport view = Screen().getviewport();
    PointerSample& p = toolkit.pointer;
    p.x = x - view.left;
    p.y = y - view.top;
    p.screenY = y;
    p.buttons = buttons;
    int px = 0, py = 0, held = 0;
    if (input.mousePresent)
        PlatformMouseStatus(px, py, held);
    p.held = held;
    return p;
}

void ShowHelpTopic(const char* topic) {
    if (!topic || !toolkit.helpHandler)
        return;
    int w = 48 * graphics.charW;
    int h = 41 * graphics.lineH;
    int x1 = std::max(0, (graphics.maxX - w) / 2);
    int y1 = std::max(0, (graphics.maxY - h) / 2);
    toolkit.helpHandler(topic, HelpRange::TopicOnly, x1, y1, x1 + w, y1 + h);
}

PointerRestore::PointerRestore() : wasHidden_(input.pointerHidden) {}

PointerRestore::~PointerRestore() {
    if (wasHidden_)
        HidePointer();
    else
        ShowPointer();
}
