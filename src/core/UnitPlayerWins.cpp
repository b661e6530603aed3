#include "UnitPlayerWins.h"

#include "SettingsFile.h"
#include "UnitFunctions.h"

bool AddWin(const QString& name) {
    return WriteSetting(PlayerWinsSection, name, ReadSetting(PlayerWinsSection, name, 0) + 1);
}

QList<TPlayerWins> ReadWins() {
    QList<TPlayerWins> wins;
    for (const QString& name : ReadSettingsKeys(PlayerWinsSection))
        wins << TPlayerWins{name, ReadSetting(PlayerWinsSection, name, 0)};
    return wins;
}

bool RenamePlayer(const QString& oldName, const QString& newName) {
    const bool sameName = oldName.compare(newName, Qt::CaseInsensitive) == 0;
    const int wins = ReadSetting(PlayerWinsSection, oldName, 0) +
                     (sameName ? 0 : ReadSetting(PlayerWinsSection, newName, 0));
    return WriteSettingsTogether([&] {
        return DeleteSettingsKey(PlayerWinsSection, oldName) &&
               DeleteSettingsKey(PlayerWinsSection, newName) &&
               WriteSetting(PlayerWinsSection, newName, wins);
    });
}

bool EraseWins() { return EraseSettingsSection(PlayerWinsSection); }
