#include "EngineTestSupport.h"

#include <QTest>

namespace {

constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* KiwipeteFen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

int Sq(Square s) { return EngineSquare(s); }

// The generated entries of the current ply that go from `from` to `to`.
std::vector<TGenEntry> EntriesBetween(const TEngineBoard& board, int from, int to) {
    std::vector<TGenEntry> found;
    for (int i = board.FirstMove(board.Ply()); i < board.LastMove(board.Ply()); ++i)
        if (board.Entry(i).Move.From == from && board.Entry(i).Move.To == to) found.push_back(board.Entry(i));
    return found;
}

// The square masks the board keeps beside its arrays must say what the arrays say.
bool MasksAgree(const TEngineBoard& board) {
    for (int color : {EngineWhite, EngineBlack})
        for (int piece = EnginePawn; piece < EnginePieceKinds; ++piece)
            for (int sq = 0; sq < EngineSquares; ++sq) {
                const bool inMask = (board.Pieces(color, piece) >> sq) & 1;
                if (inMask != (board.Color(sq) == color && board.Piece(sq) == piece)) return false;
            }
    return true;
}

// Makes and takes back every move `depth` plies deep, checking that each take-back restores all.
void CheckMakeAndTakeBack(TEngineBoard& board, int depth) {
    board.Generate();
    const int ply = board.Ply();
    for (int i = board.FirstMove(ply); i < board.LastMove(ply); ++i) {
        const TBoardState before = TBoardState::Of(board);
        if (!board.EngineMakeMove(board.Entry(i).Move)) {
            QCOMPARE(TBoardState::Of(board), before);
            continue;
        }
        QVERIFY(MasksAgree(board));
        if (depth > 1) CheckMakeAndTakeBack(board, depth - 1);
        board.EngineTakeBack();
        QCOMPARE(TBoardState::Of(board), before);
        QVERIFY(MasksAgree(board));
    }
}

} // namespace

class TestEngineBoard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startPositionGeneration();
    void promotions_data();
    void promotions();
    void captureGenerationKeepsPromotionPushes();
    void orderingScores_data();
    void orderingScores();
    void castling_data();
    void castling();
    void illegalMovesAreRefused_data();
    void illegalMovesAreRefused();
    void takeBackRestoresEverything_data();
    void takeBackRestoresEverything();
    void perft_data();
    void perft();
    void loadDropsWhatThePlacementContradicts_data();
    void loadDropsWhatThePlacementContradicts();
    void charactersThatAreNoPiecesAreEmpty();
    void pawnsOnTheirLastRankCannotMove();
    void firstKingCountsForCheck();
};

// 16 pawn moves, 4 knight moves and both castlings, pushed on the rights alone and refused when made.
void TestEngineBoard::startPositionGeneration() {
    TEngineBoard board;
    board.Load(PositionFromFen(StartFen));
    board.Generate();
    QCOMPARE(board.LastMove(0) - board.FirstMove(0), 22);
    int pawnMoves = 0;
    int castlings = 0;
    for (int i = board.FirstMove(0); i < board.LastMove(0); ++i) {
        const TGenEntry& entry = board.Entry(i);
        QCOMPARE(entry.Score, 0);
        if (entry.Move.Bits & MovePawn) ++pawnMoves;
        if (entry.Move.Bits != MoveCastling) continue;
        ++castlings;
        const TBoardState before = TBoardState::Of(board);
        QVERIFY(!board.EngineMakeMove(entry.Move));
        QCOMPARE(TBoardState::Of(board), before);
    }
    QCOMPARE(pawnMoves, 16);
    QCOMPARE(castlings, 2);
}

void TestEngineBoard::promotions_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QList<int>>("promotes");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QList<int>>("scores");
    const QList<int> four = {1, 2, 3, 4};
    const QList<int> promotionScores = {1000010, 1000020, 1000030, 1000040};
    QTest::newRow("a6-a7 is a plain push")
        << "4k3/8/P7/8/8/8/8/4K3 w - - 0 1" << Sq(A6) << Sq(A7) << QList<int>{0} << MovePawn << QList<int>{0};
    QTest::newRow("a7-a8 promotes four ways") << "4k3/P7/8/8/8/8/8/4K3 w - - 0 1" << Sq(A7) << Sq(A8) << four
                                              << (MovePawn | MovePromotion) << promotionScores;
    QTest::newRow("a capture onto the last rank scores as a promotion")
        << "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1" << Sq(A7) << Sq(B8) << four
        << (MovePawn | MoveCapture | MovePromotion) << promotionScores;
    QTest::newRow("black promotes on rank 1") << "4k3/8/8/8/8/8/p7/4K3 b - - 0 1" << Sq(A2) << Sq(A1) << four
                                              << (MovePawn | MovePromotion) << promotionScores;
}

void TestEngineBoard::promotions() {
    QFETCH(QString, fen);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QList<int>, promotes);
    QFETCH(int, bits);
    QFETCH(QList<int>, scores);
    TEngineBoard board;
    board.Load(PositionFromFen(fen.toLatin1().constData()));
    board.Generate();
    const std::vector<TGenEntry> entries = EntriesBetween(board, from, to);
    QCOMPARE(static_cast<int>(entries.size()), promotes.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        QCOMPARE(int(entries[i].Move.Promote), promotes[int(i)]);
        QCOMPARE(int(entries[i].Move.Bits), bits);
        QCOMPARE(entries[i].Score, scores[int(i)]);
    }
}

// The quiescence search sees captures, en passant and pawn pushes onto the last rank, nothing else.
void TestEngineBoard::captureGenerationKeepsPromotionPushes() {
    TEngineBoard board;
    board.Load(PositionFromFen("4k3/P7/8/3pP3/8/8/4P3/R3K3 w Q d6 0 1"));
    board.GenerateCaptures();
    std::vector<std::pair<int, int>> moves;
    for (int i = board.FirstMove(0); i < board.LastMove(0); ++i)
        moves.emplace_back(board.Entry(i).Move.From, board.Entry(i).Move.Bits);
    const std::vector<std::pair<int, int>> expected = {
        {Sq(A7), MovePawn | MovePromotion}, {Sq(A7), MovePawn | MovePromotion},
        {Sq(A7), MovePawn | MovePromotion}, {Sq(A7), MovePawn | MovePromotion},
        {Sq(E5), MovePawn | MoveCapture | MoveEnPassant}};
    QCOMPARE(moves, expected);
}

void TestEngineBoard::orderingScores_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("score");
    QTest::newRow("pawn takes queen") << "4k3/8/8/3q4/4P3/8/8/4K3 w - - 0 1" << Sq(E4) << Sq(D5) << 1000040;
    QTest::newRow("queen takes pawn") << "4k3/8/8/3p4/8/8/8/3QK3 w - - 0 1" << Sq(D1) << Sq(D5) << 999996;
    QTest::newRow("knight takes rook") << "4k3/8/8/3r4/8/4N3/8/4K3 w - - 0 1" << Sq(E3) << Sq(D5) << 1000029;
    QTest::newRow("en passant") << "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1" << Sq(E5) << Sq(D6) << 1000060;
    QTest::newRow("black pawn takes rook")
        << "4k3/8/8/8/3p4/4R3/8/4K3 b - - 0 1" << Sq(D4) << Sq(E3) << 1000030;
}

void TestEngineBoard::orderingScores() {
    QFETCH(QString, fen);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, score);
    TEngineBoard board;
    board.Load(PositionFromFen(fen.toLatin1().constData()));
    board.Generate();
    const std::vector<TGenEntry> entries = EntriesBetween(board, from, to);
    QCOMPARE(entries.size(), size_t{1});
    QCOMPARE(entries[0].Score, score);
}

void TestEngineBoard::castling_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("kingTo");
    QTest::addColumn<bool>("allowed");
    const char* open = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    QTest::newRow("white kingside") << open << Sq(G1) << true;
    QTest::newRow("white queenside") << open << Sq(C1) << true;
    QTest::newRow("black kingside") << "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1" << Sq(G8) << true;
    QTest::newRow("black queenside") << "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1" << Sq(C8) << true;
    QTest::newRow("king in check") << "r3k2r/8/8/8/8/8/4r3/R3K2R w KQkq - 0 1" << Sq(G1) << false;
    QTest::newRow("king passes an attacked square")
        << "r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq - 0 1" << Sq(G1) << false;
    QTest::newRow("the other wing is still free")
        << "r3k2r/8/8/8/8/8/5r2/R3K2R w KQkq - 0 1" << Sq(C1) << true;
    QTest::newRow("king lands on an attacked square")
        << "r3k2r/8/8/8/8/6r1/8/R3K2R w KQkq - 0 1" << Sq(G1) << false;
    QTest::newRow("an attacked b1 does not matter")
        << "r3k2r/8/8/8/8/1r6/8/R3K2R w KQkq - 0 1" << Sq(C1) << true;
    QTest::newRow("an occupied b1 does") << "r3k2r/8/8/8/8/8/8/RN2K2R w KQkq - 0 1" << Sq(C1) << false;
    QTest::newRow("black passes an attacked f8")
        << "r3k2r/8/8/8/8/B7/8/R3K2R b KQkq - 0 1" << Sq(G8) << false;
}

void TestEngineBoard::castling() {
    QFETCH(QString, fen);
    QFETCH(int, kingTo);
    QFETCH(bool, allowed);
    TEngineBoard board;
    board.Load(PositionFromFen(fen.toLatin1().constData()));
    board.Generate();
    const int kingFrom = board.Side() == EngineWhite ? Sq(E1) : Sq(E8);
    const std::vector<TGenEntry> entries = EntriesBetween(board, kingFrom, kingTo);
    QCOMPARE(entries.size(), size_t{1});
    const TBoardState before = TBoardState::Of(board);
    const int mover = board.Side();
    QCOMPARE(board.EngineMakeMove(entries[0].Move), allowed);
    if (allowed) {
        const int rookTo = (kingTo % 8 == 6) ? kingTo - 1 : kingTo + 1;
        QCOMPARE(board.Piece(rookTo), EngineRook);
        QCOMPARE(board.Color(rookTo), mover);
        QCOMPARE(board.Castle() & (mover == EngineWhite ? 3 : 12), 0);
        board.EngineTakeBack();
    }
    QCOMPARE(TBoardState::Of(board), before);
}

void TestEngineBoard::illegalMovesAreRefused_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("bits");
    QTest::newRow("pinned knight") << "4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1" << Sq(E2) << Sq(C3) << 0;
    QTest::newRow("king onto an attacked square")
        << "4k3/8/8/8/8/8/3r4/4K3 w - - 0 1" << Sq(E1) << Sq(E2) << 0;
    QTest::newRow("en passant uncovering the king")
        << "8/8/8/KPp4r/8/8/8/7k w - c6 0 1" << Sq(B5) << Sq(C6) << (MovePawn | MoveCapture | MoveEnPassant);
    QTest::newRow("ignoring a check") << "3rk3/8/8/8/8/8/8/3K3R w - - 0 1" << Sq(H1) << Sq(H2) << 0;
}

void TestEngineBoard::illegalMovesAreRefused() {
    QFETCH(QString, fen);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, bits);
    TEngineBoard board;
    board.Load(PositionFromFen(fen.toLatin1().constData()));
    const TBoardState before = TBoardState::Of(board);
    QVERIFY(!board.EngineMakeMove(MoveOf(from, to, bits)));
    QCOMPARE(TBoardState::Of(board), before);
    QVERIFY(MasksAgree(board));
}

void TestEngineBoard::takeBackRestoresEverything_data() {
    QTest::addColumn<QString>("fen");
    QTest::newRow("kiwipete") << KiwipeteFen;
    QTest::newRow("promotions") << "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
    QTest::newRow("en passant") << "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3";
    QTest::newRow("black to move") << "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R b KQ - 1 8";
}

void TestEngineBoard::takeBackRestoresEverything() {
    QFETCH(QString, fen);
    TEngineBoard board;
    board.Load(PositionFromFen(fen.toLatin1().constData()));
    CheckMakeAndTakeBack(board, 2);
}

void TestEngineBoard::perft_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("depth");
    QTest::addColumn<qulonglong>("leaves");
    const char* endgame = "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1";
    const char* promotions = "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1";
    const char* checks = "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8";
    QTest::newRow("start 1") << StartFen << 1 << 20ull;
    QTest::newRow("start 2") << StartFen << 2 << 400ull;
    QTest::newRow("start 3") << StartFen << 3 << 8902ull;
    QTest::newRow("kiwipete 1") << KiwipeteFen << 1 << 48ull;
    QTest::newRow("kiwipete 2") << KiwipeteFen << 2 << 2039ull;
    QTest::newRow("kiwipete 3") << KiwipeteFen << 3 << 97862ull;
    QTest::newRow("endgame 1") << endgame << 1 << 14ull;
    QTest::newRow("endgame 2") << endgame << 2 << 191ull;
    QTest::newRow("endgame 3") << endgame << 3 << 2812ull;
    QTest::newRow("endgame 4") << endgame << 4 << 43238ull;
    QTest::newRow("promotions 1") << promotions << 1 << 6ull;
    QTest::newRow("promotions 2") << promotions << 2 << 264ull;
    QTest::newRow("promotions 3") << promotions << 3 << 9467ull;
    QTest::newRow("checks 1") << checks << 1 << 44ull;
    QTest::newRow("checks 2") << checks << 2 << 1486ull;
    QTest::newRow("checks 3") << checks << 3 << 62379ull;
}

void TestEngineBoard::perft() {
    QFETCH(QString, fen);
    QFETCH(int, depth);
    QFETCH(qulonglong, leaves);
    const auto board = std::make_unique<TEngineBoard>();
    board->Load(PositionFromFen(fen.toLatin1().constData()));
    const std::optional<std::uint64_t> counted = board->Perft(depth);
    QVERIFY(counted.has_value());
    QCOMPARE(qulonglong(*counted), leaves);
}

void TestEngineBoard::loadDropsWhatThePlacementContradicts_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("castle");
    QTest::addColumn<int>("ep");
    QTest::newRow("rights without rooks") << "4k3/8/8/8/8/8/8/4K3 w KQkq - 0 1" << 0 << -1;
    QTest::newRow("white king not at home") << "r3k2r/8/8/8/8/8/8/R4K1R w KQkq - 0 1" << 12 << -1;
    QTest::newRow("one rook gone") << "r3k3/8/8/8/8/8/8/R3K2R w KQkq - 0 1" << 11 << -1;
    QTest::newRow("en passant without the pawn") << "4k3/8/8/8/8/8/8/4K3 w - e6 0 1" << 0 << -1;
    QTest::newRow("en passant of the wrong side") << "4k3/8/8/8/4P3/8/8/4K3 w - e3 0 1" << 0 << -1;
    QTest::newRow("en passant onto an occupied square") << "4k3/8/3n4/3pP3/8/8/8/4K3 w - d6 0 1" << 0 << -1;
    QTest::newRow("en passant kept") << "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1" << 0 << Sq(D6);
    QTest::newRow("black en passant kept") << "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1" << 0 << Sq(E3);
    QTest::newRow("all rights kept") << "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1" << 15 << -1;
}

void TestEngineBoard::loadDropsWhatThePlacementContradicts() {
    QFETCH(QString, fen);
    QFETCH(int, castle);
    QFETCH(int, ep);
    TEngineBoard board;
    board.Load(PositionFromFen(fen.toLatin1().constData()));
    QCOMPARE(board.Castle(), castle);
    QCOMPARE(board.Ep(), ep);
}

void TestEngineBoard::charactersThatAreNoPiecesAreEmpty() {
    TPositionSnapshot position = PositionFromFen(StartFen);
    position.Position[Sq(E2)] = 'x';
    position.Position[Sq(D7)] = 'c';
    TEngineBoard board;
    board.Load(position);
    for (int sq : {Sq(E2), Sq(D7)}) {
        QCOMPARE(board.Color(sq), EngineEmpty);
        QCOMPARE(board.Piece(sq), EngineEmpty);
    }
    QVERIFY(MasksAgree(board));
}

// The board accepts such pawns; they have nowhere to go, and generating must not look off the board.
void TestEngineBoard::pawnsOnTheirLastRankCannotMove() {
    for (const char* fen : {"P3k3/8/8/8/8/8/8/4K2p w - - 0 1", "P3k3/8/8/8/8/8/8/4K2p b - - 0 1"}) {
        TEngineBoard board;
        board.Load(PositionFromFen(fen));
        board.Generate();
        for (int i = board.FirstMove(0); i < board.LastMove(0); ++i)
            QCOMPARE(board.Piece(board.Entry(i).Move.From), EngineKing);
        board.GenerateCaptures();
        QCOMPARE(board.LastMove(0), board.FirstMove(0));
    }
}

void TestEngineBoard::firstKingCountsForCheck() {
    TEngineBoard board;
    board.Load(PositionFromFen("K3k3/8/8/8/8/8/8/4K2r w - - 0 1"));
    QVERIFY(board.Attacked(Sq(E1), EngineBlack));
    QVERIFY(!board.InCheck(EngineWhite));
    board.Load(PositionFromFen("8/8/8/8/8/8/8/7r w - - 0 1"));
    QVERIFY(!board.InCheck(EngineWhite));
}

QTEST_GUILESS_MAIN(TestEngineBoard)
#include "tst_engine_board.moc"
