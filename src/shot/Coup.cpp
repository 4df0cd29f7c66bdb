// The rules of a shot on numbers and the kept image: the flight's passes, their colour test and
// the hit zones.
#include "shot/Coup.h"

#include <algorithm>
#include <cmath>

#include "platform/Nombres.h"

namespace tir {

namespace {

constexpr double kDemiGravite = 4.905;  // half of g = 9.81, in field units per time unit squared
constexpr double kEchelleTemps = 5.0;   // flight time runs five times faster than the clock
constexpr int kRecul = 10;              // the cannon jumps this far outwards at the launch
constexpr int kPassesSansTest = 16;     // passes that never test, so the shell leaves its cannon
constexpr double kTestsParPixel = 64;   // colour tests at least per pixel of the shell's travel
// The hit zones, strict bounds, measured from the edge on the struck cannon's side.
constexpr double kBordZone = 2;
constexpr double kFinZone = 71;

}  // namespace

QRect Terrain::RectCanon(int joueur, int recul) const {
    const int w = instantane[joueur]->width();
    const int h = instantane[joueur]->height();
    const int colonne = joueur == 0 ? -recul : largeur + recul - w;
    return {colonne, static_cast<int>(Arrondi(hauteur - niveauSol[joueur] - h)), w, h};
}

Issue CoteTouche(double x, int largeur) {
    if (kBordZone < x && x < kFinZone) return Issue::ToucheA;
    if (largeur - kFinZone < x && x < largeur - kBordZone) return Issue::ToucheB;
    return Issue::Rate;
}

Vol::Vol(const Terrain& terrain, const Visee& visee, double depart)
    : terrain_(terrain), visee_(visee), depart_(depart) {
    const double vitesse = visee.puissance;
    const double vent = visee.joueur == 0 ? visee.vent : -visee.vent;
    vx_ = vitesse * std::cos(visee.angleRad) + vent;
    vy_ = vitesse * std::sin(visee.angleRad);
    y_ = terrain.yBouche[visee.joueur];
}

// The shell's place at the flight time, in closed form: the path is the same however many passes
// the machine manages. Player B fires to the left; the wind pushes both shells the same way.
void Vol::Place() {
    const double t = temps_;
    const int j = visee_.joueur;
    y_ = vy_ * t + terrain_.yBouche[j] - kDemiGravite * t * t;
    x_ = j == 0 ? vx_ * t + terrain_.xBouche[j] : terrain_.xBouche[j] - vx_ * t;
}

// Whether the shell lies inside the shooter's own cannon rectangle (edges included): the muzzle
// lies there, and a colour test there would read the barrel.
bool Vol::DansSonCanon() const {
    const QRect canon = terrain_.RectCanon(visee_.joueur);
    const double gauche = canon.left();
    const double sol = terrain_.niveauSol[visee_.joueur];
    return x_ >= gauche && x_ <= gauche + canon.width() && y_ >= sol && y_ <= sol + canon.height();
}

// The field's colour as the window's field holds it at this pass: the kept image, with the
// shooter's snapshot recoiled until the cannon is put back, then at its rest place.
Couleur Vol::Lit(double x, double y) const {
    const QImage& garde = *terrain_.garde;
    const QPoint p = terrain_.repere.Pixel(x, y);
    if (!garde.rect().contains(p)) return kAucune;
    const int j = visee_.joueur;
    const QRect canon = terrain_.RectCanon(j, canonRemis_ ? 0 : kRecul);
    if (canon.contains(p)) {
        const QPoint q = p - canon.topLeft();
        return static_cast<Couleur>(terrain_.instantane[j]->pixel(q) & kMasqueRgb);
    }
    return CouleurAu(garde, terrain_.repere, x, y);
}

Issue Vol::Passe(double instant) {
    temps_ = static_cast<float>((instant - depart_) * kEchelleTemps);
    Place();
    if (!sortiDuCanon_ && !DansSonCanon()) sortiDuCanon_ = true;
    if (faites_ >= kPassesSansTest && y_ < terrain_.hauteur) {
        if (faites_ == kPassesSansTest) canonRemis_ = true;
        if (sortiDuCanon_) {
            ++tests_;
            if (Lit(static_cast<float>(x_), static_cast<float>(y_)) != kCiel) {
                return CoteTouche(x_, terrain_.largeur);
            }
        }
    }
    ++faites_;
    return y_ > 0 ? Issue::EnVol : Issue::Disparu;
}

// The shell's speed at flight time t, in pixels per flight-time unit.
double Vol::Vitesse(double t) const {
    return std::hypot(vx_, vy_ - 2 * kDemiGravite * t);
}

// Flight time at which the shell is one pixel below the field: past it the flight has ended,
// by an impact or silently, whatever else happens.
double Vol::TempsSousLeChamp() const {
    const double hauteur = terrain_.yBouche[visee_.joueur] + 1;
    return (vy_ + std::sqrt(vy_ * vy_ + 4 * kDemiGravite * hauteur)) / (2 * kDemiGravite);
}

// The speed is largest at one end of the span, so that speed bounds the whole span.
Issue Vol::Trajet(double avant, double maintenant) {
    const double fin = std::min(maintenant, depart_ + TempsSousLeChamp() / kEchelleTemps);
    const double t0 = (avant - depart_) * kEchelleTemps;
    const double t1 = (fin - depart_) * kEchelleTemps;
    if (t1 <= t0) return Issue::EnVol;
    const double vitesse = std::max(Vitesse(t0), Vitesse(t1));
    const double n = std::max(1.0, std::ceil(kTestsParPixel * vitesse * (t1 - t0)));
    for (double i = 1; i <= n; ++i) {
        const Issue issue = Passe(avant + (fin - avant) * (i / n));
        if (issue != Issue::EnVol) return issue;
    }
    return Issue::EnVol;
}

Impact Tire(const Terrain& terrain, const Visee& visee, double depart, double intervalle) {
    Vol vol(terrain, visee, depart);
    double avant = depart;
    Issue issue = vol.Passe(avant);
    for (int image = 1; issue == Issue::EnVol; ++image) {
        const double maintenant = depart + image * intervalle;
        issue = vol.Trajet(avant, maintenant);
        avant = maintenant;
    }
    return {issue, vol.X(), vol.Y()};
}

}  // namespace tir
