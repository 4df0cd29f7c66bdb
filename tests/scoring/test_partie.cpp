// A whole game of ten hits played through the fire buttons, to the record dialog and the file.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <iostream>

#include "BancDeTir.h"

namespace tir::test {
namespace {

// On the flat field both cannons stand at the same height; this aim carries a shell from one
// muzzle onto the other cannon.
constexpr int kAngle = 45;
constexpr int kForce = 69;
constexpr int kCoupsMaxi = 30;  // a game that has not ended by then never will

TEST(Partie, TenHitsThroughTheFireButtonsEndTheGameAndStoreTheRecord) {
    // Guards against a game that does not end on the tenth hit, a turn that does not pass
    // through the buttons, or a record file in another layout.
    BancDeTir banc;
    Form1& f = *banc.form;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QCoreApplication::processEvents();
    // A new game on a flat field with no wind, and the same after every hit.
    banc.hasard.valeurs = {kTirageSansVent};
    banc.ScripteChampPlat();
    for (int i = 0; i < 10; ++i) {
        banc.ScripteChampPlat();
        banc.hasard.valeurs.push_back(kTirageSansVent);
    }
    f.Nouveau_Click();
    ASSERT_EQ(f.NiveauSol[0], f.NiveauSol[1]);
    ASSERT_EQ(f.ForceVent, 0);
    for (const int j : {0, 1}) banc.Vise(j, kAngle, kForce);
    banc.saisie.reponses.push_back("Pilote");
    banc.horloge.pas = 0.002;
    QElapsedTimer chrono;
    chrono.start();
    int coups = 0;
    while (f.Nouveau->isHidden() && coups < kCoupsMaxi) {
        const int tireur = f.Joueur;
        const int restants = f.NbCoups;
        const int score = f.Scores[tireur];
        ASSERT_TRUE(f.Feu[tireur]->isEnabled());
        ASSERT_FALSE(f.Feu[1 - tireur]->isEnabled());
        QTest::mouseClick(f.Feu[tireur], Qt::LeftButton);
        ++coups;
        EXPECT_EQ(f.NbCoups, restants - 1)
            << "shot " << coups << " by " << tireur << " landed at " << f.XObus;
        EXPECT_GT(f.Scores[tireur], score) << "shot " << coups << " struck the other cannon";
    }
    const qint64 ms = chrono.elapsed();
    std::cout << "ten-hit game: " << coups << " shots in " << ms << " ms\n";
    EXPECT_EQ(coups, 10);
    EXPECT_EQ(f.NbCoups, 0);
    EXPECT_FALSE(f.Feu[0]->isEnabled());
    EXPECT_FALSE(f.Feu[1]->isEnabled());
    EXPECT_FALSE(f.Nouveau->isHidden());
    // Mirrored shots score alike, and a tie goes to B.
    EXPECT_EQ(f.Scores[0], f.Scores[1]);
    const QString gagnant = QString::number(f.Scores[1]);
    ASSERT_EQ(banc.saisie.appels.size(), 1u);
    EXPECT_TRUE(banc.saisie.appels[0].invite.contains("Vous obtenez  " + gagnant + " points !"));
    QFile ini(f.FichierIni);
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_EQ(ini.readAll(),
              "[Tir_au_Murax]\r\nScoreMaxi= " + gagnant.toUtf8() + "\r\nNomJoueur=Pilote\r\n");
    f.close();
}

}  // namespace
}  // namespace tir::test
