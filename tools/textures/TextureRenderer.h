#pragma once
// The board textures the program ships: a marble and a wood look, each for the border, the light
// squares and the dark squares. Every texture is a seamless tile, so the board can lay it side by
// side over squares and border without a visible joint.

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace textures {

enum class Look { Marble, Wood };

struct TextureRecipe {
    QString FileName; // as the settings name it, e.g. "marmor_light.bmp"
    Look Kind;
    QColor Ground;    // the body of the stone or wood
    QColor Streak;    // veins of the marble, late-wood rings of the wood
    QColor Highlight; // fine light veins, or the lighter fibres of the wood
    std::uint32_t Seed;
};

// All textures the program ships, in the order the preview shows them: border, light, dark of the
// marble look, then of the wood look.
const std::vector<TextureRecipe>& ShippedTextures();

// One tile of `size` x `size` pixels.
QImage RenderTexture(const TextureRecipe& recipe, int size);

// A board laid out as the program draws it (border, eight by eight squares), one per look, side by
// side, for a person to judge the textures.
QImage RenderPreview(const std::vector<QImage>& tiles, int squareSize, int borderSize);

} // namespace textures
