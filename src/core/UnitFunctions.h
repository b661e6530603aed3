#pragma once
// Text helpers shared by the windows: the "|" field layouts of language, tutorial and tip texts,
// case-insensitive replacement and the clock display.

#include <QString>
#include <QtGlobal>

// Field `index` (from 0) of `text` split at every `delimiter`; empty past the last field.
QString GetField(const QString& text, QChar delimiter, int index);

// 0 for the empty text, else the number of delimiters + 1; a trailing delimiter opens no field.
int CountFields(const QString& text, QChar delimiter);

// Replaces every occurrence of `oldText` by `newText`, comparing without regard to case.
QString ReplaceText(const QString& text, const QString& oldText, const QString& newText);

// "hh:mm:ss" with at least two digits each; hours are not limited to 23.
QString FormatClockTime(qint64 milliseconds);
