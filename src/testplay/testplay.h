// Test play (Shift-F1): the game is started on the saved PWAD at the level
// being edited, through the hand-off batch.
//
// The game is told its IWAD through the environment variable ZARN_IWAD on
// the batch's program line: the editor's IWAD with its full path. The game
// adapters (adapters/DOOM, DOOM2, HERETIC) pass it on with -iwad.
#pragma once

#include <string>
#include <vector>

#include "base/map_target.h"

constexpr const char* kIwadVariable = "ZARN_IWAD";
// A level for a port is played in an engine of that port: the game adapters
// start the program named in ZARN_ENGINE instead of their own, and name the
// package of ZARN_ENGINE_PACKAGE when it is missing.
constexpr const char* kEngineVariable = "ZARN_ENGINE";
constexpr const char* kEnginePackageVariable = "ZARN_ENGINE_PACKAGE";

// The engine that plays a level: the program the adapter starts, the Debian
// package that has it, its name for the user, and the options that set it to
// the level's target.
struct GameEngine {
    std::string program;
    std::string package;
    std::string title;
    std::vector<std::string> options;
};
// The engine for a level of the target in the current flavour: Chocolate
// Doom (Chocolate Heretic) for the original games, Crispy Doom for
// limit-removing, Woof! at the matching compatibility level for Boom and
// MBF21. HERETIC levels always play in Chocolate Heretic.
GameEngine EngineFor(MapTarget target);

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
// A level for a port target names its engine in the environment, and the
// engine's options come last (ports drop what goes before a response file).
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
