// The game with the keyboard alone: the order Tab follows, the keys that fire, draw a wind,
// switch the sound and aim, where the focus goes when the game takes a control away, and keys
// that reach the window while a shot is on its way.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <vector>

#include "BancDeTir.h"

namespace tir {
namespace {

// A window on screen and active, so that keys go where the focus is, as for a player.
struct Partie {
    test::BancDeTir f;
    Form1& w = *f.form;

    Partie() {
        w.show();
        QApplication::setActiveWindow(&w);
        QApplication::processEvents();  // the first landscape
    }

    // Presses and releases `touche` on whatever has the focus, as the keyboard does.
    void Appuie(int touche) {
        QWidget* cible = QApplication::focusWidget();
        ASSERT_NE(cible, nullptr);
        QTest::keyClick(cible, static_cast<Qt::Key>(touche));
        QApplication::processEvents();
    }

    // The launch sounds played so far, A's and B's.
    qsizetype Tirs(const char* son) const { return f.lecteur.joues.filter(son).size(); }
    qsizetype TirsDeA() const { return Tirs("Trnmurax"); }
    qsizetype TirsDeB() const { return Tirs("Photon"); }

    // The controls Tab reaches from the focus, one press each, until it comes back round.
    std::vector<QWidget*> TourDeTab() {
        std::vector<QWidget*> vus{QApplication::focusWidget()};
        for (int n = 0; n < 20; ++n) {
            Appuie(Qt::Key_Tab);
            if (QApplication::focusWidget() == vus.front()) break;
            vus.push_back(QApplication::focusWidget());
        }
        return vus;
    }

    // The game as it stands once the last hit is scored.
    void FinDePartie() {
        w.NbCoups = 0;
        w.Feu[0]->setEnabled(false);
        w.Feu[1]->setEnabled(false);
        w.CadreVent->hide();
        w.Nouveau->show();
    }
};

TEST(Tabulation, TabVisitsEveryControlThatTakesInputRowByRowFromLeftToRight) {
    // Guards against a control the keyboard cannot reach (the sound button that is up, say), a
    // panel that takes the focus for nothing, B's controls before A's, a fire button before its
    // player's bars or a disabled one in the way, or a window that opens with the focus nowhere
    // or on a button.
    Partie p;
    Form1& w = p.w;
    EXPECT_EQ(QApplication::focusWidget(), w.BHAngle[0]);
    w.Son[0]->setFocus();
    const std::vector<QWidget*> tourDeA{w.Son[0],  w.Son[1],     w.Vent,
                                        w.Quitter, w.BHAngle[0], w.BHForce[0],
                                        w.Feu[0],  w.BHAngle[1], w.BHForce[1]};
    EXPECT_EQ(p.TourDeTab(), tourDeA);

    w.Feu[0]->setEnabled(false);
    w.Feu[1]->setEnabled(true);
    w.Son[0]->setFocus();
    const std::vector<QWidget*> tourDeB{w.Son[0],     w.Son[1],     w.Vent,
                                        w.Quitter,    w.BHAngle[0], w.BHForce[0],
                                        w.BHAngle[1], w.BHForce[1], w.Feu[1]};
    EXPECT_EQ(p.TourDeTab(), tourDeB);

    p.FinDePartie();
    w.Son[0]->setFocus();
    const std::vector<QWidget*> finie{w.Son[0],     w.Son[1],     w.Nouveau,    w.Quitter,
                                      w.BHAngle[0], w.BHForce[0], w.BHAngle[1], w.BHForce[1]};
    EXPECT_EQ(p.TourDeTab(), finie) << "the new-game button takes the wind's place";
}

TEST(Feu, EnterReturnOrSpaceOnTheFocusedFireButtonFiresForThatPlayerOnce) {
    // Guards against a fire button that only the mouse can press, or a held Enter that fires
    // again as soon as the button is back.
    for (const int touche : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        Partie p;
        p.w.Feu[0]->setFocus();
        p.Appuie(touche);
        EXPECT_EQ(p.TirsDeA(), 1) << "key " << touche;
        EXPECT_EQ(p.TirsDeB(), 0);
        EXPECT_EQ(p.w.Joueur, 1) << "the shot ended and the turn passed";
    }
    BoutonCommande bouton("Feu !");
    QSignalSpy clics(&bouton, &QPushButton::clicked);
    QKeyEvent tenue(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(&bouton, &tenue);
    EXPECT_EQ(clics.size(), 0) << "an auto-repeated Enter presses nothing";
}

TEST(Feu, ADisabledFireButtonNeitherTakesTheFocusNorFiresByKeyboard) {
    // Guards against B firing out of turn from the keyboard.
    Partie p;
    p.w.Feu[1]->setFocus();
    EXPECT_NE(QApplication::focusWidget(), p.w.Feu[1]);
    for (const Qt::Key touche : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        QTest::keyClick(p.w.Feu[1], touche);
    }
    QApplication::processEvents();
    EXPECT_EQ(p.TirsDeB(), 0);
    EXPECT_EQ(p.w.NbEssais[1], 0);
    EXPECT_EQ(p.w.Joueur, 0);
}

TEST(Feu, AfterAShotFiredFromTheKeyboardTheFocusGoesToTheNewShootersAngleBar) {
    // Guards against the focus landing on the other player's fire button, where a key the
    // shooter pressed during his shot would fire for the other player, or staying with the
    // last shooter's controls.
    Partie p;
    p.w.Feu[0]->setFocus();
    p.Appuie(Qt::Key_Return);
    ASSERT_EQ(p.w.Joueur, 1);
    EXPECT_EQ(QApplication::focusWidget(), p.w.BHAngle[1]);
    p.Appuie(Qt::Key_Tab);
    p.Appuie(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), p.w.Feu[1]) << "B's angle, force, then fire";
    p.Appuie(Qt::Key_Return);
    EXPECT_EQ(p.TirsDeB(), 1);
    ASSERT_EQ(p.w.Joueur, 0);
    EXPECT_EQ(QApplication::focusWidget(), p.w.BHAngle[0]);
    // Space and Enter on the bar that has the focus now fire nothing.
    p.Appuie(Qt::Key_Space);
    p.Appuie(Qt::Key_Return);
    EXPECT_EQ(p.TirsDeA(), 1);
}

TEST(Feu, AKeyThatReachesTheWindowDuringAShotWaitsForTheShotToEnd) {
    // Guards against a second shell launched from inside the first one's flight, or a wind
    // drawn anew under a flying shell: an Enter on the fire button and a Space on the wind's
    // value arrive mid-flight, and an assistive tool's press (a click fired by a timer, which
    // the flight's waits let through) comes too.
    Partie p;
    Form1& w = p.w;
    w.Feu[0]->setFocus();
    std::vector<std::int16_t> ventsEnVol;
    qsizetype tirsEnVol = 0;
    bool envoyes = false;
    p.f.horloge.aChaqueAttente = [&] {
        if (!envoyes) {
            envoyes = true;
            QTest::keyClick(w.Feu[0], Qt::Key_Return);
            QTest::keyClick(w.Vent, Qt::Key_Space);
            w.Feu[0]->click();
        }
        ventsEnVol.push_back(w.ForceVent);
        tirsEnVol = std::max(tirsEnVol, p.TirsDeA());
    };
    QTest::keyClick(w.Feu[0], Qt::Key_Return);
    p.f.horloge.aChaqueAttente = nullptr;
    ASSERT_TRUE(envoyes);
    ASSERT_GT(ventsEnVol.size(), 2u);
    EXPECT_EQ(tirsEnVol, 1);
    for (const std::int16_t vent : ventsEnVol) EXPECT_EQ(vent, ventsEnVol.front());
    const int reamorcages = p.f.hasard.reamorcages;
    QApplication::processEvents();
    EXPECT_EQ(p.TirsDeA(), 1) << "A's button was disabled by the time the shot ended";
    EXPECT_EQ(p.TirsDeB(), 0) << "and nothing fired for B";
    EXPECT_EQ(p.f.hasard.reamorcages, reamorcages + 1) << "the wind came once the shot ended";
}

TEST(Vent, SpaceOrEnterOnTheFocusedWindValueDrawsANewWindOncePerPress) {
    // Guards against a wind that only the mouse can draw, a held key drawing wind after wind,
    // or a focus the keyboard player cannot see.
    Partie p;
    Form1& w = p.w;
    const QImage sansFocus = w.Vent->grab().toImage();
    w.Vent->setFocus();
    EXPECT_NE(w.Vent->grab().toImage(), sansFocus) << "a thicker border";
    ASSERT_EQ(QApplication::focusWidget(), w.Vent);
    p.f.hasard.valeurs = {0.1, 0.95, 0.5};
    p.Appuie(Qt::Key_Space);
    EXPECT_EQ(w.ForceVent, -8);
    EXPECT_EQ(w.Vent->Caption(), "8");
    p.Appuie(Qt::Key_Return);
    EXPECT_EQ(w.ForceVent, 9);
    QKeyEvent tenue(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(w.Vent, &tenue);
    EXPECT_EQ(w.ForceVent, 9) << "an auto-repeated key draws nothing";
    p.Appuie(Qt::Key_Enter);
    EXPECT_EQ(w.ForceVent, 0);
    EXPECT_EQ(p.TirsDeA(), 0);
}

TEST(Son, SpaceOnAFocusedSoundButtonSwitchesTheSound) {
    // Guards against a sound switch out of the keyboard's reach.
    Partie p;
    p.w.Son[1]->setFocus();
    p.Appuie(Qt::Key_Space);
    EXPECT_FALSE(p.w.SonActif);
    EXPECT_TRUE(p.w.Son[1]->Value());
    p.w.Son[0]->setFocus();
    p.Appuie(Qt::Key_Space);
    EXPECT_TRUE(p.w.SonActif);
    EXPECT_FALSE(p.w.Son[1]->Value());
}

TEST(Visee, ArrowKeysOnAFocusedBarAimByFiveTheWayTheyPointAndTurnTheCannon) {
    // Guards against aiming bars the keyboard cannot move, a Right arrow that moves the thumb
    // to the left, or a move that skips the handler and leaves the label and the muzzle behind.
    Partie p;
    Form1& w = p.w;
    const double bouche = w.XBouche[1];
    w.BHAngle[1]->setFocus();
    p.Appuie(Qt::Key_Right);
    EXPECT_EQ(w.Angle[1]->Caption(), "50");
    EXPECT_NE(w.XBouche[1], bouche);
    p.Appuie(Qt::Key_Up);
    EXPECT_EQ(w.Angle[1]->Caption(), "55");
    p.Appuie(Qt::Key_End);
    EXPECT_EQ(w.Angle[1]->Caption(), "89");
    w.BHForce[0]->setFocus();
    p.Appuie(Qt::Key_Left);
    EXPECT_EQ(w.Force[0]->Caption(), "45");
}

TEST(NouvellePartie, EnterOnTheNewGameButtonStartsAGameAndHandsTheFocusToAsAngleBar) {
    // Guards against the focus passing from the hidden new-game button to Quitter, where the
    // next Enter would end the program.
    Partie p;
    p.FinDePartie();
    p.w.Nouveau->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), p.w.Nouveau);
    p.Appuie(Qt::Key_Return);
    EXPECT_TRUE(p.w.Nouveau->isHidden());
    EXPECT_EQ(p.w.NbCoups, 10);
    EXPECT_EQ(QApplication::focusWidget(), p.w.BHAngle[0]);
    EXPECT_TRUE(p.w.isVisible());
}

}  // namespace
}  // namespace tir
