#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace pieceset {

// Columns of the bitmap: pawn, knight, bishop, rook, queen, king.
inline constexpr int kKindCount = 6;

// How the pieces of one side are coloured. Widths are fractions of the cell, so a set keeps its
// look at every cell size.
struct SideLook {
    QColor bodyTop;
    QColor bodyBottom;
    // The even rim around the piece and the lines of its inner detail.
    QColor edge;
    double edgeWidth;
};

struct Style {
    QString name;
    SideLook white;
    SideLook black;
    // Height of each piece as a fraction of the cell, in column order.
    std::array<double, kKindCount> heights;
};

QStringList styleNames();
std::optional<Style> styleNamed(const QString& name);

// The chess glyphs of one font: the outline ("white") and solid ("black") drawing of each piece.
struct PieceGlyphs {
    QPainterPath outline;
    QPainterPath solid;
};
using GlyphSet = std::array<PieceGlyphs, kKindCount>;

// Empty if the font cannot be read or lacks one of the twelve chess glyphs.
std::optional<GlyphSet> loadGlyphs(const QString& fontFile);

// Six columns by four rows of cells: white pieces, their masks, black pieces, their masks.
QImage renderSheet(const GlyphSet& glyphs, int cellSize, const Style& style);

// Both sides on light and dark squares at 1:1, composed the way the program composes them.
QImage renderStrip(const QImage& sheet, int cellSize);

// Both sides on light and dark squares, composed from the sheet the way the program composes them,
// at 1:1 and enlarged by scale.
QImage renderPreview(const QImage& sheet, int cellSize, int scale);

} // namespace pieceset
