#pragma once
// Squares of the board and the arithmetic every piece of rule code shares.
// Squares are numbered 1..64 from a8 to h1 (rank 8 first, each rank from file a to h); 0 means
// "no square" and is also what SquareAt answers for a point off the board.

#include <string>
#include <string_view>

enum Square : int {
    None = 0,
    A8, B8, C8, D8, E8, F8, G8, H8,
    A7, B7, C7, D7, E7, F7, G7, H7,
    A6, B6, C6, D6, E6, F6, G6, H6,
    A5, B5, C5, D5, E5, F5, G5, H5,
    A4, B4, C4, D4, E4, F4, G4, H4,
    A3, B3, C3, D3, E3, F3, G3, H3,
    A2, B2, C2, D2, E2, F2, G2, H2,
    A1, B1, C1, D1, E1, F1, G1, H1,
};

inline constexpr int SquareCount = 64;

// Files a..h are 1..8, ranks 1..8.
constexpr int FileOf(int sq) { return ((sq - 1) % 8) + 1; }
constexpr int RankOf(int sq) { return 8 - ((sq - 1) / 8); }

constexpr bool IsOnBoard(int sq) { return sq >= 1 && sq <= SquareCount; }

// The square at (file, rank), or 0 when either lies outside 1..8.
constexpr Square SquareAt(int file, int rank) {
    if (file < 1 || file > 8 || rank < 1 || rank > 8) return None;
    return static_cast<Square>((8 - rank) * 8 + file);
}

// a8 and h1 are light, a1 and h8 dark.
constexpr bool IsLightSquare(int sq) {
    const int n = sq - 1;
    return (n % 2) == ((n / 8) % 2);
}

// "A8" .. "H1" for 1..64, "none" for anything else.
std::string SquareName(int sq);

// The square whose name is exactly `name` ("E2"; upper case only), or 0 when no name matches.
Square SquareIndex(std::string_view name);
