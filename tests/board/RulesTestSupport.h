#pragma once
// Helpers for the rules tests: an event log in one text format shared with the reference rules,
// and moves written as square names.

#include "ChessRules.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <string>
#include <vector>

namespace rulestest {

inline std::string Squares(Square a, Square b) { return std::to_string(int(a)) + " " + std::to_string(int(b)); }

// Logs every event MakeMove raises as "LegalMove 53 37", "Capture 53 37 p", "Promotion 15 7 n", ...
// `promoteTo` answers OnPromotion; 0 leaves the piece the board offers.
inline void AttachEventLog(TChessRules& rules, std::vector<std::string>& log, const char* promoteTo = nullptr) {
    rules.OnLegalMove = [&log](TChessRules&, Square a, Square b) { log.push_back("LegalMove " + Squares(a, b)); };
    rules.OnCapture = [&log](TChessRules&, Square a, Square b, char piece) {
        log.push_back("Capture " + Squares(a, b) + " " + piece);
    };
    rules.OnPromotion = [&log, promoteTo](TChessRules&, Square a, Square b, char& piece) {
        if (promoteTo && *promoteTo) piece = *promoteTo;
        log.push_back("Promotion " + Squares(a, b) + " " + piece);
    };
    rules.OnCastle = [&log](TChessRules&, Square a, Square b) { log.push_back("Castle " + Squares(a, b)); };
    rules.OnCheck = [&log](TChessRules&, Square a, Square b) { log.push_back("Check " + Squares(a, b)); };
    rules.OnMate = [&log](TChessRules&, Square a, Square b) { log.push_back("Mate " + Squares(a, b)); };
    rules.OnStaleMate = [&log](TChessRules&, Square a, Square b) { log.push_back("StaleMate " + Squares(a, b)); };
    rules.OnNoMatingMaterial = [&log](TChessRules&) { log.push_back("NoMatingMaterial"); };
    rules.OnThreefoldPosition = [&log](TChessRules&) { log.push_back("ThreefoldPosition"); };
    rules.OnDraw = [&log](TChessRules&) { log.push_back("Draw"); };
    rules.OnPaint = [&log](TChessRules&) { log.push_back("Paint"); };
}

// Plays moves written "E2-E4 E7-E5"; stops at the first refused one and returns false.
inline bool PlayLine(TChessRules& rules, const QString& line) {
    const QStringList moves = line.split(' ', Qt::SkipEmptyParts);
    for (const QString& move : moves) {
        const Square from = SquareIndex(move.left(2).toStdString());
        const Square to = SquareIndex(move.mid(3, 2).toStdString());
        if (!rules.MakeMove(from, to)) return false;
    }
    return true;
}

// Plays `count` half-moves that never capture, never end the game and never bring back a placement
// seen before, so nothing stops a long line. Returns false when it runs out of such moves.
inline bool PlayFreshMoves(TChessRules& rules, int count) {
    std::vector<std::string> seen{rules.Position()};
    for (int played = 0; played < count; ++played) {
        bool moved = false;
        for (int from = 1; from <= 64 && !moved; ++from)
            for (int to = 1; to <= 64 && !moved; ++to) {
                if (!rules.IsLegalMove(from, to) || rules.PieceColorAt(to) != -1) continue;
                const int moveNo = rules.CurrentMove();
                const bool white = rules.WhiteToMove();
                rules.MakeMove(from, to);
                const bool fresh = std::find(seen.begin(), seen.end(), rules.Position()) == seen.end();
                moved = fresh && !rules.GameOver() && rules.HasLegalMove();
                if (moved) seen.push_back(rules.Position());
                else rules.GotoMove(moveNo, white);
            }
        if (!moved) return false;
    }
    return true;
}

inline QStringList ToQt(const std::vector<std::string>& lines) {
    QStringList result;
    for (const std::string& line : lines) result << QString::fromStdString(line);
    return result;
}

} // namespace rulestest
