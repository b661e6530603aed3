#include "MidiTiming.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 DefaultMicrosecondsPerQuarter = 500'000; // 120 quarter notes a minute
constexpr qint64 MicrosecondsPerMs = 1000;
constexpr int HeaderLength = 6;
constexpr quint8 MetaEvent = 0xFF;
constexpr quint8 SysEx = 0xF0;
constexpr quint8 SysExContinued = 0xF7;
constexpr quint8 TempoMeta = 0x51;
constexpr int TempoBytes = 3;

// Reads big-endian numbers and variable-length quantities, refusing to run past the end.
class TReader {
public:
    TReader(const QByteArray& bytes, qsizetype start, qsizetype end) : FBytes(bytes), FAt(start), FEnd(end) {}
    bool AtEnd() const { return FAt >= FEnd; }
    qsizetype At() const { return FAt; }
    std::optional<quint32> Fixed(int count) {
        if (FEnd - FAt < count) return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 8) | quint8(FBytes[FAt++]);
        return value;
    }
    std::optional<quint32> Variable() {
        constexpr int MaxVariableBytes = 4;
        quint32 value = 0;
        for (int i = 0; i < MaxVariableBytes; ++i) {
            const std::optional<quint32> byte = Fixed(1);
            if (!byte) return std::nullopt;
            value = (value << 7) | (*byte & 0x7F);
            if (!(*byte & 0x80)) return value;
        }
        return std::nullopt;
    }
    bool Skip(qint64 count) {
        if (count < 0 || FEnd - FAt < count) return false;
        FAt += count;
        return true;
    }

private:
    const QByteArray& FBytes;
    qsizetype FAt;
    qsizetype FEnd;
};

// The data bytes a channel message of this status carries.
int ChannelDataBytes(quint8 status) {
    const quint8 kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

struct TTrackFacts {
    qint64 LastTick = 0;
    std::vector<std::pair<qint64, qint64>> Tempo; // tick, microseconds per quarter
};

// Walks one track's events; false when they run past the track's end or make no sense.
bool ReadTrack(TReader& reader, TTrackFacts& facts) {
    qint64 tick = 0;
    quint8 running = 0;
    while (!reader.AtEnd()) {
        const std::optional<quint32> delta = reader.Variable();
        const std::optional<quint32> first = reader.Fixed(1);
        if (!delta || !first) return false;
        tick += *delta;
        quint8 status = quint8(*first);
        if (status == MetaEvent) {
            const std::optional<quint32> type = reader.Fixed(1);
            const std::optional<quint32> length = reader.Variable();
            if (!type || !length) return false;
            if (*type == TempoMeta && *length == TempoBytes) {
                const std::optional<quint32> tempo = reader.Fixed(TempoBytes);
                if (!tempo || *tempo == 0) return false;
                facts.Tempo.emplace_back(tick, *tempo);
            } else if (!reader.Skip(*length)) {
                return false;
            }
        } else if (status == SysEx || status == SysExContinued) {
            const std::optional<quint32> length = reader.Variable();
            if (!length || !reader.Skip(*length)) return false;
        } else {
            int data = 0;
            if (status & 0x80) {
                running = status;
                data = ChannelDataBytes(status);
            } else {
                if (!running) return false; // data without any status before it
                data = ChannelDataBytes(running) - 1;
            }
            if (!reader.Skip(data)) return false;
        }
        facts.LastTick = tick;
    }
    return true;
}

} // namespace

std::optional<TMidiTiming> TMidiTiming::Read(const QByteArray& bytes) {
    TReader file(bytes, 0, bytes.size());
    if (!bytes.startsWith("MThd") || !file.Skip(4)) return std::nullopt;
    const std::optional<quint32> headerLength = file.Fixed(4);
    if (!headerLength || *headerLength < HeaderLength) return std::nullopt;
    const std::optional<quint32> format = file.Fixed(2);
    const std::optional<quint32> tracks = file.Fixed(2);
    const std::optional<quint32> division = file.Fixed(2);
    if (!format || !tracks || !division || *tracks == 0 || *division == 0) return std::nullopt;
    if (!file.Skip(*headerLength - HeaderLength)) return std::nullopt;

    TMidiTiming timing;
    if (*division & 0x8000) { // frames per second and ticks per frame
        const int framesPerSecond = 256 - int(*division >> 8);
        const int ticksPerFrame = int(*division & 0xFF);
        if (framesPerSecond <= 0 || ticksPerFrame == 0) return std::nullopt;
        timing.FMicrosecondsPerTick = 1e6 / (framesPerSecond * ticksPerFrame);
    } else {
        timing.FTicksPerQuarter = int(*division);
    }
    TTrackFacts facts;
    for (quint32 track = 0; track < *tracks; ++track) {
        const std::optional<quint32> tag = file.Fixed(4);
        const std::optional<quint32> length = file.Fixed(4);
        if (!tag || *tag != 0x4D54726B /* "MTrk" */ || !length) return std::nullopt;
        TReader reader(bytes, file.At(), file.At() + *length);
        TTrackFacts trackFacts;
        if (!file.Skip(*length) || !ReadTrack(reader, trackFacts)) return std::nullopt;
        facts.LastTick = std::max(facts.LastTick, trackFacts.LastTick);
        facts.Tempo.insert(facts.Tempo.end(), trackFacts.Tempo.begin(), trackFacts.Tempo.end());
    }
    std::stable_sort(facts.Tempo.begin(), facts.Tempo.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    timing.FTempo.push_back({0, DefaultMicrosecondsPerQuarter});
    for (const auto& [tick, tempo] : facts.Tempo) {
        if (timing.FTempo.back().Tick == tick)
            timing.FTempo.back().MicrosecondsPerQuarter = tempo;
        else
            timing.FTempo.push_back({tick, tempo});
    }
    timing.FTotalTicks = facts.LastTick;
    return timing;
}

qint64 TMidiTiming::TicksToMs(qint64 ticks) const {
    if (FTicksPerQuarter == 0) return std::llround(double(ticks) * FMicrosecondsPerTick / MicrosecondsPerMs);
    double microseconds = 0;
    for (std::size_t i = 0; i < FTempo.size() && FTempo[i].Tick < ticks; ++i) {
        const qint64 end = i + 1 < FTempo.size() ? std::min(FTempo[i + 1].Tick, ticks) : ticks;
        microseconds +=
            double(end - FTempo[i].Tick) * double(FTempo[i].MicrosecondsPerQuarter) / FTicksPerQuarter;
    }
    return std::llround(microseconds / MicrosecondsPerMs);
}

qint64 TMidiTiming::MsToTicks(qint64 milliseconds) const {
    double remaining = double(milliseconds) * MicrosecondsPerMs;
    if (FTicksPerQuarter == 0) return std::llround(remaining / FMicrosecondsPerTick);
    for (std::size_t i = 0; i < FTempo.size(); ++i) {
        const double perTick = double(FTempo[i].MicrosecondsPerQuarter) / FTicksPerQuarter;
        const bool last = i + 1 == FTempo.size();
        const double span = last ? remaining : double(FTempo[i + 1].Tick - FTempo[i].Tick) * perTick;
        if (last || remaining < span) return FTempo[i].Tick + std::llround(remaining / perTick);
        remaining -= span;
    }
    return 0;
}
