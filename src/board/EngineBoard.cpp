#include "EngineBoard.h"

#include "EngineTables.h"

#include <bit>
#include <cassert>
#include <utility>

using namespace EngineTables;

namespace {

int PieceCodeOf(char c) {
    switch (c) {
    case 'p': case 'P': return EnginePawn;
    case 'n': case 'N': return EngineKnight;
    case 'b': case 'B': return EngineBishop;
    case 'r': case 'R': return EngineRook;
    case 'q': case 'Q': return EngineQueen;
    case 'k': case 'K': return EngineKing;
    default: return EngineEmpty;
    }
}

const TEngineBoard::TPieceSquareValues NoValues{};

} // namespace

TEngineBoard::TEngineBoard() : FValues(&NoValues) {
    FColor.fill(EngineEmpty);
    FPiece.fill(EngineEmpty);
}

// --- Position ------------------------------------------------------------------------------------------

void TEngineBoard::Load(const TPositionSnapshot& position) {
    for (int sq = 0; sq < EngineSquares; ++sq) Clear(sq);
    const std::string& text = position.Position;
    for (int sq = 0; sq < EngineSquares && sq < static_cast<int>(text.size()); ++sq) {
        const char c = text[static_cast<size_t>(sq)];
        const int piece = PieceCodeOf(c);
        if (piece != EngineEmpty) Place(sq, PieceColorOf(c) == 1 ? EngineWhite : EngineBlack, piece);
    }
    FSide = position.WhiteToMove ? EngineWhite : EngineBlack;
    FXSide = 1 - FSide;
    FState.Castle = FittingCastlingRights(position.CastlingAllowed);
    FState.Ep = FittingEnPassant(position.EnPassant - 1);
    FState.Fifty = 0;
    FPly = 0;
    FFirstMove[0] = 0;
    FSafety[0] = {};
    FStackFull = false;
}

int TEngineBoard::FittingCastlingRights(int rights) const {
    int kept = 0;
    for (const TCastlingPath& path : CastlingPaths)
        if ((rights & path.Right) && HasPiece(path.KingFrom, path.Color, EngineKing) &&
            HasPiece(path.RookFrom, path.Color, EngineRook))
            kept |= path.Right;
    return kept;
}

// Only the square a pawn of the side not to move has just passed over is kept.
int TEngineBoard::FittingEnPassant(int ep) const {
    const int passedRank = FSide == EngineWhite ? 2 : 5; // rows of a6..h6 and a3..h3
    if (ep < 0 || ep / BoardFiles != passedRank || FColor[ep] != EngineEmpty) return -1;
    const int pawnSq = FSide == EngineWhite ? ep + PawnStep : ep - PawnStep;
    return HasPiece(pawnSq, FXSide, EnginePawn) ? ep : -1;
}

void TEngineBoard::Put(int sq, int color, int piece) {
    SetSquare(sq, color, piece);
    FState.Pieces[color][piece] |= Bit(sq);
    FState.Occupied[color] |= Bit(sq);
    FState.ValueSum[color] += (*FValues)[color][piece][sq];
}

void TEngineBoard::Lift(int sq, int color, int piece) {
    FState.Pieces[color][piece] &= ~Bit(sq);
    FState.Occupied[color] &= ~Bit(sq);
    FState.ValueSum[color] -= (*FValues)[color][piece][sq];
    SetSquare(sq, EngineEmpty, EngineEmpty);
}

// The mover of the side to move goes from `from` (as `piece`) to the empty square `to` (as `placed`,
// which differs after a promotion). A mover that stays what it is changes its mask once: two changes
// in a row of the same word would wait for each other.
void TEngineBoard::Shift(int from, int to, int piece, int placed) {
    const Bitboard path = Bit(from) | Bit(to);
    FState.Occupied[FSide] ^= path;
    if (piece == placed) {
        FState.Pieces[FSide][piece] ^= path;
    } else {
        FState.Pieces[FSide][piece] ^= Bit(from);
        FState.Pieces[FSide][placed] ^= Bit(to);
    }
    const auto& values = (*FValues)[FSide];
    FState.ValueSum[FSide] += values[placed][to] - values[piece][from];
    SetSquare(from, EngineEmpty, EngineEmpty);
    SetSquare(to, FSide, placed);
}

void TEngineBoard::SetSquare(int sq, int color, int piece) {
    FColor[sq] = color;
    FPiece[sq] = piece;
}

void TEngineBoard::Place(int sq, int color, int piece) {
    Clear(sq);
    Put(sq, color, piece);
}

void TEngineBoard::Clear(int sq) {
    if (FColor[sq] != EngineEmpty) Lift(sq, FColor[sq], FPiece[sq]);
}

void TEngineBoard::SetPieceSquareValues(const TPieceSquareValues& values) {
    FValues = &values;
    for (int color : {EngineWhite, EngineBlack}) {
        FState.ValueSum[color] = 0;
        for (int piece = EnginePawn; piece < EnginePieceKinds; ++piece)
            for (Bitboard bits = FState.Pieces[color][piece]; bits != 0; bits &= bits - 1)
                FState.ValueSum[color] += values[color][piece][std::countr_zero(bits)];
    }
}

void TEngineBoard::ClearHistory() {
    for (auto& row : FHistory)
        for (int& count : row) count = 0;
}

// --- Making and taking back ----------------------------------------------------------------------------

bool TEngineBoard::MoveCastlingRook(int kingTo) {
    const TCastlingPath* path = CastlingPathTo(kingTo);
    if (path == nullptr || InCheck(FSide)) return false;
    if ((FState.Occupied[EngineWhite] | FState.Occupied[EngineBlack]) & path->MustBeEmpty) return false;
    for (int sq : path->Safe)
        if (Attacked(sq, FXSide)) return false;
    Clear(path->RookFrom);
    Place(path->RookTo, FSide, EngineRook);
    return true;
}

// A mover that is not in check can only uncover an attack on its king by taking away the one piece
// between it and an enemy slider, unless the king itself moves or en passant empties a second square.
bool TEngineBoard::MayExposeOwnKing(int from, int mover, int bits) {
    TKingSafety& safety = FSafety[FPly];
    if (safety.State != TCheckState::NotInCheck || mover == EngineKing || (bits & MoveEnPassant)) return true;
    if (!safety.PinsKnown) {
        safety.Pinned = PinnedPieces();
        safety.PinsKnown = true;
    }
    return (safety.Pinned & Bit(from)) != 0;
}

bool TEngineBoard::MakeUnrefused(TEngineMove move) {
    assert(FPly < EngineMaxPly);
    const int from = move.From;
    const int to = move.To;
    const int bits = move.Bits;
    const int captured = FPiece[to];
    // Written before the castling rook moves, so that it holds the position before.
    FUndo[FPly] = {move, captured, FState};
    if ((bits & MoveCastling) && !MoveCastlingRook(to)) return false;

    const int mover = FPiece[from];
    const bool needsTest = MayExposeOwnKing(from, mover, bits);
    ++FPly;
    FSafety[FPly].State = TCheckState::Unknown;
    FState.Castle &= CastleMask[from] & CastleMask[to];
    const int behind = FSide == EngineWhite ? to + PawnStep : to - PawnStep; // the square a pawn passed
    FState.Ep = (bits & MoveDoubleStep) ? behind : -1;
    FState.Fifty = (bits & (MoveCapture | MovePawn)) ? 0 : FState.Fifty + 1;
    if (captured != EngineEmpty) Lift(to, FColor[to], captured);
    Shift(from, to, mover, (bits & MovePromotion) ? move.Promote : mover);
    if (bits & MoveEnPassant) Clear(behind);
    std::swap(FSide, FXSide);

    if (needsTest && InCheck(FXSide)) {
        EngineTakeBack();
        return false;
    }
    return true;
}

std::uint64_t TEngineBoard::PinnedPieces() const {
    const Bitboard kings = FState.Pieces[FSide][EngineKing];
    if (kings == 0) return 0;
    const int king = std::countr_zero(kings);
    const Bitboard* enemy = FState.Pieces[FXSide];
    Bitboard sliders = (Attacks.DiagonalLines[king] & (enemy[EngineBishop] | enemy[EngineQueen])) |
                       (Attacks.StraightLines[king] & (enemy[EngineRook] | enemy[EngineQueen]));
    const Bitboard occupied = FState.Occupied[EngineWhite] | FState.Occupied[EngineBlack];
    Bitboard pinned = 0;
    for (; sliders != 0; sliders &= sliders - 1) {
        const Bitboard between = Attacks.Between[king][std::countr_zero(sliders)] & occupied;
        if (between != 0 && (between & (between - 1)) == 0) pinned |= between & FState.Occupied[FSide];
    }
    return pinned;
}

// The masks, sums and rights come back in one copy; only the squares the move touched are put back.
void TEngineBoard::EngineTakeBack() {
    std::swap(FSide, FXSide);
    --FPly;
    const TUndoEntry& undo = FUndo[FPly];
    FState = undo.Before;
    const int from = undo.Move.From;
    const int to = undo.Move.To;
    const int bits = undo.Move.Bits;
    SetSquare(from, FSide, (bits & MovePromotion) ? EnginePawn : FPiece[to]);
    SetSquare(to, undo.Captured == EngineEmpty ? EngineEmpty : FXSide, undo.Captured);
    if (bits & MoveCastling) {
        const TCastlingPath* path = CastlingPathTo(to);
        SetSquare(path->RookTo, EngineEmpty, EngineEmpty);
        SetSquare(path->RookFrom, FSide, EngineRook);
    }
    if (bits & MoveEnPassant)
        SetSquare(FSide == EngineBlack ? to - PawnStep : to + PawnStep, FXSide, EnginePawn);
}

bool TEngineBoard::SideToMoveInCheck() {
    TKingSafety& safety = FSafety[FPly];
    safety = {};
    const Bitboard kings = FState.Pieces[FSide][EngineKing];
    const int king = std::countr_zero(kings);
    const Bitboard checkers = kings != 0 ? Attackers(king, FXSide) : 0;
    if (checkers == 0) {
        safety.State = TCheckState::NotInCheck;
        return false;
    }
    safety.State = TCheckState::InCheck;
    if ((checkers & (checkers - 1)) == 0)
        safety.Answers = checkers | Attacks.Between[king][std::countr_zero(checkers)];
    return true;
}

// --- Attacks -------------------------------------------------------------------------------------------

// The king found first from square 0 up counts, as when a position holds more than one.
bool TEngineBoard::InCheck(int s) const {
    const Bitboard kings = FState.Pieces[s][EngineKing];
    return kings != 0 && Attacked(std::countr_zero(kings), 1 - s);
}

bool TEngineBoard::Attacked(int sq, int s) const {
    return AttackedThrough(sq, s, FState.Occupied[EngineWhite] | FState.Occupied[EngineBlack]);
}

bool TEngineBoard::AttackedThrough(int sq, int s, Bitboard occupied) const {
    const Bitboard* own = FState.Pieces[s];
    if ((Attacks.PawnAttackers[s][sq] & own[EnginePawn]) || (Attacks.Knight[sq] & own[EngineKnight]) ||
        (Attacks.King[sq] & own[EngineKing]))
        return true;
    // Sliders on a line through sq reach it when nothing stands between.
    Bitboard sliders = (Attacks.DiagonalLines[sq] & (own[EngineBishop] | own[EngineQueen])) |
                       (Attacks.StraightLines[sq] & (own[EngineRook] | own[EngineQueen]));
    for (; sliders != 0; sliders &= sliders - 1)
        if ((Attacks.Between[sq][std::countr_zero(sliders)] & occupied) == 0) return true;
    return false;
}

Bitboard TEngineBoard::Attackers(int sq, int s) const {
    const Bitboard* own = FState.Pieces[s];
    Bitboard found = (Attacks.PawnAttackers[s][sq] & own[EnginePawn]) |
                     (Attacks.Knight[sq] & own[EngineKnight]) | (Attacks.King[sq] & own[EngineKing]);
    Bitboard sliders = (Attacks.DiagonalLines[sq] & (own[EngineBishop] | own[EngineQueen])) |
                       (Attacks.StraightLines[sq] & (own[EngineRook] | own[EngineQueen]));
    const Bitboard occupied = FState.Occupied[EngineWhite] | FState.Occupied[EngineBlack];
    for (; sliders != 0; sliders &= sliders - 1) {
        const int slider = std::countr_zero(sliders);
        if ((Attacks.Between[sq][slider] & occupied) == 0) found |= Bit(slider);
    }
    return found;
}

// --- Perft ---------------------------------------------------------------------------------------------

std::optional<std::uint64_t> TEngineBoard::Perft(int depth) {
    if (depth == 0) return 1;
    if (FPly >= EngineMaxPly - 1) return std::nullopt;
    SideToMoveInCheck();
    Generate();
    if (FStackFull) return std::nullopt;
    std::uint64_t leaves = 0;
    for (int i = FFirstMove[FPly]; i < FLastMove[FPly]; ++i) {
        if (!EngineMakeMove(FStack[i].Move)) continue;
        const std::optional<std::uint64_t> below = Perft(depth - 1);
        EngineTakeBack();
        if (!below) return std::nullopt;
        leaves += *below;
    }
    return leaves;
}
