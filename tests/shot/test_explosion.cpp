// The explosion: a burst that grows and shrinks frame by frame, leaves the field as it was, and
// the hit test on the impact's abscissa alone.
#include <gtest/gtest.h>

#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <vector>

#include "BancDeTir.h"

namespace tir::test {
namespace {

constexpr int kImagesParCycle = 14;

// Pixels of the display that differ from `avant`.
int Differences(const QImage& affichage, const QImage& avant) {
    int n = 0;
    for (int y = 0; y < avant.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(affichage.constScanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(avant.constScanLine(y));
        for (int x = 0; x < avant.width(); ++x) n += a[x] != b[x];
    }
    return n;
}

// Explodes at (x, y) on a flat field, recording at each wait how much of the burst shows.
std::vector<int> ExploseA(BancDeTir& banc, double x, double y) {
    Form1& f = *banc.form;
    const QImage avant = f.Dessin->Affichage().copy();
    std::vector<int> tailles;
    banc.horloge.aChaqueAttente = [&] {
        tailles.push_back(Differences(f.Dessin->Affichage(), avant));
    };
    f.XObus = x;
    f.YObus = y;
    f.Explose();
    banc.horloge.aChaqueAttente = nullptr;
    return tailles;
}

TEST(Explosion, LeavesTheFieldExactlyAsItWasAlsoAtItsEdges) {
    // Guards against a crater left behind, or a block copy that wraps or writes out of bounds.
    struct Point {
        double x, y;
    };
    const double l = 627, h = 334;
    for (const Point p : {Point{300, 150}, Point{300, 84}, Point{-5, 200}, Point{l + 4, 200},
                          Point{200, h - 3}, Point{200, 1}, Point{1, h - 1}}) {
        BancDeTir banc;
        banc.ChampPlat();
        const Form1& f = *banc.form;
        const QImage garde = f.Dessin->Garde().copy();
        const QImage affichage = f.Dessin->Affichage().copy();
        const auto tailles = ExploseA(banc, p.x, p.y);
        EXPECT_EQ(Differences(f.Dessin->Affichage(), affichage), 0) << p.x << ", " << p.y;
        EXPECT_EQ(Differences(f.Dessin->Garde(), garde), 0) << p.x << ", " << p.y;
        ASSERT_FALSE(tailles.empty());
        EXPECT_GT(*std::max_element(tailles.begin(), tailles.end()), 0) << "a burst was shown";
    }
}

TEST(Explosion, EachCycleGrowsAndShrinksOneFramePerScreenRefreshForAboutASecond) {
    // Guards against unpaced frames (a strobe of random sizes) or an animation cut short.
    BancDeTir banc;
    banc.ChampPlat();
    const double debut = banc.horloge.maintenant;
    const auto tailles = ExploseA(banc, 300, 200);
    const double duree = banc.horloge.maintenant - debut;
    const double intervalle = banc.form->Dessin->IntervalleImage();
    // Waits come between frames: whole cycles of 14 frames, less the first frame.
    ASSERT_EQ((tailles.size() + 1) % kImagesParCycle, 0u) << tailles.size();
    EXPECT_GE(tailles.size() + 1, 2u * kImagesParCycle);
    EXPECT_GE(duree, 1.0);
    EXPECT_LT(duree, 1.0 + kImagesParCycle * (intervalle + 0.01));
    EXPECT_GE(duree, static_cast<double>(tailles.size()) * intervalle);
    // Within the first cycle the burst grows to its middle frames and shrinks back to nothing.
    EXPECT_EQ(tailles[0], 0);
    for (int i = 1; i < kImagesParCycle / 2; ++i) EXPECT_GE(tailles[i], tailles[i - 1]) << i;
    for (int i = kImagesParCycle / 2; i < kImagesParCycle - 1; ++i) {
        EXPECT_LE(tailles[i], tailles[i - 1]) << i;
    }
    EXPECT_GT(tailles[kImagesParCycle / 2], tailles[1]);
    EXPECT_EQ(tailles[kImagesParCycle - 1], 0);
}

TEST(Explosion, RunsOneWholeCycleWhenTheFirstCycleAlreadyTakesLongerThanASecond) {
    // Guards against an animation that stops mid-cycle or loops on a slow machine.
    BancDeTir banc;
    banc.ChampPlat();
    banc.horloge.pas = 0.1;
    const auto tailles = ExploseA(banc, 300, 200);
    EXPECT_EQ(tailles.size() + 1, static_cast<std::size_t>(kImagesParCycle));
}

TEST(Explosion, StrikesACannonOnlyStrictlyInsideItsZoneWhateverTheHeight) {
    // Guards against inclusive bounds, or a hit test that looks at the height.
    struct Cas {
        double x, y;
        int touchee;  // -1 none, 0 left, 1 right
        int score;    // A's score after his first shot: minus P on his own cannon, 9 P on B's
    };
    const double l = 627;
    for (const Cas c :
         {Cas{2, 200, -1, 0}, Cas{3, 200, 0, -1}, Cas{50, 300, 0, -5}, Cas{70, 200, 0, -1},
          Cas{71, 120, -1, 0}, Cas{80, 100, -1, 0}, Cas{l - 71, 200, -1, 0}, Cas{l - 70, 200, 1, 9},
          Cas{l - 3, 300, 1, 9}, Cas{l - 2, 200, -1, 0}, Cas{300, 84, -1, 0}}) {
        BancDeTir banc;
        banc.ChampPlat();
        Form1& f = *banc.form;
        f.Joueur = 0;
        f.NbEssais[0] = 1;
        ExploseA(banc, c.x, c.y);
        EXPECT_EQ(10 - f.NbCoups, c.touchee < 0 ? 0 : 1) << "x = " << c.x;
        EXPECT_EQ(f.Scores[0], c.score) << "x = " << c.x;
        EXPECT_EQ(banc.SonJoue("Flammes.wav"), c.touchee >= 0);
        // Hit or miss, the shot ends and the turn passes.
        EXPECT_EQ(f.Joueur, 1);
        EXPECT_TRUE(f.Feu[1]->isEnabled());
        EXPECT_FALSE(f.Feu[0]->isEnabled());
    }
}

}  // namespace
}  // namespace tir::test
