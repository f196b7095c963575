#include "shell/startup.h"

StartupState startup;

void ParseCommandLine(int, const char* const*) {}

int RunProgram(Flavour flavour, int, const char* const*) {
    SetFlavour(flavour);
    return 0;
}
