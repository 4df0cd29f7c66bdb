// Numbers and text as the game writes and reads them, and the 16-colour palette.
#pragma once

#include <QString>
#include <cstdint>

namespace tir {

// A colour as 0xRRGGBB; a point read outside a surface gives kAucune.
using Couleur = std::int32_t;
inline constexpr Couleur kAucune = -1;
inline constexpr Couleur kCiel = 0x00FFFF;  // the field's background, cyan

// Nearest integer, ties to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
long Arrondi(double v);

// Largest integer not above v, as a double (Int(-0.5) = -1).
double Int(double v);

// The number a text starts with: blanks skipped, reading stops at the first character that
// cannot continue a number, no number gives 0 (" 12abc" -> 12, "" -> 0, "-7" -> -7).
double Val(const QString& texte);

// Decimal digits with a minus sign when negative ("-7", "0", "150").
QString TexteSimple(long n);

// Decimal digits after a space when not negative, after a minus sign when negative
// (" 150", " 0", "-7").
QString TexteSigne(long n);

// Colour i (0 to 15) of the classic 16-colour palette; index taken modulo 16.
Couleur QBColor(int i);

// A 16-bit score after adding delta, held at its limits instead of wrapping.
std::int16_t AjouteSature(std::int16_t valeur, long delta);

}  // namespace tir
