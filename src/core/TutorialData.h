#pragma once
// The lessons of the tutorial: one ini file per language, each section a topic and each topic a
// numbered row of steps ("W1", "B1", "G1", "P1", "T1", "M1", then "W2" ...). This unit reads a
// file and plays a step's position and move on a board's rules, so the tutorial window and the
// lesson checks do the same thing to a board.

#include "IniFile.h"
#include "Square.h"

#include <QString>
#include <QStringList>
#include <optional>

class TChessRules;

// The slide show's wait when a step names none, in milliseconds.
inline constexpr int DefaultStepWait = 1000;

// One step of a topic, as its keys give it; an absent key is an empty optional.
struct TTutorialStep {
    std::optional<int> Wait;         // "W": milliseconds before the next step, 0 stops the slide show
    bool BoardHidden = false;        // "B" present and false: the text takes the board's place
    bool TakeOver = false;           // "G" present and true: the position may be taken into the game
    std::optional<QString> Position; // "P": 64 piece characters from a8 to h1
    std::optional<QString> Text;     // "T": "|" stands for a line break
    std::optional<QString> Move;     // "M": "E2-E4", any one character between the squares
};

class TTutorialFile {
public:
    // False when the file cannot be read; the file is then empty.
    bool Load(const QString& fileName);

    // The topics' titles in file order.
    QStringList Topics() const { return FIni.Sections(); }
    // The number of the topic's keys that begin with an upper-case "W".
    int StepCount(const QString& topic) const;
    TTutorialStep Step(const QString& topic, int n) const;

private:
    TIniFile FIni;
};

// ProgramDir + "lang/<language>/learnprg.dat" resolved without regard to case; empty for a name that
// could reach outside that folder (a path separator or "..") and for an empty name.
QString TutorialFileName(const QString& language);

// The two squares of a step's move: characters 1-2 and 4-5, each exactly a name "A8" .. "H1".
bool TutorialMoveSquares(const QString& move, Square& from, Square& to);

// Sets up a step's position as a line of its own: a game begun afresh, so that no earlier step's
// moves count for a repetition or the move limit and the castling and en-passant rights are new.
void StartTutorialLine(TChessRules& board, const QString& position);

// Plays a step's move for the colour of the piece that stands on its first square (White when the
// square is empty). False when it names no squares or the rules refuse it.
bool PlayTutorialMove(TChessRules& board, const QString& move);

// A step's own part on a board: its position, if it has one, then its move. False when the rules
// refuse the move.
bool PlayTutorialStep(TChessRules& board, const TTutorialStep& step);

// The nearest step from `n` back to the first that sets a position up; 0 when none does.
int TutorialLineStart(const TTutorialFile& file, const QString& topic, int n);

// Leaves the board as showing the topic's steps one after another leaves it after step `n`, whatever
// it held before: the nearest position at or before `n`, then the moves of the steps from there to
// `n`. False when a move is refused, and false with the board untouched when no step up to `n` has a
// position (the steps then build on a board the topic does not know).
bool SetUpTutorialStep(TChessRules& board, const TTutorialFile& file, const QString& topic, int n);

// The "|" of a step's text as line breaks.
QString TutorialDisplayText(const QString& text);
