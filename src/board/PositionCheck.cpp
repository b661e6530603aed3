#include "PositionCheck.h"

#include "ChessTypes.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int BothKings = 2;

// The most of one piece a side may have in a set-up position; the king must be there exactly once.
struct TPieceLimit {
    char White;
    int Most;
};
constexpr TPieceLimit PieceLimits[] = {{'Q', 8}, {'R', 2}, {'B', 2}, {'N', 2}, {'P', 8}};

char BlackOf(char white) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(white)));
}

} // namespace

int CountPiece(std::string_view position, char letter) {
    return static_cast<int>(std::count(position.begin(), position.end(), letter));
}

bool IsPositionString(std::string_view text) {
    return text.size() == SquareCount && std::all_of(text.begin(), text.end(), [](char c) {
               return PieceCharacters.find(c) != std::string_view::npos;
           });
}

bool IsValidSetUpPosition(std::string_view position) {
    if (CountPiece(position, 'K') != 1 || CountPiece(position, 'k') != 1) return false;
    for (const TPieceLimit& limit : PieceLimits)
        if (CountPiece(position, limit.White) > limit.Most ||
            CountPiece(position, BlackOf(limit.White)) > limit.Most)
            return false;
    return SquareCount - CountPiece(position, ' ') > BothKings;
}
