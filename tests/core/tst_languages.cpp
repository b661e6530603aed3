#include "DialogRecorder.h"
#include "RadioGroup.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

template <typename W>
W* Tagged(W* widget, int tag) {
    widget->setProperty("Tag", tag);
    return widget;
}

} // namespace

class TestLanguages : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void parsesNumberedTexts();
    void longTextsAreCut();
    void loadLangStringFallsBackToDefault();
    void detectLanguage_data();
    void detectLanguage();
    void missingLanguageListSaysSoAndUsesEnglish();
    void listLanguagesInFileOrder();
    void localesMapToIdentifiers_data();
    void localesMapToIdentifiers();

    void captionAndHint();
    void hintOnlyControls();
    void menuItemsAndActions();
    void comboBoxKeepsSelectedIndex();
    void radioGroupKeepsSelectedIndex();
    void listTextKeepsTheNumberOfEntries_data();
    void listTextKeepsTheNumberOfEntries();
    void tabPagesAndUntaggedControls();
    void everyWindowIsTranslated();
    void failedLanguageKeepsProgramInGerman();
    void automaticResolvesToDetectedLanguage();

private:
    void WriteFile(const QString& relative, const QByteArray& bytes);
    QTemporaryDir FDir;
};

void TestLanguages::WriteFile(const QString& relative, const QByteArray& bytes) {
    QDir(FDir.path()).mkpath(QFileInfo(FDir.filePath(relative)).path());
    QFile file(FDir.filePath(relative));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(relative));
    file.write(bytes);
}

void TestLanguages::init() {
    QDir(FDir.path()).removeRecursively();
    QDir().mkpath(FDir.path());
    SetProgramDir(FDir.path());
    SetSystemLanguageId(0x0407);
    WriteFile("Lang/Languages.cfg", "; languages\n\nGerman: $0407 $0807 $0C07\nEnglish: $0409 $0809\n");
    WriteFile("Lang/English.lng", "; English\n10=&OK\n11=&Cancel|Leave without change\n500=Caption only\n"
                                  "501=Hint of an edit\n502=Tooltip|First|Second|Third\n"
                                  "503=Game variant|Standard|Blitz\n504=&Game|Game menu\n505=\n"
                                  "506=General|The general page\n507=Tooltip\n508=Tooltip|First\n"
                                  "509=Tooltip|First|Second|Third|Fourth\n");
}

void TestLanguages::cleanup() {
    CloseLanguageFile();
    SetSystemLanguageId(0);
    SetProgramDir({});
}

void TestLanguages::parsesNumberedTexts() {
    const QHash<int, QString> texts = ParseLanguageFile(
        "; comment\n  ; indented comment\n134= Bitte warten, ... \r\n3=a\\nb\\rc\\\\d\\t\nx=1\n=no number\n"
        "70000=too big\n7=one=two\n8\n9=Gr\xC3\xB6\xC3\x9F" "e\n");
    QCOMPARE(texts.value(134), " Bitte warten, ... ");
    QCOMPARE(texts.value(3), "a\nb\rc\\d\\t");
    QCOMPARE(texts.value(7), "one=two");
    QCOMPARE(texts.value(9), QString::fromUtf8("Größe"));
    QCOMPARE(texts.size(), 4);
}

void TestLanguages::longTextsAreCut() {
    const QHash<int, QString> texts = ParseLanguageFile("1=" + QByteArray(700, 'x') + "\n2=" + QByteArray(654, 'y'));
    QCOMPARE(texts.value(1).size(), MaxLangStringLength);
    QCOMPARE(texts.value(2).size(), 654);
}

void TestLanguages::loadLangStringFallsBackToDefault() {
    QCOMPARE(LoadLangString(10, "&Ok"), "&Ok"); // no file open
    QVERIFY(LoadLanguageFile("English"));
    QCOMPARE(ActiveLanguageFile(), "English");
    QCOMPARE(LoadLangString(10, "&Ok"), "&OK");
    QCOMPARE(LoadLangString(505, "leer"), "leer"); // empty text
    QCOMPARE(LoadLangString(999, "fehlt"), "fehlt");
    QVERIFY(!LoadLanguageFile("Klingon"));
    QCOMPARE(ActiveLanguageFile(), "");
    QCOMPARE(LoadLangString(10, "&Ok"), "&Ok"); // the old file was closed first
}

void TestLanguages::detectLanguage_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("system");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Swiss German") << QByteArray("German: $0407 $0807\n") << 0x0807 << "German";
    QTest::newRow("no match") << QByteArray("German: $0407 $0807\n") << 0x040C << "English";
    QTest::newRow("later line wins") << QByteArray("German: $0407\nDeutsch: x $0407 y\n") << 0x0407 << "Deutsch";
    QTest::newRow("lower-case code") << QByteArray("German: $0c07\n") << 0x0C07 << "English";
    QTest::newRow("comment ignored") << QByteArray(";German: $0407\n") << 0x0407 << "English";
    QTest::newRow("code before colon") << QByteArray("$0407 German\n") << 0x0407 << "English";
}

void TestLanguages::detectLanguage() {
    QFETCH(QByteArray, list);
    QFETCH(int, system);
    QFETCH(QString, expected);
    WriteFile("Lang/Languages.cfg", list);
    SetSystemLanguageId(system);
    QCOMPARE(DetectLanguage(), expected);
}

void TestLanguages::missingLanguageListSaysSoAndUsesEnglish() {
    QFile::remove(FDir.filePath("Lang/Languages.cfg"));
    DialogRecorder dialogs;
    QCOMPARE(DetectLanguage(), "English");
    QStringList list;
    ListLanguages(list);
    QCOMPARE(list, QStringList({"Automatic", "English"}));
    QCOMPARE(dialogs.MessageTexts(), QStringList(2, "Couldn't open the language setting file --> Language: English"));
    QCOMPARE(dialogs.Messages[0].Caption, "File missing?");
}

void TestLanguages::listLanguagesInFileOrder() {
    QDir(FDir.filePath("Lang")).removeRecursively(); // a list copied from another system, named in lower case
    WriteFile("lang/languages.cfg", "Polski: $0415\n;Hidden: $0000\nGerman: $0407\nEnglish: $0409\nno colon\n");
    QStringList list{"keep"};
    ListLanguages(list);
    QCOMPARE(list, QStringList({"keep", "Automatic", "English", "Polski", "German", ""}));
}

void TestLanguages::localesMapToIdentifiers_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("id");
    QTest::newRow("de_DE") << "de_DE" << 0x0407;
    QTest::newRow("de_CH") << "de_CH" << 0x0807;
    QTest::newRow("de_AT") << "de_AT" << 0x0C07;
    QTest::newRow("en_US") << "en_US" << 0x0409;
    QTest::newRow("en_GB") << "en_GB" << 0x0809;
    QTest::newRow("de_BE falls back to German") << "de_BE" << 0x0407;
    QTest::newRow("C") << "C" << 0x0409;
}

void TestLanguages::localesMapToIdentifiers() {
    QFETCH(QString, locale);
    QFETCH(int, id);
    QCOMPARE(LanguageIdForLocale(QLocale(locale)), id);
}

void TestLanguages::captionAndHint() {
    QWidget window;
    auto* ok = Tagged(new QPushButton("&Ok", &window), 10);
    auto* cancel = Tagged(new QPushButton("&Abbrechen", &window), 11);
    auto* label = Tagged(new QLabel("Nur Titel", &window), 500);
    label->setToolTip("alter Tipp");
    QVERIFY(LoadLanguageFile("English"));
    TranslateWindow(&window);
    QCOMPARE(ok->text(), "&OK");
    QCOMPARE(ok->toolTip(), "");
    QCOMPARE(cancel->text(), "&Cancel");
    QCOMPARE(cancel->toolTip(), "Leave without change");
    QCOMPARE(label->text(), "Caption only");
    QCOMPARE(label->toolTip(), "alter Tipp"); // a text without "|" leaves the tooltip
}

void TestLanguages::hintOnlyControls() {
    QWidget window;
    auto* edit = Tagged(new QLineEdit("Eingabe", &window), 501);
    auto* empty = Tagged(new QLineEdit(&window), 505);
    empty->setToolTip("bleibt");
    QVERIFY(LoadLanguageFile("English"));
    TranslateWindow(&window);
    QCOMPARE(edit->toolTip(), "Hint of an edit");
    QCOMPARE(edit->text(), "Eingabe");
    QCOMPARE(empty->toolTip(), "bleibt");
}

void TestLanguages::menuItemsAndActions() {
    QMainWindow window;
    QMenu* menu = Tagged(window.menuBar()->addMenu("&Spiel"), 504);
    QAction* action = Tagged(menu->addAction("&Neu"), 11);
    QVERIFY(LoadLanguageFile("English"));
    TranslateWindow(&window);
    QCOMPARE(menu->title(), "&Game");
    QCOMPARE(menu->menuAction()->statusTip(), "Game menu");
    QCOMPARE(action->text(), "&Cancel");
    QCOMPARE(action->statusTip(), "Leave without change");
}

void TestLanguages::comboBoxKeepsSelectedIndex() {
    QWidget window;
    auto* combo = Tagged(new QComboBox(&window), 502);
    combo->addItems({"Eins", "Zwei", "Drei"});
    combo->setCurrentIndex(2);
    QVERIFY(LoadLanguageFile("English"));
    TranslateWindow(&window);
    QCOMPARE(combo->toolTip(), "Tooltip");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), "First");
    QCOMPARE(combo->currentIndex(), 2);
    QCOMPARE(combo->currentText(), "Third");
}

void TestLanguages::radioGroupKeepsSelectedIndex() {
    QWidget window;
    auto* group = Tagged(new TRadioGroup(&window), 503);
    group->setTitle("Spielvariante");
    group->SetItems({"Standard", "Blitzschach"});
    group->SetItemIndex(1);
    QVERIFY(LoadLanguageFile("English"));
    TranslateWindow(&window);
    QCOMPARE(group->title(), "Game variant");
    QCOMPARE(group->toolTip(), "Game variant");
    QCOMPARE(group->Items(), QStringList({"Standard", "Blitz"}));
    QCOMPARE(group->ItemIndex(), 1);
}

// A list's choice is read back as an index, so a text never changes how many entries it has.
void TestLanguages::listTextKeepsTheNumberOfEntries_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QStringList>("items");
    const QStringList builtIn{"Eins", "Zwei", "Drei"};
    QTest::newRow("no entries") << 507 << builtIn;
    QTest::newRow("too few entries") << 508 << builtIn;
    QTest::newRow("too many entries") << 509 << QStringList({"First", "Second", "Third"});
}

void TestLanguages::listTextKeepsTheNumberOfEntries() {
    QFETCH(int, tag);
    QFETCH(QStringList, items);
    QWidget window;
    auto* combo = Tagged(new QComboBox(&window), tag);
    combo->addItems({"Eins", "Zwei", "Drei"});
    combo->setCurrentIndex(2);
    auto* group = Tagged(new TRadioGroup(&window), tag);
    group->SetItems({"Eins", "Zwei", "Drei"});
    group->SetItemIndex(2);
    QVERIFY(LoadLanguageFile("English"));
    TranslateWindow(&window);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, items);
    QCOMPARE(combo->currentIndex(), 2);
    QCOMPARE(combo->toolTip(), "Tooltip");
    QCOMPARE(group->Items(), items);
    QCOMPARE(group->ItemIndex(), 2);
    QCOMPARE(group->title(), "Tooltip");
}

void TestLanguages::tabPagesAndUntaggedControls() {
    QWidget window;
    auto* tabs = new QTabWidget(&window);
    auto* page = Tagged(new QWidget, 506);
    tabs->addTab(page, "&Allgemein");
    auto* untouched = new QPushButton("Bleibt", &window);
    QVERIFY(LoadLanguageFile("English"));
    TranslateWindow(&window);
    QCOMPARE(tabs->tabText(0), "General");
    QCOMPARE(page->toolTip(), "The general page");
    QCOMPARE(untouched->text(), "Bleibt");
}

void TestLanguages::everyWindowIsTranslated() {
    QWidget first, second;
    auto* a = Tagged(new QPushButton("&Ok", &first), 10);
    auto* b = Tagged(new QPushButton("&Abbrechen", &second), 11);
    QVERIFY(LoadLanguageFile("English"));
    TranslateForms();
    QCOMPARE(a->text(), "&OK");
    QCOMPARE(b->text(), "&Cancel");
}

void TestLanguages::failedLanguageKeepsProgramInGerman() {
    QWidget window;
    auto* cancel = Tagged(new QPushButton("&Abbrechen", &window), 11);
    auto* combo = Tagged(new QComboBox(&window), 502);
    combo->addItems({"Eins", "Zwei", "Drei"});
    combo->setCurrentIndex(1);
    QCOMPARE(SetLanguage("English"), "English");
    QCOMPARE(cancel->text(), "&Cancel");
    DialogRecorder dialogs;
    QCOMPARE(SetLanguage("Klingon"), "");
    QCOMPARE(dialogs.MessageTexts(), QStringList({"Couldn't open the language file --> language NOT changed"}));
    QCOMPARE(dialogs.Messages[0].Caption, "File missing?");
    QCOMPARE(dialogs.Messages[0].Owner, nullptr);
    QCOMPARE(cancel->text(), "&Abbrechen");
    QCOMPARE(cancel->toolTip(), "");
    QCOMPARE(combo->itemText(1), "Zwei");
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(LoadLangString(11, "&Abbrechen"), "&Abbrechen");
}

void TestLanguages::automaticResolvesToDetectedLanguage() {
    SetSystemLanguageId(0x0809);
    QCOMPARE(SetLanguage("Automatic"), "English");
    QCOMPARE(SetLanguage(""), "English");
    SetSystemLanguageId(0x0807);
    DialogRecorder dialogs;
    QCOMPARE(SetLanguage("Automatic"), ""); // German detected, but this folder has no German file
    QCOMPARE(dialogs.Messages.size(), 1);
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
