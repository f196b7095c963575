// The dialog that builds a generalized LineDef type (Boom and later) from its
// fields: the kind of action, then trigger, speed and the kind's own fields,
// each chosen from a menu of its values, the number shown in the title.
#pragma once

// Starts from type's fields when it is generalized, else from a floor of
// zero fields. The number built, or -1 when the dialog was left with Esc.
int GeneralizedTypeDialog(int x, int y, int type);
