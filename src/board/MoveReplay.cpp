#include "MoveReplay.h"

TReplayResult ReplayMoves(TChessRules& rules, const std::vector<TMoveSquares>& moves) {
    TReplayResult result;
    const int count = static_cast<int>(moves.size());
    for (int i = 0; i < count; ++i) {
        if (rules.HistoryFull()) {
            result.Unplayed = count - i;
            break;
        }
        const TMoveSquares& move = moves[static_cast<size_t>(i)];
        if (rules.PlayMove(move.From, move.To))
            ++result.Played;
        else
            ++result.Refused;
    }
    return result;
}
