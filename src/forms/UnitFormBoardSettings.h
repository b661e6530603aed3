#pragma once
// Putting the board settings onto a board. The main window, the set-position editor and the
// tutorial each call it for their own board.

class TChessBrd;

// Copies colours, coordinates and their font, lines, textures and (with `withSizes`) the coordinate
// font size and border width from the settings onto `board`; with `repaint` the board is shown
// afresh at once.
void ApplyBoardSettings(TChessBrd& board, bool withSizes, bool repaint);
