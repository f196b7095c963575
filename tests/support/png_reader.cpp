#include "support/png_reader.h"

#include <dlfcn.h>

#include <cstring>

#include "support/testkit.h"

namespace testkit {
namespace {

uint32_t BE32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

// zlib's crc32 and uncompress, loaded at run time: zlib is on every system
// but its headers need not be.
struct Zlib {
    using Crc32 = unsigned long (*)(unsigned long, const uint8_t*, unsigned);
    using Uncompress = int (*)(uint8_t*, unsigned long*, const uint8_t*, unsigned long);
    void* lib = dlopen("libz.so.1", RTLD_NOW);
    Crc32 crc32 = lib ? reinterpret_cast<Crc32>(dlsym(lib, "crc32")) : nullptr;
    Uncompress uncompress = lib ? reinterpret_cast<Uncompress>(dlsym(lib, "uncompress")) : nullptr;
};

}  // namespace

std::string ReadPng(const std::string& path, PngPicture& picture)
{
    static const Zlib zlib;
    if (!zlib.crc32 || !zlib.uncompress)
        return "zlib could not be loaded";
    picture = PngPicture();
    const Bytes file = ReadFileBytes(path);
    if (file.size() < 8 || std::memcmp(file.data(), "\x89PNG\r\n\x1A\n", 8) != 0)
        return "bad signature";
    Bytes idat;
    std::string chunks;
    for (size_t pos = 8; pos < file.size();) {
        if (pos + 12 > file.size() || BE32(&file[pos]) > file.size() - pos - 12)
            return "truncated chunk";
        const uint32_t length = BE32(&file[pos]);
        const std::string type(reinterpret_cast<const char*>(&file[pos + 4]), 4);
        const uint8_t* body = &file[pos + 8];
        if (zlib.crc32(0, &file[pos + 4], length + 4) != BE32(body + length))
            return "bad CRC in " + type;
        if (type == "IHDR" && length == 13) {
            picture.width = int(BE32(body));
            picture.height = int(BE32(body + 4));
            if (std::memcmp(body + 8, "\x08\x03\0\0\0", 5) != 0 || picture.width > 4096 || picture.height > 4096)
                return "not an 8-bit palette image the program writes";
        }
        if (type == "PLTE")
            picture.palette.assign(body, body + length);
        if (type == "IDAT")
            idat.assign(body, body + length);
        chunks += type + " ";
        pos += 12 + length;
    }
    if (chunks != "IHDR PLTE IDAT IEND ")
        return "chunks " + chunks;
    const size_t stride = size_t(picture.width) + 1;
    Bytes raw(stride * size_t(picture.height) + 1);   // one byte more shows a stream too long
    unsigned long size = raw.size();
    if (zlib.uncompress(raw.data(), &size, idat.data(), idat.size()) != 0 || size != raw.size() - 1)
        return "bad zlib stream, or image data of the wrong size";
    for (int y = 0; y < picture.height; ++y) {
        if (raw[y * stride] != 0)
            return "unexpected filter type";
        picture.pixels.insert(picture.pixels.end(), raw.begin() + long(y * stride + 1),
                              raw.begin() + long((y + 1) * stride));
    }
    return "";
}

}  // namespace testkit
