// The texture and flat browsers and the name choosers that open them,
// driven by keys and clicks to a known name; the pages show the textures
// composed from their patches (TEXTURE1 and TEXTURE2) and the flats as the
// plain decoder sees them.
#include <cstring>

#include "browser_fixture.h"
#include "pictures/picture.h"
#include "ui/browsers.h"
#include "ui/toolkit.h"

namespace {

using namespace browser_test;

// The names sorted: "-", A00..A09, C00..C09.
TEST_F(BrowserTest, TextureBrowserKeysAndClicksChooseTheRightName) {
    Open();
    struct Case {
        const char* what;
        const char* start;
        const char* script;
        const char* chosen;   // null: none
    } cases[] = {
        {"Enter takes the start, whatever its case", "c05", "key Enter", "C05"},
        {"an unknown start is the first name", "B", "key Right\nkey Enter", "A00"},
        {"Down moves a row of 8 at half size", nullptr, "key Down\nkey Enter", "A07"},
        {"+ makes rows of 4", nullptr, "key +\nkey Down\nkey Enter", "A03"},
        {"- goes back to rows of 8", nullptr, "key +\nkey -\nkey Down\nkey Enter", "A07"},
        {"Up stops at the first", "A01", "key Up\nkey Enter", "-"},
        {"a letter no name begins with", nullptr, "key B\nkey Enter", "A09"},
        {"a letter and Right", nullptr, "key C\nkey Right\nkey Enter", "C01"},
        {"End", nullptr, "key End\nkey Enter", "C09"},
        {"PgDn stops at the last", nullptr, "key PgDn\nkey Enter", "C09"},
        {"PgDn at full size moves a page of 4 x 3", nullptr, "key +\nkey PgDn\nkey Enter", "C01"},
        {"Home", "C03", "key Home\nkey Left\nkey Enter", "-"},
        {"a click on the third cell", nullptr, "click left 180 40", "A01"},
        {"a click between cells", nullptr, "click left 170 40\nkey Enter", "-"},
        {"Esc", "C05", "key Esc", nullptr},
        {"right click", "C05", "click right 300 200", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        browsers = BrowserState{};
        session.Script(std::string("move 639 479\n") + c.script);
        char chosen[kChosenNameSize] = "old";
        Bytes before(Screen().pixels(), Screen().pixels() + 640 * 480);
        int result = BrowseTextures(c.start, chosen);
        EXPECT_TRUE(Bytes(Screen().pixels(), Screen().pixels() + 640 * 480) == before);
        EXPECT_EQ(result, c.chosen ? 1 : 0);
        EXPECT_STREQ(chosen, c.chosen ? c.chosen : "old");
        EXPECT_EQ(toolkit.savedAreas, 0);
        EXPECT_TRUE(graphics.menuBarShown);
    }
}

TEST_F(BrowserTest, FlatBrowserShowsAndChoosesFlats) {
    Open();
    // Cells of 64 (66 apart) from (12, 16); "+" doubles them.
    session.Script("move 639 479\n" + Shot("flats.png") + "\nkey +\n" + Shot("big.png") +
                   "\nkey Right\nkey Enter");
    char chosen[kChosenNameSize] = {};
    EXPECT_EQ(BrowseFlats("FLATA", chosen), 1);
    EXPECT_STREQ(chosen, "FLATB");
    const int top = 16 + kMenuBarHeight;
    Image flats = Snapshot("flats.png"), big = Snapshot("big.png");
    for (int k = 0; k < 3; ++k) {
        Grid flat(64, 64);
        Bytes raw = Flat(10 + 60 * k);
        flat.cells.assign(raw.begin(), raw.end());
        EXPECT_TRUE(Shows(flats, 12 + 66 * k, top, 64, 64, flat, 1, 0)) << k;
        EXPECT_TRUE(Shows(big, 12 + 130 * k, top, 128, 128, flat, 2, 0)) << k;
    }
    browsers = BrowserState{};
    session.Script("click left 150 40");
    EXPECT_EQ(BrowseFlats("FLATA", chosen), 1);
    EXPECT_STREQ(chosen, "FLATC");
}

TEST_F(BrowserTest, ChoosersTakeATypedNameOrTheBrowsersChoice) {
    Open();
    struct Case {
        const char* what;
        bool flats;
        const char* script;
        const char* result;   // "" cancelled
    } cases[] = {
        {"typed", false, "key Backspace\nkey Backspace\nkey Backspace\ntype C05\nkey Enter", "C05"},
        {"browser left with Esc", false, "key F1\nkey End\nkey Esc\nkey Enter", "A03"},
        {"cancelled", false, "key Esc", ""},
        {"flat typed", true, "key Backspace\nkey C\nkey Enter", "FLATC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        session.Script(c.script);
        const NameList& names = c.flats ? nameLists.FlatNames : nameLists.TextureNames;
        char text[16];
        std::strcpy(text, c.flats ? "FLATA" : "A03");
        int result = c.flats ? ChooseFlat(kCentred, kCentred, WindowSave::Always, "Floor", names.count(),
                                          names.names(), text)
                             : ChooseTexture(kCentred, kCentred, WindowSave::Always, "Upper", names.count(),
                                             names.names(), text);
        EXPECT_EQ(result, c.result[0] ? 1 : 0);
        EXPECT_STREQ(text, c.result);
        EXPECT_EQ(toolkit.savedAreas, 0);
        EXPECT_EQ(pictures.pictureMag, 1);
    }
}

}  // namespace
