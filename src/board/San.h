#pragma once
// Standard algebraic notation ("Nf3", "exd5", "O-O", "e8=Q+"): a move of a position written as text
// and text read back as a move. The legal moves come from the engine's board, which decides
// legality as the rules do; a position is kept as the snapshot the rest of the program uses.

#include "ChessTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TEngineBoard;

// One move by its squares; Promotion is the lower-case letter of the piece a pawn becomes ("n",
// "b", "r", "q") or 0 when the move promotes nothing.
struct TChessMove {
    Square From = None;
    Square To = None;
    char Promotion = 0;

    bool operator==(const TChessMove&) const = default;
};

// Why a text is not a move of the position.
enum class TSanFault {
    None,
    Unreadable, // not notation at all
    Illegal,    // notation, but no legal move fits it
    Ambiguous,  // several legal moves fit it
};

// A position with its legal moves, written and read in standard algebraic notation. One board
// serves many positions, so a whole game file is read without a board per move.
class TSanBoard {
public:
    TSanBoard();
    ~TSanBoard();
    TSanBoard(const TSanBoard&) = delete;
    TSanBoard& operator=(const TSanBoard&) = delete;

    void SetPosition(const TPositionSnapshot& position);
    const TPositionSnapshot& Position() const { return FPosition; }
    const std::vector<TChessMove>& LegalMoves() const;
    bool IsLegal(const TChessMove& move) const;

    // The move as text, with "+" or "#"; empty when the move is not legal here.
    std::string ToSan(const TChessMove& move);
    // Reads the forms people write: "0-0", "e8Q", "e8=q", "exd5" or "ed5", "Ng1-f3", "e2e4", a
    // missing or superfluous "+", and trailing marks such as "!?". A pawn reaching the last rank
    // without a piece named becomes a queen.
    TSanFault FromSan(std::string_view text, TChessMove& move) const;
    // Plays a legal move: the position afterwards, as the rules' MakeMove leaves it.
    void Play(const TChessMove& move);

private:
    struct TCandidate {
        TChessMove Move;
        std::uint32_t EngineMove; // the engine's four bytes, as it generated them
    };

    // The engine's board holds the position with its moves generated; reading a move needs only
    // the few candidates its text fits tested, so a game replays without testing every move.
    void LoadEngineBoard() const;
    bool IsLegalCandidate(const TCandidate& candidate) const;
    std::string Disambiguation(const TChessMove& move) const;
    std::string CheckMark(const TChessMove& move);

    std::unique_ptr<TEngineBoard> FBoard; // large: kept on the heap and reused for every position
    mutable bool FBoardHoldsPosition = false;
    TPositionSnapshot FPosition;
    std::vector<TCandidate> FCandidates; // the moves by the pieces' movement, own king not yet judged
    mutable std::vector<TChessMove> FLegal;
    mutable bool FLegalKnown = false;
};

// The position after `move`, by the rules' own steps: the piece moves, a pawn on the last rank is
// promoted, an en-passant victim is removed, a castling rook follows its king, the rights are
// cleared by the from-square alone and a double step leaves its en-passant square.
TPositionSnapshot PositionAfter(const TPositionSnapshot& position, const TChessMove& move);
