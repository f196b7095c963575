// The engine limits scan in the checker and before saves: the places where
// the original games run out of room, found with a progress bar that Esc
// stops, and remembered while the level stays as it was scanned.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "checker/check_dialogs.h"
#include "checker/limits_scan.h"

// The last scan and the level (its records, the skill, whether its nodes
// could be walked) it was made for; the spacing and views a point the next
// scan uses, kept for the run.
struct LimitsState {
    LimitsScan scan;
    uint64_t scanned = 0;   // a fingerprint
    bool nodesMayFit = false;
    bool valid = false;
    bool shown = false;     // on the map (limits_overlay.h)
    int spacing = 64;
    int angles = 8;
};
extern LimitsState limitsState;

// Whether the original engine's limits apply to the level: the original
// games are its target (always for HERETIC); the ports lift them.
bool EngineLimitsApply();

// Asks for the scan's spacing and views a point ("Engine limits scan"),
// proposing the kept ones: false when cancelled. Asks nothing, true, when
// the limits do not apply.
bool AskLimitsScanSettings();

// The scan of the level as it stands: the remembered one while the level is
// unchanged, else a new one under the dialogs' title and progress bar.
// nullptr when the user stopped it.
const LimitsScan* CurrentLimitsScan(CheckDialogs& dialogs);
// Whether the remembered scan is of the level as it stands, with the kept
// settings, and the limits apply.
bool LimitsScanIsCurrent();

// What the level needs beyond the original games' limits: a line for each
// number beyond 16 bits and for each place over a limit of the kinds (the
// worst first), and the Sector of the worst place (-1 for none); nothing
// when the limits do not apply. False when the user stopped the scan (the
// numbers are found all the same).
struct LimitFindings {
    std::vector<std::string> lines;
    int sector = -1;
};
bool FindEngineLimits(CheckDialogs& dialogs, LimitFindings& found, LimitKinds kinds);

// The checker's item: the findings in one box whose Cancel goes to the
// worst place's Sector. False when cancelled or stopped.
bool CheckEngineLimits(CheckDialogs& dialogs);
