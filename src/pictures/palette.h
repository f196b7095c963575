// The game palette.
#pragma once

// Loads palette number (0..13) of PLAYPAL with the brightness gamma into the
// screen's colour registers; other numbers leave the colours as they are.
// A missing PLAYPAL ends the program with the lookup's fatal error.
void LoadPalette(int paletteNumber, int gamma);

// The "Current Palette" screen: the 256 palette entries in a 16 x 16 grid of
// swatches with their numbers, until a key or a click; the screen is restored.
void ShowPalette();
