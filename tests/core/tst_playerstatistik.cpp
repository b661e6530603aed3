#include "UnitClassPlayerStatistik.h"

#include <QTest>

#include <cstring>

class TestPlayerStatistik : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsAndClearsToZero();
    void addTime_data();
    void addTime();
    void moveCountZeroKeepsTimePerMove();
    void timeZeroKeepsTimePerMove();
    void blitzBudgetInTicks();
    void texts_data();
    void texts();
    void fieldsLieInFileOrder();
};

void TestPlayerStatistik::startsAndClearsToZero() {
    TPlayerStatistik clock;
    QCOMPARE(clock.MoveCount, 0);
    QCOMPARE(clock.TimePerMove, 0);
    QCOMPARE(clock.TotalTime, 0u);
    clock.MoveCount = 12;
    clock.AddTime(5'000);
    clock.Clear();
    QCOMPARE(clock.MoveCount, 0);
    QCOMPARE(clock.TimePerMove, 0);
    QCOMPARE(clock.TotalTime, 0u);
}

void TestPlayerStatistik::addTime_data() {
    QTest::addColumn<qint32>("moveCount");
    QTest::addColumn<quint32>("total");
    QTest::addColumn<quint32>("added");
    QTest::addColumn<quint32>("expectedTotal");
    QTest::addColumn<qint32>("expectedPerMove");
    QTest::newRow("first tick of move 1") << 1 << 0u << 250u << 250u << 250;
    QTest::newRow("divides evenly") << 4 << 9'750u << 250u << 10'000u << 2'500;
    QTest::newRow("truncates 10000/3") << 3 << 9'750u << 250u << 10'000u << 3'333;
    QTest::newRow("truncates 2999/2, does not round") << 2 << 2'749u << 250u << 2'999u << 1'499;
    QTest::newRow("adding 0 still recomputes") << 7 << 70'000u << 0u << 70'000u << 10'000;
    QTest::newRow("beyond 2^31 total") << 2 << 4'000'000'000u << 0u << 4'000'000'000u << 2'000'000'000;
}

void TestPlayerStatistik::addTime() {
    QFETCH(qint32, moveCount);
    QFETCH(quint32, total);
    QFETCH(quint32, added);
    QFETCH(quint32, expectedTotal);
    QFETCH(qint32, expectedPerMove);
    TPlayerStatistik clock;
    clock.MoveCount = moveCount;
    clock.TotalTime = total;
    clock.TimePerMove = -1;
    clock.AddTime(added);
    QCOMPARE(clock.TotalTime, expectedTotal);
    QCOMPARE(clock.TimePerMove, expectedPerMove);
}

void TestPlayerStatistik::moveCountZeroKeepsTimePerMove() {
    TPlayerStatistik clock;
    clock.TimePerMove = 1'234;
    clock.AddTime(250);
    clock.AddTime(250);
    QCOMPARE(clock.TotalTime, 500u);
    QCOMPARE(clock.TimePerMove, 1'234);
}

void TestPlayerStatistik::timeZeroKeepsTimePerMove() {
    TPlayerStatistik clock;
    clock.MoveCount = 5;
    clock.TimePerMove = 77;
    clock.AddTime(0);
    QCOMPARE(clock.TotalTime, 0u);
    QCOMPARE(clock.TimePerMove, 77);
}

void TestPlayerStatistik::blitzBudgetInTicks() {
    constexpr int Ticks = 7'200;
    constexpr quint32 Interval = 250;
    TPlayerStatistik clock;
    clock.MoveCount = 40;
    for (int tick = 0; tick < Ticks; ++tick)
        clock.AddTime(Interval);
    QCOMPARE(clock.TotalTime, 1'800'000u);
    QCOMPARE(clock.TotalText(), "00:30:00");
    QCOMPARE(clock.TimePerMove, 45'000);
    QCOMPARE(clock.PerMoveText(), "00:00:45");
}

void TestPlayerStatistik::texts_data() {
    QTest::addColumn<qint32>("moveCount");
    QTest::addColumn<quint32>("added");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("perMove");
    QTest::newRow("750 ms at move 1") << 1 << 750u << "00:00:00"
                                      << "00:00:00";
    QTest::newRow("a second at move 1") << 1 << 1'000u << "00:00:01"
                                        << "00:00:01";
    QTest::newRow("100 hours at move 10") << 10 << 360'000'000u << "100:00:00"
                                          << "10:00:00";
}

void TestPlayerStatistik::texts() {
    QFETCH(qint32, moveCount);
    QFETCH(quint32, added);
    QFETCH(QString, total);
    QFETCH(QString, perMove);
    TPlayerStatistik clock;
    clock.MoveCount = moveCount;
    clock.AddTime(added);
    QCOMPARE(clock.TotalText(), total);
    QCOMPARE(clock.PerMoveText(), perMove);
}

void TestPlayerStatistik::fieldsLieInFileOrder() {
    TPlayerStatistik clock;
    clock.MoveCount = 0x01020304;
    clock.TimePerMove = 0x05060708;
    clock.TotalTime = 0x090A0B0Cu;
    qint32 words[3] = {};
    std::memcpy(words, &clock, sizeof words);
    QCOMPARE(words[0], 0x01020304);
    QCOMPARE(words[1], 0x05060708);
    QCOMPARE(quint32(words[2]), 0x090A0B0Cu);
}

QTEST_GUILESS_MAIN(TestPlayerStatistik)
#include "tst_playerstatistik.moc"
