// Checked memory routines: running out of memory ends the program with a
// message instead of a crash.
#pragma once

#include <cstddef>

void* AllocChecked(size_t bytes);
void* ReallocChecked(void* block, size_t bytes);
void FreeChecked(void* block);
