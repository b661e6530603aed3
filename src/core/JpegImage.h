#pragma once
// JPEG compression of pictures through libjpeg, for the pictures of the position (file and clipboard).

#include <QByteArray>
#include <QImage>

inline constexpr int JpegQualityLowest = 1;
inline constexpr int JpegQualityHighest = 100;

// A quality outside 1..100 is held to the nearer end.
int ClampJpegQuality(int quality);

// The whole JPEG file of `image` (baseline, 24-bit colour) at the given quality, clamped to 1..100.
// Empty for an empty image or one libjpeg refuses (larger than 65,500 pixels a side).
QByteArray EncodeJpeg(const QImage& image, int quality);
