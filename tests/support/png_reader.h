// A minimal PNG reader for the tests: it reads the files the program writes
// (8-bit palette images, filter type 0, fixed-Huffman deflate blocks) and
// checks everything a viewer would: signature, chunk CRCs, header fields,
// zlib header and Adler-32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testkit {

struct PngPicture {
    int width = 0, height = 0, bitDepth = 0, colorType = 0;
    std::vector<std::string> chunks;   // chunk types in file order
    std::vector<uint8_t> palette;      // R, G, B per entry
    std::vector<uint8_t> pixels;       // palette indices, row-major
};

// "" on success, otherwise what is wrong with the file.
std::string ReadPng(const std::string& path, PngPicture& picture);

}  // namespace testkit
