// The game line as a whole: handed to and taken from a game file, or begun afresh at a set-up position.

#include "ChessRules.h"
#include "GameRecord.h"

#include <algorithm>

static_assert(TBoardRecord::HistoryRows == TChessRules::HistoryRows &&
              TBoardRecord::HistoryColumns == TChessRules::HistoryColumns);

void TChessRules::StoreGameFields(TBoardRecord& record) const {
    record.StopRequested = FStopRequested;
    record.History = FHistory;
    record.GameOver = FGameOver;
    record.CastlingAllowed = FCastlingAllowed;
    record.CurrentMove = FCurrentMove;
    record.Position = Position();
    record.WhiteToMove = FWhiteToMove;
    record.FirstMoveNumber = FFirstMoveNumber;
    record.LastMoveNumber = FLastMoveNumber;
    record.FirstSideWhite = FFirstSideWhite;
    record.LastSideWhite = FLastSideWhite;
    record.PromotionPiece = FPromotionPiece;
    record.EnPassant = static_cast<std::uint8_t>(FEnPassant);
}

void TChessRules::LoadGameFields(const TBoardRecord& record) {
    StopThinking();
    FStopRequested = record.StopRequested;
    FCastlingAllowed = record.CastlingAllowed;
    FWhiteToMove = record.WhiteToMove;
    FFirstMoveNumber = record.FirstMoveNumber;
    FLastMoveNumber = record.LastMoveNumber;
    FFirstSideWhite = record.FirstSideWhite;
    FLastSideWhite = record.LastSideWhite;
    FPromotionPiece = record.PromotionPiece;
    FEnPassant = None;
    SetEnPassant(static_cast<Square>(record.EnPassant));
    LoadPlacement(record.Position);
    for (int moveNo = 0; moveNo < HistoryRows; ++moveNo)
        for (int column = 0; column < HistoryColumns; ++column)
            SetHistoryRecord(moveNo, column, record.Record(moveNo, column));
    // Unlike a move number typed into the property, the file's current move is taken: the line's
    // records are only right for the move the game was saved at.
    FCurrentMove = record.CurrentMove;
    FGameOver = record.GameOver;
    const bool lineWithoutMoves = FFirstMoveNumber == FLastMoveNumber && FFirstSideWhite == FLastSideWhite;
    if (lineWithoutMoves && FCurrentMove >= 1 && FCurrentMove <= LastHistoryMove)
        StorePosition(Record(FCurrentMove, FWhiteToMove));
    InvalidateRepetition();
    RepaintBoard();
}

void TChessRules::StartLine() {
    StopThinking();
    const THistoryRecord cleared{};
    for (int moveNo = 0; moveNo < HistoryRows; ++moveNo)
        for (int column = 0; column < HistoryColumns; ++column)
            SetHistoryRecord(moveNo, column, cleared);
    FFirstMoveNumber = FCurrentMove;
    FFirstSideWhite = FWhiteToMove;
    StoreNewPosition();
}

void TChessRules::StartLineAt(int moveNumber) {
    FCurrentMove = std::clamp(moveNumber, 1, LastHistoryMove);
    StartLine();
}
