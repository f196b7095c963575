// Boom's generalized LineDef types: a number from 0x2F80 to 0x7FFF whose
// range names a kind of action (floor, ceiling, door, locked door, lift,
// stairs, crusher) and whose bits hold the fields of that action: trigger,
// speed, direction, target, model, change, crush, key... Decoding and
// encoding are pure: every number in the ranges decodes to fields that
// encode to the same number.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

enum class GenKind { Crusher, Stairs, Lift, LockedDoor, Door, Ceiling, Floor };
constexpr int kGenKindCount = 7;
constexpr int kMaxGenFields = 7;

// A field of a kind: its bits and the names of its values (1 << width of
// them), short enough for a panel.
struct GenField {
    const char* name;
    int shift;
    int width;
    const char* const* values;
    int count() const { return 1 << width; }
};

// What a kind of generalized type is made of.
struct GenKindInfo {
    GenKind kind;
    const char* name;    // "Floor", "Locked Door"...
    uint16_t first;      // the range of its numbers
    uint16_t last;
    int fieldCount;      // the trigger and speed first
    std::array<GenField, kMaxGenFields> fields;
};

const GenKindInfo& GeneralizedKind(GenKind kind);

// A generalized type taken apart: its kind and the value of each field.
struct GeneralizedType {
    GenKind kind = GenKind::Floor;
    std::array<int, kMaxGenFields> values{};
};

bool IsGeneralizedType(uint16_t type);
// The fields of a number in the ranges; none for any other number.
std::optional<GeneralizedType> DecodeGeneralized(uint16_t type);
// The number of the fields; values outside a field are cut to its bits.
uint16_t EncodeGeneralized(const GeneralizedType& fields);

// The name a field shows for these values: on floors and ceilings one bit
// is "Monsters" without a change and "Model" with one.
const char* GenFieldLabel(const GeneralizedType& fields, int field);
// The name of the field's value.
const char* GenFieldValueName(const GeneralizedType& fields, int field);

// "WR Gen Floor": the trigger and the kind, at most 16 characters.
std::string GeneralizedShortName(uint16_t type);
// The values of the fields after the trigger ("Fast Down LnF"), for a panel
// line; "" for a number outside the ranges.
std::string GeneralizedFieldsText(uint16_t type);

// Push triggers act on the sector behind the line and need no tag.
bool GeneralizedNeedsNoTag(uint16_t type);
