// Building WAD files from the master directory: a complete new IWAD, and one
// PWAD that gathers the levels (and on request everything else) of the read
// PWADs.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Writes a new IWAD holding every entry of the master directory, in order.
void BuildIwad(const std::string& name);
// Writes one PWAD of the levels the read PWADs supply, and with includeExtra
// of every other entry they supply too.
void BuildGroup(const std::string& name, bool includeExtra);
// The master directory entries (by index, in order) that a group file takes.
std::vector<size_t> GroupSelection(bool includeExtra);
