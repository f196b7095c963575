// The boxes that the operations on the map report a failure or ask a
// question in, with what the edits share (edits/edit_support.h).
#pragma once

#include <string>

#include "edits/edit_support.h"
#include "edits/objects.h"

// A failure in a box of one or two lines with "Press any Key".
void ReportFailure(const std::string& first, const std::string& second = "");
// A question of one or two lines: true when the user answers yes.
bool AskYes(const std::string& first, const std::string& second = "");
