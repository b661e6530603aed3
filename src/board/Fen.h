#pragma once
// Reading a position from Forsyth-Edwards notation for the engine's command-line tool and tests:
// placement, side to move, castling rights and en-passant square. The half-move clock and the move
// number are ignored, since a search always starts its fifty-move count at zero.

#include "ChessTypes.h"

#include <string>
#include <string_view>

// Fills `position` and returns true, or leaves it alone, says what is wrong in `error` and returns false.
bool ParseFen(std::string_view fen, TPositionSnapshot& position, std::string& error);
