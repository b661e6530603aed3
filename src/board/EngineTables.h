#pragma once
// The constant tables of the engine board: the 10 x 12 mailbox with the pieces' steps, the squares
// each piece attacks from every square, and the castling moves. Only the board's own sources use
// them; the search sees the board alone.

#include "EngineBoard.h"

#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>

namespace EngineTables {

using Bitboard = std::uint64_t;
inline constexpr Bitboard Bit(int sq) { return Bitboard{1} << sq; }

inline constexpr int BoardFiles = 8;
inline constexpr int LastFile = BoardFiles - 1;
inline constexpr int PawnStep = 8; // one rank; towards rank 8 for White
inline constexpr Bitboard FileA = 0x0101010101010101ull;
inline constexpr Bitboard FileH = FileA << LastFile;
inline constexpr int MailboxCells = 120;
inline constexpr int MailboxWidth = 10;
inline constexpr int OffBoard = -1;

// The 10 x 12 board: two border rows above and below, one border column each side, so that every
// step of a knight or a slider off the edge lands on a border cell.
constexpr int MailboxCell(int sq) { return (sq / BoardFiles + 2) * MailboxWidth + sq % BoardFiles + 1; }
constexpr std::array<int, MailboxCells> MakeMailbox() {
    std::array<int, MailboxCells> cells{};
    cells.fill(OffBoard);
    for (int sq = 0; sq < EngineSquares; ++sq) cells[MailboxCell(sq)] = sq;
    return cells;
}
constexpr std::array<int, EngineSquares> MakeMailbox64() {
    std::array<int, EngineSquares> cells{};
    for (int sq = 0; sq < EngineSquares; ++sq) cells[sq] = MailboxCell(sq);
    return cells;
}
inline constexpr std::array<int, MailboxCells> Mailbox = MakeMailbox();
inline constexpr std::array<int, EngineSquares> Mailbox64 = MakeMailbox64();

inline constexpr bool Slides[EnginePieceKinds] = {false, false, true, true, true, false};
inline constexpr int DirectionCount[EnginePieceKinds] = {0, 8, 4, 4, 8, 8};
inline constexpr int Directions[EnginePieceKinds][8] = {
    {},
    {-21, -19, -12, -8, 8, 12, 19, 21},
    {-11, -9, 9, 11},
    {-10, -1, 1, 10},
    {-11, -10, -9, -1, 1, 9, 10, 11},
    {-11, -10, -9, -1, 1, 9, 10, 11},
};

// Rights that survive a move touching each square: moving from or onto a king's or rook's home
// square gives up the rights that depend on it.
inline constexpr int CastleMask[EngineSquares] = {
    7,  15, 15, 15, 3,  15, 15, 11, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    13, 15, 15, 15, 12, 15, 15, 14, //
};

// The queen's directions index the rays.
inline constexpr int QueenDirections = 8;
constexpr bool IsDiagonal(int direction) {
    const int step = Directions[EngineQueen][direction];
    return step == -11 || step == -9 || step == 9 || step == 11;
}

// Square sets derived from the mailbox steps, so that an attack test can ask "is there an attacker
// of this kind where one could stand" instead of walking every piece of the attacking side.
struct TAttackTables {
    Bitboard Knight[EngineSquares] = {};
    Bitboard King[EngineSquares] = {};
    Bitboard PawnAttackers[2][EngineSquares] = {}; // squares from which a pawn of the colour hits sq
    Bitboard Rays[EngineSquares][QueenDirections] = {};
    Bitboard DiagonalLines[EngineSquares] = {}; // every square a bishop on sq could reach on an empty board
    Bitboard StraightLines[EngineSquares] = {};
    Bitboard Between[EngineSquares][EngineSquares] = {}; // squares strictly between two squares of a line
};

constexpr TAttackTables MakeAttackTables() {
    TAttackTables t;
    for (int sq = 0; sq < EngineSquares; ++sq) {
        for (int d = 0; d < DirectionCount[EngineKnight]; ++d) {
            const int to = Mailbox[Mailbox64[sq] + Directions[EngineKnight][d]];
            if (to != OffBoard) t.Knight[sq] |= Bit(to);
        }
        for (int d = 0; d < QueenDirections; ++d) {
            const int step = Directions[EngineQueen][d];
            Bitboard passed = 0;
            for (int cell = Mailbox64[sq] + step; Mailbox[cell] != OffBoard; cell += step) {
                const int to = Mailbox[cell];
                t.Rays[sq][d] |= Bit(to);
                t.Between[sq][to] = passed;
                passed |= Bit(to);
            }
            const int next = Mailbox[Mailbox64[sq] + step];
            if (next != OffBoard) t.King[sq] |= Bit(next);
            if (IsDiagonal(d))
                t.DiagonalLines[sq] |= t.Rays[sq][d];
            else
                t.StraightLines[sq] |= t.Rays[sq][d];
        }
        // A pawn hits the two squares diagonally ahead of it: White's towards rank 8, Black's towards 1.
        const int file = sq % BoardFiles;
        for (int color : {EngineWhite, EngineBlack}) {
            const int ahead = color == EngineWhite ? sq - PawnStep : sq + PawnStep;
            if (ahead < 0 || ahead >= EngineSquares) continue;
            if (file != 0) t.PawnAttackers[color][ahead - 1] |= Bit(sq);
            if (file != LastFile) t.PawnAttackers[color][ahead + 1] |= Bit(sq);
        }
    }
    return t;
}
inline constexpr TAttackTables Attacks = MakeAttackTables();

// Every square a slider on sq could reach on an empty board.
inline Bitboard SliderLines(int sq, int piece) {
    return (piece != EngineRook ? Attacks.DiagonalLines[sq] : 0) |
           (piece != EngineBishop ? Attacks.StraightLines[sq] : 0);
}

// Which of the queen's rays leads from one square to another, or -1 off every line.
struct TLineDirections {
    std::int8_t Of[EngineSquares][EngineSquares] = {};
};
constexpr TLineDirections MakeLineDirections() {
    TLineDirections lines;
    for (int from = 0; from < EngineSquares; ++from)
        for (int to = 0; to < EngineSquares; ++to) {
            lines.Of[from][to] = -1;
            for (int d = 0; d < QueenDirections; ++d)
                if (Attacks.Rays[from][d] & Bit(to)) lines.Of[from][to] = static_cast<std::int8_t>(d);
        }
    return lines;
}
inline constexpr TLineDirections LineDirections = MakeLineDirections();

// Everything about one castling move: the right it needs, the king's and rook's squares, the
// squares that must be empty and those the enemy must not attack.
struct TCastlingPath {
    int Right;
    int Color;
    int KingFrom;
    int KingTo;
    int RookFrom;
    int RookTo;
    Bitboard MustBeEmpty;
    int Safe[2];
};

// The king passes `safe` (its landing square among them); the squares between king and rook are
// `crossed` and must be empty.
constexpr TCastlingPath MakeCastlingPath(int right, int color, Square kingFrom, Square kingTo,
                                         Square rookFrom, Square rookTo,
                                         std::initializer_list<Square> crossed, std::array<Square, 2> safe) {
    Bitboard mustBeEmpty = 0;
    for (Square sq : crossed) mustBeEmpty |= Bit(EngineSquare(sq));
    return {right,
            color,
            EngineSquare(kingFrom),
            EngineSquare(kingTo),
            EngineSquare(rookFrom),
            EngineSquare(rookTo),
            mustBeEmpty,
            {EngineSquare(safe[0]), EngineSquare(safe[1])}};
}

// In the order Generate pushes them for each side.
inline constexpr TCastlingPath CastlingPaths[] = {
    MakeCastlingPath(WhiteKingSide, EngineWhite, E1, G1, H1, F1, {F1, G1}, {F1, G1}),
    MakeCastlingPath(WhiteQueenSide, EngineWhite, E1, C1, A1, D1, {B1, C1, D1}, {C1, D1}),
    MakeCastlingPath(BlackKingSide, EngineBlack, E8, G8, H8, F8, {F8, G8}, {F8, G8}),
    MakeCastlingPath(BlackQueenSide, EngineBlack, E8, C8, A8, D8, {B8, C8, D8}, {C8, D8}),
};

inline const TCastlingPath* CastlingPathTo(int kingTo) {
    for (const TCastlingPath& path : CastlingPaths)
        if (path.KingTo == kingTo) return &path;
    return nullptr;
}

inline constexpr int WhiteDoubleStepFrom = 48;
inline constexpr int BlackDoubleStepUpTo = 15;

} // namespace EngineTables
