// The hit sequence: points by precision and attempts, the wreck and its flames, the score and
// the hits left, then a new battlefield.
#include <gtest/gtest.h>

#include <QPushButton>
#include <vector>

#include "BancDeTir.h"

namespace tir::test {
namespace {

constexpr double kLargeur = 627;

// Strikes side `cote` at abscissa x, fired by `tireur` at his attempt number `essai`.
void Frappe(BancDeTir& banc, int cote, double x, int tireur, int essai) {
    Form1& f = *banc.form;
    f.Joueur = static_cast<std::int16_t>(tireur);
    f.NbEssais[tireur] = static_cast<std::int16_t>(essai);
    f.XObus = x;
    f.YObus = f.NiveauSol[cote] + 30;
    if (cote == 0) {
        f.ToucheGauche();
    } else {
        f.ToucheDroite();
    }
}

TEST(Touche, PointsGrowWithPrecisionShrinkWithAttemptsAndShowInTheShootersColour) {
    // Guards against a wrong precision formula, multiplier, sign, caption form or colour.
    struct Cas {
        int cote;
        double x;
        int tireur, essai;
        long points;
        const char* legende;
    };
    const Cas cas[] = {
        {0, 34, 1, 1, 90, " 90 points"},               // P = 10 at 34 pixels, first attempt
        {0, 30, 1, 1, 72, " 72 points"},               // d = 4: P = 8
        {0, 3, 1, 2, 8, " 8 points"},                  // near the zone's end: P = 1
        {0, 70, 1, 1, 9, " 9 points"},                 // 34 - d negative: P = 1
        {1, kLargeur - 34, 0, 1, 90, " 90 points"},    // the right side mirrors the left
        {1, kLargeur - 20, 0, 1, 45, " 45 points"},    // d = 14: P = 5
        {1, kLargeur - 34, 0, 10, 0, " 0 points"},     // tenth attempt gains nothing
        {1, kLargeur - 34, 0, 12, -20, "-20 points"},  // twelfth attempt costs 2 P
        {0, 34, 0, 5, -10, "-10 points"},              // own cannon: minus P, attempts ignored
        {1, kLargeur - 30, 1, 3, -8, "-8 points"},     // B's own cannon
    };
    for (const Cas& c : cas) {
        BancDeTir banc;
        banc.ChampPlat();
        Form1& f = *banc.form;
        f.Scores[c.tireur] = 100;
        Frappe(banc, c.cote, c.x, c.tireur, c.essai);
        EXPECT_EQ(f.Gain->Caption(), QString(c.legende)) << c.cote << " at " << c.x;
        EXPECT_EQ(f.Gain->BackColor(), QBColor(c.tireur == 0 ? 14 : 10));
        EXPECT_EQ(f.Scores[c.tireur], 100 + c.points);
        EXPECT_EQ(f.Score[c.tireur]->Caption(), QString::number(100 + c.points));
        EXPECT_EQ(f.Scores[1 - c.tireur], 0) << "only the shooter's score changes";
    }
}

TEST(Touche, AScoreThatWouldLeaveSixteenBitsStaysAtItsLimit) {
    // Guards against a score wrapping round to the other sign.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    f.Scores[0] = 32760;
    Frappe(banc, 1, kLargeur - 34, 0, 1);
    EXPECT_EQ(f.Scores[0], 32767);
    EXPECT_EQ(f.Score[0]->Caption(), QString("32767"));
    f.Scores[1] = -32765;
    Frappe(banc, 1, kLargeur - 34, 1, 1);
    EXPECT_EQ(f.Scores[1], -32768);
    EXPECT_EQ(f.Score[1]->Caption(), QString("-32768"));
}

TEST(Touche, AHitCountsDownTheHitsLeftResetsTheAttemptsAndDrawsANewBattlefield) {
    // Guards against a hit that forgets the counters, the captions or the new landscape.
    BancDeTir banc;
    banc.ChampPlat();
    Form1& f = *banc.form;
    f.NbEssais[1] = 4;
    f.NbCoups = 1;
    // A new landscape with high ground, and a wind to the left.
    banc.hasard.valeurs.assign(kTiragesPaysage, 0.9);
    banc.hasard.valeurs.push_back(0.0);
    Frappe(banc, 1, kLargeur - 34, 0, 3);
    EXPECT_EQ(f.NbEssais[0], 0);
    EXPECT_EQ(f.NbEssais[1], 0);
    EXPECT_EQ(f.NbCoups, 0);
    EXPECT_EQ(f.CoupsRestants->Caption(), QString("0"));
    EXPECT_FLOAT_EQ(f.NiveauSol[0], static_cast<float>(334.0 / 13));
    EXPECT_EQ(f.ForceVent, -10);
    EXPECT_TRUE(f.Gain->isHidden());
    EXPECT_FALSE(f.CadreVent->isHidden());
    EXPECT_TRUE(banc.SonJoue("Flammes.wav"));
}

// What the field and the panels show at each wait of the flames.
struct Flammes {
    int attentes = 0;
    bool epaveEnPlace = true;    // the kept image holds the wreck on its ground
    bool gainVisible = true;     // Gain shown, wind hidden
    bool horsDeLaBoite = false;  // something drawn outside the flame box
    int plusGrandeFlamme = 0;    // most display pixels that differ from the kept image
};

Flammes Observe(BancDeTir& banc, int cote) {
    Form1& f = *banc.form;
    Flammes vu;
    const QImage epave =
        cote == 0 ? f.CharFoutu.Picture() : f.CharFoutu.Picture().mirrored(true, false);
    const int haut = static_cast<int>(Arrondi(f.Hauteur - 80 - f.NiveauSol[cote]));
    const QRect canon(cote == 0 ? 0 : f.Largeur - 90, haut, 90, 80);
    const QRect boite(cote == 0 ? 0 : f.Largeur - 68, haut, 68, 64);
    banc.horloge.aChaqueAttente = [&, canon, boite] {
        ++vu.attentes;
        vu.epaveEnPlace = vu.epaveEnPlace && f.Dessin->Garde().copy(canon) == epave;
        vu.gainVisible = vu.gainVisible && !f.Gain->isHidden() && f.CadreVent->isHidden();
        int flamme = 0;
        const QImage& garde = f.Dessin->Garde();
        const QImage& affichage = f.Dessin->Affichage();
        for (int y = 0; y < garde.height(); ++y) {
            const auto* g = reinterpret_cast<const QRgb*>(garde.constScanLine(y));
            const auto* a = reinterpret_cast<const QRgb*>(affichage.constScanLine(y));
            for (int x = 0; x < garde.width(); ++x) {
                if (g[x] == a[x]) continue;
                ++flamme;
                if (!boite.contains(x, y)) vu.horsDeLaBoite = true;
            }
        }
        vu.plusGrandeFlamme = std::max(vu.plusGrandeFlamme, flamme);
    };
    Frappe(banc, cote, cote == 0 ? 34 : f.Largeur - 34, 1 - cote, 1);
    banc.horloge.aChaqueAttente = nullptr;
    return vu;
}

TEST(Touche, TheWreckStandsOnItsGroundAndBurnsInsideItsBoxOnTheDisplayOnly) {
    // Guards against a wreck drawn unmirrored or off the ground, flames that spill out of
    // their box or into the kept image, and a flicker phase skipped on a slow machine.
    struct Cas {
        int cote;
        double pas;
        int images;  // flicker cycles of ten frames while 0.8 s last (one at least), 11 dying
    };
    for (const Cas c :
         {Cas{0, 0.001, 4 * 10 + 11}, Cas{1, 0.001, 4 * 10 + 11}, Cas{0, 0.5, 10 + 11}}) {
        BancDeTir banc;
        banc.ChampPlat();
        banc.horloge.pas = c.pas;
        const Flammes vu = Observe(banc, c.cote);
        EXPECT_TRUE(vu.epaveEnPlace) << "side " << c.cote;
        EXPECT_TRUE(vu.gainVisible);
        EXPECT_FALSE(vu.horsDeLaBoite);
        EXPECT_GT(vu.plusGrandeFlamme, 100) << "flames were shown";
        EXPECT_EQ(vu.attentes, c.images) << "side " << c.cote << ", " << c.pas << " s a read";
    }
}

}  // namespace
}  // namespace tir::test
