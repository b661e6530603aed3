#pragma once
// Value types shared by the rules, the engine hand-over, the board widget and the game files:
// castling rights, the game-history record and the board's event signatures.

#include "Square.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// One bit per castling right, in the order and with the values that game files store.
enum CanStillCastle : std::uint8_t {
    WhiteKingSide = 1,
    WhiteQueenSide = 2,
    BlackKingSide = 4,
    BlackQueenSide = 8,
};
using CastleSet = std::uint8_t;
inline constexpr CastleSet AllCastlingRights = WhiteKingSide | WhiteQueenSide | BlackKingSide | BlackQueenSide;

// The 64-character placement of the start position, a8 first.
inline constexpr std::string_view StartPosition =
    "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

// Every character a square may hold: a blank for an empty square, then the white and black pieces.
inline constexpr std::string_view PieceCharacters = " PNBRQKpnbrqk";

// Colour of a square's character: 1 white, 0 black, -1 empty. Anything that is not a piece letter
// (a blank, the board's marker, the terminator) reads as empty.
constexpr int PieceColorOf(char c) {
    const int code = static_cast<unsigned char>(c);
    if (code >= 'b' && code <= 'r') return 0;
    if (code < 'B' || code > 'R') return -1;
    return 1;
}

// The position fields a search starts from, copied from the board when a search begins.
struct TPositionSnapshot {
    std::string Position; // 64 characters, a8 first
    bool WhiteToMove = true;
    CastleSet CastlingAllowed = 0;
    Square EnPassant = None;

    bool operator==(const TPositionSnapshot&) const = default;
};

// Priority of the engine's thread.
enum class TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

#pragma pack(push, 1)
// One game-history entry: a position (as a length-prefixed text of up to 100 characters, the way the
// game file keeps it) with its castling rights and en-passant square, plus the move played from it.
struct THistoryRecord {
    static constexpr int PositionCapacity = 100;

    std::uint8_t PositionLength = 0;
    char Position[PositionCapacity] = {};
    std::uint8_t Castling = 0;
    std::uint8_t FromSq = 0;
    std::uint8_t ToSq = 0;
    std::uint8_t EnPassantSq = 0;

    std::string_view PositionText() const { return {Position, PositionLength}; }
    void SetPositionText(std::string_view text);
};
#pragma pack(pop)
static_assert(sizeof(THistoryRecord) == 105, "game files store the record as 105 bytes");

class TChessRules;

// Board events. The sender is the board that raised the event; an unassigned event is skipped.
using TMoveEvent = std::function<void(TChessRules& Sender, Square oldSq, Square newSq)>;
using TCaptureEvent = std::function<void(TChessRules& Sender, Square oldSq, Square newSq, char CapturedPiece)>;
using TOneSquareEvent = std::function<void(TChessRules& Sender, Square sq)>;
using TPromotionEvent = std::function<void(TChessRules& Sender, Square oldSq, Square newSq, char& NewPiece)>;
using TNotifyEvent = std::function<void(TChessRules& Sender)>;
