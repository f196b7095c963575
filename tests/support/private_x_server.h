// An X server of the test's own (Xvfb), for tests of the SDL window: the
// server picks a free display number and reports it, so tests running side by
// side never share one. Stopped when the object goes.
#pragma once

#include <string>

namespace testkit {

class PrivateXServer {
public:
    static bool Installed();
    // Starts a server of a screen of 24-bit colour (1600 x 1200 unless
    // given) and points DISPLAY at it; false when it did not start.
    bool Start(int width = 1600, int height = 1200);
    ~PrivateXServer();

private:
    int pid_ = -1;
};

}  // namespace testkit
