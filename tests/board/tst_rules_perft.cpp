// Counts legal move paths with nothing but the board's own operations (IsLegalMove, MakeMove,
// GotoMove) and compares them with the well-known perft figures.

#include "ChessRules.h"

#include <QTest>

namespace {

struct Fen {
    std::string placement;
    bool whiteToMove = true;
    CastleSet castling = 0;
    Square enPassant = None;
};

// Enough of the FEN notation for test positions: placement, side, castling, en-passant square.
Fen ParseFen(const QString& fen) {
    const QStringList parts = fen.split(' ', Qt::SkipEmptyParts);
    Fen result;
    for (const QChar c : parts.value(0)) {
        if (c == '/') continue;
        if (c.isDigit()) result.placement += std::string(size_t(c.digitValue()), ' ');
        else result.placement += c.toLatin1();
    }
    result.whiteToMove = parts.value(1) == "w";
    const QString castling = parts.value(2);
    if (castling.contains('K')) result.castling |= WhiteKingSide;
    if (castling.contains('Q')) result.castling |= WhiteQueenSide;
    if (castling.contains('k')) result.castling |= BlackKingSide;
    if (castling.contains('q')) result.castling |= BlackQueenSide;
    if (parts.value(3) != "-") result.enPassant = SquareIndex(parts.value(3).toUpper().toStdString());
    return result;
}

bool IsPromotion(const TChessRules& rules, int from, int to) {
    const char piece = rules.PieceAt(Square(from));
    return (piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1);
}

quint64 Perft(TChessRules& rules, int depth, char& promotion) {
    quint64 count = 0;
    const int moveNo = rules.CurrentMove();
    const bool white = rules.WhiteToMove();
    for (int from = 1; from <= 64; ++from) {
        if (rules.PieceColorAt(from) != (white ? 1 : 0)) continue;
        for (int to = 1; to <= 64; ++to) {
            if (!rules.IsLegalMove(from, to)) continue;
            const bool promotes = IsPromotion(rules, from, to);
            if (depth == 1) {
                count += promotes ? 4 : 1;
                continue;
            }
            for (char piece : promotes ? std::string("qrbn") : std::string("q")) {
                promotion = piece;
                if (!rules.MakeMove(from, to)) qFatal("a legal move was refused");
                count += Perft(rules, depth - 1, promotion);
                if (!rules.GotoMove(moveNo, white)) qFatal("cannot step back");
            }
        }
    }
    return count;
}

} // namespace

class TestRulesPerft : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void perft_data();
    void perft();
};

void TestRulesPerft::perft_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("depth");
    QTest::addColumn<quint64>("nodes");
    const QString start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
    const QString kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -";
    const QString promotions = "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
    const QString checks = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";
    QTest::newRow("start 1") << start << 1 << quint64(20);
    QTest::newRow("start 2") << start << 2 << quint64(400);
    QTest::newRow("start 3") << start << 3 << quint64(8902);
    QTest::newRow("kiwipete 1") << kiwipete << 1 << quint64(48);
    QTest::newRow("kiwipete 2") << kiwipete << 2 << quint64(2039);
    QTest::newRow("kiwipete 3") << kiwipete << 3 << quint64(97862);
    QTest::newRow("promotions 1") << promotions << 1 << quint64(6);
    QTest::newRow("promotions 2") << promotions << 2 << quint64(264);
    QTest::newRow("promotions 3") << promotions << 3 << quint64(9467);
    QTest::newRow("pins 3") << "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -" << 3 << quint64(2812);
    QTest::newRow("pins 4") << "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -" << 4 << quint64(43238);
    QTest::newRow("pins 5") << "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -" << 5 << quint64(674624);
    QTest::newRow("checks 1") << checks << 1 << quint64(44);
    QTest::newRow("checks 2") << checks << 2 << quint64(1486);
    QTest::newRow("checks 3") << checks << 3 << quint64(62379);
}

void TestRulesPerft::perft() {
    QFETCH(QString, fen);
    QFETCH(int, depth);
    QFETCH(quint64, nodes);
    const Fen f = ParseFen(fen);
    TChessRules rules;
    rules.SetPosition(f.placement);
    rules.SetWhiteToMove(f.whiteToMove);
    rules.SetCastlingAllowed(f.castling);
    rules.SetEnPassant(f.enPassant);
    char promotion = 'q';
    rules.OnPromotion = [&promotion](TChessRules&, Square, Square, char& piece) { piece = promotion; };
    QCOMPARE(Perft(rules, depth, promotion), nodes);
}

QTEST_GUILESS_MAIN(TestRulesPerft)
#include "tst_rules_perft.moc"
