#pragma once
// What the pieces-in-game and the captured-pieces windows share: small always-on-top tool windows
// that show the material of the main board, are shown and hidden by a ticked view item of the main
// window, open where the settings file last saw them, and count afresh whenever they are asked to.

#include "UnitSettings.h"

#include <QWidget>
#include <optional>

class QAction;
class TChessBrd;

class TPieceWindow : public QWidget {
    Q_OBJECT
public:
    // The window counts the pieces of `mainBoard`; `viewItem` shows and hides it; `section` of the
    // settings file holds where it was. `caption` is the language text number and the design text.
    TPieceWindow(const TChessBrd* mainBoard, QAction* viewItem, const char* section, int captionText,
                 const char* designCaption, QSize clientSize, QWidget* parent);

    // Reads the main board's position and shows what it holds.
    virtual void Recount() = 0;

    // The view item's click: an unticked item is ticked and the window opens at its stored place,
    // a ticked one is unticked and the window closed.
    void ViewItemClick();
    // Opens the window when it was open at the end of the last run.
    void ReopenIfOpenBefore();
    // Whether the window is open and where, for the settings written at the end of the program.
    TSideWindowState State() const;

protected:
    const TChessBrd* MainBoard() const { return FMainBoard; }
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void PlaceFromSettings();

    const TChessBrd* FMainBoard;
    QAction* FViewItem;
    const char* FSection;
    int FCaptionText;
    const char* FDesignCaption;
};

// Both windows count again, those that exist; called after every change of the main board's position.
void RecountPieceWindows();
// Opens those that were open at the end of the last run (at the main window's first activation).
void ReopenPieceWindows();

// How many pictures of a kind the captured-pieces window shows: what is missing from the `standard`
// number on the board; nothing (leave them as they are) when the board holds more than the standard.
std::optional<int> MissingPieces(int standard, int onBoard);
