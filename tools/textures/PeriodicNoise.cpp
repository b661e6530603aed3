#include "PeriodicNoise.h"

#include <algorithm>
#include <cmath>

namespace textures {

namespace {

// A well-mixed 32-bit hash: neighbouring lattice points get unrelated values.
std::uint32_t Mix(std::uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int Wrap(int value, int period) {
    return ((value % period) + period) % period;
}

// Quintic ease: the noise has no visible creases at the lattice lines.
double Fade(double t) {
    return t * t * t * (t * (t * 6 - 15) + 10);
}

double Lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

} // namespace

PeriodicNoise::PeriodicNoise(int cellsX, int cellsY, std::uint32_t seed)
    : FCellsX(std::max(1, cellsX)), FCellsY(std::max(1, cellsY)), FSeed(seed) {}

double PeriodicNoise::Lattice(int x, int y, int cellsX, int cellsY, std::uint32_t salt) const {
    const auto wx = static_cast<std::uint32_t>(Wrap(x, cellsX));
    const auto wy = static_cast<std::uint32_t>(Wrap(y, cellsY));
    constexpr double Scale = 1.0 / 4294967295.0;
    return Mix(FSeed ^ Mix(salt ^ Mix(wx * 0x9E3779B9U ^ Mix(wy)))) * Scale;
}

double PeriodicNoise::Layer(double u, double v, int cellsX, int cellsY, std::uint32_t salt) const {
    const double x = u * cellsX;
    const double y = v * cellsY;
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const double tx = Fade(x - x0);
    const double ty = Fade(y - y0);
    const double top =
        Lerp(Lattice(x0, y0, cellsX, cellsY, salt), Lattice(x0 + 1, y0, cellsX, cellsY, salt), tx);
    const double bottom =
        Lerp(Lattice(x0, y0 + 1, cellsX, cellsY, salt), Lattice(x0 + 1, y0 + 1, cellsX, cellsY, salt), tx);
    return Lerp(top, bottom, ty);
}

double PeriodicNoise::At(double u, double v) const {
    return Layer(u, v, FCellsX, FCellsY, 0);
}

double PeriodicNoise::Fractal(double u, double v, int octaves) const {
    double sum = 0;
    double weight = 1;
    double total = 0;
    for (int octave = 0; octave < octaves; ++octave) {
        const int scale = 1 << octave;
        sum += weight * Layer(u, v, FCellsX * scale, FCellsY * scale, static_cast<std::uint32_t>(octave + 1));
        total += weight;
        weight *= 0.5;
    }
    return total > 0 ? sum / total : 0;
}

} // namespace textures
