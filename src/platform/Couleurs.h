// Colours as the game names them: 0xRRGGBB values, the classic 16-colour palette by index, and
// the one conversion to and from Qt's colours.
#pragma once

#include <QColor>
#include <QRgb>
#include <cstdint>

namespace tir {

// A colour as 0xRRGGBB; a point read outside a surface gives kAucune.
using Couleur = std::int32_t;
inline constexpr Couleur kAucune = -1;
inline constexpr Couleur kCiel = 0x00FFFF;  // the field's background, cyan
inline constexpr Couleur kBlanc = 0xFFFFFF;
inline constexpr Couleur kNoir = 0x000000;

// Pixels of RGB32 images: the top byte is always opaque, the colour sits in the low 24 bits.
inline constexpr quint32 kOpaque = 0xFF000000u;
inline constexpr quint32 kMasqueRgb = 0x00FFFFFFu;

// The indices of the classic 16-colour palette.
enum class Teinte : int {
    Noir,
    BleuSombre,
    VertSombre,
    CyanSombre,
    RougeSombre,  // 0x800000
    MagentaSombre,
    JauneSombre,
    GrisClair,
    Gris,
    Bleu,
    Vert,
    Cyan,
    Rouge,
    Magenta,
    Jaune,
    Blanc,
};

// Colour i (0 to 15) of the classic 16-colour palette; index taken modulo 16.
Couleur QBColor(int i);
inline Couleur QBColor(Teinte t) {
    return QBColor(static_cast<int>(t));
}

inline QColor VersQColor(Couleur c) {
    return QColor::fromRgb(static_cast<QRgb>(c) | kOpaque);
}

inline Couleur VersCouleur(const QColor& c) {
    return static_cast<Couleur>(c.rgb() & kMasqueRgb);
}

}  // namespace tir
