#include "UnitFunctions.h"
#include "UnitSound.h"
#include "WaveFileWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// A machine without a usable sound device, as SDL sees it when no driver can start. A process of its
// own, because SDL keeps the driver it chose for as long as it runs.
class TestSoundWithoutDevice : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void noDeviceIsCounted();
    void silenceIsToldOnceWhenSomeoneListens();
    void playingIsASilentNoOp_data();
    void playingIsASilentNoOp();
    void recorderStillRecords();
    void staysSilentAfterShutdown();

private:
    QTemporaryDir FDir;
};

void TestSoundWithoutDevice::initTestCase() {
    qputenv("SDL_AUDIODRIVER", "tessaron_no_such_driver");
    QVERIFY(FDir.isValid());
    SetProgramDir(FDir.path());
    QVERIFY(QDir(FDir.path()).mkpath("SOUND"));
    QVERIFY(WriteConstantWave(QDir(FDir.path()).filePath("SOUND/RICHTIGZUG.WAV"), 22'050, 22'050, 12'000));
}

void TestSoundWithoutDevice::cleanupTestCase() {
    ShutdownSound();
    SetProgramDir({});
}

void TestSoundWithoutDevice::noDeviceIsCounted() {
    QCOMPARE(WaveOutDeviceCount(), 0);
    QCOMPARE(WaveOutDeviceCount(), 0);
}

// The device is found missing before anyone listens; the cause waits for the listener.
void TestSoundWithoutDevice::silenceIsToldOnceWhenSomeoneListens() {
    QStringList told;
    SetSilenceReporter([&told](const QString& cause) { told << cause; });
    PlayWave("SOUND\\RICHTIGZUG.WAV", true);
    SetSilenceReporter({});
    QCOMPARE(told.size(), 1);
    QVERIFY2(told[0].startsWith("Keine Tonausgabe: kein Audiogerät nutzbar ("), qPrintable(told[0]));
}

void TestSoundWithoutDevice::playingIsASilentNoOp_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("async");
    QTest::newRow("existing, asynchronous") << "SOUND\\RICHTIGZUG.WAV" << true;
    QTest::newRow("existing, synchronous") << "SOUND\\RICHTIGZUG.WAV" << false;
    QTest::newRow("missing, synchronous") << "SOUND\\FEHLT.WAV" << false;
}

void TestSoundWithoutDevice::playingIsASilentNoOp() {
    QFETCH(QString, path);
    QFETCH(bool, async);
    PlayWave(path, async);
    QCOMPARE(PlayingWave(), "");
}

void TestSoundWithoutDevice::recorderStillRecords() {
    TSoundRecorder recorder;
    PlayWave("SOUND\\WARNING.WAV", true);
    QCOMPARE(recorder.Calls, (QList<TSoundCall>{{"SOUND\\WARNING.WAV", true}}));
}

void TestSoundWithoutDevice::staysSilentAfterShutdown() {
    ShutdownSound();
    QCOMPARE(WaveOutDeviceCount(), 0);
    PlayWave("SOUND\\RICHTIGZUG.WAV", false);
    QCOMPARE(PlayingWave(), "");
}

QTEST_GUILESS_MAIN(TestSoundWithoutDevice)
#include "tst_sound_nodevice.moc"
