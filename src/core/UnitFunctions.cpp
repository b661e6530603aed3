#include "UnitFunctions.h"

#include "SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

QString GetField(const QString& text, QChar delimiter, int index) {
    if (index < 0) return {};
    return text.section(delimiter, index, index);
}

int CountFields(const QString& text, QChar delimiter) {
    if (text.isEmpty()) return 0;
    const int fields = static_cast<int>(text.count(delimiter)) + 1;
    return text.endsWith(delimiter) ? fields - 1 : fields;
}

QString ReplaceText(const QString& text, const QString& oldText, const QString& newText) {
    if (oldText.isEmpty()) return text;
    QString result = text;
    return result.replace(oldText, newText, Qt::CaseInsensitive);
}

QString FormatClockTime(qint64 milliseconds) {
    constexpr qint64 MsPerHour = 3'600'000;
    constexpr qint64 MsPerMinute = 60'000;
    constexpr qint64 MsPerSecond = 1'000;
    // A clock never runs below zero; a negative reading would print as "-1:-5:..".
    const qint64 ms = qMax<qint64>(0, milliseconds);
    return QStringLiteral("%1:%2:%3")
        .arg(ms / MsPerHour, 2, 10, QChar('0'))
        .arg((ms % MsPerHour) / MsPerMinute, 2, 10, QChar('0'))
        .arg((ms % MsPerMinute) / MsPerSecond, 2, 10, QChar('0'));
}

// --- Program directory, data paths and the settings file ------------------------------------------

namespace {

QString& ProgramDirOverride() {
    static QString dir;
    return dir;
}

QString WithTrailingSlash(const QString& dir) { return dir.endsWith('/') ? dir : dir + '/'; }

// The entry of `dir` called `name`, compared without regard to case; empty when there is none.
QString FindEntryIgnoringCase(const QDir& dir, const QString& name) {
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
    return {};
}

} // namespace

QString ProgramDir() {
    const QString& dir = ProgramDirOverride();
    if (!dir.isEmpty()) return dir;
    return WithTrailingSlash(QCoreApplication::applicationDirPath());
}

void SetProgramDir(const QString& dir) { ProgramDirOverride() = dir.isEmpty() ? QString() : WithTrailingSlash(dir); }

QString ResolvePath(const QString& path) {
    if (path.isEmpty()) return path;
    QString unixPath = path;
    unixPath.replace('\\', '/');
    if (QDir::isRelativePath(unixPath)) unixPath = ProgramDir() + unixPath;
    if (QFileInfo::exists(unixPath)) return unixPath;

    const bool trailingSlash = unixPath.endsWith('/');
    const QStringList parts = unixPath.split('/', Qt::SkipEmptyParts);
    QString resolved = "/";
    for (const QString& part : parts) {
        QString next = resolved + part;
        if (!QFileInfo::exists(next)) {
            const QString match = FindEntryIgnoringCase(QDir(resolved), part);
            if (!match.isEmpty()) next = resolved + match;
        }
        resolved = next + '/';
    }
    if (!trailingSlash) resolved.chop(1);
    return resolved;
}

QString SettingsFileName() {
    constexpr auto IniName = "tessaron.ini";
    const QString beside = ProgramDir() + IniName;
    const QFileInfo besideInfo(beside);
    const bool besideUsable = besideInfo.exists() ? besideInfo.isWritable() : QFileInfo(ProgramDir()).isWritable();
    if (besideUsable) return beside;

    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + "/.config";
    const QString dir = config + "/tessaron";
    const QString fileName = dir + '/' + IniName;
    QDir().mkpath(dir);
    if (!QFileInfo::exists(fileName) && besideInfo.exists()) QFile::copy(beside, fileName);
    return fileName;
}

int ReadSetting(const QString& section, const QString& key, int defaultValue) {
    bool ok = false;
    const int value = ReadSettingsValue(section, key).value_or(QString()).toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool ReadSetting(const QString& section, const QString& key, bool defaultValue) {
    return ReadSetting(section, key, defaultValue ? 1 : 0) != 0;
}

QString ReadSetting(const QString& section, const QString& key, const QString& defaultValue) {
    return ReadSettingsValue(section, key).value_or(defaultValue);
}

QString ReadSetting(const QString& section, const QString& key, const char* defaultValue) {
    return ReadSetting(section, key, QString::fromUtf8(defaultValue));
}

bool WriteSetting(const QString& section, const QString& key, int value) {
    return WriteSettingsValue(section, key, QString::number(value));
}

bool WriteSetting(const QString& section, const QString& key, bool value) {
    return WriteSettingsValue(section, key, value ? "1" : "0");
}

bool WriteSetting(const QString& section, const QString& key, const QString& value) {
    return WriteSettingsValue(section, key, value);
}

bool WriteSetting(const QString& section, const QString& key, const char* value) {
    return WriteSettingsValue(section, key, QString::fromUtf8(value));
}

QColor ColorFromTColor(int value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

int TColorFromColor(const QColor& color) { return color.red() | (color.green() << 8) | (color.blue() << 16); }
