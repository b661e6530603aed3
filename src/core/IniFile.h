#pragma once
// An ini file with the semantics the program's files rely on: sections and keys without regard to
// case, the file's own order kept, one pair of surrounding quotes removed on reading while values are
// written unchanged, comments and unknown lines kept, and files from other systems (Windows-1252)
// still readable. Writing replaces the file in one step, so a failed write never loses it.

#include <QString>
#include <QStringList>
#include <memory>

class TIniFile {
public:
    TIniFile();
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;
    TIniFile(TIniFile&&) noexcept;
    TIniFile& operator=(TIniFile&&) noexcept;

    // Reads a file; a missing or unreadable file gives an empty ini and false.
    bool Load(const QString& fileName);
    void LoadText(const QByteArray& bytes);
    // Writes through a temporary file that replaces the old one only once it is complete.
    bool Save(const QString& fileName) const;
    QByteArray SaveText() const;

    bool HasSection(const QString& section) const;
    bool HasKey(const QString& section, const QString& key) const;
    // Sections and keys in the order of the file; new ones follow at the end.
    QStringList Sections() const;
    QStringList Keys(const QString& section) const;

    // The value with blanks and one pair of surrounding double quotes removed; `fallback` when absent.
    QString Value(const QString& section, const QString& key, const QString& fallback = {}) const;
    // The value as it stands in the file (blanks trimmed, quotes kept).
    QString RawValue(const QString& section, const QString& key, const QString& fallback = {}) const;
    void SetValue(const QString& section, const QString& key, const QString& value);
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Decodes file bytes: UTF-8 (with or without a byte-order mark) when valid, else Windows-1252.
QString DecodeText(const QByteArray& bytes);
