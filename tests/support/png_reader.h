// A PNG reader for the tests, independent of the program's writer: it reads
// 8-bit palette images of one IDAT chunk with filter type 0 (what the program
// writes) and checks the signature, the chunk order, every chunk's CRC and
// the zlib stream, header and Adler-32, with the system's zlib.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

struct PngPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> palette;   // R, G, B per entry
    std::vector<uint8_t> pixels;    // palette indices, row-major
};

// "" on success, otherwise what is wrong with the file.
std::string ReadPng(const std::string& path, PngPicture& picture);

}  // namespace testkit
