// The graphical part of the first-time setup: the message boxes around the
// options dialog in which the user sets the main WAD, the patch path and the
// help file. Without any display it says so on the console and returns.
#pragma once

void GraphicalFirstTimeSetup();
