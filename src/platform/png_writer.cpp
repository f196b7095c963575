// PNG writer: signature, IHDR, PLTE, one IDAT holding a zlib stream, IEND.
// The zlib stream is a single deflate block with the fixed Huffman codes and
// greedy LZ77 matching, which shrinks screenshots (large areas of one colour)
// to a small fraction without the size of a full encoder.
#include "platform/png_writer.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/files.h"

namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const Bytes& data)
{
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutBE32(Bytes& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(value >> shift));
}

// Deflate's bit stream: values go in least significant bit first, Huffman
// codes most significant bit first.
class BitWriter {
public:
    explicit BitWriter(Bytes& out) : out_(out) {}
    void Bits(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i) {
            pending_ |= ((value >> i) & 1) << used_;
            if (++used_ == 8)
                Flush();
        }
    }
    void Code(uint32_t code, int length)
    {
        for (int i = length - 1; i >= 0; --i)
            Bits((code >> i) & 1, 1);
    }
    void Flush()
    {
        if (used_ > 0)
            out_.push_back(uint8_t(pending_));
        pending_ = 0;
        used_ = 0;
    }

private:
    Bytes& out_;
    uint32_t pending_ = 0;
    int used_ = 0;
};

const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const uint8_t kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The fixed literal/length code of symbol 0..287.
void FixedSymbol(BitWriter& bits, int symbol)
{
    if (symbol < 144)
        bits.Code(0x30 + symbol, 8);
    else if (symbol < 256)
        bits.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280)
        bits.Code(symbol - 256, 7);
    else
        bits.Code(0xC0 + symbol - 280, 8);
}

// Index of the last base not above value.
template <size_t N, typename T>
int BucketOf(const T (&bases)[N], int value)
{
    int k = int(N) - 1;
    while (bases[k] > value)
        --k;
    return k;
}

void Match(BitWriter& bits, int length, int distance)
{
    const int l = BucketOf(kLengthBase, length);
    FixedSymbol(bits, 257 + l);
    bits.Bits(uint32_t(length - kLengthBase[l]), kLengthExtra[l]);
    const int d = BucketOf(kDistanceBase, distance);
    bits.Code(uint32_t(d), 5);
    bits.Bits(uint32_t(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

Bytes ZlibCompress(const Bytes& data)
{
    constexpr int kWindow = 32768, kMinMatch = 3, kMaxMatch = 258, kMaxChain = 32;
    constexpr int kHashBits = 15;
    Bytes out = {0x78, 0x01};   // deflate, 32K window, no dictionary
    BitWriter bits(out);
    bits.Bits(1, 1);            // final block
    bits.Bits(1, 2);            // fixed Huffman codes

    const int size = int(data.size());
    std::vector<int> head(1 << kHashBits, -1), prev(kWindow, -1);
    auto hashAt = [&](int i) {
        return ((data[i] << 10) ^ (data[i + 1] << 5) ^ data[i + 2]) & ((1 << kHashBits) - 1);
    };
    auto remember = [&](int i) {
        if (i + kMinMatch <= size) {
            const int h = hashAt(i);
            prev[i % kWindow] = head[h];
            head[h] = i;
        }
    };
    for (int i = 0; i < size;) {
        int bestLength = 0, bestDistance = 0;
        if (i + kMinMatch <= size) {
            const int limit = std::min(kMaxMatch, size - i);
            int candidate = head[hashAt(i)];
            for (int chain = 0; candidate >= 0 && i - candidate <= kWindow && chain < kMaxChain; ++chain) {
                int length = 0;
                while (length < limit && data[candidate + length] == data[i + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = i - candidate;
                    if (length == limit)
                        break;
                }
                const int older = prev[candidate % kWindow];
                candidate = older < candidate ? older : -1;
            }
        }
        if (bestLength >= kMinMatch) {
            Match(bits, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k)
                remember(i + k);
            i += bestLength;
        } else {
            FixedSymbol(bits, data[i]);
            remember(i);
            ++i;
        }
    }
    FixedSymbol(bits, 256);   // end of block
    bits.Flush();
    PutBE32(out, Adler32(data));
    return out;
}

void Chunk(Bytes& png, const char* type, const Bytes& body)
{
    PutBE32(png, uint32_t(body.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    PutBE32(png, Crc32(&png[start], png.size() - start));
}

}  // namespace

bool WritePng(const std::string& path, int width, int height, const uint8_t* indexed,
              const uint8_t palette[768])
{
    constexpr int kMaxSide = 1 << 16;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !indexed || !palette)
        return false;

    // Every row starts with filter type 0 (none): palette indices do not
    // predict well.
    Bytes raw;
    raw.reserve((size_t(width) + 1) * size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        const uint8_t* row = indexed + size_t(y) * size_t(width);
        raw.insert(raw.end(), row, row + width);
    }

    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBE32(header, uint32_t(width));
    PutBE32(header, uint32_t(height));
    header.insert(header.end(), {8, 3, 0, 0, 0});   // 8 bits, palette, deflate, no filter variants, no interlace
    Chunk(png, "IHDR", header);
    Chunk(png, "PLTE", Bytes(palette, palette + 768));
    Chunk(png, "IDAT", ZlibCompress(raw));
    Chunk(png, "IEND", {});

    int error = 0;
    return ReplaceFileContents(path, png.data(), png.size(), error);
}
