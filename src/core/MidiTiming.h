#pragma once
// The timing of a standard MIDI file, read from its own bytes: its tick resolution and tempo map,
// so that ticks and milliseconds convert both ways and the length of a piece is known before it
// plays. Files that are not well-formed MIDI are refused.

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <vector>

class TMidiTiming {
public:
    // Nothing when the bytes are not a complete standard MIDI file.
    static std::optional<TMidiTiming> Read(const QByteArray& bytes);

    qint64 TotalTicks() const { return FTotalTicks; }
    qint64 LengthMs() const { return TicksToMs(FTotalTicks); }
    qint64 TicksToMs(qint64 ticks) const;
    qint64 MsToTicks(qint64 milliseconds) const;

private:
    struct TTempoChange {
        qint64 Tick;
        qint64 MicrosecondsPerQuarter;
    };
    double FMicrosecondsPerTick = 0; // for files timed in frames rather than quarter notes
    int FTicksPerQuarter = 0;
    std::vector<TTempoChange> FTempo; // sorted by tick, the first at tick 0
    qint64 FTotalTicks = 0;
};
