// The printer: text handed to the system's print spooler (lpr), which prints
// it once the stream is closed.
#pragma once

#include <cstdio>

// A stream to the print spooler; null when no spooler is installed (no lpr on
// the PATH) or it cannot be started.
FILE* OpenPrinter();
// Closes the stream; true when the spooler took the text.
bool ClosePrinter(FILE* printer);
