#include "UnitFormLogbook.h"

#include "ChessThread.h"
#include "FileSaving.h"
#include "Logbook.h"
#include "UnitDialogFunctions.h"
#include "UnitFormMain.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QVBoxLayout>

TFormLogbook* FormLogbook = nullptr;

namespace {

constexpr int GameModePanelWidth = 100;
constexpr int ThinkingPanelWidth = 200;
constexpr auto LogFilter = "Textdateien (*.txt)|*.txt|Alle Dateien (*.*)|*.*";

// A caption is not a menu item: the accelerator mark of the shared text goes.
QString WithoutAccelerator(QString text) {
    return text.replace("&&", "\x01").remove('&').replace('\x01', '&');
}

} // namespace

TFormLogbook::TFormLogbook(TLogbook& logbook, std::atomic<bool>& showOnlyFirstMove, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), FLogbook(logbook),
      FShowOnlyFirstMove(showOnlyFirstMove) {
    setObjectName("FormLogbook");
    setWindowTitle("Spielinformationen (Logbuch)");
    resize(DesignSize);
    MemoLog = new QPlainTextEdit(this);
    MemoLog->setObjectName("MemoLog");
    MemoLog->setReadOnly(true);
    MemoLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (const QString& line : FLogbook.Lines())
        MemoLog->appendPlainText(line);
    CreateStatusBar();
    CreateLogMenu();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MemoLog, 1);
    layout->addWidget(StatusBar);

    connect(&FLogbook, &TLogbook::LineAdded, MemoLog, &QPlainTextEdit::appendPlainText);
    connect(&FLogbook, &TLogbook::Cleared, MemoLog, &QPlainTextEdit::clear);
    connect(&FLogbook, &TLogbook::StatusChanged, this, &TFormLogbook::ShowStatus);
}

void TFormLogbook::CreateStatusBar() {
    StatusBar = new QStatusBar(this);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(true);
    PanelGameMode = new QLabel(StatusBar);
    PanelGameMode->setObjectName("PanelGameMode");
    PanelGameMode->setMinimumWidth(GameModePanelWidth);
    PanelThinking = new QLabel(StatusBar);
    PanelThinking->setObjectName("PanelThinking");
    PanelThinking->setMinimumWidth(ThinkingPanelWidth);
    StatusBar->addWidget(PanelGameMode);
    StatusBar->addWidget(PanelThinking, 1);

    PopupMenuStatusBar = new QMenu(this);
    PopupMenuStatusBar->setObjectName("PopupMenuStatusBar");
    MenuItemShowOnlyFirstMove = PopupMenuStatusBar->addAction("für Analyse nur ersten Zug anzeigen");
    MenuItemShowOnlyFirstMove->setObjectName("MenuItemShowOnlyFirstMove");
    MenuItemShowOnlyFirstMove->setProperty("Tag", 4401);
    MenuItemShowOnlyFirstMove->setCheckable(true);
    connect(MenuItemShowOnlyFirstMove, &QAction::triggered, this,
            &TFormLogbook::MenuItemShowOnlyFirstMoveClick);
    StatusBar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(StatusBar, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuStatusBar->popup(StatusBar->mapToGlobal(at)); });
}

void TFormLogbook::CreateLogMenu() {
    PopupMenuLog = new QMenu(this);
    PopupMenuLog->setObjectName("PopupMenuLog");
    MenuItemSaveLog = PopupMenuLog->addAction("Logbuch &speichern...");
    MenuItemSaveLog->setObjectName("MenuItemSaveLog");
    MenuItemSaveLog->setProperty("Tag", 5400);
    MenuItemClearLog = PopupMenuLog->addAction("Logbuch &leeren");
    MenuItemClearLog->setObjectName("MenuItemClearLog");
    MenuItemClearLog->setProperty("Tag", 5401);
    connect(MenuItemSaveLog, &QAction::triggered, this, &TFormLogbook::MenuItemSaveLogClick);
    connect(MenuItemClearLog, &QAction::triggered, &FLogbook, &TLogbook::Clear);
    MemoLog->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(MemoLog, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenuLog->popup(MemoLog->mapToGlobal(at)); });
}

void TFormLogbook::MenuItemShowOnlyFirstMoveClick() {
    FShowOnlyFirstMove.store(MenuItemShowOnlyFirstMove->isChecked());
}

// The lines as the window shows them, one per text line.
void TFormLogbook::MenuItemSaveLogClick() {
    const std::optional<QString> fileName =
        PromptSaveFileName(LoadLangString(5402, "Logbuch speichern"), {}, LogFilter, "txt", this);
    if (!fileName) return;
    const QStringList lines = FLogbook.Lines();
    const QByteArray text = lines.isEmpty() ? QByteArray() : (lines.join('\n') + '\n').toUtf8();
    if (SaveFileWhole(*fileName, text)) return;
    ShowCenteredMessage(LoadLangString(5403, "Das Logbuch konnte nicht in %s gespeichert werden.")
                            .replace("%s", QDir::toNativeSeparators(*fileName)),
                        TMsgDlgType::mtError, mbOK, this);
}

void TFormLogbook::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormShow();
}

void TFormLogbook::FormShow() {
    TranslateWindow(this);
    setWindowTitle(WithoutAccelerator(LoadLangString(4400, "Spiel&informationen (Analyse/Logbuch)")));
    FLogbook.ClearThinkingStatus();
    FLogbook.UpdateGameMode(Settings().GameModus);
    ShowStatus();
}

void TFormLogbook::ShowStatus() {
    PanelGameMode->setText(FLogbook.GameModeText());
    PanelThinking->setText(FLogbook.ThinkingStatus());
}

void TFormLogbook::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    Q_EMIT Closed();
}

TFormLogbook* NewFormLogbook(TFormMain& owner) {
    return new TFormLogbook(*owner.Logbook, owner.ChessBrd->Engine()->Control().ShowOnlyFirstMove, &owner);
}
