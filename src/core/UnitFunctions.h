#pragma once
// Text helpers shared by the windows: the "|" field layouts of language, tutorial and tip texts,
// case-insensitive replacement and the clock display.

#include <QColor>
#include <QString>
#include <QtGlobal>

// Field `index` (from 0) of `text` split at every `delimiter`; empty past the last field.
QString GetField(const QString& text, QChar delimiter, int index);

// 0 for the empty text, else the number of delimiters + 1; a trailing delimiter opens no field.
int CountFields(const QString& text, QChar delimiter);

// Replaces every occurrence of `oldText` by `newText`, comparing without regard to case.
QString ReplaceText(const QString& text, const QString& oldText, const QString& newText);

// "hh:mm:ss" with at least two digits each; hours are not limited to 23.
QString FormatClockTime(qint64 milliseconds);

// --- Program directory, data paths and the settings file ------------------------------------------

// The folder of the running program, ending in "/". Tests point it elsewhere with SetProgramDir.
QString ProgramDir();
void SetProgramDir(const QString& dir);

// Resolves a data path written the Windows way ("SOUND\RICHTIGZUG.WAV", "Lang\German.lng"):
// backslashes become slashes, a relative path is taken from ProgramDir, and each component that does
// not exist as written is matched without regard to case. Components that match nothing stay as written.
QString ResolvePath(const QString& path);

// tessaron.ini in ProgramDir; when that folder cannot be written, in the user's configuration folder
// (seeded once from a copy that ships beside the program).
QString SettingsFileName();

// One typed read or write of the settings file (see SettingsFile.h: parsed once while unchanged on
// disk, every write saved before it returns). A missing or refused file, a missing section or key,
// or a value that does not parse, gives the default.
int ReadSetting(const QString& section, const QString& key, int defaultValue);
bool ReadSetting(const QString& section, const QString& key, bool defaultValue);
QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue);
QString ReadSetting(const QString& section, const QString& key, const char* defaultValue);
// Writes an integer as decimal text, a boolean as "1"/"0", a text unchanged. Returns false when
// the file cannot be written or is refused (the old file then stays as it was).
bool WriteSetting(const QString& section, const QString& key, int value);
bool WriteSetting(const QString& section, const QString& key, bool value);
bool WriteSetting(const QString& section, const QString& key, const QString& value);
bool WriteSetting(const QString& section, const QString& key, const char* value);

// --- Colours ------------------------------------------------------------------------------------------

// Colours are stored as 24-bit numbers with red in the lowest byte, then green, then blue.
QColor ColorFromTColor(int value);
int TColorFromColor(const QColor& color);
