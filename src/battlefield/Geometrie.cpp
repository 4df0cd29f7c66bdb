// Where things stand on the field, in device pixels (column to the right, row downwards): the
// cannons, the flames and the burst. Drawing, the hit tests and the tests all ask here.
#include "platform/Nombres.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr double kDegresParTour = 360;

int Ligne(double y) {
    return static_cast<int>(Arrondi(y));
}

}  // namespace

// The cannon of `joueur` standing on its ground level in its corner, pushed `recul` pixels
// outwards (the recoil at the launch). Every cannon picture has the snapshot's 90 x 80 size.
QRect Form1::RectCanon(int joueur, int recul) const {
    const int w = SMurax[joueur].ScaleWidth();
    const int h = SMurax[joueur].ScaleHeight();
    const int colonne = joueur == 0 ? -recul : Largeur + recul - w;
    return {colonne, Ligne(Hauteur - NiveauSol[joueur] - h), w, h};
}

// The flames of the wreck of side `cote`: in the field's corner, from the top of the cannon.
QRect Form1::BoiteFlammes(int cote) const {
    const int w = TFeu[0].ScaleWidth();
    const int colonne = cote == 0 ? 0 : Largeur - w;
    return {colonne, RectCanon(cote).top(), w, TFeu[0].ScaleHeight()};
}

// The k x k square centred on the impact (XObus, YObus); k's integer half, so an even k is
// centred exactly. With k the work buffer's size, the block the burst is drawn over.
QRect Form1::BoiteExplosion(int k) const {
    const int demi = k / 2;
    return {Ligne(XObus - demi), Ligne(Hauteur - YObus - demi), k, k};
}

double Form1::EnRadians(double degres) const {
    return (Pi + Pi) * degres / kDegresParTour;
}

}  // namespace tir
