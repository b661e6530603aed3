// Positions as the set-position editor hands them over: which placements its check accepts, and
// that the odd ones it lets through (pawns on their last rank, the side not to move in check, a king
// that can be taken) keep the rules and the engine working to the end of a game.

#include "ChessBrd.h"
#include "Placement.h"
#include "PositionCheck.h"

#include <QTest>
#include <random>

namespace {

constexpr int EngineTimeoutMs = 60000;
constexpr int PliesToPlay = 12;

// Two kings, then `count` of `piece` from a4 onwards (rank 5 after the eighth).
std::string KingsAnd(char piece, int count) {
    std::string p = Placement({{E1, 'K'}, {E8, 'k'}});
    for (int i = 0; i < count; ++i)
        p[static_cast<size_t>(A4 - 1 - 8 * (i / 8) + i % 8)] = piece;
    return p;
}

struct TOddPosition {
    const char* Name;
    std::string Position;
    bool WhiteToMove;
};

std::vector<TOddPosition> OddPositions() {
    return {
        {"pawns on their last ranks",
         Placement({{A8, 'P'}, {H1, 'p'}, {E1, 'K'}, {E8, 'k'}, {D2, 'P'}, {D7, 'p'}}), true},
        {"black pawns on rank 1, black to move",
         Placement({{A1, 'p'}, {B1, 'p'}, {G8, 'P'}, {C3, 'K'}, {H6, 'k'}}), false},
        {"white can take the king with a rook", Placement({{G1, 'K'}, {E2, 'R'}, {E8, 'k'}, {A7, 'p'}}),
         true},
        {"black can take the king with the queen", Placement({{E1, 'K'}, {H4, 'q'}, {E8, 'k'}, {A2, 'P'}}),
         false},
        {"a pawn can take the king", Placement({{E4, 'K'}, {D5, 'p'}, {A8, 'k'}, {H2, 'P'}}), false},
        {"both kings in check", Placement({{E1, 'K'}, {E8, 'k'}, {E5, 'Q'}, {B4, 'q'}}), true},
    };
}

void AddOddPositionRows() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<bool>("whiteToMove");
    for (const TOddPosition& odd : OddPositions())
        QTest::newRow(odd.Name) << QString::fromStdString(odd.Position) << odd.WhiteToMove;
}

} // namespace

class TestSetUpPosition : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void editorCheck_data();
    void editorCheck();
    void positionStrings_data();
    void positionStrings();
    void oddPositionsPassTheCheck();
    void oddPositionsKeepTheRulesWorking_data() { AddOddPositionRows(); }
    void oddPositionsKeepTheRulesWorking();
    void oddPositionsKeepTheEngineWorking_data() { AddOddPositionRows(); }
    void oddPositionsKeepTheEngineWorking();
    void castlingRightsWithoutTheirRook();
};

void TestSetUpPosition::editorCheck_data() {
    QTest::addColumn<QString>("position");
    QTest::addColumn<bool>("valid");
    QTest::newRow("only the two kings") << QString::fromStdString(KingsAnd('P', 0)) << false;
    QTest::newRow("the kings and a pawn") << QString::fromStdString(KingsAnd('P', 1)) << true;
    QTest::newRow("two white knights") << QString::fromStdString(KingsAnd('N', 2)) << true;
    QTest::newRow("three white knights") << QString::fromStdString(KingsAnd('N', 3)) << false;
    QTest::newRow("three black rooks") << QString::fromStdString(KingsAnd('r', 3)) << false;
    QTest::newRow("three black bishops") << QString::fromStdString(KingsAnd('b', 3)) << false;
    QTest::newRow("eight white queens") << QString::fromStdString(KingsAnd('Q', 8)) << true;
    QTest::newRow("nine white queens") << QString::fromStdString(KingsAnd('Q', 9)) << false;
    QTest::newRow("eight black pawns") << QString::fromStdString(KingsAnd('p', 8)) << true;
    QTest::newRow("nine black pawns") << QString::fromStdString(KingsAnd('p', 9)) << false;
    QTest::newRow("no black king") << QString::fromStdString(Placement({{E1, 'K'}, {D2, 'P'}})) << false;
    QTest::newRow("two white kings") << QString::fromStdString(
                                            Placement({{E1, 'K'}, {A1, 'K'}, {E8, 'k'}, {D2, 'P'}}))
                                     << false;
    QTest::newRow("the start position") << QString::fromStdString(std::string(StartPosition)) << true;
    QTest::newRow("an empty board") << QString(64, ' ') << false;
}

void TestSetUpPosition::editorCheck() {
    QFETCH(QString, position);
    QFETCH(bool, valid);
    QCOMPARE(IsValidSetUpPosition(position.toStdString()), valid);
}

void TestSetUpPosition::positionStrings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isPosition");
    QTest::newRow("start position") << QString::fromStdString(std::string(StartPosition)) << true;
    QTest::newRow("empty board") << QString(64, ' ') << true;
    QTest::newRow("63 characters") << QString(63, ' ') << false;
    QTest::newRow("65 characters") << QString(65, ' ') << false;
    QTest::newRow("a letter that is no piece") << "x" + QString(63, ' ') << false;
    QTest::newRow("a dot for an empty square") << "." + QString(63, ' ') << false;
    QTest::newRow("empty text") << QString() << false;
}

void TestSetUpPosition::positionStrings() {
    QFETCH(QString, text);
    QFETCH(bool, isPosition);
    QCOMPARE(IsPositionString(text.toStdString()), isPosition);
}

// The editor judges only the numbers of pieces.
void TestSetUpPosition::oddPositionsPassTheCheck() {
    for (const TOddPosition& odd : OddPositions())
        QVERIFY2(IsValidSetUpPosition(odd.Position), odd.Name);
    QCOMPARE(CountPiece(StartPosition, 'p'), 8);
    QCOMPARE(CountPiece(StartPosition, 'K'), 1);
    QCOMPARE(CountPiece(StartPosition, ' '), 32);
}

// Random legal moves until the game ends: every move the rules offer can be made, the board keeps
// holding a placement, and the end of the game is reported once.
void TestSetUpPosition::oddPositionsKeepTheRulesWorking() {
    QFETCH(QString, position);
    QFETCH(bool, whiteToMove);
    std::mt19937 random(7);
    for (int game = 0; game < 4; ++game) {
        TChessRules rules;
        rules.SetPosition(position.toStdString());
        rules.SetWhiteToMove(whiteToMove);
        rules.SetCastlingAllowed(0);
        rules.StartLine();
        for (int ply = 0; ply < 40 && !rules.GameOver() && rules.HasLegalMove(); ++ply) {
            std::vector<std::pair<int, int>> legal;
            for (int from = 1; from <= 64; ++from)
                for (int to = 1; to <= 64; ++to)
                    if (rules.IsLegalMove(from, to)) legal.emplace_back(from, to);
            QVERIFY(!legal.empty());
            const auto [from, to] = legal[random() % legal.size()];
            QVERIFY(rules.MakeMove(from, to));
            QVERIFY(IsPositionString(rules.Position()));
        }
    }
}

// The engine plays both sides: it moves or the game ends, it never stalls, and the board can go.
void TestSetUpPosition::oddPositionsKeepTheEngineWorking() {
    QFETCH(QString, position);
    QFETCH(bool, whiteToMove);
    auto board = std::make_unique<TChessBrd>();
    board->SetAnimateMoves(false);
    board->SetSearchDepth(3);
    board->SetPosition(position.toStdString());
    board->SetWhiteToMove(whiteToMove);
    board->SetCastlingAllowed(0);
    board->StartLine();
    int plies = 0;
    bool ended = false;
    board->OnLegalMove = [&](TChessRules&, Square, Square) { ++plies; };
    board->OnMate = board->OnStaleMate = [&](TChessRules&, Square, Square) { ended = true; };
    board->OnDraw = [&](TChessRules&) { ended = true; };
    board->SetComputerPlaysWhite(true);
    board->SetComputerPlaysBlack(true);
    board->StartEngine();
    QTRY_VERIFY_WITH_TIMEOUT(ended || plies >= PliesToPlay || !board->HasLegalMove(), EngineTimeoutMs);
    QVERIFY(plies > 0 || !board->HasLegalMove());
    QVERIFY(IsPositionString(board->Position()));
    board.reset(); // stops and joins the engine, whatever it was doing
}

// Ticked castling rights that the placement does not fit never conjure a rook or make one vanish.
void TestSetUpPosition::castlingRightsWithoutTheirRook() {
    TChessBrd board;
    board.SetAnimateMoves(false);
    const std::string position = Placement({{E1, 'K'}, {A1, 'R'}, {H1, 'n'}, {E8, 'k'}, {A7, 'p'}});
    board.SetPosition(position);
    board.SetWhiteToMove(true);
    board.SetCastlingAllowed(AllCastlingRights);
    board.StartLine();
    QVERIFY(!board.IsLegalMove(E1, G1)); // h1 holds a black knight
    QVERIFY(!board.MakeMove(E1, G1));
    QCOMPARE(board.Position(), position);
    QVERIFY(board.MakeMove(E1, C1)); // the white rook on a1 is there
    QCOMPARE(board.PieceAt(D1), 'R');
    QCOMPARE(CountPiece(board.Position(), 'R'), 1);
    QCOMPARE(CountPiece(board.Position(), 'n'), 1);
    QVERIFY(!board.IsLegalMove(E8, G8)); // black has no rooks at all
    QVERIFY(!board.IsLegalMove(E8, C8));

    // The engine, told the same rights, does not castle without its rook either.
    board.SetPosition(Placement({{E1, 'K'}, {E8, 'k'}, {A7, 'p'}, {H2, 'P'}}));
    board.SetWhiteToMove(false);
    board.SetCastlingAllowed(AllCastlingRights);
    board.StartLine();
    board.SetSearchDepth(2);
    bool blackMoved = false;
    board.OnLegalMove = [&](TChessRules&, Square, Square) { blackMoved = true; };
    board.SetComputerPlaysBlack(true);
    board.StartEngine();
    QTRY_VERIFY_WITH_TIMEOUT(blackMoved, EngineTimeoutMs);
    QCOMPARE(CountPiece(board.Position(), 'r') + CountPiece(board.Position(), 'R'), 0);
    QCOMPARE(CountPiece(board.Position(), 'k'), 1);
}

QTEST_MAIN(TestSetUpPosition)
#include "tst_setupposition.moc"
