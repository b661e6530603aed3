#include "EngineBoard.h"

#include "EngineTables.h"

#include <algorithm>
#include <bit>
#include <cassert>

// In check nearly every generated move is refused. The answers are what the search tries, in the
// order PickBest would hand them out of the full list; this file finds that order, mostly without
// writing the full list at all.

using namespace EngineTables;

namespace {

constexpr Bitboard Rank8 = 0xFFull;                                    // a8..h8, White's last rank
constexpr Bitboard Rank1 = Rank8 << (EngineSquares - BoardFiles);      // a1..h1, Black's last rank
constexpr Bitboard WhiteDoubleStepRanks = ~Bitboard{0} << WhiteDoubleStepFrom;
constexpr Bitboard BlackDoubleStepRanks = ~Bitboard{0} >> (EngineSquares - 1 - BlackDoubleStepUpTo);
constexpr int PromotionChoices = EngineQueen - EngineKnight + 1;

// The squares a slider reaches along one ray: up to and including the first piece. The queen's
// first four directions step towards lower squares; no ray falls from a8 or rises from h1, so those
// squares stand in for the end of a ray without a piece on it.
constexpr int FirstRisingDirection = 4;
constexpr bool RaysEndAtTheCorners() {
    for (int d = 0; d < QueenDirections; ++d)
        if (Attacks.Rays[d < FirstRisingDirection ? 0 : EngineSquares - 1][d] != 0) return false;
    return true;
}
static_assert(RaysEndAtTheCorners());

template <int Direction> Bitboard RayReach(int sq, Bitboard occupied) {
    constexpr int LastSquare = EngineSquares - 1;
    const Bitboard ray = Attacks.Rays[sq][Direction];
    const Bitboard blockers = ray & occupied;
    const int nearest = Direction < FirstRisingDirection ? LastSquare - std::countl_zero(blockers | Bit(0))
                                                         : std::countr_zero(blockers | Bit(LastSquare));
    return ray ^ Attacks.Rays[nearest][Direction];
}

static_assert(IsDiagonal(0) && IsDiagonal(2) && IsDiagonal(5) && IsDiagonal(7));
Bitboard DiagonalReach(int sq, Bitboard occupied) {
    return RayReach<0>(sq, occupied) | RayReach<2>(sq, occupied) | RayReach<5>(sq, occupied) |
           RayReach<7>(sq, occupied);
}
Bitboard StraightReach(int sq, Bitboard occupied) {
    return RayReach<1>(sq, occupied) | RayReach<3>(sq, occupied) | RayReach<4>(sq, occupied) |
           RayReach<6>(sq, occupied);
}

// A bit count inline: std::popcount calls the runtime library where the build may not assume the
// processor's instruction, which costs more than the count.
constexpr int BitCount(Bitboard bits) {
    bits -= (bits >> 1) & 0x5555555555555555ull;
    bits = (bits & 0x3333333333333333ull) + ((bits >> 2) & 0x3333333333333333ull);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((bits * 0x0101010101010101ull) >> 56);
}
static_assert(BitCount(0) == 0 && BitCount(~Bitboard{0}) == 64 && BitCount(0x8000000000000101ull) == 3);

// Entries a set of pawn targets makes: four on the last rank, one elsewhere.
[[gnu::always_inline]] inline int PawnEntries(Bitboard targets, Bitboard lastRank) {
    return std::popcount(targets) + (PromotionChoices - 1) * std::popcount(targets & lastRank);
}

} // namespace

// --- Generating the answers alone ----------------------------------------------------------------------

void TEngineBoard::GenerateCheckAnswers(bool historyFixed) {
    assert(FPly < EngineMaxPly - 1 && FSafety[FPly].State == TCheckState::InCheck);
    FTied[FPly] = {};
    const int first = FFirstMove[FPly];
    TGenEntry* out = GenerateAnswers(&FStack[first]);
    const int count = static_cast<int>(out - &FStack[first]);
    const int tiesFrom = SortByScore(&FStack[first], count);
    const bool tiesCanWait = historyFixed && count <= MostOrderedAnswers;
    if (tiesFrom < count && !tiesCanWait) {
        Generate();
        return;
    }
    // Every piece adds at most as many entries as a queen in the centre.
    const int pieces = BitCount(FState.Occupied[FSide]);
    const int bound = MostTargetsOfOnePiece * pieces + CastlingAndEnPassantMoves;
    FUnwritten[FPly] = {bound - count, 0, false};
    EndList(first + count);
    TTiedGroup& group = FTied[FPly];
    group.AnswersEnd = FLastMove[FPly];
    if (tiesFrom < count && !FStackFull) group.TiesFrom = first + tiesFrom;
}

// The position of an earlier ply is the one its move was made from.
int TEngineBoard::UnwrittenAt(int ply) {
    TUnwritten& unwritten = FUnwritten[ply];
    if (!unwritten.Counted) {
        const TPositionState& state = ply == FPly ? FState : FUndo[ply].Before;
        const int side = (FPly - ply) % 2 == 0 ? FSide : FXSide;
        unwritten.Count = CountMovesOf(state, side) - (FLastMove[ply] - FFirstMove[ply]);
        unwritten.Counted = true;
    }
    return unwritten.Count;
}

// PickBest hands out entries of different scores highest first, whatever stands between them, so
// answers that all score differently come in score order. Ties depend on places in the full list:
// gives where the first run of equal scores starts, or `count` when there is none.
int TEngineBoard::SortByScore(TGenEntry* entries, int count) {
    for (int a = 1; a < count; ++a) {
        const TGenEntry entry = entries[a];
        int b = a;
        for (; b > 0 && entries[b - 1].Score < entry.Score; --b) entries[b] = entries[b - 1];
        entries[b] = entry;
    }
    for (int a = 1; a < count; ++a)
        if (entries[a].Score == entries[a - 1].Score) return a - 1;
    return count;
}

// --- Counting the full list ----------------------------------------------------------------------------

// The counts use the processor's bit count where it has one. The loader picks the clone before
// ThreadSanitizer's runtime is up, and the picker, instrumented like all code, would crash there.
#ifdef __SANITIZE_THREAD__
#define POPCNT_CLONES
#else
#define POPCNT_CLONES [[gnu::target_clones("popcnt", "default")]]
#endif
POPCNT_CLONES
int TEngineBoard::CountMovesOf(const TPositionState& state, int side) {
    const Bitboard* mine = state.Pieces[side];
    const Bitboard notOwn = ~state.Occupied[side];
    const Bitboard occupied = state.Occupied[EngineWhite] | state.Occupied[EngineBlack];
    int count = CountPawnMoves(state, side);
    for (Bitboard knights = mine[EngineKnight]; knights != 0; knights &= knights - 1)
        count += std::popcount(Attacks.Knight[std::countr_zero(knights)] & notOwn);
    for (Bitboard kings = mine[EngineKing]; kings != 0; kings &= kings - 1)
        count += std::popcount(Attacks.King[std::countr_zero(kings)] & notOwn);
    for (Bitboard sliders = mine[EngineBishop] | mine[EngineQueen]; sliders != 0; sliders &= sliders - 1)
        count += std::popcount(DiagonalReach(std::countr_zero(sliders), occupied) & notOwn);
    for (Bitboard sliders = mine[EngineRook] | mine[EngineQueen]; sliders != 0; sliders &= sliders - 1)
        count += std::popcount(StraightReach(std::countr_zero(sliders), occupied) & notOwn);
    for (const TCastlingPath& path : CastlingPaths)
        count += path.Color == side && (state.Castle & path.Right);
    return count + std::popcount(EnPassantTakers(state, side));
}

// White's pawns step towards lower squares, Black's towards higher; a pawn on its own last rank has
// nowhere to go, and one standing behind its start rank may still step twice.
[[gnu::always_inline]] inline int TEngineBoard::CountPawnMoves(const TPositionState& state,
                                                                int side) {
    const bool white = side == EngineWhite;
    const auto ahead = [white](Bitboard squares, int step) { return white ? squares >> step : squares << step; };
    const Bitboard lastRank = white ? Rank8 : Rank1;
    const Bitboard pawns = state.Pieces[side][EnginePawn];
    const Bitboard enemy = state.Occupied[1 - side];
    const Bitboard empty = ~(state.Occupied[EngineWhite] | state.Occupied[EngineBlack]);
    const Bitboard single = ahead(pawns, PawnStep) & empty;
    const Bitboard startRanks = white ? WhiteDoubleStepRanks : BlackDoubleStepRanks;
    const Bitboard twice = ahead(ahead(pawns & startRanks, PawnStep) & empty, PawnStep) & empty;
    const Bitboard towardsA = ahead(pawns & ~FileA, white ? PawnStep + 1 : PawnStep - 1) & enemy;
    const Bitboard towardsH = ahead(pawns & ~FileH, white ? PawnStep - 1 : PawnStep + 1) & enemy;
    return PawnEntries(single, lastRank) + std::popcount(twice) + PawnEntries(towardsA, lastRank) +
           PawnEntries(towardsH, lastRank);
}

// --- Ordering the answers within the full list ---------------------------------------------------------

int TEngineBoard::PickAnswer(int i) {
    TTiedGroup& group = FTied[FPly];
    if (group.AnswersEnd < 0 && i == FFirstMove[FPly]) {
        const int answers = OrderCheckAnswers(i, FLastMove[FPly]);
        if (answers >= 0) group.AnswersEnd = i + answers;
    }
    if (group.AnswersEnd < 0) {
        PickBest(i);
        return FLastMove[FPly];
    }
    if (i == group.TiesFrom) OrderTiedAnswers(i);
    return group.AnswersEnd;
}

// The answers from i on were generated alone and stand in score order, but equal scores among them
// go by places in the full list. Most searches end before they reach those, so only now is the full
// list written, behind the ply's list where the next ply's list starts, and the answers put in the order
// in which picking it hands them out. No history count has changed since the answers were scored.
void TEngineBoard::OrderTiedAnswers(int i) {
    const int last = FLastMove[FPly];
    std::array<TGenEntry, MostOrderedAnswers> waiting;
    const int count = last - i;
    std::copy(&FStack[i], &FStack[last], waiting.begin());
    const int fullEnd = static_cast<int>(WriteFullList(&FStack[last]) - FStack.data());
    const auto isWaiting = [&waiting, count](TEngineMove move) {
        return std::any_of(waiting.begin(), waiting.begin() + count,
                           [move](const TGenEntry& entry) { return entry.Move == move; });
    };
    int out = i;
    const int ordered = OrderCheckAnswers(last, fullEnd);
    if (ordered >= 0) {
        for (int j = last; j < last + ordered; ++j)
            if (isWaiting(FStack[j].Move)) FStack[out++] = FStack[j];
        assert(out == last);
        return;
    }
    for (int j = last; j < fullEnd && out < last; ++j) { // as PickBest picks, until every one is out
        int best = j;
        for (int k = j + 1; k < fullEnd; ++k) best = FStack[k].Score > FStack[best].Score ? k : best;
        std::swap(FStack[j], FStack[best]);
        if (isWaiting(FStack[j].Move)) FStack[out++] = FStack[j];
    }
    assert(out == last);
}

// PickBest always takes a highest-scored entry, so answers of different scores come in score order.
// Among equal scores the one standing first is taken first. An entry only moves when it stands in
// front while a higher-scored one is taken; the higher-scored entries end up in the first places, as
// many as there are, so entries standing behind those places never move before their turn. Gives
// the number of answers, or -1 when answers of equal score do not all stand behind.
int TEngineBoard::OrderCheckAnswers(int first, int last) {
    // The score, made unsigned with its order kept, above the place in the list, so that one
    // comparison orders by score, then by place.
    const auto orderedScore = [](int score) {
        return std::uint64_t{static_cast<std::uint32_t>(score) ^ 0x80000000u};
    };
    const auto keyOf = [&](int i) { return orderedScore(FStack[i].Score) << 16 | (0xFFFFu - (i - first)); };
    const auto placeOf = [](std::uint64_t key) { return 0xFFFF - static_cast<int>(key & 0xFFFF); };
    std::array<std::uint64_t, MostOrderedAnswers> keys;
    int count = 0;
    for (int i = first; i < last; ++i) {
        const TEngineMove move = FStack[i].Move;
        if (LeavesCheckUnanswered(move.From, move.To, move.Bits)) continue;
        if (count == MostOrderedAnswers) return -1;
        keys[count++] = keyOf(i);
    }
    for (int a = 1; a < count; ++a) { // highest first; there are a handful
        const std::uint64_t key = keys[a];
        int b = a;
        for (; b > 0 && keys[b - 1] < key; --b) keys[b] = keys[b - 1];
        keys[b] = key;
    }
    for (int a = 1; a < count; ++a) {
        const std::uint64_t score = keys[a] >> 16;
        const bool startsRun = score == keys[a - 1] >> 16 && (a == 1 || score != keys[a - 2] >> 16);
        if (!startsRun) continue;
        int higher = 0;
        for (int i = first; i < last; ++i) higher += orderedScore(FStack[i].Score) > score;
        if (placeOf(keys[a - 1]) < higher) return -1;
    }
    for (int a = 0; a < count; ++a) FAnswersInOrder[a] = FStack[first + placeOf(keys[a])];
    std::copy_n(FAnswersInOrder.begin(), count, &FStack[first]);
    return count;
}
