#include "shell/memory.h"

#include <cstdlib>

#include "shell/fatal.h"

void* AllocChecked(size_t bytes) {
    void* block = std::malloc(bytes ? bytes : 1);
    if (!block)
        FatalError("out of memory trying to allocate %d bytes", static_cast<int>(bytes));
    return block;
}

void* ReallocChecked(void* block, size_t bytes) {
    void* grown = std::realloc(block, bytes ? bytes : 1);
    if (!grown)
        FatalError("out of memory trying to reallocate %d bytes", static_cast<int>(bytes));
    return grown;
}

void FreeChecked(void* block) { std::free(block); }
