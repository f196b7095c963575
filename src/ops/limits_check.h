// The engine limits scan in the checker and before saves: the places where
// the original games run out of room, found with a progress bar that Esc
// stops, and remembered while the level stays as it was scanned.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ops/check_dialogs.h"
#include "ops/limits_scan.h"

// The last scan and the level (its records and the skill) it was made for.
struct LimitsState {
    LimitsScan scan;
    uint64_t scanned = 0;   // a fingerprint
    bool valid = false;
    bool shown = false;     // on the map (limits_overlay.h)
};
extern LimitsState limitsState;

// The scan of the level as it stands: the remembered one while the level is
// unchanged, else a new one under the dialogs' title and progress bar.
// nullptr when the user stopped it.
const LimitsScan* CurrentLimitsScan(CheckDialogs& dialogs);
// Whether the remembered scan is of the level as it stands.
bool LimitsScanIsCurrent();

// What the level needs beyond the original games' limits: a line for each
// number beyond 16 bits and for each place over a limit (the worst first),
// and the Sector of the worst place (-1 for none). False when the user
// stopped the scan.
struct LimitFindings {
    std::vector<std::string> lines;
    int sector = -1;
};
bool FindEngineLimits(CheckDialogs& dialogs, LimitFindings& found);

// The checker's item: the findings in one box whose Cancel goes to the
// worst place's Sector. False when cancelled or stopped.
bool CheckEngineLimits(CheckDialogs& dialogs);
