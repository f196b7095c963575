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

Flavour currentFlavour = Flavour::Heretic;

}  // namespace

void SetFlavour(Flavour flavour) { currentFlavour = flavour; }
bool IsHeretic() { return currentFlavour == Flavour::Heretic; }
const FlavourNames& Names() { return IsHeretic() ? kHereticNames : kDoomNames; }
