// Line drawing driven as the editor's main loop drives it, for the tests: the
// buttons of a pass, clicks.
#pragma once

#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/line_drawing.h"
#include "editor_fixture.h"

namespace drawkit {

// One pass of the main loop with these buttons held (bit 0 left, bit 1 right).
inline void Pass(int buttons) {
    editor.buttons = buttons;
    LineDrawingEvent(LineDrawingCommand::Pass);
}

inline void Click(int x, int y) {
    PointAt(x, y);
    Pass(1);
    Pass(0);
}

// Closes the shape (and waits for the release: one poll of the input).
inline void RightClick() {
    Pass(2);
    Pass(0);
}

}  // namespace drawkit
