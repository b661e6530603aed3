#include "PieceSetCatalogue.h"

#include "PieceSetRenderer.h"

#include <QDir>
#include <QImageWriter>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace pieceset {

namespace {

constexpr int kFieldCount = 4;
constexpr int kSmallestCell = 16;
constexpr int kLargestCell = 256;
// Room left of each strip for the set's name.
constexpr int kLabelWidth = 120;
constexpr int kSheetMargin = 8;
const QColor kSheetGround(0xFF, 0xFF, 0xFF);

std::optional<CatalogueEntry> parseLine(const QString& line, QString* error) {
    const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    bool isNumber = false;
    const int cellSize = fields.size() == kFieldCount ? fields[1].toInt(&isNumber) : 0;
    if (!isNumber || cellSize < kSmallestCell || cellSize > kLargestCell) {
        *error = QStringLiteral("not \"NAME CELL FONT STYLE\" with a cell of %1 to %2 pixels: %3")
                     .arg(kSmallestCell)
                     .arg(kLargestCell)
                     .arg(line);
        return std::nullopt;
    }
    return CatalogueEntry{fields[0], cellSize, fields[2], fields[3]};
}

// Fonts serve several sets each; reading one is the slow part.
class GlyphCache {
public:
    explicit GlyphCache(QString fontDir) : folder(std::move(fontDir)) {}

    const GlyphSet* glyphs(const QString& font) {
        if (!cache.contains(font)) {
            const auto loaded = loadGlyphs(QDir(folder).filePath(font));
            if (!loaded) return nullptr;
            cache.insert(font, *loaded);
        }
        return &cache[font];
    }

private:
    QString folder;
    QMap<QString, GlyphSet> cache;
};

QImage contactSheet(const QList<CatalogueEntry>& entries, const QList<QImage>& strips) {
    int width = 0, height = kSheetMargin;
    for (const QImage& strip : strips) {
        width = std::max(width, strip.width());
        height += strip.height() + kSheetMargin;
    }
    QImage sheet(kLabelWidth + width + kSheetMargin, height, QImage::Format_RGB32);
    sheet.fill(kSheetGround);
    QPainter painter(&sheet);
    int top = kSheetMargin;
    for (qsizetype i = 0; i < strips.size(); ++i) {
        const QRect label(kSheetMargin, top, kLabelWidth - kSheetMargin, strips[i].height());
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1\n%2 px, %3")
                             .arg(entries[i].name)
                             .arg(entries[i].cellSize)
                             .arg(entries[i].style));
        painter.drawImage(kLabelWidth, top, strips[i]);
        top += strips[i].height() + kSheetMargin;
    }
    return sheet;
}

} // namespace

QList<CatalogueEntry> parseCatalogue(const QString& text, QString* error) {
    QList<CatalogueEntry> entries;
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const auto entry = parseLine(line, error);
        if (!entry) return {};
        entries << *entry;
    }
    return entries;
}

QImage drawCatalogue(const QList<CatalogueEntry>& entries, const QString& fontDir, const QString& outputDir,
                     QString* error) {
    GlyphCache fonts(fontDir);
    QList<QImage> strips;
    for (const CatalogueEntry& entry : entries) {
        const auto style = styleNamed(entry.style);
        if (!style) {
            *error = QStringLiteral("%1: no style %2").arg(entry.name, entry.style);
            return {};
        }
        const GlyphSet* glyphs = fonts.glyphs(entry.font);
        if (!glyphs) {
            *error = QStringLiteral("%1: %2 is not a font with all twelve chess glyphs")
                         .arg(entry.name, entry.font);
            return {};
        }
        const QImage sheet = renderSheet(*glyphs, entry.cellSize, *style);
        QImageWriter writer(QDir(outputDir).filePath(entry.name + QStringLiteral(".bmp")), "BMP");
        if (!writer.write(sheet)) {
            *error = QStringLiteral("cannot write %1: %2").arg(writer.fileName(), writer.errorString());
            return {};
        }
        strips << renderStrip(sheet, entry.cellSize);
    }
    return contactSheet(entries, strips);
}

} // namespace pieceset
