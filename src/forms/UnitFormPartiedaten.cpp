#include "UnitFormPartiedaten.h"

#include "RadioGroup.h"
#include "UnitClasses.h"
#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFormPartiedaten* FormPartiedaten = nullptr;

namespace {

constexpr QSize ClientSize(506, 352);
constexpr int ColourPanelWidth = 72;
constexpr int ResultColumns = 4;
constexpr int TextWhite = 103;
constexpr int TextBlack = 104;

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text, int tag,
                 QWidget* buddy = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setProperty("Tag", tag);
    if (buddy) label->setBuddy(buddy);
    return label;
}

QLabel* NewHeading(QWidget* parent, const QString& name, const QString& text, int tag) {
    QLabel* heading = NewLabel(parent, name, text, tag);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    return heading;
}

QLineEdit* NewEdit(QWidget* parent, const QString& name, int capacity) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(capacity);
    return edit;
}

QSpinBox* NewSpinEdit(QWidget* parent, const QString& name, int maximum) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, maximum);
    // A year reads better without a thousands separator.
    spin->setGroupSeparatorShown(false);
    return spin;
}

// "Weiß" on white with black text, or "Schwarz" on black with white text.
void ShowColour(QLabel* panel, bool black) {
    panel->setText(black ? LoadLangString(TextBlack, "Schwarz") : LoadLangString(TextWhite, "Weiß"));
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, black ? Qt::black : Qt::white);
    palette.setColor(QPalette::WindowText, black ? Qt::white : Qt::black);
    panel->setPalette(palette);
}

} // namespace

TFormPartiedaten::TFormPartiedaten(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("FormPartiedaten");
    setWindowTitle("Partiedaten");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // Without a caption bar the dialog draws its own edge, so it stands apart from the window below.
    auto* back = new QFrame(this);
    back->setFrameStyle(QFrame::Panel | QFrame::Raised);
    outer->addWidget(back);
    auto* layout = new QVBoxLayout(back);

    LabelSpielerdaten = NewHeading(back, "LabelSpielerdaten", "Spielerdaten", 4501);
    layout->addWidget(LabelSpielerdaten);
    auto* players = new QGridLayout;
    CreatePlayerRows(players);
    layout->addLayout(players);

    LabelPartiedaten = NewHeading(back, "LabelPartiedaten", "Partiedaten", 4503);
    layout->addWidget(LabelPartiedaten);
    auto* game = new QGridLayout;
    CreateGameRows(game);
    layout->addLayout(game);

    edtKommentare = NewEdit(back, "edtKommentare", TPartieDaten::TextCapacity);
    LabelKommentare = NewHeading(back, "LabelKommentare", "Kommentare", 4512);
    LabelKommentare->setBuddy(edtKommentare);
    layout->addWidget(LabelKommentare);
    layout->addWidget(edtKommentare);

    rgErgebnis = new TRadioGroup(back);
    rgErgebnis->setObjectName("rgErgebnis");
    rgErgebnis->setProperty("Tag", 4511);
    rgErgebnis->setTitle("Ergebnis");
    rgErgebnis->SetColumns(ResultColumns);
    rgErgebnis->SetItems({"1 - 0", "1/2 - 1/2", "0 - 1", "kein Ergebnis"});
    layout->addWidget(rgErgebnis);

    cbShowPartiedaten = new QCheckBox("Fenster bei neuer Partie anzeigen", back);
    cbShowPartiedaten->setObjectName("cbShowPartiedaten");
    cbShowPartiedaten->setProperty("Tag", 4513);
    btnOk = new QPushButton("&Ok", back);
    btnOk->setObjectName("btnOk");
    btnOk->setProperty("Tag", 10);
    btnOk->setDefault(true);
    btnAbbrechen = new QPushButton("&Abbrechen", back);
    btnAbbrechen->setObjectName("btnAbbrechen");
    btnAbbrechen->setProperty("Tag", 11);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnAbbrechen, &QPushButton::clicked, this, &QDialog::reject); // Escape rejects too
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cbShowPartiedaten);
    bottom->addStretch(1);
    bottom->addWidget(btnOk);
    bottom->addWidget(btnAbbrechen);
    layout->addStretch(1);
    layout->addLayout(bottom);

    // The designed size, or larger where the texts of a language or a large font need more room.
    setFixedSize(ClientSize.expandedTo(outer->totalMinimumSize()));
}

// Colour, name, "Elo" and rating of each player in a row.
void TFormPartiedaten::CreatePlayerRows(QGridLayout* grid) {
    QWidget* back = LabelSpielerdaten->parentWidget();
    auto row = [this, grid, back](int player) {
        const QString n = QString::number(player);
        auto* colour = new QLabel(back);
        colour->setObjectName("PanelColor" + n);
        colour->setAlignment(Qt::AlignCenter);
        colour->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        colour->setAutoFillBackground(true);
        colour->setFixedWidth(ColourPanelWidth);
        QLineEdit* name = NewEdit(back, "edtSpieler" + n, TPartieDaten::NameCapacity);
        QSpinBox* elo = NewSpinEdit(back, "edtElo" + n, MaxElo);
        grid->addWidget(colour, player - 1, 0);
        grid->addWidget(name, player - 1, 1);
        grid->addWidget(NewLabel(back, "LabelElo" + n, "Elo", 4502, elo), player - 1, 2);
        grid->addWidget(elo, player - 1, 3);
        return std::make_tuple(colour, name, elo);
    };
    std::tie(PanelColor1, edtSpieler1, edtElo1) = row(1);
    std::tie(PanelColor2, edtSpieler2, edtElo2) = row(2);
    grid->setColumnStretch(1, 1);
}

// Event and site across the dialog, then date, round and opening code.
void TFormPartiedaten::CreateGameRows(QGridLayout* grid) {
    QWidget* back = LabelPartiedaten->parentWidget();
    constexpr int AllColumns = 7;
    edtEreignis = NewEdit(back, "edtEreignis", TPartieDaten::TextCapacity);
    edtOrt = NewEdit(back, "edtOrt", TPartieDaten::TextCapacity);
    grid->addWidget(NewLabel(back, "LabelEreignis", "Ereignis", 4504, edtEreignis), 0, 0);
    grid->addWidget(edtEreignis, 0, 1, 1, AllColumns);
    grid->addWidget(NewLabel(back, "LabelOrt", "Ort", 4505, edtOrt), 1, 0);
    grid->addWidget(edtOrt, 1, 1, 1, AllColumns);

    struct NumberField {
        QSpinBox*& Edit;
        const char* Name;
        const char* Caption;
        int Maximum;
        int Tag;
    };
    const NumberField numbers[] = {{edtJahr, "Jahr", "Jahr", MaxYear, 4506},
                                   {edtMonat, "Monat", "Monat", MaxMonth, 4507},
                                   {edtTag, "Tag", "Tag", MaxDay, 4508},
                                   {edtRunde, "Runde", "Runde", MaxRound, 4509}};
    int column = 0;
    for (const NumberField& field : numbers) {
        field.Edit = NewSpinEdit(back, QString("edt") + field.Name, field.Maximum);
        grid->addWidget(NewLabel(back, QString("Label") + field.Name, field.Caption, field.Tag, field.Edit),
                        2, column++);
        grid->addWidget(field.Edit, 2, column++);
    }
    edtECO = NewEdit(back, "edtECO", TPartieDaten::EcoCapacity);
    grid->addWidget(NewLabel(back, "LabelECO", "ECO", 4510, edtECO), 3, 0);
    grid->addWidget(edtECO, 3, 1);
}

int TFormPartiedaten::Edit(TPartieDaten& data, bool player1Black) {
    FormShow(data, player1Black);
    const int result = exec();
    if (result == QDialog::Accepted) btnOkClick(data);
    return result;
}

void TFormPartiedaten::FormShow(const TPartieDaten& data, bool player1Black) {
    ShowColour(PanelColor1, player1Black);
    ShowColour(PanelColor2, !player1Black);
    edtSpieler1->setText(data.Player1Name());
    edtSpieler2->setText(data.Player2Name());
    edtElo1->setValue(data.Player1Elo());
    edtElo2->setValue(data.Player2Elo());
    edtEreignis->setText(data.Event());
    edtOrt->setText(data.Site());
    edtKommentare->setText(data.Comments());
    edtJahr->setValue(data.Year());
    edtMonat->setValue(data.Month());
    edtTag->setValue(data.Day());
    edtRunde->setValue(data.Round());
    edtECO->setText(data.ECO());
    rgErgebnis->SetItemIndex(data.Result());
    cbShowPartiedaten->setChecked(Settings().ShowPartiedaten);
    edtSpieler1->setFocus();
}

// Every field at once: the spin boxes hold only numbers in their ranges, so nothing can fail halfway.
void TFormPartiedaten::btnOkClick(TPartieDaten& data) const {
    data.SetPlayer1Name(edtSpieler1->text());
    data.SetPlayer2Name(edtSpieler2->text());
    data.SetPlayer1Elo(edtElo1->value());
    data.SetPlayer2Elo(edtElo2->value());
    data.SetEvent(edtEreignis->text());
    data.SetSite(edtOrt->text());
    data.SetComments(edtKommentare->text());
    data.SetYear(edtJahr->value());
    data.SetMonth(edtMonat->value());
    data.SetDay(edtTag->value());
    data.SetRound(edtRunde->value());
    data.SetECO(edtECO->text());
    data.SetResult(rgErgebnis->ItemIndex());
    Settings().ShowPartiedaten = cbShowPartiedaten->isChecked();
}

void TFormPartiedaten::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(CenteredPosition(owner->window()->frameGeometry(), frameGeometry().size()));
}

// Presses that no control takes reach the dialog itself: they drag it, as a caption bar would.
void TFormPartiedaten::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
    FDragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    event->accept();
}

void TFormPartiedaten::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return QDialog::mouseMoveEvent(event);
    move(event->globalPosition().toPoint() - FDragOffset);
    event->accept();
}
