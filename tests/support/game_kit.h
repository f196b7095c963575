// A saved level handed to the real tools: Debian's node builder (zdbsp) and
// game engine (Chocolate Doom), for the tests that check a level plays.
#pragma once

#include <string>

namespace testkit {

extern const char* const kGameProgram;   // /usr/games/chocolate-doom
// Crispy Doom plays as Chocolate Doom but raises a full table of the
// renderer and says so ("R_StoreWallRange: Hit MAXDRAWSEGS limit").
extern const char* const kCrispyProgram;   // /usr/games/crispy-doom
extern const char* const kNodeBuilder;   // /usr/bin/zdbsp

// Both programs are installed.
bool HaveGameAndNodeBuilder();

// Builds the nodes of the PWAD in into the PWAD out (ZDBSP's defaults); its
// messages go to the file log. True when it succeeded.
bool BuildNodes(const std::string& in, const std::string& out, const std::string& log);

// Writes the current level as a PWAD of one map, MAP01, without nodes, for
// the node builder.
void WriteLevelPwad(const std::string& path);

// The game's output (and "status N", its exit status) after running it on
// the PWAD at the level of warp for a few seconds in the directory work,
// with no display and no sound.
std::string GameOutput(const std::string& work, const std::string& iwad, const std::string& pwad,
                       const std::string& warp, const char* program = kGameProgram);

// Runs the game on the PWAD at the level of warp ("12", "1 3") for a few
// seconds in the directory work, with no display and no sound. A level that
// starts keeps the game running until the time is up and says nothing of
// errors or a REJECT table it had to pad; a gtest failure shows the game's
// output otherwise.
void ExpectGameStarts(const std::string& work, const std::string& iwad, const std::string& pwad,
                      const std::string& warp);

}  // namespace testkit
