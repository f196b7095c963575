#include "view3d/preview3d_things.h"

#include <string>

#include "base/command_words.h"
#include "base/flavour.h"

namespace {

constexpr int kDefaultSkill = 3;
constexpr int kMultiplayerOnly = 0x0010;
constexpr int kDeathmatchStart = 11;
constexpr int kLastPlayerStart = 4;
constexpr int kTeleportLanding = 14;

// Skills 1 and 2 share the easy flag, 4 and 5 the hard one.
int SkillFlag(int skill) { return skill <= 2 ? 0x0001 : skill == 3 ? 0x0002 : 0x0004; }

// Things the game places but never draws.
bool NeverDrawn(int type) {
    if (type == kTeleportLanding)
        return true;
    if (IsHeretic())   // the Sorcerer's spots, wind and waterfall sounds, ambient sounds
        return type == 56 || type == 41 || type == 42 || (type >= 1200 && type < 1300);
    return type == 87 || type == 89;   // the boss's spawn spots and spawner
}

}  // namespace

int TestPlaySkill(const char* options) {
    CommandWords words(options);
    std::string word;
    while (words.Next(word))
        if (SameWordIgnoringCase(word, "-skill")) {
            std::string value = words.Peek();
            return !value.empty() && value[0] >= '1' && value[0] <= '5' ? value[0] - '0' : kDefaultSkill;
        }
    return kDefaultSkill;
}

bool OnePlayerSees(int type, int flags, int skill) {
    if ((type >= 1 && type <= kLastPlayerStart) || type == kDeathmatchStart || NeverDrawn(type))
        return false;
    return (flags & kMultiplayerOnly) == 0 && (flags & SkillFlag(skill)) != 0;
}

void ChoosePreviewThings(PreviewScene& scene, const PreviewThings& things) {
    for (PreviewScene::Sprite& sprite : scene.sprites)
        sprite.shown = things.set == PreviewThingSet::All || OnePlayerSees(sprite.type, sprite.flags, things.skill);
}
