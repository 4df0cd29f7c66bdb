// The explosion at the point of impact, and the hit test that decides which cannon was struck.
#include <array>

#include "platform/Gdi.h"
#include "shot/Coup.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr double kDureeExplosion = 1.0;  // seconds of whole cycles, at least one
// One cycle: the burst grows to its full size and shrinks back to nothing.
constexpr std::array<int, 14> kTaillesExplosion{0,  12, 24, 36, 48, 60, 72,
                                                72, 60, 48, 36, 24, 12, 0};

// One frame of the burst, k x k pixels centred on the impact, over the saved background. The
// background goes back first, so a frame with k = 0 leaves the field as it was.
void ImageExplosion(Form1& f, const QRect& fond, int k) {
    QImage& champ = f.Dessin->hDC();
    BitBlt(champ, fond.left(), fond.top(), fond.width(), fond.height(), f.PicCopy.hDC(), 0, 0,
           Rop::SrcCopy);
    const QRect r = f.BoiteExplosion(k);
    // The sprites' last two rows and columns are left out, as the burst was drawn for that.
    const int sw = f.Explosion[0].ScaleWidth() - 2;
    const int sh = f.Explosion[0].ScaleHeight() - 2;
    StretchBlt(champ, r.left(), r.top(), k, k, f.Explosion[0].hDC(), 0, 0, sw, sh, Rop::SrcAnd);
    StretchBlt(champ, r.left(), r.top(), k, k, f.Explosion[1].hDC(), 0, 0, sw, sh, Rop::SrcInvert);
}

// Whole cycles while the clock is before the end time. Every frame reaches the screen, one
// per screen refresh: unpaced, a cycle would only show as a strobe of random sizes.
void AnimeExplosion(Form1& f, const QRect& fond, double fin) {
    Horloge& horloge = f.services.horloge;
    const double intervalle = f.Dessin->IntervalleImage();
    bool premiere = true;
    double instant = 0;
    do {
        for (const int k : kTaillesExplosion) {
            if (!premiere) horloge.AttendsJusqua(instant + intervalle);
            premiere = false;
            instant = horloge.Maintenant();
            ImageExplosion(f, fond, k);
            f.Dessin->Montre();
        }
    } while (horloge.Maintenant() < fin);
}

}  // namespace

// Shows the burst at (XObus, YObus) on the display only, runs the hit sequence of the struck
// cannon if any, then ends the shot. The kept image is never touched here.
void Form1::Explose() {
    PoseCanon(Joueur, 0);
    Dessin->SetAutoRedraw(false);
    const double fin = services.horloge.Maintenant() + kDureeExplosion;
    const QRect fond = BoiteExplosion(PicCopy.ScaleWidth());
    BitBlt(PicCopy.hDC(), 0, 0, fond.width(), fond.height(), Dessin->hDC(), fond.left(), fond.top(),
           Rop::SrcCopy);
    AnimeExplosion(*this, fond, fin);
    // Only the side struck counts, not the height nor who fired.
    const Issue cote = CoteTouche(XObus, Largeur);
    if (cote == Issue::ToucheA) ToucheGauche();
    if (cote == Issue::ToucheB) ToucheDroite();
    FinDuCoup();
}

}  // namespace tir
