#include "support/headless_kit.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/config.h"
#include "base/work_dir.h"
#include "platform/video.h"
#include "support/program_state.h"
#include "wad/master.h"

namespace testkit {

namespace {
constexpr int kPadding = 50;
}

HeadlessSession::HeadlessSession(const std::string& consoleInput) : console_(consoleInput) {
    setenv("ZARN_VIDEO", "headless", 1);
    unsetenv("ZARN_SCRIPT");
    ResetProgramState();
    SetWorkDir(dir_.path());
}

HeadlessSession::~HeadlessSession() { ResetProgramState(); }

Bytes GreyPlaypal() {
    Bytes playpal;
    for (int i = 0; i < 14 * 768; ++i)
        playpal.push_back(static_cast<uint8_t>(i % 768 / 3));
    return playpal;
}

void HeadlessSession::OpenPaletteIwad() {
    std::string path = dir_.file("pal.wad");
    WadBuilder("IWAD").level("E1M1").lump("PLAYPAL", GreyPlaypal()).write(path);
    SetField(config.iwadName, path.c_str());
    OpenIwad(config.iwadName);
}

void HeadlessSession::Script(const std::string& text) {
    std::string script = text;
    for (int i = 0; i < kPadding; ++i)
        script += "\nwait 0";
    ExactScript(script);
}

void HeadlessSession::ExactScript(const std::string& text) {
    std::string error;
    ASSERT_TRUE(HeadlessLoadScript(text, error)) << error;
}

}  // namespace testkit
