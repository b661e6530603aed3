#pragma once
// The list of piece sets the piece-graphics file holds, and the drawing of all of them at once with a
// contact sheet for looking them over side by side.

#include <QImage>
#include <QList>
#include <QString>

namespace pieceset {

struct CatalogueEntry {
    QString name;
    int cellSize = 0;
    QString font;
    QString style;
};

// One entry per line "NAME CELL FONT STYLE"; blank lines and lines starting with '#' are skipped.
// Empty, with the reason in error, if a line does not read.
QList<CatalogueEntry> parseCatalogue(const QString& text, QString* error);

// Draws every entry into outputDir as NAME.bmp, fonts taken relative to fontDir, and returns the
// contact sheet of all sets; a null image with the reason in error if a font or style is missing or a
// file cannot be written.
QImage drawCatalogue(const QList<CatalogueEntry>& entries, const QString& fontDir, const QString& outputDir,
                     QString* error);

} // namespace pieceset
