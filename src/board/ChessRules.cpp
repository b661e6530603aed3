#include "ChessRules.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr char BoardMarker = '_';
constexpr char Empty = ' ';

constexpr int DiagonalDirections[4][2] = {{-1, -1}, {-1, +1}, {+1, -1}, {+1, +1}};
constexpr int StraightDirections[4][2] = {{-1, 0}, {+1, 0}, {0, -1}, {0, +1}};
constexpr int KnightJumps[8][2] = {{-2, -1}, {-2, +1}, {+2, -1}, {+2, +1}, {-1, -2}, {-1, +2}, {+1, -2}, {+1, +2}};
constexpr int KingSteps[8][2] = {{-1, -1}, {-1, 0}, {-1, +1}, {0, -1}, {0, +1}, {+1, -1}, {+1, 0}, {+1, +1}};

constexpr int White = 1;
constexpr int Black = 0;
constexpr int NoColor = -1;

char ToLowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool IsPieceCharacter(char c) { return c != '\0' && PieceCharacters.find(c) != std::string_view::npos; }

// FNV-1a of a record's position; 0 is kept for "no position stored".
std::uint64_t HashText(std::string_view text) {
    if (text.empty()) return 0;
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
    return hash | 1;
}

int ColumnOf(bool whiteToMove) { return whiteToMove ? 0 : 1; }

// Material that still mates, counted per side; below MatingMaterial a side cannot force mate.
constexpr int MatingMaterial = 5;
int MaterialValue(char piece) {
    switch (ToLowerAscii(piece)) {
    case 'p': return 5;
    case 'n': return 2;
    case 'b': return 3;
    case 'r': return 5;
    case 'q': return 5;
    default: return 0;
    }
}

} // namespace

void THistoryRecord::SetPositionText(std::string_view text) {
    const size_t length = std::min<size_t>(text.size(), PositionCapacity);
    std::memset(Position, 0, sizeof Position);
    std::memcpy(Position, text.data(), length);
    PositionLength = static_cast<std::uint8_t>(length);
}

TChessRules::TChessRules()
    : FHistory(static_cast<size_t>(HistoryRows * HistoryColumns)),
      FHistoryHash(static_cast<size_t>(HistoryRows * PlayedColumns), 0) {
    FBoard[0] = BoardMarker;
    LoadPlacement(StartPosition);
    FBoard[65] = '\0';
}

// --- Position ----------------------------------------------------------------------------------------

std::string TChessRules::Position() const {
    const char* squares = FBoard.data() + 1;
    return std::string(squares, strnlen(squares, SquareCount));
}

void TChessRules::LoadPlacement(std::string_view value) {
    std::fill(FBoard.begin() + 1, FBoard.begin() + 1 + SquareCount, Empty);
    const size_t count = std::min<size_t>(value.size(), SquareCount);
    for (size_t i = 0; i < count; ++i) {
        const char c = value[i];
        if (c == '\0') break;
        if (IsPieceCharacter(c)) FBoard[i + 1] = c;
    }
}

void TChessRules::SetPosition(std::string_view value) {
    StopThinking();
    std::string lower(value);
    std::transform(lower.begin(), lower.end(), lower.begin(), ToLowerAscii);
    AbandonMove();
    LoadPlacement(lower == "init" || lower == "newgame" ? StartPosition : value);
    RepaintBoard();
}

void TChessRules::SetWhiteToMove(bool value) {
    StopThinking();
    AbandonMove();
    FWhiteToMove = value;
    InvalidateRepetition();
}

void TChessRules::SetEnPassant(Square value) {
    const bool storable = value == None || (value >= A6 && value <= H6) || (value >= A3 && value <= H3);
    if (!storable) return;
    StopThinking();
    AbandonMove();
    FEnPassant = value;
}

int TChessRules::PieceColorAt(int sq) const {
    if (sq < 0 || sq >= static_cast<int>(FBoard.size())) return NoColor;
    return PieceColorOf(FBoard[static_cast<size_t>(sq)]);
}

void TChessRules::FillMoveList(std::vector<std::string>& lines) const {
    for (int n = FFirstMoveNumber; n <= FLastMoveNumber; ++n) {
        for (int s = 0; s <= 1; ++s) {
            if (n == FLastMoveNumber && s == ColumnOf(FLastSideWhite)) return;
            std::string line = s == 0 ? std::to_string(n) + ". " : std::string(14, ' ');
            if (n == FFirstMoveNumber && s == 0 && !FFirstSideWhite) {
                line += " ...   ";
            } else {
                const THistoryRecord& record = HistoryRecord(n, s);
                line += SquareName(record.FromSq) + "-" + SquareName(record.ToSq);
            }
            lines.push_back(std::move(line));
        }
    }
}

// --- Movement rules -------------------------------------------------------------------------------

bool TChessRules::PawnMoveOk(int oldSq, int newSq) const {
    const int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    const bool white = PieceColorAt(oldSq) == White;
    const int forward = white ? +1 : -1;
    const int enemy = white ? Black : White;
    if (RankOf(newSq) == RankOf(oldSq) + forward) {
        if (df == 0) return PieceColorAt(newSq) == NoColor;
        if (df == 1) return PieceColorAt(newSq) == enemy || newSq == FEnPassant;
        return false;
    }
    const int startRank = white ? 2 : 7;
    const bool doubleStep = RankOf(oldSq) == startRank && RankOf(newSq) == startRank + 2 * forward && df == 0;
    return doubleStep && PieceColorAt(newSq) == NoColor && PieceColorAt((oldSq + newSq) / 2) == NoColor;
}

bool TChessRules::KnightMoveOk(int oldSq, int newSq) const {
    const int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    const int dr = std::abs(RankOf(newSq) - RankOf(oldSq));
    return (df == 2 && dr == 1) || (df == 1 && dr == 2);
}

bool TChessRules::SlideReaches(int oldSq, int newSq, const int (*directions)[2], int count) const {
    const int mover = PieceColorAt(oldSq);
    const int f = FileOf(oldSq);
    const int r = RankOf(oldSq);
    for (int d = 0; d < count; ++d) {
        for (int k = 1; k <= 7; ++k) {
            const Square sq = SquareAt(f + k * directions[d][0], r + k * directions[d][1]);
            if (sq == None) break;
            const int color = PieceColorAt(sq);
            if (color != mover && sq == newSq) return true;
            if (color != NoColor) break;
        }
    }
    return false;
}

bool TChessRules::BishopMoveOk(int oldSq, int newSq) const { return SlideReaches(oldSq, newSq, DiagonalDirections, 4); }
bool TChessRules::RookMoveOk(int oldSq, int newSq) const { return SlideReaches(oldSq, newSq, StraightDirections, 4); }
bool TChessRules::QueenMoveOk(int oldSq, int newSq) const {
    return BishopMoveOk(oldSq, newSq) || RookMoveOk(oldSq, newSq);
}

bool TChessRules::KingMoveOk(int oldSq, int newSq) const {
    const int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    const int dr = std::abs(RankOf(newSq) - RankOf(oldSq));
    if (df < 2 && dr < 2) return true;
    return CastlingMoveOk(oldSq, newSq);
}

bool TChessRules::CastlingMoveOk(int oldSq, int newSq) const {
    struct Castling {
        int from, to;
        CanStillCastle right;
        int rookSquare;
        char rook;
        std::array<int, 3> mustBeEmpty;
        int passedSquare;
    };
    // The king must not stand on, pass or land on an attacked square; b1 and b8 need only be empty.
    static constexpr Castling Castlings[] = {
        {E1, G1, WhiteKingSide, H1, 'R', {F1, G1, None}, F1},
        {E1, C1, WhiteQueenSide, A1, 'R', {B1, C1, D1}, D1},
        {E8, G8, BlackKingSide, H8, 'r', {F8, G8, None}, F8},
        {E8, C8, BlackQueenSide, A8, 'r', {B8, C8, D8}, D8},
    };
    for (const Castling& c : Castlings) {
        if (oldSq != c.from || newSq != c.to) continue;
        if (!(FCastlingAllowed & c.right) || FBoard[static_cast<size_t>(c.rookSquare)] != c.rook) return false;
        for (int sq : c.mustBeEmpty)
            if (sq != None && FBoard[static_cast<size_t>(sq)] != Empty) return false;
        const bool white = c.rook == 'R';
        return !KingAttackedAfter(white, c.from, c.from) && !KingAttackedAfter(white, c.from, c.passedSquare) &&
               !KingAttackedAfter(white, c.from, c.to);
    }
    return false;
}

bool TChessRules::MoveRuleHolds(char piece, int oldSq, int newSq) const {
    switch (ToLowerAscii(piece)) {
    case 'p': return PawnMoveOk(oldSq, newSq);
    case 'n': return KnightMoveOk(oldSq, newSq);
    case 'b': return BishopMoveOk(oldSq, newSq);
    case 'r': return RookMoveOk(oldSq, newSq);
    case 'q': return QueenMoveOk(oldSq, newSq);
    case 'k': return KingMoveOk(oldSq, newSq);
    default: return false;
    }
}

// --- King attack tests --------------------------------------------------------------------------

bool TChessRules::WhiteKingAttackedAfter(int oldSq, int newSq) const { return KingAttackedAfter(true, oldSq, newSq); }
bool TChessRules::BlackKingAttackedAfter(int oldSq, int newSq) const { return KingAttackedAfter(false, oldSq, newSq); }

// Looks outward from the king on a copy of the board with the trial move made. Without a black king
// the black side counts as attacked (so it cannot move); without a white king white never does.
bool TChessRules::KingAttackedAfter(bool white, int oldSq, int newSq) const {
    Board trial = FBoard;
    if (IsOnBoard(oldSq) && IsOnBoard(newSq)) {
        const char moving = trial[static_cast<size_t>(oldSq)];
        trial[static_cast<size_t>(oldSq)] = Empty;
        trial[static_cast<size_t>(newSq)] = moving;
        // An en-passant capture also takes the passed pawn off the board; leaving it there would
        // allow a capture that exposes the king and refuse one that removes a checking pawn.
        const Square victim = EnPassantVictim(moving, newSq);
        if (victim != None) trial[static_cast<size_t>(victim)] = Empty;
    }
    const char king = white ? 'K' : 'k';
    const void* found = std::memchr(trial.data() + 1, king, SquareCount);
    if (!found) return !white;
    const int kingSq = static_cast<int>(static_cast<const char*>(found) - trial.data());
    const int f = FileOf(kingSq);
    const int r = RankOf(kingSq);
    const char pawn = white ? 'p' : 'P';
    const char knight = white ? 'n' : 'N';
    const char bishop = white ? 'b' : 'B';
    const char rook = white ? 'r' : 'R';
    const char queen = white ? 'q' : 'Q';
    const char enemyKing = white ? 'k' : 'K';
    const int pawnRank = white ? r + 1 : r - 1;

    auto at = [&trial](int file, int rank) { return trial[static_cast<size_t>(SquareAt(file, rank))]; };
    if (at(f - 1, pawnRank) == pawn || at(f + 1, pawnRank) == pawn) return true;
    for (const auto& jump : KnightJumps)
        if (at(f + jump[0], r + jump[1]) == knight) return true;

    auto rayHits = [&](const int (*directions)[2], char slider) {
        for (int d = 0; d < 4; ++d) {
            for (int k = 1; k <= 7; ++k) {
                const Square sq = SquareAt(f + k * directions[d][0], r + k * directions[d][1]);
                if (sq == None) break;
                const char c = trial[static_cast<size_t>(sq)];
                if (c == Empty) continue;
                if (c == queen || c == slider || (k == 1 && c == enemyKing)) return true;
                break;
            }
        }
        return false;
    };
    return rayHits(DiagonalDirections, bishop) || rayHits(StraightDirections, rook);
}

// --- Legality -----------------------------------------------------------------------------------

bool TChessRules::IsLegalMove(int oldSq, int newSq) const {
    if (!IsOnBoard(oldSq) || !IsOnBoard(newSq)) return false;
    if (IsThreefoldRepetition()) return false;
    return IsLegalForColor(oldSq, newSq, FWhiteToMove ? White : Black);
}

// The legality steps after the bounds and repetition checks: the mover's piece, its own rule, its king.
bool TChessRules::IsLegalForColor(int oldSq, int newSq, int color) const {
    if (PieceColorAt(oldSq) != color) return false;
    if (PieceColorAt(oldSq) == PieceColorAt(newSq)) return false;
    if (!MoveRuleHolds(FBoard[static_cast<size_t>(oldSq)], oldSq, newSq)) return false;
    return !KingAttackedAfter(color == White, oldSq, newSq);
}

bool TChessRules::HasLegalMove() const { return !IsThreefoldRepetition() && HasMoveByChessRules(); }

bool TChessRules::HasMoveByChessRules() const {
    const int color = FWhiteToMove ? White : Black;
    for (int sq = 1; sq <= SquareCount; ++sq)
        if (IsOwnPiece(sq, color) && AnyLegalTargetFrom(sq, color)) return true;
    return false;
}

// Tries only the squares the piece's movement rule can reach at all, instead of all 64.
bool TChessRules::AnyLegalTargetFrom(int oldSq, int color) const {
    const int f = FileOf(oldSq);
    const int r = RankOf(oldSq);
    auto legal = [&](int newSq) { return newSq != None && IsLegalForColor(oldSq, newSq, color); };
    auto anyOf = [&](const int (*steps)[2], int count, int reach) {
        for (int d = 0; d < count; ++d)
            for (int k = 1; k <= reach; ++k) {
                const Square sq = SquareAt(f + k * steps[d][0], r + k * steps[d][1]);
                if (sq == None) break;
                if (legal(sq)) return true;
                if (PieceColorAt(sq) != NoColor) break;
            }
        return false;
    };
    switch (ToLowerAscii(FBoard[static_cast<size_t>(oldSq)])) {
    case 'p': {
        const int forward = color == White ? +1 : -1;
        return legal(SquareAt(f, r + forward)) || legal(SquareAt(f - 1, r + forward)) ||
               legal(SquareAt(f + 1, r + forward)) || legal(SquareAt(f, r + 2 * forward));
    }
    case 'n': return anyOf(KnightJumps, 8, 1);
    case 'b': return anyOf(DiagonalDirections, 4, 7);
    case 'r': return anyOf(StraightDirections, 4, 7);
    case 'q': return anyOf(DiagonalDirections, 4, 7) || anyOf(StraightDirections, 4, 7);
    case 'k':
        return anyOf(KingSteps, 8, 1) || legal(oldSq + 2 <= SquareCount ? oldSq + 2 : None) ||
               legal(oldSq - 2 >= 1 ? oldSq - 2 : None);
    default: return false;
    }
}

// --- History and repetition ---------------------------------------------------------------------

const THistoryRecord& TChessRules::HistoryRecord(int moveNo, int column) const {
    static const THistoryRecord Unused{};
    if (moveNo < 0 || moveNo >= HistoryRows || column < 0 || column >= HistoryColumns) return Unused;
    return FHistory[static_cast<size_t>(moveNo * HistoryColumns + column)];
}

void TChessRules::SetHistoryRecord(int moveNo, int column, const THistoryRecord& record) {
    if (moveNo < 0 || moveNo >= HistoryRows || column < 0 || column >= HistoryColumns) return;
    const size_t index = static_cast<size_t>(moveNo * HistoryColumns + column);
    FHistory[index] = record;
    IndexRecord(moveNo, column);
}

THistoryRecord& TChessRules::Record(int moveNo, bool whiteToMove) {
    return FHistory[static_cast<size_t>(moveNo * HistoryColumns + ColumnOf(whiteToMove))];
}

void TChessRules::StorePosition(THistoryRecord& record) {
    record.SetPositionText(Position());
    record.Castling = FCastlingAllowed;
    record.EnPassantSq = static_cast<std::uint8_t>(FEnPassant);
    const auto index = static_cast<int>(&record - FHistory.data());
    IndexRecord(index / HistoryColumns, index % HistoryColumns);
}

// The record of the position on the board as the end of the line (FromSq and ToSq stay as they are).
void TChessRules::StoreNewPosition() {
    StorePosition(Record(FCurrentMove, FWhiteToMove));
    FLastMoveNumber = FCurrentMove;
    FLastSideWhite = FWhiteToMove;
}

bool TChessRules::IsThreefoldRepetition() const {
    if (!FRepetitionKnown) {
        FRepetition = CountRepetitions();
        FRepetitionKnown = true;
    }
    return FRepetition;
}

// Keeps the hash of a played record and the index from hashes to records up to date.
void TChessRules::IndexRecord(int moveNo, int column) {
    InvalidateRepetition();
    if (column >= PlayedColumns) return;
    const int played = moveNo * PlayedColumns + column;
    std::uint64_t& hash = FHistoryHash[static_cast<size_t>(played)];
    if (hash != 0) {
        auto bucket = FRecordsByHash.find(hash);
        std::erase(bucket->second, played);
        if (bucket->second.empty()) FRecordsByHash.erase(bucket);
    }
    hash = HashText(HistoryRecord(moveNo, column).PositionText());
    if (hash != 0) FRecordsByHash[hash].push_back(played);
}

// Counts the earlier records, from record (1, 0) up to the current one, that hold the current
// record's placement. Only records with the same hash are looked at, so the cost does not grow
// with the length of the game.
bool TChessRules::CountRepetitions() const {
    if (FCurrentMove < 1 || FCurrentMove > LastHistoryMove) return false;
    const int column = ColumnOf(FWhiteToMove);
    const int current = FCurrentMove * PlayedColumns + column;
    const int first = PlayedColumns;
    const std::uint64_t hash = FHistoryHash[static_cast<size_t>(current)];
    int count = 0;
    if (hash == 0) { // no position stored: equal to every other empty record
        for (int i = first; i < current; ++i)
            if (FHistoryHash[static_cast<size_t>(i)] == 0 && ++count >= 2) return true;
        return false;
    }
    const std::string_view text = HistoryRecord(FCurrentMove, column).PositionText();
    for (int played : FRecordsByHash.at(hash)) {
        if (played < first || played >= current) continue;
        if (HistoryRecord(played / PlayedColumns, played % PlayedColumns).PositionText() == text && ++count >= 2)
            return true;
    }
    return false;
}

// --- Making moves ---------------------------------------------------------------------------------

void TChessRules::StopThinking() {
    StopEngineSearch();
    FStopRequested = true;
}

bool TChessRules::PlayMove(int oldSq, int newSq) {
    StopThinking();
    const std::weak_ptr<const bool> life = FLife;
    const bool made = SlideAndMakeMove(oldSq, newSq, '\0', true);
    // A refused or given-up move leaves the engine where it was before the try.
    if (!made && !life.expired()) ResumeEngine();
    return made;
}

void TChessRules::ResumeEngine() {
    FStopRequested = false;
    StartEngine();
}

bool TChessRules::MakeMove(int oldSq, int newSq) { return MakeMove(oldSq, newSq, '\0'); }

bool TChessRules::MakeMove(int oldSq, int newSq, char promotion) {
    return SlideAndMakeMove(oldSq, newSq, promotion, false);
}

bool TChessRules::SlideAndMakeMove(int oldSqIn, int newSqIn, char promotion, bool resumesEngine) {
    if (FPromotionInProgress || MoveInProgress()) return false;
    if (HistoryFull()) return false;
    FGameOver = false;
    if (!IsLegalMove(oldSqIn, newSqIn)) return false;
    const Square oldSq = static_cast<Square>(oldSqIn);
    const Square newSq = static_cast<Square>(newSqIn);

    bool landed = false;
    const int move = FActiveMove = ++FMoveSerial;
    FMoveUnderWay = {oldSq, newSq, promotion, resumesEngine, &landed};
    const std::weak_ptr<const bool> life = FLife;
    // The slide lets the event loop run: the board may be destroyed or set up anew meanwhile, and
    // then the move is dropped without a trace. A board that slides lands the move itself.
    ShowMoveStart(oldSq, newSq);
    if (life.expired()) return false;
    if (FActiveMove == move) LandMove();
    return landed;
}

void TChessRules::LandMove() {
    if (!FMoveUnderWay.Landed) return; // given up, or landed already
    const TMoveUnderWay move = std::exchange(FMoveUnderWay, {});
    *move.Landed = true;
    CarryOutMove(move.From, move.To, move.Promotion);
    FActiveMove = 0;
    MoveMade();
    if (move.ResumesEngine) ResumeEngine();
}

// A new position or side to move replaces the one a sliding move started from.
void TChessRules::AbandonMove() {
    if (!MoveInProgress()) return;
    FActiveMove = 0;
    FMoveUnderWay = {};
    MoveAbandoned();
}

// Everything of a move after its slide: the board, the history and the events, in their order.
void TChessRules::CarryOutMove(Square oldSq, Square newSq, char promotion) {
    bool givesCheck = WhiteKingAttackedAfter(oldSq, newSq) || BlackKingAttackedAfter(oldSq, newSq);
    bool drawn = false;

    THistoryRecord& before = Record(FCurrentMove, FWhiteToMove);
    StorePosition(before);
    before.FromSq = static_cast<std::uint8_t>(oldSq);
    before.ToSq = static_cast<std::uint8_t>(newSq);

    const char captured = FBoard[newSq];
    FBoard[newSq] = FBoard[oldSq];
    FBoard[oldSq] = Empty;
    RedrawSquare(newSq);

    if (!FWhiteToMove) ++FCurrentMove;
    FWhiteToMove = !FWhiteToMove;
    // The new position's record is written as soon as the line advances, so nothing asked during
    // this move reads a record left from a line taken back or an earlier game; it is written again
    // once promotion, en passant and castling have completed the position.
    StoreNewPosition();

    if (OnLegalMove) OnLegalMove(*this, oldSq, newSq);
    if (captured != Empty && OnCapture) OnCapture(*this, oldSq, newSq, captured);
    PromoteIfOnLastRank(oldSq, newSq, promotion, givesCheck);
    CaptureEnPassant(oldSq, newSq); // before the en-passant square changes

    const char landed = FBoard[newSq];
    const bool doubleStep = (landed == 'P' && RankOf(oldSq) == 2 && RankOf(newSq) == 4) ||
                            (landed == 'p' && RankOf(oldSq) == 7 && RankOf(newSq) == 5);
    FEnPassant = doubleStep ? static_cast<Square>((oldSq + newSq) / 2) : None;

    MoveCastlingRook(oldSq, newSq);
    UpdateCastlingRights(oldSq);

    StoreNewPosition();
    const bool hasMoves = HasMoveByChessRules();
    if (givesCheck) {
        if (OnCheck) OnCheck(*this, oldSq, newSq);
        if (!hasMoves && OnMate) {
            FGameOver = true;
            OnMate(*this, oldSq, newSq);
        }
    } else if (!hasMoves) {
        if (OnStaleMate) OnStaleMate(*this, oldSq, newSq);
        drawn = true;
    }
    if (MatingMaterialMissing()) {
        if (OnNoMatingMaterial) OnNoMatingMaterial(*this);
        drawn = true;
    }

    if (IsThreefoldRepetition()) {
        if (OnThreefoldPosition) OnThreefoldPosition(*this);
        drawn = true;
    }
    if (drawn && OnDraw) {
        FGameOver = true;
        OnDraw(*this);
    }
    if (OnPaint) OnPaint(*this);
    if (FGameOver) AbortEngineSearch();
}

namespace {
// A pawn may only become a knight, bishop, rook or queen; anything else would put a character on
// the board that no rule knows.
bool IsPromotionPiece(char piece) {
    const char upper = ToUpperAscii(piece);
    return upper == 'N' || upper == 'B' || upper == 'R' || upper == 'Q';
}
} // namespace

void TChessRules::PromoteIfOnLastRank(Square oldSq, Square newSq, char chosen, bool& givesCheck) {
    const char pawn = FBoard[newSq];
    const int rank = RankOf(newSq);
    if ((pawn != 'P' && pawn != 'p') || (rank != 8 && rank != 1)) return;
    if (IsPromotionPiece(chosen)) FPromotionPiece = chosen;
    if (OnPromotion) {
        FPromotionInProgress = true;
        char choice = FPromotionPiece;
        OnPromotion(*this, oldSq, newSq, choice);
        FPromotionInProgress = false;
        FPromotionPiece = IsPromotionPiece(choice) ? choice : 'q';
    }
    const char upper = ToUpperAscii(FPromotionPiece);
    FBoard[newSq] = rank == 8 ? upper : static_cast<char>(upper + 32);
    RedrawSquare(newSq);
    givesCheck = WhiteKingAttackedAfter(newSq, newSq) || BlackKingAttackedAfter(newSq, newSq);
}

// The pawn that `pawn` takes en passant by landing on `newSq`, or None when the move takes none.
Square TChessRules::EnPassantVictim(char pawn, int newSq) const {
    if (newSq != FEnPassant || FEnPassant == None) return None;
    if (RankOf(newSq) == 6 && pawn == 'P') return SquareAt(FileOf(newSq), 5);
    if (RankOf(newSq) == 3 && pawn == 'p') return SquareAt(FileOf(newSq), 4);
    return None;
}

void TChessRules::CaptureEnPassant(Square oldSq, Square newSq) {
    const Square victim = EnPassantVictim(FBoard[newSq], newSq);
    if (victim == None) return;
    if (OnCapture) OnCapture(*this, oldSq, newSq, FBoard[victim]);
    FBoard[victim] = Empty;
    RedrawSquare(victim);
}

void TChessRules::MoveCastlingRook(Square oldSq, Square newSq) {
    struct RookMove {
        Square kingFrom, kingTo, rookFrom, rookTo;
        char king, rook;
    };
    static constexpr RookMove RookMoves[] = {
        {E1, G1, H1, F1, 'K', 'R'},
        {E1, C1, A1, D1, 'K', 'R'},
        {E8, G8, H8, F8, 'k', 'r'},
        {E8, C8, A8, D8, 'k', 'r'},
    };
    for (const RookMove& m : RookMoves) {
        if (oldSq != m.kingFrom || newSq != m.kingTo || FBoard[newSq] != m.king) continue;
        FBoard[m.rookTo] = m.rook;
        FBoard[m.rookFrom] = Empty;
        RedrawSquare(m.rookTo);
        RedrawSquare(m.rookFrom);
        if (OnCastle) OnCastle(*this, oldSq, newSq);
        return;
    }
}

void TChessRules::UpdateCastlingRights(Square oldSq) {
    switch (oldSq) {
    case E1: FCastlingAllowed &= static_cast<CastleSet>(~(WhiteKingSide | WhiteQueenSide)); break;
    case H1: FCastlingAllowed &= static_cast<CastleSet>(~WhiteKingSide); break;
    case A1: FCastlingAllowed &= static_cast<CastleSet>(~WhiteQueenSide); break;
    case E8: FCastlingAllowed &= static_cast<CastleSet>(~(BlackKingSide | BlackQueenSide)); break;
    case H8: FCastlingAllowed &= static_cast<CastleSet>(~BlackKingSide); break;
    case A8: FCastlingAllowed &= static_cast<CastleSet>(~BlackQueenSide); break;
    default: break;
    }
}

// Each side may keep at most one minor piece or two knights; bishops' colours do not matter.
bool TChessRules::MatingMaterialMissing() const {
    int white = 0;
    int black = 0;
    for (int sq = 1; sq <= SquareCount; ++sq) {
        const int color = PieceColorAt(sq);
        if (color == White) white += MaterialValue(FBoard[static_cast<size_t>(sq)]);
        if (color == Black) black += MaterialValue(FBoard[static_cast<size_t>(sq)]);
    }
    return white < MatingMaterial && black < MatingMaterial;
}

// --- Game line navigation ---------------------------------------------------------------------

void TChessRules::NewGame() {
    StopThinking();
    AbandonMove();
    LoadPlacement(StartPosition);
    FWhiteToMove = true;
    FCurrentMove = 1;
    FFirstMoveNumber = 1;
    FFirstSideWhite = true;
    FLastMoveNumber = 1;
    FLastSideWhite = true;
    FEnPassant = None;
    FCastlingAllowed = AllCastlingRights;
    InvalidateRepetition();
    RepaintBoard();
}

bool TChessRules::GotoMove(int moveNo, bool whiteToMove) {
    StopThinking();
    if (moveNo > FLastMoveNumber || moveNo > LastHistoryMove) return false;
    if (moveNo == FLastMoveNumber && FLastSideWhite && !whiteToMove) return false;
    if (moveNo < FFirstMoveNumber || moveNo < 1) return false;
    if (moveNo == FFirstMoveNumber && !FFirstSideWhite && whiteToMove) return false;
    AbandonMove();

    FCurrentMove = moveNo;
    FWhiteToMove = whiteToMove;
    InvalidateRepetition();
    const std::string oldPosition = Position();
    const THistoryRecord& record = Record(moveNo, whiteToMove);
    LoadPlacement(record.PositionText());
    const Square enPassant = static_cast<Square>(record.EnPassantSq);
    const bool storable = enPassant == None || (enPassant >= A6 && enPassant <= H6) ||
                          (enPassant >= A3 && enPassant <= H3);
    FEnPassant = storable ? enPassant : None;
    FCastlingAllowed = record.Castling;
    RedrawChangedSquares(oldPosition);
    return true;
}

bool TChessRules::TakeBackMove() {
    return FWhiteToMove ? GotoMove(FCurrentMove - 1, false) : GotoMove(FCurrentMove, true);
}

bool TChessRules::ReplayMove() {
    return FWhiteToMove ? GotoMove(FCurrentMove, false) : GotoMove(FCurrentMove + 1, true);
}
