#pragma once
// The board settings dialog, and putting the board settings onto a board. The main window, the
// set-position editor and the tutorial each call ApplyBoardSettings for their own board.

#include <QDialog>
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class TChessBrd;
class TColorShape;
class TPicturePreview;
struct TSettings;

// Copies colours, coordinates and their font, lines, textures and (with `withSizes`) the coordinate
// font size and border width from the settings onto `board`; with `repaint` the board is shown
// afresh at once.
void ApplyBoardSettings(TChessBrd& board, bool withSizes, bool repaint);

// Edits the board's look: coordinates and their font, border, squares, lines, animation and the
// format of board pictures. The settings change only when the dialog is closed with OK.
class TFormBoardSettings : public QDialog {
    Q_OBJECT
public:
    explicit TFormBoardSettings(QWidget* parent = nullptr);

    // One texture picture: whether it is used, what it shows and the file it came from. The path is
    // the dialog's own until OK writes it back.
    struct TPictureChoice {
        QCheckBox* Use = nullptr;
        TPicturePreview* Preview = nullptr;
        QPushButton* Change = nullptr;
        QString Path;
        QString TSettings::*PathSetting = nullptr;
        bool TSettings::*UseSetting = nullptr;
    };

    QTabWidget* PageControl;
    // "Koordinaten"
    QCheckBox *CheckBoxNorth, *CheckBoxWest, *CheckBoxEast, *CheckBoxSouth;
    QPushButton* ButtonFontChange;
    TColorShape* ShapeFontColor;
    QLabel* PanelFontExample;
    // "Verschiedenes"
    TColorShape* ShapeBorderColor;
    QSpinBox* UpDownBorderWidth;
    TPictureChoice Border;
    QLabel* LabelClipboardFormat;
    QComboBox* ComboBoxClipboardFormat;
    QSpinBox* UpDownJpegQuality;
    // "Felder"
    TColorShape *ShapeSquaresLightColor, *ShapeSquaresDarkColor;
    TPictureChoice LightSquares, DarkSquares;
    QCheckBox* CheckBoxBoardLines;
    // "Figuren"
    QCheckBox* CheckBoxAnimateMoves;
    QSlider* TrackBarAnimationDelay;

    QPushButton *ButtonOk, *ButtonCancel;

    // Fills the controls from the settings; every showing does it.
    void ShowSettings();
    void ButtonFontChangeClick();
    void PictureChangeClick(TPictureChoice& choice);
    void ButtonOkClick();

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QWidget* CreateCoordinatesPage();
    QWidget* CreateMiscPage();
    QWidget* CreateSquaresPage();
    QWidget* CreatePiecesPage();
    void CreatePictureChoice(TPictureChoice& choice, QGridLayout* grid, int row, const QString& name);
    TColorShape* NewColorShape(const QString& name);
    void ShowPicture(TPictureChoice& choice);
    void WritePicture(const TPictureChoice& choice) const;
    std::array<TPictureChoice*, 3> Pictures() { return {&Border, &LightSquares, &DarkSquares}; }
};

extern TFormBoardSettings* FormBoardSettings;
