#include "checker/limits_check.h"

#include <algorithm>

#include "base/config.h"
#include "base/format.h"
#include "level/level.h"
#include "checker/limits_nodes.h"
#include "view3d/preview3d_assets.h"
#include "view3d/preview3d_things.h"
#include "ui/forms.h"

LimitsState limitsState;

namespace {

constexpr size_t kPlacesListed = 5;

// A fingerprint of the level's records and the skill the scan counts Things
// for (FNV-1a over their bytes).
uint64_t ScannedLevel(int skill) {
    uint64_t hash = 14695981039346656037ull;
    auto bytes = [&](const void* data, size_t size) {
        for (size_t i = 0; i < size; ++i)
            hash = (hash ^ static_cast<const uint8_t*>(data)[i]) * 1099511628211ull;
    };
    bytes(&skill, sizeof skill);
    auto add = [&](const auto& array) {
        bytes(&array.count, sizeof array.count);
        bytes(array.records.data(), static_cast<size_t>(array.count) * sizeof(array.records[0]));
    };
    add(level.things);
    add(level.lineDefs);
    add(level.sideDefs);
    add(level.vertices);
    add(level.sectors);
    return hash;
}

}  // namespace

bool EngineLimitsApply() { return level.target == MapTarget::Original; }

bool AskLimitsScanSettings() {
    if (!EngineLimitsApply())
        return true;
    std::vector<FormField> fields = {
        {"Grid spacing", kMinLimitsSpacing, kMaxLimitsSpacing, limitsState.spacing},
        {"View angles", kMinLimitsAngles, kMaxLimitsAngles, limitsState.angles},
    };
    if (NumberForm(kCentred, kCentred, WindowSave::Always, "Engine limits scan", fields, FormEnter::Accepts) != 1)
        return false;
    limitsState.spacing = fields[0].value;
    limitsState.angles = fields[1].value;
    return true;
}

bool LimitsScanIsCurrent() {
    const LimitsState& kept = limitsState;
    return EngineLimitsApply() && kept.valid && kept.scan.spacing == kept.spacing && kept.scan.angles == kept.angles &&
           kept.nodesMayFit == LevelNodesMayFit() && kept.scanned == ScannedLevel(TestPlaySkill(config.testOptions));
}

const LimitsScan* CurrentLimitsScan(CheckDialogs& dialogs) {
    if (LimitsScanIsCurrent())
        return &limitsState.scan;
    LimitsScanOptions options;
    options.things.skill = TestPlaySkill(config.testOptions);
    options.spacing = limitsState.spacing;
    options.angles = limitsState.angles;
    LevelNodes nodes;
    if (ReadLevelNodes(nodes))
        options.nodes = &nodes;
    const uint64_t scanned = ScannedLevel(options.things.skill);
    dialogs.Title("Checking the original engine's limits...");
    PreviewAssets assets = LoadPreviewAssets(level);
    LimitsScan scan = ScanLimits(level, assets, options, [&](long done, long total) {
        dialogs.Progress(done, total);
        return !dialogs.StopAsked();
    });
    if (!scan.finished)
        return nullptr;
    limitsState.scan = std::move(scan);
    limitsState.scanned = scanned;
    limitsState.nodesMayFit = LevelNodesMayFit();
    limitsState.valid = true;
    return &limitsState.scan;
}

bool FindEngineLimits(CheckDialogs& dialogs, LimitFindings& found, LimitKinds kinds) {
    found = {};
    if (!EngineLimitsApply())
        return true;
    found.lines = StaticLimitFindings(level);
    const LimitsScan* scan = CurrentLimitsScan(dialogs);
    if (!scan)
        return false;
    std::vector<LimitPoint> over = PointsOverLimits(*scan, kinds);
    for (size_t i = 0; i < over.size() && i < kPlacesListed; ++i)
        found.lines.push_back(Format("At (%d, %d) facing %.0f the game needs %s", over[i].x, over[i].y,
                                     over[i].HeadingFor(kinds), DescribeCounts(over[i].most, false, kinds).c_str()));
    if (over.size() > kPlacesListed)
        found.lines.push_back(Format("and %zu more places over a limit", over.size() - kPlacesListed));
    if (!over.empty())
        found.sector = over.front().sector;
    return true;
}

bool CheckEngineLimits(CheckDialogs& dialogs) {
    if (!EngineLimitsApply()) {
        dialogs.Result("Engine limits", {Format("The level is for %s, whose engine lifts the original limits.",
                                                MapTargetName(level.target))});
        return true;
    }
    LimitFindings found;
    if (!FindEngineLimits(dialogs, found, LimitKinds::All))
        return false;
    if (found.lines.empty()) {
        dialogs.Result("Engine limits", {"No place of the level needs more than the original engine has."});
        return true;
    }
    found.lines.insert(found.lines.begin(), "Where the original engine runs out of room:");
    return dialogs.VerifyList("Warning", found.lines, kObjSector, std::max(found.sector, 0));
}
