#include "Square.h"

#include <QTest>

class TestSquare : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arithmeticRoundTrips();
    void squareAtOffBoard_data();
    void squareAtOffBoard();
    void lightSquares();
    void names_data();
    void names();
    void indexIsExactMatch_data();
    void indexIsExactMatch();
};

void TestSquare::arithmeticRoundTrips() {
    for (int sq = 1; sq <= 64; ++sq) {
        QCOMPARE(SquareAt(FileOf(sq), RankOf(sq)), sq);
        QCOMPARE(SquareIndex(SquareName(sq)), sq);
    }
    QCOMPARE(FileOf(E2), 5);
    QCOMPARE(RankOf(E2), 2);
    QCOMPARE(SquareAt(1, 8), A8);
    QCOMPARE(SquareAt(8, 1), H1);
    QCOMPARE(int(E4), (8 - 4) * 8 + 5);
}

void TestSquare::squareAtOffBoard_data() {
    QTest::addColumn<int>("file");
    QTest::addColumn<int>("rank");
    QTest::newRow("file 0") << 0 << 5;
    QTest::newRow("file 9") << 9 << 1;
    QTest::newRow("rank 9") << 1 << 9;
    QTest::newRow("rank 0") << 4 << 0;
    QTest::newRow("negative") << -1 << -1;
}

void TestSquare::squareAtOffBoard() {
    QFETCH(int, file);
    QFETCH(int, rank);
    QCOMPARE(SquareAt(file, rank), None);
}

void TestSquare::lightSquares() {
    QVERIFY(IsLightSquare(A8));
    QVERIFY(IsLightSquare(H1));
    QVERIFY(!IsLightSquare(A1));
    QVERIFY(!IsLightSquare(H8));
    QVERIFY(IsLightSquare(E4));
    QVERIFY(!IsLightSquare(E1));
    int light = 0;
    for (int sq = 1; sq <= 64; ++sq) light += IsLightSquare(sq) ? 1 : 0;
    QCOMPARE(light, 32);
}

void TestSquare::names_data() {
    QTest::addColumn<int>("square");
    QTest::addColumn<QString>("name");
    QTest::newRow("a8") << 1 << "A8";
    QTest::newRow("h8") << 8 << "H8";
    QTest::newRow("a7") << 9 << "A7";
    QTest::newRow("e2") << 53 << "E2";
    QTest::newRow("h1") << 64 << "H1";
    QTest::newRow("zero") << 0 << "none";
    QTest::newRow("65") << 65 << "none";
    QTest::newRow("negative") << -3 << "none";
}

void TestSquare::names() {
    QFETCH(int, square);
    QFETCH(QString, name);
    QCOMPARE(QString::fromStdString(SquareName(square)), name);
}

void TestSquare::indexIsExactMatch_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("square");
    QTest::newRow("E2") << "E2" << 53;
    QTest::newRow("lower case") << "e2" << 0;
    QTest::newRow("with blank") << "E2 " << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("none") << "none" << 0;
    QTest::newRow("off board") << "I9" << 0;
}

void TestSquare::indexIsExactMatch() {
    QFETCH(QString, name);
    QFETCH(int, square);
    QCOMPARE(int(SquareIndex(name.toStdString())), square);
}

QTEST_GUILESS_MAIN(TestSquare)
#include "tst_square.moc"
