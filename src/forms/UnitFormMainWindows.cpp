// The main window's start-up steps that reach beyond it: the side windows opened at the first
// activation and their places kept at the end, the greeting, a later start of the program that asks
// this copy to come forward; and the windows of statistics and information it opens.

#include "FormWidgets.h"
#include "UnitFormInfo.h"
#include "UnitFormLogbook.h"
#include "UnitFormMain.h"
#include "UnitFunctions.h"
#include "UnitPieceWindows.h"
#include "UnitPlayerStatistics.h"
#include "UnitSettings.h"
#include "UnitSound.h"
#include "WindowPlacement.h"


namespace {

constexpr auto LogbookSection = "GameInfo";
// Smaller than this the logbook shows neither a line nor its status bar.
constexpr QSize SmallestLogbook(160, 80);

} // namespace

// Each side window the last run left open comes back.
void TFormMain::OpenSideWindowsAtStart() {
    ReopenPieceWindows();
    if (FormLogbook && ReadSetting(LogbookSection, "Window", false)) {
        MenuItemGameInfo->setChecked(true);
        ShowLogbook();
    }
}

void TFormMain::MenuItemGameInfoClick(bool checked) {
    if (!FormLogbook) return;
    if (checked)
        ShowLogbook();
    else
        FormLogbook->close();
}

void TFormMain::ShowLogbook() {
    const TWishedGeometry wished{ReadSetting(LogbookSection, "Left", x()),
                                 ReadSetting(LogbookSection, "Top", y()),
                                 ReadSetting(LogbookSection, "Width", FormLogbook->width()),
                                 ReadSetting(LogbookSection, "Height", FormLogbook->height())};
    RestoreGeometry(*FormLogbook, wished, SmallestLogbook, this);
    // Closed by its own close button, the window takes the tick off its view item.
    connect(
        FormLogbook, &TFormLogbook::Closed, MenuItemGameInfo, [this] { MenuItemGameInfo->setChecked(false); },
        Qt::SingleShotConnection);
    FormLogbook->show();
}

TSideWindowState TFormMain::LogbookState() const {
    if (!FormLogbook || !FormLogbook->isVisible()) return {};
    return {true, QRect(FormLogbook->pos(), FormLogbook->size())};
}

void TFormMain::MenuItemPlayerStatisticClick() {
    StopGame(false, true);
    if (FormPlayerStatistic) FormPlayerStatistic->exec();
}

void TFormMain::MenuItemInfoClick() {
    StopGame(false, true);
    if (FormInfo) FormInfo->exec();
}

// As a load from the menu does, the game in progress stops first.
void TFormMain::OpenRequestedFile(const QString& fileName) {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    if (!fileName.isEmpty()) LoadGameFile(fileName);
}
