#include "UnitFormSetPosition.h"

#include "ChessBrd.h"
#include "Fen.h"
#include "PositionCheck.h"
#include "RadioGroup.h"
#include "UnitDialogFunctions.h"
#include "UnitFormBoardSettings.h"
#include "UnitFormLoadSavePosition.h"
#include "UnitFormMain.h"
#include "UnitLanguages.h"
#include "UnitPieceWindows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

TFormSetPosition* FormSetPosition = nullptr;

namespace {

constexpr auto DesignCaption = "Figuren aufstellen";
constexpr int CaptionText = 3200;
constexpr int PositionCorrectText = 3211;
constexpr int PositionNotCorrectText = 3210;
constexpr int FenLabelText = 5700;
constexpr int SetFenText = 5701;
constexpr int FenNotReadText = 5702;
constexpr QSize ClientSize(594, 413);
constexpr QPoint BoardAt(8, 8);

constexpr int PieceButtonWidth = 40;
constexpr int PieceButtonHeight = 43;
constexpr int PieceButtonStep = 48;
constexpr int PieceButtonTop = 8;
constexpr int BlackButtonLeft = 384;
constexpr int WhiteButtonLeft = 432;
// The buttons' hints; the first character is the piece a button selects.
constexpr const char* PieceHints[12] = {"r", "n", "b", "q", "k", "p", "R", "N", "BB", "Q", "K", "P"};
constexpr int InitialPieceButton = 5; // the black pawn

const QRect RadioGroupZugGeometry(480, 6, 109, 67);
const QRect RadioGroupWhereIsGeometry(480, 78, 109, 67);
const QRect GroupBoxRochadeGeometry(480, 150, 109, 139);
constexpr int CastlingBoxLeft = 12;
constexpr QSize CastlingBoxSize(95, 22); // to the group's inner edge
const QRect ButtonClearGeometry(384, 294, 89, 25);
const QRect ButtonActGameGeometry(480, 294, 109, 25);
const QRect ButtonCheckGeometry(384, 324, 89, 25);
const QRect ButtonLoadGeometry(480, 324, 109, 25);
const QRect ButtonOkGeometry(384, 354, 89, 25);
const QRect ButtonCancelGeometry(480, 354, 109, 25);
// The FEN row runs under the board and the buttons, its button in the right-hand column.
const QRect LabelFenGeometry(8, 388, 32, 17);
const QRect EditFenGeometry(44, 384, 429, 23);
const QRect ButtonSetFenGeometry(480, 383, 109, 25);
// As much of a refused FEN as the message shows.
constexpr int ShownFenLength = 120;

constexpr int WhiteItem = 0;
constexpr int BlackItem = 1;
const std::string EmptyBoard(64, ' ');

} // namespace

TFormSetPosition::TFormSetPosition(TFormMain* formMain, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), FFormMain(formMain) {
    setObjectName("FormSetPosition");
    setWindowTitle(DesignCaption);
    setFixedSize(ClientSize);
    CreateBoard();
    CreatePieceButtons();
    CreateChoices();
    CreateButtons();
    CreateFenField();
    FSelectedPiece = 'p';
}

void TFormSetPosition::CreateBoard() {
    ChessBrdSetPos = new TChessBrd(this);
    ChessBrdSetPos->setObjectName("ChessBrdSetPos");
    ChessBrdSetPos->move(BoardAt);
    ChessBrdSetPos->SetAnimateMoves(false);
    ChessBrdSetPos->SetResizable(false);
    ChessBrdSetPos->SetBorderColor(QColor(0x80, 0x80, 0x00)); // olive
    ChessBrdSetPos->SetDisplayCoords(West | North | East | South);
    ChessBrdSetPos->SetSearchDepth(1);
    ChessBrdSetPos->SetWhiteToMove(true);
    ChessBrdSetPos->SetEnPassant(None);
    ChessBrdSetPos->SetPosition(EmptyBoard);
    // The press places a piece first; the board's own press then begins its ordinary drag.
    ChessBrdSetPos->installEventFilter(this);
}

void TFormSetPosition::CreatePieceButtons() {
    PieceButtonGroup = new QButtonGroup(this);
    PieceButtonGroup->setExclusive(true);
    for (int i = 0; i < static_cast<int>(PieceButtons.size()); ++i) {
        const char piece = PieceHints[i][0];
        const bool white = i >= 6;
        auto* button = new QToolButton(this);
        button->setObjectName(QString("SpeedButton_%1_%2").arg(white ? 'w' : 'b').arg(QChar(piece)));
        button->setToolTip(PieceHints[i]);
        button->setGeometry(white ? WhiteButtonLeft : BlackButtonLeft,
                            PieceButtonTop + (i % 6) * PieceButtonStep, PieceButtonWidth, PieceButtonHeight);
        button->setCheckable(true);
        button->setIcon(TChessBrd::BuiltInPieceImage(piece));
        button->setIconSize(QSize(PieceButtonWidth, PieceButtonWidth));
        PieceButtonGroup->addButton(button, i);
        PieceButtons[static_cast<size_t>(i)] = button;
    }
    PieceButtons[InitialPieceButton]->setChecked(true);
    connect(PieceButtonGroup, &QButtonGroup::idClicked, this,
            [](int id) { FSelectedPiece = PieceHints[id][0]; });
}

QCheckBox* TFormSetPosition::NewCastlingBox(const QString& name, const QString& text, const QString& hint,
                                            int tag, int top) {
    auto* box = new QCheckBox(text, GroupBoxRochade);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setProperty("Tag", tag);
    box->setGeometry(QRect(QPoint(CastlingBoxLeft, top), CastlingBoxSize));
    return box;
}

void TFormSetPosition::CreateChoices() {
    auto radioGroup = [this](const QString& name, const QString& title, const QStringList& items, int index,
                             int tag, const QRect& geometry) {
        auto* group = new TRadioGroup(this);
        group->setObjectName(name);
        group->setTitle(title);
        group->setProperty("Tag", tag);
        group->SetItems(items);
        group->SetItemIndex(index);
        group->setGeometry(geometry);
        return group;
    };
    RadioGroupZug = radioGroup("RadioGroupZug", "Wer ist am Zug?", {"&Weiß", "&Schwarz"}, WhiteItem, 3203,
                               RadioGroupZugGeometry);
    RadioGroupWhereIs = radioGroup("RadioGroupWhereIs", "Wer spielt oben?", {"Weiß", "Schwarz"}, BlackItem,
                                   3204, RadioGroupWhereIsGeometry);
    // The editor's board turns at once; the main board only on transfer.
    connect(RadioGroupWhereIs, &TRadioGroup::ItemIndexChanged, this,
            [this](int index) { ChessBrdSetPos->SetWhiteOnTop(index == WhiteItem); });

    GroupBoxRochade = new QGroupBox("Rochade", this);
    GroupBoxRochade->setObjectName("GroupBoxRochade");
    GroupBoxRochade->setProperty("Tag", 3205);
    GroupBoxRochade->setGeometry(GroupBoxRochadeGeometry);
    CheckBoxWhiteKingSide =
        NewCastlingBox("CheckBoxWhiteKingSide", "Weiß 0-0", "Weiße-Königs-Seite", 3206, 24);
    CheckBoxWhiteQueenSide =
        NewCastlingBox("CheckBoxWhiteQueenSide", "Weiß 0-0-0", "Weiße-Königin-Seite", 3207, 54);
    CheckBoxBlackKingSide =
        NewCastlingBox("CheckBoxBlackKingSide", "Schwarz 0-0", "Schwarze-König-Seite", 3208, 84);
    CheckBoxBlackQueenSide =
        NewCastlingBox("CheckBoxBlackQueenSide", "Schwarz 0-0-0", "Schwarze-Königin-Seite", 3209, 114);
}

QPushButton* TFormSetPosition::NewButton(const QString& name, const QString& text, int tag,
                                         const QRect& geometry) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setProperty("Tag", tag);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

void TFormSetPosition::CreateButtons() {
    ButtonClear = NewButton("ButtonClear", "&Leeren", 3201, ButtonClearGeometry);
    ButtonActGame = NewButton("ButtonActGame", "akt. Spiel über&n.", 3213, ButtonActGameGeometry);
    ButtonCheck = NewButton("ButtonCheck", "Ü&berprüfen", 3202, ButtonCheckGeometry);
    ButtonLoad = NewButton("ButtonLoad", "Laden / &Speichern", 3212, ButtonLoadGeometry);
    ButtonOk = NewButton("ButtonOk", "&Übernehmen", 18, ButtonOkGeometry);
    ButtonCancel = NewButton("ButtonCancel", "&Abbrechen", 11, ButtonCancelGeometry);
    connect(ButtonClear, &QPushButton::clicked, this, &TFormSetPosition::ButtonClearClick);
    connect(ButtonActGame, &QPushButton::clicked, this, &TFormSetPosition::ButtonActGameClick);
    connect(ButtonCheck, &QPushButton::clicked, this, &TFormSetPosition::ButtonCheckClick);
    connect(ButtonLoad, &QPushButton::clicked, this, &TFormSetPosition::ButtonLoadClick);
    connect(ButtonOk, &QPushButton::clicked, this, &TFormSetPosition::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// Every change of the pieces repaints the board (a click, a drag, a stored position, a copied game),
// so the board's paint hook keeps the field up to date together with the side and castling controls.
void TFormSetPosition::CreateFenField() {
    LabelFen = new QLabel("&FEN:", this);
    LabelFen->setObjectName("LabelFen");
    LabelFen->setProperty("Tag", FenLabelText);
    LabelFen->setGeometry(LabelFenGeometry);
    EditFen = new QLineEdit(this);
    EditFen->setObjectName("EditFen");
    EditFen->setGeometry(EditFenGeometry);
    LabelFen->setBuddy(EditFen);
    ButtonSetFen = NewButton("ButtonSetFen", "Se&tzen", SetFenText, ButtonSetFenGeometry);
    connect(EditFen, &QLineEdit::returnPressed, this, &TFormSetPosition::ButtonSetFenClick);
    connect(ButtonSetFen, &QPushButton::clicked, this, &TFormSetPosition::ButtonSetFenClick);
    connect(RadioGroupZug, &TRadioGroup::ItemIndexChanged, this, &TFormSetPosition::ShowEditedFen);
    for (QCheckBox* box : CastlingBoxes())
        connect(box, &QCheckBox::toggled, this, &TFormSetPosition::ShowEditedFen);
    ChessBrdSetPos->OnPaint = [this](TChessRules&) { ShowEditedFen(); };
    ShowEditedFen();
}

// --- The position --------------------------------------------------------------------------------

std::array<QCheckBox*, 4> TFormSetPosition::CastlingBoxes() const {
    return {CheckBoxWhiteKingSide, CheckBoxWhiteQueenSide, CheckBoxBlackKingSide, CheckBoxBlackQueenSide};
}

// The boxes in the order of the rights' bits.
CastleSet TFormSetPosition::TickedCastlingRights() const {
    CastleSet rights = 0;
    const std::array<QCheckBox*, 4> boxes = CastlingBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked()) rights |= static_cast<CastleSet>(1u << i);
    return rights;
}

void TFormSetPosition::SetFromPosition(const TPositionSnapshot& position) {
    ChessBrdSetPos->SetPosition(position.Position);
    RadioGroupZug->SetItemIndex(position.WhiteToMove ? WhiteItem : BlackItem);
    const std::array<QCheckBox*, 4> boxes = CastlingBoxes();
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked((position.CastlingAllowed >> i) & 1u);
}

TPositionSnapshot TFormSetPosition::EditedPosition() const {
    return {ChessBrdSetPos->Position(), RadioGroupZug->ItemIndex() == WhiteItem, TickedCastlingRights(),
            None};
}

// The board repaints for its looks too (turning it, new colours): only a change of the position
// replaces what the user may be typing.
void TFormSetPosition::ShowEditedFen() {
    const QString fen = QString::fromStdString(WriteFenAsTicked(TFenPosition{EditedPosition()}));
    if (fen == FShownFen) return;
    FShownFen = fen;
    EditFen->setText(fen);
}

void TFormSetPosition::ButtonSetFenClick() {
    const QString fen = EditFen->text();
    TFenPosition position;
    std::string error;
    if (!ReadFen(fen.simplified().toStdString(), position, error)) {
        ShowCenteredMessage(LoadLangString(FenNotReadText, "Diese FEN kann nicht gelesen werden:\r%s\r\r%e")
                                .replace("%s", fen.left(ShownFenLength))
                                .replace("%e", QString::fromStdString(error)),
                            TMsgDlgType::mtError, mbOK, this);
        return;
    }
    SetFromPosition(position.Snapshot);
    EditFen->setText(FShownFen); // in the editor's own form, also when the position stayed the same
}

// --- Placing pieces ------------------------------------------------------------------------------

bool TFormSetPosition::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ChessBrdSetPos && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        ChessBrdSetPosMouseDown(at.x(), at.y());
    }
    return QDialog::eventFilter(watched, event);
}

// A second click with the same piece takes it off again.
void TFormSetPosition::ChessBrdSetPosMouseDown(int x, int y) {
    std::string position = ChessBrdSetPos->Position();
    const Square sq = ChessBrdSetPos->SquareFromPoint(x, y);
    if (sq == None) return;
    char& square = position[static_cast<size_t>(sq - 1)];
    square = square == FSelectedPiece ? ' ' : FSelectedPiece;
    ChessBrdSetPos->SetPosition(position);
}

void TFormSetPosition::ButtonClearClick() {
    ChessBrdSetPos->SetPosition(EmptyBoard);
}

// Only the pieces: the side to move, the orientation and the castling rights stay the editor's.
void TFormSetPosition::ButtonActGameClick() {
    ChessBrdSetPos->SetPosition(FFormMain->ChessBrd->Position());
}

void TFormSetPosition::ButtonCheckClick() {
    if (IsValidSetUpPosition(ChessBrdSetPos->Position()))
        ShowInfoMessage(LoadLangString(PositionCorrectText, "Die Position ist korrekt."), this);
    else
        ShowInfoMessage(LoadLangString(PositionNotCorrectText, "Die Position ist nicht korrekt!"), this);
}

void TFormSetPosition::ButtonLoadClick() {
    if (FormLoadSavePosition) FormLoadSavePosition->exec();
}

void TFormSetPosition::ButtonOkClick() {
    if (!IsValidSetUpPosition(ChessBrdSetPos->Position())) {
        ShowInfoMessage(LoadLangString(PositionNotCorrectText, "Die Position ist nicht korrekt!"), this);
        return;
    }
    TransferToMainWindow();
    accept();
}

// The position becomes the start of a new, halted game. It begins a game line of its own, so nothing
// of the game before shows in the move list or counts for a repetition, whichever side is to move.
void TFormSetPosition::TransferToMainWindow() {
    TFormMain& main = *FFormMain;
    TChessBrd& board = *main.ChessBrd;
    const TPositionSnapshot edited = EditedPosition();
    main.StartNewGame(true);
    board.SetPosition(edited.Position);
    main.ListBoxZuege->clear();
    main.StopGame(true, false);
    board.SetWhiteToMove(edited.WhiteToMove);
    board.SetWhiteOnTop(RadioGroupWhereIs->ItemIndex() == WhiteItem);
    board.SetCastlingAllowed(edited.CastlingAllowed);
    board.StartLine();
    main.RefreshMoveList();
    // A set-up position is no opening: an engine to move thinks about its first move instead of
    // taking it from the opening table, so that it solves a puzzle rather than playing at random.
    main.FFirstMovePending = false;
    RecountPieceWindows();
    main.SetControlState(csStopped);
}

// --- Showing and closing -------------------------------------------------------------------------

void TFormSetPosition::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowTitle(LoadLangString(CaptionText, DesignCaption));
    TranslateWindow(this);
    ApplyBoardSettings(*ChessBrdSetPos, false, false);
    if (QWidget* owner = parentWidget())
        move(CenteredPosition(owner->window()->frameGeometry(), frameGeometry().size()));
}

// Every way out (close box, Escape, the buttons) ends here. The textures are loaded again at the next
// showing; meanwhile they take no memory.
void TFormSetPosition::ReleaseTextures() {
    const QImage none;
    ChessBrdSetPos->LoadTextures(&none, &none, &none);
}

void TFormSetPosition::done(int result) {
    ReleaseTextures();
    QDialog::done(result);
}
