// Where things stand on the field, in device pixels (column to the right, row downwards): the
// cannons, the flames and the burst. Drawing, the hit tests and the tests all ask here.
#include "platform/Nombres.h"
#include "shot/Coup.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr double kDegresParTour = 360;

int Ligne(double y) {
    return static_cast<int>(Arrondi(y));
}

}  // namespace

// What a shot reads of the battlefield as it stands now: the kept image, grounds, muzzles and
// the cannons' snapshots.
Terrain Form1::TerrainDuCoup() const {
    Terrain t;
    t.garde = &Dessin->Garde();
    t.repere = Dessin->Reperage();
    t.largeur = Largeur;
    t.hauteur = Hauteur;
    for (int j = 0; j < 2; ++j) {
        t.niveauSol[j] = NiveauSol[j];
        t.xBouche[j] = XBouche[j];
        t.yBouche[j] = YBouche[j];
        t.instantane[j] = &SMurax[j].hDC();
    }
    return t;
}

// The cannon of `joueur` standing on its ground level in its corner, pushed `recul` pixels
// outwards (the recoil at the launch). Every cannon picture has the snapshot's 90 x 80 size.
QRect Form1::RectCanon(int joueur, int recul) const {
    return TerrainDuCoup().RectCanon(joueur, recul);
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
