#pragma once
// The captured-pieces window: a small picture for every piece of the standard set that is missing
// from the main board, Black's above, White's below.

#include "UnitPieceWindows.h"

#include <QHash>
#include <QList>

class QLabel;

class TFormAnzeigeGeschlageneFiguren : public TPieceWindow {
    Q_OBJECT
public:
    TFormAnzeigeGeschlageneFiguren(const TChessBrd* mainBoard, QAction* viewItem, QWidget* parent = nullptr);

    // The pictures of one kind of piece of one colour, picture 1 first ("Image_b_p1" ... "Image_b_p8").
    QList<QLabel*> Pictures(char piece) const;

    void Recount() override;

private:
    void CreateArea(bool white);
    void CreatePictures(char piece, const QString& names, int count, int top, int firstColumn);

    QHash<char, QList<QLabel*>> FPictures;
};

extern TFormAnzeigeGeschlageneFiguren* FormAnzeigeGeschlageneFiguren;
