#pragma once
// The engine's own board: squares 0..63 (0 = a8, 63 = h1), pseudo-legal move generation with the
// ordering scores the search sorts by, making and taking back moves (where legality is decided) and
// the attack test. The search runs on it alone; the position is copied in when a search starts.

#include "ChessTypes.h"

#include <array>
#include <cstdint>
#include <optional>

// Colour codes of the engine board; an empty square has colour and piece EngineEmpty.
inline constexpr int EngineWhite = 0;
inline constexpr int EngineBlack = 1;
inline constexpr int EngineEmpty = 6;

// Piece codes, in the order the evaluation tables are indexed by.
inline constexpr int EnginePawn = 0;
inline constexpr int EngineKnight = 1;
inline constexpr int EngineBishop = 2;
inline constexpr int EngineRook = 3;
inline constexpr int EngineQueen = 4;
inline constexpr int EngineKing = 5;
inline constexpr int EnginePieceKinds = 6;

// Bits of TEngineMove::Bits.
inline constexpr int MoveCapture = 1;
inline constexpr int MoveCastling = 2;
inline constexpr int MoveEnPassant = 4;
inline constexpr int MoveDoubleStep = 8;
inline constexpr int MovePawn = 16;
inline constexpr int MovePromotion = 32;

inline constexpr int EngineSquares = 64;
inline constexpr int EngineMaxPly = 64;     // rows of every per-ply table
inline constexpr int MoveStackSize = 4096;  // generated-move entries shared by all plies
inline constexpr int CaptureScore = 1000000; // captures and promotions sort above every history count
inline constexpr int VictimWeight = 10;      // any victim outweighs any attacker in the capture order

// The engine square of a board square (A8 -> 0 ... H1 -> 63).
constexpr int EngineSquare(Square sq) { return sq - 1; }

// One move as the search stores it: four bytes, Promote 0 or the piece code 1..4.
struct TEngineMove {
    std::uint8_t From = 0;
    std::uint8_t To = 0;
    std::uint8_t Promote = 0;
    std::uint8_t Bits = 0;

    friend bool operator==(const TEngineMove&, const TEngineMove&) = default;
};

// A generated move with the score that orders it.
struct TGenEntry {
    TEngineMove Move;
    std::int32_t Score = 0;
};

// Everything about a position besides what stands on each square: small enough that taking a move
// back restores it in one copy.
struct TPositionState {
    std::uint64_t Pieces[2][EnginePieceKinds] = {};
    std::uint64_t Occupied[2] = {};
    int Castle = 0;
    int Ep = -1;
    int Fifty = 0;
    int ValueSum[2] = {}; // the sums of the pieces' piece-square values
};

// What taking back a move needs that the board no longer shows.
struct TUndoEntry {
    TEngineMove Move;
    int Captured = EngineEmpty;
    TPositionState Before;
};

// The board with its move stacks. Colour and piece arrays are the truth; per-colour and per-piece
// square masks are kept beside them so that a side's pieces are visited in square order without
// scanning empty squares and so that attack tests look outward from the attacked square.
class TEngineBoard {
public:
    TEngineBoard();

    // Copies a position in and resets the per-search state (Fifty, Ply, the stack base). Castling
    // rights and an en-passant square that the placement contradicts are dropped, because making
    // such a move would conjure or destroy pieces.
    void Load(const TPositionSnapshot& position);

    int Color(int sq) const { return FColor[sq]; }
    int Piece(int sq) const { return FPiece[sq]; }
    int Side() const { return FSide; }
    int XSide() const { return FXSide; }
    int Castle() const { return FState.Castle; }
    int Ep() const { return FState.Ep; }
    int Fifty() const { return FState.Fifty; }
    int Ply() const { return FPly; }
    // Squares holding `piece` of `color`, bit n for square n.
    std::uint64_t Pieces(int color, int piece) const { return FState.Pieces[color][piece]; }

    // --- Move generation (at the current ply) ------------------------------------------------------
    void Generate();
    void GenerateCaptures();
    // In check: only the moves that may answer the check, without the king's steps that are refused
    // when made, in the order the search tries them, when that order follows from their scores alone;
    // otherwise the full list, as Generate. Either way the stack runs out where it would with the full
    // list written.
    void GenerateCheckAnswers(bool historyFixed = false);
    // The number of entries Generate writes for the position.
    int CountMoves() const { return CountMovesOf(FState, FSide); }
    // True when the last generation ran out of stack entries, counted as if every ply up to this one
    // had written its full list; the ply then has no moves.
    bool MoveStackFull() const { return FStackFull; }
    // Where the moves of `ply` (at most one past the current ply) would start had every ply before it
    // written its full list.
    int ExactFirstMove(int ply);
    int FirstMove(int ply) const { return FFirstMove[ply]; }
    int LastMove(int ply) const { return FLastMove[ply]; }
    TGenEntry& Entry(int i) { return FStack[i]; }
    const TGenEntry& Entry(int i) const { return FStack[i]; }
    // Moves the first of the highest-scored entries i .. LastMove(Ply) - 1 to position i. The search
    // tries the moves of a ply in the order this produces.
    void PickBest(int i);
    // PickBest(i) as the search calls it, giving where the ply's list now ends. In check most moves
    // would be refused; when the order in which PickBest would hand out the answers to the check
    // follows from their scores and places alone, the answers are moved to the front in that order
    // at the first pick and the list ends after them.
    int PickMove(int i) {
        if (FSafety[FPly].State == TCheckState::InCheck) return PickAnswer(i);
        PickBest(i);
        return FLastMove[FPly];
    }

    // --- Making moves ------------------------------------------------------------------------------
    bool EngineMakeMove(TEngineMove move) {
        // A move that is not of this position is refused too: the masks could not follow it.
        if (FColor[move.From] != FSide || LeavesCheckUnanswered(move.From, move.To, move.Bits)) return false;
        return MakeUnrefused(move);
    }
    void EngineTakeBack();
    bool InCheck(int s) const;
    bool Attacked(int sq, int s) const;
    // Attacked, with the lines blocked by `occupied` instead of the board's pieces.
    bool AttackedThrough(int sq, int s, std::uint64_t occupied) const;
    // The pieces of colour s that attack sq.
    std::uint64_t Attackers(int sq, int s) const;
    // InCheck(Side), remembered for this ply with the checkers: the moves made from here then need a
    // full attack test only when they might leave their own king attacked, and in check most are
    // refused without being made.
    bool SideToMoveInCheck();

    // --- History counters that order quiet moves ---------------------------------------------------
    int History(int from, int to) const { return FHistory[from][to]; }
    void AddHistory(int from, int to, int amount) { FHistory[from][to] += amount; }
    void ClearHistory();

    // Values per colour, piece and square whose sum over the pieces on the board is kept up to date as
    // pieces come and go, so that the evaluation reads its material and placement without a pass over
    // the board. The table must outlive its use; until one is set the sums are 0.
    using TPieceSquareValues = std::array<std::array<std::array<int, EngineSquares>, EnginePieceKinds>, 2>;
    void SetPieceSquareValues(const TPieceSquareValues& values);
    int PieceSquareSum(int color) const { return FState.ValueSum[color]; }

    // Leaf count of the pseudo-legal tree `depth` plies deep (moves refused by EngineMakeMove do not
    // count); nothing when the tree does not fit the per-ply tables or the move stack.
    std::optional<std::uint64_t> Perft(int depth);

private:
    // The generators append at `out`.
    template <bool CapturesOnly> void GenerateMoves();
    template <bool CapturesOnly> TGenEntry* WriteMoves(TGenEntry* out);
    TGenEntry* WriteFullList(TGenEntry* out);
    template <bool CapturesOnly> TGenEntry* GeneratePawnMoves(int sq, TGenEntry* out);
    template <bool CapturesOnly> void GeneratePieceMoves(int sq, int piece, TGenEntry*& out);
    template <bool CapturesOnly> TGenEntry* GenerateStepperMoves(int sq, int piece, TGenEntry* out);
    TGenEntry* GenerateSliderCaptures(int sq, int piece, TGenEntry* out);
    TGenEntry* GenerateSliderMoves(int sq, int piece, TGenEntry* out);
    std::uint64_t PawnsWithCaptures() const;
    TGenEntry* GenerateAnswers(TGenEntry* out);
    TGenEntry* GenerateKingAnswers(TGenEntry* out);
    TGenEntry* GeneratePawnAnswers(std::uint64_t answers, TGenEntry* out);
    static int SortByScore(TGenEntry* entries, int count);
    static int CountMovesOf(const TPositionState& state, int side);
    static int CountPawnMoves(const TPositionState& state, int side);
    static std::uint64_t EnPassantTakers(const TPositionState& state, int side);
    void EndList(int end);
    int UnwrittenAt(int ply);
    void CollectTied(int i);
    int PickAnswer(int i);
    int OrderCheckAnswers(int first, int last);
    void OrderTiedAnswers(int i);
    void GenerateCastling(TGenEntry*& out);
    void GenerateEnPassant(TGenEntry*& out);
    inline void PushMove(int from, int to, int bits, TGenEntry*& out);
    void PushPromotions(int from, int to, int bits, TGenEntry*& out);
    void Append(int from, int to, int promote, int bits, int score, TGenEntry*& out);
    int CaptureOrder(int from, int to) const {
        return CaptureScore + VictimWeight * FPiece[to] - FPiece[from];
    }
    bool MoveCastlingRook(int kingTo);
    int FittingCastlingRights(int rights) const;
    int FittingEnPassant(int ep) const;
    bool HasPiece(int sq, int color, int piece) const { return FColor[sq] == color && FPiece[sq] == piece; }

    bool MakeUnrefused(TEngineMove move);
    inline bool LeavesCheckUnanswered(int from, int to, int bits) const;
    inline bool MayExposeOwnKing(int from, int mover, int bits);
    std::uint64_t PinnedPieces() const;

    // Put and Lift change a square whose content is known; Place and Clear any square.
    inline void Put(int sq, int color, int piece);
    inline void Lift(int sq, int color, int piece);
    inline void Place(int sq, int color, int piece);
    inline void Clear(int sq);
    inline void Shift(int from, int to, int piece, int placed);
    inline void SetSquare(int sq, int color, int piece);

    std::array<int, EngineSquares> FColor{};
    std::array<int, EngineSquares> FPiece{};
    TPositionState FState;
    int FSide = EngineWhite;
    int FXSide = EngineBlack;
    int FPly = 0;

    // Room for the most moves one position can have, every square holding a piece that reaches as
    // many squares as a queen in the centre, plus castling and en passant: what one generation may
    // write past the end before its check.
    static constexpr int MostTargetsOfOnePiece = 27;
    static constexpr int CastlingAndEnPassantMoves = 4;
    static constexpr int MaxMovesPerPosition =
        EngineSquares * MostTargetsOfOnePiece + CastlingAndEnPassantMoves;
    std::array<TGenEntry, MoveStackSize + MaxMovesPerPosition> FStack{};
    std::array<int, EngineMaxPly> FFirstMove{};
    std::array<int, EngineMaxPly> FLastMove{};
    // In check only the answers are written. The entries of the full list left unwritten are counted
    // only when the stack might run out, which a bound on them rules out nearly always.
    struct TUnwritten {
        int Bound = 0;
        int Count = 0;
        bool Counted = true;
    };
    std::array<TUnwritten, EngineMaxPly> FUnwritten{};
    std::array<int, EngineMaxPly> FUnwrittenBoundBelow{}; // the sum of the bounds of the plies before
    // The entries sharing the highest score not yet picked at a ply: their positions are
    // FTiedAt[Next .. End - 1], valid while PickBest is called for NextPick.
    struct TTiedGroup {
        int NextPick = -1;
        int Next = 0;
        int End = 0;
        int AnswersEnd = -1; // in check, once the answers are in front: where they end
        int TiesFrom = -1;   // where answers start whose order is found when picking reaches them
    };
    std::array<TTiedGroup, EngineMaxPly> FTied{};
    std::array<std::int16_t, MoveStackSize> FTiedAt{};
    std::array<TUndoEntry, EngineMaxPly> FUndo{};
    static constexpr int MostOrderedAnswers = 64;
    std::array<TGenEntry, MostOrderedAnswers> FAnswersInOrder{};
    // What the side to move faces at each ply, found once per node.
    enum class TCheckState : std::uint8_t { Unknown, InCheck, NotInCheck };
    struct TKingSafety {
        TCheckState State = TCheckState::Unknown;
        bool PinsKnown = false;
        std::uint64_t Answers = 0; // in check: the squares a move other than the king's must reach
        std::uint64_t Pinned = 0;  // not in check: own pieces that alone shield the king from a slider
    };
    std::array<TKingSafety, EngineMaxPly + 1> FSafety{};
    int FHistory[EngineSquares][EngineSquares] = {};
    bool FStackFull = false;
    const TPieceSquareValues* FValues;
};

// Known before the move: in check, a move other than the king's (or an en-passant capture, which
// empties a second square) must take the only checker or step between it and the king; against two
// checkers only the king can move. Castling out of check is never allowed.
bool TEngineBoard::LeavesCheckUnanswered(int from, int to, int bits) const {
    const TKingSafety& safety = FSafety[FPly];
    if (safety.State != TCheckState::InCheck) return false;
    if (bits & MoveCastling) return true;
    if (FPiece[from] == EngineKing || (bits & MoveEnPassant)) return false;
    return (safety.Answers & (std::uint64_t{1} << to)) == 0;
}
