// The texture and flat choosers on the headless screen, and the progress box
// while the picture names are built.
#include <cstring>

#include "base/config.h"
#include "pictures/picture.h"
#include "support/picture_kit.h"
#include "toolkit_fixture.h"
#include "ui/name_choosers.h"
#include "wad/master.h"

namespace toolkit_test {
namespace {

using testkit::Bytes;

class NameChooserTest : public ToolkitTest {
protected:
    void TearDown() override {
        FreeNameLists();
        choosers = ChooserState{};
        pictures = PictureState{};
    }
    void Open(const testkit::WadBuilder& wad) {
        std::string path = session.Dir().file("names.wad");
        wad.write(path);
        SetField(config.iwadName, path.c_str());
        OpenIwad(config.iwadName);
    }
};

TEST_F(NameChooserTest, ChoosersReturnTheNameChosenAndKeepTheirMagnification) {
    testkit::WadBuilder wad("IWAD");
    wad.level("MAP01").lump("TEXTURE1", testkit::TextureLump({{"BRICK", 0, 0, {}}, {"STARTAN3", 0, 0, {}},
                                                              {"WOOD1", 0, 0, {}}}));
    wad.lump("PNAMES", Bytes{0, 0, 0, 0});
    wad.lump("F1_START").lump("FLAT1", Bytes(4096, 3)).lump("FLAT2", Bytes(4096, 4)).lump("F1_END");
    Open(wad);
    BuildTextureNames();
    BuildFlatNames();
    pictures.PictureMag = 5;
    char text[9] = "";
    session.Script("type STA\nkey Enter\ntype RTAN3\nkey Enter");
    EXPECT_EQ(ChooseTexture(-1, -1, 0, "Normal texture", nameLists.TextureNames.count(),
                            nameLists.TextureNames.names(), text),
              1);
    EXPECT_STREQ(text, "STARTAN3");
    EXPECT_EQ(pictures.PictureMag, 5);

    session.Script("key Esc");
    EXPECT_EQ(ChooseFlat(-1, -1, 0, "Floor", nameLists.FlatNames.count(), nameLists.FlatNames.names(), text),
              0);
    // F1 hands the current name to the flat browser and takes its answer.
    static int shownMag;
    choosers.flatBrowser = [](char* name) {
        shownMag = pictures.PictureMag;
        std::strcpy(name, "FLAT2");
        return 1;
    };
    std::strcpy(text, "FLAT1");
    session.Script("key F1\nkey Enter");
    EXPECT_EQ(ChooseFlat(-1, -1, 0, "Floor", nameLists.FlatNames.count(), nameLists.FlatNames.names(), text),
              1);
    EXPECT_STREQ(text, "FLAT2");
    EXPECT_EQ(shownMag, 2);
    ExpectRestored();
}

TEST_F(NameChooserTest, PictureNamesProgressShowsInItsBoxOnlyOnTheGraphicsScreen) {
    Bytes picture;
    for (int value : {8, 8, 0, 0})
        testkit::PutLE16(picture, value);
    testkit::WadBuilder wad("IWAD");
    wad.level("MAP01").lump("TEXTURE1", Bytes(4, 0)).lump("PIC1", picture).lump("PIC2", picture);
    Open(wad);
    NameList names;
    PictureNamesProgress progress;
    BuildPictureNames(names, &progress);
    EXPECT_EQ(names.count(), 2);
    // Only the box around the centre of the screen stays, its face grey.
    const int left = graphics.CenterX - 10 * graphics.CharW, right = graphics.CenterX + 10 * graphics.CharW;
    const int top = graphics.CenterY - graphics.CharH, bottom = graphics.CenterY + 2 * graphics.CharH;
    Box changed = Difference(before, Copy());
    EXPECT_FALSE(changed.empty());
    EXPECT_TRUE(changed.within(left, top, right, bottom));
    EXPECT_EQ(At(left + 5, top + 5), MapColor(7));

    CloseGraphics();
    const Pixels shown = Copy();
    const std::string console = session.Console();
    BuildPictureNames(names, &progress);
    EXPECT_EQ(Copy(), shown);
    EXPECT_EQ(session.Console(), console);
}

}  // namespace
}  // namespace toolkit_test
