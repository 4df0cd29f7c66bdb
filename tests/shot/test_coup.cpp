// The rules of a shot without any widget: a hand-made field, shots flown and scored by the plain
// functions alone.
#include <gtest/gtest.h>

#include <cmath>

#include "battlefield/Bouche.h"
#include "scoring/Points.h"
#include "shot/Coup.h"

namespace tir {
namespace {

constexpr int kLargeur = 627, kHauteur = 334;
constexpr float kSol = 100;  // flat ground, and nothing else: the cannons' pictures are sky

TEST(Coup, FliesAndScoresOnAFieldWithoutAnyWidget) {
    // Guards against rules that still need the window, and against a landing, a hit zone or
    // points that drift from the closed-form path on a flat field.
    QImage champ(kLargeur, kHauteur, QImage::Format_RGB32);
    champ.fill(0xFF00FFFF);
    for (int ligne = kHauteur - static_cast<int>(kSol); ligne < kHauteur; ++ligne) {
        for (int x = 0; x < kLargeur; ++x) champ.setPixel(x, ligne, 0xFF008000);
    }
    QImage canon(90, 80, QImage::Format_RGB32);
    canon.fill(0xFF00FFFF);
    Terrain t{&champ,       Repere{0, kHauteur, kLargeur, 0, kLargeur, kHauteur},
              kLargeur,     kHauteur,
              {kSol, kSol}, {},
              {},           {&canon, &canon}};
    struct Cas {
        int joueur, degres, force, vent;
        Issue issue;
    };
    // Over to B, over to A, short into the middle, beyond the right edge, back onto A itself.
    for (const Cas c : {Cas{0, 45, 68, 0, Issue::ToucheB}, Cas{1, 45, 68, 0, Issue::ToucheA},
                        Cas{0, 45, 50, 3, Issue::Rate}, Cas{0, 30, 120, 9, Issue::Rate},
                        Cas{0, 89, 40, 0, Issue::ToucheA}}) {
        const double a = 2 * M_PI * c.degres / 360;
        const QPointF bouche = Bouche(c.joueur, a, kSol, kLargeur);
        t.xBouche[c.joueur] = bouche.x();
        t.yBouche[c.joueur] = bouche.y();
        const Impact i = Tire(t, Visee{c.joueur, a, static_cast<std::int16_t>(c.force),
                                       static_cast<std::int16_t>(c.vent)});
        // Where the parabola comes down to the ground, or leaves the field sideways.
        const double sens = c.joueur == 0 ? 1 : -1;
        const double vx = c.force * std::cos(a) + sens * c.vent, vy = c.force * std::sin(a);
        const double temps =
            (vy + std::sqrt(vy * vy + 4 * 4.905 * (bouche.y() - kSol))) / (2 * 4.905);
        const double x = std::clamp(bouche.x() + sens * vx * temps, 0.0, double(kLargeur));
        EXPECT_EQ(i.issue, c.issue) << c.degres << " " << c.force;
        EXPECT_NEAR(i.x, x, 0.05);
        if (c.issue == Issue::ToucheB && c.joueur == 0) {
            const auto p =
                static_cast<long>(std::floor((34 - std::fabs(34 - (kLargeur - i.x))) / 3.4));
            EXPECT_EQ(Points(1, 0, i.x, kLargeur, 1), 9 * std::clamp(p, 1L, 10L));
        }
    }
    EXPECT_EQ(Points(0, 0, 34, kLargeur, 5), -10);  // his own cannon: minus the precision
}

}  // namespace
}  // namespace tir
