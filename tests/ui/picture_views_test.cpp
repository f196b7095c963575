// Pictures, flats and textures on the headless screen: the failure cross
// instead of a crash and never a pixel outside the box.
#include <algorithm>
#include <random>

#include "support/picture_kit.h"
#include "toolkit_fixture.h"
#include "ui/picture_views.h"

namespace {

using namespace testkit;
using namespace toolkit_test;

constexpr int kPaint = 251;   // the screen's colour before drawing

class PictureViewTest : public ToolkitTest {
protected:
    // A fresh master directory of an IWAD of the lumps and a grey PLAYPAL,
    // graphics with its palette, the whole screen painted kPaint.
    void OpenBuilt(const Lumps& lumps) {
        CloseGraphics();
        OpenPictureIwad(session.Dir(), lumps, GreyPlaypal());
        InitGraphics(GraphicsPalette::Game);
        SetMenuBarMode(MenuBarMode::Hidden);
        std::fill(Screen().pixels(), Screen().pixels() + 640 * 480, kPaint);
        before = Copy();
    }
};

// A 4 x 4 patch of one colour.
Bytes Patch(uint8_t colour) { return PictureLump(4, 4, Columns(4, {{0, Bytes(4, colour)}})); }

// The bytes with part written over them at `at`.
Bytes With(Bytes bytes, size_t at, const Bytes& part) {
    std::copy(part.begin(), part.end(), bytes.begin() + static_cast<long>(at));
    return bytes;
}

// The bytes cut or grown (with zeros) to size; a negative size takes that many off.
Bytes Resized(Bytes bytes, long size) {
    bytes.resize(static_cast<size_t>(size < 0 ? static_cast<long>(bytes.size()) + size : size));
    return bytes;
}

// TEXTURE1 holding texture TEX, 64 high, of the patches {x, y, number}.
Bytes Tex(int width, const Patches& patches) { return TextureLump({{"TEX", width, 64, patches}}); }

// The TEXTURE1 with patch A (a 4 x 4 patch of colour 10) as patch 0 and a
// name of no lump as patch 1.
Lumps Textures(const Bytes& texture1) {
    return {{"TEXTURE1", texture1}, {"A", Patch(10)}, {"PNAMES", PnamesLump({"A", "NOPATCH"})}};
}

TEST_F(PictureViewTest, DamagedLumpsShowTheCrossAndNeverDrawOutsideTheBox) {
    const Bytes post = PictureLump(1, 30, {{{2, Bytes(20, 90)}}});   // one post of 20 pixels from row 2
    const Bytes longFlat = With(Bytes(5000, 250), 0, Bytes(4096, 7));
    // Column 1 of a patch far beyond the lump, column 2 at -1.
    const Bytes columnsOutside = With(Patch(10), 12, {0x7F, 0x7F, 0x7F, 0x7F, 0xFF, 0xFF, 0xFF, 0xFF});
    const Bytes threePosts = PictureLump(1, 200, {{{0, Bytes(255, 60)}, {0, Bytes(255, 61)}, {0, Bytes(255, 62)}}});
    // Picture PIC ('p'), flat PIC ('f') or texture TEX ('t') drawn in the
    // box: what the drawing returns, the logical colour of the cross (0: none),
    // the text in red under it, and a pixel {x, y, colour} of the box that is
    // drawn all the same.
    struct Damaged { const char* what; Lumps lumps; char kind; int result, cross; const char* text;
                     std::vector<int> drawn; };
    const Damaged table[] = {
        {"too wide", {{"PIC", PictureLump(321, 10, Columns(321))}}, 'p', kDrawFailed, 4, " not image ", {}},
        {"header only", {{"PIC", {4, 0, 6, 0}}}, 'p', kDrawFailed, 4, " not image ", {}},
        {"column table past the end", {{"PIC", Resized(Patch(10), 14)}}, 'p', kDrawFailed, 4, " not image ", {}},
        {"negative height", {{"PIC", With(Patch(10), 3, {0xFF})}}, 'p', kDrawFailed, 4, " not image ", {}},
        {"beyond free memory", {{"PIC", Resized(Patch(10), 300000)}}, 'p', kDrawFailed, 4, "no memory", {}},
        {"columns outside the lump", {{"PIC", columnsOutside}}, 'p', kDrawFailed, 4, "", {3, 3, 10}},
        {"post cut after 5 pixels", {{"PIC", Resized(post, 8 + 4 + 3 + 5)}}, 'p', kDrawFailed, 4, "", {0, 6, 90}},
        {"cut in a post's head", {{"PIC", Resized(post, 8 + 4 + 1)}}, 'p', kDrawFailed, 4, "", {}},
        {"a third post past the 512 bytes of a column", {{"PIC", threePosts}}, 'p', kDrawn, 0, "", {0, 199, 61}},
        {"missing flat: a grey cross", {}, 'f', kNotDrawn, 8, "", {}},
        {"short flat", {{"PIC", Bytes(4095, 3)}}, 'f', kDrawFailed, 4, "", {}},
        {"long flat: its first 4096 bytes", {{"PIC", longFlat}}, 'f', kDrawn, 0, "", {63, 63, 7}},
        {"patch number beyond PNAMES", Textures(Tex(64, {{0, 0, 0}, {4, 0, 7}})), 't', kDrawFailed, 4, "", {3, 3, 10}},
        {"negative patch number", Textures(Tex(64, {{0, 0, -1}})), 't', kDrawFailed, 4, "", {}},
        {"patch of no lump", Textures(Tex(64, {{0, 0, 1}})), 't', kDrawFailed, 4, "", {}},
        {"texture without width", Textures(Tex(0, {{0, 0, 0}})), 't', kDrawFailed, 4, "", {}},
        {"patch list cut in its second entry", Textures(Resized(Tex(64, {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}}), -15)),
         't', kDrawFailed, 4, "", {3, 0, 10}},
        {"no PNAMES", {{"TEXTURE1", Tex(64, {{0, 0, 0}})}, {"A", Patch(10)}}, 't', kDrawFailed, 4, "", {}},
        {"texture count far beyond the lump", Textures(With(Tex(64, {{0, 0, 0}}), 0, {0xFF, 0xFF, 0xFF, 0x0F})),
         't', kDrawn, 0, "", {0, 0, 10}},
        {"texture record outside the lump", Textures(With(Tex(64, {{0, 0, 0}}), 4, {0xF0, 0xFF, 0, 0})),
         't', kNotDrawn, 0, "", {}},
        {"a patch at the largest x origin", Textures(Tex(64, {{0, 0, 0}, {32767, 0, 0}})), 't', kDrawn, 0, "",
         {0, 0, 10}},
    };
    const int x1 = 50, y1 = 20, x2 = 249, y2 = 239;
    for (const Damaged& d : table) {
        SCOPED_TRACE(d.what);
        OpenBuilt(d.lumps);
        pictures = PictureState{};   // read anew: the lumps may lie where the last row's did
        pictures.freeMemory = [] { return int64_t{200000}; };
        const int result = d.kind == 'p'   ? DrawPicture(x1, y1, x2, y2, nullptr, "PIC", 0, 0, 1, 8,
                                                         PictureAnchor::Corner)
                           : d.kind == 'f' ? DrawFlat(x1, y1, x2, y2, "PIC", 1)
                                           : DrawTexture(x1, y1, x2, y2, "TEX", "+");
        EXPECT_EQ(result, d.result);
        EXPECT_EQ(ChangedOutside(before, Copy(), x1, y1, x2, y2), "");
        const int inset = d.kind == 'f' ? 2 : 8, cross = MapColor(d.cross);
        EXPECT_TRUE(!d.cross || (At(x1 + inset, y1 + inset) == cross && At(x2 - inset, y2 - inset) == cross &&
                                 At(x1 + inset, y2 - inset) == cross));
        const Pixels drawn = Copy();
        Screen().setcolor(MapColor(4));
        Screen().outtextxy(x1 + graphics.charW2, y1 + graphics.lineH, d.text);
        EXPECT_TRUE(Copy() == drawn) << "no text \"" << d.text << "\"";
        EXPECT_TRUE(d.drawn.empty() || At(x1 + d.drawn[0], y1 + d.drawn[1]) == d.drawn[2]);
    }
}

TEST_F(PictureViewTest, RandomDamageNeverLeavesTheBox) {
    // A picture and a texture of it with random bytes changed, cut or grown:
    // whatever happens, nothing outside the box changes.
    const Bytes good[3] = {PictureLump(24, 40, Columns(24, {{3, Bytes(10, 30)}, {20, Bytes(5, 80)}})),
                           TextureLump({{"TEX", 40, 50, {{0, 0, 0}, {20, -5, 0}, {-4, 30, 1}}}}),
                           PnamesLump({"PIC", "PIC"})};
    std::mt19937 random(1234);
    auto damaged = [&](Bytes bytes) {
        for (int k = 1 + static_cast<int>(random() % 8); k > 0; --k)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        bytes.resize(random() % 2 ? bytes.size() : random() % (bytes.size() + 600), static_cast<uint8_t>(random()));
        return bytes;
    };
    for (int round = 0; round < 300; ++round) {
        int which = round % 3;
        OpenBuilt({{"PIC", which == 0 ? damaged(good[0]) : good[0]},
                   {"TEXTURE1", which == 1 ? damaged(good[1]) : good[1]},
                   {"PNAMES", which == 2 ? damaged(good[2]) : good[2]}});
        pictures = PictureState{};   // read anew: the lumps may lie where the last round's did
        pictures.pictureMag = static_cast<int16_t>(random() % 7) - 3;
        which == 0 ? DrawPicture(100, 100, 219, 219, nullptr, "PIC", 0, 0, pictures.pictureMag, 8,
                                 PictureAnchor::Corner)
                   : DrawTexture(100, 100, 219, 219, "TEX", "+");
        ASSERT_EQ(ChangedOutside(before, Copy(), 100, 100, 219, 219), "") << round;
    }
}

}  // namespace
