#pragma once
// Whole-file reads and writes for tests that build or inspect files byte by byte.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadAll(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes or stops the test run: a test whose input is missing would prove nothing.
inline void WriteAll(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
}
