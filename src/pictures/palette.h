// The game palette.
#pragma once

// Loads palette number (0..13) of PLAYPAL with the brightness gamma into the
// screen's colour registers; other numbers leave the colours as they are.
// A missing PLAYPAL ends the program with the lookup's fatal error.
void LoadPalette(int paletteNumber, int gamma);

