// The settings dialogs, driven through their keys: each setting changed ends
// up in the configuration file the dialog writes when it closes.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/flavour.h"
#include "level/level.h"
#include "pictures/namelists.h"
#include "pictures/picture.h"
#include "support/picture_kit.h"
#include "toolkit_fixture.h"
#include "ui/first_setup.h"
#include "ui/settings_dialogs.h"

namespace {

class SettingsTest : public toolkit_test::ToolkitTest {
protected:
    // The record as the file holds it (the one in memory is replaced); the
    // working directory starts without one.
    const ConfigRecord& Written() {
        ResetConfig();
        EXPECT_EQ(LoadConfig(), 1) << "no configuration file written";
        return config;
    }
    void Run(void (*dialog)(int, int), const std::string& keys) {
        session.Script(keys);
        dialog(kCentred, kCentred);
        ExpectRestored();
    }
};

// Everything typed arrives in upper case.
std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Repeat(const std::string& keys, int times) {
    std::string all;
    for (int i = 0; i < times; ++i)
        all += keys;
    return all;
}

TEST_F(SettingsTest, OptionsToggleEverySwitchAndChooseTheVideoModeOnlyWithOk) {
    ConfigRecord before = config;
    // Space toggles the marked box, Tab marks the next; "3" the third mode; Alt-O is Ok.
    Run(OptionsDialog, Repeat("key Space\nkey Tab\n", 21) + "key 3\nkey Alt-O\nkey Enter\n");
    const ConfigRecord& after = Written();
    int16_t ConfigSettings::*switches[] = {
        &ConfigSettings::soundSelection, &ConfigSettings::soundErrors,   &ConfigSettings::lineDefSplit,
        &ConfigSettings::selectObject0,  &ConfigSettings::additiveSelect, &ConfigSettings::autoLoad,
        &ConfigSettings::autoStart,      &ConfigSettings::gridDashed,    &ConfigSettings::selectDashed,
        &ConfigSettings::infoObjects,    &ConfigSettings::infoPicture,   &ConfigSettings::autoInsertSector,
        &ConfigSettings::responseFile,   &ConfigSettings::vertexArrows,  &ConfigSettings::snapCursor,
        &ConfigSettings::expertMode,     &ConfigSettings::mapBorder,     &ConfigSettings::thingPicture,
        &ConfigSettings::menuNesting,    &ConfigSettings::exitHandOff};
    for (auto field : switches)
        EXPECT_EQ(after.*field, !(before.*field)) << (&(after.*field) - &after.soundSelection);
    EXPECT_EQ(after.lineThickness, 3);
    EXPECT_EQ(after.videoMode, 3);

    // Cancel keeps everything, and still writes the file.
    Run(OptionsDialog, "key Space\nkey 2\nkey Esc\n");
    EXPECT_EQ(Written().videoMode, 3);
    EXPECT_EQ(config.soundSelection, !before.soundSelection);
}

// DOOM's target boxes come after the switches, modes and files: the level
// being edited takes the one ticked, and so do new levels; Cancel keeps both.
TEST_F(SettingsTest, TheTargetGoesToTheLevelAndToNewLevels) {
    SetFlavour(Flavour::Doom);
    const std::string kToBoom = Repeat("key Tab\n", 31) + "key Space\n";
    level.markerIndex = -1;   // no level is being edited
    Run(OptionsDialog, kToBoom + "key Alt-O\n");
    EXPECT_EQ(level.newLevelTarget, MapTarget::Boom);
    EXPECT_EQ(level.target, MapTarget::Original);
    level.markerIndex = 0;
    level.target = MapTarget::Mbf21;
    Run(OptionsDialog, kToBoom + "key Esc\n");
    EXPECT_EQ(level.target, MapTarget::Mbf21);
    Run(OptionsDialog, Repeat("key Tab\n", 29) + "key Space\nkey Alt-O\n");
    EXPECT_EQ(level.target, MapTarget::Original);
    EXPECT_EQ(level.newLevelTarget, MapTarget::Original);
}

TEST_F(SettingsTest, OptionsTakeOnlyFilesOfTheRightKind) {
    const testkit::ScratchDir& dir = session.Dir();
    testkit::WriteFileBytes(dir.file("game.wad"), testkit::Bytes{'I', 'W', 'A', 'D', 0, 0, 0, 0});
    testkit::WriteFileBytes(dir.file("patch.wad"), testkit::Bytes{'P', 'W', 'A', 'D', 0, 0, 0, 0});
    testkit::WriteFileBytes(dir.file("my.hlp"), testkit::Bytes{'*', 'H', 'L', 'P', '\n'});
    std::string oldIwad = config.iwadName, oldHelp = config.helpFile;
    // The file of a button, typed into its box; each refusal and each change
    // is a box closed with Enter.
    auto file = [&](const char* key, const std::string& name) {
        return std::string("key ") + key + "\ntype " + dir.file(name) + "\nkey Enter\nkey Enter\n";
    };
    Run(OptionsDialog,
        file("5", "nothing.wad") + file("5", "patch.wad") + file("7", "game.wad") + "key Alt-O\n");
    EXPECT_EQ(std::string(Written().iwadName), oldIwad);
    EXPECT_EQ(std::string(config.helpFile), oldHelp);
    Run(OptionsDialog, file("5", "game.wad") + file("7", "my.hlp") + file("6", "maps") + "key Alt-O\n");
    // Typed names are upper case; the files are found ignoring case.
    EXPECT_EQ(std::string(Written().iwadName), Upper(dir.file("game.wad")));
    EXPECT_EQ(std::string(config.helpFile), Upper(dir.file("my.hlp")));
    EXPECT_EQ(std::string(config.patchPath), Upper(dir.file("maps")) + "/");
}

// Fields of mixed types, to compare with one list of numbers.
template <typename... Field>
std::vector<double> Doubles(Field... fields) {
    return {static_cast<double>(fields)...};
}

TEST_F(SettingsTest, ZoomMouseMapStoresEveryFieldAndTheZoomsAsFactors) {
    const char* values[] = {"7", "2", "300", "5", "20", "80", "400", "250", "4000", "3", "1", "60", "600", "1200"};
    std::string keys;
    for (const char* value : values)
        keys += std::string("type ") + value + "\nkey Tab\n";
    // The last field stays at 1200: 5 is out of range, Enter is refused, Esc leaves.
    Run(ZoomMouseMapDialog, keys + "type 5\nkey Enter\nkey Esc\n");
    const ConfigRecord& c = Written();
    EXPECT_EQ(Doubles(c.selectRange, c.overlapTolerance, c.rulerRadius, c.thingFillPattern, c.scrollSpeed,
                      c.mouseSensitivity, c.clickSpeed, c.clickSpeedCopy, c.lowerZoom, c.upperZoom,
                      c.paletteNumber, c.bottomTextureMagnify, c.beepBrowseFreq, c.beepSelectFreq,
                      c.beepErrorFreq),
              (std::vector<double>{7, 2, 300, 5, 20, 80, 400, 400, 0.25, 4, 3, 1, 60, 600, 1200}));
}

TEST_F(SettingsTest, ColoursOfRolesAndTheStatusTextThatFollowsTheMenuColour) {
    // Mouse: colour 4 (item 5); MenuColor (third role): colour 7 (item 8).
    Run(ColorsDialog, "key Home\nkey Enter\nkey 5\nkey Down\nkey Down\nkey Enter\nkey 8\nkey Esc\n");
    EXPECT_EQ(Written().colors[kColorMouse], 4);
    EXPECT_EQ(config.colors[kColorMenu], 7);
    EXPECT_EQ(config.colorStatusText, 15);
}

TEST_F(SettingsTest, PaletteIndexesAndGammaWithinTheirLimits) {
    session.OpenPaletteIwad();   // "+" and "-" load the palette again
    config.gamma = 8;
    // BLUE (second colour): End is 255, Up 254; then 40 times "+" on the gamma.
    Run(PaletteColorsDialog, "key Down\nkey Enter\nkey End\nkey Up\nkey Enter\n"
                             "key Enter\n" + Repeat("key +\n", 40) + "key PgUp\nkey Esc\nkey Esc\n");
    EXPECT_EQ(Written().colorMap[1], 254);
    EXPECT_EQ(config.gamma, 30);
}

TEST_F(SettingsTest, DefaultsTakeChosenNamesHeightsAndThingType) {
    using testkit::Bytes;
    testkit::OpenPictureIwad(session.Dir(),
                             {{"TEXTURE1", testkit::TextureLump({{"BRICK1", 8, 8, {}}, {"STARTAN3", 8, 8, {}}})},
                              {"F_START", {}}, {"F1_START", {}}, {"FLOOR0_1", Bytes(4096, 50)},
                              {"NUKAGE1", Bytes(4096, 60)}, {"F1_END", {}}, {"F_END", {}}},
                             testkit::GreyPlaypal());
    BuildTextureNames();
    BuildFlatNames();
    config.menuNesting = 0;
    config.defaultThingType = 11;   // the Player Starts, DEATHMATCH Start highlighted
    // Upper texture typed, floor flat from the browser (F1), a cancelled
    // choice, a browser left with Esc, heights, the Thing type from its chooser.
    Run(DefaultsDialog, "key 1\n" + Repeat("key Backspace\n", 8) + "type STARTAN3\nkey Enter\n"
                        "key 4\nkey F1\nkey End\nkey Enter\nkey Enter\n"
                        "key 2\nkey Esc\n"
                        "key 1\nkey F1\nkey Home\nkey Esc\nkey Enter\n"
                        "key 6\ntype -16\nkey Tab\ntype 200\nkey Enter\n"
                        "key F\nkey Enter\nkey Down\nkey Enter\nkey Esc\n");
    EXPECT_EQ(pictures.pictureMag, 1);   // as it was before the browsers
    const ConfigRecord& c = Written();
    EXPECT_STREQ(c.textureUpper, "STARTAN3");
    EXPECT_STREQ(c.flatFloor, "NUKAGE1");
    EXPECT_STREQ(c.textureNormal, DefaultConfig().textureNormal);
    EXPECT_EQ(c.defaultFloor, -16);
    EXPECT_EQ(c.defaultCeiling, 200);
    EXPECT_EQ(c.defaultThingType, 14);
}

// The first-time setup asks for the files through the options dialog and
// leaves the graphics screen.
TEST_F(SettingsTest, FirstTimeSetupSetsTheFilesInTheOptionsDialog) {
    InstallSettingsDialogs();
    CloseGraphics();
    config.videoMode = 3;
    session.Script("key F1\nkey 6\ntype /MAPS\nkey Enter\nkey Enter\nkey Enter\nkey Enter\n");
    GraphicalFirstTimeSetup();
    EXPECT_EQ(graphics.graphicsMode, 0);
    EXPECT_EQ(toolkit_test::HelpAsked(), std::vector<std::string>{"INSTALL"});
    EXPECT_STREQ(Written().patchPath, "/MAPS/");
    EXPECT_EQ(config.videoMode, 1);
}

}  // namespace
