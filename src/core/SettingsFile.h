#pragma once
// The settings file as every read and write of one setting sees it. The file is parsed once and the
// parsed form reused while the bytes on disk stay the same. Every change is saved before the call
// returns (the writes of one moment grouped by WriteSettingsTogether: before that returns), so a value
// written is on disk and visible to the next read at once, whoever changed the file in between.
// A file larger than MaxSettingsFileSize (or one without end, such as a link to /dev/zero) is
// refused: reads give the defaults and nothing is written over it for the rest of the run.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

inline constexpr qint64 MaxSettingsFileSize = 16 * 1024 * 1024;

// The value of the key (quotes removed); nothing when the file, section or key is missing.
std::optional<QString> ReadSettingsValue(const QString& section, const QString& key);
// The keys of a section in file order.
QStringList ReadSettingsKeys(const QString& section);

// Stores the value and saves the file. True when the value is on disk (also when it was already);
// false when the file is refused or cannot be written (the old file then stays as it was).
bool WriteSettingsValue(const QString& section, const QString& key, const QString& value);
// Removes one key; removing a key that is not there changes nothing.
bool DeleteSettingsKey(const QString& section, const QString& key);
// Removes a whole section; erasing a section that is not there creates no file.
bool EraseSettingsSection(const QString& section);

// Runs `writes` (several writes of one moment, such as the end of the program) with a single save at
// the end instead of one per write; inside, the writes change the parsed file and reads see them.
// When it returns, every change is on disk: true when `writes` and the save succeeded.
bool WriteSettingsTogether(const std::function<bool()>& writes);

// The settings file refused in this run for its size, empty when there is none.
QString RefusedSettingsFile();
