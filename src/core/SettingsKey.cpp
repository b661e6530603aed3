#include "SettingsKey.h"

namespace {

// The reader would split the line at "=", end it at a line break, stop reading at a NUL, and take a
// line starting with "[" as a section and one starting with ";" as a comment.
bool BreaksTheLine(QChar c) {
    return c == '=' || c == '\n' || c == '\r' || c == QChar(0);
}
bool OpensOtherLine(QChar c) {
    return c == '[' || c == ';';
}

} // namespace

bool IsValidSettingsKey(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || OpensOtherLine(trimmed.front())) return false;
    for (QChar c : text)
        if (BreaksTheLine(c)) return false;
    return true;
}
