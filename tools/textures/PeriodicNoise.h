#pragma once
// Smooth value noise that repeats exactly over one tile, so a texture made from it joins its own
// copies without a seam: the lattice wraps at a whole number of cells across the tile, and every
// octave keeps a whole number of cells.

#include <cstdint>

namespace textures {

class PeriodicNoise {
public:
    // `cellsX` and `cellsY` are the lattice cells across one tile in each direction (at least 1);
    // different counts give grain that is stretched one way, as in wood.
    PeriodicNoise(int cellsX, int cellsY, std::uint32_t seed);

    // Noise in 0..1 at (u, v), both measured in tiles: u = 1 is the same as u = 0.
    double At(double u, double v) const;
    // Octaves of noise, each with twice the cells and half the weight of the one before; 0..1.
    double Fractal(double u, double v, int octaves) const;

private:
    double Lattice(int x, int y, int cellsX, int cellsY, std::uint32_t salt) const;
    double Layer(double u, double v, int cellsX, int cellsY, std::uint32_t salt) const;

    int FCellsX;
    int FCellsY;
    std::uint32_t FSeed;
};

} // namespace textures
