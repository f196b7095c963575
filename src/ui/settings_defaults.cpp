// The defaults of new objects: textures, flats, heights and the Thing type.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "gamedefs/thingtypes.h"
#include "pictures/namelists.h"
#include "ui/browsers.h"
#include "ui/forms.h"
#include "ui/menus.h"
#include "ui/settings_dialogs.h"
#include "ui/type_choosers.h"

namespace {

enum class DefaultKind { Texture, Flat, Heights, Thing };

struct DefaultItem {
    const char* format;   // the menu text, with the current value
    DefaultKind kind;
    const char* prompt;
    char* name;           // texture or flat setting
};

std::vector<DefaultItem> DefaultItems() {
    using K = DefaultKind;
    return {{"Upper Texture : %s", K::Texture, "Upper Wall texture", config.textureUpper},
            {"NormalTexture : %s", K::Texture, "Normal Wall texture", config.textureNormal},
            {"Lower Texture : %s", K::Texture, "Lower Wall texture", config.textureLower},
            {"Floor Texture : %s", K::Flat, "Floor Texture", config.flatFloor},
            {"Ceiling Text  : %s", K::Flat, "Ceiling Texture", config.flatCeiling},
            {"Flr/Ceil heights: %d, %d", K::Heights, "Default Heights", nullptr},
            {"Door Texture  : %s", K::Texture, "Door Texture", config.textureDoor},
            {"Door Track    : %s", K::Texture, "Door Track Texture", config.textureDoorTrack},
            {"Lift Texture  : %s", K::Texture, "Lift Texture", config.textureLift},
            {"Pool Bottom   : %s", K::Flat, "Pool Floor Texture", config.flatPoolBottom},
            {"Pool Side     : %s", K::Texture, "Pool Side Texture", config.texturePoolSide},
            {"Pedestal Top  : %s", K::Flat, "Pedestal Floor Texture", config.flatPedestalTop},
            {"Pedestal Side : %s", K::Texture, "Pedestal Side Texture", config.texturePedestalSide},
            {"Light Top/Botm: %s", K::Flat, "Light Top/Botm Texture", config.flatLight},
            {"Thing         : %s", K::Thing, nullptr, nullptr}};
}

std::string MenuText(const DefaultItem& item) {
    char text[80];
    if (item.kind == DefaultKind::Heights)
        std::snprintf(text, sizeof text, item.format, config.defaultFloor, config.defaultCeiling);
    else if (item.kind == DefaultKind::Thing)
        std::snprintf(text, sizeof text, item.format,
                      GetThingTypeDescription(static_cast<uint16_t>(config.defaultThingType)));
    else
        std::snprintf(text, sizeof text, item.format, item.name);
    return text;
}

// A name chosen by chooser, proposed as the current one; kept when cancelled.
void ChooseName(const DefaultItem& item, int (*chooser)(int, int, WindowSave, const char*, char*)) {
    char text[kChosenNameSize] = {};
    std::strncpy(text, item.name, kNameLength);
    if (chooser(kCentred, kCentred, WindowSave::Always, item.prompt, text) && text[0])
        SetField(item.name, kTextureField, text);
}

void EditHeights() {
    std::vector<FormField> fields = {{"Floor", -1024, 1024, config.defaultFloor},
                                     {"Ceiling", -1024, 1024, config.defaultCeiling}};
    NumberForm(kCentred, kCentred, WindowSave::Always, "Default Heights", fields);
    config.defaultFloor = static_cast<int16_t>(fields[0].value);
    config.defaultCeiling = static_cast<int16_t>(fields[1].value);
}

void EditThingType(int x, int y) {
    int type = config.defaultThingType;
    if (ChooseDefaultThingType(x, y, type))
        config.defaultThingType = static_cast<int16_t>(type);
}

void EditDefault(int x, int y, const DefaultItem& item) {
    switch (item.kind) {
    case DefaultKind::Texture: ChooseName(item, ChooseTextureName); break;
    case DefaultKind::Flat: ChooseName(item, ChooseFlatName); break;
    case DefaultKind::Heights: EditHeights(); break;
    case DefaultKind::Thing: EditThingType(x, y); break;
    }
}

}  // namespace

void DefaultsDialog(int x, int y) {
    std::vector<DefaultItem> items = DefaultItems();
    int current = 1;
    for (;;) {
        std::vector<std::string> texts;
        for (const DefaultItem& item : items)
            texts.push_back(MenuText(item));
        std::vector<const char*> menu;
        for (const std::string& text : texts)
            menu.push_back(text.c_str());
        int chosen = SimpleMenu(x, y, MenuStyle::Numbered, current, nullptr, WindowSave::Always,
                                "Default Preferences", menu);
        if (chosen < 1)
            break;
        EditDefault(x, y, items[chosen - 1]);
        current = chosen;
    }
    SaveConfigOrSay();
}
