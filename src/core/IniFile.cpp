#include "IniFile.h"

#include "FileSaving.h"
#include "Windows1252.h"

#include <QFile>
#include <QStringDecoder>
#include <optional>

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

namespace {

std::optional<QString> DecodeUtf8(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return std::nullopt;
    return text;
}

QString DecodeLine(QByteArrayView line) {
    std::optional<QString> text = DecodeUtf8(line);
    return text ? *text : DecodeWindows1252(line);
}

// Calls `visit(line, ended)` for each line of `text` without its "\n", the part after the last
// "\n" included; `ended` tells whether a "\n" followed.
template <typename Visit>
void ForEachLine(QByteArrayView text, Visit visit) {
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) end = text.size();
        visit(text.sliced(start, end - start), end < text.size());
        start = end + 1;
    }
}

// One line from another system must not turn the umlauts of every other line into garbage.
QString DecodeLineByLine(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    ForEachLine(bytes, [&](QByteArrayView line, bool ended) {
        text += DecodeLine(line);
        if (ended) text += '\n';
    });
    return text;
}

QString Unquoted(QString value) {
    value = value.trimmed();
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"')) return value.mid(1, value.size() - 2);
    return value;
}

// SimpleIni stops at the first NUL and gives a line without "=" the value of the key before it. Such
// lines (and the others it would drop: "=value", "[section" without "]") are therefore handed to it
// as entries of their own, "<mark><n><mark>=<mark><line><mark>", and written back exactly as they
// were. The mark is a noncharacter, removed from what is read, so no real key or value carries it.
constexpr char16_t VerbatimMark = 0xFFFF;
const QByteArray& VerbatimMarkUtf8() {
    static const QByteArray mark = QString(QChar(VerbatimMark)).toUtf8();
    return mark;
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// True for a line SimpleIni would misread or drop: not empty, no comment, no complete section
// header, and no "key=value".
bool NeedsVerbatim(QByteArrayView line) {
    qsizetype first = 0;
    while (first < line.size() && IsSpace(line[first])) ++first;
    if (first == line.size()) return false;
    const char lead = line[first];
    if (lead == ';' || lead == '#') return false;
    if (lead == '[') return !line.contains(']');
    const qsizetype equals = line.indexOf('=');
    return equals <= first;
}

QByteArray MarkVerbatimLines(QByteArray text, int& counter) {
    text.replace("\r\n", "\n").replace('\r', '\n');
    QByteArray marked;
    marked.reserve(text.size());
    const QByteArray& mark = VerbatimMarkUtf8();
    ForEachLine(text, [&](QByteArrayView line, bool ended) {
        if (NeedsVerbatim(line))
            marked += mark + QByteArray::number(++counter) + mark + '=' + mark + line.toByteArray() + mark;
        else
            marked += line;
        if (ended) marked += '\n';
    });
    return marked;
}

QByteArray UnmarkVerbatimLines(const QByteArray& text) {
    const QByteArray& mark = VerbatimMarkUtf8();
    if (!text.contains(mark)) return text;
    QByteArray plain;
    plain.reserve(text.size());
    ForEachLine(text, [&](QByteArrayView line, bool ended) {
        if (line.startsWith(mark)) {
            line = line.sliced(line.indexOf('=') + 1);
            line = line.sliced(mark.size(), line.size() - 2 * mark.size());
        }
        plain += line;
        if (ended) plain += '\n';
    });
    return plain;
}

bool IsVerbatimKey(const char* key) { return QByteArrayView(key).startsWith(VerbatimMarkUtf8()); }

} // namespace

QString DecodeText(const QByteArray& bytes) {
    const std::optional<QString> utf8 = DecodeUtf8(bytes);
    const QString text = utf8 ? *utf8 : DecodeLineByLine(bytes);
    return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
}

struct TIniFile::Impl {
    CSimpleIniA ini;
    int verbatimLines = 0;
    Impl() : ini(/*utf8*/ true, /*multiKey*/ false, /*multiLine*/ false) {
        ini.SetSpaces(false);
        ini.SetQuotes(false);
        // Lines without "=" never reach it (see MarkVerbatimLines), and an empty value keeps its "=".
        ini.SetAllowKeyOnly(false);
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
    QByteArray clean = bytes;
    clean.removeIf([](char c) { return c == '\0'; }); // a NUL costs only itself, not the rest of the file
    QString text = DecodeText(clean);
    text.remove(QChar(VerbatimMark));
    const QByteArray utf8 = MarkVerbatimLines(text.toUtf8(), d->verbatimLines);
    d->ini.LoadData(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QByteArray TIniFile::SaveText() const {
    std::string text;
    d->ini.Save(text);
    return UnmarkVerbatimLines(QByteArray::fromStdString(text));
}

bool TIniFile::Save(const QString& fileName) const { return SaveFileWhole(fileName, SaveText()); }

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
    for (const auto& entry : names)
        if (!IsVerbatimKey(entry.pItem)) result << QString::fromUtf8(entry.pItem);
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

bool TIniFile::SetValue(const QString& section, const QString& key, const QString& value) {
    const QByteArray sectionUtf8 = section.toUtf8();
    const QByteArray keyUtf8 = key.toUtf8();
    const QByteArray valueUtf8 = value.toUtf8();
    const char* old = d->ini.GetValue(sectionUtf8.constData(), keyUtf8.constData(), nullptr);
    if (old && valueUtf8 == old) return false;
    d->ini.SetValue(sectionUtf8.constData(), keyUtf8.constData(), valueUtf8.constData());
    return true;
}

void TIniFile::DeleteKey(const QString& section, const QString& key) {
    d->ini.Delete(section.toUtf8().constData(), key.toUtf8().constData(), false);
}

void TIniFile::EraseSection(const QString& section) {
    d->ini.Delete(section.toUtf8().constData(), nullptr);
}
