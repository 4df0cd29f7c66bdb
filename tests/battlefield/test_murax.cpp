// The cannons: picture on the ground, barrel, muzzle, pivot dot and snapshot.
#include <gtest/gtest.h>

#include <cmath>

#include "BancDeTir.h"

namespace tir {
namespace {

constexpr float kSol = 50;
constexpr Couleur kNoir = 0x000000;
constexpr Couleur kRougeSombre = 0x800000;

Couleur Pixel(const QImage& image, int colonne, int ligne) {
    return static_cast<Couleur>(image.pixel(colonne, ligne) & 0xFFFFFF);
}

// A window whose field is bare sky, with both ends at the same ground level.
struct Champ {
    test::BancDeTir f;
    Form1& w = *f.form;
    explicit Champ(float sol = kSol) {
        w.Dessin->SetAutoRedraw(true);
        w.Dessin->Cls();
        w.NiveauSol = {sol, sol, 0};
    }
    // Draws cannon `i` at `degres` through its label, as the angle handler does.
    void Canon(int i, int degres) {
        w.Angle[i]->SetCaption(QString::number(degres));
        w.CalculeMurax(i);
    }
    // Device pixel of a logical point.
    static QPoint Device(double x, double y) {
        return {static_cast<int>(std::floor(x)), static_cast<int>(std::floor(334 - y))};
    }
};

TEST(Murax, MuzzleAndPivotFollowTheAngleForBothPlayers) {
    // Guards against a muzzle counted from the pivot's height (29) instead of 25, a right cannon
    // that is not mirrored, or degrees taken for radians.
    Champ c;
    for (int degres : {0, 45, 89}) {
        const double a = degres * 3.14159265358979323846 / 180;
        c.Canon(0, degres);
        c.Canon(1, degres);
        EXPECT_DOUBLE_EQ(c.w.AngleRad, a);
        EXPECT_DOUBLE_EQ(c.w.XAxe[0], 35);
        EXPECT_DOUBLE_EQ(c.w.XAxe[1], 627 - 35);
        for (int i = 0; i < 2; ++i) {
            EXPECT_DOUBLE_EQ(c.w.YAxe[i], kSol + 29);
            EXPECT_NEAR(c.w.YBouche[i], kSol + 25 + 42 * std::sin(a), 1e-9) << degres;
        }
        EXPECT_NEAR(c.w.XBouche[0], 35 + 42 * std::cos(a), 1e-9) << degres;
        EXPECT_NEAR(c.w.XBouche[1], 627 - 35 - 42 * std::cos(a), 1e-9) << degres;
    }
    c.Canon(0, 0);
    EXPECT_DOUBLE_EQ(c.w.XBouche[0], 77);
    EXPECT_DOUBLE_EQ(c.w.YBouche[0], kSol + 25);
    c.Canon(0, 89);
    EXPECT_NEAR(c.w.XBouche[0], 35.733, 1e-3);
    EXPECT_NEAR(c.w.YBouche[0], kSol + 66.994, 1e-3);
}

TEST(Murax, BarrelIsBlackFromPivotToMuzzleAndOnlyAsPivotDotIsDarkRed) {
    // Guards against a barrel drawn thin, in another colour or toward the wrong side, and pivot
    // dots of swapped colours.
    for (int degres : {0, 45, 89}) {
        Champ c;
        c.Canon(0, degres);
        c.Canon(1, degres);
        const QImage& champ = c.w.Dessin->Garde();
        for (int i = 0; i < 2; ++i) {
            for (double t : {0.3, 0.6, 0.9}) {
                const double x = c.w.XAxe[i] + t * (c.w.XBouche[i] - c.w.XAxe[i]);
                const double y = c.w.YAxe[i] + t * (c.w.YBouche[i] - c.w.YAxe[i]);
                const QPoint p = Champ::Device(x, y);
                EXPECT_EQ(Pixel(champ, p.x(), p.y()), kNoir) << degres << " player " << i;
            }
            int rouges = 0;
            const QPoint axe = Champ::Device(c.w.XAxe[i], c.w.YAxe[i]);
            for (int dy = -3; dy <= 3; ++dy) {
                for (int dx = -3; dx <= 3; ++dx) {
                    rouges += Pixel(champ, axe.x() + dx, axe.y() + dy) == kRougeSombre;
                }
            }
            if (i == 0) {
                EXPECT_GT(rouges, 0) << degres << ": A's dot shows at the pivot";
                EXPECT_LT(rouges, 8) << degres << ": the barrel covers most of it";
            } else {
                EXPECT_EQ(rouges, 0) << degres << ": B's dot is black";
            }
        }
    }
}

TEST(Murax, PictureStandsOnTheGroundAndIsMirroredOnTheRight) {
    // Guards against a cannon floating above or sunk into its ground, or B's cannon facing the
    // edge of the field.
    Champ c;
    c.Canon(0, 45);
    c.Canon(1, 45);
    const QImage& champ = c.w.Dessin->Garde();
    const QImage& murax = c.w.Murax.Picture();
    const int haut = 334 - 80 - static_cast<int>(kSol);
    int compares = 0;
    for (int r = 0; r < 80; ++r) {
        for (int x = 0; x < 90; ++x) {
            // The barrel and its dot lie within 44 pixels of the pivot.
            if (std::hypot(x - 35, r - (80 - 29)) < 46) continue;
            const Couleur attendue = Pixel(murax, x, r);
            ASSERT_EQ(Pixel(champ, x, haut + r), attendue) << x << "," << r;
            ASSERT_EQ(Pixel(champ, 626 - x, haut + r), attendue) << x << "," << r;
            ++compares;
        }
    }
    EXPECT_GT(compares, 1000);
    EXPECT_EQ(Pixel(champ, 0, haut - 1), kCiel) << "nothing above the picture";
    EXPECT_EQ(Pixel(champ, 0, haut + 80), kCiel) << "nothing below the picture";
}

TEST(Murax, SnapshotHoldsTheCannonAsTheFieldShowsIt) {
    // Guards against a snapshot taken from the wrong rows (a ground level that is not whole),
    // before the barrel is drawn, or from a display that has not caught up.
    Champ c(334.0f / 7);
    c.Canon(0, 30);
    c.Canon(1, 70);
    const int haut = static_cast<int>(Arrondi(334 - 80 - 334.0f / 7));
    for (int i = 0; i < 2; ++i) {
        const int gauche = i == 0 ? 0 : 627 - 90;
        EXPECT_EQ(c.w.SMurax[i].Picture(), c.w.Dessin->Garde().copy(gauche, haut, 90, 80)) << i;
        EXPECT_EQ(c.w.SMurax[i].Picture(), c.w.Dessin->Affichage().copy(gauche, haut, 90, 80));
    }
    EXPECT_FALSE(c.w.Dessin->AutoRedraw());
    EXPECT_EQ(c.w.Dessin->DrawWidth(), 4);
    EXPECT_DOUBLE_EQ(c.w.Dessin->CurrentX(), c.w.XBouche[1]);
}

TEST(Murax, TurningLeavesNoTraceAndLeavesTheOtherCannonAlone) {
    // Guards against old barrels left on the field, or a call for one player that redraws or
    // re-snapshots the other.
    Champ propre;
    propre.Canon(0, 0);
    Champ c;
    c.Canon(1, 60);
    const QImage autre = c.w.SMurax[1].Picture();
    const double xAutre = c.w.XBouche[1];
    for (int degres : {89, 45, 10, 0}) c.Canon(0, degres);
    EXPECT_EQ(c.w.Dessin->Garde().copy(0, 0, 90, 334),
              propre.w.Dessin->Garde().copy(0, 0, 90, 334));
    EXPECT_EQ(c.w.SMurax[1].Picture(), autre);
    EXPECT_DOUBLE_EQ(c.w.XBouche[1], xAutre);
}

}  // namespace
}  // namespace tir
