#pragma once
// The engine's thread. It waits until the board hands it a position, searches it, and posts the
// move it found back to the board's thread; the board plays it there. The board may abort a search
// or ask for a new one at any time, and destroying the thread never waits for anything but the end
// of the search in progress, which the abort flag brings about within one node.

#include "ChessTypes.h"
#include "EngineSearch.h"

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

class TChessThread {
public:
    // Runs on the board's thread for every search that ends: the move found, and whether the search
    // was aborted (an aborted search's move must not be played).
    using TResultHandler = std::function<void(int generation, const TEngineMove& move, bool aborted)>;

    TChessThread(QObject* context, TResultHandler onResult);
    ~TChessThread();
    TChessThread(const TChessThread&) = delete;
    TChessThread& operator=(const TChessThread&) = delete;

    // Searches `position` to `depth` plies; a search still running is aborted first.
    void Search(const TPositionSnapshot& position, int depth, int generation, TThreadPriority priority);
    // Aborts the running search and forgets one not yet begun.
    void Abort();
    // Applies a priority to the thread at once (and again at the start of every search).
    void SetPriority(TThreadPriority priority);

    // The display values and the play-now / end-calculation requests of this engine.
    TEngineControl& Control() { return FControl; }

private:
    struct TRequest {
        TPositionSnapshot Position;
        int Depth = 1;
        int Generation = 0;
        TThreadPriority Priority;
    };

    void Run();
    std::optional<TRequest> WaitForRequest();
    static void ApplyPriority(int threadId, TThreadPriority priority);

    QObject* FContext; // the board; it outlives the thread, which it joins first
    TResultHandler FOnResult;
    TEngineControl FControl;
    TEngine FEngine;

    std::mutex FLock;
    std::condition_variable FWake;
    std::optional<TRequest> FPending; // guarded by FLock
    bool FTerminate = false;          // guarded by FLock
    std::atomic<int> FThreadId{0};
    std::thread FWorker;              // last: starts once everything above exists
};
