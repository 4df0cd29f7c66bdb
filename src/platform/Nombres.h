// Numbers and text as the game writes and reads them (colours: platform/Couleurs.h).
#pragma once

#include <QString>
#include <cstdint>

#include "platform/Couleurs.h"

namespace tir {

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

// A 16-bit score after adding delta, held at its limits instead of wrapping.
std::int16_t AjouteSature(std::int16_t valeur, long delta);

}  // namespace tir
