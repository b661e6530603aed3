#pragma once
// The piece-set dialog: the user pages through the sets of the piece-graphics file one piece at a
// time, in either colour, and picks one for the main board. Also the step that puts the chosen set
// on a board at start-up and after the board settings.

#include <QDialog>
#include <QImage>

class QComboBox;
class QLabel;
class QRadioButton;
class QToolButton;
class TChessBrd;

// Gives `board` the set of the `PieceSet` setting, or the built-in set for 0, for a set the file
// lacks, and when the file is missing. A board without its sizes (the editor's, the tutorial's)
// keeps the built-in set instead of the sets of 60, 64 and 80 pixel cells.
void ApplyPieceSetSetting(TChessBrd& board, bool withSizes);

class TFormChangePieceSet : public QDialog {
    Q_OBJECT
public:
    // OK puts the chosen set on `mainBoard`.
    explicit TFormChangePieceSet(TChessBrd* mainBoard, QWidget* parent = nullptr);

    QComboBox* ComboBoxPieceSet;
    QLabel* LabelSize;
    QLabel* LabelPiece;
    QLabel* ImagePieceSet;
    QRadioButton* RadioButtonWhite;
    QRadioButton* RadioButtonBlack;
    QToolButton* SpeedButtonBack;
    QToolButton* SpeedButtonNext;

    // The set being looked at (empty without the file) and the cell the preview shows of it.
    const QImage& PieceSetBitmap() const { return FSetBitmap; }
    const QImage& PreviewBitmap() const { return FPreviewBitmap; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void FillPieceSetList();
    void ComboBoxPieceSetChange();
    void ShowPiecePreview();
    void StepPiece(int step);
    void SetColorRow(int row);
    void ButtonOkClick();

    TChessBrd* FMainBoard;
    QImage FSetBitmap;
    QImage FPreviewBitmap;
    int FPieceIndex = 0;
    int FColorRow = 0;
};

extern TFormChangePieceSet* FormChangePieceSet;
