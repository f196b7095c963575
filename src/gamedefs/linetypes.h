// Lookups in the current flavour's LineDef and Sector type tables, the LineDef
// flag names, and the type lists of the consistency checker.
#pragma once

#include <cstdint>
#include <string>

#include "gamedefs/gamedefs.h"

// Descriptions; kUnknownName for a type no row has.
const char* GetLineDefTypeDescription(uint16_t type);
const char* GetSectorTypeDescription(uint16_t type);

// Short names for narrow panels: the row's short name, or the first 16
// characters of its description when it has none; kUnknownName for a type no
// row has.
std::string GetLineDefTypeShortName(uint16_t type);
std::string GetSectorTypeShortName(uint16_t type);

// The row number (from 1) of the first row with this type, 0 if none.
int IsLineDefTypeValid(uint16_t type);
int IsSectorTypeValid(uint16_t type);

// The name of the flag of bit n - 1 (n from 1), kUnknownName if no flag has it.
const char* GetLineDefFlagName(int n);

// One two-letter code or "-" per flag, highest bit first ("--------Im" for
// an impassible line); cut to 13 characters and "|" when 14 or longer, so
// that it never takes more than 14 characters.
std::string LineDefFlagsText(uint16_t flags);

// The consistency checker's rules for the current flavour.
bool LineDefNeedsTag(uint16_t type);   // above 1 and not in the no-tag list
bool IsExitType(uint16_t type);
bool IsTeleportType(uint16_t type);

