#pragma once
// Pictures of the position: the board as it is shown, with a narrow margin to the right and below,
// written to a file as a bitmap, PNG or JPEG, or put on the clipboard.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

class TChessBrd;

// The margin the picture keeps to the right of and below the board, in screen pixels.
inline constexpr int PictureMargin = 3;

enum class TPictureFormat { Bitmap, Jpeg, Png };

// The whole board as displayed (a piece being dragged included), whatever part of it its window
// shows, with the margin in `marginColor`. At a scaled screen the picture has the screen's pixels.
QImage PositionPicture(const TChessBrd& board, const QColor& marginColor);

// ".bmp" and ".png" (in any case) choose their formats; every other name, none included, is JPEG.
TPictureFormat PictureFormatForFile(const QString& fileName);

// The file's bytes in the given format; JPEG at `jpegQuality`, held to 1..100.
QByteArray EncodePicture(const QImage& picture, TPictureFormat format, int jpegQuality);

// Writes the picture in the format its name chooses. False, with the reason in `error`, when it
// could not be written; an older file of that name then stays as it was.
bool SavePictureFile(const QString& fileName, const QImage& picture, int jpegQuality, QString* error);

// Replaces the clipboard's contents: a bitmap for `snapshotFormat` 0, a JPEG image otherwise.
void CopyPictureToClipboard(const QImage& picture, int snapshotFormat, int jpegQuality);

// The MIME type of the JPEG image on the clipboard.
inline constexpr auto JpegMimeType = "image/jpeg";
