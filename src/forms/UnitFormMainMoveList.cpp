// The move list and stepping through the game: back, forward, first, last and a click on a line.

#include "UnitFormMain.h"
#include "UnitPieceWindows.h"

#include "GameLine.h"

#include <QListWidget>

void TFormMain::RefreshMoveList() {
    std::vector<std::string> lines;
    if (FSanMoveList)
        FillSanMoveList(*ChessBrd, *FSanBoard, lines);
    else
        ChessBrd->FillMoveList(lines);
    ListBoxZuege->clear();
    for (const std::string& line : lines) ListBoxZuege->addItem(QString::fromStdString(line));
    if (ListBoxZuege->count() > 0) ListBoxZuege->setCurrentRow(ListBoxZuege->count() - 1);
}

// A decided game becomes open again when the user steps into it; the game itself stays stopped.
void TFormMain::AfterNavigation(bool clearGameOver) {
    if (clearGameOver && FGameOver) {
        FGameOver = false;
        TimerAktualisierung.start();
    }
}

void TFormMain::BitBtnZugZurueckClick() {
    StopGame(false, true);
    ChessBrd->TakeBackMove();
    RefreshMoveList();
    RecountPieceWindows();
    AfterNavigation(true);
}

void TFormMain::BitBtnZugVorClick() {
    StopGame(false, true);
    ChessBrd->ReplayMove();
    RefreshMoveList();
    RecountPieceWindows();
}

// Line i is the position after half-move i + 1 of the line, counted from white's turn at its first move
// number (a line that begins with black to move shows white's turn as its first line): move
// FirstMoveNumber + (i + 1) div 2, white to move when i + 1 is even.
void TFormMain::JumpToLine(int line) {
    const int halfMoves = line + 1;
    ChessBrd->GotoMove(ChessBrd->FirstMoveNumber() + halfMoves / 2, halfMoves % 2 == 0);
    RecountPieceWindows();
    AfterNavigation(true);
}

void TFormMain::ListBoxZuegeClick() {
    if (ListBoxZuege->currentRow() >= 0) JumpToLine(ListBoxZuege->currentRow());
}

void TFormMain::ToolButtonFirstClick() {
    if (ListBoxZuege->count() == 0) return;
    StopGame(false, true);
    ListBoxZuege->setCurrentRow(0);
    ListBoxZuegeClick();
    RefreshMoveList();
    AfterNavigation(true);
}

void TFormMain::ToolButtonLastClick() {
    if (ListBoxZuege->count() == 0) return;
    StopGame(false, true);
    ListBoxZuege->setCurrentRow(ListBoxZuege->count() - 1);
    ListBoxZuegeClick();
    RefreshMoveList();
}
