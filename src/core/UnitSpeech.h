#pragma once
// Spoken moves: one recorded word for the from-square, the connecting word and one for the
// to-square, taken from the speech folder of the settings (`SpDir`), and the check that this
// folder holds every word. User-interface thread only.

#include "Square.h"

#include <QString>

class QWidget;

// The speech file of a square, as the program writes it (`SpDir` + "E2.WAV"); empty for no square.
QString SquareSoundFile(int square);
// The connecting word "nach" and the optional greeting.
QString ConnectingWordFile();
QString WelcomeFile();

// Waits one second, letting the window work meanwhile (so that the move's own sounds can end),
// then plays the three words one after the other and returns when the last has ended.
void SpeakMove(Square from, Square to);

// The greeting at the first activation of the main window: with sound and speech on, for the
// German language only, and when its file exists.
void PlayWelcome();

// Asks about every missing speech file (the user may stop the series with Abort), then switches
// speech off (`PlaySp`) and says so when anything was missing. True when all files exist.
bool CheckSpeechFiles(QWidget* owner);
