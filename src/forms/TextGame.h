#pragma once
// A game of the older text format (".TN", ".NT") as its reader hands it to the main window: the start
// position, the seats, the moves in play order and what follows them. Every field holds what a file
// without the key means, so a reader fills in only the keys it finds.

#include "UnitClassPlayerStatistik.h"

#include <QString>
#include <QStringList>

struct TTextGame {
    QString Version = "1.7";
    QString Position = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
    bool WhiteToMove = true;
    quint8 CastlingAllowed =
        15; // bits 1, 2, 4, 8: white king side, white queen side, black king side, black queen side
    QString NamePlayer1 = "Spieler 1";
    QString NamePlayer2 = "Spieler 2";
    int Player1 = 0; // kind: 0 "Mensch", 1 "Computer", 2 "Zufall"
    int Player2 = 0;
    int Player1Color = 1; // 1 black, any other value white
    int Player2Color = 0;
    QStringList Moves; // "E2-E4": from-square in characters 1-2, to-square in characters 4-5
    bool GameWhiteToMove = true;
    bool WhiteOnTop = false;
    TPlayerStatistik Clock1, Clock2;
    int Level = 1;
    bool End = false;
};
