// The sounds the build makes beside the program: every effect and every word of both speech folders
// exists, is a wave file SDL reads, is heard (not silent), does not clip, starts and ends without a
// click, and lasts as long as such a sound should; every piece of the music list plays and lasts one
// to three minutes.

#include "IniFile.h"
#include "MidiPlay.h"
#include "MidiTiming.h"
#include "UnitFunctions.h"
#include "UnitSound.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace {

constexpr double FullScale = 32768.0;
constexpr double ClipLevel = 0.99;    // of full scale
constexpr double SilentRms = 0.02;    // about -34 dBFS over the whole sound
constexpr double ClickFreeEnd = 0.01; // first and last samples within 1 % of full scale
constexpr double LongestWordS = 1.5;
constexpr double ShortestWordS = 0.2;
constexpr double ShortestEffectS = 0.1;
constexpr double LongestEffectS = 3.5;
constexpr qint64 ShortestPieceMs = 60'000;
constexpr qint64 LongestPieceMs = 180'000;
constexpr int FewestPieces = 5;

struct TWaveFacts {
    double Seconds = 0;
    double Peak = 0;
    double Rms = 0;
    double FirstSample = 0;
    double LastSample = 0;
};

// Reads a wave file as SDL does, as 16-bit mono or stereo samples.
std::optional<TWaveFacts> ReadWave(const QString& fileName, QString* error) {
    SDL_AudioSpec audio{};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV(fileName.toLocal8Bit().constData(), &audio, &buffer, &length)) {
        *error = SDL_GetError();
        return std::nullopt;
    }
    std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> owned(buffer, SDL_FreeWAV);
    if (audio.format != AUDIO_S16LSB || length < 2) {
        *error = "not 16-bit PCM";
        return std::nullopt;
    }
    const auto* samples = reinterpret_cast<const Sint16*>(buffer);
    const std::size_t count = length / 2;
    TWaveFacts facts;
    double energy = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double value = samples[i] / FullScale;
        facts.Peak = std::max(facts.Peak, std::abs(value));
        energy += value * value;
    }
    facts.Rms = std::sqrt(energy / double(count));
    facts.Seconds = double(count) / audio.channels / audio.freq;
    facts.FirstSample = std::abs(samples[0] / FullScale);
    facts.LastSample = std::abs(samples[count - 1] / FullScale);
    return facts;
}

} // namespace

class TestSoundData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void effects_data();
    void effects();
    void words_data();
    void words();
    void foldersHoldNothingElse();
    void musicListNamesEnoughPieces();
    void music_data();
    void music();
    void cleanupTestCase();

private:
    void Check(const QString& fileName, double shortest, double longest);
};

void TestSoundData::Check(const QString& fileName, double shortest, double longest) {
    QVERIFY2(QFileInfo::exists(fileName), qPrintable(fileName));
    QString error;
    const std::optional<TWaveFacts> facts = ReadWave(fileName, &error);
    QVERIFY2(facts, qPrintable(fileName + ": " + error));
    const QString figures = QString("%1: %2 s, peak %3, rms %4, ends %5 %6")
                                .arg(fileName)
                                .arg(facts->Seconds)
                                .arg(facts->Peak)
                                .arg(facts->Rms)
                                .arg(facts->FirstSample)
                                .arg(facts->LastSample);
    QVERIFY2(facts->Rms > SilentRms, qPrintable(figures));
    QVERIFY2(facts->Peak < ClipLevel, qPrintable(figures));
    QVERIFY2(facts->FirstSample < ClickFreeEnd && facts->LastSample < ClickFreeEnd, qPrintable(figures));
    QVERIFY2(facts->Seconds >= shortest && facts->Seconds <= longest, qPrintable(figures));
}

void TestSoundData::effects_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : QString(SOUND_EFFECTS).split(','))
        QTest::newRow(qPrintable(name)) << name;
}

void TestSoundData::effects() {
    QFETCH(QString, name);
    Check(QString(SOUND_DIR) + "/" + name + ".WAV", ShortestEffectS, LongestEffectS);
}

void TestSoundData::words_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("longest");
    for (const char* folder : {"SPRACHE", "SPEECH"}) {
        QStringList words = {"NACH"};
        for (char rank = '8'; rank >= '1'; --rank)
            for (char file = 'A'; file <= 'H'; ++file)
                words << QString("%1%2").arg(file).arg(rank);
        for (const QString& word : words)
            QTest::newRow(qPrintable(QString("%1/%2").arg(folder, word)))
                << QString("%1/%2/%3.WAV").arg(SOUND_DIR, folder, word) << LongestWordS;
        // The greeting is a sentence, not a word.
        QTest::newRow(qPrintable(QString("%1/WELCOME").arg(folder)))
            << QString("%1/%2/WELCOME.WAV").arg(SOUND_DIR, folder) << 2 * LongestWordS;
    }
}

void TestSoundData::words() {
    QFETCH(QString, file);
    QFETCH(double, longest);
    Check(file, ShortestWordS, longest);
}

// 64 squares, the connecting word and the greeting: a stray file would be a misnamed word.
void TestSoundData::foldersHoldNothingElse() {
    for (const char* folder : {"SPRACHE", "SPEECH"})
        QCOMPARE(QDir(QString(SOUND_DIR) + "/" + folder).entryList(QDir::Files).size(), 66);
}

// The program's folder holds the sounds; the list names the pieces relative to it.
QStringList MusicList() {
    SetProgramDir(QFileInfo(QString(SOUND_DIR)).path());
    TIniFile list;
    list.Load(ResolvePath("SOUND\\MIDI\\MIDI.INI"));
    return list.Keys("MIDIFiles");
}

void TestSoundData::musicListNamesEnoughPieces() {
    QVERIFY(MusicList().size() >= FewestPieces);
}

void TestSoundData::music_data() {
    QTest::addColumn<QString>("piece");
    for (const QString& piece : MusicList())
        QTest::newRow(qPrintable(piece)) << piece;
}

void TestSoundData::music() {
    QFETCH(QString, piece);
    const QString fileName = ResolvePath(piece);
    QFile file(fileName);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(fileName));
    const std::optional<TMidiTiming> timing = TMidiTiming::Read(file.readAll());
    QVERIFY2(timing, qPrintable(fileName));
    QVERIFY2(timing->LengthMs() >= ShortestPieceMs && timing->LengthMs() <= LongestPieceMs,
             qPrintable(QString("%1: %2 ms").arg(fileName).arg(timing->LengthMs())));
    TMidiPlayer player;
    player.SetMidiFile(fileName);
    QVERIFY(player.Open());
    QCOMPARE(player.Length(), int(timing->LengthMs()));
}

void TestSoundData::cleanupTestCase() {
    ShutdownSound();
    SetProgramDir({});
}

QTEST_MAIN(TestSoundData)
#include "tst_sound_data.moc"
