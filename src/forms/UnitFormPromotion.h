#pragma once
// The promotion dialog: a human whose pawn reaches the last rank picks the new piece here. It has
// no close button and no cancel; only a piece button ends it.

#include <QDialog>

class QLabel;
class QToolButton;

class TFormPromotion : public QDialog {
    Q_OBJECT
public:
    explicit TFormPromotion(QWidget* parent = nullptr);

    // Shows the dialog with the pieces of the promoting side (black when white is to move now, as
    // the board has passed the move already) and returns the chosen button's Tag, 2..5.
    int Ask(bool whiteToMove);

    QToolButton* Button(int tag) const { return FButtons[tag - 1]; }
    QLabel* HintWindow() const { return FHint; }

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceHint();

    QToolButton* FButtons[5];
    QLabel* FHint;
};

extern TFormPromotion* FormPromotion;
