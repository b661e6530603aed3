// Standard algebraic notation: moves written as the standard asks (disambiguation, castling,
// promotion, check and mate), the forms people write read back, and over long seeded random games
// every legal move's text read back as the same move, no two moves sharing a text, the legal moves
// the same as the rules allow.

#include "ChessRules.h"
#include "Fen.h"
#include "San.h"

#include <QTest>
#include <cstdlib>
#include <random>
#include <set>

namespace {

TPositionSnapshot FromFen(const char* fen) {
    TPositionSnapshot position;
    std::string error;
    if (!ParseFen(fen, position, error)) qFatal("bad test FEN %s: %s", fen, error.c_str());
    return position;
}

TChessMove Move(Square from, Square to, char promotion = 0) {
    return {from, to, promotion};
}

// Every move the rules allow, promotions once for each piece.
std::vector<TChessMove> RulesMoves(const TChessRules& rules) {
    std::vector<TChessMove> moves;
    for (int from = 1; from <= SquareCount; ++from)
        for (int to = 1; to <= SquareCount; ++to) {
            if (!rules.IsLegalMove(from, to)) continue;
            const char piece = rules.PieceAt(static_cast<Square>(from));
            const bool promotes = (piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1);
            for (char promotion : promotes ? std::string("nbrq") : std::string(1, '\0'))
                moves.push_back(Move(static_cast<Square>(from), static_cast<Square>(to), promotion));
        }
    return moves;
}

bool Before(const TChessMove& a, const TChessMove& b) {
    return std::tie(a.From, a.To, a.Promotion) < std::tie(b.From, b.To, b.Promotion);
}

constexpr int RandomGames = 24;
constexpr int LongestGame = 400; // half-moves; the history ends the game earlier
constexpr unsigned Seed = 20261206;

} // namespace

class TestSan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void written_data();
    void written();
    void read_data();
    void read();
    void refused_data();
    void refused();
    void randomGamesRoundTrip();
    void positionAfterFollowsTheRules();
};

void TestSan::written_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("promotion");
    QTest::addColumn<QString>("san");
    const QString start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const QString threeQueens = "4k3/8/8/8/8/Q7/8/Q1Q4K w - - 0 1";
    const QString twoKnights = "k7/8/8/6N1/8/8/8/1N3NNK w - - 0 1";
    const QString castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    QTest::newRow("pawn") << start << int(E2) << int(E4) << ""
                          << "e4";
    QTest::newRow("knight") << start << int(G1) << int(F3) << ""
                            << "Nf3";
    QTest::newRow("queen by square") << threeQueens << int(A1) << int(B2) << ""
                                     << "Qa1b2";
    QTest::newRow("queen by rank") << threeQueens << int(A3) << int(B2) << ""
                                   << "Q3b2";
    QTest::newRow("queen by file") << threeQueens << int(C1) << int(B2) << ""
                                   << "Qcb2";
    QTest::newRow("knight by file") << twoKnights << int(B1) << int(D2) << ""
                                    << "Nbd2";
    QTest::newRow("knight by rank") << twoKnights << int(G5) << int(F3) << ""
                                    << "N5f3";
    QTest::newRow("short castling") << castles << int(E1) << int(G1) << ""
                                    << "O-O";
    QTest::newRow("long castling") << castles << int(E1) << int(C1) << ""
                                   << "O-O-O";
    QTest::newRow("rook gives check") << castles << int(A1) << int(A8) << ""
                                      << "Rxa8+";
    QTest::newRow("en passant") << "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1" << int(E5) << int(D6) << ""
                                << "exd6";
    QTest::newRow("promotion with check") << "8/4P3/8/8/8/8/8/K3k3 w - - 0 1" << int(E7) << int(E8) << "q"
                                          << "e8=Q+";
    QTest::newRow("under-promotion by capture")
        << "rn2k3/1P6/8/8/8/8/8/4K3 w - - 0 1" << int(B7) << int(A8) << "n"
        << "bxa8=N";
    QTest::newRow("mate") << "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq g3 0 2" << int(D8)
                          << int(H4) << ""
                          << "Qh4#";
    QTest::newRow("black knight") << "k7/8/8/8/8/8/8/K5n1 b - - 0 1" << int(G1) << int(F3) << ""
                                  << "Nf3";
}

void TestSan::written() {
    QFETCH(QString, fen);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, promotion);
    QFETCH(QString, san);
    TSanBoard board;
    board.SetPosition(FromFen(fen.toStdString().c_str()));
    const char piece = promotion.isEmpty() ? char(0) : promotion.at(0).toLatin1();
    QCOMPARE(QString::fromStdString(board.ToSan(Move(Square(from), Square(to), piece))), san);
}

void TestSan::read_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("promotion");
    const QString start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const QString castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    const QString capture = "4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1";
    const QString promote = "8/4P3/8/8/8/8/8/K5k1 w - - 0 1";
    QTest::newRow("zeros") << castles << "0-0" << int(E1) << int(G1) << "";
    QTest::newRow("small letters, long") << castles << "o-o-o" << int(E1) << int(C1) << "";
    QTest::newRow("check mark not due") << start << "Nf3+" << int(G1) << int(F3) << "";
    QTest::newRow("annotated") << start << "Nf3!?" << int(G1) << int(F3) << "";
    QTest::newRow("squares with hyphen") << start << "Ng1-f3" << int(G1) << int(F3) << "";
    QTest::newRow("squares only") << start << "e2e4" << int(E2) << int(E4) << "";
    QTest::newRow("capture") << capture << "exd5" << int(E4) << int(D5) << "";
    QTest::newRow("capture without x") << capture << "ed5" << int(E4) << int(D5) << "";
    QTest::newRow("capture by squares") << capture << "e4xd5" << int(E4) << int(D5) << "";
    QTest::newRow("colon capture") << capture << "e4:d5" << int(E4) << int(D5) << "";
    QTest::newRow("promotion without =") << promote << "e8Q" << int(E7) << int(E8) << "q";
    QTest::newRow("promotion in small letter") << promote << "e8=n" << int(E7) << int(E8) << "n";
    QTest::newRow("promotion in brackets") << promote << "e8(R)" << int(E7) << int(E8) << "r";
    QTest::newRow("promotion by squares") << promote << "e7e8b" << int(E7) << int(E8) << "b";
    QTest::newRow("promotion to a queen unless named") << promote << "e8" << int(E7) << int(E8) << "q";
    QTest::newRow("mate mark missing") << "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq g3 0 2"
                                       << "Qh4" << int(D8) << int(H4) << "";
    QTest::newRow("en passant mark") << "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1"
                                     << "exd6 e.p." << int(E5) << int(D6) << "";
}

void TestSan::read() {
    QFETCH(QString, fen);
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, promotion);
    TSanBoard board;
    board.SetPosition(FromFen(fen.toStdString().c_str()));
    TChessMove move;
    QCOMPARE(board.FromSan(text.toStdString(), move), TSanFault::None);
    const char piece = promotion.isEmpty() ? char(0) : promotion.at(0).toLatin1();
    QCOMPARE(move, Move(Square(from), Square(to), piece));
}

void TestSan::refused_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fault");
    const QString start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
    const QString twoKnights = "k7/8/8/6N1/8/8/8/1N3NNK w - - 0 1";
    QTest::newRow("empty") << start << "" << int(TSanFault::Unreadable);
    QTest::newRow("piece alone") << start << "N" << int(TSanFault::Unreadable);
    QTest::newRow("off the board") << start << "Nz9" << int(TSanFault::Unreadable);
    QTest::newRow("null move") << start << "--" << int(TSanFault::Unreadable);
    QTest::newRow("too much") << start << "Nb1c3d4" << int(TSanFault::Unreadable);
    QTest::newRow("king cannot go there") << start << "Ke3" << int(TSanFault::Illegal);
    QTest::newRow("pawn cannot go there") << start << "e5" << int(TSanFault::Illegal);
    QTest::newRow("castling through pieces") << start << "O-O" << int(TSanFault::Illegal);
    QTest::newRow("promotion where none is") << start << "e4=Q" << int(TSanFault::Illegal);
    QTest::newRow("two knights") << twoKnights << "Nd2" << int(TSanFault::Ambiguous);
    QTest::newRow("three knights") << twoKnights << "Nf3" << int(TSanFault::Ambiguous);
}

void TestSan::refused() {
    QFETCH(QString, fen);
    QFETCH(QString, text);
    QFETCH(int, fault);
    TSanBoard board;
    board.SetPosition(FromFen(fen.toStdString().c_str()));
    TChessMove move{E2, E4, 0};
    QCOMPARE(int(board.FromSan(text.toStdString(), move)), fault);
    QCOMPARE(move, (TChessMove{E2, E4, 0}));
}

// Random games on the rules and the notation board side by side. The rules' moves are the truth;
// each position's moves are written and read back, and the game goes on by a seeded choice that
// favours pawn moves, so that promotions and crowded boards of several queens come often.
void TestSan::randomGamesRoundTrip() {
    std::mt19937 random(Seed);
    TSanBoard board;
    int positions = 0, promotions = 0, castlings = 0, enPassants = 0;
    for (int game = 0; game < RandomGames; ++game) {
        TChessRules rules;
        board.SetPosition(rules.Snapshot());
        for (int ply = 0; ply < LongestGame && !rules.HistoryFull(); ++ply) {
            std::vector<TChessMove> expected = RulesMoves(rules);
            if (expected.empty()) break;
            std::vector<TChessMove> legal = board.LegalMoves();
            std::sort(expected.begin(), expected.end(), Before);
            std::sort(legal.begin(), legal.end(), Before);
            QCOMPARE(legal, expected);
            std::set<std::string> texts;
            for (const TChessMove& move : legal) {
                const std::string san = board.ToSan(move);
                QVERIFY2(texts.insert(san).second, san.c_str());
                TChessMove read;
                QCOMPARE(board.FromSan(san, read), TSanFault::None);
                QCOMPARE(read, move);
            }
            ++positions;
            std::vector<TChessMove> pawnMoves, kingMoves;
            for (const TChessMove& move : legal) {
                const char piece =
                    static_cast<char>(std::toupper(static_cast<unsigned char>(rules.PieceAt(move.From))));
                if (piece == 'P') pawnMoves.push_back(move);
                if (piece == 'K' && std::abs(FileOf(move.To) - FileOf(move.From)) == 2)
                    kingMoves.push_back(move);
            }
            const bool castle = !kingMoves.empty() && random() % 2 == 0;
            const std::vector<TChessMove>& pool = castle                                    ? kingMoves
                                                  : !pawnMoves.empty() && random() % 3 != 0 ? pawnMoves
                                                                                            : legal;
            const TChessMove chosen = pool[random() % pool.size()];
            const std::string san = board.ToSan(chosen);
            promotions += chosen.Promotion != 0;
            castlings += san.starts_with("O-O");
            enPassants += chosen.To == rules.EnPassant() &&
                          std::toupper(static_cast<unsigned char>(rules.PieceAt(chosen.From))) == 'P';
            QVERIFY(rules.MakeMove(chosen.From, chosen.To, chosen.Promotion != 0 ? chosen.Promotion : 'q'));
            board.Play(chosen);
            QCOMPARE(board.Position(), rules.Snapshot());
        }
    }
    qInfo("%d positions, %d promotions, %d castlings, %d en-passant captures", positions, promotions,
          castlings, enPassants);
    QVERIFY(promotions > 0 && castlings > 0 && enPassants > 0);
}

// Castling rights after a rook is taken on its corner stay, as the rules keep them.
void TestSan::positionAfterFollowsTheRules() {
    const TPositionSnapshot before = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    const TPositionSnapshot after = PositionAfter(before, Move(A1, A8));
    QCOMPARE(int(after.CastlingAllowed), int(WhiteKingSide | BlackKingSide | BlackQueenSide));
    QCOMPARE(after.Position[0], 'R');
    QVERIFY(!after.WhiteToMove);
}

QTEST_APPLESS_MAIN(TestSan)
#include "tst_san.moc"
