#include "EngineSearch.h"

#include <utility>

namespace {

constexpr auto Relaxed = std::memory_order_relaxed;

constexpr int MoveTextLength = 6; // "E2-E4 "
constexpr int MaxBestLineText = EngineMaxPly * MoveTextLength;

// A zero move (a8 to a8) marks the end of a line; no real move has From equal to To.
bool IsEmptyMove(const TEngineMove& move) { return move.From == move.To; }

// Appends "E2-E4 ". Square names are short enough to live inside their string, so nothing is allocated
// while `text` has room.
void AppendMoveText(std::string& text, const TEngineMove& move) {
    text += SquareName(move.From + 1);
    text += '-';
    text += SquareName(move.To + 1);
    text += ' ';
}

} // namespace

// --- Shared control ------------------------------------------------------------------------------------

// The text's room is taken up front so that publishing a line never allocates during a search.
TEngineControl::TEngineControl() { FCalcBestLine.reserve(MaxBestLineText); }

std::string TEngineControl::CalcBestLine() const {
    const std::lock_guard lock(FBestLineLock);
    return FCalcBestLine;
}

void TEngineControl::SetCalcBestLine(std::string_view text) {
    const std::lock_guard lock(FBestLineLock);
    FCalcBestLine.assign(text);
}

void TEngineControl::ClearCalc() {
    CalcDepth.store(0, Relaxed);
    CalcNodes.store(0, Relaxed);
    CalcScore.store(0, Relaxed);
    SetCalcBestLine({});
}

// --- Engine --------------------------------------------------------------------------------------------

TEngine::TEngine(TEngineControl& control) : FControl(control) { FLineText.reserve(MaxBestLineText); }

void TEngine::LoadPosition(const TPositionSnapshot& position) {
    FBoard.Load(position);
    FNodes = 0;
    FEval.InitEvalTables(FBoard);
    FBoard.ClearHistory();
}

void TEngine::Think(const TPositionSnapshot& position, int searchDepth) {
    // Steps 1 to 3: the position, the evaluation tables and fresh history counters.
    LoadPosition(position);
    // Step 4: start on the previous best line; requests from an earlier move are forgotten.
    FFollowPV = true;
    FControl.PlayBestMoveNow.store(false, Relaxed);
    FControl.EndCalculation.store(false, Relaxed);
    // Step 5: deepen one ply at a time until the depth, an abort or a user request ends it.
    for (int depth = 1; depth <= searchDepth && !AbortFlag(); ++depth) {
        FFollowPV = true;
        FControl.CalcDepth.store(depth, Relaxed);
        FControl.CalcScore.store(Search(-MateValue, MateValue, depth), Relaxed);
        FControl.CalcNodes.store(FNodes, Relaxed);
        if (OnIterationDone) OnIterationDone(depth);
        if (FControl.PlayBestMoveNow.load(Relaxed) || FControl.EndCalculation.load(Relaxed)) break;
    }
}

void TEngine::CountNode() {
    ++FNodes;
    FControl.CalcNodes.store(FNodes, Relaxed);
    FPVLength[FBoard.Ply()] = FBoard.Ply();
}

// A node that the per-ply tables or the move stack cannot hold is not expanded: it answers its
// static evaluation, kept within alpha..beta like every other node's result. Long check sequences
// in the quiescence search are what reach it.
int TEngine::StandPat(int alpha, int beta) const {
    const int x = FEval.Evaluate(FBoard);
    if (x >= beta) return beta;
    return x > alpha ? x : alpha;
}

int TEngine::Search(int alpha, int beta, int depth) {
    // Step 1: after an abort or "play the best move now" every node answers 0 at once.
    if (StopRequested()) return 0;
    // Step 2: at the horizon only captures are followed.
    if (depth == 0) return Quiesce(alpha, beta);
    // Step 3: count the node and publish the count.
    CountNode();
    if (OnSearchNode) OnSearchNode();
    const int ply = FBoard.Ply();
    if (ply >= LastPly) return StandPat(alpha, beta);
    // Step 4: a check is answered one ply deeper.
    const bool check = FBoard.SideToMoveInCheck();
    if (check) ++depth;
    // Step 5: generate, and put the previous best line's move first while still on that line.
    GenerateMoves(check, false);
    if (FBoard.MoveStackFull()) return StandPat(alpha, beta);
    if (FFollowPV) SortPrincipalVariation();
    // Step 6: try the moves best first.
    bool anyLegal = false;
    for (int i = FBoard.FirstMove(ply), end = FBoard.LastMove(ply); i < end; ++i) {
        if (AbortFlag() || (end = FBoard.PickMove(i)) == i) break;
        const TEngineMove move = FBoard.Entry(i).Move;
        if (!FBoard.EngineMakeMove(move)) continue;
        anyLegal = true;
        const int x = -Search(-beta, -alpha, depth - 1);
        FBoard.EngineTakeBack();
        if (x <= alpha) continue;
        FBoard.AddHistory(move.From, move.To, depth);
        if (x >= beta) return beta;
        alpha = x;
        FControl.CalcScore.store(x, Relaxed);
        UpdatePV(ply, move);
        PublishBestLine();
    }
    // Step 7: no legal move is mate or stalemate.
    if (!anyLegal) return check ? ply - MateValue : 0;
    // Step 8: a line past the fifty-move limit is drawn.
    if (FBoard.Fifty() > FiftyMoveLimit) return 0;
    return alpha;
}

int TEngine::Quiesce(int alpha, int beta) {
    // Capture chains after many promotions run for minutes, so an abort or "play the best move now"
    // must end them too; without either request every node is searched as before.
    if (StopRequested()) return 0;
    // Step 1: count the node.
    CountNode();
    const int ply = FBoard.Ply();
    if (ply >= LastPly) return StandPat(alpha, beta);
    // Step 2: in check every move is tried; otherwise the side to move may stand on its evaluation.
    const bool check = FBoard.SideToMoveInCheck();
    if (check) {
        GenerateMoves(check, true);
    } else {
        const int x = FEval.Evaluate(FBoard);
        if (x >= beta) return beta;
        if (x > alpha) alpha = x;
        FBoard.GenerateCaptures();
    }
    if (FBoard.MoveStackFull()) return StandPat(alpha, beta);
    // Step 3
    if (FFollowPV) SortPrincipalVariation();
    // Step 4
    bool anyLegal = false;
    for (int i = FBoard.FirstMove(ply), end = FBoard.LastMove(ply); i < end; ++i) {
        if ((end = FBoard.PickMove(i)) == i) break;
        const TEngineMove move = FBoard.Entry(i).Move;
        if (!FBoard.EngineMakeMove(move)) continue;
        anyLegal = true;
        const int x = -Quiesce(-beta, -alpha);
        FBoard.EngineTakeBack();
        if (x <= alpha) continue;
        if (x >= beta) return beta;
        alpha = x;
        UpdatePV(ply, move);
    }
    // Step 5: mate is recognised here, stalemate is not.
    if (check && !anyLegal) return ply - MateValue;
    return alpha;
}

// In check only the answers are tried, but while the previous best line is followed its move is
// looked for in the full list. Below a quiescence node no history count changes.
void TEngine::GenerateMoves(bool check, bool quiescence) {
    if (check && !FFollowPV)
        FBoard.GenerateCheckAnswers(quiescence);
    else
        FBoard.Generate();
}

void TEngine::SortPrincipalVariation() {
    FFollowPV = false;
    const int ply = FBoard.Ply();
    const TEngineMove& principal = FPV[0][ply];
    for (int i = FBoard.FirstMove(ply); i < FBoard.LastMove(ply); ++i) {
        TGenEntry& entry = FBoard.Entry(i);
        if (entry.Move.From == principal.From && entry.Move.To == principal.To) {
            entry.Score += PrincipalBonus;
            FFollowPV = true;
            return;
        }
    }
}

// The move heads this ply's line, followed by the line found below it.
void TEngine::UpdatePV(int ply, TEngineMove move) {
    FPV[ply][ply] = move;
    const int length = FPVLength[ply + 1];
    for (int j = ply + 1; j < length; ++j) FPV[ply][j] = FPV[ply + 1][j];
    FPVLength[ply] = length;
}

// Row 0 as text up to its first empty entry: entries past the current line's length may still hold
// an earlier, longer line and are shown too.
void TEngine::PublishBestLine() {
    FLineText.clear();
    if (FControl.ShowOnlyFirstMove.load(Relaxed)) {
        AppendMoveText(FLineText, FPV[0][0]);
    } else {
        for (int j = 0; j < EngineMaxPly && !IsEmptyMove(FPV[0][j]); ++j)
            AppendMoveText(FLineText, FPV[0][j]);
    }
    FControl.SetCalcBestLine(FLineText);
}
