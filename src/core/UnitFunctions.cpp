#include "UnitFunctions.h"

QString GetField(const QString& text, QChar delimiter, int index) {
    if (index < 0) return {};
    return text.section(delimiter, index, index);
}

int CountFields(const QString& text, QChar delimiter) {
    if (text.isEmpty()) return 0;
    const int fields = static_cast<int>(text.count(delimiter)) + 1;
    return text.endsWith(delimiter) ? fields - 1 : fields;
}

QString ReplaceText(const QString& text, const QString& oldText, const QString& newText) {
    if (oldText.isEmpty()) return text;
    QString result = text;
    return result.replace(oldText, newText, Qt::CaseInsensitive);
}

QString FormatClockTime(qint64 milliseconds) {
    constexpr qint64 MsPerHour = 3'600'000;
    constexpr qint64 MsPerMinute = 60'000;
    constexpr qint64 MsPerSecond = 1'000;
    // A clock never runs below zero; a negative reading would print as "-1:-5:..".
    const qint64 ms = qMax<qint64>(0, milliseconds);
    return QStringLiteral("%1:%2:%3")
        .arg(ms / MsPerHour, 2, 10, QChar('0'))
        .arg((ms % MsPerHour) / MsPerMinute, 2, 10, QChar('0'))
        .arg((ms % MsPerMinute) / MsPerSecond, 2, 10, QChar('0'));
}
