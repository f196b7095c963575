// The one way tests put the program's global state back: every module's
// state object as a fresh run has it before start-up connects the modules.
#pragma once

#include "base/config.h"
#include "base/flavour.h"

namespace testkit {

// Leaves graphics mode, closes every WAD and the help file, and resets the
// flavour (to the one given), configuration, master directory, listings,
// level, edit history, level dialogs, pictures, name lists, screen (a blank
// canvas of 640 x 480), script, mouse, graphics, input, toolkit, help,
// editor, selection, drag, view, map drawing, menu bar, hand-off, shell and
// start-up state. Nothing is connected afterwards (no editor, help viewer or node
// builder), except that a headless script that runs out throws
// ProgramExit(kExitScriptEnded) instead of ending the test program.
//
// Left as they are: the working directory, the environment and the console,
// which belong to the test's surroundings (a ScratchDir, a ConsoleCapture).
void ResetProgramState(Flavour flavour = Flavour::Heretic);
// The same with the configuration given in place of the flavour's defaults,
// for callers that reset so often that they keep the defaults (looking them
// up reads the file system).
void ResetProgramState(Flavour flavour, const ConfigRecord& configuration);

}  // namespace testkit
