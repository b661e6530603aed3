#pragma once
// Texts of files that older systems wrote in the Windows code page: the game files keep their names
// and notes in Windows-1252, and settings files from such systems may carry it too.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Every byte is one character; the codes the code page leaves unassigned map to themselves.
QString DecodeWindows1252(QByteArrayView bytes);

// One byte per character; a character the code page lacks becomes "?" (a surrogate pair counts as
// one character).
QByteArray EncodeWindows1252(const QString& text);
