// Shared helpers for the test programs: scratch directories, console capture,
// and WAD files built in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "platform/console.h"

namespace testkit {

using Bytes = std::vector<uint8_t>;

// A fresh empty directory under the build tree, removed when the object dies.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // The directory, ending in "/".
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Routes the text console to a string of input lines and collects its output.
// Captures nest: when one ends, the console goes back to the one it replaced.
// With ConsoleReader::Person the input is key presses, one a byte, as a person
// at a terminal types them: waits for a key and listing pages pause.
class ConsoleCapture {
public:
    explicit ConsoleCapture(const std::string& input = "", ConsoleReader reader = ConsoleReader::Script);
    ~ConsoleCapture();
    std::string output();

private:
    FILE* in_;
    FILE* out_;
    ConsoleReader reader_;
    ConsoleCapture* outer_;
};

// Collects what the process writes on its standard error (file descriptor 2,
// so libraries' messages too) while the object lives.
class StderrCapture {
public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture&) = delete;
    StderrCapture& operator=(const StderrCapture&) = delete;
    std::string output();

private:
    FILE* file_;
    int saved_;
};

// How many times part occurs in text (overlapping occurrences counted).
inline size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Builds WAD files lump by lump.
class WadBuilder {
public:
    explicit WadBuilder(const char* type = "PWAD") : type_(type) {}
    WadBuilder& lump(const std::string& name, const Bytes& data = {});
    WadBuilder& lump(const std::string& name, const std::string& text);
    // A level: its marker and the ten lumps, each filled with the given data
    // (empty by default).
    WadBuilder& level(const std::string& marker);
    Bytes bytes() const;
    void write(const std::string& path) const;

private:
    struct Lump {
        std::string name;
        Bytes data;
    };
    std::string type_;
    std::vector<Lump> lumps_;
};

// A WAD file taken apart: its type and its lumps in directory order. A
// directory or lump outside the file fails the test.
struct WadLump {
    std::string name;
    Bytes data;
    bool operator==(const WadLump& o) const { return name == o.name && data == o.data; }
};
void PrintTo(const WadLump& lump, std::ostream* out);   // for test failures
struct WadContents {
    std::string type;
    std::vector<WadLump> lumps;
    std::vector<std::string> names() const;
    // The data of the first lump so named from index `from` on; fails the
    // test when there is none.
    Bytes data(const std::string& name, size_t from = 0) const;
};
WadContents ReadWad(const std::string& path);
WadContents ParseWad(const Bytes& file, const std::string& what = "WAD");

Bytes ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& data);
// Little-endian numbers and 8-byte names (padded with zeros, cut at 8) put
// into and read from bytes.
void PutLE16(Bytes& b, int value);
void PutLE32(Bytes& b, int32_t value);
void PutName(Bytes& b, std::string name);
int16_t LE16(const Bytes& b, size_t at);
int32_t LE32(const Bytes& b, size_t at);

// Where Freedoom's IWADs are; empty when the package is not installed.
std::string FreedoomIwad(int which);   // 1 or 2

// The names of a level's ten lumps, in order.
extern const char* const kLevelLumps[10];

}  // namespace testkit
