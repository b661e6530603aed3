// Plays long seeded random games on the rules and on the plain reference transcription side by side
// and demands the same answer to every question after every move: the legality of all 4096 square
// pairs, HasLegalMove, the repetition test, the events in order, the history records and the move list.

#include "ChessRules.h"
#include "RulesOracle.h"
#include "RulesTestSupport.h"

#include <QTest>
#include <cstring>
#include <random>

using namespace rulestest;

namespace {

using Move = std::pair<int, int>;

// One board of each kind, driven in step.
struct Pair {
    TChessRules rules;
    oracle::Rules reference;
    std::vector<std::string> log;
    char promoteTo[2] = "q";

    Pair() {
        AttachEventLog(rules, log, promoteTo);
        reference.PromotionHandler = [this](int, int, char) { return promoteTo[0]; };
    }
};

std::vector<Move> LegalMoves(const oracle::Rules& reference) {
    std::vector<Move> moves;
    for (int from = 1; from <= 64; ++from)
        for (int to = 1; to <= 64; ++to)
            if (reference.IsLegalMove(from, to)) moves.emplace_back(from, to);
    return moves;
}

QString Describe(const char* what, int ply) { return QString("%1 differs at ply %2").arg(what).arg(ply); }

// Compares everything a caller can ask; `ply` only labels failures.
bool SameState(const Pair& p, int ply) {
    const TChessRules& r = p.rules;
    const oracle::Rules& o = p.reference;
    auto fail = [ply](const char* what) {
        qWarning("%s", qPrintable(Describe(what, ply)));
        return false;
    };
    if (r.Position() != o.Position()) return fail("position");
    if (r.WhiteToMove() != o.WhiteToMove || r.CastlingAllowed() != o.CastlingAllowed ||
        int(r.EnPassant()) != o.EnPassant || r.PromotionPiece() != o.PromotionPiece)
        return fail("position fields");
    if (r.CurrentMove() != o.CurrentMove || r.LastMoveNumber() != o.LastMoveNumber ||
        r.LastSideWhite() != o.LastSideWhite || r.FirstMoveNumber() != o.FirstMoveNumber ||
        r.FirstSideWhite() != o.FirstSideWhite || r.GameOver() != o.GameOver)
        return fail("game-line fields");
    for (int from = 1; from <= 64; ++from) {
        if (r.PieceColorAt(from) != o.PieceColorAt(from)) return fail("piece colour");
        for (int to = 1; to <= 64; ++to) {
            if (r.IsLegalMove(from, to) != o.IsLegalMove(from, to)) return fail("IsLegalMove");
            if (r.WhiteKingAttackedAfter(from, to) != o.WhiteKingAttackedAfter(from, to) ||
                r.BlackKingAttackedAfter(from, to) != o.BlackKingAttackedAfter(from, to))
                return fail("king attack test");
        }
    }
    if (r.HasLegalMove() != o.HasLegalMove()) return fail("HasLegalMove");
    if (r.IsThreefoldRepetition() != o.IsThreefoldRepetition()) return fail("IsThreefoldRepetition");
    for (int n = 1; n <= std::min(o.LastMoveNumber + 1, TChessRules::LastHistoryMove); ++n)
        for (int s = 0; s < 2; ++s) {
            const THistoryRecord& a = r.HistoryRecord(n, s);
            const oracle::HistoryRecord& b = o.History[n][s];
            if (a.PositionText() != b.Position || a.Castling != b.Castling || a.FromSq != b.FromSq ||
                a.ToSq != b.ToSq || a.EnPassantSq != b.EnPassantSq)
                return fail("history record");
        }
    std::vector<std::string> lines;
    r.FillMoveList(lines);
    if (lines != o.MoveList()) return fail("move list");
    return true;
}

// Plays a random game of up to `maxPlies`: mostly random legal moves, with captures preferred when
// `hunt` is set (to reach bare endgames), sometimes stepping back a few half-moves and going on
// from there, and sometimes shuffling a knight out and back to provoke repetitions.
void PlayRandomGame(unsigned seed, int maxPlies, bool hunt) {
    std::mt19937 random(seed);
    Pair p;
    for (int ply = 0; ply < maxPlies; ++ply) {
        QVERIFY2(SameState(p, ply), qPrintable(QString("seed %1").arg(seed)));
        std::vector<Move> moves = LegalMoves(p.reference);
        if (moves.empty() || p.reference.GameOver) break;
        const int roll = int(random() % 100);
        if (roll < 4 && p.reference.CurrentMove > 2) { // step back and continue from there
            const int back = 1 + int(random() % 4);
            for (int i = 0; i < back; ++i) {
                const int n = p.reference.WhiteToMove ? p.reference.CurrentMove - 1 : p.reference.CurrentMove;
                const bool white = !p.reference.WhiteToMove;
                QCOMPARE(p.rules.TakeBackMove(), p.reference.GotoMove(n, white));
            }
            continue;
        }
        Move move = moves[random() % moves.size()];
        if (hunt) {
            for (const Move& m : moves)
                if (p.reference.PieceColorAt(m.second) != -1) move = m;
        }
        if (roll > 90) { // repeat the previous placement if a knight can go back
            for (const Move& m : moves) {
                const char piece = p.rules.PieceAt(Square(m.first));
                if (piece == 'N' || piece == 'n') move = m;
            }
        }
        p.promoteTo[0] = "qrbnQRBN"[random() % 8];
        p.log.clear();
        p.reference.Events.clear();
        const bool made = p.rules.MakeMove(move.first, move.second);
        QCOMPARE(made, p.reference.MakeMove(move.first, move.second));
        QCOMPARE(ToQt(p.log), ToQt(p.reference.Events));
    }
}

std::string RandomPlacement(std::mt19937& random) {
    static const std::string pieces = "PNBRQKpnbrqk";
    std::string placement(64, ' ');
    const int count = 2 + int(random() % 20);
    for (int i = 0; i < count; ++i) placement[random() % 64] = pieces[random() % pieces.size()];
    return placement;
}

} // namespace

class TestRulesAgainstReference : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void randomGames_data();
    void randomGames();
    void randomPositions();
};

void TestRulesAgainstReference::randomGames_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("plies");
    QTest::addColumn<bool>("hunt");
    for (unsigned seed = 1; seed <= 6; ++seed)
        QTest::addRow("wandering %u", seed) << seed << 160 << false;
    for (unsigned seed = 11; seed <= 14; ++seed)
        QTest::addRow("capturing %u", seed) << seed << 200 << true;
}

void TestRulesAgainstReference::randomGames() {
    QFETCH(unsigned, seed);
    QFETCH(int, plies);
    QFETCH(bool, hunt);
    PlayRandomGame(seed, plies, hunt);
}

// Odd set-ups the game allows through the position setter: several kings, none, pawns on the
// back ranks, en-passant squares no pawn passed. Only the legality questions apply to them.
void TestRulesAgainstReference::randomPositions() {
    std::mt19937 random(4242);
    const int squares[] = {0, 17, 20, 24, 41, 44, 48};
    for (int i = 0; i < 400; ++i) {
        Pair p;
        const std::string placement = RandomPlacement(random);
        const bool white = random() % 2;
        const auto castling = CastleSet(random() % 16);
        const int ep = squares[random() % 7];
        p.rules.SetPosition(placement);
        p.rules.SetWhiteToMove(white);
        p.rules.SetCastlingAllowed(castling);
        p.rules.SetEnPassant(Square(ep));
        p.reference.SetPosition(placement);
        p.reference.WhiteToMove = white;
        p.reference.CastlingAllowed = castling;
        p.reference.SetEnPassant(ep);
        QVERIFY2(SameState(p, 0), placement.c_str());
    }
}

QTEST_GUILESS_MAIN(TestRulesAgainstReference)
#include "tst_rules_oracle.moc"
