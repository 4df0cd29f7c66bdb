// The window as it opens: every control at its place, with its caption, colours and font, and
// the state of a fresh game.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>

#include "BancDeTir.h"

namespace tir {
namespace {

struct Place {
    const char* nom;
    QWidget* controle;
    QWidget* conteneur;
    QRect attendue;
};

TEST(Disposition, EveryVisibleControlSitsAtItsPixelExactPlace) {
    // Guards against a control moved, resized or put in the wrong container: the strip is tight
    // and a pixel off overlaps its neighbour.
    test::BancDeTir f;
    Form1& w = *f.form;
    const std::vector<Place> places{
        {"Dessin", w.Dessin, &w, {3, 2, 631, 338}},
        {"Son(0)", w.Son[0], &w, {2, 343, 38, 38}},
        {"Son(1)", w.Son[1], &w, {45, 343, 38, 38}},
        {"Panneau1", w.Panneau1, &w, {87, 351, 86, 31}},
        {"Score(0)", w.Score[0], &w, {173, 351, 52, 31}},
        {"CadreVent", w.CadreVent, &w, {230, 340, 169, 43}},
        {"FlecheVent", w.FlecheVent, w.CadreVent, {12, 18, 146, 20}},
        {"Vent", w.Vent, w.CadreVent, {63, 1, 27, 19}},
        {"Gain", w.Gain, &w, {261, 351, 113, 29}},
        {"Nouveau", w.Nouveau, &w, {264, 350, 114, 31}},
        {"Score(1)", w.Score[1], &w, {406, 351, 52, 31}},
        {"Panneau2", w.Panneau2, &w, {458, 351, 86, 31}},
        {"Quitter", w.Quitter, &w, {559, 353, 72, 26}},
        {"Frame1(0)", w.Frame1[0], &w, {1, 384, 123, 43}},
        {"BHAngle(0)", w.BHAngle[0], w.Frame1[0], {4, 20, 89, 19}},
        {"Angle(0)", w.Angle[0], w.Frame1[0], {96, 20, 23, 19}},
        {"Frame2(0)", w.Frame2[0], &w, {127, 384, 123, 43}},
        {"BHForce(0)", w.BHForce[0], w.Frame2[0], {4, 20, 85, 19}},
        {"Force(0)", w.Force[0], w.Frame2[0], {92, 20, 27, 19}},
        {"Feu(0)", w.Feu[0], &w, {253, 392, 45, 35}},
        {"CoupsRestants", w.CoupsRestants, &w, {301, 392, 35, 34}},
        {"Feu(1)", w.Feu[1], &w, {339, 392, 45, 35}},
        {"Frame1(1)", w.Frame1[1], &w, {386, 384, 123, 43}},
        {"BHAngle(1)", w.BHAngle[1], w.Frame1[1], {4, 20, 89, 19}},
        {"Angle(1)", w.Angle[1], w.Frame1[1], {96, 20, 23, 19}},
        {"Frame2(1)", w.Frame2[1], &w, {512, 384, 123, 43}},
        {"BHForce(1)", w.BHForce[1], w.Frame2[1], {4, 20, 85, 19}},
        {"Force(1)", w.Force[1], w.Frame2[1], {92, 20, 27, 19}},
    };
    w.show();
    for (const Place& p : places) {
        EXPECT_EQ(p.controle->geometry(), p.attendue) << p.nom;
        EXPECT_EQ(p.controle->parentWidget(), p.conteneur) << p.nom;
    }
    EXPECT_EQ(w.size(), QSize(637, 428));
    EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "the window must not be resizable";
    EXPECT_EQ(w.Dessin->LargeurPixels(), 627);
    EXPECT_EQ(w.Dessin->HauteurPixels(), 334);
}

TEST(Disposition, CaptionsFontsAndColoursFollowTheLayout) {
    // Guards against a lost double space, a wrong font size (the strip would overflow) or a
    // player's colour swapped.
    test::BancDeTir f;
    Form1& w = *f.form;
    EXPECT_EQ(w.windowTitle(), "  Tir au Murax   -  par Qerdal  -  Version 1.6");
    EXPECT_EQ(w.Frame1[0]->title(), "Angle de Tir  [A]");
    EXPECT_EQ(w.Frame2[1]->title(), "Force de Tir  [B]");
    EXPECT_EQ(w.Panneau1->Caption(), "Score [A]");
    EXPECT_EQ(w.Panneau2->Caption(), "Score [B]");
    EXPECT_EQ(w.CadreVent->Caption(), "Force du Vent");
    EXPECT_EQ(w.Gain->Caption(), "200 points");
    EXPECT_EQ(w.Nouveau->text(), "Nouvelle Partie");
    EXPECT_EQ(w.Feu[1]->text(), "Feu !");
    const std::vector<std::pair<QWidget*, int>> polices{
        {w.Panneau1, 16}, {w.Score[0], 21}, {w.CoupsRestants, 21}, {w.Vent, 13},
        {w.Quitter, 16},  {w.Feu[0], 13},   {w.Angle[1], 13},      {w.CadreVent, 13}};
    for (const auto& [controle, pixels] : polices) {
        EXPECT_EQ(controle->font().pixelSize(), pixels) << controle->metaObject()->className();
        EXPECT_TRUE(controle->font().bold());
    }
    EXPECT_EQ(w.Score[0]->BackColor(), 0xFFFF00);
    EXPECT_EQ(w.Score[1]->BackColor(), 0x00FF00);
    EXPECT_EQ(w.Score[1]->ForeColor(), 0x000000);
    EXPECT_EQ(w.Panneau2->ForeColor(), 0x004000);
    EXPECT_EQ(w.CoupsRestants->BackColor(), 0x0000C0);
    EXPECT_EQ(w.CoupsRestants->ForeColor(), 0xFFFFFF);
    EXPECT_EQ(w.FlecheVent->BackColor(), 0xC0C0C0);
    EXPECT_EQ(w.Vent->palette().color(QPalette::Window), QColor(0xFF, 0, 0));
    EXPECT_EQ(w.Angle[0]->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0));
    EXPECT_EQ(w.Force[1]->palette().color(QPalette::Window), QColor(0, 0xFF, 0));
    EXPECT_EQ(w.Quitter->palette().color(QPalette::ButtonText), QColor(0xC0, 0, 0));
}

TEST(Disposition, ScrollBarsStopAtTheirMaximaAndStepByFive) {
    // Guards against an angle of 90 or more (the shell would fly backwards) and against bars
    // that report every position of a dragged thumb.
    test::BancDeTir f;
    Form1& w = *f.form;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.BHAngle[i]->minimum(), 0);
        EXPECT_EQ(w.BHAngle[i]->maximum(), 89);
        EXPECT_EQ(w.BHAngle[i]->pageStep(), 45);
        EXPECT_EQ(w.BHForce[i]->maximum(), 120);
        EXPECT_EQ(w.BHForce[i]->pageStep(), 50);
        EXPECT_EQ(w.BHAngle[i]->singleStep(), 5);
        EXPECT_EQ(w.BHForce[i]->singleStep(), 5);
        EXPECT_FALSE(w.BHAngle[i]->hasTracking());
        EXPECT_FALSE(w.BHForce[i]->hasTracking());
    }
}

TEST(Disposition, HiddenPicturesHaveTheSizesTheDrawingReads) {
    // Guards against a sprite or work buffer of the wrong size: the explosion and the flames
    // take their block sizes from these pictures.
    test::BancDeTir f;
    Form1& w = *f.form;
    EXPECT_EQ(w.Murax.Picture().size(), QSize(90, 80));
    EXPECT_EQ(w.CharFoutu.Picture().size(), QSize(90, 80));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.SMurax[i].Picture().size(), QSize(90, 80));
        EXPECT_EQ(w.TFeu[i].Picture().size(), QSize(68, 64));
        EXPECT_EQ(w.Explosion[i].Picture().size(), QSize(72, 72));
    }
    EXPECT_EQ(w.PicCopyF.Picture().size(), QSize(68, 64));
    EXPECT_EQ(w.PicCopy.Picture().size(), QSize(72, 72));
    EXPECT_EQ(w.Murax.Picture().pixel(0, 0) & 0xFFFFFF, 0x00FFFFu) << "cyan around the cannon";
    EXPECT_FALSE(w.windowIcon().isNull());
}

}  // namespace
}  // namespace tir
