// Test play (Shift-F1): the game is started on the saved PWAD at the level
// being edited, through the hand-off batch.
//
// The game is told its IWAD through the environment variable ZARN_IWAD on
// the batch's program line: the editor's IWAD with its full path. The game
// adapters (adapters/DOOM, DOOM2, HERETIC) pass it on with -iwad.
#pragma once

#include <string>
#include <vector>

constexpr const char* kIwadVariable = "ZARN_IWAD";

// The game program of the flavour and the level naming style: "HERETIC",
// "DOOM2" for MAPxx games, "DOOM" for ExMy games.
const char* GameProgramName();

// The response file's two lines, without line breaks: "-devparm -warp " and
// the warp text; "-file ", the PWAD, a space and the options. A PWAD name
// with a blank in it is put in double quotes, as the games read it.
std::vector<std::string> ResponseFileLines(const std::string& pwad, const std::string& options);

// The hand-off request of a test play of the PWAD with these options: a
// response file argument (written by the caller) or, in the DOOM flavour for
// an ExMy game with Response File off, all arguments on the program line.
struct HandOffRequest;
HandOffRequest TestPlayRequest(const std::string& pwad, const std::string& options);

// Shift-F1 in the editor. On a level with unsaved changes it first offers,
// in one box, to save, build the nodes and play (the default), to play the
// file as last saved, or to cancel. Then it shows the file and level, asks
// for the game's options and runs the game (HandOff), waiting for it; a game
// that could not start, failed or ended within a second is reported in a
// message box, with the last lines of its error output. It returns to the
// editor, its state as before, whatever happened. When hand-offs end the
// program (exitHandOff), the last saved file is played and the program ends
// with exit code 100 instead; unsaved changes are then kept in the recovery
// file, which the next run offers.
void TestPlay();

// Connects Shift-F1 in the editor's table.
void InstallTestPlay();
