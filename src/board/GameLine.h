#pragma once
// The game line of the rules read as moves: each half-move with the position it was played from,
// for the move list in standard notation, for exporting a game and for the position as FEN.
// Plain C++ over the rules' history.

#include "ChessRules.h"
#include "Fen.h"
#include "San.h"

#include <string>
#include <vector>

// One half-move of the line: the position before it, the move and the move number it belongs to.
struct TLineMove {
    TPositionSnapshot Before;
    TChessMove Move;
    int MoveNumber = 1;
};

// Every half-move of the line from its first to its last position, wherever the board stands.
std::vector<TLineMove> LineMoves(const TChessRules& rules);

// The position the line starts from, with its move number.
TFenPosition LineStart(const TChessRules& rules);

// The position on the board with the half-moves since the last capture or pawn move of the line.
TFenPosition CurrentFenPosition(const TChessRules& rules);

// The line as FillMoveList lays it out (one line per half-move, black's indented, the same
// placeholder for a line that starts with black), the moves in standard notation: "1. e4",
// fourteen blanks and "e5".
void FillSanMoveList(const TChessRules& rules, TSanBoard& board, std::vector<std::string>& lines);

// The largest move number a set-up position keeps: beyond it too little of the history would be
// left to play in, and the line starts at move 1 instead.
inline constexpr int LargestKeptMoveNumber = TChessRules::LastHistoryMove / 2;

// The position becomes a new line of its own on the rules (see StartLine).
void SetUpLine(TChessRules& rules, const TFenPosition& position);
