// The board's game files: what it writes and reads back, a failed write that keeps the old file,
// and a damaged or missing file that leaves the board and the caller's record as they were.

#include "ChessBrd.h"
#include "FileSizeLimit.h"
#include "GameRecord.h"
#include "RulesTestSupport.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace rulestest;

class TestGameFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void savedGameLoadsOnAnotherBoard();
    void failedWriteKeepsTheOldFile();
    void damagedOrMissingFileChangesNothing_data();
    void damagedOrMissingFileChangesNothing();

private:
    QTemporaryDir FDir;
};

void TestGameFile::savedGameLoadsOnAnotherBoard() {
    TChessBrd board;
    QVERIFY(PlayLine(board, "E2-E4 E7-E5 G1-F3 B8-C6"));
    board.SetComputerPlaysBlack(true);
    board.SetSearchDepth(5);
    board.SetWhiteOnTop(true);
    TGameRecord data;
    data.Player1.Name = "Ada";
    data.Player1.Colour = 1; // black; the seats always have opposite colours once loaded
    data.Data.Site = "Bonn";
    const QString name = FDir.filePath("game.tn2");
    QVERIFY(board.SaveGame(name, data));
    QCOMPARE(ReadAll(name).size(), qsizetype(TGameRecord::Size));

    TChessBrd other;
    TGameRecord loaded;
    QVERIFY(other.LoadGame(name, loaded));
    QCOMPARE(loaded.Player1.Name, std::string("Ada"));
    QCOMPARE(loaded.Data.Site, std::string("Bonn"));
    QCOMPARE(other.Position(), board.Position());
    QCOMPARE(other.CurrentMove(), 3);
    QVERIFY(other.ComputerPlaysBlack());
    QVERIFY(!other.ComputerPlaysWhite());
    QCOMPARE(other.SearchDepth(), 5);
    QVERIFY(other.WhiteOnTop());
    std::vector<std::string> lines;
    other.FillMoveList(lines);
    QCOMPARE(int(lines.size()), 4);
    QVERIFY(other.SaveGame(FDir.filePath("again.tn2"), loaded));
    QCOMPARE(ReadAll(FDir.filePath("again.tn2")), ReadAll(name));
}

void TestGameFile::failedWriteKeepsTheOldFile() {
    const QString name = FDir.filePath("old.tn2");
    WriteAll(name, "the old game");
    TChessBrd board;
    QString error;
    bool saved = true;
    {
        const FileSizeLimit diskFull(1000);
        saved = board.SaveGame(name, TGameRecord{}, &error);
    }
    QVERIFY(!saved);
    QVERIFY(!error.isEmpty());
    QCOMPARE(ReadAll(name), QByteArray("the old game"));
}

void TestGameFile::damagedOrMissingFileChangesNothing_data() {
    QTest::addColumn<qsizetype>("keep"); // bytes of a good file kept; -1: no file at all
    QTest::addColumn<bool>("reasonGiven");
    QTest::newRow("truncated") << qsizetype(TGameRecord::Size / 2) << false;
    QTest::newRow("empty") << qsizetype(0) << false;
    QTest::newRow("missing") << qsizetype(-1) << true;
}

void TestGameFile::damagedOrMissingFileChangesNothing() {
    QFETCH(qsizetype, keep);
    QFETCH(bool, reasonGiven);
    TChessBrd source;
    QVERIFY(PlayLine(source, "D2-D4 D7-D5"));
    const QString name = FDir.filePath("damaged.tn2");
    QFile::remove(name);
    if (keep >= 0) {
        QVERIFY(source.SaveGame(name, TGameRecord{}));
        WriteAll(name, ReadAll(name).left(keep));
    }
    TChessBrd board;
    QVERIFY(PlayLine(board, "E2-E4 E7-E5 G1-F3"));
    board.SetSearchDepth(2);
    TGameRecord data;
    data.Player2.Name = "mine";
    QString error = "stale";
    QVERIFY(!board.LoadGame(name, data, &error));
    QCOMPARE(error.isEmpty(), !reasonGiven);
    QCOMPARE(data.Player2.Name, std::string("mine"));
    QCOMPARE(board.Position(), [] {
        TChessRules rules;
        PlayLine(rules, "E2-E4 E7-E5 G1-F3");
        return rules.Position();
    }());
    QCOMPARE(board.CurrentMove(), 2);
    QVERIFY(!board.WhiteToMove());
    QCOMPARE(board.SearchDepth(), 2);
    QCOMPARE(int(board.HistoryRecord(1, 0).ToSq), int(E4));
    QVERIFY(board.MakeMove(B8, C6));
}

QTEST_MAIN(TestGameFile)
#include "tst_gamefile.moc"
