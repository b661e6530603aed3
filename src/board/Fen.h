#pragma once
// Positions in Forsyth-Edwards notation. The engine's command-line tool reads placement, side to
// move, castling rights and en-passant square only, since a search always starts its fifty-move
// count at zero; positions exchanged with people and other programs carry both clocks as well.

#include "ChessTypes.h"

#include <string>
#include <string_view>

// Fills `position` and returns true, or leaves it alone, says what is wrong in `error` and returns false.
bool ParseFen(std::string_view fen, TPositionSnapshot& position, std::string& error);

// A position as exchanged with other programs: the snapshot with its half-move clock and move number.
struct TFenPosition {
    TPositionSnapshot Snapshot;
    int HalfMoveClock = 0;
    int MoveNumber = 1;

    bool operator==(const TFenPosition&) const = default;
};

// The whole FEN: as ParseFen, and the two clocks when they are given (both default when missing).
// A clock that is not a number, or a seventh field, is refused.
bool ReadFen(std::string_view fen, TFenPosition& position, std::string& error);

// The position as FEN text; a castling right is written only when its king and rook stand at home,
// and the en-passant square only when a pawn could take there, as other programs expect.
std::string WriteFen(const TFenPosition& position);
// The same with every castling right the position holds, its king and rook at home or not: a position
// still being set up shows the rights as chosen, and reading the text back gives them all again.
std::string WriteFenAsTicked(const TFenPosition& position);

// What keeps a well-formed position from being played: each side needs exactly one king, no pawn may
// stand on the first or last rank, and the side not to move may not be in check. Empty when playable.
std::string SetUpProblem(const TPositionSnapshot& position);
