#include "IniFile.h"
#include "UnitFunctions.h"
#include "UnitPlayerWins.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

char* toString(const TPlayerWins& wins) {
    return QTest::toString(QStringLiteral("%1=%2").arg(wins.Name).arg(wins.Wins));
}

namespace {

void WriteIni(const QByteArray& text) {
    QFile file(SettingsFileName());
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the settings file");
    file.write(text);
}

TIniFile LoadIni() {
    TIniFile ini;
    ini.Load(SettingsFileName());
    return ini;
}

} // namespace

class TestPlayerWins : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void firstWinCreatesTheKey();
    void winsAddUpInFileOrder();
    void namesCompareWithoutCase();
    void nonNumbersCountZero_data();
    void nonNumbersCountZero();
    void eraseRemovesOnlyTheSection();
    void eraseWithoutAFileCreatesNone();
    void noSectionReadsEmpty();
    void renameKeepsTheRestOfTheFile();

private:
    QTemporaryDir FDir;
};

void TestPlayerWins::init() {
    QVERIFY(FDir.isValid());
    QFile::remove(FDir.filePath("tessaron.ini"));
    SetProgramDir(FDir.path());
}

void TestPlayerWins::cleanup() {
    SetProgramDir({});
}

void TestPlayerWins::firstWinCreatesTheKey() {
    QVERIFY(AddWin("Anna"));
    QCOMPARE(LoadIni().RawValue("PlayerStatistic.Win", "Anna"), "1");
    QCOMPARE(ReadWins(), (QList<TPlayerWins>{{"Anna", 1}}));
}

void TestPlayerWins::winsAddUpInFileOrder() {
    WriteIni("[Common]\nPlaySound=1\n[PlayerStatistic.Win]\nComputer=4\nBert=1\n[Game]\nMove=0\n");
    QVERIFY(AddWin("Anna"));
    QVERIFY(AddWin("Computer"));
    QVERIFY(AddWin("Anna"));
    QCOMPARE(ReadWins(), (QList<TPlayerWins>{{"Computer", 5}, {"Bert", 1}, {"Anna", 2}}));
    const TIniFile ini = LoadIni();
    QCOMPARE(ini.RawValue("PlayerStatistic.Win", "Anna"), "2");
    QCOMPARE(ini.RawValue("Common", "PlaySound"), "1");
    QCOMPARE(ini.RawValue("Game", "Move"), "0");
}

void TestPlayerWins::namesCompareWithoutCase() {
    QVERIFY(AddWin("Anna"));
    QVERIFY(AddWin("ANNA"));
    QCOMPARE(ReadWins().size(), 1);
    QCOMPARE(ReadWins().first().Wins, 2);
}

void TestPlayerWins::nonNumbersCountZero_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("word") << QByteArray("viele");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("number with unit") << QByteArray("3x");
    QTest::newRow("fraction") << QByteArray("2.5");
}

void TestPlayerWins::nonNumbersCountZero() {
    QFETCH(QByteArray, value);
    WriteIni("[PlayerStatistic.Win]\nAnna=" + value + "\nBert=3\n");
    QCOMPARE(ReadWins(), (QList<TPlayerWins>{{"Anna", 0}, {"Bert", 3}}));
    QVERIFY(AddWin("Anna"));
    QCOMPARE(ReadWins(), (QList<TPlayerWins>{{"Anna", 1}, {"Bert", 3}}));
}

void TestPlayerWins::eraseRemovesOnlyTheSection() {
    WriteIni("[Common]\nPlaySound=1\n[PlayerStatistic.Win]\nAnna=2\nBert=1\n[Game]\nMove=0\n");
    QVERIFY(EraseWins());
    QCOMPARE(ReadWins(), QList<TPlayerWins>{});
    const TIniFile ini = LoadIni();
    QVERIFY(!ini.HasSection("PlayerStatistic.Win"));
    QCOMPARE(ini.Sections(), (QStringList{"Common", "Game"}));
    QCOMPARE(ini.RawValue("Common", "PlaySound"), "1");
    QVERIFY(AddWin("Anna"));
    QCOMPARE(ReadWins(), (QList<TPlayerWins>{{"Anna", 1}}));
}

void TestPlayerWins::eraseWithoutAFileCreatesNone() {
    QVERIFY(EraseWins());
    QVERIFY(!QFile::exists(SettingsFileName()));
}

void TestPlayerWins::noSectionReadsEmpty() {
    QCOMPARE(ReadWins(), QList<TPlayerWins>{});
    WriteIni("[Common]\nPlaySound=1\n");
    QCOMPARE(ReadWins(), QList<TPlayerWins>{});
}

void TestPlayerWins::renameKeepsTheRestOfTheFile() {
    WriteIni("[Common]\nPlaySound=1\n[PlayerStatistic.Win]\nAnna=2\nBert=1\n[Game]\nMove=0\n");
    QVERIFY(RenamePlayer("anna", "Bert"));
    QCOMPARE(ReadWins(), (QList<TPlayerWins>{{"Bert", 3}}));
    const TIniFile ini = LoadIni();
    QCOMPARE(ini.Sections(), (QStringList{"Common", "PlayerStatistic.Win", "Game"}));
    QCOMPARE(ini.RawValue("Game", "Move"), "0");
}

QTEST_GUILESS_MAIN(TestPlayerWins)
#include "tst_playerwins.moc"
