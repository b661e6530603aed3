#pragma once
// Writes the small mono 16-bit PCM wave files the sound tests play, so that no recording has to be
// shipped with the tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

inline void AppendLittleEndian32(QByteArray& bytes, quint32 value) {
    const quint32 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

inline void AppendLittleEndian16(QByteArray& bytes, quint16 value) {
    const quint16 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// `frames` samples of the constant `level` (0 is silence) at `sampleRate` Hz; false when the file
// cannot be written.
inline bool WriteConstantWave(const QString& fileName, quint32 sampleRate, quint32 frames, qint16 level) {
    constexpr quint16 PcmFormat = 1;
    constexpr quint16 Channels = 1;
    constexpr quint16 BytesPerSample = 2;
    constexpr quint32 FormatChunkSize = 16;
    constexpr quint32 HeaderSizeAfterRiff = 36;
    const quint32 dataBytes = frames * BytesPerSample;

    QByteArray bytes("RIFF");
    AppendLittleEndian32(bytes, HeaderSizeAfterRiff + dataBytes);
    bytes.append("WAVEfmt ");
    AppendLittleEndian32(bytes, FormatChunkSize);
    AppendLittleEndian16(bytes, PcmFormat);
    AppendLittleEndian16(bytes, Channels);
    AppendLittleEndian32(bytes, sampleRate);
    AppendLittleEndian32(bytes, sampleRate * Channels * BytesPerSample);
    AppendLittleEndian16(bytes, Channels * BytesPerSample);
    AppendLittleEndian16(bytes, BytesPerSample * 8);
    bytes.append("data");
    AppendLittleEndian32(bytes, dataBytes);
    for (quint32 frame = 0; frame < frames; ++frame)
        AppendLittleEndian16(bytes, quint16(level));

    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
