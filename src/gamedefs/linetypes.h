// Lookups in the current flavour's LineDef and Sector type tables, the LineDef
// flag names, and the type lists of the consistency checker. In the DOOM
// flavour the tables are those of the level's target: a port's types and
// flags are known only where the target allows them; elsewhere they are
// unknown and shown by number.
#pragma once

#include <cstdint>
#include <string>

#include "base/map_target.h"
#include "gamedefs/gamedefs.h"

// Descriptions; kUnknownName for a type no row has.
const char* GetLineDefTypeDescription(uint16_t type, MapTarget target = MapTarget::Original);
const char* GetSectorTypeDescription(uint16_t type, MapTarget target = MapTarget::Original);

// Short names for narrow panels: the row's short name, or the first 16
// characters of its description when it has none; kUnknownName for a type no
// row has. A generalized LineDef type names its trigger and kind; a Sector
// special with Boom's bits its base type and the bits.
std::string GetLineDefTypeShortName(uint16_t type, MapTarget target = MapTarget::Original);
std::string GetSectorTypeShortName(uint16_t type, MapTarget target = MapTarget::Original);

// The row number (from 1) of the first row with this type, 0 if none; a
// generalized type or Boom Sector special the target knows gives a number
// past the table's rows.
int IsLineDefTypeValid(uint16_t type, MapTarget target = MapTarget::Original);
int IsSectorTypeValid(uint16_t type, MapTarget target = MapTarget::Original);

// The name of the flag of bit n - 1 (n from 1), kUnknownName if no flag has it.
const char* GetLineDefFlagName(int n);

// One two-letter code or "-" per flag the target knows, highest bit first
// ("--------Im" for an impassible line); cut to 13 characters and "|" when
// 14 or longer, so that it never takes more than 14 characters.
std::string LineDefFlagsText(uint16_t flags, MapTarget target = MapTarget::Original);

// The consistency checker's rules for the current flavour.
bool LineDefNeedsTag(uint16_t type, MapTarget target = MapTarget::Original);   // above 1 and not in the no-tag lists
bool IsExitType(uint16_t type);
bool IsTeleportType(uint16_t type);
