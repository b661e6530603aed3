#pragma once
// Registers the game files with the desktop the XDG way, in the user's data folder: a shared-mime-info
// package for "*.tn2", a desktop entry that opens them with this program, and the program's icon in
// the hicolor theme. Only files whose content differs from what this program (at this path) needs
// are written, so a moved program rewrites its entry and an unchanged one touches nothing. The
// desktop's update tools run after a change when they are installed; without them the files still
// take effect at the next log-in.

#include <QIcon>
#include <QString>
#include <QStringList>

inline constexpr auto GameMimeType = "application/x-tessaron-game";

struct TRegistration {
    QStringList Written; // the files written now
    QStringList Failed;  // the files that could not be written
};

// `iconDir` holds the icons as the build draws them, tessaron-<size>.png.
TRegistration RegisterFileType(const QString& programPath, const QString& iconDir);

// The entry's Exec value: the program's path quoted as the desktop entry rules ask, then the file.
QString DesktopExec(const QString& programPath);

// The program's icon in all the sizes of `iconDir`.
QIcon ProgramIcon(const QString& iconDir);
