// The options dialog's behaviour: the settings shown when it opens, which switches depend on which,
// the speech folder and its check, the level description, and the settings written back on OK.

#include "UnitFormOptionen.h"

#include "RadioGroup.h"
#include "UnitDialogFunctions.h"
#include "UnitFormSelectLanguage.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"
#include "UnitSound.h"
#include "UnitSpeech.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>

namespace {

constexpr auto DefaultSpeechFolder = "SOUND\\SPRACHE\\";
constexpr int FirstLevelText = 3023;
// The level description sits near the dialog's bottom-left corner.
constexpr int LevelHintLeft = 20;
constexpr int LevelHintAboveBottom = 80;

QString LevelDescription(int level) {
    // Measured with the engine's own benchmark ("tessaron-engine bench 5" to 8) on two shared cores.
    static const char* const Defaults[] = {"Zeit pro Zug: 0-5 Sekunden", "Zeit pro Zug: 1-10 Sekunden",
                                           "Zeit pro Zug: 3-60 Sekunden", "Zeit pro Zug: 1/4-5 Minuten"};
    return LoadLangString(FirstLevelText + level, Defaults[level]) +
           LoadLangString(5509, " (ein Kern eines heutigen Rechners)");
}

} // namespace

void TFormOptionen::showEvent(QShowEvent* event) {
    ButtonChangeLanguage->setVisible(true);
    setWindowTitle(LoadLangString(3009, "Einstellungen"));
    TranslateForms();
    PageControl->setCurrentIndex(0);
    CheckBoxEinstellungenSpeichern->setFocus();
    LoadOptions();
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(CenteredPosition(owner->window()->frameGeometry(), frameGeometry().size()));
}

void TFormOptionen::LoadOptions() {
    const TSettings& s = Settings();
    CheckBoxEinstellungenSpeichern->setChecked(s.SaveOptions);
    CheckBoxSaveMainWin->setChecked(s.SaveMainWin);
    CheckBoxBrdAutoResize->setChecked(s.BrdAutoResize);
    CheckBoxMassages->setChecked(s.ShowMessages);
    CheckBoxAnzeigePause->setChecked(s.ViewBreak);
    CheckBoxShowHints->setChecked(s.ShowHints);
    CheckBoxModernDesign->setChecked(s.ModernDesign);
    CheckBoxSound->setChecked(s.PlaySound);
    CheckBoxMusik->setChecked(s.PlayMusik);
    CheckBoxSprache->setChecked(s.PlaySp);
    CheckBoxSpMoves->setChecked(s.PlaySpMoves);
    EditSpPfad->setText(s.SpDir);
    TrackBarSearchDepth->setValue(s.SDMF);
    RadioGroupGameVariant->SetItemIndex(s.GameModus);
    EditBlitzschachZeit->setValue(s.BlitzschachZeit);
    EditBlitzschachWarnung->setValue(s.BlitzschachWarnung);
    UpdateEnabledStates();
}

// Without a sound device nothing on the sound page can be switched on.
void TFormOptionen::UpdateEnabledStates() {
    const bool device = WaveOutDeviceCount() > 0;
    const bool sound = CheckBoxSound->isChecked();
    const bool speech = sound && CheckBoxSprache->isChecked();
    CheckBoxSaveMainWin->setEnabled(CheckBoxEinstellungenSpeichern->isChecked());
    CheckBoxSound->setEnabled(device);
    CheckBoxMusik->setEnabled(sound);
    CheckBoxSprache->setEnabled(device && sound);
    CheckBoxSpMoves->setEnabled(speech);
    EditSpPfad->setEnabled(device && speech);
    SpeedButtonSpPfad->setEnabled(speech);
}

void TFormOptionen::SpeedButtonSpPfadClick() {
    const std::optional<QString> folder =
        PromptDirectory(LoadLangString(5514, "Wählen Sie einen Ordner"), QDir::rootPath(), this);
    if (folder) EditSpPfad->setText(QDir::toNativeSeparators(*folder) + QDir::separator());
}

void TFormOptionen::ButtonChangeLanguageClick() {
    if (FormSelectLanguage) FormSelectLanguage->exec();
    setWindowTitle(LoadLangString(3009, "Einstellungen"));
    TranslateForms();
}

void TFormOptionen::ButtonOkClick() {
    if (CheckBoxSpMoves->isChecked()) {
        Settings().SpDir = EditSpPfad->text();
        QWidget* owner = parentWidget() ? parentWidget() : this;
        if (WaveOutDeviceCount() > 0 && !CheckSpeechFiles(owner)) {
            CheckBoxSpMoves->setChecked(false);
            EditSpPfad->setText(DefaultSpeechFolder);
            return;
        }
    }
    SaveOptions();
    SetHintsEnabled(Settings().ShowHints);
    accept();
}

void TFormOptionen::SaveOptions() {
    TSettings& s = Settings();
    s.SaveOptions = CheckBoxEinstellungenSpeichern->isChecked();
    s.SaveMainWin = CheckBoxSaveMainWin->isChecked();
    s.BrdAutoResize = CheckBoxBrdAutoResize->isChecked();
    s.ShowMessages = CheckBoxMassages->isChecked();
    s.ViewBreak = CheckBoxAnzeigePause->isChecked();
    s.ShowHints = CheckBoxShowHints->isChecked();
    s.ModernDesign = CheckBoxModernDesign->isChecked();
    s.PlaySound = CheckBoxSound->isChecked();
    s.PlayMusik = CheckBoxMusik->isChecked();
    s.PlaySp = CheckBoxSprache->isChecked();
    s.PlaySpMoves = CheckBoxSpMoves->isChecked();
    s.SpDir = EditSpPfad->text();
    s.SDMF = TrackBarSearchDepth->value();
    s.GameModus = qMax(0, RadioGroupGameVariant->ItemIndex());
    s.BlitzschachZeit = EditBlitzschachZeit->value();
    s.BlitzschachWarnung = EditBlitzschachWarnung->value();
    if (!WriteOptionsDialogSettings()) ReportSettingsNotSaved(this);
}

// --- The level description -------------------------------------------------------------------------

bool TFormOptionen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TrackBarSearchDepth) {
        if (event->type() == QEvent::FocusIn)
            ShowLevelHint();
        else if (event->type() == QEvent::FocusOut)
            HideLevelHint();
    }
    return QDialog::eventFilter(watched, event);
}

void TFormOptionen::ShowLevelHint() {
    if (!TrackBarSearchDepth->hasFocus()) return;
    if (!FLevelHintWindow) {
        // The description must not take the focus from the track bar it describes.
        FLevelHintWindow = std::make_unique<QLabel>(nullptr, Qt::ToolTip | Qt::FramelessWindowHint |
                                                                 Qt::WindowDoesNotAcceptFocus);
        FLevelHintWindow->setAttribute(Qt::WA_ShowWithoutActivating);
        FLevelHintWindow->setObjectName("LevelHintWindow");
        FLevelHintWindow->setWordWrap(true);
        FLevelHintWindow->setMargin(3);
        FLevelHintWindow->setPalette(QToolTip::palette());
        FLevelHintWindow->setAutoFillBackground(true);
    }
    FLevelHintWindow->setText(LevelDescription(TrackBarSearchDepth->value()));
    FLevelHintWindow->setMaximumWidth(width());
    FLevelHintWindow->adjustSize();
    const QRect frame = frameGeometry();
    FLevelHintWindow->move(frame.left() + LevelHintLeft, frame.top() + frame.height() - LevelHintAboveBottom);
    FLevelHintWindow->show();
}

void TFormOptionen::HideLevelHint() {
    FLevelHintWindow.reset();
}

void TFormOptionen::done(int result) {
    HideLevelHint();
    QDialog::done(result);
}
