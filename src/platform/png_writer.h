// Saving an 8-bit indexed picture (the canvas through a palette) as a PNG
// file, with no library: a palette image compressed by a small deflate encoder.
#pragma once

#include <cstdint>
#include <string>

// Writes width x height palette indices (row-major) with the 256-colour palette
// of 8-bit R, G, B triples. An existing file is replaced only once the new one
// is complete. False when the arguments are unusable or the file cannot be
// written.
bool WritePng(const std::string& path, int width, int height, const uint8_t* indexed,
              const uint8_t palette[768]);
