#include "Logbook.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestLogbook : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void germanLabels();
    void moveLine_data();
    void moveLine();
    void linesAccumulateAndClear();
    void thinkingStatus();
    void gameMode_data();
    void gameMode();
    void labelsFollowTheLanguage();

private:
    QTemporaryDir FDir;
};

void TestLogbook::init() {
    QVERIFY(FDir.isValid());
    SetProgramDir(FDir.path());
    QVERIFY(QDir(FDir.path()).mkpath("Lang"));
    QFile file(FDir.filePath("Lang/English.lng"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("; logbook texts\n3031=Standard game\n3032=Blitz\n4410=Depth\n4411=Nodes\n4412=Score\n"
               "4413=Best line\n4415=Move: \n");
}

void TestLogbook::cleanup() {
    CloseLanguageFile();
    SetProgramDir({});
}

void TestLogbook::germanLabels() {
    QCOMPARE(TLogbook::MoveLabel(), "Zug : ");
    QCOMPARE(TLogbook::DepthLabel(), "Tiefe ");
    QCOMPARE(TLogbook::NodesLabel(), " Knoten ");
    QCOMPARE(TLogbook::ScoreLabel(), " Punkte ");
    QCOMPARE(TLogbook::BestLineLabel(), " Beste Linie ");
}

void TestLogbook::moveLine_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("depth");
    QTest::addColumn<qint64>("nodes");
    QTest::addColumn<int>("score");
    QTest::addColumn<QString>("line");
    QTest::newRow("e2-e4 after a search")
        << "E2"
        << "E4" << 4 << qint64(15230) << 35 << "Zug : E2-E4 Tiefe 4 Knoten 15230 Punkte 35";
    QTest::newRow("human move after reset")
        << "G8"
        << "F6" << 0 << qint64(0) << 0 << "Zug : G8-F6 Tiefe 0 Knoten 0 Punkte 0";
    QTest::newRow("negative score, many nodes")
        << "A7"
        << "A8" << 6 << qint64(5'000'000'000) << -120 << "Zug : A7-A8 Tiefe 6 Knoten 5000000000 Punkte -120";
    QTest::newRow("not a square") << "none"
                                  << "H1" << 1 << qint64(3) << 2 << "Zug : none-H1 Tiefe 1 Knoten 3 Punkte 2";
}

void TestLogbook::moveLine() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, depth);
    QFETCH(qint64, nodes);
    QFETCH(int, score);
    QFETCH(QString, line);
    QCOMPARE(TLogbook::MoveLine(from, to, depth, nodes, score), line);
}

void TestLogbook::linesAccumulateAndClear() {
    TLogbook logbook;
    QSignalSpy added(&logbook, &TLogbook::LineAdded);
    QSignalSpy cleared(&logbook, &TLogbook::Cleared);
    logbook.AddLine(TLogbook::MoveLine("E2", "E4", 4, 15230, 35));
    logbook.AddLine("Schach");
    logbook.AddLine("Spieler 1 hat wegen Zeitüberschreitung verloren");
    QCOMPARE(logbook.Lines(), (QStringList{"Zug : E2-E4 Tiefe 4 Knoten 15230 Punkte 35", "Schach",
                                           "Spieler 1 hat wegen Zeitüberschreitung verloren"}));
    QCOMPARE(added.size(), 3);
    QCOMPARE(added.at(1).at(0).toString(), "Schach");
    QCOMPARE(cleared.size(), 0);

    logbook.Clear();
    QCOMPARE(logbook.Lines(), QStringList{});
    QCOMPARE(cleared.size(), 1);
    logbook.AddLine("Schachmatt");
    QCOMPARE(logbook.Lines(), QStringList{"Schachmatt"});
}

void TestLogbook::thinkingStatus() {
    TLogbook logbook;
    QSignalSpy changed(&logbook, &TLogbook::StatusChanged);
    QCOMPARE(logbook.ThinkingStatus(), "");
    logbook.UpdateThinkingStatus(4, 15230, 35, "E2-E4 E7-E5 ");
    QCOMPARE(logbook.ThinkingStatus(), "Tiefe 4 Knoten 15230 Punkte 35 Beste Linie E2-E4 E7-E5 ");
    QCOMPARE(changed.size(), 1);
    logbook.UpdateThinkingStatus(0, 0, 0, "");
    QCOMPARE(logbook.ThinkingStatus(), "Tiefe 0 Knoten 0 Punkte 0 Beste Linie ");
    logbook.ClearThinkingStatus();
    QCOMPARE(logbook.ThinkingStatus(), "");
    QCOMPARE(changed.size(), 3);
    QCOMPARE(logbook.Lines(), QStringList{}); // the status is no log line
}

void TestLogbook::gameMode_data() {
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("signalCount");
    QTest::newRow("standard") << 1 << 0 << "Standard" << 2;
    QTest::newRow("blitz") << 0 << 1 << "Blitzschach" << 2;
    QTest::newRow("2 leaves blitz") << 1 << 2 << "Blitzschach" << 1;
    QTest::newRow("-1 leaves standard") << 0 << -1 << "Standard" << 1;
}

void TestLogbook::gameMode() {
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QString, text);
    QFETCH(int, signalCount);
    TLogbook logbook;
    QCOMPARE(logbook.GameModeText(), "");
    QSignalSpy changed(&logbook, &TLogbook::StatusChanged);
    logbook.UpdateGameMode(first);
    logbook.UpdateGameMode(second);
    QCOMPARE(logbook.GameModeText(), text);
    QCOMPARE(changed.size(), signalCount);
}

void TestLogbook::labelsFollowTheLanguage() {
    TLogbook logbook;
    logbook.UpdateGameMode(1);
    QVERIFY(LoadLanguageFile("English"));
    QCOMPARE(logbook.GameModeText(), "Blitzschach"); // texts already built stay as they were
    QCOMPARE(TLogbook::MoveLine("E2", "E4", 4, 15230, 35), "Move: E2-E4 Depth 4 Nodes 15230 Score 35");
    logbook.UpdateThinkingStatus(2, 99, -5, "D2-D4 ");
    QCOMPARE(logbook.ThinkingStatus(), "Depth 2 Nodes 99 Score -5 Best line D2-D4 ");
    logbook.UpdateGameMode(1);
    QCOMPARE(logbook.GameModeText(), "Blitz");
    logbook.UpdateGameMode(0);
    QCOMPARE(logbook.GameModeText(), "Standard game");

    CloseLanguageFile();
    QCOMPARE(TLogbook::MoveLine("E2", "E4", 4, 15230, 35), "Zug : E2-E4 Tiefe 4 Knoten 15230 Punkte 35");
}

QTEST_GUILESS_MAIN(TestLogbook)
#include "tst_logbook.moc"
