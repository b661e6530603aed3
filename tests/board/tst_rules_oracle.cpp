// Plays long seeded random games on the rules and on the plain reference transcription side by side
// and demands the same answer to every question after every move: the legality of all 4096 square
// pairs, HasLegalMove, the repetition test, the events in order, the history records and the move list.
// The games step back and forward through their lines and play on from earlier positions, with the
// same move as before or another one, so records of abandoned lines lie ahead of the current move.

#include "ChessRules.h"
#include "RulesOracle.h"
#include "RulesTestSupport.h"

#include <QTest>
#include <cstring>
#include <optional>
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

// Steps through the line as a user does, on both boards: back one or a few half-moves, forward
// again along the line kept, or straight to any move of it (which may be refused on both).
void Step(Pair& p, std::mt19937& random) {
    const int kind = int(random() % 3);
    if (kind == 0) {
        const int back = 1 + int(random() % 4);
        for (int i = 0; i < back; ++i) QCOMPARE(p.rules.TakeBackMove(), p.reference.TakeBackMove());
    } else if (kind == 1) {
        QCOMPARE(p.rules.ReplayMove(), p.reference.ReplayMove());
    } else {
        const int moveNo = 1 + int(random() % p.reference.LastMoveNumber);
        const bool white = random() % 2;
        QCOMPARE(p.rules.GotoMove(moveNo, white), p.reference.GotoMove(moveNo, white));
    }
}

std::optional<Move> IfLegal(const oracle::Rules& reference, int from, int to) {
    if (!reference.IsLegalMove(from, to)) return std::nullopt;
    return Move(from, to);
}

// The move that was played from the current position before the line was stepped back: replaying
// it reaches the same positions again, with the records of the old line ahead.
std::optional<Move> MovePlayedBefore(const oracle::Rules& reference) {
    const oracle::HistoryRecord& record = reference.History[reference.CurrentMove][reference.WhiteToMove ? 0 : 1];
    return IfLegal(reference, record.FromSq, record.ToSq);
}

// The side's own previous move backwards: two of them in a row bring back a placement seen before.
std::optional<Move> OwnLastMoveUndone(const oracle::Rules& reference) {
    if (reference.CurrentMove <= reference.FirstMoveNumber) return std::nullopt;
    const oracle::HistoryRecord& record =
        reference.History[reference.CurrentMove - 1][reference.WhiteToMove ? 0 : 1];
    return IfLegal(reference, record.ToSq, record.FromSq);
}

// Plays a random game of up to `maxPlies` steps: mostly random legal moves, with captures preferred
// when `hunt` is set (to reach bare endgames), a side's own last move undone in `shuffle` percent of
// the moves to provoke repetitions, and sometimes a step through the line. A finished game is
// stepped back and played on, half the time with the move played before.
void PlayRandomGame(unsigned seed, int maxPlies, bool hunt, int shuffle) {
    std::mt19937 random(seed);
    Pair p;
    bool stepped = false;
    for (int ply = 0; ply < maxPlies; ++ply) {
        QVERIFY2(SameState(p, ply), qPrintable(QString("seed %1").arg(seed)));
        const oracle::Rules& r = p.reference;
        std::vector<Move> moves = LegalMoves(r);
        const bool atLineEnd = r.CurrentMove == r.LastMoveNumber && r.WhiteToMove == r.LastSideWhite;
        const bool ended = moves.empty() || (r.GameOver && atLineEnd);
        if (ended || int(random() % 100) < 6) {
            Step(p, random);
            if (QTest::currentTestFailed()) return;
            stepped = true;
            continue;
        }
        Move move = moves[random() % moves.size()];
        if (hunt) {
            for (const Move& m : moves)
                if (r.PieceColorAt(m.second) != -1) move = m;
        }
        if (int(random() % 100) < shuffle) move = OwnLastMoveUndone(r).value_or(move);
        if (stepped && random() % 2) move = MovePlayedBefore(r).value_or(move);
        stepped = false;
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
    QTest::addColumn<int>("shuffle");
    for (unsigned seed = 1; seed <= 6; ++seed)
        QTest::addRow("wandering %u", seed) << seed << 160 << false << 9;
    for (unsigned seed = 11; seed <= 14; ++seed)
        QTest::addRow("capturing %u", seed) << seed << 200 << true << 9;
    for (unsigned seed = 21; seed <= 24; ++seed)
        QTest::addRow("repeating %u", seed) << seed << 160 << false << 60;
}

void TestRulesAgainstReference::randomGames() {
    QFETCH(unsigned, seed);
    QFETCH(int, plies);
    QFETCH(bool, hunt);
    QFETCH(int, shuffle);
    PlayRandomGame(seed, plies, hunt, shuffle);
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
