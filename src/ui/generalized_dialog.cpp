#include "ui/generalized_dialog.h"

#include <optional>
#include <string>
#include <vector>

#include "base/format.h"
#include "gamedefs/generalized.h"
#include "ui/menus.h"

namespace {

constexpr int kKindItem = 1;

// "Trigger    : WR": a field's label and value, in columns.
std::string FieldItem(const char* label, const char* value) { return Format("%-11s: %s", label, value); }

std::vector<std::string> DialogItems(const GeneralizedType& fields) {
    const GenKindInfo& kind = GeneralizedKind(fields.kind);
    std::vector<std::string> items = {FieldItem("Kind", kind.name)};
    for (int i = 0; i < kind.fieldCount; ++i)
        items.push_back(FieldItem(GenFieldLabel(fields, i), GenFieldValueName(fields, i)));
    items.push_back("Use this type");
    return items;
}

int ChooseFrom(int x, int y, const char* title, const std::vector<std::string>& names, int current) {
    std::vector<const char*> items;
    for (const std::string& name : names)
        items.push_back(name.c_str());
    return SimpleMenu(x, y, MenuStyle::Plain, current + 1, "LINEDEFS", WindowSave::Always, title, items) - 1;
}

void ChooseKind(int x, int y, GeneralizedType& fields) {
    std::vector<std::string> names;
    for (int k = 0; k < kGenKindCount; ++k)
        names.push_back(GeneralizedKind(static_cast<GenKind>(k)).name);
    int chosen = ChooseFrom(x, y, "Kind", names, static_cast<int>(fields.kind));
    if (chosen >= 0 && chosen != static_cast<int>(fields.kind))
        fields = GeneralizedType{static_cast<GenKind>(chosen), {}};
}

void ChooseValue(int x, int y, GeneralizedType& fields, int field) {
    const GenField& info = GeneralizedKind(fields.kind).fields[static_cast<size_t>(field)];
    std::vector<std::string> names;
    GeneralizedType other = fields;
    for (int v = 0; v < info.count(); ++v) {
        other.values[static_cast<size_t>(field)] = v;
        names.push_back(GenFieldValueName(other, field));
    }
    int chosen = ChooseFrom(x, y, GenFieldLabel(fields, field), names, fields.values[static_cast<size_t>(field)]);
    if (chosen >= 0)
        fields.values[static_cast<size_t>(field)] = chosen;
}

}  // namespace

int GeneralizedTypeDialog(int x, int y, int type) {
    std::optional<GeneralizedType> decoded =
        type >= 0 && type <= 0xFFFF ? DecodeGeneralized(static_cast<uint16_t>(type)) : std::nullopt;
    GeneralizedType fields = decoded.value_or(GeneralizedType{});
    int current = kKindItem;
    for (;;) {
        std::vector<std::string> items = DialogItems(fields);
        std::vector<const char*> texts;
        for (const std::string& item : items)
            texts.push_back(item.c_str());
        std::string title = Format("Generalized %d", EncodeGeneralized(fields));
        int item = SimpleMenu(x, y, MenuStyle::Plain, current, "LINEDEFS", WindowSave::Always, title.c_str(), texts);
        if (item < 1)
            return -1;
        if (item == static_cast<int>(items.size()))
            return EncodeGeneralized(fields);
        current = item;
        if (item == kKindItem)
            ChooseKind(x, y, fields);
        else
            ChooseValue(x, y, fields, item - 2);
    }
}
