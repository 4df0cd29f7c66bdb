// The shot: launch, recoil and the flight of the shell until it meets something that is not sky.
#include <algorithm>
#include <cmath>

#include "platform/Gdi.h"
#include "window/Form1.h"

namespace tir {

namespace {

constexpr double kDemiGravite = 4.905;  // half of g = 9.81, in field units per time unit squared
constexpr double kEchelleTemps = 5.0;   // flight time runs five times faster than the clock
constexpr int kRecul = 10;              // the cannon jumps this far outwards at the launch
constexpr int kPassesSansTest = 16;     // passes that never test, so the shell leaves its cannon
constexpr double kTestsParPixel = 64;   // colour tests at least per pixel of the shell's travel
constexpr Teinte kCouleurObus = Teinte::RougeSombre;

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

// The shell's speed at flight time t, in pixels per flight-time unit.
double Vitesse(const Form1& f, double t) {
    const double vent = f.Joueur == 0 ? f.ForceVent : -f.ForceVent;
    const double vx = f.Puissance * std::cos(f.AngleRad) + vent;
    const double vy = f.Puissance * std::sin(f.AngleRad) - 2 * kDemiGravite * t;
    return std::hypot(vx, vy);
}

// Flight time at which the shell is one pixel below the field: past it the flight has ended,
// by an impact or silently, whatever else happens.
double TempsSousLeChamp(const Form1& f) {
    const double vy = f.Puissance * std::sin(f.AngleRad);
    const double hauteur = f.YBouche[f.Joueur] + 1;
    return (vy + std::sqrt(vy * vy + 4 * kDemiGravite * hauteur)) / (2 * kDemiGravite);
}

// How a pass or a stretch of passes ends: still flying, at an impact, or below the field.
enum class Issue { EnVol, Impact, Disparu };

// The passes of one flight: each places the shell at a clock instant and tests it, as the
// rules of the flight say, and a pass is one colour test however the frames fall.
struct Passes {
    Form1& f;
    int faites = 0;  // passes done that did not end the flight
    bool sortiDuCanon = false;

    // The shell at clock instant `instant`. Changes Temps, XObus, YObus and, at the first
    // tested pass, puts the cannon back at its rest place.
    Issue Passe(double instant) {
        f.Temps = static_cast<float>((instant - f.Depart) * kEchelleTemps);
        PlaceObus(f);
        if (!sortiDuCanon && !DansSonCanon(f)) sortiDuCanon = true;
        if (faites >= kPassesSansTest && f.YObus < f.Hauteur) {
            if (faites == kPassesSansTest) {
                f.Dessin->SetAutoRedraw(true);
                f.PoseCanon(f.Joueur, 0);
                f.Dessin->SetAutoRedraw(false);
                f.Dessin->Refresh();
            }
            if (sortiDuCanon && f.Dessin->Point(static_cast<float>(f.XObus),
                                                static_cast<float>(f.YObus)) != kCiel) {
                return Issue::Impact;
            }
        }
        ++faites;
        return f.YObus > 0 ? Issue::EnVol : Issue::Disparu;
    }

    // The passes of the path from clock instant `avant` to `maintenant`, evenly spaced in time
    // and close enough that two neighbours lie at most 1/64 pixel apart: the speed is largest
    // at one end of the span, so that speed bounds the whole span.
    Issue Trajet(double avant, double maintenant) {
        const double fin = std::min(maintenant, f.Depart + TempsSousLeChamp(f) / kEchelleTemps);
        const double t0 = (avant - f.Depart) * kEchelleTemps;
        const double t1 = (fin - f.Depart) * kEchelleTemps;
        if (t1 <= t0) return Issue::EnVol;
        const double vitesse = std::max(Vitesse(f, t0), Vitesse(f, t1));
        const double n = std::max(1.0, std::ceil(kTestsParPixel * vitesse * (t1 - t0)));
        for (double i = 1; i <= n; ++i) {
            const Issue issue = Passe(avant + (fin - avant) * (i / n));
            if (issue != Issue::EnVol) return issue;
        }
        return Issue::EnVol;
    }
};

// The flight. Once per screen refresh it tests the path since the previous frame, shows the
// shell at the last place tested and sleeps. Ends at an impact (explosion, hit test and end of
// the shot follow) or, silently, once the shell has got below height 0 between two tests.
void Vole(Form1& f) {
    Horloge& horloge = f.services.horloge;
    const double intervalle = f.Dessin->IntervalleImage();
    Passes passes{f};
    // The path is tested from the launch itself: a machine that stalls before the first frame
    // must not let the shell skip the start of its path.
    double avant = f.Depart;
    double echeance = avant;
    Issue issue = passes.Passe(avant);
    while (issue == Issue::EnVol) {
        // The display shows the shell until the Refresh that follows the wait: the screen sees
        // it once, and the colour tests never read it.
        if (f.YObus < f.Hauteur) f.Dessin->PSet(f.XObus, f.YObus, QBColor(kCouleurObus));
        f.Dessin->Montre();
        echeance += intervalle;
        horloge.AttendsJusqua(echeance);
        f.Dessin->Refresh();
        const double maintenant = horloge.Maintenant();
        // More than a frame late (a busy machine): the frames start again from now.
        if (maintenant - echeance > intervalle) echeance = maintenant;
        issue = passes.Trajet(avant, maintenant);
        avant = maintenant;
    }
    if (issue == Issue::Impact) {
        f.JoueSon(Son::Explosion);
        f.Explose();
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
    const Sablier sablier(*this);
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
