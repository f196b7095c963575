#include "support/testkit.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/console.h"

namespace testkit {

const char* const kLevelLumps[10] = {
    "THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES", "SEGS",
    "SSECTORS", "NODES", "SECTORS", "REJECT", "BLOCKMAP",
};

ScratchDir::ScratchDir() {
    // Short, so that the test's file names fit the configuration's 44-byte
    // fields and its file keeps the plain record layout.
    char pattern[] = "/tmp/zt_XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot create scratch directory");
    path_ = std::string(pattern) + "/";
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

namespace {
ConsoleCapture* activeCapture = nullptr;
}  // namespace

ConsoleCapture::ConsoleCapture(const std::string& input, ConsoleReader reader)
    : reader_(reader), outer_(activeCapture) {
    in_ = std::tmpfile();
    out_ = std::tmpfile();
    std::fwrite(input.data(), 1, input.size(), in_);
    std::rewind(in_);
    ConsoleUsePlainStreams(in_, out_, reader);
    activeCapture = this;
}

ConsoleCapture::~ConsoleCapture() {
    activeCapture = outer_;
    if (outer_)
        ConsoleUsePlainStreams(outer_->in_, outer_->out_, outer_->reader_);
    else
        ConsoleUsePlainStreams(nullptr, nullptr);
    std::fclose(in_);
    std::fclose(out_);
}

std::string ConsoleCapture::output() {
    std::fflush(out_);
    std::string text(static_cast<size_t>(std::ftell(out_)), '\0');
    std::rewind(out_);
    text.resize(std::fread(&text[0], 1, text.size(), out_));
    std::fseek(out_, 0, SEEK_END);
    return text;
}

StderrCapture::StderrCapture() : file_(std::tmpfile()) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    dup2(fileno(file_), STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    std::fclose(file_);
}

std::string StderrCapture::output() {
    std::fflush(stderr);
    std::string text(static_cast<size_t>(lseek(fileno(file_), 0, SEEK_END)), '\0');
    text.resize(static_cast<size_t>(pread(fileno(file_), &text[0], text.size(), 0)));
    return text;
}

WadBuilder& WadBuilder::lump(const std::string& name, const Bytes& data) {
    lumps_.push_back({name, data});
    return *this;
}

WadBuilder& WadBuilder::lump(const std::string& name, const std::string& text) {
    return lump(name, Bytes(text.begin(), text.end()));
}

WadBuilder& WadBuilder::level(const std::string& marker) {
    lump(marker);
    for (const char* name : kLevelLumps)
        lump(name);
    return *this;
}

void PutLE16(Bytes& b, int value) { b.insert(b.end(), {uint8_t(value), uint8_t(value >> 8)}); }

void PutLE32(Bytes& b, int32_t value) {
    PutLE16(b, value);
    PutLE16(b, value >> 16);
}

void PutName(Bytes& b, std::string name) {
    name.resize(8, '\0');
    b.insert(b.end(), name.begin(), name.end());
}

int16_t LE16(const Bytes& b, size_t at) { return static_cast<int16_t>(b[at] | b[at + 1] << 8); }

int32_t LE32(const Bytes& b, size_t at) {
    return static_cast<int32_t>(uint16_t(LE16(b, at)) | uint32_t(uint16_t(LE16(b, at + 2))) << 16);
}

// The header, the lumps' data, then the directory.
Bytes WadBuilder::bytes() const {
    Bytes out(type_.begin(), type_.end()), directory;
    out.resize(4);
    size_t dataSize = 0;
    for (const Lump& l : lumps_)
        dataSize += l.data.size();
    PutLE32(out, static_cast<int32_t>(lumps_.size()));
    PutLE32(out, static_cast<int32_t>(12 + dataSize));
    for (const Lump& l : lumps_) {
        PutLE32(directory, l.data.empty() ? 0 : static_cast<int32_t>(out.size()));
        PutLE32(directory, static_cast<int32_t>(l.data.size()));
        PutName(directory, l.name);
        out.insert(out.end(), l.data.begin(), l.data.end());
    }
    out.insert(out.end(), directory.begin(), directory.end());
    return out;
}

void WadBuilder::write(const std::string& path) const { WriteFileBytes(path, bytes()); }

WadContents ReadWad(const std::string& path) { return ParseWad(ReadFileBytes(path), path); }

WadContents ParseWad(const Bytes& file, const std::string& path) {
    WadContents wad;
    if (file.size() < 12) {
        ADD_FAILURE() << path << " is too short for a WAD";
        return wad;
    }
    wad.type.assign(file.begin(), file.begin() + 4);
    int32_t count = LE32(file, 4);
    size_t dir = static_cast<uint32_t>(LE32(file, 8));
    for (int32_t i = 0; i < count; ++i) {
        size_t at = dir + static_cast<size_t>(i) * 16;
        if (at + 16 > file.size()) {
            ADD_FAILURE() << path << ": directory outside the file";
            break;
        }
        size_t offset = static_cast<uint32_t>(LE32(file, at));
        size_t size = static_cast<uint32_t>(LE32(file, at + 4));
        const char* name = reinterpret_cast<const char*>(&file[at + 8]);
        WadLump lump{std::string(name, strnlen(name, 8)), {}};
        if (size > 0 && offset + size > file.size())
            ADD_FAILURE() << path << ": lump " << lump.name << " outside the file";
        else if (size > 0)
            lump.data.assign(file.begin() + static_cast<long>(offset),
                             file.begin() + static_cast<long>(offset + size));
        wad.lumps.push_back(lump);
    }
    return wad;
}

void PrintTo(const WadLump& lump, std::ostream* out) {
    *out << lump.name << " (" << lump.data.size() << " bytes)";
}

std::vector<std::string> WadContents::names() const {
    std::vector<std::string> list;
    for (const WadLump& l : lumps)
        list.push_back(l.name);
    return list;
}

Bytes WadContents::data(const std::string& name, size_t from) const {
    for (size_t i = from; i < lumps.size(); ++i)
        if (lumps[i].name == name)
            return lumps[i].data;
    ADD_FAILURE() << "lump " << name << " missing";
    return {};
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

std::string FreedoomIwad(int which) {
    std::string path = "/usr/share/games/doom/freedoom" + std::to_string(which) + ".wad";
    return std::filesystem::exists(path) ? path : std::string();
}

}  // namespace testkit
