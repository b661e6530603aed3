#pragma once
// The options dialog: general, sound, master-level and game-mode settings. It shows the settings
// when it opens and writes them back (the 17 keys it owns) only when it is confirmed with OK.

#include <QDialog>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QToolButton;
class TRadioGroup;

class TFormOptionen : public QDialog {
    Q_OBJECT
public:
    explicit TFormOptionen(QWidget* parent = nullptr);
    ~TFormOptionen() override;

    QTabWidget* PageControl;
    // "Allgemein"
    QCheckBox *CheckBoxEinstellungenSpeichern, *CheckBoxSaveMainWin, *CheckBoxBrdAutoResize,
        *CheckBoxMassages, *CheckBoxAnzeigePause, *CheckBoxShowHints, *CheckBoxModernDesign;
    QPushButton* ButtonChangeLanguage;
    // "Sound"
    QCheckBox *CheckBoxSound, *CheckBoxMusik, *CheckBoxSprache, *CheckBoxSpMoves;
    QLabel* LabelSpPfad;
    QLineEdit* EditSpPfad;
    QToolButton* SpeedButtonSpPfad;
    // "Spielstärke Master"
    QSlider* TrackBarSearchDepth;
    // "Spielmodus"
    TRadioGroup* RadioGroupGameVariant;
    QSpinBox *EditBlitzschachZeit, *EditBlitzschachWarnung;
    QPushButton *ButtonOk, *ButtonAbbrechen;

    // The level description shown while the track bar has the focus; null otherwise.
    QLabel* LevelHintWindow() const { return FLevelHintWindow.get(); }

    void LoadOptions();
    void UpdateEnabledStates();
    void SpeedButtonSpPfadClick();
    void ButtonChangeLanguageClick();
    void ButtonOkClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* CreateGeneralPage();
    QWidget* CreateSoundPage();
    QWidget* CreateMasterPage();
    QWidget* CreateGameModePage();
    void SaveOptions();
    void ShowLevelHint();
    void HideLevelHint();

    std::unique_ptr<QLabel> FLevelHintWindow;
};

// The one instance, created at start-up.
extern TFormOptionen* FormOptionen;
