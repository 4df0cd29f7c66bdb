// Where a cannon's muzzle stands for an angle: the drawing of the cannons places the shell's start
// there, and the computer opponent reads it off the cannon as a player sees it.
#pragma once

#include <QPointF>
#include <cmath>

namespace tir {

inline constexpr double kAxeX = 35;    // pivot, from the outer edge of the picture
inline constexpr float kBoucheY = 25;  // the muzzle's height is counted from here, not the pivot
inline constexpr double kCanon = 42;   // barrel length

// The muzzle of `joueur`'s cannon (0 left, otherwise right and mirrored) standing on `sol`, its
// barrel at `angleRad`, on a field `largeur` wide.
inline QPointF Bouche(int joueur, double angleRad, float sol, int largeur) {
    const double x = joueur == 0 ? kAxeX + kCanon * std::cos(angleRad)
                                 : -kCanon * std::cos(angleRad) + largeur - kAxeX;
    return {x, (sol + kBoucheY) + kCanon * std::sin(angleRad)};
}

}  // namespace tir
