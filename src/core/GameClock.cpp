#include "GameClock.h"

#include <algorithm>
#include <chrono>
#include <limits>

qint64 SteadyClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TGameClock::SetSource(TClockSource source) {
    FSource = std::move(source);
    if (FMark) FMark = FSource();
}

void TGameClock::Run() {
    if (!FMark) FMark = FSource();
}

quint32 TGameClock::TakeElapsed() {
    if (!FMark) return 0;
    const qint64 now = FSource();
    const qint64 elapsed = now - *FMark;
    FMark = now;
    return static_cast<quint32>(std::clamp<qint64>(elapsed, 0, std::numeric_limits<quint32>::max()));
}
