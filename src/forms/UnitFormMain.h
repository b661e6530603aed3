#pragma once
// The main window: the game screen. It holds the board, seats two players at it (human, engine or
// random mover), drives the game with its refresh timer, keeps the clocks and the move list, and
// answers every event the board raises.

#include "ChessBrd.h"
#include "GameClock.h"
#include "UnitClassPlayerStatistik.h"
#include "UnitClasses.h"
#include "UnitSettings.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <random>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QToolBar;
class QVBoxLayout;
class TColorDisc;
class TClickableLabel;
class TLogbook;
struct TWishedGeometry;
struct TGameRecord;
struct TPlayerRecord;
struct TTextGame;
struct TTextGamePlayer;
struct TMoveSquares;
struct TPgnGame;
struct TPgnLine;
class TSanBoard;

// Which controls a moment of the game leaves usable.
enum TControlState { csGameEnd = 0, csRunning = 1, csStopped = 2, csInitial = 9 };

// The kinds of player, as the index of the kind lists.
enum TPlayerKind { pkMensch = 0, pkComputer = 1, pkZufall = 2 };

// Text 5202: a game, in its own format or as PGN, could not be written.
inline constexpr auto GameNotSavedText =
    "Die Partie konnte nicht in %s gespeichert werden. Eine Datei, die dort schon war, ist unverändert geblieben.";

class TFormMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    // --- The board and the statistics panel ---------------------------------------------------------
    TChessBrd* ChessBrd;
    QWidget* PanelChessBoard;
    QWidget* PanelButtons;
    QWidget* PanelStatistics;
    QLabel* LabelSpieler1;
    QLabel* LabelSpieler1Status;
    TColorDisc* ShapeFarbeSpieler1;
    QComboBox* ComboBoxSpieler1;
    QLabel* PanelSpieler1Gesamtzeit;
    QLabel* PanelSpieler1ZeitProZug;
    QLabel* LabelSpieler2;
    QLabel* LabelSpieler2Status;
    TColorDisc* ShapeFarbeSpieler2;
    QComboBox* ComboBoxSpieler2;
    QLabel* PanelSpieler2Gesamtzeit;
    QLabel* PanelSpieler2ZeitProZug;
    QLabel* PanelMatchTime;
    TClickableLabel* PanelPause;
    QListWidget* ListBoxZuege;
    QLabel* LabelDepthShow;
    QLabel* LabelNodesShow;
    QLabel* LabelScoreShow;
    QLabel* LabelBestLineShow;

    // --- Speed buttons ---------------------------------------------------------------------------------
    QPushButton* BitBtnZugZurueck;
    QPushButton* BitBtnZugVor;
    QPushButton* BitBtnStop;
    QPushButton* BitBtnWeiter;
    QPushButton* ButtonNeu;
    QPushButton* BitBtnHilfMir;
    QPushButton* ButtonPlayBestMove;
    QPushButton* ButtonEndCalc;

    // --- Menu items and tool buttons -------------------------------------------------------------------
    QAction *MenuItemLaden, *MenuItemSpeichern, *MenuItemOptMisc, *MenuItemBoardSettings, *MenuItemChangePieceSet,
        *MenuItemBeenden;
    QAction *MenuItemNewGame, *MenuItemContinue, *MenuItemStop, *MenuItemBack, *MenuItemNext, *MenuItemHelpMe;
    QAction *MenuItemAnfaenger, *MenuItemMittel, *MenuItemNormal, *MenuItemSchwer, *MenuItemMaster;
    QAction *MenuItemQuickRestore, *MenuItemQuickSave, *MenuItemSetPosition, *MenuItemChangeSite,
        *MenuItemChangeColor, *MenuItemChangeAll, *MenuItemSavePosAsGraphic,
        *AktuellePositionindieZwischenablagealsGrafikkopieren1, *MenuItemPartiedaten, *MenuItemPlayerStatistic;
    QAction *MenuItemShowStatistik, *MenuItemShowButtons, *MenuItemAnzeigeFigurenImSpiel,
        *MenuItemAnzeigeGeschlageneFiguren, *MenuItemGameInfo;
    QAction *MenuItemLernprogramm, *MenuItemTips, *MenuItemInfo;
    QAction *PopupItemBoardSettings, *PopupItemPieceSet;
    QToolBar* ToolBar;
    QAction *ToolButtonNew, *ToolButtonLoadGame, *ToolButtonSaveGame, *ToolButtonOptionsMisc, *ToolButtonSaveAsGraph,
        *ToolButtonCopyToClip, *ToolButtonFirst, *ToolButtonPrev, *ToolButtonNext, *ToolButtonLast, *ToolButtonPlay,
        *ToolButtonStop, *ToolButtonHelpMe, *ToolButtonEndCalc, *ToolButtonPlayBestMove, *ToolButtonShowCalc,
        *ToolButtonPartiedaten, *ToolButtonPlayerStatistic, *ToolButtonTutorial, *ToolButtonTips, *ToolButtonInfo;
    QMenu* PopupMenuChessBrd;

    QTimer TimerAktualisierung;
    QTimer TimerCalc;

    // --- Game state ------------------------------------------------------------------------------------
    bool FGameOver = false;
    bool GameStopped = true;
    bool FFirstMovePending = true;
    bool FRandomReady = true;
    bool FReplaying = false;
    bool BlitzWarned1 = false;
    bool BlitzWarned2 = false;
    TPlayerStatistik ClockPlayer1;
    TPlayerStatistik ClockPlayer2;
    // Measures the time the clocks charge; the refresh timer only shows it.
    TGameClock GameClock;
    TPartieDaten PartieDaten;
    std::unique_ptr<TMusikPlayer> MusikPlayer;
    TLogbook* Logbook;

    // --- Game flow -------------------------------------------------------------------------------------
    void SetControlState(TControlState state);
    void StopGame(bool keepEngine, bool showPause);
    void ContinueGame(bool noEngineStart);
    void StartNewGame(bool startClock);
    bool SideToMoveIs(int kind) const;
    bool FindMove(Square& from, Square& to);
    void SetLevel(int level);
    int LevelNumber() const; // 1..5 of the checked level item
    void RefreshMoveList();

    // Handlers, public so that tests can drive the window as a person would.
    void BitBtnWeiterClick();
    void BitBtnStopClick();
    void ButtonNeuClick();
    void MenuItemPartiedatenClick();
    void MenuItemLernprogrammClick();
    // A new game, halted, on a position the tutorial shows.
    void TakeOverPosition(const std::string& position);
    void BitBtnHilfMirClick();
    void MenuItemChangePieceSetClick();
    void MenuItemSetPositionClick();
    void ButtonPlayBestMoveClick();
    void ButtonEndCalcClick();
    void ToolButtonShowCalcClick(bool checked);
    void ComboBoxSpieler1Change();
    void ComboBoxSpieler2Change();
    void TimerAktualisierungTimer();
    void TimerCalcTimer();
    void BitBtnZugZurueckClick();
    void BitBtnZugVorClick();
    void ToolButtonFirstClick();
    void ToolButtonLastClick();
    void ListBoxZuegeClick();
    void FormResize();
    void ApplyDesign(bool modern);
    void MenuItemBoardSettingsClick();
    void MenuItemOptMiscClick();

    // The settings this window writes when the program ends.
    void WriteSettingsOnClose();

    // Game files and quick save (UnitFormMainFiles.cpp).
    void SaveGameFile();
    void LoadGameFile(const QString& FileName);
    void MenuItemQuickSaveClick();
    void MenuItemQuickRestoreClick();
    // Starts a new game from a text-format game and replays its moves.
    void ApplyTextGame(const TTextGame& game);

    // Board functions, pictures, tips and the test mode (UnitFormMainBoardFunctions.cpp).
    enum class TPictureTarget { File, Clipboard };
    void MenuItemChangeSiteClick();
    void MenuItemChangeColorClick();
    void MenuItemChangeAllClick();
    void RenamePlayer(int player);
    void SavePositionPicture(TPictureTarget mode);
    void MenuItemTipsClick();
    // The tips window, at the first activation, when the user wants it at start.
    void ShowTipsAtStart();
    void AutoplayNext();
    // Start-up and the side windows (UnitFormMainWindows.cpp).
    // The game file named on the command line, loaded when the window is first shown.
    void SetCommandLineFile(const QString& fileName) { FCommandLineFile = fileName; }
    // A later start of the program asks this copy to come forward and, with a file, to load it.
    void OpenRequestedFile(const QString& fileName);
    void MenuItemGameInfoClick(bool checked);
    void MenuItemPlayerStatisticClick();
    void MenuItemInfoClick();

    // Where the promotion dialog gets its answer; the real one shows FormPromotion.
    std::function<int()> AskPromotionPiece;

    // Positions and games exchanged with other programs: FEN, PGN and the move list in standard
    // notation (UnitFormMainExchange.cpp).
    QAction *MenuItemImportPgn, *MenuItemExportPgn, *MenuItemCopyFen, *MenuItemPasteFen, *MenuItemCopyPgn,
        *MenuItemPastePgn, *MenuItemSanMoveList;
    void CopyFenToClipboard();
    void PasteFenFromClipboard();
    // Sets up a new game at the position; false, after saying why, when it is no playable FEN.
    bool SetUpFromFen(const QString& fen);
    void ExportPgnFile();
    void CopyPgnToClipboard();
    // The current game as PGN text.
    QString GamePgn() const;
    void ImportPgnFile();
    void PastePgnFromClipboard();
    // Loads a game of a PGN file (the user picks one when it holds several); false when none was loaded.
    bool OpenPgnFile(const QString& fileName);
    void SetSanMoveList(bool on);
    // Where the list of a file's games gets its answer (the index, or -1); the real one shows the list.
    std::function<int(const std::vector<TPgnGame>&)> ChoosePgnGame;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction, in the order the window is put together.
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateBoardPanel();
    void CreateButtonPanel();
    void CreateStatisticsPanel();
    void ConnectBoardEvents();
    void ReadSettings();
    void PlaceOnScreen(bool savedGeometry);
    void FitOnScreen(const TWishedGeometry& wished, const QRect& area);
    void CentreBoard();
    QAction* NewAction(const QString& name, const QString& caption, int tag, const QKeySequence& shortcut = {});
    QPushButton* NewSpeedButton(const QString& name, const QString& caption, int tag);

    // Players.
    QComboBox* KindCombo(int player) const { return player == 1 ? ComboBoxSpieler1 : ComboBoxSpieler2; }
    QLabel* NameLabel(int player) const { return player == 1 ? LabelSpieler1 : LabelSpieler2; }
    QLabel* StatusLabel(int player) const { return player == 1 ? LabelSpieler1Status : LabelSpieler2Status; }
    TPlayerStatistik& Clock(int player) { return player == 1 ? ClockPlayer1 : ClockPlayer2; }
    bool& BlitzWarned(int player) { return player == 1 ? BlitzWarned1 : BlitzWarned2; }
    int Kind(int player) const;
    int StoredKind(int player) const;
    bool PlaysWhite(int player) const;
    bool IsToMove(int player) const { return PlaysWhite(player) == ChessBrd->WhiteToMove(); }
    int PlayerToMove() const { return IsToMove(1) ? 1 : 2; }
    void KindChanged(int player);
    void EditPartiedaten();
    void SetEngineFlag(bool white, bool value);
    QString WinnerName(int player) const;

    // The refresh tick.
    void RefreshPaused();
    void RefreshPlayer(int player);
    bool AdvanceClock(int player);
    bool CheckBlitzTime(int player);
    void ChargeTime(int player);
    void ShowRunningClock();
    void HaltClock();
    void WakeIdleEngine(int player);
    void LoseOnTime(int player);
    void ShowClocks();
    void ShowMatchTime();
    void ClearSearchDisplay();
    void PlayFirstEngineMove();

    // Board events.
    void ChessBrdLegalMove(Square oldSq, Square newSq);
    void ChessBrdCheck();
    void ChessBrdMate();
    void ChessBrdDrawExplained(int textNumber, const QString& text);
    void ChessBrdDraw();
    void ChessBrdCapture();
    void ChessBrdCastle();
    void ChessBrdPromotion(char& newPiece);
    void GameEnds();
    void EndHelpMe();
    void PlaySoundIfOn(const QString& file);
    bool MoveIsSpoken() const;
    void SpeakMoveInGame(Square from, Square to);
    void PlayOneOf(const QString& first, const QString& second);

    // Navigation.
    void AfterNavigation(bool clearGameOver);
    void JumpToLine(int line);

    void ProcessMessages();

    // Board functions.
    void ConnectBoardFunctions();
    bool IsNameLabelClick(QObject* watched, QEvent* event) const;
    void QueueAutoplayNext();
    // Start-up, in the order of the steps.
    void FormShow();
    void FormActivate();
    void OpenSideWindowsAtStart();
    void ShowLogbook();
    TSideWindowState LogbookState() const;

    // Game files.
    void ConnectFileActions();
    TPlayerRecord PlayerRecord(int player) const;
    TGameRecord GameRecordOfWindow() const;
    void ApplyPlayerRecord(int player, const TPlayerRecord& record);
    void ApplyGameData(const TGameRecord& record);
    void LoadRecordFile(const QString& fileName);
    void LoadTextGameFile(const QString& fileName);
    void ApplyTextSeat(int player, const TTextGamePlayer& seat);
    int ReplayTextMoves(const std::vector<TMoveSquares>& moves);

    // Exchange with other programs.
    void CreateExchangeActions(QMenu* file, QMenu* functions, QMenu* view);
    bool LoadPgnText(const QByteArray& bytes);
    bool ApplyPgnGame(const TPgnGame& game, int number);
    void ApplyPgnGameData(const TPgnGame& game);
    bool PgnLineFitsRules(const TPgnGame& game, int number, const TPgnLine& line, TChessRules& rules);
    void ShowPgnProblem(const TPgnGame& game, int number, const QString& problem);

    std::mt19937 FRandom;
    std::shared_ptr<TSanBoard> FSanBoard; // shared: its type is complete only where it is used
    bool FSanMoveList = false;
    bool FInRefresh = false;
    std::optional<bool> FHelpMeWhite; // the colour help-me lets the engine move once for

    bool FFirstShow = true;
    bool FFirstActivation = true;
    QString FCommandLineFile;
};

extern TFormMain* FormMain;
