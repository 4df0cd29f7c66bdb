// Start-up, the first landscape, the sound switch, a new game and quitting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "BancDeTir.h"

namespace tir {
namespace {

// Counts the field's pixels that are not sky.
int PixelsPeints(const QImage& image) {
    int n = 0;
    for (int r = 0; r < image.height(); ++r) {
        for (int c = 0; c < image.width(); ++c) n += (image.pixel(c, r) & 0xFFFFFF) != 0x00FFFF;
    }
    return n;
}

TEST(Demarrage, OpensOnAFreshGameWithSoundOnAndAnEmptyField) {
    // Guards against a start-up that leaves B able to shoot, the new-game button showing, the
    // field's coordinates unset, or a landscape drawn before the window is on the screen.
    test::BancDeTir f;
    Form1& w = *f.form;
    EXPECT_TRUE(w.SonActif);
    EXPECT_TRUE(w.Son[0]->Value());
    EXPECT_FALSE(w.Son[1]->Value());
    EXPECT_DOUBLE_EQ(w.Pi, 3.14159265358979323846);
    EXPECT_EQ(w.Largeur, 627);
    EXPECT_EQ(w.Hauteur, 334);
    EXPECT_EQ(w.RetourLigne, "\r\n");
    EXPECT_EQ(w.NbCoups, 10);
    EXPECT_EQ(w.Joueur, 0);
    EXPECT_TRUE(w.Feu[0]->isEnabled());
    EXPECT_FALSE(w.Feu[1]->isEnabled());
    EXPECT_TRUE(w.Nouveau->isHidden());
    EXPECT_TRUE(w.Gain->isHidden());
    EXPECT_FALSE(w.CadreVent->isHidden());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.Score[i]->Caption(), "0");
        EXPECT_EQ(w.Angle[i]->Caption(), "45");
        EXPECT_EQ(w.Force[i]->Caption(), "50");
        EXPECT_EQ(w.BHAngle[i]->value(), 45);
        EXPECT_EQ(w.BHForce[i]->value(), 50);
    }
    EXPECT_EQ(w.CoupsRestants->Caption(), "10");
    EXPECT_TRUE(f.lecteur.joues.isEmpty()) << "loading moves no cannon";
    EXPECT_EQ(f.hasard.reamorcages, 1) << "one wind, no landscape";
    EXPECT_EQ(PixelsPeints(w.Dessin->Garde()), 0);
    // The field's coordinates: y up from the bottom edge.
    w.Dessin->SetAutoRedraw(true);
    w.Dessin->SetDrawWidth(1);
    w.Dessin->PSet(0, 0.5, 0);
    EXPECT_EQ(w.Dessin->Garde().pixel(0, 333) & 0xFFFFFF, 0u);
}

class DossierAccentue : public Dossier {
  public:
    QByteArray Chemin() override { return QByteArray("/opt/Mes Jeux/Tir à l'été"); }
};

TEST(Demarrage, RecordFileLiesInTheProgramFolderWhateverItsName) {
    // Guards against a path cut at a space or mangled accents, and against the working
    // directory taken for the program's folder.
    {
        test::BancDeTir f;
        EXPECT_EQ(f.form->FichierIni, QFile::encodeName(f.dossier.dossier.path() + "/Tir.ini"));
    }
    DossierAccentue dossier;
    test::BancDeTir f({.dossier = &dossier});
    EXPECT_EQ(f.form->FichierIni, QByteArray("/opt/Mes Jeux/Tir à l'été/Tir.ini"));
}

TEST(Demarrage, FirstShowDrawsTheLandscapeOnceAndLaterShowsDrawNothing) {
    // Guards against a landscape redrawn at every activation (the game would change under the
    // players' feet) or never drawn without a window manager.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(f.hasard.reamorcages, 2);
    EXPECT_GT(PixelsPeints(w.Dessin->Garde()), 0);
    w.hide();
    w.show();
    QEvent active(QEvent::WindowActivate);
    QApplication::sendEvent(&w, &active);
    QApplication::processEvents();
    EXPECT_EQ(f.hasard.reamorcages, 2);
}

TEST(Interrupteur, SoundIsOnExactlyWhileTheLoudspeakerWithNotesIsDown) {
    // Guards against a switch that follows the clicked button's own value instead of Son(0), or
    // ribbon buttons that do not release each other.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.show();
    const std::vector<int> clics{1, 1, 0, 0, 1, 0};
    for (int i : clics) {
        QTest::mouseClick(w.Son[i], Qt::LeftButton);
        EXPECT_EQ(w.SonActif, w.Son[0]->Value()) << "after a click on Son(" << i << ")";
        EXPECT_EQ(w.SonActif, i == 0);
        EXPECT_NE(w.Son[0]->Value(), w.Son[1]->Value());
    }
}

TEST(NouvellePartie, ResetsAimsScoresAndTurnButKeepsSoundOff) {
    // Guards against a new game that leaves an old aim, score or turn behind, plays the turning
    // sound with sound off, or forgets the angle handler's redraw when a bar moves back.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.show();
    QApplication::processEvents();
    w.BHAngle[0]->setValue(70);
    w.BHForce[1]->setValue(100);
    QTest::mouseClick(w.Son[1], Qt::LeftButton);
    w.Scores = {120, -40, 0};
    w.NbEssais = {3, 2, 0};
    w.NbCoups = 0;
    w.Joueur = 1;
    w.Feu[0]->setEnabled(false);
    w.CadreVent->hide();
    w.Nouveau->show();
    const auto sons = f.lecteur.joues.size();
    const int consultations = f.dossier.consultations;
    const int reamorcages = f.hasard.reamorcages;

    QTest::mouseClick(w.Nouveau, Qt::LeftButton);

    EXPECT_EQ(f.lecteur.joues.size(), sons);
    EXPECT_EQ(f.dossier.consultations, consultations);
    EXPECT_FALSE(w.SonActif);
    EXPECT_EQ(f.hasard.reamorcages, reamorcages + 2) << "a new wind and a new landscape";
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.BHAngle[i]->value(), 45);
        EXPECT_EQ(w.BHForce[i]->value(), 50);
        EXPECT_EQ(w.Angle[i]->Caption(), "45");
        EXPECT_EQ(w.Force[i]->Caption(), "50");
        EXPECT_EQ(w.Scores[i], 0);
        EXPECT_EQ(w.NbEssais[i], 0);
        EXPECT_EQ(w.Score[i]->Caption(), "0");
    }
    EXPECT_NEAR(w.XBouche[0], 35 + 42 * std::cos(w.Pi / 4), 1e-9);
    EXPECT_EQ(w.NbCoups, 10);
    EXPECT_EQ(w.CoupsRestants->Caption(), "10");
    EXPECT_EQ(w.Joueur, 0);
    EXPECT_TRUE(w.Feu[0]->isEnabled());
    EXPECT_FALSE(w.Feu[1]->isEnabled());
    EXPECT_TRUE(w.Nouveau->isHidden());
    EXPECT_TRUE(w.CadreVent->isVisible());
}

TEST(NouvellePartie, AMovedAngleBarTurnsItsCannonBackWithOneSoundWhenSoundIsOn) {
    // Guards against the reset bypassing the bar's change handling: the label would stay at the
    // old angle and the next shot would leave from the wrong muzzle.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.BHAngle[1]->setValue(20);
    f.lecteur.joues.clear();
    w.InitPartie();
    ASSERT_EQ(f.lecteur.joues.size(), 1);
    EXPECT_EQ(f.lecteur.joues[0],
              f.dossier.dossier.path() + QString::fromUtf8("/Murax-déplacé.wav"));
    EXPECT_EQ(w.Angle[1]->Caption(), "45");
}

TEST(Quitter, TheQuitButtonClosesTheWindow) {
    // Guards against a quit button that leaves the game running.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.show();
    QTest::mouseClick(w.Quitter, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
}

TEST(Quitter, ACloseAskedDuringAHandlerWaitsForItsEnd) {
    // Guards against the window being destroyed under a running animation.
    test::BancDeTir f;
    Form1& w = *f.form;
    w.show();
    {
        Gestionnaire enCours(w);
        EXPECT_FALSE(w.close());
        QApplication::processEvents();
        EXPECT_TRUE(w.isVisible());
    }
    QApplication::processEvents();
    EXPECT_FALSE(w.isVisible());
}

}  // namespace
}  // namespace tir
