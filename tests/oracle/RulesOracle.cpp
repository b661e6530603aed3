#include "RulesOracle.h"

#include <cstdlib>

namespace oracle {

namespace {

int FileOf(int sq) { return ((sq - 1) % 8) + 1; }
int RankOf(int sq) { return 8 - ((sq - 1) / 8); }
int SquareAt(int f, int r) {
    if (f < 1 || f > 8 || r < 1 || r > 8) return 0;
    return (8 - r) * 8 + f;
}
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
const char* StartArray = "_rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
const std::string Accepted = " PNBRQKpnbrqk";

// The king-attack test as written for white; black's is its mirror with the letters swapped, the
// pawns one rank lower, and a missing king counting as attacked.
struct Attackers {
    char king, pawn, knight, bishop, rook, queen, enemyKing;
    int pawnRank; // +1: enemy pawns stand above the king, -1: below
    bool noKingAttacked;
};
const Attackers WhiteKing{'K', 'p', 'n', 'b', 'r', 'q', 'k', +1, false};
const Attackers BlackKing{'k', 'P', 'N', 'B', 'R', 'Q', 'K', -1, true};

bool Attacked(const std::string& p, const Attackers& a) { // p: 64 chars, index 0 = a8
    int king = 0;
    for (int i = 1; i <= 64; ++i)
        if (p[i - 1] == a.king) { king = i; break; }
    if (king == 0) return a.noKingAttacked;
    auto at = [&](int sq) { return sq == 0 ? '_' : p[sq - 1]; };
    int f = FileOf(king), r = RankOf(king);
    if (at(SquareAt(f - 1, r + a.pawnRank)) == a.pawn || at(SquareAt(f + 1, r + a.pawnRank)) == a.pawn) return true;
    const int kn[8][2] = {{2, 1}, {2, -1}, {-2, 1}, {-2, -1}, {1, 2}, {1, -2}, {-1, 2}, {-1, -2}};
    for (auto& k : kn)
        if (at(SquareAt(f + k[0], r + k[1])) == a.knight) return true;
    const int dirs[8][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int d = 0; d < 8; ++d) {
        const char slider = d < 4 ? a.bishop : a.rook;
        for (int k = 1; k <= 7; ++k) {
            int sq = SquareAt(f + k * dirs[d][0], r + k * dirs[d][1]);
            if (sq == 0) break;
            char c = at(sq);
            if (c == a.queen || c == slider) return true;
            if (k == 1 && c == a.enemyKing) return true;
            if (c != ' ') break;
        }
    }
    return false;
}

std::string Sq(int sq) { return std::to_string(sq); }

} // namespace

Rules::Rules() {
    for (int i = 0; i < 65; ++i) Board[i] = StartArray[i];
    Board[65] = '\0';
}

std::string Rules::Position() const { return std::string(Board + 1); }

void Rules::SetPosition(const std::string& value) {
    for (int i = 1; i <= 64; ++i) Board[i] = ' ';
    int n = int(value.size()) < 64 ? int(value.size()) : 64;
    for (int i = 1; i <= n; ++i) {
        char c = value[i - 1];
        if (c == '\0') break;
        if (Accepted.find(c) != std::string::npos) Board[i] = c;
    }
    std::string lower;
    for (char c : value) lower += Lower(c);
    if (lower == "init" || lower == "newgame")
        for (int i = 0; i < 65; ++i) Board[i] = StartArray[i];
}

void Rules::SetEnPassant(int value) {
    if (value == 0 || (value >= 17 && value <= 24) || (value >= 41 && value <= 48)) EnPassant = value;
}

int Rules::PieceColorAt(int sq) const {
    int code = (unsigned char)Board[sq];
    if (code >= 98 && code <= 114) return 0;
    if (code < 66) return -1;
    if (code > 82) return -1;
    return 1;
}

std::vector<std::string> Rules::MoveList() const {
    std::vector<std::string> lines;
    for (int n = FirstMoveNumber; n <= LastMoveNumber; ++n)
        for (int s = 0; s <= 1; ++s) {
            if (n == LastMoveNumber && s == 0 && LastSideWhite) return lines;
            if (n == LastMoveNumber && s == 1 && !LastSideWhite) return lines;
            std::string line = s == 0 ? std::to_string(n) + ". " : std::string(14, ' ');
            if (n == FirstMoveNumber && s == 0 && !FirstSideWhite) {
                line += " ...   ";
            } else {
                const HistoryRecord& h = History[n][s];
                line += char(FileOf(h.FromSq) + 64);
                line += char('0' + RankOf(h.FromSq));
                line += "-";
                line += char(FileOf(h.ToSq) + 64);
                line += char('0' + RankOf(h.ToSq));
            }
            lines.push_back(line);
        }
    return lines;
}

bool Rules::PawnMoveOk(int oldSq, int newSq) const {
    int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    if (PieceColorAt(oldSq) == 1) {
        if (RankOf(newSq) == RankOf(oldSq) + 1) {
            if (df == 0) return PieceColorAt(newSq) == -1;
            if (df == 1) return PieceColorAt(newSq) == 0 || newSq == EnPassant;
            return false;
        }
        return RankOf(oldSq) == 2 && RankOf(newSq) == 4 && df == 0 && PieceColorAt(newSq) == -1 &&
               PieceColorAt((oldSq + newSq) / 2) == -1;
    }
    if (RankOf(newSq) == RankOf(oldSq) - 1) {
        if (df == 0) return PieceColorAt(newSq) == -1;
        if (df == 1) return PieceColorAt(newSq) == 1 || newSq == EnPassant;
        return false;
    }
    return RankOf(oldSq) == 7 && RankOf(newSq) == 5 && df == 0 && PieceColorAt(newSq) == -1 &&
           PieceColorAt((oldSq + newSq) / 2) == -1;
}

bool Rules::KnightMoveOk(int oldSq, int newSq) const {
    int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    int dr = std::abs(RankOf(newSq) - RankOf(oldSq));
    return (df == 2 && dr == 1) || (df == 1 && dr == 2);
}

bool Rules::RayReaches(int oldSq, int newSq, const int dirs[4][2]) const {
    int f = FileOf(oldSq), r = RankOf(oldSq);
    int mover = PieceColorAt(oldSq);
    for (int d = 0; d < 4; ++d)
        for (int k = 1; k <= 7; ++k) {
            int sq = SquareAt(f + k * dirs[d][0], r + k * dirs[d][1]);
            if (sq == 0) continue; // an off-board point reads as empty and never equals newSq
            if (PieceColorAt(sq) != mover && sq == newSq) return true;
            if (PieceColorAt(sq) != -1) break;
        }
    return false;
}

bool Rules::BishopMoveOk(int oldSq, int newSq) const {
    const int dirs[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    return RayReaches(oldSq, newSq, dirs);
}

bool Rules::RookMoveOk(int oldSq, int newSq) const {
    const int dirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    return RayReaches(oldSq, newSq, dirs);
}

bool Rules::QueenMoveOk(int oldSq, int newSq) const { return BishopMoveOk(oldSq, newSq) || RookMoveOk(oldSq, newSq); }

bool Rules::KingMoveOk(int oldSq, int newSq) const {
    int df = std::abs(FileOf(newSq) - FileOf(oldSq));
    int dr = std::abs(RankOf(newSq) - RankOf(oldSq));
    if (df < 2 && dr < 2) return true;
    if (oldSq == 61 && newSq == 63)
        return (CastlingAllowed & 1) && Board[64] == 'R' && Board[62] == ' ' && Board[63] == ' ' &&
               !WhiteKingAttackedAfter(61, 61) && !WhiteKingAttackedAfter(61, 62) && !WhiteKingAttackedAfter(61, 63);
    if (oldSq == 61 && newSq == 59)
        return (CastlingAllowed & 2) && Board[57] == 'R' && Board[58] == ' ' && Board[59] == ' ' &&
               Board[60] == ' ' && !WhiteKingAttackedAfter(61, 61) && !WhiteKingAttackedAfter(61, 60) &&
               !WhiteKingAttackedAfter(61, 59);
    if (oldSq == 5 && newSq == 7)
        return (CastlingAllowed & 4) && Board[8] == 'r' && Board[6] == ' ' && Board[7] == ' ' &&
               !BlackKingAttackedAfter(5, 5) && !BlackKingAttackedAfter(5, 6) && !BlackKingAttackedAfter(5, 7);
    if (oldSq == 5 && newSq == 3)
        return (CastlingAllowed & 8) && Board[1] == 'r' && Board[2] == ' ' && Board[3] == ' ' && Board[4] == ' ' &&
               !BlackKingAttackedAfter(5, 5) && !BlackKingAttackedAfter(5, 4) && !BlackKingAttackedAfter(5, 3);
    return false;
}

// Mended: an en-passant trial move takes the passed pawn off the copy, as the real move does.
void Rules::RemovePassedPawn(std::string& copy, char moving, int newSq) const {
    if (newSq != EnPassant) return;
    if (RankOf(newSq) == 6 && moving == 'P') copy[SquareAt(FileOf(newSq), 5) - 1] = ' ';
    if (RankOf(newSq) == 3 && moving == 'p') copy[SquareAt(FileOf(newSq), 4) - 1] = ' ';
}

bool Rules::WhiteKingAttackedAfter(int oldSq, int newSq) const {
    std::string copy = Position();
    char c = copy[oldSq - 1];
    copy[oldSq - 1] = ' ';
    copy[newSq - 1] = c;
    RemovePassedPawn(copy, c, newSq);
    return Attacked(copy, WhiteKing);
}

bool Rules::BlackKingAttackedAfter(int oldSq, int newSq) const {
    std::string copy = Position();
    char c = copy[oldSq - 1];
    copy[oldSq - 1] = ' ';
    copy[newSq - 1] = c;
    RemovePassedPawn(copy, c, newSq);
    return Attacked(copy, BlackKing);
}

bool Rules::IsLegalMove(int oldSq, int newSq) const {
    return !IsThreefoldRepetition() && IsLegalByChessRules(oldSq, newSq);
}

bool Rules::IsLegalByChessRules(int oldSq, int newSq) const {
    if (oldSq < 1 || oldSq > 64 || newSq < 1 || newSq > 64) return false;
    if (WhiteToMove && PieceColorAt(oldSq) != 1) return false;
    if (!WhiteToMove && PieceColorAt(oldSq) != 0) return false;
    if (PieceColorAt(oldSq) == PieceColorAt(newSq)) return false;
    bool ok = false;
    switch (Lower(Board[oldSq])) {
    case 'p': ok = PawnMoveOk(oldSq, newSq); break;
    case 'n': ok = KnightMoveOk(oldSq, newSq); break;
    case 'b': ok = BishopMoveOk(oldSq, newSq); break;
    case 'r': ok = RookMoveOk(oldSq, newSq); break;
    case 'q': ok = QueenMoveOk(oldSq, newSq); break;
    case 'k': ok = KingMoveOk(oldSq, newSq); break;
    }
    if (!ok) return false;
    if (PieceColorAt(oldSq) == 0) return !BlackKingAttackedAfter(oldSq, newSq);
    return !WhiteKingAttackedAfter(oldSq, newSq);
}

bool Rules::HasLegalMove() const { return !IsThreefoldRepetition() && HasMoveByChessRules(); }

bool Rules::HasMoveByChessRules() const {
    for (int o = 1; o <= 64; ++o) {
        if (PieceColorAt(o) != (WhiteToMove ? 1 : 0)) continue;
        for (int n = 1; n <= 64; ++n) {
            if (!IsLegalByChessRules(o, n)) continue;
            if (WhiteToMove ? !WhiteKingAttackedAfter(o, n) : !BlackKingAttackedAfter(o, n)) return true;
        }
    }
    return false;
}

bool Rules::IsThreefoldRepetition() const {
    int col = WhiteToMove ? 0 : 1;
    const std::string& current = History[CurrentMove][col].Position;
    int count = 0;
    for (int n = CurrentMove; n >= 1; --n)
        for (int s = 1; s >= 0; --s) {
            if (n == CurrentMove && s >= col) continue;
            if (History[n][s].Position == current) ++count;
        }
    return count >= 2;
}

bool Rules::MakeMove(int oldSq, int newSq) {
    if (!WhiteToMove && CurrentMove >= 256) return false; // no history row for the next position
    GameOver = false;
    if (!IsLegalMove(oldSq, newSq)) return false;
    bool givesCheck = WhiteKingAttackedAfter(oldSq, newSq) || BlackKingAttackedAfter(oldSq, newSq);
    bool drawn = false;
    HistoryRecord& before = History[CurrentMove][WhiteToMove ? 0 : 1];
    before.Position = Position();
    before.Castling = CastlingAllowed;
    before.FromSq = uint8_t(oldSq);
    before.ToSq = uint8_t(newSq);
    before.EnPassantSq = uint8_t(EnPassant);
    char captured = Board[newSq];
    Board[newSq] = Board[oldSq];
    Board[oldSq] = ' ';
    if (!WhiteToMove) CurrentMove++;
    WhiteToMove = !WhiteToMove;
    StoreNewPosition(); // mended: no record of a line taken back is read during this move
    Raise("LegalMove " + Sq(oldSq) + " " + Sq(newSq));
    if (captured != ' ') Raise("Capture " + Sq(oldSq) + " " + Sq(newSq) + " " + captured);
    if ((Board[newSq] == 'P' || Board[newSq] == 'p') && (RankOf(newSq) == 8 || RankOf(newSq) == 1)) {
        if (PromotionHandler) {
            PromotionPiece = PromotionHandler(oldSq, newSq, PromotionPiece);
            Raise("Promotion " + Sq(oldSq) + " " + Sq(newSq) + " " + PromotionPiece);
        }
        if (RankOf(newSq) == 8) Board[newSq] = Upper(PromotionPiece);
        else Board[newSq] = char(Upper(PromotionPiece) + 32);
        givesCheck = WhiteKingAttackedAfter(newSq, newSq) || BlackKingAttackedAfter(newSq, newSq);
    }
    if (newSq == EnPassant) {
        int cap = 0;
        if (RankOf(newSq) == 6 && Board[newSq] == 'P') cap = SquareAt(FileOf(newSq), 5);
        if (RankOf(newSq) == 3 && Board[newSq] == 'p') cap = SquareAt(FileOf(newSq), 4);
        if (cap != 0) {
            Raise("Capture " + Sq(oldSq) + " " + Sq(newSq) + " " + Board[cap]);
            Board[cap] = ' ';
        }
    }
    if ((Board[newSq] == 'P' && RankOf(oldSq) == 2 && RankOf(newSq) == 4) ||
        (Board[newSq] == 'p' && RankOf(oldSq) == 7 && RankOf(newSq) == 5))
        EnPassant = (oldSq + newSq) / 2;
    else
        EnPassant = 0;
    bool castled = false;
    if (Board[newSq] == 'K' && oldSq == 61) {
        if (newSq == 63) { Board[62] = 'R'; Board[64] = ' '; castled = true; }
        if (newSq == 59) { Board[60] = 'R'; Board[57] = ' '; castled = true; }
    }
    if (Board[newSq] == 'k' && oldSq == 5) {
        if (newSq == 7) { Board[6] = 'r'; Board[8] = ' '; castled = true; }
        if (newSq == 3) { Board[4] = 'r'; Board[1] = ' '; castled = true; }
    }
    if (castled) Raise("Castle " + Sq(oldSq) + " " + Sq(newSq));
    if (oldSq == 61) CastlingAllowed &= ~3;
    if (oldSq == 64) CastlingAllowed &= ~1;
    if (oldSq == 57) CastlingAllowed &= ~2;
    if (oldSq == 5) CastlingAllowed &= ~12;
    if (oldSq == 8) CastlingAllowed &= ~4;
    if (oldSq == 1) CastlingAllowed &= ~8;
    StoreNewPosition();
    // Mended: the repetition block does not count here, so a repetition is never a mate or stalemate.
    bool hasMoves = HasMoveByChessRules();
    if (givesCheck) {
        Raise("Check " + Sq(oldSq) + " " + Sq(newSq));
        if (!hasMoves && HasMateHandler) {
            GameOver = true;
            Raise("Mate " + Sq(oldSq) + " " + Sq(newSq));
        }
    }
    if (!givesCheck && !hasMoves) {
        Raise("StaleMate " + Sq(oldSq) + " " + Sq(newSq));
        drawn = true;
    }
    int white = 0, black = 0;
    for (int i = 1; i <= 64; ++i) {
        int v = 0;
        switch (Lower(Board[i])) {
        case 'p': v = 5; break;
        case 'n': v = 2; break;
        case 'b': v = 3; break;
        case 'r': v = 5; break;
        case 'q': v = 5; break;
        }
        if (PieceColorAt(i) == 1) white += v;
        if (PieceColorAt(i) == 0) black += v;
    }
    if (white < 5 && black < 5) {
        Raise("NoMatingMaterial");
        drawn = true;
    }
    if (IsThreefoldRepetition()) {
        Raise("ThreefoldPosition");
        drawn = true;
    }
    if (drawn && HasDrawHandler) {
        GameOver = true;
        Raise("Draw");
    }
    Raise("Paint");
    return true;
}

// The record of the position after the move, and the line's new end.
void Rules::StoreNewPosition() {
    HistoryRecord& after = History[CurrentMove][WhiteToMove ? 0 : 1];
    after.Position = Position();
    after.Castling = CastlingAllowed;
    after.EnPassantSq = uint8_t(EnPassant);
    LastMoveNumber = CurrentMove;
    LastSideWhite = WhiteToMove;
}

void Rules::NewGame() {
    for (int i = 0; i < 65; ++i) Board[i] = StartArray[i];
    WhiteToMove = true;
    CurrentMove = 1;
    FirstMoveNumber = 1;
    FirstSideWhite = true;
    LastMoveNumber = 1;
    LastSideWhite = true;
    EnPassant = 0;
    CastlingAllowed = 15;
}

bool Rules::GotoMove(int moveNo, bool whiteToMove) {
    if (moveNo > LastMoveNumber) return false;
    if (moveNo == LastMoveNumber && LastSideWhite && !whiteToMove) return false;
    if (moveNo < FirstMoveNumber) return false;
    if (moveNo == FirstMoveNumber && !FirstSideWhite && whiteToMove) return false;
    CurrentMove = moveNo;
    WhiteToMove = whiteToMove;
    const HistoryRecord& h = History[moveNo][whiteToMove ? 0 : 1];
    SetPosition(h.Position);
    EnPassant = h.EnPassantSq;
    CastlingAllowed = h.Castling;
    return true;
}

bool Rules::TakeBackMove() { return WhiteToMove ? GotoMove(CurrentMove - 1, false) : GotoMove(CurrentMove, true); }

bool Rules::ReplayMove() { return WhiteToMove ? GotoMove(CurrentMove, false) : GotoMove(CurrentMove + 1, true); }

} // namespace oracle
