// The board's game files: its part of the record, the safe write and the checked read.

#include "ChessBrd.h"
#include "FileSaving.h"
#include "GameRecord.h"

#include <QFile>

bool TChessBrd::SaveGame(const QString& FileName, const TGameRecord& Data, QString* error) {
    TGameRecord record = Data;
    TBoardRecord& board = record.Board;
    StoreGameFields(board);
    board.FirstPaint = FBoardShown;
    board.ComputerPlaysBlack = FComputerPlaysBlack;
    board.ComputerPlaysWhite = FComputerPlaysWhite;
    board.SearchDepth = FSearchDepth;
    board.WhiteOnTop = FWhiteOnTop;
    const std::vector<std::uint8_t> bytes = EncodeGameRecord(record);
    return SaveFileWhole(
        FileName,
        QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())), error);
}

// The first-paint flag of a file is not applied: whether this board has been drawn yet is its own
// affair, and a board told it was never drawn would start the engine in a stopped game at its next paint.
bool TChessBrd::LoadGame(const QString& FileName, TGameRecord& Data, QString* error) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(static_cast<qint64>(TGameRecord::Size));
    TGameRecord record;
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (DecodeGameRecord({data, static_cast<size_t>(bytes.size())}, record) != TGameRecordFault::None) {
        if (error) error->clear();
        return false;
    }
    const TBoardRecord& board = record.Board;
    SetComputerPlaysBlack(board.ComputerPlaysBlack);
    SetComputerPlaysWhite(board.ComputerPlaysWhite);
    SetSearchDepth(board.SearchDepth);
    FWhiteOnTop = board.WhiteOnTop;
    LoadGameFields(board); // repaints the board
    Data = std::move(record);
    return true;
}
