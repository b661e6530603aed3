// Background music: the timing read from MIDI files, the music list, the choice of the next piece,
// and playing, stopping, seeking and the end of a piece through FluidSynth on SDL's dummy device.

#include "MidiFileWriter.h"
#include "MidiPlay.h"
#include "MidiTiming.h"
#include "UnitClasses.h"
#include "UnitFunctions.h"
#include "UnitSettings.h"
#include "UnitSound.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr quint16 Resolution = 480;
constexpr qint64 Quarter = Resolution;
constexpr int PlayTimeoutMs = 5000;

} // namespace

class TestMusic : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void timingFollowsTheTempoMap();
    void timingInFrames();
    void damagedFilesAreRefused_data();
    void damagedFilesAreRefused();
    void listKeepsFileOrder();
    void missingOrEmptyListSwitchesMusicOff();
    void twoPiecesAlternate();
    void everyPieceIsChosenButNeverTwiceRunning();
    void playsAndStopsAtOnce();
    void seekMovesThePosition();
    void pieceEndsAndTheNextFollows();
    void unplayableFileIsSkippedAndToldOnce();
    void drivenOnlyWithSoundAndMusic();

private:
    void WriteList(const QStringList& files);
    QTemporaryDir FDir;
    QStringList FTold;
};

void TestMusic::initTestCase() {
    qputenv("SDL_AUDIODRIVER", "dummy");
    QVERIFY(FDir.isValid());
    SetProgramDir(FDir.path());
    QVERIFY(QDir(FDir.path()).mkpath("SOUND/MIDI"));
    // Half a minute, two seconds, and a second and a half at 120 quarters a minute.
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/LANG.MID"), MidiBytes(60, Resolution)));
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/ZWEI.MID"), MidiBytes(4, Resolution)));
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/KURZ.MID"), MidiBytes(3, Resolution)));
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/KAPUTT.MID"), "MThd but nothing that follows"));
    SetSilenceReporter([this](const QString& cause) { FTold << cause; });
    QVERIFY2(!GeneralMidiSoundFont().isEmpty(), "the General MIDI sound font is missing");
}

void TestMusic::init() {
    Settings() = TSettings{};
    Settings().PlaySound = true;
    Settings().PlayMusik = true;
    FTold.clear();
}

void TestMusic::cleanupTestCase() {
    SetSilenceReporter({});
    ShutdownSound();
    SetProgramDir({});
}

void TestMusic::WriteList(const QStringList& files) {
    QString text = "[MIDIFiles]\n";
    for (const QString& file : files)
        text += file + "=\n";
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/MIDI.INI"), text.toUtf8()));
}

void TestMusic::timingFollowsTheTempoMap() {
    // Two quarters at 120 a minute, then two at 60: 1 s + 2 s.
    const auto timing =
        TMidiTiming::Read(MidiBytes(4, Resolution, {{0, 500'000}, {2 * Resolution, 1'000'000}}));
    QVERIFY(timing);
    QCOMPARE(timing->TotalTicks(), 4 * Quarter);
    QCOMPARE(timing->LengthMs(), qint64(3000));
    QCOMPARE(timing->TicksToMs(Quarter), qint64(500));
    QCOMPARE(timing->TicksToMs(3 * Quarter), qint64(2000));
    QCOMPARE(timing->MsToTicks(500), Quarter);
    QCOMPARE(timing->MsToTicks(2000), 3 * Quarter);
    QCOMPARE(timing->MsToTicks(0), qint64(0));
    // Without a tempo, 120 quarters a minute.
    QCOMPARE(TMidiTiming::Read(MidiBytes(8, 96))->LengthMs(), qint64(4000));
}

void TestMusic::timingInFrames() {
    QByteArray bytes = MidiBytes(2, Resolution);
    bytes[12] = char(0xE7); // 25 frames a second,
    bytes[13] = char(40);   // 40 ticks a frame: 1 ms a tick
    const auto timing = TMidiTiming::Read(bytes);
    QVERIFY(timing);
    QCOMPARE(timing->LengthMs(), 2 * Quarter);
    QCOMPARE(timing->MsToTicks(100), qint64(100));
}

void TestMusic::damagedFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = MidiBytes(2, Resolution);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not MIDI") << QByteArray("RIFF....WAVEfmt ");
    QTest::newRow("header only") << good.left(14);
    QTest::newRow("track cut short") << good.left(good.size() - 5);
    QByteArray noTracks = good;
    noTracks[11] = 0;
    QTest::newRow("no tracks") << noTracks;
    QByteArray data = good;
    data[22 + 1] = 0x3C; // the first event's status replaced by a data byte, with no status before it
    QTest::newRow("data without status") << data;
}

void TestMusic::damagedFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QVERIFY(!TMidiTiming::Read(bytes));
}

void TestMusic::listKeepsFileOrder() {
    WriteList({"SOUND\\MIDI\\ZWEI.MID", "SOUND\\MIDI\\LANG.MID", "sound\\midi\\kurz.mid"});
    QObject owner;
    TMusikPlayer player(&owner);
    player.LoadList("SOUND\\MIDI\\MIDI.INI");
    QCOMPARE(player.Files(),
             (QStringList{"SOUND\\MIDI\\ZWEI.MID", "SOUND\\MIDI\\LANG.MID", "sound\\midi\\kurz.mid"}));
    QCOMPARE(player.Count(), 3);
}

void TestMusic::missingOrEmptyListSwitchesMusicOff() {
    QFile::remove(FDir.filePath("SOUND/MIDI/MIDI.INI"));
    QObject owner;
    QCOMPARE(CreateMusikPlayer(&owner)->Count(), 0);
    QVERIFY(!Settings().PlayMusik);
    Settings().PlayMusik = true;
    WriteList({});
    QCOMPARE(CreateMusikPlayer(&owner)->Count(), 0);
    QVERIFY(!Settings().PlayMusik);
    Settings().PlayMusik = true;
    WriteList({"SOUND\\MIDI\\LANG.MID"});
    QCOMPARE(CreateMusikPlayer(&owner)->Count(), 1);
    QVERIFY(Settings().PlayMusik);
}

void TestMusic::twoPiecesAlternate() {
    WriteList({"SOUND\\MIDI\\LANG.MID", "SOUND\\MIDI\\ZWEI.MID"});
    QObject owner;
    const auto player = CreateMusikPlayer(&owner);
    QList<int> played;
    for (int piece = 0; piece < 8; ++piece) {
        player->Next();
        played << player->Index();
    }
    for (int i = 1; i < played.size(); ++i)
        QVERIFY(played[i] != played[i - 1]);
    QCOMPARE(player->MidiPlayer->MidiFile(), ResolvePath(player->Files()[played.last()]));
    player->Stop();
}

// The random choice draws from the whole list, the last entry too.
void TestMusic::everyPieceIsChosenButNeverTwiceRunning() {
    WriteList({"SOUND\\MIDI\\LANG.MID", "SOUND\\MIDI\\ZWEI.MID", "SOUND\\MIDI\\KURZ.MID"});
    QObject owner;
    const auto player = CreateMusikPlayer(&owner);
    QSet<int> chosen;
    int previous = -1;
    for (int piece = 0; piece < 60; ++piece) {
        player->Next();
        QVERIFY(player->Index() != previous);
        previous = player->Index();
        chosen.insert(previous);
    }
    QCOMPARE(chosen, (QSet<int>{0, 1, 2}));
    player->Stop();
}

void TestMusic::playsAndStopsAtOnce() {
    WriteList({"SOUND\\MIDI\\LANG.MID"});
    QObject owner;
    const auto player = CreateMusikPlayer(&owner);
    player->Next();
    QVERIFY(player->Playing());
    QVERIFY(player->MidiPlayer->IsOpen());
    QCOMPARE(player->MidiPlayer->Length(), 30'000);
    QTRY_VERIFY_WITH_TIMEOUT(player->MidiPlayer->Position() > 200, PlayTimeoutMs);
    QVERIFY(!player->CheckEnd(false));
    player->Stop();
    QVERIFY(!player->Playing());
    QVERIFY(!player->MidiPlayer->IsOpen());
    QCOMPARE(player->MidiPlayer->Position(), 0);
}

void TestMusic::seekMovesThePosition() {
    TMidiPlayer midi;
    midi.SetMidiFile(FDir.filePath("SOUND/MIDI/LANG.MID"));
    QVERIFY(midi.Open());
    midi.Play(10'000, 0);
    QTRY_VERIFY_WITH_TIMEOUT(midi.Position() >= 10'000, PlayTimeoutMs);
    QVERIFY2(midi.Position() < 10'000 + PlayTimeoutMs, qPrintable(QString::number(midi.Position())));
    midi.Seek(20'000);
    QTRY_VERIFY_WITH_TIMEOUT(midi.Position() >= 20'000, PlayTimeoutMs);
    midi.SetMidiFile({});
    QVERIFY(!midi.IsOpen());
}

void TestMusic::pieceEndsAndTheNextFollows() {
    WriteList({"SOUND\\MIDI\\KURZ.MID", "SOUND\\MIDI\\LANG.MID"});
    QObject owner;
    const auto player = CreateMusikPlayer(&owner);
    do
        player->Next();
    while (player->Index() != 0);
    QCOMPARE(player->MidiPlayer->Length(), 1500);
    QTRY_VERIFY_WITH_TIMEOUT(player->CheckEnd(false), PlayTimeoutMs);
    QVERIFY(player->MidiPlayer->Position() >= 1500);
    QVERIFY(player->CheckEnd(true));
    QCOMPARE(player->Index(), 1);
    QVERIFY(!player->CheckEnd(false));
    player->Stop();
}

void TestMusic::unplayableFileIsSkippedAndToldOnce() {
    WriteList({"SOUND\\MIDI\\KAPUTT.MID", "SOUND\\MIDI\\FEHLT.MID"});
    QObject owner;
    const auto player = CreateMusikPlayer(&owner);
    for (int tick = 0; tick < 6; ++tick)
        DriveMusik(*player, true);
    QVERIFY(!player->MidiPlayer->IsOpen());
    FTold.sort(); // they were tried in random order
    QCOMPARE(FTold,
             (QStringList{"Musikdatei fehlt oder ist beschädigt: " + FDir.filePath("SOUND/MIDI/FEHLT.MID"),
                          "Musikdatei fehlt oder ist beschädigt: " + FDir.filePath("SOUND/MIDI/KAPUTT.MID")}));
}

void TestMusic::drivenOnlyWithSoundAndMusic() {
    WriteList({"SOUND\\MIDI\\LANG.MID", "SOUND\\MIDI\\ZWEI.MID"});
    QObject owner;
    const auto player = CreateMusikPlayer(&owner);
    Settings().PlaySound = false;
    DriveMusik(*player, true);
    QVERIFY(!player->Playing());
    Settings().PlaySound = true;
    Settings().PlayMusik = false;
    DriveMusik(*player, true);
    QVERIFY(!player->Playing());
    Settings().PlayMusik = true;
    DriveMusik(*player, true);
    QVERIFY(player->Playing() && player->MidiPlayer->IsOpen());
    const int first = player->Index();
    DriveMusik(*player, false); // paused: silent at once
    QVERIFY(!player->Playing() && !player->MidiPlayer->IsOpen());
    DriveMusik(*player, true); // resumed: another piece from its beginning
    QVERIFY(player->Index() != first);
    QVERIFY(player->MidiPlayer->Position() < 1000);
    player->Stop();
}

QTEST_MAIN(TestMusic)
#include "tst_music.moc"
