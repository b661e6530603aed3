// The real main window, offscreen, driven through its controls and its timer handlers as a person
// and the clock would drive it: whole games between every kind of player, help-me, clocks and blitz
// time on a replaceable clock source, stepping through a decided game, promotions, a new game or
// the window's end during a slide, and the levels.
// Set TESSARON_BOARD_PNG_DIR to a folder to get a picture of the window there.

#include "DialogRecorder.h"
#include "FormWidgets.h"
#include "IniFile.h"
#include "Logbook.h"
#include "UnitFormMain.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitPlayerWins.h"
#include "UnitSettings.h"
#include "UnitSound.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int GameTimeoutMs = 240000;
const QString SourceDir = TESSARON_SOURCE_DIR;

QPoint Centre(const TChessBrd& board, Square sq) {
    const int half = board.SizeOfSquare() / 2;
    return board.SquareOrigin(sq) + QPoint(half, half);
}

void Drag(TChessBrd& board, Square from, Square to) {
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, from));
    QTest::mouseMove(&board, Centre(board, from) + QPoint(8, 8));
    QTest::mouseMove(&board, Centre(board, to));
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, Centre(board, to));
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
    void itemsOfLaterWindowsAreDisabled();
    void settingsWrittenOnClose();

private:
    void WriteIni(const QString& text);
    TFormMain& NewWindow();
    void PlayUntilDecided(TFormMain& form);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TSoundRecorder> FSounds;
};

void TestFormMain::WriteIni(const QString& text) {
    QFile file(FDir.filePath("tessaron.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

void TestFormMain::init() {
    QDir(FDir.path()).removeRecursively();
    QDir().mkpath(FDir.filePath("Lang"));
    for (const char* name : {"Languages.cfg", "German.lng", "English.lng"})
        QFile::copy(SourceDir + "/data/Lang/" + name, FDir.filePath(QString("Lang/") + name));
    SetProgramDir(FDir.path());
    Settings() = TSettings{};
    WriteIni("[Common]\nLanguage=German\nAnimateMoves=0\nPlaySound=1\n");
    FDialogs = std::make_unique<DialogRecorder>();
    FSounds = std::make_unique<TSoundRecorder>();
}

void TestFormMain::cleanup() {
    FForm.reset();
    FormMain = nullptr;
    FSounds.reset();
    FDialogs.reset();
    CloseLanguageFile();
    SetProgramDir({});
}

TFormMain& TestFormMain::NewWindow() {
    FForm = std::make_unique<TFormMain>();
    FormMain = FForm.get();
    FForm->show();
    if (!QTest::qWaitForWindowExposed(FForm.get())) qWarning("window not exposed");
    return *FForm;
}

void TestFormMain::PlayUntilDecided(TFormMain& form) {
    form.BitBtnWeiterClick();
    QTRY_VERIFY_WITH_TIMEOUT(form.FGameOver || form.ChessBrd->HistoryFull(), GameTimeoutMs);
    QVERIFY2(form.FGameOver, "the game line filled up before the game was decided");
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
        QVERIFY(!FDialogs->Messages.isEmpty()); // the draw's explanation always shows
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

void TestFormMain::itemsOfLaterWindowsAreDisabled() {
    TFormMain& form = NewWindow();
    for (QAction* action : {form.MenuItemLaden, form.ToolButtonLoadGame, form.MenuItemOptMisc, form.MenuItemTips,
                            form.ToolButtonPartiedaten, form.MenuItemSetPosition})
        QVERIFY2(!action->isEnabled(), qPrintable(action->objectName()));
    form.SetControlState(csStopped);
    QVERIFY(!form.ToolButtonLoadGame->isEnabled());
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

QTEST_MAIN(TestFormMain)
#include "tst_formmain.moc"
