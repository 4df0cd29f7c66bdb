// The flight of the shell: its path, when it is tested and drawn, and how a flight ends.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <cmath>
#include <vector>

#include "BancDeTir.h"

namespace tir::test {
namespace {

constexpr Couleur kRougeObus = 0x800000;
constexpr Couleur kNoir = 0x000000;
constexpr double kPrecision = 1.0 / 64;  // pixels between two colour tests at most

struct Image {
    float temps;
    double x, y;
    Couleur dessinee;  // the display's pixel under the shell while it is shown, kAucune outside
    bool propre;       // the display shows the kept image alone
};

// A flat field, `joueur` to shoot with this aim and wind. The clock moves only at the flight's
// waits: one frame each 1/60 s, 1/12 of a flight-time unit.
void Prepare(BancDeTir& banc, int joueur, int angle, int force, int vent) {
    banc.ChampPlat();
    banc.Vise(joueur, angle, force);
    banc.form->ForceVent = static_cast<std::int16_t>(vent);
    banc.form->Joueur = static_cast<std::int16_t>(joueur);
    banc.horloge.pas = 0;
}

// Fires and records every frame of the flight as the screen is shown it.
std::vector<Image> Tire(BancDeTir& banc) {
    std::vector<Image> images;
    Form1& f = *banc.form;
    banc.horloge.aChaqueAttente = [&] {
        if (banc.SonJoue("Explosion")) return;
        const auto colonne = static_cast<int>(std::floor(f.XObus));
        const auto ligne = static_cast<int>(std::floor(f.Hauteur - f.YObus));
        const QImage& affichage = f.Dessin->Affichage();
        const bool dedans = affichage.rect().contains(colonne, ligne);
        images.push_back({f.Temps, f.XObus, f.YObus,
                          dedans ? banc.Affiche(colonne, ligne) : kAucune,
                          affichage == f.Dessin->Garde()});
    };
    f.Feu_Click(f.Joueur);
    banc.horloge.aChaqueAttente = nullptr;
    return images;
}

std::vector<Image> Trajectoire(BancDeTir& banc, int joueur, int angle, int force, int vent) {
    Prepare(banc, joueur, angle, force, vent);
    return Tire(banc);
}

const Image* ALInstant(const std::vector<Image>& images, float temps) {
    for (const Image& p : images) {
        if (std::fabs(p.temps - temps) < 1e-4) return &p;
    }
    return nullptr;
}

TEST(Vol, FollowsTheClosedFormPathAtKnownTimesForBothPlayersWithAndWithoutWind) {
    // Guards against a wrong sign of the wind for B, a missing time scale or a wrong gravity.
    struct Cas {
        int joueur, vent;
        double xAUn, xADeux;  // expected x at flight times 1 and 2, angle 0, force 50
    };
    const double largeur = 627;
    for (const Cas& c :
         {Cas{0, 0, 127, 177}, Cas{0, 3, 130, 183}, Cas{1, 0, largeur - 127, largeur - 177},
          Cas{1, -4, largeur - 131, largeur - 185}}) {
        BancDeTir banc;
        ASSERT_EQ(banc.form->Largeur, largeur);
        const auto passes = Trajectoire(banc, c.joueur, 0, 50, c.vent);
        const double sol = banc.form->NiveauSol[c.joueur];
        const Image* un = ALInstant(passes, 1.0f);
        const Image* deux = ALInstant(passes, 2.0f);
        ASSERT_NE(un, nullptr);
        ASSERT_NE(deux, nullptr);
        EXPECT_NEAR(un->x, c.xAUn, 1e-4) << "player " << c.joueur << " wind " << c.vent;
        EXPECT_NEAR(deux->x, c.xADeux, 1e-4);
        EXPECT_NEAR(un->y, sol + 25 - 4.905, 1e-4);
        EXPECT_NEAR(deux->y, sol + 25 - 4 * 4.905, 1e-4);
        // The shell is drawn in dark red where it is, and wiped before the next pass.
        EXPECT_EQ(un->dessinee, kRougeObus);
        EXPECT_EQ(deux->dessinee, kRougeObus);
    }
}

TEST(Vol, PathsOfBothPlayersMirrorEachOtherWithNoWindAndEqualGround) {
    // Guards against B's shell using A's formula or an asymmetric muzzle, or A's sound.
    BancDeTir a, b;
    const auto pa = Trajectoire(a, 0, 45, 50, 0);
    const auto pb = Trajectoire(b, 1, 45, 50, 0);
    ASSERT_EQ(a.form->NiveauSol[0], b.form->NiveauSol[1]);
    ASSERT_GT(pa.size(), 50u);
    ASSERT_EQ(pa.size(), pb.size());
    for (std::size_t i = 0; i < pa.size(); ++i) {
        EXPECT_NEAR(pa[i].x + pb[i].x, a.form->Largeur, 1e-3) << "pass " << i;
        EXPECT_NEAR(pa[i].y, pb[i].y, 1e-3) << "pass " << i;
    }
    EXPECT_NEAR(a.form->XObus + b.form->XObus, a.form->Largeur, 1e-3);
    EXPECT_TRUE(a.SonJoue("Trnmurax.wav") && !a.SonJoue("Photon.wav"));
    EXPECT_TRUE(b.SonJoue("Photon.wav") && !b.SonJoue("Trnmurax.wav"));
}

TEST(Vol, AShellFiredWithNoForceFallsFromTheMuzzleCarriedOnlyByTheWind) {
    // Guards against a force of 0 launching along the barrel or the wind being ignored.
    for (const int vent : {0, -4}) {
        BancDeTir banc;
        Prepare(banc, 0, 45, 0, vent);
        const Form1& f = *banc.form;
        const double xBouche = f.XBouche[0];
        const double yBouche = f.YBouche[0];
        const double sol = f.NiveauSol[0];
        const auto passes = Tire(banc);
        ASSERT_FALSE(passes.empty());
        for (const Image& p : passes) {
            EXPECT_NEAR(p.x, xBouche + vent * p.temps, 1e-4);
            EXPECT_NEAR(p.y, yBouche - 4.905 * p.temps * p.temps, 1e-4);
        }
        // It comes down through its own cannon into the ground beside it: a hit on itself.
        EXPECT_LT(f.YObus, sol);
        EXPECT_LT(f.Scores[0], 0);
    }
}

TEST(Vol, AShellLeavingTheFieldSidewaysEndsAsAnImpactThatHitsNoCannon) {
    // Guards against a shell flying on forever outside the field, or a hit outside the zones.
    struct Cas {
        int joueur, vent;
    };
    for (const Cas c : {Cas{0, -10}, Cas{1, 9}}) {
        BancDeTir banc;
        Trajectoire(banc, c.joueur, 89, 50, c.vent);
        const Form1& f = *banc.form;
        if (c.joueur == 0) {
            EXPECT_LT(f.XObus, 0);
        } else {
            EXPECT_GE(f.XObus, f.Largeur);
        }
        EXPECT_GT(f.YObus, f.NiveauSol[c.joueur] + 80) << "it left the field high in the sky";
        EXPECT_TRUE(banc.SonJoue("Explosion"));
        EXPECT_EQ(f.NbCoups, 10);
        EXPECT_EQ(f.Scores[0], 0);
        EXPECT_EQ(f.Scores[1], 0);
        EXPECT_EQ(f.Joueur, 1 - c.joueur) << "an impact ends the shot and passes the turn";
    }
}

TEST(Vol, AShellAboveTheTopEdgeIsNeitherTestedNorDrawnAndIsTestedAgainWhenItComesDown) {
    // Guards against the outside-the-field colour ending the flight at the top edge.
    BancDeTir banc;
    double plusHaut = 0;
    banc.horloge.aChaqueLecture = [&] { plusHaut = std::max(plusHaut, banc.form->YObus); };
    const auto images = Trajectoire(banc, 0, 80, 100, 0);
    const Form1& f = *banc.form;
    EXPECT_GT(plusHaut, f.Hauteur + 100) << "the shell must really have gone above the field";
    for (const Image& p : images) {
        if (p.y >= f.Hauteur) {
            EXPECT_TRUE(p.propre) << "drawn above the top edge at " << p.temps;
        } else {
            EXPECT_EQ(p.dessinee, kRougeObus) << "unseen at " << p.temps;
        }
    }
    // It came down on the flat ground far to the right.
    EXPECT_GT(f.XObus, 350);
    EXPECT_LT(f.XObus, 450);
    EXPECT_LT(f.YObus, f.NiveauSol[0] + 1);
    EXPECT_GT(f.YObus, f.NiveauSol[0] - 10);
}

TEST(Vol, TheRecoilShowsForTheFirstFrameAndTestsStartAsSoonAsTheShellLeavesItsCannon) {
    // Guards against a cannon left recoiled, put back before the screen saw the recoil, or
    // tests that start frames late and let a shell through a wall in front of its cannon.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    // A black wall a few pixels in front of A's cannon, which the shell, 10 pixels a frame,
    // reaches in its third frame.
    f.Dessin->SetAutoRedraw(true);
    f.Dessin->SetDrawWidth(6);
    f.Dessin->Line(101, 0, 101, f.Hauteur, kNoir);
    f.Dessin->SetAutoRedraw(false);
    banc.Vise(0, 0, 120);
    banc.horloge.pas = 0;
    const int w = f.SMurax[0].ScaleWidth();
    const int h = f.SMurax[0].ScaleHeight();
    const auto haut = static_cast<int>(Arrondi(f.Hauteur - f.NiveauSol[0] - h));
    const auto ligne = static_cast<int>(std::floor(f.Hauteur - f.YBouche[0]));
    int mur = w;  // the wall's first column on the shell's row
    while (banc.Affiche(mur, ligne) == kCiel) ++mur;
    ASSERT_LT(mur, 110);
    std::vector<bool> auRepos;  // per frame shown: the kept cannon at its rest place
    banc.horloge.aChaqueAttente = [&] {
        auRepos.push_back(f.Dessin->Garde().copy(0, haut, w, h) == f.SMurax[0].Picture());
    };
    QTest::mouseClick(f.Feu[0], Qt::LeftButton);
    ASSERT_GE(auRepos.size(), 2u);
    EXPECT_FALSE(auRepos[0]) << "the launch frame shows the recoil";
    EXPECT_TRUE(auRepos[1]) << "the cannon is back when the tests start";
    EXPECT_GE(f.XObus, mur);
    EXPECT_LT(f.XObus, mur + kPrecision) << "stopped at the wall's first column";
    EXPECT_TRUE(banc.SonJoue("Explosion"));
}

TEST(Vol, NothingIsTestedBeforeTheShellLeavesItsCannonEvenWhenTheClockStandsStill) {
    // Guards against a fast machine exploding every shot in the shooter's own barrel.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    banc.Vise(0, 45, 50);
    banc.horloge.lectures = 0;
    // The clock gives the same time for the first 24 reads, beyond the 17th pass.
    banc.horloge.aChaqueLecture = [&] { banc.horloge.pas = banc.horloge.lectures < 25 ? 0 : 0.01; };
    QTest::mouseClick(f.Feu[0], Qt::LeftButton);
    EXPECT_GT(f.XObus, 200) << "the shell flew away from the muzzle";
    EXPECT_EQ(f.Scores[0], 0);
    EXPECT_EQ(f.NbCoups, 10);
    EXPECT_EQ(f.Joueur, 1);
}

TEST(Vol, AShellThatSinksBelowHeightZeroBeforeItsFirstTestEndsSilentlyAndKeepsTheTurn) {
    // Guards against an explosion, or a passed turn, after a flight that met nothing.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    banc.Vise(0, 0, 0);
    // The muzzle a hair above the bottom edge, outside the cannon: the shell drops below the
    // field within its first few passes, all untested.
    f.XBouche[0] = 300;
    f.YBouche[0] = 0.01;
    QTest::mouseClick(f.Feu[0], Qt::LeftButton);
    EXPECT_LE(f.YObus, 0);
    EXPECT_TRUE(banc.SonJoue("Trnmurax.wav"));
    EXPECT_FALSE(banc.SonJoue("Explosion"));
    EXPECT_EQ(f.Joueur, 0);
    EXPECT_TRUE(f.Feu[0]->isEnabled());
    EXPECT_FALSE(f.Feu[1]->isEnabled());
    EXPECT_EQ(f.NbEssais[0], 1) << "the shot still counts";
}

TEST(Vol, AShellBelowTheBottomEdgeAtATestIsAnImpactOutsideTheField) {
    // Guards against a tested pass below the field being taken for sky.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    // Only sky: nothing stops the shell before it falls out of the field.
    f.Dessin->SetAutoRedraw(true);
    f.Dessin->Cls();
    f.Dessin->SetAutoRedraw(false);
    banc.Vise(0, 45, 50);
    banc.horloge.pas = 0.001;
    QTest::mouseClick(f.Feu[0], Qt::LeftButton);
    EXPECT_LE(f.YObus, 0);
    EXPECT_GT(f.YObus, -kPrecision) << "it stopped at the first pass below the edge";
    EXPECT_TRUE(banc.SonJoue("Explosion"));
    EXPECT_EQ(f.Joueur, 1);
}

}  // namespace
}  // namespace tir::test
