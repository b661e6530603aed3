#include "Fen.h"

#include "EngineBoard.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr int BoardFiles = 8;
constexpr int BoardRanks = 8;
constexpr int RequiredFields = 4;
constexpr int AllFields = 6;
constexpr std::string_view NoField = "-";
constexpr std::string_view CastlingLetters = "KQkq";
constexpr CastleSet CastlingBits[] = {WhiteKingSide, WhiteQueenSide, BlackKingSide, BlackQueenSide};

std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
        const size_t start = pos;
        while (pos < text.size() && text[pos] != ' ' && text[pos] != '\t') ++pos;
        if (pos > start) fields.push_back(text.substr(start, pos - start));
    }
    return fields;
}

bool IsPieceLetter(char c) { return c != ' ' && PieceCharacters.find(c) != std::string_view::npos; }

// Ranks 8 down to 1, files a to h within a rank: the same order as the position string.
bool ParsePlacement(std::string_view field, std::string& placement, std::string& error) {
    int rank = 0;
    int file = 0;
    for (char c : field) {
        if (c == '/') {
            if (file != BoardFiles) break;
            ++rank;
            file = 0;
        } else if (c >= '1' && c <= '8') {
            file += c - '0';
            placement.append(static_cast<size_t>(c - '0'), ' ');
        } else if (IsPieceLetter(c)) {
            ++file;
            placement.push_back(c);
        } else {
            error = std::string("placement: unexpected character '") + c + "'";
            return false;
        }
        if (file > BoardFiles || rank >= BoardRanks) break;
    }
    if (rank != BoardRanks - 1 || file != BoardFiles) {
        error = "placement: needs 8 ranks of 8 squares each, separated by '/'";
        return false;
    }
    return true;
}

bool ParseSide(std::string_view field, bool& whiteToMove, std::string& error) {
    if (field != "w" && field != "b") {
        error = "side to move: expected 'w' or 'b'";
        return false;
    }
    whiteToMove = field == "w";
    return true;
}

bool ParseCastling(std::string_view field, CastleSet& rights, std::string& error) {
    rights = 0;
    if (field == NoField) return true;
    for (char c : field) {
        const size_t index = CastlingLetters.find(c);
        if (index == std::string_view::npos || (rights & CastlingBits[index])) {
            error = "castling rights: expected '-' or each of 'KQkq' at most once";
            return false;
        }
        rights |= CastlingBits[index];
    }
    return true;
}

bool ParseEnPassant(std::string_view field, Square& square, std::string& error) {
    square = None;
    if (field == NoField) return true;
    if (field.size() != 2 || field[0] < 'a' || field[0] > 'h' || (field[1] != '3' && field[1] != '6')) {
        error = "en-passant square: expected '-' or a square on rank 3 or 6";
        return false;
    }
    square = SquareAt(field[0] - 'a' + 1, field[1] - '0');
    return true;
}

bool ParseFields(const std::vector<std::string_view>& fields, TPositionSnapshot& position,
                 std::string& error) {
    if (fields.size() < RequiredFields) {
        error = "expected at least 4 fields: placement, side to move, castling rights, en-passant square";
        return false;
    }
    TPositionSnapshot read;
    read.Position.reserve(BoardFiles * BoardRanks);
    const bool wellFormed = ParsePlacement(fields[0], read.Position, error) &&
                            ParseSide(fields[1], read.WhiteToMove, error) &&
                            ParseCastling(fields[2], read.CastlingAllowed, error) &&
                            ParseEnPassant(fields[3], read.EnPassant, error);
    if (!wellFormed) return false;
    position = std::move(read);
    return true;
}

bool ParseCount(std::string_view field, int lowest, int& value, std::string& error, const char* what) {
    const auto [end, fault] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (fault != std::errc() || end != field.data() + field.size() || value < lowest) {
        error = std::string(what) + ": expected a whole number from " + std::to_string(lowest);
        return false;
    }
    return true;
}

// --- Writing --------------------------------------------------------------------------------------

struct THomeSquares {
    CastleSet Right;
    char King, Rook;
    Square KingSq, RookSq;
};
constexpr THomeSquares CastlingHomes[] = {{WhiteKingSide, 'K', 'R', E1, H1},
                                          {WhiteQueenSide, 'K', 'R', E1, A1},
                                          {BlackKingSide, 'k', 'r', E8, H8},
                                          {BlackQueenSide, 'k', 'r', E8, A8}};

char PieceOn(const TPositionSnapshot& position, int sq) {
    const bool known = sq >= 1 && sq <= static_cast<int>(position.Position.size());
    return known ? position.Position[static_cast<size_t>(sq - 1)] : ' ';
}

std::string PlacementText(const TPositionSnapshot& position) {
    std::string text;
    for (int rank = BoardRanks; rank >= 1; --rank) {
        int empty = 0;
        for (int file = 1; file <= BoardFiles; ++file) {
            const char piece = PieceOn(position, SquareAt(file, rank));
            if (!IsPieceLetter(piece)) {
                ++empty;
                continue;
            }
            if (empty > 0) text.push_back(static_cast<char>('0' + empty));
            empty = 0;
            text.push_back(piece);
        }
        if (empty > 0) text.push_back(static_cast<char>('0' + empty));
        if (rank > 1) text.push_back('/');
    }
    return text;
}

bool StandAtHome(const TPositionSnapshot& position, const THomeSquares& home) {
    return PieceOn(position, home.KingSq) == home.King && PieceOn(position, home.RookSq) == home.Rook;
}

std::string CastlingText(const TPositionSnapshot& position, bool onlyAtHome) {
    std::string text;
    for (size_t i = 0; i < std::size(CastlingHomes); ++i) {
        const THomeSquares& home = CastlingHomes[i];
        if ((position.CastlingAllowed & home.Right) && (!onlyAtHome || StandAtHome(position, home)))
            text.push_back(CastlingLetters[i]);
    }
    return text.empty() ? std::string(NoField) : text;
}

std::string EnPassantText(Square square) {
    if (square == None) return std::string(NoField);
    return {static_cast<char>('a' + FileOf(square) - 1), static_cast<char>('0' + RankOf(square))};
}

int Count(const std::string& placement, char piece) {
    return static_cast<int>(std::count(placement.begin(), placement.end(), piece));
}

std::string FenText(const TFenPosition& position, bool castlingOnlyAtHome) {
    const TPositionSnapshot& snapshot = position.Snapshot;
    return PlacementText(snapshot) + (snapshot.WhiteToMove ? " w " : " b ") +
           CastlingText(snapshot, castlingOnlyAtHome) + ' ' + EnPassantText(snapshot.EnPassant) + ' ' +
           std::to_string(position.HalfMoveClock) + ' ' + std::to_string(position.MoveNumber);
}

} // namespace

bool ParseFen(std::string_view fen, TPositionSnapshot& position, std::string& error) {
    return ParseFields(SplitFields(fen), position, error);
}

bool ReadFen(std::string_view fen, TFenPosition& position, std::string& error) {
    const std::vector<std::string_view> fields = SplitFields(fen);
    TFenPosition read;
    if (!ParseFields(fields, read.Snapshot, error)) return false;
    if (fields.size() > AllFields) {
        error = "expected at most 6 fields";
        return false;
    }
    if (fields.size() > RequiredFields &&
        !ParseCount(fields[RequiredFields], 0, read.HalfMoveClock, error, "half-move clock"))
        return false;
    if (fields.size() > RequiredFields + 1 &&
        !ParseCount(fields[RequiredFields + 1], 1, read.MoveNumber, error, "move number"))
        return false;
    position = std::move(read);
    return true;
}

std::string WriteFen(const TFenPosition& position) {
    return FenText(position, true);
}

std::string WriteFenAsTicked(const TFenPosition& position) {
    return FenText(position, false);
}

std::string SetUpProblem(const TPositionSnapshot& position) {
    const std::string& placement = position.Position;
    if (Count(placement, 'K') != 1 || Count(placement, 'k') != 1) return "each side needs exactly one king";
    for (int file = 1; file <= BoardFiles; ++file)
        for (int rank : {1, BoardRanks})
            if (std::toupper(static_cast<unsigned char>(PieceOn(position, SquareAt(file, rank)))) == 'P')
                return "a pawn stands on the first or last rank";
    if (position.EnPassant != None) {
        const int passedRank = position.WhiteToMove ? 6 : 3;
        const int pawnRank = position.WhiteToMove ? 5 : 4;
        const char pawn = position.WhiteToMove ? 'p' : 'P';
        if (RankOf(position.EnPassant) != passedRank || PieceOn(position, position.EnPassant) != ' ' ||
            PieceOn(position, SquareAt(FileOf(position.EnPassant), pawnRank)) != pawn)
            return "the en-passant square does not fit the position";
    }
    const auto board = std::make_unique<TEngineBoard>();
    board->Load(position);
    if (board->InCheck(board->XSide())) return "the side not to move is in check";
    return {};
}
