#include "gamedefs/generalized.h"

namespace {

const char* const kTriggers[] = {"W1", "WR", "S1", "SR", "G1", "GR", "D1", "DR"};
const char* const kSpeeds[] = {"Slow", "Normal", "Fast", "Turbo"};
const char* const kNoYes[] = {"No", "Yes"};
const char* const kModels[] = {"Trigger", "Numeric"};
const char* const kDirections[] = {"Down", "Up"};
const char* const kFloorTargets[] = {"HnF", "LnF", "NnF", "LnC", "Ceiling", "ShortLow", "24", "32"};
const char* const kCeilingTargets[] = {"HnC", "LnC", "NnC", "HnF", "Floor", "ShortUp", "24", "32"};
const char* const kChanges[] = {"None", "Tx0", "Tx", "TxTy"};
const char* const kDoorKinds[] = {"OpenWaitClose", "OpenStay", "CloseWaitOpen", "CloseStay"};
const char* const kDoorDelays[] = {"1s", "4s", "9s", "30s"};
const char* const kLockedKinds[] = {"OpenWaitClose", "OpenStay"};
const char* const kKeys[] = {"Any", "RedCard", "BlueCard", "YellowCard", "RedSkull", "BlueSkull", "YellowSkull", "All"};
const char* const kSkullIsCard[] = {"Apart", "Same"};
const char* const kLiftDelays[] = {"1s", "3s", "5s", "10s"};
const char* const kLiftTargets[] = {"LnF", "NnF", "LnC", "Perpetual"};
const char* const kSteps[] = {"4", "8", "16", "24"};
const char* const kIgnore[] = {"Stop", "Ignore"};
const char* const kSilent[] = {"Sound", "Silent"};

constexpr GenField kTrigger{"Trigger", 0, 3, kTriggers};
constexpr GenField kSpeed{"Speed", 3, 2, kSpeeds};
constexpr GenField kMonster5{"Monsters", 5, 1, kNoYes};
// Floors and ceilings: bit 5 says who may trigger without a change, which
// sector is the model with one.
constexpr int kModelField = 2;
constexpr int kChangeField = 5;

const GenKindInfo kKinds[kGenKindCount] = {
    {GenKind::Crusher, "Crusher", 0x2F80, 0x2FFF, 4,
     {kTrigger, kSpeed, kMonster5, GenField{"Silent", 6, 1, kSilent}}},
    {GenKind::Stairs, "Stairs", 0x3000, 0x33FF, 6,
     {kTrigger, kSpeed, kMonster5, GenField{"Step", 6, 2, kSteps}, GenField{"Direction", 8, 1, kDirections},
      GenField{"Texture", 9, 1, kIgnore}}},
    {GenKind::Lift, "Lift", 0x3400, 0x37FF, 5,
     {kTrigger, kSpeed, kMonster5, GenField{"Delay", 6, 2, kLiftDelays}, GenField{"Target", 8, 2, kLiftTargets}}},
    {GenKind::LockedDoor, "Locked Door", 0x3800, 0x3BFF, 5,
     {kTrigger, kSpeed, GenField{"Kind", 5, 1, kLockedKinds}, GenField{"Key", 6, 3, kKeys},
      GenField{"Skull/Card", 9, 1, kSkullIsCard}}},
    {GenKind::Door, "Door", 0x3C00, 0x3FFF, 5,
     {kTrigger, kSpeed, GenField{"Kind", 5, 2, kDoorKinds}, GenField{"Monsters", 7, 1, kNoYes},
      GenField{"Delay", 8, 2, kDoorDelays}}},
    {GenKind::Ceiling, "Ceiling", 0x4000, 0x5FFF, 7,
     {kTrigger, kSpeed, kMonster5, GenField{"Direction", 6, 1, kDirections},
      GenField{"Target", 7, 3, kCeilingTargets}, GenField{"Change", 10, 2, kChanges},
      GenField{"Crush", 12, 1, kNoYes}}},
    {GenKind::Floor, "Floor", 0x6000, 0x7FFF, 7,
     {kTrigger, kSpeed, kMonster5, GenField{"Direction", 6, 1, kDirections},
      GenField{"Target", 7, 3, kFloorTargets}, GenField{"Change", 10, 2, kChanges},
      GenField{"Crush", 12, 1, kNoYes}}},
};

const GenKindInfo* KindOf(uint16_t type) {
    for (const GenKindInfo& kind : kKinds)
        if (type >= kind.first && type <= kind.last)
            return &kind;
    return nullptr;
}

bool HasModel(const GeneralizedType& fields) {
    return (fields.kind == GenKind::Floor || fields.kind == GenKind::Ceiling) && fields.values[kChangeField] != 0;
}

}  // namespace

const GenKindInfo& GeneralizedKind(GenKind kind) { return kKinds[static_cast<int>(kind)]; }

bool IsGeneralizedType(uint16_t type) { return KindOf(type) != nullptr; }

std::optional<GeneralizedType> DecodeGeneralized(uint16_t type) {
    const GenKindInfo* kind = KindOf(type);
    if (!kind)
        return std::nullopt;
    GeneralizedType fields;
    fields.kind = kind->kind;
    for (int i = 0; i < kind->fieldCount; ++i) {
        const GenField& f = kind->fields[static_cast<size_t>(i)];
        fields.values[static_cast<size_t>(i)] = (type >> f.shift) & (f.count() - 1);
    }
    return fields;
}

uint16_t EncodeGeneralized(const GeneralizedType& fields) {
    const GenKindInfo& kind = GeneralizedKind(fields.kind);
    int type = kind.first;
    for (int i = 0; i < kind.fieldCount; ++i) {
        const GenField& f = kind.fields[static_cast<size_t>(i)];
        type |= (fields.values[static_cast<size_t>(i)] & (f.count() - 1)) << f.shift;
    }
    return static_cast<uint16_t>(type);
}

const char* GenFieldLabel(const GeneralizedType& fields, int field) {
    if (field == kModelField && HasModel(fields))
        return "Model";
    return GeneralizedKind(fields.kind).fields[static_cast<size_t>(field)].name;
}

const char* GenFieldValueName(const GeneralizedType& fields, int field) {
    int value = fields.values[static_cast<size_t>(field)];
    if (field == kModelField && HasModel(fields))
        return kModels[value & 1];
    const GenField& f = GeneralizedKind(fields.kind).fields[static_cast<size_t>(field)];
    return f.values[value & (f.count() - 1)];
}

std::string GeneralizedShortName(uint16_t type) {
    std::optional<GeneralizedType> fields = DecodeGeneralized(type);
    if (!fields)
        return "";
    std::string name = GeneralizedKind(fields->kind).name;
    if (fields->kind == GenKind::LockedDoor)
        name = "Locked";
    return std::string(kTriggers[fields->values[0]]) + " Gen " + name;
}

std::string GeneralizedFieldsText(uint16_t type) {
    std::optional<GeneralizedType> fields = DecodeGeneralized(type);
    if (!fields)
        return "";
    std::string text;
    const GenKindInfo& kind = GeneralizedKind(fields->kind);
    for (int i = 1; i < kind.fieldCount; ++i) {
        // A yes/no field shows its name when set, nothing otherwise.
        bool yesNo = kind.fields[static_cast<size_t>(i)].values == kNoYes && !(i == kModelField && HasModel(*fields));
        std::string part = GenFieldValueName(*fields, i);
        if (yesNo)
            part = fields->values[static_cast<size_t>(i)] ? GenFieldLabel(*fields, i) : "";
        if (part.empty())
            continue;
        if (!text.empty())
            text += ' ';
        text += part;
    }
    return text;
}

bool GeneralizedNeedsNoTag(uint16_t type) {
    std::optional<GeneralizedType> fields = DecodeGeneralized(type);
    return fields && fields->values[0] >= 6;
}
