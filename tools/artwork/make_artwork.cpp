// Draws the start-screen picture and the program icon at build time, from a font's chess glyphs, so
// that neither is kept as a hand-made binary.

#include <QCommandLineParser>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <cstdlib>

namespace {

constexpr QSize PictureSize(320, 240);
constexpr int IconSizes[] = {16, 24, 32, 48, 64, 128, 256, 512};
constexpr QChar BlackKnight(0x265E);
// The solid glyph, filled white: the outline glyph would let the board show through the king.
constexpr QChar SolidKing(0x265A);
constexpr QColor NightBlue(0x1b, 0x24, 0x3a);
constexpr QColor DeepBlue(0x33, 0x4d, 0x7a);
constexpr QColor LightSquare(0xe8, 0xd9, 0xb5);
constexpr QColor DarkSquare(0x8a, 0x5a, 0x36);
constexpr QColor IconGreen(0x2e, 0x6b, 0x4f);
constexpr QColor IconGreenDark(0x17, 0x3d, 0x2c);

int Fail(const QString& message) {
    QTextStream(stderr) << "make_artwork: " << message << Qt::endl;
    return EXIT_FAILURE;
}

// A chess glyph filled with `fill` and outlined with `outline`, centred on `centre`.
void DrawGlyph(QPainter& painter, const QString& family, QChar glyph, const QPointF& centre, qreal pixelSize,
               const QColor& fill, const QColor& outline) {
    QFont font(family);
    font.setPixelSize(qRound(pixelSize));
    QPainterPath path;
    path.addText(0, 0, font, glyph);
    path.translate(centre - path.boundingRect().center());
    painter.setPen(QPen(outline, std::max(1.0, pixelSize / 40), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
}

// A board seen from above at a slant: the rows shrink toward the horizon.
void DrawSlantedBoard(QPainter& painter, const QRectF& base) {
    constexpr int Squares = 8;
    constexpr qreal FarWidthShare = 0.55;
    const qreal farHalf = base.width() * FarWidthShare / 2;
    const qreal nearHalf = base.width() / 2;
    const qreal centreX = base.center().x();
    auto edge = [&](qreal depth) { return farHalf + (nearHalf - farHalf) * depth; };
    auto rowY = [&](qreal depth) { return base.top() + base.height() * depth * depth; };
    for (int row = 0; row < Squares; ++row) {
        const qreal d0 = qreal(row) / Squares, d1 = qreal(row + 1) / Squares;
        for (int file = 0; file < Squares; ++file) {
            const qreal f0 = qreal(file) / Squares * 2 - 1, f1 = qreal(file + 1) / Squares * 2 - 1;
            const QPolygonF square(
                {QPointF(centreX + f0 * edge(d0), rowY(d0)), QPointF(centreX + f1 * edge(d0), rowY(d0)),
                 QPointF(centreX + f1 * edge(d1), rowY(d1)), QPointF(centreX + f0 * edge(d1), rowY(d1))});
            painter.setPen(Qt::NoPen);
            painter.setBrush((row + file) % 2 ? DarkSquare : LightSquare);
            painter.drawPolygon(square);
        }
    }
}

QImage StartPicture(const QString& family) {
    QImage image(PictureSize, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, PictureSize.height());
    sky.setColorAt(0, NightBlue);
    sky.setColorAt(1, DeepBlue);
    painter.fillRect(image.rect(), sky);
    DrawSlantedBoard(painter, QRectF(10, 120, 300, 120));
    DrawGlyph(painter, family, SolidKing, QPointF(110, 118), 120, Qt::white, Qt::black);
    DrawGlyph(painter, family, BlackKnight, QPointF(215, 118), 130, QColor(0x20, 0x20, 0x20), Qt::white);
    return image;
}

QImage Icon(const QString& family, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal margin = size / 16.0;
    const QRectF tile(margin, margin, size - 2 * margin, size - 2 * margin);
    QLinearGradient shade(tile.topLeft(), tile.bottomRight());
    shade.setColorAt(0, IconGreen);
    shade.setColorAt(1, IconGreenDark);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawRoundedRect(tile, size / 6.0, size / 6.0);
    DrawGlyph(painter, family, BlackKnight, tile.center(), size * 0.8, Qt::white, Qt::black);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Draws TESSARON's start-screen picture and its icons.");
    parser.addHelpOption();
    const QCommandLineOption font("font", "Font file with the chess glyphs.", "file");
    const QCommandLineOption picture("picture", "PNG file of the 320 x 240 start-screen picture.", "file");
    const QCommandLineOption icons("icon-dir", "Folder for tessaron-<size>.png icons.", "folder");
    parser.addOptions({font, picture, icons});
    parser.process(app);

    const int id = QFontDatabase::addApplicationFont(parser.value(font));
    if (id < 0) return Fail("cannot load the font " + parser.value(font));
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    if (parser.isSet(picture) && !StartPicture(family).save(parser.value(picture)))
        return Fail("cannot write " + parser.value(picture));
    if (parser.isSet(icons)) {
        QDir().mkpath(parser.value(icons));
        for (const int size : IconSizes) {
            const QString file = QDir(parser.value(icons)).filePath(QString("tessaron-%1.png").arg(size));
            if (!Icon(family, size).save(file)) return Fail("cannot write " + file);
        }
    }
    return EXIT_SUCCESS;
}
