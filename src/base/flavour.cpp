#include "base/flavour.h"

namespace {

const FlavourNames kHereticNames = {
    "Zarn", "Zarnworks", "HERETIC", "Zarn.cfg", "zarn-launcher", "ZARN SETUP",
    "ZarnPlay.BAT", "Zarn.RSP", "~Zarn.WAD", "ZarnUnsaved.WAD",
};

const FlavourNames kDoomNames = {
    "Brel", "Brelworks", "DOOM", "Brel.cfg", "brel-launcher", "BREL SETUP",
    "BrelPlay.BAT", "Brel.RSP", "~Brel.WAD", "BrelUnsaved.WAD",
};

Flavour current_flavour = Flavour::Heretic;

}  // namespace

void SetFlavour(Flavour flavour) { current_flavour = flavour; }
bool IsHeretic() { return current_flavour == Flavour::Heretic; }
const FlavourNames& Names() { return IsHeretic() ? kHereticNames : kDoomNames; }
