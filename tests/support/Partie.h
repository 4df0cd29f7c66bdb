// Whole games played through the fire buttons on fake time: a scripted ten-hit game on a flat
// field, and games on random fields aimed by a simple gunner that corrects its force.
#pragma once

#include <QScrollBar>
#include <array>
#include <cmath>

#include "BancDeTir.h"

namespace tir::test {

// On the flat field both cannons stand at the same height; this aim carries a shell from one
// muzzle onto the other cannon.
inline constexpr int kAngleAuBut = 45;
inline constexpr int kForceAuBut = 69;
inline constexpr int kCoupsParPartie = 10;

// What a game left behind: enough to tell two runs of the same game apart.
struct Bilan {
    int scoreA = 0, scoreB = 0, coups = 0, dialogues = 0;
    double fin = 0;  // the fake clock at the end
    QImage champ;
    bool operator==(const Bilan&) const = default;
};

inline Bilan Resume(const BancDeTir& t, int coups) {
    return Bilan{t.form->Scores[0],
                 t.form->Scores[1],
                 coups,
                 static_cast<int>(t.saisie.appels.size()),
                 t.horlogeEnJeu.maintenant,
                 t.form->Dessin->Affichage()};
}

// A new game on flat fields with no wind, every field drawn ahead, both players aimed at the
// other cannon: each shot is a hit.
inline void PrepareDixTouches(BancDeTir& t) {
    t.hasard.valeurs.push_back(kTirageSansVent);
    t.ScripteChampPlat();
    for (int i = 0; i < kCoupsParPartie; ++i) {
        t.ScripteChampPlat();
        t.hasard.valeurs.push_back(kTirageSansVent);
    }
    t.form->Nouveau_Click();
    for (const int j : {0, 1}) t.Vise(j, kAngleAuBut, kForceAuBut);
}

// Ten hits on flat fields with no wind, the winner answering the record dialog with `nom`.
inline Bilan JoueDixTouches(BancDeTir& t, const QString& nom, int coupsMaxi = 30) {
    PrepareDixTouches(t);
    t.saisie.reponses.push_back(nom);
    int coups = 0;
    while (!t.Finie() && coups < coupsMaxi) {
        t.Tire();
        ++coups;
    }
    return Resume(t, coups);
}

// A gunner per side that keeps its angle and narrows a range of forces after each miss: it
// starts each new field around the force that last hit, widens the range when the target lies
// beyond it, and starts over at another angle when the range closes without a hit.
class Pointeur {
  public:
    explicit Pointeur(BancDeTir& t) : t_(t) {}

    void Vise() {
        Form1& f = *t_.form;
        const int j = f.Joueur;
        Camp& c = camps_[j];
        if (c.essais != f.NbEssais[j]) Autour(c, j, c.derniere);
        if (c.hi - c.lo < 2) Recommence(c, j);
        f.BHAngle[j]->setValue(c.angle);
        f.BHForce[j]->setValue((c.lo + c.hi) / 2);
    }

    // After the shot: too short raises the lowest force, too long lowers the highest.
    void Corrige(int tireur) {
        Form1& f = *t_.form;
        Camp& c = camps_[tireur];
        const int force = f.BHForce[tireur]->value();
        if (f.NbEssais[tireur] == 0) {  // a hit: a new field comes
            c.derniere = force;
            return;
        }
        c.essais = f.NbEssais[tireur];
        const double sens = tireur == 0 ? 1.0 : -1.0;
        const double porte = (f.XObus - f.XBouche[tireur]) * sens;
        const double cible = (f.XAxe[1 - tireur] - f.XBouche[tireur]) * sens;
        const int maxi = f.BHForce[tireur]->maximum();
        // A bound that only came from the first guess widens when a shot reaches it; a bound
        // a shot has set stays, so that the range closes.
        if (porte < cible) {
            c.lo = force;
            if (force + 1 >= c.hi && !c.hiVu) c.hi = std::min(maxi, c.hi + kElargissement);
        } else {
            c.hi = force;
            c.hiVu = true;
            if (force - 1 <= c.lo && !c.loVu) c.lo = std::max(0, c.lo - kElargissement);
        }
        c.loVu = c.loVu || porte < cible;
    }

  private:
    struct Camp {
        int angle = kAngleAuBut, lo = 0, hi = 0, essais = -1, derniere = kForceAuBut;
        bool loVu = false, hiVu = false;
    };
    static constexpr int kAngleMini = 25, kAngleEtendue = 51, kElargissement = 20;

    void Autour(Camp& c, int j, int force) {
        const int maxi = t_.form->BHForce[j]->maximum();
        c.lo = std::max(0, force - kElargissement);
        c.hi = std::min(maxi, force + kElargissement);
        c.loVu = c.hiVu = false;
        c.essais = t_.form->NbEssais[j];
    }
    void Recommence(Camp& c, int j) {
        c.angle = kAngleMini + static_cast<int>(t_.hasard.generateur() % kAngleEtendue);
        c.lo = 0;
        c.hi = t_.form->BHForce[j]->maximum();
        c.loVu = c.hiVu = true;
        c.essais = t_.form->NbEssais[j];
    }

    BancDeTir& t_;
    std::array<Camp, 2> camps_;
};

// A game from a new random field with `graine`, aimed by the gunners; stops after coupsMaxi.
inline Bilan JoueAuHasard(BancDeTir& t, unsigned graine, int coupsMaxi) {
    t.hasard.generateur.seed(graine);
    t.saisie.reponses.push_back(QStringLiteral("Joueur %1").arg(graine));
    t.form->Nouveau_Click();
    Pointeur pointeur(t);
    int coups = 0;
    while (!t.Finie() && coups < coupsMaxi) {
        const int tireur = t.form->Joueur;
        pointeur.Vise();
        t.Tire();
        pointeur.Corrige(tireur);
        ++coups;
    }
    return Resume(t, coups);
}

}  // namespace tir::test
