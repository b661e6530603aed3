// The options dialog's four pages and their controls, with the design texts and the text numbers the
// languages translate them by.

#include "FormWidgets.h"
#include "RadioGroup.h"
#include "UnitFormOptionen.h"
#include "UnitSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr auto DesignCaption = "Einstellungen";
constexpr int IndentPixels = 20; // a dependent switch sits under the one it depends on
constexpr int BlitzMinutesWidth = 70;

QCheckBox* NewCheckBox(const QString& name, const QString& text, int tag, QWidget* parent) {
    return Tagged<QCheckBox>(name, tag, text, parent);
}

QLabel* NewLabel(const QString& text, int tag, QWidget* parent, bool bold = false) {
    auto* label = Tagged<QLabel>(QString(), tag, text, parent);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

// The machine a level needs: two lines in a sunken box, to be read, not edited.
QFrame* NewMachineText(const QString& line1, int tag1, const QString& line2, int tag2, QWidget* parent) {
    auto* box = new QFrame(parent);
    box->setFrameShape(QFrame::Panel);
    box->setFrameShadow(QFrame::Sunken);
    auto* lines = new QVBoxLayout(box);
    lines->addWidget(NewLabel(line1, tag1, box));
    lines->addWidget(NewLabel(line2, tag2, box));
    return box;
}

void Indent(QGridLayout* grid, QWidget* widget, int row) {
    auto* line = new QHBoxLayout;
    line->addSpacing(IndentPixels);
    line->addWidget(widget, 1);
    grid->addLayout(line, row, 0);
}

// An up-down field for 0 to 999 minutes that runs round at either end.
QSpinBox* NewMinutes(const QString& name, QWidget* parent) {
    auto* minutes = Tagged<QSpinBox>(name, 0, parent);
    minutes->setRange(0, SettingRange::BlitzMinutesMax);
    minutes->setWrapping(true);
    minutes->setMinimumWidth(BlitzMinutesWidth);
    return minutes;
}

} // namespace

TFormOptionen* FormOptionen = nullptr;

TFormOptionen::TFormOptionen(QWidget* parent) : QDialog(parent) {
    setObjectName("FormOptionen");
    setWindowTitle(DesignCaption);
    PageControl = Tagged<QTabWidget>("PageControl", 0, this);
    PageControl->addTab(CreateGeneralPage(), "&Allgemein");
    PageControl->addTab(CreateSoundPage(), "&Sound");
    PageControl->addTab(CreateMasterPage(), "Spielstärke &Master");
    PageControl->addTab(CreateGameModePage(), "Spielmodus");

    ButtonOk = Tagged<QPushButton>("ButtonOk", 10, "&Ok", this);
    ButtonAbbrechen = Tagged<QPushButton>("ButtonAbbrechen", 11, "&Abbrechen", this);
    ButtonOk->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(ButtonOk, QDialogButtonBox::AcceptRole);
    buttons->addButton(ButtonAbbrechen, QDialogButtonBox::RejectRole);
    connect(ButtonOk, &QPushButton::clicked, this, &TFormOptionen::ButtonOkClick);
    connect(ButtonAbbrechen, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addWidget(buttons);
}

TFormOptionen::~TFormOptionen() = default;

QWidget* TFormOptionen::CreateGeneralPage() {
    auto* page = Tagged<QWidget>("TabSheetAllgemein", 3000);
    auto* grid = new QGridLayout(page);
    CheckBoxEinstellungenSpeichern =
        NewCheckBox("CheckBoxEinstellungenSpeichern", "Einstellungen beim beenden speichern", 3002, page);
    CheckBoxSaveMainWin =
        NewCheckBox("CheckBoxSaveMainWin", "Position und Größe des Hauptfensters speichern", 3036, page);
    CheckBoxBrdAutoResize =
        NewCheckBox("CheckBoxBrdAutoResize", "Schachbrett automatisch an Hauptfenster anpassen", 3027, page);
    CheckBoxMassages =
        NewCheckBox("CheckBoxMassages", "Hinweise in Messagebox anzeigen (Schach, Schachmatt)", 3004, page);
    CheckBoxAnzeigePause = NewCheckBox("CheckBoxAnzeigePause", "Spielpause anzeigen", 3005, page);
    CheckBoxShowHints = NewCheckBox("CheckBoxShowHints", "Tooltips anzeigen", 3028, page);
    CheckBoxModernDesign =
        NewCheckBox("CheckBoxModernDesign", "Flache Schaltflächen im Hauptfenster", 3039, page);
    ButtonChangeLanguage = Tagged<QPushButton>("ButtonChangeLanguage", 3008, "Sprache wechseln", page);
    grid->addWidget(CheckBoxEinstellungenSpeichern, 0, 0);
    Indent(grid, CheckBoxSaveMainWin, 1);
    int row = 2;
    for (QCheckBox* box : {CheckBoxBrdAutoResize, CheckBoxMassages, CheckBoxAnzeigePause, CheckBoxShowHints,
                           CheckBoxModernDesign})
        grid->addWidget(box, row++, 0);
    grid->addWidget(ButtonChangeLanguage, row++, 0, Qt::AlignLeft);
    grid->setRowStretch(row, 1);
    connect(CheckBoxEinstellungenSpeichern, &QCheckBox::clicked, this, &TFormOptionen::UpdateEnabledStates);
    connect(ButtonChangeLanguage, &QPushButton::clicked, this, &TFormOptionen::ButtonChangeLanguageClick);
    return page;
}

QWidget* TFormOptionen::CreateSoundPage() {
    auto* page = Tagged<QWidget>("TabSheetSound", 3001);
    auto* grid = new QGridLayout(page);
    CheckBoxSound = NewCheckBox("CheckBoxSound", "Sound", 3003, page);
    CheckBoxMusik = NewCheckBox("CheckBoxMusik", "Musik während einer Partie", 3038, page);
    CheckBoxSprache = NewCheckBox("CheckBoxSprache", "Sprachausgabe", 3006, page);
    CheckBoxSpMoves = NewCheckBox("CheckBoxSpMoves", "Sprachausgabe der Züge", 3037, page);
    LabelSpPfad = Tagged<QLabel>("LabelSpPfad", 3007, "Pfad für Sprachdateien", page);
    EditSpPfad = Tagged<QLineEdit>("EditSpPfad", 0, page);
    SpeedButtonSpPfad = Tagged<QToolButton>("SpeedButtonSpPfad", 0, page);
    SpeedButtonSpPfad->setText("...");
    LabelSpPfad->setBuddy(EditSpPfad);
    grid->addWidget(CheckBoxSound, 0, 0, 1, 2);
    Indent(grid, CheckBoxMusik, 1);
    grid->addWidget(CheckBoxSprache, 2, 0, 1, 2);
    Indent(grid, CheckBoxSpMoves, 3);
    grid->addWidget(LabelSpPfad, 4, 0, 1, 2);
    grid->addWidget(EditSpPfad, 5, 0);
    grid->addWidget(SpeedButtonSpPfad, 5, 1);
    grid->setRowStretch(6, 1);
    for (QCheckBox* box : {CheckBoxSound, CheckBoxSprache})
        connect(box, &QCheckBox::clicked, this, &TFormOptionen::UpdateEnabledStates);
    connect(SpeedButtonSpPfad, &QToolButton::clicked, this, &TFormOptionen::SpeedButtonSpPfadClick);
    return page;
}

QWidget* TFormOptionen::CreateMasterPage() {
    auto* page = Tagged<QWidget>("TabSheetMaster", 3015);
    auto* grid = new QGridLayout(page);
    TrackBarSearchDepth = Tagged<QSlider>("TrackBarSearchDepth", 0, Qt::Horizontal, page);
    TrackBarSearchDepth->setRange(0, SettingRange::MasterLevelMax);
    TrackBarSearchDepth->setTickInterval(1);
    TrackBarSearchDepth->setPageStep(1);
    TrackBarSearchDepth->setTickPosition(QSlider::TicksBelow);
    TrackBarSearchDepth->installEventFilter(this);
    connect(TrackBarSearchDepth, &QSlider::valueChanged, this, &TFormOptionen::ShowLevelHint);

    grid->addWidget(NewLabel("Spielstärke", 3016, page, true), 0, 0, 1, 3, Qt::AlignHCenter);
    grid->addWidget(NewLabel("schwächer", 3018, page), 1, 0);
    grid->addWidget(NewLabel("stärker", 3019, page), 1, 2, Qt::AlignRight);
    grid->addWidget(TrackBarSearchDepth, 2, 0, 1, 3);
    grid->addWidget(NewLabel("Rechenzeit", 3017, page, true), 3, 0, 1, 3, Qt::AlignHCenter);
    grid->addWidget(NewLabel("schneller", 3020, page), 4, 0);
    grid->addWidget(NewLabel("langsamer", 3021, page), 4, 2, Qt::AlignRight);
    grid->addWidget(NewLabel("empf. Konfiguration", 3022, page, true), 5, 0, 1, 3, Qt::AlignHCenter);
    grid->addWidget(NewMachineText("Zwei Kerne, 2 GHz", 5510, "2 GB RAM", 5511, page), 6, 0);
    grid->addWidget(NewMachineText("Vier Kerne, 3 GHz", 5512, "4 GB RAM", 5513, page), 6, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(7, 1);
    return page;
}

QWidget* TFormOptionen::CreateGameModePage() {
    auto* page = Tagged<QWidget>("TabSheetSpielmodus", 3029);
    auto* layout = new QVBoxLayout(page);
    RadioGroupGameVariant = Tagged<TRadioGroup>("RadioGroupGameVariant", 3030, page);
    RadioGroupGameVariant->setTitle("Spielvariante");
    RadioGroupGameVariant->SetItems({"Standard", "Blitzschach"});
    RadioGroupGameVariant->SetColumns(2);
    auto* blitz = Tagged<QGroupBox>("GroupBoxBlitzschach", 3032, "Blitzschach", page);
    auto* grid = new QGridLayout(blitz);
    EditBlitzschachZeit = NewMinutes("EditBlitzschachZeit", blitz);
    EditBlitzschachWarnung = NewMinutes("EditBlitzschachWarnung", blitz);
    grid->addWidget(NewLabel("Maximale Spielzeit je Spieler", 3033, blitz), 0, 0);
    grid->addWidget(EditBlitzschachZeit, 0, 1);
    grid->addWidget(NewLabel("Minute(n)", 3034, blitz), 0, 2);
    grid->addWidget(NewLabel("Warnung vor Zeitablauf", 3035, blitz), 1, 0);
    grid->addWidget(EditBlitzschachWarnung, 1, 1);
    grid->addWidget(NewLabel("Minute(n)", 3034, blitz), 1, 2);
    grid->setColumnStretch(3, 1);
    layout->addWidget(RadioGroupGameVariant);
    layout->addWidget(blitz);
    layout->addStretch(1);
    return page;
}
