// TESSARON: creates the windows, lets the main window read the settings and apply the language,
// and runs the program until the main window closes.

#include "UnitFormAnzeigeFigurenImSpiel.h"
#include "UnitFormAnzeigeGeschlageneFiguren.h"
#include "UnitFormBoardSettings.h"
#include "UnitFormChangePieceSet.h"
#include "UnitFormLernprogramm.h"
#include "UnitFormMain.h"
#include "UnitFormOptionen.h"
#include "UnitFormPartiedaten.h"
#include "UnitFormPromotion.h"
#include "UnitFormLoadSavePosition.h"
#include "UnitFormSelectLanguage.h"
#include "UnitFormTips.h"
#include "UnitFormSetPosition.h"
#include "UnitLanguages.h"
#include "UnitSound.h"

#include <QApplication>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("TESSARON");
    QApplication::setStyle("Fusion");

    auto formMain = std::make_unique<TFormMain>();
    FormMain = formMain.get();
    FormOptionen = new TFormOptionen(FormMain);
    FormAnzeigeFigurenImSpiel =
        new TFormAnzeigeFigurenImSpiel(FormMain->ChessBrd, FormMain->MenuItemAnzeigeFigurenImSpiel, FormMain);
    FormSetPosition = new TFormSetPosition(FormMain, FormMain);
    FormSelectLanguage = new TFormSelectLanguage(FormMain);
    FormLoadSavePosition = new TFormLoadSavePosition(FormSetPosition->ChessBrdSetPos, FormMain);
    FormAnzeigeGeschlageneFiguren = new TFormAnzeigeGeschlageneFiguren(
        FormMain->ChessBrd, FormMain->MenuItemAnzeigeGeschlageneFiguren, FormMain);
    FormLernprogramm = new TFormLernprogramm(FormMain);
    FormPromotion = new TFormPromotion(FormMain);
    FormChangePieceSet = new TFormChangePieceSet(FormMain->ChessBrd, FormMain);
    FormPartiedaten = new TFormPartiedaten(FormMain);
    FormBoardSettings = new TFormBoardSettings(FormMain);
    FormTips = new TFormTips(FormMain);
    FormMain->show();

    const int result = app.exec();
    formMain.reset();
    CloseLanguageFile();
    ShutdownSound();
    return result;
}
