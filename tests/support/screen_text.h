// Finding text on a picture of the screen (a snapshot taken while a box or
// menu waits for the user): the program draws text in its built-in 8 x 8
// font, one colour per text, so a text is found where its glyphs' pixels all
// have one colour and the pixels around them inside the cells another.
#pragma once

#include <string>

namespace testkit {

// Whether the snapshot PNG at path shows the text (fails the test when the
// file cannot be read).
bool SnapshotShowsText(const std::string& path, const std::string& text);

}  // namespace testkit
