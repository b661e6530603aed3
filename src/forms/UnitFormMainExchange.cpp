// Positions and games exchanged with other programs: the position as FEN to and from the clipboard,
// the game as PGN to a file or the clipboard, games read from PGN files and the clipboard, and the
// move list in standard notation.

#include "FileSaving.h"
#include "FormWidgets.h"
#include "GameLine.h"
#include "GameRecord.h"
#include "Pgn.h"
#include "UnitDialogFunctions.h"
#include "UnitFormMain.h"
#include "UnitFormPgnGames.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "Windows1252.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStringDecoder>

namespace {

constexpr auto PgnExtension = "pgn";
constexpr auto PgnFilter = "PGN (*.pgn)|*.pgn;*.PGN";
constexpr auto SanSettingSection = "Common";
constexpr auto SanSettingKey = "MoveListSAN";
// A game file of this size is far beyond any collection a person opens to pick one game from.
constexpr qint64 LargestPgnFile = 256LL * 1024 * 1024;
constexpr int UnknownValue = 0;
// As much of a refused clipboard text as a message shows.
constexpr int ShownTextLength = 120;

QString Unknown(const QString& text) {
    return text.isEmpty() ? "?" : text;
}
QString Known(const std::string& text) {
    const QString value = QString::fromStdString(text).trimmed();
    return value == "?" || value == "-" ? QString() : value;
}

QString DateTag(int year, int month, int day) {
    auto part = [](int value, int width) {
        return value > UnknownValue ? QString::number(value).rightJustified(width, '0') : QString(width, '?');
    };
    return part(year, 4) + '.' + part(month, 2) + '.' + part(day, 2);
}

int DatePart(const QString& date, int index) {
    return date.section('.', index, index).toInt();
}

// Text of either code page other programs write: UTF-8 when it is valid, Windows-1252 otherwise.
QString DecodeGameText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text;
    return DecodeWindows1252(bytes);
}

} // namespace

void TFormMain::CreateExchangeActions(QMenu* file, QMenu* functions, QMenu* view) {
    FSanBoard = std::make_shared<TSanBoard>();
    MenuItemImportPgn = NewAction("MenuItemImportPgn", "PGN-Datei &importieren...", 5650);
    MenuItemExportPgn = NewAction("MenuItemExportPgn", "Partie als PGN e&xportieren...", 5651);
    MenuItemCopyFen =
        NewAction("MenuItemCopyFen", "Position als FEN kopieren", 5652, QKeySequence("Ctrl+Shift+C"));
    MenuItemPasteFen =
        NewAction("MenuItemPasteFen", "FEN einfügen (neue Partie)", 5653, QKeySequence("Ctrl+Shift+V"));
    MenuItemCopyPgn = NewAction("MenuItemCopyPgn", "Partie als PGN kopieren", 5654);
    MenuItemPastePgn = NewAction("MenuItemPastePgn", "PGN einfügen", 5655);
    MenuItemSanMoveList = NewAction("MenuItemSanMoveList", "Züge in Standardnotation (Nf3)", 5656);
    MenuItemSanMoveList->setCheckable(true);
    FSanMoveList = ReadSetting(SanSettingSection, SanSettingKey, false);
    MenuItemSanMoveList->setChecked(FSanMoveList);
    file->insertActions(MenuItemBeenden, {MenuItemImportPgn, MenuItemExportPgn});
    file->insertSeparator(MenuItemBeenden);
    functions->addSeparator();
    functions->addActions({MenuItemCopyFen, MenuItemPasteFen, MenuItemCopyPgn, MenuItemPastePgn});
    view->addSeparator();
    view->addAction(MenuItemSanMoveList);
    connect(MenuItemImportPgn, &QAction::triggered, this, &TFormMain::ImportPgnFile);
    connect(MenuItemExportPgn, &QAction::triggered, this, &TFormMain::ExportPgnFile);
    connect(MenuItemCopyFen, &QAction::triggered, this, &TFormMain::CopyFenToClipboard);
    connect(MenuItemPasteFen, &QAction::triggered, this, &TFormMain::PasteFenFromClipboard);
    connect(MenuItemCopyPgn, &QAction::triggered, this, &TFormMain::CopyPgnToClipboard);
    connect(MenuItemPastePgn, &QAction::triggered, this, &TFormMain::PastePgnFromClipboard);
    connect(MenuItemSanMoveList, &QAction::triggered, this, [this](bool on) {
        WriteSetting(SanSettingSection, SanSettingKey, on);
        SetSanMoveList(on);
    });
    ChoosePgnGame = [this](const std::vector<TPgnGame>& games) { return TFormPgnGames(this).Choose(games); };
}

void TFormMain::SetSanMoveList(bool on) {
    FSanMoveList = on;
    MenuItemSanMoveList->setChecked(on);
    const int selected = ListBoxZuege->currentRow();
    RefreshMoveList();
    if (selected >= 0 && selected < ListBoxZuege->count()) ListBoxZuege->setCurrentRow(selected);
}

// --- FEN ---------------------------------------------------------------------------------------------

void TFormMain::CopyFenToClipboard() {
    QApplication::clipboard()->setText(QString::fromStdString(WriteFen(CurrentFenPosition(*ChessBrd))));
}

void TFormMain::PasteFenFromClipboard() {
    SetUpFromFen(QApplication::clipboard()->text());
}

bool TFormMain::SetUpFromFen(const QString& fen) {
    StopGame(false, true);
    TFenPosition position;
    std::string error;
    if (!ReadFen(fen.simplified().toStdString(), position, error) ||
        !(error = SetUpProblem(position.Snapshot)).empty()) {
        ShowCenteredMessage(LoadLangString(5663, "Das ist keine spielbare Stellung in FEN:\r%s\r\r%e")
                                .replace("%s", fen.left(ShownTextLength))
                                .replace("%e", QString::fromStdString(error)),
                            TMsgDlgType::mtError, mbOK, this);
        return false;
    }
    // As a restored position: a new game whose line begins at the position, black to move or not.
    StartNewGame(true);
    SetUpLine(*ChessBrd, position);
    RefreshMoveList();
    return true;
}

// --- PGN export --------------------------------------------------------------------------------------

QString TFormMain::GamePgn() const {
    const int white = PlaysWhite(1) ? 1 : 2;
    auto name = [this](int player) {
        const QString data = player == 1 ? PartieDaten.Player1Name() : PartieDaten.Player2Name();
        return Unknown(data.isEmpty() ? NameLabel(player)->text() : data);
    };
    auto elo = [this](int player) {
        return player == 1 ? PartieDaten.Player1Elo() : PartieDaten.Player2Elo();
    };
    QString result = "*";
    if (PartieDaten.Result() == TPartieDaten::ResultDraw)
        result = "1/2-1/2";
    else if (PartieDaten.Result() == TPartieDaten::ResultPlayer1Wins)
        result = white == 1 ? "1-0" : "0-1";
    else if (PartieDaten.Result() == TPartieDaten::ResultPlayer2Wins)
        result = white == 2 ? "1-0" : "0-1";
    std::vector<std::pair<QString, QString>> tags = {
        {"Event", Unknown(PartieDaten.Event())},
        {"Site", Unknown(PartieDaten.Site())},
        {"Date", DateTag(PartieDaten.Year(), PartieDaten.Month(), PartieDaten.Day())},
        {"Round", PartieDaten.Round() > UnknownValue ? QString::number(PartieDaten.Round()) : "?"},
        {"White", name(white)},
        {"Black", name(3 - white)},
        {"Result", result}};
    if (!PartieDaten.ECO().isEmpty()) tags.emplace_back("ECO", PartieDaten.ECO());
    if (elo(white) > UnknownValue) tags.emplace_back("WhiteElo", QString::number(elo(white)));
    if (elo(3 - white) > UnknownValue) tags.emplace_back("BlackElo", QString::number(elo(3 - white)));
    std::vector<TPgnTag> pgnTags;
    for (const auto& [tagName, value] : tags)
        pgnTags.push_back({tagName.toStdString(), value.toStdString()});
    TPgnLine line{LineStart(*ChessBrd), {}};
    for (const TLineMove& move : LineMoves(*ChessBrd))
        line.Moves.push_back(move.Move);
    return QString::fromStdString(
        WritePgn(pgnTags, line, result.toStdString(), PartieDaten.Comments().toStdString(), *FSanBoard));
}

void TFormMain::ExportPgnFile() {
    StopGame(false, false);
    const std::optional<QString> chosen = PromptSaveFileName(
        LoadLangString(5664, "Partie als PGN exportieren"), {}, PgnFilter, PgnExtension, this);
    if (!chosen) return;
    if (!ConfirmOverwrite(*chosen, this)) return;
    QString reason;
    if (!SaveFileWhole(*chosen, GamePgn().toUtf8(), &reason))
        ReportSaveFailed(5202, GameNotSavedText, *chosen, reason, this);
}

void TFormMain::CopyPgnToClipboard() {
    QApplication::clipboard()->setText(GamePgn());
}

// --- PGN import --------------------------------------------------------------------------------------

void TFormMain::ImportPgnFile() {
    StopGame(false, false);
    const std::optional<QString> chosen =
        PromptOpenFileName(LoadLangString(5665, "PGN-Datei importieren"), {}, PgnFilter, this);
    if (chosen) OpenPgnFile(*chosen);
}

void TFormMain::PastePgnFromClipboard() {
    StopGame(false, false);
    LoadPgnText(QApplication::clipboard()->text().toUtf8());
}

bool TFormMain::OpenPgnFile(const QString& fileName) {
    StopGame(false, false);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > LargestPgnFile) {
        ShowCenteredMessage(
            LoadLangString(5666, "Die Datei %s konnte nicht gelesen werden.").replace("%s", fileName) +
                "\r\r" + file.errorString(),
            TMsgDlgType::mtError, mbOK, this);
        return false;
    }
    return LoadPgnText(file.readAll());
}

bool TFormMain::LoadPgnText(const QByteArray& bytes) {
    const std::vector<TPgnGame> games = ReadPgn(DecodeGameText(bytes).toStdString());
    if (games.empty()) {
        ShowCenteredMessage(LoadLangString(5667, "Hier ist keine Partie in PGN zu finden."),
                            TMsgDlgType::mtError, mbOK, this);
        return false;
    }
    const int chosen = games.size() == 1 ? 0 : ChoosePgnGame(games);
    if (chosen < 0 || chosen >= static_cast<int>(games.size())) return false;
    return ApplyPgnGame(games[static_cast<size_t>(chosen)], chosen + 1);
}

void TFormMain::ShowPgnProblem(const TPgnGame& game, int number, const QString& problem) {
    const QString title = LoadLangString(5668, "Partie %d (%w - %b) kann nicht geladen werden:")
                              .replace("%d", QString::number(number))
                              .replace("%w", Unknown(QString::fromStdString(game.Tag("White"))))
                              .replace("%b", Unknown(QString::fromStdString(game.Tag("Black"))));
    ShowCenteredMessage(title + "\r" + problem, TMsgDlgType::mtError, mbOK, this);
}

// The rules have the last word: a game that went on after a threefold repetition, or beyond the
// history's last move, cannot be played on this board.
bool TFormMain::PgnLineFitsRules(const TPgnGame& game, int number, const TPgnLine& line, TChessRules& rules) {
    SetUpLine(rules, line.Start);
    for (size_t i = 0; i < line.Moves.size(); ++i) {
        const TChessMove& move = line.Moves[i];
        const bool white = rules.WhiteToMove();
        const int moveNumber = rules.CurrentMove();
        if (!rules.HistoryFull() &&
            rules.MakeMove(move.From, move.To, move.Promotion != 0 ? move.Promotion : 'q'))
            continue;
        ShowPgnProblem(
            game, number,
            LoadLangString(5669, "Zug %m (%z) ist auf diesem Brett nicht möglich: nach einer dreifachen "
                                 "Stellungswiederholung oder nach dem 256. Zug geht keine Partie weiter.")
                .replace("%m", QString::number(moveNumber) + (white ? "." : "..."))
                .replace("%z", QString::fromStdString(game.Moves[i])));
        return false;
    }
    return true;
}

bool TFormMain::ApplyPgnGame(const TPgnGame& game, int number) {
    TPgnLine line;
    TPgnProblem problem;
    if (!ReplayPgnGame(game, *FSanBoard, line, problem)) {
        QString text;
        if (!problem.Reason.empty())
            text = LoadLangString(5670, "Die Anfangsstellung (FEN) ist nicht spielbar: %s")
                       .replace("%s", QString::fromStdString(problem.Reason));
        else
            text =
                LoadLangString(problem.Fault == TSanFault::Illegal     ? 5671
                               : problem.Fault == TSanFault::Ambiguous ? 5672
                                                                       : 5673,
                               problem.Fault == TSanFault::Illegal     ? "Zug %m (%z) ist nicht erlaubt."
                               : problem.Fault == TSanFault::Ambiguous ? "Zug %m (%z) ist mehrdeutig."
                                                                       : "Zug %m (%z) ist nicht lesbar.")
                    .replace("%m", QString::number(problem.MoveNumber) + (problem.WhiteMoves ? "." : "..."))
                    .replace("%z", QString::fromStdString(problem.MoveText));
        ShowPgnProblem(game, number, text);
        return false;
    }
    TChessRules rules;
    if (!PgnLineFitsRules(game, number, line, rules)) return false;
    // Only a game that replays to its end replaces the current one.
    StartNewGame(false);
    StopGame(false, false);
    TBoardRecord record;
    rules.StoreGameFields(record);
    ChessBrd->LoadGameFields(record);
    RefreshMoveList();
    if (ListBoxZuege->count() > 0) {
        ListBoxZuege->setCurrentRow(ListBoxZuege->count() - 1);
        ListBoxZuegeClick();
    }
    FFirstMovePending = ListBoxZuege->count() == 0;
    FRandomReady = true;
    ApplyPgnGameData(game);
    FGameOver = !ChessBrd->HasLegalMove();
    SetControlState(FGameOver ? csGameEnd : csStopped);
    return true;
}

void TFormMain::ApplyPgnGameData(const TPgnGame& game) {
    const int white = PlaysWhite(1) ? 1 : 2;
    for (const auto& [player, tag] : {std::pair{white, "White"}, std::pair{3 - white, "Black"}}) {
        const QString name = Known(game.Tag(tag));
        if (!name.isEmpty()) NameLabel(player)->setText(name.left(TPartieDaten::NameCapacity));
    }
    PartieDaten.SetPlayer1Name(LabelSpieler1->text());
    PartieDaten.SetPlayer2Name(LabelSpieler2->text());
    const int whiteElo = Known(game.Tag("WhiteElo")).toInt(), blackElo = Known(game.Tag("BlackElo")).toInt();
    PartieDaten.SetPlayer1Elo(white == 1 ? whiteElo : blackElo);
    PartieDaten.SetPlayer2Elo(white == 1 ? blackElo : whiteElo);
    PartieDaten.SetEvent(Known(game.Tag("Event")));
    PartieDaten.SetSite(Known(game.Tag("Site")));
    PartieDaten.SetComments(QString::fromStdString(game.Comment));
    const QString date = QString::fromStdString(game.Tag("Date"));
    PartieDaten.SetYear(DatePart(date, 0));
    PartieDaten.SetMonth(DatePart(date, 1));
    PartieDaten.SetDay(DatePart(date, 2));
    PartieDaten.SetRound(std::max(UnknownValue, Known(game.Tag("Round")).toInt()));
    PartieDaten.SetECO(Known(game.Tag("ECO")));
    const std::string result = game.Result.empty() ? game.Tag("Result") : game.Result;
    const int whiteWins = white == 1 ? TPartieDaten::ResultPlayer1Wins : TPartieDaten::ResultPlayer2Wins;
    const int blackWins = white == 1 ? TPartieDaten::ResultPlayer2Wins : TPartieDaten::ResultPlayer1Wins;
    PartieDaten.SetResult(result == "1-0"       ? whiteWins
                          : result == "0-1"     ? blackWins
                          : result == "1/2-1/2" ? TPartieDaten::ResultDraw
                                                : TPartieDaten::ResultNone);
}
