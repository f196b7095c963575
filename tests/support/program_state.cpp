#include "support/program_state.h"

#include "base/config.h"
#include "base/fatal.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/editor_history.h"
#include "editor/info_panels.h"
#include "editor/line_drawing.h"
#include "editor/map_draw.h"
#include "editor/menu_bar.h"
#include "editor/objects.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/history.h"
#include "level/recovery.h"
#include "level/level.h"
#include "level/level_dialogs.h"
#include "level/level_files.h"
#include "dialogs/edit_objects.h"
#include "checker/find_replace.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "platform/video.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "testplay/handoff.h"
#include "ui/browsers.h"
#include "ui/graphics.h"
#include "ui/help_viewer.h"
#include "ui/input.h"
#include "ui/message_panel.h"
#include "ui/sprite_views.h"
#include "ui/toolkit.h"
#include "wad/listing.h"
#include "wad/master.h"

namespace testkit {

namespace {

void ThrowScriptEnded() { throw ProgramExit(kExitScriptEnded, "input script ended"); }

// What holds files or the screen is let go before its state is forgotten.
void ReleaseResources() {
    CloseGraphics();
    CloseHelpFile();
    ResetMaster();
    FreeLevel();
}

void ResetLowerModules(Flavour flavour, const ConfigRecord& configuration) {
    SetFlavour(flavour);
    config = configuration;
    master = MasterState{};
    ResetListingState();
    level = LevelState{};
    ResetHistory();
    StartRecoverySession();
    SetLevelDialogs(nullptr);
    SetNodeBuilderHandOff(nullptr);
    pictures = PictureState{};
    FreeNameLists();
    VideoReset();
    HeadlessReset();
    HeadlessSetScriptEndHandler(ThrowScriptEnded);
}

void ResetUpperModules() {
    graphics = GraphicsState{};
    input = InputState{};
    toolkit = ToolkitState{};
    notice = NoticeState{};
    browsers = BrowserState{};
    spriteViews = SpriteViewState{};
    help = HelpState{};
    editor = EditorState{};
    editorHistory = EditorHistoryState{};
    ResetEditorActions();
    search = SearchState{};
    lastTag = -1;
    infoPanels = InfoPanelState{};
    selection = SelectionState{};
    ResetListedObjectCount();
    moveState = MoveState{};
    drawing = LineDrawingState{};
    view = ViewState{};
    mapDraw = MapDrawState{};
    menuBar = MenuBarState{};
    handOff = HandOffState{};
    shell = ShellState{};
    startup = StartupState{};
}

}  // namespace

void ResetProgramState(Flavour flavour) {
    SetFlavour(flavour);   // the defaults are the flavour's
    ResetProgramState(flavour, DefaultConfig());
}

void ResetProgramState(Flavour flavour, const ConfigRecord& configuration) {
    ReleaseResources();
    ResetLowerModules(flavour, configuration);
    ResetUpperModules();
}

}  // namespace testkit
