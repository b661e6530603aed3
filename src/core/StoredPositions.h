#pragma once
// The named positions the user keeps in the settings file's section "Positions", and their exchange
// with position files ("*.pos"), which hold the same section. A value is the 64-character placement
// between double quotes, so that blanks at either end survive; names compare without regard to case.

#include <QString>
#include <QStringList>
#include <string>

inline constexpr auto PositionsSection = "Positions";

// The names in the order of the file.
QStringList StoredPositionNames();
// The placement stored under `name` (quotes removed), an empty board when there is none.
std::string StoredPosition(const QString& name);
// False when the settings file cannot be written (it then stays as it was).
bool StorePosition(const QString& name, const std::string& position);
bool DeleteStoredPosition(const QString& name);

class QWidget;

// Tells the user that a position cannot be stored under the name typed (see IsValidSettingsKey).
void ReportRefusedPositionName(QWidget* owner);

// What an exchange with a position file came to.
struct TPositionExchange {
    enum class TStatus {
        Done,
        Unreadable,      // the file could not be read
        NotPositionFile, // no section "Positions", or not a text file at all
        NotSaved,        // the target could not be written; it stayed as it was
    };
    TStatus Status = TStatus::Done;
    // Entries skipped because the other side has the name already: their number (1, 2, ... in the
    // order of the file they come from) and name.
    QList<QPair<int, QString>> Duplicates;
    int Invalid = 0; // entries skipped because their value is not a placement (import only)
    int Copied = 0;
};

// Copies the position file's entries whose names the settings file lacks into the settings file, all
// in one write: a file that does not pass, or a failed write, copies nothing.
TPositionExchange ImportPositions(const QString& fileName);
// Copies the stored positions whose names the position file lacks into it; a missing file is made.
// A file that exists but is no text file is left alone.
TPositionExchange ExportPositions(const QString& fileName);
