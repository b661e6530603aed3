#include "UnitFormSelectLanguage.h"

#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormSelectLanguage* FormSelectLanguage = nullptr;

namespace {
constexpr int CaptionText = 10000;
}

TFormSelectLanguage::TFormSelectLanguage(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      LabelSprachwahl(new QLabel("Wählen Sie die Sprache, die das Programm benutzen soll", this)),
      ComboBoxSprache(new QComboBox(this)), ButtonOk(new QPushButton("&Ok", this)),
      ButtonCancel(new QPushButton("&Abbrechen", this)) {
    setObjectName("FormSelectLanguage");
    setWindowTitle("Sprache auswählen");
    LabelSprachwahl->setObjectName("LabelSprachwahl");
    LabelSprachwahl->setProperty("Tag", 10001);
    LabelSprachwahl->setWordWrap(true);
    ComboBoxSprache->setObjectName("ComboBoxSprache");
    ButtonOk->setObjectName("ButtonOk");
    ButtonOk->setProperty("Tag", 10);
    ButtonOk->setDefault(true);
    ButtonCancel->setObjectName("ButtonCancel");
    ButtonCancel->setProperty("Tag", 11);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonOk);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelSprachwahl);
    layout->addWidget(ComboBoxSprache);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize); // not resizable

    connect(ButtonOk, &QPushButton::clicked, this, &TFormSelectLanguage::ButtonOkClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormSelectLanguage::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    if (parentWidget()) move(CenteredPosition(parentWidget()->window()->frameGeometry(), frameGeometry().size()));
}

void TFormSelectLanguage::LoadCaption() { setWindowTitle(LoadLangString(CaptionText, "Sprache auswählen")); }

void TFormSelectLanguage::FormShow() {
    TranslateWindow(this);
    QStringList languages;
    ListLanguages(languages);
    ComboBoxSprache->clear();
    ComboBoxSprache->addItems(languages);
    ComboBoxSprache->setCurrentIndex(static_cast<int>(languages.indexOf(Settings().Language)));
    LoadCaption();
}

void TFormSelectLanguage::ButtonOkClick() {
    if (ComboBoxSprache->currentIndex() < 0) return accept();
    const QString chosen = ComboBoxSprache->currentText();
    if (!SetLanguage(chosen).isEmpty()) Settings().Language = chosen;
    LoadCaption();
    accept();
}
