#include "GameRecord.h"

#include "PositionCheck.h"

#include <algorithm>
#include <cstring>

namespace {

// --- The layout, offsets in bytes ------------------------------------------------------------------

constexpr std::string_view Header = "3.02.200";
constexpr int HeaderCapacity = 8;

constexpr size_t OffHeader = 0;
constexpr size_t OffPlayer1 = 12;
constexpr size_t OffPlayer2 = 136;
constexpr size_t OffStopRequested = 260;
constexpr size_t OffHistory = 261;
constexpr size_t OffGameOver = 81'216;
constexpr size_t OffFirstPaint = 81'217;
constexpr size_t OffCastlingAllowed = 81'218;
constexpr size_t OffComputerPlaysBlack = 81'219;
constexpr size_t OffComputerPlaysWhite = 81'220;
constexpr size_t OffCurrentMove = 81'224;
constexpr size_t OffPosition = 81'228;
constexpr size_t OffSearchDepth = 81'332;
constexpr size_t OffWhiteOnTop = 81'336;
constexpr size_t OffWhiteToMove = 81'337;
constexpr size_t OffFirstMoveNumber = 81'340;
constexpr size_t OffLastMoveNumber = 81'344;
constexpr size_t OffFirstSideWhite = 81'348;
constexpr size_t OffLastSideWhite = 81'349;
constexpr size_t OffPromotionPiece = 81'350;
constexpr size_t OffEnPassant = 81'351;
constexpr size_t OffElo1 = 81'352;
constexpr size_t OffElo2 = 81'356;
constexpr size_t OffEvent = 81'360;
constexpr size_t OffSite = 81'611;
constexpr size_t OffComments = 81'862;
constexpr size_t OffYear = 82'116;
constexpr size_t OffMonth = 82'120;
constexpr size_t OffDay = 82'124;
constexpr size_t OffRound = 82'128;
constexpr size_t OffEco = 82'132;
constexpr size_t OffResult = 82'144;
// Texts the format keeps room for and this program leaves empty.
constexpr size_t OffSpareShortTexts = 82'148;
constexpr int SpareShortTexts = 6;
constexpr int SpareShortCapacity = 10;
constexpr size_t OffSpareLongTexts = 82'304;
constexpr int SpareLongTexts = 4;
constexpr int SpareLongCapacity = 100;

// Within a player's block.
constexpr size_t PlayerKind = 0;
constexpr size_t PlayerName = 4;
constexpr size_t PlayerColour = 56;
constexpr size_t PlayerMoveCount = 60;
constexpr size_t PlayerTimePerMove = 64;
constexpr size_t PlayerTotalTime = 68;
constexpr size_t PlayerStatus = 72;

constexpr size_t HistoryRecordSize = sizeof(THistoryRecord);
constexpr size_t HistoryRowSize = TBoardRecord::HistoryColumns * HistoryRecordSize;
static_assert(OffHistory + TBoardRecord::HistoryRows * HistoryRowSize == OffGameOver);

constexpr int FirstHistoryMove = 1;
constexpr int LastHistoryMove = TBoardRecord::HistoryRows - 1;
constexpr int MinSearchDepth = 1;
constexpr int MaxSearchDepth = 8;
constexpr int MaxPlayerKind = 2;
constexpr std::int32_t Black = 1;
constexpr std::int32_t White = 0;
constexpr std::uint8_t ResultMask = 0xFF; // the result is the low byte of its integer
constexpr std::string_view PromotionPieces = "nbrq";

// --- Writing --------------------------------------------------------------------------------------

class TRecordWriter {
public:
    TRecordWriter() : FBytes(TGameRecord::Size, 0) {}

    void Int(size_t at, std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (size_t i = 0; i < 4; ++i)
            FBytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    void Byte(size_t at, std::uint8_t value) { FBytes[at] = value; }
    void Bool(size_t at, bool value) { FBytes[at] = value ? 1 : 0; }
    void Text(size_t at, std::string_view text, int capacity) {
        const size_t length = std::min(text.size(), static_cast<size_t>(capacity));
        FBytes[at] = static_cast<std::uint8_t>(length);
        std::memcpy(&FBytes[at + 1], text.data(), length);
    }
    void Raw(size_t at, const void* data, size_t size) { std::memcpy(&FBytes[at], data, size); }

    std::vector<std::uint8_t> Take() { return std::move(FBytes); }

private:
    std::vector<std::uint8_t> FBytes;
};

void WritePlayer(TRecordWriter& out, size_t at, const TPlayerRecord& player) {
    out.Int(at + PlayerKind, player.Kind);
    out.Text(at + PlayerName, player.Name, TPlayerRecord::TextCapacity);
    out.Int(at + PlayerColour, player.Colour);
    out.Int(at + PlayerMoveCount, player.MoveCount);
    out.Int(at + PlayerTimePerMove, player.TimePerMove);
    out.Int(at + PlayerTotalTime, player.TotalTime);
    out.Text(at + PlayerStatus, player.Status, TPlayerRecord::TextCapacity);
}

void WriteBoard(TRecordWriter& out, const TBoardRecord& board) {
    out.Bool(OffStopRequested, board.StopRequested);
    for (size_t i = 0; i < board.History.size(); ++i) {
        // Only the used characters go out: the rest of a record's text is left zero.
        THistoryRecord record = board.History[i];
        record.SetPositionText(std::string(board.History[i].PositionText()));
        out.Raw(OffHistory + i * HistoryRecordSize, &record, HistoryRecordSize);
    }
    out.Bool(OffGameOver, board.GameOver);
    out.Bool(OffFirstPaint, board.FirstPaint);
    out.Byte(OffCastlingAllowed, board.CastlingAllowed);
    out.Bool(OffComputerPlaysBlack, board.ComputerPlaysBlack);
    out.Bool(OffComputerPlaysWhite, board.ComputerPlaysWhite);
    out.Int(OffCurrentMove, board.CurrentMove);
    out.Text(OffPosition, board.Position, TBoardRecord::PositionCapacity);
    out.Int(OffSearchDepth, board.SearchDepth);
    out.Bool(OffWhiteOnTop, board.WhiteOnTop);
    out.Bool(OffWhiteToMove, board.WhiteToMove);
    out.Int(OffFirstMoveNumber, board.FirstMoveNumber);
    out.Int(OffLastMoveNumber, board.LastMoveNumber);
    out.Bool(OffFirstSideWhite, board.FirstSideWhite);
    out.Bool(OffLastSideWhite, board.LastSideWhite);
    out.Byte(OffPromotionPiece, static_cast<std::uint8_t>(board.PromotionPiece));
    out.Byte(OffEnPassant, board.EnPassant);
}

void WriteGameData(TRecordWriter& out, const TGameDataRecord& data) {
    out.Int(OffElo1, data.Elo1);
    out.Int(OffElo2, data.Elo2);
    out.Text(OffEvent, data.Event, TGameDataRecord::TextCapacity);
    out.Text(OffSite, data.Site, TGameDataRecord::TextCapacity);
    out.Text(OffComments, data.Comments, TGameDataRecord::TextCapacity);
    out.Int(OffYear, data.Year);
    out.Int(OffMonth, data.Month);
    out.Int(OffDay, data.Day);
    out.Int(OffRound, data.Round);
    out.Text(OffEco, data.ECO, TGameDataRecord::EcoCapacity);
    out.Int(OffResult, data.Result);
}

// --- Reading --------------------------------------------------------------------------------------

// Reads values from a span known to hold one whole record; a text whose length byte lies beyond its
// capacity is remembered, so that the record is refused once it has been read.
class TRecordReader {
public:
    explicit TRecordReader(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

    std::int32_t Int(size_t at) const {
        std::uint32_t bits = 0;
        for (size_t i = 0; i < 4; ++i)
            bits |= std::uint32_t{FBytes[at + i]} << (8 * i);
        return static_cast<std::int32_t>(bits);
    }
    std::uint8_t Byte(size_t at) const { return FBytes[at]; }
    bool Bool(size_t at) const { return FBytes[at] != 0; }
    std::string Text(size_t at, int capacity) {
        const int length = FBytes[at];
        if (length > capacity) {
            MarkTextTooLong();
            return {};
        }
        return std::string(reinterpret_cast<const char*>(&FBytes[at + 1]), static_cast<size_t>(length));
    }
    void Raw(size_t at, void* data, size_t size) const { std::memcpy(data, &FBytes[at], size); }
    void MarkTextTooLong() { FTextTooLong = true; }
    bool TextTooLong() const { return FTextTooLong; }

private:
    std::span<const std::uint8_t> FBytes;
    bool FTextTooLong = false;
};

TPlayerRecord ReadPlayer(TRecordReader& in, size_t at) {
    TPlayerRecord player;
    player.Kind = in.Int(at + PlayerKind);
    player.Name = in.Text(at + PlayerName, TPlayerRecord::TextCapacity);
    player.Colour = in.Int(at + PlayerColour);
    player.MoveCount = in.Int(at + PlayerMoveCount);
    player.TimePerMove = in.Int(at + PlayerTimePerMove);
    player.TotalTime = in.Int(at + PlayerTotalTime);
    player.Status = in.Text(at + PlayerStatus, TPlayerRecord::TextCapacity);
    return player;
}

void ReadHistory(TRecordReader& in, TBoardRecord& board) {
    for (size_t i = 0; i < board.History.size(); ++i) {
        THistoryRecord& record = board.History[i];
        in.Raw(OffHistory + i * HistoryRecordSize, &record, HistoryRecordSize);
        if (record.PositionLength > THistoryRecord::PositionCapacity) {
            in.MarkTextTooLong();
            return;
        }
        record.SetPositionText(std::string(record.PositionText())); // what lies past the text is not kept
    }
}

TBoardRecord ReadBoard(TRecordReader& in) {
    TBoardRecord board;
    board.StopRequested = in.Bool(OffStopRequested);
    ReadHistory(in, board);
    board.GameOver = in.Bool(OffGameOver);
    board.FirstPaint = in.Bool(OffFirstPaint);
    board.CastlingAllowed = in.Byte(OffCastlingAllowed);
    board.ComputerPlaysBlack = in.Bool(OffComputerPlaysBlack);
    board.ComputerPlaysWhite = in.Bool(OffComputerPlaysWhite);
    board.CurrentMove = in.Int(OffCurrentMove);
    board.Position = in.Text(OffPosition, TBoardRecord::PositionCapacity);
    board.SearchDepth = in.Int(OffSearchDepth);
    board.WhiteOnTop = in.Bool(OffWhiteOnTop);
    board.WhiteToMove = in.Bool(OffWhiteToMove);
    board.FirstMoveNumber = in.Int(OffFirstMoveNumber);
    board.LastMoveNumber = in.Int(OffLastMoveNumber);
    board.FirstSideWhite = in.Bool(OffFirstSideWhite);
    board.LastSideWhite = in.Bool(OffLastSideWhite);
    board.PromotionPiece = static_cast<char>(in.Byte(OffPromotionPiece));
    board.EnPassant = in.Byte(OffEnPassant);
    return board;
}

TGameDataRecord ReadGameData(TRecordReader& in) {
    TGameDataRecord data;
    data.Elo1 = in.Int(OffElo1);
    data.Elo2 = in.Int(OffElo2);
    data.Event = in.Text(OffEvent, TGameDataRecord::TextCapacity);
    data.Site = in.Text(OffSite, TGameDataRecord::TextCapacity);
    data.Comments = in.Text(OffComments, TGameDataRecord::TextCapacity);
    data.Year = in.Int(OffYear);
    data.Month = in.Int(OffMonth);
    data.Day = in.Int(OffDay);
    data.Round = in.Int(OffRound);
    data.ECO = in.Text(OffEco, TGameDataRecord::EcoCapacity);
    data.Result = in.Int(OffResult);
    return data;
}

// The unused texts must be well formed too: a length beyond the capacity means the file is damaged.
void ReadSpareTexts(TRecordReader& in) {
    for (int i = 0; i < SpareShortTexts; ++i)
        in.Text(OffSpareShortTexts + static_cast<size_t>(i * (SpareShortCapacity + 1)), SpareShortCapacity);
    for (int i = 0; i < SpareLongTexts; ++i)
        in.Text(OffSpareLongTexts + static_cast<size_t>(i * (SpareLongCapacity + 1)), SpareLongCapacity);
}

// --- Checks ---------------------------------------------------------------------------------------

// Positions of the game line in play order: white's turn at move n before black's.
int HalfMoveIndex(int moveNo, bool whiteToMove) {
    return 2 * moveNo + (whiteToMove ? 0 : 1);
}
int MoveOf(int halfMove) {
    return halfMove / 2;
}
int ColumnOf(int halfMove) {
    return halfMove % 2;
}

bool MoveNumbersHold(const TBoardRecord& board) {
    for (int moveNo : {board.FirstMoveNumber, board.CurrentMove, board.LastMoveNumber})
        if (moveNo < FirstHistoryMove || moveNo > LastHistoryMove) return false;
    const int first = HalfMoveIndex(board.FirstMoveNumber, board.FirstSideWhite);
    const int current = HalfMoveIndex(board.CurrentMove, board.WhiteToMove);
    const int last = HalfMoveIndex(board.LastMoveNumber, board.LastSideWhite);
    return first <= current && current <= last;
}

// Every position of a line that has moves is shown when the user steps through it, and every one but
// the last has the move played from it. A line without moves is only the position on the board.
bool LineHolds(const TBoardRecord& board) {
    const int first = HalfMoveIndex(board.FirstMoveNumber, board.FirstSideWhite);
    const int last = HalfMoveIndex(board.LastMoveNumber, board.LastSideWhite);
    for (int h = first; h <= last && first < last; ++h) {
        const THistoryRecord& record = board.Record(MoveOf(h), ColumnOf(h));
        if (!IsPositionString(record.PositionText())) return false;
        if (h < last && (!IsOnBoard(record.FromSq) || !IsOnBoard(record.ToSq))) return false;
    }
    return true;
}

TGameRecordFault FaultOf(const TGameRecord& record, const TRecordReader& in) {
    if (in.TextTooLong()) return TGameRecordFault::TextTooLong;
    if (!IsPositionString(record.Board.Position)) return TGameRecordFault::BadPosition;
    if (!MoveNumbersHold(record.Board)) return TGameRecordFault::BadMoveNumbers;
    if (!LineHolds(record.Board)) return TGameRecordFault::BadLine;
    return TGameRecordFault::None;
}

// --- Holding the rest to what a game can have -----------------------------------------------------

bool EnPassantFits(std::uint8_t square, bool whiteToMove) {
    const int rank = RankOf(square);
    return IsOnBoard(square) && (whiteToMove ? rank == 6 : rank == 3);
}

char PromotionPieceOf(char stored) {
    const char lower = (stored >= 'A' && stored <= 'Z') ? static_cast<char>(stored + ('a' - 'A')) : stored;
    return PromotionPieces.find(lower) != std::string_view::npos && lower != '\0' ? lower : 'q';
}

void ClampPlayer(TPlayerRecord& player) {
    player.Kind = std::clamp(player.Kind, 0, MaxPlayerKind);
    player.Colour = player.Colour == Black ? Black : White;
    player.MoveCount = std::max(player.MoveCount, 0);
    player.TimePerMove = std::max(player.TimePerMove, 0);
    player.TotalTime = std::max(player.TotalTime, 0);
}

void Clamp(TGameRecord& record) {
    ClampPlayer(record.Player1);
    ClampPlayer(record.Player2);
    record.Player2.Colour = record.Player1.Colour == Black ? White : Black;
    TBoardRecord& board = record.Board;
    board.CastlingAllowed &= AllCastlingRights;
    for (THistoryRecord& history : board.History)
        history.Castling &= AllCastlingRights;
    board.SearchDepth = std::clamp(board.SearchDepth, MinSearchDepth, MaxSearchDepth);
    board.PromotionPiece = PromotionPieceOf(board.PromotionPiece);
    if (!EnPassantFits(board.EnPassant, board.WhiteToMove)) board.EnPassant = None;
    const std::int32_t result = record.Data.Result & ResultMask;
    record.Data.Result = result <= TGameDataRecord::NoResult ? result : TGameDataRecord::NoResult;
}

} // namespace

std::vector<std::uint8_t> EncodeGameRecord(const TGameRecord& record) {
    TRecordWriter out;
    out.Text(OffHeader, Header, HeaderCapacity);
    WritePlayer(out, OffPlayer1, record.Player1);
    WritePlayer(out, OffPlayer2, record.Player2);
    WriteBoard(out, record.Board);
    WriteGameData(out, record.Data);
    return out.Take();
}

TGameRecordFault DecodeGameRecord(std::span<const std::uint8_t> bytes, TGameRecord& record) {
    if (bytes.size() < TGameRecord::Size) return TGameRecordFault::TooShort;
    TRecordReader in(bytes.first(TGameRecord::Size));
    if (in.Text(OffHeader, HeaderCapacity) != Header) return TGameRecordFault::WrongHeader;
    TGameRecord read;
    read.Player1 = ReadPlayer(in, OffPlayer1);
    read.Player2 = ReadPlayer(in, OffPlayer2);
    read.Board = ReadBoard(in);
    read.Data = ReadGameData(in);
    ReadSpareTexts(in);
    if (const TGameRecordFault fault = FaultOf(read, in); fault != TGameRecordFault::None) return fault;
    Clamp(read);
    record = std::move(read);
    return TGameRecordFault::None;
}
