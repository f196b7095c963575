#include "support/png_reader.h"

#include <algorithm>
#include <cstring>

#include "support/testkit.h"

namespace testkit {
namespace {

uint32_t BE32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

uint32_t Crc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// Inflates a deflate stream of fixed-Huffman blocks.
class Inflater {
public:
    explicit Inflater(const Bytes& in) : in_(in) {}

    std::string Run(Bytes& out)
    {
        for (bool last = false; !last;) {
            last = Bits(1);
            if (Bits(2) != 1)
                return "unsupported block type";
            for (int sym = Symbol(); sym != 256; sym = Symbol()) {
                if (bit_ > in_.size() * 8)
                    return "deflate data truncated";
                if (sym < 256) {
                    out.push_back(uint8_t(sym));
                    continue;
                }
                if (sym > 285)
                    return "bad length symbol";
                const size_t length = ExtraBase(sym - 257, 3);
                const uint32_t code = Reversed(5);
                if (code > 29)
                    return "bad distance code";
                const size_t distance = ExtraBase(int(code), 1);
                if (distance > out.size() || distance > 32768)
                    return "distance too far back";
                for (size_t i = 0; i < length; ++i)
                    out.push_back(out[out.size() - distance]);
            }
        }
        end_ = (bit_ + 7) / 8;
        return "";
    }
    size_t end() const { return end_; }

private:
    uint32_t Bits(int count)
    {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i, ++bit_)
            v |= uint32_t(bit_ / 8 < in_.size() && ((in_[bit_ / 8] >> (bit_ % 8)) & 1)) << i;
        return v;
    }
    // Huffman codes come most significant bit first.
    uint32_t Reversed(int count)
    {
        uint32_t code = 0;
        for (int i = 0; i < count; ++i)
            code = code << 1 | Bits(1);
        return code;
    }
    int Symbol()
    {
        uint32_t code = Reversed(7);
        if (code <= 0x17)
            return 256 + int(code);
        code = code << 1 | Bits(1);
        if (code >= 0x30 && code <= 0xBF)
            return int(code - 0x30);
        if (code >= 0xC0 && code <= 0xC7)
            return 280 + int(code - 0xC0);
        return 144 + int((code << 1 | Bits(1)) - 0x190);
    }
    // Length (first = 3, index = symbol - 257) or distance (first = 1, index =
    // code): groups of four (two for distances) share a number of extra bits.
    size_t ExtraBase(int index, size_t first)
    {
        if (first == 3 && index == 28)
            return 258;
        const int group = first == 3 ? 4 : 2;
        size_t base = first;
        for (int i = 0; i < index; ++i)
            base += size_t(1) << std::max(0, i / group - 1);
        return base + Bits(std::max(0, index / group - 1));
    }

    const Bytes& in_;
    size_t bit_ = 0;
    size_t end_ = 0;
};

}  // namespace

std::string ReadPng(const std::string& path, PngPicture& picture)
{
    picture = PngPicture();
    const Bytes file = ReadFileBytes(path);
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0)
        return "bad signature";
    Bytes zlib;
    for (size_t pos = 8; pos < file.size();) {
        if (pos + 12 > file.size() || BE32(&file[pos]) > file.size() - pos - 12)
            return "truncated chunk";
        const uint32_t length = BE32(&file[pos]);
        const std::string type(reinterpret_cast<const char*>(&file[pos + 4]), 4);
        const uint8_t* body = &file[pos + 8];
        if (Crc(&file[pos + 4], length + 4) != BE32(body + length))
            return "bad CRC in " + type;
        picture.chunks.push_back(type);
        if (type == "IHDR" && length == 13) {
            picture.width = int(BE32(body));
            picture.height = int(BE32(body + 4));
            picture.bitDepth = body[8];
            picture.colorType = body[9];
            if (body[10] != 0 || body[11] != 0 || body[12] != 0)
                return "unexpected compression, filter or interlace method";
        } else if (type == "PLTE") {
            picture.palette.assign(body, body + length);
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), body, body + length);
        }
        pos += 12 + length;
    }
    if (picture.chunks.empty() || picture.chunks.front() != "IHDR" || picture.chunks.back() != "IEND")
        return "IHDR must come first and IEND last";
    if (picture.bitDepth != 8 || picture.colorType != 3)
        return "not an 8-bit palette image";
    if (zlib.size() < 6 || (zlib[0] & 0x0F) != 8 || (zlib[0] * 256 + zlib[1]) % 31 != 0 || (zlib[1] & 0x20))
        return "bad zlib header";
    const Bytes deflated(zlib.begin() + 2, zlib.end());
    Inflater inflater(deflated);
    Bytes raw;
    if (std::string error = inflater.Run(raw); !error.empty())
        return error;
    if (inflater.end() + 4 != deflated.size())
        return "zlib stream does not end with its Adler-32";
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    if ((b << 16 | a) != BE32(&deflated[inflater.end()]))
        return "bad Adler-32";
    const size_t stride = size_t(picture.width) + 1;
    if (raw.size() != stride * size_t(picture.height))
        return "image data has the wrong size";
    for (int y = 0; y < picture.height; ++y) {
        if (raw[y * stride] != 0)
            return "unexpected filter type";
        picture.pixels.insert(picture.pixels.end(), raw.begin() + long(y * stride + 1),
                              raw.begin() + long((y + 1) * stride));
    }
    return "";
}

}  // namespace testkit
