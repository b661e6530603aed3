// Checks the board textures the build draws: each one loads, has the tile size, is a seamless tile
// (its last column runs on into its first and its last row into its first), and the looks make sense
// on a board (light squares lighter than dark ones, a border that white coordinates stand out on).

#include <QImage>
#include <QTest>

#include <cmath>

namespace {

constexpr int TileSize = 128;
const QStringList Looks{"marmor", "holz"};
const QStringList Parts{"border", "light", "dark"};

int Difference(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// Mean colour difference between column x and the column after it (the first after the last).
double ColumnStep(const QImage& image, int x) {
    const int next = (x + 1) % image.width();
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        sum += Difference(image.pixel(x, y), image.pixel(next, y));
    return sum / image.height();
}

// A tile joins its copies without a seam when stepping across the join changes the colour no more
// than a step inside the picture does on average (twice that, for the grain of the texture).
bool JoinsSeamlessly(const QImage& image) {
    double inside = 0;
    for (int x = 0; x + 1 < image.width(); ++x)
        inside += ColumnStep(image, x);
    inside /= image.width() - 1;
    return ColumnStep(image, image.width() - 1) <= 2 * inside;
}

QImage Turned(const QImage& image) {
    return image.transformed(QTransform().rotate(90));
}

double MeanLightness(const QImage& image) {
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += qGray(image.pixel(x, y));
    return sum / (image.width() * image.height());
}

QImage Texture(const QString& look, const QString& part) {
    return QImage(QStringLiteral(TEXTURE_DIR "/%1_%2.bmp").arg(look, part));
}

} // namespace

class TestTextures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void seamDetectionCatchesAPlainGradient();
    void everyTextureIsASeamlessTile_data();
    void everyTextureIsASeamlessTile();
    void looksFitABoard_data();
    void looksFitABoard();
};

// The measure itself: a picture that runs from dark to light has a hard edge where it is repeated.
void TestTextures::seamDetectionCatchesAPlainGradient() {
    QImage gradient(TileSize, TileSize, QImage::Format_RGB32);
    for (int y = 0; y < TileSize; ++y)
        for (int x = 0; x < TileSize; ++x)
            gradient.setPixel(x, y, qRgb(x * 2, x * 2, x * 2));
    QVERIFY(!JoinsSeamlessly(gradient));
    QVERIFY(JoinsSeamlessly(Turned(gradient))); // turned, the columns are all alike
}

void TestTextures::everyTextureIsASeamlessTile_data() {
    QTest::addColumn<QString>("look");
    QTest::addColumn<QString>("part");
    for (const QString& look : Looks)
        for (const QString& part : Parts)
            QTest::addRow("%s_%s", qPrintable(look), qPrintable(part)) << look << part;
}

void TestTextures::everyTextureIsASeamlessTile() {
    QFETCH(QString, look);
    QFETCH(QString, part);
    const QImage texture = Texture(look, part);
    QVERIFY2(!texture.isNull(), "the build did not draw the texture");
    QCOMPARE(texture.size(), QSize(TileSize, TileSize));
    QVERIFY2(JoinsSeamlessly(texture), "the right edge does not run on into the left edge");
    QVERIFY2(JoinsSeamlessly(Turned(texture)), "the bottom edge does not run on into the top edge");
    // A texture, not a plain colour: neighbouring columns differ somewhere.
    QVERIFY(ColumnStep(texture, TileSize / 2) > 0 || ColumnStep(Turned(texture), TileSize / 2) > 0);
}

void TestTextures::looksFitABoard_data() {
    QTest::addColumn<QString>("look");
    for (const QString& look : Looks)
        QTest::newRow(qPrintable(look)) << look;
}

void TestTextures::looksFitABoard() {
    QFETCH(QString, look);
    constexpr double DarkEnoughForWhiteText = 128;
    const double light = MeanLightness(Texture(look, "light"));
    const double dark = MeanLightness(Texture(look, "dark"));
    QVERIFY2(light > dark + 50, qPrintable(QString("light %1, dark %2").arg(light).arg(dark)));
    QVERIFY(MeanLightness(Texture(look, "border")) < DarkEnoughForWhiteText);
}

QTEST_GUILESS_MAIN(TestTextures)
#include "tst_textures.moc"
