#pragma once
// The engine's static evaluation: material plus placement, read from one table per colour, piece and
// square that is built once per search, plus pawn-structure and rook-file terms computed per call.
// Scores are centipawns from the point of view of the side to move.

#include "EngineBoard.h"

#include <array>
#include <cstdint>

inline constexpr std::array<int, EnginePieceKinds> PieceValue = {100, 300, 300, 500, 900, 10000};

// Above this much of the opponent's piece material (pawns and king not counted) a king still has to
// hide: it uses the middle-game table and its own pawns are paid for sheltering it.
inline constexpr int MiddleGameMaterial = 1400;

// The evaluation tables of one search and the evaluation that reads them.
class TEngineEval {
public:
    // Fills EvalTable for the position now on the board and hands it to the board, which keeps the
    // sum of its pieces' entries from then on; called once per search.
    void InitEvalTables(TEngineBoard& board);
    int Evaluate(const TEngineBoard& board) const;

    int EvalTable(int color, int piece, int sq) const { return FEvalTable[color][piece][sq]; }

private:
    // The pawn-structure terms of one pawn placement, and the squares on which a rook earns its file
    // bonuses: files without a pawn of its own colour, and files without any pawn.
    struct TPawnEntry {
        std::uint64_t Pawns[2] = {~std::uint64_t{0}, ~std::uint64_t{0}}; // matches no real placement
        int Score[2] = {};
        std::uint64_t WithoutOwnPawn[2] = {};
        std::uint64_t WithoutPawn = 0;
    };
    // Small enough to stay in the processor's second-level cache: a look that misses it costs more
    // than working out the terms of a placement again.
    static constexpr int PawnCacheBits = 12;

    TEngineBoard::TPieceSquareValues FEvalTable{};
    // Pawns move seldom, so most evaluations find their placement's terms here. The passed-pawn bonus
    // reads EvalTable, so the cache is emptied whenever the tables are built.
    mutable std::array<TPawnEntry, 1 << PawnCacheBits> FPawnCache{};

    void FillKingAndShelter(const TEngineBoard& board, int color);
    const TPawnEntry& PawnTerms(const TEngineBoard& board) const;
    int PawnScore(std::uint64_t own, std::uint64_t enemy, int color) const;
    static int RookTerms(const TEngineBoard& board, int color, const TPawnEntry& pawns);
};
