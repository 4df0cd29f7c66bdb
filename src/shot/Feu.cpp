// The shot: launch, recoil and the flight of the shell until it meets something that is not sky.
#include <QApplication>
#include <cmath>
#include <limits>

#include "platform/Gdi.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr double kDemiGravite = 4.905;  // half of g = 9.81, in field units per time unit squared
constexpr double kEchelleTemps = 5.0;   // flight time runs five times faster than the clock
constexpr int kRecul = 10;              // the cannon jumps this far outwards at the launch
constexpr int kPassesSansTest = 16;     // passes that never test, so the shell leaves its cannon
constexpr Teinte kCouleurObus = Teinte::RougeSombre;

// The hourglass for the whole shot, the arrow again however the shot ends.
class Sablier {
  public:
    Sablier() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sablier() { QApplication::restoreOverrideCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;
};

// Whether the shell lies inside the shooter's own cannon rectangle (edges included): the muzzle
// lies there, and a colour test there would read the barrel.
bool DansSonCanon(const Form1& f) {
    const QRect canon = f.RectCanon(f.Joueur);
    const double gauche = canon.left();
    const double sol = f.NiveauSol[f.Joueur];
    return f.XObus >= gauche && f.XObus <= gauche + canon.width() && f.YObus >= sol &&
           f.YObus <= sol + canon.height();
}

// The shell's place at the flight time `Temps`, in closed form: the path is the same however
// many passes the machine manages.
void PlaceObus(Form1& f) {
    const double t = f.Temps;
    const double vitesse = f.Puissance;
    f.YObus = vitesse * std::sin(f.AngleRad) * t + f.YBouche[f.Joueur] - kDemiGravite * t * t;
    if (f.Joueur == 0) {
        f.XObus = (vitesse * std::cos(f.AngleRad) + f.ForceVent) * t + f.XBouche[f.Joueur];
    } else {
        f.XObus = f.XBouche[f.Joueur] - (vitesse * std::cos(f.AngleRad) - f.ForceVent) * t;
    }
}

// The flight loop. Ends at an impact (explosion, hit test and end of the shot follow) or,
// silently, once the shell has got below height 0 between two tests.
void Vole(Form1& f) {
    const double intervalle = f.Dessin->IntervalleImage();
    double dernierAffichage = -std::numeric_limits<double>::infinity();
    bool sortiDuCanon = false;
    int passe = 0;
    while (f.YObus > 0) {
        const double maintenant = f.services.horloge.Maintenant();
        f.Temps = static_cast<float>((maintenant - f.Depart) * kEchelleTemps);
        PlaceObus(f);
        if (!sortiDuCanon && !DansSonCanon(f)) sortiDuCanon = true;
        const bool visible = f.YObus < f.Hauteur;
        if (passe > kPassesSansTest - 1 && visible) {
            if (passe == kPassesSansTest) {
                f.Dessin->SetAutoRedraw(true);
                f.PoseCanon(f.Joueur, 0);
                f.Dessin->SetAutoRedraw(false);
                f.Dessin->Refresh();
            }
            if (sortiDuCanon && f.Dessin->Point(static_cast<float>(f.XObus),
                                                static_cast<float>(f.YObus)) != kCiel) {
                f.JoueSon(Son::Explosion);
                f.Explose();
                return;
            }
        }
        ++passe;
        if (!visible) continue;
        f.Dessin->PSet(f.XObus, f.YObus, QBColor(kCouleurObus));
        // The screen sees the shell at most once per refresh; the loop never waits for it.
        if (maintenant - dernierAffichage >= intervalle) {
            dernierAffichage = maintenant;
            f.Dessin->Montre();
            f.services.horloge.Respire();
        }
        f.Dessin->Refresh();
    }
}

}  // namespace

// Copies the snapshot of `joueur`'s cannon onto the field `recul` pixels outwards from its rest
// place, into whichever image persistent drawing selects.
void Form1::PoseCanon(int joueur, int recul) {
    const QRect r = RectCanon(joueur, recul);
    BitBlt(Dessin->hDC(), r.left(), r.top(), r.width(), r.height(), SMurax[joueur].hDC(), 0, 0,
           Rop::SrcCopy);
}

// Fires one shell for the player whose turn it is; the index of the button is not needed.
// Changes NbEssais, AngleRad, Puissance, Depart, Temps, XObus, YObus.
void Form1::Feu_Click(int /*index*/) {
    const Sablier sablier;
    NbEssais[Joueur] = AjouteSature(NbEssais[Joueur], 1);
    AngleRad = EnRadians(Val(Angle[Joueur]->Caption()));
    Puissance = static_cast<std::int16_t>(Arrondi(Val(Force[Joueur]->Caption())));
    YObus = YBouche[Joueur];
    Depart = services.horloge.Maintenant();
    // Recoil: the display shows the cannon pushed outwards until the shell is clear of it.
    Dessin->SetAutoRedraw(true);
    PoseCanon(Joueur, kRecul);
    Dessin->SetAutoRedraw(false);
    JoueSon(Joueur == 0 ? Son::Trnmurax : Son::Photon);
    Vole(*this);
}

}  // namespace tir
