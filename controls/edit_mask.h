#pragma once

#include <QString>

// A field's edit mask in the class library's notation ("!9999/99/99;1;_") as a Qt input mask.
// The two notations swap the digit characters: "0" is a required digit there and "9" an
// optional one. "/" and ":" are the date and time separators ("." and ":"); "_" stands for a
// blank; "!" (leading blanks dropped) and the literal-saving section have no Qt counterpart.
// The third section, when given, is the blank character. An empty mask gives an empty mask.
QString QtInputMask(const QString& editMask);
