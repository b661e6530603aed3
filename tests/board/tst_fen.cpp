#include "Fen.h"

#include <QTest>

namespace {

constexpr const char* StartPlacement = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

// A snapshot that no FEN produces, to see that a failed parse leaves its target alone.
TPositionSnapshot Untouched() { return {"untouched", false, 5, H8}; }

} // namespace

class TestFen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wellFormed_data();
    void wellFormed();
    void malformed_data();
    void malformed();
    void roundTrip_data();
    void roundTrip();
    void clocks_data();
    void clocks();
    void writtenAsOthersExpect();
    void writtenAsTicked();
    void unplayable_data();
    void unplayable();
};

void TestFen::wellFormed_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("placement");
    QTest::addColumn<bool>("whiteToMove");
    QTest::addColumn<int>("castling");
    QTest::addColumn<int>("enPassant");
    QTest::newRow("start")
        << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" << StartPlacement << true << 15
        << int(None);
    QTest::newRow("without clocks")
        << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b Kq -" << StartPlacement << false
        << (WhiteKingSide | BlackQueenSide) << int(None);
    QTest::newRow("clocks are not read")
        << "8/8/8/8/8/8/8/K6k w - - whatever else" << QString(56, ' ') + "K      k" << true << 0 << int(None);
    const QString enPassantPlacement = QString("    k") + QString(22, ' ') + "pP" + QString(31, ' ') + "K   ";
    QTest::newRow("en passant") << "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1" << enPassantPlacement << true << 0
                                << int(D6);
    QTest::newRow("blanks and tabs between fields")
        << "  8/8/8/8/8/8/8/7K \t b  qk  e3 " << QString(63, ' ') + "K" << false
        << (BlackKingSide | BlackQueenSide) << int(E3);
    QTest::newRow("split empty squares")
        << "44/8/8/8/8/8/8/3K4 w - - 0 1" << QString(59, ' ') + "K    " << true << 0 << int(None);
}

void TestFen::wellFormed() {
    QFETCH(QString, fen);
    QFETCH(QString, placement);
    QFETCH(bool, whiteToMove);
    QFETCH(int, castling);
    QFETCH(int, enPassant);
    TPositionSnapshot position = Untouched();
    std::string error;
    QVERIFY(ParseFen(fen.toStdString(), position, error));
    QCOMPARE(QString::fromStdString(position.Position), placement);
    QCOMPARE(position.WhiteToMove, whiteToMove);
    QCOMPARE(int(position.CastlingAllowed), castling);
    QCOMPARE(int(position.EnPassant), enPassant);
}

void TestFen::malformed_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("empty") << "" << "at least 4 fields";
    QTest::newRow("no en-passant field")
        << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq" << "at least 4 fields";
    QTest::newRow("seven ranks") << "rnbqkbnr/pppppppp/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" << "8 ranks";
    QTest::newRow("nine ranks") << "rnbqkbnr/pppppppp/8/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" << "8 ranks";
    QTest::newRow("trailing slash") << "8/8/8/8/8/8/8/8/ w - - 0 1" << "8 ranks";
    QTest::newRow("nine squares in a rank")
        << "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" << "8 ranks";
    QTest::newRow("seven squares in a rank")
        << "rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" << "8 ranks";
    QTest::newRow("nine empty squares") << "9/8/8/8/8/8/8/8 w - - 0 1" << "unexpected character '9'";
    QTest::newRow("no such piece") << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBXKBNR w KQkq - 0 1"
                                   << "unexpected character 'X'";
    QTest::newRow("side to move") << "8/8/8/8/8/8/8/K6k x - - 0 1" << "side to move";
    QTest::newRow("a right twice") << "8/8/8/8/8/8/8/K6k w KK - 0 1" << "castling";
    QTest::newRow("no such right") << "8/8/8/8/8/8/8/K6k w KQX - 0 1" << "castling";
    QTest::newRow("en passant on rank 4") << "8/8/8/8/8/8/8/K6k w - e4 0 1" << "en-passant";
    QTest::newRow("no such file") << "8/8/8/8/8/8/8/K6k w - i3 0 1" << "en-passant";
    QTest::newRow("half a square") << "8/8/8/8/8/8/8/K6k w - e 0 1" << "en-passant";
}

void TestFen::malformed() {
    QFETCH(QString, fen);
    QFETCH(QString, complaint);
    TPositionSnapshot position = Untouched();
    std::string error;
    QVERIFY(!ParseFen(fen.toStdString(), position, error));
    QVERIFY2(QString::fromStdString(error).contains(complaint), error.c_str());
    QCOMPARE(position.Position, std::string("untouched"));
    QCOMPARE(int(position.EnPassant), int(H8));
}

// The perft positions: read, written and read again, the text comes back unchanged.
void TestFen::roundTrip_data() {
    QTest::addColumn<QString>("fen");
    QTest::newRow("start") << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    QTest::newRow("kiwipete") << "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
    QTest::newRow("promotions") << "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
    QTest::newRow("checks") << "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";
    QTest::newRow("pins") << "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";
    QTest::newRow("en passant, black to move") << "4k3/8/8/8/3Pp3/8/8/4K3 b - d3 0 37";
    QTest::newRow("late clocks") << "8/8/8/8/8/8/8/K6k b - - 99 250";
}

void TestFen::roundTrip() {
    QFETCH(QString, fen);
    TFenPosition position;
    std::string error;
    QVERIFY2(ReadFen(fen.toStdString(), position, error), error.c_str());
    QCOMPARE(QString::fromStdString(WriteFen(position)), fen);
    QVERIFY2(SetUpProblem(position.Snapshot).empty(), SetUpProblem(position.Snapshot).c_str());
}

void TestFen::clocks_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<bool>("read");
    QTest::addColumn<int>("halfMoves");
    QTest::addColumn<int>("moveNumber");
    QTest::newRow("both") << "8/8/8/8/8/8/8/K6k w - - 12 40" << true << 12 << 40;
    QTest::newRow("none") << "8/8/8/8/8/8/8/K6k w - -" << true << 0 << 1;
    QTest::newRow("half-move clock only") << "8/8/8/8/8/8/8/K6k w - - 7" << true << 7 << 1;
    QTest::newRow("move number 0") << "8/8/8/8/8/8/8/K6k w - - 0 0" << false << 0 << 0;
    QTest::newRow("negative clock") << "8/8/8/8/8/8/8/K6k w - - -1 3" << false << 0 << 0;
    QTest::newRow("words") << "8/8/8/8/8/8/8/K6k w - - whatever else" << false << 0 << 0;
    QTest::newRow("seven fields") << "8/8/8/8/8/8/8/K6k w - - 0 1 extra" << false << 0 << 0;
    QTest::newRow("huge number") << "8/8/8/8/8/8/8/K6k w - - 0 99999999999999999999" << false << 0 << 0;
}

void TestFen::clocks() {
    QFETCH(QString, fen);
    QFETCH(bool, read);
    QFETCH(int, halfMoves);
    QFETCH(int, moveNumber);
    TFenPosition position;
    position.MoveNumber = -5;
    std::string error;
    QCOMPARE(ReadFen(fen.toStdString(), position, error), read);
    if (!read) {
        QVERIFY(!error.empty());
        QCOMPARE(position.MoveNumber, -5);
        return;
    }
    QCOMPARE(position.HalfMoveClock, halfMoves);
    QCOMPARE(position.MoveNumber, moveNumber);
}

// Rights whose king or rook has left home are not written (the rules keep a right whose rook was
// taken on its corner).
void TestFen::writtenAsOthersExpect() {
    TFenPosition position;
    position.Snapshot = {std::string(StartPosition), true, AllCastlingRights, None};
    position.Snapshot.Position[63] = ' '; // h1
    position.Snapshot.Position[4] = ' ';  // e8
    position.Snapshot.Position[3] = 'k';  // d8
    QCOMPARE(QString::fromStdString(WriteFen(position)),
             "rnbk1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBN1 w Q - 0 1");
}

// A position still being set up keeps every right it holds, and reading the text back gives them all.
void TestFen::writtenAsTicked() {
    TFenPosition position;
    position.Snapshot = {std::string(64, ' '), false, WhiteKingSide | BlackQueenSide, None};
    position.Snapshot.Position[60] = 'K'; // e1
    const std::string fen = WriteFenAsTicked(position);
    QCOMPARE(QString::fromStdString(fen), "8/8/8/8/8/8/8/4K3 b Kq - 0 1");
    QCOMPARE(QString::fromStdString(WriteFen(position)), "8/8/8/8/8/8/8/4K3 b - - 0 1");
    TFenPosition read;
    std::string error;
    QVERIFY(ReadFen(fen, read, error));
    QCOMPARE(read, position);
}

void TestFen::unplayable_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("complaint");
    QTest::newRow("no kings") << "8/8/8/8/8/8/8/8 w - - 0 1" << "king";
    QTest::newRow("two white kings") << "k7/8/8/8/8/8/8/K6K w - - 0 1" << "king";
    QTest::newRow("pawn on rank 8") << "k2P4/8/8/8/8/8/8/K7 w - - 0 1" << "pawn";
    QTest::newRow("pawn on rank 1") << "k7/8/8/8/8/8/8/K2p4 w - - 0 1" << "pawn";
    QTest::newRow("side not to move in check") << "k7/8/8/8/8/8/8/R6K w - - 0 1" << "check";
    QTest::newRow("en passant without pawn") << "k7/8/8/8/8/8/8/K7 w - e6 0 1" << "en-passant";
    QTest::newRow("en passant for the wrong side") << "k7/8/8/4p3/8/8/8/K7 b - e6 0 1" << "en-passant";
}

void TestFen::unplayable() {
    QFETCH(QString, fen);
    QFETCH(QString, complaint);
    TFenPosition position;
    std::string error;
    QVERIFY(ReadFen(fen.toStdString(), position, error));
    QVERIFY2(QString::fromStdString(SetUpProblem(position.Snapshot)).contains(complaint),
             SetUpProblem(position.Snapshot).c_str());
}

QTEST_GUILESS_MAIN(TestFen)
#include "tst_fen.moc"
