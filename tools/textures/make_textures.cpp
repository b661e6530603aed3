// Draws the board textures the program ships (marble and wood, for border, light and dark squares)
// as seamless tiles, so they are made at build time rather than kept as binaries.

#include "TextureRenderer.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTextStream>

#include <cstdlib>

namespace {

constexpr int DefaultTileSize = 128;
// Smaller tiles repeat visibly on the squares; larger ones only cost memory.
constexpr int SmallestTile = 16;
constexpr int LargestTile = 512;
constexpr int PreviewSquare = 40;
constexpr int PreviewBorder = 24;

int Fail(const QString& message) {
    QTextStream(stderr) << "make_textures: " << message << Qt::endl;
    return EXIT_FAILURE;
}

bool Save(const QImage& image, const QString& file, const QByteArray& format, QString* error) {
    QImageWriter writer(file, format);
    if (writer.write(image)) return true;
    *error = QStringLiteral("cannot write %1: %2").arg(file, writer.errorString());
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    // The generator runs during the build, where there is no display to connect to.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the seamless board textures."));
    parser.addHelpOption();
    const QCommandLineOption outputDir({QStringLiteral("o"), QStringLiteral("output-dir")},
                                       QStringLiteral("Folder to write the textures into."),
                                       QStringLiteral("folder"), QStringLiteral("."));
    const QCommandLineOption size({QStringLiteral("s"), QStringLiteral("size")},
                                  QStringLiteral("Edge of one tile in pixels."), QStringLiteral("pixels"),
                                  QString::number(DefaultTileSize));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Also write a PNG of a board in each look."),
                                     QStringLiteral("png"));
    parser.addOptions({outputDir, size, preview});
    parser.process(app);

    bool isNumber = false;
    const int tileSize = parser.value(size).toInt(&isNumber);
    if (!isNumber || tileSize < SmallestTile || tileSize > LargestTile)
        return Fail(
            QStringLiteral("tile size must be a number from %1 to %2").arg(SmallestTile).arg(LargestTile));
    const QDir folder(parser.value(outputDir));
    if (!QDir().mkpath(folder.path())) return Fail(QStringLiteral("cannot create %1").arg(folder.path()));

    QString error;
    std::vector<QImage> tiles;
    for (const textures::TextureRecipe& recipe : textures::ShippedTextures()) {
        tiles.push_back(textures::RenderTexture(recipe, tileSize));
        if (!Save(tiles.back(), folder.filePath(recipe.FileName), "BMP", &error)) return Fail(error);
    }
    if (parser.isSet(preview) && !Save(textures::RenderPreview(tiles, PreviewSquare, PreviewBorder),
                                       parser.value(preview), "PNG", &error))
        return Fail(error);
    return EXIT_SUCCESS;
}
