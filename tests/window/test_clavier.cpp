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

#include "Faux.h"
#include "window/Form1.h"

namespace tir {
namespace {

// The fake clock, with a look-out at each breath of a flight (once per shown frame).
class HorlogeGuetteuse : public test::FausseHorloge {
  public:
    std::function<void()> aChaqueRespiration;
    void Respire() override {
        if (aChaqueRespiration) aChaqueRespiration();
    }
};

// A window on screen and active, so that keys go where the focus is, as for a player.
struct Partie {
    HorlogeGuetteuse horloge;
    test::FauxServices f;
    Form1 w{Services{horloge, f.hasard, f.lecteur, f.saisie, f.dossier}};

    Partie() {
        w.show();
        QApplication::setActiveWindow(&w);
        QApplication::processEvents();  // the first landscape
    }

    // Presses and releases `touche` on whatever has the focus, as the keyboard does.
    void Appuie(int touche, Qt::KeyboardModifiers modificateurs = Qt::NoModifier) {
        QWidget* cible = QApplication::focusWidget();
        ASSERT_NE(cible, nullptr);
        QTest::keyClick(cible, static_cast<Qt::Key>(touche), modificateurs);
        QApplication::processEvents();
    }

    // The launch sounds played so far, A's and B's.
    qsizetype Tirs(const char* son) const { return f.lecteur.joues.filter(son).size(); }
    qsizetype TirsDeA() const { return Tirs("Trnmurax"); }
    qsizetype TirsDeB() const { return Tirs("Photon"); }

    // The controls Tab reaches from the focus, one press each, until it comes back round.
    std::vector<QWidget*> TourDeTab(Qt::KeyboardModifiers sens = Qt::NoModifier) {
        std::vector<QWidget*> vus{QApplication::focusWidget()};
        for (int n = 0; n < 20; ++n) {
            Appuie(sens == Qt::NoModifier ? Qt::Key_Tab : Qt::Key_Backtab, sens);
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

TEST(Tabulation, TheGameOpensWithTheFocusOnPlayerAsAngleBar) {
    // Guards against a window that opens with no focus (the keyboard would do nothing until a
    // click) or with it on a button that a first Enter would press.
    Partie p;
    EXPECT_EQ(QApplication::focusWidget(), p.w.BHAngle[0]);
}

TEST(Tabulation, TabVisitsEveryControlThatTakesInputRowByRowFromLeftToRight) {
    // Guards against a control the keyboard cannot reach, a panel that takes the focus for
    // nothing, B's controls before A's, or a disabled fire button in the way.
    Partie p;
    Form1& w = p.w;
    p.w.Son[0]->setFocus();
    const std::vector<QWidget*> tourDeA{w.Son[0],  w.Son[1],     w.Vent,
                                        w.Quitter, w.BHAngle[0], w.BHForce[0],
                                        w.Feu[0],  w.BHAngle[1], w.BHForce[1]};
    EXPECT_EQ(p.TourDeTab(), tourDeA);
    std::vector<QWidget*> aRebours{tourDeA.front()};
    aRebours.insert(aRebours.end(), tourDeA.rbegin(), tourDeA.rend() - 1);
    EXPECT_EQ(p.TourDeTab(Qt::ShiftModifier), aRebours) << "Shift+Tab goes back the same way";

    w.Feu[0]->setEnabled(false);
    w.Feu[1]->setEnabled(true);
    w.Son[0]->setFocus();
    const std::vector<QWidget*> tourDeB{w.Son[0],  w.Son[1],     w.Vent,
                                        w.Quitter, w.BHAngle[0], w.BHForce[0],
                                        w.Feu[1],  w.BHAngle[1], w.BHForce[1]};
    EXPECT_EQ(p.TourDeTab(), tourDeB);

    p.FinDePartie();
    w.Son[0]->setFocus();
    const std::vector<QWidget*> finie{w.Son[0],     w.Son[1],     w.Nouveau,    w.Quitter,
                                      w.BHAngle[0], w.BHForce[0], w.BHAngle[1], w.BHForce[1]};
    EXPECT_EQ(p.TourDeTab(), finie) << "the new-game button takes the wind's place";
}

TEST(Feu, EnterReturnOrSpaceOnTheFocusedFireButtonFiresForThatPlayer) {
    // Guards against a fire button that only the mouse can press, or a key that fires twice.
    for (const int touche : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        Partie p;
        p.w.Feu[0]->setFocus();
        p.Appuie(touche);
        EXPECT_EQ(p.TirsDeA(), 1) << "key " << touche;
        EXPECT_EQ(p.TirsDeB(), 0);
        EXPECT_EQ(p.w.Joueur, 1) << "the shot ended and the turn passed";
    }
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
    p.Appuie(Qt::Key_Backtab);
    p.Appuie(Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), p.w.Feu[1]) << "one Shift+Tab back from B's bar";
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
    // the flight's breaths let through) comes too.
    Partie p;
    Form1& w = p.w;
    w.Feu[0]->setFocus();
    std::vector<std::int16_t> ventsEnVol;
    qsizetype tirsEnVol = 0;
    bool envoyes = false;
    p.horloge.aChaqueRespiration = [&] {
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
    p.horloge.aChaqueRespiration = nullptr;
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
    // Guards against a wind that only the mouse can draw, or a held key drawing wind after
    // wind.
    Partie p;
    Form1& w = p.w;
    w.Vent->setFocus();
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

TEST(Vent, TheFocusedWindValueShowsAThickerBorder) {
    // Guards against a focus the keyboard player cannot see.
    Partie p;
    const QImage sans = p.w.Vent->grab().toImage();
    p.w.Vent->setFocus();
    EXPECT_NE(p.w.Vent->grab().toImage(), sans);
    p.w.BHAngle[0]->setFocus();
    EXPECT_EQ(p.w.Vent->grab().toImage(), sans);
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
    p.Appuie(Qt::Key_Down);
    EXPECT_EQ(w.Force[0]->Caption(), "40");
    p.Appuie(Qt::Key_Home);
    EXPECT_EQ(w.Force[0]->Caption(), "0");
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

TEST(BoutonCommande, EnterPressesOncePerKeyPressAndNeverWhenDisabled) {
    // Guards against a held Enter firing again and again, and against Enter reaching the
    // window behind the button.
    QWidget fenetre;
    auto* bouton = new BoutonCommande("Feu !", &fenetre);
    fenetre.show();
    QSignalSpy clics(bouton, &QPushButton::clicked);
    QTest::keyPress(bouton, Qt::Key_Return);
    EXPECT_EQ(clics.size(), 1);
    QKeyEvent tenue(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(bouton, &tenue);
    EXPECT_TRUE(tenue.isAccepted());
    QTest::keyRelease(bouton, Qt::Key_Return);
    EXPECT_EQ(clics.size(), 1);
    QTest::keyClick(bouton, Qt::Key_Space);
    EXPECT_EQ(clics.size(), 2);
    bouton->setEnabled(false);
    QTest::keyClick(bouton, Qt::Key_Enter);
    QTest::keyClick(bouton, Qt::Key_Space);
    EXPECT_EQ(clics.size(), 2);
}

}  // namespace
}  // namespace tir
