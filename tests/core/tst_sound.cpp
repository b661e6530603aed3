#include "UnitFunctions.h"
#include "UnitSound.h"
#include "WaveFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>

namespace {

constexpr quint32 SampleRate = 22'050;
constexpr quint32 ShortFrames = SampleRate / 2; // half a second, loud
constexpr quint32 LongFrames = SampleRate * 30; // half a minute of silence: still playing when checked
constexpr qint16 Loud = 12'000;

// Output frames in which the mixer produced any sound; counted on SDL's audio thread.
std::atomic<qint64> LoudFrames{0};

void CountLoudFrames(void*, Uint8* stream, int length) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    const int frames = length / int(sizeof(Sint16)) / channels;
    qint64 loud = 0;
    for (int frame = 0; frame < frames; ++frame) {
        bool sound = false;
        for (int channel = 0; channel < channels; ++channel)
            sound = sound || samples[frame * channels + channel] != 0;
        if (sound) ++loud;
    }
    LoudFrames += loud;
}

// Output frames a wave of `frames` frames at SampleRate takes on the opened device.
qint64 OutputFrames(quint32 frames) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    Mix_QuerySpec(&frequency, &format, &channels);
    return qint64(frames) * frequency / SampleRate;
}

} // namespace

class TestSound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void dummyDriverHasOneDevice();
    void synchronousPlaysToTheEnd();
    void asynchronousReturnsWhilePlaying();
    void newSoundCutsOffThePlayingOne();
    void synchronousCutsOffAsynchronous();
    void pathsResolveWithoutRegardToCase();
    void unusableFilesAreSilent_data();
    void unusableFilesAreSilent();
    void silenceIsToldOncePerFile();
    void recorderCapturesInsteadOfPlaying();
    void recordersNest();
    void reopensAfterShutdown();

private:
    QString SoundFile(const QString& name) const { return QDir(FDir.path()).filePath("SOUND/" + name); }
    QTemporaryDir FDir;
};

void TestSound::initTestCase() {
    // Never the real sound card, even when the test runs outside ctest.
    qputenv("SDL_AUDIODRIVER", "dummy");
    QVERIFY(FDir.isValid());
    SetProgramDir(FDir.path());
    QVERIFY(QDir(FDir.path()).mkpath("SOUND"));
    QVERIFY(WriteConstantWave(SoundFile("KURZ.WAV"), SampleRate, ShortFrames, Loud));
    QVERIFY(WriteConstantWave(SoundFile("LANG1.WAV"), SampleRate, LongFrames, 0));
    QVERIFY(WriteConstantWave(SoundFile("LANG2.WAV"), SampleRate, LongFrames, 0));
    QFile garbage(SoundFile("KAPUTT.WAV"));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("this is no wave file at all");
    garbage.close();
    QFile empty(SoundFile("LEER.WAV"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
}

void TestSound::init() {
    ShutdownSound();
    QCOMPARE(WaveOutDeviceCount(), 1);
    Mix_SetPostMix(CountLoudFrames, nullptr);
    LoudFrames = 0;
}

void TestSound::cleanupTestCase() {
    ShutdownSound();
    SetProgramDir({});
}

void TestSound::dummyDriverHasOneDevice() {
    QCOMPARE(WaveOutDeviceCount(), 1);
    QCOMPARE(WaveOutDeviceCount(), 1);
    QCOMPARE(PlayingWave(), "");
}

void TestSound::synchronousPlaysToTheEnd() {
    PlayWave("SOUND\\KURZ.WAV", false);
    QCOMPARE(PlayingWave(), "");
    // Every loud frame has gone through the mixer by the time the call returns; the mixer may still
    // owe the post-mix count of its last buffer, hence the margin below.
    const qint64 expected = OutputFrames(ShortFrames);
    QVERIFY2(LoudFrames >= expected * 9 / 10,
             qPrintable(QString("%1 of %2").arg(LoudFrames.load()).arg(expected)));
    QVERIFY2(LoudFrames <= expected * 11 / 10,
             qPrintable(QString("%1 of %2").arg(LoudFrames.load()).arg(expected)));
}

void TestSound::asynchronousReturnsWhilePlaying() {
    PlayWave("SOUND\\LANG1.WAV", true);
    QCOMPARE(PlayingWave(), SoundFile("LANG1.WAV"));
}

void TestSound::newSoundCutsOffThePlayingOne() {
    PlayWave("SOUND\\LANG1.WAV", true);
    PlayWave("SOUND\\LANG2.WAV", true);
    QCOMPARE(PlayingWave(), SoundFile("LANG2.WAV"));
    PlayWave("SOUND\\LANG1.WAV", true); // a sound played before is played again from the start
    QCOMPARE(PlayingWave(), SoundFile("LANG1.WAV"));
}

void TestSound::synchronousCutsOffAsynchronous() {
    PlayWave("SOUND\\LANG1.WAV", true);
    PlayWave("SOUND\\KURZ.WAV", false);
    QCOMPARE(PlayingWave(), ""); // the long sound does not play on beside or after the short one
    QVERIFY(LoudFrames >= OutputFrames(ShortFrames) * 9 / 10);
}

void TestSound::pathsResolveWithoutRegardToCase() {
    PlayWave("sound\\lang1.wav", true);
    QCOMPARE(PlayingWave(), SoundFile("LANG1.WAV"));
    PlayWave(SoundFile("LANG2.WAV"), true); // an absolute path stands as it is
    QCOMPARE(PlayingWave(), SoundFile("LANG2.WAV"));
}

void TestSound::unusableFilesAreSilent_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("async");
    QTest::newRow("missing, asynchronous") << "SOUND\\FEHLT.WAV" << true;
    QTest::newRow("missing, synchronous") << "SOUND\\FEHLT.WAV" << false;
    QTest::newRow("missing folder") << "SOUND\\SPRACHE\\E2.WAV" << false;
    QTest::newRow("not a wave") << "SOUND\\KAPUTT.WAV" << false;
    QTest::newRow("empty file") << "SOUND\\LEER.WAV" << true;
    QTest::newRow("a folder") << "SOUND" << false;
    QTest::newRow("empty path") << "" << false;
}

void TestSound::unusableFilesAreSilent() {
    QFETCH(QString, path);
    QFETCH(bool, async);
    PlayWave("SOUND\\LANG1.WAV", true);
    PlayWave(path, async);
    QCOMPARE(PlayingWave(), SoundFile("LANG1.WAV")); // nothing was started, so nothing was cut off
    QCOMPARE(LoudFrames.load(), 0);
}

void TestSound::silenceIsToldOncePerFile() {
    QStringList told;
    SetSilenceReporter([&told](const QString& cause) { told << cause; });
    told.clear(); // what the cases before found waited for a listener
    PlayWave("SOUND\\NIEDA.WAV", true);
    PlayWave("SOUND\\NIEDA.WAV", false);
    PlayWave("SOUND\\KAPUTT.WAV", true); // told already, while nobody listened
    PlayWave("SOUND\\KURZ.WAV", true);
    PlayWave("SOUND\\AUCHNICHT.WAV", true);
    SetSilenceReporter({});
    QCOMPARE(told, (QStringList{"Tondatei fehlt oder ist beschädigt: " + SoundFile("NIEDA.WAV"),
                                "Tondatei fehlt oder ist beschädigt: " + SoundFile("AUCHNICHT.WAV")}));
}

void TestSound::recorderCapturesInsteadOfPlaying() {
    {
        TSoundRecorder recorder;
        PlayWave("SOUND\\RICHTIGZUG.WAV", true);
        PlayWave("SOUND\\LANG1.WAV", true);
        PlayWave("SOUND\\SPRACHE\\E2.WAV", false);
        QCOMPARE(recorder.Calls, (QList<TSoundCall>{{"SOUND\\RICHTIGZUG.WAV", true},
                                                    {"SOUND\\LANG1.WAV", true},
                                                    {"SOUND\\SPRACHE\\E2.WAV", false}}));
        QCOMPARE(PlayingWave(), "");
    }
    PlayWave("SOUND\\LANG1.WAV", true);
    QCOMPARE(PlayingWave(), SoundFile("LANG1.WAV"));
}

void TestSound::recordersNest() {
    TSoundRecorder outer;
    PlayWave("SOUND\\A.WAV", true);
    {
        TSoundRecorder inner;
        PlayWave("SOUND\\B.WAV", false);
        QCOMPARE(inner.Calls, (QList<TSoundCall>{{"SOUND\\B.WAV", false}}));
    }
    PlayWave("SOUND\\C.WAV", true);
    QCOMPARE(outer.Calls, (QList<TSoundCall>{{"SOUND\\A.WAV", true}, {"SOUND\\C.WAV", true}}));
}

void TestSound::reopensAfterShutdown() {
    PlayWave("SOUND\\LANG1.WAV", true);
    ShutdownSound();
    QCOMPARE(PlayingWave(), "");
    PlayWave("SOUND\\LANG2.WAV", true);
    QCOMPARE(PlayingWave(), SoundFile("LANG2.WAV"));
    QCOMPARE(WaveOutDeviceCount(), 1);
}

QTEST_GUILESS_MAIN(TestSound)
#include "tst_sound.moc"
