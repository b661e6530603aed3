#include "StoredPositions.h"

#include "IniFile.h"
#include "PositionCheck.h"
#include "SettingsFile.h"
#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"

#include <QFile>
#include <optional>

namespace {

const std::string EmptyBoard(64, ' ');

QString Quoted(const QString& position) {
    return '"' + position + '"';
}

bool ContainsName(const QStringList& names, const QString& name) {
    return names.contains(name, Qt::CaseInsensitive);
}

// The bytes of a position file, or what is wrong with it. A position file is a small text file:
// anything larger than a settings file may be, or holding NUL bytes, is something else.
struct TPositionFileBytes {
    QByteArray Bytes;
    TPositionExchange::TStatus Status = TPositionExchange::TStatus::Done;
};

TPositionFileBytes ReadPositionFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return {{}, TPositionExchange::TStatus::Unreadable};
    if (file.size() > MaxSettingsFileSize) return {{}, TPositionExchange::TStatus::NotPositionFile};
    TPositionFileBytes result{file.read(MaxSettingsFileSize + 1)};
    if (result.Bytes.size() > MaxSettingsFileSize || result.Bytes.contains('\0'))
        result.Status = TPositionExchange::TStatus::NotPositionFile;
    return result;
}

} // namespace

QStringList StoredPositionNames() {
    return ReadSettingsKeys(PositionsSection);
}

std::string StoredPosition(const QString& name) {
    const std::optional<QString> value = ReadSettingsValue(PositionsSection, name);
    return value ? value->toStdString() : EmptyBoard;
}

bool StorePosition(const QString& name, const std::string& position) {
    return WriteSettingsValue(PositionsSection, name, Quoted(QString::fromStdString(position)));
}

bool DeleteStoredPosition(const QString& name) {
    return DeleteSettingsKey(PositionsSection, name);
}

void ReportRefusedPositionName(QWidget* owner) {
    ShowCenteredMessage(LoadLangString(5203,
                                       "Unter dieser Beschreibung kann keine Position gespeichert werden: "
                                       "Sie darf weder ein Gleichheitszeichen noch einen Zeilenumbruch "
                                       "enthalten und nicht mit einer eckigen Klammer oder einem Semikolon "
                                       "beginnen."),
                        TMsgDlgType::mtWarning, mbOK, owner);
}

TPositionExchange ImportPositions(const QString& fileName) {
    TPositionExchange result;
    const TPositionFileBytes file = ReadPositionFile(fileName);
    result.Status = file.Status;
    if (result.Status != TPositionExchange::TStatus::Done) return result;
    TIniFile source;
    source.LoadText(file.Bytes);
    if (!source.HasSection(PositionsSection)) {
        result.Status = TPositionExchange::TStatus::NotPositionFile;
        return result;
    }
    QStringList known = StoredPositionNames();
    const QStringList names = source.Keys(PositionsSection);
    const bool written = WriteSettingsTogether([&] {
        for (int n = 1; n <= names.size(); ++n) {
            const QString& name = names[n - 1];
            const QString position = source.Value(PositionsSection, name);
            if (ContainsName(known, name)) {
                result.Duplicates.append({n, name});
            } else if (!IsPositionString(position.toStdString())) {
                ++result.Invalid;
            } else {
                if (!WriteSettingsValue(PositionsSection, name, Quoted(position))) return false;
                known << name;
                ++result.Copied;
            }
        }
        return true;
    });
    if (!written) {
        result.Status = TPositionExchange::TStatus::NotSaved;
        result.Copied = 0;
    }
    return result;
}

TPositionExchange ExportPositions(const QString& fileName) {
    TPositionExchange result;
    TIniFile target;
    if (QFile::exists(fileName)) {
        const TPositionFileBytes file = ReadPositionFile(fileName);
        result.Status = file.Status;
        if (result.Status != TPositionExchange::TStatus::Done) return result;
        target.LoadText(file.Bytes);
    }
    QStringList known = target.Keys(PositionsSection);
    const QStringList names = StoredPositionNames();
    for (int n = 1; n <= names.size(); ++n) {
        const QString& name = names[n - 1];
        if (ContainsName(known, name)) {
            result.Duplicates.append({n, name});
            continue;
        }
        const std::optional<QString> position = ReadSettingsValue(PositionsSection, name);
        target.SetValue(PositionsSection, name, Quoted(position.value_or(QString())));
        known << name;
        ++result.Copied;
    }
    // A file that exists already is written only when something was added to it.
    if ((result.Copied > 0 || !QFile::exists(fileName)) && !target.Save(fileName)) {
        result.Status = TPositionExchange::TStatus::NotSaved;
        result.Copied = 0;
    }
    return result;
}
