// Draws a piece-set bitmap from the chess glyphs of a font, so the built-in sets are made at build
// time from fonts rather than kept as hand-made binaries.

#include "PieceSetCatalogue.h"
#include "PieceSetRenderer.h"

#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTextStream>

#include <cstdlib>
#include <optional>

namespace {

const QString kDefaultOutput = QStringLiteral("SETCLASSIC40.bmp");
const QString kDefaultFont = QStringLiteral("/usr/share/fonts/truetype/freefont/FreeSerif.ttf");
const QString kDefaultStyle = QStringLiteral("classic");
constexpr int kDefaultCellSize = 40;
// Below this the glyphs lose their detail; above it nobody needs a bitmap set.
constexpr int kSmallestCell = 16;
constexpr int kLargestCell = 256;
constexpr int kPreviewScale = 3;

struct Options {
    QString output;
    QString font;
    QString style;
    QString preview;
    // With a catalogue, every set of it is drawn instead of the one set above.
    QString catalogue;
    QString fontDir;
    QString outputDir;
    QString contactSheet;
    int cellSize = kDefaultCellSize;
};

int fail(const QString& message) {
    QTextStream(stderr) << "make_pieceset: " << message << Qt::endl;
    return EXIT_FAILURE;
}

std::optional<Options> parseOptions(const QStringList& arguments, QString* error) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Draws a chess piece-set bitmap from a font's chess glyphs."));
    parser.addHelpOption();
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Bitmap to write: PNG for a .png name, else BMP."),
                                    QStringLiteral("file"), kDefaultOutput);
    const QCommandLineOption size({QStringLiteral("s"), QStringLiteral("size")},
                                  QStringLiteral("Cell size in pixels."), QStringLiteral("pixels"),
                                  QString::number(kDefaultCellSize));
    const QCommandLineOption font({QStringLiteral("f"), QStringLiteral("font")},
                                  QStringLiteral("Font file with the chess glyphs U+2654..U+265F."),
                                  QStringLiteral("file"), kDefaultFont);
    const QCommandLineOption style(
        QStringLiteral("style"),
        QStringLiteral("Look of the set: %1.").arg(pieceset::styleNames().join(u", ")),
        QStringLiteral("name"), kDefaultStyle);
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Also write a PNG of the set on light and dark squares."),
                                     QStringLiteral("png"));
    const QCommandLineOption catalogue(QStringLiteral("catalogue"),
                                       QStringLiteral("Draw every set of this list, one NAME.bmp each."),
                                       QStringLiteral("file"));
    const QCommandLineOption fontDir(QStringLiteral("font-dir"),
                                     QStringLiteral("Folder the catalogue's font files are found in."),
                                     QStringLiteral("folder"), QStringLiteral("/usr/share/fonts/truetype"));
    const QCommandLineOption outputDir(QStringLiteral("output-dir"),
                                       QStringLiteral("Folder the catalogue's sets are written to."),
                                       QStringLiteral("folder"), QStringLiteral("."));
    const QCommandLineOption contactSheet(QStringLiteral("contact-sheet"),
                                          QStringLiteral("PNG of all the catalogue's sets for review."),
                                          QStringLiteral("png"));
    parser.addOptions({output, size, font, style, preview, catalogue, fontDir, outputDir, contactSheet});
    parser.process(arguments);

    Options options;
    options.output = parser.value(output);
    options.font = parser.value(font);
    options.style = parser.value(style);
    options.preview = parser.value(preview);
    options.catalogue = parser.value(catalogue);
    options.fontDir = parser.value(fontDir);
    options.outputDir = parser.value(outputDir);
    options.contactSheet = parser.value(contactSheet);
    bool isNumber = false;
    options.cellSize = parser.value(size).toInt(&isNumber);
    if (!isNumber || options.cellSize < kSmallestCell || options.cellSize > kLargestCell) {
        *error =
            QStringLiteral("cell size must be a number from %1 to %2").arg(kSmallestCell).arg(kLargestCell);
        return std::nullopt;
    }
    return options;
}

bool save(const QImage& image, const QString& file, const QByteArray& format, QString* error) {
    QImageWriter writer(file, format);
    if (writer.write(image)) return true;
    *error = QStringLiteral("cannot write %1: %2").arg(file, writer.errorString());
    return false;
}

// Taken before the application object exists, because that object removes --style for itself.
QStringList commandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int drawCatalogue(const Options& options) {
    QFile list(options.catalogue);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(options.catalogue));
    QString error;
    const auto entries = pieceset::parseCatalogue(QString::fromUtf8(list.readAll()), &error);
    if (entries.isEmpty()) return fail(error.isEmpty() ? QStringLiteral("empty catalogue") : error);
    const QImage sheet = pieceset::drawCatalogue(entries, options.fontDir, options.outputDir, &error);
    if (sheet.isNull()) return fail(error);
    if (!options.contactSheet.isEmpty() && !save(sheet, options.contactSheet, "PNG", &error))
        return fail(error);
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char* argv[]) {
    const QStringList arguments = commandLine(argc, argv);
    // The generator runs during the build, where there is no display to connect to.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString error;
    const auto options = parseOptions(arguments, &error);
    if (!options) return fail(error);
    if (!options->catalogue.isEmpty()) return drawCatalogue(*options);
    const auto style = pieceset::styleNamed(options->style);
    if (!style) return fail(QStringLiteral("unknown style %1").arg(options->style));
    const auto glyphs = pieceset::loadGlyphs(options->font);
    if (!glyphs)
        return fail(QStringLiteral("%1 is not a font with all twelve chess glyphs").arg(options->font));

    const QImage sheet = pieceset::renderSheet(*glyphs, options->cellSize, *style);
    const QByteArray format =
        options->output.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? "PNG" : "BMP";
    if (!save(sheet, options->output, format, &error)) return fail(error);
    if (!options->preview.isEmpty() && !save(pieceset::renderPreview(sheet, options->cellSize, kPreviewScale),
                                             options->preview, "PNG", &error)) {
        return fail(error);
    }
    return EXIT_SUCCESS;
}
