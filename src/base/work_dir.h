// The working directory: the directory the program was started in, with "/"
// appended. The configuration file and the hand-off script live there, and
// file names given without a directory are completed with it.
#pragma once

#include <string>

const std::string& WorkDir();
void SetWorkDir(const std::string& dir);
