// Building WAD files from the master directory: a complete new IWAD, and one
// PWAD that gathers the levels (and on request everything else) of the read
// PWADs.
#pragma once

#include <string>

// What a group file takes from the read PWADs.
enum class GroupContents {
    Levels,            // the levels they supply
    LevelsAndExtras,   // and every other entry they supply
};

// Writes a new IWAD holding every entry of the master directory, in order.
void BuildIwad(const std::string& name);
// Writes one PWAD of what the read PWADs supply.
void BuildGroup(const std::string& name, GroupContents contents);
