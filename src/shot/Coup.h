// The rules of a shot without the window: where a shell fired from a cannon ends on the field as
// it is kept, and which cannon it strikes. The window's fire button plays its shots through them;
// the computer opponent, the tests and the benchmarks call them directly.
#pragma once

#include <QImage>
#include <QRect>
#include <array>
#include <cstdint>

#include "platform/Surface.h"

namespace tir {

// What a shot reads of the battlefield: the kept image in its coordinate system, the ground
// under each cannon, the muzzles, and each cannon's snapshot (its rectangle as it stands).
struct Terrain {
    const QImage* garde = nullptr;
    Repere repere;
    std::int16_t largeur = 0, hauteur = 0;
    std::array<float, 2> niveauSol{};
    std::array<double, 2> xBouche{}, yBouche{};
    std::array<const QImage*, 2> instantane{};

    // The cannon of `joueur` on its ground in its corner, pushed `recul` pixels outwards, in
    // device pixels.
    QRect RectCanon(int joueur, int recul = 0) const;
};

// One shot: the shooter (0 = A, left; 1 = B, right), the angle in radians, the force as the
// launch rounds it, and the wind.
struct Visee {
    int joueur = 0;
    double angleRad = 0;
    std::int16_t puissance = 0;
    std::int16_t vent = 0;
};

// How a flight stands or ended: still flying, at an impact that strikes nothing, on player A's
// cannon, on player B's, or silently below the field.
enum class Issue { EnVol, Rate, ToucheA, ToucheB, Disparu };

// Which hit zone the abscissa `x` of an impact lies in (strict bounds): only the side counts,
// not the height nor who fired. Rate outside both.
Issue CoteTouche(double x, int largeur);

// The passes of one flight, launched at clock instant `depart`. Each pass places the shell in
// closed form at a clock instant and tests its colour as the rules say: no test in the first 16
// passes, nor while the shell has not yet left its own cannon's rectangle, nor at or above the top
// edge; the 17th pass puts the recoiled cannon back first. The field is read as the kept image
// with the cannon recoiled, then put back, whatever the caller's image shows of them.
class Vol {
  public:
    Vol(const Terrain& terrain, const Visee& visee, double depart);

    // One pass at clock instant `instant`: EnVol, an impact (Rate, ToucheA, ToucheB) or Disparu.
    Issue Passe(double instant);
    // The passes from clock instant `avant` to `maintenant`, evenly spaced in time and close
    // enough that two neighbours lie at most 1/64 pixel apart.
    Issue Trajet(double avant, double maintenant);

    double X() const { return x_; }
    double Y() const { return y_; }
    float Temps() const { return temps_; }
    // Whether the 17th pass has put the cannon back at its rest place.
    bool CanonRemis() const { return canonRemis_; }
    // Colour tests made so far.
    long Tests() const { return tests_; }

  private:
    void Place();
    bool DansSonCanon() const;
    Couleur Lit(double x, double y) const;
    double Vitesse(double t) const;
    double TempsSousLeChamp() const;

    const Terrain& terrain_;
    Visee visee_;
    double depart_;
    double vx_, vy_;  // the launch speed, sin and cos taken once
    double x_ = 0, y_ = 0;
    float temps_ = 0;
    int faites_ = 0;  // passes done that did not end the flight
    bool sortiDuCanon_ = false;
    bool canonRemis_ = false;
    long tests_ = 0;
};

// Where the shell ends. x and y are the impact point, or the last place tested.
struct Impact {
    Issue issue = Issue::Disparu;
    double x = 0, y = 0;
};

// A whole flight from clock instant `depart`, its frames `intervalle` seconds apart.
Impact Tire(const Terrain& terrain, const Visee& visee, double depart = 0,
            double intervalle = 1.0 / 60);

}  // namespace tir
