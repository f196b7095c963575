// Reading the info panels back from the screen: whether a line of a panel
// shows exactly a text in a colour.
#pragma once

#include <string>

#include "editor/info_panels.h"

namespace testkit {

// True when the viewport shows exactly text in logical colour at (x, y), on
// the panels' background (the menu colour).
bool ShowsText(int x, int y, const std::string& text, int colour);

// Line i (from 0) of the panel, column characters in.
bool PanelLine(const PanelRect& panel, int i, const std::string& text, int colour = 0,
               int column = 0);

}  // namespace testkit
