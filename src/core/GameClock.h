#pragma once
// The time the game clocks charge: milliseconds read from a monotonic source, from one reading to
// the next. A late timer, a slide on the board or a busy machine changes when the time is charged,
// never how much. Tests put a source of their own in place of the real one.

#include <QtGlobal>
#include <functional>
#include <optional>

// Milliseconds since an arbitrary start; never goes backwards.
using TClockSource = std::function<qint64()>;

// The monotonic clock of the system.
qint64 SteadyClockMs();

class TGameClock {
public:
    explicit TGameClock(TClockSource source = SteadyClockMs) : FSource(std::move(source)) {}

    void SetSource(TClockSource source);
    // Counts from now on; a clock that counts already goes on from where it was.
    void Run();
    // Counts no more until the next Run; the time since the last charge is dropped.
    void Halt() { FMark.reset(); }
    bool Running() const { return FMark.has_value(); }
    // The time since the last charge (or since Run), which is charged now; 0 while halted.
    quint32 TakeElapsed();

private:
    TClockSource FSource;
    std::optional<qint64> FMark; // reading of the last charge; empty while halted
};
