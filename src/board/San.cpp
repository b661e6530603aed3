#include "San.h"

#include "EngineBoard.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cstdlib>

namespace {

constexpr std::string_view PromotionLetters = "nbrq"; // by the engine's piece codes 1..4
constexpr std::string_view PieceLetters = "NBRQK";
constexpr std::string_view TrailingMarks = "+#!? \t";
constexpr char DefaultPromotion = 'q';
constexpr int KingFile = 5;
constexpr int KingSideFile = 7;
constexpr int QueenSideFile = 3;
constexpr int CastlingStride = 2; // files a castling king crosses

char PieceKind(char piece) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(piece)));
}
char FileLetter(int sq) {
    return static_cast<char>('a' + FileOf(sq) - 1);
}
char RankDigit(int sq) {
    return static_cast<char>('0' + RankOf(sq));
}
bool IsFile(char c) {
    return c >= 'a' && c <= 'h';
}
bool IsRank(char c) {
    return c >= '1' && c <= '8';
}

std::string SquareText(int sq) {
    return {FileLetter(sq), RankDigit(sq)};
}

TChessMove ToChessMove(const TEngineMove& move) {
    const char promotion = (move.Bits & MovePromotion)
                               ? PromotionLetters[static_cast<size_t>(move.Promote - EngineKnight)]
                               : char(0);
    return {static_cast<Square>(move.From + 1), static_cast<Square>(move.To + 1), promotion};
}

// --- Reading -----------------------------------------------------------------------------------

// What a text says about the move it names; 0 and None where it says nothing.
struct TSanPattern {
    char Piece = 'P';
    int FromFile = 0;
    int FromRank = 0;
    Square To = None;
    char Promotion = 0;
    int CastlingFile = 0; // the king's target file of "O-O" / "O-O-O"
};

std::string_view Trimmed(std::string_view text, std::string_view marks) {
    while (!text.empty() && marks.find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

std::string_view WithoutEnPassantMark(std::string_view text) {
    for (std::string_view mark : {"e.p.", "ep"})
        if (text.size() > mark.size() + 2 && text.ends_with(mark))
            return Trimmed(text.substr(0, text.size() - mark.size()), TrailingMarks);
    return text;
}

bool ReadCastling(std::string_view text, TSanPattern& pattern) {
    std::string letters;
    for (char c : text)
        if (c != '-') letters.push_back(c == '0' || c == 'o' ? 'O' : c);
    if (letters == "OO")
        pattern.CastlingFile = KingSideFile;
    else if (letters == "OOO")
        pattern.CastlingFile = QueenSideFile;
    else
        return false;
    pattern.Piece = 'K';
    return true;
}

// What is left once capture marks, hyphens and the brackets or "=" around a promotion piece are
// gone: "exd8=Q" and "e7d8(Q)" both become piece, squares and piece letter.
std::string WithoutSeparators(std::string_view text) {
    std::string rest;
    for (char c : text)
        if (std::string_view("xX:-=/()").find(c) == std::string_view::npos) rest.push_back(c);
    return rest;
}

void TakePromotion(std::string& rest, char& promotion) {
    if (rest.size() < 3 || !IsRank(rest[rest.size() - 2])) return;
    const char last = rest.back();
    if (std::string_view("QRBNqrbn").find(last) == std::string_view::npos) return;
    promotion = static_cast<char>(std::tolower(static_cast<unsigned char>(last)));
    rest.pop_back();
}

bool ReadPattern(std::string_view text, TSanPattern& pattern) {
    text = Trimmed(WithoutEnPassantMark(Trimmed(text, TrailingMarks)), TrailingMarks);
    if (text.empty()) return false;
    if (ReadCastling(text, pattern)) return true;
    std::string rest = WithoutSeparators(text);
    TakePromotion(rest, pattern.Promotion);
    if (!rest.empty() && (PieceLetters.find(rest.front()) != std::string_view::npos || rest.front() == 'P')) {
        pattern.Piece = rest.front();
        rest.erase(0, 1);
    }
    if (rest.size() < 2 || rest.size() > 4) return false;
    const char toFile = static_cast<char>(std::tolower(static_cast<unsigned char>(rest[rest.size() - 2])));
    const char toRank = rest.back();
    if (!IsFile(toFile) || !IsRank(toRank)) return false;
    pattern.To = SquareAt(toFile - 'a' + 1, toRank - '0');
    for (size_t i = 0; i + 2 < rest.size(); ++i) {
        const char c = rest[i];
        if (IsFile(c) && pattern.FromFile == 0 && pattern.FromRank == 0)
            pattern.FromFile = c - 'a' + 1;
        else if (IsRank(c) && pattern.FromRank == 0)
            pattern.FromRank = c - '0';
        else
            return false;
    }
    return true;
}

bool Fits(const TSanPattern& pattern, const TChessMove& move, char piece) {
    if (PieceKind(piece) != pattern.Piece) return false;
    if (pattern.CastlingFile != 0)
        return FileOf(move.From) == KingFile && FileOf(move.To) == pattern.CastlingFile &&
               RankOf(move.From) == RankOf(move.To);
    if (move.To != pattern.To) return false;
    if (pattern.FromFile != 0 && FileOf(move.From) != pattern.FromFile) return false;
    if (pattern.FromRank != 0 && RankOf(move.From) != pattern.FromRank) return false;
    if (move.Promotion == 0) return pattern.Promotion == 0;
    return move.Promotion == (pattern.Promotion != 0 ? pattern.Promotion : DefaultPromotion);
}

// --- The position after a move --------------------------------------------------------------------

struct TCastlingRook {
    char King;
    Square KingFrom, KingTo, RookFrom, RookTo;
};
constexpr TCastlingRook CastlingRooks[] = {
    {'K', E1, G1, H1, F1}, {'K', E1, C1, A1, D1}, {'k', E8, G8, H8, F8}, {'k', E8, C8, A8, D8}};

struct TRightsLost {
    Square From;
    CastleSet Rights;
};
constexpr TRightsLost RightsLost[] = {
    {E1, WhiteKingSide | WhiteQueenSide}, {H1, WhiteKingSide}, {A1, WhiteQueenSide},
    {E8, BlackKingSide | BlackQueenSide}, {H8, BlackKingSide}, {A8, BlackQueenSide}};

char& At(std::string& placement, int sq) {
    return placement[static_cast<size_t>(sq - 1)];
}

} // namespace

TPositionSnapshot PositionAfter(const TPositionSnapshot& position, const TChessMove& move) {
    TPositionSnapshot after = position;
    std::string& board = after.Position;
    const char piece = At(board, move.From);
    At(board, move.To) = piece;
    At(board, move.From) = ' ';
    const bool pawn = PieceKind(piece) == 'P';
    if (pawn && (RankOf(move.To) == 8 || RankOf(move.To) == 1)) {
        const char chosen = move.Promotion != 0 ? move.Promotion : DefaultPromotion;
        At(board, move.To) = RankOf(move.To) == 8 ? PieceKind(chosen) : chosen;
    }
    if (move.To == position.EnPassant && piece == 'P' && RankOf(move.To) == 6)
        At(board, SquareAt(FileOf(move.To), 5)) = ' ';
    if (move.To == position.EnPassant && piece == 'p' && RankOf(move.To) == 3)
        At(board, SquareAt(FileOf(move.To), 4)) = ' ';
    const bool doubleStep = (piece == 'P' && RankOf(move.From) == 2 && RankOf(move.To) == 4) ||
                            (piece == 'p' && RankOf(move.From) == 7 && RankOf(move.To) == 5);
    after.EnPassant = doubleStep ? static_cast<Square>((move.From + move.To) / 2) : None;
    for (const TCastlingRook& rook : CastlingRooks)
        if (piece == rook.King && move.From == rook.KingFrom && move.To == rook.KingTo) {
            At(board, rook.RookTo) = At(board, rook.RookFrom);
            At(board, rook.RookFrom) = ' ';
        }
    for (const TRightsLost& lost : RightsLost)
        if (move.From == lost.From) after.CastlingAllowed &= static_cast<CastleSet>(~lost.Rights);
    after.WhiteToMove = !position.WhiteToMove;
    return after;
}

TSanBoard::TSanBoard() : FBoard(std::make_unique<TEngineBoard>()) {
    SetPosition({std::string(StartPosition), true, AllCastlingRights, None});
}

TSanBoard::~TSanBoard() = default;

void TSanBoard::SetPosition(const TPositionSnapshot& position) {
    FPosition = position;
    FPosition.Position.resize(SquareCount, ' ');
    FBoardHoldsPosition = false;
    LoadEngineBoard();
    FCandidates.clear();
    for (int i = FBoard->FirstMove(0); i < FBoard->LastMove(0); ++i) {
        const TEngineMove move = FBoard->Entry(i).Move;
        FCandidates.push_back({ToChessMove(move), std::bit_cast<std::uint32_t>(move)});
    }
    FLegal.clear();
    FLegalKnown = false;
}

void TSanBoard::LoadEngineBoard() const {
    if (FBoardHoldsPosition) return;
    FBoard->Load(FPosition);
    FBoard->SideToMoveInCheck();
    FBoard->Generate();
    FBoardHoldsPosition = true;
}

bool TSanBoard::IsLegalCandidate(const TCandidate& candidate) const {
    LoadEngineBoard();
    if (!FBoard->EngineMakeMove(std::bit_cast<TEngineMove>(candidate.EngineMove))) return false;
    FBoard->EngineTakeBack();
    return true;
}

const std::vector<TChessMove>& TSanBoard::LegalMoves() const {
    if (!FLegalKnown) {
        for (const TCandidate& candidate : FCandidates)
            if (IsLegalCandidate(candidate)) FLegal.push_back(candidate.Move);
        FLegalKnown = true;
    }
    return FLegal;
}

bool TSanBoard::IsLegal(const TChessMove& move) const {
    const std::vector<TChessMove>& legal = LegalMoves();
    return std::find(legal.begin(), legal.end(), move) != legal.end();
}

std::string TSanBoard::Disambiguation(const TChessMove& move) const {
    const char piece = FPosition.Position[static_cast<size_t>(move.From - 1)];
    bool rivals = false, sameFile = false, sameRank = false;
    for (const TChessMove& other : LegalMoves()) {
        if (other.To != move.To || other.From == move.From ||
            FPosition.Position[static_cast<size_t>(other.From - 1)] != piece)
            continue;
        rivals = true;
        sameFile = sameFile || FileOf(other.From) == FileOf(move.From);
        sameRank = sameRank || RankOf(other.From) == RankOf(move.From);
    }
    if (!rivals) return {};
    if (!sameFile) return {FileLetter(move.From)};
    if (!sameRank) return {RankDigit(move.From)};
    return SquareText(move.From);
}

// "+" for check, "#" for mate: the move is made on the engine's board and the replies counted.
std::string TSanBoard::CheckMark(const TChessMove& move) {
    const TPositionSnapshot after = PositionAfter(FPosition, move);
    FBoardHoldsPosition = false;
    FBoard->Load(after);
    if (!FBoard->SideToMoveInCheck()) return {};
    FBoard->Generate();
    for (int i = FBoard->FirstMove(0); i < FBoard->LastMove(0); ++i) {
        if (!FBoard->EngineMakeMove(FBoard->Entry(i).Move)) continue;
        FBoard->EngineTakeBack();
        return "+";
    }
    return "#";
}

std::string TSanBoard::ToSan(const TChessMove& move) {
    if (!IsLegal(move)) return {};
    const char piece = PieceKind(FPosition.Position[static_cast<size_t>(move.From - 1)]);
    const bool capture = FPosition.Position[static_cast<size_t>(move.To - 1)] != ' ' ||
                         (piece == 'P' && FileOf(move.From) != FileOf(move.To));
    std::string text;
    if (piece == 'K' && std::abs(FileOf(move.To) - FileOf(move.From)) == CastlingStride) {
        text = FileOf(move.To) > FileOf(move.From) ? "O-O" : "O-O-O";
    } else if (piece == 'P') {
        if (capture) text = {FileLetter(move.From), 'x'};
        text += SquareText(move.To);
        if (move.Promotion != 0) text += {'=', PieceKind(move.Promotion)};
    } else {
        text = piece + Disambiguation(move) + (capture ? "x" : "") + SquareText(move.To);
    }
    return text + CheckMark(move);
}

TSanFault TSanBoard::FromSan(std::string_view text, TChessMove& move) const {
    TSanPattern pattern;
    if (!ReadPattern(text, pattern)) return TSanFault::Unreadable;
    const TChessMove* found = nullptr;
    for (const TCandidate& candidate : FCandidates) {
        const char piece = FPosition.Position[static_cast<size_t>(candidate.Move.From - 1)];
        if (!Fits(pattern, candidate.Move, piece) || !IsLegalCandidate(candidate)) continue;
        if (found) return TSanFault::Ambiguous;
        found = &candidate.Move;
    }
    if (!found) return TSanFault::Illegal;
    move = *found;
    return TSanFault::None;
}

void TSanBoard::Play(const TChessMove& move) {
    SetPosition(PositionAfter(FPosition, move));
}
