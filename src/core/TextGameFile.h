#pragma once
// The older text form of a game file (".TN", ".NT"): an ini file with the start position, the two
// players, the moves as "E2-E4" texts, the clocks and the level. ReadTextGameFile only reads: it
// fills a TTextGame, with the defaults for every missing key, and touches nothing else. The main
// window then sets up its board from it (ApplyTextGameStart), replays `Moves` with ReplayMoves (MoveReplay.h)
// and applies the rest, so a file that cannot be read never leaves a half-loaded game behind.

#include "MoveReplay.h"
#include "UnitClassPlayerStatistik.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The files of versions before this one hold a different game; they are refused.
inline constexpr auto OldestTextGameVersion = "1.7";
// Larger files are no game of this program (a game of 512 moves takes some 10 KB).
inline constexpr qint64 MaxTextGameFileSize = 4 * 1024 * 1024;

struct TTextGamePlayer {
    QString Name;
    int Kind = 0; // 0 "Mensch", 1 "Computer", 2 "Zufall"
    bool Black = false;
    TPlayerStatistik Clock;
};

struct TTextGame {
    QString Version = OldestTextGameVersion;
    // Where the moves start.
    QString StartPosition = QString::fromLatin1(::StartPosition.data(), ::StartPosition.size());
    bool StartWhiteToMove = true;
    CastleSet StartCastling = AllCastlingRights;
    TTextGamePlayer Player1{"Spieler 1", 0, true, {}};
    TTextGamePlayer Player2{"Spieler 2", 0, false, {}};
    std::vector<TMoveSquares> Moves;
    // After the moves.
    bool WhiteToMove = true;
    bool WhiteOnTop = false;
    int Level = 1;
    bool End = false;
};

enum class TTextGameStatus {
    Read,       // `game` holds the file's values
    Unreadable, // missing, not a file, unreadable or too large (the user is told text 125)
    OldVersion, // written by a version before OldestTextGameVersion (text 127)
};

// Reads the file into `game`, which is reset to the defaults first.
TTextGameStatus ReadTextGameFile(const QString& fileName, TTextGame& game);
// The same for the file's bytes.
TTextGameStatus ReadTextGame(const QByteArray& bytes, TTextGame& game);

// Puts the start of the game onto the rules: the position, the side to move and the castling
// rights from which the moves are replayed.
void ApplyTextGameStart(TChessRules& rules, const TTextGame& game);

// Whether a file of this version can be read. Versions compare as numbers, part by part ("1.10" is
// newer than "1.7"); a version that does not begin with a number is not one this program wrote.
bool IsReadableTextGameVersion(const QString& version);
