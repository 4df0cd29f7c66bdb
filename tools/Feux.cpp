// The sprites drawn over the field: the burning wreck's flames and the explosion's star. Each
// picture is colour on black; its mask is derived from it, so the two always agree.
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "Dessins.h"
#include "Hasard.h"

namespace fabrique {

namespace {

constexpr QRgb kRouge = 0xFF0000;
constexpr QRgb kJaune = 0xFFFF00;
constexpr QRgb kOrange = 0xFF8C00;
constexpr QRgb kRougeSombre = 0xA80000;
constexpr Teintes kFumee{0xB0B0B0, 0x848484, 0x5A5A5A};

// One tongue of fire: foot centre, half width at the foot, height, and sideways lean at the tip.
struct Langue {
    double x;
    double demiLargeur;
    double hauteur;
    double penche;
};

constexpr std::array<Langue, 6> kLangues{{{14, 10, 34, 4},
                                          {26, 11, 50, -3},
                                          {36, 12, 44, 5},
                                          {46, 10, 54, -4},
                                          {56, 9, 32, 3},
                                          {34, 16, 20, 0}}};

// How deep inside a tongue a point lies: 1 on its axis at the foot, 0 at its edge, below 0 out.
double Profondeur(const Langue& l, double x, double y) {
    const double s = (kFeuHauteur - y) / l.hauteur;  // 0 at the foot, 1 at the tip
    if (s < 0 || s > 1) return -1;
    const double largeur = l.demiLargeur * std::pow(1 - s, 0.75) * std::min(1.0, 0.7 + 1.5 * s);
    const double axe = l.x + l.penche * s * s;
    return 1 - std::abs(x - axe) / std::max(largeur, 1e-6) - 0.35 * s;
}

QRgb CouleurDuFeu(double p) {
    if (p > 0.55) return kJaune;
    if (p > 0.35) return kOrange;
    if (p > 0.12) return kRouge;
    return kRougeSombre;
}

void Fumees(Toile& t) {
    const std::array<Point, 4> centres{{{18, 16}, {33, 9}, {48, 14}, {40, 22}}};
    const std::array<double, 4> rayons{7.0, 8.5, 7.5, 6.0};
    for (std::size_t i = 0; i < centres.size(); ++i) {
        t.modeler(Disque(centres[i].x, centres[i].y, rayons[i]), kFumee, 2);
    }
}

// The radius of the star's edge at each angle: sharp spikes of uneven length between valleys.
std::vector<double> Rayons(int pointes, double creux, double bas, double haut) {
    Hasard hasard(0x7E5B1A5);
    std::vector<double> r;
    for (int i = 0; i < pointes; ++i) {
        r.push_back(hasard.entre(bas, haut));
        r.push_back(creux * hasard.entre(0.85, 1.15));
    }
    return r;
}

double BordDeEtoile(const std::vector<double>& r, double angle) {
    const double pas = 2 * std::numbers::pi / static_cast<double>(r.size());
    const double u = std::fmod(angle + 2 * std::numbers::pi, 2 * std::numbers::pi) / pas;
    const auto i = static_cast<std::size_t>(u) % r.size();
    const double f = u - std::floor(u);
    return r[i] * (1 - f) + r[(i + 1) % r.size()] * f;
}

}  // namespace

Toile DessineFlammes() {
    Toile t(kFeuLargeur, kFeuHauteur, kNoir);
    Fumees(t);
    for (int y = 0; y < kFeuHauteur; ++y) {
        for (int x = 0; x < kFeuLargeur; ++x) {
            double p = -1;
            for (const Langue& l : kLangues) p = std::max(p, Profondeur(l, x + 0.5, y + 0.5));
            if (p >= 0) t.point(x, y, CouleurDuFeu(p));
        }
    }
    return t;
}

Toile DessineExplosion() {
    // The game stretches only the top-left 70 x 70 pixels, centred on (35, 35).
    constexpr double kCentre = 35.0;
    Toile t(kExplosionCote, kExplosionCote, kNoir);
    const std::vector<double> rouge = Rayons(13, 14.0, 26.0, 34.0);
    const std::vector<double> jaune = Rayons(13, 8.0, 14.0, 21.0);
    for (int y = 0; y < kExplosionCote; ++y) {
        for (int x = 0; x < kExplosionCote; ++x) {
            const double dx = x + 0.5 - kCentre;
            const double dy = y + 0.5 - kCentre;
            const double r = std::hypot(dx, dy);
            const double a = std::atan2(dy, dx);
            if (r <= BordDeEtoile(jaune, a + 0.12)) {
                t.point(x, y, kJaune);
            } else if (r <= BordDeEtoile(rouge, a)) {
                t.point(x, y, kRouge);
            }
        }
    }
    return t;
}

Toile MasqueDe(const Toile& image) {
    Toile masque(image.largeur(), image.hauteur(), kBlanc);
    for (int y = 0; y < image.hauteur(); ++y) {
        for (int x = 0; x < image.largeur(); ++x) {
            if (image.pixel(x, y) != kNoir) masque.point(x, y, kNoir);
        }
    }
    return masque;
}

}  // namespace fabrique
