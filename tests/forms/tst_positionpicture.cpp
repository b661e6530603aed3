// Pictures of the position: files in the format their names choose, with the board's size and its
// pixels; the clipboard in either format; the JPEG quality held to 1..100; a board larger than its
// panel taken whole; and a write that fails said so.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "JpegImage.h"
#include "PositionPicture.h"
#include "UnitSound.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>

namespace {

// The largest mean difference per colour channel a JPEG of quality 100 may have from its source.
constexpr double JpegTolerance = 6.0;

double MeanDifference(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

QByteArray FileStart(const QString& fileName, int length) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.read(length) : QByteArray();
}

QImage SamplePicture() {
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 10, (x + y) * 4));
    return image;
}

} // namespace

class TestPositionPicture : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void pictureIsTheBoardWithAMargin();
    void filesTakeTheFormatTheirNamesChoose_data();
    void filesTakeTheFormatTheirNamesChoose();
    void overwritingAsksFirst();
    void failedWriteIsReported();
    void boardLargerThanItsPanelIsTakenWhole();
    void clipboardHoldsTheChosenFormat_data();
    void clipboardHoldsTheChosenFormat();
    void jpegQualityIsHeldToItsRange();

private:
    TFormMain& NewWindow(const QString& ini = {});
    QImage ExpectedPicture(const TFormMain& form) const;

    QTemporaryDir FDir;
    QTemporaryDir FOut;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TSoundRecorder> FSounds;
};

void TestPositionPicture::init() {
    FDialogs = std::make_unique<DialogRecorder>();
    FSounds = std::make_unique<TSoundRecorder>();
}

void TestPositionPicture::cleanup() {
    CloseFormMain(FForm);
    FSounds.reset();
    FDialogs.reset();
}

TFormMain& TestPositionPicture::NewWindow(const QString& ini) {
    PrepareProgramDir(FDir, "[Common]\nLanguage=German\nPlaySound=0\n" + ini);
    TFormMain& form = ShowNewFormMain(FForm);
    form.ChessBrd->PlayMove(E2, E4); // a position that is not the start
    return form;
}

QImage TestPositionPicture::ExpectedPicture(const TFormMain& form) const {
    return PositionPicture(*form.ChessBrd, form.PanelChessBoard->palette().color(QPalette::Window));
}

void TestPositionPicture::pictureIsTheBoardWithAMargin() {
    TFormMain& form = NewWindow();
    const QImage board = form.ChessBrd->BoardPicture();
    const QColor margin(0x12, 0x34, 0x56);
    const QImage picture = PositionPicture(*form.ChessBrd, margin);
    // On a scaled screen (the test runs with QT_SCALE_FACTOR=2 too) the picture has the screen's pixels.
    const qreal ratio = board.devicePixelRatio();
    const int border = qRound(PictureMargin * ratio);
    QCOMPARE(board.size(), form.ChessBrd->size() * ratio);
    QCOMPARE(picture.size(), board.size() + QSize(border, border));
    QImage boardPixels = board.convertToFormat(picture.format());
    boardPixels.setDevicePixelRatio(1);
    QCOMPARE(picture.copy(QRect(QPoint(0, 0), board.size())), boardPixels);
    for (const QPoint at : {QPoint(picture.width() - 1, 0), QPoint(0, picture.height() - 1),
                            QPoint(board.width(), board.height())})
        QCOMPARE(picture.pixelColor(at), margin);
}

void TestPositionPicture::filesTakeTheFormatTheirNamesChoose_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("magic");
    QTest::addColumn<bool>("lossless");
    const QByteArray jpeg("\xFF\xD8\xFF", 3);
    QTest::newRow("brett.jpg") << "brett.jpg" << jpeg << false;
    QTest::newRow("brett") << "brett" << jpeg << false;
    QTest::newRow("brett.gif") << "brett.gif" << jpeg << false;
    QTest::newRow("BRETT.BMP") << "BRETT.BMP" << QByteArray("BM") << true;
    QTest::newRow("brett.bmp") << "brett.bmp" << QByteArray("BM") << true;
    QTest::newRow("brett.Png") << "brett.Png" << QByteArray("\x89PNG") << true;
}

void TestPositionPicture::filesTakeTheFormatTheirNamesChoose() {
    QFETCH(QString, name);
    QFETCH(QByteArray, magic);
    QFETCH(bool, lossless);
    TFormMain& form = NewWindow("[BoardSettings]\nJpegQuality=100\n");
    const QString fileName = FOut.filePath(name);
    QFile::remove(fileName);
    FDialogs->FileAnswers << fileName;
    form.MenuItemSavePosAsGraphic->trigger();

    QCOMPARE(FDialogs->Files.size(), 1);
    QCOMPARE(FDialogs->Files[0].Kind, TFileDialogKind::Save);
    QCOMPARE(FDialogs->Files[0].DefaultExtension, "bmp");
    QVERIFY(FDialogs->Files[0].Filter.startsWith("Bitmaps (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg"));
    QVERIFY(FDialogs->Files[0].Directory.isEmpty()); // the name is cleared each time
    QVERIFY(FDialogs->Messages.isEmpty());
    QCOMPARE(FSounds->Calls, (QList<TSoundCall>{TSoundCall{"SOUND\\KAMERA.WAV", true}})); // sound off or not

    QCOMPARE(FileStart(fileName, magic.size()), magic);
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    const QImage read = reader.read();
    const QImage expected = ExpectedPicture(form);
    QCOMPARE(read.size(), expected.size());
    if (lossless)
        QCOMPARE(read.convertToFormat(QImage::Format_RGB32), expected);
    else
        QVERIFY2(MeanDifference(read, expected) < JpegTolerance,
                 qPrintable(QString::number(MeanDifference(read, expected))));
}

void TestPositionPicture::overwritingAsksFirst() {
    TFormMain& form = NewWindow();
    const QString fileName = FOut.filePath("old.png");
    QFile old(fileName);
    QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
    old.write("keep me");
    old.close();
    FDialogs->FileAnswers << fileName << fileName;
    FDialogs->MessageAnswers << mrNo << mrYes;
    form.MenuItemSavePosAsGraphic->trigger();
    QCOMPARE(FileStart(fileName, 16), QByteArray("keep me"));
    form.MenuItemSavePosAsGraphic->trigger();
    QCOMPARE(FileStart(fileName, 4), QByteArray("\x89PNG"));
    QCOMPARE(FDialogs->MessageTexts(), QStringList(2, "Datei bereits vorhanden, überschreiben?"));
}

void TestPositionPicture::failedWriteIsReported() {
    TFormMain& form = NewWindow();
    const QString fileName = FOut.filePath("no such folder/brett.jpg");
    FDialogs->FileAnswers << fileName;
    form.MenuItemSavePosAsGraphic->trigger();
    QCOMPARE(FDialogs->Messages.size(), 1);
    QCOMPARE(FDialogs->Messages[0].Kind, TMsgDlgType::mtError);
    QVERIFY2(FDialogs->Messages[0].Text.startsWith("Das Bild konnte nicht in " + fileName +
                                                   " gespeichert werden."),
             qPrintable(FDialogs->Messages[0].Text));
    QVERIFY(!QFile::exists(fileName));

    QString reason;
    QVERIFY(!SavePictureFile(FOut.filePath("empty.png"), QImage(), 80, &reason));
    QVERIFY(!reason.isEmpty());
}

void TestPositionPicture::boardLargerThanItsPanelIsTakenWhole() {
    TFormMain& form = NewWindow("BrdAutoResize=0\n");
    form.ChessBrd->SetSizeOfSquare(150);
    QTRY_VERIFY(form.ChessBrd->width() > form.PanelChessBoard->width());
    const QString fileName = FOut.filePath("large.bmp");
    FDialogs->FileAnswers << fileName;
    form.MenuItemSavePosAsGraphic->trigger();
    const QImage read(fileName);
    QCOMPARE(read.size(), form.ChessBrd->size() + QSize(PictureMargin, PictureMargin));
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), ExpectedPicture(form));
}

void TestPositionPicture::clipboardHoldsTheChosenFormat_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("bitmap") << 0;
    QTest::newRow("JPEG") << 1;
}

void TestPositionPicture::clipboardHoldsTheChosenFormat() {
    QFETCH(int, format);
    TFormMain& form =
        NewWindow(QString("[BoardSettings]\nBrdSnapshotFormat=%1\nJpegQuality=100\n").arg(format));
    QGuiApplication::clipboard()->setText("old contents");
    form.AktuellePositionindieZwischenablagealsGrafikkopieren1->trigger();
    QCOMPARE(FSounds->Calls, (QList<TSoundCall>{TSoundCall{"SOUND\\KAMERA.WAV", true}}));
    QVERIFY(FDialogs->Files.isEmpty());
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data);
    QVERIFY(!data->hasText()); // the contents are replaced
    const QImage expected = ExpectedPicture(form);
    if (format == 0) {
        QVERIFY(data->hasImage());
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), expected);
    } else {
        QVERIFY(data->hasFormat(JpegMimeType));
        const QImage read = QImage::fromData(data->data(JpegMimeType), "JPEG");
        QCOMPARE(read.size(), expected.size());
        QVERIFY(MeanDifference(read, expected) < JpegTolerance);
    }
}

void TestPositionPicture::jpegQualityIsHeldToItsRange() {
    QCOMPARE(ClampJpegQuality(-5), 1);
    QCOMPARE(ClampJpegQuality(0), 1);
    QCOMPARE(ClampJpegQuality(1), 1);
    QCOMPARE(ClampJpegQuality(55), 55);
    QCOMPARE(ClampJpegQuality(100), 100);
    QCOMPARE(ClampJpegQuality(101), 100);
    const QImage image = SamplePicture();
    QCOMPARE(EncodeJpeg(image, 0), EncodeJpeg(image, 1));
    QCOMPARE(EncodeJpeg(image, 1000), EncodeJpeg(image, 100));
    QVERIFY(EncodeJpeg(image, 1).size() < EncodeJpeg(image, 100).size());
    QVERIFY(EncodeJpeg(QImage(), 80).isEmpty());
    const QImage read = QImage::fromData(EncodeJpeg(image, 100), "JPEG");
    QCOMPARE(read.size(), image.size());
    QVERIFY(MeanDifference(read, image) < JpegTolerance);
}

QTEST_MAIN(TestPositionPicture)
#include "tst_positionpicture.moc"
