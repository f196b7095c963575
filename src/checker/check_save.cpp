// The box before a save that lists what the game cannot load or play as it
// is.
#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "base/flavour.h"
#include "base/format.h"
#include "gamedefs/port_types.h"
#include "level/level.h"
#include "pictures/name_keys.h"
#include "checker/checks.h"
#include "checker/limits_check.h"
#include "pictures/namelists.h"

namespace {

constexpr size_t kListedFindings = 8;
constexpr int16_t kPlayer1Start = 1;

struct Finding {
    std::string text;
    int kind, n;
};

void References(std::vector<Finding>& found) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (!ValidVertex(ld.start) || !ValidVertex(ld.end))
            found.push_back({Format("LineDef %d names a Vertex that does not exist", l), kObjLineDef, l});
        if (ld.sideDef1 == kNoReference)
            found.push_back({Format("LineDef %d has no first SideDef", l), kObjLineDef, l});
        for (uint16_t side : {ld.sideDef1, ld.sideDef2})
            if (side != kNoReference && !ValidSideDef(side))
                found.push_back({Format("LineDef %d names SideDef %d, which does not exist", l, side), kObjLineDef, l});
    }
    for (int s = 0; s < level.sideDefs.count; ++s)
        if (!ValidSector(level.sideDefs[s].sector))
            found.push_back({Format("SideDef %d names Sector %d, which does not exist", s, level.sideDefs[s].sector),
                             kObjSideDef, s});
}

// Names the game's files do not have, each once: the first object that uses
// it and how many more do.
class UnknownNames {
public:
    UnknownNames(const char* what, int kind) : what_(what), kind_(kind) {}
    void Use(const char* field, int n) {
        Seen& seen = names_[FieldName(field)];
        if (seen.count++ == 0)
            seen.first = n;
    }
    void Report(std::vector<Finding>& found) const {
        for (const auto& [name, seen] : names_) {
            std::string more = seen.count > 1 ? Format(" (and %d more)", seen.count - 1) : "";
            found.push_back({Format("%s %d: %s \"%s\" is not in the game's files%s", ObjectTypeName(kind_), seen.first,
                                    what_, name.c_str(), more.c_str()),
                             kind_, seen.first});
        }
    }

private:
    struct Seen {
        int first = 0, count = 0;
    };
    const char* what_;
    int kind_;
    std::map<std::string, Seen> names_;
};

// Without the lists (no IWAD read) nothing can be said of the names.
void Names(std::vector<Finding>& found) {
    if (nameLists.TextureNames.count() > 0) {
        NameSet textures(nameLists.TextureNames);
        UnknownNames unknown("texture", kObjSideDef);
        for (int s = 0; s < level.sideDefs.count; ++s)
            for (const char* field : {level.sideDefs[s].upper, level.sideDefs[s].lower, level.sideDefs[s].middle})
                if (!textures.Has(field))
                    unknown.Use(field, s);
        unknown.Report(found);
    }
    if (nameLists.FlatNames.count() > 0) {
        NameSet flats(nameLists.FlatNames);
        UnknownNames unknown("flat", kObjSector);
        for (int s = 0; s < level.sectors.count; ++s)
            for (const char* field : {level.sectors[s].floorTexture, level.sectors[s].ceilingTexture})
                if (!flats.Has(field))
                    unknown.Use(field, s);
        unknown.Report(found);
    }
}

void PlayerStarts(std::vector<Finding>& found) {
    int starts = 0, second = -1;
    for (int t = 0; t < level.things.count; ++t)
        if (level.things[t].type == kPlayer1Start && ++starts == 2)
            second = t;
    if (starts > 1)
        found.push_back({Format("%d Player 1 starts: the extra ones become voodoo dolls", starts), kObjThing, second});
}

// What the level holds that its target's engine stops on or plays another
// way (Things and Sector types it does not know, flags it ignores), or that
// engines take for a map of an old editor: each kind once, with the first
// object that has it and how many more do. A LineDef type the engine does not
// know only does nothing: the checker names those.
class PortUses {
public:
    void Use(int kind, int n, const std::string& what) {
        Seen& seen = uses_[{kind, what}];
        if (seen.count++ == 0)
            seen.first = n;
    }
    void Report(std::vector<Finding>& found) const {
        for (const auto& [key, seen] : uses_) {
            std::string more = seen.count > 1 ? Format(" (and %d more)", seen.count - 1) : "";
            found.push_back({Format("%s %d %s%s", ObjectTypeName(key.first), seen.first, key.second.c_str(),
                                    more.c_str()),
                             key.first, seen.first});
        }
    }

private:
    struct Seen {
        int first = 0, count = 0;
    };
    std::map<std::pair<int, std::string>, Seen> uses_;
};

// "needs a level for Boom" when a port's value is above the level's target.
void UseAbove(PortUses& uses, int kind, int n, const char* what, std::optional<MapTarget> needs) {
    if (needs && !TargetAllows(level.target, *needs))
        uses.Use(kind, n, Format("has %s for %s", what, MapTargetName(*needs)));
}

void PortValues(std::vector<Finding>& found) {
    if (IsHeretic())
        return;
    PortUses uses;
    for (int t = 0; t < level.things.count; ++t) {
        const Thing& thing = level.things[t];
        uint16_t flags = static_cast<uint16_t>(thing.flags);
        UseAbove(uses, kObjThing, t, "a type", ThingTypeNeeds(static_cast<uint16_t>(thing.type)));
        UseAbove(uses, kObjThing, t, "flags", ThingFlagsNeed(flags & ~kReservedThingFlag));
        if (flags & kReservedThingFlag)
            uses.Use(kObjThing, t, "has flag 256: engines then drop its other new flags");
    }
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        uint16_t flags = static_cast<uint16_t>(ld.flags);
        UseAbove(uses, kObjLineDef, l, "flags", LineDefFlagsNeed(flags & ~kReservedLineDefFlag));
        if (flags & kReservedLineDefFlag)
            uses.Use(kObjLineDef, l, "has flag 2048: engines then drop its flags above 256");
    }
    for (int s = 0; s < level.sectors.count; ++s)
        UseAbove(uses, kObjSector, s, "a type", SectorTypeNeeds(static_cast<uint16_t>(level.sectors[s].type)));
    uses.Report(found);
}

// The places where the game stops (the scan is made unless the level
// stands as scanned; Esc skips it); walls or Things left undrawn do not stop
// a save.
void EngineLimits(std::vector<Finding>& found, CheckDialogs& dialogs) {
    LimitFindings limits;
    FindEngineLimits(dialogs, limits, LimitKinds::StoppingTheGame);
    for (const std::string& line : limits.lines)
        found.push_back({line, kObjSector, std::max(limits.sector, 0)});
}

}  // namespace

bool CheckUnplayable(CheckDialogs& dialogs) {
    std::vector<Finding> found;
    References(found);
    Names(found);
    PlayerStarts(found);
    PortValues(found);
    // The ports lift the original engine's static limits.
    if (level.target == MapTarget::Original)
        EngineLimits(found, dialogs);
    if (found.empty())
        return true;
    std::vector<std::string> lines = {"The game cannot use this level as it is:"};
    for (size_t i = 0; i < found.size() && i < kListedFindings; ++i)
        lines.push_back(found[i].text);
    if (found.size() > kListedFindings)
        lines.push_back(Format("and %zu more", found.size() - kListedFindings));
    lines.push_back("Continue saves it all the same.");
    return dialogs.VerifyList("Warning", lines, found.front().kind, found.front().n);
}
