// The main window's construction: actions and menus, tool bar, board panel, button panel and the
// statistics panel, then the settings that shape them. Game flow, board events and navigation live
// in the files beside this one.

#include "UnitFormMain.h"

#include "FormWidgets.h"
#include "Logbook.h"
#include "UnitDialogFunctions.h"
#include "UnitFormAnzeigeFigurenImSpiel.h"
#include "UnitFormAnzeigeGeschlageneFiguren.h"
#include "UnitFormBoardSettings.h"
#include "UnitFormChangePieceSet.h"
#include "UnitFormOptionen.h"
#include "UnitFormPromotion.h"
#include "UnitFormSelectLanguage.h"
#include "UnitFormSetPosition.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitPieceGraphics.h"
#include "UnitSettings.h"
#include "UnitSound.h"
#include "UnitSpeech.h"
#include "WindowPlacement.h"

#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <utility>

TFormMain* FormMain = nullptr;

namespace {

constexpr auto ProductName = "TESSARON";
constexpr int StatisticsPanelWidth = 261;
constexpr int DefaultWidth = 980;
constexpr int DefaultHeight = 720;
// Smaller than this the window shows too little of the game to be of use.
constexpr QSize SmallestWindowSize(480, 360);
constexpr int RefreshIntervalMs = 250;
constexpr int CalcDisplayIntervalMs = 500;
constexpr int InitialSearchDepth = 3;
constexpr int MasterBaseDepth = 5;
constexpr auto PieceGraphicsFile = "data\\tessaronstd.gfx";

QLabel* TimePanel(QWidget* parent, const QString& name, int tag) {
    auto* panel = new QLabel("00:00:00", parent);
    panel->setObjectName(name);
    panel->setProperty("Tag", tag);
    panel->setAlignment(Qt::AlignCenter);
    panel->setFrameShape(QFrame::Panel);
    return panel;
}

QLabel* Caption(QWidget* parent, const QString& text, int tag) {
    auto* label = new QLabel(text, parent);
    label->setProperty("Tag", tag);
    return label;
}

} // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent), FRandom(std::random_device{}()) {
    setObjectName("FormMain");
    setWindowTitle(ProductName);
    Logbook = new TLogbook(this);
    SetSilenceReporter([this](const QString& cause) { Logbook->AddLine(cause); });
    SetPieceGraphicsPath(PieceGraphicsFile);
    AskPromotionPiece = [this] { return FormPromotion ? FormPromotion->Ask(ChessBrd->WhiteToMove()) : 5; };
    CreateActions();
    CreateMenus();
    CreateToolBar();

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    columns->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    CreateBoardPanel();
    CreateButtonPanel();
    left->addWidget(PanelChessBoard, 1);
    left->addWidget(PanelButtons);
    columns->addLayout(left, 1);
    CreateStatisticsPanel();
    columns->addWidget(PanelStatistics);
    setCentralWidget(central);

    TimerAktualisierung.setInterval(RefreshIntervalMs);
    TimerCalc.setInterval(CalcDisplayIntervalMs);
    connect(&TimerAktualisierung, &QTimer::timeout, this, &TFormMain::TimerAktualisierungTimer);
    connect(&TimerCalc, &QTimer::timeout, this, &TFormMain::TimerCalcTimer);
    ConnectBoardEvents();
    ConnectBoardFunctions();
    resize(DefaultWidth, DefaultHeight);
    ReadSettings();
    MusikPlayer = CreateMusikPlayer(this);
    SetControlState(csInitial);
}

TFormMain::~TFormMain() {
    SetSilenceReporter({});
    TimerAktualisierung.stop();
    TimerCalc.stop();
}

QAction* TFormMain::NewAction(const QString& name, const QString& caption, int tag, const QKeySequence& shortcut) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    if (tag != 0) action->setProperty("Tag", tag);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

void TFormMain::CreateActions() {
    MenuItemLaden = NewAction("MenuItemLaden", "&Laden", 1003, QKeySequence("Ctrl+L"));
    MenuItemSpeichern = NewAction("MenuItemSpeichern", "&Speichern", 1004, QKeySequence("Ctrl+S"));
    MenuItemOptMisc = NewAction("MenuItemOptMisc", "&Verschiedenes", 1007);
    MenuItemBoardSettings = NewAction("MenuItemBoardSettings", "&Schachbrett", 1008);
    MenuItemChangePieceSet = NewAction("MenuItemChangePieceSet", "Figurensatz &wechseln", 1308);
    MenuItemBeenden = NewAction("MenuItemBeenden", "&Beenden", 1006, QKeySequence("Ctrl+B"));
    MenuItemNewGame = NewAction("MenuItemNewGame", "&Neues Spiel", 2006, QKeySequence("Ctrl+N"));
    MenuItemContinue = NewAction("MenuItemContinue", "&Weiter", 2004, QKeySequence("Ctrl+W"));
    MenuItemStop = NewAction("MenuItemStop", "S&top", 2003, QKeySequence("Ctrl+T"));
    MenuItemBack = NewAction("MenuItemBack", "Zug &zurück", 2001, QKeySequence("Ctrl+Z"));
    MenuItemNext = NewAction("MenuItemNext", "Zug &vor", 2002, QKeySequence("Ctrl+V"));
    MenuItemHelpMe = NewAction("MenuItemHelpMe", "Hilf &mir", 2005, QKeySequence("Ctrl+M"));
    MenuItemAnfaenger = NewAction("MenuItemAnfaenger", "&Anfänger", 1102);
    MenuItemMittel = NewAction("MenuItemMittel", "Mi&ttel", 1103);
    MenuItemNormal = NewAction("MenuItemNormal", "&Normal", 1104);
    MenuItemSchwer = NewAction("MenuItemSchwer", "&Schwer", 1105);
    MenuItemMaster = NewAction("MenuItemMaster", "&Master", 1106);
    MenuItemQuickRestore =
        NewAction("MenuItemQuickRestore", "Zuletzt gespeicherte Position &laden", 1206, QKeySequence(Qt::Key_F6));
    MenuItemQuickSave = NewAction("MenuItemQuickSave", "Aktuelle Position &speichern", 1207, QKeySequence(Qt::Key_F7));
    MenuItemSetPosition = NewAction("MenuItemSetPosition", "Figuren &aufstellen", 1202, QKeySequence("Ctrl+A"));
    MenuItemChangeSite = NewAction("MenuItemChangeSite", "Seiten &wechseln", 1203, QKeySequence("Ctrl+Alt+W"));
    MenuItemChangeColor = NewAction("MenuItemChangeColor", "Figuren &tauschen", 1204, QKeySequence("Ctrl+Alt+T"));
    MenuItemChangeAll =
        NewAction("MenuItemChangeAll", "Seiten wechseln / Figuren tauschen", 1205, QKeySequence("Ctrl+C"));
    MenuItemSavePosAsGraphic = NewAction("MenuItemSavePosAsGraphic", "Aktuelle Position als Grafik speichern", 1209,
                                         QKeySequence("Ctrl+Alt+G"));
    AktuellePositionindieZwischenablagealsGrafikkopieren1 =
        NewAction("AktuellePositionindieZwischenablagealsGrafikkopieren1",
                  "Aktuelle Position in die Zwischenablage als Grafik kopieren", 1210, QKeySequence("Ctrl+Alt+C"));
    MenuItemPartiedaten = NewAction("MenuItemPartiedaten", "Partiedaten", 5000, QKeySequence("Ctrl+Alt+P"));
    MenuItemPlayerStatistic = NewAction("MenuItemPlayerStatistic", "Spielerstatistik", 1208, QKeySequence("Ctrl+Alt+S"));
    MenuItemShowStatistik = NewAction("MenuItemShowStatistik", "Statisti&k", 1311, QKeySequence("Ctrl+K"));
    MenuItemShowButtons = NewAction("MenuItemShowButtons", "S&pielsteuerung", 1312, QKeySequence("Ctrl+P"));
    MenuItemAnzeigeFigurenImSpiel =
        NewAction("MenuItemAnzeigeFigurenImSpiel", "&Figuren im Spiel", 1302, QKeySequence("Ctrl+F"));
    MenuItemAnzeigeGeschlageneFiguren =
        NewAction("MenuItemAnzeigeGeschlageneFiguren", "&geschlagene Figuren", 1303, QKeySequence("Ctrl+G"));
    MenuItemGameInfo =
        NewAction("MenuItemGameInfo", "Spiel&informationen (Analyse/Logbuch)", 4400, QKeySequence("Ctrl+I"));
    MenuItemLernprogramm = NewAction("MenuItemLernprogramm", "&Lernprogramm", 1906, QKeySequence(Qt::Key_F10));
    MenuItemTips = NewAction("MenuItemTips", "&Tips vom Master", 1908, QKeySequence(Qt::Key_F11));
    MenuItemInfo = NewAction("MenuItemInfo", QString("&Info über ") + ProductName, 1904);
    // The language text ends where the product name is written.
    connect(MenuItemInfo, &QAction::changed, this, [this] {
        if (MenuItemInfo->text().endsWith(' ')) MenuItemInfo->setText(MenuItemInfo->text() + ProductName);
    });
    PopupItemBoardSettings = NewAction("PopupItemBoardSettings", "Schachbrett", 5001);
    PopupItemPieceSet = NewAction("PopupItemPieceSet", "Figurensatz wechseln", 5002);

    auto* levels = new QActionGroup(this);
    const QList<QAction*> levelItems = {MenuItemAnfaenger, MenuItemMittel, MenuItemNormal, MenuItemSchwer,
                                        MenuItemMaster};
    for (int i = 0; i < levelItems.size(); ++i) {
        QAction* level = levelItems[i];
        level->setCheckable(true);
        levels->addAction(level);
        // The master depth is read at every click, so a changed master level takes effect at once.
        connect(level, &QAction::triggered, this, [this, level, i] {
            level->setChecked(true);
            ChessBrd->SetSearchDepth(level == MenuItemMaster ? MasterBaseDepth + Settings().SDMF : i + 1);
        });
    }
    MenuItemNormal->setChecked(true);
    for (QAction* toggle : {MenuItemShowStatistik, MenuItemShowButtons, MenuItemGameInfo})
        toggle->setCheckable(true);

    connect(MenuItemBeenden, &QAction::triggered, this, &QWidget::close);
    connect(MenuItemNewGame, &QAction::triggered, this, &TFormMain::ButtonNeuClick);
    connect(MenuItemContinue, &QAction::triggered, this, &TFormMain::BitBtnWeiterClick);
    connect(MenuItemStop, &QAction::triggered, this, &TFormMain::BitBtnStopClick);
    connect(MenuItemBack, &QAction::triggered, this, &TFormMain::BitBtnZugZurueckClick);
    connect(MenuItemNext, &QAction::triggered, this, &TFormMain::BitBtnZugVorClick);
    connect(MenuItemHelpMe, &QAction::triggered, this, &TFormMain::BitBtnHilfMirClick);
    connect(MenuItemPartiedaten, &QAction::triggered, this, &TFormMain::MenuItemPartiedatenClick);
    connect(MenuItemLernprogramm, &QAction::triggered, this, &TFormMain::MenuItemLernprogrammClick);
    connect(MenuItemGameInfo, &QAction::triggered, this, &TFormMain::MenuItemGameInfoClick);
    connect(MenuItemPlayerStatistic, &QAction::triggered, this, &TFormMain::MenuItemPlayerStatisticClick);
    connect(MenuItemInfo, &QAction::triggered, this, &TFormMain::MenuItemInfoClick);
    connect(MenuItemShowStatistik, &QAction::triggered, this, [this](bool on) {
        Settings().ShowStatistik = on;
        PanelStatistics->setVisible(on);
        FormResize();
    });
    connect(MenuItemShowButtons, &QAction::triggered, this, [this](bool on) {
        Settings().ShowGameButtons = on;
        PanelButtons->setVisible(on);
        FormResize();
    });
    ConnectFileActions();
    connect(MenuItemSetPosition, &QAction::triggered, this, &TFormMain::MenuItemSetPositionClick);
    connect(MenuItemChangePieceSet, &QAction::triggered, this, &TFormMain::MenuItemChangePieceSetClick);
    connect(MenuItemOptMisc, &QAction::triggered, this, &TFormMain::MenuItemOptMiscClick);
    connect(PopupItemPieceSet, &QAction::triggered, this, &TFormMain::MenuItemChangePieceSetClick);
    for (QAction* boardSettings : {MenuItemBoardSettings, PopupItemBoardSettings})
        connect(boardSettings, &QAction::triggered, this, &TFormMain::MenuItemBoardSettingsClick);
    MenuItemChangePieceSet->setVisible(QFileInfo::exists(ResolvePath(PieceGraphicsPath())));
}

void TFormMain::CreateMenus() {
    auto menu = [this](const QString& title, int tag) {
        QMenu* m = menuBar()->addMenu(title);
        m->setProperty("Tag", tag);
        return m;
    };
    QMenu* file = menu("&Datei", 1001);
    file->addAction(MenuItemLaden);
    file->addAction(MenuItemSpeichern);
    QMenu* options = file->addMenu("&Einstellungen");
    options->setObjectName("MenuItemOptionen");
    options->setProperty("Tag", 1005);
    options->addActions({MenuItemOptMisc, MenuItemBoardSettings, MenuItemChangePieceSet});
    file->addSeparator();
    file->addAction(MenuItemBeenden);

    menu("&Spielsteuerung", 1050)
        ->addActions({MenuItemNewGame, MenuItemContinue, MenuItemStop, MenuItemBack, MenuItemNext, MenuItemHelpMe});
    menu("Sch&wierigkeit", 1101)
        ->addActions({MenuItemAnfaenger, MenuItemMittel, MenuItemNormal, MenuItemSchwer, MenuItemMaster});
    QMenu* functions = menu("&Funktionen", 1201);
    functions->addActions({MenuItemQuickRestore, MenuItemQuickSave, MenuItemSetPosition, MenuItemChangeSite,
                      MenuItemChangeColor, MenuItemChangeAll, MenuItemSavePosAsGraphic,
                      AktuellePositionindieZwischenablagealsGrafikkopieren1, MenuItemPartiedaten,
                      MenuItemPlayerStatistic});
    QMenu* view = menu("&Ansicht", 1301);
    view->addActions({MenuItemShowStatistik, MenuItemShowButtons, MenuItemAnzeigeFigurenImSpiel,
                      MenuItemAnzeigeGeschlageneFiguren, MenuItemGameInfo});
    CreateExchangeActions(file, functions, view);
    menu("&Hilfe", 1901)->addActions({MenuItemLernprogramm, MenuItemTips, MenuItemInfo});

    PopupMenuChessBrd = new QMenu(this);
    PopupMenuChessBrd->setObjectName("PopupMenuChessBrd");
    PopupMenuChessBrd->addActions({PopupItemBoardSettings, PopupItemPieceSet});
}

void TFormMain::CreateToolBar() {
    ToolBar = addToolBar("ToolBar");
    ToolBar->setObjectName("ToolBar");
    ToolBar->setMovable(false);
    // The tool bar is part of the window for good: no pop-up offers to hide it (under a name
    // no language translates) with nothing left to click to bring it back.
    ToolBar->toggleViewAction()->setVisible(false);
    QStyle* s = style();
    // A tool button shares its menu item's handler; it is an action of its own so that it can carry
    // its own text number and icon.
    auto button = [this, s](const QString& name, QStyle::StandardPixmap icon, QAction* like, int tag) {
        QAction* action = NewAction(name, like ? like->text() : QString(), tag);
        action->setIcon(s->standardIcon(icon));
        if (like) connect(action, &QAction::triggered, like, &QAction::trigger);
        ToolBar->addAction(action);
        return action;
    };
    ToolButtonNew = button("ToolButtonNew", QStyle::SP_FileIcon, MenuItemNewGame, 2006);
    ToolButtonLoadGame = button("ToolButtonLoadGame", QStyle::SP_DialogOpenButton, MenuItemLaden, 1003);
    ToolButtonSaveGame = button("ToolButtonSaveGame", QStyle::SP_DialogSaveButton, MenuItemSpeichern, 1004);
    ToolButtonOptionsMisc = button("ToolButtonOptionsMisc", QStyle::SP_FileDialogDetailedView, MenuItemOptMisc, 1007);
    ToolBar->addSeparator();
    ToolButtonSaveAsGraph =
        button("ToolButtonSaveAsGraph", QStyle::SP_DriveFDIcon, MenuItemSavePosAsGraphic, 1209);
    ToolButtonCopyToClip = button("ToolButtonCopyToClip", QStyle::SP_FileLinkIcon,
                                  AktuellePositionindieZwischenablagealsGrafikkopieren1, 1210);
    ToolBar->addSeparator();
    ToolButtonFirst = button("ToolButtonFirst", QStyle::SP_MediaSkipBackward, nullptr, 2010);
    ToolButtonPrev = button("ToolButtonPrev", QStyle::SP_MediaSeekBackward, MenuItemBack, 2001);
    ToolButtonNext = button("ToolButtonNext", QStyle::SP_MediaSeekForward, MenuItemNext, 2002);
    ToolButtonLast = button("ToolButtonLast", QStyle::SP_MediaSkipForward, nullptr, 2011);
    ToolButtonPlay = button("ToolButtonPlay", QStyle::SP_MediaPlay, MenuItemContinue, 2004);
    ToolButtonStop = button("ToolButtonStop", QStyle::SP_MediaStop, MenuItemStop, 2003);
    ToolBar->addSeparator();
    ToolButtonHelpMe = button("ToolButtonHelpMe", QStyle::SP_DialogHelpButton, MenuItemHelpMe, 2005);
    ToolButtonEndCalc = button("ToolButtonEndCalc", QStyle::SP_DialogApplyButton, nullptr, 2009);
    ToolButtonPlayBestMove = button("ToolButtonPlayBestMove", QStyle::SP_BrowserStop, nullptr, 2008);
    ToolButtonShowCalc = button("ToolButtonShowCalc", QStyle::SP_FileDialogContentsView, nullptr, 140);
    ToolButtonShowCalc->setCheckable(true);
    ToolBar->addSeparator();
    ToolButtonPartiedaten = button("ToolButtonPartiedaten", QStyle::SP_FileDialogInfoView, MenuItemPartiedaten, 4503);
    ToolButtonPlayerStatistic =
        button("ToolButtonPlayerStatistic", QStyle::SP_ComputerIcon, MenuItemPlayerStatistic, 1208);
    ToolBar->addSeparator();
    ToolButtonTutorial = button("ToolButtonTutorial", QStyle::SP_DirHomeIcon, MenuItemLernprogramm, 1906);
    ToolButtonTips = button("ToolButtonTips", QStyle::SP_MessageBoxInformation, MenuItemTips, 1908);
    ToolButtonInfo = button("ToolButtonInfo", QStyle::SP_TitleBarContextHelpButton, MenuItemInfo, 141);

    ToolButtonFirst->setText("Erster Zug");
    ToolButtonLast->setText("Letzter Zug");
    ToolButtonEndCalc->setText("Be&rechnung beenden");
    ToolButtonPlayBestMove->setText("&Berechnung stoppen");
    ToolButtonShowCalc->setText("Berechnung anzeigen");
    connect(ToolButtonFirst, &QAction::triggered, this, &TFormMain::ToolButtonFirstClick);
    connect(ToolButtonLast, &QAction::triggered, this, &TFormMain::ToolButtonLastClick);
    connect(ToolButtonEndCalc, &QAction::triggered, this, &TFormMain::ButtonEndCalcClick);
    connect(ToolButtonPlayBestMove, &QAction::triggered, this, &TFormMain::ButtonPlayBestMoveClick);
    connect(ToolButtonShowCalc, &QAction::toggled, this, &TFormMain::ToolButtonShowCalcClick);
}

void TFormMain::CreateBoardPanel() {
    PanelChessBoard = new QWidget(this);
    PanelChessBoard->setObjectName("PanelChessBoard");
    ChessBrd = new TChessBrd(PanelChessBoard);
    ChessBrd->setObjectName("ChessBrd");
    ChessBrd->setEnabled(false);
    ChessBrd->SetSearchDepth(InitialSearchDepth);
    ChessBrd->SetAnimateMoves(true);
    ChessBrd->setContextMenuPolicy(Qt::CustomContextMenu);
    // The board is placed by hand, not by a layout: a layout would make the board's size the
    // panel's minimum, and a board grown with the window would then hold the window at that size.
    // The board follows its panel, which the window's layout sizes only after the window's own resize.
    PanelChessBoard->installEventFilter(this);
    ChessBrd->installEventFilter(this);
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (IsNameLabelClick(watched, event)) RenamePlayer(watched == LabelSpieler1 ? 1 : 2);
    if (event->type() == QEvent::Resize && (watched == PanelChessBoard || watched == ChessBrd)) {
        if (watched == PanelChessBoard) FormResize();
        CentreBoard();
    }
    return QMainWindow::eventFilter(watched, event);
}

// A board larger than its panel keeps its top-left corner in view.
void TFormMain::CentreBoard() {
    const QSize room = PanelChessBoard->size() - ChessBrd->size();
    ChessBrd->move(std::max(0, room.width() / 2), std::max(0, room.height() / 2));
}

QPushButton* TFormMain::NewSpeedButton(const QString& name, const QString& caption, int tag) {
    auto* button = new QPushButton(caption, PanelButtons);
    button->setObjectName(name);
    button->setProperty("Tag", tag);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

void TFormMain::CreateButtonPanel() {
    PanelButtons = new QWidget(this);
    PanelButtons->setObjectName("PanelButtons");
    BitBtnZugZurueck = NewSpeedButton("BitBtnZugZurueck", "Zug &zurück", 2001);
    BitBtnZugVor = NewSpeedButton("BitBtnZugVor", "Zug &vor", 2002);
    BitBtnStop = NewSpeedButton("BitBtnStop", "S&top", 2003);
    BitBtnWeiter = NewSpeedButton("BitBtnWeiter", "&Weiter", 2004);
    ButtonNeu = NewSpeedButton("ButtonNeu", "&Neues Spiel", 2006);
    BitBtnHilfMir = NewSpeedButton("BitBtnHilfMir", "Hilf &mir", 2005);
    ButtonPlayBestMove = NewSpeedButton("ButtonPlayBestMove", "&Berechnung stoppen", 2008);
    ButtonEndCalc = NewSpeedButton("ButtonEndCalc", "Be&rechnung beenden", 2009);
    // Each button and its menu item share one handler.
    connect(BitBtnZugZurueck, &QPushButton::clicked, this, &TFormMain::BitBtnZugZurueckClick);
    connect(BitBtnZugVor, &QPushButton::clicked, this, &TFormMain::BitBtnZugVorClick);
    connect(BitBtnStop, &QPushButton::clicked, this, &TFormMain::BitBtnStopClick);
    connect(BitBtnWeiter, &QPushButton::clicked, this, &TFormMain::BitBtnWeiterClick);
    connect(ButtonNeu, &QPushButton::clicked, this, &TFormMain::ButtonNeuClick);
    connect(BitBtnHilfMir, &QPushButton::clicked, this, &TFormMain::BitBtnHilfMirClick);
    connect(ButtonPlayBestMove, &QPushButton::clicked, this, &TFormMain::ButtonPlayBestMoveClick);
    connect(ButtonEndCalc, &QPushButton::clicked, this, &TFormMain::ButtonEndCalcClick);

    // The search display's texts grow during a search; they are cut rather than let widen the window.
    LabelDepthShow = new TElidedLabel("0", PanelButtons);
    LabelNodesShow = new TElidedLabel("0", PanelButtons);
    LabelScoreShow = new TElidedLabel("0", PanelButtons);
    LabelBestLineShow = new TElidedLabel(PanelButtons);
    LabelDepthShow->setObjectName("LabelDepthShow");
    LabelNodesShow->setObjectName("LabelNodesShow");
    LabelScoreShow->setObjectName("LabelScoreShow");
    LabelBestLineShow->setObjectName("LabelBestLineShow");

    auto* grid = new QGridLayout(PanelButtons);
    const QList<QPushButton*> first = {BitBtnZugZurueck, BitBtnZugVor, BitBtnStop, BitBtnWeiter, ButtonNeu};
    for (int i = 0; i < first.size(); ++i) grid->addWidget(first[i], 0, i);
    grid->addWidget(BitBtnHilfMir, 1, 0);
    grid->addWidget(ButtonPlayBestMove, 1, 1, 1, 2);
    grid->addWidget(ButtonEndCalc, 1, 3, 1, 2);
    auto* display = new QGridLayout;
    display->addWidget(Caption(PanelButtons, "Tiefe", 4410), 0, 0);
    display->addWidget(LabelDepthShow, 0, 1);
    display->addWidget(Caption(PanelButtons, "Knoten", 4411), 0, 2);
    display->addWidget(LabelNodesShow, 0, 3);
    display->addWidget(Caption(PanelButtons, "Punkte", 4412), 0, 4);
    display->addWidget(LabelScoreShow, 0, 5);
    display->addWidget(Caption(PanelButtons, "Best.", 4414), 1, 0);
    display->addWidget(LabelBestLineShow, 1, 1, 1, 5);
    grid->addLayout(display, 0, 5, 2, 1);
    grid->setColumnStretch(5, 1);
}

void TFormMain::CreateStatisticsPanel() {
    PanelStatistics = new QWidget(this);
    PanelStatistics->setObjectName("PanelStatistics");
    PanelStatistics->setFixedWidth(StatisticsPanelWidth);
    auto* layout = new QVBoxLayout(PanelStatistics);

    // Text numbers of one player's controls: name label, colour disc, total and per-move panels.
    struct Tags {
        int name, disc, total, perMove;
    };
    auto player = [this, layout](int n, const QColor& disc, Tags tags) {
        auto* name = new TElidedLabel(QString("Spieler %1").arg(n), PanelStatistics);
        name->setObjectName(QString("LabelSpieler%1").arg(n));
        name->setProperty("Tag", tags.name);
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        name->setCursor(Qt::PointingHandCursor);
        auto* status = new TElidedLabel("Status:", PanelStatistics);
        status->setObjectName(QString("LabelSpieler%1Status").arg(n));
        status->setProperty("Tag", 2103);
        auto* shape = new TColorDisc(PanelStatistics);
        shape->setObjectName(QString("ShapeFarbeSpieler%1").arg(n));
        shape->setProperty("Tag", tags.disc);
        shape->SetBrushColor(disc);
        auto* kind = new QComboBox(PanelStatistics);
        kind->setObjectName(QString("ComboBoxSpieler%1").arg(n));
        kind->setProperty("Tag", 2200);
        kind->addItems({"Mensch", "Computer", "Zufall"});
        auto* total = TimePanel(PanelStatistics, QString("PanelSpieler%1Gesamtzeit").arg(n), tags.total);
        auto* perMove = TimePanel(PanelStatistics, QString("PanelSpieler%1ZeitProZug").arg(n), tags.perMove);

        auto* grid = new QGridLayout;
        grid->addWidget(name, 0, 0, 1, 2);
        grid->addWidget(status, 1, 0, 1, 2);
        grid->addWidget(shape, 2, 0);
        grid->addWidget(kind, 2, 1);
        grid->addWidget(Caption(PanelStatistics, "Gesamtzeit", 2104), 3, 0);
        grid->addWidget(total, 3, 1);
        grid->addWidget(Caption(PanelStatistics, "Zeit pro Zug", 2105), 4, 0);
        grid->addWidget(perMove, 4, 1);
        layout->addLayout(grid);
        return std::make_tuple(name, status, shape, kind, total, perMove);
    };
    std::tie(LabelSpieler1, LabelSpieler1Status, ShapeFarbeSpieler1, ComboBoxSpieler1, PanelSpieler1Gesamtzeit,
             PanelSpieler1ZeitProZug) = player(1, Qt::black, {2101, 29991, 29993, 29994});

    auto* match = new QGridLayout;
    match->addWidget(Caption(PanelStatistics, "Gesamtspielzeit", 2106), 0, 0);
    PanelMatchTime = TimePanel(PanelStatistics, "PanelMatchTime", 29997);
    QFont matchFont("Arial");
    matchFont.setBold(true);
    matchFont.setPixelSize(19);
    PanelMatchTime->setFont(matchFont);
    match->addWidget(PanelMatchTime, 1, 0);
    PanelPause = new TClickableLabel("Pause...", PanelStatistics);
    PanelPause->setObjectName("PanelPause");
    PanelPause->setProperty("Tag", 2108);
    QFont pauseFont("Arial");
    pauseFont.setBold(true);
    pauseFont.setPixelSize(21);
    PanelPause->setFont(pauseFont);
    PanelPause->setAlignment(Qt::AlignCenter);
    PanelPause->setAutoFillBackground(true);
    PanelPause->setCursor(Qt::PointingHandCursor);
    PanelPause->hide();
    match->addWidget(PanelPause, 1, 0); // over the match time
    connect(PanelPause, &TClickableLabel::Clicked, this, &TFormMain::BitBtnWeiterClick);
    layout->addLayout(match);

    layout->addWidget(Caption(PanelStatistics, "Züge", 2109));
    ListBoxZuege = new QListWidget(PanelStatistics);
    ListBoxZuege->setObjectName("ListBoxZuege");
    ListBoxZuege->setProperty("Tag", 29998);
    ListBoxZuege->setToolTip("Wählen Sie einen Zug aus und das \r\nSpiel wird an diesem Zug fortgesetzt");
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    ListBoxZuege->setFont(fixed);
    layout->addWidget(ListBoxZuege, 1);
    connect(ListBoxZuege, &QListWidget::itemClicked, this, &TFormMain::ListBoxZuegeClick);

    std::tie(LabelSpieler2, LabelSpieler2Status, ShapeFarbeSpieler2, ComboBoxSpieler2, PanelSpieler2Gesamtzeit,
             PanelSpieler2ZeitProZug) = player(2, Qt::white, {2102, 29992, 29995, 29996});
    connect(ComboBoxSpieler1, &QComboBox::activated, this, &TFormMain::ComboBoxSpieler1Change);
    connect(ComboBoxSpieler2, &QComboBox::activated, this, &TFormMain::ComboBoxSpieler2Change);
}

// The start-up reading of the settings: what they say about this window, its board and the players.
void TFormMain::ReadSettings() {
    ReadStartSettings();
    TSettings& s = Settings();
    PlaceOnScreen(s.SaveMainWin);
    SetHintsEnabled(s.ShowHints);
    PanelStatistics->setVisible(s.ShowStatistik);
    MenuItemShowStatistik->setChecked(s.ShowStatistik);
    PanelButtons->setVisible(s.ShowGameButtons);
    MenuItemShowButtons->setChecked(s.ShowGameButtons);
    ApplyBoardSettings(*ChessBrd, true, false);
    ChessBrd->SetAnimateMoves(s.AnimateMoves);
    ChessBrd->SetAnimationDelay(s.AnimationDelay);
    SetLevel(s.Level);
    ComboBoxSpieler1->setCurrentIndex(s.Player1);
    ComboBoxSpieler2->setCurrentIndex(s.Player2);
    if (WaveOutDeviceCount() == 0) {
        s.PlaySound = false;
        s.PlaySp = false;
    }
    if (s.PlaySp && s.PlaySpMoves) CheckSpeechFiles(this);
    ApplyDesign(s.ModernDesign);
}

// The saved geometry, or the designed size centred, made whole on the screen it belongs to: a damaged
// settings file must not open the window out of reach or larger than the screen. Left and Top are
// where the window's frame starts, as the window reports it when it is saved.
void TFormMain::PlaceOnScreen(bool savedGeometry) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!savedGeometry) {
        if (screen)
            FitOnScreen(CentredInArea(size(), screen->availableGeometry()), screen->availableGeometry());
        return;
    }
    const int left = ReadSetting("MainWindow", "Left", 0);
    const int top = ReadSetting("MainWindow", "Top", 0);
    const TWishedGeometry wished{left, top, ReadSetting("MainWindow", "Width", width()),
                                 ReadSetting("MainWindow", "Height", height())};
    if (const QScreen* saved = QGuiApplication::screenAt(QPoint(left, top))) screen = saved;
    if (screen) FitOnScreen(wished, screen->availableGeometry());
}

// The whole window, frame included once it has one, on the area and no smaller than its contents
// need; only a screen too small for that leaves the window sticking out to the right and below.
void TFormMain::FitOnScreen(const TWishedGeometry& wished, const QRect& area) {
    const QSize frame = frameGeometry().size() - size();
    QRect fitted =
        FitToArea({wished.Left, wished.Top, wished.Width + frame.width(), wished.Height + frame.height()},
                  area, SmallestWindowSize + frame);
    fitted.setSize(fitted.size().expandedTo(minimumSizeHint() + frame));
    fitted.moveTopLeft(KeepInArea(fitted.topLeft(), fitted.size(), area));
    resize(fitted.size() - frame);
    move(fitted.topLeft());
}

void TFormMain::ApplyDesign(bool modern) {
    for (QPushButton* button : PanelButtons->findChildren<QPushButton*>()) button->setFlat(modern);
    PanelButtons->setStyleSheet(modern ? "QPushButton:flat:hover { border: 1px solid palette(mid); border-radius: 3px; }"
                                       : QString());
    ToolBar->setStyleSheet(modern ? QString() : "QToolButton { border: 1px outset palette(mid); }");
    const auto shadow = modern ? QFrame::Sunken : QFrame::Raised;
    for (QLabel* panel : {PanelSpieler1Gesamtzeit, PanelSpieler1ZeitProZug, PanelSpieler2Gesamtzeit,
                          PanelSpieler2ZeitProZug, PanelMatchTime})
        panel->setFrameShadow(shadow);
    for (QLabel* label : PanelStatistics->findChildren<QLabel*>()) {
        label->setAutoFillBackground(modern || label == PanelPause);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
        palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
        label->setPalette(palette);
    }
}

// The game halts while the dialog is open; OK puts the new look on the board.
void TFormMain::MenuItemBoardSettingsClick() {
    StopGame(false, true);
    if (!FormBoardSettings || FormBoardSettings->exec() != QDialog::Accepted) return;
    ApplyBoardSettings(*ChessBrd, true, true);
    ChessBrd->SetAnimateMoves(Settings().AnimateMoves);
    ChessBrd->SetAnimationDelay(Settings().AnimationDelay);
    FormResize();
}

// The game halts while the options are edited; what they change in this window is put in place after.
void TFormMain::MenuItemOptMiscClick() {
    StopGame(false, true);
    if (!FormOptionen) return;
    if (FormOptionen->exec() == QDialog::Accepted) {
        if (!Settings().ViewBreak) PanelPause->hide();
        FormResize();
    }
    if (MenuItemMaster->isChecked()) MenuItemMaster->trigger();
    Logbook->UpdateGameMode(Settings().GameModus);
    ApplyDesign(Settings().ModernDesign);
}

// The board follows the window: the largest square size that fits its panel.
void TFormMain::FormResize() {
    if (!Settings().BrdAutoResize || QCoreApplication::closingDown()) return;
    const int side = std::min(PanelChessBoard->width(), PanelChessBoard->height());
    const int square = std::min((side - 2 * ChessBrd->SizeOfBorder()) / 8, TChessBrd::MaxSquareSize);
    if (square > 0 && square != ChessBrd->SizeOfSquare()) ChessBrd->SetSizeOfSquare(square);
}

void TFormMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (std::exchange(FFirstShow, false)) FormShow();
}

// The first showing, step by step.
void TFormMain::FormShow() {
    // Only now is the frame's size known.
    if (const QScreen* shownOn = screen())
        FitOnScreen({x(), y(), width(), height()}, shownOn->availableGeometry());
    const QString resolved = SetLanguage(Settings().Language);
    if (!resolved.isEmpty()) Settings().Language = resolved;
    ReportRefusedSettingsFile(this);
    for (const int player : {1, 2})
        StatusLabel(player)->setText(LoadLangString(2110, "Pause..."));
    if (!FCommandLineFile.isEmpty()) LoadGameFile(std::exchange(FCommandLineFile, {}));
}

void TFormMain::MenuItemSetPositionClick() {
    StopGame(false, true);
    if (FormSetPosition) FormSetPosition->exec();
}

void TFormMain::MenuItemChangePieceSetClick() {
    StopGame(false, false);
    if (FormChangePieceSet) FormChangePieceSet->exec();
}

void TFormMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() &&
        std::exchange(FFirstActivation, false))
        FormActivate();
}

// The first activation, step by step.
void TFormMain::FormActivate() {
    if (Settings().LanguageAutomatic && FormSelectLanguage) {
        FormSelectLanguage->exec();
        TranslateForms();
        Settings().LanguageAutomatic = false;
    }
    OpenSideWindowsAtStart();
    PlayWelcome();
    ShowTipsAtStart();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // Closed before its first activation was handled (a session ending during the start): that
    // activation must not open the language choice or the tip over a program that is ending.
    FFirstActivation = false;
    StopGame(false, false);
    WriteSettingsOnClose();
    QMainWindow::closeEvent(event);
}

// Only a kind the program knows is stored; a list that shows none keeps the kind read at start.
int TFormMain::StoredKind(int player) const {
    const int kind = Kind(player);
    if (kind >= pkMensch && kind <= pkZufall) return kind;
    return player == 1 ? Settings().Player1 : Settings().Player2;
}

void TFormMain::WriteSettingsOnClose() {
    TExitState state;
    state.Level = ChessBrd->SearchDepth();
    state.Player1 = StoredKind(1);
    state.Player2 = StoredKind(2);
    state.MainWindow = QRect(pos(), size());
    if (FormAnzeigeFigurenImSpiel) state.PieceInGame = FormAnzeigeFigurenImSpiel->State();
    if (FormAnzeigeGeschlageneFiguren) state.PieceOutOfGame = FormAnzeigeGeschlageneFiguren->State();
    state.GameInfo = LogbookState();
    Settings().FontName = ChessBrd->CoordFont().family();
    Settings().FontSize = ChessBrd->CoordFont().pointSize();
    Settings().FontColor = TColorFromColor(ChessBrd->CoordFontColor());
    if (!WriteSettingsAtExit(state)) ReportSettingsNotSaved(this);
}

void TFormMain::ProcessMessages() { QCoreApplication::processEvents(); }
