#pragma once
// What a placement of pieces holds, judged without playing it: how many of a piece stand on it,
// whether a text is a placement at all, and whether the set-position editor may hand it to a game.

#include <string_view>

// How many squares of the 64-character placement hold exactly `letter`.
int CountPiece(std::string_view position, char letter);

// 64 characters, each a blank or a piece letter.
bool IsPositionString(std::string_view text);

// The editor's test: each side has exactly one king and at most 8 queens, 2 rooks, 2 bishops,
// 2 knights and 8 pawns, and something besides the two kings stands on the board. Pawns on the last
// rank, a side not to move in check and castling rights are not judged: the rules and the engine
// cope with such positions.
bool IsValidSetUpPosition(std::string_view position);
