// The stored-positions dialog on real widgets: positions stored under all kinds of names come back
// from the settings file exactly, overwriting and deleting ask first, a name the file cannot hold is
// refused, and position files are exported and imported without ever overwriting an entry or taking
// half of a damaged file.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "IniFile.h"
#include "StoredPositions.h"
#include "UnitFormLoadSavePosition.h"

#include <QListWidget>
#include <QPushButton>

namespace {

constexpr auto Ini = "[Common]\nLanguage=German\n";
// The first rank is empty: the value starts with eight blanks.
const std::string EmptyFirstRank = "        pppppppp                                PPPPPPPPRNBQKBNR";
const std::string OnlyKings = std::string(4, ' ') + 'k' + std::string(55, ' ') + 'K' + std::string(3, ' ');

QByteArray FileBytes(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write a test file");
    file.write(bytes);
}

QStringList Names(const QListWidget& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << list.item(i)->text();
    return names;
}

} // namespace

class TestFormLoadSavePosition : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void storedUnderAnyNameComesBackExactly_data();
    void storedUnderAnyNameComesBackExactly();
    void overwritingAsksFirst();
    void nameTheFileCannotHoldIsRefused();
    void loadNeedsASelectionAndDoubleClickLoads();
    void deletionAsksAndEmptiesTheList();
    void exportThenImportRoundTrip();
    void importSkipsNamesInUseWithANumberedMessage();
    void importSkipsAndCountsWhatIsNoPlacement();
    void damagedOrForeignFileImportsNothing_data();
    void damagedOrForeignFileImportsNothing();
    void exportSkipsNamesTheFileHasAndSparesForeignFiles();

private:
    void Show();
    void Select(const QString& name);
    void SaveAs(const QString& name, std::optional<int> overwriteAnswer = {});

    QTemporaryDir FDir;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TChessBrd> FEditorBoard;
    std::unique_ptr<TFormLoadSavePosition> FDialog;
};

void TestFormLoadSavePosition::init() {
    PrepareProgramDir(FDir, Ini);
    LoadLanguageFile("German");
    FDialogs = std::make_unique<DialogRecorder>();
    FEditorBoard = std::make_unique<TChessBrd>();
    FDialog = std::make_unique<TFormLoadSavePosition>(FEditorBoard.get());
}

void TestFormLoadSavePosition::cleanup() {
    FDialog.reset();
    FEditorBoard.reset();
    FDialogs.reset();
    CloseLanguageFile();
    SetProgramDir({});
}

void TestFormLoadSavePosition::Show() {
    FDialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(FDialog.get()));
}

void TestFormLoadSavePosition::Select(const QString& name) {
    const QList<QListWidgetItem*> found = FDialog->ListBoxPosition->findItems(name, Qt::MatchExactly);
    QCOMPARE(found.size(), 1);
    FDialog->ListBoxPosition->setCurrentItem(found[0]);
}

void TestFormLoadSavePosition::SaveAs(const QString& name, std::optional<int> overwriteAnswer) {
    FDialogs->InputAnswers << name;
    if (overwriteAnswer) FDialogs->MessageAnswers << *overwriteAnswer;
    QTest::mouseClick(FDialog->ButtonSave, Qt::LeftButton);
}

void TestFormLoadSavePosition::storedUnderAnyNameComesBackExactly_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks") << "Matt in zwei Zügen";
    QTest::newRow("umlauts") << "Schäfer, Größe, Übung";
    QTest::newRow("quotes") << "Das \"unsterbliche\" Spiel";
    QTest::newRow("single quote and percent") << "Anderssen's 100% Opfer %d %s";
}

void TestFormLoadSavePosition::storedUnderAnyNameComesBackExactly() {
    QFETCH(QString, name);
    Show();
    QCOMPARE(FDialog->windowTitle(), "Positionen laden und speichern");
    FEditorBoard->SetPosition(EmptyFirstRank);
    SaveAs(name);
    QCOMPARE(FDialogs->Inputs.size(), 1);
    QCOMPARE(FDialogs->Inputs[0].Caption, "Position speichern");
    QCOMPARE(FDialogs->Inputs[0].Prompt, "Geben Sie eine kurze Beschreibung ein:");
    QVERIFY(FDialogs->Messages.isEmpty());
    QCOMPARE(Names(*FDialog->ListBoxPosition), QStringList{name});
    QVERIFY(FileBytes(SettingsFileName())
                .contains(QString("=\"" + QString::fromStdString(EmptyFirstRank) + "\"").toUtf8()));

    // Another run of the dialog finds it in the file and loads it onto the editor's board.
    FDialog->hide();
    FEditorBoard->SetPosition(StartPosition);
    Show();
    Select(name);
    QTest::mouseClick(FDialog->ButtonLoad, Qt::LeftButton);
    QVERIFY(!FDialog->isVisible());
    QCOMPARE(FEditorBoard->Position(), EmptyFirstRank);
}

void TestFormLoadSavePosition::overwritingAsksFirst() {
    QVERIFY(StorePosition("test", OnlyKings));
    Show();
    FEditorBoard->SetPosition(StartPosition);
    SaveAs("Test", mrNo);
    QCOMPARE(FDialogs->MessageTexts(), QStringList{"Position bereits vorhanden, überschreiben?"});
    QCOMPARE(FDialogs->Messages[0].Buttons, TMsgDlgButtons(mbYes | mbNo));
    QCOMPARE(StoredPosition("test"), OnlyKings);
    SaveAs("Test", mrYes);
    QCOMPARE(StoredPosition("test"), std::string(StartPosition));
    QCOMPARE(Names(*FDialog->ListBoxPosition).size(), 1);
    // An empty answer or a cancel stores nothing.
    SaveAs("");
    FDialogs->InputAnswers << std::nullopt;
    QTest::mouseClick(FDialog->ButtonSave, Qt::LeftButton);
    QCOMPARE(StoredPositionNames().size(), 1);
}

void TestFormLoadSavePosition::nameTheFileCannotHoldIsRefused() {
    Show();
    const QByteArray before = FileBytes(SettingsFileName());
    for (const QString& name :
         {QString("a=b"), QString("[Game]"), QString("; comment"), QString("zwei\nZeilen")}) {
        FDialogs->Messages.clear();
        SaveAs(name);
        QCOMPARE(FDialogs->Messages.size(), 1);
        QVERIFY(FDialogs->Messages[0].Text.startsWith("Unter dieser Beschreibung kann keine Position"));
        QCOMPARE(FileBytes(SettingsFileName()), before);
    }
    QCOMPARE(FDialog->ListBoxPosition->count(), 0);
}

void TestFormLoadSavePosition::loadNeedsASelectionAndDoubleClickLoads() {
    QVERIFY(StorePosition("Erste", OnlyKings));
    QVERIFY(StorePosition("Zweite", EmptyFirstRank));
    Show();
    QCOMPARE(Names(*FDialog->ListBoxPosition), (QStringList{"Erste", "Zweite"}));
    QTest::mouseClick(FDialog->ButtonLoad, Qt::LeftButton);
    QCOMPARE(FDialogs->MessageTexts(), QStringList{"Kein Eintrag ausgewählt!"});
    QVERIFY(FDialog->isVisible());
    const QListWidgetItem* second = FDialog->ListBoxPosition->item(1);
    const QPoint at = FDialog->ListBoxPosition->visualItemRect(second).center();
    QTest::mouseClick(FDialog->ListBoxPosition->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(FDialog->ListBoxPosition->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(!FDialog->isVisible());
    QCOMPARE(FEditorBoard->Position(), EmptyFirstRank);
}

void TestFormLoadSavePosition::deletionAsksAndEmptiesTheList() {
    QVERIFY(StorePosition("Studie \"Réti\"", OnlyKings));
    Show();
    QTest::mouseClick(FDialog->ButtonDelete, Qt::LeftButton); // nothing selected: nothing asked
    QVERIFY(FDialogs->Messages.isEmpty());
    Select("Studie \"Réti\"");
    FDialogs->MessageAnswers << mrNo;
    QTest::mouseClick(FDialog->ButtonDelete, Qt::LeftButton);
    QCOMPARE(FDialogs->MessageTexts(), QStringList{"Position \"Studie \"Réti\"\" wirklich löschen?"});
    QCOMPARE(StoredPositionNames().size(), 1);
    Select("Studie \"Réti\"");
    FDialogs->MessageAnswers << mrYes;
    QTest::mouseClick(FDialog->ButtonDelete, Qt::LeftButton);
    QVERIFY(StoredPositionNames().isEmpty());
    QCOMPARE(FDialog->ListBoxPosition->count(), 0);
}

void TestFormLoadSavePosition::exportThenImportRoundTrip() {
    const QStringList names = {"Ölmühle", "Matt in 2", "\"Zitat\""};
    QVERIFY(StorePosition(names[0], EmptyFirstRank));
    QVERIFY(StorePosition(names[1], OnlyKings));
    QVERIFY(StorePosition(names[2], std::string(StartPosition)));
    Show();
    const QString file = FDir.filePath("export.pos");
    FDialogs->FileAnswers << file;
    QTest::mouseClick(FDialog->ButtonExportieren, Qt::LeftButton);
    QCOMPARE(FDialogs->Files.size(), 1);
    QCOMPARE(FDialogs->Files[0].Title, "Positionen exportieren");
    QCOMPARE(FDialogs->Files[0].Directory, "tessaron.pos");
    QCOMPARE(FDialogs->Files[0].DefaultExtension, "pos");
    QVERIFY(FDialogs->Messages.isEmpty());
    TIniFile exported;
    QVERIFY(exported.Load(file));
    QCOMPARE(exported.Keys("Positions"), names);
    QCOMPARE(exported.RawValue("Positions", names[0]), '"' + QString::fromStdString(EmptyFirstRank) + '"');

    // A fresh settings file takes them all back, in the file's order.
    WriteIniFile(FDir, Ini);
    FDialogs->FileAnswers << file;
    QTest::mouseClick(FDialog->ButtonImportieren, Qt::LeftButton);
    QCOMPARE(FDialogs->Files[1].Title, "Positionen importieren");
    QVERIFY(FDialogs->Messages.isEmpty());
    QCOMPARE(Names(*FDialog->ListBoxPosition), names);
    QCOMPARE(StoredPosition(names[0]), EmptyFirstRank);
    QCOMPARE(StoredPosition(names[2]), std::string(StartPosition));
}

void TestFormLoadSavePosition::importSkipsNamesInUseWithANumberedMessage() {
    QVERIFY(StorePosition("zwei", OnlyKings));
    const QString file = FDir.filePath("drei.pos");
    WriteFile(file, QString("[Other]\nx=1\n[Positions]\neins=\"%1\"\nZWEI=\"%2\"\ndrei=\"%1\"\n")
                        .arg(QString::fromStdString(EmptyFirstRank),
                             QString::fromStdString(std::string(StartPosition)))
                        .toUtf8());
    Show();
    FDialogs->FileAnswers << file;
    QTest::mouseClick(FDialog->ButtonImportieren, Qt::LeftButton);
    QCOMPARE(FDialogs->MessageTexts(),
             QStringList{"Position Nr. 2 (ZWEI)\rist bereits vorhanden und kann nicht importiert werden!"});
    QCOMPARE(Names(*FDialog->ListBoxPosition), (QStringList{"zwei", "eins", "drei"}));
    QCOMPARE(StoredPosition("zwei"), OnlyKings); // never overwritten
    QCOMPARE(StoredPosition("drei"), EmptyFirstRank);
}

void TestFormLoadSavePosition::importSkipsAndCountsWhatIsNoPlacement() {
    const QString file = FDir.filePath("gemischt.pos");
    const QString good = QString::fromStdString(OnlyKings);
    WriteFile(file, QString("[Positions]\ngut=\"%1\"\nkurz=\"%2\"\nfremd=\"%3\"\nlang=\"%1 \"\n")
                        .arg(good, good.left(63), "x" + good.mid(1))
                        .toUtf8());
    Show();
    FDialogs->FileAnswers << file;
    QTest::mouseClick(FDialog->ButtonImportieren, Qt::LeftButton);
    QCOMPARE(FDialogs->MessageTexts(),
             QStringList{
                 "3 Positionen der Datei wurden übersprungen, weil sie keine gültige Stellung enthalten."});
    QCOMPARE(StoredPositionNames(), QStringList{"gut"});
}

void TestFormLoadSavePosition::damagedOrForeignFileImportsNothing_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    const QByteArray position = QByteArray(64, ' ');
    QByteArray withNul = "[Positions]\neins=\"" + position + "\"\n";
    withNul.append('\0').append("\x01\x02zwei=\"" + position + "\"\n");
    QTest::newRow("binary with NUL bytes") << withNul << "keine Positionsdatei";
    QTest::newRow("a picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << "keine Positionsdatei";
    QTest::newRow("an ini file without positions")
        << QByteArray("[Common]\nPlaySound=1\n") << "keine Positionsdatei";
    QTest::newRow("a missing file") << QByteArray() << "konnte nicht gelesen werden";
}

void TestFormLoadSavePosition::damagedOrForeignFileImportsNothing() {
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QVERIFY(StorePosition("alt", OnlyKings));
    const QString file = FDir.filePath("kaputt.pos");
    if (!content.isEmpty()) WriteFile(file, content);
    const QByteArray before = FileBytes(SettingsFileName());
    Show();
    FDialogs->FileAnswers << file;
    QTest::mouseClick(FDialog->ButtonImportieren, Qt::LeftButton);
    QCOMPARE(FDialogs->Messages.size(), 1);
    QVERIFY2(FDialogs->Messages[0].Text.contains(message), qPrintable(FDialogs->Messages[0].Text));
    QVERIFY(FDialogs->Messages[0].Text.contains("Es wurde nichts importiert."));
    QCOMPARE(FileBytes(SettingsFileName()), before);
    QCOMPARE(Names(*FDialog->ListBoxPosition), QStringList{"alt"});
}

void TestFormLoadSavePosition::exportSkipsNamesTheFileHasAndSparesForeignFiles() {
    QVERIFY(StorePosition("eins", OnlyKings));
    QVERIFY(StorePosition("zwei", EmptyFirstRank));
    const QString file = FDir.filePath("vorhanden.pos");
    const QByteArray theirs = "[Positions]\nEINS=\"" + QByteArray(64, ' ') + "\"\n";
    WriteFile(file, theirs);
    Show();
    FDialogs->FileAnswers << file;
    QTest::mouseClick(FDialog->ButtonExportieren, Qt::LeftButton);
    QCOMPARE(FDialogs->MessageTexts(),
             QStringList{"Position Nr. 1 (eins)\rist bereits vorhanden und kann nicht exportiert werden!"});
    TIniFile exported;
    QVERIFY(exported.Load(file));
    QCOMPARE(exported.Keys("Positions"), (QStringList{"EINS", "zwei"}));
    QCOMPARE(exported.Value("Positions", "EINS"), QString(64, ' ')); // never overwritten

    const QString picture = FDir.filePath("bild.pos");
    const QByteArray png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    WriteFile(picture, png);
    FDialogs->Messages.clear();
    FDialogs->FileAnswers << picture;
    QTest::mouseClick(FDialog->ButtonExportieren, Qt::LeftButton);
    QCOMPARE(FDialogs->Messages.size(), 1);
    QVERIFY(FDialogs->Messages[0].Text.contains("es wurde nichts exportiert"));
    QCOMPARE(FileBytes(picture), png);
}

QTEST_MAIN(TestFormLoadSavePosition)
#include "tst_formloadsaveposition.moc"
