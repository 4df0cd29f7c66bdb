// The cannon and its wreck: the sky around them, the barrel's pivot, the ground they stand on.
#include <gtest/gtest.h>

#include <QColor>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "Assets.h"

using namespace tests_assets;

namespace {

constexpr unsigned kCiel = 0x00FFFF;
// Where the game fixes the barrel: 35 px from the left, 29 px above the bottom edge; the muzzle
// is 42 px out, counted from 25 px above the bottom edge.
constexpr int kPivotX = 35;
constexpr int kPivotAuDessus = 29;
constexpr int kBoucheAuDessus = 25;
constexpr double kCanon = 42;

bool Ciel(const QImage& image, int x, int y) {
    return Couleur(image, x, y) == kCiel;
}

// Columns of the first and last non-sky pixel in the bottom rows: where the tracks touch down.
std::pair<int, int> Empreinte(const QImage& image, int rangees) {
    int gauche = image.width();
    int droite = -1;
    for (int y = image.height() - rangees; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Ciel(image, x, y)) continue;
            gauche = std::min(gauche, x);
            droite = std::max(droite, x);
        }
    }
    return {gauche, droite};
}

class Char : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(Char, IsSurroundedBySkyAndStandsOnTheBottomEdge) {
    // Guards against a vehicle cut by the picture's edge or floating above the ground: the
    // field shows the picture's cyan as sky, and the picture's bottom rests on the ground level.
    const QImage image = Image(GetParam());
    ASSERT_FALSE(image.isNull());
    const int bas = image.height() - 1;
    for (int x = 0; x < image.width(); ++x) EXPECT_TRUE(Ciel(image, x, 0)) << "top row " << x;
    for (int y = 0; y < image.height(); ++y) {
        EXPECT_TRUE(Ciel(image, 0, y)) << "left column " << y;
        EXPECT_TRUE(Ciel(image, image.width() - 1, y)) << "right column " << y;
    }
    int posees = 0;
    for (int x = 0; x < image.width(); ++x) posees += !Ciel(image, x, bas);
    EXPECT_GT(posees, image.width() / 2) << "the tracks must rest on the bottom row";
}

TEST_P(Char, HasNoPixelThatIsAlmostSky) {
    // Guards against soft edges: the shell's impact test compares with cyan exactly, so a
    // near-cyan pixel would be solid to the game yet invisible to the players.
    constexpr int kEcartMini = 64;
    const QImage image = Image(GetParam());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Ciel(image, x, y)) continue;
            const QColor c = QColor::fromRgb(image.pixel(x, y));
            const int ecart = std::max({c.red(), 255 - c.green(), 255 - c.blue()});
            EXPECT_GE(ecart, kEcartMini) << "near-cyan pixel at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Images, Char, ::testing::Values("murax", "charfoutu"));

TEST(Murax, ThePivotLiesOnTheTurretAndTheBarrelCrossesOpenSky) {
    // Guards against a barrel that floats beside the tank or vanishes into it: the pivot must
    // be on the turret, and the outer part of the barrel must cross sky at every angle.
    const QImage image = Image("murax");
    const int bas = image.height() - 1;
    const int pivotY = bas - kPivotAuDessus;
    EXPECT_FALSE(Ciel(image, kPivotX, pivotY));
    for (int degres = 0; degres <= 89; ++degres) {
        const double a = degres * std::numbers::pi / 180;
        const double boucheX = kPivotX + kCanon * std::cos(a);
        const double boucheY = bas - kBoucheAuDessus - kCanon * std::sin(a);
        for (double t = 0.5; t <= 1.0; t += 0.05) {
            const int x = static_cast<int>(std::lround(kPivotX + t * (boucheX - kPivotX)));
            const int y = static_cast<int>(std::lround(pivotY + t * (boucheY - pivotY)));
            EXPECT_TRUE(Ciel(image, x, y)) << degres << " degrees, at " << x << "," << y;
        }
    }
}

TEST(Murax, IsAGreenTank) {
    // Guards against a cannon drawn in the wrong colours: players know their cannon as green
    // (its grey tracks take up the rest).
    const QImage image = Image("murax");
    int corps = 0;
    int vert = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (Ciel(image, x, y)) continue;
            const QColor c = QColor::fromRgb(image.pixel(x, y));
            ++corps;
            vert += c.green() > c.red() + 24 && c.green() > c.blue() + 24;
        }
    }
    EXPECT_GT(corps, 1000);
    EXPECT_GT(vert, corps / 3);
}

TEST(CharFoutu, IsAnotherPictureOnTheTanksFootprint) {
    // Guards against the wreck being a copy of the tank, or drawn off its place: the wreck
    // replaces the tank in the same rectangle, on the same ground.
    constexpr int kRangees = 6;
    constexpr int kTolerance = 6;
    const QImage tank = Image("murax");
    const QImage epave = Image("charfoutu");
    ASSERT_EQ(tank.size(), epave.size());
    int differents = 0;
    for (int y = 0; y < tank.height(); ++y) {
        for (int x = 0; x < tank.width(); ++x) differents += tank.pixel(x, y) != epave.pixel(x, y);
    }
    EXPECT_GT(differents, 600);
    const auto [g1, d1] = Empreinte(tank, kRangees);
    const auto [g2, d2] = Empreinte(epave, kRangees);
    EXPECT_NEAR(g1, g2, kTolerance);
    EXPECT_NEAR(d1, d2, kTolerance);
}
