// An X server of the test's own (Xvfb), for tests of the SDL window: the
// server picks a free display number and reports it, so tests running side by
// side never share one. Stopped when the object goes.
#pragma once

#include <string>

namespace testkit {

class PrivateXServer {
public:
    static bool Installed();
    // The display (":N"), or "" when the server did not start. `screen` is
    // Xvfb's WIDTHxHEIGHTxDEPTH.
    std::string Start(const std::string& screen = "1024x768x24");
    ~PrivateXServer();

private:
    int pid_ = -1;
};

}  // namespace testkit
