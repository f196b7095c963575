// The settings dialogs: each edits part of the configuration record while the
// editor runs and writes the configuration file when it closes. What the
// drawing code reads takes effect at the next redraw; the video mode, the
// main WAD, the help file and the palette colours after a restart, as the
// dialogs say. A negative x or y centres a dialog.
#pragma once

// Switches, the video mode and the file names, as check boxes and buttons.
void OptionsDialog(int x, int y);
// The colour of each drawing role, chosen from the logical colours.
void ColorsDialog(int x, int y);
// The palette index of each logical colour, and the gamma.
void PaletteColorsDialog(int x, int y);
// Numeric settings: picking, zoom limits, mouse, beeps.
void ZoomMouseMapDialog(int x, int y);
// Default textures, flats, heights and Thing type of new objects.
void DefaultsDialog(int x, int y);

// The palette index chooser of colour (a logical colour) at (x, y): the
// cursor keys step through the 256 palette entries, + and - change the gamma
// (the screen follows at once), F1 shows the whole palette. Returns the
// chosen index, or -1 when cancelled.
int ChoosePaletteIndex(int x, int y, int colour);

// The "Current Palette" screen: all 256 palette entries with their numbers,
// until a key or a click.
void ShowPalette();

// Lets the first-time setup run the options dialog.
void InstallSettingsDialogs();
