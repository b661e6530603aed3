#include "Square.h"

#include <array>

namespace {

// The 64 square names in square order; shared by move texts, best lines, logbook and speech files.
constexpr std::array<std::string_view, SquareCount> SquareNames = {
    "A8", "B8", "C8", "D8", "E8", "F8", "G8", "H8", "A7", "B7", "C7", "D7", "E7", "F7", "G7", "H7",
    "A6", "B6", "C6", "D6", "E6", "F6", "G6", "H6", "A5", "B5", "C5", "D5", "E5", "F5", "G5", "H5",
    "A4", "B4", "C4", "D4", "E4", "F4", "G4", "H4", "A3", "B3", "C3", "D3", "E3", "F3", "G3", "H3",
    "A2", "B2", "C2", "D2", "E2", "F2", "G2", "H2", "A1", "B1", "C1", "D1", "E1", "F1", "G1", "H1",
};

} // namespace

std::string SquareName(int sq) {
    if (!IsOnBoard(sq)) return "none";
    return std::string(SquareNames[static_cast<size_t>(sq - 1)]);
}

Square SquareIndex(std::string_view name) {
    for (int i = 0; i < SquareCount; ++i)
        if (SquareNames[static_cast<size_t>(i)] == name) return static_cast<Square>(i + 1);
    return None;
}
