#include "fuzz_kit.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

#include "base/config.h"
#include "base/fatal.h"
#include "base/work_dir.h"
#include "platform/files.h"
#include "platform/video.h"
#include "support/session_kit.h"
#include "support/picture_kit.h"
#include "support/program_state.h"
#include "wad/master.h"

namespace fuzzkit {

const char kPartSeparator[] = "\n=ZARN=\n";

namespace {

// The process's surroundings, made once: the headless screen and a scratch
// directory, in memory where the system has a memory file system (replaced
// files are synced to disk, which would slow every input down). The current
// directory stays as it is (libFuzzer reads its corpus by names relative to
// it): targets name every file by its full path.
struct Surroundings {
    std::string dir;
    Surroundings() {
        setenv("ZARN_VIDEO", "headless", 1);
        unsetenv("ZARN_SCRIPT");
        unsetenv("DISPLAY");
        // Short, so that names in it fit the configuration's 44-byte fields.
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/zf_XXXXXX";
            if (IsDirectory(base) && mkdtemp(&pattern[0])) {
                dir = pattern + "/";
                break;
            }
        }
        if (dir.empty())
            Fail("cannot create a scratch directory");
    }
    ~Surroundings() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

Surroundings& Here() {
    static Surroundings here;
    return here;
}

// The console reads the input given and writes into memory: no files.
class MemoryConsole {
public:
    explicit MemoryConsole(const std::string& input) : input_(input + "\n") {
        in_ = fmemopen(&input_[0], input_.size(), "r");
        out_ = open_memstream(&text_, &size_);
        ConsoleUsePlainStreams(in_, out_);
    }
    ~MemoryConsole() {
        ConsoleUsePlainStreams(nullptr, nullptr);
        std::fclose(in_);
        std::fclose(out_);
        std::free(text_);
    }
    MemoryConsole(const MemoryConsole&) = delete;
    MemoryConsole& operator=(const MemoryConsole&) = delete;
    std::string output() {
        std::fflush(out_);
        return std::string(text_, size_);
    }

private:
    std::string input_;
    FILE* in_;
    FILE* out_;
    char* text_ = nullptr;
    size_t size_ = 0;
};

// The process's open file descriptors, each with what it names, but for the
// one that reads the list.
std::map<int, std::string> OpenDescriptors() {
    const std::string listing = "/proc/" + std::to_string(getpid()) + "/fd";
    std::map<int, std::string> open;
    for (const auto& entry : std::filesystem::directory_iterator(listing)) {
        std::error_code gone;
        std::string target = std::filesystem::read_symlink(entry.path(), gone).string();
        if (!gone && target != listing)
            open[std::stoi(entry.path().filename().string())] = target;
    }
    return open;
}

// Empties the work directory; a temporary file of a replacement left there
// is a fault of the program.
void ClearScratch() {
    std::string leftover;
    for (const auto& entry : std::filesystem::directory_iterator(ScratchPath())) {
        std::string name = entry.path().filename().string();
        if (IsTemporaryFileName(name))
            leftover = name;
        std::error_code ignored;
        std::filesystem::remove_all(entry.path(), ignored);
    }
    if (!leftover.empty())
        Fail("a temporary file was left behind: " + leftover);
}

// The configuration defaults of a flavour, looked up once: finding the
// default IWAD and help file reads the file system.
const ConfigRecord& FlavourDefaults(Flavour flavour) {
    static std::map<Flavour, ConfigRecord> made;
    auto found = made.find(flavour);
    if (found == made.end()) {
        SetFlavour(flavour);
        found = made.emplace(flavour, DefaultConfig()).first;
    }
    return found->second;
}

}  // namespace

std::vector<std::string> SplitInput(const uint8_t* data, size_t size, size_t count) {
    std::string text = AsText(data, size);
    std::vector<std::string> parts;
    size_t from = 0;
    while (parts.size() + 1 < count) {
        size_t at = text.find(kPartSeparator, from);
        if (at == std::string::npos)
            break;
        parts.push_back(text.substr(from, at - from));
        from = at + std::strlen(kPartSeparator);
    }
    parts.push_back(text.substr(std::min(from, text.size())));
    parts.resize(count);
    return parts;
}

Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

std::string AsText(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

const std::string& ScratchPath() { return Here().dir; }

std::string ScratchFile(const std::string& name) { return ScratchPath() + name; }

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

Bytes SmallIwad(const std::string& levelMarker) {
    using testkit::Columns;
    Bytes patch = testkit::PictureLump(4, 4, Columns(4, {{0, Bytes{1, 2, 3, 4}}}));
    testkit::WadBuilder wad("IWAD");
    Bytes playpal = testkit::GreyPlaypal();
    playpal.resize(768);   // one palette is enough
    wad.lump("PLAYPAL", playpal);
    wad.lump("TEXTURE1", testkit::TextureLump({{"WALL", 8, 4, {{0, 0, 0}, {4, 0, 0}}}}));
    wad.lump("PNAMES", testkit::PnamesLump({"PATCH1"}));
    wad.lump("PATCH1", patch);
    wad.lump("S_START").lump("PLAYA1", patch).lump("S_END");
    wad.lump("F_START").lump("F1_START").lump("FLOOR", Bytes(4096, 7)).lump("F1_END").lump("F_END");
    if (!levelMarker.empty())
        wad.level(levelMarker);
    return wad.bytes();
}

void OpenSmallIwad(const std::string& name, const std::string& levelMarker) {
    static std::map<std::string, Bytes> made;   // built once per marker
    auto found = made.find(levelMarker);
    if (found == made.end())
        found = made.emplace(levelMarker, SmallIwad(levelMarker)).first;
    const Bytes& bytes = found->second;
    WriteFile(ScratchFile(name), std::string(bytes.begin(), bytes.end()));
    SetField(config.iwadName, ScratchFile(name).c_str());
    OpenIwad(config.iwadName);
}

void RunInput(Flavour flavour, const std::string& consoleInput, const std::function<void()>& body) {
    MemoryConsole console(consoleInput);
    testkit::ResetProgramState(flavour, FlavourDefaults(flavour));
    // What the program holds open lives in its state and goes with the
    // reset; a descriptor that outlives it is one nothing will close.
    static const std::map<int, std::string> baseline = OpenDescriptors();
    SetWorkDir(ScratchPath());
    std::string end;
    try {
        body();
    } catch (const ProgramExit& exit) {
        // The program's own end: a normal outcome for a damaged input.
        end = "program end " + std::to_string(exit.code()) + ": " + exit.what() + "\n";
    }
    if (!EnvironmentValue("ZARN_FUZZ_SHOW").empty())
        std::fprintf(stderr, "%s%s", console.output().c_str(), end.c_str());
    // Everything the input made goes now, not with the next input's reset:
    // its allocations then balance, and libFuzzer has no leak to look for.
    testkit::ResetProgramState(flavour, FlavourDefaults(flavour));
    for (const auto& [fd, name] : OpenDescriptors()) {
        auto known = baseline.find(fd);
        if (known == baseline.end() || known->second != name)
            Fail("the input left file descriptor " + std::to_string(fd) + " open: " + name);
    }
    ClearScratch();
}

void Fail(const std::string& message) {
    std::fprintf(stderr, "fuzz check failed: %s\n", message.c_str());
    std::abort();
}

}  // namespace fuzzkit

// libFuzzer names the functions an input reached first through a symbolizer
// it keeps running on a pipe: a descriptor that opens in the middle of a run
// and would pass for one an input left open. Off by default here; a
// -print_funcs given on the command line comes later and wins.
// A smaller quarantine of freed memory than AddressSanitizer's 256 MB: the
// memory an input frees is still checked for use within the input, and
// recycling the rest costs far fewer page faults (about half of each run's
// time with the default).
extern "C" const char* __asan_default_options() { return "quarantine_size_mb=32"; }

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static std::vector<char*> args;
    static char quiet[] = "-print_funcs=0";
    args.assign(*argv, *argv + *argc);
    args.insert(args.begin() + std::min(*argc, 1), quiet);
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
    return 0;
}
