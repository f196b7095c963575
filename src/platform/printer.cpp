#include "platform/printer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/process.h"

namespace {

// The spooler program found on the PATH, or "" when there is none.
std::string FindSpooler() {
    const char* path = std::getenv("PATH");
    return FindOnPath("lpr", path ? path : "");
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
