#pragma once
// Replaying a recorded list of moves on the rules, as a loader of an older game file does: each
// move is played like a person's, a move the rules refuse is skipped and counted, and the replay
// stops once the history has no room for a further move. Plain C++, so it runs without a board
// on screen.

#include "ChessRules.h"

#include <vector>

// One recorded move by its squares; a square name that could not be read is None, which the rules
// refuse like any other impossible move.
struct TMoveSquares {
    Square From = None;
    Square To = None;

    bool operator==(const TMoveSquares&) const = default;
};

struct TReplayResult {
    int Played = 0;   // moves the rules accepted
    int Refused = 0;  // moves the rules refused (skipped)
    int Unplayed = 0; // moves left over because the history was full
};

// Plays `moves` in order with PlayMove on `rules`, from its current position.
TReplayResult ReplayMoves(TChessRules& rules, const std::vector<TMoveSquares>& moves);
