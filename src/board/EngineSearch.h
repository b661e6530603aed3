#pragma once
// The engine's search: iterative deepening over a fixed-depth alpha-beta search with check
// extension, a quiescence search over captures, move ordering by capture value, the previous best
// line and history counters, and mate scores that prefer the shortest mate.

#include "EngineBoard.h"
#include "EngineEval.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

inline constexpr int MateValue = 10000;         // a mate at ply n scores n - MateValue for the mated side
inline constexpr int PrincipalBonus = 10000000; // lifts the previous best line's move above every capture
inline constexpr int FiftyMoveLimit = 100;      // half-moves without capture or pawn move that draw a line
inline constexpr int MaxSearchDepth = 8;        // the deepest level the program offers

// What the user-interface thread and the engine share while a search runs: the requests the user
// raises (the engine polls them) and the progress the engine publishes for the display timer.
// Every member may be read and written from either thread.
class TEngineControl {
public:
    TEngineControl();

    std::atomic<bool> PlayBestMoveNow{false};
    std::atomic<bool> EndCalculation{false};
    std::atomic<bool> ShowOnlyFirstMove{false};

    std::atomic<int> CalcDepth{0};
    std::atomic<std::int64_t> CalcNodes{0};
    std::atomic<int> CalcScore{0};
    // A copy of the best line as text ("E2-E4 E7-E5 ", each move followed by a blank).
    std::string CalcBestLine() const;
    void SetCalcBestLine(std::string_view text);
    // The main window clears the four display values after every move.
    void ClearCalc();

private:
    mutable std::mutex FBestLineLock;
    std::string FCalcBestLine;
};

// One engine: its board, evaluation tables and search tables. Think runs on the engine's thread;
// the abort flag and the shared control may be set from any other thread meanwhile.
class TEngine {
public:
    explicit TEngine(TEngineControl& control);
    TEngine(const TEngine&) = delete;
    TEngine& operator=(const TEngine&) = delete;

    // Searches `position` 1, 2, ... searchDepth plies deep and leaves the move to play in PV(0, 0).
    void Think(const TPositionSnapshot& position, int searchDepth);
    // The part of Think before the first iteration: board, node count, evaluation tables, history.
    void LoadPosition(const TPositionSnapshot& position);

    int Search(int alpha, int beta, int depth);
    int Quiesce(int alpha, int beta);
    void SortPrincipalVariation();

    void SetAbortFlag(bool value) { FAbort.store(value, std::memory_order_relaxed); }
    bool AbortFlag() const { return FAbort.load(std::memory_order_relaxed); }

    const TEngineMove& PV(int ply, int j) const { return FPV[ply][j]; }
    int PVLength(int ply) const { return FPVLength[ply]; }
    std::int64_t Nodes() const { return FNodes; }
    TEngineBoard& Board() { return FBoard; }
    const TEngineEval& Eval() const { return FEval; }

    // Called at every full-width node once its node count is published, and after every finished
    // iteration: the points at which a caller can watch the search or raise the flags at a chosen
    // node. Both may stay empty.
    std::function<void()> OnSearchNode;
    std::function<void(int depth)> OnIterationDone;

private:
    static constexpr int LastPly = EngineMaxPly - 1;

    void CountNode();
    void GenerateMoves(bool check, bool quiescence);
    int StandPat(int alpha, int beta) const;
    void UpdatePV(int ply, TEngineMove move);
    void PublishBestLine();
    bool StopRequested() const {
        return AbortFlag() || FControl.PlayBestMoveNow.load(std::memory_order_relaxed);
    }

    TEngineControl& FControl;
    std::atomic<bool> FAbort{false};
    TEngineBoard FBoard;
    TEngineEval FEval;
    TEngineMove FPV[EngineMaxPly][EngineMaxPly] = {};
    int FPVLength[EngineMaxPly] = {};
    bool FFollowPV = false;
    std::int64_t FNodes = 0;
    std::string FLineText; // the best line being written, before it is handed to the control
};
