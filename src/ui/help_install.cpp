// Where the help viewer is reached from: F1 in the toolkit's menus and
// dialogs, and the shell's ? and HELP, which start the graphics screen for it.
#include "shell/shell.h"
#include "ui/graphics.h"
#include "ui/help_viewer.h"
#include "ui/toolkit.h"

namespace {

void HelpOnGraphicsScreen(const char* topic, int mode) {
    InitGraphics(1);
    ShowHelp(topic, mode);
    CloseGraphics();
}

void ShellHelpMain(const std::string&) { HelpOnGraphicsScreen("MAIN", kHelpToEnd); }
void ShellHelpExe(const std::string&) { HelpOnGraphicsScreen("EXE", kHelpTopicOnly); }

}  // namespace

void InstallHelp() {
    toolkit.helpHandler = HelpViewer;
    shell.helpMain = ShellHelpMain;
    shell.helpExe = ShellHelpExe;
}
