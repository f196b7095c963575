// Sprites and pictures on the screen: a Thing's sprite in a box (panels,
// dialogs, the Thing type chooser), the shell's sprite and picture viewers,
// the level chooser's animation and the sprite show of the editor's start
// and screen saver.
#pragma once

// What the viewers, the animation and the show keep for the run.
struct SpriteViewState {
    int spriteMag = 1;      // the sprite viewer's magnification
    int pictureMag = 2;     // the picture viewer's
    int missionFrame = 0;   // the level chooser's animation goes on from here
    int showIndex = 0;      // selects the pictures of the next entry scene
};

extern SpriteViewState spriteViews;

// Draws the sprite name centred in the box (x1, y1)-(x2, y2) on dark grey,
// shrunk (halved, thirded...) until it fits. A name the WAD files lack is
// looked up as a rotation lump of the same frame ("TROOA1" found as
// "TROOA1A8"); when that fails too the box stays empty. Returns kDrawn,
// kNotDrawn or kDrawFailed (pictures/picture.h).
int DrawSpriteBox(int x1, int y1, int x2, int y2, const char* name);

// The shell's viewers: a list chooser at (x, y) (kCentred: centred) of every
// sprite (between S_START and S_END) or every picture (the entries from
// TEXTURE1 on that look like pictures), with a 540 x 400 preview, starting at
// the first name not less than start (null: the first name). + and - change
// the magnification, kept for the run.
void SpriteViewer(int x, int y, const char* title, const char* start);
void PictureViewer(int x, int y, const char* title, const char* start);

// The level chooser's preview: monster frames one after the other in the
// box until a key or a mouse button is pressed; the next call goes on where
// this one stopped. Nothing without a name.
void MissionAnimation(int x1, int y1, int x2, int y2, const char* name);

enum class SpriteShowStyle {
    EntryScene,    // a still scene of the game's pictures (the editor without a level)
    ScreenSaver,   // monsters moving until a key is pressed
};
// Every few entry scenes end in the screen saver.
void SpriteShow(SpriteShowStyle style);
