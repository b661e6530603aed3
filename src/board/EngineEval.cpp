#include "EngineEval.h"

#include <bit>

namespace {

using TSquareTable = std::array<int, EngineSquares>;
constexpr int BoardFiles = 8;

// Placement tables, written from White's side with a8 first; Black reads them at the mirrored square.
constexpr TSquareTable PawnTable = {
    0, 0,  0,  0,   0,   0,  0,  0, //
    5, 10, 15, 20,  20,  15, 10, 5, //
    4, 8,  12, 16,  16,  12, 8,  4, //
    3, 6,  9,  12,  12,  9,  6,  3, //
    2, 4,  6,  8,   8,   6,  4,  2, //
    1, 2,  3,  4,   4,   3,  2,  1, //
    0, 0,  0,  -20, -20, 0,  0,  0, //
    0, 0,  0,  0,   0,   0,  0,  0, //
};

constexpr TSquareTable KingsideShelter = {
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 5,  5,  5,  //
    0, 0, 0, 0, 0, 10, 10, 10, //
    0, 0, 0, 0, 0, 20, 20, 20, //
    0, 0, 0, 0, 0, 0,  0,  0,  //
};

constexpr TSquareTable QueensideShelter = {
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    5,  5,  5,  0, 0, 0, 0, 0, //
    10, 10, 10, 0, 0, 0, 0, 0, //
    20, 20, 20, 0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
};

// Knights and bishops alike.
constexpr TSquareTable MinorTable = {
    -10, -10, -10, -10, -10, -10, -10, -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -20, -20, -20, -20, -20, -20, -20, -20, //
};

constexpr TSquareTable KingMiddleGameTable = {
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -20, -20, -20, -20, -20, -20, -20, -20, //
    -10, 0,   10,  -20, 0,   -20, 10,  0,   //
};

constexpr TSquareTable KingEndGameTable = {
    -5, -5, -5, -5, -5, -5, -5, -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, -5, -5, -5, -5, -5, -5, -5, //
};

constexpr int LastRow = 7;
constexpr int Flip(int sq) { return (LastRow - sq / BoardFiles) * BoardFiles + sq % BoardFiles; }
constexpr int ViewedBy(int color, int sq) { return color == EngineWhite ? sq : Flip(sq); }

constexpr int LastQueensideFile = 2; // a, b, c
constexpr int FirstKingsideFile = 5; // f, g, h

constexpr int DoubledPawnPenalty = 5;
constexpr int IsolatedPawnPenalty = 20;
constexpr int IsolatedOnHalfOpenFilePenalty = 10;
constexpr int PassedPawnFactor = 2;
constexpr int RookWithoutOwnPawnBonus = 10;
constexpr int RookOnOpenFileBonus = 5;

using FileSet = unsigned; // bit f for file f (a = 0)
constexpr FileSet AllFiles = 0xFF;
constexpr std::uint64_t FileA = 0x0101010101010101ull;

// The files on which `squares` has at least one square.
constexpr FileSet FilesOf(std::uint64_t squares) {
    squares |= squares >> 32;
    squares |= squares >> 16;
    squares |= squares >> 8;
    return static_cast<FileSet>(squares) & AllFiles;
}
constexpr FileSet Neighbours(FileSet files) { return ((files << 1) | (files >> 1)) & AllFiles; }

// Every square of the given files.
constexpr std::uint64_t SquaresOfFiles(FileSet files) {
    return FileA * files;
}

// The squares of a set that holds only a few, as rooks are.
int Count(std::uint64_t squares) {
    int count = 0;
    for (; squares != 0; squares &= squares - 1)
        ++count;
    return count;
}

int Material(const TEngineBoard& board, int color) {
    int material = 0;
    for (int piece = EngineKnight; piece <= EngineQueen; ++piece)
        material += PieceValue[piece] * std::popcount(board.Pieces(color, piece));
    return material;
}

} // namespace

void TEngineEval::InitEvalTables(TEngineBoard& board) {
    FEvalTable = {};
    for (int color : {EngineWhite, EngineBlack}) {
        auto& table = FEvalTable[color];
        for (int sq = 0; sq < EngineSquares; ++sq) {
            const int viewed = ViewedBy(color, sq);
            table[EnginePawn][sq] = PawnTable[viewed] + PieceValue[EnginePawn];
            table[EngineKnight][sq] = MinorTable[viewed] + PieceValue[EngineKnight];
            table[EngineBishop][sq] = MinorTable[viewed] + PieceValue[EngineBishop];
            table[EngineRook][sq] = PieceValue[EngineRook];
            table[EngineQueen][sq] = PieceValue[EngineQueen];
        }
        FillKingAndShelter(board, color);
    }
    board.SetPieceSquareValues(FEvalTable);
    FPawnCache.fill(TPawnEntry{});
}

// While the opponent still has attacking material the king stays home behind its wing's pawns;
// otherwise it heads for the centre.
void TEngineEval::FillKingAndShelter(const TEngineBoard& board, int color) {
    auto& table = FEvalTable[color];
    if (Material(board, 1 - color) <= MiddleGameMaterial) {
        for (int sq = 0; sq < EngineSquares; ++sq)
            table[EngineKing][sq] = KingEndGameTable[ViewedBy(color, sq)];
        return;
    }
    const std::uint64_t kings = board.Pieces(color, EngineKing);
    const int kingFile = kings != 0 ? (63 - std::countl_zero(kings)) % BoardFiles : -1; // the last king
    const TSquareTable* shelter = nullptr;
    if (kingFile >= FirstKingsideFile) shelter = &KingsideShelter;
    if (kingFile >= 0 && kingFile <= LastQueensideFile) shelter = &QueensideShelter;
    for (int sq = 0; sq < EngineSquares; ++sq) {
        const int viewed = ViewedBy(color, sq);
        table[EngineKing][sq] = KingMiddleGameTable[viewed];
        if (shelter != nullptr) table[EnginePawn][sq] += (*shelter)[viewed];
    }
}

// Material and placement come from the board's running sums; the pawn terms depend on the pawns
// alone, and each pawn of a file pays or earns the same.
int TEngineEval::Evaluate(const TEngineBoard& board) const {
    const int side = board.Side();
    const int other = board.XSide();
    const TPawnEntry& pawns = PawnTerms(board);
    return board.PieceSquareSum(side) + pawns.Score[side] + RookTerms(board, side, pawns) -
           board.PieceSquareSum(other) - pawns.Score[other] - RookTerms(board, other, pawns);
}

const TEngineEval::TPawnEntry& TEngineEval::PawnTerms(const TEngineBoard& board) const {
    const std::uint64_t white = board.Pieces(EngineWhite, EnginePawn);
    const std::uint64_t black = board.Pieces(EngineBlack, EnginePawn);
    constexpr std::uint64_t WhiteMix = 0x9E3779B97F4A7C15ull;
    constexpr std::uint64_t BlackMix = 0xC2B2AE3D27D4EB4Full;
    TPawnEntry& entry = FPawnCache[((white * WhiteMix) ^ (black * BlackMix)) >> (64 - PawnCacheBits)];
    if (entry.Pawns[EngineWhite] == white && entry.Pawns[EngineBlack] == black) return entry;
    entry.Pawns[EngineWhite] = white;
    entry.Pawns[EngineBlack] = black;
    entry.WithoutOwnPawn[EngineWhite] = SquaresOfFiles(AllFiles & ~FilesOf(white));
    entry.WithoutOwnPawn[EngineBlack] = SquaresOfFiles(AllFiles & ~FilesOf(black));
    entry.WithoutPawn = entry.WithoutOwnPawn[EngineWhite] & entry.WithoutOwnPawn[EngineBlack];
    entry.Score[EngineWhite] = PawnScore(white, black, EngineWhite);
    entry.Score[EngineBlack] = PawnScore(black, white, EngineBlack);
    return entry;
}

int TEngineEval::PawnScore(std::uint64_t own, std::uint64_t enemy, int color) const {
    const FileSet ownFiles = FilesOf(own);
    const FileSet enemyFiles = FilesOf(enemy);
    const FileSet isolated = ownFiles & ~Neighbours(ownFiles);
    const FileSet passed = ownFiles & ~(enemyFiles | Neighbours(enemyFiles)); // no enemy pawn here or beside
    int score = 0;
    for (FileSet files = ownFiles; files != 0; files &= files - 1) {
        const int file = std::countr_zero(files);
        const FileSet bit = FileSet{1} << file;
        const std::uint64_t pawns = own & (FileA << file);
        const int count = Count(pawns);
        if (count > 1) score -= DoubledPawnPenalty * count;
        if (isolated & bit) {
            score -= IsolatedPawnPenalty * count;
            if (!(enemyFiles & bit)) score -= IsolatedOnHalfOpenFilePenalty * count;
        }
        if (passed & bit)
            for (std::uint64_t p = pawns; p != 0; p &= p - 1)
                score += PassedPawnFactor * FEvalTable[color][EnginePawn][std::countr_zero(p)];
    }
    return score;
}

int TEngineEval::RookTerms(const TEngineBoard& board, int color, const TPawnEntry& pawns) {
    const std::uint64_t rooks = board.Pieces(color, EngineRook);
    return RookWithoutOwnPawnBonus * Count(rooks & pawns.WithoutOwnPawn[color]) +
           RookOnOpenFileBonus * Count(rooks & pawns.WithoutPawn);
}
