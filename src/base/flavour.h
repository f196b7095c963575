// The game flavour: HERETIC (the program "zarn") or DOOM (the program "brel").
// Each program fixes it once at start; tests switch it to cover both.
#pragma once

enum class Flavour { Heretic, Doom };

struct FlavourNames {
    const char* product;        // prompt, messages, "%s Ended"
    const char* longProduct;    // banner
    const char* game;           // messages
    const char* configFile;
    const char* wrapperBatch;   // the launcher named in the setup text
    const char* setupTitle;
    const char* playBatch;      // hand-off batch file
    const char* responseFile;   // test-play response file
    const char* tempWad;        // level written for the node builder
    const char* recoveryFile;   // unsaved changes kept against a crash ("-<process>" goes before ".WAD")
};

void SetFlavour(Flavour flavour);
bool IsHeretic();
const FlavourNames& Names();
