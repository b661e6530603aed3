// The engine against the plain transcription: same moves generated in the same order with the same
// scores, same attacks and evaluations, and searches that visit the same nodes and end with the same
// scores, best lines and moves, iteration by iteration.

#include "EngineTestSupport.h"

#include <QTest>

#include <algorithm>
#include <bit>
#include <random>
#include <utility>

namespace {

int Sq(Square s) { return EngineSquare(s); }

std::uint32_t Pack(int from, int to, int promote, int bits) {
    return static_cast<std::uint32_t>(((from * 64 + to) * 8 + promote) * 64 + bits);
}

// What one finished iteration leaves for the user to see and for the thread to play.
struct TIteration {
    int Depth = 0;
    std::int64_t Nodes = 0;
    int Score = 0;
    std::vector<std::uint32_t> Row; // PV row 0, all 64 entries
    int Length = 0;
    std::string Line;
};

TIteration IterationOf(int depth, TEngineUnderTest& t) {
    TIteration it{depth, t.Engine->Nodes(), t.Control.CalcScore.load(), {}, t.Engine->PVLength(0),
                  t.Control.CalcBestLine()};
    for (int j = 0; j < EngineMaxPly; ++j) {
        const TEngineMove& m = t.Engine->PV(0, j);
        it.Row.push_back(Pack(m.From, m.To, m.Promote, m.Bits));
    }
    return it;
}

TIteration IterationOf(int depth, const oracle::Engine& e) {
    TIteration it{depth, e.Nodes, e.CalcScore, {}, e.PVLength[0], e.CalcBestLine};
    for (const oracle::EngineMove& m : e.PV[0]) it.Row.push_back(Pack(m.From, m.To, m.Promote, m.Bits));
    return it;
}

void CompareIterations(const std::vector<TIteration>& mine, const std::vector<TIteration>& theirs) {
    QCOMPARE(mine.size(), theirs.size());
    for (size_t i = 0; i < mine.size(); ++i) {
        QCOMPARE(mine[i].Depth, theirs[i].Depth);
        QCOMPARE(mine[i].Nodes, theirs[i].Nodes);
        QCOMPARE(mine[i].Score, theirs[i].Score);
        QCOMPARE(mine[i].Line, theirs[i].Line);
        QCOMPARE(mine[i].Length, theirs[i].Length);
        QVERIFY(mine[i].Row == theirs[i].Row);
    }
}

// Records every finished iteration of both engines.
struct TPair {
    TEngineUnderTest Mine;
    std::unique_ptr<oracle::Engine> Theirs = std::make_unique<oracle::Engine>();
    std::vector<TIteration> MyIterations;
    std::vector<TIteration> TheirIterations;

    TPair() {
        Mine.Engine->OnIterationDone = [this](int depth) {
            MyIterations.push_back(IterationOf(depth, Mine));
        };
        Theirs->OnIterationDone = [this](int depth) {
            TheirIterations.push_back(IterationOf(depth, *Theirs));
        };
    }
    void Think(const TPositionSnapshot& position, int depth) {
        MyIterations.clear();
        TheirIterations.clear();
        Mine.Engine->Think(position, depth);
        ThinkOracle(*Theirs, position, depth);
    }
    void Compare() {
        CompareIterations(MyIterations, TheirIterations);
        QCOMPARE(Mine.Control.CalcDepth.load(), Theirs->CalcDepth);
        QCOMPARE(Mine.Engine->Nodes(), Theirs->Nodes);
    }
};

std::vector<std::uint64_t> GeneratedList(const TEngineBoard& board) {
    std::vector<std::uint64_t> list;
    for (int i = board.FirstMove(board.Ply()); i < board.LastMove(board.Ply()); ++i) {
        const TGenEntry& g = board.Entry(i);
        list.push_back(std::uint64_t{Pack(g.Move.From, g.Move.To, g.Move.Promote, g.Move.Bits)} << 32 |
                       static_cast<std::uint32_t>(g.Score));
    }
    return list;
}

std::vector<std::uint64_t> GeneratedList(const oracle::Engine& e) {
    std::vector<std::uint64_t> list;
    for (int i = e.FirstMove[e.Ply]; i < e.LastMove[e.Ply]; ++i) {
        const oracle::GenEntry& g = e.Gen[i];
        list.push_back(std::uint64_t{Pack(g.Move.From, g.Move.To, g.Move.Promote, g.Move.Bits)} << 32 |
                       static_cast<std::uint32_t>(g.Score));
    }
    return list;
}

// Everything the board answers about the current position, compared square by square.
void CompareNode(TEngine& engine, oracle::Engine& e) {
    TEngineBoard& board = engine.Board();
    QCOMPARE(TBoardState::Of(board), TBoardState::Of(e));
    for (int s : {EngineWhite, EngineBlack}) {
        QCOMPARE(board.InCheck(s), e.InCheck(s));
        for (int sq = 0; sq < EngineSquares; ++sq) QCOMPARE(board.Attacked(sq, s), e.Attacked(sq, s));
    }
    QCOMPARE(engine.Eval().Evaluate(board), e.Evaluate());
    board.GenerateCaptures();
    e.GenerateCaptures();
    QCOMPARE(GeneratedList(board), GeneratedList(e));
    board.Generate();
    e.Generate();
    QCOMPARE(GeneratedList(board), GeneratedList(e));
    QCOMPARE(board.CountMoves(), e.LastMove[e.Ply] - e.FirstMove[e.Ply]);
}

// Every move of the node made and taken back on both boards, then one of the legal ones kept.
bool StepRandomly(TEngine& engine, oracle::Engine& e, std::mt19937& random) {
    TEngineBoard& board = engine.Board();
    std::vector<TEngineMove> legal;
    for (int i = board.FirstMove(board.Ply()); i < board.LastMove(board.Ply()); ++i) {
        const TEngineMove move = board.Entry(i).Move;
        const oracle::EngineMove theirs = e.Gen[i].Move;
        const bool made = board.EngineMakeMove(move);
        if (made != e.EngineMakeMove(theirs)) return false;
        if (!made) continue;
        legal.push_back(move);
        if (!(TBoardState::Of(board) == TBoardState::Of(e))) return false;
        board.EngineTakeBack();
        e.EngineTakeBack();
    }
    if (legal.empty()) return false;
    const TEngineMove chosen = legal[random() % legal.size()];
    board.EngineMakeMove(chosen);
    e.EngineMakeMove({chosen.From, chosen.To, chosen.Promote, chosen.Bits});
    return true;
}

// The suite: openings, middlegames, castling, en passant, promotions, endgames, mates, and positions
// the board accepts although no game reaches them.
void AddSuite() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("depth");
    QTest::newRow("start") << "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" << 5;
    QTest::newRow("after e4") << "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1" << 5;
    QTest::newRow("sicilian") << "r1bqkbnr/pp1ppppp/2n5/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3" << 5;
    QTest::newRow("queen's gambit")
        << "rnbqkb1r/ppp2ppp/4pn2/3p4/2PP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 2 4" << 5;
    QTest::newRow("italian") << "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQkq - 4 5" << 5;
    QTest::newRow("kiwipete") << "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1" << 5;
    QTest::newRow("middlegame") << "r2q1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R2Q1RK1 w - - 0 10" << 5;
    QTest::newRow("black middlegame")
        << "r1bq1rk1/ppp2ppp/2np1n2/2b1p3/2B1P3/2NP1N2/PPP2PPP/R1BQ1RK1 b - - 0 7" << 5;
    QTest::newRow("castling white") << "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1" << 5;
    QTest::newRow("castling black") << "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1" << 5;
    QTest::newRow("castling past a bishop") << "r3k2r/8/8/8/2b5/8/8/R3K2R w KQkq - 0 1" << 5;
    QTest::newRow("en passant white") << "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3" << 5;
    QTest::newRow("en passant black") << "rnbqkbnr/pppp1ppp/8/8/3Pp3/8/PPP2PPP/RNBQKBNR b KQkq d3 0 3" << 5;
    QTest::newRow("en passant pinned") << "8/8/8/KPp4r/8/8/8/7k w - c6 0 1" << 5;
    QTest::newRow("promotions") << "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1" << 5;
    QTest::newRow("racing pawns") << "8/1P5k/8/8/8/8/p5K1/8 w - - 0 1" << 5;
    QTest::newRow("three pawns each side promoting") << "7k/PPP5/8/8/8/8/5ppp/K7 w - - 0 1" << 3;
    QTest::newRow("promotion by capture") << "1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1" << 5;
    QTest::newRow("promoted and checking")
        << "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8" << 5;
    QTest::newRow("rook ending") << "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1" << 5;
    QTest::newRow("pawn ending") << "8/5k2/3p4/1p1Pp2p/pP2Pp1P/P4P1K/8/8 b - - 0 1" << 5;
    QTest::newRow("queen against king") << "8/8/8/4k3/8/8/8/4K2Q w - - 0 1" << 5;
    QTest::newRow("rook and pawn") << "8/8/3k4/3P4/3K4/8/1R6/5r2 w - - 0 1" << 5;
    QTest::newRow("back-rank mate") << "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1" << 5;
    QTest::newRow("black mates from a8") << "r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1" << 5;
    QTest::newRow("scholar's mate")
        << "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4" << 5;
    QTest::newRow("smothered mate") << "6rk/6pp/8/6N1/8/8/8/6K1 w - - 0 1" << 5;
    QTest::newRow("mate in two") << "k7/8/8/8/8/8/6R1/5R1K w - - 0 1" << 5;
    QTest::newRow("stalemated") << "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1" << 5;
    QTest::newRow("checkmated") << "7k/6Q1/6K1/8/8/8/8/8 b - - 0 1" << 5;
    QTest::newRow("rights and pawns the board accepts") << "P3k3/8/8/8/8/8/8/4K2p w KQkq e6 0 1" << 5;
    QTest::newRow("king en prise") << "4k3/4R3/8/8/8/8/8/4K3 w - - 0 1" << 5;
}

void DriveToPly(TEngineBoard& board, oracle::Engine& e, const std::vector<TEngineMove>& cycle, int ply) {
    for (int i = 0; board.Ply() < ply; ++i) {
        const TEngineMove m = cycle[i % cycle.size()];
        QVERIFY(board.EngineMakeMove(m));
        QVERIFY(e.EngineMakeMove({m.From, m.To, m.Promote, m.Bits}));
    }
}

// The reference's history counts added to the board's, so that both order quiet moves alike.
void CopyHistory(const oracle::Engine& e, TEngineBoard& board) {
    for (int from = 0; from < EngineSquares; ++from)
        for (int to = 0; to < EngineSquares; ++to) board.AddHistory(from, to, e.History[from][to]);
}

// History counts drawn square by square, given to both.
template <class Draw> void SetHistory(oracle::Engine& e, TEngineBoard& board, Draw draw) {
    for (auto& row : e.History)
        for (int& count : row) count = draw();
    CopyHistory(e, board);
}

} // namespace

class TestEngineOracle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void searchesMatch_data() { AddSuite(); }
    void searchesMatch();
    void boardsMatchAlongRandomLines_data() { AddSuite(); }
    void boardsMatchAlongRandomLines();
    void successiveSearchesMatch();
    void interruptedSearchesMatch_data();
    void interruptedSearchesMatch();
    void searchesNearTheLastPlyMatch();
    void searchesOnAFullMoveStackMatch_data();
    void searchesOnAFullMoveStackMatch();
    void picksMatchWithManyEqualScores();
    void checkAnswersComeInPickingOrder();
    void answersGeneratedAloneComeInPickingOrder();
    void kingStepsGeneratedAloneAreTheAcceptedOnes();
};

void TestEngineOracle::searchesMatch() {
    QFETCH(QString, fen);
    QFETCH(int, depth);
    TPair pair;
    pair.Think(PositionFromFen(fen.toLatin1().constData()), depth);
    QCOMPARE(int(pair.MyIterations.size()), depth);
    pair.Compare();
}

void TestEngineOracle::boardsMatchAlongRandomLines() {
    QFETCH(QString, fen);
    constexpr int Lines = 6;
    constexpr int LineLength = 40;
    std::mt19937 random(static_cast<unsigned>(qHash(fen)));
    for (int line = 0; line < Lines; ++line) {
        TEngineUnderTest t;
        const TPositionSnapshot position = PositionFromFen(fen.toLatin1().constData());
        const auto e = LoadedOracle(position);
        t.Engine->LoadPosition(position);
        for (int step = 0; step < LineLength; ++step) {
            CompareNode(*t.Engine, *e);
            if (!StepRandomly(*t.Engine, *e, random)) break;
        }
        QCOMPARE(TBoardState::Of(t.Engine->Board()), TBoardState::Of(*e));
    }
}

// The best-line table carries over from one move to the next, so a game played by both engines must
// stay in step.
void TestEngineOracle::successiveSearchesMatch() {
    TPair pair;
    TPositionSnapshot position =
        PositionFromFen("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
    constexpr int Moves = 8;
    for (int move = 0; move < Moves; ++move) {
        pair.Think(position, 3);
        pair.Compare();
        TEngineBoard board;
        board.Load(position);
        const TEngineMove best = pair.Mine.Engine->PV(0, 0);
        QVERIFY(board.EngineMakeMove(best));
        position = SnapshotOf(board);
    }
}

void TestEngineOracle::interruptedSearchesMatch_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("node");
    QTest::addColumn<QString>("flag");
    const char* losing = "rnb1kbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 3"; // a queen down
    const char* kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
    for (int node : {1, 2, 30, 200, 1500, 6000}) {
        for (const char* flag : {"PlayBestMoveNow", "EndCalculation", "abort"}) {
            QTest::addRow("losing, %s at node %d", flag, node) << losing << node << flag;
            QTest::addRow("kiwipete, %s at node %d", flag, node) << kiwipete << node << flag;
        }
    }
}

void TestEngineOracle::interruptedSearchesMatch() {
    QFETCH(QString, fen);
    QFETCH(int, node);
    QFETCH(QString, flag);
    TPair pair;
    TEngineUnderTest& mine = pair.Mine;
    oracle::Engine& theirs = *pair.Theirs;
    mine.Engine->OnSearchNode = [&] {
        if (mine.Engine->Nodes() != node) return;
        if (flag == "PlayBestMoveNow") mine.Control.PlayBestMoveNow = true;
        if (flag == "EndCalculation") mine.Control.EndCalculation = true;
        if (flag == "abort") mine.Engine->SetAbortFlag(true);
    };
    theirs.OnSearchNode = [&] {
        if (theirs.Nodes != node) return;
        theirs.PlayBestMoveNow = flag == "PlayBestMoveNow";
        theirs.EndCalculation = flag == "EndCalculation";
        theirs.Abort = flag == "abort";
    };
    pair.Think(PositionFromFen(fen.toLatin1().constData()), 4);
    pair.Compare();
    QCOMPARE(mine.Control.CalcScore.load(), theirs.CalcScore);
    QCOMPARE(mine.Engine->PV(0, 0), MoveOf(theirs.PV[0][0].From, theirs.PV[0][0].To, theirs.PV[0][0].Bits,
                                           theirs.PV[0][0].Promote));
}

// Knights shuffled 58 plies deep, then a search whose lines run into the last ply.
void TestEngineOracle::searchesNearTheLastPlyMatch() {
    const TPositionSnapshot position =
        PositionFromFen("r1bqkb1r/pppp1ppp/2n2n2/4p3/4P3/2N2N2/PPPP1PPP/R1BQKB1R w KQkq - 4 4");
    TEngineUnderTest t;
    const auto e = LoadedOracle(position);
    t.Engine->LoadPosition(position);
    const std::vector<TEngineMove> cycle = {MoveOf(Sq(F3), Sq(G1), 0), MoveOf(Sq(F6), Sq(G8), 0),
                                            MoveOf(Sq(G1), Sq(F3), 0), MoveOf(Sq(G8), Sq(F6), 0)};
    DriveToPly(t.Engine->Board(), *e, cycle, EngineMaxPly - 6);
    QCOMPARE(t.Engine->Search(-MateValue, MateValue, 4), e->Search(-10000, 10000, 4));
    QCOMPARE(t.Engine->Nodes(), e->Nodes);
    const int ply = EngineMaxPly - 6;
    QCOMPARE(t.Engine->PVLength(ply), e->PVLength[ply]);
    for (int j = ply; j < t.Engine->PVLength(ply); ++j)
        QCOMPARE(t.Engine->PV(ply, j), MoveOf(e->PV[ply][j].From, e->PV[ply][j].To, e->PV[ply][j].Bits,
                                              e->PV[ply][j].Promote));
}

void TestEngineOracle::searchesOnAFullMoveStackMatch_data() {
    QTest::addColumn<bool>("checks");
    QTest::addColumn<int>("headroom");
    QTest::addRow("quiet moves") << false << 200; // room for two plies of moves, not three
    // Black's king opened to checks, with history counts under which the answers alone are written:
    // whether the stack runs out then depends on the entries left unwritten above.
    QTest::addRow("checks answered") << true << 500;
}

// Queens shuffled until the move stack is nearly full, then a search that runs out of it.
void TestEngineOracle::searchesOnAFullMoveStackMatch() {
    QFETCH(bool, checks);
    QFETCH(int, headroom);
    const TPositionSnapshot position =
        PositionFromFen("kp1q1q1q/pp1q1q1q/8/8/8/8/Q1Q1Q1PP/Q1Q1Q1PK w - - 0 1");
    TEngineUnderTest t;
    const auto e = LoadedOracle(position);
    t.Engine->LoadPosition(position);
    TEngineBoard& board = t.Engine->Board();
    const TEngineMove cycle[] = {MoveOf(Sq(A1), Sq(B1), 0), MoveOf(Sq(H8), Sq(G8), 0),
                                 MoveOf(Sq(B1), Sq(A1), 0), MoveOf(Sq(G8), Sq(H8), 0)};
    std::vector<TEngineMove> played;
    const auto play = [&](TEngineMove m) {
        board.Generate();
        e->Generate();
        played.push_back(m);
        return board.EngineMakeMove(m) && e->EngineMakeMove({m.From, m.To, m.Promote, m.Bits});
    };
    while (board.FirstMove(board.Ply()) < MoveStackSize - headroom)
        QVERIFY(play(cycle[played.size() % std::size(cycle)]));
    if (checks) {
        if (board.Side() == EngineWhite) QVERIFY(play(cycle[played.size() % std::size(cycle)]));
        QVERIFY(play(MoveOf(Sq(B7), Sq(B6), MovePawn)));
    }
    std::mt19937 random(5);
    std::uniform_int_distribution<int> count(0, 5000);
    SetHistory(*e, board, [&] { return checks ? count(random) : 0; });
    QCOMPARE(t.Engine->Search(-MateValue, MateValue, 3), e->Search(-10000, 10000, 3));
    QCOMPARE(t.Engine->Nodes(), e->Nodes);

    // The same search with the whole stack free looks further.
    TEngineUnderTest roomy;
    roomy.Engine->LoadPosition(position);
    CopyHistory(*e, roomy.Engine->Board());
    for (const TEngineMove& m : played) QVERIFY(roomy.Engine->Board().EngineMakeMove(m));
    roomy.Engine->Search(-MateValue, MateValue, 3);
    QVERIFY(roomy.Engine->Nodes() > 2 * t.Engine->Nodes());
}

// Scores from a narrow range make long runs of equal scores, whose order depends on every swap made
// before; the moves must come out in the same order, also when picking starts past the first entry.
void TestEngineOracle::picksMatchWithManyEqualScores() {
    const TPositionSnapshot position =
        PositionFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    constexpr int Rounds = 200;
    std::mt19937 random(7);
    for (int round = 0; round < Rounds; ++round) {
        TEngineBoard board;
        const auto e = LoadedOracle(position);
        board.Load(position);
        board.Generate();
        e->Generate();
        const int highest = 1 + round % 6;
        std::uniform_int_distribution<int> score(0, highest);
        for (int i = board.FirstMove(0); i < board.LastMove(0); ++i)
            board.Entry(i).Score = e->Gen[i].Score = score(random);
        for (int i = board.FirstMove(0) + round % 3; i < board.LastMove(0); ++i) {
            board.PickBest(i);
            e->PickBest(i);
            QCOMPARE(board.Entry(i).Move, MoveOf(e->Gen[i].Move.From, e->Gen[i].Move.To, e->Gen[i].Move.Bits,
                                                 e->Gen[i].Move.Promote));
        }
        QCOMPARE(GeneratedList(board), GeneratedList(*e));
    }
}

namespace {

// The positions in check the answer tests start from.
const char* const PositionsInCheck[] = {
    "rnbqkbnr/ppp2ppp/8/1B1pp3/4P3/8/PPPP1PPP/RNBQK1NR b KQkq - 1 3",        // blocks, king near the front
    "r1bq1rk1/pppp1ppp/2n2N2/2b1p3/2B1P3/8/PPPP1PPP/RNBQK2R b KQ - 0 1",     // a knight taken or fled
    "4k3/8/8/8/8/5n2/8/r3K3 w - - 0 1",                                     // double check: the king alone
    "8/8/8/2k5/3Pp3/8/8/4K3 b - d3 0 1",                                    // the checker taken en passant
    "K3r3/1P6/8/8/8/8/8/7k w - - 0 1",                                      // blocked by promoting
    "r3k2r/p1ppqpb1/bn1Npnp1/3P4/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b KQkq - 0 1", // many pieces about
    "rnb1kbnr/pppp1ppp/8/4p3/5PPq/8/PPPPP2P/RNBQKBNR w KQkq - 1 3",         // mated
    "4k3/8/8/8/8/8/3p4/r3K2R w K - 0 1",                                    // castling refused
    "r3k3/1P6/8/8/8/8/p2P4/4K2r w q - 0 1",                                 // pawns take the checker
    "8/8/8/8/8/2k5/1pr5/K7 w - - 0 1",                                      // a pawn blocks twice over
    "4k3/8/8/4r3/8/8/4K3/8 w - - 0 1",                                      // not back along the line
    "4k3/8/8/8/8/8/4r3/4K3 w - - 0 1",                                      // the king takes the checker
    "8/8/8/3KK3/8/8/N7/3r3k w - - 0 1",                                     // two kings: the first counts
};

// The legal moves of the position in the order picking the reference's whole list hands them out.
std::vector<TEngineMove> LegalInPickingOrder(TEngineBoard& board, oracle::Engine& e) {
    std::vector<TEngineMove> legal;
    for (int i = e.FirstMove[e.Ply]; i < e.LastMove[e.Ply]; ++i) {
        e.PickBest(i);
        const TEngineMove move =
            MoveOf(e.Gen[i].Move.From, e.Gen[i].Move.To, e.Gen[i].Move.Bits, e.Gen[i].Move.Promote);
        if (!board.EngineMakeMove(move)) continue;
        board.EngineTakeBack();
        legal.push_back(move);
    }
    return legal;
}

// The legal moves of the ply in the order the search tries them, and whether the list was cut short
// after the answers.
struct TTried {
    std::vector<TEngineMove> Legal;
    bool AnswersInFront = false;
};
TTried LegalAsTried(TEngineBoard& board) {
    TTried tried;
    int end = board.LastMove(0);
    for (int i = board.FirstMove(0); i < end; ++i) {
        if ((end = board.PickMove(i)) == i) break;
        if (!board.EngineMakeMove(board.Entry(i).Move)) continue;
        board.EngineTakeBack();
        tried.Legal.push_back(board.Entry(i).Move);
    }
    tried.AnswersInFront = end < board.LastMove(0);
    return tried;
}

} // namespace

// In check the search tries only the answers to it, found at its first pick where their order is
// known from scores and places alone; whichever way, the legal moves must come in the order in which
// picking the whole list hands them out.
void TestEngineOracle::checkAnswersComeInPickingOrder() {
    std::mt19937 random(11);
    int inFront = 0;
    int pickedOneByOne = 0;
    for (const char* fen : PositionsInCheck) {
        const TPositionSnapshot position = PositionFromFen(fen);
        for (int round = 0; round < 60; ++round) {
            TEngineBoard board;
            const auto e = LoadedOracle(position);
            board.Load(position);
            QVERIFY2(board.SideToMoveInCheck(), fen);
            board.Generate();
            e->Generate();
            // Many entries scoring nothing, the rest from a range narrow or wide.
            const int highest = round % 5 == 4 ? 1000 : 1 + round % 6;
            std::uniform_int_distribution<int> score(-highest, highest);
            for (int i = board.FirstMove(0); i < board.LastMove(0); ++i)
                board.Entry(i).Score = e->Gen[i].Score = std::max(0, score(random));
            const std::vector<TEngineMove> expected = LegalInPickingOrder(board, *e);
            const TTried tried = LegalAsTried(board);
            QCOMPARE(tried.Legal, expected);
            ++(tried.AnswersInFront ? inFront : pickedOneByOne);
        }
    }
    // Both ways were taken.
    QVERIFY(inFront > 0);
    QVERIFY(pickedOneByOne > 0);
}

// Generated alone, the answers must come in the same order, whatever the history counts. Where the
// order depends on places in the full list, the full list is generated instead; or, when no count
// changes while the ply is searched, it is written only once picking reaches those answers. The
// plies below start where the full list would end.
void TestEngineOracle::answersGeneratedAloneComeInPickingOrder() {
    std::mt19937 random(13);
    int alone = 0;
    int fullList = 0;
    int orderedLate = 0;
    for (const char* fen : PositionsInCheck) {
        const TPositionSnapshot position = PositionFromFen(fen);
        for (int round = 0; round < 40; ++round) {
            const auto e = LoadedOracle(position);
            const int highest = round % 4 == 3 ? 5000 : round % 4;
            std::uniform_int_distribution<int> count(-highest, highest);
            for (auto& row : e->History)
                for (int& c : row) c = std::max(0, count(random));
            e->Generate();
            bool answersAlone[2] = {};
            for (const bool historyFixed : {false, true}) {
                TEngineBoard board;
                board.Load(position);
                CopyHistory(*e, board);
                const std::vector<TEngineMove> expected = LegalInPickingOrder(board, *e);
                QVERIFY2(board.SideToMoveInCheck(), fen);
                board.GenerateCheckAnswers(historyFixed);
                QVERIFY(!board.MoveStackFull());
                QCOMPARE(board.ExactFirstMove(1), e->LastMove[0]);
                answersAlone[historyFixed] = board.LastMove(0) < board.ExactFirstMove(1);
                QCOMPARE(LegalAsTried(board).Legal, expected);
            }
            ++(answersAlone[false] ? alone : fullList);
            orderedLate += !answersAlone[false] && answersAlone[true];
        }
    }
    QVERIFY(alone > 0);
    QVERIFY(fullList > 0);
    QVERIFY(orderedLate > 0);
}

// The king's steps among the answers generated alone are exactly those that are not refused when
// made, or all of them when the side has more than one king.
void TestEngineOracle::kingStepsGeneratedAloneAreTheAcceptedOnes() {
    const auto kingSteps = [](TEngineBoard& board, bool acceptedOnly) {
        std::vector<std::pair<int, int>> steps;
        for (int i = board.FirstMove(0); i < board.LastMove(0); ++i) {
            const TEngineMove move = board.Entry(i).Move;
            if (board.Piece(move.From) != EngineKing) continue;
            const bool accepted = board.EngineMakeMove(move);
            if (accepted) board.EngineTakeBack();
            if (accepted || !acceptedOnly) steps.emplace_back(move.From, move.To);
        }
        std::sort(steps.begin(), steps.end());
        return steps;
    };
    int leftOut = 0;
    for (const char* fen : PositionsInCheck) {
        TEngineBoard board;
        board.Load(PositionFromFen(fen));
        // Distinct counts, so that the answers never need the full list for their order.
        for (int from = 0; from < EngineSquares; ++from)
            for (int to = 0; to < EngineSquares; ++to)
                board.AddHistory(from, to, 1 + from * EngineSquares + to);
        QVERIFY2(board.SideToMoveInCheck(), fen);
        const bool oneKing = std::popcount(board.Pieces(board.Side(), EngineKing)) == 1;
        board.Generate();
        const auto expected = kingSteps(board, oneKing);
        leftOut += static_cast<int>(kingSteps(board, false).size() - expected.size());
        board.GenerateCheckAnswers();
        QVERIFY2(board.LastMove(0) < board.ExactFirstMove(1), fen);
        QCOMPARE(kingSteps(board, false), expected);
    }
    QVERIFY(leftOut > 0);
}

QTEST_GUILESS_MAIN(TestEngineOracle)
#include "tst_engine_oracle.moc"
