// The traces of the last shots (--traces): a cross in the shooter's colour where his last shell
// landed, on the screen only, gone with the field.
#include <gtest/gtest.h>

#include <cmath>

#include "Partie.h"

namespace tir::test {
namespace {

// Where the last shell landed, in the field widget's own pixels (inside its 2-pixel frame).
QPoint Impact(const Form1& f) {
    constexpr int kCadre = 2;
    return {static_cast<int>(std::floor(f.XObus)) + kCadre,
            static_cast<int>(std::floor(f.Hauteur - f.YObus)) + kCadre};
}

QRgb Ecran(Form1& f, QPoint p) {
    return f.Dessin->grab().toImage().pixel(p) & 0xFFFFFF;
}

TEST(Traces, ACrossMarksEachPlayersLastShellOnTheScreenOnlyAndGoesWithTheField) {
    // Guards against a trace drawn into the field's pictures, where the flight's colour test
    // would take it for ground, a trace left on the next field, and a trace without the option.
    BancDeTir avec, sans;
    avec.form->options.traces = true;
    std::vector<QPoint> impacts;
    const std::array<QRgb, 2> couleur{0xFFFF00, 0x00FF00};
    for (BancDeTir* t : {&avec, &sans}) {
        PrepareDixTouches(*t);
        t->Montre();
    }
    // A, then B, then A again with another force: each misses, in the middle of the field.
    for (const auto& [joueur, force] : {std::pair{0, 40}, {1, 40}, {0, 35}}) {
        for (BancDeTir* t : {&avec, &sans}) {
            t->Vise(joueur, kAngleAuBut, force);
            t->Tire();
        }
        ASSERT_EQ(avec.form->Joueur, 1 - joueur) << "a miss passes the turn";
        impacts.push_back(Impact(*avec.form));
        EXPECT_EQ(avec.form->Dessin->Garde(), sans.form->Dessin->Garde());
        EXPECT_EQ(avec.form->Dessin->Affichage(), sans.form->Dessin->Affichage());
        EXPECT_EQ(Ecran(*avec.form, impacts.back()), couleur[joueur]);
        EXPECT_NE(Ecran(*sans.form, impacts.back()), couleur[joueur]);
    }
    // A's first cross went with his second shot; B's stays.
    EXPECT_EQ(Ecran(*avec.form, impacts[0]), Ecran(*sans.form, impacts[0]));
    EXPECT_EQ(Ecran(*avec.form, impacts[1]), couleur[1]);
    // B hits: a new field, with no trace.
    for (BancDeTir* t : {&avec, &sans}) {
        t->Vise(1, kAngleAuBut, kForceAuBut);
        t->Tire();
    }
    ASSERT_EQ(avec.form->NbCoups, kCoupsParPartie - 1);
    EXPECT_EQ(avec.form->Dessin->grab().toImage(), sans.form->Dessin->grab().toImage());
}

}  // namespace
}  // namespace tir::test
