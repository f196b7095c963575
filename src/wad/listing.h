// Directory listings and hexadecimal dumps of WAD entries, on the console
// (paged) or into a text file.
#pragma once

#include <cstdint>
#include <string>

// What the listing commands remember for the run.
struct ListingState {
    int lastDirFile = 1;    // WAD file number DIRW used last
    int lastDumpFile = 1;   // WAD file number DUMPW used last
};

extern ListingState listing;

void ResetListingState();

// A number with its digits grouped in threes by commas: 1,234,567.
std::string FormatThousands(int64_t value);
// Matches an entry name against a pattern ("?" any one character, "*" the
// rest); without "*" the lengths must agree. Case is ignored.
bool MatchesPattern(const std::string& pattern, const char (&name)[8]);
// One line of a dump (in the PC character set): the offset, up to 16 bytes in
// hexadecimal and as characters, padded to the full width.
std::string DumpLine(const uint8_t* bytes, int count, int32_t offset);
