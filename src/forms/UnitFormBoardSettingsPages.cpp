// The board settings dialog's four pages and their controls, with the design texts and the text
// numbers the languages translate them by.

#include "BoardSettingsWidgets.h"
#include "FormWidgets.h"
#include "UnitFormBoardSettings.h"
#include "UnitSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr QSize ClientSize(389, 297);
constexpr auto DesignCaption = "Schachbrett Einstellungen";
constexpr int ColorHintTag = 4321;
constexpr int ChangeTag = 4311;

QGroupBox* NewGroup(const QString& name, const QString& title, int tag, QWidget* parent) {
    return Tagged<QGroupBox>(name, tag, title, parent);
}

QLabel* NewLabel(const QString& name, const QString& text, int tag, QWidget* parent) {
    return Tagged<QLabel>(name, tag, text, parent);
}

QCheckBox* NewCheckBox(const QString& name, const QString& text, int tag, QWidget* parent) {
    return Tagged<QCheckBox>(name, tag, text, parent);
}

// The up-down fields of the dialog run round: past the largest value comes the smallest.
QSpinBox* NewWrappingNumber(const QString& name, int minimum, int maximum, QWidget* parent) {
    auto* number = Tagged<QSpinBox>(name, 0, parent);
    number->setRange(minimum, maximum);
    number->setWrapping(true);
    return number;
}

} // namespace

TFormBoardSettings* FormBoardSettings = nullptr;

TFormBoardSettings::TFormBoardSettings(QWidget* parent) : QDialog(parent) {
    setObjectName("FormBoardSettings");
    setWindowTitle(DesignCaption);
    PageControl = Tagged<QTabWidget>("PageControl", 0, this);
    PageControl->addTab(CreateCoordinatesPage(), "Koordinaten");
    PageControl->addTab(CreateMiscPage(), "Verschiedenes");
    PageControl->addTab(CreateSquaresPage(), "Felder");
    PageControl->addTab(CreatePiecesPage(), "Figuren");

    ButtonOk = Tagged<QPushButton>("ButtonOk", 10, "&Ok", this);
    ButtonCancel = Tagged<QPushButton>("ButtonCancel", 11, "&Abbrechen", this);
    ButtonOk->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ButtonOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(ButtonCancel, QDialogButtonBox::RejectRole);
    connect(ButtonOk, &QPushButton::clicked, this, &TFormBoardSettings::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addWidget(buttons);
    resize(ClientSize.expandedTo(minimumSizeHint()));
}

TColorShape* TFormBoardSettings::NewColorShape(const QString& name) {
    auto* shape = Tagged<TColorShape>(name, ColorHintTag, this);
    shape->setToolTip("anklicken um die Farbe zu ändern");
    return shape;
}

QWidget* TFormBoardSettings::CreateCoordinatesPage() {
    auto* page = Tagged<QWidget>("TabSheetCoordinates", 4301, this);
    auto* where = NewGroup("GroupBoxWhere", "Anzeige", 4304, page);
    CheckBoxNorth = NewCheckBox("CheckBoxNorth", "Norden / oberhalb des Schachbrettes", 4305, where);
    CheckBoxWest = NewCheckBox("CheckBoxWest", "Westen /  links neben dem Schachbrett", 4306, where);
    CheckBoxEast = NewCheckBox("CheckBoxEast", "Osten / rechts neben dem Schachbrett", 4307, where);
    CheckBoxSouth = NewCheckBox("CheckBoxSouth", "Süden / unterhalb des Schachbrettes", 4308, where);
    auto* sides = new QVBoxLayout(where);
    for (QCheckBox* side : {CheckBoxNorth, CheckBoxWest, CheckBoxEast, CheckBoxSouth})
        sides->addWidget(side);

    auto* font = NewGroup("GroupBoxFont", "Schriftart", 4309, page);
    ButtonFontChange = Tagged<QPushButton>("ButtonFontChange", ChangeTag, "Ändern", font);
    connect(ButtonFontChange, &QPushButton::clicked, this, &TFormBoardSettings::ButtonFontChangeClick);
    ShapeFontColor = NewColorShape("ShapeFontColor");
    PanelFontExample = NewLabel("PanelFontExample", "ABC123", 0, font);
    PanelFontExample->setAlignment(Qt::AlignCenter);
    PanelFontExample->setFrameShape(QFrame::StyledPanel);
    PanelFontExample->setAutoFillBackground(true);
    QPalette white = PanelFontExample->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    PanelFontExample->setPalette(white);
    auto* grid = new QGridLayout(font);
    grid->addWidget(NewLabel("LabelFontSettings", "Einstellungen", 4310, font), 0, 0);
    grid->addWidget(ButtonFontChange, 0, 1, Qt::AlignLeft);
    grid->addWidget(NewLabel("LabelFontColor", "Farbe", 4312, font), 1, 0);
    grid->addWidget(ShapeFontColor, 1, 1, Qt::AlignLeft);
    grid->addWidget(NewLabel("LabelFontExample", "Beispiel:", 4313, font), 2, 0);
    grid->addWidget(PanelFontExample, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(where);
    layout->addWidget(font);
    layout->addStretch(1);
    return page;
}

void TFormBoardSettings::CreatePictureChoice(TPictureChoice& choice, QGridLayout* grid, int row,
                                             const QString& name) {
    QWidget* group = grid->parentWidget();
    choice.Use = NewCheckBox("CheckBox" + name + "Image", "Hintergrundbild", 4316, group);
    choice.Preview = new TPicturePreview("Image" + name, "Label" + name + "None", group);
    choice.Preview->setObjectName("Panel" + name + "Image");
    choice.Change = Tagged<QPushButton>("Button" + name + "ImageChange", ChangeTag, "&Ändern", group);
    connect(choice.Change, &QPushButton::clicked, this, [this, &choice] { PictureChangeClick(choice); });
    grid->addWidget(choice.Use, row, 0, 1, 2);
    grid->addWidget(choice.Preview, row + 1, 0, 1, 2);
    grid->addWidget(choice.Change, row + 1, 2, Qt::AlignBottom);
}

QWidget* TFormBoardSettings::CreateMiscPage() {
    auto* page = Tagged<QWidget>("TabSheetMisc", 4302, this);
    auto* border = NewGroup("GroupBoxBorder", "Rahmen", 4314, page);
    ShapeBorderColor = NewColorShape("ShapeBorderColor");
    UpDownBorderWidth = NewWrappingNumber("UpDownBorderWidth", 0, SettingRange::BorderWidthMax, border);
    auto* borderGrid = new QGridLayout(border);
    borderGrid->addWidget(ShapeBorderColor, 0, 0);
    borderGrid->addWidget(NewLabel("LabelBorderWidth", "Breite", 4315, border), 0, 1, Qt::AlignRight);
    borderGrid->addWidget(UpDownBorderWidth, 0, 2);
    Border.PathSetting = &TSettings::BorderBackgroundPicture;
    Border.UseSetting = &TSettings::BorderBackground;
    CreatePictureChoice(Border, borderGrid, 1, "Border");

    auto* snapshot = NewGroup("GroupBoxSnapshot", "Snapshot", 4324, page);
    // The label takes the first field of the list's text; the list takes the whole text.
    LabelClipboardFormat = NewLabel("LabelClipboardFormat", "Clipboard-Format", 0, snapshot);
    ComboBoxClipboardFormat = Tagged<QComboBox>("ComboBoxClipboardFormat", 4322, snapshot);
    ComboBoxClipboardFormat->addItems({"BITMAP", "JPEG"});
    UpDownJpegQuality = NewWrappingNumber("UpDownJpegQuality", SettingRange::JpegQualityMin,
                                          SettingRange::JpegQualityMax, snapshot);
    auto* snapshotGrid = new QGridLayout(snapshot);
    snapshotGrid->addWidget(LabelClipboardFormat, 0, 0);
    snapshotGrid->addWidget(ComboBoxClipboardFormat, 0, 1);
    snapshotGrid->addWidget(NewLabel("LabelJpegQuality", "JEPG-Qualität", 4323, snapshot), 1, 0);
    snapshotGrid->addWidget(UpDownJpegQuality, 1, 1);

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(border, 1);
    layout->addWidget(snapshot, 1, Qt::AlignTop);
    return page;
}

QWidget* TFormBoardSettings::CreateSquaresPage() {
    auto* page = Tagged<QWidget>("TabSheetSquares", 4303, this);
    auto squares = [this, page](const QString& name, const QString& title, int tag, TColorShape*& shape,
                                TPictureChoice& choice) {
        auto* group = NewGroup("GroupBoxSquares" + name, title, tag, page);
        shape = NewColorShape("ShapeSquares" + name + "Color");
        auto* grid = new QGridLayout(group);
        grid->addWidget(shape, 0, 0);
        CreatePictureChoice(choice, grid, 1, "Squares" + name);
        return group;
    };
    LightSquares.PathSetting = &TSettings::LightSquaresBackgroundPicture;
    LightSquares.UseSetting = &TSettings::LightSquaresBackground;
    DarkSquares.PathSetting = &TSettings::DarkSquaresBackgroundPicture;
    DarkSquares.UseSetting = &TSettings::DarkSquaresBackground;
    auto* groups = new QHBoxLayout;
    groups->addWidget(squares("Light", "helle Felder", 4317, ShapeSquaresLightColor, LightSquares));
    groups->addWidget(squares("Dark", "dunkle Felder", 4318, ShapeSquaresDarkColor, DarkSquares));
    CheckBoxBoardLines = NewCheckBox("CheckBoxBoardLines", "Felder durch Linien trennen", 4319, page);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(groups);
    layout->addWidget(CheckBoxBoardLines);
    layout->addStretch(1);
    return page;
}

QWidget* TFormBoardSettings::CreatePiecesPage() {
    auto* page = Tagged<QWidget>("TabSheetPieces", 3010, this);
    CheckBoxAnimateMoves = NewCheckBox("CheckBoxAnimateMoves", "Züge animieren", 3011, page);
    auto* delay = NewGroup("GroupBoxAnimationDelay", "Animation", 3012, page);
    TrackBarAnimationDelay = Tagged<QSlider>("TrackBarAnimationDelay", 0, Qt::Horizontal, delay);
    TrackBarAnimationDelay->setRange(0, SettingRange::AnimationDelayMax);
    TrackBarAnimationDelay->setSingleStep(1);
    TrackBarAnimationDelay->setPageStep(1);
    TrackBarAnimationDelay->setTickPosition(QSlider::TicksBelow);
    TrackBarAnimationDelay->setTickInterval(1);
    auto* grid = new QGridLayout(delay);
    grid->addWidget(TrackBarAnimationDelay, 0, 0, 1, 2);
    grid->addWidget(NewLabel("LabelSchnell", "schnell", 3013, delay), 1, 0, Qt::AlignLeft);
    auto* slow = NewLabel("LabelLangsam", "langsam", 3014, delay);
    slow->setAlignment(Qt::AlignRight);
    grid->addWidget(slow, 1, 1, Qt::AlignRight);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(CheckBoxAnimateMoves);
    layout->addWidget(delay);
    layout->addStretch(1);
    return page;
}
