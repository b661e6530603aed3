#include "UnitClassPlayerStatistik.h"

#include "UnitFunctions.h"

#include <cmath>

void TPlayerStatistik::Clear() {
    *this = TPlayerStatistik{};
}

void TPlayerStatistik::AddTime(quint32 milliseconds) {
    TotalTime += milliseconds;
    if (TotalTime == 0 || MoveCount == 0) return;
    const double average = std::trunc(static_cast<double>(TotalTime) / MoveCount);
    // An average beyond the 32-bit field wraps as the stored field always has, instead of being
    // undefined; it takes some 25 days of thinking on one move to get there.
    TimePerMove = static_cast<qint32>(static_cast<qint64>(average));
}

QString TPlayerStatistik::TotalText() const {
    return FormatClockTime(TotalTime);
}

QString TPlayerStatistik::PerMoveText() const {
    return FormatClockTime(TimePerMove);
}
