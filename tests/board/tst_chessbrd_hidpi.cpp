// The board on a screen scaled by 2: it keeps its size and coordinates in logical pixels, but draws
// squares, coordinates and pieces at the screen's own pixels instead of enlarging a picture.
// Set TESSARON_BOARD_PNG_DIR to a folder to get a picture of the rendered board there.

#include "ChessBrd.h"

#include <QApplication>
#include <QDir>
#include <QTest>

namespace {

constexpr qreal Scale = 2;

QPoint Centre(const TChessBrd& board, Square sq) {
    const int half = board.SizeOfSquare() / 2;
    return board.SquareOrigin(sq) + QPoint(half, half);
}

// True when every aligned 2 x 2 block of the area is one colour: a picture enlarged from half size.
bool IsEnlarged(const QImage& image, const QRect& area) {
    for (int y = area.top(); y < area.bottom(); y += 2)
        for (int x = area.left(); x < area.right(); x += 2) {
            const QRgb pixel = image.pixel(x, y);
            if (image.pixel(x + 1, y) != pixel || image.pixel(x, y + 1) != pixel ||
                image.pixel(x + 1, y + 1) != pixel)
                return false;
        }
    return true;
}

} // namespace

class TestChessBrdHiDpi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void logicalSizeDevicePixels();
    void piecesAreDrawnAtDevicePixels();
    void screenShowsTheBackingImage();
    void draggingWorksInLogicalPixels();
};

void TestChessBrdHiDpi::logicalSizeDevicePixels() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QCOMPARE(board.devicePixelRatioF(), Scale);
    QCOMPARE(board.size(), QSize(368, 368));
    QCOMPARE(board.SquareOrigin(A8), QPoint(24, 24));
    QCOMPARE(board.BackingImage().size(), QSize(736, 736));
    QCOMPARE(board.BackingImage().devicePixelRatio(), Scale);
    board.SetPosition(std::string(64, ' '));
    const QPoint a8 = Centre(board, A8) * Scale;
    QCOMPARE(board.BackingImage().pixelColor(a8), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(board.BackingImage().pixelColor(Centre(board, A1) * Scale), QColor(0x80, 0x80, 0x80));
}

void TestChessBrdHiDpi::piecesAreDrawnAtDevicePixels() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QCOMPARE(board.DrawnPieceSize(), 40);
    const QPixmap king = board.PieceImage('K');
    QCOMPARE(king.size(), QSize(80, 80));
    QCOMPARE(king.deviceIndependentSize(), QSizeF(40, 40));
    const QRect e1(board.SquareOrigin(E1) * Scale, QSize(80, 80));
    QVERIFY(!IsEnlarged(board.BackingImage(), e1));
    if (const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR"); !dir.isEmpty())
        board.BoardPicture().save(QDir(dir).filePath("board-scale-2.png"));
}

void TestChessBrdHiDpi::screenShowsTheBackingImage() {
    TChessBrd board;
    board.SetDisplayCoords(West | South);
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    const QImage shown = board.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), board.BackingImage().size());
    QVERIFY(shown == board.BackingImage());
}

void TestChessBrdHiDpi::draggingWorksInLogicalPixels() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, E2));
    QTest::mouseMove(&board, Centre(board, E2) + QPoint(8, 8));
    QTest::mouseMove(&board, Centre(board, E4));
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, E4));
    QCOMPARE(board.PieceAt(E4), 'P');
    QCOMPARE(board.SquareFromPoint(30, 30), A8);
}

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Scale));
    QApplication app(argc, argv);
    TestChessBrdHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chessbrd_hidpi.moc"
