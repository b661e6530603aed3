#pragma once
// The piece-graphics file: a resource file beside the program that holds the fifteen piece sets and
// the preview of the built-in one as bitmaps by name. It is open only while a set is read from it.

#include <QImage>
#include <QString>

#include <array>

inline constexpr int PieceSetCount = 15;

// Set n (1..15) of the file is entry n; entry 0 names the preview of the built-in set.
inline constexpr std::array<const char*, PieceSetCount + 1> PieceSetNames{
    "STANDARD",   "SETALPHA32", "SETALPHA40",  "SETALPHA64", "SETALPHA80", "SETBRAVO32",
    "SETDELTA36", "SETDELTA40", "SETECHO36",   "SETECHO40",  "SETGOLF40",  "SETGOLF60",
    "SETHOTEL40", "SETINDIA32", "SETJULIET39", "SETKILO36"};

// The file, relative to ProgramDir, written the Windows way ("data\tessaronstd.gfx").
QString PieceGraphicsPath();
void SetPieceGraphicsPath(const QString& path);

// Closes an open file first, then opens PieceGraphicsPath beside the program. False, without a
// message, if it is missing or not a piece-graphics file.
bool OpenPieceGraphics();

// The named bitmap of the open file, or nullptr when no file is open or the file lacks the name or
// holds no picture under it. The bitmap belongs to the module and lives until the file is closed.
const QImage* LoadPieceGraphic(const QString& name);

// Closes the file if one is open; harmless otherwise.
void ClosePieceGraphics();

bool PieceGraphicsOpen();
