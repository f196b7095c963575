// What the checker's closed-Sector and cross-reference checks say of the
// level, one line a finding or question (every fix declined): the builders'
// results must leave it as it was.
#pragma once

#include <string>
#include <vector>

#include "checker/check_recorder.h"
#include "checker/checks.h"

inline std::vector<std::string> CheckerFindings() {
    checktest::Recorder rec;
    CheckClosedSectors(rec);
    CheckCrossReferences(rec);
    return rec.said;
}
