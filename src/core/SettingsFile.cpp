#include "SettingsFile.h"

#include "FileSaving.h"
#include "IniFile.h"
#include "UnitFunctions.h"

#include <QFile>
#include <algorithm>
#include <functional>
#include <utility>

namespace {

// The parsed settings file and the bytes it was parsed from.
struct TCachedFile {
    QString FileName;
    QByteArray Bytes;
    TIniFile Ini;
};

struct TSettingsStore {
    std::optional<TCachedFile> Cached;
    QStringList Refused;
    bool Batching = false; // inside WriteSettingsTogether: the cached file is the one to change
    bool Pending = false;  // the batch changed the cached file, which is not yet saved
};

TSettingsStore& Store() {
    static TSettingsStore store;
    return store;
}

constexpr qint64 MinReadChunk = 64 * 1024;

// At most `limit` + 1 bytes, so a file without end cannot fill the memory. A regular file is read in
// one go; a device or pipe (whose size is 0) in chunks.
QByteArray ReadAtMost(QFile& file, qint64 limit) {
    const qint64 chunk = std::clamp(file.size() + 1, MinReadChunk, limit + 1);
    QByteArray bytes;
    while (bytes.size() <= limit) {
        const QByteArray part = file.read(std::min(chunk, limit + 1 - bytes.size()));
        if (part.isEmpty()) break;
        bytes += part;
    }
    return bytes;
}

// The settings file as it is now on disk, parsed; nullptr when it is refused. A missing or
// unreadable file reads as an empty one.
TIniFile* CurrentSettings() {
    TSettingsStore& store = Store();
    const QString fileName = SettingsFileName();
    if (store.Refused.contains(fileName)) return nullptr;
    if (store.Batching && store.Cached && store.Cached->FileName == fileName) return &store.Cached->Ini;
    QFile file(fileName);
    const QByteArray bytes =
        file.open(QIODevice::ReadOnly) ? ReadAtMost(file, MaxSettingsFileSize) : QByteArray();
    if (bytes.size() > MaxSettingsFileSize) {
        store.Refused << fileName;
        store.Cached.reset();
        return nullptr;
    }
    if (!store.Cached || store.Cached->FileName != fileName || store.Cached->Bytes != bytes) {
        store.Cached.emplace(TCachedFile{fileName, bytes, TIniFile()});
        store.Cached->Ini.LoadText(bytes);
    }
    return &store.Cached->Ini;
}

bool SaveCached() {
    TCachedFile& cached = *Store().Cached;
    const QByteArray bytes = cached.Ini.SaveText();
    if (!SaveFileWhole(cached.FileName, bytes)) {
        Store().Cached.reset(); // the parsed form now differs from the disk
        return false;
    }
    cached.Bytes = bytes;
    return true;
}

// Applies `edit` (which says whether it changed anything) and saves the result at once, or at the
// end of the batch.
bool ChangeSettings(const std::function<bool(TIniFile&)>& edit) {
    TIniFile* ini = CurrentSettings();
    if (!ini) return false;
    if (!edit(*ini)) return true;
    if (Store().Batching) {
        Store().Pending = true;
        return true;
    }
    return SaveCached();
}

} // namespace

std::optional<QString> ReadSettingsValue(const QString& section, const QString& key) {
    const TIniFile* ini = CurrentSettings();
    if (!ini || !ini->HasKey(section, key)) return std::nullopt;
    return ini->Value(section, key);
}

QStringList ReadSettingsKeys(const QString& section) {
    const TIniFile* ini = CurrentSettings();
    return ini ? ini->Keys(section) : QStringList();
}

bool WriteSettingsValue(const QString& section, const QString& key, const QString& value) {
    return ChangeSettings([&](TIniFile& ini) { return ini.SetValue(section, key, value); });
}

bool DeleteSettingsKey(const QString& section, const QString& key) {
    return ChangeSettings([&](TIniFile& ini) {
        if (!ini.HasKey(section, key)) return false;
        ini.DeleteKey(section, key);
        return true;
    });
}

bool EraseSettingsSection(const QString& section) {
    return ChangeSettings([&](TIniFile& ini) {
        if (!ini.HasSection(section)) return false;
        ini.EraseSection(section);
        return true;
    });
}

bool WriteSettingsTogether(const std::function<bool()>& writes) {
    TSettingsStore& store = Store();
    if (store.Batching) return writes();
    CurrentSettings(); // the batch starts from the file as it is now
    store.Batching = true;
    const bool written = writes();
    store.Batching = false;
    const bool saved = !std::exchange(store.Pending, false) || SaveCached();
    return written && saved;
}

QString RefusedSettingsFile() {
    const QStringList& refused = Store().Refused;
    return refused.isEmpty() ? QString() : refused.last();
}
