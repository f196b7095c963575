#include "platform/files.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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

namespace {

// Marks the names of temporary files: ".<file>.zarn-partial-<pid>-<XXXXXX>".
constexpr const char* kTemporaryMark = ".zarn-partial-";
// Room left in a 255-byte name for the mark, the process id and the suffix.
constexpr size_t kTemporaryStemLength = 200;

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The process id in a temporary file's name; -1 when the name is not one.
long TemporaryFileOwner(const std::string& name) {
    size_t mark = name.rfind(kTemporaryMark);
    if (name.empty() || name[0] != '.' || mark == std::string::npos)
        return -1;
    const char* pid = name.c_str() + mark + std::strlen(kTemporaryMark);
    char* end = nullptr;
    long owner = std::strtol(pid, &end, 10);
    if (end == pid || *end != '-' || owner <= 0 || std::strlen(end + 1) != 6)
        return -1;
    for (const char* c = end + 1; *c; ++c)
        if (!std::isalnum(static_cast<unsigned char>(*c)))
            return -1;
    return owner;
}

// Creates an empty temporary file beside path, named after it; -1 (errno
// set) on failure.
int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    size_t slash = path.rfind('/');
    std::string stem = path.substr(slash == std::string::npos ? 0 : slash + 1);
    std::string pattern = DirectoryOf(path) + "." + stem.substr(0, kTemporaryStemLength) + kTemporaryMark +
                          std::to_string(static_cast<long>(getpid())) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    int fd = mkstemp(buffer.data());
    if (fd >= 0)
        temporary = buffer.data();
    return fd;
}

// The file a name stands for: a symbolic link's target, so that replacing
// or backing up a linked file leaves the link in place.
std::string FileBehindLinks(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* real = realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string resolved = real;
    std::free(real);
    return resolved;
}

// Permissions for a file written in place of path: its own when it exists,
// else those a newly created file gets.
mode_t PermissionsFor(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) == 0)
        return st.st_mode & 07777;
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool SameInode(const std::string& a, const std::string& b) {
    struct stat sa, sb;
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

bool WriteAll(int fd, const char* data, size_t length) {
    while (length > 0) {
        ssize_t n = write(fd, data, length);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

// Copies the whole file original into the open file fd and makes it durable.
bool CopyInto(int fd, const std::string& original) {
    int in = open(original.c_str(), O_RDONLY);
    if (in < 0)
        return false;
    std::vector<char> buffer(1 << 16);
    bool ok = true;
    for (;;) {
        ssize_t n = read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!WriteAll(fd, buffer.data(), static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    int saved = errno;
    close(in);
    errno = saved;
    return ok && fsync(fd) == 0;
}

// A new name for backup's content: a hard link to original, or a copy.
bool PrepareBackup(const std::string& original, const std::string& backup, BackupMethod method,
                   std::string& temporary) {
    int fd = CreateTemporaryBeside(backup, temporary);
    if (fd < 0)
        return false;
    if (method == BackupMethod::LinkOrCopy) {
        // The name was only reserved; the link takes it.
        unlink(temporary.c_str());
        if (link(original.c_str(), temporary.c_str()) == 0) {
            close(fd);
            return true;
        }
        // No hard links here (or no room for one): copy instead.
        close(fd);
        fd = CreateTemporaryBeside(backup, temporary);
        if (fd < 0)
            return false;
    }
    fchmod(fd, PermissionsFor(original));
    bool copied = CopyInto(fd, original);
    int saved = errno;
    if (close(fd) != 0 && copied) {
        copied = false;
        saved = errno;
    }
    if (!copied)
        unlink(temporary.c_str());
    errno = saved;
    return copied;
}

}  // namespace

bool BeginReplacement(const std::string& target, ReplacementFile& file) {
    file = ReplacementFile{};
    file.target = FileBehindLinks(ResolveExistingPath(target));
    file.failedName = file.target;
    int fd = CreateTemporaryBeside(file.target, file.temporary);
    if (fd < 0) {
        file.error = errno;
        return false;
    }
    fchmod(fd, PermissionsFor(file.target));
    file.stream = fdopen(fd, "w+b");
    if (!file.stream) {
        file.error = errno;
        close(fd);
        unlink(file.temporary.c_str());
        return false;
    }
    file.failedName.clear();
    return true;
}

bool CommitReplacement(ReplacementFile& file) {
    if (!file.stream)
        return false;
    file.failedName = file.target;
    // A write that failed earlier leaves only the stream's error flag behind.
    bool ok = !std::ferror(file.stream);
    file.error = ok ? 0 : EIO;
    if (ok && (std::fflush(file.stream) != 0 || fsync(fileno(file.stream)) != 0)) {
        ok = false;
        file.error = errno;
    }
    if (std::fclose(file.stream) != 0 && ok) {
        ok = false;
        file.error = errno;
    }
    file.stream = nullptr;
    bool keepOld = ok && !file.backup.empty() && FileExists(file.target) &&
                   !SameInode(file.target, ResolveExistingPath(file.backup));
    if (keepOld && !MakeBackupFile(file.target, file.backup, BackupMethod::LinkOrCopy, file.error)) {
        ok = false;
        file.failedName = file.backup;
    }
    if (ok && std::rename(file.temporary.c_str(), file.target.c_str()) != 0) {
        ok = false;
        file.error = errno;
    }
    if (!ok)
        unlink(file.temporary.c_str());
    else
        file.failedName.clear();
    return ok;
}

void AbandonReplacement(ReplacementFile& file) {
    if (file.stream)
        std::fclose(file.stream);
    file.stream = nullptr;
    if (!file.temporary.empty())
        unlink(file.temporary.c_str());
}

bool ReplaceFileContents(const std::string& path, const void* data, size_t size, int& error) {
    ReplacementFile file;
    bool replaced = BeginReplacement(path, file);
    if (replaced && std::fwrite(data, 1, size, file.stream) != size) {
        file.error = errno;
        AbandonReplacement(file);
        replaced = false;
    }
    replaced = replaced && CommitReplacement(file);
    error = file.error;
    return replaced;
}

bool MakeBackupFile(const std::string& original, const std::string& backup, BackupMethod method,
                    int& error) {
    std::string source = FileBehindLinks(ResolveExistingPath(original));
    std::string target = ResolveExistingPath(backup);
    std::string temporary;
    if (!PrepareBackup(source, target, method, temporary)) {
        error = errno;
        return false;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        unlink(temporary.c_str());
        return false;
    }
    // Renaming a link onto another link of the same file leaves both names.
    unlink(temporary.c_str());
    return true;
}

bool IsTemporaryFileName(const std::string& name) { return TemporaryFileOwner(name) > 0; }

void RemoveLeftoverTemporaryFiles(const std::string& dir) {
    DIR* d = opendir(dir.empty() ? "." : dir.c_str());
    if (!d)
        return;
    std::vector<std::string> leftovers;
    while (dirent* e = readdir(d)) {
        long owner = TemporaryFileOwner(e->d_name);
        bool ownerGone = owner > 0 && owner != static_cast<long>(getpid()) &&
                         kill(static_cast<pid_t>(owner), 0) != 0 && errno == ESRCH;
        if (ownerGone)
            leftovers.push_back(e->d_name);
    }
    closedir(d);
    std::string prefix = dir.empty() || dir.back() == '/' ? dir : dir + "/";
    for (const std::string& name : leftovers) {
        struct stat st;
        std::string path = prefix + name;
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            unlink(path.c_str());
    }
}

long CurrentProcessId() { return static_cast<long>(getpid()); }

namespace {

// The first line of a small file of the system, or "".
std::string FirstLine(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return std::string();
    char line[512] = {};
    bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    if (!read)
        return std::string();
    std::string text = line;
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    return text;
}

}  // namespace

std::string ProcessStartMark(long pid) {
    if (pid <= 0)
        return std::string();
    // "pid (name) state ppid ...": the name may hold blanks and parentheses,
    // so the fields are counted from the last ')'; the start time is the 22nd.
    std::string stat = FirstLine("/proc/" + std::to_string(pid) + "/stat");
    size_t close = stat.rfind(')');
    if (close == std::string::npos)
        return std::string();
    std::vector<std::string> fields;
    size_t at = close + 1;
    while (at < stat.size()) {
        size_t start = stat.find_first_not_of(' ', at);
        if (start == std::string::npos)
            break;
        size_t end = stat.find(' ', start);
        fields.push_back(stat.substr(start, end == std::string::npos ? std::string::npos : end - start));
        at = end == std::string::npos ? stat.size() : end;
    }
    constexpr size_t kStartTime = 22 - 3;   // fields counted from the state, the 3rd
    if (fields.size() <= kStartTime || fields[0] == "Z" || fields[0] == "X")
        return std::string();
    return FirstLine("/proc/sys/kernel/random/boot_id") + ":" + fields[kStartTime];
}

std::string SystemErrorText(int error) { return std::strerror(error); }

std::string CurrentDirectory() {
    std::vector<char> buffer(4096);
    if (!getcwd(buffer.data(), buffer.size()))
        return "./";
    std::string dir = buffer.data();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

bool MakeDirectories(const std::string& path, int& error) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = errno;
            return false;
        }
        if (slash == std::string::npos)
            break;
    }
    struct stat st;
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return true;
    error = ENOTDIR;
    return false;
}

bool ChangeDirectory(const std::string& path, int& error) {
    if (chdir(path.c_str()) == 0)
        return true;
    error = errno;
    return false;
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

double ProcessCpuMilliseconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000 + static_cast<double>(t.tv_nsec) / 1e6;
}


std::string EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

FileStamp StampOfFile(const std::string& name) {
    FileStamp stamp;
    struct stat st;
    if (stat(ResolveExistingPath(name).c_str(), &st) != 0)
        return stamp;
    stamp.device = static_cast<uint64_t>(st.st_dev);
    stamp.inode = static_cast<uint64_t>(st.st_ino);
    stamp.size = static_cast<int64_t>(st.st_size);
    stamp.writtenNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}
