// The engine's thread on the position whose search hides in the quiescence search (six pawns each
// side about to promote): stopping it, asking it to play now and destroying it all take effect at
// once, not when the capture chains have been searched out.

#include "ChessThread.h"
#include "EngineTestSupport.h"

#include <QElapsedTimer>
#include <QTest>

#include <optional>

namespace {

constexpr const char* PromotionRaceFen = "7k/PPPPPP2/8/8/8/8/2pppppp/K7 w - - 0 1";
constexpr int DeepestSearch = 8;
constexpr int SearchUnderWayMs = 100;
// Far more than a search that heeds a request needs, far less than the minutes this one takes.
constexpr int GenerousWaitMs = 20000;
// Only the few nodes counted before the engine sees a request may follow it; finishing the capture
// chain in progress would take hundreds of thousands.
constexpr std::int64_t NodesAfterRequestAllowed = 1000;

struct TResult {
    TEngineMove Move;
    bool Aborted = false;
};

// A thread searching the promotion race deep, with the result it reports.
struct TSearchingThread {
    QObject Context;
    std::optional<TResult> Result;
    std::unique_ptr<TChessThread> Thread =
        std::make_unique<TChessThread>(&Context, [this](int, const TEngineMove& move, bool aborted) {
            Result = TResult{move, aborted};
        });

    TSearchingThread() {
        Thread->Search(PositionFromFen(PromotionRaceFen), DeepestSearch, 1, TThreadPriority::tpNormal);
        QTest::qWait(SearchUnderWayMs);
    }
    std::int64_t Nodes() { return Thread->Control().CalcNodes.load(); }
};

} // namespace

class TestEngineThread : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stopEndsTheSearch();
    void playNowPlaysAMove();
    void destroyingDoesNotWaitForTheSearch();
};

void TestEngineThread::stopEndsTheSearch() {
    TSearchingThread t;
    QVERIFY(!t.Result);
    t.Thread->Abort();
    const std::int64_t nodesAtRequest = t.Nodes();
    QTRY_VERIFY_WITH_TIMEOUT(t.Result.has_value(), GenerousWaitMs);
    QVERIFY(t.Result->Aborted);
    QVERIFY(t.Nodes() - nodesAtRequest <= NodesAfterRequestAllowed);
}

void TestEngineThread::playNowPlaysAMove() {
    TSearchingThread t;
    t.Thread->Control().PlayBestMoveNow = true;
    const std::int64_t nodesAtRequest = t.Nodes();
    QTRY_VERIFY_WITH_TIMEOUT(t.Result.has_value(), GenerousWaitMs);
    QVERIFY(!t.Result->Aborted);
    QVERIFY(t.Nodes() - nodesAtRequest <= NodesAfterRequestAllowed);
    QCOMPARE(t.Thread->Control().CalcDepth.load(), 1);
    QVERIFY(t.Result->Move != TEngineMove{});
}

void TestEngineThread::destroyingDoesNotWaitForTheSearch() {
    TSearchingThread t;
    QElapsedTimer clock;
    clock.start();
    t.Thread.reset();
    QVERIFY(clock.elapsed() < GenerousWaitMs);
    QVERIFY(!t.Result);
}

QTEST_GUILESS_MAIN(TestEngineThread)
#include "tst_engine_thread.moc"
