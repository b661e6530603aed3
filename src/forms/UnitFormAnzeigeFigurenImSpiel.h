#pragma once
// The pieces-in-game window: how many pieces of each kind and colour stand on the main board.

#include "UnitPieceWindows.h"

#include <array>

class QLabel;

class TFormAnzeigeFigurenImSpiel : public TPieceWindow {
    Q_OBJECT
public:
    TFormAnzeigeFigurenImSpiel(const TChessBrd* mainBoard, QAction* viewItem, QWidget* parent = nullptr);

    // Rook, knight, bishop, queen, king, pawn; Black's count lower-case letters, White's upper-case.
    QLabel *LabelBlackTurm, *LabelBlackPferd, *LabelBlackLaeufer, *LabelBlackDame, *LabelBlackKoenig,
        *LabelBlackBauer;
    QLabel *LabelWhiteTurm, *LabelWhitePferd, *LabelWhiteLaeufer, *LabelWhiteDame, *LabelWhiteKoenig,
        *LabelWhiteBauer;

    void Recount() override;

private:
    void CreateColumn(bool white, std::array<QLabel**, 6> labels);
    std::array<QLabel*, 12> CountLabels() const;
};

extern TFormAnzeigeFigurenImSpiel* FormAnzeigeFigurenImSpiel;
