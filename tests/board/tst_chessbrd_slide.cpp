// The slide of a moved piece under a running event loop: the window goes on painting and timers
// fire while the piece moves, the move and its events come only once it has landed, the board takes
// no other move meanwhile, and a new position or the board's end in the middle of a slide is safe.

#include "ChessBrd.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

namespace {

constexpr int SlideDelayMs = 2;
constexpr int SearchTimeoutMs = 60000;
constexpr int DialogTimeoutMs = 20000;

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// Records every event of the board by name, in the order raised.
void RecordEvents(TChessBrd& board, QStringList& events) {
    board.OnLegalMove = [&](TChessRules&, Square, Square) { events << "legal"; };
    board.OnCapture = [&](TChessRules&, Square, Square, char) { events << "capture"; };
    board.OnPromotion = [&](TChessRules&, Square, Square, char&) { events << "promotion"; };
    board.OnCastle = [&](TChessRules&, Square, Square) { events << "castle"; };
    board.OnCheck = [&](TChessRules&, Square, Square) { events << "check"; };
    board.OnMate = [&](TChessRules&, Square, Square) { events << "mate"; };
    board.OnStaleMate = [&](TChessRules&, Square, Square) { events << "stalemate"; };
    board.OnNoMatingMaterial = [&](TChessRules&) { events << "material"; };
    board.OnThreefoldPosition = [&](TChessRules&) { events << "threefold"; };
    board.OnDraw = [&](TChessRules&) { events << "draw"; };
}

std::string Placement(std::initializer_list<std::pair<Square, char>> pieces) {
    std::string p(64, ' ');
    for (const auto& [sq, piece] : pieces)
        p[static_cast<size_t>(sq - 1)] = piece;
    return p;
}

// Opens a modal dialog from the first tick that finds a piece sliding, as a menu or the tips at
// start-up would, and closes it once `wanted` moves have landed while it was open.
class TDialogDuringSlide {
public:
    TDialogDuringSlide(TChessBrd& board, const int& moves, int wanted) {
        QObject::connect(&FWatch, &QTimer::timeout, [this, &board, &moves, wanted] {
            if (!board.Sliding()) return;
            FWatch.stop();
            QDialog dialog(&board);
            const int before = moves;
            QTimer poll;
            QObject::connect(&poll, &QTimer::timeout, [&] {
                if (moves - before >= wanted) dialog.accept();
            });
            poll.start(1);
            QTimer::singleShot(DialogTimeoutMs, &dialog, &QDialog::reject);
            dialog.exec();
            Landed = moves - before;
        });
        FWatch.start(0);
    }
    int Landed = -1; // moves landed while the dialog was open, once it is closed

private:
    QTimer FWatch;
};

} // namespace

class TestChessBrdSlide : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowLivesDuringTheSlide();
    void eventsFollowTheLanding();
    void noOtherMoveUntilTheMoveHasLanded();
    void dialogDuringTheSlideHoldsNeitherMoveNorEngine();
    void newPositionDuringTheSlideDropsTheMove();
    void boardDestroyedDuringTheSlide();
    void boardDestroyedDuringTheEnginesSlide();
};

// A long diagonal at a small delay: timers fire, the board repaints every step, and no step is
// shown for less than the delay.
void TestChessBrdSlide::windowLivesDuringTheSlide() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    board.SetPosition(Placement({{A1, 'Q'}, {E1, 'K'}, {E8, 'k'}}));
    board.SetAnimationDelay(SlideDelayMs);
    PaintCounter counter;
    board.installEventFilter(&counter);
    int ticks = 0;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] { ++ticks; });
    other.start(5);
    const size_t steps = board.AnimationPath(A1, G7, 'Q').size();
    QElapsedTimer slide;
    slide.start();
    QVERIFY(board.MakeMove(A1, G7));
    const qint64 took = slide.elapsed();
    QVERIFY2(ticks >= 3, qPrintable(QString::number(ticks)));
    QVERIFY2(counter.paints >= int(steps), qPrintable(QString::number(counter.paints)));
    QVERIFY2(took >= qint64(steps - 1) * (SlideDelayMs + 1), qPrintable(QString::number(took)));
    QCOMPARE(board.PieceAt(G7), 'Q');
    QVERIFY(!board.MoveInProgress());
}

// Promotion with capture and check: every event comes after the last step, in the usual order.
void TestChessBrdSlide::eventsFollowTheLanding() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    board.SetPosition(Placement({{B7, 'P'}, {A8, 'r'}, {H8, 'k'}, {E1, 'K'}, {H2, 'p'}}));
    board.SetCastlingAllowed(0);
    PaintCounter counter;
    board.installEventFilter(&counter);
    QStringList events;
    RecordEvents(board, events);
    int paintsAtFirstEvent = -1;
    const TMoveEvent legal = board.OnLegalMove;
    board.OnLegalMove = [&](TChessRules& sender, Square a, Square b) {
        paintsAtFirstEvent = counter.paints;
        legal(sender, a, b);
    };
    board.OnPaint = [&](TChessRules&) {
        if (!events.isEmpty()) events << "paint";
    };
    QVERIFY(board.MakeMove(B7, A8));
    QCOMPARE(events, QStringList({"legal", "capture", "promotion", "check", "paint"}));
    QVERIFY(paintsAtFirstEvent >= int(board.AnimationPath(B7, A8, 'P').size()));
    QCOMPARE(board.PieceAt(A8), 'Q');
}

// While the piece slides, the move has not happened: the position is the old one, no event has
// come, and neither a drag nor another move is taken.
void TestChessBrdSlide::noOtherMoveUntilTheMoveHasLanded() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    board.SetAnimationDelay(SlideDelayMs);
    QStringList events;
    RecordEvents(board, events);
    Square refused = None;
    board.OnIllegalMove = [&](TChessRules&, Square sq) { refused = sq; };
    bool checked = false;
    QTimer::singleShot(20, &board, [&] {
        QVERIFY(board.MoveInProgress());
        QCOMPARE(board.PieceAt(E2), 'P'); // not yet moved
        QVERIFY(board.WhiteToMove());
        QVERIFY(events.isEmpty());
        const QPoint d2 = board.SquareOrigin(D2) + QPoint(20, 20);
        const QPoint d4 = board.SquareOrigin(D4) + QPoint(20, 20);
        QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, d2);
        QTest::mouseMove(&board, d2 + QPoint(8, 8));
        QTest::mouseMove(&board, d4);
        QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, d4);
        QVERIFY(!board.PlayMove(D2, D4));
        QVERIFY(!board.MakeMove(D2, D4));
        QCOMPARE(board.PieceAt(D2), 'P');
        checked = true;
    });
    QVERIFY(board.MakeMove(E2, E4));
    QVERIFY(checked);
    QCOMPARE(events, QStringList({"legal"}));
    QCOMPARE(board.PieceAt(E4), 'P');
    QCOMPARE(board.PieceAt(D2), 'P');
    QCOMPARE(refused, None);         // the press was not taken as the start of a drag
    QVERIFY(board.MakeMove(E7, E5)); // and the board takes moves again
}

// The dialog's own event loop runs on top of the slide's, which cannot return before the dialog
// is closed; the move lands all the same, and the engine answers and plays on meanwhile.
void TestChessBrdSlide::dialogDuringTheSlideHoldsNeitherMoveNorEngine() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    board.SetSearchDepth(1);
    board.SetAnimationDelay(SlideDelayMs);
    board.SetComputerPlaysBlack(true);
    int moves = 0;
    board.OnLegalMove = [&](TChessRules&, Square, Square) { ++moves; };

    { // a move played by hand, and the engine's answer to it
        TDialogDuringSlide dialog(board, moves, 2);
        QVERIFY(board.PlayMove(E2, E4));
        QCOMPARE(dialog.Landed, 2);
        QCOMPARE(board.PieceAt(E4), 'P');
    }
    { // the engine against itself
        board.SetComputerPlaysWhite(true);
        TDialogDuringSlide dialog(board, moves, 3);
        board.StartEngine();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Landed >= 0, 2 * DialogTimeoutMs);
        QVERIFY2(dialog.Landed >= 3, qPrintable(QString::number(dialog.Landed)));
    }
    board.SetComputerPlaysWhite(false);
    board.SetComputerPlaysBlack(false);
    QTRY_VERIFY_WITH_TIMEOUT(!board.MoveInProgress() && !board.Thinking(), SearchTimeoutMs);
    QCOMPARE(moves, int(board.CurrentMove() - 1) * 2 + !board.WhiteToMove());
}

// A new game while a piece slides: the move is dropped, leaves no trace, and the next one is taken.
void TestChessBrdSlide::newPositionDuringTheSlideDropsTheMove() {
    TChessBrd board;
    board.show();
    QVERIFY(QTest::qWaitForWindowExposed(&board));
    board.SetAnimationDelay(SlideDelayMs);
    QVERIFY(board.MakeMove(E2, E4));
    QStringList events;
    RecordEvents(board, events);
    QTimer::singleShot(20, &board, [&] { board.NewGame(); });
    QVERIFY(!board.MakeMove(G8, F6));
    QVERIFY(events.isEmpty());
    QVERIFY(!board.MoveInProgress());
    QCOMPARE(board.Position(), std::string(StartPosition));
    QCOMPARE(board.HistoryRecord(1, 1).FromSq, 0); // the dropped move was not stored
    QVERIFY(board.MakeMove(D2, D4));
    QCOMPARE(events, QStringList({"legal"}));
}

void TestChessBrdSlide::boardDestroyedDuringTheSlide() {
    auto* board = new TChessBrd;
    board->show();
    QVERIFY(QTest::qWaitForWindowExposed(board));
    board->SetAnimationDelay(SlideDelayMs);
    int events = 0;
    board->OnLegalMove = [&](TChessRules&, Square, Square) { ++events; };
    board->OnPaint = [&](TChessRules&) { ++events; };
    QTimer::singleShot(20, [&] {
        events = 0;
        delete board;
    });
    QVERIFY(!board->MakeMove(B1, C3));
    QCOMPARE(events, 0);
}

// The engine's move slides out of the hand-over; the board goes away in the middle of it.
void TestChessBrdSlide::boardDestroyedDuringTheEnginesSlide() {
    QPointer<TChessBrd> board = new TChessBrd;
    board->show();
    board->SetSearchDepth(1);
    board->SetAnimationDelay(SlideDelayMs);
    board->SetComputerPlaysBlack(true);
    int answers = 0;
    board->OnLegalMove = [&](TChessRules& sender, Square, Square) { answers += sender.WhiteToMove(); };
    QVERIFY(board->PlayMove(E2, E4));
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (board && board->MoveInProgress() && !board->WhiteToMove()) delete board.data();
    });
    watch.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(!board, SearchTimeoutMs);
    QTest::qWait(50);
    QCOMPARE(answers, 0);
}

QTEST_MAIN(TestChessBrdSlide)
#include "tst_chessbrd_slide.moc"
