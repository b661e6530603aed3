#pragma once
// Games in Portable Game Notation, the text every chess program exchanges: a tolerant reader of
// files that hold one game or thousands, the replay of a game's moves on a position, and the writer
// of one game. Plain C++ on UTF-8 text; the caller decodes other code pages first.

#include "Fen.h"
#include "San.h"

#include <string>
#include <string_view>
#include <vector>

struct TPgnTag {
    std::string Name;
    std::string Value;

    bool operator==(const TPgnTag&) const = default;
};

// One game as the file has it: its tags, the moves of the main line as written (variations,
// comments but the first, move numbers and annotation glyphs are left out) and its result token.
struct TPgnGame {
    std::vector<TPgnTag> Tags;
    std::vector<std::string> Moves;
    std::string Result;  // "1-0", "0-1", "1/2-1/2", "*" or empty when the file gives none
    std::string Comment; // the comment before the first move, which describes the whole game

    // The value of the first tag of that name (the case of the name is ignored), or empty.
    std::string Tag(std::string_view name) const;
};

// Every game of the text, in order. Nothing makes the reader fail: what it cannot read is skipped
// (a stray bracket, an unfinished comment or tag), and text without any move or tag gives no game.
std::vector<TPgnGame> ReadPgn(std::string_view text);

// Why a game cannot be replayed: its start position or the first move that does not fit.
struct TPgnProblem {
    int MoveNumber = 0;     // 0 when the start position itself is at fault
    bool WhiteMoves = true; // whose move it was
    std::string MoveText;   // the move as written
    TSanFault Fault = TSanFault::None;
    std::string Reason; // what is wrong with the start position
};

// A game's moves found in its start position.
struct TPgnLine {
    TFenPosition Start;
    std::vector<TChessMove> Moves;
};

// Replays the game on `board` from its "FEN" tag or the initial position; false with `problem`
// filled at the first move that is unreadable, illegal or ambiguous.
bool ReplayPgnGame(const TPgnGame& game, TSanBoard& board, TPgnLine& line, TPgnProblem& problem);

// The initial position as a line's start, move 1.
TFenPosition InitialFenPosition();

// One game as PGN text: the tags in the given order ("SetUp" and "FEN" left out of them), then
// "SetUp" and "FEN" when the line does not start from the initial position, the comment, the moves
// numbered and in standard notation, wrapped so that no line reaches 80 columns, and the result token.
std::string WritePgn(const std::vector<TPgnTag>& tags, const TPgnLine& line, const std::string& result,
                     const std::string& comment, TSanBoard& board);
