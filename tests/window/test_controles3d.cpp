// The bevelled controls on their own: panel alignment and colours, frame, label clicks.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "window/Controles3D.h"

namespace tir {
namespace {

TEST(Panneau3D, AlignmentCodesPlaceTheCaptionLeftRightOrCentred) {
    // Guards against the wind arrow drawn against the wrong side of its panel.
    Panneau3D p;
    EXPECT_EQ(p.Alignment(), Alignement::Centre);
    EXPECT_EQ(p.alignment(), Qt::AlignCenter);
    p.SetAlignment(Alignement::GaucheCentre);
    EXPECT_EQ(p.alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    p.SetAlignment(Alignement::DroiteCentre);
    EXPECT_EQ(p.alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(p.Alignment(), Alignement::DroiteCentre);
    p.SetAlignment(Alignement::Centre);
    EXPECT_EQ(p.alignment(), Qt::AlignCenter);
}

TEST(Panneau3D, ColoursReadBackAsSetAndAreFilled) {
    // Guards against a flashing score panel that cannot read back the colour it shows, or a
    // colour set but never painted.
    Panneau3D p;
    p.SetBackColor(0x800080);
    p.SetForeColor(0x00FF00);
    EXPECT_EQ(p.BackColor(), 0x800080);
    EXPECT_EQ(p.ForeColor(), 0x00FF00);
    EXPECT_TRUE(p.autoFillBackground());
    p.resize(40, 20);
    p.show();
    p.Refresh();
    EXPECT_EQ(p.grab().toImage().pixel(20, 10) & 0xFFFFFF, 0x800080u);
}

TEST(Cadre3D, HidingTheFrameHidesWhatItHolds) {
    // Guards against the wind's value staying on screen over the gain panel.
    QWidget fenetre;
    auto* cadre = new Cadre3D("Force du Vent", &fenetre);
    auto* dedans = new QLabel("3", cadre);
    fenetre.show();
    EXPECT_TRUE(dedans->isVisible());
    cadre->hide();
    EXPECT_FALSE(dedans->isVisible());
    cadre->show();
    EXPECT_TRUE(dedans->isVisible());
    EXPECT_EQ(cadre->Caption(), "Force du Vent");
}

TEST(Cadre3D, TitleKeepsClearOfAChildOnItsEdge) {
    // Guards against the wind's strength hiding part of the frame's title, or a piece of the
    // frame's line showing between the two.
    QWidget fenetre;
    auto* cadre = new Cadre3D("Force du Vent", &fenetre);
    cadre->setGeometry(0, 0, 169, 43);
    cadre->DegageTitre(63, 90);
    fenetre.show();
    int largeurTitre = 0;
    for (QLabel* morceau : cadre->findChildren<QLabel*>()) {
        if (!morceau->isVisible()) continue;
        const QRect r = morceau->geometry();
        EXPECT_TRUE(r.right() < 63 || r.left() == 90) << morceau->text().toStdString();
        EXPECT_LE(r.right(), 168);
        largeurTitre += morceau->text().size();
    }
    EXPECT_EQ(largeurTitre, QString("Force duVent").size()) << "every word shows";
}

TEST(Etiquette, ReportsAClickOnlyWhenReleasedOverIt) {
    // Guards against a new wind drawn when the pointer slides off the label before release.
    Etiquette e("0");
    e.resize(27, 19);
    e.show();
    QSignalSpy clics(&e, &Etiquette::Click);
    QTest::mouseClick(&e, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clics.size(), 1);
    QTest::mousePress(&e, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseRelease(&e, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(clics.size(), 1);
    QTest::mouseClick(&e, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clics.size(), 1);
}

}  // namespace
}  // namespace tir
