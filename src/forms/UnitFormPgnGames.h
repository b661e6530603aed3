#pragma once
// The list of the games in a PGN file with more than one: white, black, result, date and event of
// each, one row a game, for the user to pick the game to load.

#include "Pgn.h"

#include <QDialog>
#include <vector>

class QTableWidget;

class TFormPgnGames : public QDialog {
    Q_OBJECT
public:
    explicit TFormPgnGames(QWidget* parent = nullptr);

    // Fills the list, the first game selected.
    void ShowGames(const std::vector<TPgnGame>& games);
    // The row chosen, or -1.
    int ChosenGame() const;
    // Shows the list modally: the index of the chosen game, or -1 when the user cancels.
    int Choose(const std::vector<TPgnGame>& games);

    QTableWidget* TableGames;
};
