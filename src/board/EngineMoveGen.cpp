#include "EngineBoard.h"

#include "EngineTables.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <utility>

using namespace EngineTables;

namespace {

// Knight and king steps in table order reach ever higher squares, so visiting their targets in square
// order keeps the table's order.
constexpr bool StepsAscend(int piece) {
    for (int d = 1; d < DirectionCount[piece]; ++d)
        if (Directions[piece][d] <= Directions[piece][d - 1]) return false;
    return true;
}
static_assert(StepsAscend(EngineKnight) && StepsAscend(EngineKing));
// The sliders' directions ascend too, as the queen's rays do, so a slider's captures written in the
// order of the rays they lie on come in the order of its directions.
static_assert(StepsAscend(EngineBishop) && StepsAscend(EngineRook) && StepsAscend(EngineQueen));

bool IsLastRankFor(int side, int sq) {
    return side == EngineWhite ? sq < BoardFiles : sq >= EngineSquares - BoardFiles;
}

// Four scores side by side: the highest score of a list is found four entries at a time, since a
// full list is scanned again for nearly every move the search tries from it.
using ScoreLanes = std::int32_t __attribute__((vector_size(4 * sizeof(std::int32_t))));
constexpr int LaneCount = 4;
static_assert(sizeof(TGenEntry) == 2 * sizeof(std::int32_t));
static_assert(offsetof(TGenEntry, Score) == sizeof(TEngineMove));

ScoreLanes ScoresOf(const TGenEntry* four) {
    ScoreLanes firstTwo, lastTwo; // move and score interleaved
    std::memcpy(&firstTwo, four, sizeof firstTwo);
    std::memcpy(&lastTwo, four + 2, sizeof lastTwo);
    return __builtin_shufflevector(firstTwo, lastTwo, 1, 3, 5, 7);
}

ScoreLanes Higher(ScoreLanes a, ScoreLanes b) {
    const ScoreLanes aWins = a > b;
    return (a & aWins) | (b & ~aWins);
}

int HighestScore(const TGenEntry* entries, int count) {
    int best = entries[0].Score;
    int j = 0;
    if (count >= LaneCount) {
        ScoreLanes highest = ScoresOf(entries);
        for (j = LaneCount; j + LaneCount <= count; j += LaneCount)
            highest = Higher(highest, ScoresOf(entries + j));
        highest = Higher(highest, __builtin_shufflevector(highest, highest, 2, 3, 0, 1));
        best = std::max(highest[0], highest[1]);
    }
    for (; j < count; ++j) best = std::max(best, entries[j].Score);
    return best;
}

} // namespace

// --- Generation ----------------------------------------------------------------------------------------

void TEngineBoard::Generate() { GenerateMoves<false>(); }
TGenEntry* TEngineBoard::WriteFullList(TGenEntry* out) { return WriteMoves<false>(out); }
void TEngineBoard::GenerateCaptures() { GenerateMoves<true>(); }

// The moves are written one after the other from the ply's first entry on; the stack has room
// beyond its end for the most moves one position can have, so that a single check at the end finds
// out whether they fit.
template <bool CapturesOnly> void TEngineBoard::GenerateMoves() {
    assert(FPly < EngineMaxPly - 1);
    FTied[FPly] = {};
    const TGenEntry* const end = WriteMoves<CapturesOnly>(&FStack[FFirstMove[FPly]]);
    FUnwritten[FPly] = {};
    EndList(static_cast<int>(end - FStack.data()));
}

template <bool CapturesOnly> TGenEntry* TEngineBoard::WriteMoves(TGenEntry* out) {
    Bitboard movers = FState.Occupied[FSide];
    if constexpr (CapturesOnly) movers = (movers & ~FState.Pieces[FSide][EnginePawn]) | PawnsWithCaptures();
    for (Bitboard own = movers; own != 0; own &= own - 1) {
        const int sq = std::countr_zero(own);
        if (FPiece[sq] == EnginePawn)
            out = GeneratePawnMoves<CapturesOnly>(sq, out);
        else
            GeneratePieceMoves<CapturesOnly>(sq, FPiece[sq], out);
    }
    if constexpr (!CapturesOnly) GenerateCastling(out);
    GenerateEnPassant(out);
    return out;
}

// The list of the ply ends at `end`, and the next ply starts there. The stack has run out when the
// full lists would not fit: mostly the bounds on the entries left unwritten show that they do. Lists
// written past the end never fit, so no generation can start beyond it.
void TEngineBoard::EndList(int end) {
    FLastMove[FPly] = FFirstMove[FPly + 1] = end;
    FUnwrittenBoundBelow[FPly + 1] = FUnwrittenBoundBelow[FPly] + FUnwritten[FPly].Bound;
    FStackFull = end > MoveStackSize || (end + FUnwrittenBoundBelow[FPly + 1] > MoveStackSize &&
                                         ExactFirstMove(FPly + 1) > MoveStackSize);
    if (FStackFull) FLastMove[FPly] = FFirstMove[FPly + 1] = FFirstMove[FPly];
}

int TEngineBoard::ExactFirstMove(int ply) {
    assert(ply <= FPly + 1);
    int first = FFirstMove[ply];
    for (int before = 0; before < ply; ++before) first += UnwrittenAt(before);
    return first;
}

template <bool CapturesOnly> TGenEntry* TEngineBoard::GeneratePawnMoves(int sq, TGenEntry* out) {
    const int ahead = FSide == EngineWhite ? sq - PawnStep : sq + PawnStep;
    if (ahead < 0 || ahead >= EngineSquares) return out; // a pawn on its own last rank has nowhere to go
    const int file = sq % BoardFiles;
    if (file != 0 && FColor[ahead - 1] == FXSide) PushMove(sq, ahead - 1, MovePawn | MoveCapture, out);
    if (file != LastFile && FColor[ahead + 1] == FXSide) PushMove(sq, ahead + 1, MovePawn | MoveCapture, out);
    if (FColor[ahead] != EngineEmpty) return out;
    if constexpr (CapturesOnly) {
        if (IsLastRankFor(FSide, ahead)) PushPromotions(sq, ahead, MovePawn, out);
    } else {
        PushMove(sq, ahead, MovePawn, out);
        const bool onStartRank = FSide == EngineWhite ? sq >= WhiteDoubleStepFrom : sq <= BlackDoubleStepUpTo;
        const int twoAhead = 2 * ahead - sq;
        if (onStartRank && FColor[twoAhead] == EngineEmpty)
            PushMove(sq, twoAhead, MovePawn | MoveDoubleStep, out);
    }
    return out;
}

// Each kind of mover has its own function, so that each saves only the registers its own walk needs.
template <bool CapturesOnly> void TEngineBoard::GeneratePieceMoves(int sq, int piece, TGenEntry*& out) {
    if (!Slides[piece])
        out = GenerateStepperMoves<CapturesOnly>(sq, piece, out);
    else if constexpr (CapturesOnly)
        out = GenerateSliderCaptures(sq, piece, out);
    else
        out = GenerateSliderMoves(sq, piece, out);
}

template <bool CapturesOnly>
TGenEntry* TEngineBoard::GenerateStepperMoves(int sq, int piece, TGenEntry* out) {
    const Bitboard steps = piece == EngineKnight ? Attacks.Knight[sq] : Attacks.King[sq];
    const Bitboard targets = steps & (CapturesOnly ? FState.Occupied[FXSide] : ~FState.Occupied[FSide]);
    for (Bitboard bits = targets; bits != 0; bits &= bits - 1) {
        const int to = std::countr_zero(bits);
        if (FColor[to] == FXSide)
            Append(sq, to, 0, MoveCapture, CaptureOrder(sq, to), out);
        else
            Append(sq, to, 0, 0, FHistory[sq][to], out);
    }
    return out;
}

// Only the first piece on each ray can be taken: an enemy piece on one of the slider's lines with
// nothing between. The captures are written in the order of the slider's directions, which follow
// the queen's rays; there is at most one per ray.
TGenEntry* TEngineBoard::GenerateSliderCaptures(int sq, int piece, TGenEntry* out) {
    Bitboard victims = SliderLines(sq, piece) & FState.Occupied[FXSide];
    if (victims == 0) return out;
    const Bitboard occupied = FState.Occupied[EngineWhite] | FState.Occupied[EngineBlack];
    unsigned rays = 0;
    int victimOn[QueenDirections];
    for (; victims != 0; victims &= victims - 1) {
        const int to = std::countr_zero(victims);
        if (Attacks.Between[sq][to] & occupied) continue;
        const int ray = LineDirections.Of[sq][to];
        rays |= 1u << ray;
        victimOn[ray] = to;
    }
    for (; rays != 0; rays &= rays - 1) {
        const int to = victimOn[std::countr_zero(rays)];
        Append(sq, to, 0, MoveCapture, CaptureOrder(sq, to), out);
    }
    return out;
}

TGenEntry* TEngineBoard::GenerateSliderMoves(int sq, int piece, TGenEntry* out) {
    const int origin = Mailbox64[sq];
    for (int d = 0; d < DirectionCount[piece]; ++d) {
        const int step = Directions[piece][d];
        for (int cell = origin + step;; cell += step) {
            const int to = Mailbox[cell];
            if (to == OffBoard) break;
            if (FColor[to] != EngineEmpty) {
                if (FColor[to] == FXSide) Append(sq, to, 0, MoveCapture, CaptureOrder(sq, to), out);
                break;
            }
            Append(sq, to, 0, 0, FHistory[sq][to], out);
        }
    }
    return out;
}

// The pawns of the side to move that can take something or step onto the last rank; the others have
// nothing to add to a list of captures.
Bitboard TEngineBoard::PawnsWithCaptures() const {
    constexpr Bitboard WhiteSeventhRank = Bitboard{0xFF} << BoardFiles;                      // a7..h7
    constexpr Bitboard BlackSecondRank = Bitboard{0xFF} << (EngineSquares - 2 * BoardFiles); // a2..h2
    const Bitboard enemy = FState.Occupied[FXSide];
    // A white pawn takes towards lower squares, a black one towards higher; a victim on the h-file is
    // never taken towards the a-file, nor one on the a-file towards the h-file.
    constexpr int FallingDiagonal = PawnStep + 1; // a8 towards h1
    constexpr int RisingDiagonal = PawnStep - 1;  // a1 towards h8
    const Bitboard takers =
        FSide == EngineWhite
            ? ((enemy & ~FileH) << FallingDiagonal) | ((enemy & ~FileA) << RisingDiagonal) | WhiteSeventhRank
            : ((enemy & ~FileH) >> RisingDiagonal) | ((enemy & ~FileA) >> FallingDiagonal) | BlackSecondRank;
    return FState.Pieces[FSide][EnginePawn] & takers;
}

// The entries of the full list that LeavesCheckUnanswered lets through, less the king's steps that
// are refused when made: en passant, the other moves onto the checker or between it and the king,
// and the king's steps.
TGenEntry* TEngineBoard::GenerateAnswers(TGenEntry* out) {
    out = GenerateKingAnswers(out);
    const Bitboard answers = FSafety[FPly].Answers;
    if (answers != 0) {
        const Bitboard occupied = FState.Occupied[EngineWhite] | FState.Occupied[EngineBlack];
        const Bitboard* mine = FState.Pieces[FSide];
        const Bitboard pieces = FState.Occupied[FSide] & ~mine[EngineKing] & ~mine[EnginePawn];
        for (Bitboard own = pieces; own != 0; own &= own - 1) {
            const int sq = std::countr_zero(own);
            const int piece = FPiece[sq];
            const Bitboard reach = piece == EngineKnight ? Attacks.Knight[sq] : SliderLines(sq, piece);
            for (Bitboard targets = reach & answers; targets != 0; targets &= targets - 1) {
                const int to = std::countr_zero(targets);
                if (piece != EngineKnight && (Attacks.Between[sq][to] & occupied)) continue;
                if (FColor[to] == FXSide)
                    Append(sq, to, 0, MoveCapture, CaptureOrder(sq, to), out);
                else
                    Append(sq, to, 0, 0, FHistory[sq][to], out);
            }
        }
        out = GeneratePawnAnswers(answers, out);
    }
    GenerateEnPassant(out);
    return out;
}

// A refused move is never tried, so where it would have come makes no difference; and a lone king
// stepping onto a square that is attacked once it has left its own is refused. Leaving those steps
// out spares making them, and most ties between king steps. With more than one king the first one
// decides about check, so every step is kept.
TGenEntry* TEngineBoard::GenerateKingAnswers(TGenEntry* out) {
    const Bitboard kings = FState.Pieces[FSide][EngineKing];
    const bool oneKing = kings != 0 && (kings & (kings - 1)) == 0;
    if (!oneKing) {
        for (Bitboard each = kings; each != 0; each &= each - 1)
            out = GenerateStepperMoves<false>(std::countr_zero(each), EngineKing, out);
        return out;
    }
    const int king = std::countr_zero(kings);
    const Bitboard withoutKing = (FState.Occupied[EngineWhite] | FState.Occupied[EngineBlack]) & ~kings;
    const Bitboard steps = Attacks.King[king] & ~FState.Occupied[FSide];
    for (Bitboard targets = steps; targets != 0; targets &= targets - 1) {
        const int to = std::countr_zero(targets);
        if (!AttackedThrough(to, FXSide, withoutKing))
            PushMove(king, to, FColor[to] == FXSide ? MoveCapture : 0, out);
    }
    return out;
}

// A pawn answers by taking the checker or by stepping, once or twice, onto a square between: of its
// moves, those that reach an answer square.
TGenEntry* TEngineBoard::GeneratePawnAnswers(Bitboard answers, TGenEntry* out) {
    // Only pawns one or two steps behind an answer square, or beside one, can reach it.
    const Bitboard behind = FSide == EngineWhite ? (answers << (PawnStep - 1)) | (answers << (PawnStep + 1)) |
                                                       (answers << PawnStep) | (answers << (2 * PawnStep))
                                                 : (answers >> (PawnStep - 1)) | (answers >> (PawnStep + 1)) |
                                                       (answers >> PawnStep) | (answers >> (2 * PawnStep));
    for (Bitboard pawns = FState.Pieces[FSide][EnginePawn] & behind; pawns != 0; pawns &= pawns - 1) {
        TGenEntry* const moves = out;
        out = GeneratePawnMoves<false>(std::countr_zero(pawns), out);
        out = std::remove_if(moves, out, [answers](const TGenEntry& entry) {
            return (answers & Bit(entry.Move.To)) == 0;
        });
    }
    return out;
}

// By the rights alone: whether the king may pass is decided when the move is made.
void TEngineBoard::GenerateCastling(TGenEntry*& out) {
    for (const TCastlingPath& path : CastlingPaths)
        if (path.Color == FSide && (FState.Castle & path.Right))
            PushMove(path.KingFrom, path.KingTo, MoveCastling, out);
}

void TEngineBoard::GenerateEnPassant(TGenEntry*& out) {
    if (FState.Ep < 0) return; // as it mostly is
    for (Bitboard takers = EnPassantTakers(FState, FSide); takers != 0; takers &= takers - 1)
        PushMove(std::countr_zero(takers), FState.Ep, MovePawn | MoveCapture | MoveEnPassant, out);
}

// The pawns of the side to move beside the pawn that has just stepped past the en-passant square.
Bitboard TEngineBoard::EnPassantTakers(const TPositionState& state, int side) {
    if (state.Ep < 0) return 0;
    const int passed = side == EngineWhite ? state.Ep + PawnStep : state.Ep - PawnStep;
    const int file = state.Ep % BoardFiles;
    const Bitboard beside = (file != 0 ? Bit(passed - 1) : 0) | (file != LastFile ? Bit(passed + 1) : 0);
    return beside & state.Pieces[side][EnginePawn];
}

inline void TEngineBoard::PushMove(int from, int to, int bits, TGenEntry*& out) {
    if ((bits & MovePawn) && IsLastRankFor(FSide, to)) {
        PushPromotions(from, to, bits, out);
        return;
    }
    Append(from, to, 0, bits, (bits & MoveCapture) ? CaptureOrder(from, to) : FHistory[from][to], out);
}

// Each scores as if a pawn took the piece it becomes.
void TEngineBoard::PushPromotions(int from, int to, int bits, TGenEntry*& out) {
    for (int piece = EngineKnight; piece <= EngineQueen; ++piece)
        Append(from, to, piece, bits | MovePromotion, CaptureScore + VictimWeight * piece, out);
}

void TEngineBoard::Append(int from, int to, int promote, int bits, int score, TGenEntry*& out) {
    *out++ = {{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to),
               static_cast<std::uint8_t>(promote), static_cast<std::uint8_t>(bits)},
              score};
}

// The first of the highest-scored entries from i on is the first of all entries that share that score,
// and those stay where they are until they are picked: the entries that make room for them come from
// the front and score no more. So one scan finds the whole group, and its members are handed out
// in order until it is used up, which makes a run of equal scores (quiet moves without history) cost
// a single scan.
void TEngineBoard::PickBest(int i) {
    if (i + 1 >= FLastMove[FPly]) return; // the last entry is picked where it stands
    TTiedGroup& group = FTied[FPly];
    if (group.NextPick != i || group.Next == group.End) CollectTied(i);
    group.NextPick = i + 1;
    std::swap(FStack[i], FStack[FTiedAt[group.Next++]]);
}

// The positions from i on that hold the highest score, in order, stored from i on. Every position is
// written and only the matching ones are kept, so the scan has no branch to mispredict.
void TEngineBoard::CollectTied(int i) {
    const int last = FLastMove[FPly];
    const int best = HighestScore(&FStack[i], last - i);
    int end = i;
    for (int j = i; j < last; ++j) {
        FTiedAt[end] = static_cast<std::int16_t>(j);
        end += FStack[j].Score == best;
    }
    TTiedGroup& group = FTied[FPly];
    group.NextPick = i;
    group.Next = i;
    group.End = end;
}
