// The main window's sounds and spoken moves, heard through the sound recorder: the order and timing
// of a spoken move with its wait window, the extra sounds of captures and castling, machines that
// are never spoken to, the blitz sounds that play whatever the sound switch says, the check of the
// speech folder at start, and the logbook line that says why the program is silent.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "Logbook.h"
#include "MidiFileWriter.h"
#include "MidiPlay.h"
#include "UnitSound.h"
#include "WaveFileWriter.h"

#include <QApplication>
#include <algorithm>
#include <optional>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

namespace {

constexpr int SpeechPauseMs = 1000;
constexpr int EngineTimeoutMs = 60000;

QStringList Paths(const TSoundRecorder& sounds) {
    QStringList paths;
    for (const TSoundCall& call : sounds.Calls)
        paths << call.Path;
    return paths;
}

bool AnySpoken(const TSoundRecorder& sounds) {
    return std::any_of(sounds.Calls.begin(), sounds.Calls.end(),
                       [](const TSoundCall& call) { return call.Path.contains("SPRACHE"); });
}

QLabel* VisibleMessageWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "MessageWindow" && widget->isVisible())
            return qobject_cast<QLabel*>(widget);
    return nullptr;
}

} // namespace

class TestFormMainSound : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void spokenMoveFollowsItsClickAfterASecond();
    void capturesAndCastlingAddTheirSounds();
    void machinesAreNeverSpokenTo();
    void blitzSoundsPlayWithSoundOff();
    void missingSquareAtStartSwitchesSpeechOff();
    void missingSoundIsToldOnceInTheLogbook();
    void musicPlaysOnlyWhileTheGameRuns();

private:
    void WriteSpeechFolder(const QStringList& except);
    // The window on these settings, with a speech folder lacking the words named, if any.
    TFormMain& NewWindow(const QString& ini, std::optional<QStringList> speechExcept = std::nullopt);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
};

void TestFormMainSound::init() {
    FDialogs = std::make_unique<DialogRecorder>();
}

void TestFormMainSound::cleanup() {
    CloseFormMain(FForm);
    FDialogs.reset();
}

void TestFormMainSound::WriteSpeechFolder(const QStringList& except) {
    QVERIFY(QDir().mkpath(FDir.filePath("SOUND/SPRACHE")));
    QStringList words = {"NACH"};
    for (int square = A8; square <= H1; ++square)
        words << QString::fromStdString(SquareName(square));
    for (const QString& word : words)
        if (!except.contains(word))
            QVERIFY(WriteConstantWave(FDir.filePath("SOUND/SPRACHE/" + word + ".WAV"), 22'050, 100, 1000));
}

TFormMain& TestFormMainSound::NewWindow(const QString& ini, std::optional<QStringList> speechExcept) {
    PrepareProgramDir(FDir, "[Common]\nLanguage=German\nAnimateMoves=0\n" + ini);
    if (speechExcept) WriteSpeechFolder(*speechExcept);
    return ShowNewFormMain(FForm);
}

void TestFormMainSound::spokenMoveFollowsItsClickAfterASecond() {
    TFormMain& form =
        NewWindow("PlaySound=1\nPlaySp=1\nPlaySpMoves=1\n[GameStart]\nPlayer1=0\nPlayer2=0\n", QStringList{});
    QVERIFY(FDialogs->Messages.isEmpty());
    form.BitBtnWeiterClick();
    form.TimerAktualisierungTimer(); // the tick lets the humans at the board
    QVERIFY(form.ChessBrd->isEnabled());
    TSoundRecorder sounds;
    QString waitText;
    bool boardEnabledWhileSpeaking = true;
    bool stoppedWhileSpeaking = false;
    QTimer::singleShot(SpeechPauseMs / 2, &form, [&] {
        if (const QLabel* wait = VisibleMessageWindow()) waitText = wait->text();
        boardEnabledWhileSpeaking = form.ChessBrd->isEnabled();
        stoppedWhileSpeaking = form.GameStopped && !form.TimerAktualisierung.isActive();
    });
    Drag(*form.ChessBrd, E2, E4);
    QCOMPARE(sounds.Calls, (QList<TSoundCall>{{"SOUND\\RICHTIGZUG.WAV", true},
                                              {"SOUND\\SPRACHE\\E2.WAV", false},
                                              {"SOUND\\SPRACHE\\NACH.WAV", false},
                                              {"SOUND\\SPRACHE\\E4.WAV", false}}));
    QVERIFY(sounds.Calls[1].AtMs - sounds.Calls[0].AtMs >= SpeechPauseMs);
    QCOMPARE(waitText, " Bitte warten, ... E2-E4 ");
    QVERIFY(!boardEnabledWhileSpeaking);
    QVERIFY(stoppedWhileSpeaking);
    QVERIFY(!VisibleMessageWindow());
    QVERIFY(form.ChessBrd->isEnabled());
    QVERIFY(!form.GameStopped && form.TimerAktualisierung.isActive());
}

void TestFormMainSound::capturesAndCastlingAddTheirSounds() {
    TFormMain& form = NewWindow("PlaySound=1\n[GameStart]\nPlayer1=0\nPlayer2=0\n");
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    TSoundRecorder sounds;
    for (const char* move :
         {"E2-E4", "D7-D5", "E4-D5", "G8-F6", "G1-F3", "F6-D5", "F1-E2", "B8-C6", "E1-G1"}) {
        const std::string text(move);
        QVERIFY2(form.ChessBrd->PlayMove(SquareIndex(text.substr(0, 2)), SquareIndex(text.substr(3, 2))),
                 move);
    }
    const QStringList paths = Paths(sounds);
    QCOMPARE(paths.count("SOUND\\RICHTIGZUG.WAV"), 9);
    const auto isCapture = [](const QString& p) {
        return p == "SOUND\\FEHLER.WAV" || p == "SOUND\\FEHLER2.WAV";
    };
    QCOMPARE(std::count_if(paths.begin(), paths.end(), isCapture), 2);
    QCOMPARE(paths.count("SOUND\\ROCHADE.WAV"), 1);
    QCOMPARE(paths.size(), 12);
    QVERIFY(!AnySpoken(sounds));
}

void TestFormMainSound::machinesAreNeverSpokenTo() {
    TFormMain& form = NewWindow(
        "PlaySound=1\nPlaySp=1\nPlaySpMoves=1\n[GameStart]\nLevel=1\nPlayer1=1\nPlayer2=2\n", QStringList{});
    TSoundRecorder sounds;
    form.BitBtnWeiterClick();
    QTRY_VERIFY_WITH_TIMEOUT(form.ListBoxZuege->count() >= 4 || form.FGameOver, EngineTimeoutMs);
    form.BitBtnStopClick();
    QVERIFY(Paths(sounds).count("SOUND\\RICHTIGZUG.WAV") >= 4);
    QVERIFY(!AnySpoken(sounds));
}

void TestFormMainSound::blitzSoundsPlayWithSoundOff() {
    TFormMain& form = NewWindow("PlaySound=0\nGameModus=1\nBlitzschachZeit=2\nBlitzschachWarnung=1\n"
                                "[GameStart]\nPlayer1=0\nPlayer2=0\n");
    qint64 now = 0;
    form.GameClock.SetSource([&now] { return now; });
    TSoundRecorder sounds;
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    for (int tick = 0; tick < 1000 && !form.FGameOver; ++tick) {
        now += 250;
        form.TimerAktualisierungTimer();
    }
    QVERIFY(form.FGameOver);
    QCOMPARE(Paths(sounds), (QStringList{"SOUND\\WARNING.WAV", "SOUND\\RING.WAV"}));
}

void TestFormMainSound::missingSquareAtStartSwitchesSpeechOff() {
    FDialogs->MessageAnswers = {mrAbort};
    TFormMain& form = NewWindow("PlaySound=1\nPlaySp=1\nPlaySpMoves=1\n", QStringList{"H1"});
    QCOMPARE(FDialogs->MessageTexts(), (QStringList{"Datei SOUND\\SPRACHE\\H1.WAV nicht vorhanden.",
                                                    "Sprachausgabe wird deaktiviert."}));
    QCOMPARE(FDialogs->Messages[0].Owner, static_cast<QWidget*>(&form));
    QVERIFY(!Settings().PlaySp);
    QVERIFY(Settings().PlaySound);
}

// No recorder here: the sounds go to the dummy device, and none of them exists.
void TestFormMainSound::missingSoundIsToldOnceInTheLogbook() {
    TFormMain& form = NewWindow("PlaySound=1\n[GameStart]\nPlayer1=0\nPlayer2=0\n");
    form.BitBtnWeiterClick();
    QVERIFY(form.ChessBrd->PlayMove(E2, E4));
    QVERIFY(form.ChessBrd->PlayMove(E7, E5));
    const QString told = "Tondatei fehlt oder ist beschädigt: " + FDir.filePath("SOUND/RICHTIGZUG.WAV");
    QCOMPARE(form.Logbook->Lines().count(told), 1);
}

void TestFormMainSound::musicPlaysOnlyWhileTheGameRuns() {
    PrepareProgramDir(FDir, {});
    QVERIFY(QDir().mkpath(FDir.filePath("SOUND/MIDI")));
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/EINS.MID"), MidiBytes(60, 480)));
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/ZWEI.MID"), MidiBytes(60, 480)));
    QVERIFY(WriteBytes(FDir.filePath("SOUND/MIDI/MIDI.INI"),
                       "[MIDIFiles]\nSOUND\\MIDI\\EINS.MID=\nSOUND\\MIDI\\ZWEI.MID=\n"));
    WriteIniFile(FDir, "[Common]\nLanguage=German\nAnimateMoves=0\nPlaySound=1\nPlayMusik=1\n"
                       "[GameStart]\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = ShowNewFormMain(FForm);
    QCOMPARE(form.MusikPlayer->Count(), 2);
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop(); // the test ticks by hand
    form.TimerAktualisierungTimer();
    QVERIFY(form.MusikPlayer->Playing() && form.MusikPlayer->MidiPlayer->IsOpen());
    const int first = form.MusikPlayer->Index();
    form.BitBtnStopClick();
    form.TimerAktualisierungTimer();
    QVERIFY(!form.MusikPlayer->Playing() && !form.MusikPlayer->MidiPlayer->IsOpen());
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    form.TimerAktualisierungTimer();
    QVERIFY(form.MusikPlayer->Playing());
    QVERIFY(form.MusikPlayer->Index() != first);
    // Fool's mate: the game is over, no tick follows, and the music ends with it.
    for (const char* move : {"F2-F3", "E7-E5", "G2-G4", "D8-H4"}) {
        const std::string text(move);
        QVERIFY2(form.ChessBrd->PlayMove(SquareIndex(text.substr(0, 2)), SquareIndex(text.substr(3, 2))),
                 move);
    }
    QVERIFY(form.FGameOver);
    QVERIFY(!form.MusikPlayer->Playing() && !form.MusikPlayer->MidiPlayer->IsOpen());
}

QTEST_MAIN(TestFormMainSound)
#include "tst_formmain_sound.moc"
