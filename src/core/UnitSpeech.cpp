#include "UnitSpeech.h"

#include "UnitDialogFunctions.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"
#include "UnitSound.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

namespace {

// The move's own effect sounds end before the first word.
constexpr int PauseBeforeWordsMs = 1000;
constexpr int WaitStepMs = 10;

void WaitProcessingEvents(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, WaitStepMs);
        QThread::msleep(WaitStepMs);
    }
}

bool SpeechFileExists(const QString& file) {
    return QFileInfo::exists(ResolvePath(file));
}

// One message about a missing file; false when the user wants to hear no more of them.
bool ReportMissing(const QString& file, QWidget* owner) {
    const QString text = LoadLangString(5502, "Datei %1 nicht vorhanden.").arg(file);
    return ShowCenteredMessage(text, TMsgDlgType::mtError, mbOK | mbAbort, owner) != mrAbort;
}

} // namespace

QString SquareSoundFile(int square) {
    if (square < A8 || square > H1) return {};
    return Settings().SpDir + QString::fromStdString(SquareName(square)) + ".WAV";
}

QString ConnectingWordFile() {
    return Settings().SpDir + "NACH.WAV";
}
QString WelcomeFile() {
    return Settings().SpDir + "WELCOME.WAV";
}

void SpeakMove(Square from, Square to) {
    WaitProcessingEvents(PauseBeforeWordsMs);
    for (const QString& word : {SquareSoundFile(from), ConnectingWordFile(), SquareSoundFile(to)})
        if (!word.isEmpty()) PlayWave(word, false);
    QCoreApplication::processEvents();
}

void PlayWelcome() {
    const TSettings& s = Settings();
    if (s.PlaySound && s.PlaySp && s.Language == "German" && SpeechFileExists(WelcomeFile()))
        PlayWave(WelcomeFile(), true);
}

bool CheckSpeechFiles(QWidget* owner) {
    bool missing = false;
    bool goOn = true;
    for (int square = A8; square <= H1 && goOn; ++square) {
        const QString file = SquareSoundFile(square);
        if (SpeechFileExists(file)) continue;
        missing = true;
        goOn = ReportMissing(file, owner);
    }
    if (goOn && !SpeechFileExists(ConnectingWordFile())) {
        missing = true;
        ReportMissing(ConnectingWordFile(), owner);
    }
    if (missing) {
        Settings().PlaySp = false;
        ShowInfoMessage(LoadLangString(5503, "Sprachausgabe wird deaktiviert."), owner);
    }
    return !missing;
}
