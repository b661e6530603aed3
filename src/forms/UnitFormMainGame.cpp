// The main window's game flow: control states, stop and continue, new game, the players and their
// kinds, levels, the random mover, help-me, the calculation display, and the refresh tick with
// the clocks.

#include "ChessThread.h"
#include "FormWidgets.h"
#include "Logbook.h"
#include "UnitDialogFunctions.h"
#include "UnitFunctions.h"
#include "UnitFormLernprogramm.h"
#include "UnitFormMain.h"
#include "UnitFormPartiedaten.h"
#include "UnitPieceWindows.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"
#include "UnitSound.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr int MaxNameLength = 50;
constexpr qint64 MsPerMinute = 60'000;
constexpr int BlitzModus = 1;

// Opening moves a side picks from at move 1 (every level but the first).
constexpr std::array<std::string_view, 4> WhiteOpenings = {"E2-E4", "G1-F3", "D2-D4", "G2-G3"};
constexpr std::array<std::string_view, 3> BlackOpenings = {"C7-C5", "G8-F6", "D7-D5"};

template <typename Control>
void Enable(std::initializer_list<Control*> controls, bool enabled) {
    for (Control* control : controls) control->setEnabled(enabled);
}

} // namespace

// --- Control states -------------------------------------------------------------------------------

void TFormMain::SetControlState(TControlState state) {
    const bool back = state != csRunning && state != csInitial;
    const bool forward = state == csStopped;
    const bool play = state == csStopped || state == csInitial;
    const bool running = state == csRunning;
    Enable<QAction>({MenuItemBack, ToolButtonPrev, ToolButtonFirst}, back);
    BitBtnZugZurueck->setEnabled(back);
    Enable<QAction>({MenuItemNext, ToolButtonNext, ToolButtonLast}, forward);
    BitBtnZugVor->setEnabled(forward);
    Enable<QAction>({MenuItemContinue, ToolButtonPlay}, play);
    BitBtnWeiter->setEnabled(play);
    Enable<QAction>({MenuItemStop, ToolButtonStop, MenuItemHelpMe, ToolButtonHelpMe, ToolButtonPlayBestMove,
                     ToolButtonEndCalc},
                    running);
    Enable<QPushButton>({BitBtnStop, BitBtnHilfMir, ButtonPlayBestMove, ButtonEndCalc}, running);
    if (state == csGameEnd) Enable<QWidget>({ListBoxZuege, ComboBoxSpieler1, ComboBoxSpieler2}, true);
}

// --- Stop, continue, new game ----------------------------------------------------------------------

void TFormMain::StopGame(bool keepEngine, bool showPause) {
    if (Settings().ViewBreak) PanelPause->setVisible(showPause);
    HaltClock();
    GameStopped = true;
    if (!keepEngine) ChessBrd->StopThinking();
    SetControlState(csStopped);
}

void TFormMain::ContinueGame(bool noEngineStart) {
    GameStopped = false;
    if (!FGameOver) GameClock.Run();
    if (!noEngineStart && ChessBrd->ComputerToMove()) ChessBrd->StartEngine();
    SetControlState(csRunning);
}

void TFormMain::ClearSearchDisplay() { ChessBrd->Engine()->Control().ClearCalc(); }

void TFormMain::StartNewGame(bool startClock) {
    SetControlState(csRunning);
    GameClock.Halt();
    ClockPlayer1.Clear();
    ClockPlayer2.Clear();
    PartieDaten.Clear();
    PartieDaten.SetPlayer1Name(LabelSpieler1->text().left(MaxNameLength));
    PartieDaten.SetPlayer2Name(LabelSpieler2->text().left(MaxNameLength));
    for (QLabel* panel : {PanelSpieler1Gesamtzeit, PanelSpieler1ZeitProZug, PanelSpieler2Gesamtzeit,
                          PanelSpieler2ZeitProZug, PanelMatchTime})
        panel->setText("00:00:00");
    BlitzWarned1 = BlitzWarned2 = false;
    ClearSearchDisplay();
    ChessBrd->NewGame();
    RefreshMoveList();
    GameStopped = false;
    FGameOver = false;
    FFirstMovePending = true;
    FRandomReady = true;
    if (startClock) {
        GameClock.Run();
        TimerAktualisierung.start();
    }
    RecountPieceWindows();
    Logbook->Clear();
}

void TFormMain::BitBtnWeiterClick() {
    SetControlState(csRunning);
    GameStopped = false;
    FRandomReady = true;
    if (!FGameOver) GameClock.Run();
    TimerAktualisierung.start();
    ComboBoxSpieler1Change();
    ComboBoxSpieler2Change();
    RecountPieceWindows();
    if (FGameOver) return; // a decided game only re-arms the clocks
    if (FFirstMovePending && SideToMoveIs(pkComputer)) PlayFirstEngineMove();
    else ContinueGame(false);
}

void TFormMain::BitBtnStopClick() {
    StopGame(false, true);
    SetControlState(csStopped);
}

void TFormMain::ButtonNeuClick() {
    StopGame(false, true);
    const int answer = ShowCenteredMessage(
        LoadLangString(126, "Dieses Spiel beenden und neues Spiel beginnen?"), TMsgDlgType::mtConfirmation,
        mbYes | mbNo, this);
    if (answer != mrYes) return;
    StartNewGame(true);
    if (Settings().ShowPartiedaten) EditPartiedaten();
    ProcessMessages();
    if (SideToMoveIs(pkComputer)) PlayFirstEngineMove();
    BitBtnWeiterClick();
}

void TFormMain::MenuItemPartiedatenClick() {
    StopGame(false, true);
    if (PartieDaten.Player1Name().isEmpty()) PartieDaten.SetPlayer1Name(LabelSpieler1->text());
    if (PartieDaten.Player2Name().isEmpty()) PartieDaten.SetPlayer2Name(LabelSpieler2->text());
    EditPartiedaten();
}

void TFormMain::MenuItemLernprogrammClick() {
    StopGame(false, true);
    if (!FormLernprogramm) return;
    FormLernprogramm->OnTakeOver = [this](const std::string& position) { TakeOverPosition(position); };
    FormLernprogramm->exec();
}

void TFormMain::TakeOverPosition(const std::string& position) {
    StartNewGame(false);
    ChessBrd->SetPosition(position);
    ChessBrd->StartLine();
    ListBoxZuege->clear();
    // The opening table knows only the start position: the engine thinks from this one.
    FFirstMovePending = false;
    StopGame(false, true);
}

// The game data dialog on the current data; after OK the name labels show the names it holds.
void TFormMain::EditPartiedaten() {
    if (!FormPartiedaten || FormPartiedaten->Edit(PartieDaten, !PlaysWhite(1)) != QDialog::Accepted) return;
    LabelSpieler1->setText(PartieDaten.Player1Name());
    LabelSpieler2->setText(PartieDaten.Player2Name());
}

// The engine's first move of a game comes from the opening table (or a random move at the lowest level).
void TFormMain::PlayFirstEngineMove() {
    Square from = None, to = None;
    if (FindMove(from, to)) ChessBrd->PlayMove(from, to);
    FFirstMovePending = false;
}

// --- Players ---------------------------------------------------------------------------------------------

int TFormMain::Kind(int player) const { return KindCombo(player)->currentIndex(); }

bool TFormMain::PlaysWhite(int player) const {
    const TColorDisc* disc = player == 1 ? ShapeFarbeSpieler1 : ShapeFarbeSpieler2;
    return disc->BrushColor() == QColor(Qt::white);
}

bool TFormMain::SideToMoveIs(int kind) const {
    return (Kind(1) == kind && IsToMove(1)) || (Kind(2) == kind && IsToMove(2));
}

void TFormMain::SetEngineFlag(bool white, bool value) {
    if (white) ChessBrd->SetComputerPlaysWhite(value);
    else ChessBrd->SetComputerPlaysBlack(value);
}

void TFormMain::KindChanged(int player) { SetEngineFlag(PlaysWhite(player), Kind(player) == pkComputer); }
void TFormMain::ComboBoxSpieler1Change() { KindChanged(1); }
void TFormMain::ComboBoxSpieler2Change() { KindChanged(2); }

// --- Levels ----------------------------------------------------------------------------------------------

void TFormMain::SetLevel(int level) {
    const QList<QAction*> items = {MenuItemAnfaenger, MenuItemMittel, MenuItemNormal, MenuItemSchwer, MenuItemMaster};
    if (level >= 1 && level <= 4) items[level - 1]->trigger();
    else if (level >= 5 && level <= 8) MenuItemMaster->trigger();
    else MenuItemNormal->trigger();
}

int TFormMain::LevelNumber() const {
    const QList<QAction*> items = {MenuItemAnfaenger, MenuItemMittel, MenuItemNormal, MenuItemSchwer, MenuItemMaster};
    for (int i = 0; i < items.size(); ++i)
        if (items[i]->isChecked()) return i + 1;
    return 3;
}

// --- Finding a move for the random player ---------------------------------------------------------------

bool TFormMain::FindMove(Square& from, Square& to) {
    ClearSearchDisplay();
    if (ChessBrd->CurrentMove() == 1 && !MenuItemAnfaenger->isChecked()) {
        const bool white = ChessBrd->WhiteToMove();
        const std::string_view move = white ? WhiteOpenings[FRandom() % WhiteOpenings.size()]
                                            : BlackOpenings[FRandom() % BlackOpenings.size()];
        const Square tableFrom = SquareIndex(move.substr(0, 2));
        const Square tableTo = SquareIndex(move.substr(3, 2));
        // A position set up at move 1 may not allow the table move; then a random one is sought.
        if (ChessBrd->IsLegalMove(tableFrom, tableTo)) {
            from = tableFrom;
            to = tableTo;
            return true;
        }
    }
    if (!ChessBrd->HasLegalMove()) return false;
    std::uniform_int_distribution<int> square(0, SquareCount);
    while (!ChessBrd->IsLegalMove(from, to)) {
        from = static_cast<Square>(square(FRandom));
        to = static_cast<Square>(square(FRandom));
        if (GameStopped || FGameOver) return false;
        ProcessMessages(); // a Stop click must be able to end the search
    }
    return true;
}

// --- Help me and the calculation display --------------------------------------------------------------

void TFormMain::BitBtnHilfMirClick() {
    const bool white = ChessBrd->WhiteToMove();
    for (int player : {1, 2})
        if (Kind(player) == pkMensch && PlaysWhite(player) == white) {
            SetEngineFlag(white, true);
            FHelpMeWhite = white;
            break;
        }
    ChessBrd->StartEngine();
}

void TFormMain::ButtonPlayBestMoveClick() { ChessBrd->Engine()->Control().PlayBestMoveNow = true; }
void TFormMain::ButtonEndCalcClick() { ChessBrd->Engine()->Control().EndCalculation = true; }

void TFormMain::ToolButtonShowCalcClick(bool checked) {
    if (checked) {
        TimerCalc.start();
        return;
    }
    TimerCalc.stop();
    LabelDepthShow->setText("0");
    LabelNodesShow->setText("0");
    LabelScoreShow->setText("0");
    LabelBestLineShow->clear();
}

void TFormMain::TimerCalcTimer() {
    const TEngineControl& control = ChessBrd->Engine()->Control();
    LabelDepthShow->setText(QString::number(control.CalcDepth.load()));
    LabelNodesShow->setText(QString::number(control.CalcNodes.load()));
    LabelScoreShow->setText(QString::number(control.CalcScore.load()));
    LabelBestLineShow->setText(QString::fromStdString(control.CalcBestLine()));
    ProcessMessages();
}

// --- The refresh tick --------------------------------------------------------------------------------

void TFormMain::TimerAktualisierungTimer() {
    // Messages are processed inside the tick (a random player's move slides there); a tick that
    // comes due meanwhile only keeps the clocks going.
    if (FInRefresh) return ShowRunningClock();
    FInRefresh = true;
    if (FGameOver || GameStopped) {
        GameClock.Halt();
        RefreshPaused();
        DriveMusik(*MusikPlayer, false);
    } else {
        GameClock.Run();
        DriveMusik(*MusikPlayer, true);
        if (Settings().ViewBreak && PanelPause->isVisible()) PanelPause->hide();
        const bool bothEngines = ChessBrd->ComputerPlaysWhite() && ChessBrd->ComputerPlaysBlack();
        const bool noHuman = Kind(1) != pkMensch && Kind(2) != pkMensch;
        if (!bothEngines && !noHuman) ChessBrd->setEnabled(true);
        Enable<QWidget>({ListBoxZuege, ComboBoxSpieler1, ComboBoxSpieler2}, false);
        RefreshPlayer(1);
        if (!FGameOver) {
            ProcessMessages();
            RefreshPlayer(2);
        }
        if (!FGameOver) {
            ShowMatchTime();
            ProcessMessages();
        }
    }
    FInRefresh = false;
}

void TFormMain::RefreshPaused() {
    if (Settings().ViewBreak) {
        if (PanelPause->isVisible()) {
            // The pause sign blinks: its text alternates between the text and the button-face colour.
            QPalette palette = PanelPause->palette();
            const QColor text = QApplication::palette().color(QPalette::WindowText);
            const QColor face = QApplication::palette().color(QPalette::Button);
            palette.setColor(QPalette::WindowText, palette.color(QPalette::WindowText) == text ? face : text);
            PanelPause->setPalette(palette);
        } else {
            PanelPause->show();
        }
    }
    const QString pause = LoadLangString(2110, "Pause...");
    LabelSpieler1Status->setText(pause);
    LabelSpieler2Status->setText(pause);
    ChessBrd->setEnabled(false);
    Enable<QWidget>({ListBoxZuege, ComboBoxSpieler1, ComboBoxSpieler2}, true);
}

void TFormMain::RefreshPlayer(int player) {
    if (!IsToMove(player)) {
        StatusLabel(player)->setText(LoadLangString(110, "wartet..."));
        // His last move may have used up his time before a tick could see it.
        CheckBlitzTime(player);
        return;
    }
    // A flag that help-me left for the other, human player is taken back once this player is to move.
    const int other = 3 - player;
    const bool otherWhite = PlaysWhite(other);
    const bool otherFlag = otherWhite ? ChessBrd->ComputerPlaysWhite() : ChessBrd->ComputerPlaysBlack();
    if (Kind(other) == pkMensch && otherFlag) {
        // Clearing a flag stops the engine; when it was searching for this player it starts again.
        const bool wasThinking = ChessBrd->Thinking();
        SetEngineFlag(otherWhite, false);
        if (wasThinking) ChessBrd->StartEngine();
    }
    WakeIdleEngine(player);
    StatusLabel(player)->setText(ChessBrd->Thinking() ? LoadLangString(107, "ist am Zug, denkt...")
                                                      : LoadLangString(108, "ist am Zug..."));
    if (FRandomReady && Kind(player) == pkZufall) {
        FRandomReady = false;
        StatusLabel(player)->setText(LoadLangString(109, "ist am Zug, sucht korr. Zug"));
        Square from = None, to = None;
        if (FindMove(from, to)) {
            ChessBrd->PlayMove(from, to);
            FRandomReady = true;
        }
    }
    AdvanceClock(player);
}

// A computer player to move has the engine at work. Should anything have left it idle, it is
// woken here rather than leaving the game to stand still.
void TFormMain::WakeIdleEngine(int player) {
    if (Kind(player) != pkComputer || !ChessBrd->ComputerToMove()) return;
    if (ChessBrd->Thinking() || ChessBrd->MoveInProgress() || ChessBrd->GameOver()) return;
    ChessBrd->StartEngine();
}

// One tick of the player's clock: the time since the last charge is his. True when he has lost on time.
bool TFormMain::AdvanceClock(int player) {
    Clock(player).MoveCount = ChessBrd->CurrentMove();
    ChargeTime(player);
    ShowClocks();
    return CheckBlitzTime(player);
}

// In blitz mode the warning and the loss on time. True when the player has lost on time.
bool TFormMain::CheckBlitzTime(int player) {
    const TSettings& s = Settings();
    if (s.GameModus != BlitzModus) return false;
    const qint64 total = Clock(player).TotalTime;
    if (!BlitzWarned(player) && total >= qint64(s.BlitzschachZeit - s.BlitzschachWarnung) * MsPerMinute) {
        PlayWave("SOUND\\WARNING.WAV", true);
        BlitzWarned(player) = true;
    }
    if (total < qint64(s.BlitzschachZeit) * MsPerMinute) return false;
    LoseOnTime(player);
    return true;
}

// Time is charged to a player while the game runs: what passed since the last charge is his.
void TFormMain::ChargeTime(int player) {
    if (!GameStopped && !FGameOver && GameClock.Running()) Clock(player).AddTime(GameClock.TakeElapsed());
}

void TFormMain::ShowRunningClock() {
    ChargeTime(PlayerToMove());
    ShowClocks();
    ShowMatchTime();
}

// The time up to a stop belongs to the player to move; while stopped nobody's clock runs.
void TFormMain::HaltClock() {
    ChargeTime(PlayerToMove());
    GameClock.Halt();
}

void TFormMain::LoseOnTime(int player) {
    StopGame(false, false);
    FGameOver = true;
    GameStopped = true;
    TimerAktualisierung.stop();
    MusikPlayer->Stop(); // no tick follows to stop it
    StatusLabel(player)->setText(LoadLangString(106, "verloren"));
    StatusLabel(3 - player)->setText(LoadLangString(105, "gewonnen"));
    ShowMatchTime();
    PlayWave("SOUND\\RING.WAV", true);
    const QString text = NameLabel(player)->text() + LoadLangString(139, " hat wegen Zeitüberschreitung verloren");
    if (Settings().ShowMessages) ShowInfoMessage(text, this);
    Logbook->AddLine(text);
}

void TFormMain::ShowClocks() {
    PanelSpieler1Gesamtzeit->setText(ClockPlayer1.TotalText());
    PanelSpieler1ZeitProZug->setText(ClockPlayer1.PerMoveText());
    PanelSpieler2Gesamtzeit->setText(ClockPlayer2.TotalText());
    PanelSpieler2ZeitProZug->setText(ClockPlayer2.PerMoveText());
}

void TFormMain::ShowMatchTime() {
    PanelMatchTime->setText(FormatClockTime(qint64(ClockPlayer1.TotalTime) + qint64(ClockPlayer2.TotalTime)));
}
