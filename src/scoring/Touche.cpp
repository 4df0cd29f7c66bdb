// The hit sequence of a struck cannon: points, wreck, flames, score, hits left, new battlefield.
// One sequence serves both sides; only the side's geometry and owner differ.
#include <array>

#include "platform/Gdi.h"
#include "scoring/Points.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr Teinte kCouleurA = Teinte::Jaune;
constexpr Teinte kCouleurB = Teinte::Vert;
constexpr double kDureeCrepitement = 0.8;  // seconds of whole flicker cycles, at least one
constexpr double kImageCrepitement = 0.02;
constexpr double kImageDeclin = 0.2;
constexpr int kPasDeclin = 5;
constexpr int kFinDeclin = 50;
// One flicker cycle: the flames squeeze to half their height and grow back.
constexpr std::array<int, 10> kCrepitement{0, 8, 16, 24, 32, 32, 24, 16, 8, 0};

// One flame frame at step k: the background back, then the top `hauteurSource` rows of the
// flames squeezed or cut into the box lowered by k. Shown at once, then held for `duree`.
void ImageFlammes(Form1& f, const QRect& b, int k, double duree, int hauteurSource) {
    const double echeance = f.services.horloge.Maintenant() + duree;
    QImage& champ = f.Dessin->hDC();
    BitBlt(champ, b.left(), b.top(), f.PicCopyF.ScaleWidth(), f.PicCopyF.ScaleHeight(),
           f.PicCopyF.hDC(), 0, 0, Rop::SrcCopy);
    const int largeur = b.width();
    const int hauteur = b.height() - k;
    StretchBlt(champ, b.left(), b.top() + k, largeur, hauteur, f.TFeu[0].hDC(), 0, 0, largeur,
               hauteurSource, Rop::SrcAnd);
    StretchBlt(champ, b.left(), b.top() + k, largeur, hauteur, f.TFeu[1].hDC(), 0, 0, largeur,
               hauteurSource, Rop::SrcInvert);
    f.Dessin->Montre();
    f.services.horloge.AttendsJusqua(echeance);
}

// The wreck of side `cote` into the kept image, standing on its ground level.
void DessineEpave(Form1& f, int cote) {
    const QImage& epave = f.CharFoutu.Picture();
    const double haut = f.NiveauSol[cote] + f.CharFoutu.ScaleHeight();
    f.Dessin->SetAutoRedraw(true);
    if (cote == 0) {
        f.Dessin->PaintPicture(epave, 0, haut);
    } else {
        f.Dessin->PaintPicture(epave, f.Largeur, haut, -f.CharFoutu.ScaleWidth());
    }
    f.Dessin->SetAutoRedraw(false);
}

// The wreck burns: flicker cycles for at least 0.8 s, then the flames sink into it.
void Brule(Form1& f, int cote) {
    DessineEpave(f, cote);
    const double finCrepitement = f.services.horloge.Maintenant() + kDureeCrepitement;
    const QRect b = f.BoiteFlammes(cote);
    BitBlt(f.PicCopyF.hDC(), 0, 0, f.PicCopyF.ScaleWidth(), f.PicCopyF.ScaleHeight(),
           f.Dessin->hDC(), b.left(), b.top(), Rop::SrcCopy);
    f.JoueSon(Son::Flammes);
    const int hauteurFlammes = f.TFeu[0].ScaleHeight();
    do {
        for (const int k : kCrepitement) {
            ImageFlammes(f, b, k, kImageCrepitement, hauteurFlammes);
        }
    } while (f.services.horloge.Maintenant() < finCrepitement);
    for (int k = 0; k <= kFinDeclin; k += kPasDeclin) {
        ImageFlammes(f, b, k, kImageDeclin, hauteurFlammes - k);
    }
}

// Points of the hit on side `cote` for the shooter Joueur: a gain on the opponent's cannon,
// minus the precision on his own. Shown in the Gain panel in the shooter's colour.
long AffichePoints(Form1& f, int cote) {
    const long points = Points(cote, f.Joueur, f.XObus, f.Largeur, f.NbEssais[f.Joueur]);
    f.Gain->SetCaption(TexteSigne(points) + QStringLiteral(" points"));
    f.Gain->SetBackColor(QBColor(f.Joueur == 0 ? kCouleurA : kCouleurB));
    f.Gain->Refresh();
    return points;
}

// The whole sequence for the cannon of side `cote` (0 left, 1 right). Changes Scores(Joueur),
// NbEssais, NbCoups, then the landscape and the wind.
void SequenceTouche(Form1& f, int cote) {
    f.CadreVent->setVisible(false);
    f.Gain->setVisible(true);
    f.repaint();
    const long points = AffichePoints(f, cote);
    Brule(f, cote);
    f.Scores[f.Joueur] = AjouteSature(f.Scores[f.Joueur], points);
    f.Score[f.Joueur]->SetCaption(TexteSimple(f.Scores[f.Joueur]));
    f.NbEssais[0] = 0;
    f.NbEssais[1] = 0;
    f.NbCoups = AjouteSature(f.NbCoups, -1);
    f.CoupsRestants->SetCaption(TexteSimple(f.NbCoups));
    f.DessinePaysage();
    f.Vent_Click();
}

}  // namespace

// Player A's cannon, on the left, was struck.
void Form1::ToucheGauche() {
    SequenceTouche(*this, 0);
}

// Player B's cannon, on the right, was struck.
void Form1::ToucheDroite() {
    SequenceTouche(*this, 1);
}

}  // namespace tir
