// The landscape: colours, levels, outline, fill, and what it leaves behind.
#include <gtest/gtest.h>

#include <QSet>
#include <algorithm>
#include <cmath>

#include "BancDeTir.h"

namespace tir {
namespace {

constexpr int kTirages = 33;  // per layer: colour, left level, eight middle points, right level

// A seeded generator that keeps every number it hands out.
class HasardNote : public Hasard {
  public:
    explicit HasardNote(unsigned graine) : generateur_(graine) {}
    std::vector<double> tires;
    double Rnd() override {
        tires.push_back(std::uniform_real_distribution<double>(0.0, 1.0)(generateur_));
        return tires.back();
    }
    void Randomize() override { ++reamorcages; }
    int reamorcages = 0;

  private:
    std::mt19937 generateur_;
};

Couleur Pixel(const QImage& image, int colonne, int ligne) {
    return static_cast<Couleur>(image.pixel(colonne, ligne) & 0xFFFFFF);
}

// Height (user units, centre of the pixel) of the highest pixel of `couleur` in a column.
double Sommet(const QImage& image, int x, Couleur couleur) {
    for (int r = 0; r < image.height(); ++r) {
        if (Pixel(image, x, r) == couleur) return image.height() - r - 0.5;
    }
    return -1;
}

float Niveau(double r) {
    return static_cast<float>(334.0 / std::floor(r * 10 + 4));
}

TEST(Paysage, OverManySeedsLevelsColoursAndFillKeepTheirBounds) {
    // Guards against colours outside 1..7 or repeated, a ground level that is not the highest
    // of its end, draws taken in another order, holes under an outline, or hills reaching the
    // sky's top band.
    for (unsigned graine = 1; graine <= 60; ++graine) {
        HasardNote hasard(graine);
        test::BancDeTir f({.hasard = &hasard});
        Form1& w = *f.form;
        hasard.tires.clear();
        w.DessinePaysage();
        ASSERT_EQ(hasard.tires.size(), static_cast<size_t>(kTirages)) << graine;
        EXPECT_EQ(hasard.reamorcages, 2);  // the wind's, then the landscape's

        float gauche = 0, droite = 0;
        std::array<int, 8> pool{0, 1, 2, 3, 4, 5, 6, 7};
        QSet<Couleur> couleurs;
        Couleur derniere = 0;
        for (int i = 1; i <= 3; ++i) {
            const int base = (i - 1) * 11;
            const int j = static_cast<int>(std::floor((8 - i) * hasard.tires[base] + i));
            derniere = QBColor(pool[j]);
            couleurs << derniere;
            pool[j] = pool[i];
            gauche = std::max(gauche, Niveau(hasard.tires[base + 1]));
            droite = std::max(droite, Niveau(hasard.tires[base + 10]));
        }
        ASSERT_EQ(couleurs.size(), 3);
        EXPECT_EQ(w.NiveauSol[0], gauche) << graine;
        EXPECT_EQ(w.NiveauSol[1], droite) << graine;
        for (float n : {w.NiveauSol[0], w.NiveauSol[1]}) {
            EXPECT_GE(n, 334.0f / 13);
            EXPECT_LE(n, 334.0f / 4);
        }

        const QImage& champ = w.Dessin->Garde();
        EXPECT_EQ(Pixel(champ, 314, 324), derniere) << "the last layer fills the bottom";
        const int ciel = 334 - static_cast<int>(334 / 4.0 + 199 + 3);
        for (int x = 91; x < 627 - 91; ++x) {
            bool solDepasse = false;
            for (int r = champ.height() - 1; r >= 0; --r) {
                const Couleur c = Pixel(champ, x, r);
                if (c == kCiel) {
                    solDepasse = true;
                    continue;
                }
                ASSERT_TRUE(couleurs.contains(c)) << graine << " x " << x << " row " << r;
                ASSERT_FALSE(solDepasse) << "hole under the outline, x " << x << " row " << r;
                ASSERT_GT(r, ciel) << "hill above the highest possible one";
            }
        }
    }
}

TEST(Paysage, TheOutlineRunsThroughTheWorkedExamplePoints) {
    // Guards against a walk that starts at 90 instead of 143.7, a wrong step, or a right slope
    // that ends at Largeur - 140 instead of where the walk stopped (533.3).
    test::BancDeTir f;
    Form1& w = *f.form;
    for (int couche = 0; couche < 3; ++couche) {
        f.hasard.valeurs.push_back(0.0);   // colours 1, 2, 3
        f.hasard.valeurs.push_back(0.05);  // left level 334 / 4 = 83.5
        for (int k = 0; k < 8; ++k) f.hasard.valeurs.push_back(k % 2 == 0 ? 0.999 : 0.0);
        f.hasard.valeurs.push_back(0.95);  // right level 334 / 13
    }
    w.DessinePaysage();
    EXPECT_TRUE(f.hasard.valeurs.empty());
    EXPECT_EQ(w.NiveauSol[0], 83.5f);
    EXPECT_EQ(w.NiveauSol[1], static_cast<float>(334.0 / 13));

    const QImage& champ = w.Dessin->Garde();
    const Couleur c = QBColor(3);
    const double l = 83.5, r = 334.0 / 13;
    // A two-pixel pen on a slope s is sqrt(1 + s^2) pixels thick in a column: the measured top
    // lies that much above the outline's centre line on steep stretches and in valleys.
    const double raide = 1.5 + std::hypot(1, 199 / 48.7),
                 douce = 1.5 + std::hypot(1, (l - r) / 48.7);
    struct Point {
        int x;
        double y, marge;
    };
    const std::vector<Point> points{
        {117, l + 199 * (117 - 90) / 53.7, raide},  // the slope from (90, L) to (143.7, L + 199)
        {143, l + 199, 2.5},                        // middle points 143.7, 241.1, 338.5, 435.9,
                                                    // in the columns that hold them
        {241, l + 199, 2.5},
        {338, l + 199, 2.5},
        {435, l + 199, 2.5},
        {192, l, raide},  // middle points 192.4, 289.8, 387.2, 484.6
        {289, l, raide},
        {387, l, raide},
        {484, l, raide},
        {509, l + (r - l) * (509 - 484.6) / 48.7, douce},  // on to (533.3, R)
        {520, l + (r - l) * (520 - 484.6) / 48.7, douce},
    };
    for (const Point& p : points) {
        const double sommet = Sommet(champ, p.x, c);
        EXPECT_GE(sommet, p.y - 1.5) << "x " << p.x;
        EXPECT_LE(sommet, p.y + p.marge) << "x " << p.x;
    }
}

TEST(Paysage, ColoursArePickedOnceEvenWhenTheLastSlotIsAlwaysTaken) {
    // Guards against a pick that does not move the slot's colour away: always drawing the last
    // slot would then repeat a colour.
    test::BancDeTir f;
    Form1& w = *f.form;
    const std::array<double, 3> gauche{0.05, 0.35, 0.95};  // levels 83.5, 47.7, 25.7: all show
    for (int couche = 0; couche < 3; ++couche) {
        f.hasard.valeurs.push_back(0.999);
        f.hasard.valeurs.push_back(gauche[couche]);
        for (int k = 0; k < 8; ++k) f.hasard.valeurs.push_back(0.0);
        f.hasard.valeurs.push_back(gauche[couche]);
    }
    w.DessinePaysage();
    const QImage& champ = w.Dessin->Garde();
    // Bands at x = 300, from the top down: layer 1, layer 2, layer 3.
    const auto ligne = [](double y) { return static_cast<int>(334 - y); };
    EXPECT_EQ(Pixel(champ, 300, ligne(70)), QBColor(7));
    EXPECT_EQ(Pixel(champ, 300, ligne(40)), QBColor(1));
    EXPECT_EQ(Pixel(champ, 300, ligne(10)), QBColor(2));
}

TEST(Paysage, ShowsTheWindFrameHidesTheGainAndLeavesTheFieldReadyForShots) {
    // Guards against a gain panel left over the wind after a hit, a display that lags behind
    // the kept image, or a pen the shot's trail would not expect.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.show();
    w.Gain->show();
    w.CadreVent->hide();
    w.DessinePaysage();
    EXPECT_FALSE(w.Gain->isVisible());
    EXPECT_TRUE(w.CadreVent->isVisible());
    EXPECT_FALSE(w.Dessin->AutoRedraw());
    EXPECT_EQ(w.Dessin->DrawWidth(), 4);
    EXPECT_DOUBLE_EQ(w.Dessin->CurrentX(), w.XBouche[1]);
    EXPECT_DOUBLE_EQ(w.Dessin->CurrentY(), w.YBouche[1]);
    EXPECT_EQ(w.Dessin->Affichage(), w.Dessin->Garde());
}

}  // namespace
}  // namespace tir
