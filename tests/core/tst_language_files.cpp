// The shipped language files: both define the same numbers with the same field layout, every
// number the program asks for exists in the German file, and the German texts built into the
// program are the German file's.

#include "UnitLanguages.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QString SourceDir = TESSARON_SOURCE_DIR;

QHash<int, QString> Load(const QString& name) {
    QFile file(SourceDir + "/data/Lang/" + name);
    if (!file.open(QIODevice::ReadOnly)) qFatal("cannot read %s", qPrintable(name));
    return ParseLanguageFile(file.readAll());
}

QSet<int> Keys(const QHash<int, QString>& texts) {
    const QList<int> keys = texts.keys();
    return {keys.begin(), keys.end()};
}

// Every string number named in the program's sources: LoadLangString(n, ...) and "Tag", n.
QMap<int, QString> NumbersUsedBySources() {
    // LoadLangString(n, ...), setProperty("Tag", n), and the window's helpers that take a text number last.
    const QRegularExpression uses(
        R"((?:LoadLangString\s*\(\s*|"Tag"\s*,\s*|(?:NewAction|NewSpeedButton|Caption|TimePanel|button)\(.*,\s*)(\d{2,5})\s*[,)])");
    QMap<int, QString> used;
    QDirIterator files(SourceDir + "/src", {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : uses.globalMatch(text)) used.insert(m.captured(1).toInt(), file.fileName());
    }
    return used;
}

// A C++ string literal, or several written one after the other, as the text they make.
QString LiteralText(const QString& literals) {
    static const QRegularExpression literal(R"re("((?:[^"\\]|\\.)*)")re");
    QString text;
    for (const QRegularExpressionMatch& m : literal.globalMatch(literals))
        text += m.captured(1);
    return ParseLanguageFile(("0=" + text).toUtf8()).value(0); // the same escapes as the files
}

// The German texts built into the program, by number: the default of LoadLangString(n, "...") and
// the caption of a control made with its text number, NewAction("name", "caption", n, ...).
QMultiMap<int, QString> BuiltInTexts() {
    const QString literals = R"re(((?:"(?:[^"\\]|\\.)*"\s*)+))re";
    const QRegularExpression defaults(R"re(LoadLangString\(\s*(\d+),\s*(?:QStringLiteral\()?)re" + literals +
                                      R"re(\))re");
    const QRegularExpression captions(R"re((?:NewAction|NewSpeedButton)\(\s*"\w+",\s*)re" + literals +
                                      R"re(,\s*(\d+))re");
    QMultiMap<int, QString> texts;
    QDirIterator files(SourceDir + "/src", {"*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString source = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : defaults.globalMatch(source))
            texts.insert(m.captured(1).toInt(), LiteralText(m.captured(2)));
        for (const QRegularExpressionMatch& m : captions.globalMatch(source))
            texts.insert(m.captured(2).toInt(), LiteralText(m.captured(1)));
    }
    return texts;
}

} // namespace

class TestLanguageFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bothFilesDefineTheSameNumbers();
    void fieldsMatchPerNumber();
    void programAsksOnlyForKnownNumbers();
    void builtInTextsAreTheGermanFilesTexts();
    void languageListNamesBothLanguages();
};

void TestLanguageFiles::bothFilesDefineTheSameNumbers() {
    const QSet<int> german = Keys(Load("German.lng"));
    const QSet<int> english = Keys(Load("English.lng"));
    QVERIFY(german.size() > 200);
    QCOMPARE(QSet<int>(german).subtract(english), QSet<int>());
    QCOMPARE(QSet<int>(english).subtract(german), QSet<int>());
    for (int pieceButton = 1; pieceButton <= 5; ++pieceButton) QVERIFY(!german.contains(pieceButton));
}

void TestLanguageFiles::fieldsMatchPerNumber() {
    const QHash<int, QString> german = Load("German.lng");
    const QHash<int, QString> english = Load("English.lng");
    for (auto it = german.begin(); it != german.end(); ++it) {
        QVERIFY2(!it.value().isEmpty(), qPrintable(QString::number(it.key())));
        QVERIFY2(it.value().count('|') == english.value(it.key()).count('|'), qPrintable(QString::number(it.key())));
    }
    QCOMPARE(german.value(10001), QString::fromUtf8("Wählen Sie die Sprache, die das Programm benutzen soll"));
    QCOMPARE(german.value(134), " Bitte warten, ... ");
}

void TestLanguageFiles::programAsksOnlyForKnownNumbers() {
    const QSet<int> german = Keys(Load("German.lng"));
    const QMap<int, QString> used = NumbersUsedBySources();
    QVERIFY(!used.isEmpty());
    for (auto it = used.begin(); it != used.end(); ++it)
        QVERIFY2(german.contains(it.key()), qPrintable(QString("%1 in %2").arg(it.key()).arg(it.value())));
}

// The German file and the program's own German must not drift apart: a slip mended in one is
// mended in both.
void TestLanguageFiles::builtInTextsAreTheGermanFilesTexts() {
    const QHash<int, QString> german = Load("German.lng");
    const QMultiMap<int, QString> builtIn = BuiltInTexts();
    QVERIFY(builtIn.size() > 60);
    for (auto it = builtIn.begin(); it != builtIn.end(); ++it) {
        const QString fileText =
            it.value().contains('|') ? german.value(it.key()) : german.value(it.key()).section('|', 0, 0);
        QVERIFY2(fileText == it.value(), qPrintable(QString("%1: \"%2\"").arg(it.key()).arg(it.value())));
    }
}

void TestLanguageFiles::languageListNamesBothLanguages() {
    QFile file(SourceDir + "/data/Lang/Languages.cfg");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QRegularExpression(R"(^German:.*\$0407.*\$0807.*\$0C07.*\$1007.*\$1407)",
                                             QRegularExpression::MultilineOption)));
    QVERIFY(text.contains(QRegularExpression(R"(^English:.*\$0409.*\$0809)", QRegularExpression::MultilineOption)));
}

QTEST_GUILESS_MAIN(TestLanguageFiles)
#include "tst_language_files.moc"
