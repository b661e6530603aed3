// TESSARON: makes sure one copy runs per user, shows the start screen while the windows are created,
// opens the game file named on the command line, and runs until the main window closes.

#include "DesktopRegistration.h"
#include "SingleInstance.h"
#include "TerminationSignals.h"
#include "UnitFormAnzeigeFigurenImSpiel.h"
#include "UnitFormAnzeigeGeschlageneFiguren.h"
#include "UnitFormBoardSettings.h"
#include "UnitFormChangePieceSet.h"
#include "UnitFormInfo.h"
#include "UnitFormLernprogramm.h"
#include "UnitFormLoadSavePosition.h"
#include "UnitFormLogbook.h"
#include "UnitFormMain.h"
#include "UnitFormOptionen.h"
#include "UnitFormPartiedaten.h"
#include "UnitFormPromotion.h"
#include "UnitFormSelectLanguage.h"
#include "UnitFormSetPosition.h"
#include "UnitFormStartScreen.h"
#include "UnitFormTips.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitPlayerStatistics.h"
#include "UnitSound.h"

#include <QApplication>
#include <memory>

namespace {

constexpr auto ProductName = "TESSARON";
constexpr auto IconFolder = "data\\icons";

// A registration that fails leaves the program without the file association; it runs all the same.
void RegisterWithDesktop() {
    const TRegistration registration =
        RegisterFileType(QCoreApplication::applicationFilePath(), ResolvePath(IconFolder));
    for (const QString& file : registration.Failed)
        qWarning("TESSARON could not write %s", qPrintable(file));
}

// Every window but the start screen, in the order the program has always created them; each lives
// until the program ends.
void CreateWindows() {
    FormMain = new TFormMain;
    FormInfo = new TFormInfo(FormMain);
    FormAnzeigeFigurenImSpiel =
        new TFormAnzeigeFigurenImSpiel(FormMain->ChessBrd, FormMain->MenuItemAnzeigeFigurenImSpiel, FormMain);
    FormOptionen = new TFormOptionen(FormMain);
    FormSetPosition = new TFormSetPosition(FormMain, FormMain);
    FormSelectLanguage = new TFormSelectLanguage(FormMain);
    FormLoadSavePosition = new TFormLoadSavePosition(FormSetPosition->ChessBrdSetPos, FormMain);
    FormAnzeigeGeschlageneFiguren = new TFormAnzeigeGeschlageneFiguren(
        FormMain->ChessBrd, FormMain->MenuItemAnzeigeGeschlageneFiguren, FormMain);
    FormLernprogramm = new TFormLernprogramm(FormMain);
    FormTips = new TFormTips(FormMain);
    FormPromotion = new TFormPromotion(FormMain);
    FormChangePieceSet = new TFormChangePieceSet(FormMain->ChessBrd, FormMain);
    FormPlayerStatistic = new TFormPlayerStatistic(FormMain);
    FormBoardSettings = new TFormBoardSettings(FormMain);
    FormLogbook = NewFormLogbook(*FormMain);
    FormPartiedaten = new TFormPartiedaten(FormMain);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProductName);
    QApplication::setStyle("Fusion");
    QApplication::setDesktopFileName("tessaron");
    const QString commandLineFile = app.arguments().value(1);

    TSingleInstance instance;
    if (!instance.Claim(commandLineFile)) return 0;
    // A session that ends while the program is still starting waits for the main window and closes
    // it like any other end, rather than killing the program halfway through its start.
    CatchTerminationSignals();

    std::unique_ptr<TFormStartScreen> startScreen;
    if (!TFormStartScreen::Skipped()) {
        startScreen = std::make_unique<TFormStartScreen>();
        startScreen->ShowPainted();
        startScreen->Wait(TFormStartScreen::WaitMs);
    }
    RegisterWithDesktop();
    QApplication::setWindowIcon(ProgramIcon(ResolvePath(IconFolder)));
    CreateWindows();
    std::unique_ptr<TFormMain> formMain(FormMain);
    if (startScreen) {
        startScreen->repaint();
        startScreen->Wait(TFormStartScreen::WaitMs);
        startScreen.reset();
    }

    FormMain->SetCommandLineFile(commandLineFile);
    FormMain->show();
    instance.SetHandler([](const QString& fileName) { FormMain->OpenRequestedFile(fileName); });
    CloseOnTerminationSignals(FormMain);

    const int result = app.exec();
    instance.SetHandler({});
    formMain.reset();
    FormMain = nullptr;
    CloseLanguageFile();
    ShutdownSound();
    return result;
}
