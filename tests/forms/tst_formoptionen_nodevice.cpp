// The options dialog on a machine without a sound device: the sound switches and the speech path
// cannot be used, and confirming does not check speech files that could never be played. A process
// of its own, because SDL keeps the driver it chose for as long as it runs.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "UnitFormOptionen.h"
#include "UnitSound.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class TestFormOptionenWithoutDevice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void soundControlsAreDisabled();
    void speechFilesAreNotChecked();

private:
    QTemporaryDir FDir;
    DialogRecorder FDialogs;
};

void TestFormOptionenWithoutDevice::initTestCase() {
    qputenv("SDL_AUDIODRIVER", "tessaron_no_such_driver");
    QCOMPARE(WaveOutDeviceCount(), 0);
    PrepareProgramDir(FDir,
                      "[Common]\nLanguage=German\nPlaySound=1\nPlaySp=1\nPlaySpMoves=1\nSpDir=FEHLT\\\n");
    ReadStartSettings();
}

void TestFormOptionenWithoutDevice::cleanupTestCase() {
    ShutdownSound();
    SetProgramDir({});
}

void TestFormOptionenWithoutDevice::soundControlsAreDisabled() {
    TFormOptionen form;
    form.show();
    QVERIFY(form.CheckBoxSound->isChecked());
    QVERIFY(!form.CheckBoxSound->isEnabled());
    QVERIFY(!form.CheckBoxSprache->isEnabled());
    QVERIFY(!form.EditSpPfad->isEnabled());
    QVERIFY(form.CheckBoxMusik->isEnabled()); // it follows the sound switch alone
}

void TestFormOptionenWithoutDevice::speechFilesAreNotChecked() {
    TFormOptionen form;
    form.show();
    QVERIFY(form.CheckBoxSpMoves->isChecked());
    form.ButtonOk->click();
    QVERIFY(FDialogs.Messages.isEmpty());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(Settings().SpDir, "FEHLT\\");
}

QTEST_MAIN(TestFormOptionenWithoutDevice)
#include "tst_formoptionen_nodevice.moc"
