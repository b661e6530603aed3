// The main window's game files and quick save: the save and open dialogs, the record of the seats,
// clocks and game data that goes with the board's part, and the position kept in the settings file.

#include "FormWidgets.h"
#include "GameRecord.h"
#include "SettingsKey.h"
#include "StoredPositions.h"
#include "TextGameFile.h"
#include "UnitDialogFunctions.h"
#include "UnitFormMain.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitPieceWindows.h"
#include "UnitSettings.h"
#include "Windows1252.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <limits>

namespace {

constexpr auto GameFileExtension = "tn2";
// The names are matched as written, so both spellings of every extension are offered.
constexpr auto LoadFilter = "TESSARON-Files (*.tn2;*.nt;*.tn)|*.tn2;*.TN2;*.nt;*.NT;*.tn;*.TN";
constexpr auto SaveFilter = "TESSARON-Files (*.tn2)|*.tn2;*.TN2";
constexpr std::int32_t ColourBlack = 1;
constexpr std::int32_t ColourWhite = 0;

// Names the text loader reads; a record saved under one of them could never be loaded again.
bool IsTextFormatName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toUpper();
    return suffix == "TN" || suffix == "NT";
}

QString GameFileName(const QString& chosen) {
    if (!IsTextFormatName(chosen)) return chosen;
    return chosen.left(chosen.size() - QFileInfo(chosen).suffix().size()) + GameFileExtension;
}

std::string ToRecordText(const QString& text) {
    return EncodeWindows1252(text).toStdString();
}
QString FromRecordText(const std::string& text) {
    return DecodeWindows1252(QByteArrayView(text));
}

std::int32_t ClockTotal(quint32 milliseconds) {
    return static_cast<std::int32_t>(
        std::min<quint32>(milliseconds, std::numeric_limits<std::int32_t>::max()));
}

QString Quoted(const std::string& position) {
    return '"' + QString::fromStdString(position) + '"';
}

} // namespace

void TFormMain::ConnectFileActions() {
    connect(MenuItemSpeichern, &QAction::triggered, this, &TFormMain::SaveGameFile);
    connect(MenuItemLaden, &QAction::triggered, this, [this] { LoadGameFile({}); });
    connect(MenuItemQuickSave, &QAction::triggered, this, &TFormMain::MenuItemQuickSaveClick);
    connect(MenuItemQuickRestore, &QAction::triggered, this, &TFormMain::MenuItemQuickRestoreClick);
}

// --- The window's part of the record -------------------------------------------------------------

TPlayerRecord TFormMain::PlayerRecord(int player) const {
    TPlayerRecord record;
    record.Kind = Kind(player);
    record.Name = ToRecordText(NameLabel(player)->text());
    record.Colour = PlaysWhite(player) ? ColourWhite : ColourBlack;
    const TPlayerStatistik& clock = player == 1 ? ClockPlayer1 : ClockPlayer2;
    record.MoveCount = clock.MoveCount;
    record.TimePerMove = clock.TimePerMove;
    record.TotalTime = ClockTotal(clock.TotalTime);
    record.Status = ToRecordText(StatusLabel(player)->text());
    return record;
}

TGameRecord TFormMain::GameRecordOfWindow() const {
    TGameRecord record;
    record.Player1 = PlayerRecord(1);
    record.Player2 = PlayerRecord(2);
    TGameDataRecord& data = record.Data;
    data.Elo1 = PartieDaten.Player1Elo();
    data.Elo2 = PartieDaten.Player2Elo();
    data.Event = ToRecordText(PartieDaten.Event());
    data.Site = ToRecordText(PartieDaten.Site());
    data.Comments = ToRecordText(PartieDaten.Comments());
    data.Year = PartieDaten.Year();
    data.Month = PartieDaten.Month();
    data.Day = PartieDaten.Day();
    data.Round = PartieDaten.Round();
    data.ECO = ToRecordText(PartieDaten.ECO());
    data.Result = PartieDaten.Result();
    return record;
}

void TFormMain::ApplyPlayerRecord(int player, const TPlayerRecord& record) {
    NameLabel(player)->setText(FromRecordText(record.Name));
    KindCombo(player)->setCurrentIndex(record.Kind);
    TColorDisc* disc = player == 1 ? ShapeFarbeSpieler1 : ShapeFarbeSpieler2;
    disc->SetBrushColor(record.Colour == ColourBlack ? Qt::black : Qt::white);
    TPlayerStatistik& clock = Clock(player);
    clock.MoveCount = record.MoveCount;
    clock.TimePerMove = record.TimePerMove;
    clock.TotalTime = static_cast<quint32>(record.TotalTime);
    StatusLabel(player)->setText(FromRecordText(record.Status));
}

void TFormMain::ApplyGameData(const TGameRecord& record) {
    const TGameDataRecord& data = record.Data;
    PartieDaten.SetPlayer1Name(FromRecordText(record.Player1.Name));
    PartieDaten.SetPlayer2Name(FromRecordText(record.Player2.Name));
    PartieDaten.SetPlayer1Elo(data.Elo1);
    PartieDaten.SetPlayer2Elo(data.Elo2);
    PartieDaten.SetEvent(FromRecordText(data.Event));
    PartieDaten.SetSite(FromRecordText(data.Site));
    PartieDaten.SetComments(FromRecordText(data.Comments));
    PartieDaten.SetYear(data.Year);
    PartieDaten.SetMonth(data.Month);
    PartieDaten.SetDay(data.Day);
    PartieDaten.SetRound(data.Round);
    PartieDaten.SetECO(FromRecordText(data.ECO));
    PartieDaten.SetResult(data.Result);
}

// --- Saving ----------------------------------------------------------------------------------------

void TFormMain::SaveGameFile() {
    StopGame(false, false);
    const std::optional<QString> chosen =
        PromptSaveFileName(LoadLangString(5200, "Partie speichern"), {}, SaveFilter, GameFileExtension, this);
    if (!chosen) return;
    const QString fileName = GameFileName(*chosen);
    if (!ConfirmOverwrite(fileName, this)) return;
    QString reason;
    if (ChessBrd->SaveGame(fileName, GameRecordOfWindow(), &reason)) return;
    ReportSaveFailed(5202, GameNotSavedText, fileName, reason, this);
}

// --- Loading ---------------------------------------------------------------------------------------

void TFormMain::LoadGameFile(const QString& FileName) {
    StopGame(false, false);
    QString fileName = FileName;
    if (fileName.isEmpty()) {
        const std::optional<QString> chosen =
            PromptOpenFileName(LoadLangString(5201, "Partie laden"), {}, LoadFilter, this);
        if (!chosen) return;
        fileName = *chosen;
    }
    if (QFileInfo(fileName).suffix().compare("pgn", Qt::CaseInsensitive) == 0)
        OpenPgnFile(fileName);
    else if (IsTextFormatName(fileName))
        LoadTextGameFile(fileName);
    else
        LoadRecordFile(fileName);
}

// All or nothing: a file that does not pass leaves the game, the seats, the clocks and the game data
// as they were.
void TFormMain::LoadRecordFile(const QString& fileName) {
    const bool timerWasOn = TimerAktualisierung.isActive();
    TimerAktualisierung.stop();
    TGameRecord record;
    QString reason;
    if (!ChessBrd->LoadGame(fileName, record, &reason)) {
        if (timerWasOn) TimerAktualisierung.start();
        const QString text = LoadLangString(125, "Partie konnte nicht geladen werden.");
        ShowCenteredMessage(reason.isEmpty() ? text : text + "\r\r" + reason, TMsgDlgType::mtError, mbOK,
                            this);
        return;
    }
    RefreshMoveList();
    // A line without moves has no list line to go to: the board already shows its position.
    if (ListBoxZuege->count() > 0) {
        ListBoxZuege->setCurrentRow(ListBoxZuege->count() - 1);
        ListBoxZuegeClick();
    } else {
        AfterNavigation(true);
    }
    FFirstMovePending = ListBoxZuege->count() == 0;
    FRandomReady = true;
    ApplyPlayerRecord(1, record.Player1);
    ApplyPlayerRecord(2, record.Player2);
    ShowClocks();
    ShowMatchTime();
    FGameOver = record.Board.GameOver;
    SetControlState(FGameOver ? csGameEnd : csStopped);
    ApplyGameData(record);
    RecountPieceWindows();
}

// --- Quick save and quick restore ---------------------------------------------------------------------

void TFormMain::MenuItemQuickSaveClick() {
    StopGame(false, true);
    const QString description =
        InputBox(LoadLangString(3702, "Position speichern"),
                 LoadLangString(3703, "Geben Sie eine kurze Beschreibung ein:"), {}, this)
            .value_or(QString());
    const QString position = Quoted(ChessBrd->Position());
    bool written = true;
    if (IsValidSettingsKey(description)) {
        written = StorePosition(description, ChessBrd->Position());
    } else if (!description.trimmed().isEmpty()) {
        ReportRefusedPositionName(this);
    }
    written = WriteSetting("Game", "Position", position) && written;
    written = WriteSetting("Game", "WhiteToMove", ChessBrd->WhiteToMove()) && written;
    if (written)
        ShowInfoMessage(LoadLangString(128, "Aktuelle Position wurde gespeichert!"), this);
    else
        ReportSettingsNotSaved(this);
    ContinueGame(false);
}

void TFormMain::MenuItemQuickRestoreClick() {
    StopGame(false, true);
    if (ShowCenteredMessage(
            LoadLangString(130,
                           "Achtung, aktuelles Spiel geht verloren!\r\nZuletzt gespeicherte Position laden?"),
            TMsgDlgType::mtConfirmation, mbYes | mbNo, this) != mrYes)
        return;
    const QString position = ReadSetting("Game", "Position", "");
    if (position.isEmpty()) {
        ShowCenteredMessage(LoadLangString(129, "Keine gespeicherte Position gefunden!"),
                            TMsgDlgType::mtInformation, mbOK, this);
        return;
    }
    StartNewGame(true);
    ChessBrd->SetPosition(position.toStdString());
    ChessBrd->SetWhiteToMove(ReadSetting("Game", "WhiteToMove", true));
    ChessBrd->StartLine();
    RefreshMoveList();
    RecountPieceWindows();
}

// --- The older text format --------------------------------------------------------------------------

void TFormMain::LoadTextGameFile(const QString& fileName) {
    const TMessageWindow loading(LoadLangString(135, " Partie wird geladen... "), this);
    TTextGame game;
    // A file of an old version is read as far as its version, which ApplyTextGame refuses with its message.
    if (ReadTextGameFile(fileName, game) != TTextGameStatus::Unreadable) return ApplyTextGame(game);
    ShowCenteredMessage(LoadLangString(125, "Partie konnte nicht geladen werden."), TMsgDlgType::mtError,
                        mbOK, this);
}

// Plays a text-format game into the window. Sounds, speech and message boxes are off meanwhile.
void TFormMain::ApplyTextGame(const TTextGame& game) {
    StopGame(false, false);
    TSettings& s = Settings();
    const bool sound = s.PlaySound, speech = s.PlaySp, messages = s.ShowMessages;
    s.PlaySound = s.PlaySp = s.ShowMessages = false;
    const auto restore = qScopeGuard([&] {
        FReplaying = false;
        s.PlaySound = sound;
        s.PlaySp = speech;
        s.ShowMessages = messages;
    });
    FReplaying = true;
    StartNewGame(true);
    if (!IsReadableTextGameVersion(game.Version)) {
        ShowCenteredMessage(
            LoadLangString(127, "Die Datei ist mit einer alten Version von %s\rerstellt worden. Die "
                                "aktuelle Version ist nicht mehr mit dem\rFormat alter Versionen "
                                "kompatibel.")
                .replace("%s", "TESSARON"),
            TMsgDlgType::mtError, mbOK, this);
        return;
    }
    ApplyTextGameStart(*ChessBrd, game);
    ChessBrd->StartLine();
    ApplyTextSeat(1, game.Player1);
    ApplyTextSeat(2, game.Player2);
    ChessBrd->SetComputerPlaysWhite(false);
    ChessBrd->SetComputerPlaysBlack(false);
    ChessBrd->SetAnimateMoves(false);
    const int skipped = ReplayTextMoves(game.Moves);
    ChessBrd->SetAnimateMoves(s.AnimateMoves);
    StopGame(false, false);
    // The moves decide who is to move; only a game without any takes the file's word for it.
    const bool noMoves = ChessBrd->FirstMoveNumber() == ChessBrd->LastMoveNumber() &&
                         ChessBrd->FirstSideWhite() == ChessBrd->LastSideWhite();
    if (noMoves && ChessBrd->WhiteToMove() != game.WhiteToMove) {
        ChessBrd->SetWhiteToMove(game.WhiteToMove);
        ChessBrd->StartLine();
        RefreshMoveList();
    }
    ChessBrd->SetWhiteOnTop(game.WhiteOnTop);
    RecountPieceWindows();
    ClockPlayer1 = game.Player1.Clock;
    ClockPlayer2 = game.Player2.Clock;
    ShowClocks();
    ShowMatchTime();
    SetLevel(game.Level);
    FGameOver = game.End;
    if (FGameOver) TimerAktualisierung.stop();
    QString loaded = LoadLangString(124, "Partie wurde geladen");
    if (skipped > 0)
        loaded += "\r\r" +
                  LoadLangString(5204, "%d Züge der Datei wurden übersprungen, weil sie nicht erlaubt sind.")
                      .replace("%d", QString::number(skipped));
    ShowInfoMessage(loaded, this);
}

void TFormMain::ApplyTextSeat(int player, const TTextGamePlayer& seat) {
    const QString& name = seat.Name;
    NameLabel(player)->setText(name);
    KindCombo(player)->setCurrentIndex(std::clamp(seat.Kind, int(pkMensch), int(pkZufall)));
    TColorDisc* disc = player == 1 ? ShapeFarbeSpieler1 : ShapeFarbeSpieler2;
    disc->SetBrushColor(seat.Black ? Qt::black : Qt::white);
    KindChanged(player);
    (player == 1 ? PartieDaten.SetPlayer1Name(name.left(TPartieDaten::NameCapacity))
                 : PartieDaten.SetPlayer2Name(name.left(TPartieDaten::NameCapacity)));
}

// The moves the rules refuse are skipped; once the history is full the rest are left out as well.
int TFormMain::ReplayTextMoves(const std::vector<TMoveSquares>& moves) {
    const TReplayResult replayed = ReplayMoves(*ChessBrd, moves);
    RefreshMoveList();
    return replayed.Refused + replayed.Unplayed;
}
