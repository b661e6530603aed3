#pragma once
// The game file: one record of 82,760 bytes holding both players' seats, the board with its whole
// history, and the game data. This is its exact byte layout and the checks a file must pass before
// anything of it reaches a game. Plain C++; texts stay in the Windows code page (Windows-1252) here.

#include "ChessTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// One player's seat: kind, name, colour, clock and status line.
struct TPlayerRecord {
    static constexpr int TextCapacity = 50;

    std::int32_t Kind = 0;   // 0 "Mensch", 1 "Computer", 2 "Zufall"
    std::string Name;        // cut to TextCapacity when saved
    std::int32_t Colour = 0; // 1 black, 0 white
    std::int32_t MoveCount = 0;
    std::int32_t TimePerMove = 0; // milliseconds
    std::int32_t TotalTime = 0;   // milliseconds
    std::string Status;           // cut to TextCapacity when saved
};

// The score sheet of the game.
struct TGameDataRecord {
    static constexpr int TextCapacity = 250;
    static constexpr int EcoCapacity = 10;
    static constexpr std::int32_t NoResult = 3; // 0 "1 - 0", 1 "1/2 - 1/2", 2 "0 - 1"

    std::int32_t Elo1 = 0;
    std::int32_t Elo2 = 0;
    std::string Event, Site, Comments; // cut to TextCapacity when saved
    std::int32_t Year = 0, Month = 0, Day = 0, Round = 0;
    std::string ECO; // cut to EcoCapacity when saved
    std::int32_t Result = NoResult;
};

// The board's part: the position with its game line and history, and the engine settings.
struct TBoardRecord {
    static constexpr int HistoryRows = 257;
    static constexpr int HistoryColumns = 3;
    static constexpr int PositionCapacity = 100;

    TBoardRecord() : History(HistoryRows * HistoryColumns) {}

    bool StopRequested = false;
    std::vector<THistoryRecord> History; // row-major: move number r, column c at r * 3 + c
    bool GameOver = false;
    bool FirstPaint = false;
    CastleSet CastlingAllowed = AllCastlingRights;
    bool ComputerPlaysBlack = false;
    bool ComputerPlaysWhite = false;
    std::int32_t CurrentMove = 1;
    std::string Position{StartPosition};
    std::int32_t SearchDepth = 1;
    bool WhiteOnTop = false;
    bool WhiteToMove = true;
    std::int32_t FirstMoveNumber = 1;
    std::int32_t LastMoveNumber = 1;
    bool FirstSideWhite = true;
    bool LastSideWhite = true;
    char PromotionPiece = 'q';
    std::uint8_t EnPassant = None;

    THistoryRecord& Record(int moveNo, int column) {
        return History[static_cast<size_t>(moveNo * HistoryColumns + column)];
    }
    const THistoryRecord& Record(int moveNo, int column) const {
        return History[static_cast<size_t>(moveNo * HistoryColumns + column)];
    }
};

struct TGameRecord {
    static constexpr size_t Size = 82'760;

    TPlayerRecord Player1, Player2;
    TBoardRecord Board;
    TGameDataRecord Data;
};

// Why a file was refused; nothing of a refused file is used.
enum class TGameRecordFault {
    None,
    TooShort,       // fewer bytes than one record
    WrongHeader,    // not a game file of this format
    TextTooLong,    // a length byte beyond its text's capacity
    BadPosition,    // a position that is not 64 piece characters
    BadMoveNumbers, // first, current or last move outside the history or out of order
    BadLine,        // a position or move of the game line that no game could have stored
};

// The record as the file's bytes, always TGameRecord::Size of them: texts cut at their capacity,
// reserved and unused bytes zero.
std::vector<std::uint8_t> EncodeGameRecord(const TGameRecord& record);

// Checks the whole of `bytes` (bytes beyond one record are ignored) and, only when it passes, replaces
// `record` with its content, every value held to what a game can have (see GameRecord.cpp).
TGameRecordFault DecodeGameRecord(std::span<const std::uint8_t> bytes, TGameRecord& record);
