// The real main window, offscreen, driven through its controls and its timer handlers as a person
// and the clock would drive it: whole games between every kind of player, help-me, clocks and blitz
// time on a replaceable clock source, stepping through a decided game, promotions, a new game or
// the window's end during a slide, and the levels.
// Set TESSARON_BOARD_PNG_DIR to a folder to get a picture of the window there.

#include "DialogRecorder.h"
#include "FileSizeLimit.h"
#include "FormMainTestSupport.h"
#include "FormWidgets.h"
#include "GameEndings.h"
#include "IniFile.h"
#include "Logbook.h"
#include "SettingsFile.h"
#include "UnitFormMain.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitPlayerWins.h"
#include "UnitSettings.h"
#include "UnitSound.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int GameTimeoutMs = 240000;

// The endings the window announced, named and ordered as gameendings::EndingsOf names them. Each has
// a message box of its own (a mate's only with ShowMessages on).
QStringList AnnouncedEndings(const DialogRecorder& dialogs) {
    const QStringList texts = dialogs.MessageTexts();
    auto shown = [&texts](const QString& start) {
        return std::any_of(texts.begin(), texts.end(), [&start](const QString& text) { return text.startsWith(start); });
    };
    QStringList endings;
    if (shown("Schachmatt")) endings << "mate";
    if (shown("Remis durch Patt")) endings << "stalemate";
    if (shown("Remis durch unzureichendes Material")) endings << "material";
    if (shown("Remis durch dreifache Stellungswiederholung")) endings << "repetition";
    return endings;
}

QStringList Paths(const TSoundRecorder& sounds) {
    QStringList paths;
    for (const TSoundCall& call : sounds.Calls) paths << call.Path;
    return paths;
}

} // namespace

class TestFormMain : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void startsStoppedWithSettingsApplied();
    void controlStates();
    void humanAgainstComputerByDragging();
    void computerAgainstComputerToTheEnd();
    void randomAgainstRandom();
    void helpMeMovesOnceForAHuman();
    void helpMeAgainstTheComputerDoesNotStallIt();
    void refreshWakesAnIdleEngine();
    void blitzWarningAndLossOnTime();
    void clocksFollowElapsedTime();
    void blitzLossWhenTicksAreLate();
    void steppingThroughADecidedGame();
    void repetitionAfterBackIsADrawNotAMate_data();
    void repetitionAfterBackIsADrawNotAMate();
    void stopHoldsAfterSteppingBackFromADecidedGame();
    void boardMenuLeavesNoPieceInTheHand();
    void firstAndLastOnAnEmptyListDoNothing();
    void humanPromotesToAKnight();
    void engineKeepsItsOwnPromotion();
    void computersPromoteAndPlayOn_data();
    void computersPromoteAndPlayOn();
    void newGameAsksFirst();
    void newGameDuringTheEnginesSlide();
    void windowDestroyedDuringTheEnginesSlide();
    void levels_data();
    void levels();
    void infoItemNamesTheProduct();
    void settingsWrittenOnClose();
    void failedSaveOnCloseIsReported();
    void oversizedSettingsFileIsReportedOnce();
    void damagedWindowGeometryIsFittedToTheScreen_data();
    void damagedWindowGeometryIsFittedToTheScreen();
    void windowKeepsItsSizeWhateverItShows();

private:
    void WriteIni(const QString& text);
    TFormMain& NewWindow();
    void PlayUntilDecided(TFormMain& form);
    void PlayScript(TFormMain& form, const QString& script);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TSoundRecorder> FSounds;
};

void TestFormMain::WriteIni(const QString& text) {
    WriteIniFile(FDir, text);
}

void TestFormMain::init() {
    PrepareProgramDir(FDir, "[Common]\nLanguage=German\nAnimateMoves=0\nPlaySound=1\n");
    FDialogs = std::make_unique<DialogRecorder>();
    FSounds = std::make_unique<TSoundRecorder>();
}

void TestFormMain::cleanup() {
    CloseFormMain(FForm);
    FSounds.reset();
    FDialogs.reset();
}

TFormMain& TestFormMain::NewWindow() {
    return ShowNewFormMain(FForm);
}

void TestFormMain::PlayUntilDecided(TFormMain& form) {
    form.BitBtnWeiterClick();
    QTRY_VERIFY_WITH_TIMEOUT(form.FGameOver || form.ChessBrd->HistoryFull(), GameTimeoutMs);
    QVERIFY2(form.FGameOver, "the game line filled up before the game was decided");
}

// Moves ("E2-E4") played by the humans, and "back": the Back button, then Weiter.
void TestFormMain::PlayScript(TFormMain& form, const QString& script) {
    for (const QString& step : script.split(' ', Qt::SkipEmptyParts)) {
        if (step == "back") {
            form.BitBtnZugZurueckClick();
            form.BitBtnWeiterClick();
            form.TimerAktualisierung.stop(); // the test ticks by hand
            continue;
        }
        const Square from = SquareIndex(step.left(2).toStdString());
        const Square to = SquareIndex(step.mid(3, 2).toStdString());
        QVERIFY2(form.ChessBrd->PlayMove(from, to), qPrintable(step));
    }
}

void TestFormMain::startsStoppedWithSettingsApplied() {
    WriteIni("[Common]\nLanguage=German\nSDMF=2\nShowStatistik=0\n[GameStart]\nLevel=7\nPlayer1=2\nPlayer2=1\n");
    TFormMain& form = NewWindow();
    QVERIFY(form.GameStopped);
    QVERIFY(!form.ChessBrd->isEnabled());
    QVERIFY(form.MenuItemMaster->isChecked());
    QCOMPARE(form.ChessBrd->SearchDepth(), 7); // master with SDMF 2
    QCOMPARE(form.ComboBoxSpieler1->currentIndex(), int(pkZufall));
    QCOMPARE(form.ComboBoxSpieler2->currentIndex(), int(pkComputer));
    QVERIFY(!form.PanelStatistics->isVisible());
    QCOMPARE(ActiveLanguageFile(), "German");
    QCOMPARE(form.PanelMatchTime->text(), "00:00:00");
    if (const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR"); !dir.isEmpty())
        form.grab().save(QDir(dir).filePath("main-window.png"));
}

void TestFormMain::controlStates() {
    TFormMain& form = NewWindow();
    // initial: only Weiter
    QVERIFY(form.BitBtnWeiter->isEnabled() && form.MenuItemContinue->isEnabled() && form.ToolButtonPlay->isEnabled());
    for (QPushButton* b : {form.BitBtnZugZurueck, form.BitBtnZugVor, form.BitBtnStop, form.BitBtnHilfMir,
                           form.ButtonPlayBestMove, form.ButtonEndCalc})
        QVERIFY(!b->isEnabled());
    form.SetControlState(csRunning);
    QVERIFY(form.BitBtnStop->isEnabled() && form.BitBtnHilfMir->isEnabled() && form.ToolButtonEndCalc->isEnabled());
    QVERIFY(!form.BitBtnWeiter->isEnabled() && !form.MenuItemBack->isEnabled() && !form.ToolButtonLast->isEnabled());
    form.SetControlState(csStopped);
    QVERIFY(form.BitBtnZugZurueck->isEnabled() && form.ToolButtonFirst->isEnabled() && form.MenuItemNext->isEnabled());
    QVERIFY(!form.BitBtnStop->isEnabled() && !form.MenuItemHelpMe->isEnabled());
    form.ListBoxZuege->setEnabled(false);
    form.SetControlState(csGameEnd);
    QVERIFY(form.BitBtnZugZurueck->isEnabled() && !form.BitBtnZugVor->isEnabled() && !form.BitBtnWeiter->isEnabled());
    QVERIFY(form.ListBoxZuege->isEnabled() && form.ComboBoxSpieler1->isEnabled());
}

void TestFormMain::humanAgainstComputerByDragging() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=1\nPlayer1=1\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick(); // player 2 (white) is the human: the engine waits
    QVERIFY(!form.ChessBrd->Thinking());
    QVERIFY(form.ChessBrd->ComputerPlaysBlack());
    QVERIFY(!form.ChessBrd->ComputerPlaysWhite());
    form.TimerAktualisierungTimer();
    QVERIFY(form.ChessBrd->isEnabled());
    QCOMPARE(form.LabelSpieler2Status->text(), "ist am Zug...");
    QCOMPARE(form.LabelSpieler1Status->text(), "wartet...");
    Drag(*form.ChessBrd, E2, E4);
    QCOMPARE(form.ChessBrd->PieceAt(E4), 'P');
    QTRY_VERIFY_WITH_TIMEOUT(form.ChessBrd->WhiteToMove(), GameTimeoutMs); // the engine has answered
    QCOMPARE(form.ListBoxZuege->count(), 2);
    QCOMPARE(form.ListBoxZuege->item(0)->text(), "1. E2-E4");
    const QStringList log = form.Logbook->Lines();
    QCOMPARE(log.size(), 2);
    QVERIFY(log[0].startsWith("Zug : E2-E4 Tiefe 0 Knoten 0 Punkte 0"));
    QVERIFY(log[1].startsWith("Zug : "));
    QVERIFY(!log[1].contains("Tiefe 0 ")); // the engine's figures
    QVERIFY(Paths(*FSounds).contains("SOUND\\RICHTIGZUG.WAV"));
}

void TestFormMain::computerAgainstComputerToTheEnd() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\nShowMessages=1\n[GameStart]\nLevel=1\nPlayer1=1\n"
             "Player2=1\n");
    TFormMain& form = NewWindow();
    PlayUntilDecided(form);
    const QString draw = "Spiel durch Remis beendet";
    const bool mated = form.LabelSpieler1Status->text() != draw;
    QVERIFY(!form.TimerAktualisierung.isActive());
    QVERIFY(form.GameStopped);
    QVERIFY(form.ListBoxZuege->isEnabled());
    QCOMPARE(AnnouncedEndings(*FDialogs), gameendings::EndingsOf(*form.ChessBrd));
    if (mated) {
        const int winner = form.LabelSpieler1Status->text() == "gewonnen" ? 1 : 2;
        QCOMPARE((winner == 1 ? form.LabelSpieler2Status : form.LabelSpieler1Status)->text(), "verloren");
        QCOMPARE(int(form.PartieDaten.Result()), winner == 1 ? 0 : 2);
        QCOMPARE(ReadWins().value(0).Wins, 1);
        QCOMPARE(ReadWins().value(0).Name, "Computer");
        QCOMPARE(form.Logbook->Lines().last(), "Schachmatt");
        QVERIFY(FDialogs->MessageTexts().contains("Schachmatt"));
        const QString win = Paths(*FSounds).last();
        QVERIFY(win == "SOUND\\COWIN.WAV" || win == "SOUND\\COWIN2.WAV");
    } else {
        QCOMPARE(form.LabelSpieler2Status->text(), draw);
        QCOMPARE(int(form.PartieDaten.Result()), 1);
        QCOMPARE(form.Logbook->Lines().last(), draw);
        QVERIFY(ReadWins().isEmpty());
        QVERIFY(!form.Logbook->Lines().contains("Schachmatt"));
        QVERIFY(!AnnouncedEndings(*FDialogs).contains("mate")); // the draw's explanation always shows
    }
    // Weiter after the end re-arms the clock but moves nothing
    const std::string final = form.ChessBrd->Position();
    form.BitBtnWeiterClick();
    QVERIFY(form.TimerAktualisierung.isActive());
    form.TimerAktualisierungTimer();
    QTest::qWait(300);
    QCOMPARE(form.ChessBrd->Position(), final);
    QCOMPARE(form.LabelSpieler1Status->text(), "Pause...");
}

void TestFormMain::randomAgainstRandom() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=3\nPlayer1=2\nPlayer2=2\n");
    TFormMain& form = NewWindow();
    form.TimerAktualisierung.stop();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop(); // the test ticks by hand
    QVERIFY(!form.ChessBrd->ComputerPlaysWhite() && !form.ChessBrd->ComputerPlaysBlack());
    form.TimerAktualisierungTimer();
    QCOMPARE(form.ListBoxZuege->count(), 1); // player 1 (black) waits, player 2 (white) moves
    form.TimerAktualisierungTimer();
    QCOMPARE(form.ListBoxZuege->count(), 3); // now black, then white again
    const QString white = form.ListBoxZuege->item(0)->text().mid(3);
    const QString black = form.ListBoxZuege->item(1)->text().trimmed();
    QVERIFY2(QStringList({"E2-E4", "G1-F3", "D2-D4", "G2-G3"}).contains(white), qPrintable(white));
    QVERIFY2(QStringList({"C7-C5", "G8-F6", "D7-D5"}).contains(black), qPrintable(black));
    QVERIFY(!form.ChessBrd->isEnabled()); // no human: the board stays locked
    for (int tick = 0; tick < 40 && !form.FGameOver; ++tick) form.TimerAktualisierungTimer();
    QVERIFY(form.ListBoxZuege->count() >= 60 || form.FGameOver);
}

void TestFormMain::helpMeMovesOnceForAHuman() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=1\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    QVERIFY(form.ChessBrd->PlayMove(E2, E4)); // the white human moves
    form.BitBtnHilfMirClick();                // the black human asks for help
    QVERIFY(form.ChessBrd->ComputerPlaysBlack());
    QTRY_VERIFY_WITH_TIMEOUT(form.ChessBrd->WhiteToMove(), GameTimeoutMs);
    form.TimerAktualisierungTimer();
    QVERIFY(!form.ChessBrd->ComputerPlaysBlack()); // taken back for the next move
    QVERIFY(form.ChessBrd->PlayMove(D2, D4));
    QTest::qWait(300);
    QVERIFY(!form.ChessBrd->WhiteToMove()); // black's human moves by hand again
    QCOMPARE(form.ListBoxZuege->count(), 3);
}

// With help-me for the human, the engine's own next search must not be lost when the flag is taken back.
void TestFormMain::helpMeAgainstTheComputerDoesNotStallIt() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=1\nPlayer1=1\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop(); // no refresh tick in between: the engine answers at once
    form.BitBtnHilfMirClick();       // white (the human) lets the engine move
    QTRY_VERIFY_WITH_TIMEOUT(form.ListBoxZuege->count() == 2, GameTimeoutMs); // black (the engine) answered
    QTest::qWait(300);
    QCOMPARE(form.ListBoxZuege->count(), 2); // and the engine does not go on playing for white
    QVERIFY(!form.ChessBrd->ComputerPlaysWhite());
    QVERIFY(form.ChessBrd->ComputerPlaysBlack());
    QVERIFY(form.ChessBrd->WhiteToMove());
}

// Should the engine ever be left stopped with a computer player to move in a running game, the
// next refresh tick sets it to work again.
void TestFormMain::refreshWakesAnIdleEngine() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=1\nPlayer1=1\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    QVERIFY(form.ChessBrd->PlayMove(E2, E4));
    form.ChessBrd->StopThinking(); // the engine's turn is lost
    QTest::qWait(100);
    QVERIFY(!form.ChessBrd->WhiteToMove());
    QVERIFY(!form.ChessBrd->Thinking());
    form.TimerAktualisierungTimer();
    QTRY_VERIFY_WITH_TIMEOUT(form.ChessBrd->WhiteToMove(), GameTimeoutMs); // black (the engine) answered
    QCOMPARE(form.ListBoxZuege->count(), 2);
}

void TestFormMain::blitzWarningAndLossOnTime() {
    WriteIni("[Common]\nLanguage=German\nGameModus=1\nBlitzschachZeit=30\nBlitzschachWarnung=1\nShowMessages=1\n"
             "[GameStart]\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    qint64 now = 0;
    form.GameClock.SetSource([&now] { return now; });
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    int warnedAt = 0;
    int ticks = 0;
    while (!form.FGameOver && ticks < 8000) {
        now += 250;
        form.TimerAktualisierungTimer();
        ++ticks;
        if (!warnedAt && Paths(*FSounds).contains("SOUND\\WARNING.WAV")) warnedAt = ticks;
    }
    QCOMPARE(warnedAt, 6960); // 29:00 of white's own time
    QCOMPARE(ticks, 7200);    // 30:00
    QCOMPARE(Paths(*FSounds).count("SOUND\\WARNING.WAV"), 1);
    QCOMPARE(Paths(*FSounds).last(), "SOUND\\RING.WAV");
    QCOMPARE(form.LabelSpieler2Status->text(), "verloren");
    QCOMPARE(form.LabelSpieler1Status->text(), "gewonnen");
    QCOMPARE(form.PanelSpieler2Gesamtzeit->text(), "00:30:00");
    QCOMPARE(form.PanelSpieler1Gesamtzeit->text(), "00:00:00"); // black's clock never ran
    QCOMPARE(form.PanelMatchTime->text(), "00:30:00");
    const QString loss = "Spieler 2 hat wegen Zeitüberschreitung verloren";
    QCOMPARE(FDialogs->MessageTexts().last(), loss);
    QCOMPARE(form.Logbook->Lines().last(), loss);
    QVERIFY(form.GameStopped && !form.TimerAktualisierung.isActive());
    QCOMPARE(int(form.PartieDaten.Result()), 3); // a loss on time is no result
}

// Ticks far apart, as when the event loop is starved: the clocks show the time that has passed,
// the time up to a move is the mover's, and a stopped game charges nobody.
void TestFormMain::clocksFollowElapsedTime() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    qint64 now = 1'000'000;
    form.GameClock.SetSource([&now] { return now; });
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    now += 10'000;
    form.TimerAktualisierungTimer(); // one tick for ten seconds of white's time
    QCOMPARE(form.PanelSpieler2Gesamtzeit->text(), "00:00:10");
    now += 3'500;
    QVERIFY(form.ChessBrd->PlayMove(E2, E4)); // no tick between: the 3.5 s are white's all the same
    now += 7'000;
    form.TimerAktualisierungTimer();
    QCOMPARE(form.ClockPlayer2.TotalTime, 13'500u);
    QCOMPARE(form.ClockPlayer1.TotalTime, 7'000u);
    QCOMPARE(form.PanelSpieler1Gesamtzeit->text(), "00:00:07");
    QCOMPARE(form.PanelMatchTime->text(), "00:00:20");
    now += 2'000;
    form.BitBtnStopClick(); // the two seconds up to the stop are black's
    now += 60'000;
    form.TimerAktualisierungTimer();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    now += 1'000;
    form.TimerAktualisierungTimer();
    QCOMPARE(form.ClockPlayer1.TotalTime, 10'000u);
    QCOMPARE(form.ClockPlayer2.TotalTime, 13'500u);
    QCOMPARE(form.ClockPlayer1.MoveCount, 1);
    QCOMPARE(form.PanelSpieler1ZeitProZug->text(), "00:00:10");
}

// In blitz mode the loss comes with the first tick after the time is up, however late it is, also
// for a player who used up his time with the move he made before that tick.
void TestFormMain::blitzLossWhenTicksAreLate() {
    WriteIni("[Common]\nLanguage=German\nGameModus=1\nBlitzschachZeit=1\nBlitzschachWarnung=0\n"
             "[GameStart]\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    qint64 now = 0;
    form.GameClock.SetSource([&now] { return now; });
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    now += 59'000;
    form.TimerAktualisierungTimer();
    QVERIFY(!form.FGameOver);
    now += 2'000;
    QVERIFY(form.ChessBrd->PlayMove(E2, E4)); // white's minute ran out before his move
    form.TimerAktualisierungTimer();
    QVERIFY(form.FGameOver);
    QCOMPARE(form.LabelSpieler2Status->text(), "verloren");
    QCOMPARE(form.LabelSpieler1Status->text(), "gewonnen");
    QCOMPARE(form.PanelSpieler2Gesamtzeit->text(), "00:01:01");
    QCOMPARE(Paths(*FSounds).count("SOUND\\WARNING.WAV"), 1);
    QCOMPARE(Paths(*FSounds).last(), "SOUND\\RING.WAV");
}

void TestFormMain::steppingThroughADecidedGame() {
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    for (auto [from, to] : {std::pair{F2, F3}, {E7, E5}, {G2, G4}, {D8, H4}}) QVERIFY(form.ChessBrd->PlayMove(from, to));
    QVERIFY(form.FGameOver);
    QCOMPARE(form.ListBoxZuege->count(), 4);
    form.BitBtnZugZurueckClick();
    QVERIFY(!form.FGameOver);
    QVERIFY(form.TimerAktualisierung.isActive());
    QVERIFY(form.GameStopped);
    QCOMPARE(form.ChessBrd->PieceAt(H4), ' ');
    QCOMPARE(form.ListBoxZuege->count(), 4); // the line stays for stepping forward
    form.BitBtnZugVorClick();
    QCOMPARE(form.ChessBrd->PieceAt(H4), 'q');
    form.ToolButtonFirstClick(); // the position after the first half-move
    QCOMPARE(form.ChessBrd->CurrentMove(), 1);
    QVERIFY(!form.ChessBrd->WhiteToMove());
    QCOMPARE(form.ChessBrd->PieceAt(F3), 'P');
    QCOMPARE(form.ChessBrd->PieceAt(E5), ' ');
    form.ListBoxZuege->setCurrentRow(2); // line 2: move 2, black to move
    form.ListBoxZuegeClick();
    QCOMPARE(form.ChessBrd->CurrentMove(), 2);
    QVERIFY(!form.ChessBrd->WhiteToMove());
    form.ToolButtonLastClick();
    QCOMPARE(form.ChessBrd->PieceAt(H4), 'q');
    // continuing from an earlier position plays on from there
    form.BitBtnZugZurueckClick();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    QVERIFY(form.ChessBrd->PlayMove(B8, C6));
    QCOMPARE(form.ListBoxZuege->count(), 4);
    QCOMPARE(form.ListBoxZuege->item(3)->text().trimmed(), "B8-C6");
}

// Human against human: a position that came for the third time, taken back with Back and played
// again, ends the game as a draw by repetition, never as a mate or stalemate; another move instead
// lets the game go on.
void TestFormMain::repetitionAfterBackIsADrawNotAMate_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QStringList>("endings");
    QTest::addColumn<bool>("check");
    const QString queenShuffle = "F2-F3 E7-E6 E1-F2 D8-H4 F2-E3 H4-H5 E3-F2 H5-H4 F2-E3 H4-H5 E3-F2 H5-H4 back";
    const QString knightShuffle = "G1-F3 G8-F6 F3-G1 F6-G8 G1-F3 G8-F6 F3-G1 F6-G8 back";
    QTest::newRow("the third check again") << queenShuffle << "H5-H4" << QStringList{"repetition"} << true;
    QTest::newRow("the third quiet move again") << knightShuffle << "F6-G8" << QStringList{"repetition"} << false;
    QTest::newRow("another move instead") << knightShuffle << "B8-C6" << QStringList{} << false;
}

void TestFormMain::repetitionAfterBackIsADrawNotAMate() {
    QFETCH(QString, script);
    QFETCH(QString, again);
    QFETCH(QStringList, endings);
    QFETCH(bool, check);
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\nShowMessages=1\n[GameStart]\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    PlayScript(form, script);
    QCOMPARE(AnnouncedEndings(*FDialogs), QStringList{"repetition"}); // the first time, before Back
    FDialogs->Messages.clear();
    form.TimerAktualisierungTimer();
    QVERIFY(form.ChessBrd->isEnabled());
    Drag(*form.ChessBrd, SquareIndex(again.left(2).toStdString()), SquareIndex(again.mid(3, 2).toStdString()));
    QCOMPARE(form.ListBoxZuege->count(), script.count('-'));

    QCOMPARE(AnnouncedEndings(*FDialogs), endings);
    QCOMPARE(gameendings::EndingsOf(*form.ChessBrd), endings);
    QCOMPARE(FDialogs->MessageTexts().contains("Schach"), check);
    QVERIFY(!form.Logbook->Lines().contains("Schachmatt"));
    QVERIFY(ReadWins().isEmpty()); // no win counted, before Back or after
    const QString draw = "Spiel durch Remis beendet";
    if (endings.isEmpty()) {
        QVERIFY(!form.FGameOver);
        QVERIFY(form.ChessBrd->HasLegalMove());
        return;
    }
    QVERIFY(form.FGameOver);
    QCOMPARE(form.LabelSpieler1Status->text(), draw);
    QCOMPARE(form.LabelSpieler2Status->text(), draw);
    QCOMPARE(int(form.PartieDaten.Result()), TPartieDaten::ResultDraw);
    QCOMPARE(form.Logbook->Lines().last(), draw);
    for (const char* win : {"SOUND\\SPIWIN.WAV", "SOUND\\SPIWIN2.WAV"}) QVERIFY(!Paths(*FSounds).contains(win));
}

// Weiter after Back from a decided game lets the engine think again; Stop must stop it, and its
// move must not arrive afterwards.
void TestFormMain::stopHoldsAfterSteppingBackFromADecidedGame() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=1\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    PlayScript(form, "F2-F3 E7-E5 G2-G4 D8-H4");
    QVERIFY(form.FGameOver);
    QVERIFY(form.ChessBrd->GameOver());
    form.BitBtnZugZurueckClick(); // black to move again, before the mate
    const std::string beforeMate = form.ChessBrd->Position();
    form.ComboBoxSpieler1->setCurrentIndex(pkComputer); // black
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    QVERIFY(form.ChessBrd->Thinking());
    form.BitBtnStopClick(); // no event is handled in between: the search cannot have come back yet
    QVERIFY(!form.ChessBrd->Thinking());
    QTest::qWait(500); // far longer than a search of one ply
    QCOMPARE(form.ChessBrd->Position(), beforeMate);
    QVERIFY(!form.ChessBrd->WhiteToMove());
    QVERIFY(!form.FGameOver);
}

// The board's pop-up menu takes the release of the right-click that opened it; after Escape, a
// press on an empty square and a drag must not carry the right-clicked piece along.
void TestFormMain::boardMenuLeavesNoPieceInTheHand() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nPlayer1=0\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    form.TimerAktualisierungTimer();
    TChessBrd& board = *form.ChessBrd;
    QVERIFY(board.isEnabled());
    const QPoint e2 = Centre(board, E2);
    QTest::mousePress(&board, Qt::RightButton, Qt::NoModifier, e2);
    QContextMenuEvent menuRequest(QContextMenuEvent::Mouse, e2, board.mapToGlobal(e2)); // as a press raises it
    QApplication::sendEvent(&board, &menuRequest);
    QMenu& menu = *form.PopupMenuChessBrd;
    QTRY_VERIFY(menu.isVisible());
    QTest::mouseRelease(&menu, Qt::RightButton, Qt::NoModifier, QPoint(-5, -5)); // the menu takes it
    if (menu.isVisible()) QTest::keyClick(&menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu.isVisible());
    const QImage before = board.BoardPicture();
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, E5));
    QTest::mouseMove(&board, Centre(board, E5) + QPoint(8, 8));
    QTest::mouseMove(&board, Centre(board, E4));
    QCOMPARE(board.BoardPicture(), before); // nothing floats
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, E4));
    QCOMPARE(board.PieceAt(E2), 'P');
    QVERIFY(board.WhiteToMove());
    QCOMPARE(form.ListBoxZuege->count(), 0);
}

void TestFormMain::firstAndLastOnAnEmptyListDoNothing() {
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    QVERIFY(!form.GameStopped);
    form.ToolButtonFirstClick();
    form.ToolButtonLastClick();
    QVERIFY(!form.GameStopped);
}

void TestFormMain::humanPromotesToAKnight() {
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    int asked = 0;
    form.AskPromotionPiece = [&asked] {
        ++asked;
        return 2; // the knight
    };
    std::string placement(64, ' ');
    placement[G7 - 1] = 'P';
    placement[H5 - 1] = 'p'; // enough material left for the game to go on
    placement[A8 - 1] = 'k';
    placement[E1 - 1] = 'K';
    form.ChessBrd->SetPosition(placement);
    QVERIFY(form.ChessBrd->PlayMove(G7, G8));
    QCOMPARE(asked, 1);
    QCOMPARE(form.ChessBrd->PieceAt(G8), 'N');
    QVERIFY(!form.GameStopped); // the game goes on after the dialog
    QVERIFY(form.TimerAktualisierung.isActive());
}

// The engine's underpromotion is not turned into a queen by the window (and no one is asked).
void TestFormMain::engineKeepsItsOwnPromotion() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=2\nPlayer1=0\nPlayer2=1\n");
    TFormMain& form = NewWindow();
    int asked = 0;
    form.AskPromotionPiece = [&asked] { return ++asked, 5; };
    std::string placement(64, ' ');
    for (auto [sq, piece] : {std::pair{F7, 'P'}, {A1, 'K'}, {H7, 'k'}, {G6, 'p'}, {H6, 'p'}, {G7, 'p'}, {G8, 'n'},
                             {H8, 'b'}})
        placement[static_cast<size_t>(sq - 1)] = piece;
    form.ChessBrd->SetPosition(placement);
    form.ChessBrd->SetCastlingAllowed(0);
    form.FFirstMovePending = false;
    form.BitBtnWeiterClick();
    QTRY_VERIFY_WITH_TIMEOUT(form.FGameOver, GameTimeoutMs);
    QCOMPARE(form.ChessBrd->PieceAt(F8), 'N');
    QCOMPARE(asked, 0);
    QCOMPARE(form.LabelSpieler2Status->text(), "gewonnen");
}

void TestFormMain::computersPromoteAndPlayOn_data() {
    QTest::addColumn<QString>("placement");
    QTest::addColumn<bool>("whiteFirst");
    const QString empty(8, ' ');
    // The first promotion gives check: a reply searched with the pawn still on the last rank would be
    // the other pawn's promotion, which the check forbids.
    QTest::newRow("white first") << "       kP       " + empty + empty + empty + empty + "       pK       "
                                 << true;
    QTest::newRow("black first") << "k              P" + empty + empty + empty + empty + "p              K"
                                 << false;
}

// Computer against computer at the lowest level from a position where a promotion comes at once:
// the window pauses the game for each promotion and goes on, and the game runs to its end.
void TestFormMain::computersPromoteAndPlayOn() {
    QFETCH(QString, placement);
    QFETCH(bool, whiteFirst);
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\n[GameStart]\nLevel=1\nPlayer1=1\nPlayer2=1\n");
    TFormMain& form = NewWindow();
    QCOMPARE(placement.size(), 64);
    form.ChessBrd->SetPosition(placement.toStdString());
    form.ChessBrd->SetWhiteToMove(whiteFirst);
    form.ChessBrd->SetCastlingAllowed(0);
    form.FFirstMovePending = false;
    int promotions = 0;
    const TPromotionEvent promote = form.ChessBrd->OnPromotion;
    form.ChessBrd->OnPromotion = [&](TChessRules& sender, Square a, Square b, char& piece) {
        ++promotions;
        promote(sender, a, b, piece);
    };
    PlayUntilDecided(form);
    QVERIFY(promotions >= 1);
    QVERIFY(form.ListBoxZuege->count() >= 2);
}

void TestFormMain::newGameAsksFirst() {
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick();
    form.TimerAktualisierung.stop();
    QVERIFY(form.ChessBrd->PlayMove(E2, E4));
    FDialogs->MessageAnswers << mrNo;
    form.ButtonNeuClick();
    QCOMPARE(FDialogs->Messages.last().Text, "Dieses Spiel beenden und neues Spiel beginnen?");
    QCOMPARE(FDialogs->Messages.last().Buttons, TMsgDlgButtons(mbYes | mbNo));
    QVERIFY(form.GameStopped);
    QCOMPARE(form.ListBoxZuege->count(), 1); // "No" keeps the game
    FDialogs->MessageAnswers << mrYes;
    form.ButtonNeuClick();
    QCOMPARE(form.ListBoxZuege->count(), 0);
    QVERIFY(!form.GameStopped);
    QCOMPARE(form.ChessBrd->Position(), std::string(StartPosition));
    QCOMPARE(form.PartieDaten.Player1Name(), "Spieler 1");
    QVERIFY(form.Logbook->Lines().isEmpty());
}

// Yes to a new game while the engine's piece slides: the old move is dropped and the new game is
// played from its start, with its first move from the opening table.
void TestFormMain::newGameDuringTheEnginesSlide() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=1\nAnimationDelay=1\n[GameStart]\nLevel=2\nPlayer1=1\n"
             "Player2=1\n");
    TFormMain& form = NewWindow();
    form.BitBtnWeiterClick(); // white's table move slides, then the engine answers
    bool asked = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (asked || !form.ChessBrd->Sliding() || form.ListBoxZuege->count() < 2) return;
        asked = true;
        FDialogs->MessageAnswers << mrYes;
        form.ButtonNeuClick();
    });
    watch.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(asked, GameTimeoutMs);
    watch.stop();
    QTRY_VERIFY_WITH_TIMEOUT(form.ListBoxZuege->count() >= 4, GameTimeoutMs);
    const QString first = form.ListBoxZuege->item(0)->text().mid(3);
    QVERIFY2(QStringList({"E2-E4", "G1-F3", "D2-D4", "G2-G3"}).contains(first), qPrintable(first));
    QVERIFY(!form.GameStopped);
    form.BitBtnStopClick();
}

// The window goes away while the engine's piece slides: nothing of it is touched afterwards.
void TestFormMain::windowDestroyedDuringTheEnginesSlide() {
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=1\nAnimationDelay=1\n[GameStart]\nLevel=1\nPlayer1=1\n"
             "Player2=1\n");
    NewWindow();
    FForm->BitBtnWeiterClick();
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        if (FForm && FForm->ChessBrd->Sliding() && FForm->ListBoxZuege->count() >= 1) {
            FForm.reset();
            FormMain = nullptr;
        }
    });
    watch.start(1);
    QTRY_VERIFY_WITH_TIMEOUT(!FForm, GameTimeoutMs);
    QTest::qWait(50);
}

void TestFormMain::levels_data() {
    QTest::addColumn<int>("sdmf");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("checked");
    QTest::addColumn<int>("depth");
    QTest::newRow("master SDMF 3 searches 8") << 3 << 5 << 5 << 8;
    QTest::newRow("stored 8 comes back as master") << 3 << 8 << 5 << 8;
    QTest::newRow("depth 9 comes back as normal") << 3 << 9 << 3 << 3;
    QTest::newRow("beginner") << 0 << 1 << 1 << 1;
    QTest::newRow("0 is normal") << 0 << 0 << 3 << 3;
}

void TestFormMain::levels() {
    QFETCH(int, sdmf);
    QFETCH(int, level);
    QFETCH(int, checked);
    QFETCH(int, depth);
    WriteIni(QString("[Common]\nLanguage=German\nSDMF=%1\n").arg(sdmf));
    TFormMain& form = NewWindow();
    form.SetLevel(level);
    QCOMPARE(form.LevelNumber(), checked);
    QCOMPARE(form.ChessBrd->SearchDepth(), depth);
}

void TestFormMain::infoItemNamesTheProduct() {
    TFormMain& form = NewWindow();
    QVERIFY(form.MenuItemInfo->text().endsWith("TESSARON"));
}

void TestFormMain::settingsWrittenOnClose() {
    WriteIni("[Common]\nLanguage=German\n[GameStart]\nPlayer1=2\n");
    TFormMain& form = NewWindow();
    form.SetLevel(4);
    form.ComboBoxSpieler2->setCurrentIndex(pkComputer);
    form.close();
    TIniFile ini;
    QVERIFY(ini.Load(FDir.filePath("tessaron.ini")));
    QCOMPARE(ini.Value("GameStart", "Level"), "4");
    QCOMPARE(ini.Value("GameStart", "Player1"), "2");
    QCOMPARE(ini.Value("GameStart", "Player2"), "1");
    QCOMPARE(ini.Value("Common", "Language"), "German");
    QVERIFY(ini.HasKey("BoardSettings", "BorderWidth"));
}

void TestFormMain::failedSaveOnCloseIsReported() {
    TFormMain& form = NewWindow();
    form.SetLevel(4);
    const QString name = FDir.filePath("tessaron.ini");
    QFile file(name);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    {
        const FileSizeLimit diskFull(before.size());
        form.close();
    }
    QCOMPARE(FDialogs->MessageTexts().filter(name).size(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestFormMain::oversizedSettingsFileIsReportedOnce() {
    // A file refused stays refused for the whole run, so it gets a folder of its own.
    const QString dir = FDir.filePath("oversized");
    QVERIFY(QDir().mkpath(dir));
    QVERIFY(QDir().rename(FDir.filePath("Lang"), dir + "/Lang"));
    SetProgramDir(dir);
    QFile file(SettingsFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Common]\nLanguage=German\nShowStatistik=0\n");
    QVERIFY(file.resize(MaxSettingsFileSize + 1));
    file.close();

    TFormMain& form = NewWindow();
    QVERIFY(form.PanelStatistics->isVisible()); // the default, not the file's value
    form.hide();
    form.show();
    QCOMPARE(FDialogs->MessageTexts().filter(SettingsFileName()).size(), 1);
    form.close(); // and closing, which leaves the file alone, does not report a failed save
    QCOMPARE(FDialogs->MessageTexts().filter(SettingsFileName()).size(), 1);
    QCOMPARE(QFileInfo(SettingsFileName()).size(), MaxSettingsFileSize + 1);
}

void TestFormMain::damagedWindowGeometryIsFittedToTheScreen_data() {
    QTest::addColumn<QString>("section");
    QTest::newRow("huge") << "Left=2147483647\nTop=2147483647\nWidth=2147483647\nHeight=2147483647\n";
    QTest::newRow("negative") << "Left=-2147483648\nTop=-90000\nWidth=-2147483648\nHeight=-1\n";
    QTest::newRow("off screen, size kept") << "Left=-3000\nTop=5000\nWidth=500\nHeight=400\n";
}

// Whatever the section says, the window opens whole on the screen at a usable size, the board stays
// within its own bounds, and what is written back is the window as it was shown.
void TestFormMain::damagedWindowGeometryIsFittedToTheScreen() {
    QFETCH(QString, section);
    WriteIni("[Common]\nLanguage=German\nSaveOptions=1\nSaveMainWin=1\n[MainWindow]\n" + section);
    TFormMain& form = NewWindow();
    const QRect screen = form.screen()->availableGeometry();
    const QRect frame = form.frameGeometry();
    const QString shown =
        QString("%1,%2 %3x%4").arg(frame.x()).arg(frame.y()).arg(frame.width()).arg(frame.height());
    // what the window's contents need comes first; only that may stick out of a small screen
    const QSize needed = form.minimumSizeHint() + (frame.size() - form.size());
    if (needed.width() <= screen.width())
        QVERIFY2(frame.right() <= screen.right(), qPrintable(shown));
    else
        QCOMPARE(frame.left(), screen.left());
    if (needed.height() <= screen.height())
        QVERIFY2(frame.bottom() <= screen.bottom(), qPrintable(shown));
    else
        QCOMPARE(frame.top(), screen.top());
    QVERIFY2(frame.left() >= screen.left() && frame.top() >= screen.top(), qPrintable(shown));
    QVERIFY(form.width() >= std::min(480, screen.width()));
    QVERIFY(form.height() >= std::min(360, screen.height()));
    const int largestBoard = 8 * TChessBrd::MaxSquareSize + 2 * TChessBrd::MaxBorderSize;
    QVERIFY(form.ChessBrd->width() <= largestBoard);
    QVERIFY(form.ChessBrd->BackingImage().width() <= largestBoard * form.devicePixelRatio());
    const QRect placed(form.pos(), form.size());
    form.close();
    TIniFile ini;
    QVERIFY(ini.Load(FDir.filePath("tessaron.ini")));
    QCOMPARE(QRect(ini.Value("MainWindow", "Left").toInt(), ini.Value("MainWindow", "Top").toInt(),
                   ini.Value("MainWindow", "Width").toInt(), ini.Value("MainWindow", "Height").toInt()),
             placed);
    FForm.reset();
    TFormMain& again = NewWindow(); // and it opens there again, without creeping
    QCOMPARE(QRect(again.pos(), again.size()), placed);
}

// Long texts and panels hidden and shown again never make the window larger than the user left it.
void TestFormMain::windowKeepsItsSizeWhateverItShows() {
    WriteIni("[Common]\nLanguage=German\nBrdAutoResize=1\n");
    TFormMain& form = NewWindow();
    const QSize size = form.size();
    const QString longLine = QString("e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 ").repeated(12);
    form.LabelBestLineShow->setText(longLine);
    form.LabelSpieler1Status->setText(longLine);
    form.LabelSpieler2->setText(longLine);
    form.LabelNodesShow->setText(QString::number(std::numeric_limits<qint64>::max()));
    QTest::qWait(50);
    QCOMPARE(form.size(), size);
    QCOMPARE(form.LabelBestLineShow->text(), longLine); // the whole text is kept, only its display is cut
    auto* bestLine = qobject_cast<TElidedLabel*>(form.LabelBestLineShow);
    QVERIFY(bestLine && bestLine->IsElided());
    form.LabelBestLineShow->setText("e2e4");
    QVERIFY(!bestLine->IsElided());
    for (QAction* panel : {form.MenuItemShowStatistik, form.MenuItemShowButtons}) {
        panel->trigger();
        QTest::qWait(50);
        QCOMPARE(form.size(), size);
        panel->trigger();
        QTest::qWait(50);
        QCOMPARE(form.size(), size);
    }
    QVERIFY(form.PanelStatistics->isVisible());
    QVERIFY(form.PanelButtons->isVisible());
    QVERIFY(form.ChessBrd->width() <= form.PanelChessBoard->width());
    QVERIFY(form.ChessBrd->height() <= form.PanelChessBoard->height());
}

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
