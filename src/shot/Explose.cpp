// The explosion at the point of impact, and the hit test that decides which cannon was struck.
#include <array>

#include "platform/Gdi.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr double kDureeExplosion = 1.0;  // seconds of whole cycles, at least one
// One cycle: the burst grows to its full size and shrinks back to nothing.
constexpr std::array<int, 14> kTaillesExplosion{0,  12, 24, 36, 48, 60, 72,
                                                72, 60, 48, 36, 24, 12, 0};
// The hit zones, strict bounds, measured from the edge on the struck cannon's side.
constexpr double kBordZone = 2;
constexpr double kFinZone = 71;

// One frame of the burst, k x k pixels centred on the impact, over the saved background. The
// background goes back first, so a frame with k = 0 leaves the field as it was.
void ImageExplosion(Form1& f, int colonne, int ligne, int k) {
    QImage& champ = f.Dessin->hDC();
    BitBlt(champ, colonne, ligne, f.PicCopy.ScaleWidth(), f.PicCopy.ScaleHeight(), f.PicCopy.hDC(),
           0, 0, Rop::SrcCopy);
    const int demi = k / 2;  // the integer half: k is even, the square is centred on the impact
    const int x = static_cast<int>(Arrondi(f.XObus - demi));
    const int y = static_cast<int>(Arrondi(f.Hauteur - f.YObus - demi));
    // The sprites' last two rows and columns are left out, as the burst was drawn for that.
    const int sw = f.Explosion[0].ScaleWidth() - 2;
    const int sh = f.Explosion[0].ScaleHeight() - 2;
    StretchBlt(champ, x, y, k, k, f.Explosion[0].hDC(), 0, 0, sw, sh, Rop::SrcAnd);
    StretchBlt(champ, x, y, k, k, f.Explosion[1].hDC(), 0, 0, sw, sh, Rop::SrcInvert);
}

// Whole cycles while the clock is before the end time. Every frame reaches the screen, one
// per screen refresh: unpaced, a cycle would only show as a strobe of random sizes.
void AnimeExplosion(Form1& f, int colonne, int ligne, double fin) {
    Horloge& horloge = f.services.horloge;
    const double intervalle = f.Dessin->IntervalleImage();
    bool premiere = true;
    double instant = 0;
    do {
        for (const int k : kTaillesExplosion) {
            if (!premiere) horloge.AttendsJusqua(instant + intervalle);
            premiere = false;
            instant = horloge.Maintenant();
            ImageExplosion(f, colonne, ligne, k);
            f.Dessin->Montre();
        }
    } while (horloge.Maintenant() < fin);
}

}  // namespace

// Shows the burst at (XObus, YObus) on the display only, runs the hit sequence of the struck
// cannon if any, then ends the shot. The kept image is never touched here.
void Form1::Explose() {
    const Image& instantane = SMurax[Joueur];
    const int w = instantane.ScaleWidth();
    const int h = instantane.ScaleHeight();
    BitBlt(Dessin->hDC(), Joueur == 0 ? 0 : Largeur - w,
           static_cast<int>(Arrondi(Hauteur - NiveauSol[Joueur] - h)), w, h, instantane.hDC(), 0, 0,
           Rop::SrcCopy);
    Dessin->SetAutoRedraw(false);
    const double fin = services.horloge.Maintenant() + kDureeExplosion;
    const int demi = PicCopy.ScaleWidth() / 2;
    const int colonne = static_cast<int>(Arrondi(XObus - demi));
    const int ligne = static_cast<int>(Arrondi(Hauteur - YObus - demi));
    BitBlt(PicCopy.hDC(), 0, 0, PicCopy.ScaleWidth(), PicCopy.ScaleHeight(), Dessin->hDC(), colonne,
           ligne, Rop::SrcCopy);
    AnimeExplosion(*this, colonne, ligne, fin);
    // Only the side struck counts, not the height nor who fired.
    if (kBordZone < XObus && XObus < kFinZone) ToucheGauche();
    if (Largeur - kFinZone < XObus && XObus < Largeur - kBordZone) ToucheDroite();
    FinDuCoup();
}

}  // namespace tir
