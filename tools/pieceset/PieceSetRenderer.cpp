#include "PieceSetRenderer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRawFont>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace pieceset {

namespace {

// Large enough that flattening the glyph curves into contours loses nothing visible at any cell size.
constexpr qreal kReferencePixelSize = 1024;
// Fonts order the chess glyphs king first, the reverse of the bitmap's columns.
constexpr char16_t kOutlineKing = 0x2654;
constexpr char16_t kSolidKing = 0x265A;
// Each bitmap pixel averages this many samples per axis, so a mask carries the exact coverage.
constexpr int kSupersampling = 8;
// Pixels kept clear left and right of the widest piece, per 40 px of cell.
constexpr double kSideMarginPer40 = 2.0;
constexpr double kReferenceCell = 40.0;

constexpr int kWhitePieceRow = 0;
constexpr int kWhiteMaskRow = 1;
constexpr int kBlackPieceRow = 2;
constexpr int kBlackMaskRow = 3;
constexpr int kRowCount = 4;

const QColor kLightSquare(0xC0, 0xC0, 0xC0);
const QColor kDarkSquare(0x80, 0x80, 0x80);
const QRgb kNeutral = qRgb(255, 255, 255);

// In column order, a real set's proportions: the king tallest, then queen, bishop, knight, rook, and the
// pawn well below.
constexpr std::array<double, kKindCount> kStauntonHeights{0.70, 0.82, 0.86, 0.76, 0.88, 0.90};
const QColor kDarkLine(0x10, 0x10, 0x10);
const QColor kLightLine(0xE8, 0xE8, 0xE8);
// A rim a little wider than a pixel stays a solid line wherever it falls on the pixel grid.
constexpr double kWhiteEdge = 1.25 / 40;
constexpr double kBlackEdge = 1.0 / 40;

// Lower, broader pieces, each about as tall as the font draws it, for the sets of a more modern look.
constexpr std::array<double, kKindCount> kUprightHeights{0.66, 0.76, 0.80, 0.72, 0.82, 0.84};
// A rim twice as wide turns the detail lines into a bold outline drawing.
constexpr double kBoldEdge = 2.0 / 40;

SideLook side(QRgb top, QRgb bottom, QRgb edge, double width) {
    return {QColor(top), QColor(bottom), QColor(edge), width};
}

const std::array<Style, 11> kStyles{{
    {QStringLiteral("classic"),
     {QColor(0xFF, 0xFF, 0xFF), QColor(0xD8, 0xD8, 0xD8), kDarkLine, kWhiteEdge},
     {QColor(0x48, 0x48, 0x48), QColor(0x08, 0x08, 0x08), kLightLine, kBlackEdge},
     kStauntonHeights},
    {QStringLiteral("flat"),
     {QColor(0xF4, 0xF4, 0xF4), QColor(0xF4, 0xF4, 0xF4), kDarkLine, kWhiteEdge},
     {QColor(0x20, 0x20, 0x20), QColor(0x20, 0x20, 0x20), kLightLine, kBlackEdge},
     kStauntonHeights},
    {QStringLiteral("ivory"), side(0xFFFAEB, 0xE6D3A8, 0x3C2A18, kWhiteEdge),
     side(0x4A3C34, 0x120C08, 0xF0E4C8, kBlackEdge), kStauntonHeights},
    {QStringLiteral("wood"), side(0xF6DCA8, 0xD9A55C, 0x4A2A0E, kWhiteEdge),
     side(0x8C5A30, 0x3E200A, 0xF4DDB4, kBlackEdge), kStauntonHeights},
    {QStringLiteral("outlined"), side(0xFFFFFF, 0xFFFFFF, 0x000000, kBoldEdge),
     side(0x282828, 0x282828, 0xC8C8C8, kBlackEdge), kUprightHeights},
    {QStringLiteral("shaded"), side(0xFFFFFF, 0xB4BACA, 0x202030, kWhiteEdge),
     side(0x5A5C6A, 0x000000, 0xDCDCE8, kBlackEdge), kUprightHeights},
    {QStringLiteral("ruby"), side(0xFFF4E0, 0xECD6B4, 0x5A1010, kWhiteEdge),
     side(0xA82828, 0x4A0606, 0xFFE8D0, kBlackEdge), kStauntonHeights},
    {QStringLiteral("sapphire"), side(0xF4F8FF, 0xC8D4EC, 0x102040, kWhiteEdge),
     side(0x3858A0, 0x0C1A48, 0xE0E8FF, kBlackEdge), kUprightHeights},
    {QStringLiteral("jade"), side(0xF8FFF4, 0xD0E8C8, 0x183818, kWhiteEdge),
     side(0x3C7C48, 0x0C3014, 0xE4F4E0, kBlackEdge), kStauntonHeights},
    {QStringLiteral("bronze"), side(0xF4F4F8, 0xB4B4C0, 0x282830, kWhiteEdge),
     side(0x8A5A20, 0x3C2206, 0xFCE8C0, kBlackEdge), kStauntonHeights},
    {QStringLiteral("slate"), side(0xEEEEEE, 0xEEEEEE, 0x2C3440, kBoldEdge),
     side(0x4C5866, 0x3A4450, 0xE8EEF4, kBlackEdge), kStauntonHeights},
}};

char16_t codePoint(char16_t king, int column) {
    return static_cast<char16_t>(king + kKindCount - 1 - column);
}

std::optional<QPainterPath> glyphPath(const QRawFont& font, char16_t character) {
    if (!font.supportsCharacter(QChar{character})) return std::nullopt;
    const QList<quint32> indexes = font.glyphIndexesForString(QString(QChar{character}));
    if (indexes.size() != 1) return std::nullopt;
    return font.pathForGlyph(indexes.front());
}

double signedArea(const QPolygonF& contour) {
    double twiceArea = 0;
    for (qsizetype i = 0; i < contour.size(); ++i) {
        const QPointF& a = contour[i];
        const QPointF& b = contour[(i + 1) % contour.size()];
        twiceArea += a.x() * b.y() - b.x() * a.y();
    }
    return twiceArea / 2;
}

// Filling every contour of the outline drawing on its own closes its holes: what is left is the
// piece's outer shape, solid, which becomes the mask. Merged into a single outer contour so that
// stroking it draws only the rim.
QPainterPath silhouette(const PieceGlyphs& glyphs) {
    QPainterPath shape;
    shape.setFillRule(Qt::WindingFill);
    for (QPolygonF contour : glyphs.outline.toSubpathPolygons()) {
        if (signedArea(contour) < 0) std::reverse(contour.begin(), contour.end());
        shape.addPolygon(contour);
    }
    return shape.simplified();
}

int sideMargin(int cellSize) {
    return std::max(1, static_cast<int>(std::lround(kSideMarginPer40 * cellSize / kReferenceCell)));
}

int pixelHeight(double fraction, int cellSize) {
    return static_cast<int>(std::lround(fraction * cellSize));
}

// All pieces stand on one baseline, placed so the tallest piece is centred in the cell.
int baseline(const Style& style, int cellSize) {
    const double tallest = *std::max_element(style.heights.begin(), style.heights.end());
    return cellSize - (cellSize - pixelHeight(tallest, cellSize)) / 2;
}

// Whole-pixel sizes and a whole-pixel left edge put the four outer extremes of a piece on the pixel
// grid, which keeps them crisp; the slight stretch this needs is invisible.
QTransform placement(const QRectF& bounds, double heightFraction, int cellSize, int baselineY) {
    const int widest = cellSize - 2 * sideMargin(cellSize);
    int height = pixelHeight(heightFraction, cellSize);
    int width = static_cast<int>(std::lround(bounds.width() * height / bounds.height()));
    if (width > widest) {
        height = static_cast<int>(std::lround(static_cast<double>(height) * widest / width));
        width = widest;
    }
    const double scaleX = width / bounds.width();
    const double scaleY = height / bounds.height();
    const int left = (cellSize - width) / 2;
    QTransform transform;
    transform.translate(left - bounds.left() * scaleX, baselineY - bounds.bottom() * scaleY);
    transform.scale(scaleX, scaleY);
    return transform;
}

QLinearGradient verticalShade(const QRectF& bounds, const QColor& top, const QColor& bottom) {
    QLinearGradient gradient(bounds.center().x(), bounds.top(), bounds.center().x(), bounds.bottom());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// Both sides are drawn alike from the solid glyph, so a white piece is the exact negative of its black
// counterpart: the edge colour shows through the gaps of the solid drawing as inner detail and runs
// as an even rim around the piece. The rim's outer half lies past the shape and is trimmed off later,
// which leaves edge pixels the rim's colour.
void paintPiece(QPainter& painter, const PieceGlyphs& glyphs, const QPainterPath& shape, const SideLook& look,
                double edgeWidth) {
    painter.fillPath(shape, look.edge);
    painter.fillPath(glyphs.solid, verticalShade(shape.boundingRect(), look.bodyTop, look.bodyBottom));
    painter.strokePath(shape, QPen(look.edge, 2 * edgeWidth));
}

QImage fineCanvas(int cellSize) {
    QImage image(cellSize * kSupersampling, cellSize * kSupersampling, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void placePainter(QPainter& painter, const QTransform& place) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.scale(kSupersampling, kSupersampling);
    painter.setTransform(place, true);
}

QImage coverage(const QPainterPath& shape, const QTransform& place, int cellSize) {
    QImage image = fineCanvas(cellSize);
    QPainter painter(&image);
    placePainter(painter, place);
    painter.fillPath(shape, Qt::black);
    return image;
}

// Averages blocks of premultiplied samples, then divides the colour by the coverage so that edge
// pixels keep the piece's own colour and the alpha alone carries the antialiasing.
QImage downsample(const QImage& fine, int factor) {
    QImage coarse(fine.width() / factor, fine.height() / factor, QImage::Format_ARGB32);
    const int samples = factor * factor;
    for (int y = 0; y < coarse.height(); ++y) {
        for (int x = 0; x < coarse.width(); ++x) {
            int red = 0, green = 0, blue = 0, alpha = 0;
            for (int sy = 0; sy < factor; ++sy) {
                const auto* line = reinterpret_cast<const QRgb*>(fine.constScanLine(y * factor + sy));
                for (int sx = 0; sx < factor; ++sx) {
                    const QRgb sample = line[x * factor + sx];
                    red += qRed(sample);
                    green += qGreen(sample);
                    blue += qBlue(sample);
                    alpha += qAlpha(sample);
                }
            }
            const int opacity = (alpha + samples / 2) / samples;
            const auto straight = [alpha](int premultiplied) {
                return std::min(255, (premultiplied * 255 + alpha / 2) / alpha);
            };
            coarse.setPixel(x, y,
                            opacity == 0 ? qRgba(0, 0, 0, 0)
                                         : qRgba(straight(red), straight(green), straight(blue), opacity));
        }
    }
    return coarse;
}

QImage renderPiece(const PieceGlyphs& glyphs, const SideLook& look, double heightFraction, int cellSize,
                   int baselineY) {
    const QPainterPath shape = silhouette(glyphs);
    const QTransform place = placement(shape.boundingRect(), heightFraction, cellSize, baselineY);
    const double pixel = 1 / place.m22();

    QImage fine = fineCanvas(cellSize);
    QPainter painter(&fine);
    placePainter(painter, place);
    paintPiece(painter, glyphs, shape, look, look.edgeWidth * cellSize * pixel);
    // A whole-image draw, because trimming with a path fill would leave the pixels outside the path alone.
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, coverage(shape, place, cellSize));
    painter.end();
    return downsample(fine, kSupersampling);
}

void placeCell(QImage& sheet, const QImage& piece, int column, int pieceRow, int maskRow) {
    const int size = piece.width();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = piece.pixel(x, y);
            const int transparency = 255 - qAlpha(pixel);
            const QRgb colour =
                qAlpha(pixel) == 0 ? kNeutral : qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel));
            sheet.setPixel(column * size + x, pieceRow * size + y, colour);
            sheet.setPixel(column * size + x, maskRow * size + y,
                           qRgb(transparency, transparency, transparency));
        }
    }
}

// The piece as the program shows it: the image row's colour with alpha = 255 - mask grey.
QImage pieceFromSheet(const QImage& sheet, int cellSize, int column, int pieceRow, int maskRow) {
    QImage piece(cellSize, cellSize, QImage::Format_ARGB32);
    for (int y = 0; y < cellSize; ++y) {
        for (int x = 0; x < cellSize; ++x) {
            const QRgb colour = sheet.pixel(column * cellSize + x, pieceRow * cellSize + y);
            const int grey = qGray(sheet.pixel(column * cellSize + x, maskRow * cellSize + y));
            piece.setPixel(x, y, qRgba(qRed(colour), qGreen(colour), qBlue(colour), 255 - grey));
        }
    }
    return piece;
}

// Two rows of checkered squares holding the white pieces, then the black ones, so that every piece
// stands once on a light and once on a dark square.
QImage previewStrip(const QImage& sheet, int cellSize) {
    constexpr int kStripRows = 2;
    QImage strip(2 * kKindCount * cellSize, kStripRows * cellSize, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int row = 0; row < kStripRows; ++row) {
        for (int column = 0; column < 2 * kKindCount; ++column) {
            const QRect square(column * cellSize, row * cellSize, cellSize, cellSize);
            painter.fillRect(square, (row + column) % 2 == 0 ? kLightSquare : kDarkSquare);
            const bool white = column < kKindCount;
            painter.drawImage(square.topLeft(), pieceFromSheet(sheet, cellSize, column % kKindCount,
                                                               white ? kWhitePieceRow : kBlackPieceRow,
                                                               white ? kWhiteMaskRow : kBlackMaskRow));
        }
    }
    return strip;
}

} // namespace

QStringList styleNames() {
    QStringList names;
    for (const Style& style : kStyles)
        names << style.name;
    return names;
}

std::optional<Style> styleNamed(const QString& name) {
    const auto found = std::find_if(kStyles.begin(), kStyles.end(),
                                    [&name](const Style& style) { return style.name == name; });
    if (found == kStyles.end()) return std::nullopt;
    return *found;
}

std::optional<GlyphSet> loadGlyphs(const QString& fontFile) {
    const QRawFont font(fontFile, kReferencePixelSize);
    if (!font.isValid()) return std::nullopt;
    GlyphSet glyphs;
    for (int column = 0; column < kKindCount; ++column) {
        const auto outline = glyphPath(font, codePoint(kOutlineKing, column));
        const auto solid = glyphPath(font, codePoint(kSolidKing, column));
        if (!outline || !solid) return std::nullopt;
        glyphs[column] = {*outline, *solid};
    }
    return glyphs;
}

QImage renderSheet(const GlyphSet& glyphs, int cellSize, const Style& style) {
    QImage sheet(kKindCount * cellSize, kRowCount * cellSize, QImage::Format_RGB32);
    sheet.fill(kNeutral);
    const int baselineY = baseline(style, cellSize);
    for (int column = 0; column < kKindCount; ++column) {
        const double height = style.heights[column];
        placeCell(sheet, renderPiece(glyphs[column], style.white, height, cellSize, baselineY), column,
                  kWhitePieceRow, kWhiteMaskRow);
        placeCell(sheet, renderPiece(glyphs[column], style.black, height, cellSize, baselineY), column,
                  kBlackPieceRow, kBlackMaskRow);
    }
    return sheet;
}

QImage renderStrip(const QImage& sheet, int cellSize) {
    return previewStrip(sheet, cellSize);
}

QImage renderPreview(const QImage& sheet, int cellSize, int scale) {
    const QImage strip = previewStrip(sheet, cellSize);
    // Unsmoothed, so every pixel of the set shows as a block.
    const QImage enlarged = strip.scaled(strip.size() * scale);
    const int gap = cellSize / 2;
    QImage preview(enlarged.width() + 2 * gap, strip.height() + enlarged.height() + 3 * gap,
                   QImage::Format_RGB32);
    preview.fill(kNeutral);
    QPainter painter(&preview);
    painter.drawImage(gap, gap, strip);
    painter.drawImage(gap, strip.height() + 2 * gap, enlarged);
    return preview;
}

} // namespace pieceset
