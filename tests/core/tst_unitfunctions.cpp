#include "UnitFunctions.h"

#include <QTest>

class TestUnitFunctions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void getField_data();
    void getField();
    void countFields_data();
    void countFields();
    void replaceText_data();
    void replaceText();
    void formatClockTime_data();
    void formatClockTime();
};

void TestUnitFunctions::getField_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << "Datei|Neu|Ende" << 0 << "Datei";
    QTest::newRow("middle") << "Datei|Neu|Ende" << 1 << "Neu";
    QTest::newRow("last") << "Datei|Neu|Ende" << 2 << "Ende";
    QTest::newRow("beyond the last") << "Datei|Neu|Ende" << 3 << "";
    QTest::newRow("negative index") << "Datei|Neu" << -1 << "";
    QTest::newRow("empty field between") << "a||c" << 1 << "";
    QTest::newRow("after a trailing delimiter") << "a|b|" << 2 << "";
    QTest::newRow("empty text") << "" << 0 << "";
    QTest::newRow("no delimiter") << "Hallo" << 0 << "Hallo";
}

void TestUnitFunctions::getField() {
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(QString, expected);
    QCOMPARE(GetField(text, '|', index), expected);
}

void TestUnitFunctions::countFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("one field") << "abc" << 1;
    QTest::newRow("three fields") << "a|b|c" << 3;
    QTest::newRow("trailing delimiter opens nothing") << "a|b|" << 2;
    QTest::newRow("only a delimiter") << "|" << 1;
    QTest::newRow("leading delimiter") << "|a" << 2;
    QTest::newRow("empty inner field") << "a||b" << 3;
}

void TestUnitFunctions::countFields() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(CountFields(text, '|'), expected);
}

void TestUnitFunctions::replaceText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every occurrence") << "a|b|c" << "|" << "\r\n" << "a\r\nb\r\nc";
    QTest::newRow("case ignored") << "Zug zug ZUG" << "zug" << "Move" << "Move Move Move";
    QTest::newRow("nothing to replace") << "abc" << "x" << "y" << "abc";
    QTest::newRow("empty old text leaves text") << "abc" << "" << "y" << "abc";
    QTest::newRow("umlaut case") << "Ärger ärger" << "ÄRGER" << "x" << "x x";
}

void TestUnitFunctions::replaceText() {
    QFETCH(QString, text);
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceText(text, oldText, newText), expected);
}

void TestUnitFunctions::formatClockTime_data() {
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("just under a second") << qint64(999) << "00:00:00";
    QTest::newRow("mixed") << qint64(3'723'000) << "01:02:03";
    QTest::newRow("29 minutes") << qint64(29 * 60'000) << "00:29:00";
    QTest::newRow("more than a day") << qint64(25 * 3'600'000) << "25:00:00";
    QTest::newRow("100 hours") << qint64(100) * 3'600'000 << "100:00:00";
    QTest::newRow("negative reads as zero") << qint64(-5'000) << "00:00:00";
}

void TestUnitFunctions::formatClockTime() {
    QFETCH(qint64, ms);
    QFETCH(QString, expected);
    QCOMPARE(FormatClockTime(ms), expected);
}

QTEST_GUILESS_MAIN(TestUnitFunctions)
#include "tst_unitfunctions.moc"
