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

QTEST_GUILESS_MAIN(TestFen)
#include "tst_fen.moc"
