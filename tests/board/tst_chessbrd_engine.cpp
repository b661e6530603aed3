// The board's engine control with the real thread: a computer reply after a human move, stopping
// in the middle of a search, computer against computer to the end, the promotion piece the engine
// chose, promotions under a handler that restarts the engine, a custom engine's refused move, and
// tearing the board down while the engine works.

#include "ChessBrd.h"
#include "ChessThread.h"
#include "GameEndings.h"

#include <QTest>
#include <QThread>

namespace {

constexpr int SearchTimeoutMs = 60000;

std::string Placement(std::initializer_list<std::pair<Square, char>> pieces) {
    std::string p(64, ' ');
    for (const auto& [sq, piece] : pieces) p[static_cast<size_t>(sq - 1)] = piece;
    return p;
}

} // namespace

class TestChessBrdEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void computerAnswersAHumanMove();
    void stopDuringASearchPlaysNothing();
    void stopAfterSteppingBackFromAFinishedGame();
    void computerAgainstComputerToTheEnd();
    void engineUnderpromotionIsPlayedAsChosen();
    void promotionHandlerThatRestartsTheEngine_data();
    void promotionHandlerThatRestartsTheEngine();
    void customEngineWithIllegalAnswer();
    void customEngineMoveIsPlayed();
    void boardDestroyedDuringASearch();
    void boardDestroyedWithAMoveOnItsWay();
};

void TestChessBrdEngine::computerAnswersAHumanMove() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.SetSearchDepth(2);
    board.SetComputerPlaysBlack(true);
    QStringList moves;
    board.OnLegalMove = [&](TChessRules&, Square a, Square b) {
        moves << QString::fromStdString(SquareName(a) + "-" + SquareName(b));
    };
    QVERIFY(board.PlayMove(E2, E4));
    QVERIFY(board.Thinking());
    QTRY_VERIFY_WITH_TIMEOUT(board.WhiteToMove(), SearchTimeoutMs);
    QCOMPARE(moves.size(), 2);
    QCOMPARE(moves[0], "E2-E4");
    QVERIFY(!board.Thinking());
    QCOMPARE(board.Engine()->Control().CalcDepth.load(), 2);
    QVERIFY(board.Engine()->Control().CalcNodes.load() > 0);
    QVERIFY(!board.Engine()->Control().CalcBestLine().empty());
    QTest::qWait(100); // the engine does not move for white
    QCOMPARE(moves.size(), 2);
}

void TestChessBrdEngine::stopDuringASearchPlaysNothing() {
    TChessBrd board;
    board.SetSearchDepth(8);
    board.SetComputerPlaysBlack(true);
    bool moved = false;
    board.OnLegalMove = [&](TChessRules&, Square, Square) { moved = true; };
    QVERIFY(board.PlayMove(D2, D4));
    moved = false;
    QVERIFY(board.Thinking());
    QTest::qWait(50);
    board.StopThinking();
    QVERIFY(!board.Thinking());
    QTest::qWait(300);
    QVERIFY(!moved);
    QVERIFY(!board.WhiteToMove());
    // the engine stays stopped until it is started again
    board.SetSearchDepth(1);
    board.StartEngine();
    QTRY_VERIFY_WITH_TIMEOUT(moved, SearchTimeoutMs);
}

// Stepping back from a mate leaves the game-over flag of the mating move; Stop must stop all the same.
void TestChessBrdEngine::stopAfterSteppingBackFromAFinishedGame() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.OnMate = [](TChessRules&, Square, Square) {};
    for (auto [from, to] : {std::pair{F2, F3}, {E7, E5}, {G2, G4}, {D8, H4}}) QVERIFY(board.MakeMove(from, to));
    QVERIFY(board.GameOver());
    QVERIFY(board.GotoMove(2, false)); // black to move, before the mate
    bool moved = false;
    board.OnLegalMove = [&](TChessRules&, Square, Square) { moved = true; };
    board.SetComputerPlaysBlack(true);
    board.StartEngine();
    QVERIFY(board.Thinking());
    board.StopThinking();
    QVERIFY(!board.Thinking());
    QTest::qWait(300); // far longer than a search of one ply
    QVERIFY(!moved);
    QCOMPARE(board.PieceAt(D8), 'q');
}

void TestChessBrdEngine::computerAgainstComputerToTheEnd() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.SetSearchDepth(1);
    QStringList endings;
    board.OnMate = [&](TChessRules&, Square, Square) { endings << "mate"; };
    board.OnStaleMate = [&](TChessRules&, Square, Square) { endings << "stalemate"; };
    board.OnNoMatingMaterial = [&](TChessRules&) { endings << "material"; };
    board.OnThreefoldPosition = [&](TChessRules&) { endings << "repetition"; };
    bool drawn = false;
    board.OnDraw = [&](TChessRules&) { drawn = true; };
    board.SetComputerPlaysWhite(true);
    board.SetComputerPlaysBlack(true);
    board.StartEngine();
    QTRY_VERIFY_WITH_TIMEOUT(board.GameOver() || board.HistoryFull(), 5 * SearchTimeoutMs);
    QVERIFY2(board.GameOver(), "the game line filled up before the game ended");
    QCOMPARE(endings, gameendings::EndingsOf(board)); // the events name what the position holds
    QCOMPARE(drawn, endings != QStringList{"mate"});
    const std::string final = board.Position();
    QTest::qWait(200);
    QCOMPARE(board.Position(), final); // nothing moves after the end
    QVERIFY(!board.Thinking());
}

// f8=N is mate; f8=Q is not even check. The engine's move must keep its knight.
void TestChessBrdEngine::engineUnderpromotionIsPlayedAsChosen() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.SetPosition(Placement({{F7, 'P'}, {A1, 'K'}, {H7, 'k'}, {G6, 'p'}, {H6, 'p'}, {G7, 'p'}, {G8, 'n'}, {H8, 'b'}}));
    board.SetWhiteToMove(true);
    board.SetCastlingAllowed(0);
    bool mated = false;
    board.OnMate = [&](TChessRules&, Square, Square) { mated = true; };
    board.SetSearchDepth(2);
    board.SetComputerPlaysWhite(true);
    board.StartEngine();
    QTRY_VERIFY_WITH_TIMEOUT(!board.WhiteToMove(), SearchTimeoutMs);
    QCOMPARE(board.PieceAt(F8), 'N');
    QVERIFY(mated);
}

void TestChessBrdEngine::promotionHandlerThatRestartsTheEngine_data() {
    QTest::addColumn<std::string>("placement");
    QTest::addColumn<bool>("whiteFirst");
    QTest::addColumn<QString>("firstPromotion");
    QTest::newRow("white promotes with check")
        << Placement({{A7, 'P'}, {H8, 'k'}, {H2, 'p'}, {A1, 'K'}}) << true << "A8";
    QTest::newRow("black promotes with check")
        << Placement({{A2, 'p'}, {H1, 'K'}, {H7, 'P'}, {A8, 'k'}}) << false << "A1";
}

// A promotion handler that stops the engine and starts it again, as a window pausing its game for
// the promotion does, while the pawn still stands on the last rank. The promotion gives check, so
// the reply found with a pawn there (the other pawn's promotion) would be refused, and the engine
// would stand still. The game must go on to its end.
void TestChessBrdEngine::promotionHandlerThatRestartsTheEngine() {
    QFETCH(std::string, placement);
    QFETCH(bool, whiteFirst);
    QFETCH(QString, firstPromotion);
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.SetPosition(placement);
    board.SetWhiteToMove(whiteFirst);
    board.SetCastlingAllowed(0);
    QStringList promotions;
    board.OnPromotion = [&](TChessRules&, Square, Square to, char&) {
        promotions << QString::fromStdString(SquareName(to));
        board.StopThinking();
        if (board.ComputerToMove()) board.StartEngine();
    };
    board.OnMate = [](TChessRules&, Square, Square) {};
    board.OnDraw = [](TChessRules&) {};
    board.SetSearchDepth(1);
    board.SetComputerPlaysWhite(true);
    board.SetComputerPlaysBlack(true);
    board.StartEngine();
    QTRY_VERIFY_WITH_TIMEOUT(board.GameOver() || board.HistoryFull(), 5 * SearchTimeoutMs);
    QVERIFY2(board.GameOver(), "the game line filled up before the game ended");
    QCOMPARE(promotions.value(0), firstPromotion);
    QVERIFY(!board.Thinking());
}

void TestChessBrdEngine::customEngineWithIllegalAnswer() {
    TChessBrd board;
    board.SetCustomEngine(true);
    board.SetComputerPlaysWhite(true);
    QList<std::pair<Square, Square>> failed;
    board.OnCalculateMove = [](TChessRules&, Square& from, Square& to) {
        from = E2;
        to = E5;
    };
    board.OnCalculationFailed = [&](TChessRules&, Square a, Square b) { failed << std::make_pair(a, b); };
    QVERIFY(!board.PlayMove(A7, A6)); // white to move: refused, but the engine is started
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed[0], std::make_pair(E2, E5));
    board.OnCalculateMove = [](TChessRules&, Square&, Square&) {}; // leaves both squares empty
    board.StartEngine();
    QCOMPARE(failed.size(), 2);
    QCOMPARE(failed[1], std::make_pair(None, None));
    QVERIFY(board.WhiteToMove());
}

void TestChessBrdEngine::customEngineMoveIsPlayed() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    board.SetCustomEngine(true);
    board.SetComputerPlaysBlack(true);
    board.OnCalculateMove = [](TChessRules&, Square& from, Square& to) {
        from = C7;
        to = C5;
    };
    QVERIFY(board.PlayMove(E2, E4));
    QCOMPARE(board.PieceAt(C5), 'p');
    QVERIFY(board.WhiteToMove());
    // after the program sets up a position, the custom engine waits for the next human move
    board.SetWhiteToMove(false);
    board.StartEngine();
    QVERIFY(board.StopRequested());
    QCOMPARE(board.PieceAt(C7), ' ');
}

void TestChessBrdEngine::boardDestroyedDuringASearch() {
    auto board = std::make_unique<TChessBrd>();
    board->SetSearchDepth(8);
    board->SetComputerPlaysBlack(true);
    QVERIFY(board->PlayMove(E2, E4));
    QVERIFY(board->Thinking());
    QTest::qWait(20);
    board.reset(); // joins the thread without waiting for the search to finish
    QTest::qWait(50);
}

void TestChessBrdEngine::boardDestroyedWithAMoveOnItsWay() {
    auto board = std::make_unique<TChessBrd>();
    board->SetSearchDepth(1);
    board->SetComputerPlaysBlack(true);
    QVERIFY(board->PlayMove(E2, E4));
    // Give the thread time to finish and post its move, but do not let the event loop deliver it.
    QThread::msleep(500);
    board.reset();
    QCoreApplication::processEvents(); // the posted move must not reach the destroyed board
}

QTEST_MAIN(TestChessBrdEngine)
#include "tst_chessbrd_engine.moc"
