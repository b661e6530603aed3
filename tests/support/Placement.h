#pragma once
// A placement of pieces written as the squares that hold them; every other square is empty.

#include "Square.h"

#include <initializer_list>
#include <string>
#include <utility>

inline std::string Placement(std::initializer_list<std::pair<Square, char>> pieces) {
    std::string p(64, ' ');
    for (const auto& [sq, piece] : pieces)
        p[static_cast<size_t>(sq - 1)] = piece;
    return p;
}
