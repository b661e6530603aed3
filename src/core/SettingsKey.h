#pragma once
// Whether a text the user typed (the name of a stored position, a player's name) can be a key of the
// settings file and be found again under the same name.

#include <QString>

// False for a text holding "=", a line break or a NUL, starting with "[" or ";" (once leading blanks
// are dropped, as the settings reader drops them), or made of blanks only.
bool IsValidSettingsKey(const QString& text);
