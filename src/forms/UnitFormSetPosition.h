#pragma once
// The set-position editor: the user places pieces on a board of its own, chooses the side to move,
// the orientation and the castling rights, checks the position and hands it to the main window as
// the start of a new game.

#include "ChessTypes.h"

#include <QDialog>
#include <array>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TChessBrd;
class TFormMain;
class TRadioGroup;

class TFormSetPosition : public QDialog {
    Q_OBJECT
public:
    // The transfer goes into `formMain`'s game.
    explicit TFormSetPosition(TFormMain* formMain, QWidget* parent = nullptr);

    TChessBrd* ChessBrdSetPos;
    std::array<QToolButton*, 12> PieceButtons{}; // black r n b q k p, then white R N B Q K P
    QButtonGroup* PieceButtonGroup;
    TRadioGroup* RadioGroupZug;
    TRadioGroup* RadioGroupWhereIs;
    QGroupBox* GroupBoxRochade;
    QCheckBox *CheckBoxWhiteKingSide, *CheckBoxWhiteQueenSide, *CheckBoxBlackKingSide,
        *CheckBoxBlackQueenSide;
    QPushButton *ButtonClear, *ButtonActGame, *ButtonCheck, *ButtonLoad, *ButtonOk, *ButtonCancel;
    QLabel* LabelFen;
    QLineEdit* EditFen; // always the FEN of what the editor shows
    QPushButton* ButtonSetFen;

    // The piece a click on the board puts down (shared by the whole run).
    static char SelectedPiece() { return FSelectedPiece; }

    // Shows a whole position in the editor: the placement, the side to move and the castling rights.
    // Everything that brings a position from elsewhere comes in through here.
    void SetFromPosition(const TPositionSnapshot& position);
    // What the editor shows now, as a transfer would hand it over.
    TPositionSnapshot EditedPosition() const;

    // The press of the mouse on a square of the editor's board.
    void ChessBrdSetPosMouseDown(int x, int y);
    void ButtonClearClick();
    void ButtonActGameClick();
    void ButtonCheckClick();
    void ButtonLoadClick();
    void ButtonOkClick();
    // Reads the FEN typed into the field into the editor; an unreadable one is told and changes nothing.
    void ButtonSetFenClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void CreateBoard();
    void CreatePieceButtons();
    void CreateChoices();
    void CreateButtons();
    void CreateFenField();
    void ShowEditedFen();
    QPushButton* NewButton(const QString& name, const QString& text, int tag, const QRect& geometry);
    QCheckBox* NewCastlingBox(const QString& name, const QString& text, const QString& hint, int tag,
                              int top);
    std::array<QCheckBox*, 4> CastlingBoxes() const;
    CastleSet TickedCastlingRights() const;
    void TransferToMainWindow();
    void ReleaseTextures();

    TFormMain* FFormMain;
    QString FShownFen;
    static inline char FSelectedPiece = 'p';
};

extern TFormSetPosition* FormSetPosition;
