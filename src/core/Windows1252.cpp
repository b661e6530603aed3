#include "Windows1252.h"

#include <QList>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; unassigned codes map to themselves.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
constexpr char16_t HighStart = 0x80;
constexpr char16_t HighEnd = 0x9F;
constexpr char16_t LastSingleByte = 0xFF;
constexpr char Unrepresentable = '?';

char EncodeOne(char32_t code) {
    if (code <= LastSingleByte && (code < HighStart || code > HighEnd)) return static_cast<char>(code);
    for (size_t i = 0; i < Cp1252High.size(); ++i)
        if (Cp1252High[i] == code) return static_cast<char>(HighStart + i);
    return Unrepresentable;
}

} // namespace

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += (byte >= HighStart && byte <= HighEnd) ? QChar(Cp1252High[byte - HighStart]) : QChar(byte);
    }
    return text;
}

QByteArray EncodeWindows1252(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (uint code : text.toUcs4())
        bytes += EncodeOne(code);
    return bytes;
}
