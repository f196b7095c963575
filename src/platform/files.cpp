#include "platform/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <unistd.h>
#include <vector>

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// The entry of directory dir whose name equals component ignoring case.
std::string FindEntryIgnoringCase(const std::string& dir, const std::string& component) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return std::string();
    std::string found;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, component.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

std::string RemainderAsGiven(std::string path, const std::vector<std::string>& parts, size_t from) {
    for (size_t i = from; i < parts.size(); ++i) {
        path += parts[i];
        if (i + 1 < parts.size())
            path += '/';
    }
    return path;
}

}  // namespace

std::string ResolveExistingPath(const std::string& name) {
    if (name.empty() || Exists(name))
        return name;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= name.size()) {
        size_t slash = name.find('/', start);
        if (slash == std::string::npos)
            slash = name.size();
        parts.push_back(name.substr(start, slash - start));
        start = slash + 1;
    }
    std::string path = name[0] == '/' ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty())
            continue;
        std::string candidate = path + part;
        if (!Exists(candidate)) {
            std::string match = FindEntryIgnoringCase(path, part);
            if (match.empty())
                return RemainderAsGiven(path, parts, i);
            candidate = path + match;
        }
        path = candidate;
        if (i + 1 < parts.size())
            path += '/';
    }
    return path;
}

bool FileExists(const std::string& name) {
    struct stat st;
    return stat(ResolveExistingPath(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsDirectory(const std::string& name) {
    struct stat st;
    return stat(ResolveExistingPath(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FILE* OpenExisting(const std::string& name, const char* mode) {
    std::string path = ResolveExistingPath(name);
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return nullptr;
    return std::fopen(path.c_str(), mode);
}

int64_t FileSize(FILE* file) {
    struct stat st;
    if (!file || fstat(fileno(file), &st) != 0)
        return -1;
    return st.st_size;
}

bool RemoveFile(const std::string& name) {
    return std::remove(ResolveExistingPath(name).c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
    return std::rename(ResolveExistingPath(from).c_str(), to.c_str()) == 0;
}

bool BeginReplacement(const std::string& target, ReplacementFile& file) {
    file = ReplacementFile{};
    file.target = ResolveExistingPath(target);
    std::string pattern = file.target + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    int fd = mkstemp(buffer.data());
    if (fd < 0)
        return false;
    // Keep the permissions a newly created file would get.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file.temporary = buffer.data();
    file.stream = fdopen(fd, "w+b");
    if (!file.stream) {
        close(fd);
        unlink(file.temporary.c_str());
        return false;
    }
    return true;
}

bool CommitReplacement(ReplacementFile& file) {
    if (!file.stream)
        return false;
    bool ok = std::fflush(file.stream) == 0 && fsync(fileno(file.stream)) == 0;
    ok = std::fclose(file.stream) == 0 && ok;
    file.stream = nullptr;
    if (ok)
        ok = std::rename(file.temporary.c_str(), file.target.c_str()) == 0;
    if (!ok)
        unlink(file.temporary.c_str());
    return ok;
}

void AbandonReplacement(ReplacementFile& file) {
    if (file.stream)
        std::fclose(file.stream);
    file.stream = nullptr;
    if (!file.temporary.empty())
        unlink(file.temporary.c_str());
}

std::string CurrentDirectory() {
    std::vector<char> buffer(4096);
    if (!getcwd(buffer.data(), buffer.size()))
        return "./";
    std::string dir = buffer.data();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

std::string ProgramDirectory() {
    std::vector<char> buffer(4096);
    ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0)
        return std::string();
    std::string path(buffer.data(), static_cast<size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

int64_t FreeMemoryBytes() {
    struct sysinfo info;
    if (sysinfo(&info) != 0)
        return 0;
    int64_t unit = info.mem_unit ? info.mem_unit : 1;
    int64_t available = static_cast<int64_t>(info.freeram + info.bufferram) * unit;
    if (FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        long long kib;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "MemAvailable: %lld kB", &kib) == 1)
                available = kib * 1024;
        std::fclose(f);
    }
    return available + static_cast<int64_t>(info.freeswap) * unit;
}

void SleepMilliseconds(int ms) {
    if (ms <= 0)
        return;
    timespec t{ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

int64_t MonotonicMilliseconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

int32_t TimeOfDayHundredths() {
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    time_t seconds = t.tv_sec;
    tm local;
    localtime_r(&seconds, &local);
    return ((local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) * 100) +
           static_cast<int32_t>(t.tv_nsec / 10000000);
}

std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
