// The aiming bars: labels in step, the cannon turning with its sound, the force left silent.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <cmath>

#include "BancDeTir.h"

namespace tir {
namespace {

// A window on the screen with its first landscape drawn and no sound asked yet.
struct Partie {
    test::BancDeTir f;
    Form1& w = *f.form;
    Partie() {
        w.show();
        QApplication::processEvents();
        f.lecteur.joues.clear();
    }
    QPoint FlecheDroite(QScrollBar* b) const { return {b->width() - 4, b->height() / 2}; }
    QRect Curseur(QScrollBar* b) const {
        QStyleOptionSlider opt;
        opt.initFrom(b);
        opt.subControls = QStyle::SC_All;
        opt.orientation = b->orientation();
        opt.minimum = b->minimum();
        opt.maximum = b->maximum();
        opt.sliderPosition = b->sliderPosition();
        opt.sliderValue = b->value();
        opt.singleStep = b->singleStep();
        opt.pageStep = b->pageStep();
        return b->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider,
                                          b);
    }
};

TEST(Visee, RightArrowOfTheAngleBarTurnsTheCannonWithOneSound) {
    // Guards against a label left behind its bar, a cannon that turns only at the next
    // landscape, or the turning sound played twice or under another name.
    Partie p;
    QTest::mouseClick(p.w.BHAngle[0], Qt::LeftButton, {}, p.FlecheDroite(p.w.BHAngle[0]));
    EXPECT_EQ(p.w.BHAngle[0]->value(), 50);
    EXPECT_EQ(p.w.Angle[0]->Caption(), "50");
    ASSERT_EQ(p.f.lecteur.joues.size(), 1);
    EXPECT_EQ(p.f.lecteur.joues[0],
              p.f.dossier.dossier.path() + QString::fromUtf8("/Murax-déplacé.wav"));
    EXPECT_NEAR(p.w.XBouche[0], 35 + 42 * std::cos(50 * p.w.Pi / 180), 1e-9);
    EXPECT_EQ(p.w.Dessin->Affichage(), p.w.Dessin->Garde()) << "the new barrel shows at once";
}

TEST(Visee, AtTheMaximumTheRightArrowChangesNothing) {
    // Guards against an angle pushed past 89 or a sound and redraw for a value that did not
    // change.
    Partie p;
    p.w.BHAngle[1]->setValue(89);
    p.f.lecteur.joues.clear();
    const QImage avant = p.w.Dessin->Garde();
    const double muzzle = p.w.XBouche[1];
    QTest::mouseClick(p.w.BHAngle[1], Qt::LeftButton, {}, p.FlecheDroite(p.w.BHAngle[1]));
    EXPECT_EQ(p.w.BHAngle[1]->value(), 89);
    EXPECT_EQ(p.w.Angle[1]->Caption(), "89");
    EXPECT_TRUE(p.f.lecteur.joues.isEmpty());
    EXPECT_EQ(p.w.Dessin->Garde(), avant);
    EXPECT_DOUBLE_EQ(p.w.XBouche[1], muzzle);
}

TEST(Visee, TheForceBarChangesOnlyItsLabel) {
    // Guards against a force change that plays a sound or touches the field or the muzzles.
    Partie p;
    const QImage avant = p.w.Dessin->Garde();
    const auto muzzles = p.w.XBouche;
    p.w.BHForce[1]->setValue(115);
    EXPECT_EQ(p.w.Force[1]->Caption(), "115");
    EXPECT_EQ(p.w.Force[0]->Caption(), "50");
    EXPECT_TRUE(p.f.lecteur.joues.isEmpty());
    EXPECT_EQ(p.w.Dessin->Garde(), avant);
    EXPECT_EQ(p.w.XBouche, muzzles);
}

TEST(Visee, WithSoundOffTheCannonStillTurnsSilently) {
    // Guards against sound off also stopping the redraw, or the folder being looked up anyway.
    Partie p;
    QTest::mouseClick(p.w.Son[1], Qt::LeftButton);
    const int consultations = p.f.dossier.consultations;
    p.w.BHAngle[1]->setValue(10);
    EXPECT_EQ(p.w.Angle[1]->Caption(), "10");
    EXPECT_NEAR(p.w.XBouche[1], 627 - 35 - 42 * std::cos(10 * p.w.Pi / 180), 1e-9);
    EXPECT_TRUE(p.f.lecteur.joues.isEmpty());
    EXPECT_EQ(p.f.dossier.consultations, consultations);
}

TEST(Visee, DraggingTheThumbCountsOnlyWhereItIsReleased) {
    // Guards against a cannon that turns, and a sound that plays, for every position the thumb
    // passes through.
    Partie p;
    QScrollBar* b = p.w.BHAngle[0];
    const QPoint depart = p.Curseur(b).center();
    QTest::mousePress(b, Qt::LeftButton, {}, depart);
    for (int dx = 2; dx <= 20; dx += 2) QTest::mouseMove(b, depart + QPoint(dx, 0));
    EXPECT_EQ(p.w.Angle[0]->Caption(), "45");
    EXPECT_TRUE(p.f.lecteur.joues.isEmpty());
    QTest::mouseRelease(b, Qt::LeftButton, {}, depart + QPoint(20, 0));
    EXPECT_GT(b->value(), 45);
    EXPECT_EQ(p.w.Angle[0]->Caption(), QString::number(b->value()));
    EXPECT_EQ(p.f.lecteur.joues.size(), 1);
}

}  // namespace
}  // namespace tir
