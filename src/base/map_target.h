// The game a DOOM level is made for. The original games hold a level to
// their engine's static limits and know only their own types; the ports lift
// the limits (limit-removing) and add line specials, generalized types and
// flag bits (Boom, then MBF21). Each target allows all that the ones before
// it allow. HERETIC levels are always for the original game.
#pragma once

#include <optional>
#include <string>

enum class MapTarget { Original, LimitRemoving, Boom, Mbf21 };
constexpr int kMapTargetCount = 4;

// The name shown to the user: "DOOM/DOOM II", "Limit-removing", "Boom", "MBF21".
const char* MapTargetName(MapTarget target);

// Whether a level for target may use what needs the target needed.
inline bool TargetAllows(MapTarget target, MapTarget needed) { return target >= needed; }

// The text of the COMPLVL lump that Boom-family ports read to choose their
// compatibility level: "" for the original games (no lump is written),
// "vanilla" for limit-removing, "boom", "mbf21". The bare keyword: ports
// compare the lump's whole length.
const char* CompLevelKeyword(MapTarget target);

// The target a COMPLVL lump's text names, read as untrusted bytes: the
// keyword in any case, nothing around it; "mbf" counts as Boom (its map
// format is Boom's with the friendly Thing flag). Anything else: none.
std::optional<MapTarget> TargetOfCompLevel(const std::string& lumpText);
