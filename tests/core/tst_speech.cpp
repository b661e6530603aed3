// Spoken moves and the check of the speech folder, with the sound recorder standing in for the
// sound card and the dialog recorder for the person answering the messages.

#include "DialogRecorder.h"
#include "UnitFunctions.h"
#include "UnitSettings.h"
#include "UnitSound.h"
#include "UnitSpeech.h"
#include "WaveFileWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int PauseMs = 1000;
// The recorder notes times on a shared, busy machine: a word may come late, never early.
constexpr int LateMarginMs = 900;

QStringList Paths(const TSoundRecorder& sounds) {
    QStringList paths;
    for (const TSoundCall& call : sounds.Calls)
        paths << call.Path;
    return paths;
}

} // namespace

class TestSpeech : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void squareFilesFollowTheSpeechFolder();
    void moveIsSpokenAfterASecondInOrder();
    void squareOutsideTheBoardIsNotSpoken();
    void completeFolderPasses();
    void missingFilesAreReportedThenSpeechIsOff();
    void abortStopsTheSeriesAtOnce();
    void missingConnectingWord();
    void welcomeOnlyInGermanWithSoundAndSpeech_data();
    void welcomeOnlyInGermanWithSoundAndSpeech();

private:
    void WriteWords(const QStringList& except);
    QTemporaryDir FDir;
};

void TestSpeech::init() {
    QVERIFY(FDir.isValid());
    QDir(FDir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(FDir.filePath("SOUND/SPRACHE")));
    SetProgramDir(FDir.path());
    Settings() = TSettings{};
    Settings().SpDir = "SOUND\\SPRACHE\\";
    Settings().PlaySound = true;
    Settings().PlaySp = true;
    Settings().PlaySpMoves = true;
}

void TestSpeech::cleanup() {
    SetProgramDir({});
}

// Every word of the folder but those named; lower-case names, as a folder copied from elsewhere may have.
void TestSpeech::WriteWords(const QStringList& except) {
    QStringList words = {"nach", "welcome"};
    for (int square = A8; square <= H1; ++square)
        words << QString::fromStdString(SquareName(square)).toLower();
    for (const QString& word : words)
        if (!except.contains(word.toUpper()))
            QVERIFY(WriteConstantWave(FDir.filePath("SOUND/SPRACHE/" + word + ".wav"), 22'050, 100, 1000));
}

void TestSpeech::squareFilesFollowTheSpeechFolder() {
    QCOMPARE(SquareSoundFile(A8), "SOUND\\SPRACHE\\A8.WAV");
    QCOMPARE(SquareSoundFile(E2), "SOUND\\SPRACHE\\E2.WAV");
    QCOMPARE(SquareSoundFile(H1), "SOUND\\SPRACHE\\H1.WAV");
    QCOMPARE(SquareSoundFile(None), "");
    QCOMPARE(SquareSoundFile(65), "");
    Settings().SpDir = "/opt/speech/";
    QCOMPARE(SquareSoundFile(D5), "/opt/speech/D5.WAV");
    QCOMPARE(ConnectingWordFile(), "/opt/speech/NACH.WAV");
}

void TestSpeech::moveIsSpokenAfterASecondInOrder() {
    TSoundRecorder sounds;
    SpeakMove(E2, E4);
    QCOMPARE(sounds.Calls, (QList<TSoundCall>{{"SOUND\\SPRACHE\\E2.WAV", false},
                                              {"SOUND\\SPRACHE\\NACH.WAV", false},
                                              {"SOUND\\SPRACHE\\E4.WAV", false}}));
    QVERIFY2(sounds.Calls[0].AtMs >= PauseMs, qPrintable(QString::number(sounds.Calls[0].AtMs)));
    QVERIFY2(sounds.Calls[0].AtMs < PauseMs + LateMarginMs,
             qPrintable(QString::number(sounds.Calls[0].AtMs)));
}

void TestSpeech::squareOutsideTheBoardIsNotSpoken() {
    TSoundRecorder sounds;
    SpeakMove(None, E4);
    QCOMPARE(Paths(sounds), (QStringList{"SOUND\\SPRACHE\\NACH.WAV", "SOUND\\SPRACHE\\E4.WAV"}));
}

void TestSpeech::completeFolderPasses() {
    WriteWords({});
    DialogRecorder dialogs;
    QVERIFY(CheckSpeechFiles(nullptr));
    QCOMPARE(dialogs.Messages.size(), 0);
    QVERIFY(Settings().PlaySp);
}

void TestSpeech::missingFilesAreReportedThenSpeechIsOff() {
    WriteWords({"C7", "H1"});
    DialogRecorder dialogs;
    QVERIFY(!CheckSpeechFiles(nullptr));
    QCOMPARE(dialogs.MessageTexts(), (QStringList{"Datei SOUND\\SPRACHE\\C7.WAV nicht vorhanden.",
                                                  "Datei SOUND\\SPRACHE\\H1.WAV nicht vorhanden.",
                                                  "Sprachausgabe wird deaktiviert."}));
    QCOMPARE(dialogs.Messages[0].Kind, TMsgDlgType::mtError);
    QCOMPARE(dialogs.Messages[0].Buttons, TMsgDlgButtons(mbOK | mbAbort));
    QCOMPARE(dialogs.Messages[2].Kind, TMsgDlgType::mtCustom);
    QVERIFY(!Settings().PlaySp);
    QVERIFY(Settings().PlaySpMoves); // only speech as a whole is switched off
}

void TestSpeech::abortStopsTheSeriesAtOnce() {
    WriteWords({"A8", "B8", "NACH"});
    DialogRecorder dialogs;
    dialogs.MessageAnswers = {mrAbort};
    QVERIFY(!CheckSpeechFiles(nullptr));
    QCOMPARE(dialogs.MessageTexts(), (QStringList{"Datei SOUND\\SPRACHE\\A8.WAV nicht vorhanden.",
                                                  "Sprachausgabe wird deaktiviert."}));
    QVERIFY(!Settings().PlaySp);
}

void TestSpeech::missingConnectingWord() {
    WriteWords({"NACH"});
    DialogRecorder dialogs;
    QVERIFY(!CheckSpeechFiles(nullptr));
    QCOMPARE(dialogs.MessageTexts(), (QStringList{"Datei SOUND\\SPRACHE\\NACH.WAV nicht vorhanden.",
                                                  "Sprachausgabe wird deaktiviert."}));
}

void TestSpeech::welcomeOnlyInGermanWithSoundAndSpeech_data() {
    QTest::addColumn<QString>("language");
    QTest::addColumn<bool>("sound");
    QTest::addColumn<bool>("speech");
    QTest::addColumn<bool>("file");
    QTest::addColumn<bool>("played");
    QTest::newRow("German") << "German" << true << true << true << true;
    QTest::newRow("English") << "English" << true << true << true << false;
    QTest::newRow("german in lower case") << "german" << true << true << true << false;
    QTest::newRow("sound off") << "German" << false << true << true << false;
    QTest::newRow("speech off") << "German" << true << false << true << false;
    QTest::newRow("no greeting file") << "German" << true << true << false << false;
}

void TestSpeech::welcomeOnlyInGermanWithSoundAndSpeech() {
    QFETCH(QString, language);
    QFETCH(bool, sound);
    QFETCH(bool, speech);
    QFETCH(bool, file);
    QFETCH(bool, played);
    WriteWords(file ? QStringList{} : QStringList{"WELCOME"});
    Settings().Language = language;
    Settings().PlaySound = sound;
    Settings().PlaySp = speech;
    TSoundRecorder sounds;
    PlayWelcome();
    const QList<TSoundCall> greeting = {{"SOUND\\SPRACHE\\WELCOME.WAV", true}};
    QCOMPARE(sounds.Calls, played ? greeting : QList<TSoundCall>());
}

QTEST_MAIN(TestSpeech)
#include "tst_speech.moc"
