// The checker's names of textures and flats: pictures/name_keys.h.
#pragma once

#include "pictures/name_keys.h"
