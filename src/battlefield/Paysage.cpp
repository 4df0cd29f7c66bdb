// The landscape: three hill layers of three different colours, flat ground at both ends.
#include "window/Form1.h"

namespace tir {

namespace {

constexpr int kCouleurs = 7;          // layer colours are palette indices 1 to 7
constexpr int kCouches = 3;           // hill layers per landscape
constexpr double kLargeurPlat = 90;   // the left flat stretch, under cannon A
constexpr double kMargeDroite = 140;  // the hills end past Largeur - 140
constexpr double kDivisions = 10;     // the hilly middle is walked in tenths
constexpr double kBosseMaxi = 200;    // a middle point lies 0 to 199 above the left level
constexpr int kDiviseurMini = 4;      // levels are Hauteur / 4 ... Hauteur / 13
constexpr int kDiviseurs = 10;
constexpr int kCrayonCouche = 2;  // outline pen, closed enough for the fill
constexpr int kModeCopie = 13;    // the pen colour replaces the pixel
constexpr int kGraineFond = 10;   // the fill starts ten pixels above the bottom edge

}  // namespace

// Draws a new battlefield into the kept image: three layers, then both cannons on the highest
// level of each end (NiveauSol). Hides Gain, shows CadreVent, and repaints the window.
// Changes Palette, NiveauCouche, NiveauSol and, through the cannons, their muzzles and
// snapshots.
void Form1::DessinePaysage() {
    for (int i = 1; i <= kCouleurs; ++i) Palette[i] = static_cast<std::int16_t>(i);
    services.hasard.Randomize();
    Dessin->SetAutoRedraw(true);
    Dessin->Cls();
    NiveauSol[0] = 0;
    NiveauSol[1] = 0;
    for (int i = 1; i <= kCouches; ++i) DessineCouche(i);
    CalculeMurax(0);
    CalculeMurax(1);
    Gain->setVisible(false);
    CadreVent->setVisible(true);
    repaint();
}

// One layer: a colour not used by the layers before, a left level, the hills, a right level,
// then a fill of everything below the outline. Draws 3 + the middle points' count random
// numbers, in that order: colour, left level, each middle point, right level.
void Form1::DessineCouche(int i) {
    Hasard& hasard = services.hasard;
    // Only positions i..7 are picked from; the picked colour's slot takes the one at i.
    const int j = static_cast<int>(Int((kCouleurs - i + 1) * hasard.Rnd() + i));
    const int c = Palette[j];
    Palette[j] = Palette[i];
    const Couleur couleur = QBColor(c);

    NiveauCouche[0] = static_cast<float>(Hauteur / Int(hasard.Rnd() * kDiviseurs + kDiviseurMini));
    if (NiveauSol[0] < NiveauCouche[0]) NiveauSol[0] = NiveauCouche[0];
    Dessin->SetDrawMode(kModeCopie);
    Dessin->SetDrawWidth(kCrayonCouche);
    Dessin->Line(0, NiveauCouche[0], kLargeurPlat, NiveauCouche[0], couleur);

    const double debut = kLargeurPlat + (Largeur - kLargeurPlat) / kDivisions;
    const double fin = Largeur - kMargeDroite;
    const double pas = (Largeur - kMargeDroite) / kDivisions;
    double x = debut;
    for (; x <= fin; x += pas) {
        const float bosse = static_cast<float>(Int(hasard.Rnd() * kBosseMaxi));
        Dessin->LineTo(x, bosse + NiveauCouche[0], couleur);
    }

    NiveauCouche[1] = static_cast<float>(Hauteur / Int(hasard.Rnd() * kDiviseurs + kDiviseurMini));
    if (NiveauSol[1] < NiveauCouche[1]) NiveauSol[1] = NiveauCouche[1];
    // The right flat stretch starts where the walk stopped, past Largeur - 140.
    Dessin->LineTo(x, NiveauCouche[1], couleur);
    Dessin->LineTo(Largeur, NiveauCouche[1], couleur);

    Dessin->SetFillColor(couleur);
    Dessin->FloodFill(static_cast<int>(Arrondi(Largeur / 2.0)), Hauteur - kGraineFond, couleur);
}

}  // namespace tir
