// The game palette.
#pragma once

// Loads palette number (0..13) of the game with the brightness gamma into the
// screen's colour registers; other numbers leave the colours as they are.
void LoadPalette(int paletteNumber, int gamma);
