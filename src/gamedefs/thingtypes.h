// Lookups in the current flavour's Thing type table, and the display names of
// a Thing's angle and option flags.
#pragma once

#include <cstdint>
#include <string>

#include "gamedefs/gamedefs.h"

// The first row with this type (header rows included), or nullptr.
const ThingTypeInfo* FindThingType(uint16_t type);

// The row's fields; for a type no row has: kUnknownName, kUnknownName,
// colour 15 and radius 16.
const char* GetThingTypeSprite(uint16_t type);
const char* GetThingTypeDescription(uint16_t type);
int GetThingTypeColour(uint16_t type);
int GetThingTypeRadius(uint16_t type);

// The code of the last header at or above the type's row (a header code gives
// itself); 0 when no row has the type or no header stands above it.
uint16_t GetThingTypeCategory(uint16_t type);

// True if any row, header rows included, has this type.
bool IsThingTypeKnown(uint16_t type);

// The start of player 1, 2, 3 or 4 (the same types in both games); the game
// makes each player at one of them, and a body that mirrors that player's
// moves at any other.
bool IsPlayerStart(uint16_t type);

// The names of the option flags set in a Thing's flags word ("12 ", "3 ",
// "45 ", "Deaf ", "Net "), joined in that order; empty when none is set.
std::string ThingFlagsText(uint16_t flags);

// "E", "NE", "N", ... "SE" for the eight compass angles in degrees, "<??>"
// for any other angle.
const char* AngleText(int angle);
