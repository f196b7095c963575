// Finding text on the screen or on a picture of it (a snapshot taken while
// a box or menu waits for the user): the program draws text in its built-in
// 8 x 8 font, one colour per text, so a text is found where its glyphs'
// pixels all have one colour and the pixels around them inside the cells
// another.
#pragma once

#include <string>

#include "editor/info_panels.h"

namespace testkit {

// Whether the snapshot PNG at path shows the text (fails the test when the
// file cannot be read).
bool SnapshotShowsText(const std::string& path, const std::string& text);

// True when the viewport shows exactly text in logical colour at (x, y), on
// the panels' background (the menu colour).
bool ShowsText(int x, int y, const std::string& text, int colour);

// Line i (from 0) of the panel, column characters in.
bool PanelLine(const PanelRect& panel, int i, const std::string& text, int colour = 0,
               int column = 0);

}  // namespace testkit
