// The main window's smaller board functions: turning the board, exchanging the colours, renaming
// the players, the side windows, pictures of the position, the tips at start and the unattended
// test mode in which the engine plays game after game against itself.

#include "FormWidgets.h"
#include "PositionPicture.h"
#include "UnitDialogFunctions.h"
#include "UnitFormMain.h"
#include "UnitFormTips.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"
#include "UnitSound.h"

#include <QAction>
#include <QLabel>
#include <QMouseEvent>

namespace {

constexpr int MaxPlayerNameLength = 50; // what the game data keep of a name
constexpr auto CameraSound = "SOUND\\KAMERA.WAV";
constexpr auto PictureFilter = "Bitmaps (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|PNG (*.png)|*.png";
constexpr auto PictureDefaultExtension = "bmp";
// The test mode climbs the levels up to this depth, then starts again at level 1.
constexpr int AutoplayHighestDepth = 5;
constexpr int AutoplayFirstLevel = 1;

QString WithoutAccelerator(QString caption) {
    return caption.remove('&');
}

} // namespace

void TFormMain::ConnectBoardFunctions() {
    connect(MenuItemChangeSite, &QAction::triggered, this, &TFormMain::MenuItemChangeSiteClick);
    connect(MenuItemChangeColor, &QAction::triggered, this, &TFormMain::MenuItemChangeColorClick);
    connect(MenuItemChangeAll, &QAction::triggered, this, &TFormMain::MenuItemChangeAllClick);
    connect(MenuItemSavePosAsGraphic, &QAction::triggered, this,
            [this] { SavePositionPicture(TPictureTarget::File); });
    connect(AktuellePositionindieZwischenablagealsGrafikkopieren1, &QAction::triggered, this,
            [this] { SavePositionPicture(TPictureTarget::Clipboard); });
    connect(MenuItemTips, &QAction::triggered, this, &TFormMain::MenuItemTipsClick);
    LabelSpieler1->installEventFilter(this);
    LabelSpieler2->installEventFilter(this);
}

// A click on a player's name renames the player.
bool TFormMain::IsNameLabelClick(QObject* watched, QEvent* event) const {
    if (event->type() != QEvent::MouseButtonRelease || (watched != LabelSpieler1 && watched != LabelSpieler2))
        return false;
    return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
}

void TFormMain::MenuItemChangeSiteClick() {
    ChessBrd->SetWhiteOnTop(!ChessBrd->WhiteOnTop());
}

// Each player keeps his kind, so the engine moves the other colour from now on; nothing is started.
void TFormMain::MenuItemChangeColorClick() {
    const bool engineWasWhite = ChessBrd->ComputerPlaysWhite();
    ChessBrd->SetComputerPlaysWhite(ChessBrd->ComputerPlaysBlack());
    ChessBrd->SetComputerPlaysBlack(engineWasWhite);
    const bool player1WasWhite = PlaysWhite(1);
    ShapeFarbeSpieler1->SetBrushColor(player1WasWhite ? Qt::black : Qt::white);
    ShapeFarbeSpieler2->SetBrushColor(player1WasWhite ? Qt::white : Qt::black);
}

void TFormMain::MenuItemChangeAllClick() {
    MenuItemChangeSiteClick();
    MenuItemChangeColorClick();
}

// The game goes on while the name is asked for.
void TFormMain::RenamePlayer(int player) {
    const QString prompt = player == 1 ? LoadLangString(114, "Geben Sie den Namen für Spieler 1 ein:")
                                       : LoadLangString(115, "Geben Sie den Namen für Spieler 2 ein:");
    const std::optional<QString> answer =
        InputBox(LoadLangString(113, "Spielernamen ändern"), prompt, NameLabel(player)->text(), this);
    if (!answer || answer->isEmpty()) return;
    NameLabel(player)->setText(*answer);
    if (player == 1)
        PartieDaten.SetPlayer1Name(answer->left(MaxPlayerNameLength));
    else
        PartieDaten.SetPlayer2Name(answer->left(MaxPlayerNameLength));
}

// The picture is the board's own image, so it is whole even where the window shows only part of the
// board; the margin takes the colour of the panel around the board.
void TFormMain::SavePositionPicture(TPictureTarget mode) {
    PlayWave(CameraSound, true);
    ProcessMessages(); // the board finishes painting what the last move changed
    const QImage picture = PositionPicture(*ChessBrd, PanelChessBoard->palette().color(QPalette::Window));
    const int quality = Settings().JpegQuality;
    if (mode == TPictureTarget::Clipboard) {
        CopyPictureToClipboard(picture, Settings().BrdSnapshotFormat, quality);
        return;
    }
    StopGame(false, false);
    const std::optional<QString> fileName =
        PromptSaveFileName(WithoutAccelerator(MenuItemSavePosAsGraphic->text()), {}, PictureFilter,
                           PictureDefaultExtension, this);
    if (!fileName || !ConfirmOverwrite(*fileName, this)) return;
    QString reason;
    if (!SavePictureFile(*fileName, picture, quality, &reason))
        ReportSaveFailed(5600,
                         "Das Bild konnte nicht in %s gespeichert werden. Eine Datei, die dort schon war, "
                         "ist unverändert geblieben.",
                         *fileName, reason, this);
}

void TFormMain::MenuItemTipsClick() {
    StopGame(false, false);
    if (FormTips) FormTips->exec();
}

void TFormMain::ShowTipsAtStart() {
    if (Settings().ShowTips && FormTips) FormTips->exec();
}

// Called once a game has ended by mate or draw; the next game starts from a queued call, after the
// events of the last move have all been handled.
void TFormMain::QueueAutoplayNext() {
    if (Settings().Autoplay) QTimer::singleShot(0, this, &TFormMain::AutoplayNext);
}

void TFormMain::AutoplayNext() {
    TSettings& s = Settings();
    if (!s.Autoplay) return;
    ++s.PlayedAutoGames;
    WriteSetting("Test", "PlayedAutoGames", s.PlayedAutoGames);
    if (s.ChangeLevel) {
        const int depth = ChessBrd->SearchDepth();
        SetLevel(depth > AutoplayHighestDepth ? AutoplayFirstLevel : depth + 1);
    }
    StartNewGame(true);
    ChessBrd->StopThinking();
    if (SideToMoveIs(pkComputer)) PlayFirstEngineMove();
    ContinueGame(false);
}
