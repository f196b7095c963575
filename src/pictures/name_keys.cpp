#include "pictures/name_keys.h"

#include <cctype>
#include <cstring>

std::string FieldName(const char* field) { return std::string(field, strnlen(field, kNameLength)); }

std::string NameKey(const char* field) {
    std::string key = FieldName(field);
    for (char& c : key)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

void SetFieldName(char* field, const char* name) { std::strncpy(field, name, kNameLength); }

uint64_t NameSet::PackedKey(const char* field) {
    uint64_t key = 0;
    for (int i = 0; i < kNameLength && field[i]; ++i)
        key |= uint64_t(uint8_t(std::toupper(static_cast<unsigned char>(field[i])))) << (8 * i);
    return key;
}

NameSet::NameSet(const NameList& list) {
    for (int i = 0; i < list.count(); ++i)
        keys_.insert(PackedKey(list[i]));
}
