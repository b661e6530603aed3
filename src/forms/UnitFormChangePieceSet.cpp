#include "UnitFormChangePieceSet.h"

#include "ChessBrd.h"
#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"
#include "UnitPieceGraphics.h"
#include "UnitSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

TFormChangePieceSet* FormChangePieceSet = nullptr;

namespace {

constexpr QSize ClientSize(320, 198);
constexpr auto DesignCaption = "Figurensatz wechseln";
constexpr int PieceKinds = 6;
constexpr int SetRows = 4;
constexpr int WhiteRow = 0;
constexpr int BlackRow = 2;
constexpr int FirstPieceNameText = 4110;
const char* const PieceNames[PieceKinds] = {"Bauer", "Springer", "Läufer", "Turm", "Dame", "König"};
// Sets whose cells are too large for the small boards of the editor and the tutorial.
constexpr int LargePieceSets[] = {3, 4, 11};

const QRect ComboBoxGeometry(10, 10, 145, 24);
constexpr QPoint LabelSizeAt(10, 40);
const QRect RadioWhiteGeometry(10, 65, 145, 17);
const QRect RadioBlackGeometry(10, 85, 145, 17);
const QRect ButtonOkGeometry(10, 135, 145, 25);
const QRect ButtonCancelGeometry(10, 165, 145, 25);
const QRect ScrollBoxGeometry(160, 10, 151, 151);
constexpr QSize ImageSize(146, 146);
const QRect BackGeometry(160, 170, 23, 22);
const QRect LabelPieceGeometry(190, 175, 91, 16);
const QRect NextGeometry(290, 170, 23, 22);

QImage PieceSetFromFile(int entry) {
    const QImage* graphic = LoadPieceGraphic(PieceSetNames[static_cast<size_t>(entry)]);
    return graphic ? graphic->copy() : QImage();
}

} // namespace

void ApplyPieceSetSetting(TChessBrd& board, bool withSizes) {
    const int set = Settings().PieceSet;
    if (set < 1 || set > PieceSetCount) {
        board.SetCustomPieceSet(QImage());
        return;
    }
    OpenPieceGraphics();
    const bool tooLarge =
        std::find(std::begin(LargePieceSets), std::end(LargePieceSets), set) != std::end(LargePieceSets);
    board.SetCustomPieceSet(!withSizes && tooLarge ? QImage() : PieceSetFromFile(set));
    ClosePieceGraphics();
}

TFormChangePieceSet::TFormChangePieceSet(TChessBrd* mainBoard, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), FMainBoard(mainBoard) {
    setObjectName("FormChangePieceSet");
    setWindowTitle(DesignCaption);
    setFixedSize(ClientSize);
    CreateControls();
}

void TFormChangePieceSet::CreateControls() {
    ComboBoxPieceSet = new QComboBox(this);
    ComboBoxPieceSet->setObjectName("ComboBoxPieceSet");
    ComboBoxPieceSet->setGeometry(ComboBoxGeometry);
    connect(ComboBoxPieceSet, &QComboBox::currentIndexChanged, this,
            &TFormChangePieceSet::ComboBoxPieceSetChange);

    LabelSize = new QLabel("Größe: 16x16", this);
    LabelSize->setObjectName("LabelSize");
    LabelSize->move(LabelSizeAt);
    LabelSize->setFixedWidth(ComboBoxGeometry.width());

    RadioButtonWhite = new QRadioButton("Weiß", this);
    RadioButtonWhite->setObjectName("RadioButtonWhite");
    RadioButtonWhite->setGeometry(RadioWhiteGeometry);
    RadioButtonWhite->setChecked(true);
    connect(RadioButtonWhite, &QRadioButton::clicked, this, [this] { SetColorRow(WhiteRow); });
    RadioButtonBlack = new QRadioButton("Schwarz", this);
    RadioButtonBlack->setObjectName("RadioButtonBlack");
    RadioButtonBlack->setGeometry(RadioBlackGeometry);
    connect(RadioButtonBlack, &QRadioButton::clicked, this, [this] { SetColorRow(BlackRow); });

    auto* ok = new QPushButton("&Ok", this);
    ok->setObjectName("ButtonOk");
    ok->setProperty("Tag", 10);
    ok->setGeometry(ButtonOkGeometry);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TFormChangePieceSet::ButtonOkClick);
    auto* cancel = new QPushButton("&Abbrechen", this);
    cancel->setObjectName("ButtonCancel");
    cancel->setProperty("Tag", 11);
    cancel->setGeometry(ButtonCancelGeometry);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* scrollBox = new QScrollArea(this);
    scrollBox->setObjectName("ScrollBoxPieceSet");
    scrollBox->setGeometry(ScrollBoxGeometry);
    scrollBox->setBackgroundRole(QPalette::Base);
    scrollBox->setStyleSheet("QScrollArea { background: white; } QLabel { background: white; }");
    scrollBox->setAlignment(Qt::AlignCenter);
    ImagePieceSet = new QLabel;
    ImagePieceSet->setObjectName("ImagePieceSet");
    ImagePieceSet->setFixedSize(ImageSize);
    ImagePieceSet->setAlignment(Qt::AlignCenter);
    scrollBox->setWidget(ImagePieceSet);

    SpeedButtonBack = new QToolButton(this);
    SpeedButtonBack->setObjectName("SpeedButtonBack");
    SpeedButtonBack->setArrowType(Qt::LeftArrow);
    SpeedButtonBack->setGeometry(BackGeometry);
    connect(SpeedButtonBack, &QToolButton::clicked, this, [this] { StepPiece(-1); });
    LabelPiece = new QLabel(PieceNames[0], this);
    LabelPiece->setObjectName("LabelPiece");
    LabelPiece->setGeometry(LabelPieceGeometry);
    LabelPiece->setAlignment(Qt::AlignCenter);
    SpeedButtonNext = new QToolButton(this);
    SpeedButtonNext->setObjectName("SpeedButtonNext");
    SpeedButtonNext->setArrowType(Qt::RightArrow);
    SpeedButtonNext->setGeometry(NextGeometry);
    connect(SpeedButtonNext, &QToolButton::clicked, this, [this] { StepPiece(+1); });
}

void TFormChangePieceSet::showEvent(QShowEvent* event) {
    setWindowTitle(LoadLangString(4100, DesignCaption));
    TranslateWindow(this);
    RadioButtonWhite->setText(LoadLangString(103, "Weiß"));
    RadioButtonBlack->setText(LoadLangString(104, "Schwarz"));
    FillPieceSetList();
    ComboBoxPieceSetChange();
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(CenteredPosition(owner->window()->frameGeometry(), frameGeometry().size()));
}

void TFormChangePieceSet::FillPieceSetList() {
    // Filling changes the selection; the preview follows once, after the list is complete.
    const QSignalBlocker quiet(ComboBoxPieceSet);
    ComboBoxPieceSet->clear();
    ComboBoxPieceSet->addItem("Standard");
    const QString setText = LoadLangString(4101, "Figurensatz");
    for (int n = 1; n <= PieceSetCount; ++n)
        ComboBoxPieceSet->addItem(QString("%1 %2").arg(setText).arg(n));
    ComboBoxPieceSet->setCurrentIndex(std::clamp(Settings().PieceSet, 0, PieceSetCount));
}

void TFormChangePieceSet::ComboBoxPieceSetChange() {
    OpenPieceGraphics();
    FSetBitmap = PieceSetFromFile(std::max(0, ComboBoxPieceSet->currentIndex()));
    ShowPiecePreview();
    ClosePieceGraphics();
}

void TFormChangePieceSet::ShowPiecePreview() {
    const int w = FSetBitmap.width() / PieceKinds;
    const int h = FSetBitmap.height() / SetRows;
    FPreviewBitmap = w > 0 && h > 0 ? FSetBitmap.copy(w * FPieceIndex, h * FColorRow, w, h) : QImage();
    LabelSize->setText(LoadLangString(4102, "Größe: ") + QString("%1x%2").arg(w).arg(h));
    LabelPiece->setText(LoadLangString(FirstPieceNameText + FPieceIndex, PieceNames[FPieceIndex]));
    ImagePieceSet->setPixmap(QPixmap::fromImage(FPreviewBitmap));
}

void TFormChangePieceSet::StepPiece(int step) {
    FPieceIndex = (FPieceIndex + step + PieceKinds) % PieceKinds;
    ShowPiecePreview();
}

void TFormChangePieceSet::SetColorRow(int row) {
    FColorRow = row;
    ShowPiecePreview();
}

// An empty set (no file) is no valid set: the board keeps its own, but the choice is stored.
void TFormChangePieceSet::ButtonOkClick() {
    const int entry = ComboBoxPieceSet->currentIndex();
    if (FMainBoard) {
        if (entry < 1)
            FMainBoard->SetCustomPieceSet(QImage());
        else if (TChessBrd::IsValidPieceSet(FSetBitmap))
            FMainBoard->SetCustomPieceSet(FSetBitmap);
    }
    Settings().PieceSet = entry;
    accept();
}
