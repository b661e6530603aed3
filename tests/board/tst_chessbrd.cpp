// The board widget on a real (offscreen) window: geometry, drawing into the backing image, textures,
// repainting after moves, drag and drop with mouse events, animation paths and the property rules.
// Set TESSARON_BOARD_PNG_DIR to a folder to get pictures of the rendered boards there.

#include "ChessBrd.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>

namespace {

// A piece set whose pieces are solid blocks in one colour per side: easy to find in pixels.
QImage BlockPieceSet(int cell, QColor white = Qt::red, QColor black = Qt::blue) {
    QImage set(6 * cell, 4 * cell, QImage::Format_RGB32);
    set.fill(Qt::white);
    QPainter painter(&set);
    painter.fillRect(0, 0, 6 * cell, cell, white);
    painter.fillRect(0, cell, 6 * cell, cell, Qt::black); // masks: fully opaque
    painter.fillRect(0, 2 * cell, 6 * cell, cell, black);
    painter.fillRect(0, 3 * cell, 6 * cell, cell, Qt::black);
    return set;
}

QPoint Centre(const TChessBrd& board, Square sq) {
    const int half = board.SizeOfSquare() / 2;
    return board.SquareOrigin(sq) + QPoint(half, half);
}

void SavePicture(const TChessBrd& board, const QString& name) {
    const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR");
    if (!dir.isEmpty()) board.BoardPicture().save(QDir(dir).filePath(name + ".png"));
}

// The coordinates in a font read from a known file: the board's own default family resolves to
// whatever the machine has installed, and the glyphs' ink differs from font to font.
QFont KnownCoordFont() {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFont(TESSARON_TEST_FONT);
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    QFont font(family);
    font.setPointSize(7);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

QColor Pixel(const TChessBrd& board, QPoint at) { return board.BackingImage().pixelColor(at); }

// Drags with real mouse events: press, move past the drag distance, release.
void Drag(TChessBrd& board, QPoint from, QPoint to) {
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(&board, from + QPoint(8, 8));
    QTest::mouseMove(&board, to);
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, to);
}

} // namespace

class TestChessBrd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void geometryWithDefaults();
    void turnedBoardSwapsCorners();
    void squareFromPointAtTheEdges();
    void squareColoursAndFrames();
    void piecesAreCentredNotScaled_data();
    void piecesAreCentredNotScaled();
    void wrongPieceSetShapeIsIgnored();
    void piecesGrowWithLargerSquares_data();
    void piecesGrowWithLargerSquares();
    void builtInPiecesStayCrispWhenGrown();
    void boardSizeIsBounded();
    void coordinatesInBothOrientations();
    void texturesTileFromTheCorner();
    void onlyChangedSquaresAreRepainted();
    void linesKeepTheirColourAfterAMove();
    void dragMakesTheMoveAndItsEvents();
    void illegalDropPutsThePieceBack();
    void dropOnOwnSquareMakesNoMove();
    void escapeCancelsTheDrag();
    void aNewPressForgetsAnOlderOne();
    void noDropWhileTheEngineThinks();
    void knightSlidesAlongRankThenFile();
    void straightSlideFollowsTheSlope();
    void engineMovesAreAnimatedDraggedOnesNot();
    void setterRules();
    void cornerGripSizesTheBoard();
};

void TestChessBrd::geometryWithDefaults() {
    TChessBrd board;
    QCOMPARE(board.size(), QSize(368, 368));
    QCOMPARE(board.SquareOrigin(A8), QPoint(24, 24));
    QCOMPARE(board.SquareOrigin(H1), QPoint(304, 304));
    QCOMPARE(board.SquareOrigin(E2), QPoint(184, 264));
    board.SetSizeOfSquare(50);
    board.SetSizeOfBorder(10);
    QCOMPARE(board.size(), QSize(420, 420));
    QCOMPARE(board.SquareOrigin(B8), QPoint(60, 10));
    QCOMPARE(board.BackingImage().size(), QSize(420, 420));
}

void TestChessBrd::turnedBoardSwapsCorners() {
    TChessBrd board;
    board.SetWhiteOnTop(true);
    QCOMPARE(board.SquareOrigin(H1), QPoint(24, 24));
    QCOMPARE(board.SquareOrigin(A8), QPoint(304, 304));
    QCOMPARE(board.SquareFromPoint(30, 30), H1);
    QCOMPARE(board.SquareFromPoint(310, 310), A8);
}

void TestChessBrd::squareFromPointAtTheEdges() {
    TChessBrd board;
    QCOMPARE(board.SquareFromPoint(23, 100), None);
    QCOMPARE(board.SquareFromPoint(100, 23), None);
    QCOMPARE(board.SquareFromPoint(24, 24), A8);
    QCOMPARE(board.SquareFromPoint(63, 63), A8);
    QCOMPARE(board.SquareFromPoint(64, 24), B8);
    QCOMPARE(board.SquareFromPoint(343, 343), H1);
    QCOMPARE(board.SquareFromPoint(24 + 8 * 40, 100), None);
    QCOMPARE(board.SquareFromPoint(100, 24 + 8 * 40), None);
    QCOMPARE(board.SquareFromPoint(0, 0), None);
    QCOMPARE(board.SquareFromPoint(367, 367), None);
}

void TestChessBrd::squareColoursAndFrames() {
    TChessBrd board;
    board.SetPosition(std::string(64, ' '));
    board.SetBorderColor(QColor(0, 128, 128));
    QCOMPARE(Pixel(board, Centre(board, A8)), QColor(0xC0, 0xC0, 0xC0)); // light
    QCOMPARE(Pixel(board, Centre(board, A1)), QColor(0x80, 0x80, 0x80)); // dark
    QCOMPARE(Pixel(board, Centre(board, H8)), QColor(0x80, 0x80, 0x80));
    QCOMPARE(Pixel(board, QPoint(5, 100)), QColor(0, 128, 128));        // border
    QCOMPARE(Pixel(board, QPoint(0, 0)), QColor(Qt::black));             // outer frame
    QCOMPARE(Pixel(board, QPoint(367, 200)), QColor(Qt::black));
    QCOMPARE(Pixel(board, QPoint(23, 200)), QColor(Qt::black));           // inner frame
    QCOMPARE(Pixel(board, QPoint(344, 200)), QColor(Qt::black));
    QCOMPARE(Pixel(board, QPoint(24, 200)), QColor(0xC0, 0xC0, 0xC0));   // a4 is light
}

void TestChessBrd::piecesAreCentredNotScaled_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("offset");
    QTest::newRow("32 pixels, 4 in") << 32 << 4;
    QTest::newRow("40 pixels, flush") << 40 << 0;
    QTest::newRow("80 pixels, 20 out") << 80 << -20;
}

void TestChessBrd::piecesAreCentredNotScaled() {
    QFETCH(int, cell);
    QFETCH(int, offset);
    TChessBrd board;
    board.SetCustomPieceSet(BlockPieceSet(cell));
    QCOMPARE(board.PieceSize(), cell);
    std::string placement(64, ' ');
    placement[E4 - 1] = 'Q';
    board.SetPosition(placement);
    const QPoint corner = board.SquareOrigin(E4) + QPoint(offset, offset);
    QCOMPARE(Pixel(board, corner), QColor(Qt::red));
    QCOMPARE(Pixel(board, corner + QPoint(cell - 1, cell - 1)), QColor(Qt::red));
    QVERIFY(Pixel(board, corner - QPoint(1, 1)) != QColor(Qt::red));
    QVERIFY(Pixel(board, corner + QPoint(cell, cell)) != QColor(Qt::red));
}

void TestChessBrd::wrongPieceSetShapeIsIgnored() {
    TChessBrd board;
    board.SetCustomPieceSet(BlockPieceSet(32));
    board.SetCustomPieceSet(QImage(100, 100, QImage::Format_RGB32)); // not 3 : 2
    QCOMPARE(board.PieceSize(), 32);
    board.SetCustomPieceSet(QImage()); // nothing selects the built-in set again
    QVERIFY(board.CustomPieceSet().isNull());
    QVERIFY(TChessBrd::IsValidPieceSet(QImage(3, 2, QImage::Format_RGB32)));
    QVERIFY(!TChessBrd::IsValidPieceSet(QImage(240, 161, QImage::Format_RGB32)));
}

void TestChessBrd::piecesGrowWithLargerSquares_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("square");
    QTest::addColumn<int>("drawn");
    QTest::newRow("32 on 80: in proportion") << 32 << 80 << 64;
    QTest::newRow("40 on 100: the whole square") << 40 << 100 << 100;
    QTest::newRow("60 on 100: no larger than the square") << 60 << 100 << 100;
    QTest::newRow("80 on 60: a larger set keeps its size") << 80 << 60 << 80;
    QTest::newRow("40 on 30: smaller squares change nothing") << 40 << 30 << 40;
}

// Squares beyond the default size make the pieces grow with them, centred as before.
void TestChessBrd::piecesGrowWithLargerSquares() {
    QFETCH(int, cell);
    QFETCH(int, square);
    QFETCH(int, drawn);
    TChessBrd board;
    board.SetCustomPieceSet(BlockPieceSet(cell));
    board.SetSizeOfSquare(square);
    QCOMPARE(board.PieceSize(), cell);
    QCOMPARE(board.DrawnPieceSize(), drawn);
    std::string placement(64, ' ');
    placement[E4 - 1] = 'Q';
    board.SetPosition(placement);
    const int offset = (square - drawn) / 2;
    const QPoint corner = board.SquareOrigin(E4) + QPoint(offset, offset);
    QCOMPARE(Pixel(board, corner + QPoint(1, 1)), QColor(Qt::red));
    QCOMPARE(Pixel(board, corner + QPoint(drawn - 2, drawn - 2)), QColor(Qt::red));
    QVERIFY(Pixel(board, corner - QPoint(1, 1)) != QColor(Qt::red));
    QVERIFY(Pixel(board, corner + QPoint(drawn, drawn)) != QColor(Qt::red));
}

// The height of a piece's ink, in rows of its image that are more than half opaque.
int InkHeight(const QPixmap& piece) {
    const QImage image = piece.toImage().convertToFormat(QImage::Format_ARGB32);
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qAlpha(image.pixel(x, y)) > 127;
        rows += ink ? 1 : 0;
    }
    return rows;
}

// The built-in set, grown, comes from its large master: the pieces fill the square as they fill a
// 40 pixel one, and their edges are as sharp as at 40 pixels rather than smeared by enlarging.
void TestChessBrd::builtInPiecesStayCrispWhenGrown() {
    TChessBrd board;
    const int inkAt40 = InkHeight(board.PieceImage('k'));
    const QImage at40 = board.PieceImage('k').toImage();
    for (int square : {56, 100, 200}) {
        board.SetSizeOfSquare(square);
        SavePicture(board, QString("board-built-in-%1").arg(square));
        QCOMPARE(board.DrawnPieceSize(), square);
        const QPixmap king = board.PieceImage('k');
        QCOMPARE(king.size(), QSize(square, square));
        const double grown = double(InkHeight(king)) / square;
        QVERIFY2(std::abs(grown - double(inkAt40) / 40) < 0.05, qPrintable(QString::number(grown)));
        // An enlarged 40 pixel piece would have soft rows of half-opaque pixels about as many as its
        // growth factor at every edge; the master's edge is at most two pixels wide.
        const QImage image = king.toImage().convertToFormat(QImage::Format_ARGB32);
        const int middle = square / 2;
        int soft = 0;
        for (int x = 0; x < square; ++x) {
            const int alpha = qAlpha(image.pixel(x, middle));
            soft += alpha > 16 && alpha < 240 ? 1 : 0;
        }
        QVERIFY2(soft <= 6, qPrintable(QString("%1 soft pixels at %2").arg(soft).arg(square)));
    }
    board.SetSizeOfSquare(40);
    QCOMPARE(board.PieceImage('k').toImage(), at40); // at its own size the set is drawn as it is
}

// Whatever size is asked for, the board and its backing image stay within their bounds.
void TestChessBrd::boardSizeIsBounded() {
    TChessBrd board;
    board.SetSizeOfSquare(std::numeric_limits<int>::max());
    board.SetSizeOfBorder(std::numeric_limits<int>::max());
    const int largest = 8 * TChessBrd::MaxSquareSize + 2 * TChessBrd::MaxBorderSize;
    QCOMPARE(board.width(), largest);
    QCOMPARE(board.BackingImage().size(), QSize(largest, largest));
    board.SetSizeOfSquare(-5);
    board.SetSizeOfBorder(-5);
    QCOMPARE(board.SizeOfSquare(), 1);
    QCOMPARE(board.SizeOfBorder(), 0);
    QCOMPARE(board.width(), 8);
}

// The label of a rank seen on a normal board appears, on a turned board, where the other end's
// label was; so the numbers run 1 to 8 from the top and the letters H to A from the left.
void TestChessBrd::coordinatesInBothOrientations() {
    TChessBrd normal, turned;
    QVERIFY2(!KnownCoordFont().family().isEmpty(), TESSARON_TEST_FONT);
    for (TChessBrd* board : {&normal, &turned}) {
        board->SetCoordFont(KnownCoordFont(), Qt::white);
        board->SetBorderColor(Qt::black);
        board->SetDisplayCoords(West | North | East | South);
    }
    turned.SetWhiteOnTop(true);
    SavePicture(normal, "board-coordinates");
    SavePicture(turned, "board-coordinates-turned");
    auto label = [](const TChessBrd& board, QRect area) { return board.BackingImage().copy(area); };
    auto westLabel = [&](const TChessBrd& board, int i) { return label(board, QRect(1, 24 + i * 40 + 8, 22, 24)); };
    auto northLabel = [&](const TChessBrd& board, int i) { return label(board, QRect(24 + i * 40 + 8, 1, 24, 22)); };
    for (int i = 0; i < 8; ++i) {
        QVERIFY2(westLabel(normal, i) == westLabel(turned, 7 - i), qPrintable(QString("rank row %1").arg(i)));
        QVERIFY2(northLabel(normal, i) == northLabel(turned, 7 - i), qPrintable(QString("file column %1").arg(i)));
        QVERIFY(westLabel(normal, i) != westLabel(normal, (i + 1) % 8));
        QVERIFY(westLabel(normal, i).convertToFormat(QImage::Format_RGB32).pixelColor(0, 0) == QColor(Qt::black));
        const QImage text = westLabel(normal, i);
        bool hasFontColour = false;
        for (int y = 0; y < text.height(); ++y)
            for (int x = 0; x < text.width(); ++x) hasFontColour |= qGray(text.pixel(x, y)) > 200;
        QVERIFY(hasFontColour);
    }
    // the default spacing: numbers 9 pixels from the outer edge
    const QImage west = westLabel(normal, 0);
    int firstInk = 99;
    for (int x = 0; x < west.width(); ++x)
        for (int y = 0; y < west.height(); ++y)
            if (qGray(west.pixel(x, y)) > 100) firstInk = std::min(firstInk, x + 1);
    QVERIFY2(firstInk >= 9 && firstInk <= 11, qPrintable(QString::number(firstInk)));
}

void TestChessBrd::texturesTileFromTheCorner() {
    QImage texture(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) texture.setPixelColor(x, y, QColor(x * 15, y * 15, 100));
    TChessBrd board;
    board.SetPosition(std::string(64, ' '));
    board.SetSquareLight(texture);
    board.SetBorderBitmap(texture);
    for (Square sq : {A8, C8, E4, H1, B1}) {
        for (QPoint inside : {QPoint(0, 0), QPoint(17, 5), QPoint(39, 39)}) {
            const QPoint at = board.SquareOrigin(sq) + inside;
            QCOMPARE(Pixel(board, at), texture.pixelColor(at.x() % 16, at.y() % 16));
        }
    }
    QCOMPARE(Pixel(board, QPoint(5, 200)), texture.pixelColor(5, 200 % 16));
    QCOMPARE(Pixel(board, Centre(board, A1)), QColor(0x80, 0x80, 0x80)); // dark squares keep their colour
    board.SetSquareLight(QImage(0, 16, QImage::Format_RGB32));           // an empty texture is absent
    QCOMPARE(Pixel(board, Centre(board, A8)), QColor(0xC0, 0xC0, 0xC0));
}

// The light-square texture is swapped without a repaint before the move: squares painted afresh
// show the new texture, all others the old one.
void TestChessBrd::onlyChangedSquaresAreRepainted() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.SetCustomPieceSet(BlockPieceSet(20));
    board.SetSquareLight(QImage());
    const QImage green = [] {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::green);
        return image;
    }();
    board.LoadTextures(nullptr, &green, nullptr);
    QVERIFY(board.PlayMove(E2, E4)); // both light squares
    QCOMPARE(Pixel(board, board.SquareOrigin(E4) + QPoint(1, 1)), QColor(Qt::green));
    QCOMPARE(Pixel(board, board.SquareOrigin(E2) + QPoint(1, 1)), QColor(Qt::green));
    QCOMPARE(Pixel(board, board.SquareOrigin(D5) + QPoint(1, 1)), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(Pixel(board, board.SquareOrigin(E3) + QPoint(1, 1)), QColor(0x80, 0x80, 0x80));
    QVERIFY(board.TakeBackMove()); // stepping back repaints just the changed squares too
    QCOMPARE(Pixel(board, board.SquareOrigin(F3) + QPoint(1, 1)), QColor(0xC0, 0xC0, 0xC0));
    QCOMPARE(Pixel(board, Centre(board, E4)), QColor(Qt::green));
}

void TestChessBrd::linesKeepTheirColourAfterAMove() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.SetLineStyle(QPen(Qt::magenta));
    board.SetBoardLines(true);
    const QPoint lineBesideE4 = board.SquareOrigin(E4) + QPoint(0, 20); // the line between d4 and e4
    QCOMPARE(Pixel(board, lineBesideE4), QColor(Qt::magenta));
    QVERIFY(board.PlayMove(E2, E4));
    QCOMPARE(Pixel(board, lineBesideE4), QColor(Qt::magenta));
    QCOMPARE(Pixel(board, board.SquareOrigin(E2) + QPoint(20, 0)), QColor(Qt::magenta));
}

void TestChessBrd::dragMakesTheMoveAndItsEvents() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    QStringList events;
    board.OnLegalMove = [&](TChessRules&, Square a, Square b) {
        events << QString("LegalMove %1-%2").arg(QString::fromStdString(SquareName(a)), QString::fromStdString(SquareName(b)));
    };
    board.OnPaint = [&](TChessRules&) { events << "Paint"; };
    Drag(board, Centre(board, E2), Centre(board, E4));
    QCOMPARE(board.PieceAt(E4), 'P');
    QCOMPARE(board.PieceAt(E2), ' ');
    QVERIFY(!board.WhiteToMove());
    QCOMPARE(events, QStringList({"LegalMove E2-E4", "Paint"}));
    SavePicture(board, "board-after-e4");
}

void TestChessBrd::illegalDropPutsThePieceBack() {
    TChessBrd board;
    board.show();
    Square refused = None;
    board.OnIllegalMove = [&](TChessRules&, Square sq) { refused = sq; };
    const QImage before = board.BackingImage();
    Drag(board, Centre(board, E2), Centre(board, E5));
    QCOMPARE(refused, E2);
    QCOMPARE(board.PieceAt(E2), 'P');
    QVERIFY(board.WhiteToMove());
    QCOMPARE(board.BackingImage(), before);
    refused = None;
    Drag(board, Centre(board, E7), Centre(board, E5)); // black's pawn while white is to move
    QCOMPARE(refused, E7);
    refused = None;
    Drag(board, Centre(board, E2), QPoint(5, 5)); // onto the border
    QCOMPARE(refused, E2);
}

void TestChessBrd::dropOnOwnSquareMakesNoMove() {
    TChessBrd board;
    board.show();
    bool anyEvent = false;
    board.OnIllegalMove = [&](TChessRules&, Square) { anyEvent = true; };
    board.OnLegalMove = [&](TChessRules&, Square, Square) { anyEvent = true; };
    const QImage before = board.BackingImage();
    Drag(board, Centre(board, G1), Centre(board, G1) + QPoint(5, 5));
    QVERIFY(!anyEvent);
    QCOMPARE(board.BackingImage(), before);
    QVERIFY(board.WhiteToMove());
}

void TestChessBrd::escapeCancelsTheDrag() {
    TChessBrd board;
    board.SetCustomPieceSet(BlockPieceSet(40));
    board.show();
    Square refused = None;
    board.OnIllegalMove = [&](TChessRules&, Square sq) { refused = sq; };
    const QImage before = board.BackingImage();
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, D2));
    QTest::mouseMove(&board, Centre(board, D3));
    QVERIFY(board.BackingImage() != before); // the piece has left its square
    QTest::keyClick(&board, Qt::Key_Escape);
    QCOMPARE(refused, D2);
    QCOMPARE(board.BackingImage(), before);
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, D4));
    QCOMPARE(board.PieceAt(D4), ' '); // the release after Escape makes no move
}

// A pop-up menu takes the release of a right-click, so the board sees only its press. Neither the
// pointer moving without a button nor a later press on an empty square may lift that piece.
void TestChessBrd::aNewPressForgetsAnOlderOne() {
    TChessBrd board;
    board.SetCustomPieceSet(BlockPieceSet(40));
    board.SetResizable(true); // the board follows the pointer even with no button down
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    bool moved = false;
    board.OnLegalMove = [&](TChessRules&, Square, Square) { moved = true; };
    const QImage before = board.BoardPicture();
    const QPoint e2 = Centre(board, E2);
    QMouseEvent rightPress(QEvent::MouseButtonPress, e2, board.mapToGlobal(e2), Qt::RightButton, Qt::RightButton,
                           Qt::NoModifier);
    QApplication::sendEvent(&board, &rightPress);
    QTest::keyClick(&board, Qt::Key_Escape); // closes the menu
    QTest::mouseMove(&board, Centre(board, E3));
    QCOMPARE(board.BoardPicture(), before);
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, E5));
    QTest::mouseMove(&board, Centre(board, E5) + QPoint(8, 8));
    QTest::mouseMove(&board, Centre(board, E4));
    QCOMPARE(board.BoardPicture(), before); // nothing floats
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, E4));
    QVERIFY(!moved);
    QCOMPARE(board.PieceAt(E2), 'P');
    QCOMPARE(board.PieceAt(E4), ' ');
}

void TestChessBrd::noDropWhileTheEngineThinks() {
    TChessBrd board;
    board.show();
    board.SetSearchDepth(8);
    board.SetComputerPlaysBlack(true);
    board.SetWhiteToMove(false);
    board.StartEngine();
    QVERIFY(board.Thinking());
    Square refused = None;
    board.OnIllegalMove = [&](TChessRules&, Square sq) { refused = sq; };
    Drag(board, Centre(board, E2), Centre(board, E4));
    QCOMPARE(refused, E2);
    board.StopThinking();
    QVERIFY(!board.Thinking());
}

void TestChessBrd::knightSlidesAlongRankThenFile() {
    TChessBrd board;
    const std::vector<QPoint> path = board.AnimationPath(G1, F3, 'N');
    const QPoint g1 = board.SquareOrigin(G1);
    QCOMPARE(path.size(), size_t(41 + 80));
    QCOMPARE(path.front(), g1);
    QCOMPARE(path[40], g1 - QPoint(40, 0));          // 40 pixels to the left first
    QCOMPARE(path.back(), board.SquareOrigin(F3));   // then 80 up
    for (size_t i = 1; i < path.size(); ++i)
        QCOMPARE((path[i] - path[i - 1]).manhattanLength(), 1);
}

void TestChessBrd::straightSlideFollowsTheSlope() {
    TChessBrd board;
    const std::vector<QPoint> diagonal = board.AnimationPath(C1, F4, 'B');
    QCOMPARE(diagonal.size(), size_t(121));
    QCOMPARE(diagonal[10], board.SquareOrigin(C1) + QPoint(10, -10));
    const std::vector<QPoint> pawn = board.AnimationPath(E2, E4, 'P');
    QCOMPARE(pawn.size(), size_t(81));
    QCOMPARE(pawn[1], board.SquareOrigin(E2) + QPoint(0, -1));
    const std::vector<QPoint> steep = board.AnimationPath(B1, C3, 'Q'); // not a knight: straight
    QCOMPARE(steep.size(), size_t(81));
    QCOMPARE(steep[40], board.SquareOrigin(B1) + QPoint(20, -40));
    QVERIFY(board.AnimationPath(E2, E2, 'P').empty());
}

// A slide repaints the board once per pixel step while the move is being made; a dropped move does not.
void TestChessBrd::engineMovesAreAnimatedDraggedOnesNot() {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    board.installEventFilter(&counter);
    Drag(board, Centre(board, E2), Centre(board, E4));
    QCOMPARE(board.PieceAt(E4), 'P');
    QVERIFY2(counter.paints < 10, qPrintable(QString::number(counter.paints)));
    counter.paints = 0;
    QVERIFY(board.MakeMove(E7, E5)); // a move the program makes slides 80 pixels
    QVERIFY2(counter.paints >= 80, qPrintable(QString::number(counter.paints)));
    board.SetAnimateMoves(false);
    counter.paints = 0;
    QVERIFY(board.MakeMove(G1, F3));
    QCOMPARE(counter.paints, 0);
}

void TestChessBrd::setterRules() {
    TChessBrd board;
    board.SetSearchDepth(0);
    QCOMPARE(board.SearchDepth(), 1);
    board.SetSearchDepth(12);
    QCOMPARE(board.SearchDepth(), 8);
    board.SetEnPassant(E4);
    QCOMPARE(board.EnPassant(), None);
    board.SetEnPassant(E3);
    QCOMPARE(board.EnPassant(), E3);
    board.SetResizeMinSize(2000);
    QCOMPARE(board.ResizeMinSize(), 1000);
    board.SetResizeMaxSize(50);
    QCOMPARE(board.ResizeMaxSize(), 1000);
    board.SetResizeMinSize(100);
    board.SetResizeMaxSize(800);
    QCOMPARE(board.ResizeMaxSize(), 800);
    board.SetComputerPlaysBlack(true);
    QVERIFY(board.StopRequested());
    board.SetPosition("NEWGAME");
    QCOMPARE(board.Position(), std::string(StartPosition));
    board.SetPosition("rnbqkbnrpp");
    QCOMPARE(board.Position(), std::string("rnbqkbnrpp") + std::string(54, ' '));
    QVERIFY(board.Version().isEmpty());
}

void TestChessBrd::cornerGripSizesTheBoard() {
    QWidget parent;
    parent.resize(900, 900);
    TChessBrd board(&parent);
    parent.show();
    board.SetResizable(true);
    QTest::mouseMove(&board, QPoint(362, 362));
    QCOMPARE(board.cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, QPoint(362, 362));
    QTest::mouseMove(&board, QPoint(448, 400));
    QCOMPARE(board.SizeOfSquare(), (448 - 48) / 8);
    QCOMPARE(board.width(), 448);
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, QPoint(448, 400));
    QTest::mouseMove(&board, QPoint(100, 100));
    QCOMPARE(board.SizeOfSquare(), 50);
}

QTEST_MAIN(TestChessBrd)
#include "tst_chessbrd.moc"
