#pragma once
// A desktop session that ends (log out, shut down) asks its programs to end with SIGTERM or SIGHUP,
// and a terminal with SIGINT. Each is turned into closing the main window, the same way as the menu's
// "Beenden", so that the settings are written as at any other end of the program.

class QWidget;

// From now on the three signals are caught and kept instead of ending the program on the spot; a
// signal that comes while the program is still starting waits for its window. Call once, early.
void CatchTerminationSignals();
// From now on, and for every signal caught before, the signals close `window`. Call once, on the
// user-interface thread, after CatchTerminationSignals.
void CloseOnTerminationSignals(QWidget* window);
