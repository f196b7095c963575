// The "Current Palette" screen.
#pragma once

// The 256 palette entries in a 16 x 16 grid of swatches with their numbers,
// over the whole screen, until a key or a click; the screen is restored.
void ShowPalette();
