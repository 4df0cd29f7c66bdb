// The end of a shot: the turn passes, or the game ends with the winner's panel flashing.
#include <gtest/gtest.h>

#include <QPushButton>
#include <vector>

#include "BancDeTir.h"

namespace tir::test {
namespace {

TEST(FinDuCoup, AMissPassesTheTurnAndChangesNothingElse) {
    // Guards against a turn that stays, two enabled fire buttons, or a game that ends early.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    for (const int tireur : {0, 1}) {
        f.Joueur = static_cast<std::int16_t>(tireur);
        f.XObus = 300;
        f.YObus = 100;
        f.Explose();
        EXPECT_EQ(f.Joueur, 1 - tireur);
        EXPECT_FALSE(f.Feu[tireur]->isEnabled());
        EXPECT_TRUE(f.Feu[1 - tireur]->isEnabled());
        EXPECT_EQ(f.NbCoups, 10);
        EXPECT_FALSE(f.CadreVent->isHidden());
        EXPECT_TRUE(f.Nouveau->isHidden());
    }
    EXPECT_FALSE(banc.SonJoue("YouWin.wav"));
}

TEST(FinDuCoup, AHitWithHitsLeftPassesTheTurnLikeAMiss) {
    // Guards against the hit sequence keeping the turn with the shooter.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    f.Joueur = 1;
    f.NbEssais[1] = 1;
    f.XObus = 34;
    f.YObus = f.NiveauSol[0] + 20;
    f.Explose();
    EXPECT_EQ(f.NbCoups, 9);
    EXPECT_EQ(f.Joueur, 0);
    EXPECT_TRUE(f.Feu[0]->isEnabled());
    EXPECT_FALSE(f.Feu[1]->isEnabled());
}

TEST(FinDuCoup, TheTenthHitEndsTheGameWhoeverShootsAndWhicheverCannonIsStruck) {
    // Guards against a game that ends only on the opponent's cannon or only for one player.
    struct Cas {
        int tireur, cote;
        bool son;
    };
    for (const Cas c : {Cas{0, 1, true}, Cas{1, 0, true}, Cas{1, 1, true}, Cas{0, 0, false}}) {
        BancDeTir banc;
        banc.ChampPlat();
        Form1& f = *banc.form;
        f.SonActif = c.son;
        f.NbCoups = 1;
        f.Joueur = static_cast<std::int16_t>(c.tireur);
        f.Feu[0]->setEnabled(c.tireur == 0);
        f.Feu[1]->setEnabled(c.tireur == 1);
        f.XObus = c.cote == 0 ? 34 : f.Largeur - 34;
        f.YObus = f.NiveauSol[c.cote] + 20;
        f.Explose();
        EXPECT_EQ(f.NbCoups, 0);
        EXPECT_EQ(f.Joueur, c.tireur) << "the last shooter keeps the turn";
        EXPECT_FALSE(f.Feu[0]->isEnabled());
        EXPECT_FALSE(f.Feu[1]->isEnabled());
        EXPECT_TRUE(f.CadreVent->isHidden());
        EXPECT_FALSE(f.Nouveau->isHidden());
        EXPECT_EQ(banc.SonJoue("YouWin.wav"), c.son);
    }
}

// The back colours of both score panels at each wait of the game-over sequence.
struct Eclairs {
    std::vector<Couleur> a, b;
};

Eclairs FinDePartie(BancDeTir& banc, int scoreA, int scoreB) {
    Form1& f = *banc.form;
    f.Scores[0] = static_cast<std::int16_t>(scoreA);
    f.Scores[1] = static_cast<std::int16_t>(scoreB);
    f.Score[0]->SetCaption(QString::number(scoreA));
    f.Score[1]->SetCaption(QString::number(scoreB));
    f.NbCoups = 0;
    Eclairs vu;
    banc.horloge.aChaqueAttente = [&] {
        vu.a.push_back(f.Score[0]->BackColor());
        vu.b.push_back(f.Score[1]->BackColor());
    };
    f.FinDuCoup();
    banc.horloge.aChaqueAttente = nullptr;
    return vu;
}

std::vector<Couleur> Palette1A15() {
    std::vector<Couleur> c;
    for (int i = 1; i <= 15; ++i) c.push_back(QBColor(i));
    return c;
}

TEST(FinDuCoup, TheWinnerFlashesThroughColoursOneToFifteenAndGetsItsOwnColourBack) {
    // Guards against black shown, a colour skipped, the loser flashing or a colour kept.
    struct Cas {
        int a, b, gagnant;
    };
    // A tie goes to B; with negative scores the larger one still wins.
    for (const Cas c : {Cas{30, 30, 1}, Cas{-5, -8, 0}, Cas{40, 12, 0}, Cas{-3, 0, 1}}) {
        BancDeTir banc;
        banc.ChampPlat();
        const Form1& f = *banc.form;
        const Couleur jaune = f.Score[0]->BackColor();
        const Couleur vert = f.Score[1]->BackColor();
        ASSERT_EQ(jaune, QBColor(14));
        ASSERT_EQ(vert, QBColor(10));
        const double debut = banc.horloge.maintenant;
        const Eclairs vu = FinDePartie(banc, c.a, c.b);
        const auto& eclairs = c.gagnant == 0 ? vu.a : vu.b;
        const auto& perdant = c.gagnant == 0 ? vu.b : vu.a;
        EXPECT_EQ(eclairs, Palette1A15()) << c.a << " to " << c.b;
        EXPECT_EQ(perdant, std::vector<Couleur>(15, c.gagnant == 0 ? vert : jaune));
        EXPECT_EQ(f.Score[0]->BackColor(), jaune);
        EXPECT_EQ(f.Score[1]->BackColor(), vert);
        EXPECT_GE(banc.horloge.maintenant - debut, 15 * 0.2);
        EXPECT_EQ(f.Score[c.gagnant]->Caption(), QString::number(c.gagnant == 0 ? c.a : c.b));
    }
}

}  // namespace
}  // namespace tir::test
