#include "PartieDatenSample.h"
#include "UnitClasses.h"

#include <QDate>
#include <QTest>

class TestPartieDaten : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void newDataIsCleared();
    void clearEmptiesEverything();
    void settersKeepValues();
    void capacities_data();
    void capacities();
    void cutNeverSplitsACharacter();
    void resultTexts_data();
    void resultTexts();
};

void TestPartieDaten::newDataIsCleared() {
    const QDate before = QDate::currentDate();
    const TPartieDaten data;
    const QDate after = QDate::currentDate();
    const QDate stored(data.Year(), data.Month(), data.Day());
    QVERIFY(stored == before || stored == after); // the test may run across midnight
    QCOMPARE(data.Round(), 0);
    QCOMPARE(int(data.Result()), TPartieDaten::ResultNone);
    QCOMPARE(data.ResultText(), "kein Ergebnis");
}

void TestPartieDaten::clearEmptiesEverything() {
    TPartieDaten data;
    FillSamplePartieDaten(data);
    const QDate before = QDate::currentDate();
    data.Clear();
    const QDate after = QDate::currentDate();
    QCOMPARE(data.Player1Name(), "");
    QCOMPARE(data.Player1Elo(), 0);
    QCOMPARE(data.Player2Name(), "");
    QCOMPARE(data.Player2Elo(), 0);
    QCOMPARE(data.Event(), "");
    QCOMPARE(data.Site(), "");
    QCOMPARE(data.Comments(), "");
    QCOMPARE(data.ECO(), "");
    const QDate stored(data.Year(), data.Month(), data.Day());
    QVERIFY(stored == before || stored == after);
    QCOMPARE(data.Round(), 0);
    QCOMPARE(int(data.Result()), TPartieDaten::ResultNone);
}

void TestPartieDaten::settersKeepValues() {
    TPartieDaten data;
    FillSamplePartieDaten(data);
    QCOMPARE(data.Player1Name(), "Anna");
    QCOMPARE(data.Player1Elo(), 1850);
    QCOMPARE(data.Player2Name(), "Bert");
    QCOMPARE(data.Player2Elo(), 2010);
    QCOMPARE(data.Event(), "Vereinsmeisterschaft");
    QCOMPARE(data.Site(), "Hamburg");
    QCOMPARE(data.Comments(), "Eine lange Partie");
    QCOMPARE(data.Year(), 1999);
    QCOMPARE(data.Month(), 12);
    QCOMPARE(data.Day(), 31);
    QCOMPARE(data.Round(), 7);
    QCOMPARE(data.ECO(), "C42");
    QCOMPARE(int(data.Result()), TPartieDaten::ResultDraw);
}

void TestPartieDaten::capacities_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("capacity");
    QTest::newRow("player 1") << "Player1Name" << 50;
    QTest::newRow("player 2") << "Player2Name" << 50;
    QTest::newRow("event") << "Event" << 250;
    QTest::newRow("site") << "Site" << 250;
    QTest::newRow("comments") << "Comments" << 250;
    QTest::newRow("ECO") << "ECO" << 10;
}

void TestPartieDaten::capacities() {
    QFETCH(QString, field);
    QFETCH(int, capacity);
    using Setter = void (TPartieDaten::*)(const QString&);
    using Getter = QString (TPartieDaten::*)() const;
    const QHash<QString, std::pair<Setter, Getter>> fields = {
        {"Player1Name", {&TPartieDaten::SetPlayer1Name, &TPartieDaten::Player1Name}},
        {"Player2Name", {&TPartieDaten::SetPlayer2Name, &TPartieDaten::Player2Name}},
        {"Event", {&TPartieDaten::SetEvent, &TPartieDaten::Event}},
        {"Site", {&TPartieDaten::SetSite, &TPartieDaten::Site}},
        {"Comments", {&TPartieDaten::SetComments, &TPartieDaten::Comments}},
        {"ECO", {&TPartieDaten::SetECO, &TPartieDaten::ECO}},
    };
    const auto [set, get] = fields.value(field);
    TPartieDaten data;

    QString exact;
    for (int i = 0; i < capacity; ++i)
        exact += QChar('a' + i % 26);
    (data.*set)(exact);
    QCOMPARE((data.*get)(), exact);

    (data.*set)(exact + "XYZ");
    QCOMPARE((data.*get)(), exact);

    (data.*set)(QString::fromUtf8("Größe"));
    QCOMPARE((data.*get)(), QString::fromUtf8("Größe"));
}

void TestPartieDaten::cutNeverSplitsACharacter() {
    TPartieDaten data;
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // two UTF-16 units
    data.SetECO("ABCDEFGHI" + clef);
    QCOMPARE(data.ECO(), "ABCDEFGHI");
    data.SetECO("ABCDEFGH" + clef + "X");
    QCOMPARE(data.ECO(), "ABCDEFGH" + clef);
}

void TestPartieDaten::resultTexts_data() {
    QTest::addColumn<int>("result");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("text");
    QTest::newRow("player 1 wins") << 0 << 0 << "1 - 0";
    QTest::newRow("draw") << 1 << 1 << "1/2 - 1/2";
    QTest::newRow("player 2 wins") << 2 << 2 << "0 - 1";
    QTest::newRow("no result") << 3 << 3 << "kein Ergebnis";
    QTest::newRow("4 means no result") << 4 << 3 << "kein Ergebnis";
    QTest::newRow("negative means no result") << -1 << 3 << "kein Ergebnis";
}

void TestPartieDaten::resultTexts() {
    QFETCH(int, result);
    QFETCH(int, stored);
    QFETCH(QString, text);
    TPartieDaten data;
    data.SetResult(stored == TPartieDaten::ResultPlayer1Wins ? TPartieDaten::ResultDraw
                                                             : TPartieDaten::ResultPlayer1Wins);
    data.SetResult(result);
    QCOMPARE(int(data.Result()), stored);
    QCOMPARE(data.ResultText(), text);
}

QTEST_GUILESS_MAIN(TestPartieDaten)
#include "tst_partiedaten.moc"
