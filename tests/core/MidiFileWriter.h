#pragma once
// Writes small standard MIDI files for the music tests: one track of equal notes, with tempo changes
// where the test wants them, so that no music file has to be shipped with the tests.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <algorithm>

struct TTestTempo {
    quint32 Tick;
    quint32 MicrosecondsPerQuarter;
};

inline void AppendVariableLength(QByteArray& bytes, quint32 value) {
    QByteArray reversed;
    do {
        reversed.prepend(char((value & 0x7F) | (reversed.isEmpty() ? 0 : 0x80)));
        value >>= 7;
    } while (value);
    bytes.append(reversed);
}

inline void AppendBigEndian(QByteArray& bytes, quint32 value, int size) {
    for (int byte = size - 1; byte >= 0; --byte)
        bytes.append(char((value >> (8 * byte)) & 0xFF));
}

// `notes` quarter notes of middle C at `ticksPerQuarter`, the tempo changes at their ticks.
inline QByteArray MidiBytes(int notes, quint16 ticksPerQuarter, const QList<TTestTempo>& tempo = {}) {
    struct TEvent {
        quint32 Tick;
        QByteArray Bytes;
    };
    QList<TEvent> events;
    for (const TTestTempo& change : tempo) {
        QByteArray meta("\xFF\x51\x03", 3);
        AppendBigEndian(meta, change.MicrosecondsPerQuarter, 3);
        events << TEvent{change.Tick, meta};
    }
    for (int note = 0; note < notes; ++note) {
        events << TEvent{quint32(note) * ticksPerQuarter, QByteArray("\x90\x3C\x50", 3)};
        events << TEvent{quint32(note + 1) * ticksPerQuarter, QByteArray("\x80\x3C\x00", 3)};
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const TEvent& a, const TEvent& b) { return a.Tick < b.Tick; });
    QByteArray track;
    quint32 last = 0;
    for (const TEvent& event : events) {
        AppendVariableLength(track, event.Tick - last);
        last = event.Tick;
        track.append(event.Bytes);
    }
    track.append(QByteArray("\x00\xFF\x2F\x00", 4));
    QByteArray file("MThd");
    AppendBigEndian(file, 6, 4);
    AppendBigEndian(file, 0, 2);
    AppendBigEndian(file, 1, 2);
    AppendBigEndian(file, ticksPerQuarter, 2);
    file.append("MTrk");
    AppendBigEndian(file, quint32(track.size()), 4);
    return file + track;
}

inline bool WriteBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
