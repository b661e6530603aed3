#include "Fen.h"

#include <vector>

namespace {

constexpr int BoardFiles = 8;
constexpr int BoardRanks = 8;
constexpr int RequiredFields = 4;
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

} // namespace

bool ParseFen(std::string_view fen, TPositionSnapshot& position, std::string& error) {
    const std::vector<std::string_view> fields = SplitFields(fen);
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
