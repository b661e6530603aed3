#pragma once
// The windows around set-up positions, made for a test's main window as the program makes them:
// the set-position editor, its stored-positions dialog and the two piece windows.

#include "UnitFormAnzeigeFigurenImSpiel.h"
#include "UnitFormAnzeigeGeschlageneFiguren.h"
#include "UnitFormLoadSavePosition.h"
#include "UnitFormMain.h"
#include "UnitFormSetPosition.h"

// The windows belong to `form` and go with it.
inline void CreatePositionWindows(TFormMain& form) {
    FormAnzeigeFigurenImSpiel =
        new TFormAnzeigeFigurenImSpiel(form.ChessBrd, form.MenuItemAnzeigeFigurenImSpiel, &form);
    FormSetPosition = new TFormSetPosition(&form, &form);
    FormLoadSavePosition = new TFormLoadSavePosition(FormSetPosition->ChessBrdSetPos, &form);
    FormAnzeigeGeschlageneFiguren =
        new TFormAnzeigeGeschlageneFiguren(form.ChessBrd, form.MenuItemAnzeigeGeschlageneFiguren, &form);
}

inline void ForgetPositionWindows() {
    FormAnzeigeFigurenImSpiel = nullptr;
    FormSetPosition = nullptr;
    FormLoadSavePosition = nullptr;
    FormAnzeigeGeschlageneFiguren = nullptr;
}
