// The game's pictures, each drawn at its own size.
#pragma once

#include "Toile.h"

namespace fabrique {

// The sky colour around the cannons: the game treats exactly this colour as empty space.
inline constexpr QRgb kCiel = 0x00FFFF;
inline constexpr QRgb kNoir = 0x000000;
inline constexpr QRgb kBlanc = 0xFFFFFF;

// Cannon and wreck, 90 x 80, facing right, on the sky colour.
inline constexpr int kCharLargeur = 90;
inline constexpr int kCharHauteur = 80;
// Where the game fixes the barrel on the turret (pixel column and row from the top).
inline constexpr int kPivotX = 35;
inline constexpr int kPivotY = kCharHauteur - 1 - 29;

Toile DessineMurax();
Toile DessineCharFoutu();

// Sprite pictures: colour on black. Their masks follow from them (MasqueDe).
inline constexpr int kFeuLargeur = 68;
inline constexpr int kFeuHauteur = 64;
inline constexpr int kExplosionCote = 72;
Toile DessineFlammes();
Toile DessineExplosion();
// Black wherever the picture has colour, white wherever it is black.
Toile MasqueDe(const Toile& image);

// Sound buttons (32 x 32, on the button's light grey) and the window icon at any size.
inline constexpr int kBoutonCote = 32;
Toile DessineSonActif();
Toile DessineSonCoupe();
Toile DessineIcone(int cote);

}  // namespace fabrique
