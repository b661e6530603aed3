// The game file's record: a file put together byte by byte from the layout loads, a written record
// has every field at its offset, save-load-save keeps every byte, each damage is refused, the rest is
// held in range, and thousands of damaged files never crash and never give an inconsistent game.

#include "GameRecord.h"
#include "RulesTestSupport.h"

#include <QElapsedTimer>
#include <QTest>
#include <cstring>
#include <functional>
#include <random>

using namespace rulestest;

namespace {

constexpr size_t RecordSize = 82'760;
constexpr size_t HistoryAt = 261;
constexpr size_t RecordBytes = 105;

size_t HistoryOffset(int row, int column) { return HistoryAt + 315 * size_t(row) + RecordBytes * size_t(column); }

// A file written by hand at the offsets of the layout, without the encoder.
struct TFileBytes {
    std::vector<std::uint8_t> Bytes = std::vector<std::uint8_t>(RecordSize, 0);

    void Int(size_t at, std::int32_t value) {
        for (size_t i = 0; i < 4; ++i) Bytes[at + i] = std::uint8_t(std::uint32_t(value) >> (8 * i));
    }
    void Byte(size_t at, std::uint8_t value) { Bytes[at] = value; }
    void Text(size_t at, std::string_view text) {
        Bytes[at] = std::uint8_t(text.size());
        std::memcpy(&Bytes[at + 1], text.data(), text.size());
    }
    void History(int row, int column, std::string_view position, int from, int to, int castling, int enPassant) {
        const size_t at = HistoryOffset(row, column);
        Text(at, position);
        Byte(at + 101, std::uint8_t(castling));
        Byte(at + 102, std::uint8_t(from));
        Byte(at + 103, std::uint8_t(to));
        Byte(at + 104, std::uint8_t(enPassant));
    }
    std::int32_t IntAt(size_t at) const {
        std::uint32_t bits = 0;
        for (size_t i = 0; i < 4; ++i) bits |= std::uint32_t(Bytes[at + i]) << (8 * i);
        return std::int32_t(bits);
    }
    std::string TextAt(size_t at) const { return std::string(reinterpret_cast<const char*>(&Bytes[at + 1]), Bytes[at]); }
};

std::string PositionAfter(const QString& line) {
    TChessRules rules;
    if (!PlayLine(rules, line)) qFatal("test line refused: %s", qPrintable(line));
    return rules.Position();
}

// 1. e4 e5, white to move at move 2, with both seats and the game data filled in.
TFileBytes HandBuiltGame() {
    TFileBytes file;
    file.Text(0, "3.02.200");
    file.Int(12, 1);                 // player 1: computer
    file.Text(16, "J\xFCrgen");      // "Jürgen" in the Windows code page
    file.Int(68, 1);                 // black
    file.Int(72, 2);
    file.Int(76, 1500);
    file.Int(80, 3000);
    file.Text(84, "wartet...");
    file.Int(136, 0);                // player 2: human
    file.Text(140, "Anna");
    file.Int(192, 0);                // white
    file.Int(196, 2);
    file.Int(200, 2500);
    file.Int(204, 5000);
    file.Text(208, "ist am Zug...");
    file.History(1, 0, StartPosition, E2, E4, 15, None);
    file.History(1, 1, PositionAfter("E2-E4"), E7, E5, 15, E3);
    file.History(2, 0, PositionAfter("E2-E4 E7-E5"), 0, 0, 15, E6);
    file.Byte(81218, 15);
    file.Byte(81219, 1);             // the computer plays black
    file.Int(81224, 2);
    file.Text(81228, PositionAfter("E2-E4 E7-E5"));
    file.Int(81332, 4);
    file.Byte(81337, 1);             // white to move
    file.Int(81340, 1);
    file.Int(81344, 2);
    file.Byte(81348, 1);
    file.Byte(81349, 1);
    file.Byte(81350, 'q');
    file.Byte(81351, E6);
    file.Int(81352, 1850);
    file.Int(81356, 1720);
    file.Text(81360, "Vereinsmeisterschaft");
    file.Text(81611, "Kiel");
    file.Text(81862, "Kommentar \x80");
    file.Int(82116, 2026);
    file.Int(82120, 12);
    file.Int(82124, 6);
    file.Int(82128, 3);
    file.Text(82132, "C20");
    file.Int(82144, 1);
    return file;
}

TGameRecord Decoded(const TFileBytes& file) {
    TGameRecord record;
    const TGameRecordFault fault = DecodeGameRecord(file.Bytes, record);
    if (fault != TGameRecordFault::None) qFatal("a valid file was refused (%d)", int(fault));
    return record;
}

// A line with a castling, an en-passant capture and a promotion, decided by nothing yet.
constexpr auto RichLine = "E2-E4 A7-A6 E4-E5 D7-D5 E5-D6 B7-B6 D6-C7 D8-D7 C7-B8 A8-A7 G1-F3 H7-H6 F1-E2 H6-H5 "
                          "E1-G1 H5-H4";

TGameRecord RecordOfRules(const TChessRules& rules) {
    TGameRecord record;
    rules.StoreGameFields(record.Board);
    record.Player1.Name = "Spieler 1";
    record.Player2.Name = "Spieler 2";
    record.Player2.Colour = 0;
    record.Player1.Colour = 1;
    return record;
}

// What a loaded game must be, whatever the file held: a position of piece characters, a line that
// can be walked from end to start, and a move list of one line per half-move.
void VerifyConsistentGame(TChessRules& rules) {
    auto isPlacement = [](const std::string& p) {
        return p.size() == 64 && p.find_first_not_of(PieceCharacters) == std::string::npos;
    };
    QVERIFY(isPlacement(rules.Position()));
    const int first = 2 * rules.FirstMoveNumber() + (rules.FirstSideWhite() ? 0 : 1);
    const int last = 2 * rules.LastMoveNumber() + (rules.LastSideWhite() ? 0 : 1);
    const int current = 2 * rules.CurrentMove() + (rules.WhiteToMove() ? 0 : 1);
    QVERIFY(first <= current && current <= last);
    std::vector<std::string> lines;
    rules.FillMoveList(lines);
    QCOMPARE(int(lines.size()), last - 2 * rules.FirstMoveNumber());
    if (first == last) return;
    QVERIFY(rules.GotoMove(rules.LastMoveNumber(), rules.LastSideWhite()));
    for (int h = last; h > first; --h) {
        QVERIFY(isPlacement(rules.Position()));
        QVERIFY(rules.TakeBackMove());
    }
    QVERIFY(!rules.TakeBackMove());
    rules.HasLegalMove();
}

} // namespace

class TestGameRecord : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handBuiltFileLoads();
    void encodedRecordHasEveryFieldAtItsOffset();
    void textsAreCutAtTheirCapacity();
    void saveLoadSaveKeepsEveryByte();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void valuesOutOfRangeAreHeld_data();
    void valuesOutOfRangeAreHeld();
    void lineWithoutMovesTakesThePositionOnTheBoard();
    void startLineForgetsTheEarlierGame();
    void mutatedFilesNeverGiveAnInconsistentGame();
};

void TestGameRecord::handBuiltFileLoads() {
    const TGameRecord record = Decoded(HandBuiltGame());
    QCOMPARE(record.Player1.Kind, 1);
    QCOMPARE(record.Player1.Name, std::string("J\xFCrgen"));
    QCOMPARE(record.Player1.Colour, 1);
    QCOMPARE(record.Player1.TotalTime, 3000);
    QCOMPARE(record.Player1.Status, std::string("wartet..."));
    QCOMPARE(record.Player2.Name, std::string("Anna"));
    QCOMPARE(record.Player2.TimePerMove, 2500);
    QCOMPARE(record.Data.Elo1, 1850);
    QCOMPARE(record.Data.Event, std::string("Vereinsmeisterschaft"));
    QCOMPARE(record.Data.Comments, std::string("Kommentar \x80"));
    QCOMPARE(record.Data.Year, 2026);
    QCOMPARE(record.Data.ECO, std::string("C20"));
    QCOMPARE(record.Data.Result, 1);
    QVERIFY(record.Board.ComputerPlaysBlack);
    QCOMPARE(record.Board.SearchDepth, 4);

    TChessRules rules;
    PlayLine(rules, "D2-D4 D7-D5 G1-F3"); // a game in progress that the file replaces
    rules.LoadGameFields(record.Board);
    QCOMPARE(rules.Position(), PositionAfter("E2-E4 E7-E5"));
    QCOMPARE(rules.CurrentMove(), 2);
    QVERIFY(rules.WhiteToMove());
    QCOMPARE(int(rules.EnPassant()), int(E6));
    std::vector<std::string> lines;
    rules.FillMoveList(lines);
    QCOMPARE(ToQt(lines), QStringList({"1. E2-E4", "              E7-E5"}));
    QVERIFY(rules.GotoMove(1, true));
    QCOMPARE(rules.Position(), std::string(StartPosition));
    QVERIFY(rules.GotoMove(2, true));
    QVERIFY(PlayLine(rules, "G1-F3"));
    QCOMPARE(rules.LastMoveNumber(), 2);
    QVERIFY(!rules.LastSideWhite());
}

void TestGameRecord::encodedRecordHasEveryFieldAtItsOffset() {
    TGameRecord record = Decoded(HandBuiltGame());
    record.Board.StopRequested = true;
    record.Board.GameOver = true;
    record.Board.FirstPaint = true;
    record.Board.WhiteOnTop = true;
    record.Board.ComputerPlaysWhite = true;
    record.Board.PromotionPiece = 'n';
    record.Data.Day = 31;
    TFileBytes file;
    file.Bytes = EncodeGameRecord(record);
    QCOMPARE(file.Bytes.size(), RecordSize);
    QCOMPARE(file.TextAt(0), std::string("3.02.200"));
    QCOMPARE(file.IntAt(12), 1);
    QCOMPARE(file.TextAt(16), std::string("J\xFCrgen"));
    QCOMPARE(file.IntAt(68), 1);
    QCOMPARE(file.IntAt(72), 2);
    QCOMPARE(file.IntAt(76), 1500);
    QCOMPARE(file.IntAt(80), 3000);
    QCOMPARE(file.TextAt(84), std::string("wartet..."));
    QCOMPARE(file.TextAt(140), std::string("Anna"));
    QCOMPARE(file.IntAt(192), 0);
    QCOMPARE(file.IntAt(204), 5000);
    QCOMPARE(file.TextAt(208), std::string("ist am Zug..."));
    QCOMPARE(int(file.Bytes[260]), 1);
    QCOMPARE(file.TextAt(HistoryOffset(1, 0)), std::string(StartPosition));
    QCOMPARE(int(file.Bytes[HistoryOffset(1, 0) + 102]), int(E2));
    QCOMPARE(int(file.Bytes[HistoryOffset(1, 0) + 103]), int(E4));
    QCOMPARE(int(file.Bytes[HistoryOffset(1, 1) + 104]), int(E3));
    QCOMPARE(int(file.Bytes[81216]), 1);
    QCOMPARE(int(file.Bytes[81217]), 1);
    QCOMPARE(int(file.Bytes[81218]), 15);
    QCOMPARE(int(file.Bytes[81219]), 1);
    QCOMPARE(int(file.Bytes[81220]), 1);
    QCOMPARE(file.IntAt(81224), 2);
    QCOMPARE(file.TextAt(81228), PositionAfter("E2-E4 E7-E5"));
    QCOMPARE(file.IntAt(81332), 4);
    QCOMPARE(int(file.Bytes[81336]), 1);
    QCOMPARE(int(file.Bytes[81337]), 1);
    QCOMPARE(file.IntAt(81340), 1);
    QCOMPARE(file.IntAt(81344), 2);
    QCOMPARE(int(file.Bytes[81348]), 1);
    QCOMPARE(int(file.Bytes[81349]), 1);
    QCOMPARE(char(file.Bytes[81350]), 'n');
    QCOMPARE(int(file.Bytes[81351]), int(E6));
    QCOMPARE(file.IntAt(81352), 1850);
    QCOMPARE(file.IntAt(81356), 1720);
    QCOMPARE(file.TextAt(81360), std::string("Vereinsmeisterschaft"));
    QCOMPARE(file.TextAt(81611), std::string("Kiel"));
    QCOMPARE(file.TextAt(81862), std::string("Kommentar \x80"));
    QCOMPARE(file.IntAt(82116), 2026);
    QCOMPARE(file.IntAt(82120), 12);
    QCOMPARE(file.IntAt(82124), 31);
    QCOMPARE(file.IntAt(82128), 3);
    QCOMPARE(file.TextAt(82132), std::string("C20"));
    QCOMPARE(file.IntAt(82144), 1);
    // Reserved and unused bytes, and what lies past each text, are zero.
    for (auto [from, to] : std::initializer_list<std::pair<size_t, size_t>>{
             {9, 12}, {12 + 55, 12 + 56}, {12 + 123, 12 + 124}, {81221, 81224}, {81329, 81332}, {81338, 81340},
             {82113, 82116}, {82143, 82144}, {82148, RecordSize}, {81228 + 65, 81329}, {140 + 5, 140 + 51}})
        for (size_t at = from; at < to; ++at) QVERIFY2(file.Bytes[at] == 0, qPrintable(QString::number(at)));
    QCOMPARE(file.Bytes[HistoryOffset(5, 2)], std::uint8_t(0));
}

void TestGameRecord::textsAreCutAtTheirCapacity() {
    TGameRecord record = Decoded(HandBuiltGame());
    record.Player1.Name = std::string(80, 'n');
    record.Player2.Status = std::string(60, 's');
    record.Data.Event = std::string(300, 'e');
    record.Data.ECO = "A00-B99-C00";
    TFileBytes file;
    file.Bytes = EncodeGameRecord(record);
    QCOMPARE(file.TextAt(16), std::string(50, 'n'));
    QCOMPARE(int(file.Bytes[16 + 51]), 0); // the reserved byte after the name is untouched
    QCOMPARE(file.TextAt(208), std::string(50, 's'));
    QCOMPARE(file.TextAt(81360), std::string(250, 'e'));
    QCOMPARE(file.TextAt(81611), std::string("Kiel"));
    QCOMPARE(file.TextAt(82132), std::string("A00-B99-C0"));
    QCOMPARE(int(file.Bytes[82143]), 0);
    QCOMPARE(Decoded(file).Player1.Name, std::string(50, 'n'));
}

void TestGameRecord::saveLoadSaveKeepsEveryByte() {
    TChessRules rules;
    QVERIFY(PlayLine(rules, RichLine));
    QCOMPARE(rules.CastlingAllowed(), CastleSet(BlackKingSide)); // white castled, the black queen's rook moved
    QCOMPARE(rules.PieceAt(B8), 'Q');
    QCOMPARE(rules.PieceAt(D5), ' ');
    QVERIFY(rules.GotoMove(6, false)); // saved while stepped back
    const std::vector<std::uint8_t> first = EncodeGameRecord(RecordOfRules(rules));

    TChessRules loaded;
    TGameRecord record;
    QCOMPARE(DecodeGameRecord(first, record), TGameRecordFault::None);
    loaded.LoadGameFields(record.Board);
    QCOMPARE(loaded.Position(), rules.Position());
    QCOMPARE(loaded.CurrentMove(), 6);
    QVERIFY(!loaded.WhiteToMove());
    QCOMPARE(EncodeGameRecord(RecordOfRules(loaded)), first);
    QVERIFY(loaded.GotoMove(9, true));
    QCOMPARE(loaded.PieceAt(G1), 'K');
    QCOMPARE(loaded.PieceAt(F1), 'R');
}

void TestGameRecord::damagedFilesAreRefused_data() {
    using Damage = std::function<void(TFileBytes&)>;
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<TGameRecordFault>("fault");
    auto row = [](const char* name, Damage damage, TGameRecordFault fault) { QTest::newRow(name) << damage << fault; };
    using F = TGameRecordFault;
    row("one byte short", [](TFileBytes& f) { f.Bytes.pop_back(); }, F::TooShort);
    row("empty", [](TFileBytes& f) { f.Bytes.clear(); }, F::TooShort);
    row("other header", [](TFileBytes& f) { f.Text(0, "3.02.199"); }, F::WrongHeader);
    row("header too long", [](TFileBytes& f) { f.Byte(0, 9); }, F::WrongHeader);
    row("name of 51", [](TFileBytes& f) { f.Byte(16, 51); }, F::TextTooLong);
    row("status of 255", [](TFileBytes& f) { f.Byte(208, 255); }, F::TextTooLong);
    row("event of 251", [](TFileBytes& f) { f.Byte(81360, 251); }, F::TextTooLong);
    row("comments of 255", [](TFileBytes& f) { f.Byte(81862, 255); }, F::TextTooLong);
    row("ECO of 11", [](TFileBytes& f) { f.Byte(82132, 11); }, F::TextTooLong);
    row("unused short text", [](TFileBytes& f) { f.Byte(82148 + 5 * 11, 11); }, F::TextTooLong);
    row("unused long text", [](TFileBytes& f) { f.Byte(82304 + 3 * 101, 101); }, F::TextTooLong);
    row("position of 101", [](TFileBytes& f) { f.Byte(81228, 101); }, F::TextTooLong);
    row("history record of 101", [](TFileBytes& f) { f.Byte(HistoryOffset(200, 2), 101); }, F::TextTooLong);
    row("position with x", [](TFileBytes& f) { f.Byte(81228 + 1 + 30, 'x'); }, F::BadPosition);
    row("position with NUL", [](TFileBytes& f) { f.Byte(81228 + 1 + 30, 0); }, F::BadPosition);
    row("position of 63", [](TFileBytes& f) { f.Byte(81228, 63); }, F::BadPosition);
    row("current move 0", [](TFileBytes& f) { f.Int(81224, 0); }, F::BadMoveNumbers);
    row("current move 300", [](TFileBytes& f) { f.Int(81224, 300); }, F::BadMoveNumbers);
    row("first move negative", [](TFileBytes& f) { f.Int(81340, -1); }, F::BadMoveNumbers);
    row("last move 257", [](TFileBytes& f) { f.Int(81344, 257); }, F::BadMoveNumbers);
    row("last move huge", [](TFileBytes& f) { f.Int(81344, 0x7FFFFFFF); }, F::BadMoveNumbers);
    row("current after last", [](TFileBytes& f) { f.Byte(81337, 0); }, F::BadMoveNumbers);
    row("current before first", [](TFileBytes& f) {
        f.Int(81340, 2);
        f.Byte(81348, 0); // the line would begin with black's turn after the current position
    }, F::BadMoveNumbers);
    row("first after last", [](TFileBytes& f) {
        f.Int(81340, 2);
        f.Int(81344, 1);
    }, F::BadMoveNumbers);
    row("line position with x", [](TFileBytes& f) { f.Byte(HistoryOffset(1, 1) + 10, 'x'); }, F::BadLine);
    row("line position missing", [](TFileBytes& f) { f.Byte(HistoryOffset(2, 0), 0); }, F::BadLine);
    row("line move off the board", [](TFileBytes& f) { f.Byte(HistoryOffset(1, 0) + 103, 65); }, F::BadLine);
}

void TestGameRecord::damagedFilesAreRefused() {
    QFETCH(std::function<void(TFileBytes&)>, damage);
    QFETCH(TGameRecordFault, fault);
    TFileBytes file = HandBuiltGame();
    damage(file);
    TGameRecord record;
    record.Player1.Name = "untouched";
    record.Board.CurrentMove = 17;
    QCOMPARE(DecodeGameRecord(file.Bytes, record), fault);
    QCOMPARE(record.Player1.Name, std::string("untouched"));
    QCOMPARE(record.Board.CurrentMove, 17);
}

void TestGameRecord::valuesOutOfRangeAreHeld_data() {
    using Damage = std::function<void(TFileBytes&)>;
    using Check = std::function<void(const TGameRecord&)>;
    QTest::addColumn<Damage>("damage");
    QTest::addColumn<Check>("check");
    auto row = [](const char* name, Damage damage, Check check) { QTest::newRow(name) << damage << check; };
    row("kind -1", [](TFileBytes& f) { f.Int(12, -1); }, [](const TGameRecord& r) { QCOMPARE(r.Player1.Kind, 0); });
    row("kind 7", [](TFileBytes& f) { f.Int(136, 7); }, [](const TGameRecord& r) { QCOMPARE(r.Player2.Kind, 2); });
    row("both black", [](TFileBytes& f) { f.Int(192, 1); }, [](const TGameRecord& r) {
        QCOMPARE(r.Player1.Colour, 1);
        QCOMPARE(r.Player2.Colour, 0);
    });
    row("colour 5 is white", [](TFileBytes& f) { f.Int(68, 5); }, [](const TGameRecord& r) {
        QCOMPARE(r.Player1.Colour, 0);
        QCOMPARE(r.Player2.Colour, 1);
    });
    row("negative clocks", [](TFileBytes& f) {
        f.Int(72, -3);
        f.Int(76, -1);
        f.Int(204, -100000);
    }, [](const TGameRecord& r) {
        QCOMPARE(r.Player1.MoveCount, 0);
        QCOMPARE(r.Player1.TimePerMove, 0);
        QCOMPARE(r.Player2.TotalTime, 0);
    });
    row("castling 255", [](TFileBytes& f) {
        f.Byte(81218, 255);
        f.Byte(HistoryOffset(1, 1) + 101, 0xF3);
    }, [](const TGameRecord& r) {
        QCOMPARE(int(r.Board.CastlingAllowed), 15);
        QCOMPARE(int(r.Board.Record(1, 1).Castling), 3);
    });
    row("promotion x", [](TFileBytes& f) { f.Byte(81350, 'x'); },
        [](const TGameRecord& r) { QCOMPARE(r.Board.PromotionPiece, 'q'); });
    row("promotion K", [](TFileBytes& f) { f.Byte(81350, 'K'); },
        [](const TGameRecord& r) { QCOMPARE(r.Board.PromotionPiece, 'q'); });
    row("promotion N", [](TFileBytes& f) { f.Byte(81350, 'N'); },
        [](const TGameRecord& r) { QCOMPARE(r.Board.PromotionPiece, 'n'); });
    row("promotion r", [](TFileBytes& f) { f.Byte(81350, 'r'); },
        [](const TGameRecord& r) { QCOMPARE(r.Board.PromotionPiece, 'r'); });
    row("depth 0", [](TFileBytes& f) { f.Int(81332, 0); }, [](const TGameRecord& r) { QCOMPARE(r.Board.SearchDepth, 1); });
    row("depth 99", [](TFileBytes& f) { f.Int(81332, 99); }, [](const TGameRecord& r) { QCOMPARE(r.Board.SearchDepth, 8); });
    row("result 7", [](TFileBytes& f) { f.Int(82144, 7); }, [](const TGameRecord& r) { QCOMPARE(r.Data.Result, 3); });
    row("result in the low byte", [](TFileBytes& f) { f.Int(82144, 0x102); },
        [](const TGameRecord& r) { QCOMPARE(r.Data.Result, 2); });
    row("en passant off its rank", [](TFileBytes& f) { f.Byte(81351, E3); },
        [](const TGameRecord& r) { QCOMPARE(int(r.Board.EnPassant), int(None)); });
    row("en passant beyond the board", [](TFileBytes& f) { f.Byte(81351, 200); },
        [](const TGameRecord& r) { QCOMPARE(int(r.Board.EnPassant), int(None)); });
    row("booleans other than 1", [](TFileBytes& f) { f.Byte(81336, 7); },
        [](const TGameRecord& r) { QVERIFY(r.Board.WhiteOnTop); });
    row("a longer file", [](TFileBytes& f) { f.Bytes.resize(RecordSize + 100, 0xFF); },
        [](const TGameRecord& r) { QCOMPARE(r.Player2.Name, std::string("Anna")); });
}

void TestGameRecord::valuesOutOfRangeAreHeld() {
    QFETCH(std::function<void(TFileBytes&)>, damage);
    QFETCH(std::function<void(const TGameRecord&)>, check);
    TFileBytes file = HandBuiltGame();
    damage(file);
    check(Decoded(file));
}

// A game saved before its first move may hold any record at its start: the position on the board counts.
void TestGameRecord::lineWithoutMovesTakesThePositionOnTheBoard() {
    TFileBytes file = HandBuiltGame();
    file.Int(81224, 5);
    file.Int(81340, 5);
    file.Int(81344, 5);
    file.Byte(81337, 0);
    file.Byte(81348, 0);
    file.Byte(81349, 0);
    file.Byte(81351, E3);
    file.Byte(HistoryOffset(5, 1), 0); // no record at all
    TChessRules rules;
    rules.LoadGameFields(Decoded(file).Board);
    QCOMPARE(rules.HistoryRecord(5, 1).PositionText(), std::string_view(rules.Position()));
    std::vector<std::string> lines;
    rules.FillMoveList(lines);
    QCOMPARE(ToQt(lines), QStringList({"5.  ...   "}));
    QVERIFY(rules.GotoMove(5, false));
    QCOMPARE(rules.Position(), PositionAfter("E2-E4 E7-E5"));
    QVERIFY(!rules.IsThreefoldRepetition());
}

void TestGameRecord::startLineForgetsTheEarlierGame() {
    TChessRules rules;
    // An earlier game whose positions would count for a repetition and whose moves would show.
    QVERIFY(PlayLine(rules, "G1-F3 G8-F6 F3-G1 F6-G8 G1-F3 G8-F6"));
    rules.NewGame();
    rules.SetPosition(PositionAfter("G1-F3"));
    rules.SetWhiteToMove(false);
    rules.StartLine();
    std::vector<std::string> lines;
    rules.FillMoveList(lines);
    QCOMPARE(ToQt(lines), QStringList({"1.  ...   "}));
    QVERIFY(PlayLine(rules, "G8-F6 F3-G1 F6-G8 G1-F3"));
    QVERIFY(!rules.IsThreefoldRepetition()); // only the second time in this line
    lines.clear();
    rules.FillMoveList(lines);
    QCOMPARE(ToQt(lines), QStringList({"1.  ...   ", "              G8-F6", "2. F3-G1", "              F6-G8",
                                       "3. G1-F3"}));
    QVERIFY(rules.GotoMove(1, false));
    QCOMPARE(rules.Position(), PositionAfter("G1-F3"));
    QVERIFY(!rules.GotoMove(1, true));
}

// Files damaged at random: cut short, bytes changed, text lengths and move numbers made huge. Each is
// refused with the caller's record untouched, or gives a game that can be walked and played.
void TestGameRecord::mutatedFilesNeverGiveAnInconsistentGame() {
    constexpr int Mutations = 20'000;
    TChessRules source;
    QVERIFY(PlayLine(source, RichLine));
    const std::vector<std::uint8_t> valid = EncodeGameRecord(RecordOfRules(source));
    const std::vector<size_t> textOffsets = {0, 16, 84, 140, 208, 81228, 81360, 81611, 81862, 82132,
                                             HistoryOffset(3, 1), HistoryOffset(8, 0)};
    const std::vector<size_t> moveNumberOffsets = {81224, 81340, 81344};
    std::mt19937 random(20261206);
    auto pick = [&random](size_t count) { return size_t(random() % count); };
    int refused = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Mutations; ++i) {
        TFileBytes file;
        file.Bytes = valid;
        switch (i % 5) {
        case 0: file.Bytes.resize(pick(RecordSize)); break;
        case 1:
            for (int n = 1 + int(pick(8)); n > 0; --n) file.Bytes[pick(RecordSize)] = std::uint8_t(random());
            break;
        case 2: file.Byte(textOffsets[pick(textOffsets.size())], std::uint8_t(random())); break;
        case 3: file.Int(moveNumberOffsets[pick(moveNumberOffsets.size())], std::int32_t(random())); break;
        default:
            // Small move numbers and sides, so that many files pass the checks and are played.
            file.Int(moveNumberOffsets[pick(moveNumberOffsets.size())], 1 + int(pick(12)));
            file.Byte(81337 + pick(13), std::uint8_t(pick(2)));
            file.Bytes[HistoryAt + pick(12 * 315)] = std::uint8_t(random());
            break;
        }
        TGameRecord record;
        record.Player1.Name = "untouched";
        if (DecodeGameRecord(file.Bytes, record) != TGameRecordFault::None) {
            ++refused;
            QCOMPARE(record.Player1.Name, std::string("untouched"));
            QCOMPARE(record.Board.CurrentMove, 1);
            continue;
        }
        TChessRules rules;
        rules.LoadGameFields(record.Board);
        VerifyConsistentGame(rules);
        if (QTest::currentTestFailed()) qFatal("mutation %d gave an inconsistent game", i);
    }
    qInfo("%d mutated files decoded in %lld ms, %d refused", Mutations, timer.elapsed(), refused);
    QVERIFY(refused > Mutations / 5);
    QVERIFY(refused < Mutations);
}

QTEST_GUILESS_MAIN(TestGameRecord)
#include "tst_gamerecord.moc"
