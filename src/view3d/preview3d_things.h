// Which Things the 3D view draws. By default what one player sees in a
// single-player game at a skill: the Things of that skill that are not
// kept for multiplayer games, no player or deathmatch starts (the camera
// is the player) and none that the game never draws (teleport landings,
// sound sources, spawn spots). Or every Thing, as the map shows them.
#pragma once

#include "view3d/preview3d_render.h"

enum class PreviewThingSet { OnePlayer, All };

struct PreviewThings {
    PreviewThingSet set = PreviewThingSet::OnePlayer;
    int skill = 3;   // 1 .. 5
};

// The skill the test play options choose ("-skill N", as the game reads
// it: the first digit after the option, 1 .. 5); 3, the game's own default,
// without one.
int TestPlaySkill(const char* options);

// Whether one player at skill (1 .. 5) sees a Thing of this type and flags
// in the current flavour's game.
bool OnePlayerSees(int type, int flags, int skill);

// Marks the scene's sprites shown or hidden.
void ChoosePreviewThings(PreviewScene& scene, const PreviewThings& things);
