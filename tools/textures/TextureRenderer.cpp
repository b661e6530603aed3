#include "TextureRenderer.h"

#include "PeriodicNoise.h"

#include <QPainter>
#include <QRegion>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace textures {

namespace {

constexpr double TwoPi = 2 * std::numbers::pi;
constexpr int TexturesPerLook = 3;
constexpr int PreviewGap = 16;

// Marble: bands bent by turbulence, sharpened into thin veins; the band directions are whole
// numbers of turns per tile so that the bands, too, repeat with the tile.
constexpr int MarbleCells = 4;
constexpr int MarbleOctaves = 5;
constexpr double MarbleTurbulence = 7.0;
constexpr double VeinSharpness = 7.0;
constexpr double FineVeinSharpness = 16.0;
constexpr double CloudDepth = 0.16;

// Wood: growth rings across the tile, warped a little, with fibres that run along the grain.
constexpr int RingsPerTile = 7;
constexpr double RingWarp = 1.2;
constexpr int WarpOctaves = 2;
constexpr int WarpCellsX = 3;
constexpr int WarpCellsY = 2;
constexpr int FibreCellsX = 3;
constexpr int FibreCellsY = 96;
constexpr double LateWoodSharpness = 2.2;

QColor Blend(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QColor Shade(const QColor& colour, double factor) {
    auto channel = [factor](float c) { return static_cast<float>(std::clamp(c * factor, 0.0, 1.0)); };
    return QColor::fromRgbF(channel(colour.redF()), channel(colour.greenF()), channel(colour.blueF()));
}

double Vein(double phase, double sharpness) {
    return std::pow(1.0 - std::abs(std::sin(phase)), sharpness);
}

QColor MarbleAt(const TextureRecipe& r, const PeriodicNoise& turbulence, const PeriodicNoise& fine,
                const PeriodicNoise& clouds, double u, double v) {
    const double bend = MarbleTurbulence * (turbulence.Fractal(u, v, MarbleOctaves) - 0.5);
    const double bold = Vein(TwoPi * (u + 2 * v) + bend, VeinSharpness);
    const double thin =
        Vein(TwoPi * (3 * u - v) + 1.5 * MarbleTurbulence * (fine.Fractal(u, v, 4) - 0.5), FineVeinSharpness);
    const QColor ground = Shade(r.Ground, 1.0 + CloudDepth * (clouds.Fractal(u, v, 4) - 0.5) * 2);
    return Blend(Blend(ground, r.Streak, 0.85 * bold), r.Highlight, 0.6 * thin);
}

QColor WoodAt(const TextureRecipe& r, const PeriodicNoise& warp, const PeriodicNoise& fibres, double u,
              double v) {
    const double rings = RingsPerTile * v + RingWarp * warp.Fractal(u, v, WarpOctaves);
    const double lateWood =
        std::pow(0.5 - 0.5 * std::cos(TwoPi * (rings - std::floor(rings))), LateWoodSharpness);
    const double fibre = fibres.Fractal(u, v, 3);
    const QColor ringed = Blend(r.Ground, r.Streak, 0.75 * lateWood + 0.25 * (1 - fibre));
    return Blend(ringed, r.Highlight, 0.35 * std::max(0.0, fibre - 0.55) / 0.45);
}

// Tiles laid from the corner of `area`, as the board lays them from its own corner.
void Tile(QPainter& painter, const QImage& tile, const QRect& area) {
    for (int y = area.top(); y < area.bottom(); y += tile.height())
        for (int x = area.left(); x < area.right(); x += tile.width())
            painter.drawImage(x, y, tile);
}

void DrawBoard(QPainter& painter, const QImage& border, const QImage& light, const QImage& dark, QPoint at,
               int square, int frame) {
    const int edge = 8 * square + 2 * frame;
    const QRect whole(at, QSize(edge, edge));
    const QRect inner = whole.adjusted(frame, frame, -frame, -frame);
    painter.save();
    painter.setClipRegion(QRegion(whole).subtracted(inner));
    Tile(painter, border, whole);
    QRegion lightSquares;
    for (int row = 0; row < 8; ++row)
        for (int col = row % 2; col < 8; col += 2)
            lightSquares += QRect(inner.left() + col * square, inner.top() + row * square, square, square);
    painter.setClipRegion(QRegion(inner).subtracted(lightSquares));
    Tile(painter, dark, whole);
    painter.setClipRegion(lightSquares);
    Tile(painter, light, whole);
    painter.restore();
}

} // namespace

const std::vector<TextureRecipe>& ShippedTextures() {
    static const std::vector<TextureRecipe> recipes = {
        {"marmor_border.bmp", Look::Marble, QColor(104, 44, 36), QColor(52, 18, 14), QColor(196, 150, 128),
         11},
        {"marmor_light.bmp", Look::Marble, QColor(238, 234, 224), QColor(150, 146, 140),
         QColor(255, 255, 252), 23},
        {"marmor_dark.bmp", Look::Marble, QColor(92, 118, 104), QColor(42, 58, 50), QColor(186, 204, 192),
         37},
        {"holz_border.bmp", Look::Wood, QColor(104, 52, 32), QColor(58, 26, 14), QColor(140, 76, 48), 41},
        {"holz_light.bmp", Look::Wood, QColor(232, 200, 150), QColor(196, 152, 98), QColor(246, 222, 180),
         53},
        {"holz_dark.bmp", Look::Wood, QColor(142, 90, 54), QColor(88, 52, 28), QColor(170, 114, 70), 67},
    };
    return recipes;
}

QImage RenderTexture(const TextureRecipe& recipe, int size) {
    QImage tile(size, size, QImage::Format_RGB32);
    const PeriodicNoise first(recipe.Kind == Look::Marble ? MarbleCells : WarpCellsX,
                              recipe.Kind == Look::Marble ? MarbleCells : WarpCellsY, recipe.Seed);
    const PeriodicNoise second(recipe.Kind == Look::Marble ? 2 * MarbleCells : FibreCellsX,
                               recipe.Kind == Look::Marble ? 2 * MarbleCells : FibreCellsY,
                               recipe.Seed * 7 + 1);
    const PeriodicNoise clouds(3, 3, recipe.Seed * 13 + 5);
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < size; ++x) {
            const double u = static_cast<double>(x) / size;
            const double v = static_cast<double>(y) / size;
            const QColor colour = recipe.Kind == Look::Marble ? MarbleAt(recipe, first, second, clouds, u, v)
                                                              : WoodAt(recipe, first, second, u, v);
            row[x] = colour.rgb();
        }
    }
    return tile;
}

QImage RenderPreview(const std::vector<QImage>& tiles, int squareSize, int borderSize) {
    const int looks = static_cast<int>(tiles.size()) / TexturesPerLook;
    const int edge = 8 * squareSize + 2 * borderSize;
    QImage preview(looks * (edge + PreviewGap) + PreviewGap, edge + 2 * PreviewGap, QImage::Format_RGB32);
    preview.fill(Qt::white);
    QPainter painter(&preview);
    for (int look = 0; look < looks; ++look) {
        const auto first = static_cast<size_t>(look * TexturesPerLook);
        DrawBoard(painter, tiles[first], tiles[first + 1], tiles[first + 2],
                  QPoint(PreviewGap + look * (edge + PreviewGap), PreviewGap), squareSize, borderSize);
    }
    return preview;
}

} // namespace textures
