#include "ChessThread.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {
std::mutex ResultHandOver;
}

TChessThread::TChessThread(QObject* context, TResultHandler onResult)
    : FContext(context), FOnResult(std::move(onResult)), FEngine(FControl), FWorker([this] { Run(); }) {}

TChessThread::~TChessThread() {
    {
        std::lock_guard lock(FLock);
        FTerminate = true;
        FPending.reset();
    }
    FEngine.SetAbortFlag(true);
    FWake.notify_all();
    FWorker.join();
}

void TChessThread::Search(const TPositionSnapshot& position, int depth, int generation, TThreadPriority priority) {
    {
        std::lock_guard lock(FLock);
        FPending = TRequest{position, depth, generation, priority};
        // The running search, if any, gives way to the new one.
        FEngine.SetAbortFlag(true);
    }
    FWake.notify_all();
}

void TChessThread::Abort() {
    std::lock_guard lock(FLock);
    FPending.reset();
    FEngine.SetAbortFlag(true);
}

std::optional<TChessThread::TRequest> TChessThread::WaitForRequest() {
    std::unique_lock lock(FLock);
    FWake.wait(lock, [this] { return FTerminate || FPending.has_value(); });
    if (FTerminate) return std::nullopt;
    std::optional<TRequest> request = std::move(FPending);
    FPending.reset();
    // Cleared under the lock, so an abort or a newer request after this point is never lost.
    FEngine.SetAbortFlag(false);
    return request;
}

void TChessThread::SetPriority(TThreadPriority priority) {
    if (const int id = FThreadId.load()) ApplyPriority(id, priority);
}

void TChessThread::Run() {
    FThreadId = static_cast<int>(syscall(SYS_gettid));
    while (std::optional<TRequest> request = WaitForRequest()) {
        ApplyPriority(FThreadId, request->Priority);
        FEngine.Think(request->Position, request->Depth);
        const TEngineMove move = FEngine.PV(0, 0);
        const bool aborted = FEngine.AbortFlag();
        const int generation = request->Generation;
        // Posted, not waited for: the board's thread may be tearing the board down right now, and a
        // thread that waited for it would never be joined.
        // The handler goes along as a copy: the board may destroy this thread while it handles the result.
        // Qt's queue orders the posting before the handling through futexes that ThreadSanitizer
        // cannot see; passing through this lock on both sides as well makes the order visible to it.
        const std::lock_guard posting(ResultHandOver);
        QMetaObject::invokeMethod(
            FContext,
            [onResult = FOnResult, generation, move, aborted] {
                { const std::lock_guard received(ResultHandOver); }
                onResult(generation, move, aborted);
            },
            Qt::QueuedConnection);
    }
}

// Thread priorities become nice values of this thread; raising them needs privileges the program
// normally lacks, in which case the thread simply keeps its priority.
void TChessThread::ApplyPriority(int threadId, TThreadPriority priority) {
    static constexpr int NiceOf[] = {19, 10, 5, 0, -5, -10, -15};
    setpriority(PRIO_PROCESS, static_cast<id_t>(threadId), NiceOf[static_cast<int>(priority)]);
}
