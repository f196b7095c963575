// Texture and flat names as the checks and find and replace compare them:
// the 8 characters of a record's field, without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>

#include "pictures/namelists.h"

// The name in a field of 8 characters (no terminating zero when all are
// used).
std::string FieldName(const char* field);
// The name upper-cased, for comparing without regard to case.
std::string NameKey(const char* field);
// Writes the first 8 characters of name into the field, padded with zeros.
void SetFieldName(char* field, const char* name);

// The names of a list, for finding a name at once instead of by a scan.
class NameSet {
public:
    explicit NameSet(const NameList& list);
    bool Has(const char* field) const { return keys_.count(PackedKey(field)) != 0; }

private:
    // The 8 characters upper-cased in one number (zeros after the name).
    static uint64_t PackedKey(const char* field);
    std::unordered_set<uint64_t> keys_;
};
