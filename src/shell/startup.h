// Program start and end: the working directory, the command line, the
// first-time setup, opening the files, and the orderly and fatal ways out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/flavour.h"


struct StartupState {
    bool autoStart = false;              // the shell enters the editor once
    int16_t autoEpisode = 0;             // on this level (the last one, or -edit's)
    int16_t autoMap = 0;
    bool noLoad = false;                 // -noload
    std::vector<std::string> fileArgs;   // -file names
    bool fileGiven = false;
    int64_t initMemory = 0;              // free memory at start
    int64_t freeMemory = 0;              // free memory after the PWADs were read
    int noteRow = 19;                    // the row of the next note below the banner
    // The graphical first-time setup (message boxes and the options dialog);
    // null until the dialogs are present.
    void (*graphicalSetup)() = nullptr;
};

extern StartupState startup;

// The boxed title screen.
void ShowBanner();

// The whole program: returns its exit code (0, 5 or 100). --help, --version
// and the manual page are printed before anything else is done.
int RunProgram(Flavour flavour, int argc, const char* const* argv);
