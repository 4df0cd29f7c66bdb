// The shot: launch, recoil and the flight of the shell until it meets something that is not sky.
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
constexpr int kCouleurObus = 4;         // dark red
constexpr double kDegresParTour = 360.0;

// The hourglass over the game window for the whole shot, the arrow again however the shot ends.
// The window's own pointer: the record dialog keeps its usual ones.
class Sablier {
  public:
    explicit Sablier(QWidget& fenetre) : fenetre_(fenetre) { fenetre_.setCursor(Qt::WaitCursor); }
    ~Sablier() { fenetre_.unsetCursor(); }
    Sablier(const Sablier&) = delete;
    Sablier& operator=(const Sablier&) = delete;

  private:
    QWidget& fenetre_;
};

// Device row of the top of a cannon's 90 x 80 rectangle standing on its ground level.
int LigneCanon(const Form1& f, int joueur) {
    return static_cast<int>(
        Arrondi(f.Hauteur - f.NiveauSol[joueur] - f.SMurax[joueur].ScaleHeight()));
}

// Copies the shooter's snapshot onto the field `decalage` pixels outwards from its rest place,
// into whichever image persistent drawing selects.
void PoseCanon(Form1& f, int joueur, int decalage) {
    const Image& instantane = f.SMurax[joueur];
    const int w = instantane.ScaleWidth();
    const int x = joueur == 0 ? -decalage : f.Largeur + decalage - w;
    BitBlt(f.Dessin->hDC(), x, LigneCanon(f, joueur), w, instantane.ScaleHeight(), instantane.hDC(),
           0, 0, Rop::SrcCopy);
}

// Whether the shell lies inside the shooter's own cannon rectangle (edges included): the muzzle
// lies there, and a colour test there would read the barrel.
bool DansSonCanon(const Form1& f) {
    const int w = f.SMurax[f.Joueur].ScaleWidth();
    const int h = f.SMurax[f.Joueur].ScaleHeight();
    const double gauche = f.Joueur == 0 ? 0.0 : f.Largeur - w;
    const double sol = f.NiveauSol[f.Joueur];
    return f.XObus >= gauche && f.XObus <= gauche + w && f.YObus >= sol && f.YObus <= sol + h;
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
                PoseCanon(f, f.Joueur, 0);
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

// Fires one shell for the player whose turn it is; the index of the button is not needed.
// Changes NbEssais, AngleRad, Puissance, Depart, Temps, XObus, YObus.
void Form1::Feu_Click(int /*index*/) {
    const Sablier sablier(*this);
    NbEssais[Joueur] = AjouteSature(NbEssais[Joueur], 1);
    AngleRad = Val(Angle[Joueur]->Caption());
    AngleRad = (Pi + Pi) * AngleRad / kDegresParTour;
    Puissance = static_cast<std::int16_t>(Arrondi(Val(Force[Joueur]->Caption())));
    YObus = YBouche[Joueur];
    Depart = services.horloge.Maintenant();
    // Recoil: the display shows the cannon pushed outwards until the shell is clear of it.
    Dessin->SetAutoRedraw(true);
    PoseCanon(*this, Joueur, kRecul);
    Dessin->SetAutoRedraw(false);
    JoueSon(Joueur == 0 ? Son::Trnmurax : Son::Photon);
    Vole(*this);
}

}  // namespace tir
