#pragma once
// What ends a game, judged from its final position alone, so that a test can check that the
// ending it saw announced is the one the position holds (a repetition, not a mate).

#include "ChessRules.h"

#include <QString>
#include <QStringList>

namespace gameendings {

// Per side, pawn 5, knight 2, bishop 3, rook and queen 5: below 5 on both sides no one can mate.
inline bool MatingMaterialGone(const TChessRules& rules) {
    constexpr int Enough = 5;
    int material[2] = {0, 0};
    for (int sq = 1; sq <= SquareCount; ++sq) {
        const char piece = rules.PieceAt(Square(sq));
        const int color = rules.PieceColorAt(sq);
        if (color < 0) continue;
        switch (QChar(piece).toLower().toLatin1()) {
        case 'n': material[color] += 2; break;
        case 'b': material[color] += 3; break;
        case 'k': break;
        default: material[color] += Enough; break;
        }
    }
    return material[0] < Enough && material[1] < Enough;
}

// "mate", or any of "stalemate", "material" and "repetition", in that order.
inline QStringList EndingsOf(const TChessRules& rules) {
    const bool repeated = rules.IsThreefoldRepetition();
    // A trial move from a square to itself leaves the position as it is.
    const bool inCheck =
        rules.WhiteToMove() ? rules.WhiteKingAttackedAfter(A8, A8) : rules.BlackKingAttackedAfter(A8, A8);
    QStringList endings;
    if (!repeated && !rules.HasLegalMove()) endings << (inCheck ? "mate" : "stalemate");
    if (MatingMaterialGone(rules)) endings << "material";
    if (repeated) endings << "repetition";
    return endings;
}

} // namespace gameendings
