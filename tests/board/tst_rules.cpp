#include "ChessRules.h"
#include "RulesTestSupport.h"

#include <QTest>

using namespace rulestest;

namespace {

// Counts the hook calls the board widget will receive, to check the rules call them when they must.
class RecordingRules : public TChessRules {
public:
    int stops = 0, starts = 0, aborts = 0, repaints = 0;
    std::vector<Square> redrawn;
    std::vector<std::string> changedFrom;
    std::vector<std::pair<Square, Square>> moveStarts;

protected:
    void StopEngineSearch() override { ++stops; }
    void StartEngine() override { ++starts; }
    void AbortEngineSearch() override { ++aborts; }
    void RepaintBoard() override { ++repaints; }
    void RedrawSquare(Square sq) override { redrawn.push_back(sq); }
    void RedrawChangedSquares(std::string_view old) override { changedFrom.emplace_back(old); }
    void ShowMoveStart(Square a, Square b) override { moveStarts.emplace_back(a, b); }
};

// Builds a 64-character placement from "square piece" pairs, e.g. {{E1, 'K'}, {E8, 'k'}}.
std::string Placement(std::initializer_list<std::pair<Square, char>> pieces) {
    std::string p(64, ' ');
    for (const auto& [sq, piece] : pieces) p[static_cast<size_t>(sq - 1)] = piece;
    return p;
}

void SetUp(TChessRules& rules, const std::string& placement, bool whiteToMove, CastleSet castling = 0,
           Square enPassant = None) {
    rules.SetPosition(placement);
    rules.SetWhiteToMove(whiteToMove);
    rules.SetCastlingAllowed(castling);
    rules.SetEnPassant(enPassant);
}

QStringList Events(const std::vector<std::string>& log) { return ToQt(log); }

} // namespace

class TestRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // position text and fields
    void positionSetterParsesCharacters_data();
    void positionSetterParsesCharacters();
    void positionSetterStopsEngineAndRepaints();
    void enPassantSetterStoresOnlyPassedSquares();
    void pieceColorOfEveryCharacter();
    void moveListLinesPerHalfMove();

    // legality
    void squaresOutsideTheBoardAreRefused();
    void onlyTheSideToMoveMoves();
    void pawnSteps();
    void enPassantNeedsTheSquare();
    void castlingConditions_data();
    void castlingConditions();
    void kingsMayNotTouch();
    void sideWithoutBlackKingCannotMove();
    void stalemateHasNoLegalMove();

    // making moves
    void kingsPawnOpeningRecords();
    void castlingEventsAndRights();
    void enPassantCaptureEvents();
    void enPassantTrialTakesThePassedPawn();
    void promotionWithCaptureJudgesCheckWithNewPiece();
    void promotionKeepsChoiceAndRefusesNonsense();
    void chosenPromotionPieceIsPlayed();
    void noMoveWhilePromotionDialogRuns();
    void foolsMate();
    void mateWithoutHandlerLeavesGameRunning();
    void missingMaterial_data();
    void missingMaterial();
    void threefoldRepetitionBlocksEveryMove();
    void repetitionsCountOnlyTheLinePlayed_data();
    void repetitionsCountOnlyTheLinePlayed();
    void illegalMoveChangesNothing();
    void hooksAreCalled();

    // navigation
    void takeBackAndReplay();
    void newMoveFromEarlierPositionCutsTheLine();
    void gotoOutsideTheLineIsRefused();
    void newGameKeepsOldHistoryUntilOverwritten();
    void historyFullRefusesOnlyTheMoveBeyondIt();
};

void TestRules::positionSetterParsesCharacters_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    const QString start = QString::fromLatin1(StartPosition.data(), 64);
    QTest::newRow("63 characters leave h1 empty") << start.left(63) << start.left(63) + " ";
    QTest::newRow("first rank only") << "rnbqkbnr" << "rnbqkbnr" + QString(56, ' ');
    QTest::newRow("NewGame") << "NewGame" << start;
    QTest::newRow("INIT") << "INIT" << start;
    QTest::newRow("init") << "init" << start;
    QTest::newRow("two words are characters") << "new game" << "n" + QString(63, ' ');
    QTest::newRow("unknown characters leave squares empty") << "x1Kk" << "  Kk" + QString(60, ' ');
    QTest::newRow("longer than 64 is cut") << QString(70, 'P') << QString(64, 'P');
    QTest::newRow("empty") << "" << QString(64, ' ');
}

void TestRules::positionSetterParsesCharacters() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    TChessRules rules;
    rules.SetPosition(value.toStdString());
    QCOMPARE(QString::fromStdString(rules.Position()), expected);
    QCOMPARE(rules.Position().size(), size_t(64));
}

void TestRules::positionSetterStopsEngineAndRepaints() {
    RecordingRules rules;
    rules.SetWhiteToMove(false);
    rules.SetCastlingAllowed(WhiteKingSide);
    const int stopsBefore = rules.stops;
    rules.SetPosition("8");
    QCOMPARE(rules.stops, stopsBefore + 1);
    QCOMPARE(rules.repaints, 1);
    QVERIFY(rules.StopRequested());
    // the placement alone changes: side to move and rights stay
    QVERIFY(!rules.WhiteToMove());
    QCOMPARE(rules.CastlingAllowed(), CastleSet(WhiteKingSide));
}

void TestRules::enPassantSetterStoresOnlyPassedSquares() {
    RecordingRules rules;
    rules.SetEnPassant(E4);
    QCOMPARE(rules.EnPassant(), None);
    QCOMPARE(rules.stops, 0);
    QVERIFY(!rules.StopRequested());
    rules.SetEnPassant(E3);
    QCOMPARE(rules.EnPassant(), E3);
    QCOMPARE(rules.stops, 1);
    rules.SetEnPassant(H6);
    QCOMPARE(rules.EnPassant(), H6);
    rules.SetEnPassant(A7);
    QCOMPARE(rules.EnPassant(), H6);
    rules.SetEnPassant(None);
    QCOMPARE(rules.EnPassant(), None);
}

void TestRules::pieceColorOfEveryCharacter() {
    TChessRules rules;
    QCOMPARE(rules.PieceColorAt(0), -1);
    QCOMPARE(rules.PieceColorAt(65), -1);
    QCOMPARE(rules.PieceColorAt(-1), -1);
    QCOMPARE(rules.PieceColorAt(A8), 0);
    QCOMPARE(rules.PieceColorAt(E1), 1);
    QCOMPARE(rules.PieceColorAt(E4), -1);
    for (char c : std::string("PNBRQK")) QCOMPARE(PieceColorOf(c), 1);
    for (char c : std::string("pnbrqk")) QCOMPARE(PieceColorOf(c), 0);
    for (char c : std::string(" _\0", 3)) QCOMPARE(PieceColorOf(c), -1);
}

void TestRules::moveListLinesPerHalfMove() {
    TChessRules rules;
    std::vector<std::string> lines;
    rules.FillMoveList(lines);
    QVERIFY(lines.empty());

    QVERIFY(PlayLine(rules, "A2-A3 A7-A6"));
    QVERIFY(PlayFreshMoves(rules, 79)); // 81 half-moves: white's 41st has just been played
    QVERIFY(!rules.WhiteToMove());
    lines.clear();
    rules.FillMoveList(lines);
    QCOMPARE(lines.size(), size_t(81));
    QCOMPARE(QString::fromStdString(lines.front()), "1. A2-A3");
    QCOMPARE(QString::fromStdString(lines[1]), QString(14, ' ') + "A7-A6");
    QVERIFY(QString::fromStdString(lines.back()).startsWith("41. "));

    QVERIFY(PlayFreshMoves(rules, 1));
    lines.clear();
    rules.FillMoveList(lines);
    QCOMPARE(lines.size(), size_t(82));
    const THistoryRecord& last = rules.HistoryRecord(41, 1);
    QCOMPARE(QString::fromStdString(lines.back()),
             QString(14, ' ') + QString::fromStdString(SquareName(last.FromSq) + "-" + SquareName(last.ToSq)));
}

void TestRules::squaresOutsideTheBoardAreRefused() {
    TChessRules rules;
    QVERIFY(!rules.IsLegalMove(0, 20));
    QVERIFY(!rules.IsLegalMove(20, 65));
    QVERIFY(!rules.IsLegalMove(-1, 37));
    QVERIFY(!rules.MakeMove(53, 0));
}

void TestRules::onlyTheSideToMoveMoves() {
    TChessRules rules;
    QVERIFY(!rules.IsLegalMove(E7, E5)); // black piece, white to move
    QVERIFY(!rules.IsLegalMove(E4, E5)); // empty square
    QVERIFY(!rules.IsLegalMove(E1, E2)); // own piece on the target
    QVERIFY(rules.IsLegalMove(G1, F3));
    rules.SetWhiteToMove(false);
    QVERIFY(rules.IsLegalMove(E7, E5));
    QVERIFY(!rules.IsLegalMove(E2, E4));
}

void TestRules::pawnSteps() {
    TChessRules rules;
    QVERIFY(rules.IsLegalMove(E2, E4));
    QVERIFY(rules.IsLegalMove(E2, E3));
    QVERIFY(!rules.IsLegalMove(E2, E5));
    QVERIFY(!rules.IsLegalMove(E2, D3)); // diagonal without a piece to take
    rules.SetPosition(Placement({{E1, 'K'}, {E8, 'k'}, {E2, 'P'}, {E3, 'n'}, {D3, 'p'}, {A3, 'P'}}));
    QVERIFY(!rules.IsLegalMove(E2, E4)); // e3 blocked
    QVERIFY(!rules.IsLegalMove(E2, E3));
    QVERIFY(rules.IsLegalMove(E2, D3));
    QVERIFY(!rules.IsLegalMove(A3, A5)); // the double step only from the second rank
    rules.SetPosition(Placement({{E1, 'K'}, {E8, 'k'}, {E2, 'P'}, {E4, 'n'}}));
    QVERIFY(!rules.IsLegalMove(E2, E4)); // e4 occupied
    QVERIFY(rules.IsLegalMove(E2, E3));
}

void TestRules::enPassantNeedsTheSquare() {
    TChessRules rules;
    SetUp(rules, Placement({{E1, 'K'}, {E8, 'k'}, {E5, 'P'}, {D5, 'p'}}), true, 0, D6);
    QVERIFY(rules.IsLegalMove(E5, D6));
    rules.SetEnPassant(None);
    QVERIFY(!rules.IsLegalMove(E5, D6));
}

void TestRules::castlingConditions_data() {
    QTest::addColumn<QString>("placement");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("legal");
    auto p = [](std::initializer_list<std::pair<Square, char>> extra) {
        std::string s = Placement({{E1, 'K'}, {H1, 'R'}, {A1, 'R'}, {E8, 'k'}});
        for (const auto& [sq, c] : extra) s[static_cast<size_t>(sq - 1)] = c;
        return QString::fromStdString(s);
    };
    QTest::newRow("short, free") << p({}) << int(G1) << true;
    QTest::newRow("short, knight on g1") << p({{G1, 'N'}}) << int(G1) << false;
    QTest::newRow("short, no rook on h1") << p({{H1, ' '}}) << int(G1) << false;
    QTest::newRow("short, black rook on h1") << p({{H1, 'r'}}) << int(G1) << false;
    QTest::newRow("short, king in check") << p({{E5, 'r'}}) << int(G1) << false;
    QTest::newRow("short, f1 attacked") << p({{F5, 'r'}}) << int(G1) << false;
    QTest::newRow("short, g1 attacked") << p({{G5, 'r'}}) << int(G1) << false;
    QTest::newRow("short, h1 attacked is fine") << p({{H5, 'r'}}) << int(G1) << true;
    QTest::newRow("long, free") << p({}) << int(C1) << true;
    QTest::newRow("long, b1 attacked is fine") << p({{B5, 'r'}}) << int(C1) << true;
    QTest::newRow("long, b1 occupied") << p({{B1, 'N'}}) << int(C1) << false;
    QTest::newRow("long, d1 attacked") << p({{D5, 'r'}}) << int(C1) << false;
    QTest::newRow("long, c1 attacked") << p({{C5, 'r'}}) << int(C1) << false;
}

void TestRules::castlingConditions() {
    QFETCH(QString, placement);
    QFETCH(int, to);
    QFETCH(bool, legal);
    TChessRules rules;
    SetUp(rules, placement.toStdString(), true, AllCastlingRights);
    QCOMPARE(rules.IsLegalMove(E1, to), legal);
    rules.SetCastlingAllowed(BlackKingSide | BlackQueenSide);
    QVERIFY(!rules.IsLegalMove(E1, to)); // the right is gone
}

void TestRules::kingsMayNotTouch() {
    TChessRules rules;
    SetUp(rules, Placement({{E1, 'K'}, {E3, 'k'}}), true);
    QVERIFY(!rules.IsLegalMove(E1, E2));
    QVERIFY(!rules.IsLegalMove(E1, D2));
    QVERIFY(rules.IsLegalMove(E1, D1));
}

void TestRules::sideWithoutBlackKingCannotMove() {
    TChessRules rules;
    SetUp(rules, Placement({{E1, 'K'}, {A7, 'p'}, {C6, 'n'}}), false);
    QVERIFY(!rules.IsLegalMove(A7, A6));
    QVERIFY(!rules.IsLegalMove(C6, D4));
    QVERIFY(!rules.HasLegalMove());
    // without a white king, white's moves are never held to be in check
    SetUp(rules, Placement({{E8, 'k'}, {A2, 'P'}}), true);
    QVERIFY(rules.IsLegalMove(A2, A3));
    QVERIFY(rules.HasLegalMove());
}

void TestRules::stalemateHasNoLegalMove() {
    TChessRules rules;
    SetUp(rules, Placement({{A8, 'k'}, {B6, 'Q'}, {H1, 'K'}}), false);
    QVERIFY(!rules.HasLegalMove());
    rules.SetPosition(Placement({{A8, 'k'}, {C6, 'Q'}, {H1, 'K'}}));
    QVERIFY(rules.HasLegalMove());
}

void TestRules::kingsPawnOpeningRecords() {
    TChessRules rules;
    std::vector<std::string> log;
    AttachEventLog(rules, log);
    QVERIFY(rules.MakeMove(E2, E4));
    QCOMPARE(Events(log), QStringList({"LegalMove 53 37", "Paint"}));
    QCOMPARE(rules.EnPassant(), E3);
    const THistoryRecord& before = rules.HistoryRecord(1, 0);
    QCOMPARE(before.PositionText(), StartPosition);
    QCOMPARE(int(before.FromSq), 53);
    QCOMPARE(int(before.ToSq), 37);
    QCOMPARE(int(before.Castling), int(AllCastlingRights));
    QCOMPARE(rules.HistoryRecord(1, 1).PositionText(), std::string_view(rules.Position()));
    QCOMPARE(int(rules.HistoryRecord(1, 1).EnPassantSq), int(E3));
    QCOMPARE(rules.CurrentMove(), 1);
    QVERIFY(!rules.LastSideWhite());
    QCOMPARE(rules.LastMoveNumber(), 1);

    QVERIFY(rules.MakeMove(E7, E5));
    QCOMPARE(rules.CurrentMove(), 2);
    QVERIFY(rules.LastSideWhite());
    QCOMPARE(rules.LastMoveNumber(), 2);
    QCOMPARE(rules.EnPassant(), E6);
    QVERIFY(rules.MakeMove(G1, F3));
    QCOMPARE(rules.EnPassant(), None);
}

void TestRules::castlingEventsAndRights() {
    TChessRules rules;
    std::vector<std::string> log;
    QVERIFY(PlayLine(rules, "E2-E4 E7-E5 G1-F3 B8-C6 F1-C4 G8-F6"));
    AttachEventLog(rules, log);
    QVERIFY(rules.MakeMove(E1, G1));
    QCOMPARE(Events(log), QStringList({"LegalMove 61 63", "Castle 61 63", "Paint"}));
    QCOMPARE(rules.PieceAt(F1), 'R');
    QCOMPARE(rules.PieceAt(H1), ' ');
    QCOMPARE(rules.PieceAt(G1), 'K');
    QCOMPARE(rules.CastlingAllowed(), CastleSet(BlackKingSide | BlackQueenSide));

    // a rook's first move clears its own side only; taking a rook on its corner clears nothing
    TChessRules other;
    QVERIFY(PlayLine(other, "H2-H4 A7-A5 H1-H3"));
    QCOMPARE(other.CastlingAllowed(), CastleSet(WhiteQueenSide | BlackKingSide | BlackQueenSide));
    QVERIFY(PlayLine(other, "A8-A6 B2-B3 A6-H6 C1-B2 H6-A6 B2-G7 A6-A8 G7-H8"));
    QCOMPARE(other.CastlingAllowed(), CastleSet(WhiteQueenSide | BlackKingSide));
}

void TestRules::enPassantCaptureEvents() {
    TChessRules rules;
    QVERIFY(PlayLine(rules, "E2-E4 A7-A6 E4-E5 D7-D5"));
    std::vector<std::string> log;
    AttachEventLog(rules, log);
    QVERIFY(rules.MakeMove(E5, D6));
    QCOMPARE(Events(log), QStringList({"LegalMove 29 20", "Capture 29 20 p", "Paint"}));
    QCOMPARE(rules.PieceAt(D5), ' ');
    QCOMPARE(rules.PieceAt(D6), 'P');
    QCOMPARE(rules.EnPassant(), None);
}

void TestRules::enPassantTrialTakesThePassedPawn() {
    // the double step checks the king; taking the checking pawn en passant answers the check
    TChessRules rules;
    SetUp(rules, Placement({{E4, 'K'}, {E5, 'P'}, {H8, 'k'}, {D7, 'p'}}), false);
    std::vector<std::string> log;
    AttachEventLog(rules, log);
    QVERIFY(rules.MakeMove(D7, D5));
    QCOMPARE(Events(log), QStringList({"LegalMove 12 28", "Check 12 28", "Paint"}));
    QVERIFY(rules.IsLegalMove(E5, D6));

    // taking en passant would open the rank between rook and king
    SetUp(rules, Placement({{A5, 'K'}, {B5, 'P'}, {H5, 'r'}, {H8, 'k'}, {C7, 'p'}}), false);
    QVERIFY(rules.MakeMove(C7, C5));
    QVERIFY(!rules.IsLegalMove(B5, C6));
    QVERIFY(rules.IsLegalMove(B5, B6));

    // and a capture that opens the rank onto the other king gives check
    SetUp(rules, Placement({{E1, 'K'}, {A5, 'R'}, {E5, 'P'}, {H5, 'k'}, {D7, 'p'}}), false);
    QVERIFY(rules.MakeMove(D7, D5));
    log.clear();
    QVERIFY(rules.MakeMove(E5, D6));
    QCOMPARE(Events(log), QStringList({"LegalMove 29 20", "Capture 29 20 p", "Check 29 20", "Paint"}));
}

void TestRules::promotionWithCaptureJudgesCheckWithNewPiece() {
    // b7xa8: a queen on a8 checks the king on e8 along the rank, a knight does not
    const std::string placement = Placement({{B7, 'P'}, {A8, 'r'}, {E8, 'k'}, {E1, 'K'}, {H7, 'p'}});
    for (const char* piece : {"q", "n"}) {
        TChessRules rules;
        SetUp(rules, placement, true);
        std::vector<std::string> log;
        AttachEventLog(rules, log, piece);
        QVERIFY(rules.MakeMove(B7, A8));
        QStringList expected = {"LegalMove 10 1", "Capture 10 1 r", QString("Promotion 10 1 ") + piece};
        if (*piece == 'q') expected << "Check 10 1";
        expected << "Paint";
        QCOMPARE(Events(log), expected);
        QCOMPARE(rules.PieceAt(A8), char(std::toupper(*piece)));
    }
    // black promotes on the first rank to the lower-case piece
    TChessRules rules;
    SetUp(rules, Placement({{B2, 'p'}, {E8, 'k'}, {H1, 'K'}, {H7, 'P'}}), false);
    std::vector<std::string> log;
    AttachEventLog(rules, log, "R");
    QVERIFY(rules.MakeMove(B2, B1));
    QCOMPARE(rules.PieceAt(B1), 'r');
    QCOMPARE(Events(log), QStringList({"LegalMove 50 58", "Promotion 50 58 R", "Check 50 58", "Paint"}));
}

void TestRules::promotionKeepsChoiceAndRefusesNonsense() {
    const std::string placement = Placement({{A7, 'P'}, {B7, 'P'}, {H8, 'k'}, {E1, 'K'}, {H5, 'p'}, {H4, 'P'}});
    TChessRules rules;
    SetUp(rules, placement, true);
    rules.OnPromotion = [](TChessRules&, Square, Square, char& piece) { piece = 'b'; };
    QVERIFY(rules.MakeMove(A7, A8));
    QCOMPARE(rules.PieceAt(A8), 'B');
    QCOMPARE(rules.PromotionPiece(), 'b');
    QVERIFY(PlayLine(rules, "H8-G8"));
    rules.OnPromotion = nullptr; // without a handler the last choice stays
    QVERIFY(rules.MakeMove(B7, B8));
    QCOMPARE(rules.PieceAt(B8), 'B');

    // a handler that answers something no pawn can become gets a queen instead
    for (char nonsense : {'K', 'p', 'x', '1', ' ', '\0'}) {
        TChessRules board;
        SetUp(board, placement, true);
        board.OnPromotion = [nonsense](TChessRules&, Square, Square, char& piece) { piece = nonsense; };
        QVERIFY(board.MakeMove(A7, A8));
        QCOMPARE(board.PieceAt(A8), 'Q');
        QCOMPARE(board.PromotionPiece(), 'q');
    }
}

void TestRules::chosenPromotionPieceIsPlayed() {
    // an underpromotion chosen beforehand is played as chosen, without and with a handler
    TChessRules rules;
    SetUp(rules, Placement({{G7, 'P'}, {H6, 'k'}, {E1, 'K'}}), true);
    QVERIFY(rules.MakeMove(G7, G8, 'n'));
    QCOMPARE(rules.PieceAt(G8), 'N');
    SetUp(rules, Placement({{G2, 'p'}, {H3, 'K'}, {E8, 'k'}}), false);
    char offered = 0;
    rules.OnPromotion = [&offered](TChessRules&, Square, Square, char& piece) { offered = piece; };
    QVERIFY(rules.MakeMove(G2, G1, 'r'));
    QCOMPARE(offered, 'r');
    QCOMPARE(rules.PieceAt(G1), 'r');
    // a move that does not promote ignores the choice
    SetUp(rules, Placement({{E2, 'P'}, {H6, 'k'}, {E1, 'K'}}), true);
    QVERIFY(rules.MakeMove(E2, E4, 'n'));
    QCOMPARE(rules.PieceAt(E4), 'P');
}

void TestRules::noMoveWhilePromotionDialogRuns() {
    TChessRules rules;
    SetUp(rules, Placement({{A7, 'P'}, {H8, 'k'}, {E1, 'K'}}), true);
    bool nestedMade = true;
    bool flagSeen = false;
    rules.OnPromotion = [&](TChessRules& board, Square, Square, char& piece) {
        flagSeen = TChessRules::PromotionInProgress();
        nestedMade = board.MakeMove(H8, G8);
        piece = 'n';
    };
    QVERIFY(rules.MakeMove(A7, A8));
    QVERIFY(flagSeen);
    QVERIFY(!nestedMade);
    QVERIFY(!TChessRules::PromotionInProgress());
    QCOMPARE(rules.PieceAt(A8), 'N');
    QCOMPARE(rules.PieceAt(H8), 'k');
}

void TestRules::foolsMate() {
    RecordingRules rules;
    std::vector<std::string> log;
    QVERIFY(PlayLine(rules, "F2-F3 E7-E5 G2-G4"));
    AttachEventLog(rules, log);
    QVERIFY(rules.MakeMove(D8, H4));
    QCOMPARE(Events(log), QStringList({"LegalMove 4 40", "Check 4 40", "Mate 4 40", "Paint"}));
    QVERIFY(rules.GameOver());
    QCOMPARE(rules.aborts, 1);
    QVERIFY(!rules.HasLegalMove());
}

void TestRules::mateWithoutHandlerLeavesGameRunning() {
    RecordingRules rules;
    std::vector<std::string> log;
    QVERIFY(PlayLine(rules, "F2-F3 E7-E5 G2-G4"));
    AttachEventLog(rules, log);
    rules.OnMate = nullptr;
    QVERIFY(rules.MakeMove(D8, H4));
    QCOMPARE(Events(log), QStringList({"LegalMove 4 40", "Check 4 40", "Paint"}));
    QVERIFY(!rules.GameOver());
    QCOMPARE(rules.aborts, 0);
}

void TestRules::missingMaterial_data() {
    QTest::addColumn<QString>("placement");
    QTest::addColumn<bool>("drawn");
    // white's knight on c3 takes a black piece on d5; what stays decides
    auto p = [](std::initializer_list<std::pair<Square, char>> extra) {
        std::string s = Placement({{E1, 'K'}, {E8, 'k'}, {C3, 'N'}, {D5, 'r'}});
        for (const auto& [sq, c] : extra) s[static_cast<size_t>(sq - 1)] = c;
        return QString::fromStdString(s);
    };
    QTest::newRow("king and knight against king") << p({}) << true;
    QTest::newRow("king and two knights against king") << p({{G1, 'N'}}) << true;
    QTest::newRow("king, bishop and knight against king") << p({{G1, 'B'}}) << false;
    QTest::newRow("bishop against bishop, any colours") << p({{A1, 'b'}}) << true;
    QTest::newRow("a pawn left") << p({{A2, 'P'}}) << false;
    QTest::newRow("minor piece each") << p({{A8, 'n'}}) << true;
    QTest::newRow("two bishops") << p({{G1, 'B'}, {H1, 'B'}}) << false;
}

void TestRules::missingMaterial() {
    QFETCH(QString, placement);
    QFETCH(bool, drawn);
    TChessRules rules;
    SetUp(rules, placement.toStdString(), true);
    std::vector<std::string> log;
    AttachEventLog(rules, log);
    QVERIFY(rules.MakeMove(C3, D5));
    QStringList expected = {"LegalMove 43 28", "Capture 43 28 r"};
    if (drawn) expected << "NoMatingMaterial" << "Draw";
    expected << "Paint";
    QCOMPARE(Events(log), expected);
    QCOMPARE(rules.GameOver(), drawn);
}

void TestRules::threefoldRepetitionBlocksEveryMove() {
    TChessRules rules;
    std::vector<std::string> log;
    QVERIFY(PlayLine(rules, "G1-F3 G8-F6 F3-G1 F6-G8 G1-F3 G8-F6 F3-G1"));
    QVERIFY(!rules.IsThreefoldRepetition());
    AttachEventLog(rules, log);
    QVERIFY(rules.MakeMove(F6, G8)); // the start placement for the third time
    QCOMPARE(Events(log), QStringList({"LegalMove 22 7", "ThreefoldPosition", "Draw", "Paint"}));
    QVERIFY(rules.IsThreefoldRepetition());
    QVERIFY(rules.GameOver());
    for (int from = 1; from <= 64; ++from)
        for (int to = 1; to <= 64; ++to) QVERIFY(!rules.IsLegalMove(from, to));
    QVERIFY(!rules.HasLegalMove());
    // stepping back lifts the block
    QVERIFY(rules.TakeBackMove());
    QVERIFY(!rules.IsThreefoldRepetition());
    QVERIFY(rules.IsLegalMove(F6, G8));
}

// Scripts of moves ("E2-E4"), "back" (take back one half-move) and "new" (a new game); the events
// of the last move are compared. Records left from a line taken back, or from an earlier game,
// must neither count as repetitions nor turn a repetition into a mate or a stalemate.
void TestRules::repetitionsCountOnlyTheLinePlayed_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("repeated");
    const QString queenShuffle = "F2-F3 E7-E6 E1-F2 D8-H4 F2-E3 H4-H5 E3-F2 H5-H4 F2-E3 H4-H5 E3-F2";
    const QString knightShuffle = "G1-F3 G8-F6 F3-G1 F6-G8 G1-F3 G8-F6 F3-G1";
    QTest::newRow("third check repeated after taking it back")
        << queenShuffle + " H5-H4 back H5-H4"
        << QStringList{"LegalMove 32 40", "Check 32 40", "ThreefoldPosition", "Draw", "Paint"} << true;
    QTest::newRow("third check the first time")
        << queenShuffle + " H5-H4"
        << QStringList{"LegalMove 32 40", "Check 32 40", "ThreefoldPosition", "Draw", "Paint"} << true;
    QTest::newRow("quiet repetition repeated after taking it back")
        << knightShuffle + " F6-G8 back F6-G8"
        << QStringList{"LegalMove 22 7", "ThreefoldPosition", "Draw", "Paint"} << true;
    QTest::newRow("another move instead of the repetition")
        << knightShuffle + " F6-G8 back B8-C6" << QStringList{"LegalMove 2 19", "Paint"} << false;
    QTest::newRow("another check instead of the repetition")
        << queenShuffle + " H5-H4 back F8-C5" << QStringList{"LegalMove 6 27", "Check 6 27", "Paint"} << false;
    QTest::newRow("records of an earlier game")
        << knightShuffle + " F6-G8 new " + knightShuffle + " B8-C6" << QStringList{"LegalMove 2 19", "Paint"}
        << false;
}

void TestRules::repetitionsCountOnlyTheLinePlayed() {
    QFETCH(QString, script);
    QFETCH(QStringList, events);
    QFETCH(bool, repeated);
    TChessRules rules;
    std::vector<std::string> log;
    AttachEventLog(rules, log);
    for (const QString& step : script.split(' ')) {
        log.clear();
        if (step == "back") QVERIFY(rules.TakeBackMove());
        else if (step == "new") rules.NewGame();
        else QVERIFY2(PlayLine(rules, step), qPrintable(step));
    }
    QCOMPARE(Events(log), events);
    QCOMPARE(rules.IsThreefoldRepetition(), repeated);
    QCOMPARE(rules.GameOver(), repeated);
    QCOMPARE(rules.HasLegalMove(), !repeated); // the repetition block alone stops the game
}

void TestRules::illegalMoveChangesNothing() {
    RecordingRules rules;
    std::vector<std::string> log;
    AttachEventLog(rules, log);
    const THistoryRecord recordBefore = rules.HistoryRecord(1, 0);
    QVERIFY(!rules.MakeMove(E2, E5));
    QVERIFY(log.empty());
    QVERIFY(rules.redrawn.empty());
    QVERIFY(rules.moveStarts.empty());
    QCOMPARE(rules.Position(), std::string(StartPosition));
    QCOMPARE(std::memcmp(&recordBefore, &rules.HistoryRecord(1, 0), sizeof recordBefore), 0);
}

void TestRules::hooksAreCalled() {
    RecordingRules rules;
    QVERIFY(rules.PlayMove(E2, E4));
    QCOMPARE(rules.stops, 1);
    QCOMPARE(rules.starts, 1);
    QVERIFY(!rules.StopRequested());
    QCOMPARE(rules.moveStarts.size(), size_t(1));
    QCOMPARE(rules.moveStarts[0], std::make_pair(E2, E4));
    QCOMPARE(rules.redrawn, std::vector<Square>({E4}));

    // a refused move still restarts the engine, as the player's turn goes on
    QVERIFY(!rules.PlayMove(E2, E4));
    QCOMPARE(rules.starts, 2);

    QVERIFY(rules.PlayMove(E7, E5));
    rules.redrawn.clear();
    QVERIFY(rules.TakeBackMove());
    QCOMPARE(rules.changedFrom.size(), size_t(1));
    QCOMPARE(rules.changedFrom[0][E5 - 1], 'p');
    QVERIFY(rules.StopRequested());
    rules.NewGame();
    QCOMPARE(rules.repaints, 1);
}

void TestRules::takeBackAndReplay() {
    TChessRules rules;
    QVERIFY(rules.MakeMove(E2, E4));
    const std::string afterE4 = rules.Position();
    QVERIFY(rules.TakeBackMove());
    QCOMPARE(rules.Position(), std::string(StartPosition));
    QVERIFY(rules.WhiteToMove());
    QCOMPARE(rules.CurrentMove(), 1);
    QCOMPARE(rules.EnPassant(), None);
    QVERIFY(!rules.TakeBackMove()); // nothing before the first move
    QVERIFY(rules.ReplayMove());
    QCOMPARE(rules.Position(), afterE4);
    QCOMPARE(rules.EnPassant(), E3);
    QVERIFY(!rules.WhiteToMove());
    QVERIFY(!rules.ReplayMove()); // the end of the line

    QVERIFY(PlayLine(rules, "E7-E5 G1-F3 B8-C6 F1-C4 G8-F6 E1-G1"));
    QVERIFY(rules.GotoMove(4, false)); // before black's fourth move, after castling
    QCOMPARE(rules.CastlingAllowed(), CastleSet(BlackKingSide | BlackQueenSide));
    QVERIFY(rules.GotoMove(1, true));
    QCOMPARE(rules.CastlingAllowed(), AllCastlingRights);
    QCOMPARE(rules.LastMoveNumber(), 4);
    QVERIFY(!rules.LastSideWhite());
}

void TestRules::newMoveFromEarlierPositionCutsTheLine() {
    TChessRules rules;
    QVERIFY(PlayLine(rules, "E2-E4 E7-E5 G1-F3"));
    QVERIFY(rules.GotoMove(1, true));
    QVERIFY(rules.MakeMove(D2, D4));
    QCOMPARE(rules.LastMoveNumber(), 1);
    QVERIFY(!rules.LastSideWhite());
    std::vector<std::string> lines;
    rules.FillMoveList(lines);
    QCOMPARE(ToQt(lines), QStringList({"1. D2-D4"}));
    QVERIFY(!rules.ReplayMove());
}

void TestRules::gotoOutsideTheLineIsRefused() {
    RecordingRules rules;
    QVERIFY(!rules.GotoMove(1, false));
    QCOMPARE(rules.stops, 1); // the engine is stopped all the same
    QVERIFY(!rules.GotoMove(0, true));
    QVERIFY(!rules.GotoMove(2, true));
    QVERIFY(!rules.GotoMove(300, true));
    QVERIFY(rules.GotoMove(1, true));
}

void TestRules::newGameKeepsOldHistoryUntilOverwritten() {
    TChessRules rules;
    QVERIFY(PlayLine(rules, "E2-E4 E7-E5"));
    rules.NewGame();
    QCOMPARE(rules.Position(), std::string(StartPosition));
    QCOMPARE(rules.LastMoveNumber(), 1);
    QVERIFY(rules.LastSideWhite());
    QCOMPARE(int(rules.HistoryRecord(1, 0).ToSq), int(E4));
    QVERIFY(!rules.GotoMove(1, false));
    QVERIFY(rules.MakeMove(D2, D4));
    QCOMPARE(int(rules.HistoryRecord(1, 0).ToSq), int(D4));
}

void TestRules::historyFullRefusesOnlyTheMoveBeyondIt() {
    TChessRules rules;
    const int halfMoves = 2 * TChessRules::LastHistoryMove - 1;
    QVERIFY(PlayFreshMoves(rules, halfMoves));
    QCOMPARE(rules.CurrentMove(), TChessRules::LastHistoryMove);
    QVERIFY(!rules.WhiteToMove());
    QVERIFY(rules.HistoryFull());
    QVERIFY(rules.HasLegalMove()); // black is neither mated nor stalemated
    std::vector<std::string> log;
    AttachEventLog(rules, log);
    const std::string before = rules.Position();
    int from = 1, to = 1;
    for (from = 1; from <= 64; ++from) {
        for (to = 1; to <= 64; ++to)
            if (rules.IsLegalMove(from, to)) break;
        if (to <= 64) break;
    }
    QVERIFY(!rules.MakeMove(from, to));
    QVERIFY(log.empty());
    QCOMPARE(rules.Position(), before);
    QCOMPARE(rules.CurrentMove(), TChessRules::LastHistoryMove);
    std::vector<std::string> lines;
    rules.FillMoveList(lines);
    QCOMPARE(int(lines.size()), halfMoves);
    // one step back there is room again
    QVERIFY(rules.TakeBackMove());
    QVERIFY(!rules.HistoryFull());
}

QTEST_GUILESS_MAIN(TestRules)
#include "tst_rules.moc"
