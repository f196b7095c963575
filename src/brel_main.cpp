#include "shell/startup.h"

int main(int argc, char** argv) { return RunProgram(Flavour::Doom, argc, argv); }
