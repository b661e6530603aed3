#include "IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <array>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned codes map to themselves.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString DecodeWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= 0x80 && byte <= 0x9F) ? QChar(Cp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

QString Unquoted(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) return value.mid(1, value.size() - 2);
    return value;
}

} // namespace

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) return DecodeWindows1252(bytes);
    return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
}

struct TIniFile::Impl {
    CSimpleIniA ini;
    Impl() : ini(/*utf8*/ true, /*multiKey*/ false, /*multiLine*/ false) {
        ini.SetSpaces(false);
        ini.SetQuotes(false);
        ini.SetAllowKeyOnly(true); // a line without "=" is kept rather than dropped on the next write
    }
};

TIniFile::TIniFile() : d(std::make_unique<Impl>()) {}
TIniFile::~TIniFile() = default;
TIniFile::TIniFile(TIniFile&&) noexcept = default;
TIniFile& TIniFile::operator=(TIniFile&&) noexcept = default;

bool TIniFile::Load(const QString& fileName) {
    d->ini.Reset();
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) return false;
    LoadText(file.readAll());
    return true;
}

void TIniFile::LoadText(const QByteArray& bytes) {
    d->ini.Reset();
    const QByteArray utf8 = DecodeText(bytes).toUtf8();
    d->ini.LoadData(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QByteArray TIniFile::SaveText() const {
    std::string text;
    d->ini.Save(text);
    return QByteArray::fromStdString(text);
}

bool TIniFile::Save(const QString& fileName) const {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray text = SaveText();
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool TIniFile::HasSection(const QString& section) const {
    return d->ini.GetSection(section.toUtf8().constData()) != nullptr;
}

bool TIniFile::HasKey(const QString& section, const QString& key) const {
    return d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr) != nullptr;
}

QStringList TIniFile::Sections() const {
    CSimpleIniA::TNamesDepend names;
    d->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto& entry : names) result << QString::fromUtf8(entry.pItem);
    return result;
}

QStringList TIniFile::Keys(const QString& section) const {
    CSimpleIniA::TNamesDepend names;
    d->ini.GetAllKeys(section.toUtf8().constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto& entry : names) result << QString::fromUtf8(entry.pItem);
    return result;
}

QString TIniFile::RawValue(const QString& section, const QString& key, const QString& fallback) const {
    const char* value = d->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    return value ? QString::fromUtf8(value).trimmed() : fallback;
}

QString TIniFile::Value(const QString& section, const QString& key, const QString& fallback) const {
    if (!HasKey(section, key)) return fallback;
    return Unquoted(RawValue(section, key));
}

void TIniFile::SetValue(const QString& section, const QString& key, const QString& value) {
    d->ini.SetValue(section.toUtf8().constData(), key.toUtf8().constData(), value.toUtf8().constData());
}

void TIniFile::DeleteKey(const QString& section, const QString& key) {
    d->ini.Delete(section.toUtf8().constData(), key.toUtf8().constData(), false);
}

void TIniFile::EraseSection(const QString& section) {
    d->ini.Delete(section.toUtf8().constData(), nullptr);
}
