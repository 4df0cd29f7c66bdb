// The flight set against a reference that tests the path at every pass of a fine fixed step of
// flight time: on random fields, aims, winds and frame times, the same end at the same place.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "BancDeTir.h"
#include "shot/Coup.h"

namespace tir::test {
namespace {

constexpr int kTirs = 200;
constexpr double kPrecision = 1.0 / 64;  // pixels
// Flight time per pass of the reference: 1/128 pixel at 200 pixels per unit, faster than any
// shell the aiming controls allow.
constexpr double kPasReference = 1.0 / (128 * 200);

enum class Fin { Rate, ToucheA, ToucheB, Disparu };

struct Issue {
    Fin fin;
    double x, y;
};

// The rules of the flight, pass after pass, on the field as it stands before the shot: no test
// in the first 16 passes, nor inside the shooter's own cannon, nor at or above the top edge.
Issue Reference(const Form1& f, int degres, int force) {
    const int j = f.Joueur;
    const double angle = (f.Pi + f.Pi) * degres / 360;
    const double vx =
        j == 0 ? force * std::cos(angle) + f.ForceVent : -(force * std::cos(angle) - f.ForceVent);
    const double vy = force * std::sin(angle);
    const double gauche = j == 0 ? 0 : f.Largeur - 90;
    const double sol = f.NiveauSol[j];
    bool sorti = false;
    for (long passe = 0;; ++passe) {
        const double t = static_cast<float>(static_cast<double>(passe) * kPasReference);
        const double x = f.XBouche[j] + vx * t;
        const double y = vy * t + f.YBouche[j] - 4.905 * t * t;
        sorti = sorti || !(x >= gauche && x <= gauche + 90 && y >= sol && y <= sol + 80);
        if (passe >= 16 && y < f.Hauteur && sorti &&
            f.Dessin->Point(static_cast<float>(x), static_cast<float>(y)) != kCiel) {
            if (2 < x && x < 71) return {Fin::ToucheA, x, y};
            if (f.Largeur - 71 < x && x < f.Largeur - 2) return {Fin::ToucheB, x, y};
            return {Fin::Rate, x, y};
        }
        if (y <= 0) return {Fin::Disparu, x, y};
    }
}

// The game's own shot, its end read from what the game did: the explosion's sound, one hit
// fewer left, and the shooter's points (a loss on his own cannon).
Issue Joue(BancDeTir& banc) {
    Form1& f = *banc.form;
    const int j = f.Joueur;
    const int score = f.Scores[j];
    f.NbCoups = 10;
    f.NbEssais = {0, 0, 0};
    banc.lecteur.joues.clear();
    f.Feu_Click(j);
    if (!banc.SonJoue("Explosion")) return {Fin::Disparu, f.XObus, f.YObus};
    if (f.NbCoups == 10) return {Fin::Rate, f.XObus, f.YObus};
    const int cote = f.Scores[j] < score ? j : 1 - j;
    return {cote == 0 ? Fin::ToucheA : Fin::ToucheB, f.XObus, f.YObus};
}

TEST(Vol, EndsWhereAndAsATestAtEveryFinePassWouldOnRandomFieldsAimsWindsAndFrames) {
    // Guards against obstacles skipped between two frames or two tests, a shell shown where it
    // was not tested, and any drift of the path from its closed form.
    BancDeTir banc;
    Form1& f = *banc.form;
    std::map<Fin, int> fins;
    for (int tir = 0; tir < kTirs; ++tir) {
        std::mt19937 des(static_cast<unsigned>(tir));
        banc.hasard.generateur.seed(static_cast<unsigned>(tir));
        f.DessinePaysage();
        const int j = tir % 2;
        const int degres = std::uniform_int_distribution(0, 89)(des);
        const int force = std::uniform_int_distribution(0, 120)(des);
        f.Joueur = static_cast<std::int16_t>(j);
        banc.Vise(j, degres, force);
        f.ForceVent = static_cast<std::int16_t>(std::uniform_int_distribution(-10, 9)(des));
        // From a frame on time to frames far apart, and now and then a machine that stalls for
        // a second between two frames.
        banc.horloge.pas = tir % 10 == 9 ? 1.0 : std::uniform_real_distribution(0.0, 0.05)(des);
        const Issue attendue = Reference(f, degres, force);
        // The rules alone, on the kept image, frames a 60th of a second apart.
        const Impact pur =
            Tire(f.TerrainDuCoup(),
                 Visee{j, f.EnRadians(degres), static_cast<std::int16_t>(force), f.ForceVent});
        EXPECT_EQ(static_cast<int>(pur.issue) - 1, static_cast<int>(attendue.fin)) << tir;
        EXPECT_LE(std::hypot(pur.x - attendue.x, pur.y - attendue.y), kPrecision) << tir;
        const Issue vue = Joue(banc);
        ++fins[vue.fin];
        EXPECT_EQ(vue.fin, attendue.fin) << "shot " << tir;
        EXPECT_LE(std::hypot(vue.x - attendue.x, vue.y - attendue.y), kPrecision)
            << "shot " << tir << ": at " << vue.x << ", " << vue.y << " for " << attendue.x << ", "
            << attendue.y;
    }
    // The shots cover every end but the silent one, which needs a shell below the field
    // before its first test.
    EXPECT_GT(fins[Fin::Rate], 0);
    EXPECT_GT(fins[Fin::ToucheA], 0);
    EXPECT_GT(fins[Fin::ToucheB], 0);
}

}  // namespace
}  // namespace tir::test
