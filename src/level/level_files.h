// Loading the chosen level from the master directory into the level model,
// and saving it as a PWAD of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/level.h"
#include "wad/master.h"

// Keys that ask for a save; they decide the questions saving asks.
enum SaveKey : int {
    kSaveKeyF2 = 0x3C00,      // save under the current name
    kSaveKeyF3 = 0x3D00,      // save under a chosen name
    kSaveKeyAltF2 = 0x6900,   // as F2, offering to rebuild the nodes
    kSaveKeyAltF3 = 0x6A00,   // as F3, offering to rebuild the nodes
    kSaveKeyAltF8 = 0x6F00,   // as F2, with the reject mask dialog
};

// Where LoadLevel takes the level from.
enum class LevelSource {
    MasterDirectory,   // the lumps of the level named level.name
    NewLevel,          // nothing: an empty level is set up under that name
};

// Fills the level model from its source. Vertices that no LineDef uses
// are dropped and the rest renumbered in their old order. Returns false when
// the level cannot be edited: its marker or a lump is missing, it is in a
// format this editor does not edit (Hexen, Doom 64, UDMF), or a LineDef names
// a Vertex the level does not have. The user is then told why, naming the
// level, and the model is left empty. Only a failing file ends the program.
bool LoadLevel(LevelSource source);

// The loader's check of LineDefs against a VERTEXES lump of vertexCount
// records: the lines that tell the user of the first LineDef that names a
// Vertex outside it; empty when every one is inside.
std::vector<std::string> LineDefVertexFault(const ObjectArray<LineDef>& lineDefs, int32_t vertexCount);

// The level's lump of that name: the first entry so named after the level's
// marker and before the next level's marker in the master directory; nullptr
// when it is missing and optional.
const WadDirEntry* FindLevelLump(const char* name, EntryNeed need);

// The name of the lump, outside any level, in which Boom-family ports look
// for the game a PWAD is made for.
constexpr const char* kCompLevelLumpName = "COMPLVL";
// That lump in the PWAD that holds the level; nullptr when the level is the
// IWAD's or its file has none.
const WadDirEntry* FindCompLevelLump();

// Settles the level name (episode and map of the new level) and the output
// file: asks for the file name, and marks an open PWAD of that name as the
// file the save replaces (SaveLevel keeps it as the ".BAK" backup; nothing on
// disk changes here). Returns the chosen name (a PwadList row), or nullptr
// when the save is refused or cancelled.
char* ChooseSaveFile(int16_t newEpisode, int16_t newMap);

// How a run of the node builder went.
enum class NodeBuildEnd {
    NotRun,   // nothing ran: the user has been told why
    Built,    // the node builder ended with success
    Failed,   // it ran and failed, or was stopped
};
struct NodeBuildResult {
    NodeBuildEnd end = NodeBuildEnd::NotRun;
    std::vector<std::string> why;   // Failed: lines that say how it ended
};

// Hands the level written to tempFile to the node builder, which writes
// outputFile: runs it and waits for it, or ends the program (exit code 100)
// for the launcher to run it.
using NodeBuilderHandOff = NodeBuildResult (*)(const std::string& tempFile, const std::string& outputFile,
                                               const std::string& levelName);
// The hand-off that saving uses when the nodes are to be rebuilt; start-up
// connects it. Without one, such a save ends the program with an error.
void SetNodeBuilderHandOff(NodeBuilderHandOff handOff);

// What SaveLevel returns.
constexpr int kNotSaved = 0;
constexpr int kSaved = 1;
constexpr int kSavedWithoutNodes = 2;   // written, but the node builder failed: the old nodes are in it

// Writes the level to the chosen file (a PwadList row), asking the questions
// that the key calls for, and reads the new file back into the master
// directory. The file under the chosen name is whole at every moment: the
// old one until the new one is complete. With the nodes to be rebuilt,
// writes the temporary file instead and hands it to the node builder; the
// file it writes is read back too, the level with it (so that the counts of
// the node lumps are those saved), and counts as unchanged. What the node
// builder changed in the level itself (objects it dropped) becomes an undo
// step of its own. When the node builder fails, a message box says why, and
// what the chosen file now holds. A file that cannot be created, read or
// written is reported in a message box with the system's reason; every file
// is then left as it was, the chosen name is emptied and editing goes on.
// Returns kSaved, kSavedWithoutNodes or kNotSaved.
int SaveLevel(char* fileName, int key);

// The REJECT size in bytes that a map of the given Sector count needs.
int32_t RejectBytes(int32_t sectors);
