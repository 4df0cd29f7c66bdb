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

// One tongue of fire: foot centre, half width at the foot, height, sideways lean at the tip,
// and the phase of its flicker (the tongue sways as it rises).
struct Langue {
    double x;
    double demiLargeur;
    double hauteur;
    double penche;
    double phase;
};

constexpr std::array<Langue, 8> kLangues{{{9, 9, 30, 5, 0.0},
                                          {19, 10, 42, -2, 1.3},
                                          {29, 11, 50, 4, 2.1},
                                          {38, 10, 40, -5, 0.4},
                                          {47, 10, 50, 3, 3.0},
                                          {57, 9, 36, -4, 1.7},
                                          {63, 6, 24, -3, 0.9},
                                          {34, 18, 22, 0, 0.0}}};

// Sparks that broke away from the tongues: centre, half width, half height.
constexpr std::array<std::array<double, 4>, 4> kFlammeches{
    {{14, 27, 2.0, 3.4}, {35, 24, 1.8, 3.2}, {53, 25, 2.0, 3.4}, {62, 34, 1.6, 3.0}}};

// How deep inside a tongue a point lies: 1 on its axis at the foot, 0 at its edge, below 0 out.
double Profondeur(const Langue& l, double x, double y) {
    const double s = (kFeuHauteur - y) / l.hauteur;  // 0 at the foot, 1 at the tip
    if (s < 0 || s > 1) return -1;
    const double largeur = l.demiLargeur * std::pow(1 - s, 0.8) * std::min(1.0, 0.75 + 1.5 * s);
    const double axe = l.x + l.penche * s * s + 4.0 * s * std::sin(6 * s + l.phase);
    return 1 - std::abs(x - axe) / std::max(largeur, 1e-6) - 0.4 * s;
}

double ProfondeurDuFeu(double x, double y) {
    double p = -1;
    for (const Langue& l : kLangues) p = std::max(p, Profondeur(l, x, y));
    for (const auto& [cx, cy, rx, ry] : kFlammeches) {
        const double u = (x - cx) / rx;
        const double v = (y - cy) / ry;
        p = std::max(p, 0.5 * (1 - u * u - v * v));
    }
    return p;
}

QRgb CouleurDuFeu(double p) {
    if (p > 0.55) return kJaune;
    if (p > 0.36) return kOrange;
    if (p > 0.13) return kRouge;
    return kRougeSombre;
}

// Two clouds of smoke above the fire, each a bunch of round puffs shaded as one.
void Fumees(Toile& t) {
    const Forme gauche = Union(Union(Disque(13, 17, 6), Disque(20, 11, 7.5)), Disque(28, 16, 5.5));
    const Forme droite = Union(Union(Disque(38, 9, 6.5), Disque(46, 5.5, 5.5)),
                               Union(Disque(53, 11, 6.5), Disque(45, 15, 5)));
    t.modeler(gauche, kFumee, 2);
    t.modeler(droite, kFumee, 2);
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
            const double p = ProfondeurDuFeu(x + 0.5, y + 0.5);
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
