// The HERETIC flavour on a small IWAD of its own: one room of E1M1 with a
// wall texture, two flats and the player's sprite; the panels say what the
// flavour's tables say, and the dialogs change the level through the keys.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/config.h"
#include "base/fatal.h"
#include "editor/editor.h"
#include "editor/info_panels.h"
#include "editor/selection.h"
#include "gamedefs/linetypes.h"
#include "ops/edit_objects.h"
#include "shell/shell.h"
#include "support/headless_kit.h"
#include "support/map_lumps.h"
#include "support/panel_text.h"
#include "support/picture_kit.h"
#include "support/program_state.h"
#include "platform/video.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/toolkit.h"
#include "wad/master.h"

namespace {

using testkit::Bytes;

Bytes Filled(size_t size, uint8_t value) { return Bytes(size, value); }

Bytes Sprite(int width, int height, uint8_t colour) {
    return testkit::PictureLump(width, height,
                                testkit::Columns(width, {{0, Filled(height, colour)}}));
}

// One square room, its walls WALL1, a player start in the middle.
MapData Room() {
    MapData map;
    map.vertices = {{0, 0}, {0, 256}, {256, 256}, {256, 0}};
    for (uint16_t i = 0; i < 4; ++i) {
        map.sideDefs.push_back(SideDef{0, 0, "-", "-", "WALL1", 0});
        map.lineDefs.push_back(LineDef{i, uint16_t((i + 1) % 4), 1, 0, 0, i, kNoReference});
    }
    map.things = {{128, 128, 90, 1, 7}};
    return map;
}

class HereticEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = std::make_unique<testkit::HeadlessSession>();
        testkit::ResetProgramState(Flavour::Heretic);
        testkit::WadBuilder wad("IWAD");
        AddLevel(wad, "E1M1", Room());
        wad.lump("PLAYPAL", testkit::GreyPlaypal())
            .lump("TEXTURE1", testkit::TextureLump({{"WALL1", 64, 64, {{0, 0, 0}}}}))
            .lump("PNAMES", testkit::PnamesLump({"PATCH1"}))
            .lump("PATCH1", Sprite(64, 64, 40))
            .lump("F1_START")
            .lump("FLAT1", Filled(4096, 60))
            .lump("CEIL3_5", Filled(4096, 80))
            .lump("F1_END")
            .lump("S_START")
            .lump("PLAYA1", Sprite(20, 40, 100))
            .lump("S_END");
        std::string path = session->Dir().file("HERETIC.WAD");
        wad.write(path);
        SetField(config.iwadName, path.c_str());
        config.patchPath[0] = 0;
        config.lastEpisode = config.lastMap = 1;
        OpenIwad(config.iwadName);
        InstallToolkit();
        InstallEditDialogs();
        shell.editor = EditOnGraphicsScreen;
        config.infoObjects = config.infoPicture = 1;
        config.menuNesting = 1;
    }
    void TearDown() override { session.reset(); }

    // The editor on E1M1 until the script ends.
    void Run(const std::string& script) {
        session->Script(script);
        config.editMode = kObjThing;
        try {
            RunCommandLine("E 1 1");
        } catch (const ProgramExit& e) {
            EXPECT_EQ(e.code(), 3);
        }
        if (VideoActive())
            HidePointer();
    }

    std::unique_ptr<testkit::HeadlessSession> session;
};

TEST_F(HereticEditTest, PanelsAndDialogsWorkWithTheFlavoursOwnTables) {
    Run("key T\nkey N\nkey Enter\nkey 4\nkey O\nkey L\nkey N\nkey Enter\nkey 1\nkey M\nkey O\n"
        "key Esc\nwait 0\n");
    EXPECT_EQ(level.things[0].angle, 180);
    ASSERT_GE(selection.current, 0);
    EXPECT_EQ(level.lineDefs[selection.current].flags, 3);
    const PanelRect& panel = infoPanels.panels[0];
    EXPECT_TRUE(testkit::PanelLine(panel, 1, "Flags:  3 " + LineDefFlagsText(3)));
    int grey = config.colors[kColorMenu] == 8 ? 7 : 8;
    EXPECT_TRUE(testkit::PanelLine(infoPanels.sides[0], 1, "WALL1", grey, 8));
}

}  // namespace
