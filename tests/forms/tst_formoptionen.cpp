// The options dialog on real widgets, offscreen: what it shows, which switches depend on which, the
// speech folder with its check, the level description, Cancel that keeps everything and OK that
// writes its 17 keys whatever SaveOptions says.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "IniFile.h"
#include "RadioGroup.h"
#include "UnitFormOptionen.h"
#include "UnitSound.h"
#include "WaveFileWriter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>

namespace {

const QStringList DialogKeys = {
    "SaveOptions",     "SaveMainWin",       "ShowMessages", "ViewBreak", "BrdAutoResize",
    "ShowHints",       "ModernDesign",      "Language",     "PlaySound", "PlayMusik",
    "PlaySp",          "PlaySpMoves",       "SpDir",        "SDMF",      "GameModus",
    "BlitzschachZeit", "BlitzschachWarnung"};

// On the check box's square (or a button's left end): a check box takes clicks only on itself and its text.
void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->height() / 2, button->height() / 2));
}

} // namespace

class TestFormOptionen : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void showsTheSettings();
    void switchesDependOnTheirParents();
    void cancelKeepsEverything();
    void okWritesItsKeysEvenWithoutSaveOptions();
    void missingSpeechFilesKeepTheDialogOpen();
    void completeSpeechFolderIsAccepted();
    void directoryButtonFillsThePath();
    void levelDescriptionFollowsTheTrackBar();
    void blitzMinutesRunRound();

private:
    void Open(const QString& ini);
    QTemporaryDir FDir;
    std::unique_ptr<TFormOptionen> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
};

void TestFormOptionen::init() {
    FDialogs = std::make_unique<DialogRecorder>();
}

void TestFormOptionen::cleanup() {
    FForm.reset();
    FDialogs.reset();
    CloseLanguageFile();
    SetProgramDir({});
}

void TestFormOptionen::Open(const QString& ini) {
    PrepareProgramDir(FDir, "[Common]\nLanguage=German\n" + ini);
    ReadStartSettings();
    SetLanguage("German");
    FForm = std::make_unique<TFormOptionen>();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestFormOptionen::showsTheSettings() {
    Open("SaveOptions=0\nPlaySp=1\nSpDir=/opt/sprache/\nSDMF=2\nGameModus=1\nBlitzschachZeit=45\n"
         "BlitzschachWarnung=3\nModernDesign=0\n");
    TFormOptionen& form = *FForm;
    QCOMPARE(form.windowTitle(), "Einstellungen");
    QCOMPARE(form.PageControl->currentIndex(), 0);
    QCOMPARE(form.PageControl->tabText(1), "&Sound");
    QVERIFY(!form.CheckBoxEinstellungenSpeichern->isChecked());
    QVERIFY(!form.CheckBoxModernDesign->isChecked());
    QVERIFY(form.CheckBoxSound->isChecked() && form.CheckBoxMusik->isChecked());
    QVERIFY(form.CheckBoxSprache->isChecked() && !form.CheckBoxSpMoves->isChecked());
    QCOMPARE(form.EditSpPfad->text(), "/opt/sprache/");
    QCOMPARE(form.TrackBarSearchDepth->value(), 2);
    QCOMPARE(form.RadioGroupGameVariant->ItemIndex(), 1);
    QCOMPARE(form.RadioGroupGameVariant->Items(), (QStringList{"Standard", "Blitzschach"}));
    QCOMPARE(form.EditBlitzschachZeit->value(), 45);
    QCOMPARE(form.EditBlitzschachWarnung->value(), 3);
    QVERIFY(form.ButtonChangeLanguage->isVisible());
}

void TestFormOptionen::switchesDependOnTheirParents() {
    Open("PlaySp=1\nSaveOptions=1\n");
    TFormOptionen& form = *FForm;
    QVERIFY(form.CheckBoxSaveMainWin->isEnabled());
    Click(form.CheckBoxEinstellungenSpeichern);
    QVERIFY(!form.CheckBoxSaveMainWin->isEnabled());

    form.PageControl->setCurrentIndex(1);
    const QList<QWidget*> speech = {form.CheckBoxSpMoves, form.EditSpPfad, form.SpeedButtonSpPfad};
    for (QWidget* widget : speech)
        QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
    Click(form.CheckBoxSound);
    for (QWidget* widget : speech + QList<QWidget*>{form.CheckBoxMusik, form.CheckBoxSprache})
        QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
    Click(form.CheckBoxSound);
    Click(form.CheckBoxSprache);
    QVERIFY(form.CheckBoxMusik->isEnabled() && form.CheckBoxSprache->isEnabled());
    for (QWidget* widget : speech)
        QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
}

void TestFormOptionen::cancelKeepsEverything() {
    Open("SaveOptions=1\nSDMF=1\n");
    const QByteArray before = [this] {
        QFile file(FDir.filePath("tessaron.ini"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const TSettings settings = Settings();
    TFormOptionen& form = *FForm;
    Click(form.CheckBoxSound);
    form.TrackBarSearchDepth->setValue(3);
    form.EditBlitzschachZeit->setValue(7);
    form.EditSpPfad->setText("/tmp/");
    Click(form.ButtonAbbrechen);
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QVERIFY(!form.isVisible());
    QCOMPARE(Settings().PlaySound, settings.PlaySound);
    QCOMPARE(Settings().SDMF, 1);
    QCOMPARE(Settings().BlitzschachZeit, settings.BlitzschachZeit);
    QCOMPARE(Settings().SpDir, settings.SpDir);
    QFile file(FDir.filePath("tessaron.ini"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestFormOptionen::okWritesItsKeysEvenWithoutSaveOptions() {
    Open("SaveOptions=0\n");
    TFormOptionen& form = *FForm;
    Click(form.CheckBoxMassages);
    Click(form.CheckBoxSprache);
    form.EditSpPfad->setText("SOUND\\SPEECH\\");
    form.TrackBarSearchDepth->setValue(3);
    form.RadioGroupGameVariant->SetItemIndex(1);
    form.EditBlitzschachZeit->setValue(12);
    form.EditBlitzschachWarnung->setValue(2);
    Click(form.ButtonOk);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(FDialogs->Messages.isEmpty());
    TIniFile ini;
    QVERIFY(ini.Load(FDir.filePath("tessaron.ini")));
    for (const QString& key : DialogKeys)
        QVERIFY2(ini.HasKey("Common", key), qPrintable(key));
    QCOMPARE(ini.Keys("Common").size(), DialogKeys.size());
    QCOMPARE(ini.Value("Common", "SaveOptions"), "0");
    QCOMPARE(ini.Value("Common", "ShowMessages"), "0");
    QCOMPARE(ini.Value("Common", "PlaySp"), "1");
    QCOMPARE(ini.Value("Common", "PlaySpMoves"), "0");
    QCOMPARE(ini.Value("Common", "SpDir"), "SOUND\\SPEECH\\");
    QCOMPARE(ini.Value("Common", "SDMF"), "3");
    QCOMPARE(ini.Value("Common", "GameModus"), "1");
    QCOMPARE(ini.Value("Common", "BlitzschachZeit"), "12");
    QCOMPARE(ini.Value("Common", "BlitzschachWarnung"), "2");
    QCOMPARE(ini.Value("Common", "Language"), "German");
    QCOMPARE(Settings().SDMF, 3);
}

void TestFormOptionen::missingSpeechFilesKeepTheDialogOpen() {
    Open("PlaySp=1\n");
    TFormOptionen& form = *FForm;
    Click(form.CheckBoxSpMoves);
    form.EditSpPfad->setText("KEINE\\SPRACHE\\");
    form.TrackBarSearchDepth->setValue(2);
    FDialogs->MessageAnswers = {mrAbort};
    Click(form.ButtonOk);
    QCOMPARE(FDialogs->MessageTexts(), (QStringList{"Datei KEINE\\SPRACHE\\A8.WAV nicht vorhanden.",
                                                    "Sprachausgabe wird deaktiviert."}));
    QVERIFY(form.isVisible());
    QVERIFY(!form.CheckBoxSpMoves->isChecked());
    QCOMPARE(form.EditSpPfad->text(), "SOUND\\SPRACHE\\");
    QCOMPARE(Settings().SDMF, 0); // nothing was saved
    TIniFile ini;
    QVERIFY(ini.Load(FDir.filePath("tessaron.ini")));
    QVERIFY(!ini.HasKey("Common", "SDMF"));
}

void TestFormOptionen::completeSpeechFolderIsAccepted() {
    Open("PlaySp=1\n");
    QVERIFY(QDir().mkpath(FDir.filePath("SOUND/SPEECH")));
    for (int square = A8; square <= H1; ++square)
        QVERIFY(WriteConstantWave(
            FDir.filePath("SOUND/SPEECH/" + QString::fromStdString(SquareName(square)) + ".WAV"), 22'050, 10,
            100));
    QVERIFY(WriteConstantWave(FDir.filePath("SOUND/SPEECH/NACH.WAV"), 22'050, 10, 100));
    TFormOptionen& form = *FForm;
    Click(form.CheckBoxSpMoves);
    form.EditSpPfad->setText("SOUND\\SPEECH\\");
    Click(form.ButtonOk);
    QVERIFY(FDialogs->Messages.isEmpty());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(Settings().PlaySpMoves && Settings().PlaySp);
    QCOMPARE(Settings().SpDir, "SOUND\\SPEECH\\");
}

void TestFormOptionen::directoryButtonFillsThePath() {
    Open("PlaySp=1\nSpDir=SOUND\\SPRACHE\\\n");
    TFormOptionen& form = *FForm;
    FDialogs->FileAnswers = {std::nullopt, QString("/home/spieler/stimmen")};
    Click(form.SpeedButtonSpPfad);
    QCOMPARE(form.EditSpPfad->text(), "SOUND\\SPRACHE\\"); // cancelled
    QCOMPARE(FDialogs->Files[0].Kind, TFileDialogKind::Directory);
    QCOMPARE(FDialogs->Files[0].Title, "Wählen Sie einen Ordner");
    Click(form.SpeedButtonSpPfad);
    QCOMPARE(form.EditSpPfad->text(), "/home/spieler/stimmen/");
}

void TestFormOptionen::levelDescriptionFollowsTheTrackBar() {
    Open("SDMF=1\n");
    TFormOptionen& form = *FForm;
    form.activateWindow();
    form.ButtonOk->setFocus();
    form.PageControl->setCurrentIndex(2);
    QVERIFY(!form.LevelHintWindow());
    form.TrackBarSearchDepth->setFocus();
    QTRY_VERIFY(form.LevelHintWindow());
    QLabel* hint = form.LevelHintWindow();
    QVERIFY(hint->isVisible());
    QVERIFY2(hint->text().startsWith(LoadLangString(3024, "")), qPrintable(hint->text()));
    QCOMPARE(hint->pos(), form.frameGeometry().topLeft() + QPoint(20, form.frameGeometry().height() - 80));
    QVERIFY(hint->width() <= form.width());
    QTest::keyClick(form.TrackBarSearchDepth, Qt::Key_Right);
    QCOMPARE(form.TrackBarSearchDepth->value(), 2);
    QVERIFY2(form.LevelHintWindow()->text().startsWith(LoadLangString(3025, "")),
             qPrintable(form.LevelHintWindow()->text()));
    form.ButtonOk->setFocus();
    QTRY_VERIFY(!form.LevelHintWindow());
    form.TrackBarSearchDepth->setFocus();
    QTRY_VERIFY(form.LevelHintWindow());
    form.reject();
    QVERIFY(!form.LevelHintWindow());
}

void TestFormOptionen::blitzMinutesRunRound() {
    Open("BlitzschachZeit=999\nBlitzschachWarnung=0\n");
    TFormOptionen& form = *FForm;
    form.EditBlitzschachZeit->stepUp();
    QCOMPARE(form.EditBlitzschachZeit->value(), 0);
    form.EditBlitzschachWarnung->stepDown();
    QCOMPARE(form.EditBlitzschachWarnung->value(), 999);
    QCOMPARE(form.EditBlitzschachZeit->maximum(), 999);
}

QTEST_MAIN(TestFormOptionen)
#include "tst_formoptionen.moc"
