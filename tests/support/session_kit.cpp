#include "support/session_kit.h"

#include <cstdlib>
#include <filesystem>

#include "base/config.h"
#include "base/work_dir.h"
#include "platform/video.h"
#include "support/program_state.h"
#include "wad/master.h"

namespace testkit {

Bytes GreyPlaypal() {
    Bytes playpal;
    for (int i = 0; i < 14 * 768; ++i)
        playpal.push_back(static_cast<uint8_t>(i % 768 / 3));
    return playpal;
}

void OpenIwadAt(const std::string& path) {
    SetField(config.iwadName, path.c_str());
    OpenIwad(config.iwadName);
}

Session::Session(const std::string& consoleInput, Flavour flavour) : console(consoleInput), flavour_(flavour) {
    setenv("ZARN_VIDEO", "headless", 1);
    unsetenv("ZARN_SCRIPT");
    Reset();
}

void Session::Reset() {
    ResetProgramState(flavour_);
    SetWorkDir(dir.path());
}

Session::~Session() { ResetProgramState(); }

void Session::Script(const std::string& text) {
    std::string script = text;
    for (int i = 0; i < 50; ++i)
        script += "\nwait 0";
    ExactScript(script);
}

void Session::ExactScript(const std::string& text) {
    std::string error;
    ASSERT_TRUE(HeadlessLoadScript(text, error)) << error;
}

void Session::OpenPaletteIwad() {
    std::string path = dir.file("pal.wad");
    WadBuilder("IWAD").level("E1M1").lump("PLAYPAL", GreyPlaypal()).write(path);
    OpenIwadAt(path);
}

int Session::ReadPwad(const std::string& path) {
    int row = NewPwadRow();
    SetField(config.pwadList[row], path.c_str());
    int result = LoadPwad(config.pwadList[row]);
    if (result <= 0)
        config.pwadList[row][0] = 0;
    return result;
}

bool Session::Exists(const std::string& file) const { return std::filesystem::exists(dir.file(file)); }

std::string ExitOf(const std::function<void()>& body, int code) {
    try {
        body();
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), code);
        return e.what();
    }
    return "";
}

}  // namespace testkit
