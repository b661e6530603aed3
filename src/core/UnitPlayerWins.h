#pragma once
// The games won by checkmate per player name, kept in the settings file's section
// "PlayerStatistic.Win" (one key per name, compared without regard to case).

#include <QList>
#include <QString>

inline constexpr auto PlayerWinsSection = "PlayerStatistic.Win";

struct TPlayerWins {
    QString Name;
    int Wins = 0;
    bool operator==(const TPlayerWins&) const = default;
};

// Counts one more win for `name`; a missing or non-numeric count starts from 0. False when the
// settings file cannot be written.
bool AddWin(const QString& name);

// Every name of the section with its count, in the order of the file.
QList<TPlayerWins> ReadWins();

// The wins of `oldName` go to `newName` (added to those it has; names that differ only in case are
// one name, which then takes the new spelling). Saved together: false when the settings file
// cannot be written, and then nothing changed.
bool RenamePlayer(const QString& oldName, const QString& newName);

// Removes the whole section. False when the settings file cannot be written.
bool EraseWins();
