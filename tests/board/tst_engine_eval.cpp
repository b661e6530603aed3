#include "EngineTestSupport.h"

#include <QTest>

namespace {

int Sq(Square s) { return EngineSquare(s); }

// A board with its evaluation tables built, as a search starts.
struct TEvaluated {
    TEngineBoard Board;
    TEngineEval Eval;

    explicit TEvaluated(const char* fen) {
        Board.Load(PositionFromFen(fen));
        Eval.InitEvalTables(Board);
    }
    int Evaluate() const { return Eval.Evaluate(Board); }
};

int EvaluateFen(const QString& fen) { return TEvaluated(fen.toLatin1().constData()).Evaluate(); }

} // namespace

class TestEngineEval : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startPositionIsEven();
    void handCountedPositions_data();
    void handCountedPositions();
    void kingTableFollowsOpponentMaterial_data();
    void kingTableFollowsOpponentMaterial();
    void pawnsShelterTheirKing_data();
    void pawnsShelterTheirKing();
    void rookFiles_data();
    void rookFiles();
};

void TestEngineEval::startPositionIsEven() {
    QCOMPARE(EvaluateFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), 0);
    QCOMPARE(EvaluateFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"), 0);
}

void TestEngineEval::handCountedPositions_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("score");
    // Pawn 120, isolated on a file without black pawns -30, passed +240, both kings -5 (end-game table).
    QTest::newRow("lone passed pawn") << "k7/4P3/8/8/8/8/8/6K1 w - - 0 1" << 330;
    QTest::newRow("the same for the side not ahead") << "k7/4P3/8/8/8/8/8/6K1 b - - 0 1" << -330;
    // e4 108 and e3 104, each doubled -5, isolated -20 and -10, passed twice its entry; king -5.
    QTest::newRow("doubled passed pawns") << "4k3/8/8/8/4P3/4P3/8/4K3 w - - 0 1" << 566;
    // White d4 and e4 support each other; Black's e5 is isolated but its file is not open.
    QTest::newRow("blocked pawns") << "4k3/8/8/4p3/3PP3/8/8/4K3 w - - 0 1" << 128;
    QTest::newRow("mirrored pawns") << "4k3/8/8/4p3/4P3/8/8/4K3 w - - 0 1" << 0;
}

void TestEngineEval::handCountedPositions() {
    QFETCH(QString, fen);
    QFETCH(int, score);
    QCOMPARE(EvaluateFen(fen), score);
}

void TestEngineEval::kingTableFollowsOpponentMaterial_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("square");
    QTest::addColumn<int>("value");
    QTest::newRow("black queen and rook (1400): end game") << "r2qk3/8/8/8/8/8/8/6K1 w - - 0 1" << EngineWhite
                                                           << Sq(G1) << -5;
    QTest::newRow("queen, rook and knight (1700): middle game")
        << "r2qk1n1/8/8/8/8/8/8/6K1 w - - 0 1" << EngineWhite << Sq(G1) << 10;
    QTest::newRow("middle game, centre of rank 1") << "r2qk1n1/8/8/8/8/8/8/6K1 w - - 0 1" << EngineWhite
                                                   << Sq(D1) << -20;
    QTest::newRow("black reads the mirrored table") << "6k1/8/8/8/8/8/8/R2QK1N1 w - - 0 1" << EngineBlack
                                                    << Sq(G8) << 10;
    QTest::newRow("black end game") << "6k1/8/8/8/8/8/8/R2QK3 w - - 0 1" << EngineBlack << Sq(D5) << 10;
}

void TestEngineEval::kingTableFollowsOpponentMaterial() {
    QFETCH(QString, fen);
    QFETCH(int, color);
    QFETCH(int, square);
    QFETCH(int, value);
    const TEvaluated evaluated(fen.toLatin1().constData());
    QCOMPARE(evaluated.Eval.EvalTable(color, EngineKing, square), value);
}

void TestEngineEval::pawnsShelterTheirKing_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("square");
    QTest::addColumn<int>("value");
    const char* kingside = "r2qk1n1/8/8/8/8/8/8/6K1 w - - 0 1";
    const char* queenside = "r2qk1n1/8/8/8/8/8/8/1K6 w - - 0 1";
    const char* centre = "r2qk1n1/8/8/8/8/8/8/4K3 w - - 0 1";
    QTest::newRow("g2 shelters a king on g1") << kingside << EngineWhite << Sq(G2) << 120;
    QTest::newRow("f3 a little less") << kingside << EngineWhite << Sq(F3) << 113;
    QTest::newRow("b2 not at all") << kingside << EngineWhite << Sq(B2) << 100;
    QTest::newRow("b2 shelters a king on b1") << queenside << EngineWhite << Sq(B2) << 120;
    QTest::newRow("g2 then not") << queenside << EngineWhite << Sq(G2) << 100;
    QTest::newRow("a king on e1 has no wing") << centre << EngineWhite << Sq(E2) << 80;
    QTest::newRow("black g7 for a king on g8") << "6k1/8/8/8/8/8/8/R2QK1N1 w - - 0 1" << EngineBlack << Sq(G7)
                                               << 120;
    QTest::newRow("no shelter in the end game") << "r2qk3/8/8/8/8/8/8/6K1 w - - 0 1" << EngineWhite << Sq(G2)
                                                << 100;
}

void TestEngineEval::pawnsShelterTheirKing() {
    QFETCH(QString, fen);
    QFETCH(int, color);
    QFETCH(int, square);
    QFETCH(int, value);
    const TEvaluated evaluated(fen.toLatin1().constData());
    QCOMPARE(evaluated.Eval.EvalTable(color, EnginePawn, square), value);
}

// What a white rook on d1 adds to the score: its value and the bonus of its file.
void TestEngineEval::rookFiles_data() {
    QTest::addColumn<QString>("withRook");
    QTest::addColumn<QString>("withoutRook");
    QTest::addColumn<int>("worth");
    QTest::newRow("open file") << "4k3/8/8/8/8/8/8/3RK3 w - - 0 1" << "4k3/8/8/8/8/8/8/4K3 w - - 0 1" << 515;
    QTest::newRow("only a black pawn on the file") << "4k3/3p4/8/8/8/8/8/3RK3 w - - 0 1"
                                                   << "4k3/3p4/8/8/8/8/8/4K3 w - - 0 1" << 510;
    QTest::newRow("behind its own pawn")
        << "4k3/8/8/8/8/8/3P4/3RK3 w - - 0 1" << "4k3/8/8/8/8/8/3P4/4K3 w - - 0 1" << 500;
}

void TestEngineEval::rookFiles() {
    QFETCH(QString, withRook);
    QFETCH(QString, withoutRook);
    QFETCH(int, worth);
    QCOMPARE(EvaluateFen(withRook) - EvaluateFen(withoutRook), worth);
}

QTEST_GUILESS_MAIN(TestEngineEval)
#include "tst_engine_eval.moc"
