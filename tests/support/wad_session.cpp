#include "support/wad_session.h"

#include <filesystem>

#include "base/config.h"
#include "base/work_dir.h"
#include "support/program_state.h"
#include "wad/master.h"

namespace testkit {

void WadSession::SetUp() {
    ResetProgramState(flavour_);
    SetWorkDir(dir.path());
}

void WadSession::TearDown() { ResetProgramState(); }

void WadSession::OpenIwadAt(const std::string& path) {
    SetField(config.iwadName, path.c_str());
    OpenIwad(config.iwadName);
}

int WadSession::ReadPwad(const std::string& path) {
    int row = NewPwadRow();
    SetField(config.pwadList[row], path.c_str());
    int result = LoadPwad(config.pwadList[row]);
    if (result <= 0)
        config.pwadList[row][0] = 0;
    return result;
}

std::string ExitOf(const std::function<void()>& body, int code) {
    try {
        body();
    } catch (const ProgramExit& e) {
        EXPECT_EQ(e.code(), code);
        return e.what();
    }
    return "";
}

bool WadSession::Exists(const std::string& file) const {
    return std::filesystem::exists(dir.file(file));
}

}  // namespace testkit
