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

bool EraseWins() { return EraseSettingsSection(PlayerWinsSection); }
