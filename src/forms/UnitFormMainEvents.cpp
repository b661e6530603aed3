// The main window's answers to the board's events: the move list and logbook after every move,
// sounds, check and game-end messages, statuses, the game result and win counts, and the
// promotion dialog for a human.

#include "ChessThread.h"
#include "FormWidgets.h"
#include "Logbook.h"
#include "UnitDialogFunctions.h"
#include "UnitFormMain.h"
#include "UnitLanguages.h"
#include "UnitPieceWindows.h"
#include "UnitPlayerWins.h"
#include "UnitSettings.h"
#include "UnitSound.h"
#include "UnitSpeech.h"

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

namespace {

constexpr std::string_view PieceOrder = "pnbrqk"; // the promotion dialog answers 1..6 in this order
// The wait window of a spoken move: at the board's left, just under the board, counted from the
// window's top-left corner (a menu bar's height, then the tool bar and the board).
constexpr int WaitWindowLeft = 8;
constexpr int WaitWindowMenuBar = 26;

} // namespace

void TFormMain::ConnectBoardEvents() {
    ChessBrd->OnLegalMove = [this](TChessRules&, Square a, Square b) { ChessBrdLegalMove(a, b); };
    ChessBrd->OnCheck = [this](TChessRules&, Square, Square) { ChessBrdCheck(); };
    ChessBrd->OnMate = [this](TChessRules&, Square, Square) { ChessBrdMate(); };
    ChessBrd->OnStaleMate = [this](TChessRules&, Square, Square) {
        ChessBrdDrawExplained(118, "Remis durch Patt\r\rSteht der König nicht im Schach, kann sich aber\rnicht mehr "
                                   "bewegen, ohne in Schach zu kommen,\rist das Spiel mit Remis zu Ende. Dies wird "
                                   "mit\rPatt bezeichnet, wobei keiner der Spieler\rgewinnt.");
    };
    ChessBrd->OnNoMatingMaterial = [this](TChessRules&) {
        const QString reason = LoadLangString(
            119, "Remis durch unzureichendes Material\r\rDie Partie ist Remis, wenn eine der folgenden\r"
                 "Endstellungen erreicht wird:\r");
        const QString cases = LoadLangString(
            120, "- König gegen König, wobei sich keine weiteren\r  Figuren auf dem Brett befinden.\r"
                 "- Jede Seite hat neben dem König höchstens einen\r  Läufer oder einen Springer oder zwei "
                 "Springer,\r  z. B. König und Läufer gegen König und Läufer.\r"
                 "König, Läufer und Springer zusammen können\rdagegen noch mattsetzen.");
        ChessBrdDrawExplained(0, reason + cases);
    };
    ChessBrd->OnThreefoldPosition = [this](TChessRules&) {
        ChessBrdDrawExplained(121, "Remis durch dreifache Stellungswiederholung\r\rWenn exakt die gleiche Stellung "
                                   "mit jeweils dem\rgleichen Spieler am Zug und mit den gleichen\rZugmöglichkeiten "
                                   "innerhalb einer Partie zum\rdritten Mal auftritt, endet das Spiel, wobei\rkeiner "
                                   "der Spieler gewinnt.");
    };
    ChessBrd->OnDraw = [this](TChessRules&) { ChessBrdDraw(); };
    ChessBrd->OnCapture = [this](TChessRules&, Square, Square, char) { ChessBrdCapture(); };
    // The last event of every move: a promoted piece stands on its square by now.
    ChessBrd->OnPaint = [](TChessRules&) { RecountPieceWindows(); };
    ChessBrd->OnCastle = [this](TChessRules&, Square, Square) { ChessBrdCastle(); };
    ChessBrd->OnPromotion = [this](TChessRules&, Square, Square, char& piece) { ChessBrdPromotion(piece); };
    ChessBrd->OnCalculateMove = [this](TChessRules&, Square& from, Square& to) { FindMove(from, to); };
    connect(ChessBrd, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuChessBrd->popup(ChessBrd->mapToGlobal(at)); });
}

void TFormMain::PlaySoundIfOn(const QString& file) {
    if (Settings().PlaySound) PlayWave(file, true);
}

void TFormMain::PlayOneOf(const QString& first, const QString& second) {
    PlaySoundIfOn(FRandom() % 2 == 0 ? first : second);
}

// Help-me lends the engine to a human for one move. Its flag is taken back as soon as that move is
// made: an engine opponent that answers within one refresh tick would otherwise find the flag still
// set and go on playing for the human.
void TFormMain::EndHelpMe() {
    const bool white = *FHelpMeWhite;
    FHelpMeWhite.reset();
    SetEngineFlag(white, false); // this stops the engine, so it is started again once the move is done
    QTimer::singleShot(0, this, [this] {
        if (!GameStopped && !FGameOver) ContinueGame(false);
    });
}

void TFormMain::ChessBrdLegalMove(Square oldSq, Square newSq) {
    ChargeTime(3 - PlayerToMove()); // the time up to the move is the mover's, not the next player's
    FFirstMovePending = false;
    if (FHelpMeWhite && *FHelpMeWhite != ChessBrd->WhiteToMove()) EndHelpMe();
    RefreshMoveList();
    TEngineControl& control = ChessBrd->Engine()->Control();
    const int depth = control.CalcDepth;
    const qint64 nodes = control.CalcNodes;
    const int score = control.CalcScore;
    Logbook->AddLine(Logbook->MoveLine(QString::fromStdString(SquareName(oldSq)),
                                       QString::fromStdString(SquareName(newSq)), depth, nodes, score));
    Logbook->UpdateThinkingStatus(depth, nodes, score, QString::fromStdString(control.CalcBestLine()));
    ClearSearchDisplay();
    PlaySoundIfOn("SOUND\\RICHTIGZUG.WAV");
    if (MoveIsSpoken()) SpeakMoveInGame(oldSq, newSq);
    ProcessMessages();
}

// Moves are spoken to a person: a game of machines only is not. A game read back from an older
// file is replayed in silence, or every one of its moves would hold the window for seconds.
bool TFormMain::MoveIsSpoken() const {
    const TSettings& s = Settings();
    return s.PlaySound && s.PlaySp && s.PlaySpMoves && !FReplaying &&
           (Kind(1) == pkMensch || Kind(2) == pkMensch);
}

// The game halts while the three words play; the board takes no input meanwhile.
void TFormMain::SpeakMoveInGame(Square from, Square to) {
    TimerAktualisierung.stop();
    StopGame(false, false);
    {
        const QString move = QString::fromStdString(SquareName(from) + "-" + SquareName(to)) + " ";
        const QPoint at =
            pos() + QPoint(WaitWindowLeft, WaitWindowMenuBar + ChessBrd->height() + ToolBar->height());
        const TMessageWindow wait(LoadLangString(134, " Bitte warten, ... ") + move, this, at);
        const bool enabled = ChessBrd->isEnabled();
        ChessBrd->setEnabled(false);
        SpeakMove(from, to);
        ChessBrd->setEnabled(enabled);
    }
    repaint();
    ContinueGame(false);
    TimerAktualisierung.start();
}

void TFormMain::ChessBrdCheck() {
    StopGame(true, true);
    PlaySoundIfOn("SOUND\\SCHACH.WAV");
    const QString check = LoadLangString(116, "Schach");
    if (Settings().ShowMessages) ShowInfoMessage(check, this);
    Logbook->AddLine(check);
    ContinueGame(true);
}

// The name under which a win is counted: the engine's is its kind's text, anyone else's the name label.
QString TFormMain::WinnerName(int player) const {
    if (Kind(player) == pkComputer) return KindCombo(player)->itemText(pkComputer);
    return NameLabel(player)->text();
}

void TFormMain::GameEnds() {
    SetControlState(csGameEnd);
    StopGame(true, false);
    MusikPlayer->Stop(); // the refresh timer stops too, so no tick would stop it
}

void TFormMain::ChessBrdMate() {
    GameEnds();
    FGameOver = true;
    TimerAktualisierung.stop();
    const int loser = IsToMove(1) ? 1 : 2;
    const int winner = 3 - loser;
    StatusLabel(winner)->setText(LoadLangString(105, "gewonnen"));
    StatusLabel(loser)->setText(LoadLangString(106, "verloren"));
    PartieDaten.SetResult(winner == 1 ? TPartieDaten::ResultPlayer1Wins : TPartieDaten::ResultPlayer2Wins);
    AddWin(WinnerName(winner));
    if (Kind(winner) == pkMensch) PlayOneOf("SOUND\\SPIWIN.WAV", "SOUND\\SPIWIN2.WAV");
    else PlayOneOf("SOUND\\COWIN.WAV", "SOUND\\COWIN2.WAV");
    ProcessMessages();
    const QString mate = LoadLangString(117, "Schachmatt");
    if (Settings().ShowMessages) ShowInfoMessage(mate, this);
    Logbook->AddLine(mate);
    QueueAutoplayNext();
}

// Stalemate, missing material, repetition: the explanation always shows; OnDraw follows.
void TFormMain::ChessBrdDrawExplained(int textNumber, const QString& text) {
    GameEnds();
    TimerAktualisierung.stop();
    ShowInfoMessage(textNumber ? LoadLangString(textNumber, text) : text, this);
}

void TFormMain::ChessBrdDraw() {
    SetControlState(csGameEnd);
    TimerAktualisierung.stop();
    ProcessMessages();
    StopGame(true, false);
    FGameOver = true;
    ProcessMessages();
    const QString draw = LoadLangString(112, "Spiel durch Remis beendet");
    LabelSpieler1Status->setText(draw);
    LabelSpieler2Status->setText(draw);
    Logbook->AddLine(draw);
    PartieDaten.SetResult(TPartieDaten::ResultDraw);
    ProcessMessages();
    QueueAutoplayNext();
}

void TFormMain::ChessBrdCapture() { PlayOneOf("SOUND\\FEHLER.WAV", "SOUND\\FEHLER2.WAV"); }

void TFormMain::ChessBrdCastle() { PlaySoundIfOn("SOUND\\ROCHADE.WAV"); }

// Only a human is asked. The engine's own choice and a replayed promotion stay as the board offers
// them (the engine's piece, or a queen).
void TFormMain::ChessBrdPromotion(char& newPiece) {
    TimerAktualisierung.stop();
    StopGame(false, false);
    const int promoting = IsToMove(1) ? 2 : 1;
    if (Kind(promoting) == pkMensch && !FReplaying) {
        newPiece = 'q';
        const int answer = AskPromotionPiece();
        if (answer >= 1 && answer <= static_cast<int>(PieceOrder.size()))
            newPiece = PieceOrder[static_cast<size_t>(answer - 1)];
    } else if (FReplaying || Kind(promoting) != pkComputer) {
        newPiece = 'q';
    }
    ContinueGame(false);
    TimerAktualisierung.start();
}
