#include "UnitPlayerWins.h"

#include "IniFile.h"
#include "UnitFunctions.h"

bool AddWin(const QString& name) {
    return WriteSetting(PlayerWinsSection, name, ReadSetting(PlayerWinsSection, name, 0) + 1);
}

QList<TPlayerWins> ReadWins() {
    TIniFile ini;
    ini.Load(SettingsFileName());
    QList<TPlayerWins> wins;
    for (const QString& name : ini.Keys(PlayerWinsSection))
        wins << TPlayerWins{name, ReadSetting(PlayerWinsSection, name, 0)};
    return wins;
}

bool EraseWins() {
    const QString fileName = SettingsFileName();
    TIniFile ini;
    ini.Load(fileName);
    // Erasing nothing must not create a settings file that was not there.
    if (!ini.HasSection(PlayerWinsSection)) return true;
    ini.EraseSection(PlayerWinsSection);
    return ini.Save(fileName);
}
