#include "EngineTestSupport.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

namespace {

constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
constexpr const char* BackRankMateFen = "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1";
constexpr const char* StalemateFen = "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1";
constexpr const char* KiwipeteFen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";
// Six pawns each side about to promote: even one ply deep the captures after the promotions take
// minutes to search out.
constexpr const char* PromotionRaceFen = "7k/PPPPPP2/8/8/8/8/2pppppp/K7 w - - 0 1";

int Sq(Square s) { return EngineSquare(s); }

bool IsLegalIn(const char* fen, TEngineMove move) {
    TEngineBoard board;
    board.Load(PositionFromFen(fen));
    board.Generate();
    for (int i = board.FirstMove(0); i < board.LastMove(0); ++i)
        if (board.Entry(i).Move == move) return board.EngineMakeMove(move);
    return false;
}

// The best of the legal moves when each is judged by the evaluation after it, and how many there are.
std::pair<int, int> BestStaticReply(TEngine& engine) {
    TEngineBoard& board = engine.Board();
    board.Generate();
    int best = -MateValue;
    int legal = 0;
    for (int i = board.FirstMove(board.Ply()); i < board.LastMove(board.Ply()); ++i) {
        if (!board.EngineMakeMove(board.Entry(i).Move)) continue;
        ++legal;
        best = std::max(best, -engine.Eval().Evaluate(board));
        board.EngineTakeBack();
    }
    return {best, legal};
}

// Knights out and back, as a game could go on for a long time.
void ShuffleKnights(TEngineBoard& board, int plies) {
    const TEngineMove shuffle[] = {MoveOf(Sq(G1), Sq(F3), 0), MoveOf(Sq(G8), Sq(F6), 0),
                                   MoveOf(Sq(F3), Sq(G1), 0), MoveOf(Sq(F6), Sq(G8), 0)};
    for (int i = 0; i < plies; ++i) QVERIFY(board.EngineMakeMove(shuffle[i % 4]));
}

// A request is raised from another thread once a depth-1 search of the promotion race is deep in
// its quiescence search (every node but the root is one). Gives how many nodes the engine counted
// after the request, or nothing when the search did not end within a wait far longer than a
// search that heeds the request needs.
std::optional<std::int64_t>
NodesAfterRequestInQuiescence(const std::function<void(TEngineUnderTest&)>& request) {
    constexpr std::int64_t NodesBeforeRequest = 20000;
    constexpr auto GenerousWait = std::chrono::seconds(30);
    auto t = std::make_unique<TEngineUnderTest>();
    std::atomic<bool> done{false};
    std::thread engineThread([&done, engine = t->Engine.get()] {
        engine->Think(PositionFromFen(PromotionRaceFen), 1);
        done = true;
    });
    while (t->Control.CalcNodes.load() < NodesBeforeRequest)
        std::this_thread::yield();
    request(*t);
    const std::int64_t nodesAtRequest = t->Control.CalcNodes.load();
    const auto deadline = std::chrono::steady_clock::now() + GenerousWait;
    while (!done && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!done) {
        // The engine is still searching: it and its thread are left to the end of the process.
        engineThread.detach();
        static_cast<void>(t.release());
        return std::nullopt;
    }
    engineThread.join();
    return t->Engine->Nodes() - nodesAtRequest;
}

} // namespace

class TestEngineSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void depthOneFromTheStart();
    void mates_data();
    void mates();
    void noLegalMoveAtTheRoot_data();
    void noLegalMoveAtTheRoot();
    void stalemateIsSeenOnlyInFullWidthNodes();
    void playBestMoveNowEndsTheIterationInProgress();
    void flagsFromAnEarlierMoveAreForgotten();
    void endCalculationFinishesTheIteration();
    void abortBeforeTheFirstIteration();
    void abortFromAnotherThread();
    void requestsEndTheQuiescenceSearch();
    void bestLineText();
    void bestLineShowsStaleEntries();
    void lastPlyStandsPat();
    void fullMoveStackStandsPat();
};

void TestEngineSearch::depthOneFromTheStart() {
    TEngineUnderTest t;
    t.Engine->Think(PositionFromFen(StartFen), 1);
    QCOMPARE(t.Control.CalcDepth.load(), 1);
    QCOMPARE(t.Control.CalcNodes.load(), t.Engine->Nodes());
    QCOMPARE(t.Engine->Nodes(), std::int64_t{21}); // the root and one quiescence node per move
    QVERIFY(IsLegalIn(StartFen, t.Engine->PV(0, 0)));
}

void TestEngineSearch::mates_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("depth");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("line");
    QTest::newRow("back rank") << BackRankMateFen << 1 << 9999 << "A1-A8 ";
    QTest::newRow("black mates from a8") << "r5k1/8/8/8/8/8/5PPP/6K1 b - - 0 1" << 2 << 9999 << "A8-A1 ";
    QTest::newRow("mate in two is found at depth 3") << "k7/8/8/8/8/8/6R1/5R1K w - - 0 1" << 3 << 9997
                                                     << "G2-G7 A8-B8 F1-F8 ";
}

void TestEngineSearch::mates() {
    QFETCH(QString, fen);
    QFETCH(int, depth);
    QFETCH(int, score);
    QFETCH(QString, line);
    TEngineUnderTest t;
    t.Engine->Think(PositionFromFen(fen.toLatin1().constData()), depth);
    QCOMPARE(t.Control.CalcScore.load(), score);
    QCOMPARE(QString::fromStdString(t.Control.CalcBestLine()), line);
}

void TestEngineSearch::noLegalMoveAtTheRoot_data() {
    QTest::addColumn<QString>("fen");
    QTest::addColumn<int>("score");
    QTest::newRow("mated") << "7k/6Q1/6K1/8/8/8/8/8 b - - 0 1" << -MateValue;
    QTest::newRow("stalemated") << StalemateFen << 0;
}

void TestEngineSearch::noLegalMoveAtTheRoot() {
    QFETCH(QString, fen);
    QFETCH(int, score);
    TEngineUnderTest t;
    t.Engine->Think(PositionFromFen(fen.toLatin1().constData()), 3);
    QCOMPARE(t.Control.CalcScore.load(), score);
    QCOMPARE(t.Engine->PV(0, 0), TEngineMove{});
}

// A quiescence node does not notice that the side to move has no move: it stands on the evaluation.
void TestEngineSearch::stalemateIsSeenOnlyInFullWidthNodes() {
    TEngineUnderTest t;
    t.Engine->LoadPosition(PositionFromFen(StalemateFen));
    QCOMPARE(t.Engine->Search(-MateValue, MateValue, 1), 0);
    const int evaluation = t.Engine->Eval().Evaluate(t.Engine->Board());
    QVERIFY(evaluation < -800);
    QCOMPARE(t.Engine->Quiesce(-MateValue, MateValue), evaluation);
}

void TestEngineSearch::playBestMoveNowEndsTheIterationInProgress() {
    TEngineUnderTest t;
    int nodesIntoDepthFive = 0;
    t.Engine->OnSearchNode = [&] {
        if (t.Control.CalcDepth.load() == 5 && ++nodesIntoDepthFive == 500) t.Control.PlayBestMoveNow = true;
    };
    std::vector<int> finished;
    t.Engine->OnIterationDone = [&](int depth) { finished.push_back(depth); };
    t.Engine->Think(PositionFromFen(KiwipeteFen), MaxSearchDepth);
    QCOMPARE(finished, (std::vector<int>{1, 2, 3, 4, 5}));
    QCOMPARE(t.Control.CalcDepth.load(), 5);
    QVERIFY(t.Engine->PV(0, 0) != TEngineMove{});
}

void TestEngineSearch::flagsFromAnEarlierMoveAreForgotten() {
    TEngineUnderTest t;
    t.Control.PlayBestMoveNow = true;
    t.Control.EndCalculation = true;
    t.Engine->Think(PositionFromFen(StartFen), 3);
    QCOMPARE(t.Control.CalcDepth.load(), 3);
    QCOMPARE(t.Engine->Nodes(), std::int64_t{1006});
}

// The iteration in progress is searched to its end, exactly as without the request.
void TestEngineSearch::endCalculationFinishesTheIteration() {
    TEngineUnderTest stopped;
    stopped.Engine->OnSearchNode = [&] {
        if (stopped.Control.CalcDepth.load() == 3) stopped.Control.EndCalculation = true;
    };
    stopped.Engine->Think(PositionFromFen(KiwipeteFen), 6);
    TEngineUnderTest plain;
    plain.Engine->Think(PositionFromFen(KiwipeteFen), 3);
    QCOMPARE(stopped.Control.CalcDepth.load(), 3);
    QCOMPARE(stopped.Engine->Nodes(), plain.Engine->Nodes());
    QCOMPARE(stopped.Control.CalcScore.load(), plain.Control.CalcScore.load());
    QCOMPARE(stopped.Control.CalcBestLine(), plain.Control.CalcBestLine());
}

void TestEngineSearch::abortBeforeTheFirstIteration() {
    TEngineUnderTest t;
    t.Control.CalcDepth = 7;
    t.Engine->SetAbortFlag(true);
    t.Engine->Think(PositionFromFen(StartFen), 4);
    QCOMPARE(t.Engine->Nodes(), std::int64_t{0});
    QCOMPARE(t.Control.CalcDepth.load(), 7);
    QCOMPARE(t.Engine->PV(0, 0), TEngineMove{});
}

// The user-interface thread raises the abort flag while the engine thread searches and reads the
// display meanwhile.
void TestEngineSearch::abortFromAnotherThread() {
    TEngineUnderTest t;
    std::atomic<bool> done{false};
    std::thread engineThread([&] {
        t.Engine->Think(PositionFromFen(KiwipeteFen), MaxSearchDepth);
        done = true;
    });
    bool linesWhole = true;
    while (t.Control.CalcNodes.load() < 20000) {
        linesWhole = linesWhole && t.Control.CalcBestLine().size() % 6 == 0; // "E2-E4 " per move
        std::this_thread::yield();
    }
    t.Engine->SetAbortFlag(true);
    engineThread.join();
    QVERIFY(done);
    QVERIFY(linesWhole);
    QCOMPARE(t.Control.CalcNodes.load(), t.Engine->Nodes());
    QVERIFY(t.Control.CalcDepth.load() < MaxSearchDepth);
}

// Only the few nodes the engine counts before it sees the flag may follow the request.
void TestEngineSearch::requestsEndTheQuiescenceSearch() {
    constexpr std::int64_t NodesAfterRequestAllowed = 1000;
    const std::optional<std::int64_t> afterAbort =
        NodesAfterRequestInQuiescence([](TEngineUnderTest& t) { t.Engine->SetAbortFlag(true); });
    QVERIFY2(afterAbort.has_value(), "the aborted search did not end");
    QVERIFY(*afterAbort <= NodesAfterRequestAllowed);
    const std::optional<std::int64_t> afterPlayNow =
        NodesAfterRequestInQuiescence([](TEngineUnderTest& t) { t.Control.PlayBestMoveNow = true; });
    QVERIFY2(afterPlayNow.has_value(), "the search asked to play now did not end");
    QVERIFY(*afterPlayNow <= NodesAfterRequestAllowed);
}

void TestEngineSearch::bestLineText() {
    TEngineUnderTest full;
    full.Engine->Think(PositionFromFen(StartFen), 3);
    QCOMPARE(full.Control.CalcBestLine(), std::string("D2-D4 D7-D5 B1-C3 "));
    TEngineUnderTest first;
    first.Control.ShowOnlyFirstMove = true;
    first.Engine->Think(PositionFromFen(StartFen), 3);
    QCOMPARE(first.Control.CalcBestLine(), std::string("D2-D4 "));
    first.Control.ClearCalc();
    QCOMPARE(first.Control.CalcBestLine(), std::string());
    QCOMPARE(first.Control.CalcDepth.load(), 0);
}

// The best-line table is kept from one search to the next, and its row 0 is shown up to its first
// empty entry, past the end of a shorter new line.
void TestEngineSearch::bestLineShowsStaleEntries() {
    TEngineUnderTest t;
    t.Engine->Think(PositionFromFen(StartFen), 3);
    t.Engine->Think(PositionFromFen(BackRankMateFen), 1);
    QCOMPARE(t.Engine->PVLength(0), 1);
    QCOMPARE(t.Control.CalcBestLine(), std::string("A1-A8 D7-D5 B1-C3 "));
}

// 62 plies deep a search of depth 3 would need rows 63 to 65: the nodes at ply 63 answer their
// evaluation instead, so the result is the best evaluation one move on.
void TestEngineSearch::lastPlyStandsPat() {
    TEngineUnderTest t;
    t.Engine->LoadPosition(PositionFromFen(StartFen));
    ShuffleKnights(t.Engine->Board(), EngineMaxPly - 2);
    const auto [expected, legalMoves] = BestStaticReply(*t.Engine);
    QCOMPARE(t.Engine->Search(-MateValue, MateValue, 3), expected);
    QCOMPARE(t.Engine->Nodes(), std::int64_t{1 + legalMoves}); // this node and one leaf per move
    QCOMPARE(t.Engine->PVLength(EngineMaxPly - 2), EngineMaxPly - 1);
    QVERIFY(t.Engine->Board().EngineMakeMove(MoveOf(Sq(F3), Sq(G1), 0)));
    QCOMPARE(t.Engine->Quiesce(-MateValue, MateValue), t.Engine->Eval().Evaluate(t.Engine->Board()));
}

// Twelve queens generate so many moves that a line of them fills the move stack: the node whose
// moves no longer fit answers its evaluation.
void TestEngineSearch::fullMoveStackStandsPat() {
    TEngineUnderTest t;
    t.Engine->LoadPosition(PositionFromFen("kp1q1q1q/pp1q1q1q/8/8/8/8/Q1Q1Q1PP/Q1Q1Q1PK w - - 0 1"));
    TEngineBoard& board = t.Engine->Board();
    const TEngineMove shuffle[] = {MoveOf(Sq(A1), Sq(B1), 0), MoveOf(Sq(H8), Sq(G8), 0),
                                   MoveOf(Sq(B1), Sq(A1), 0), MoveOf(Sq(G8), Sq(H8), 0)};
    for (int i = 0;; ++i) {
        QVERIFY(board.Ply() < EngineMaxPly - 2);
        board.Generate();
        if (board.MoveStackFull()) break;
        QVERIFY(board.EngineMakeMove(shuffle[i % 4]));
    }
    QCOMPARE(t.Engine->Search(-MateValue, MateValue, 2), t.Engine->Eval().Evaluate(board));
    QCOMPARE(t.Engine->Nodes(), std::int64_t{1});
}

QTEST_GUILESS_MAIN(TestEngineSearch)
#include "tst_engine_search.moc"
