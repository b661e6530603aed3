#include "EngineBoard.h"

#include <bit>
#include <cassert>
#include <utility>

namespace {

using Bitboard = std::uint64_t;
constexpr Bitboard Bit(int sq) { return Bitboard{1} << sq; }

constexpr int BoardFiles = 8;
constexpr int MailboxCells = 120;
constexpr int MailboxWidth = 10;
constexpr int OffBoard = -1;

// The 10 x 12 board: two border rows above and below, one border column each side, so that every
// step of a knight or a slider off the edge lands on a border cell.
constexpr std::array<int, MailboxCells> MakeMailbox() {
    std::array<int, MailboxCells> cells{};
    cells.fill(OffBoard);
    for (int sq = 0; sq < EngineSquares; ++sq) cells[(sq / BoardFiles + 2) * MailboxWidth + sq % BoardFiles + 1] = sq;
    return cells;
}
constexpr std::array<int, EngineSquares> MakeMailbox64() {
    std::array<int, EngineSquares> cells{};
    for (int sq = 0; sq < EngineSquares; ++sq) cells[sq] = (sq / BoardFiles + 2) * MailboxWidth + sq % BoardFiles + 1;
    return cells;
}
constexpr std::array<int, MailboxCells> Mailbox = MakeMailbox();
constexpr std::array<int, EngineSquares> Mailbox64 = MakeMailbox64();

constexpr bool Slides[EnginePieceKinds] = {false, false, true, true, true, false};
constexpr int DirectionCount[EnginePieceKinds] = {0, 8, 4, 4, 8, 8};
constexpr int Directions[EnginePieceKinds][8] = {
    {},
    {-21, -19, -12, -8, 8, 12, 19, 21},
    {-11, -9, 9, 11},
    {-10, -1, 1, 10},
    {-11, -10, -9, -1, 1, 9, 10, 11},
    {-11, -10, -9, -1, 1, 9, 10, 11},
};

// Rights that survive a move touching each square: moving from or onto a king's or rook's home
// square gives up the rights that depend on it.
constexpr int CastleMask[EngineSquares] = {
    7,  15, 15, 15, 3,  15, 15, 11, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    15, 15, 15, 15, 15, 15, 15, 15, //
    13, 15, 15, 15, 12, 15, 15, 14, //
};

// The queen's directions index the rays; the first four step towards lower square numbers.
constexpr int QueenDirections = 8;
constexpr int FirstIncreasingDirection = 4;
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
        // A white pawn hits sq - 9 unless on file a and sq - 7 unless on file h; black the mirror.
        const int file = sq % BoardFiles;
        if (file != 0 && sq - 9 >= 0) t.PawnAttackers[EngineWhite][sq - 9] |= Bit(sq);
        if (file != 7 && sq - 7 >= 0) t.PawnAttackers[EngineWhite][sq - 7] |= Bit(sq);
        if (file != 0 && sq + 7 < EngineSquares) t.PawnAttackers[EngineBlack][sq + 7] |= Bit(sq);
        if (file != 7 && sq + 9 < EngineSquares) t.PawnAttackers[EngineBlack][sq + 9] |= Bit(sq);
    }
    return t;
}
constexpr TAttackTables Attacks = MakeAttackTables();

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

constexpr int Sq(Square s) { return EngineSquare(s); }

// In the order Generate pushes them for each side.
constexpr TCastlingPath CastlingPaths[] = {
    {WhiteKingSide, EngineWhite, Sq(E1), Sq(G1), Sq(H1), Sq(F1), Bit(Sq(F1)) | Bit(Sq(G1)), {Sq(F1), Sq(G1)}},
    {WhiteQueenSide, EngineWhite, Sq(E1), Sq(C1), Sq(A1), Sq(D1), Bit(Sq(B1)) | Bit(Sq(C1)) | Bit(Sq(D1)),
     {Sq(C1), Sq(D1)}},
    {BlackKingSide, EngineBlack, Sq(E8), Sq(G8), Sq(H8), Sq(F8), Bit(Sq(F8)) | Bit(Sq(G8)), {Sq(F8), Sq(G8)}},
    {BlackQueenSide, EngineBlack, Sq(E8), Sq(C8), Sq(A8), Sq(D8), Bit(Sq(B8)) | Bit(Sq(C8)) | Bit(Sq(D8)),
     {Sq(C8), Sq(D8)}},
};

const TCastlingPath* CastlingPathTo(int kingTo) {
    for (const TCastlingPath& path : CastlingPaths)
        if (path.KingTo == kingTo) return &path;
    return nullptr;
}

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

// For the captures of a slider: which of the queen's rays each of its directions follows.
struct TRayIndex {
    int Of[EnginePieceKinds][8] = {};
};
constexpr TRayIndex MakeRayIndex() {
    TRayIndex index;
    for (int piece = 0; piece < EnginePieceKinds; ++piece)
        for (int d = 0; d < DirectionCount[piece]; ++d)
            for (int q = 0; q < QueenDirections; ++q)
                if (Directions[EngineQueen][q] == Directions[piece][d]) index.Of[piece][d] = q;
    return index;
}
constexpr TRayIndex RayIndex = MakeRayIndex();

// Knight and king steps in table order reach ever higher squares, so visiting their targets in square
// order keeps the table's order.
constexpr bool StepsAscend(int piece) {
    for (int d = 1; d < DirectionCount[piece]; ++d)
        if (Directions[piece][d] <= Directions[piece][d - 1]) return false;
    return true;
}
static_assert(StepsAscend(EngineKnight) && StepsAscend(EngineKing));

int NearestOnRay(Bitboard blockers, int direction) {
    return direction < FirstIncreasingDirection ? 63 - std::countl_zero(blockers) : std::countr_zero(blockers);
}

constexpr int PawnStep = 8; // one rank; towards rank 8 for White
constexpr int WhiteDoubleStepFrom = 48;
constexpr int BlackDoubleStepUpTo = 15;

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
    FCastle = FittingCastlingRights(position.CastlingAllowed);
    FEp = FittingEnPassant(position.EnPassant - 1);
    FFifty = 0;
    FPly = 0;
    FFirstMove[0] = 0;
    FCheckState[0] = TCheckState::Unknown;
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
    FColor[sq] = color;
    FPiece[sq] = piece;
    FPieces[color][piece] |= Bit(sq);
    FOccupied[color] |= Bit(sq);
    FValueSum[color] += (*FValues)[color][piece][sq];
}

void TEngineBoard::Lift(int sq, int color, int piece) {
    FPieces[color][piece] &= ~Bit(sq);
    FOccupied[color] &= ~Bit(sq);
    FValueSum[color] -= (*FValues)[color][piece][sq];
    FColor[sq] = EngineEmpty;
    FPiece[sq] = EngineEmpty;
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
        FValueSum[color] = 0;
        for (int piece = EnginePawn; piece < EnginePieceKinds; ++piece)
            for (Bitboard bits = FPieces[color][piece]; bits != 0; bits &= bits - 1)
                FValueSum[color] += values[color][piece][std::countr_zero(bits)];
    }
}

void TEngineBoard::ClearHistory() {
    for (auto& row : FHistory)
        for (int& count : row) count = 0;
}

// --- Generation ----------------------------------------------------------------------------------------

void TEngineBoard::Generate() { GenerateMoves<false>(); }
void TEngineBoard::GenerateCaptures() { GenerateMoves<true>(); }

template <bool CapturesOnly> void TEngineBoard::GenerateMoves() {
    assert(FPly < EngineMaxPly - 1);
    FStackFull = false;
    FLastMove[FPly] = FFirstMove[FPly];
    FOrderedFrom[FPly] = MoveStackSize;
    for (Bitboard own = FOccupied[FSide]; own != 0; own &= own - 1) {
        const int sq = std::countr_zero(own);
        if (FPiece[sq] == EnginePawn)
            GeneratePawnMoves<CapturesOnly>(sq);
        else
            GeneratePieceMoves<CapturesOnly>(sq, FPiece[sq]);
    }
    if constexpr (!CapturesOnly) GenerateCastling();
    GenerateEnPassant();
    FFirstMove[FPly + 1] = FLastMove[FPly];
}

template <bool CapturesOnly> void TEngineBoard::GeneratePawnMoves(int sq) {
    const int ahead = FSide == EngineWhite ? sq - PawnStep : sq + PawnStep;
    if (ahead < 0 || ahead >= EngineSquares) return; // a pawn on its own last rank has nowhere to go
    const int file = sq % BoardFiles;
    if (file != 0 && FColor[ahead - 1] == FXSide) PushMove(sq, ahead - 1, MovePawn | MoveCapture);
    if (file != BoardFiles - 1 && FColor[ahead + 1] == FXSide) PushMove(sq, ahead + 1, MovePawn | MoveCapture);
    if (FColor[ahead] != EngineEmpty) return;
    if constexpr (CapturesOnly) {
        if (IsLastRankFor(FSide, ahead)) PushPromotions(sq, ahead, MovePawn);
    } else {
        PushMove(sq, ahead, MovePawn);
        const bool onStartRank = FSide == EngineWhite ? sq >= WhiteDoubleStepFrom : sq <= BlackDoubleStepUpTo;
        const int twoAhead = 2 * ahead - sq;
        if (onStartRank && FColor[twoAhead] == EngineEmpty) PushMove(sq, twoAhead, MovePawn | MoveDoubleStep);
    }
}

template <bool CapturesOnly> void TEngineBoard::GeneratePieceMoves(int sq, int piece) {
    if (!Slides[piece]) {
        const Bitboard steps = piece == EngineKnight ? Attacks.Knight[sq] : Attacks.King[sq];
        const Bitboard targets = steps & (CapturesOnly ? FOccupied[FXSide] : ~FOccupied[FSide]);
        for (Bitboard bits = targets; bits != 0; bits &= bits - 1) {
            const int to = std::countr_zero(bits);
            if (FColor[to] == FXSide)
                Append(sq, to, 0, MoveCapture, CaptureOrder(sq, to));
            else
                Append(sq, to, 0, 0, FHistory[sq][to]);
        }
        return;
    }
    if constexpr (CapturesOnly) {
        // Only the first piece on each ray can be taken.
        const Bitboard occupied = FOccupied[EngineWhite] | FOccupied[EngineBlack];
        for (int d = 0; d < DirectionCount[piece]; ++d) {
            const int ray = RayIndex.Of[piece][d];
            const Bitboard blockers = Attacks.Rays[sq][ray] & occupied;
            if (blockers == 0) continue;
            const int to = NearestOnRay(blockers, ray);
            if (FColor[to] == FXSide) Append(sq, to, 0, MoveCapture, CaptureOrder(sq, to));
        }
        return;
    }
    const int origin = Mailbox64[sq];
    for (int d = 0; d < DirectionCount[piece]; ++d) {
        const int step = Directions[piece][d];
        for (int cell = origin + step;; cell += step) {
            const int to = Mailbox[cell];
            if (to == OffBoard) break;
            if (FColor[to] != EngineEmpty) {
                if (FColor[to] == FXSide) Append(sq, to, 0, MoveCapture, CaptureOrder(sq, to));
                break;
            }
            Append(sq, to, 0, 0, FHistory[sq][to]);
        }
    }
}

// By the rights alone: whether the king may pass is decided when the move is made.
void TEngineBoard::GenerateCastling() {
    for (const TCastlingPath& path : CastlingPaths)
        if (path.Color == FSide && (FCastle & path.Right)) PushMove(path.KingFrom, path.KingTo, MoveCastling);
}

void TEngineBoard::GenerateEnPassant() {
    if (FEp < 0) return;
    const int pawnRank = FSide == EngineWhite ? FEp + PawnStep : FEp - PawnStep; // below Ep for White
    const int file = FEp % BoardFiles;
    const int bits = MovePawn | MoveCapture | MoveEnPassant;
    if (file != 0 && HasPiece(pawnRank - 1, FSide, EnginePawn)) PushMove(pawnRank - 1, FEp, bits);
    if (file != BoardFiles - 1 && HasPiece(pawnRank + 1, FSide, EnginePawn)) PushMove(pawnRank + 1, FEp, bits);
}

bool TEngineBoard::IsLastRankFor(int side, int sq) const {
    return side == EngineWhite ? sq < BoardFiles : sq >= EngineSquares - BoardFiles;
}

void TEngineBoard::PushMove(int from, int to, int bits) {
    if ((bits & MovePawn) && IsLastRankFor(FSide, to)) {
        PushPromotions(from, to, bits);
        return;
    }
    Append(from, to, 0, bits, (bits & MoveCapture) ? CaptureOrder(from, to) : FHistory[from][to]);
}

void TEngineBoard::PushPromotions(int from, int to, int bits) {
    for (int piece = EngineKnight; piece <= EngineQueen; ++piece)
        Append(from, to, piece, bits | MovePromotion, CaptureScore + 10 * piece);
}

void TEngineBoard::Append(int from, int to, int promote, int bits, int score) {
    int& last = FLastMove[FPly];
    if (last == MoveStackSize) {
        FStackFull = true;
        return;
    }
    FStack[last++] = {{static_cast<std::uint8_t>(from), static_cast<std::uint8_t>(to),
                       static_cast<std::uint8_t>(promote), static_cast<std::uint8_t>(bits)},
                      score};
}

void TEngineBoard::PickBest(int i) {
    int& orderedFrom = FOrderedFrom[FPly];
    if (i >= orderedFrom) return;
    const int last = FLastMove[FPly];
    int best = i;
    int bestScore = FStack[i].Score;
    int previous = bestScore;
    bool descending = true;
    for (int j = i + 1; j < last; ++j) {
        const int score = FStack[j].Score;
        descending = descending && score <= previous;
        previous = score;
        if (score > bestScore) {
            best = j;
            bestScore = score;
        }
    }
    // Once the rest is in descending order every further pick takes the entry where it stands.
    if (descending) orderedFrom = i;
    std::swap(FStack[i], FStack[best]);
}

// --- Making and taking back ----------------------------------------------------------------------------

bool TEngineBoard::MoveCastlingRook(int kingTo) {
    const TCastlingPath* path = CastlingPathTo(kingTo);
    if (path == nullptr || InCheck(FSide)) return false;
    if ((FOccupied[EngineWhite] | FOccupied[EngineBlack]) & path->MustBeEmpty) return false;
    for (int sq : path->Safe)
        if (Attacked(sq, FXSide)) return false;
    Clear(path->RookFrom);
    Place(path->RookTo, FSide, EngineRook);
    return true;
}

bool TEngineBoard::EngineMakeMove(TEngineMove move) {
    assert(FPly < EngineMaxPly);
    const int from = move.From;
    const int to = move.To;
    const int bits = move.Bits;
    if (FColor[from] != FSide) return false; // not a move of this position; the masks could not follow it
    if ((bits & MoveCastling) && !MoveCastlingRook(to)) return false;

    const int mover = FPiece[from];
    const int captured = FPiece[to];
    FUndo[FPly] = {move, captured, FCastle, FEp, FFifty};
    ++FPly;
    FCheckState[FPly] = TCheckState::Unknown;
    FCastle &= CastleMask[from] & CastleMask[to];
    const int behind = FSide == EngineWhite ? to + PawnStep : to - PawnStep; // the square a pawn passed
    FEp = (bits & MoveDoubleStep) ? behind : -1;
    FFifty = (bits & (MoveCapture | MovePawn)) ? 0 : FFifty + 1;
    if (captured != EngineEmpty) Lift(to, FColor[to], captured);
    Lift(from, FSide, mover);
    Put(to, FSide, (bits & MovePromotion) ? move.Promote : mover);
    if (bits & MoveEnPassant) Clear(behind);
    std::swap(FSide, FXSide);

    if (!MoverMayBeInCheck(from, mover, bits)) return true;
    if (InCheck(FXSide)) {
        EngineTakeBack();
        return false;
    }
    return true;
}

// Called after the move: a mover that was not in check can only have uncovered an attack on its king
// along a line through the square it left, unless the king itself moved or en passant emptied a
// second square.
bool TEngineBoard::MoverMayBeInCheck(int from, int mover, int bits) const {
    if (FCheckState[FPly - 1] != TCheckState::NotInCheck || mover == EngineKing || (bits & MoveEnPassant))
        return true;
    const Bitboard kings = FPieces[FXSide][EngineKing];
    if (kings == 0) return false;
    const int king = std::countr_zero(kings);
    return ((Attacks.DiagonalLines[king] | Attacks.StraightLines[king]) & Bit(from)) != 0;
}

void TEngineBoard::EngineTakeBack() {
    std::swap(FSide, FXSide);
    --FPly;
    const TUndoEntry& undo = FUndo[FPly];
    FCastle = undo.Castle;
    FEp = undo.Ep;
    FFifty = undo.Fifty;
    const int from = undo.Move.From;
    const int to = undo.Move.To;
    const int bits = undo.Move.Bits;
    const int moved = FPiece[to];
    Lift(to, FSide, moved);
    Put(from, FSide, (bits & MovePromotion) ? EnginePawn : moved);
    if (undo.Captured != EngineEmpty) Put(to, FXSide, undo.Captured);
    if (bits & MoveCastling) {
        const TCastlingPath* path = CastlingPathTo(to);
        Clear(path->RookTo);
        Place(path->RookFrom, FSide, EngineRook);
    }
    if (bits & MoveEnPassant) Place(FSide == EngineBlack ? to - PawnStep : to + PawnStep, FXSide, EnginePawn);
}

bool TEngineBoard::SideToMoveInCheck() {
    const bool check = InCheck(FSide);
    FCheckState[FPly] = check ? TCheckState::InCheck : TCheckState::NotInCheck;
    return check;
}

// --- Attacks -------------------------------------------------------------------------------------------

// The king found first from square 0 up counts, as when a position holds more than one.
bool TEngineBoard::InCheck(int s) const {
    const Bitboard kings = FPieces[s][EngineKing];
    return kings != 0 && Attacked(std::countr_zero(kings), 1 - s);
}

bool TEngineBoard::Attacked(int sq, int s) const {
    const Bitboard* own = FPieces[s];
    if ((Attacks.PawnAttackers[s][sq] & own[EnginePawn]) || (Attacks.Knight[sq] & own[EngineKnight]) ||
        (Attacks.King[sq] & own[EngineKing]))
        return true;
    // Sliders on a line through sq reach it when nothing stands between.
    Bitboard sliders = (Attacks.DiagonalLines[sq] & (own[EngineBishop] | own[EngineQueen])) |
                       (Attacks.StraightLines[sq] & (own[EngineRook] | own[EngineQueen]));
    if (sliders == 0) return false;
    const Bitboard occupied = FOccupied[EngineWhite] | FOccupied[EngineBlack];
    for (; sliders != 0; sliders &= sliders - 1)
        if ((Attacks.Between[sq][std::countr_zero(sliders)] & occupied) == 0) return true;
    return false;
}

// --- Perft ---------------------------------------------------------------------------------------------

std::optional<std::uint64_t> TEngineBoard::Perft(int depth) {
    if (depth == 0) return 1;
    if (FPly >= EngineMaxPly - 1) return std::nullopt;
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
