#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString name = dir.filePath("test.ini");
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the test file");
    file.write(bytes);
    return name;
}

QByteArray ReadFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void keepsFileOrderAndIgnoresCase();
    void newKeysGoToTheEndOfTheirSection();
    void quotesRemovedOnReadingOnly();
    void commentsAndUnknownLinesSurvive();
    void linesWithoutAValueNeverGetOne_data();
    void linesWithoutAValueNeverGetOne();
    void nulBytesCostOnlyTheirLine();
    void deletesKeysAndErasesSections();
    void windows1252FileStillLoads();
    void utf8WithByteOrderMark();
    void oneForeignLineKeepsTheOthersUtf8();
    void damagedFileGivesWhatItCan();
    void missingFileIsEmpty();
    void saveReplacesTheFileWhole();
};

void TestIniFile::keepsFileOrderAndIgnoresCase() {
    QTemporaryDir dir;
    TIniFile ini;
    QVERIFY(ini.Load(WriteFile(dir, "[Zeta]\nb=1\n[Positions]\nZug 3=x\nAnfang=y\nmitte=z\n[alpha]\nk=v\n")));
    QCOMPARE(ini.Sections(), QStringList({"Zeta", "Positions", "alpha"}));
    QCOMPARE(ini.Keys("positions"), QStringList({"Zug 3", "Anfang", "mitte"}));
    QCOMPARE(ini.Value("POSITIONS", "MITTE"), "z");
    QVERIFY(ini.HasKey("ALPHA", "K"));
    QVERIFY(!ini.HasKey("alpha", "x"));
    ini.SetValue("positions", "ANFANG", "neu"); // an existing key keeps its place and spelling
    QCOMPARE(ini.Keys("Positions"), QStringList({"Zug 3", "Anfang", "mitte"}));
    QCOMPARE(ini.Value("Positions", "Anfang"), "neu");
}

void TestIniFile::newKeysGoToTheEndOfTheirSection() {
    QTemporaryDir dir;
    const QString name = WriteFile(dir, "[A]\nx=1\n[B]\ny=2\n");
    TIniFile ini;
    ini.Load(name);
    ini.SetValue("A", "z", "3");
    ini.SetValue("C", "w", "4");
    QVERIFY(ini.Save(name));
    TIniFile again;
    again.Load(name);
    QCOMPARE(again.Sections(), QStringList({"A", "B", "C"}));
    QCOMPARE(again.Keys("A"), QStringList({"x", "z"}));
    // saving what was loaded gives the same bytes: the file does not grow from one run to the next
    const QByteArray first = ReadFile(name);
    QVERIFY(again.Save(name));
    QCOMPARE(ReadFile(name), first);
}

void TestIniFile::quotesRemovedOnReadingOnly() {
    QTemporaryDir dir;
    const QString stored = "\"  rnbqkbnr  \"";
    TIniFile ini;
    ini.SetValue("Positions", "Eröffnung", stored);
    ini.SetValue("Common", "Plain", "  padded  ");
    const QString name = dir.filePath("q.ini");
    QVERIFY(ini.Save(name));
    QVERIFY(ReadFile(name).contains("Eröffnung=\"  rnbqkbnr  \""));
    TIniFile again;
    QVERIFY(again.Load(name));
    QCOMPARE(again.Value("Positions", "Eröffnung"), "  rnbqkbnr  ");
    QCOMPARE(again.RawValue("Positions", "Eröffnung"), stored);
    QCOMPARE(again.Value("Common", "Plain"), "padded"); // blanks without quotes do not survive
    again.LoadText("[S]\na=\"\"\nb=\"x\ny=\"x\"\"\n");
    QCOMPARE(again.Value("S", "a"), "");
    QCOMPARE(again.Value("S", "b"), "\"x"); // one quote alone stays
    QCOMPARE(again.Value("S", "y"), "x\"");  // only one pair is removed
}

void TestIniFile::commentsAndUnknownLinesSurvive() {
    QTemporaryDir dir;
    const QString name = WriteFile(dir, "; settings of TESSARON\n[Common]\n; sound on?\nPlaySound=1\nstray line\n"
                                        "[Game]\nPosition=x\n");
    TIniFile ini;
    ini.Load(name);
    ini.SetValue("Common", "PlaySound", "0");
    QVERIFY(ini.Save(name));
    const QByteArray text = ReadFile(name);
    QVERIFY(text.contains("; settings of TESSARON"));
    QVERIFY(text.contains("; sound on?\nPlaySound=0"));
    QVERIFY(text.contains("\nPlaySound=0\nstray line\n")); // the very line, without a value
    QVERIFY(text.contains("Position=x"));
    QVERIFY(!ini.Keys("Common").contains("stray line"));
}

void TestIniFile::linesWithoutAValueNeverGetOne_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("a name alone") << QByteArray("Bob");
    QTest::newRow("blanks around it") << QByteArray("  Bob the second\t ");
    QTest::newRow("a section without its bracket") << QByteArray("[Positions");
    QTest::newRow("a value without a key") << QByteArray("=12");
    QTest::newRow("a key with an empty value") << QByteArray("Bob=");
}

void TestIniFile::linesWithoutAValueNeverGetOne() {
    QFETCH(QByteArray, line);
    TIniFile ini;
    ini.LoadText("[PlayerStatistic.Win]\nAlice=12\n" + line + "\nCarl=3\n");
    QCOMPARE(ini.Keys("PlayerStatistic.Win").filter("Bob"),
             line == "Bob=" ? QStringList({"Bob"}) : QStringList());
    QCOMPARE(ini.Value("PlayerStatistic.Win", "Bob", "none"), line == "Bob=" ? "" : "none");
    ini.SetValue("PlayerStatistic.Win", "Carl", "4");
    QCOMPARE(ini.SaveText(), "[PlayerStatistic.Win]\nAlice=12\n" + line + "\nCarl=4\n");
    // written and read again, the line still has no value
    TIniFile again;
    again.LoadText(ini.SaveText());
    QCOMPARE(again.SaveText(), ini.SaveText());
}

void TestIniFile::nulBytesCostOnlyTheirLine() {
    TIniFile ini;
    static const char damaged[] = "[Common]\nPlaySound=1\0\nSDMF=2\n[Positions]\nEnd\0game=\"8/8\"\n"
                                  "[PlayerStatistic.Win]\nAlice=12\n\0\0\0";
    ini.LoadText(QByteArray(damaged, sizeof damaged - 1));
    QCOMPARE(ini.Value("Common", "PlaySound"), "1");
    QCOMPARE(ini.Value("Common", "SDMF"), "2");
    QCOMPARE(ini.Value("Positions", "Endgame"), "8/8");
    QCOMPARE(ini.Value("PlayerStatistic.Win", "Alice"), "12");
    QVERIFY(!ini.SaveText().contains('\0'));
    // a marker smuggled into a file is dropped like a NUL, not taken for a line kept as it was
    ini.LoadText(QString("[A]\n%1Bob%1\n").arg(QChar(0xFFFF)).toUtf8());
    QCOMPARE(ini.SaveText(), "[A]\nBob\n");
}

void TestIniFile::deletesKeysAndErasesSections() {
    TIniFile ini;
    ini.LoadText("[Positions]\na=1\nb=2\n[Game]\nPosition=x\n");
    ini.DeleteKey("positions", "A");
    QCOMPARE(ini.Keys("Positions"), QStringList({"b"}));
    ini.DeleteKey("Positions", "b");
    QVERIFY(ini.HasSection("Positions")); // an emptied section stays
    ini.EraseSection("GAME");
    QVERIFY(!ini.HasSection("Game"));
    QCOMPARE(ini.Value("Game", "Position", "none"), "none");
}

void TestIniFile::windows1252FileStillLoads() {
    TIniFile ini;
    // "Größe" and a euro sign as Windows-1252 bytes
    ini.LoadText(QByteArray("[Spieler]\nName=Gr\xF6\xDF" "e \x80\n"));
    QCOMPARE(ini.Value("Spieler", "Name"), QString::fromUtf8("Größe €"));
    QVERIFY(ini.SaveText().contains(QString::fromUtf8("Größe €").toUtf8())); // written back as UTF-8
}

void TestIniFile::utf8WithByteOrderMark() {
    TIniFile ini;
    ini.LoadText(QByteArray("\xEF\xBB\xBF[Common]\nLanguage=Deutsch \xC3\xA4\n"));
    QCOMPARE(ini.Sections(), QStringList({"Common"}));
    QCOMPARE(ini.Value("Common", "Language"), QString::fromUtf8("Deutsch ä"));
}

void TestIniFile::oneForeignLineKeepsTheOthersUtf8() {
    TIniFile ini;
    ini.LoadText(QByteArray("[Spieler]\nA=K\xC3\xB6nig\nB=L\xE4ufer\n")); // UTF-8, then Windows-1252
    QCOMPARE(ini.Value("Spieler", "A"), QString::fromUtf8("König"));
    QCOMPARE(ini.Value("Spieler", "B"), QString::fromUtf8("Läufer"));
}

void TestIniFile::damagedFileGivesWhatItCan() {
    TIniFile ini;
    static const char damaged[] = "[Common\n=novalue\nPlaySound=1\n\0\0garbage[";
    ini.LoadText(QByteArray(damaged, sizeof damaged - 1));
    QCOMPARE(ini.Value("Common", "PlaySound", "default"), "default"); // no proper section header
    ini.LoadText(QByteArray("\x01\x02\xFF\xFE\n[Common]\nAnimationDelay=7\n"));
    QCOMPARE(ini.Value("Common", "AnimationDelay"), "7");
}

void TestIniFile::missingFileIsEmpty() {
    TIniFile ini;
    QVERIFY(!ini.Load("/nonexistent/tessaron.ini"));
    QVERIFY(ini.Sections().isEmpty());
    QCOMPARE(ini.Value("Common", "PlaySound", "1"), "1");
}

void TestIniFile::saveReplacesTheFileWhole() {
    QTemporaryDir dir;
    const QString name = WriteFile(dir, "[A]\nx=1\n");
    TIniFile ini;
    ini.Load(name);
    ini.SetValue("A", "y", "2");
    QVERIFY(ini.Save(name));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList({"test.ini"})); // no temporary left behind
    QVERIFY(!ini.Save(dir.filePath("missing-folder/test.ini")));
    QCOMPARE(ReadFile(name), QByteArray("[A]\nx=1\ny=2\n"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
