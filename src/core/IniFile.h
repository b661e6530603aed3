#pragma once
// An ini file with the semantics the program's files rely on: sections and keys without regard to
// case, the file's own order kept, one pair of surrounding quotes removed on reading while values are
// written unchanged, comments and unknown lines kept, and files from other systems (Windows-1252)
// still readable. A damaged line costs only itself: NUL bytes are dropped, and a line that is not
// "key=value" is written back exactly as it was, never with a value. Writing replaces the file in
// one step, so a failed write never loses it.

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
    // Writes through a temporary file that replaces the old one only once it is on the disk.
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
    // False when the key already holds exactly this value (nothing changed).
    bool SetValue(const QString& section, const QString& key, const QString& value);
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Decodes file bytes: UTF-8 (with or without a byte-order mark) when valid, else line by line UTF-8
// where valid and Windows-1252 where not.
QString DecodeText(const QByteArray& bytes);
