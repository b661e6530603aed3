#include "UnitFormLoadSavePosition.h"

#include "ChessBrd.h"
#include "SettingsKey.h"
#include "StoredPositions.h"
#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QDir>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFormLoadSavePosition* FormLoadSavePosition = nullptr;

namespace {

constexpr auto DesignCaption = "Positionen laden und speichern";
constexpr auto DefaultFileName = "tessaron.pos";
constexpr auto FileExtension = "pos";
constexpr QSize DesignSize(330, 260);
// The name stands between double quotes.
constexpr auto DeleteQuestion = "Position \"%s\" wirklich löschen?";

QString FileFilter() {
    return LoadLangString(5461, "Positionsdateien") + " (*.pos)|*.pos;*.POS";
}

// A text with "%d" for a number and "%s" for a name or file; the number goes in first, so that a
// name holding "%d" stays as it is.
QString Filled(const QString& text, int number, const QString& name) {
    return QString(text).replace("%d", QString::number(number)).replace("%s", name);
}

} // namespace

TFormLoadSavePosition::TFormLoadSavePosition(TChessBrd* editorBoard, QWidget* parent)
    : QDialog(parent, Qt::Tool), FEditorBoard(editorBoard) {
    setObjectName("FormLoadSavePosition");
    setWindowTitle(DesignCaption);
    resize(DesignSize);
    ListBoxPosition = new QListWidget(this);
    ListBoxPosition->setObjectName("ListBoxPosition");
    connect(ListBoxPosition, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        ListBoxPosition->setCurrentItem(item);
        ButtonLoadClick();
    });

    ButtonLoad = NewButton("ButtonLoad", "&Laden", 1003);
    ButtonSave = NewButton("ButtonSave", "&Speichern", 1004);
    ButtonDelete = NewButton("ButtonDelete", "&Entfernen", 20);
    ButtonImportieren = NewButton("ButtonImportieren", "&Importieren", 3704);
    ButtonExportieren = NewButton("ButtonExportieren", "E&xportieren", 3705);
    ButtonCancel = NewButton("ButtonCancel", "&Abbrechen", 11);
    connect(ButtonLoad, &QPushButton::clicked, this, &TFormLoadSavePosition::ButtonLoadClick);
    connect(ButtonSave, &QPushButton::clicked, this, &TFormLoadSavePosition::ButtonSaveClick);
    connect(ButtonDelete, &QPushButton::clicked, this, &TFormLoadSavePosition::ButtonDeleteClick);
    connect(ButtonImportieren, &QPushButton::clicked, this, &TFormLoadSavePosition::ButtonImportierenClick);
    connect(ButtonExportieren, &QPushButton::clicked, this, &TFormLoadSavePosition::ButtonExportierenClick);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {ButtonLoad, ButtonSave, ButtonDelete, ButtonImportieren, ButtonExportieren})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(ButtonCancel);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(ListBoxPosition, 1);
    layout->addLayout(buttons);
}

QPushButton* TFormLoadSavePosition::NewButton(const QString& name, const QString& text, int tag) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setProperty("Tag", tag);
    button->setAutoDefault(false);
    return button;
}

void TFormLoadSavePosition::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setWindowTitle(LoadLangString(3700, DesignCaption));
    TranslateWindow(this);
    FillList();
    if (QWidget* owner = parentWidget())
        move(CenteredPosition(owner->window()->frameGeometry(), frameGeometry().size()));
}

void TFormLoadSavePosition::FillList() {
    ListBoxPosition->clear();
    ListBoxPosition->addItems(StoredPositionNames());
}

// --- Load, save, delete --------------------------------------------------------------------------

void TFormLoadSavePosition::ButtonLoadClick() {
    const QListWidgetItem* selected = ListBoxPosition->currentItem();
    if (!selected || !selected->isSelected()) {
        ShowInfoMessage(LoadLangString(3701, "Kein Eintrag ausgewählt!"), this);
        return;
    }
    FEditorBoard->SetPosition(StoredPosition(selected->text()));
    accept();
}

QString TFormLoadSavePosition::AskName() {
    return InputBox(LoadLangString(3702, "Position speichern"),
                    LoadLangString(3703, "Geben Sie eine kurze Beschreibung ein:"), {}, this)
        .value_or(QString());
}

// A name the settings file could not find again is refused; a name in use only after a Yes.
bool TFormLoadSavePosition::MayStoreUnder(const QString& name) {
    if (!IsValidSettingsKey(name)) {
        ReportRefusedPositionName(this);
        return false;
    }
    if (!StoredPositionNames().contains(name, Qt::CaseInsensitive)) return true;
    return ShowCenteredMessage(LoadLangString(5450, "Position bereits vorhanden, überschreiben?"),
                               TMsgDlgType::mtConfirmation, mbYes | mbNo, this) == mrYes;
}

void TFormLoadSavePosition::ButtonSaveClick() {
    const QString name = AskName();
    if (name.isEmpty() || !MayStoreUnder(name)) return;
    if (!StorePosition(name, FEditorBoard->Position())) ReportSettingsNotSaved(this);
    FillList();
}

void TFormLoadSavePosition::ButtonDeleteClick() {
    const QListWidgetItem* selected = ListBoxPosition->currentItem();
    if (!selected || !selected->isSelected()) return;
    const QString name = selected->text();
    if (ShowCenteredMessage(Filled(LoadLangString(5451, DeleteQuestion), 0, name),
                            TMsgDlgType::mtConfirmation, mbYes | mbNo, this) != mrYes)
        return;
    if (!DeleteStoredPosition(name)) ReportSettingsNotSaved(this);
    FillList();
}

// --- Import and export ---------------------------------------------------------------------------

void TFormLoadSavePosition::ReportFileError(int textNumber, const QString& text, const QString& fileName) {
    ShowCenteredMessage(Filled(LoadLangString(textNumber, text), 0, QDir::toNativeSeparators(fileName)),
                        TMsgDlgType::mtError, mbOK, this);
}

void TFormLoadSavePosition::ReportDuplicates(const TPositionExchange& result, int textNumber,
                                             const QString& text) {
    for (const auto& [number, name] : result.Duplicates)
        ShowInfoMessage(Filled(LoadLangString(textNumber, text), number, name), this);
}

void TFormLoadSavePosition::ButtonImportierenClick() {
    const std::optional<QString> fileName =
        PromptOpenFileName(LoadLangString(5459, "Positionen importieren"), {}, FileFilter(), this);
    if (!fileName) return;
    const TPositionExchange result = ImportPositions(*fileName);
    switch (result.Status) {
    case TPositionExchange::TStatus::Unreadable:
        return ReportFileError(5454, "Die Datei %s konnte nicht gelesen werden. Es wurde nichts importiert.",
                               *fileName);
    case TPositionExchange::TStatus::NotPositionFile:
        return ReportFileError(
            5455, "Die Datei %s ist keine Positionsdatei oder ist beschädigt. Es wurde nichts importiert.",
            *fileName);
    case TPositionExchange::TStatus::NotSaved:
        ReportSettingsNotSaved(this);
        return;
    case TPositionExchange::TStatus::Done:
        break;
    }
    ReportDuplicates(result, 5452,
                     "Position Nr. %d (%s)\rist bereits vorhanden und kann nicht importiert werden!");
    if (result.Invalid > 0)
        ShowInfoMessage(
            Filled(LoadLangString(5456, "%d Positionen der Datei wurden übersprungen, weil sie keine "
                                        "gültige Stellung enthalten."),
                   result.Invalid, {}),
            this);
    FillList();
}

void TFormLoadSavePosition::ButtonExportierenClick() {
    const std::optional<QString> fileName = PromptSaveFileName(
        LoadLangString(5460, "Positionen exportieren"), DefaultFileName, FileFilter(), FileExtension, this);
    if (!fileName) return;
    const TPositionExchange result = ExportPositions(*fileName);
    switch (result.Status) {
    case TPositionExchange::TStatus::Unreadable:
    case TPositionExchange::TStatus::NotPositionFile:
        return ReportFileError(
            5457,
            "Die Datei %s ist keine Positionsdatei oder ist beschädigt. Sie bleibt unverändert; "
            "es wurde nichts exportiert.",
            *fileName);
    case TPositionExchange::TStatus::NotSaved:
        return ReportFileError(
            5458,
            "Die Positionen konnten nicht in %s gespeichert werden. Eine Datei, die dort schon "
            "war, ist unverändert geblieben.",
            *fileName);
    case TPositionExchange::TStatus::Done:
        break;
    }
    ReportDuplicates(result, 5453,
                     "Position Nr. %d (%s)\rist bereits vorhanden und kann nicht exportiert werden!");
}
