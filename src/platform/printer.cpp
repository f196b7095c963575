#include "platform/printer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// The spooler program found on the PATH, or "" when there is none.
std::string FindSpooler() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos)
            end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string candidate = (dir.empty() ? std::string(".") : dir) + "/lpr";
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

// The name quoted for the shell that popen runs it with.
std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

FILE* OpenPrinter() {
    std::string spooler = FindSpooler();
    if (spooler.empty())
        return nullptr;
    std::fflush(nullptr);   // nothing buffered twice in the child
    return popen(ShellQuoted(spooler).c_str(), "w");
}

bool ClosePrinter(FILE* printer) {
    if (!printer)
        return false;
    bool written = !std::ferror(printer);
    int status = pclose(printer);
    return written && status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
